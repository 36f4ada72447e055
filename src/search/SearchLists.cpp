#include "search/SearchLists.h"

#include "documents/SearchTarget.h"
#include "ui/OxFonts.h"

namespace T730
{

//==============================================================================
SS_VScrollingUIItem::SS_VScrollingUIItem (int row, int column)
    : ModalEditLabel (juce::String::formatted ("%d_%d", row, column), row, column)
{
}

void SS_VScrollingUIItem::setHighlighted (bool shouldBeHighlighted)
{
    if (highlighted != shouldBeHighlighted)
    {
        highlighted = shouldBeHighlighted;
        repaint();
    }
}

juce::String SS_VScrollingUIItem::shortened (const juce::String& text, const juce::Font& font, int width)
{
    return shortenedToWidth (text, font, width);
}

juce::Font SS_VScrollingUIItem::nameFont()
{
    auto font = arialFont (12.0f);
    font.setHeightWithoutChangingWidth (24.0f);
    return font;
}

//==============================================================================
SS_VScrollingUI::SS_VScrollingUI()
{
    setEditable (false);
    setDraggable (false);
    setNumbered (false);
    setColours (textColour(), textColour(), highlightedTextColour(), textColour(), juce::Colours::transparentBlack);
    resultBar.addListener (this);
    resultBar.setAutoHide (false);
    addChildComponent (resultBar);
}

SS_VScrollingUI::~SS_VScrollingUI()
{
    resultBar.removeListener (this);
}

void SS_VScrollingUI::setUpResultList (int columnWidth, int rowHeight)
{
    resultList = true;
    resultRowHeight = juce::jmax (1, rowHeight);
    setScrollBarsShown (false, false);
    setColumnWidth (columnWidth);
    setRowHeight (resultRowHeight);
    setColumnCount (1);
    setRowCount (visibleRows());
    rebuild();
    assignCells();
}

std::unique_ptr<ModalEditLabel> SS_VScrollingUI::createCell (int row, int column)
{
    return std::make_unique<SS_VScrollingUIItem> (row, column);
}

int SS_VScrollingUI::visibleRows() const noexcept
{
    return (getHeight() + resultRowHeight - 1) / resultRowHeight + 1;
}

int SS_VScrollingUI::fullRows() const noexcept
{
    return juce::jmax (1, getHeight() / resultRowHeight);
}

void SS_VScrollingUI::resized()
{
    EditableTable::resized();
    if (! resultList)
        return;

    resultBar.setBounds (getWidth() - scrollBarThickness, 0, scrollBarThickness, getHeight());
    if (getRowCount() != visibleRows())
    {
        setRowCount (visibleRows());
        rebuild();
    }
    updateResultBar();
    assignCells();
}

void SS_VScrollingUI::paint (juce::Graphics& g)
{
    EditableTable::paint (g);
}

//==============================================================================
SearchTarget* SS_VScrollingUI::getResult (int row)
{
    const int index = getResultIndex (row);
    return index >= 0 ? getTarget (index) : nullptr;
}

int SS_VScrollingUI::getResultIndex (int row) const noexcept
{
    return row >= 0 && row < (int) results.size() ? results[(size_t) row] : -1;
}

void SS_VScrollingUI::makeKeys()
{
    keys.clear();
    keys.reserve ((size_t) getNumTargets());
    for (int i = 0; i < getNumTargets(); ++i)
        keys.emplace_back (*getTarget (i));
}

void SS_VScrollingUI::runSearch (const SearchQuery& query)
{
    if ((int) keys.size() != getNumTargets())
        makeKeys();

    results = rankRecords (keys, query, scores);
    for (int i = 0; i < getNumTargets(); ++i)
        getTarget (i)->score = scores[(size_t) i];
    for (size_t r = 0; r < results.size(); ++r)
        getTarget (results[r])->resultPosition = (int32_t) r;

    highlightedRow = -1;
    firstRow = 0;
    resultBar.setCurrentRangeStart (0.0, juce::dontSendNotification);
    updateResultBar();
    assignCells();
}

void SS_VScrollingUI::showAllTargets()
{
    makeKeys();
    results.resize ((size_t) getNumTargets());
    for (int i = 0; i < getNumTargets(); ++i)
    {
        results[(size_t) i] = i;
        getTarget (i)->resultPosition = i;
    }
    updateResultBar();
    assignCells();
}

void SS_VScrollingUI::clearResults()
{
    results.clear();
    highlightedRow = -1;
    firstRow = 0;
    resultBar.setCurrentRangeStart (0.0, juce::dontSendNotification);
    updateResultBar();
    assignCells();
}

void SS_VScrollingUI::updateResultBar()
{
    if (! resultList)
        return;

    const double total = (double) getResultCount() * resultRowHeight;
    resultBar.setRangeLimits (0.0, juce::jmax (total, (double) getHeight()), juce::dontSendNotification);
    resultBar.setCurrentRange (resultBar.getCurrentRangeStart(), (double) getHeight(), juce::dontSendNotification);
    resultBar.setSingleStepSize ((double) resultRowHeight);
    resultBar.setVisible (getResultCount() > 0);
    resultBar.toFront (false);

    const int lastFirst = juce::jmax (0, getResultCount() - fullRows());
    firstRow = juce::jlimit (0, lastFirst, juce::roundToInt (resultBar.getCurrentRangeStart() / resultRowHeight));
}

void SS_VScrollingUI::assignCells()
{
    if (! resultList)
        return;

    for (int r = 0; r < getRowCount(); ++r)
        if (auto* cell = dynamic_cast<SS_VScrollingUIItem*> (getCell (r, 0)))
        {
            const int row = firstRow + r < getResultCount() ? firstRow + r : -1;
            cell->setResultRow (row);
            cell->setHighlighted (row >= 0 && row == highlightedRow);
            assignCell (*cell, row);
            cell->repaint();
        }
    repaint();
}

void SS_VScrollingUI::highlightRow (int row)
{
    highlightedRow = row >= 0 && row < getResultCount() ? row : -1;
    for (int r = 0; r < getRowCount(); ++r)
        if (auto* cell = dynamic_cast<SS_VScrollingUIItem*> (getCell (r, 0)))
            cell->setHighlighted (cell->getResultRow() >= 0 && cell->getResultRow() == highlightedRow);
    repaint();
}

int SS_VScrollingUI::rowAt (juce::Point<int> position) const
{
    if (! resultList || position.x < 0 || position.y < 0 || position.x >= getColumnWidth (0)
        || position.y >= getHeight())
        return -1;
    const int row = firstRow + position.y / resultRowHeight;
    return row < getResultCount() ? row : -1;
}

SS_VScrollingUIItem* SS_VScrollingUI::cellOfRow (int row) const
{
    if (! resultList || row < firstRow || row >= firstRow + getRowCount())
        return nullptr;
    auto* cell = dynamic_cast<SS_VScrollingUIItem*> (getCell (row - firstRow, 0));
    return cell != nullptr && cell->getResultRow() == row ? cell : nullptr;
}

juce::Rectangle<int> SS_VScrollingUI::getRowBounds (int row) const
{
    if (cellOfRow (row) == nullptr)
        return {};
    return { 0, (row - firstRow) * resultRowHeight, getColumnWidth (0), resultRowHeight };
}

void SS_VScrollingUI::scrollToRow (int row)
{
    if (! resultList || row < 0 || row >= getResultCount())
        return;
    if (row < firstRow)
        resultBar.setCurrentRangeStart ((double) row * resultRowHeight, juce::sendNotificationSync);
    else if (row >= firstRow + fullRows())
        resultBar.setCurrentRangeStart ((double) (row - fullRows() + 1) * resultRowHeight, juce::sendNotificationSync);
}

//==============================================================================
void SS_VScrollingUI::mouseDown (const juce::MouseEvent&)
{
    // The lists handle their own presses: no selection, no drag.
}

void SS_VScrollingUI::mouseDrag (const juce::MouseEvent&)
{
}

void SS_VScrollingUI::mouseDoubleClick (const juce::MouseEvent&)
{
}

void SS_VScrollingUI::mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel)
{
    if (! resultList)
    {
        EditableTable::mouseWheelMove (event, wheel);
        return;
    }

    const float delta = std::abs (wheel.deltaX) > std::abs (wheel.deltaY) ? -wheel.deltaX : wheel.deltaY;
    if (delta == 0.0f || getResultCount() == 0)
        return;
    const int direction = delta < 0.0f ? 1 : -1;
    resultBar.setCurrentRangeStart ((double) (firstRow + direction) * resultRowHeight, juce::sendNotificationSync);
}

void SS_VScrollingUI::scrollBarMoved (juce::ScrollBar* bar, double newRangeStart)
{
    if (bar != &resultBar)
    {
        EditableTable::scrollBarMoved (bar, newRangeStart);
        return;
    }

    const int before = firstRow;
    updateResultBar();
    if (firstRow != before)
        assignCells();
}

//==============================================================================
void SS_WordListItem::paint (juce::Graphics& g)
{
    if (getText().isEmpty())
        return;

    const auto font = arialFont (11.0f);
    const auto text = shortened (getText(), font, getWidth() - 10);
    if (isHighlighted())
    {
        g.setColour (getTextColour());
        g.fillRoundedRectangle (1.0f, 1.0f, (float) font.getStringWidth (text) + 9.0f, (float) getHeight() - 2.0f, 5.0f);
    }
    g.setColour (isHighlighted() ? getSelectedTextColour() : getTextColour());
    g.setFont (font);
    g.drawSingleLineText (text, 5, getHeight() - 4);
}

//==============================================================================
SS_WordList::SS_WordList()
{
    setRowHeight (rowHeight);
    setColumnWidth (columnWidth);
}

std::unique_ptr<ModalEditLabel> SS_WordList::createCell (int row, int column)
{
    return std::make_unique<SS_WordListItem> (row, column);
}

SS_WordListItem* SS_WordList::getWordCell (int row, int column) const
{
    return dynamic_cast<SS_WordListItem*> (getCell (row, column));
}

void SS_WordList::setListListeners (SS_ListListener* first, SS_ListListener* second)
{
    listeners[0] = first;
    listeners[1] = second;
}

void SS_WordList::fill (const juce::StringArray& newWords, bool firstFill)
{
    std::vector<juce::Point<int>> noted;
    if (! firstFill)
        for (int r = 0; r < getRowCount(); ++r)
            for (int c = 0; c < getColumnCount(); ++c)
                if (auto* cell = getWordCell (r, c); cell != nullptr && cell->isHighlighted())
                    noted.push_back ({ c, r });

    words = newWords;
    const int n = words.size();
    setRowHeight (rowHeight);
    setColumnWidth (columnWidth);
    setRowCount (juce::jmin (rows, n));
    setColumnCount ((n + rows - 1) / rows);
    setScrollBarsShown (false, true);
    rebuild();

    for (int r = 0; r < getRowCount(); ++r)
        for (int c = 0; c < getColumnCount(); ++c)
        {
            const int k = c * rows + r;
            setCellText (r, c, k < n ? words[k] : juce::String());
            if (auto* cell = getCell (r, c))
                cell->setSelected (false);
        }

    if (firstFill)
    {
        selectedWords.clear();
        return;
    }

    for (auto p : noted)
        if (auto* cell = getWordCell (p.y, p.x))
            cell->setHighlighted (true);
}

void SS_WordList::mouseDown (const juce::MouseEvent& event)
{
    pressAt (event.getPosition());
}

void SS_WordList::pressAt (juce::Point<int> position)
{
    if (words.isEmpty())
        return;

    const auto at = cellAt (position);
    if (at.x >= 0)
    {
        auto* cell = getWordCell (at.y, at.x);
        if (cell == nullptr || cell->getText().isEmpty())
            return;

        if (selectedWords.isEmpty() || ! cell->isHighlighted())
        {
            cell->setHighlighted (true);
            selectedWords.add (cell->getText());
        }
        else
        {
            cell->setHighlighted (false);
            selectedWords.removeString (cell->getText());
        }
    }

    searchAll();
}

void SS_WordList::searchAll()
{
    searchedWords = selectedWords;
    for (auto* listener : listeners)
        if (listener != nullptr)
            listener->search (freeText, searchedWords);
}

void SS_WordList::clearAll()
{
    for (int r = 0; r < getRowCount(); ++r)
        for (int c = 0; c < getColumnCount(); ++c)
            if (auto* cell = getWordCell (r, c))
                cell->setHighlighted (false);
    selectedWords.clear();
    freeText.clear();
    searchAll();
    repaint();
}

void SS_WordList::textEditorTextChanged (juce::TextEditor& editor)
{
    freeText = editor.getText();
    searchAll();
}

//==============================================================================
SS_EditerFreeword::SS_EditerFreeword() : juce::TextEditor ("SS_EditerFreeword")
{
    for (auto id : { juce::TextEditor::backgroundColourId, juce::TextEditor::outlineColourId,
                     juce::TextEditor::shadowColourId })
        setColour (id, juce::Colours::white);
    setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    setColour (juce::TextEditor::textColourId, juce::Colours::black);
    setColour (juce::CaretComponent::caretColourId, juce::Colours::black);
    setColour (juce::TextEditor::highlightColourId, juce::Colour (255, 155, 0).withAlpha (0.6f));
    setBorder ({});
    setIndents (2, 1);
    setFont (arialFont (12.0f));
    setInputRestrictions (maxLength, allowedCharacters);
    setMultiLine (false);
    setReturnKeyStartsNewLine (false);
    setScrollbarsShown (false);
}

} // namespace T730
