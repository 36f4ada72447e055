#pragma once

#include "AttackSplicer.h"
#include "StereoFifo.h"

#include <rubberband/RubberBandStretcher.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace T730::Modules
{

/** Rubber Band's real-time stretcher between two queues: covered take frames go in, stretched
    frames come out a block at a time. The stretcher is fed on demand (getSamplesRequired), its
    output collected as it appears, its start delay trimmed, and playback begins once a block plus
    a reserve is queued, so uneven output chunks never leave a gap.

    prepare() allocates; restart() and process() do not. One thread (the audio thread) only. */
class SlowedStream
{
public:
    using Options = RubberBand::RubberBandStretcher::Options;

    /** The engine and options the module plays with (chosen on recorded riffs; see its notes). */
    static Options defaultOptions() noexcept;

    /** A new stretcher for the rate, the largest block and the options; `keepAttacks` lays the
        take's own attacks over the stretched stream (AttackSplicer). */
    void prepare (double sampleRate, int maxBlock, Options options, bool keepAttacks = true);

    /** Starts afresh at a playback ratio (output speed relative to the take): empty queues, the
        stretcher reset and primed with its start padding, its start delay marked for trimming. */
    void restart (double ratio);

    /** A new playback ratio without a restart (the speed slider moved). */
    void setRatio (double ratio);

    /** Queues `fresh` covered take frames and writes `frames` stretched frames to `outputs`
        (silence until playback has started, and where the stretcher fell short). */
    void process (const double* const* inputs, int fresh, double* const* outputs, int frames);

    /** Frames between a take frame going in and coming out at the current ratio: the take frames
        queued and inside the stretcher (given to it less those its output stands for) at the
        ratio, and the stretched frames held and queued. Constant in steady playback if the
        stretcher keeps the ratio exactly. */
    double delayFrames() const noexcept;

    /** Blocks that could not be filled since the last restart. */
    int getUnderruns() const noexcept { return underruns; }

    bool isPrepared() const noexcept { return stretcher != nullptr; }

    const AttackSplicer& getSplicer() const noexcept { return splicer; }

private:
    static constexpr int kScratchFrames = 1024;
    /** Output frames queued beyond one block before playback starts. */
    static constexpr int kReserveFrames = 1024;

    void collect();
    void drainSplicer();
    void fillOutput (int wanted);

    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher;
    std::vector<float> scratch[2];
    StereoFifo input;    // covered take frames not yet given to the stretcher
    AttackSplicer splicer;   // stretched frames with the take's attacks laid over, not yet queued
    StereoFifo output;   // stretched frames not yet played
    double ratio = 1.0;
    size_t startDelay = 0;
    size_t toTrim = 0;
    int64_t fedTake = 0;         // take frames given to the stretcher since the restart
    double retrievedTake = 0.0;  // take frames its output (after the start delay) stands for
    bool primed = false;
    bool keepAttacks = true;
    int underruns = 0;
};

} // namespace T730::Modules
