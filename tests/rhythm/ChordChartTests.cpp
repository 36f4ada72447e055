#include "rhythm/ChordChart.h"

#include <gtest/gtest.h>

using namespace T730;

TEST (RhythmChordChart, SlotsAndChordsAsTheChordViewsReadThem)
{
    EXPECT_EQ (ChordChart::parse ("C...Am.G"), juce::StringArray ({ "0/", ".", ".", ".", "9/m", ".", "7/" }));
    // No flat names: "Dbm" is D with the quality "bm", which shows as written.
    EXPECT_EQ (ChordChart::parse ("Dbm.Dm"), juce::StringArray ({ "2/bm", ".", "2/m" }));
    EXPECT_EQ (ChordChart::parse ("xy.Dm"), juce::StringArray ({ ".", "2/m" })) << "a run without a note name adds no entry";
    EXPECT_EQ (ChordChart::parse (".C#m7"), juce::StringArray ({ ".", "1/m7" })) << "a sharp wins over its letter";
    EXPECT_EQ (ChordChart::countSlots ("C.......G......."), 16);

    const auto chords = ChordChart::chords ("C...Am.G7.");
    ASSERT_EQ (chords.size(), 3u);
    EXPECT_EQ (chords[0].slot, 0);
    EXPECT_EQ (chords[1].slot, 4);
    EXPECT_EQ (chords[1].root, 9);
    EXPECT_EQ (chords[1].quality, "m");
    EXPECT_EQ (chords[2].slot, 6);
    EXPECT_EQ (chords[2].quality, "7");
}

TEST (RhythmChordChart, ChordTonesOfTheQualitiesTheFactorySongsUse)
{
    using V = std::vector<int>;
    EXPECT_EQ (ChordChart::tones (0, ""), (V { 0, 4, 7 }));
    EXPECT_EQ (ChordChart::tones (9, "m"), (V { 0, 4, 9 }));          // A C E
    EXPECT_EQ (ChordChart::tones (7, "7"), (V { 2, 5, 7, 11 }));      // G B D F
    EXPECT_EQ (ChordChart::tones (5, "maj7"), (V { 0, 4, 5, 9 }));    // F A C E
    EXPECT_EQ (ChordChart::tones (2, "m7"), (V { 0, 2, 5, 9 }));      // D F A C
    EXPECT_EQ (ChordChart::tones (11, "m7b5"), (V { 2, 5, 9, 11 }));  // B D F A
    EXPECT_EQ (ChordChart::tones (4, "5"), (V { 4, 11 }));            // E B
    EXPECT_EQ (ChordChart::tones (2, "sus4"), (V { 2, 7, 9 }));       // D G A
    EXPECT_EQ (ChordChart::tones (0, "dim7"), (V { 0, 3, 6, 9 }));
    EXPECT_EQ (ChordChart::tones (0, "9"), (V { 0, 2, 4, 7, 10 }));
    EXPECT_EQ (ChordChart::tones (0, "6"), (V { 0, 4, 7, 9 }));
    EXPECT_TRUE (ChordChart::isChordTone (40, 4, "m"));   // E2 in Em
    EXPECT_TRUE (ChordChart::isChordTone (43, 4, "m"));   // G2 in Em
    EXPECT_FALSE (ChordChart::isChordTone (42, 4, "m"));  // F#2 is not
}
