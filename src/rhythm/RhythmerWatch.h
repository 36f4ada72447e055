#pragma once

#include "rhythm/NoteEvent.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace T730
{

/** The rhythm machine's event lists as the figures of the rhythm panel read
    them: a copy made whole by the message thread after every change and never
    changed afterwards, so a reader on another thread never meets a list being
    rebuilt. */
struct RhythmEvents
{
    std::vector<NoteEvent> song;      // the merged song events, in time order
    std::vector<NoteEvent> countIn;   // the current count-in file's events
};

/** The rhythm machine's transport as the figures read it, all values taken from
    atomics (the audio thread writes them once per block): the play state's state
    and position, the samples of the count-in played by the end of the last block,
    the tempo and rhythm switch the audio thread last used, the song's repeat flag
    and length. */
struct RhythmTransport
{
    int state = 0;                    // PlayState::State
    juce::int64 position = 0;
    juce::int64 countInElapsed = 0;
    int tempo = 120;
    bool rhythmOn = true;
    bool repeat = false;
    juce::int64 length = 0;
};

} // namespace T730
