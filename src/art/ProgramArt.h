#pragma once

#include <juce_graphics/juce_graphics.h>

/* The pictures compiled into the program. */
namespace T730::art
{

enum class Picture
{
    progressBackground,
    progressBar,
    progressOverlay,
};

/** The decoded picture (cached by JUCE's image cache); invalid when it is missing. */
juce::Image getImage (Picture picture);

} // namespace T730::art
