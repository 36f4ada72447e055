#pragma once

#include "rhythm/ChordGrid.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** One chord name as a chord view places it: its text, left edge and row,
    and the horizontal scale it is drawn at (below 1 when squeezed to fit). */
struct PlacedChord
{
    juce::String text;
    int x = 0;
    int row = 0;
    float scale = 1.0f;
};

/** The chord name of a chord list entry ("9/m") as it sounds after a
    transposition ("Bm" for +2); "" for an empty slot or an entry without a root. */
juce::String soundingChordName (const juce::String& entry, int transpose);

/** The Chord Viewer's page: the whole song in rows of 16 quarter notes
    (32 eighth-note slots of 16 pixels, 512 pixels a row), 100 pixels a row,
    or 400 / rows with more than four rows; the chord names (transposed) in
    Arial 18 above a beat grid. A name that would run into the one before it in
    its row moves right past it; a name that would pass the row's end is
    compressed to fit. */
class ChordPreViewComponent : public juce::Component
{
public:
    static constexpr int width = 600, height = 600;
    static constexpr int slotWidth = 16, rowWidth = 512, quartersPerRow = 16;
    static constexpr int left = (width - rowWidth) / 2, top = 110, rowsHeight = 400;

    ChordPreViewComponent();

    /** Copies of the strip's grid and chords. */
    void setContent (const std::vector<BeatMark>& marks, const juce::StringArray& chordList, int transpose, int tempo);
    /** The song's name for the page's heading. */
    void setSongName (const juce::String& name);

    int getRowCount() const noexcept { return rows; }
    int getRowHeight() const noexcept;
    const std::vector<PlacedChord>& getPlacedChords() const noexcept { return placed; }
    int getTempo() const noexcept { return tempo; }
    int getTranspose() const noexcept { return transpose; }

    /** The rows a grid of so many quarter notes fills (at least one). */
    static int rowsFor (double quarters);

    void paint (juce::Graphics& g) override;

private:
    void place();

    std::vector<BeatMark> marks;
    juce::StringArray chords;
    juce::String songName;
    int transpose = 0, tempo = 0, rows = 1;
    std::vector<PlacedChord> placed;
};

/** Told when the user closes the Chord Viewer. */
class ChordPreViewWndListener
{
public:
    virtual ~ChordPreViewWndListener() = default;
    virtual void chordViewerClosed() = 0;
};

/** The Chord Viewer: a window titled "Chord Viewer : " and the song's name,
    holding a ChordPreViewComponent. Owned by the chord strip that opened it;
    its close button tells the strip, which deletes it. Message thread only. */
class ChordPreViewWnd : public juce::DocumentWindow
{
public:
    static inline const juce::Colour background { 255, 239, 239 };

    explicit ChordPreViewWnd (ChordPreViewWndListener& owner);
    ~ChordPreViewWnd() override;

    /** The title for the song and the content of the page. */
    void show (const juce::String& songName, const std::vector<BeatMark>& marks, const juce::StringArray& chordList,
               int transpose, int tempo);

    static juce::String titleFor (const juce::String& songName) { return "Chord Viewer : " + songName; }

    ChordPreViewComponent& getPage() noexcept { return page; }

    void closeButtonPressed() override;

private:
    ChordPreViewWndListener& owner;
    ChordPreViewComponent page;

    JUCE_DECLARE_NON_COPYABLE (ChordPreViewWnd)
};

} // namespace T730
