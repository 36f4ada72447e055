#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The fade ramp shared by every start, stop, jump and take boundary: a linear
    ramp of 10 ms (441 samples at 44100 Hz), and the flushing of denormal
    numbers that follows every gain change.

    The fades work on a stretch of samples laid on a timeline (transport
    positions or synchroniser totals): `blockStart` is the timeline place of
    the first sample, `rampStart` the place where the ramp begins. Samples
    outside [rampStart, rampStart + r) are left alone. Audio-thread safe. */
namespace FadeRamp
{
    /** Ramp length in samples: the truncated sample rate × 10 / 1000. */
    int lengthFor (double sampleRate) noexcept;

    /** (x + 1e-18) - 1e-18 in single precision: a denormal becomes 0. */
    inline float flush (float x) noexcept
    {
        // Kept as two separate operations: the compiler must not fold them
        // (the build never uses value-changing floating point options).
        const float tiny = 1.0e-18f;
        return (x + tiny) - tiny;
    }

    /** Each sample k places after the ramp start is multiplied by k / r. */
    void fadeIn (float* samples, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept;

    /** Each sample k places after the ramp start is multiplied by 1 - k / r. */
    void fadeOut (float* samples, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept;

    /** Zeroes the samples that lie at or after `from`. */
    void silenceFrom (float* samples, int count, juce::int64 blockStart, juce::int64 from) noexcept;

    /** Both channels of a pair at once. */
    void fadeIn (float* const* pair, int offset, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept;
    void fadeOut (float* const* pair, int offset, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept;
    void silenceFrom (float* const* pair, int offset, int count, juce::int64 blockStart, juce::int64 from) noexcept;
} // namespace FadeRamp

} // namespace T730
