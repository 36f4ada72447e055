#include "rhythm/ChordProgress.h"

#include "rhythm/ChordChart.h"
#include "ui/OxFonts.h"

#include <cmath>

namespace T730
{

namespace
{
    const juce::Colour text (255, 155, 0);
    const juce::Colour barTick (230, 140, 0);
    const juce::Colour beatTick (150, 90, 10);
    const juce::Colour guide (70, 45, 10);
    const juce::Colour played (255, 155, 0);
    const juce::Colour cursorColour (255, 226, 150);

    constexpr int scrollX = 114, scrollY = 3, scrollWidth = 10, scrollHeight = 30;
    constexpr int visibleSpan = 33;
}

ChordProgress::ChordProgress()
{
    setSize (width, height);
    scrollBar.setBounds (scrollX, scrollY, scrollWidth, scrollHeight);
    scrollBar.setAutoHide (false);
    scrollBar.setSingleStepSize (rowHeight);
    scrollBar.addListener (this);
    addChildComponent (scrollBar);
}

ChordProgress::~ChordProgress()
{
    stopTimer();
    scrollBar.removeListener (this);
    viewer.reset();
}

void ChordProgress::setTiming (double sampleRate, int tempo)
{
    const double spq = ChordGrid::samplesPerQuarter (sampleRate, tempo);
    if (! (spq > 0.0))
        return;
    samplesPerQuarter = spq;
    pixelsPerSample = pixelsPerQuarter / samplesPerQuarter;
    samplesPerPixel = samplesPerQuarter / pixelsPerQuarter;
}

void ChordProgress::layOut (const juce::String& chordText, const std::vector<GridMeter>& meters)
{
    chordList.clear();
    marks.clear();
    barStarts.clear();
    laidOut.clear();

    chordList = ChordChart::parse (chordText);
    marks = ChordGrid::beatMarks (meters);
    barStarts = ChordGrid::barStarts (marks, samplesPerQuarter);
    totalWidth = (int) (ChordGrid::totalQuarters (marks) * pixelsPerQuarter);

    for (int m = 0; m < chordList.size(); ++m)
    {
        const auto name = soundingChordName (chordList[m], transpose);
        if (name.isEmpty())
            continue;
        laidOut.push_back ({ name, (int) (m * 3.5) % rowWidth, m / slotsPerRow });
    }

    cursor = juce::jmin (cursor, totalWidth);
    updateScrollBar();
    repaint();
}

int ChordProgress::getRowCount() const noexcept
{
    // Whole rows only: a song that ends on a row's end fills that row and no more.
    return juce::jmax (1, (totalWidth + rowWidth - 1) / rowWidth);
}

void ChordProgress::updateScrollBar()
{
    const int rows = getRowCount();
    if (rows < 3)
    {
        scrollBar.setVisible (false);
        scrollBar.setRangeLimits (0.0, (double) visibleSpan, juce::dontSendNotification);
        scrollBar.setCurrentRange (0.0, (double) visibleSpan, juce::dontSendNotification);
    }
    else
    {
        const double start = juce::jmin ((double) page * rowHeight, (double) (rowHeight * rows - visibleSpan));
        scrollBar.setRangeLimits (0.0, (double) (rowHeight * rows), juce::dontSendNotification);
        scrollBar.setCurrentRange (start, (double) visibleSpan, juce::dontSendNotification);
        scrollBar.setVisible (true);
    }
    repaint();
}

int ChordProgress::getViewTop() const noexcept
{
    return scrollBar.isVisible() ? (int) scrollBar.getCurrentRangeStart() : 0;
}

void ChordProgress::setPosition (juce::int64 samples)
{
    const double x = juce::jmax (0.0, (double) samples * pixelsPerSample);
    const int newCursor = (int) juce::jmin ((double) totalWidth, x);
    const int newPage = juce::jmin (newCursor / rowWidth, getRowCount() - 1);
    if (newCursor != cursor)
    {
        cursor = newCursor;
        repaint();
    }
    if (newPage != page)
    {
        page = newPage;
        if (scrollBar.isVisible())
            scrollBar.setCurrentRangeStart ((double) page * rowHeight, juce::sendNotificationSync);
    }
}

void ChordProgress::scrollBarMoved (juce::ScrollBar*, double)
{
    repaint();
}

void ChordProgress::timerCallback()
{
    if (listener == nullptr)
        return;
    const auto position = listener->chordProgressPositionRequested (*this);
    if (position >= 0)
        setPosition (position);
}

void ChordProgress::mouseDoubleClick (const juce::MouseEvent&)
{
    if (listener != nullptr)
        listener->chordViewerRequested (*this);
}

void ChordProgress::openViewer (const juce::String& songName, int tempo)
{
    if (viewer == nullptr)
        viewer = std::make_unique<ChordPreViewWnd> (static_cast<ChordPreViewWndListener&> (*this));
    viewer->show (songName, marks, chordList, transpose, tempo);
}

void ChordProgress::closeViewer()
{
    viewer.reset();
}

void ChordProgress::chordViewerClosed()
{
    // The window's own close button is the caller; the button has finished with it.
    viewer.reset();
}

void ChordProgress::paint (juce::Graphics& g)
{
    const int viewTop = getViewTop();
    const int rows = getRowCount();
    const auto rowTopOf = [viewTop] (int row) { return 1 + row * rowHeight - viewTop; };
    const auto visible = [this] (int rowTop) { return rowTop > -rowHeight && rowTop < height; };

    // The guide under the whole grid, then the part played up to the cursor.
    for (int r = 0; r < rows; ++r)
    {
        const int top = rowTopOf (r);
        if (! visible (top))
            continue;
        const int rowEnd = juce::jmin (rowWidth, totalWidth - r * rowWidth);
        if (rowEnd <= 0)
            continue;
        g.setColour (guide);
        g.drawHorizontalLine (top + 15, 0.0f, (float) rowEnd);
        const int playedEnd = juce::jlimit (0, rowEnd, cursor - r * rowWidth);
        if (playedEnd > 0)
        {
            g.setColour (played.withAlpha (0.8f));
            g.drawHorizontalLine (top + 15, 0.0f, (float) playedEnd);
        }
        if (totalWidth >= (r + 1) * rowWidth)
        {
            g.setColour (barTick);
            g.drawVerticalLine (rowWidth + 1, (float) (top + 7), (float) (top + 16));
        }
    }

    for (const auto& m : marks)
    {
        const double px = (double) m.position * pixelsPerQuarter;
        const int row = (int) (px / rowWidth);
        const int top = rowTopOf (row);
        if (top >= height)
            break;
        if (! visible (top))
            continue;
        const int x = (int) std::fmod (px, (double) rowWidth);
        g.setColour (m.kind == 1 ? barTick : beatTick);
        g.drawVerticalLine (x, (float) (top + (m.kind == 1 ? 7 : 10)), (float) (top + 15));
    }

    const auto font = arialFont (10.0f);
    g.setFont (font);
    g.setColour (text);
    for (const auto& c : laidOut)
    {
        const int top = rowTopOf (c.row);
        if (! visible (top))
            continue;
        const int w = font.getStringWidth (c.text);
        const juce::Rectangle<int> box (c.x, top - 2, juce::jmax (w + 2, 1), 10);
        if (c.x + w > rowWidth && c.x < rowWidth)
        {
            // Squeezed into what is left of its row.
            const float scale = (float) (rowWidth - c.x) / (float) juce::jmax (1, w);
            const juce::Graphics::ScopedSaveState saved (g);
            g.addTransform (juce::AffineTransform::scale (scale, 1.0f, (float) c.x, 0.0f));
            g.drawText (c.text, box, juce::Justification::centredLeft, false);
        }
        else
        {
            g.drawText (c.text, box, juce::Justification::centredLeft, false);
        }
    }

    if (totalWidth > 0)
    {
        const int row = juce::jmin (cursor / rowWidth, rows - 1);
        const int x = cursor - row * rowWidth;
        const int top = rowTopOf (row);
        if (visible (top))
        {
            g.setColour (cursorColour);
            g.fillRect (x, top + 4, 1, 12);
        }
    }
}

} // namespace T730
