#include "rhythm/ChordPreView.h"

#include "rhythm/RootIndex.h"
#include "ui/OxFonts.h"

#include <cmath>

namespace T730
{

juce::String soundingChordName (const juce::String& entry, int transpose)
{
    const int slash = entry.indexOfChar ('/');
    if (slash <= 0)
        return {};
    const auto digits = entry.substring (0, slash);
    if (! digits.containsOnly ("0123456789"))
        return {};
    return RootIndex::toName (digits.getIntValue() + transpose) + entry.substring (slash + 1);
}

//==============================================================================
ChordPreViewComponent::ChordPreViewComponent()
{
    setSize (width, height);
    setOpaque (true);
}

int ChordPreViewComponent::rowsFor (double quarters)
{
    if (! (quarters > 0.0))
        return 1;
    return juce::jmax (1, (int) std::ceil (quarters / quartersPerRow - 1.0e-9));
}

int ChordPreViewComponent::getRowHeight() const noexcept
{
    return rows > 4 ? rowsHeight / rows : 100;
}

void ChordPreViewComponent::setContent (const std::vector<BeatMark>& newMarks, const juce::StringArray& chordList,
                                        int newTranspose, int newTempo)
{
    marks = newMarks;
    chords = chordList;
    transpose = newTranspose;
    tempo = newTempo;
    rows = rowsFor (ChordGrid::totalQuarters (marks));
    place();
    repaint();
}

void ChordPreViewComponent::setSongName (const juce::String& name)
{
    songName = name;
    repaint();
}

void ChordPreViewComponent::place()
{
    placed.clear();
    const auto font = arialFont (18.0f);
    int previousRow = -1, previousEnd = 0;
    for (int m = 0; m < chords.size(); ++m)
    {
        const auto name = soundingChordName (chords[m], transpose);
        if (name.isEmpty())
            continue;

        PlacedChord c;
        c.text = name;
        c.row = m / 32;
        c.x = (m * slotWidth) % rowWidth;
        const int textWidth = juce::jmax (1, font.getStringWidth (name));
        if (c.row == previousRow && c.x < previousEnd)
            c.x = previousEnd + 10;

        const int limit = rowWidth - 3;   // x 509
        if (c.x + textWidth > limit)
        {
            const int room = juce::jmax (4, limit - c.x);
            c.scale = juce::jmin (1.0f, (float) room / (float) textWidth);
            if (c.x > limit - 4)
                c.x = limit - 4;
        }
        previousRow = c.row;
        previousEnd = c.x + (int) std::ceil (textWidth * c.scale);
        placed.push_back (c);
    }
}

void ChordPreViewComponent::paint (juce::Graphics& g)
{
    g.fillAll (ChordPreViewWnd::background);

    const juce::Colour ink (60, 30, 30), grid (150, 110, 110), faint (215, 185, 185);
    g.setColour (ink);
    g.setFont (arialFont (20.0f, juce::Font::bold));
    g.drawText (songName, left, 36, rowWidth, 26, juce::Justification::centredLeft, true);
    g.setFont (arialFont (13.0f));
    juce::String head = juce::String (tempo) + " BPM";
    if (transpose != 0)
        head << "      transposed " << (transpose > 0 ? "+" : "") << transpose;
    g.setColour (ink.withAlpha (0.75f));
    g.drawText (head, left, 64, rowWidth, 18, juce::Justification::centredLeft);

    const int rowHeight = getRowHeight();
    const float quarterWidth = (float) rowWidth / quartersPerRow;
    const float baseline = juce::jmax (8.0f, rowHeight * 0.78f);

    for (int r = 0; r < rows; ++r)
    {
        const float y = (float) (top + r * rowHeight);
        g.setColour (faint);
        g.drawHorizontalLine ((int) (y + baseline), (float) left, (float) (left + rowWidth));
    }

    int bar = 0;
    g.setFont (arialFont (10.0f));
    for (const auto& m : marks)
    {
        const double q = (double) m.position;
        const int r = (int) (q / quartersPerRow);
        if (r >= rows)
            break;
        const float x = (float) left + (float) std::fmod (q, (double) quartersPerRow) * quarterWidth;
        const float y = (float) (top + r * rowHeight);
        const float bottom = y + baseline;
        if (m.kind == 1)
        {
            ++bar;
            g.setColour (grid);
            g.drawLine (x, bottom - juce::jmin (rowHeight * 0.55f, 40.0f), x, bottom + 3.0f, 1.5f);
            if (rowHeight >= 30)
                g.drawText (juce::String (bar), (int) x + 3, (int) bottom + 2, 30, 12, juce::Justification::centredLeft);
        }
        else
        {
            g.setColour (faint.darker (0.1f));
            g.drawLine (x, bottom - juce::jmin (rowHeight * 0.15f, 10.0f), x, bottom, 1.0f);
        }
    }

    // Each row closes with a bar line; the song's end with a double one.
    const double total = ChordGrid::totalQuarters (marks);
    g.setColour (grid);
    for (int r = 0; r < rows; ++r)
    {
        const double rowEnd = juce::jmin (total - (double) r * quartersPerRow, (double) quartersPerRow);
        if (rowEnd <= 0.0)
            break;
        const float x = (float) left + (float) rowEnd * quarterWidth;
        const float bottom = (float) (top + r * rowHeight) + baseline;
        const float tall = juce::jmin (rowHeight * 0.55f, 40.0f);
        g.drawLine (x, bottom - tall, x, bottom + 3.0f, 1.5f);
        if (r == rows - 1)
            g.drawLine (x - 4.0f, bottom - tall, x - 4.0f, bottom + 3.0f, 1.0f);
    }

    const auto font = arialFont (juce::jmin (18.0f, (float) rowHeight));
    g.setFont (font);
    g.setColour (ink);
    for (const auto& c : placed)
    {
        const float y = (float) (top + c.row * rowHeight);
        const float x = (float) (left + c.x + 4);   // clear of the bar line
        const int textHeight = (int) font.getHeight();
        const int textY = (int) (y + baseline) - textHeight - 2;
        if (c.scale < 1.0f)
        {
            const juce::Graphics::ScopedSaveState saved (g);
            g.addTransform (juce::AffineTransform::scale (c.scale, 1.0f, x, 0.0f));
            g.drawText (c.text, (int) x, textY, rowWidth, textHeight, juce::Justification::centredLeft, false);
        }
        else
        {
            g.drawText (c.text, (int) x, textY, rowWidth, textHeight, juce::Justification::centredLeft, false);
        }
    }
}

//==============================================================================
ChordPreViewWnd::ChordPreViewWnd (ChordPreViewWndListener& o)
    : juce::DocumentWindow ("Chord Viewer", background, juce::DocumentWindow::closeButton, true), owner (o)
{
    setUsingNativeTitleBar (true);
    setContentNonOwned (&page, true);
    setResizable (false, false);
    centreWithSize (getWidth(), getHeight());
}

ChordPreViewWnd::~ChordPreViewWnd()
{
    clearContentComponent();
}

void ChordPreViewWnd::show (const juce::String& songName, const std::vector<BeatMark>& marks,
                            const juce::StringArray& chordList, int transpose, int tempo)
{
    setName (titleFor (songName));
    page.setSongName (songName);
    page.setContent (marks, chordList, transpose, tempo);
    setVisible (true);
    toFront (false);
}

void ChordPreViewWnd::closeButtonPressed()
{
    owner.chordViewerClosed();   // deletes this window
}

} // namespace T730
