#pragma once

#include "engine/JamArray.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

namespace T730
{

class DspMain;
class WaveFile;

/** The mix-down: renders the whole jam (the rhythm item and every recorder,
    each from position 0 on a play state of its own) into a WAV file, faster
    than real time, by running the engine's own audio callback block after
    block on silent input ("Mix Down Thread").

    The file is opened before anything else happens: a file that cannot be
    opened leaves the jam untouched and the run finished (and failed) at once.
    A cancelled run, or one whose rendering or writing fails, deletes what it
    wrote. Every run ends with the recorders following the master transport
    again, the rhythm item back on the play state it had, and the master
    stopped at 0; only then is it finished.

    The thread is never killed: cancelling and destroying signal it and wait
    for it to end its block. The controller takes the engine off the device
    for the run; the audio lock serialises the blocks with anything else. */
class MixDownThread : private juce::Thread
{
public:
    explicit MixDownThread (DspMain& engine);

    /** Signals a running mix-down to stop and waits for it. */
    ~MixDownThread() override;

    /** Starts a run into the file (message thread), after the previous run
        ended. False when the engine is not ready to render or the file cannot
        be opened: the run is finished and failed, and nothing else was touched. */
    bool start (const juce::File& wavFile);

    /** Asks the run to stop (it deletes its file) and waits until it has
        ended; nothing when none runs. Message thread. */
    void cancel();

    /** Waits until the run has ended. */
    void waitUntilFinished();

    /** Blocks done / blocks to do (0 while there is nothing to do). */
    float getProgress() const noexcept;
    juce::int64 getBlockIndex() const noexcept   { return blockIndex.load(); }
    juce::int64 getBlockCount() const noexcept   { return blockCount.load(); }

    /** The run has ended and put the jam back. */
    bool isFinished() const noexcept             { return finished.load(); }

    /** The last run ended with a complete file (not cancelled, nothing failed). */
    bool hasSucceeded() const noexcept           { return succeeded.load(); }
    bool wasCancelled() const noexcept           { return cancelled.load(); }

    const juce::File& getFile() const noexcept   { return file; }

private:
    void run() override;
    void detachItems();
    void reattachItems();
    bool render();

    DspMain& engine;
    juce::File file;                              // message thread, before the run
    std::unique_ptr<WaveFile> output;             // the run's thread while it runs
    JamArray::Ptr jam;                            // the snapshot the run works on; released on the message thread

    std::atomic<juce::int64> blockIndex { 0 }, blockCount { 0 };
    std::atomic<bool> finished { true }, succeeded { false }, cancelled { false };

    JUCE_DECLARE_NON_COPYABLE (MixDownThread)
};

} // namespace T730
