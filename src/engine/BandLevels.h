#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <atomic>

namespace T730
{

/** The published band levels of a 15-band analyser: the audio thread
    publishes a level (0..1, more is clipped by the reader) for each band, a
    display takes them. A value of -1 means no new value since the last take.
    Reference-counted: the analyser and the displays that show it share it.
    Lock-free; any thread. */
class BandLevels : public juce::ReferenceCountedObject
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<BandLevels>;
    static constexpr int numBands = 15;

    BandLevels()
    {
        for (auto& b : bands)
            b.store (-1.0f);
    }

    /** Audio thread: the band's latest level. */
    void publish (int band, float level) noexcept
    {
        if (band >= 0 && band < numBands)
            bands[(size_t) band].store (level);
    }

    /** Display: the band's level since the last take, leaving -1 in its place. */
    float take (int band) noexcept
    {
        return band >= 0 && band < numBands ? bands[(size_t) band].exchange (-1.0f) : -1.0f;
    }

private:
    std::array<std::atomic<float>, numBands> bands;

    JUCE_DECLARE_NON_COPYABLE (BandLevels)
};

} // namespace T730
