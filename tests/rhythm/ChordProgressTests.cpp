// The chord views: the beat grid and bar starts built from a song's patterns, the
// bar and beat of a position, the chord strip's layout, paging and scroll bar, and
// the Chord Viewer's rows, placement and lifetime.
#include "rhythm/ChordGrid.h"
#include "rhythm/ChordProgress.h"
#include "ui/OxFonts.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
    RhythmPattern pattern (const juce::String& id, const juce::String& timeSig, int bars)
    {
        RhythmPattern p;
        p.ID = id;
        p.TimeSig = timeSig;
        p.BarLen = bars;
        return p;
    }

    std::vector<GridMeter> meters (std::initializer_list<GridMeter> list) { return list; }

    /** A 4/4 grid of so many bars. */
    std::vector<GridMeter> bars44 (int bars) { return { GridMeter { 4, 4, bars } }; }
} // namespace

TEST (RhythmChordGrid, ThreeFourAndSixEightMarks)
{
    const auto waltz = ChordGrid::beatMarks (meters ({ { 3, 4, 2 } }));
    ASSERT_EQ (waltz.size(), 6u);
    for (size_t i = 0; i < waltz.size(); ++i)
    {
        EXPECT_EQ (waltz[i].kind, i == 0 || i == 3 ? 1 : 0) << i;
        EXPECT_FLOAT_EQ (waltz[i].length, 1.0f);
        EXPECT_FLOAT_EQ (waltz[i].position, (float) i);
    }

    const auto ballad = ChordGrid::beatMarks (meters ({ { 6, 8, 1 }, { 4, 4, 1 } }));
    ASSERT_EQ (ballad.size(), 10u);
    EXPECT_FLOAT_EQ (ballad[1].length, 0.5f);
    EXPECT_FLOAT_EQ (ballad[5].position, 2.5f);
    EXPECT_EQ (ballad[6].kind, 1);                // the 4/4 bar starts after three quarter notes
    EXPECT_FLOAT_EQ (ballad[6].position, 3.0f);
    EXPECT_DOUBLE_EQ (ChordGrid::totalQuarters (ballad), 7.0);

    // Bar starts in samples at 120 BPM (22050 per quarter note), and the end.
    const auto starts = ChordGrid::barStarts (ballad, ChordGrid::samplesPerQuarter (44100.0, 120));
    EXPECT_EQ (starts, (std::vector<juce::int64> { 0, 66150, 154350 }));
}

TEST (RhythmChordGrid, PatternsWithoutAUsableMeterBuildNoGrid)
{
    Song song;
    for (const char* id : { "Zero", "Huge", "None", "Good", "Missing" })
    {
        SongEv e;
        e.Prm = id;
        song.Events.push_back (e);
    }
    std::vector<std::unique_ptr<RhythmPattern>> patterns;
    patterns.push_back (std::make_unique<RhythmPattern> (pattern ("Zero", "4/0", 2)));
    patterns.push_back (std::make_unique<RhythmPattern> (pattern ("Huge", "4/4", 2000000000)));
    patterns.push_back (std::make_unique<RhythmPattern> (pattern ("None", "4/4", 0)));
    patterns.push_back (std::make_unique<RhythmPattern> (pattern ("Good", "3/4", 2)));

    const auto m = ChordGrid::songMeters (song, patterns);
    ASSERT_EQ (m.size(), 1u);
    EXPECT_EQ (m[0].numerator, 3);
    EXPECT_EQ (ChordGrid::beatMarks (m).size(), 6u);

    // However many bars a song's references add up to, the grid stays bounded.
    const auto marks = ChordGrid::beatMarks (std::vector<GridMeter> (5000, GridMeter { 32, 4, 1024 }));
    EXPECT_EQ ((int) marks.size(), ChordGrid::maxMarks);
    EXPECT_TRUE (ChordGrid::beatMarks (meters ({ { 4, 0, 2 }, { 0, 4, 2 }, { 4, 4, -3 } })).empty());
    EXPECT_TRUE (ChordGrid::barStarts ({}, 22050.0).empty());
}

TEST (RhythmChordGrid, BarAndBeatCountQuarterBeatsAcrossPatterns)
{
    // 120 BPM: a beat is 22050 samples whatever the denominator.
    const auto m = meters ({ { 4, 4, 2 }, { 3, 4, 1 } });
    EXPECT_EQ (ChordGrid::barBeatAt (0, m, 120).bar, 0);
    const auto b = ChordGrid::barBeatAt (22050 * 5 + 10, m, 120);
    EXPECT_EQ (b.bar, 1);
    EXPECT_EQ (b.beat, 1);
    const auto third = ChordGrid::barBeatAt (22050 * 10, m, 120);   // into the 3/4 bar
    EXPECT_EQ (third.bar, 2);
    EXPECT_EQ (third.beat, 2);
    const auto past = ChordGrid::barBeatAt (22050 * 11, m, 120);
    EXPECT_EQ (past.bar, 0);
    EXPECT_EQ (past.beat, 0);
    // Positions past 32 bits are counted in 64 bits.
    const auto far = ChordGrid::barBeatAt ((juce::int64) 5000000000, { GridMeter { 4, 4, 1024 } }, 40);
    EXPECT_EQ (far.bar, 0);   // past the end of a 1024-bar grid at 40 BPM (about 2.7 hours)
    const auto within = ChordGrid::barBeatAt ((juce::int64) 66150 * 4000 + 1, { GridMeter { 4, 4, 1024 } }, 40);
    EXPECT_EQ (within.bar, 1000);
    EXPECT_EQ (within.beat, 0);
}

TEST (RhythmChordProgress, ChordsAreParsedTransposedAndLaidOutOnTheGrid)
{
    ChordProgress strip;
    strip.setTiming (44100.0, 120);
    strip.setTranspose (2);
    strip.layOut ("Dm.......Dbm.....Xy..C#m7", bars44 (2));

    // A flat is no note name: Dbm is D with the quality "bm" and keeps its slot
    // (the chords after it stay in place); "Xy" starts with no note name.
    EXPECT_EQ (strip.getChordList(),
               juce::StringArray ({ "2/m", ".", ".", ".", ".", ".", ".", ".", "2/bm", ".", ".", ".", ".", ".", ".", ".",
                                    "1/m7" }));
    const auto& chords = strip.getLaidOutChords();
    ASSERT_EQ (chords.size(), 3u);
    EXPECT_EQ (chords[0].text, "Em");     // D + 2
    EXPECT_EQ (chords[1].text, "Ebm");    // written Dbm, sounding two semitones up
    EXPECT_EQ (chords[1].x, 28);          // slot 8 × 3.5
    EXPECT_EQ (chords[2].text, "D#m7");
    EXPECT_EQ (chords[2].x, 56);          // slot 16 × 3.5

    strip.layOut ("G.D", bars44 (1));
    EXPECT_EQ (strip.getLaidOutChords()[1].x, 7);   // slot 2 × 3.5 (the odd slots fall between pixels)
    strip.layOut (".C...Am.", bars44 (1));
    EXPECT_EQ (strip.getChordList()[0], ".") << "a leading dot is an empty slot";
    EXPECT_EQ (strip.getChordList()[1], "0/");

    // The second row starts at slot 32.
    juce::String longText;
    for (int i = 0; i < 40; ++i)
        longText << (i == 35 ? "G" : ".");
    strip.setTranspose (0);
    strip.layOut (longText, bars44 (3));
    ASSERT_EQ (strip.getLaidOutChords().size(), 1u);
    EXPECT_EQ (strip.getLaidOutChords()[0].row, 1);
    EXPECT_EQ (strip.getLaidOutChords()[0].x, 10);   // trunc (35 × 3.5) mod 112
}

TEST (RhythmChordProgress, ScrollBarFromThreeRowsAndPagesFollowPlayback)
{
    ChordProgress strip;
    strip.setTiming (44100.0, 120);
    strip.layOut ("C", bars44 (8));      // 32 quarter notes: two full rows
    EXPECT_EQ (strip.getRowCount(), 2);
    EXPECT_FALSE (strip.getScrollBar().isVisible());

    strip.layOut ("C", bars44 (9));      // a third row begins
    EXPECT_EQ (strip.getRowCount(), 3);
    ASSERT_TRUE (strip.getScrollBar().isVisible());
    EXPECT_DOUBLE_EQ (strip.getScrollBar().getMaximumRangeLimit(), 51.0);
    EXPECT_DOUBLE_EQ (strip.getScrollBar().getCurrentRangeSize(), 33.0);

    // Bar starts: one per bar and the end, 88200 samples a bar at 120 BPM.
    ASSERT_EQ (strip.getBarStarts().size(), 10u);
    EXPECT_EQ (strip.getBarStarts()[3], 3 * 88200);
    EXPECT_EQ (strip.getBarStarts().back(), 9 * 88200);

    strip.setPosition (4 * 88200 + 22050);   // bar 5, beat 2: row 1
    EXPECT_EQ (strip.getCursorX(), 16 * 7 + 7);
    EXPECT_EQ (strip.getPage(), 1);
    EXPECT_EQ (strip.getViewTop(), 17);
    strip.setPosition (8 * 88200 + 100);     // the last row; the view stops at the bottom of the range
    EXPECT_EQ (strip.getPage(), 2);
    EXPECT_EQ (strip.getViewTop(), 18);
    strip.setPosition ((juce::int64) 1 << 40);   // far beyond the end (64-bit): the cursor stays at the end
    EXPECT_EQ (strip.getCursorX(), strip.getTotalWidth());
    EXPECT_EQ (strip.getPage(), 2);
    strip.setPosition (0);
    EXPECT_EQ (strip.getPage(), 0);
    EXPECT_EQ (strip.getViewTop(), 0);

    // A new tempo moves the bar starts.
    strip.setTiming (44100.0, 60);
    strip.layOut ("C", bars44 (1));
    EXPECT_EQ (strip.getBarStarts(), (std::vector<juce::int64> { 0, 176400 }));
}

TEST (RhythmGuiChordViewer, RowsPlacementAndLifetime)
{
    ChordPreViewComponent page;
    page.setContent (ChordGrid::beatMarks (bars44 (4)), juce::StringArray ({ "0/" }), 0, 120);
    EXPECT_EQ (page.getRowCount(), 1);
    EXPECT_EQ (page.getRowHeight(), 100);
    page.setContent (ChordGrid::beatMarks (bars44 (80)), juce::StringArray ({ "0/" }), 0, 120);
    EXPECT_EQ (page.getRowCount(), 20);
    EXPECT_EQ (page.getRowHeight(), 20);

    // Names at slot × 16; one that would run into the name before it moves past it
    // (plus 10 pixels); one that would pass x 509 is compressed.
    juce::StringArray list;
    for (int i = 0; i < 32; ++i)
        list.add (".");
    list.set (0, "9/m7");
    list.set (1, "2/sus4");
    list.set (31, "5/maj7");
    page.setContent (ChordGrid::beatMarks (bars44 (4)), list, 2, 96);
    const auto& placed = page.getPlacedChords();
    ASSERT_EQ (placed.size(), 3u);
    EXPECT_EQ (placed[0].text, "Bm7");
    EXPECT_EQ (placed[0].x, 0);
    EXPECT_EQ (placed[1].x, arialFont (18.0f).getStringWidth (placed[0].text) + 10);
    EXPECT_EQ (placed[1].text, "Esus4");
    EXPECT_EQ (placed[2].x, 31 * 16);
    EXPECT_LT (placed[2].scale, 1.0f);

    // The strip owns the window: it renews it while open and closes it when it goes.
    juce::Component::SafePointer<juce::Component> window;
    {
        ChordProgress strip;
        strip.setTiming (44100.0, 100);
        strip.layOut ("Am......", bars44 (2));
        strip.openViewer ("First", 100);
        ASSERT_NE (strip.getViewer(), nullptr);
        window = strip.getViewer();
        EXPECT_EQ (strip.getViewer()->getName(), "Chord Viewer : First");
        EXPECT_EQ (strip.getViewer()->getPage().getPlacedChords()[0].text, "Am");

        strip.setTranspose (3);
        strip.layOut ("Am......", bars44 (2));
        strip.openViewer ("Second", 100);
        EXPECT_EQ (strip.getViewer(), window.getComponent()) << "the open window is reused";
        EXPECT_EQ (strip.getViewer()->getName(), "Chord Viewer : Second");
        EXPECT_EQ (strip.getViewer()->getPage().getPlacedChords()[0].text, "Cm");

        strip.getViewer()->closeButtonPressed();
        EXPECT_EQ (strip.getViewer(), nullptr);
        EXPECT_EQ (window.getComponent(), nullptr);

        strip.openViewer ("Third", 100);
        window = strip.getViewer();
        EXPECT_NE (window.getComponent(), nullptr);
    }
    EXPECT_EQ (window.getComponent(), nullptr) << "the viewer never outlives its strip";
}
