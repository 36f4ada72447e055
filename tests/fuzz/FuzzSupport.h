#pragma once

#include "FuzzTarget.h"
#include "documents/OxXMLDocument.h"
#include "documents/XmlParser.h"

#include <juce_core/juce_core.h>

namespace oxafuzz
{

/** A folder of the process's own, made once, with one folder inside that a
    target may write to; nothing may ever appear beside it. */
class Sandbox
{
public:
    static Sandbox& get()
    {
        static Sandbox sandbox;
        return sandbox;
    }

    const juce::File root = juce::File::createTempFile ("oxa-fuzz");
    const juce::File inside = root.getChildFile ("inside");

    /** A fresh, empty `inside` folder. */
    void clear()
    {
        inside.deleteRecursively();
        inside.createDirectory();
    }

    /** True when the root holds nothing but `inside` (and the files the target put there itself). */
    bool onlyInside (const juce::StringArray& allowed = {}) const
    {
        for (const auto& child : root.findChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, false, "*"))
            if (child != inside && ! allowed.contains (child.getFileName()))
                return false;
        return true;
    }

    /** True when the folder holds nothing but entries of these names. */
    static bool holdsOnly (const juce::File& folder, const juce::StringArray& names)
    {
        for (const auto& child : folder.findChildFiles (juce::File::findFilesAndDirectories, false, "*"))
            if (! names.contains (child.getFileName()))
                return false;
        return true;
    }

private:
    Sandbox() { root.createDirectory(); clear(); }
    ~Sandbox() { root.deleteRecursively(); }
};

/** Reading a record, writing it, reading that back and writing again must give
    the same document: every document the program writes reads back. */
template <typename Record>
void requireRoundTrip (Record& first, const char* rootTag)
{
    juce::XmlElement written (rootTag);
    require (first.write (&written), "a record that was read can be written");
    const auto text = T730::createDocumentText (written);

    auto back = T730::parseXmlText (text);
    require (back != nullptr, "a written document parses again");

    Record second;
    require (second.read (back.get()), "a written record reads again");
    juce::XmlElement again (rootTag);
    require (second.write (&again), "a record read back can be written");
    require (T730::createDocumentText (again) == text, "reading back and writing again changes nothing");
}

/** Parses the bytes as a document (null when they are not one). */
inline std::unique_ptr<juce::XmlElement> parseBytes (const uint8_t* data, size_t size)
{
    return T730::parseXmlData (data, size);
}

} // namespace oxafuzz
