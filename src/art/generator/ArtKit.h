#pragma once

#include "ArtGenerator.h"

/* Drawing pieces shared by the program's pictures: the same dark plates, bevels,
   screws, lettering and LEDs as the module pictures, so that the window, its
   dialogs and the units on the floor read as one product. */
namespace oxart
{

/** A font of the art: 0 plain sans, 1 bold sans, 2 condensed bold (the module lettering). */
juce::Font artFont (float height, int face = 1);

/** A transparent picture of the size. */
juce::Image blank (int width, int height);

/** A plate with a soft vertical gradient, a light inner edge and a dark outline. */
void plate (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour, float corner);

/** A recess: darker inside, shadow on the upper edge, light on the lower one. */
void recess (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour inside, float corner);

/** Fine horizontal brushing over the area (brushed metal), reproducible from the seed. */
void brush (juce::Graphics& g, juce::Rectangle<int> area, float strength, int seed);

/** Speckles of lighter and darker dots (tolex, carpet), reproducible from the seed. */
void speckle (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour colour, float density, int seed,
              float contrast = 0.5f);

/** A Phillips screw head of radius r. */
void screw (juce::Graphics& g, float x, float y, float r = 2.5f);

/** A round LED: lit glows in its colour, unlit is a dark lens. */
void led (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit);

/** Text fitted into the area on one line. */
void label (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area, float height,
            juce::Colour colour, int face = 2, juce::Justification just = juce::Justification::centred);

/** Text with a one-pixel dark shadow below it (engraved lettering on metal). */
void engraved (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area, float height,
               juce::Colour colour, int face = 2, juce::Justification just = juce::Justification::centred);

/** The colours of one LED meter segment at a position 0..1 of the scale. */
juce::Colour meterColour (float position, bool lit);

} // namespace oxart

namespace oxart
{

/** The face of a rack unit of the jam section: a brushed plate in its colour with
    a darker edge, rack ears with a screw each at both ends, and a thin orange
    pin line under the top edge. Used by every jam panel, open and folded. */
void rackUnit (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour face, int seed);

/** A brushed panel of dark metal (seed for the brushing) filling the area. */
void brushedPanel (juce::Graphics& g, juce::Rectangle<int> area, int seed);

/** The background of a page of the tab section: the brushed panel inside the
    page's rounded edge, parted by a seam at row seamY (none when negative). */
void pagePlate (juce::Graphics& g, juce::Rectangle<int> area, int seed, int seamY = -1);

/** A window of dark glass sunk into a panel behind a list or table: a bezel of
    `rim` pixels around a black recess, a faint amber glow from the top as from
    a backlit display, and the glass's reflection across its upper half. */
void glassWindow (juce::Graphics& g, juce::Rectangle<int> table, int rim = 4);

/** The heading of a list: an engraved caption with a lit marker before it, and
    an optional dim legend at the right. */
void listHeading (juce::Graphics& g, const juce::String& text, const juce::String& legend, juce::Rectangle<int> area);

/** A small square key of the jam panels (fold, close, transport, toggles):
    a dark cap in a recess, lit in orange when `lit`, lighter under the pointer. */
void panelKey (juce::Graphics& g, juce::Rectangle<float> area, bool lit, bool over);

} // namespace oxart
