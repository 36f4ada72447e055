// The librarian page on a store of its own: the two tables and what they show,
// protection of fully keyworded groups, renaming, selecting (the patch goes to
// the device and the tool set), moving groups and patches, and the patch buttons.
#include "LibrarianTestSupport.h"

#include "documents/XmlParser.h"
#include "librarian/GroupFiles.h"

using namespace T730;
using namespace libtest;

namespace
{
class LibrarianGuiPage : public PageFixture
{
};

/** Types into a cell's editor as the keyboard does, then presses return. */
void typeInto (ModalEditLabel& cell, const juce::String& text)
{
    cell.showEditor();
    auto* editor = cell.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    editor->selectAll();
    editor->keyPressed (juce::KeyPress (juce::KeyPress::backspaceKey));
    for (auto c : text)
        editor->keyPressed (juce::KeyPress (0, juce::ModifierKeys(), c));
    editor->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
}
} // namespace

TEST_F (LibrarianGuiPage, AProtectedGroupOf23PatchesShowsThemAllAndLetsNothingChange)
{
    writeGroupFile (folder, "A.xml", "Shipped", 23, true);
    writeGroupFile (folder, "B.xml", "Mine", 100, false);
    const auto before = bytesOf (folder.getChildFile ("A.xml"));
    auto& p = makePage();
    auto& patches = p.getPatchTable();

    ASSERT_EQ (store.getGroup (0)->Name, "Shipped");
    ASSERT_TRUE (group (0).allKeyworded);
    EXPECT_TRUE (p.isProtected());
    EXPECT_EQ (patches.getShownCount(), 23);

    // Columns 0..3 full, rows 0..2 of column 4, nothing after.
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 5; ++r)
        {
            const int index = c * 5 + r;
            auto* cell = patches.getPatchCell (r, c);
            ASSERT_NE (cell, nullptr);
            EXPECT_EQ (cell->isShown(), index < 23) << index;
            EXPECT_EQ (cell->getText(), index < 23 ? "P" + juce::String (index).paddedLeft ('0', 2) : juce::String())
                << index;
        }

    EXPECT_FALSE (p.getButton (SectionLibrarian::eraseButton).isEnabled());
    EXPECT_FALSE (p.getButton (SectionLibrarian::saveButton).isEnabled());
    EXPECT_TRUE (p.getButton (SectionLibrarian::deleteButton).isEnabled()) << "a protected group can still be deleted";

    // A blank cell cannot be selected; a shown one can.
    clickPatch (23);
    EXPECT_EQ (p.getSelectedPatchIndex(), 0);
    clickPatch (22);
    EXPECT_EQ (p.getSelectedPatchIndex(), 22);

    // No renames (group or patch), no moves, no erase, no save.
    auto& groups = p.getGroupTable();
    EXPECT_FALSE (groups.isEditable());
    EXPECT_FALSE (patches.isEditable());
    EXPECT_FALSE (patches.isDraggable());
    typeInto (*patches.getCell (2, 4), "Renamed");
    typeInto (*groups.getCell (0, 0), "Renamed");
    settle();
    EXPECT_EQ (patches.getCellText (2, 4), "P22");
    EXPECT_EQ (groups.getCellText (0, 0), "Shipped");
    EXPECT_EQ (group (0).Name, "Shipped");

    dragCell (patches, 2, 4, 0, 0);
    clickButton (SectionLibrarian::eraseButton);
    clickButton (SectionLibrarian::saveButton);
    settle();

    EXPECT_EQ (group (0).patches[22].getName(), "P22");
    EXPECT_EQ (group (0).patches[0].getName(), "P00");
    EXPECT_EQ (bytesOf (folder.getChildFile ("A.xml")), before) << "the group's file is never written";
    EXPECT_TRUE (link.questions.isEmpty() || link.errors.isEmpty());

    // The unprotected group beside it enables ERASE and SAVE again.
    clickGroup (1);
    EXPECT_FALSE (p.isProtected());
    EXPECT_TRUE (p.getButton (SectionLibrarian::eraseButton).isEnabled());
    EXPECT_TRUE (p.getButton (SectionLibrarian::saveButton).isEnabled());
    EXPECT_TRUE (patches.getPatchCell (4, 19)->isShown());
}

TEST_F (LibrarianGuiPage, ThePointerOverEraseAndSaveTellsThatAProtectedGroupRefusesThem)
{
    writeGroupFile (folder, "A.xml", "Shipped", 100, true);
    auto& p = makePage();
    auto& erase = p.getButton (SectionLibrarian::eraseButton);
    erase.setEnabled (true);
    const auto move = eventAt (erase, { 5, 5 });
    p.mouseMove (move);
    EXPECT_FALSE (erase.isEnabled());
    EXPECT_NE (erase.getMouseCursor(), juce::MouseCursor (juce::MouseCursor::NormalCursor));
}

TEST_F (LibrarianGuiPage, SixGroupsNarrowTheListForItsScrollBarAndShortenTheNames)
{
    const juce::String longName ("A Very Long Patch Group Name Indeed");
    for (int i = 0; i < 5; ++i)
        writeGroupFile (folder, "G" + juce::String (i) + ".xml", longName);
    auto& p = makePage();
    auto& groups = p.getGroupTable();

    EXPECT_FALSE (groups.isVerticalBarShown());
    EXPECT_EQ (groups.getColumnWidth (0), 242);
    auto* cell = groups.getGroupCell (0);
    ASSERT_NE (cell, nullptr);
    EXPECT_EQ (cell->getNameWidth(), 96);

    writeGroupFile (folder, "G5.xml", longName);
    store.loadAll();
    p.refresh();
    EXPECT_TRUE (groups.isVerticalBarShown());
    EXPECT_EQ (groups.getRowCount(), 6);
    EXPECT_EQ (groups.getColumnWidth (0), 226);
    cell = groups.getGroupCell (5);
    ASSERT_NE (cell, nullptr);
    EXPECT_EQ (cell->getNameWidth(), 80);

    const auto font = ModalEditLabel::cellFont (11.0f);
    const auto shown = PatchsetEditableLabel::shortened (longName, font, 80);
    EXPECT_TRUE (shown.endsWith ("..."));
    EXPECT_LE (font.getStringWidth (shown), 80);
    EXPECT_GT (font.getStringWidth (PatchsetEditableLabel::shortened (longName, font, 96)), 80);
    EXPECT_TRUE (longName.startsWith (shown.dropLastCharacters (3))) << "the first characters and \"...\"";
    EXPECT_EQ (PatchsetEditableLabel::shortened ("Short", font, 80), "Short");

    // The times shown are the files' own.
    EXPECT_EQ (cell->getModified(), store.getGroup (5)->path.getLastModificationTime());
}

TEST_F (LibrarianGuiPage, SelectingAPatchSendsItToTheDeviceAndMakesItTheToolSetsPatch)
{
    writeGroupFile (folder, "A.xml", "First", 100, false, 3);
    writeGroupFile (folder, "B.xml", "Second", 100, false, 5);
    auto& p = makePage();
    link.requests.clear();
    link.sent.clear();

    clickPatch (37);
    EXPECT_EQ (p.getSelectedPatchIndex(), 37);
    EXPECT_EQ (link.codes(), (std::vector<int> { SendEditBuffer, SetEditBuffer, SetCurrentPatch, RecordUndoAndMarkEdited }));
    ASSERT_EQ (link.sent.size(), 1u);
    EXPECT_EQ (link.sent[0].name, "P37");
    EXPECT_EQ (link.sent[0].params[10], testParam (3, 37, 10));
    EXPECT_TRUE (link.project.editBuffer.sameContentAs (group (0).patches[37].edit));
    EXPECT_EQ (link.project.CurrentPatchSet, folder.getChildFile ("A.xml").getFullPathName());
    EXPECT_EQ (link.project.CurrentPatchIdx, 37);

    // Another group: its first patch.
    clickGroup (1);
    EXPECT_EQ (p.getSelectedPatchIndex(), 0);
    EXPECT_EQ (link.sent.back().params[10], testParam (5, 0, 10));
    EXPECT_EQ (link.project.CurrentPatchSet, folder.getChildFile ("B.xml").getFullPathName());
    EXPECT_EQ (p.getPatchTable().getCellText (3, 7), "P38");

    // A refresh keeps both selections.
    p.getPatchTable().selectIndex (64);
    p.refresh();
    EXPECT_EQ (p.getGroupTable().getSelectedRow(), 1);
    EXPECT_EQ (p.getSelectedPatchIndex(), 64);
    EXPECT_EQ (p.getPatchTable().getHorizontalBar().getCurrentRangeStart(), 11 * 121.0) << "J4's column in view";
}

TEST_F (LibrarianGuiPage, DraggingA1OntoB0ShiftsThePatchesBetween)
{
    writeGroupFile (folder, "A.xml", "Mine");
    auto& p = makePage();
    auto& patches = p.getPatchTable();
    const auto dragged = group (0).patches[1];

    clickPatch (1);
    dragCell (patches, 1, 0, 0, 2);   // A1 onto B0: row 0 of column 2
    settle();

    for (int k = 1; k <= 9; ++k)
        EXPECT_EQ (group (0).patches[(size_t) k].getName(), "P" + juce::String (k + 1).paddedLeft ('0', 2)) << k;
    EXPECT_EQ (group (0).patches[10].getName(), "P01");
    EXPECT_TRUE (group (0).patches[10].edit.sameContentAs (dragged.edit));
    EXPECT_EQ (group (0).patches[10].tooltip, dragged.tooltip) << "the whole record moves";
    EXPECT_EQ (group (0).patches[0].getName(), "P00");
    EXPECT_EQ (group (0).patches[11].getName(), "P11");
    for (int k = 0; k < 100; ++k)
        EXPECT_EQ (group (0).patches[(size_t) k].index, k);

    EXPECT_EQ (p.getSelectedPatchIndex(), 10);
    EXPECT_EQ (patches.getCellText (0, 2), "P01");
    EXPECT_EQ (patches.getCellText (1, 0), "P02");

    // The file holds the new order.
    PatchSet reread;
    reread.read (parseXmlFile (folder.getChildFile ("A.xml")).get());
    EXPECT_EQ (reread.patches[10].getName(), "P01");
    EXPECT_EQ (reread.patches[1].getName(), "P02");
}

TEST_F (LibrarianGuiPage, MovingAGroupRewritesTheOrderFile)
{
    writeGroupFile (folder, "A.xml", "Alpha");
    writeGroupFile (folder, "B.xml", "Beta");
    writeGroupFile (folder, "C.xml", "Gamma");
    auto& p = makePage();
    auto& groups = p.getGroupTable();

    clickGroup (0);
    dragCell (groups, 0, 0, 2, 0);
    EXPECT_EQ (groups.getCellText (0, 0), "Beta");
    EXPECT_EQ (groups.getCellText (2, 0), "Alpha");
    EXPECT_EQ (groups.getSelectedRow(), 2);
    EXPECT_EQ (p.getSelectedGroup()->Name, "Alpha");

    PatchManager again;
    again.setFolder (folder);
    again.loadAll();
    ASSERT_EQ (again.getNumGroups(), 3);
    EXPECT_EQ (again.getGroup (0)->Name, "Beta");
    EXPECT_EQ (again.getGroup (2)->Name, "Alpha");
}

TEST_F (LibrarianGuiPage, AnEmptyNameIsRefusedAndANinthCharacterCannotBeTyped)
{
    writeGroupFile (folder, "A.xml", "Mine");
    auto& p = makePage();
    auto& patches = p.getPatchTable();
    clickPatch (6);

    typeInto (*patches.getCell (1, 1), "");
    settle();
    EXPECT_EQ (patches.getCellText (1, 1), "P06") << "the old name is shown again";
    EXPECT_EQ (group (0).patches[6].getName(), "P06");

    typeInto (*patches.getCell (1, 1), "Overdrive");
    settle();
    EXPECT_EQ (patches.getCellText (1, 1), "Overdriv");
    EXPECT_EQ (group (0).patches[6].getName(), "Overdriv");

    // Written at once, and the other pages are told.
    PatchSet reread;
    reread.read (parseXmlFile (folder.getChildFile ("A.xml")).get());
    EXPECT_EQ (reread.patches[6].getName(), "Overdriv");
    EXPECT_NE (std::find (link.posted.begin(), link.posted.end(), 0x01), link.posted.end());

    // A group name takes 24 characters of the name set.
    typeInto (*p.getGroupTable().getCell (0, 0), "My Gig: Friday? Rock / Blues Set");
    settle();
    EXPECT_EQ (group (0).Name, "My Gig Friday Rock  Blue");
    reread.read (parseXmlFile (folder.getChildFile ("A.xml")).get());
    EXPECT_EQ (reread.Name, "My Gig Friday Rock  Blue");
}

TEST_F (LibrarianGuiPage, SaveStoresTheCurrentSoundButNotItsNameAndEraseResetsThePatch)
{
    writeGroupFile (folder, "A.xml", "Mine");
    auto& p = makePage();
    clickPatch (12);

    for (int i = 0; i < EditBuf::numParams; ++i)
        link.project.editBuffer.params[i] = 50 + i % 10;
    link.project.editBuffer.name = "Edited";

    clickButton (SectionLibrarian::saveButton);
    auto& saved = group (0).patches[12];
    EXPECT_EQ (saved.getName(), "P12");
    EXPECT_EQ (saved.edit.params[33], 53);
    PatchSet reread;
    reread.read (parseXmlFile (folder.getChildFile ("A.xml")).get());
    EXPECT_TRUE (reread.patches[12].edit.sameContentAs (saved.edit));

    // ERASE asks, resets the patch and hands its values to the tool set and the device.
    link.requests.clear();
    link.posted.clear();
    link.confirmAnswer = false;
    clickButton (SectionLibrarian::eraseButton);
    EXPECT_EQ (saved.getName(), "P12") << "not confirmed";

    link.confirmAnswer = true;
    clickButton (SectionLibrarian::eraseButton);
    EXPECT_EQ (link.questions.size(), 2);
    EXPECT_EQ (link.questions[1], "Are you sure?");
    EXPECT_EQ (saved.getName(), "No Name");
    EditBuf factory;
    EXPECT_TRUE (saved.edit.sameContentAs (factory));
    EXPECT_EQ (link.project.editBuffer.params[0 * 8 + 2], 39);
    EXPECT_EQ (link.project.editBuffer.name, "Edited") << "the tool set keeps its name";
    EXPECT_EQ (link.codes(), (std::vector<int> { SendEditBuffer, RecordUndoAndMarkEdited }));
    EXPECT_EQ (link.posted, (std::vector<int> { 0x08, 0x10 }));
    reread.read (parseXmlFile (folder.getChildFile ("A.xml")).get());
    EXPECT_EQ (reread.patches[12].getName(), "No Name");
    EXPECT_EQ (p.getPatchTable().getCellText (2, 2), "No Name");
}

TEST_F (LibrarianGuiPage, DeletingTheOnlyGroupMakesTheNextFreeNewGroupAndSelectsIt)
{
    writeGroupFile (folder, "Only.xml", "Only");
    // A file that is no patch group holds the first name: the next one is taken.
    ASSERT_TRUE (folder.getChildFile ("New Patch Group 001.xml").replaceWithText ("not a group"));
    auto& p = makePage();
    ASSERT_EQ (store.getNumGroups(), 1);

    link.confirmAnswer = false;
    clickButton (SectionLibrarian::deleteButton);
    EXPECT_EQ (store.getNumGroups(), 1);
    EXPECT_TRUE (folder.getChildFile ("Only.xml").existsAsFile());

    link.confirmAnswer = true;
    clickButton (SectionLibrarian::deleteButton);
    EXPECT_FALSE (folder.getChildFile ("Only.xml").exists());
    ASSERT_EQ (store.getNumGroups(), 1);
    EXPECT_EQ (group (0).Name, "New Patch Group 002");
    EXPECT_EQ (p.getGroupTable().getSelectedRow(), 0);
    EXPECT_EQ (p.getGroupTable().getCellText (0, 0), "New Patch Group 002");
    EXPECT_EQ (p.getPatchTable().getCellText (0, 0), "No Name");
    EXPECT_EQ (link.count (RefreshDownloadSection), 1);
    EXPECT_EQ (folder.getChildFile ("New Patch Group 001.xml").loadFileAsString(), "not a group");
}

TEST_F (LibrarianGuiPage, DeletingSelectsTheGroupAboveAndNewSelectsTheNewGroup)
{
    writeGroupFile (folder, "A.xml", "Alpha");
    writeGroupFile (folder, "B.xml", "Beta");
    writeGroupFile (folder, "C.xml", "Gamma");
    auto& p = makePage();
    clickGroup (2);
    clickButton (SectionLibrarian::deleteButton);
    ASSERT_EQ (store.getNumGroups(), 2);
    EXPECT_EQ (p.getSelectedGroup()->Name, "Beta");

    clickButton (SectionLibrarian::newButton);
    ASSERT_EQ (store.getNumGroups(), 3);
    EXPECT_EQ (p.getGroupTable().getSelectedRow(), 2);
    EXPECT_EQ (p.getSelectedGroup()->Name, "New Patch Group 001");
    EXPECT_TRUE (folder.getChildFile ("New Patch Group 001.xml").existsAsFile());
    EXPECT_EQ (link.project.editBuffer.name, "No Name") << "its first patch is applied";
}
