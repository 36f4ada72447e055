// The librarian page in the program's window, against the virtual M7c wired in
// process: a full backup and restore of 100 patches through the page with its
// progress window, a cancelled backup, and the screenshots for review.
#include "../app/GuiWindowTestSupport.h"
#include "LibrarianTestSupport.h"
#include "../device/DeviceCable.h"

#include "app/GuiMain.h"
#include "app/SectionTab.h"
#include "device/SysExCodec.h"

using namespace T730;

namespace
{
class LibrarianGuiWindow : public apptest::MainWindowFixture
{
protected:
    void SetUp() override
    {
        // The shipped groups, as a first run puts them in place.
        const auto groups = sandbox.folder (UserFolder::patchgroup);
        groups.createDirectory();
        for (const auto& file : oxatest::stageFolder().getChildFile ("patchgroupM7").findChildFiles (juce::File::findFiles, false))
            ASSERT_TRUE (file.copyFileTo (groups.getChildFile (file.getFileName())));
        apptest::MainWindowFixture::SetUp();
        settle();
    }

    SectionLibrarian& page() { return gui().getTabSection().getLibrarianPage(); }
    PatchManager& store() { return *controller().getPatchManager(); }
    juce::File groupFolder() { return sandbox.folder (UserFolder::patchgroup); }

    void showLibrarian()
    {
        auto& tab = gui().getTabSection().getTab (1);
        uitest::clickThroughPeer (tab, { tab.getWidth() / 2, 20 });
        settle();
        ASSERT_EQ (gui().getTabSection().getCurrentPage(), &page());
    }

    void click (juce::Component& c, juce::Point<int> at) { uitest::clickThroughPeer (c, at); }

    void clickButton (SectionLibrarian::ButtonId id)
    {
        auto& button = page().getButton (id);
        click (button, { button.getWidth() / 2, button.getHeight() / 2 });
    }

    void clickCell (EditableTable& table, int row, int column)
    {
        if (! juce::Rectangle<int> (table.getViewWidth(), table.getViewHeight()).contains (table.getCellBounds (row, column)))
            libtest::bringIntoView (table, row, column);
        click (table, table.getCellBounds (row, column).getCentre());
    }

    int rowOf (const juce::String& name)
    {
        for (int i = 0; i < store().getNumGroups(); ++i)
            if (store().getGroup (i)->Name == name)
                return i;
        return -1;
    }

    /** Inside the next progress window: tells that it came up, and closes it when asked. */
    void whenProgressShown (bool* seen, bool closeIt)
    {
        uitest::whenModal ([] { return findProgressWindow() != nullptr; },
                           [seen, closeIt]
                           {
                               if (auto* window = findProgressWindow())
                               {
                                   *seen = true;
                                   if (closeIt)
                                       window->closeButtonPressed();
                               }
                           }, 10000);
    }

    static juce::DialogWindow* findProgressWindow()
    {
        auto* window = dynamic_cast<juce::DialogWindow*> (juce::Component::getCurrentlyModalComponent());
        return window != nullptr && window->getName() == "Processing..." ? window : nullptr;
    }

    static SysEx::PatchRecord recordOf (const EditBuf& buffer)
    {
        return SysEx::encodeRecord (buffer.params, buffer.name.toStdString());
    }
};
} // namespace

TEST_F (LibrarianGuiWindow, AFullBackupAndRestoreOfAHundredPatchesGoesThroughThePage)
{
    m7c::VirtualM7c device;
    device.fillWithTestPatches (11);
    std::vector<m7c::PatchFields> original;
    for (int i = 0; i < 100; ++i)
        original.push_back (device.getPatch (i));
    oxatest::DeviceCable cable (device, *controller().getMidi());
    showLibrarian();
    const int groupsBefore = store().getNumGroups();
    const auto filesBefore = groupFolder().findChildFiles (juce::File::findFiles, false, "*.xml").size();

    // BACKUP: the wizard's upper button, then the progress window until every patch is in.
    bool progressShown = false;
    libtest::chooseInWizard (true);
    uitest::whenModal ([] { return findProgressWindow() != nullptr; }, [&progressShown] { progressShown = true; }, 10000);
    clickButton (SectionLibrarian::backupRestoreButton);
    settle();

    EXPECT_TRUE (progressShown);
    EXPECT_TRUE (errors.shown.isEmpty()) << errors.shown.joinIntoString ("|");
    ASSERT_EQ (store().getNumGroups(), groupsBefore + 1);
    EXPECT_EQ (groupFolder().findChildFiles (juce::File::findFiles, false, "*.xml").size(), filesBefore + 1);
    auto* backup = store().getGroup (store().getNumGroups() - 1);
    EXPECT_TRUE (backup->Name.matchesWildcard ("????????_??????", false)) << backup->Name;
    EXPECT_EQ (backup->path.getFileName(), backup->Name + ".xml");
    EXPECT_EQ (backup->path.getParentDirectory(), groupFolder());
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ (recordOf (backup->patches[(size_t) i].edit), SysEx::encodeRecord (original[(size_t) i].params.data(),
                                                                                    original[(size_t) i].name)) << i;

    // Wipe the device, select the backup, RESTORE it (confirmed).
    for (int i = 0; i < 100; ++i)
        device.setPatch (i, m7c::PatchFields {});
    const int row = rowOf (backup->Name);
    ASSERT_GE (row, 0);
    clickCell (page().getGroupTable(), row, 0);
    ASSERT_EQ (page().getSelectedGroup(), backup);

    progressShown = false;
    dialogs.confirmAnswer = true;
    libtest::chooseInWizard (false);
    uitest::whenModal ([] { return findProgressWindow() != nullptr; }, [&progressShown] { progressShown = true; }, 10000);
    clickButton (SectionLibrarian::backupRestoreButton);
    device.waitUntilIdle();
    settle();

    EXPECT_TRUE (progressShown);
    EXPECT_TRUE (dialogs.questions.contains ("Are you sure?"));
    EXPECT_TRUE (errors.shown.isEmpty()) << errors.shown.joinIntoString ("|");
    for (int i = 0; i < 100; ++i)
    {
        const auto restored = device.getPatch (i);
        ASSERT_EQ (SysEx::encodeRecord (restored.params.data(), restored.name), recordOf (backup->patches[(size_t) i].edit)) << i;
    }
    EXPECT_EQ (device.getReceivedCommands().back(), SysEx::Command::endOfData);
}

TEST_F (LibrarianGuiWindow, ACancelledBackupWritesNoFile)
{
    m7c::VirtualM7c device;
    device.fillWithTestPatches (4);
    m7c::VirtualM7c::Faults slow;
    slow.delayMs = 25;   // long enough to be closed on the way
    device.setFaults (slow);
    oxatest::DeviceCable cable (device, *controller().getMidi());
    showLibrarian();
    const auto filesBefore = groupFolder().findChildFiles (juce::File::findFiles, false, "*.xml");
    const int groupsBefore = store().getNumGroups();

    bool progressShown = false;
    libtest::chooseInWizard (true);
    whenProgressShown (&progressShown, true);
    clickButton (SectionLibrarian::backupRestoreButton);
    device.waitUntilIdle();
    settle();

    EXPECT_TRUE (progressShown);
    ASSERT_EQ (errors.shown.size(), 1);
    EXPECT_TRUE (errors.shown[0].startsWith ("Error occurred during backup/restore process.")) << errors.shown[0];
    EXPECT_EQ (groupFolder().findChildFiles (juce::File::findFiles, false, "*.xml"), filesBefore);
    EXPECT_EQ (store().getNumGroups(), groupsBefore) << "the store was read again and found nothing new";
}

TEST_F (LibrarianGuiWindow, ScreenshotsOfThePageTheChoosersAndTheSaveAsDialog)
{
    showLibrarian();
    auto& p = page();
    ASSERT_GE (store().getNumGroups(), 3);
    EXPECT_EQ (p.getGroupTable().getCellText (0, 0), "Factory Tones");

    // The factory groups with a patch selected in the second column.
    clickCell (p.getPatchTable(), 2, 1);
    settle (100);
    EXPECT_EQ (p.getSelectedPatchIndex(), 7);
    const auto shot = uitest::snapshot (p);
    EXPECT_EQ (shot.getWidth(), 300);
    EXPECT_EQ (shot.getHeight(), 313);
    EXPECT_TRUE (uitest::writeScreenshot (shot, "librarian"));
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, shot.getBounds(), 2), "librarian-zoomed"));
    EXPECT_TRUE (uitest::writeScreenshot (uitest::snapshot (*window), "librarian-window"));

    // Each chooser, photographed inside its modal loop and then closed with escape.
    const struct
    {
        SectionLibrarian::ButtonId button;
        const char* name;
    } wizards[] = { { SectionLibrarian::groupImportExportButton, "wizard-patch-group" },
                    { SectionLibrarian::backupRestoreButton, "wizard-backup" },
                    { SectionLibrarian::patchImportExportButton, "wizard-patch" } };

    for (const auto& w : wizards)
    {
        bool taken = false;
        const juce::String name (w.name);
        libtest::whenOpen<SL_ModalWindow> ([&taken, name] (SL_ModalWindow& wizard)
        {
            auto* holder = wizard.getTopLevelComponent();
            taken = uitest::writeScreenshot (uitest::snapshot (*holder), name)
                    && uitest::writeScreenshot (uitest::zoomed (uitest::snapshot (*holder), holder->getLocalBounds(), 3),
                                                name + "-zoomed");
            holder->exitModalState (0);
        });
        clickButton (w.button);
        EXPECT_TRUE (taken) << name;
    }

    // SAVE AS on a protected group's patch: the dialog opens on it with SAVE refused.
    bool taken = false, saveRefused = false;
    libtest::whenOpen<StoreAs> ([&] (StoreAs& dialog)
    {
        saveRefused = ! dialog.getSaveButton().isEnabled();
        // The user picks the unprotected group's fourth patch.
        auto& groups = dialog.getGroupTable();
        uitest::clickThroughPeer (groups, groups.getCellBounds (2, 0).getCentre());
        auto& patches = dialog.getPatchTable();
        uitest::clickThroughPeer (patches, patches.getCellBounds (3, 0).getCentre());
        oxatest::pumpMessagesUntil ({}, 60);
        auto* holder = dialog.getTopLevelComponent();
        taken = uitest::writeScreenshot (uitest::snapshot (*holder), "store-as");
        uitest::clickThroughPeer (dialog.getCancelButton(), { 40, 22 });
    });
    clickButton (SectionLibrarian::saveAsButton);
    EXPECT_TRUE (taken);
    EXPECT_TRUE (saveRefused) << "the dialog opened on a protected group";
}
