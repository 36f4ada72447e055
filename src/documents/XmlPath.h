#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The pieces of the text between occurrences of the separator, empty pieces
    included ("a//b" gives "a", "", "b"; "" gives one empty piece). */
juce::StringArray splitAt (const juce::String& text, juce::juce_wchar separator);

/** Follows a "/"-separated list of tags from the element, taking the first
    child with each tag (case-insensitive). Null element or path miss: null. */
juce::XmlElement* findElement (const juce::XmlElement* element, const juce::String& path);

/** Like findElement, but each step may carry ","-separated selectors of the
    form name=value ("RecorderFile,idx=1"). A child passes a step when every
    selector that is of that form and names an attribute the child has (the
    name's case disregarded) matches exactly; the first child that passes is taken. */
juce::XmlElement* findElementSelect (const juce::XmlElement* element, const juce::String& path);

/** The concatenated direct text children of an element (text of nested elements excluded). */
juce::String getOwnText (const juce::XmlElement* element);

/** Text at the path, "" when not found. */
juce::String getElementText (const juce::XmlElement* element, const juce::String& path);

/** Text at the selector path, "" when not found. */
juce::String getElementSelectText (const juce::XmlElement* element, const juce::String& path);

/** The leading integer of a text as JUCE's integer parsing reads it (leading
    spaces and a sign allowed, digits up to the first non-digit, no digits give 0),
    held at the int range instead of overflowing. */
int readLeadingInt (const juce::String& text) noexcept;

/** The integer at the path; the default when the element is missing. A present
    element is read with readLeadingInt, so an empty element gives 0. */
int getElementInt (const juce::XmlElement* element, const juce::String& path, int defaultValue);

/** Appends a child element `tag` holding one text node (even when the text is empty). */
juce::XmlElement* addTextChild (juce::XmlElement* parent, const juce::String& tag, const juce::String& text);

/** Appends a child element `tag` holding the text, with the attribute set to the decimal index. */
juce::XmlElement* addIndexedTextChild (juce::XmlElement* parent, const juce::String& tag,
                                       const juce::String& attribute, int index, const juce::String& text);

} // namespace T730
