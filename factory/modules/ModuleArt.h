#pragma once

#include "ModulePlan.h"

#include <vector>

/* The pictures of the modules, drawn by code: the faceplate of every module
   type, the shared control pictures of the "Common" archive (knob strips of 49
   frames whose pointer turns through 300 degrees, two-frame LEDs, switches and
   keys, slider knobs, a digit display) and the patch level knob strip of the
   "Assigner" archive. One visual language: dark units, orange (255, 155, 0)
   lettering, the unit's own colour for its body. */
namespace oxafactory
{

struct NamedPicture
{
    juce::String name; // file name without ".png"
    juce::Image image;
};

/** Lettering colour of every unit. */
const juce::Colour orangeText { 255, 155, 0 };

/** The faceplate ("Panel") and any other picture the module keeps in its own archive. */
std::vector<NamedPicture> modulePictures (const ModuleType& type, const ModulePlan& plan);

/** The pictures of the shared archive "Common". */
std::vector<NamedPicture> commonPictures();

/** The 49 frames "M-00" to "M-48" of the patch level knob (32 x 34). */
std::vector<NamedPicture> assignerPictures();

/** A font of the given height; `face` 0 plain sans, 1 bold sans, 2 condensed bold, 3 script logo. */
juce::Font artFont (float height, int face = 1);

} // namespace oxafactory
