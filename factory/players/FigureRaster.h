#pragma once

// A small renderer of the figure models for pictures made at build time (the still
// pictures compiled into the program and the previews): the same camera, projection
// and flat shading as the program's 3D views, drawn with a depth buffer.

#include "FigureModels.h"

#include <juce_graphics/juce_graphics.h>

namespace oxafigures
{

/** The mesh as the view of the given size shows it through the camera, on black;
    drawn at `oversample` times the size and reduced (smooth edges). */
juce::Image renderFigure (const Mesh& mesh, const Camera& camera, int width, int height, int oversample = 4);

} // namespace oxafigures
