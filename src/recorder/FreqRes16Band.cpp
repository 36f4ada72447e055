#include "recorder/FreqRes16Band.h"

#include "engine/FadeRamp.h"

namespace T730
{

FreqRes16Band::FreqRes16Band (float inputGain) : gain (inputGain)
{
    for (auto& value : published)
        value.store (0.0f);
}

void FreqRes16Band::process (const float* left, const float* right, int n) noexcept
{
    if (n <= 0 || left == nullptr || right == nullptr)
        return;

    float peaks[numBands] = {};

    for (int k = 0; k < n; ++k)
    {
        float x = FadeRamp::flush ((left[k] + right[k]) * gain);
        for (int i = 0; i < numStages; ++i)
        {
            stages[i] = FadeRamp::flush ((float) stageA[i] * x + (float) stageB[i] * stages[i]);
            x -= stages[i];
        }

        float values[numBands];
        for (int i = 0; i < numStages; ++i)
            values[2 * i] = stages[i];
        for (int i = 0; i < numStages - 1; ++i)
            values[2 * i + 1] = (stages[i] + stages[i + 1]) * 0.5f;

        // Signed: the running peaks start at 0, so negative values never raise them.
        for (int b = 0; b < numBands; ++b)
            peaks[b] = juce::jmax (peaks[b], values[b]);
    }

    for (int b = 0; b < numBands; ++b)
    {
        published[b].store (peaks[b]);
        publish (b, peaks[b]);
    }
}

float FreqRes16Band::getBand (int band) const noexcept
{
    return band >= 0 && band < numBands ? published[band].load() : 0.0f;
}

void FreqRes16Band::reset() noexcept
{
    for (auto& s : stages)
        s = 0.0f;
    for (auto& value : published)
        value.store (0.0f);
}

} // namespace T730
