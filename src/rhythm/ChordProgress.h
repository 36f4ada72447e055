#pragma once

#include "rhythm/ChordPreView.h"
#include "ui/ScrollBarEx.h"

namespace T730
{

class ChordProgress;

/** What the chord strip asks of the panel that holds it. */
class ChordProgressListener
{
public:
    virtual ~ChordProgressListener() = default;

    /** On every tick while following: the play position (samples), or -1 for none. */
    virtual juce::int64 chordProgressPositionRequested (ChordProgress& strip) = 0;

    /** The strip was double-clicked: the panel opens the viewer with the song's name and tempo. */
    virtual void chordViewerRequested (ChordProgress& strip) = 0;
};

/** The rhythm panel's chord strip: the song's chords (transposed to the key
    that sounds) on a beat grid of 7 pixels per quarter note, in rows of 112
    pixels (16 quarter notes, 32 eighth-note slots) 17 pixels high, two rows in
    view, with a cursor that follows playback and turns the rows page by page;
    a scroll bar appears from three rows on. Double-clicking it opens the Chord
    Viewer, which never outlives the strip.

    It also keeps the bar start positions the panel's bar keys step through.
    Message thread only. */
class ChordProgress : public juce::Component,
                      private juce::ScrollBar::Listener,
                      private juce::Timer,
                      private ChordPreViewWndListener
{
public:
    static constexpr int width = 131, height = 35;
    static constexpr int pixelsPerQuarter = 7, rowWidth = 112, rowHeight = 17, slotsPerRow = 32;
    static constexpr int followInterval = 100;

    /** One laid-out chord name of the strip. */
    struct LaidOutChord
    {
        juce::String text;
        int x = 0;
        int row = 0;
    };

    ChordProgress();
    ~ChordProgress() override;

    void setListener (ChordProgressListener* newListener) noexcept { listener = newListener; }

    /** Samples per quarter note = 60 / tempo × rate (the panel passes 44100). */
    void setTiming (double sampleRate, int tempo);
    /** Used by the next layout. */
    void setTranspose (int semitones) noexcept { transpose = semitones; }
    int getTranspose() const noexcept { return transpose; }

    /** Parses the chord text and builds the beat marks, bar starts and chord names; then the scroll bar. */
    void layOut (const juce::String& chordText, const std::vector<GridMeter>& meters);
    /** Shows the scroll bar from three rows on, with the range of the rows. */
    void updateScrollBar();
    /** Moves the cursor (capped at the grid's end) and turns to its row. */
    void setPosition (juce::int64 samples);

    /** The follow timer (every 100 ms it asks the listener for the position). */
    void startFollowing() { startTimer (followInterval); }
    void stopFollowing() { stopTimer(); }
    bool isFollowing() const noexcept { return isTimerRunning(); }

    const std::vector<juce::int64>& getBarStarts() const noexcept { return barStarts; }
    const juce::StringArray& getChordList() const noexcept { return chordList; }
    const std::vector<BeatMark>& getBeatMarks() const noexcept { return marks; }
    const std::vector<LaidOutChord>& getLaidOutChords() const noexcept { return laidOut; }
    double getSamplesPerQuarter() const noexcept { return samplesPerQuarter; }
    int getTotalWidth() const noexcept { return totalWidth; }
    int getRowCount() const noexcept;
    int getCursorX() const noexcept { return cursor; }
    int getPage() const noexcept { return page; }
    juce::ScrollBar& getScrollBar() noexcept { return scrollBar; }
    /** The pixel row (content y) shown at the strip's top. */
    int getViewTop() const noexcept;

    /** Opens the viewer for the song, or renews the one open (title and content). */
    void openViewer (const juce::String& songName, int tempo);
    void closeViewer();
    ChordPreViewWnd* getViewer() const noexcept { return viewer.get(); }

    void paint (juce::Graphics& g) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;

private:
    void scrollBarMoved (juce::ScrollBar* bar, double newRangeStart) override;
    void timerCallback() override;
    void chordViewerClosed() override;

    ChordProgressListener* listener = nullptr;
    juce::StringArray chordList;
    std::vector<BeatMark> marks;
    std::vector<juce::int64> barStarts;
    std::vector<LaidOutChord> laidOut;
    int transpose = 0;
    double samplesPerQuarter = 22050.0;
    double pixelsPerSample = 7.0 / 22050.0;
    double samplesPerPixel = 22050.0 / 7.0;
    int cursor = 0;
    int totalWidth = 0;
    int page = 0;
    ScrollBarEx scrollBar { true };
    std::unique_ptr<ChordPreViewWnd> viewer;

    JUCE_DECLARE_NON_COPYABLE (ChordProgress)
};

} // namespace T730
