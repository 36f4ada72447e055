#include "rhythm/ChordGrid.h"

#include <cmath>

namespace T730::ChordGrid
{

bool meterOf (const RhythmPattern& pattern, GridMeter& meter)
{
    if (! pattern.hasUsableGrid())
        return false;
    meter.numerator = pattern.getNumerator();
    meter.denominator = pattern.getDenominator();
    meter.bars = pattern.BarLen;
    return meter.numerator > 0 && meter.denominator > 0 && meter.bars > 0;
}

std::vector<GridMeter> songMeters (const Song& song, const std::vector<std::unique_ptr<RhythmPattern>>& patterns)
{
    std::vector<GridMeter> meters;
    juce::int64 beats = 0;
    for (const auto& e : song.Events)
    {
        if (! e.isPattern())
            continue;
        for (const auto& p : patterns)
        {
            GridMeter m;
            if (p == nullptr || p->ID != e.Prm || ! meterOf (*p, m))
                continue;
            meters.push_back (m);
            beats += (juce::int64) m.numerator * m.bars;
            break;
        }
        // A song of many thousand references would only be cut by the grid anyway.
        if (beats >= maxMarks)
            break;
    }
    return meters;
}

std::vector<BeatMark> beatMarks (const std::vector<GridMeter>& meters)
{
    std::vector<BeatMark> marks;
    double position = 0.0;
    for (const auto& m : meters)
    {
        if (m.numerator <= 0 || m.denominator <= 0 || m.bars <= 0)
            continue;
        const double length = 4.0 / m.denominator;
        for (int bar = 0; bar < m.bars; ++bar)
            for (int beat = 0; beat < m.numerator; ++beat)
            {
                if ((int) marks.size() >= maxMarks)
                    return marks;
                marks.push_back ({ (float) position, beat == 0 ? 1 : 0, (float) length });
                position += length;
            }
    }
    return marks;
}

double totalQuarters (const std::vector<BeatMark>& marks)
{
    if (marks.empty())
        return 0.0;
    return (double) marks.back().position + (double) marks.back().length;
}

std::vector<juce::int64> barStarts (const std::vector<BeatMark>& marks, double samplesPerQuarter)
{
    std::vector<juce::int64> starts;
    if (marks.empty() || ! (samplesPerQuarter > 0.0))
        return starts;
    for (const auto& m : marks)
        if (m.kind == 1)
            starts.push_back ((juce::int64) ((double) m.position * samplesPerQuarter));
    starts.push_back ((juce::int64) (totalQuarters (marks) * samplesPerQuarter));
    return starts;
}

double samplesPerQuarter (double sampleRate, int tempo)
{
    return tempo > 0 ? 60.0 / tempo * sampleRate : 0.0;
}

BarBeat barBeatAt (juce::int64 position, const std::vector<GridMeter>& meters, int tempo)
{
    if (tempo <= 0 || position < 0)
        return {};
    const auto beatLength = (juce::int64) (60.0 / tempo * 44100.0);
    if (beatLength <= 0)
        return {};

    juce::int64 start = 0;
    juce::int64 barsBefore = 0;
    for (const auto& m : meters)
    {
        if (m.numerator <= 0 || m.bars <= 0)
            continue;
        const auto beats = (juce::int64) m.numerator * m.bars;
        const auto end = start + beats * beatLength;
        if (position < end)
        {
            const auto index = (position - start) / beatLength;
            return { (int) (barsBefore + index / m.numerator), (int) (index % m.numerator) };
        }
        start = end;
        barsBefore += m.bars;
    }
    return {};
}

} // namespace T730::ChordGrid
