#include "editor/GraEQ.h"

#include <cmath>

namespace T730
{

GraEQ::GraEQ (BandLevels::Ptr bandAnalyser) : analyser (std::move (bandAnalyser))
{
    setSize (width, height);
    setInterceptsMouseClicks (false, false);
}

void GraEQ::timerCallback()
{
    for (int b = 0; b < numBands; ++b)
        newValues[b] = analyser != nullptr ? analyser->take (b) : -1.0f;

    for (int b = 0; b < numBands; ++b)
    {
        if (newValues[b] >= 0.0f)
        {
            shownValues[b] = juce::jmin (1.0f, newValues[b]);
        }
        else
        {
            shownValues[b] *= 0.9f;
            if (shownValues[b] < 0.001f)
                shownValues[b] = 0.0f;
        }
    }
    repaint();
}

int GraEQ::segmentsFor (float value) noexcept
{
    if (! (value > 0.0f))
        return 0;
    return juce::jmin (maxSegments, (int) (2.0f * std::sqrt (value) * (float) maxSegments));
}

float GraEQ::getShownValue (int band) const noexcept
{
    return band >= 0 && band < numBands ? shownValues[band] : 0.0f;
}

void GraEQ::paint (juce::Graphics& g)
{
    const int h = getHeight();
    for (int b = 0; b < numBands; ++b)
    {
        const int n = segmentsFor (shownValues[b]);
        for (int i = 0; i < n; ++i)
        {
            g.setColour (i <= 13 ? baseColour : peakColour);
            g.drawHorizontalLine (h - 1 - 2 * i, (float) (7 * b), (float) (7 * b + 6));
        }
    }
}

} // namespace T730
