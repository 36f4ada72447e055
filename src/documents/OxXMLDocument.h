#pragma once

#include <juce_core/juce_core.h>
#include <memory>

namespace T730
{

/** A parsed document: made from a file or from a text in memory, parsed on the
    first request for its root (with the program's safe parser) and kept. */
class OxXMLDocument
{
public:
    explicit OxXMLDocument (const juce::File& file);
    explicit OxXMLDocument (const juce::String& text);
    virtual ~OxXMLDocument();

    /** The root element, owned by the document; null when the text does not parse. */
    juce::XmlElement* root();

    /** The element at a plain path from the root, or null. */
    juce::XmlElement* findElement (const juce::String& path);

    /** The text at a plain path from the root, "" when missing. */
    juce::String getElementText (const juce::String& path);

    /** Why the last parse failed ("" when it did not). */
    const juce::String& getLastParseError() const noexcept { return parseError; }

private:
    juce::File file;
    juce::String text;
    bool fromFile;
    bool parsed = false;
    std::unique_ptr<juce::XmlElement> rootElement;
    juce::String parseError;

    JUCE_DECLARE_NON_COPYABLE (OxXMLDocument)
};

/** The document text of an element: XML declaration of version "1.0" with
    encoding "UTF-8", then the element tree. Characters that XML 1.0 does not
    allow in a document (control characters other than tab, line feed and
    carriage return, U+FFFE, U+FFFF) are left out, so that every document the
    program writes reads back. */
juce::String createDocumentText (const juce::XmlElement& root);

/** True for the characters XML 1.0 allows in a document. */
bool isXmlCharacter (juce::juce_wchar c) noexcept;

/** The text without the characters XML 1.0 does not allow. */
juce::String withoutDisallowedCharacters (const juce::String& text);

} // namespace T730
