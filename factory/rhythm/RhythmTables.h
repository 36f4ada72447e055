#pragma once

#include <string>
#include <vector>

/* The readable tables of the factory rhythm content: drum grooves and bass rhythms by
   style, the factory songs (sections of chords played in an order), the extra songs of
   the rhythm archive, and the demo tool sets. PatternWriter turns them into pattern
   documents, MIDI files and songs. */
namespace oxafactory
{

/** One drum of a groove: a General MIDI percussion note and its hits, one character a
    step: 'X' accent, 'x' hit, 'o' ghost, '.' rest. A row of two bars alternates. */
struct DrumRow
{
    int note;
    std::string hits;
};

/** A style's bar: drums, a fill for the last bar of a section, and the bass rhythm.
    Bass symbols, one a step: '1' root, '3' third, '5' fifth, '8' octave (chord tones),
    '6' sixth, '7' the chord's seventh, 'b' flat seventh, 'a' a half step below the next
    chord's root, '-' holds the note before, '.' rest. A chord always starts on a
    chord tone: any other symbol at a chord change plays the root. */
struct Groove
{
    std::string key;
    int numerator = 4, denominator = 4, stepsPerBar = 16;
    std::vector<DrumRow> main;
    std::vector<DrumRow> fill;
    std::string bass;
    bool crashOnSections = true;
};

/** A section: its letter and its bars of chords, "C | Am | F G | G7" (a bar's chords
    share it evenly). */
struct Section
{
    char letter;
    std::string chords;
};

struct SongPlan
{
    std::string file;        // "Song_8beat.xml"
    std::string name;
    std::string style;       // shown in the comment and a keyword
    std::string groove;
    int bpm = 120;
    std::string key;         // the root the bass is written in (sharps only)
    int kit = 0, bassVoice = 0, drumLevel = 85, bassLevel = 95;
    std::vector<Section> sections;
    std::string order;       // "AABA"
    std::string keywords;    // "rock|8beat"
    std::string tooltip;
};

/** A built-in demo tool set: its name, the factory song it plays and the factory patch
    (of "Factory Tones") in its edit buffer. */
struct DemoPlan
{
    std::string name;
    std::string songFile;
    std::string patch;
};

const std::vector<Groove>& grooves();
const Groove* findGroove (const std::string& key);

const std::vector<SongPlan>& factorySongs();
/** The songs of the rhythm archive for trying the import (not in the song folder). */
const std::vector<SongPlan>& extraSongs();

const std::vector<DemoPlan>& demoToolSets();

} // namespace oxafactory
