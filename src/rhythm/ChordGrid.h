#pragma once

#include "rhythm/RhythmPattern.h"
#include "rhythm/Song.h"

#include <memory>
#include <vector>

namespace T730
{

/** One beat of the chord views' grid, in quarter notes from the song start. */
struct BeatMark
{
    float position = 0.0f;
    int kind = 0;            // 1: the first beat of a bar, 0: any other beat
    float length = 1.0f;     // 4 / denominator quarter notes
};

/** The meter of one pattern as the song plays it: n/d over a number of bars. */
struct GridMeter
{
    int numerator = 4;
    int denominator = 4;
    int bars = 0;
};

/** Where a position falls in the song's bars (both counted from 0). */
struct BarBeat
{
    int bar = 0;
    int beat = 0;
};

/** The beat grid of a song's patterns, its bar starts and the bar and beat
    of a position. Pure arithmetic, any thread. */
namespace ChordGrid
{
    /** The most marks a grid holds: a longer song is shown up to there. */
    inline constexpr int maxMarks = 1 << 17;

    /** The song's meters in play order: for every pattern reference of the song,
        the meter of the loaded pattern with that ID. References to patterns
        that are missing or whose time signature or bar count makes no grid
        (a zero denominator, no bars, an absurd count) add nothing. */
    std::vector<GridMeter> songMeters (const Song& song, const std::vector<std::unique_ptr<RhythmPattern>>& patterns);

    /** The meter of one pattern, or false when it makes no grid. */
    bool meterOf (const RhythmPattern& pattern, GridMeter& meter);

    /** n × b marks per meter, each 4 / d quarter notes long, bar starts of kind 1;
        never more than maxMarks. */
    std::vector<BeatMark> beatMarks (const std::vector<GridMeter>& meters);

    /** The grid's length in quarter notes (the end of its last mark). */
    double totalQuarters (const std::vector<BeatMark>& marks);

    /** The sample position of every bar start and one last entry for the end. */
    std::vector<juce::int64> barStarts (const std::vector<BeatMark>& marks, double samplesPerQuarter);

    /** Samples per quarter note at a tempo: 60 / tempo × rate (0 without a tempo). */
    double samplesPerQuarter (double sampleRate, int tempo);

    /** The bar and beat the position falls in, a beat being trunc (60 / tempo × 44100)
        samples whatever the denominator, bars of `numerator` beats; 0/0 past the end. */
    BarBeat barBeatAt (juce::int64 position, const std::vector<GridMeter>& meters, int tempo);
}

} // namespace T730
