#pragma once

#include "ui/ModalEditLabel.h"
#include "ui/ScrollBarEx.h"

#include <memory>
#include <vector>

namespace T730
{

class EditableTable;

/** What a table reports to its owner. */
class EditableTableListener
{
public:
    virtual ~EditableTableListener() = default;

    /** A cell's editor closed with a new text: true keeps it, false puts the old text back. */
    virtual bool cellEdited (EditableTable& table, ModalEditLabel& label, const juce::String& text) = 0;

    /** Whether a click may select the cell. */
    virtual bool canSelect (EditableTable& table, int column, int row)
    {
        juce::ignoreUnused (table, column, row);
        return true;
    }

    /** A click selected another cell. */
    virtual void selectionChanged (EditableTable& table, int column, int row) = 0;

    /** A dragged cell was dropped on a cell of the same table (possibly itself). */
    virtual void cellMoved (EditableTable& table, int targetColumn, int targetRow, int sourceColumn, int sourceRow) = 0;
};

/** A cell on its way to another place: the table it came from and its picture,
    which the window's drag-and-drop container shows at the pointer. */
class DnDCompTable
{
public:
    DnDCompTable (EditableTable& table, const juce::Image& picture);

    EditableTable& getTable() const noexcept { return table; }
    const juce::Image& getPicture() const noexcept { return picture; }

    /** Starts the drag through the container; the picture keeps the point where it was grabbed. */
    void start (juce::DragAndDropContainer& container, juce::Point<int> grabbedAt);

private:
    EditableTable& table;
    juce::Image picture;

    JUCE_DECLARE_NON_COPYABLE (DnDCompTable)
};

/** A grid of text cells (ModalEditLabel): selected with the mouse, renamed in
    place (a double click on the selected cell, when editable), scrolled with
    the program's scroll bars and rearranged by dragging one cell onto another
    (when draggable; inside a drag-and-drop container, with the description
    "M7ED_DND_TABLE"). Cells are created by createCell when the grid is
    rebuilt; cell (row, column) is numbered row count x column + row, so the
    numbers run down the columns. Requests for cells outside the grid are
    ignored. The listener hears of selections, renames and moves.
    Message thread only. */
class EditableTable : public juce::Component,
                      public juce::ScrollBar::Listener,
                      public ModalEditLabelListener,
                      public juce::DragAndDropTarget,
                      private juce::Timer
{
public:
    static constexpr const char* dragDescription = "M7ED_DND_TABLE";
    static constexpr int scrollBarThickness = 16;
    static constexpr int dragTickMs = 64;

    EditableTable();
    ~EditableTable() override;

    // Set-up ---------------------------------------------------------------------
    void setColumnCount (int columns);
    void setRowCount (int rows);
    int getColumnCount() const noexcept { return columnCount; }
    int getRowCount() const noexcept { return rowCount; }

    /** Every row this high, every column this wide. */
    void setRowHeight (int height);
    void setColumnWidth (int width);
    int getRowHeight (int row) const noexcept;
    int getColumnWidth (int column) const noexcept;

    /** Which scroll bars are used: the vertical one along the right edge, the
        horizontal one along the bottom, each 16 pixels thick. */
    void setScrollBarsShown (bool vertical, bool horizontal);
    bool isVerticalBarShown() const noexcept { return showVerticalBar; }
    bool isHorizontalBarShown() const noexcept { return showHorizontalBar; }

    void setAllowedCharacters (const juce::String& characters) { allowedCharacters = characters; }
    const juce::String& getAllowedCharacters() const noexcept { return allowedCharacters; }

    /** The longest text the editors of cells made from now on accept; -1 keeps each cell's own. */
    void setCellMaxLength (int length) noexcept { cellMaxLength = length; }
    int getCellMaxLength() const noexcept { return cellMaxLength; }

    void setEditable (bool shouldBeEditable) noexcept { editable = shouldBeEditable; }
    void setDraggable (bool shouldBeDraggable) noexcept { draggable = shouldBeDraggable; }
    void setNumbered (bool shouldBeNumbered) noexcept { numbered = shouldBeNumbered; }
    bool isEditable() const noexcept { return editable; }
    bool isDraggable() const noexcept { return draggable; }
    bool isNumbered() const noexcept { return numbered; }

    /** Fill of the drop target, text, text on the selection, the selection box, background. */
    void setColours (juce::Colour selectionFill, juce::Colour text, juce::Colour selectedText, juce::Colour frame,
                     juce::Colour background);

    void setListener (EditableTableListener* newListener) noexcept { listener = newListener; }

    /** Creates every cell anew (createCell), gives each the table's colours,
        characters and (when set) maximum length and its number, and lays them out. */
    void rebuild();

    // Cells ------------------------------------------------------------------------
    void setCellText (int row, int column, const juce::String& text);
    juce::String getCellText (int row, int column) const;
    ModalEditLabel* getCell (int row, int column) const noexcept;

    /** Selects a cell without asking or telling the listener, and scrolls to it. */
    void select (int row, int column);
    int getSelectedRow() const noexcept { return selectedRow; }
    int getSelectedColumn() const noexcept { return selectedColumn; }

    /** Moves the scroll bars so that the selected cell is wholly in view. */
    virtual void scrollToSelection();

    /** The cell under a point of the table as (column, row); (-1, -1) for none. */
    juce::Point<int> cellAt (juce::Point<int> position) const;

    /** Where a cell lies in the table's coordinates (scrolled). */
    juce::Rectangle<int> getCellBounds (int row, int column) const;

    ScrollBarEx& getVerticalBar() noexcept { return verticalBar; }
    ScrollBarEx& getHorizontalBar() noexcept { return horizontalBar; }
    int getViewWidth() const noexcept { return viewWidth; }
    int getViewHeight() const noexcept { return viewHeight; }

    bool isDragging() const noexcept { return dragging; }
    /** The cell under the pointer while dragging, as (column, row); (-1, -1) for none. */
    juce::Point<int> getDropTarget() const noexcept { return dropTarget; }

    /** The pointer over the grid while a cell is dragged, and away from it. */
    static juce::MouseCursor dropAllowedCursor();
    static juce::MouseCursor dropRefusedCursor();

    // Component --------------------------------------------------------------------
    void resized() override;
    void paint (juce::Graphics& g) override;
    void paintOverChildren (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;
    void mouseDoubleClick (const juce::MouseEvent& event) override;
    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;

    void scrollBarMoved (juce::ScrollBar* bar, double newRangeStart) override;
    void labelEdited (ModalEditLabel& label, const juce::String& newText) override;

    bool isInterestedInDragSource (const SourceDetails& details) override;
    void itemDragEnter (const SourceDetails& details) override;
    void itemDragMove (const SourceDetails& details) override;
    void itemDragExit (const SourceDetails& details) override;
    void itemDropped (const SourceDetails& details) override;

protected:
    /** Makes the cell of a grid position (a plain ModalEditLabel named "row_column"). */
    virtual std::unique_ptr<ModalEditLabel> createCell (int row, int column);

private:
    void timerCallback() override;
    void layoutCells();
    void placeContent();
    void updateBarRanges();
    void setSelectionFlags (int row, int column);
    void beginDrag (juce::Point<int> pointer);
    void endDrag();
    bool isInsideGrid (juce::Point<int> position) const;
    bool isValidCell (int row, int column) const noexcept;

    juce::Component viewArea;   // clips the cells to the part of the grid in view
    juce::Component content;    // holds the cells; moved by the scroll bars
    std::vector<std::vector<std::unique_ptr<ModalEditLabel>>> cells; // [row][column]
    int rowCount = 0, columnCount = 0;
    bool showVerticalBar = false, showHorizontalBar = false;
    ScrollBarEx verticalBar { true }, horizontalBar { false };
    juce::Array<int> columnWidths, rowHeights;
    int uniformColumnWidth = 100, uniformRowHeight = 16;
    juce::Image dragImage;
    bool editable = true, draggable = true, numbered = true;
    juce::Point<int> dropTarget { -1, -1 };
    juce::String allowedCharacters;
    int cellMaxLength = -1;
    int viewWidth = 0, viewHeight = 0;
    juce::Colour selectionFillColour { 255, 155, 0 }, textColour { 255, 155, 0 },
        selectedTextColour { juce::Colours::black }, frameColour { 255, 155, 0 },
        backgroundColour { juce::Colours::black };
    int selectedColumn = 0, selectedRow = 0;
    EditableTableListener* listener = nullptr; // not owned
    bool dragging = false, pressed = false;
    int lastMouseX = 0, lastMouseY = 0;
    juce::Point<int> dragSource { -1, -1 };   // (column, row) pressed on, when it could be selected
    std::unique_ptr<DnDCompTable> dragComponent;

    JUCE_DECLARE_NON_COPYABLE (EditableTable)
};

} // namespace T730
