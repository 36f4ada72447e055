#include "recorder/LocateRange.h"

#include "documents/XmlPath.h"

namespace T730
{

namespace
{
    constexpr juce::int64 largestStoredPosition = 0xffffffffLL;
}

juce::int64 readStoredPosition (const juce::XmlElement* element, const juce::String& path, juce::int64 defaultValue)
{
    auto* found = findElement (element, path);
    if (found == nullptr)
        return defaultValue;

    // Read in 64 bits: the values are unsigned 32-bit ones, which an int
    // would turn negative above 2^31. A negative text reads as 0.
    auto text = getOwnText (found).trim();
    if (text.startsWithChar ('-'))
        return 0;
    if (text.startsWithChar ('+'))
        text = text.substring (1);

    const auto digits = text.initialSectionContainingOnly ("0123456789");
    if (digits.isEmpty())
        return 0;
    if (digits.length() > 12)
        return largestStoredPosition;

    return juce::jlimit<juce::int64> (0, largestStoredPosition, digits.getLargeIntValue());
}

juce::String storedPositionText (juce::int64 position)
{
    return juce::String (juce::jlimit<juce::int64> (0, largestStoredPosition, position));
}

bool LocateRange::read (const juce::XmlElement* element)
{
    start = readStoredPosition (element, "StartPoint", 0);
    end = readStoredPosition (element, "EndPoint", 0);
    enabled = getElementInt (element, "OnOff", 0) != 0;
    return element != nullptr;
}

bool LocateRange::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "StartPoint", storedPositionText (start));
    addTextChild (element, "EndPoint", storedPositionText (end));
    addTextChild (element, "OnOff", enabled ? "1" : "0");
    return true;
}

} // namespace T730
