#pragma once

#include "engine/BandLevels.h"

#include <juce_core/juce_core.h>

#include <atomic>

namespace T730
{

/** The recorder's 15-band level display: the sum of both channels runs through
    a cascade of eight one-pole low-pass stages, each taking the low part of
    what the stages before left (cut-offs from about 16 Hz to 10.6 kHz at
    44100 Hz). The stages' outputs are the even bands, the means of two
    neighbours the odd ones; each call publishes the largest value of every
    band over its frames.

    Each call also hands its values to a display through the BandLevels base
    (the panel's band display takes them, leaving -1 until the next call, so a
    band the recorder stopped feeding fades there).

    Reference-counted: the recorder and its panel share it. `process` runs on
    the audio thread; the published values are read anywhere. */
class FreqRes16Band : public BandLevels
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<FreqRes16Band>;

    static constexpr int numStages = 8;
    static constexpr int numBands = BandLevels::numBands;
    static constexpr float defaultGain = 0.3162f;

    /** The stage coefficients: y = a × x + b × y. */
    static constexpr double stageA[numStages] = { 0.0022888880, 0.0059816279, 0.0157170314, 0.0405590981,
                                                  0.1027558222, 0.2458571047, 0.5090792775, 0.7785882354 };
    static constexpr double stageB[numStages] = { 0.9976806, 0.9939879, 0.9842525, 0.9594104,
                                                  0.8972136, 0.7541124, 0.4908902, 0.2213813 };

    explicit FreqRes16Band (float inputGain = defaultGain);

    /** n frames of a stereo pair (audio thread). With n <= 0 nothing changes. */
    void process (const float* left, const float* right, int n) noexcept;

    /** The band's value published by the last call (signed; 0 for another index). */
    float getBand (int band) const noexcept;

    /** The stages start from rest and the published values become 0 (not while
        the audio thread processes). */
    void reset() noexcept;

    float getGain() const noexcept { return gain; }

private:
    const float gain;
    float stages[numStages] = {};               // the audio thread's
    std::atomic<float> published[numBands];     // written by the audio thread

    JUCE_DECLARE_NON_COPYABLE (FreqRes16Band)
};

} // namespace T730
