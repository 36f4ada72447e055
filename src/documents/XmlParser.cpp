#include "documents/XmlParser.h"

#include <expat.h>
#include <algorithm>
#include <vector>

namespace T730
{
namespace
{
thread_local juce::String lastParseError;

/** Builds a juce::XmlElement tree from expat's callbacks. */
class TreeBuilder
{
public:
    explicit TreeBuilder (XML_Parser p) : parser (p)
    {
        XML_SetUserData (parser, this);
        XML_SetElementHandler (parser, &TreeBuilder::onStart, &TreeBuilder::onEnd);
        XML_SetCharacterDataHandler (parser, &TreeBuilder::onText);
    }

    std::unique_ptr<juce::XmlElement> takeRoot() { return std::move (root); }

    bool tooDeep = false;

private:
    static void XMLCALL onStart (void* userData, const XML_Char* name, const XML_Char** attributes)
    {
        auto& self = *static_cast<TreeBuilder*> (userData);
        self.flushText();

        // The element tree is freed (and walked) one call per level: a document
        // nested deeper than any the program writes is refused before it is built.
        if (self.stack.size() >= (size_t) maxXmlDepth)
        {
            self.tooDeep = true;
            XML_StopParser (self.parser, XML_FALSE);
            return;
        }

        auto* element = new juce::XmlElement (juce::String::fromUTF8 (name));

        for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2)
            element->setAttribute (juce::Identifier (juce::String::fromUTF8 (attributes[i])),
                                   juce::String::fromUTF8 (attributes[i + 1]));

        if (self.stack.empty())
            self.root.reset (element);
        else
            self.stack.back()->addChildElement (element);

        self.stack.push_back (element);
    }

    static void XMLCALL onEnd (void* userData, const XML_Char*)
    {
        auto& self = *static_cast<TreeBuilder*> (userData);
        self.flushText();

        if (! self.stack.empty())
            self.stack.pop_back();
    }

    static void XMLCALL onText (void* userData, const XML_Char* text, int length)
    {
        auto& self = *static_cast<TreeBuilder*> (userData);
        if (length > 0)
            self.pendingText.append (text, (size_t) length);
    }

    void flushText()
    {
        if (pendingText.empty())
            return;

        auto text = juce::String::fromUTF8 (pendingText.data(), (int) pendingText.size());
        pendingText.clear();

        if (! stack.empty() && text.trim().isNotEmpty())
            stack.back()->addTextElement (text);
    }

    XML_Parser parser;
    std::unique_ptr<juce::XmlElement> root;
    std::vector<juce::XmlElement*> stack;
    std::string pendingText;
};

struct ParserDeleter
{
    void operator() (XML_Parser p) const { XML_ParserFree (p); }
};
} // namespace

std::unique_ptr<juce::XmlElement> parseXmlData (const void* data, size_t size)
{
    lastParseError = {};

    if (data == nullptr || size == 0 || size > (size_t) std::numeric_limits<int>::max())
    {
        lastParseError = "empty or oversized document";
        return {};
    }

    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser (XML_ParserCreate (nullptr));
    if (parser == nullptr)
    {
        lastParseError = "out of memory";
        return {};
    }

    // Never read anything but the text given.
    XML_SetParamEntityParsing (parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

    TreeBuilder builder (parser.get());

    if (XML_Parse (parser.get(), static_cast<const char*> (data), (int) size, XML_TRUE) != XML_STATUS_OK
        || builder.tooDeep)
    {
        if (builder.tooDeep)
        {
            lastParseError = "elements nested deeper than " + juce::String (maxXmlDepth) + " levels";
            return {};
        }

        lastParseError = juce::String (XML_ErrorString (XML_GetErrorCode (parser.get())))
                         + " at line " + juce::String ((juce::int64) XML_GetCurrentLineNumber (parser.get()));
        return {};
    }

    return builder.takeRoot();
}

std::unique_ptr<juce::XmlElement> parseXmlText (const juce::String& text)
{
    auto utf8 = text.toRawUTF8();
    return parseXmlData (utf8, text.getNumBytesAsUTF8());
}

std::unique_ptr<juce::XmlElement> parseXmlFile (const juce::File& file)
{
    juce::MemoryBlock data;

    if (! file.existsAsFile() || ! file.loadFileAsData (data))
    {
        lastParseError = "cannot read " + file.getFullPathName();
        return {};
    }

    return parseXmlData (data.getData(), data.getSize());
}

juce::String getLastXmlParseError()
{
    return lastParseError;
}

juce::Array<juce::File> xmlFilesByName (const juce::File& folder)
{
    if (! folder.isDirectory())
        return {};
    auto files = folder.findChildFiles (juce::File::findFiles, false, "*.xml");
    std::sort (files.begin(), files.end(),
               [] (const juce::File& a, const juce::File& b) { return a.getFileName() < b.getFileName(); });
    return files;
}

} // namespace T730
