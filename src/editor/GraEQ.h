#pragma once

#include "engine/BandLevels.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** The 15-band bar display of a recorder panel: each band a column of up to 18
    segments, the upper four in the peak colour. A band without a new value
    fades by 0.9 per tick. The owner starts the timer (120 ms). Message
    thread; the levels are written by the audio thread without a lock. */
class GraEQ : public juce::Component, public juce::Timer
{
public:
    explicit GraEQ (BandLevels::Ptr analyser);

    void timerCallback() override;
    void paint (juce::Graphics& g) override;

    float getShownValue (int band) const noexcept;

    static constexpr int width = 105, height = 37;
    static constexpr int numBands = BandLevels::numBands;
    static constexpr int maxSegments = 18;

    /** Segments lit for a shown value. */
    static int segmentsFor (float value) noexcept;

    inline static const juce::Colour baseColour { 255, 155, 0 };
    inline static const juce::Colour peakColour { 255, 40, 20 };

private:
    BandLevels::Ptr analyser;
    float newValues[numBands] = {};
    float shownValues[numBands] = {};

    JUCE_DECLARE_NON_COPYABLE (GraEQ)
};

} // namespace T730
