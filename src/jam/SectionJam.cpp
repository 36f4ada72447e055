#include "jam/SectionJam.h"

#include "art/ArtLayout.h"

namespace T730
{

SectionJam::SectionJam (ControllerLink& c) : controller (c)
{
    const auto& b = layout::jamSection;
    setBounds (b.x, b.y, b.w, b.h);
    setInterceptsMouseClicks (false, true);
    juce::ignoreUnused (controller);
}

void SectionJam::updateSection()
{
    OxSection::updateSection();
}

void SectionJam::setLiveDrawing (bool shouldDraw)
{
    if (liveDrawing == shouldDraw)
        return;

    liveDrawing = shouldDraw;
    repaint();
}

void SectionJam::setPlayersShown (bool shouldShow)
{
    playersShown = shouldShow;
}

void SectionJam::removeRhythmItem()
{
}

void SectionJam::recorderPunchedOut (void*)
{
}

} // namespace T730
