#include <gtest/gtest.h>

#include "ToolSetTestSupport.h"
#include "app/ControllerRequests.h"
#include "app/Memento.h"
#include "app/ToolSetOperations.h"
#include "documents/Project.h"

using namespace T730;

namespace
{
    /** The controller's originator side over a plain project. */
    struct ProjectOwner : public MementoOriginator<Project>
    {
        std::unique_ptr<Project> createMemento() override { return std::make_unique<Project> (project); }
        void setMemento (std::unique_ptr<Project> snapshot) override
        {
            project.reset();
            project = *snapshot;
        }

        Project project;
    };

    struct AppUndo : public ::testing::Test
    {
        AppUndo()
        {
            parts.project = &owner.project;
            parts.undoKeeper = &keeper;
        }

        /** An edit as the editor makes it: the change, then request 2 when the mouse is released. */
        void edit (int value)
        {
            owner.project.editBuffer.setParam (3, 1, value);
            requests.handle (RecordUndoAndMarkEdited, 0, 0, nullptr);
        }

        ProjectOwner owner;
        MementoCareTaker<Project> keeper { owner };
        ControllerParts parts;
        ToolSetOperations toolSet { parts };
        ControllerRequests requests { parts, toolSet };
    };
} // namespace

TEST_F (AppUndo, NothingHappensUntilTheKeeperIsEnabled)
{
    keeper.record();
    keeper.clearHistory();
    EXPECT_EQ (keeper.getUndoCount(), 0);
    EXPECT_FALSE (keeper.isEnabled());

    keeper.reset();
    EXPECT_TRUE (keeper.isEnabled());
    EXPECT_EQ (keeper.getUndoCount(), 1);
    EXPECT_FALSE (keeper.canUndo());
    EXPECT_FALSE (keeper.canRedo());
}

TEST_F (AppUndo, UndoThenRedoReturnsToTheEditWithItsEditedFlag)
{
    keeper.reset();
    edit (11);
    EXPECT_TRUE (keeper.canUndo());
    EXPECT_TRUE (owner.project.edited);

    requests.handle (Undo, 0, 0, nullptr);
    EXPECT_EQ (owner.project.editBuffer.getParam (3, 1), 0);
    EXPECT_FALSE (owner.project.edited);
    EXPECT_FALSE (keeper.canUndo());

    keeper.redo();
    EXPECT_EQ (owner.project.editBuffer.getParam (3, 1), 11);
    EXPECT_TRUE (owner.project.edited);
    EXPECT_FALSE (keeper.canRedo());

    // Each snapshot carries the flag from before the edit it records.
    edit (22);
    edit (33);
    keeper.undo();
    EXPECT_EQ (owner.project.editBuffer.getParam (3, 1), 22);
    EXPECT_TRUE (owner.project.edited);
    keeper.undo();
    EXPECT_EQ (owner.project.editBuffer.getParam (3, 1), 11);
    EXPECT_EQ (keeper.getRedoCount(), 2);

    // A new edit drops what could be redone.
    edit (44);
    EXPECT_FALSE (keeper.canRedo());
}

TEST_F (AppUndo, MarkSavedAndClearHistoryLeaveOneSnapshotOfTheSavedState)
{
    keeper.reset();
    edit (5);
    edit (6);
    requests.handle (ResetUndoAndMarkSaved, 0, 0, nullptr);
    EXPECT_FALSE (owner.project.edited);
    EXPECT_FALSE (keeper.canUndo());

    // After the save an edit and its undo come back to an unedited tool set.
    edit (7);
    keeper.undo();
    EXPECT_EQ (owner.project.editBuffer.getParam (3, 1), 6);
    EXPECT_FALSE (owner.project.edited);

    keeper.clearHistory();
    EXPECT_EQ (keeper.getUndoCount(), 1);
    EXPECT_EQ (keeper.getRedoCount(), 0);
}

TEST (AppUndoLimit, KeepsTheNewestSnapshots)
{
    struct Counter : public MementoOriginator<int>
    {
        std::unique_ptr<int> createMemento() override { return std::make_unique<int> (value); }
        void setMemento (std::unique_ptr<int> s) override { value = *s; }
        int value = 0;
    } counter;

    MementoCareTaker<int> keeper (counter, 3);
    keeper.reset();
    for (int i = 1; i <= 5; ++i)
    {
        counter.value = i;
        keeper.record();
    }
    EXPECT_EQ (keeper.getUndoCount(), 3);
    keeper.undo();
    keeper.undo();
    EXPECT_EQ (counter.value, 3);
    EXPECT_FALSE (keeper.canUndo());
}
