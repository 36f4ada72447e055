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

juce::String createDocumentText (const juce::XmlElement& root)
{
    return root.toString(); // JUCE writes version "1.0" with encoding "UTF-8"
}

} // namespace T730
