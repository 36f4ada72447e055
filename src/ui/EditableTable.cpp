#include "ui/EditableTable.h"

#include "art/ProgramArt.h"
#include "ui/NameCharacters.h"

namespace T730
{

//==============================================================================
DnDCompTable::DnDCompTable (EditableTable& t, const juce::Image& p) : table (t), picture (p)
{
}

void DnDCompTable::start (juce::DragAndDropContainer& container, juce::Point<int> grabbedAt)
{
    const juce::Point<int> offset (-grabbedAt.x, -grabbedAt.y);
    container.startDragging (EditableTable::dragDescription, &table, juce::ScaledImage (picture), false, &offset);
}

//==============================================================================
EditableTable::EditableTable() : allowedCharacters (allowedNameCharacters())
{
    viewArea.setInterceptsMouseClicks (false, true);
    content.setInterceptsMouseClicks (false, true);
    viewArea.addAndMakeVisible (content);
    addAndMakeVisible (viewArea);

    for (auto* bar : { &verticalBar, &horizontalBar })
    {
        bar->addListener (this);
        bar->setSingleStepSize (1.0);
        addChildComponent (bar);
    }
}

EditableTable::~EditableTable()
{
    stopTimer();
    verticalBar.removeListener (this);
    horizontalBar.removeListener (this);
}

//==============================================================================
void EditableTable::setColumnCount (int columns)
{
    columnCount = juce::jmax (0, columns);
    columnWidths.clearQuick();
    for (int c = 0; c < columnCount; ++c)
        columnWidths.add (uniformColumnWidth);
}

void EditableTable::setRowCount (int rows)
{
    rowCount = juce::jmax (0, rows);
    rowHeights.clearQuick();
    for (int r = 0; r < rowCount; ++r)
        rowHeights.add (uniformRowHeight);
}

void EditableTable::setRowHeight (int height)
{
    uniformRowHeight = juce::jmax (1, height);
    for (auto& h : rowHeights)
        h = uniformRowHeight;
}

void EditableTable::setColumnWidth (int width)
{
    uniformColumnWidth = juce::jmax (1, width);
    for (auto& w : columnWidths)
        w = uniformColumnWidth;
}

int EditableTable::getRowHeight (int row) const noexcept
{
    return juce::isPositiveAndBelow (row, rowHeights.size()) ? rowHeights[row] : uniformRowHeight;
}

int EditableTable::getColumnWidth (int column) const noexcept
{
    return juce::isPositiveAndBelow (column, columnWidths.size()) ? columnWidths[column] : uniformColumnWidth;
}

void EditableTable::setScrollBarsShown (bool vertical, bool horizontal)
{
    showVerticalBar = vertical;
    showHorizontalBar = horizontal;
    verticalBar.setVisible (vertical);
    horizontalBar.setVisible (horizontal);
    if (! vertical)
        verticalBar.setCurrentRangeStart (0.0, juce::dontSendNotification);
    if (! horizontal)
        horizontalBar.setCurrentRangeStart (0.0, juce::dontSendNotification);
    resized();
}

void EditableTable::setColours (juce::Colour selectionFill, juce::Colour text, juce::Colour selectedText,
                                juce::Colour frame, juce::Colour background)
{
    selectionFillColour = selectionFill;
    textColour = text;
    selectedTextColour = selectedText;
    frameColour = frame;
    backgroundColour = background;

    for (auto& row : cells)
        for (auto& cell : row)
            cell->setCellColours (backgroundColour, textColour, selectedTextColour, frameColour);
    repaint();
}

//==============================================================================
std::unique_ptr<ModalEditLabel> EditableTable::createCell (int row, int column)
{
    return std::make_unique<ModalEditLabel> (juce::String::formatted ("%d_%d", row, column), row, column);
}

void EditableTable::rebuild()
{
    cells.clear();
    cells.resize ((size_t) rowCount);

    for (int r = 0; r < rowCount; ++r)
    {
        auto& row = cells[(size_t) r];
        row.reserve ((size_t) columnCount);
        for (int c = 0; c < columnCount; ++c)
        {
            auto cell = createCell (r, c);
            cell->setCellColours (backgroundColour, textColour, selectedTextColour, frameColour);
            cell->setEditCharacters (allowedCharacters);
            if (cellMaxLength != -1)
                cell->setMaxLength (cellMaxLength);
            if (numbered)
                cell->setSecondText (juce::String::formatted ("%03d: ", rowCount * c + r));
            cell->setListener (this);
            content.addAndMakeVisible (*cell);
            row.push_back (std::move (cell));
        }
    }

    if (! isValidCell (selectedRow, selectedColumn))
    {
        selectedRow = rowCount > 0 ? juce::jlimit (0, rowCount - 1, selectedRow) : 0;
        selectedColumn = columnCount > 0 ? juce::jlimit (0, columnCount - 1, selectedColumn) : 0;
    }
    setSelectionFlags (selectedRow, selectedColumn);

    dropTarget = { -1, -1 };
    layoutCells();
}

void EditableTable::layoutCells()
{
    int totalWidth = 0, totalHeight = 0;
    for (auto w : columnWidths)
        totalWidth += w;
    for (auto h : rowHeights)
        totalHeight += h;

    content.setSize (juce::jmax (totalWidth, viewWidth), juce::jmax (totalHeight, viewHeight));

    int y = 0;
    for (int r = 0; r < (int) cells.size(); ++r)
    {
        int x = 0;
        for (int c = 0; c < (int) cells[(size_t) r].size(); ++c)
        {
            cells[(size_t) r][(size_t) c]->setBounds (x, y, getColumnWidth (c), getRowHeight (r));
            x += getColumnWidth (c);
        }
        y += getRowHeight (r);
    }

    updateBarRanges();
    placeContent();
}

void EditableTable::updateBarRanges()
{
    int totalWidth = 0, totalHeight = 0;
    for (auto w : columnWidths)
        totalWidth += w;
    for (auto h : rowHeights)
        totalHeight += h;

    const double vStart = verticalBar.getCurrentRangeStart();
    verticalBar.setRangeLimits (0.0, (double) juce::jmax (totalHeight, viewHeight), juce::dontSendNotification);
    verticalBar.setCurrentRange (vStart, (double) viewHeight, juce::dontSendNotification);
    verticalBar.setSingleStepSize ((double) uniformRowHeight);

    const double hStart = horizontalBar.getCurrentRangeStart();
    horizontalBar.setRangeLimits (0.0, (double) juce::jmax (totalWidth, viewWidth), juce::dontSendNotification);
    horizontalBar.setCurrentRange (hStart, (double) viewWidth, juce::dontSendNotification);
    horizontalBar.setSingleStepSize ((double) uniformColumnWidth);
}

void EditableTable::placeContent()
{
    const int x = showHorizontalBar ? juce::roundToInt (horizontalBar.getCurrentRangeStart()) : 0;
    const int y = showVerticalBar ? juce::roundToInt (verticalBar.getCurrentRangeStart()) : 0;
    content.setTopLeftPosition (-x, -y);
    repaint();
}

void EditableTable::resized()
{
    viewWidth = getWidth() - (showVerticalBar ? scrollBarThickness : 0);
    viewHeight = getHeight() - (showHorizontalBar ? scrollBarThickness : 0);
    viewWidth = juce::jmax (0, viewWidth);
    viewHeight = juce::jmax (0, viewHeight);

    viewArea.setBounds (0, 0, viewWidth, viewHeight);
    verticalBar.setBounds (viewWidth, 0, scrollBarThickness, viewHeight);
    horizontalBar.setBounds (0, viewHeight, viewWidth, scrollBarThickness);
    layoutCells();
}

//==============================================================================
bool EditableTable::isValidCell (int row, int column) const noexcept
{
    return juce::isPositiveAndBelow (row, rowCount) && juce::isPositiveAndBelow (column, columnCount)
           && (size_t) row < cells.size() && (size_t) column < cells[(size_t) row].size();
}

ModalEditLabel* EditableTable::getCell (int row, int column) const noexcept
{
    return isValidCell (row, column) ? cells[(size_t) row][(size_t) column].get() : nullptr;
}

void EditableTable::setCellText (int row, int column, const juce::String& text)
{
    if (auto* cell = getCell (row, column))
        cell->setText (text, juce::dontSendNotification);
}

juce::String EditableTable::getCellText (int row, int column) const
{
    if (auto* cell = getCell (row, column))
        return cell->getText();
    return {};
}

void EditableTable::setSelectionFlags (int row, int column)
{
    for (auto& cellRow : cells)
        for (auto& cell : cellRow)
            cell->setSelected (cell->getRow() == row && cell->getColumn() == column);
}

void EditableTable::select (int row, int column)
{
    if (! isValidCell (row, column))
        return;

    selectedRow = row;
    selectedColumn = column;
    setSelectionFlags (row, column);
    repaint();
    scrollToSelection();
}

void EditableTable::scrollToSelection()
{
    int x = 0, y = 0;
    for (int c = 0; c < selectedColumn; ++c)
        x += getColumnWidth (c);
    for (int r = 0; r < selectedRow; ++r)
        y += getRowHeight (r);

    if (showHorizontalBar)
    {
        const int w = getColumnWidth (selectedColumn);
        const double start = horizontalBar.getCurrentRangeStart();
        if (x < start)
            horizontalBar.setCurrentRangeStart ((double) x, juce::sendNotificationSync);
        else if (x + w > start + viewWidth)
            horizontalBar.setCurrentRangeStart ((double) (x + w - viewWidth), juce::sendNotificationSync);
    }

    if (showVerticalBar)
    {
        const int h = getRowHeight (selectedRow);
        const double start = verticalBar.getCurrentRangeStart();
        if (y < start)
            verticalBar.setCurrentRangeStart ((double) y, juce::sendNotificationSync);
        else if (y + h > start + viewHeight)
            verticalBar.setCurrentRangeStart ((double) (y + h - viewHeight), juce::sendNotificationSync);
    }

    placeContent();
}

juce::Point<int> EditableTable::cellAt (juce::Point<int> position) const
{
    if (! isInsideGrid (position))
        return { -1, -1 };

    const auto inContent = position - content.getPosition();
    int column = -1, row = -1;

    for (int c = 0, x = 0; c < columnCount; ++c)
    {
        x += getColumnWidth (c);
        if (inContent.x < x)
        {
            column = c;
            break;
        }
    }

    for (int r = 0, y = 0; r < rowCount; ++r)
    {
        y += getRowHeight (r);
        if (inContent.y < y)
        {
            row = r;
            break;
        }
    }

    if (inContent.x < 0 || inContent.y < 0 || ! isValidCell (row, column))
        return { -1, -1 };

    return { column, row };
}

juce::Rectangle<int> EditableTable::getCellBounds (int row, int column) const
{
    if (auto* cell = getCell (row, column))
        return cell->getBounds() + content.getPosition();
    return {};
}

bool EditableTable::isInsideGrid (juce::Point<int> position) const
{
    return position.x >= 0 && position.y >= 0 && position.x < viewWidth && position.y < viewHeight;
}

//==============================================================================
void EditableTable::paint (juce::Graphics& g)
{
    g.setColour (backgroundColour);
    g.fillRect (0, 0, viewWidth, viewHeight);
}

void EditableTable::paintOverChildren (juce::Graphics& g)
{
    if (! dragging || dropTarget.x < 0)
        return;

    // The cell a drop would land on: an outline in the selection colour.
    const auto target = getCellBounds (dropTarget.y, dropTarget.x).getIntersection ({ 0, 0, viewWidth, viewHeight });
    g.setColour (selectionFillColour);
    g.drawRoundedRectangle (target.toFloat().reduced (0.5f), 4.0f, 1.5f);
}

void EditableTable::mouseDown (const juce::MouseEvent& event)
{
    pressed = true;
    dragging = false;
    dragSource = { -1, -1 };
    lastMouseX = event.x;
    lastMouseY = event.y;

    const auto cell = cellAt (event.getPosition());
    if (cell.x < 0)
        return;

    // A click on the selected cell changes nothing and asks no one (it may still start a drag).
    if (cell.x == selectedColumn && cell.y == selectedRow)
    {
        dragSource = cell;
        return;
    }

    if (listener != nullptr && ! listener->canSelect (*this, cell.x, cell.y))
        return;

    dragSource = cell;
    selectedColumn = cell.x;
    selectedRow = cell.y;
    setSelectionFlags (selectedRow, selectedColumn);
    repaint();

    if (listener != nullptr)
        listener->selectionChanged (*this, cell.x, cell.y);
}

void EditableTable::mouseDrag (const juce::MouseEvent& event)
{
    lastMouseX = event.x;
    lastMouseY = event.y;

    if (dragging)
    {
        setMouseCursor (isInsideGrid (event.getPosition()) ? dropAllowedCursor() : dropRefusedCursor());
        return;
    }

    if (! pressed || ! draggable || dragSource.x < 0 || event.getDistanceFromDragStart() < 4)
        return;

    beginDrag (event.getMouseDownPosition());
}

void EditableTable::beginDrag (juce::Point<int> pointer)
{
    // The cell may have gone with a rebuild the selection caused.
    auto* cell = getCell (dragSource.y, dragSource.x);
    auto* container = juce::DragAndDropContainer::findParentDragContainerFor (this);
    if (cell == nullptr || container == nullptr || container->isDragAndDropActive())
        return;

    dragImage = cell->createComponentSnapshot (cell->getLocalBounds(), true, 1.0f)
                    .convertedToFormat (juce::Image::ARGB);
    dragImage.multiplyAllAlphas (0.6f);

    dragging = true;
    dropTarget = dragSource;
    dragComponent = std::make_unique<DnDCompTable> (*this, dragImage);
    dragComponent->start (*container, pointer - getCellBounds (dragSource.y, dragSource.x).getPosition());
    setMouseCursor (dropAllowedCursor());
    startTimer (dragTickMs);
    repaint();
}

void EditableTable::endDrag()
{
    stopTimer();
    dragging = false;
    dropTarget = { -1, -1 };
    dragComponent.reset();
    dragImage = {};
    setMouseCursor (juce::MouseCursor::NormalCursor);
    repaint();
}

void EditableTable::mouseUp (const juce::MouseEvent&)
{
    pressed = false;
}

void EditableTable::mouseDoubleClick (const juce::MouseEvent& event)
{
    if (! editable)
        return;

    const auto cell = cellAt (event.getPosition());
    if (cell.x == selectedColumn && cell.y == selectedRow)
        if (auto* label = getCell (cell.y, cell.x))
            label->showEditor();
}

void EditableTable::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    const float delta = std::abs (wheel.deltaX) > std::abs (wheel.deltaY) ? -wheel.deltaX : wheel.deltaY;
    if (delta == 0.0f)
        return;

    const int direction = delta < 0.0f ? 1 : -1;
    if (showVerticalBar)
        verticalBar.setCurrentRangeStart (verticalBar.getCurrentRangeStart() + direction * uniformRowHeight,
                                          juce::sendNotificationSync);
    else if (showHorizontalBar)
        horizontalBar.setCurrentRangeStart (horizontalBar.getCurrentRangeStart() + direction * uniformColumnWidth,
                                            juce::sendNotificationSync);
}

//==============================================================================
void EditableTable::timerCallback()
{
    auto* container = juce::DragAndDropContainer::findParentDragContainerFor (this);
    if (container == nullptr || ! container->isDragAndDropActive())
    {
        endDrag();
        return;
    }

    // Near an edge of the grid the grid scrolls towards it (the pointer as the last drag event put it).
    const juce::Point<int> pointer (lastMouseX, lastMouseY);
    constexpr int edge = 10;
    const bool inside = isInsideGrid (pointer);
    setMouseCursor (inside ? dropAllowedCursor() : dropRefusedCursor());

    if (showHorizontalBar && pointer.y >= 0 && pointer.y < viewHeight)
    {
        const int step = juce::jmax (1, uniformColumnWidth / 4);
        if (pointer.x < edge)
            horizontalBar.setCurrentRangeStart (horizontalBar.getCurrentRangeStart() - step,
                                                juce::sendNotificationSync);
        else if (pointer.x >= viewWidth - edge)
            horizontalBar.setCurrentRangeStart (horizontalBar.getCurrentRangeStart() + step,
                                                juce::sendNotificationSync);
    }

    if (showVerticalBar && pointer.x >= 0 && pointer.x < viewWidth)
    {
        if (pointer.y < edge)
            verticalBar.setCurrentRangeStart (verticalBar.getCurrentRangeStart() - uniformRowHeight,
                                              juce::sendNotificationSync);
        else if (pointer.y >= viewHeight - edge)
            verticalBar.setCurrentRangeStart (verticalBar.getCurrentRangeStart() + uniformRowHeight,
                                              juce::sendNotificationSync);
    }
}

void EditableTable::scrollBarMoved (juce::ScrollBar*, double)
{
    placeContent();
}

void EditableTable::labelEdited (ModalEditLabel& label, const juce::String& newText)
{
    if (listener == nullptr || ! listener->cellEdited (*this, label, newText))
        label.restoreText();
}

//==============================================================================
bool EditableTable::isInterestedInDragSource (const SourceDetails& details)
{
    return details.description.toString() == dragDescription && details.sourceComponent.get() == this;
}

void EditableTable::itemDragEnter (const SourceDetails& details)
{
    itemDragMove (details);
}

void EditableTable::itemDragMove (const SourceDetails& details)
{
    const auto cell = cellAt (details.localPosition.toInt());
    if (cell != dropTarget)
    {
        dropTarget = cell;
        repaint();
    }
}

void EditableTable::itemDragExit (const SourceDetails&)
{
    dropTarget = { -1, -1 };
    repaint();
}

void EditableTable::itemDropped (const SourceDetails& details)
{
    const auto target = cellAt (details.localPosition.toInt());
    const auto source = dragSource;
    endDrag();
    pressed = false;

    if (target.x >= 0 && source.x >= 0 && listener != nullptr)
        listener->cellMoved (*this, target.x, target.y, source.x, source.y);
}

//==============================================================================
juce::MouseCursor EditableTable::dropAllowedCursor()
{
    const auto picture = art::getImage (art::Picture::cursorDropAllowed);
    return picture.isValid() ? juce::MouseCursor (picture, 2, 2) : juce::MouseCursor (juce::MouseCursor::DraggingHandCursor);
}

juce::MouseCursor EditableTable::dropRefusedCursor()
{
    const auto picture = art::getImage (art::Picture::cursorDropRefused);
    return picture.isValid() ? juce::MouseCursor (picture, 2, 2) : juce::MouseCursor (juce::MouseCursor::NoCursor);
}

} // namespace T730
