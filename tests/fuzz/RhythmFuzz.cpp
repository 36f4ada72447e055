// The rhythm section's readers: MIDI files of patterns and count-ins, song documents
// (with their chord charts) and pattern documents.

#include "FuzzSupport.h"
#include "rhythm/ChordChart.h"
#include "rhythm/RhythmPattern.h"
#include "rhythm/Rhythmer.h"
#include "rhythm/SMFParser.h"
#include "rhythm/Song.h"

#include <cmath>

OXA_FUZZ_TARGET (MidiFile, "stage:rhythm/*.mid", "stage:resources/*.mid")
{
    T730::SMFParser parser;
    parser.getLoader().setBytes (data, size);
    std::vector<T730::NoteEvent> events;
    const bool complete = parser.parse (events);

    oxafuzz::require (! complete || (! events.empty() && events.back().isEndMarker()),
                      "a file read to its end ends with the end marker");
    for (size_t i = 0; i < events.size(); ++i)
    {
        const auto& e = events[i];
        oxafuzz::require (e.note >= 0 && e.note < 128 && e.velocity >= 0 && e.velocity < 128,
                          "notes and velocities are MIDI data bytes");
        oxafuzz::require (e.channel >= 0 && e.channel < 16, "channels are a status byte's low nibble");
        oxafuzz::require (std::isfinite (e.time) && e.time >= 0.0f, "times are finite and not negative");
        oxafuzz::require (i == 0 || e.time >= events[i - 1].time, "times never go back");
        oxafuzz::require (T730::Rhythmer::toSamples (e.time, 40) >= 0, "every time has a sample position");
    }
    return 0;
}

OXA_FUZZ_TARGET (Song, "corpus:Xml", "stage:song/*.xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    T730::Song song;
    if (! song.read (root.get()))
        return 0;

    oxafuzz::requireRoundTrip (song, T730::Song::rootTag);

    // The chord chart of any song: every chord inside the slots the chart fills.
    const auto slots = T730::ChordChart::countSlots (song.DispChord);
    for (const auto& chord : T730::ChordChart::chords (song.DispChord))
    {
        oxafuzz::require (chord.slot >= 0 && chord.slot < slots, "chords lie inside the chart");
        oxafuzz::require (chord.root >= 0 && chord.root < 12, "chord roots are root indices");
        oxafuzz::require (! T730::ChordChart::tones (chord.root, chord.quality).empty(), "a chord has tones");
    }
    return 0;
}

OXA_FUZZ_TARGET (RhythmPattern, "corpus:Xml", "stage:rhythm/*.xml")
{
    auto root = oxafuzz::parseBytes (data, size);
    T730::RhythmPattern pattern;
    if (! pattern.read (root.get()))
        return 0;

    oxafuzz::requireRoundTrip (pattern, "RhythmPattern");
    const auto quarters = pattern.getLengthInQuarters();
    oxafuzz::require (std::isfinite (quarters) && quarters >= 0.0, "a pattern's length is finite");
    oxafuzz::require (! pattern.hasUsableGrid()
                          || (quarters > 0.0 && quarters <= 32.0 * 4.0 * T730::RhythmPattern::maxBars),
                      "a usable grid is a sensible one");
    oxafuzz::require (pattern.getRootIndex() >= 0 && pattern.getRootIndex() < 12, "roots are root indices");
    return 0;
}
