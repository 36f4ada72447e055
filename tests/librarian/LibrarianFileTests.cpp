// What the librarian writes, and what it never writes over: a full disk, a
// read-only or foreign group file, imports that are not patch groups, backups
// that share a second, exports, and a store that changes while a dialog is open.
#include "LibrarianTestSupport.h"

#include "documents/XmlParser.h"
#include "librarian/GroupFiles.h"
#include "platform/DataFolders.h"

#include <sys/stat.h>

using namespace T730;
using namespace libtest;

namespace
{
class LibrarianGuiFiles : public PageFixture
{
protected:
    juce::StringArray fileNames()
    {
        juce::StringArray names;
        for (auto& f : folder.findChildFiles (juce::File::findFiles, false))
            names.add (f.getFileName());
        names.sort (false);
        return names;
    }

    std::unique_ptr<PatchSet> reread (const juce::File& file)
    {
        auto set = std::make_unique<PatchSet>();
        set->read (parseXmlFile (file).get());
        return set;
    }

    /** SAVE pressed: a synthetic click on it through the window is now and then
        not taken on a loaded display (the press goes to the dialog beneath it),
        so the button is triggered as the keyboard would and its click awaited. */
    static void pressSave (StoreAs& dialog)
    {
        dialog.getSaveButton().triggerClick();
        oxatest::pumpMessagesUntil ([&dialog] { return dialog.isAccepted(); }, 3000);
    }

    void typeName (EditableTable& table, int row, int column, const juce::String& text)
    {
        auto* cell = table.getCell (row, column);
        cell->showEditor();
        cell->getCurrentTextEditor()->setText (text);
        cell->hideEditor (false);
        settle();
    }
};
} // namespace

TEST_F (LibrarianGuiFiles, AFullDiskDuringSaveKeepsTheOldGroupFileAndTheGroup)
{
    const auto file = writeGroupFile (folder, "A.xml", "Mine");
    const auto before = bytesOf (file);
    auto& p = makePage();
    clickPatch (4);
    for (int i = 0; i < EditBuf::numParams; ++i)
        link.project.editBuffer.params[i] = 63;

    {
        oxatest::ScopedFileSizeLimit fullDisk (4096);
        ASSERT_TRUE (fullDisk.isActive());
        clickButton (SectionLibrarian::saveButton);
        typeName (p.getPatchTable(), 4, 0, "Lost");
    }

    EXPECT_EQ (link.errors, juce::StringArray ({ "File error.", "File error." }));
    EXPECT_EQ (bytesOf (file), before) << "the old file is whole";
    EXPECT_FALSE (fileNames().joinIntoString (" ").contains (".tmp")) << "no temporary file is left";
    EXPECT_EQ (group (0).patches[4].edit.params[20], testParam (1, 4, 20)) << "the group is as its file";
    EXPECT_EQ (group (0).patches[4].getName(), "P04");
    EXPECT_EQ (p.getPatchTable().getCellText (4, 0), "P04");

    // With room again the same SAVE goes through.
    clickButton (SectionLibrarian::saveButton);
    EXPECT_EQ (reread (file)->patches[4].edit.params[20], 63);
}

TEST_F (LibrarianGuiFiles, AReadOnlyGroupFileIsNeverWrittenAndTheRefusalIsTold)
{
    const auto file = writeGroupFile (folder, "A.xml", "Mine");
    const auto before = bytesOf (file);
    ASSERT_EQ (::chmod (file.getFullPathName().toRawUTF8(), 0444), 0);
    auto& p = makePage();
    clickPatch (3);
    link.project.editBuffer.params[0] = 60;

    typeName (p.getPatchTable(), 3, 0, "Renamed");
    EXPECT_EQ (p.getPatchTable().getCellText (3, 0), "P03") << "renaming is refused and the old name shown";
    EXPECT_TRUE (link.errors.isEmpty()) << "a rename is refused without a message";

    clickButton (SectionLibrarian::saveButton);
    clickButton (SectionLibrarian::eraseButton);
    dragCell (p.getPatchTable(), 3, 0, 0, 1);
    EXPECT_EQ (link.errors.size(), 3);
    for (auto& e : link.errors)
        EXPECT_EQ (e, "File error.");
    EXPECT_EQ (bytesOf (file), before);
    EXPECT_EQ (group (0).patches[3].getName(), "P03");
    EXPECT_EQ (group (0).patches[3].edit.params[0], testParam (1, 3, 0));
    EXPECT_EQ (group (0).patches[5].getName(), "P05");
    ::chmod (file.getFullPathName().toRawUTF8(), 0644);
}

TEST_F (LibrarianGuiFiles, AForeignOrDamagedGroupFileIsNeverWrittenOver)
{
    writeGroupFile (folder, "Mine.xml", "Mine");
    // A group another product wrote (the store can take such a file in from a download).
    const auto foreign = temp / "Other.xml";
    writeGroupFile (temp.get(), "Other.xml", "Other");
    auto text = foreign.loadFileAsString().replace ("<Product>M7c</Product>", "<Product>M9x</Product>");
    const auto inFolder = folder.getChildFile ("Other.xml");
    ASSERT_TRUE (inFolder.replaceWithText (text));
    auto& p = makePage();
    ASSERT_EQ (store.getNumGroups(), 1) << "the loader leaves it out";
    ASSERT_TRUE (store.addGroupFromFile (inFolder));
    p.refresh();
    const auto foreignBefore = bytesOf (inFolder);

    clickGroup (1);
    clickButton (SectionLibrarian::saveButton);
    typeName (p.getGroupTable(), 1, 0, "Taken");
    EXPECT_EQ (bytesOf (inFolder), foreignBefore);
    EXPECT_EQ (link.errors, juce::StringArray ({ "File error.", "File error." }));

    // A group whose file was damaged after it was read.
    const auto mine = folder.getChildFile ("Mine.xml");
    ASSERT_TRUE (mine.replaceWithText ("<PatchSet><Product>M7c</Prod"));
    clickGroup (0);
    clickButton (SectionLibrarian::saveButton);
    EXPECT_EQ (mine.loadFileAsString(), "<PatchSet><Product>M7c</Prod") << "left for the user to look at";
    EXPECT_EQ (link.errors.size(), 3);
}

TEST_F (LibrarianGuiFiles, ImportingWhatIsNoPatchGroupOfTheM7cLeavesNothingBehind)
{
    writeGroupFile (folder, "Mine.xml", "Mine");
    makePage();
    const auto namesBefore = fileNames();

    const auto notXml = temp / "notes.xml";
    notXml.replaceWithText ("just some text");
    const auto otherProduct = temp / "other.xml";
    otherProduct.replaceWithText (writeGroupFile (temp.get(), "tmp.xml", "X").loadFileAsString().replace ("M7c", "M5"));
    const auto noPatches = temp / "empty.xml";
    noPatches.replaceWithText ("<PatchSet><Product>M7c</Product><Name>Empty</Name><Patches/></PatchSet>");

    for (const auto& file : { notXml, otherProduct, noPatches, temp / "missing.xml" })
    {
        link.errors.clear();
        link.openChoice = file;
        chooseInWizard (true);
        clickButton (SectionLibrarian::groupImportExportButton);
        EXPECT_EQ (link.errors, juce::StringArray ("Patch group import error.")) << file.getFileName();
        EXPECT_EQ (store.getNumGroups(), 1) << file.getFileName();
        EXPECT_EQ (fileNames(), namesBefore) << file.getFileName();
    }
}

TEST_F (LibrarianGuiFiles, AnImportedGroupIsCopiedIntoTheFolderUnderANewGroupsName)
{
    writeGroupFile (folder, "Mine.xml", "Mine");
    auto& p = makePage();

    // A shipped-style group (every patch with keywords) whose name would climb out of the folder.
    const auto outside = temp / "elsewhere";
    outside.createDirectory();
    const auto source = writeGroupFile (outside, "gig.xml", "../../../etc/Gig Set", 40, true);
    link.openChoice = source;
    chooseInWizard (true);
    clickButton (SectionLibrarian::groupImportExportButton);

    EXPECT_TRUE (link.errors.isEmpty()) << link.errors.joinIntoString ("|");
    ASSERT_EQ (store.getNumGroups(), 2);
    auto& imported = group (1);
    EXPECT_EQ (imported.Name, "../../../etc/Gig Set");
    EXPECT_EQ (imported.path, folder.getChildFile ("New Patch Group 001.xml"));
    EXPECT_EQ (bytesOf (imported.path), bytesOf (source)) << "the file's own bytes, keywords and all";
    EXPECT_TRUE (imported.allKeyworded);
    EXPECT_EQ (imported.count, 40);
    EXPECT_FALSE ((temp / "etc").exists());
    EXPECT_EQ (p.getGroupTable().getCellText (1, 0), "../../../etc/Gig Set");
    EXPECT_NE (std::find (link.posted.begin(), link.posted.end(), 0x01), link.posted.end());

    // It reads back the same at the next start, protected as it came.
    PatchManager again;
    again.setFolder (folder);
    again.loadAll();
    ASSERT_EQ (again.getNumGroups(), 2);
    EXPECT_EQ (again.getGroup (1)->Name, "../../../etc/Gig Set");
    EXPECT_TRUE (again.getGroup (1)->allKeyworded);
}

TEST_F (LibrarianGuiFiles, AnImportThatCannotBeWrittenLeavesNoGroup)
{
    writeGroupFile (folder, "Mine.xml", "Mine");
    makePage();
    const auto namesBefore = fileNames();

    // An import larger than a new group's file: the new group is made, its copy fails.
    PatchSet fresh;
    const auto probe = temp / "fresh.xml";
    ASSERT_TRUE (GroupFiles::writeGroup (fresh, probe));
    const auto big = temp / "big.xml";
    ASSERT_TRUE (big.replaceWithText (writeGroupFile (temp.get(), "src.xml", "Big").loadFileAsString()
                                      + "<!-- " + juce::String::repeatedString ("padding ", 40000) + "-->"));
    link.openChoice = big;
    {
        oxatest::ScopedFileSizeLimit fullDisk (probe.getSize() + 2000);
        chooseInWizard (true);
        clickButton (SectionLibrarian::groupImportExportButton);
    }
    EXPECT_EQ (link.errors, juce::StringArray ("File error."));
    EXPECT_EQ (store.getNumGroups(), 1);
    EXPECT_EQ (fileNames(), namesBefore) << "the new group's file went with it";

    // A disk too full for the new group's file at all.
    link.errors.clear();
    {
        oxatest::ScopedFileSizeLimit fullDisk (4096);
        chooseInWizard (true);
        clickButton (SectionLibrarian::groupImportExportButton);
    }
    EXPECT_EQ (link.errors, juce::StringArray ("File error."));
    EXPECT_EQ (store.getNumGroups(), 1);
    EXPECT_EQ (fileNames(), namesBefore);
}

TEST_F (LibrarianGuiFiles, ExportsSuggestANameInTheDocumentsFolderAndReadBack)
{
    writeGroupFile (folder, "Mine.xml", "Live/Set: 2");
    auto& p = makePage();
    clickPatch (8);

    link.saveChoice = temp / "exported.xml";
    chooseInWizard (false);
    clickButton (SectionLibrarian::groupImportExportButton);
    ASSERT_EQ (link.saveInitials.size(), 1);
    EXPECT_EQ (juce::File (link.saveInitials[0]), getDocumentsFolder().getChildFile ("LiveSet 2.xml"));
    const auto exported = reread (link.saveChoice);
    EXPECT_EQ (exported->Name, "Live/Set: 2");
    EXPECT_TRUE (exported->patches[8].edit.sameContentAs (group (0).patches[8].edit));

    link.saveChoice = temp / "one.xmp";
    chooseInWizard (false);
    clickButton (SectionLibrarian::patchImportExportButton);
    EXPECT_EQ (juce::File (link.saveInitials[1]), getDocumentsFolder().getChildFile ("P08.xmp"));
    PatchData single;
    EXPECT_TRUE (single.readPatchFile (parseXmlFile (link.saveChoice).get()));
    EXPECT_TRUE (single.edit.sameContentAs (group (0).patches[8].edit));

    // A write that fails is told.
    link.saveChoice = temp / "no-such-folder/x.xmp";
    chooseInWizard (false);
    clickButton (SectionLibrarian::patchImportExportButton);
    EXPECT_EQ (link.errors, juce::StringArray ("File error."));
    juce::ignoreUnused (p);
}

TEST_F (LibrarianGuiFiles, APatchFileReplacesTheSelectedPatchAndAnythingElseIsRefused)
{
    const auto file = writeGroupFile (folder, "Mine.xml", "Mine");
    auto& p = makePage();
    clickPatch (9);

    const auto group2 = writeGroupFile (temp.get(), "notapatch.xmp", "Group");
    link.openChoice = group2;
    chooseInWizard (true);
    clickButton (SectionLibrarian::patchImportExportButton);
    EXPECT_EQ (link.errors, juce::StringArray ("Patch import error."));
    EXPECT_EQ (group (0).patches[9].getName(), "P09");

    PatchData incoming;
    incoming.setName ("Import");
    for (int i = 0; i < EditBuf::numParams; ++i)
        incoming.edit.params[i] = 7;
    juce::XmlElement root ("PatchData");
    incoming.writePatchFile (&root);
    const auto xmp = temp / "in.xmp";
    ASSERT_TRUE (writeXmlDocument (xmp, root));
    link.openChoice = xmp;
    link.sent.clear();
    chooseInWizard (true);
    clickButton (SectionLibrarian::patchImportExportButton);

    EXPECT_EQ (link.errors.size(), 1);
    EXPECT_EQ (group (0).patches[9].getName(), "Import");
    EXPECT_EQ (group (0).patches[9].index, 9);
    EXPECT_EQ (reread (file)->patches[9].getName(), "Import");
    EXPECT_EQ (p.getPatchTable().getCellText (4, 1), "Import");
    ASSERT_FALSE (link.sent.empty());
    EXPECT_EQ (link.sent.back().name, "Import") << "the imported patch becomes the current one";
}

TEST_F (LibrarianGuiFiles, ABackupIsNamedAfterItsSecondAndNeverOverwritesAnother)
{
    writeGroupFile (folder, "Mine.xml", "Mine");
    auto& p = makePage();
    ASSERT_TRUE (store.saveOrder());
    p.setClock ([] { return juce::Time (2024, 2, 5, 14, 7, 9, 0, true); });   // months count from 0
    link.backup = [] (PatchSet& set)
    {
        for (int i = 0; i < 100; ++i)
            set.patches[(size_t) i].setName ("Dev" + juce::String (i));
        return true;
    };

    chooseInWizard (true);
    clickButton (SectionLibrarian::backupRestoreButton);
    const auto first = folder.getChildFile ("20240305_140709.xml");
    ASSERT_TRUE (first.existsAsFile());
    EXPECT_EQ (reread (first)->Name, "20240305_140709");
    EXPECT_EQ (reread (first)->patches[42].getName(), "Dev42");
    ASSERT_EQ (store.getNumGroups(), 2) << "the store was read again";
    EXPECT_EQ (group (1).Name, "20240305_140709") << "after the groups the order file names";
    const auto firstBytes = bytesOf (first);

    chooseInWizard (true);
    clickButton (SectionLibrarian::backupRestoreButton);
    EXPECT_EQ (bytesOf (first), firstBytes);
    EXPECT_TRUE (folder.getChildFile ("20240305_140709-2.xml").existsAsFile());
    EXPECT_EQ (store.getNumGroups(), 3);

    // A failed backup writes nothing but still reads the store again.
    link.backup = [] (PatchSet&) { return false; };
    const auto names = fileNames();
    auto* old = &group (0);
    juce::ignoreUnused (old);
    chooseInWizard (true);
    clickButton (SectionLibrarian::backupRestoreButton);
    EXPECT_EQ (fileNames(), names);
    EXPECT_EQ (store.getNumGroups(), 3);
    EXPECT_EQ (p.getGroupTable().getRowCount(), 3);
}

TEST_F (LibrarianGuiFiles, RestoreSendsACopyOfTheGroupTheUserSelected)
{
    writeGroupFile (folder, "A.xml", "Alpha", 50, true);
    writeGroupFile (folder, "B.xml", "Beta");
    makePage();
    clickGroup (0);

    link.confirmAnswer = false;
    chooseInWizard (false);
    clickButton (SectionLibrarian::backupRestoreButton);
    EXPECT_TRUE (link.restored.empty());

    // While the question is open the store is read again and its order turned round.
    link.confirmAnswer = true;
    link.duringDialog = [this]
    {
        store.moveGroup (0, 1);
        store.loadAll();
        page().refresh();
    };
    chooseInWizard (false);
    clickButton (SectionLibrarian::backupRestoreButton);
    ASSERT_EQ (link.restored.size(), 1u);
    EXPECT_EQ (link.restored[0].size(), 50u) << "a protected group of 50 restores 50";
    EXPECT_EQ (link.restored[0][3].getName(), "P03");
    EXPECT_EQ (link.requests.back().param1, 50);
    for (int i = 0; i < store.getNumGroups(); ++i)
        EXPECT_NE (link.restoredSets[0], store.getGroup (i)) << "the transfer thread reads a copy";
}

TEST_F (LibrarianGuiFiles, EraseAfterItsQuestionHitsTheGroupTheUserSelectedEvenWhenTheStoreChanged)
{
    writeGroupFile (folder, "A.xml", "Alpha");
    writeGroupFile (folder, "B.xml", "Beta");
    makePage();
    clickGroup (1);
    clickPatch (2);

    // The store is reloaded (every group object replaced) and reordered meanwhile: row 1 is now Alpha.
    link.duringDialog = [this]
    {
        store.moveGroup (1, 0);
        store.loadAll();
        page().refresh();
    };
    clickButton (SectionLibrarian::eraseButton);

    EXPECT_EQ (reread (folder.getChildFile ("B.xml"))->patches[2].getName(), "No Name");
    EXPECT_EQ (reread (folder.getChildFile ("A.xml"))->patches[2].getName(), "P02");
    EXPECT_EQ (page().getSelectedGroup()->Name, "Beta");
}

TEST_F (LibrarianGuiFiles, DeletingAGroupThatWentWhileTheQuestionWasOpenDeletesNothingElse)
{
    writeGroupFile (folder, "A.xml", "Alpha");
    writeGroupFile (folder, "B.xml", "Beta");
    writeGroupFile (folder, "C.xml", "Gamma");
    makePage();
    clickGroup (2);

    link.duringDialog = [this]
    {
        store.deleteGroup (store.getGroup (2));
        page().refresh();
    };
    clickButton (SectionLibrarian::deleteButton);

    EXPECT_EQ (store.getNumGroups(), 2);
    EXPECT_TRUE (folder.getChildFile ("A.xml").existsAsFile());
    EXPECT_TRUE (folder.getChildFile ("B.xml").existsAsFile());
    EXPECT_LT (page().getGroupTable().getSelectedRow(), 2);
}

TEST_F (LibrarianGuiFiles, SaveAsStoresTheSoundUnderTheSelectedPatchsNameWhereTheUserChose)
{
    writeGroupFile (folder, "A.xml", "Shipped", 100, true);
    writeGroupFile (folder, "B.xml", "Mine");
    writeGroupFile (folder, "C.xml", "Other");
    auto& p = makePage();
    clickGroup (0);
    clickPatch (5);
    for (int i = 0; i < EditBuf::numParams; ++i)
        link.project.editBuffer.params[i] = 11;

    // In the dialog: the protected group's SAVE is refused even when pressed.
    bool refused = false, enabledAfter = false;
    whenOpen<StoreAs> ([&] (StoreAs& dialog)
    {
        refused = ! dialog.getSaveButton().isEnabled();
        dialog.getSaveButton().setEnabled (true);
        dialog.getSaveButton().triggerClick();
        // The button shows itself pressed for 100 ms; a click meanwhile is not one.
        oxatest::pumpMessagesUntil ({}, 250);
        EXPECT_FALSE (dialog.isAccepted()) << "a protected group takes nothing";

        auto& groups = dialog.getGroupTable();
        uitest::clickThroughPeer (groups, groups.getCellBounds (1, 0).getCentre());
        enabledAfter = dialog.getSaveButton().isEnabled();
        auto& patches = dialog.getPatchTable();
        uitest::clickThroughPeer (patches, patches.getCellBounds (2, 1).getCentre());   // A7
        pressSave (dialog);
    });
    clickButton (SectionLibrarian::saveAsButton);

    EXPECT_TRUE (refused);
    EXPECT_TRUE (enabledAfter);
    auto& stored = group (1).patches[7];
    EXPECT_EQ (stored.getName(), "P05") << "the name of the patch that was selected";
    EXPECT_EQ (stored.edit.params[40], 11);
    EXPECT_EQ (reread (folder.getChildFile ("B.xml"))->patches[7].edit.params[40], 11);
    EXPECT_EQ (p.getSelectedGroup(), &group (1));
    EXPECT_EQ (p.getSelectedPatchIndex(), 7);
    EXPECT_EQ (link.sent.back().params[40], 11) << "the stored patch is the current one";
}

TEST_F (LibrarianGuiFiles, SaveAsIntoAGroupThatWentWhileTheDialogWasOpenWritesNothing)
{
    writeGroupFile (folder, "A.xml", "Alpha");
    writeGroupFile (folder, "B.xml", "Beta");
    makePage();
    clickGroup (0);
    const auto alphaBefore = bytesOf (folder.getChildFile ("A.xml"));

    whenOpen<StoreAs> ([this] (StoreAs& dialog)
    {
        auto& groups = dialog.getGroupTable();
        uitest::clickThroughPeer (groups, groups.getCellBounds (1, 0).getCentre());
        pressSave (dialog);
        EXPECT_TRUE (dialog.isAccepted());
        // Before the dialog's loop returns, the chosen group goes and the store is read again.
        store.deleteGroup (store.getGroup (1));
        store.loadAll();
        page().refresh();
    });
    clickButton (SectionLibrarian::saveAsButton);
    settle();

    ASSERT_EQ (store.getNumGroups(), 1);
    EXPECT_FALSE (folder.getChildFile ("B.xml").exists()) << "not made again";
    EXPECT_EQ (bytesOf (folder.getChildFile ("A.xml")), alphaBefore);
    EXPECT_EQ (page().getSelectedGroup(), &group (0));
}
