#pragma once

#include <juce_core/juce_core.h>

/* The recorder panel's arithmetic on sample positions, all of it in 64 bits
   (a take of a few minutes already passes 2^31 samples times anything). */
namespace T730::recorderTime
{

/** The device's sample rate, 44100 when it is not known yet. */
double deviceRate() noexcept;

/** Milliseconds of a position: position × 1000 / rate (44100 when the rate is 0); negative counts as 0. */
juce::int64 toMilliseconds (juce::int64 position, double rate) noexcept;

/** "mm:ss:hh" (minutes, seconds, hundredths; minutes are not limited to two digits). */
juce::String timeText (juce::int64 position, double rate);

/** The length text: "(mm:ss:hh)". */
juce::String lengthText (juce::int64 length, double rate);

/** A range's text: "mm:ss:hh-mm:ss:hh". */
juce::String rangeText (juce::int64 start, juce::int64 end, double rate);

/** One beat in samples: rate × 60 / tempo (120 beats a minute when the tempo is
    0, 44100 samples a second when the rate is 0); at least 1. */
juce::int64 beatLength (double rate, int tempo) noexcept;

/** The position moved back to the start of its beat. */
juce::int64 snapToBeat (juce::int64 position, juce::int64 beat) noexcept;

} // namespace T730::recorderTime
