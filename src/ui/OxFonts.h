#pragma once

#include <juce_graphics/juce_graphics.h>

namespace T730
{

/** The program's text face "Arial", taken from the metric-compatible face this
    system has (Liberation Sans), so that every text fits and shortens where the
    fixed layout expects; the default sans-serif face when it is missing. */
juce::Font arialFont (float height, int styleFlags = juce::Font::plain);

/** The name of the face "Arial" maps to here. */
const juce::String& arialTypefaceName();

/** A text shortened to a width in a font: the whole text when it fits, else its
    first n - k characters and "..." for the smallest k that fits ("..." alone when
    none does). */
juce::String shortenedToWidth (const juce::String& text, const juce::Font& font, int width);

} // namespace T730
