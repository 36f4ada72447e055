#pragma once

#include "recorder/LocateRange.h"

#include <atomic>

namespace T730
{

class Synchronizer;
class JamOwner;

/** One transport: stopped, starting, counting in or playing, at a sample
    position, with a loop range, a speed, a tempo for the count-in, and the
    command (pause, stop, locate) that waits to be applied by the audio thread.

    Commands run on the message thread. They take the audio lock only to set
    their fields, so they land between two blocks; the audio thread applies
    them 10 ms of audio later, after the fade-out, and pause, stop and locate
    while playing then wait (without the lock) up to 210 ms for that.

    Threads: the fields are written under the audio lock (commands, setters)
    or by the audio thread, which holds it for the whole block (tick, advance).
    State, pending command and position are atomics besides, so that the
    panels can read them and the commands can wait on them without the lock.
    Every position and total is 64-bit. */
class PlayState
{
public:
    enum State
    {
        stopped = 0,
        startRequested = 1,
        restartRequested = 2,   // restart at the current position
        countingIn = 3,
        playing = 4
    };

    enum Command
    {
        noCommand = 0,
        pauseCommand = 1,
        stopCommand = 2,
        locateForwardCommand = 3,
        locateBackwardCommand = 4
    };

    static constexpr juce::int64 none = -1;
    static constexpr int defaultTempo = 120, lowestTempo = 40, highestTempo = 250;

    explicit PlayState (Synchronizer& synchronizer, bool isMaster = false);

    // Transport commands (message thread) ---------------------------------
    /** Stopped and running: start (with a count-in when one is due). */
    void play();
    /** Playing: fade out and stop where the fade ends; waits for the audio thread. */
    void pause (bool waitForAudio = true);
    /** Fade out, stop and return to 0; waits. Stopped: back to 0 at once. */
    void stop (bool waitForAudio = true);
    /** Relative move (0 when it runs past either end); while playing after a fade. */
    void locateBy (juce::int64 offset, bool waitForAudio = true);
    /** Absolute move while stopped; while playing only the speed remainder is cleared. */
    void locateTo (juce::int64 position);
    /** Stopped, no command, no fade markers. */
    void reset();

    // The audio thread (audio lock held) -----------------------------------
    /** Applies a due command, then starts, restarts or ends the count-in.
        Called at the start of every item's processing. */
    void tick();
    /** Moves the position to the new synchroniser total (playing only), wrapping at the loop end. */
    void advance (juce::int64 newTotal);

    // Settings (any thread; written under the audio lock) ------------------
    /** Held at 40..250 beats per minute; 0 (a song without a tempo) gives 120. */
    void setTempo (int beatsPerMinute);
    int getTempo() const noexcept                    { return tempo; }
    /** Beats of count-in: 0 none, 1..8, -1 counts as 8. */
    void setPreCount (int beats);
    int getPreCount() const noexcept                 { return preCount; }
    void setRhythmOn (bool on);
    bool isRhythmOn() const noexcept                 { return rhythmOn; }
    /** 0 normal, 1..100 slowed (100 is full speed through the slowed path); held at 0..100. */
    void setSpeed (int speed);
    int getSpeed() const noexcept                    { return speed; }
    void setLoopRange (const LocateRange& range);
    LocateRange getLoopRange() const;
    /** The loop range without taking the lock: for the audio thread inside a block. */
    const LocateRange& getLoopRangeInBlock() const noexcept { return loopRange; }
    void setOwner (JamOwner* newOwner) noexcept      { owner.store (newOwner); }
    JamOwner* getOwner() const noexcept              { return owner.load(); }

    // Queries ---------------------------------------------------------------
    int getState() const noexcept                    { return state.load(); }
    bool isStopped() const noexcept                  { return getState() == stopped; }
    bool isPlaying() const noexcept                  { return getState() == playing; }
    int getPendingCommand() const noexcept           { return pending.load(); }
    juce::int64 getPosition() const noexcept         { return position.load(); }
    bool isMaster() const noexcept                   { return master; }
    Synchronizer& getSynchronizer() const noexcept   { return sync; }

    /** The count-in length in samples: beats (-1 as 8) × truncated rate × 60 / tempo. */
    juce::int64 getCountInLength() const noexcept;

    // Read by the item processing (audio lock held).
    juce::int64 getStartPosition() const noexcept    { return startPosition; }
    juce::int64 getStartTotal() const noexcept       { return startTotal; }
    juce::int64 getCommandTotal() const noexcept     { return commandTotal; }
    juce::int64 getPlayMarker() const noexcept       { return playMarker; }
    juce::int64 getCommandMarker() const noexcept    { return commandMarker; }
    void setCommandMarker (juce::int64 total) noexcept { commandMarker = total; }
    double getSpeedRemainder() const noexcept        { return speedRemainder; }
    /** 2^((s - 50) / 50 - 1) in single precision; 1 at normal speed. */
    float getSpeedRatio() const noexcept;

    /** position + offset, or 0 when that runs past either end. */
    static juce::int64 addClamped (juce::int64 position, juce::int64 offset) noexcept;

private:
    bool isRunning() const noexcept;
    bool notifiesOwner() const noexcept              { return master && owner.load() != nullptr; }
    bool issue (int command, juce::int64 offset);
    void waitForCommand() const;
    void moveToNewTotal (juce::int64 newTotal);

    Synchronizer& sync;
    const bool master;
    std::atomic<JamOwner*> owner { nullptr };

    std::atomic<int> state { stopped };
    std::atomic<int> pending { noCommand };
    std::atomic<juce::int64> position { 0 };

    juce::int64 startPosition = 0, startTotal = 0;
    LocateRange loopRange;
    double speedRemainder = 0.0;
    int tempo = defaultTempo, preCount = 0, speed = 0;
    bool rhythmOn = true;

    juce::int64 commandTotal = 0, locateOffset = 0;
    juce::int64 playMarker = none, commandMarker = none;

    JUCE_DECLARE_NON_COPYABLE (PlayState)
};

} // namespace T730
