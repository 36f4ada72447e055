#include "rhythm/RootIndex.h"

namespace T730::RootIndex
{

namespace
{
    const char* const names[12] = { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };
}

int fromName (const juce::String& name) noexcept
{
    for (int i = 0; i < 12; ++i)
        if (name == names[i])
            return i;
    return 0;
}

juce::String toName (int index)
{
    return names[((index % 12) + 12) % 12];
}

juce::String leadingName (const juce::String& text)
{
    // Longest first: every sharp name is tried before its plain letter.
    for (int i = 11; i >= 0; --i)
        if (juce::String (names[i]).length() == 2 && text.startsWith (names[i]))
            return names[i];
    for (int i = 11; i >= 0; --i)
        if (text.startsWith (names[i]))
            return names[i];
    return {};
}

} // namespace T730::RootIndex
