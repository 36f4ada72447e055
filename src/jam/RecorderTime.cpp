#include "jam/RecorderTime.h"

#include "engine/EngineSettings.h"

namespace T730::recorderTime
{

namespace
{
    double rateOrDefault (double rate) noexcept { return rate > 0.0 ? rate : 44100.0; }

    juce::String twoDigits (juce::int64 value) { return juce::String (value).paddedLeft ('0', 2); }
} // namespace

double deviceRate() noexcept
{
    return rateOrDefault (getEngineSettings().sampleRate.load());
}

juce::int64 toMilliseconds (juce::int64 position, double rate) noexcept
{
    if (position <= 0)
        return 0;

    rate = rateOrDefault (rate);
    const auto whole = (juce::int64) rate;
    if ((double) whole == rate)
        return position * 1000 / whole;   // exact for the usual whole rates
    return (juce::int64) ((double) position * 1000.0 / rate);
}

juce::String timeText (juce::int64 position, double rate)
{
    const auto ms = toMilliseconds (position, rate);
    return twoDigits (ms / 60000) + ":" + twoDigits ((ms % 60000) / 1000) + ":" + twoDigits ((ms / 10) % 100);
}

juce::String lengthText (juce::int64 length, double rate)
{
    return "(" + timeText (length, rate) + ")";
}

juce::String rangeText (juce::int64 start, juce::int64 end, double rate)
{
    return timeText (start, rate) + "-" + timeText (end, rate);
}

juce::int64 beatLength (double rate, int tempo) noexcept
{
    rate = rateOrDefault (rate);
    if (tempo <= 0)
        tempo = 120;
    return juce::jmax ((juce::int64) 1, (juce::int64) (rate * 60.0 / (double) tempo));
}

juce::int64 snapToBeat (juce::int64 position, juce::int64 beat) noexcept
{
    if (beat <= 0 || position <= 0)
        return juce::jmax ((juce::int64) 0, position);
    return position / beat * beat;
}

} // namespace T730::recorderTime
