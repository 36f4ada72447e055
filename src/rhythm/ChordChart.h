#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace T730
{

/** A song's chord chart (`DispChord`): eighth-note slots written one after
    another. "." is a slot in which no chord starts; any run of other
    characters is one slot in which a chord starts, a note name (sharps only)
    and the chord's quality ("Am", "C#m7", "G7", "Fmaj7"). */
namespace ChordChart
{
    struct Chord
    {
        /** The slot (eighth notes from the song start) the chord starts in. */
        int slot = 0;
        int root = 0;
        juce::String quality;
    };

    /** The chord list: one entry per slot, "." for an empty slot and
        "root/quality" for a chord ("9/m"). A run that starts with no note name
        adds no entry. */
    juce::StringArray parse (const juce::String& text);

    /** The chords of the text with the slots they start in (the same reading as parse). */
    std::vector<Chord> chords (const juce::String& text);

    /** The number of slots the text fills. */
    int countSlots (const juce::String& text);

    /** The pitch classes (0..11) of a chord: its root, third, fifth and the
        tones its quality names (6, 7, maj7, 9, 11, 13, sus2, sus4, dim, aug, b5, #5, 5). */
    std::vector<int> tones (int root, const juce::String& quality);

    /** True when the pitch class (of a MIDI note) belongs to the chord. */
    bool isChordTone (int midiNote, int root, const juce::String& quality);
}

} // namespace T730
