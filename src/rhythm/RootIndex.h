#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** Note names and their root index 0..11, sharps only ("C" 0, "C#" 1 ... "B" 11). */
namespace RootIndex
{
    /** The index of an exact, case-sensitive note name; any other text (flats,
        lower case, empty) gives 0. */
    int fromName (const juce::String& name) noexcept;

    /** The name of an index, taken modulo 12 (negative indices too). */
    juce::String toName (int index);

    /** The longest note name the text starts with ("C#m7" gives "C#"), or "".
        The names are tried from "B" down to "C", so a sharp wins. */
    juce::String leadingName (const juce::String& text);
}

} // namespace T730
