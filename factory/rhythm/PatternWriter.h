#pragma once

#include "RhythmTables.h"

#include <juce_core/juce_core.h>

namespace oxafactory
{

/** Thrown (and caught by the steps) when a table names something that cannot be written. */
struct RhythmError
{
    juce::String message;
};

/** Writes a song of the tables: its document into the song folder and, for each
    section, a pattern document and its format 0 MIDI file (drums on channel 10, bass on
    channel 1, 480 ticks a quarter note, the track ending at the pattern's last bar)
    into the rhythm folder. The song's chord chart is made from the same chords the bass
    follows. Reads each MIDI file back with the program's reader before it returns. */
void writeSongPlan (const SongPlan& plan, const juce::File& songFolder, const juce::File& rhythmFolder);

/** The pattern ID of a song's section: "8BEAT_A" for "Song_8beat.xml" and 'A'. */
juce::String patternId (const SongPlan& plan, char letter);

/** The song's chord chart (eighth-note slots). */
juce::String chordChart (const SongPlan& plan);

/** The count-in files "preCount1.mid" ... "preCount8.mid" (that many quarter-note clicks)
    and "preCountSP.mid" (two half notes, then four quarters). */
void writeCountInFiles (const juce::File& folder);

} // namespace oxafactory
