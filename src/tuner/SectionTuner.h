#pragma once

#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;

/** The tuner page of the tab section. Its display and tuning modes come with
    the tuner itself; until then it keeps the last pitch it was given. */
class SectionTuner : public OxSection
{
public:
    explicit SectionTuner (ControllerLink& controller);

    /** A pitch from the tuner's detector (Hz; 0 or less for none), while the page is shown. */
    void pitchDetected (float pitch);

    float getLastPitch() const noexcept { return lastPitch; }

private:
    ControllerLink& controller;
    float lastPitch = 0.0f;

    JUCE_DECLARE_NON_COPYABLE (SectionTuner)
};

} // namespace T730
