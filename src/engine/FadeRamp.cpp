#include "engine/FadeRamp.h"

namespace T730::FadeRamp
{

namespace
{
    /** Multiplies the part of the block that falls into [rampStart, rampStart + r)
        by the ramp's gain at each of its samples: gain (k / r), k counted from
        the ramp's start. */
    template <typename Gain>
    void applyRamp (float* samples, int count, juce::int64 blockStart, juce::int64 rampStart, int r, Gain gain) noexcept
    {
        if (r <= 0 || count <= 0)
            return;

        const auto first = juce::jmax<juce::int64> (rampStart - blockStart, 0);
        const auto last = juce::jmin<juce::int64> (rampStart + r - blockStart, count);
        const auto length = (float) r;
        for (auto i = first; i < last; ++i)
            samples[i] = flush (samples[i] * gain ((float) (blockStart + i - rampStart) / length));
    }
} // namespace

int lengthFor (double sampleRate) noexcept
{
    if (! (sampleRate > 0.0) || sampleRate > 1.0e7)
        return 0;

    return (int) ((juce::int64) sampleRate * 10 / 1000);
}

void fadeIn (float* samples, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept
{
    applyRamp (samples, count, blockStart, rampStart, r, [] (float t) noexcept { return t; });
}

void fadeOut (float* samples, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept
{
    applyRamp (samples, count, blockStart, rampStart, r, [] (float t) noexcept { return 1.0f - t; });
}

void silenceFrom (float* samples, int count, juce::int64 blockStart, juce::int64 from) noexcept
{
    const auto first = juce::jlimit<juce::int64> (0, juce::jmax (count, 0), from - blockStart);
    for (auto i = first; i < count; ++i)
        samples[i] = 0.0f;
}

void fadeIn (float* const* pair, int offset, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept
{
    for (int c = 0; c < 2; ++c)
        fadeIn (pair[c] + offset, count, blockStart, rampStart, r);
}

void fadeOut (float* const* pair, int offset, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept
{
    for (int c = 0; c < 2; ++c)
        fadeOut (pair[c] + offset, count, blockStart, rampStart, r);
}

void silenceFrom (float* const* pair, int offset, int count, juce::int64 blockStart, juce::int64 from) noexcept
{
    for (int c = 0; c < 2; ++c)
        silenceFrom (pair[c] + offset, count, blockStart, from);
}

} // namespace T730::FadeRamp
