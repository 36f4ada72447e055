#pragma once

// The drummer's and the bassist's model sets: every .ox file of each, by name,
// drawn from the tables and the code of DrummerModels.cpp and BassistModels.cpp
// in the figures' own coordinates (the places their cameras look at).

#include "FigureMesh.h"

#include <map>

namespace oxafigures
{

/** File name -> model, for "Drummer.archived" (90 files). */
std::map<juce::String, Mesh> drummerModels();
/** File name -> model, for "Bassist.archived" (50 files). */
std::map<juce::String, Mesh> bassistModels();

/** One pose of a whole figure (a file for each group), for the still pictures and previews. */
Mesh drummerScene (const std::map<juce::String, Mesh>& models, int rightPose, int leftPose, int cymbalPose, bool hiHatOpen);
Mesh bassistScene (const std::map<juce::String, Mesh>& models, int bodyPose, int handPose);

/** A camera as the program's views set it up (offset, angles in degrees, distance, height). */
struct Camera
{
    Vec offset;
    float angleX = 0, angleY = 0, distance = 0, height = 0;
};

inline Camera drummerCamera() { return { { 0.1f, 0.3f, 0.2f }, 0, 0, 0.95f, 0.1f }; }
inline Camera bassistCamera() { return { { 0.0f, 0.5f, 0.1f }, 0, 0, 0, 0 }; }

} // namespace oxafigures
