#pragma once

#include "engine/PlayState.h"

namespace T730
{

/** The shared transport: the count of samples the engine has rendered since
    start-up (64-bit: it never wraps) and the master play state that every
    playable item follows unless it runs on a play state of its own.

    One process-wide instance, made on first use and deleted by the controller
    at shut-down; tests and offline renderers may make their own. The total is
    written by the audio thread (under the audio lock) and read anywhere. */
class Synchronizer
{
public:
    Synchronizer();
    ~Synchronizer();

    /** The process-wide instance (made on first use; null only while it is being made). */
    static Synchronizer* getInstance();
    static void deleteInstance();

    PlayState& getMaster() noexcept                { return master; }

    /** Samples rendered since start-up. */
    juce::int64 getTotal() const noexcept          { return total.load(); }

    /** After every block (audio thread, audio lock held): the total grows by
        the block and the master play state follows it. */
    void advance (int samples);

    /** The controller that the master's requests and posts go to (may be null). */
    void setOwner (JamOwner* owner) noexcept       { master.setOwner (owner); }

private:
    std::atomic<juce::int64> total { 0 };
    PlayState master;

    JUCE_DECLARE_NON_COPYABLE (Synchronizer)
};

} // namespace T730
