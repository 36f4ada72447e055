#pragma once

#include <juce_graphics/juce_graphics.h>

/* The art generator draws the program's own pictures at build time; the build
   embeds the PNG files it writes into the program.

   A picture is a drawing function registered under its file name. To add one:
   write the function in a source file of this folder, register it there with
   a static ArtRegistration, add the file to oxa_art_generator and the file
   name to OXA_ART_PICTURES in src/art/CMakeLists.txt. */
namespace oxart
{

/** Colours shared by every picture. */
namespace colours
{
    const juce::Colour orange { 255, 155, 0 };
    const juce::Colour darkOrange { 190, 105, 0 };
    const juce::Colour floor { 18, 18, 20 };
    const juce::Colour frame { 70, 70, 76 };
}

using DrawPicture = juce::Image (*)();

/** Registers a picture: file name (with ".png") and the function that draws it. */
struct ArtRegistration
{
    ArtRegistration (const char* fileName, DrawPicture draw);
};

} // namespace oxart
