// The editable table: numbering, selection and its listener, in-place editing
// with the allowed characters, dragging a cell onto another through a real
// drag-and-drop container, scrolling to the selection, and the scroll bar's glide.
#include "UiTestSupport.h"
#include "ui/EditableTable.h"

#include <gtest/gtest.h>
#include <iomanip>

using namespace T730;

namespace
{
/** Records what the table tells; answers canSelect and cellEdited as told. */
struct RecordingListener : public EditableTableListener
{
    bool cellEdited (EditableTable&, ModalEditLabel& label, const juce::String& text) override
    {
        edits.add (label.getName() + "=" + text);
        return acceptEdits;
    }

    bool canSelect (EditableTable&, int column, int row) override
    {
        ++selectQuestions;
        return ! (column == refusedColumn && row == refusedRow);
    }

    void selectionChanged (EditableTable&, int column, int row) override { selections.add (juce::Point<int> (column, row)); }

    void cellMoved (EditableTable&, int targetColumn, int targetRow, int sourceColumn, int sourceRow) override
    {
        moves.add ({ targetColumn, targetRow, sourceColumn, sourceRow });
    }

    bool acceptEdits = true;
    int refusedColumn = -1, refusedRow = -1, selectQuestions = 0;
    juce::StringArray edits;
    juce::Array<juce::Point<int>> selections;
    juce::Array<std::array<int, 4>> moves;
};

/** A window that holds a table and is the drag-and-drop container, as the main component is. */
struct Host : public juce::Component, public juce::DragAndDropContainer
{
    Host()
    {
        setSize (300, 200);
        addAndMakeVisible (table);
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setTopLeftPosition (60, 60);
        setVisible (true);
    }

    EditableTable table;
};

struct UiGuiEditableTable : public ::testing::Test
{
    UiGuiEditableTable()
    {
        auto& t = host.table;
        t.setBounds (10, 10, 242, 96);
        t.setRowCount (5);
        t.setColumnCount (20);
        t.setRowHeight (16);
        t.setColumnWidth (121);
        t.setScrollBarsShown (false, true);
        t.setListener (&listener);
        t.rebuild();
        for (int c = 0; c < 20; ++c)
            for (int r = 0; r < 5; ++r)
                t.setCellText (r, c, "P" + juce::String (c * 5 + r));
    }

    juce::Point<int> centreOf (int row, int column) { return host.table.getCellBounds (row, column).getCentre(); }

    /** Sends a press, moves and a release through the window, as the system does. */
    void dragThroughPeer (juce::Point<int> from, juce::Point<int> to)
    {
        auto* peer = host.getPeer();
        ASSERT_NE (peer, nullptr);
        const auto source = juce::MouseInputSource::InputSourceType::mouse;
        const auto down = juce::ModifierKeys().withFlags (juce::ModifierKeys::leftButtonModifier);
        auto at = [this] (juce::Point<int> p) { return host.getLocalPoint (&host.table, p).toFloat(); };
        auto time = juce::Time::currentTimeMillis();
        peer->handleMouseEvent (source, at (from), down, juce::MouseInputSource::defaultPressure, 0.0f, time);
        for (int i = 1; i <= 8; ++i)
        {
            const auto p = from + (to - from) * i / 8;
            peer->handleMouseEvent (source, at (p), down, juce::MouseInputSource::defaultPressure, 0.0f, time += 20);
            oxatest::pumpMessagesUntil ({}, 10);
        }
        peer->handleMouseEvent (source, at (to), juce::ModifierKeys(), juce::MouseInputSource::defaultPressure, 0.0f,
                                time += 20);
        // The container lets its drag picture go a little later.
        oxatest::pumpMessagesUntil ([this] { return ! host.isDragAndDropActive(); }, 2000);
    }

    Host host;
    RecordingListener listener;
};
} // namespace

TEST_F (UiGuiEditableTable, CellsAreNumberedDownTheColumnsAndRequestsOutsideTheGridAreIgnored)
{
    auto& t = host.table;
    ASSERT_NE (t.getCell (4, 19), nullptr);
    EXPECT_EQ (t.getCell (0, 0)->getName(), "0_0");
    EXPECT_EQ (t.getCell (3, 2)->getSecondText(), "013: ");   // 5 rows x column 2 + row 3
    EXPECT_EQ (t.getCell (4, 19)->getSecondText(), "099: ");

    t.select (2, 3);
    t.select (5, 0);      // past the last row
    t.select (0, 20);     // past the last column
    t.setCellText (7, 7, "nowhere");
    EXPECT_EQ (t.getSelectedRow(), 2);
    EXPECT_EQ (t.getSelectedColumn(), 3);
    EXPECT_EQ (t.getCell (5, 0), nullptr);
    EXPECT_TRUE (listener.selections.isEmpty()) << "select tells no one";

    // A rebuild with fewer cells keeps the selection inside the grid.
    t.setColumnCount (2);
    t.rebuild();
    EXPECT_EQ (t.getSelectedColumn(), 1);
    EXPECT_TRUE (t.getCell (2, 1)->isSelected());
}

TEST_F (UiGuiEditableTable, AClickOnTheSelectedCellAsksNoOneAndARefusedCellKeepsTheSelection)
{
    auto& t = host.table;
    t.select (0, 0);
    uitest::clickThroughPeer (t, centreOf (0, 0));
    EXPECT_EQ (listener.selectQuestions, 0);
    EXPECT_TRUE (listener.selections.isEmpty());

    listener.refusedColumn = 1;
    listener.refusedRow = 2;
    uitest::clickThroughPeer (t, centreOf (2, 1));
    EXPECT_EQ (listener.selectQuestions, 1);
    EXPECT_EQ (t.getSelectedRow(), 0);
    EXPECT_EQ (t.getSelectedColumn(), 0);
    EXPECT_TRUE (listener.selections.isEmpty());

    uitest::clickThroughPeer (t, centreOf (3, 1));
    ASSERT_EQ (listener.selections.size(), 1);
    EXPECT_EQ (listener.selections[0], juce::Point<int> (1, 3));
    EXPECT_TRUE (t.getCell (3, 1)->isSelected());
    EXPECT_FALSE (t.getCell (0, 0)->isSelected());
}

TEST_F (UiGuiEditableTable, TheEditorTakesOnlyAllowedCharactersUpToTheLimitAndARefusalPutsTheTextBack)
{
    auto& t = host.table;
    t.select (1, 0);
    auto* cell = t.getCell (1, 0);
    cell->showEditor();
    auto* editor = cell->getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    editor->setText ({});
    editor->insertTextAtCaret ("Lead?\\Tone 2 with a long name beyond");
    EXPECT_EQ (editor->getText(), "LeadTone 2 with a long n") << "24 characters, '?' and '\\' dropped";
    cell->hideEditor (false);
    oxatest::pumpMessagesUntil ([this] { return ! listener.edits.isEmpty(); }, 500);
    ASSERT_EQ (listener.edits.size(), 1);
    EXPECT_EQ (listener.edits[0], "1_0=LeadTone 2 with a long n");
    EXPECT_EQ (cell->getText(), "LeadTone 2 with a long n");

    // A table whose cells were made with a maximum of 8.
    t.setCellMaxLength (8);
    t.rebuild();
    t.setCellText (1, 0, "Crunch");
    cell = t.getCell (1, 0);
    cell->showEditor();
    editor = cell->getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    editor->setText ({});
    editor->insertTextAtCaret ("123456789");
    EXPECT_EQ (editor->getText(), "12345678");

    listener.acceptEdits = false;
    cell->hideEditor (false);
    oxatest::pumpMessagesUntil ([this] { return listener.edits.size() == 2; }, 500);
    EXPECT_EQ (cell->getText(), "Crunch") << "a refused edit shows the old text again";
}

TEST_F (UiGuiEditableTable, DraggingACellOntoAnotherReportsTheMoveAndOntoItselfReportsTheSameCell)
{
    auto& t = host.table;
    t.select (1, 0);
    dragThroughPeer (centreOf (1, 0), centreOf (0, 1));
    ASSERT_EQ (listener.moves.size(), 1);
    EXPECT_EQ (listener.moves[0], (std::array<int, 4> { 1, 0, 0, 1 })) << "target column, row, source column, row";
    EXPECT_FALSE (t.isDragging());
    EXPECT_FALSE (host.isDragAndDropActive());

    // Dropped where it was picked up.
    dragThroughPeer (centreOf (3, 0), centreOf (3, 0) + juce::Point<int> (8, 3));
    ASSERT_EQ (listener.moves.size(), 2);
    EXPECT_EQ (listener.moves[1], (std::array<int, 4> { 0, 3, 0, 3 }));

    // Not draggable: the same gesture moves nothing.
    t.setDraggable (false);
    dragThroughPeer (centreOf (2, 0), centreOf (4, 1));
    EXPECT_EQ (listener.moves.size(), 2);
}

TEST_F (UiGuiEditableTable, TheDragCarriesItsDescriptionAndOnlyThisTableTakesIt)
{
    auto& t = host.table;
    juce::DragAndDropTarget::SourceDetails mine (EditableTable::dragDescription, &t, {});
    juce::DragAndDropTarget::SourceDetails otherDescription ("SOMETHING_ELSE", &t, {});
    EditableTable other;
    juce::DragAndDropTarget::SourceDetails otherTable (EditableTable::dragDescription, &other, {});
    EXPECT_TRUE (t.isInterestedInDragSource (mine));
    EXPECT_FALSE (t.isInterestedInDragSource (otherDescription));
    EXPECT_FALSE (t.isInterestedInDragSource (otherTable));
}

TEST_F (UiGuiEditableTable, SelectingACellOutOfViewScrollsItFullyIntoView)
{
    auto& t = host.table;
    t.select (2, 19);
    EXPECT_EQ (t.getHorizontalBar().getCurrentRangeStart(), 18 * 121.0) << "its right edge at the view's right edge";
    EXPECT_EQ (t.getCellBounds (2, 19).getRight(), t.getViewWidth());
    EXPECT_EQ (t.cellAt (centreOf (2, 19)), juce::Point<int> (19, 2));

    t.select (0, 3);
    EXPECT_EQ (t.getHorizontalBar().getCurrentRangeStart(), 3 * 121.0) << "its left edge at the view's left edge";

    // The strip of the scroll bar is not part of the grid.
    EXPECT_EQ (t.cellAt ({ 20, t.getViewHeight() + 4 }), juce::Point<int> (-1, -1));
}

TEST (UiScrollBarEx, AGlideTakesFortyStepsAndEndsExactlyOnItsTarget)
{
    ScrollBarEx bar (false);
    bar.setRangeLimits (0.0, 1000.0);
    bar.setCurrentRange (0.0, 100.0);
    bar.scrollSmoothlyTo (333.0);
    EXPECT_TRUE (bar.isGliding());
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&bar] { return ! bar.isGliding(); }, 3000));
    EXPECT_EQ (bar.getCurrentRangeStart(), 333.0);

    // A target past the end stops where the range ends.
    bar.scrollSmoothlyTo (5000.0);
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&bar] { return ! bar.isGliding(); }, 3000));
    EXPECT_EQ (bar.getCurrentRangeStart(), 900.0) << std::setprecision (17) << bar.getCurrentRangeStart() << " "
                                                   << bar.getCurrentRangeSize();
}
