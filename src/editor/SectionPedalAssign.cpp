#include "editor/SectionPedalAssign.h"

#include "art/ArtLayout.h"

namespace T730
{

SectionPedalAssign::SectionPedalAssign (ControllerLink& c) : controller (c)
{
    const auto& b = layout::pedalAssignSection;
    setBounds (b.x, b.y, b.w, b.h);
    setInterceptsMouseClicks (false, true);
    juce::ignoreUnused (controller);
}

void SectionPedalAssign::updateSection()
{
    OxSection::updateSection();
}

void SectionPedalAssign::deviceMessageReceived (const MidiRecvEv&)
{
}

} // namespace T730
