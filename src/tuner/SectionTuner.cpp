#include "tuner/SectionTuner.h"

namespace T730
{

SectionTuner::SectionTuner (ControllerLink& c) : controller (c)
{
    setInterceptsMouseClicks (false, true);
    juce::ignoreUnused (controller);
}

void SectionTuner::pitchDetected (float pitch)
{
    lastPitch = pitch;
}

} // namespace T730
