#include "documents/OxXMLDocument.h"

#include "documents/XmlParser.h"
#include "documents/XmlPath.h"

namespace T730
{

OxXMLDocument::OxXMLDocument (const juce::File& f) : file (f), fromFile (true) {}

OxXMLDocument::OxXMLDocument (const juce::String& t) : text (t), fromFile (false) {}

OxXMLDocument::~OxXMLDocument() = default;

juce::XmlElement* OxXMLDocument::root()
{
    if (! parsed)
    {
        parsed = true;
        rootElement = fromFile ? parseXmlFile (file) : parseXmlText (text);
        parseError = rootElement == nullptr ? getLastXmlParseError() : juce::String();
    }
    return rootElement.get();
}

juce::XmlElement* OxXMLDocument::findElement (const juce::String& path)
{
    return T730::findElement (root(), path);
}

juce::String OxXMLDocument::getElementText (const juce::String& path)
{
    return T730::getElementText (root(), path);
}

bool isXmlCharacter (juce::juce_wchar c) noexcept
{
    const auto u = (juce::uint32) c;
    return u == 0x9 || u == 0xA || u == 0xD
           || (u >= 0x20 && u <= 0xD7FF)
           || (u >= 0xE000 && u <= 0xFFFD)
           || (u >= 0x10000 && u <= 0x10FFFF);
}

juce::String withoutDisallowedCharacters (const juce::String& text)
{
    juce::String result;
    result.preallocateBytes (text.getNumBytesAsUTF8());
    for (auto p = text.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = p.getAndAdvance();
        if (isXmlCharacter (c))
            result << juce::String::charToString (c);
    }
    return result;
}

namespace
{
    /** JUCE's writer turns every character outside printable ASCII into a numeric
        character reference, the forbidden ones (U+0001, ESC, U+FFFE ...) included,
        and no reader accepts a document holding those. The references it wrote for
        such characters are left out; "&#" never stands for anything else in its
        output, since a literal "&" is always written as "&amp;". */
    juce::String dropDisallowedReferences (const juce::String& written)
    {
        if (! written.contains ("&#"))
            return written;

        juce::MemoryOutputStream out (written.getNumBytesAsUTF8());
        const char* p = written.toRawUTF8();
        const char* start = p;

        while (*p != 0)
        {
            if (p[0] == '&' && p[1] == '#')
            {
                const char* q = p + 2;
                juce::uint64 value = 0;
                int digits = 0;
                while (*q >= '0' && *q <= '9' && digits < 12)
                {
                    value = value * 10 + (juce::uint64) (*q - '0');
                    ++q;
                    ++digits;
                }

                if (digits > 0 && *q == ';')
                {
                    if (value > 0x10FFFF || ! isXmlCharacter ((juce::juce_wchar) value))
                    {
                        out.write (start, (size_t) (p - start));
                        start = p = q + 1;
                        continue;
                    }
                    p = q + 1;
                    continue;
                }
            }
            ++p;
        }

        out.write (start, (size_t) (p - start));
        return out.toUTF8();
    }
} // namespace

juce::String createDocumentText (const juce::XmlElement& root)
{
    // JUCE writes version "1.0" with encoding "UTF-8".
    return dropDisallowedReferences (root.toString());
}

} // namespace T730
