#pragma once

#include <cstdint>

namespace T730
{

/** One decoded event of a rhythm MIDI file: a note-on, a note-off or the end
    marker of the track. */
struct NoteEvent
{
    enum Kind
    {
        noteOn = 0,
        noteOff = 1
    };

    /** The channel of the end marker (no MIDI channel plays it). */
    static constexpr int32_t endMarkerChannel = 5;

    /** Quarter notes × 60 from the start of the file: time / tempo is seconds. */
    float time = 0.0f;
    /** Low nibble of the status byte: 0 is MIDI channel 1, 9 is MIDI channel 10. */
    int32_t channel = 0;
    int32_t note = 0;
    /** noteOn or noteOff; a note-on of velocity 0 stays a note-on. */
    int32_t kind = noteOn;
    int32_t velocity = 0;
    int32_t spare = 0;

    bool isEndMarker() const noexcept { return channel == endMarkerChannel && kind == noteOff && note == 0; }
};

} // namespace T730
