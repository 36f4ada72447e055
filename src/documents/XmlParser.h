#pragma once

#include <juce_core/juce_core.h>
#include <memory>

namespace T730
{

/** The one XML parser of the program. Every document the program reads comes
    from disk or the network, so parsing is done by expat, which is proven on
    hostile input; the result is an ordinary juce::XmlElement tree, so that the
    rest of the program keeps JUCE's element API and its case-insensitive
    tag matching.

    Rules of the tree built:
    - text directly inside an element becomes JUCE text elements; text that is
      only white space is dropped, as JUCE's own parser does;
    - comments, processing instructions and the document type are skipped;
    - external entities are never loaded.

    - documents nested deeper than maxXmlDepth elements are refused.

    Anything that is not a complete, well-formed document (truncated text,
    invalid UTF-8, bad character references, trailing garbage) gives null. */
/** The deepest nesting of elements a document may have; the program's own
    documents stay below ten levels. */
constexpr int maxXmlDepth = 128;

std::unique_ptr<juce::XmlElement> parseXmlText (const juce::String& text);

/** The same from raw bytes (the encoding is taken from the declaration, UTF-8
    when there is none). */
std::unique_ptr<juce::XmlElement> parseXmlData (const void* data, size_t size);

/** Reads and parses a file; null when the file is missing, unreadable or not
    a well-formed document. */
std::unique_ptr<juce::XmlElement> parseXmlFile (const juce::File& file);

/** Text of the last parse failure on this thread ("" after a success). */
juce::String getLastXmlParseError();

/** The ".xml" files directly in a folder, by file name (a listing's own order
    differs between machines); none when the folder does not exist. */
juce::Array<juce::File> xmlFilesByName (const juce::File& folder);

} // namespace T730
