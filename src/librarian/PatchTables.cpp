#include "librarian/PatchTables.h"

#include "documents/PatchManager.h"
#include "ui/NameCharacters.h"
#include "ui/OxFonts.h"

namespace T730
{

namespace
{
    const juce::Colour orange (255, 155, 0);

    /** A faint line along the cell's lower and right edges, so the grid reads as a grid. */
    void drawRules (juce::Graphics& g, const juce::Component& cell, bool right)
    {
        g.setColour (orange.withAlpha (0.07f));
        g.fillRect (0, cell.getHeight() - 1, cell.getWidth(), 1);
        if (right)
            g.fillRect (cell.getWidth() - 1, 0, 1, cell.getHeight());
    }

    void drawBox (juce::Graphics& g, float x, float width, const juce::Component& cell, juce::Colour colour)
    {
        g.setColour (colour);
        g.fillRoundedRectangle (x, 2.0f, width, (float) cell.getHeight() - 4.0f, 5.0f);
    }
} // namespace

bool isProtectedGroup (const PatchSet* group) noexcept
{
    return group == nullptr || group->allKeyworded;
}

void applyLibrarianColours (EditableTable& table)
{
    // The glass behind the cells is part of the page's picture.
    table.setColours (orange, orange, juce::Colours::black, orange, juce::Colours::transparentBlack);
}

//==============================================================================
PatchsetEditableLabel::PatchsetEditableLabel (int row, int column, PatchsetEditableTableListener& o)
    : ModalEditLabel (juce::String::formatted ("%d_%d", row, column), row, column), owner (o)
{
}

void PatchsetEditableLabel::setModified (juce::Time time)
{
    modified = time;
    repaint();
}

int PatchsetEditableLabel::getNameWidth() const
{
    return owner.hasManyRows() ? 80 : 96;
}

juce::String PatchsetEditableLabel::shortened (const juce::String& text, const juce::Font& font, int width)
{
    return shortenedToWidth (text, font, width);
}

juce::Rectangle<int> PatchsetEditableLabel::getEditorArea() const
{
    return { nameX, 1, juce::jmax (20, getWidth() - 4 - nameX), getHeight() - 2 };
}

void PatchsetEditableLabel::paint (juce::Graphics& g)
{
    if (isBeingEdited())
        return;

    g.setColour (getBackgroundColour());
    g.fillRect (getLocalBounds());
    drawRules (g, *this, false);

    const int baseline = getHeight() - 4;
    const bool on = isSelected();

    // The number, in a box of its own when selected.
    if (on)
        drawBox (g, 2.0f, 22.0f, *this, getFrameColour());
    g.setColour (on ? getSelectedTextColour() : getTextColour().withAlpha (0.6f));
    g.setFont (cellFont (9.5f));
    const auto number = getSecondText().upToFirstOccurrenceOf (":", false, false);
    g.drawText (number, 2, 0, 22, getHeight(), juce::Justification::centred, false);

    if (on)
        drawBox (g, (float) nameX, (float) (getWidth() - 4 - nameX), *this, getFrameColour());

    const auto nameFont = cellFont (11.0f);
    g.setFont (nameFont);
    g.setColour (on ? getSelectedTextColour() : getTextColour());
    g.drawSingleLineText (shortened (getText(), nameFont, getNameWidth()), nameX + 4, baseline);

    if (modified != juce::Time())
    {
        g.setFont (cellFont (9.5f));
        g.setColour (on ? getSelectedTextColour() : getTextColour().withAlpha (0.7f));
        g.drawSingleLineText (modified.formatted ("%Y/%m/%d %H:%M"), getWidth() - 8, baseline,
                              juce::Justification::right);
    }
}

//==============================================================================
PatchsetEditableTable::PatchsetEditableTable()
{
    setAllowedCharacters (allowedNameCharacters());
    applyLibrarianColours (*this);
}

std::unique_ptr<ModalEditLabel> PatchsetEditableTable::createCell (int row, int column)
{
    return std::make_unique<PatchsetEditableLabel> (row, column, *this);
}

PatchsetEditableLabel* PatchsetEditableTable::getGroupCell (int row) const
{
    return dynamic_cast<PatchsetEditableLabel*> (getCell (row, 0));
}

void PatchsetEditableTable::fill (const PatchManager* store)
{
    const int groups = store != nullptr ? store->getNumGroups() : 20;
    const bool bar = groups > visibleRows;

    setRowCount (groups);
    setColumnCount (1);
    setScrollBarsShown (bar, false);
    setRowHeight (rowHeight);
    setColumnWidth (bar ? narrowWidth : fullWidth);
    setAllowedCharacters (allowedNameCharacters());
    rebuild();
    select (0, 0);

    updateTexts (store);
    scrollToSelection();
}

void PatchsetEditableTable::updateTexts (const PatchManager* store)
{
    if (store == nullptr)
        return;

    for (int i = 0; i < store->getNumGroups() && i < getRowCount(); ++i)
    {
        const auto* group = store->getGroup (i);
        setCellText (i, 0, group->Name);
        if (auto* cell = getGroupCell (i))
            cell->setModified (group->path.getLastModificationTime());
    }
}

//==============================================================================
PatchdataEditableLabel::PatchdataEditableLabel (int row, int column)
    : ModalEditLabel (juce::String::formatted ("%d_%d", row, column), row, column)
{
}

void PatchdataEditableLabel::setShown (bool shouldBeShown)
{
    if (shown != shouldBeShown)
    {
        shown = shouldBeShown;
        repaint();
    }
}

juce::String PatchdataEditableLabel::prefixOf (int index)
{
    static const juce::String letters ("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    if (index < 0)
        return {};
    const int ten = index / 10;
    juce::String prefix = ten < letters.length() ? letters.substring (ten, ten + 1) : juce::String ("?");
    return prefix + juce::String (index % 10) + ":";
}

juce::Rectangle<int> PatchdataEditableLabel::getEditorArea() const
{
    return { 22, 1, juce::jmax (20, getWidth() - 4 - 22), getHeight() - 2 };
}

void PatchdataEditableLabel::paint (juce::Graphics& g)
{
    if (isBeingEdited())
        return;

    g.setColour (getBackgroundColour());
    g.fillRect (getLocalBounds());
    drawRules (g, *this, true);

    if (! shown)
        return;

    const bool on = isSelected();
    const int baseline = getHeight() - 4;

    if (on)
    {
        drawBox (g, 2.0f, 15.0f, *this, getFrameColour());
        drawBox (g, 22.0f, (float) (getWidth() - 4 - 22), *this, getFrameColour());
    }

    g.setColour (on ? getSelectedTextColour() : getTextColour().withAlpha (0.6f));
    g.setFont (cellFont (8.5f).boldened());
    g.drawText (prefixOf (getColumn() * PatchdataEditableTable::rows + getRow()), 2, 0, 15, getHeight(),
                juce::Justification::centred, false);

    g.setColour (on ? getSelectedTextColour() : getTextColour());
    g.setFont (cellFont (11.0f));
    g.drawSingleLineText (getText(), nameX, baseline);
}

//==============================================================================
PatchdataEditableTable::PatchdataEditableTable()
{
    setRowCount (rows);
    setColumnCount (columns);
    setScrollBarsShown (false, true);
    setRowHeight (rowHeight);
    setColumnWidth (columnWidth);
    setCellMaxLength (8);   // the device keeps 8 characters of a name
    setAllowedCharacters (allowedNameCharacters());
    setNumbered (false);
    applyLibrarianColours (*this);
    rebuild();
}

std::unique_ptr<ModalEditLabel> PatchdataEditableTable::createCell (int row, int column)
{
    return std::make_unique<PatchdataEditableLabel> (row, column);
}

PatchdataEditableLabel* PatchdataEditableTable::getPatchCell (int row, int column) const
{
    return dynamic_cast<PatchdataEditableLabel*> (getCell (row, column));
}

bool PatchdataEditableTable::canSelectCell (const PatchSet* group, int row, int column) const
{
    if (group == nullptr)
        return false;

    if (isProtectedGroup (group))
        if (auto* cell = getPatchCell (row, column))
            return cell->isShown();

    return true;
}

void PatchdataEditableTable::fill (const PatchSet* group)
{
    const bool locked = isProtectedGroup (group);
    setEditable (! locked);
    setDraggable (! locked);

    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            if (auto* cell = getPatchCell (r, c))
            {
                cell->setShown (false);
                cell->setText ({}, juce::dontSendNotification);
            }

    if (group != nullptr)
    {
        const int count = juce::jlimit (0, PatchSet::numPatches, group->count);
        const int fullColumns = group->allKeyworded ? count / rows : columns;
        shownCount = group->allKeyworded ? count : PatchSet::numPatches;

        for (int c = 0; c < fullColumns; ++c)
            for (int r = 0; r < rows; ++r)
                if (auto* cell = getPatchCell (r, c))
                {
                    cell->setText (group->patches[(size_t) (c * rows + r)].getName(), juce::dontSendNotification);
                    cell->setShown (true);
                }

        if (group->allKeyworded && count % rows != 0)
            for (int r = 0; r < count - rows * fullColumns; ++r)
                if (auto* cell = getPatchCell (r, fullColumns))
                {
                    cell->setText (group->patches[(size_t) (fullColumns * rows + r)].getName(), juce::dontSendNotification);
                    cell->setShown (true);
                }
    }

    // The bar moves a column at a time through the columns that show patches.
    const int shownColumns = (juce::jmax (shownCount, 1) + rows - 1) / rows;
    auto& bar = getHorizontalBar();
    const double start = bar.getCurrentRangeStart();
    bar.setRangeLimits (0.0, (double) ((shownColumns - 1) * columnWidth), juce::dontSendNotification);
    bar.setCurrentRange (start, (double) columnWidth);
    bar.setEnabled (true);
    repaint();
}

} // namespace T730
