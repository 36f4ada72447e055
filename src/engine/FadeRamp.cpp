#include "engine/FadeRamp.h"

namespace T730::FadeRamp
{

namespace
{
    /** The indexes [first, last) of the block that fall into [rampStart, rampStart + r). */
    bool overlap (int count, juce::int64 blockStart, juce::int64 rampStart, int r, int& first, int& last) noexcept
    {
        if (r <= 0 || count <= 0)
            return false;

        const auto from = juce::jmax<juce::int64> (rampStart - blockStart, 0);
        const auto to = juce::jmin<juce::int64> (rampStart + r - blockStart, count);
        if (from >= to)
            return false;

        first = (int) from;
        last = (int) to;
        return true;
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
    int first = 0, last = 0;
    if (! overlap (count, blockStart, rampStart, r, first, last))
        return;

    const auto length = (float) r;
    for (int i = first; i < last; ++i)
    {
        const auto k = (float) (blockStart + i - rampStart);
        samples[i] = flush (samples[i] * (k / length));
    }
}

void fadeOut (float* samples, int count, juce::int64 blockStart, juce::int64 rampStart, int r) noexcept
{
    int first = 0, last = 0;
    if (! overlap (count, blockStart, rampStart, r, first, last))
        return;

    const auto length = (float) r;
    for (int i = first; i < last; ++i)
    {
        const auto k = (float) (blockStart + i - rampStart);
        samples[i] = flush (samples[i] * (1.0f - k / length));
    }
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
