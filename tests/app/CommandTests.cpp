// The menu commands on the controller's parts: the table, the enabling rules,
// the file dialogs' use, and the faults around them.
#include <gtest/gtest.h>

#include "ToolSetTestSupport.h"
#include "app/AppSetting.h"
#include "app/ControllerCommands.h"
#include "app/ControllerRequests.h"
#include "app/FileDialogs.h"
#include "app/ToolSetOperations.h"
#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "ui/T730LookAndFeel.h"
#include "ui/UiTestSupport.h"

using namespace T730;
namespace C = CommandIDs;

namespace
{
struct AppCommands : public ::testing::Test, public MementoOriginator<Project>
{
    AppCommands()
    {
        parts.controller = &controller;
        parts.settings = &settings;
        parts.project = &project;
        parts.undoKeeper = &keeper;
        parts.busy = &busy;
        parts.devicePresent = &devicePresent;
        parts.engine = &engine;
        parts.enterBusySection = [this] { ++busyDepth; ++busyEntered; };
        parts.leaveBusySection = [this] { --busyDepth; };
        keeper.reset();
        commands.hooks.demoList = [this] { return demos; };
        commands.hooks.quit = [this] { ++quits; };
    }

    std::unique_ptr<Project> createMemento() override { return std::make_unique<Project> (project); }
    void setMemento (std::unique_ptr<Project> s) override { project.reset(); project = *s; }

    juce::File toolsets() const { return sandbox.folder ("toolsets"); }

    juce::ApplicationCommandInfo info (int id) const
    {
        juce::ApplicationCommandInfo result (id);
        commands.getCommandInfo (id, result);
        return result;
    }

    bool active (int id) const { return (info (id).flags & juce::ApplicationCommandInfo::isDisabled) == 0; }
    bool ticked (int id) const { return (info (id).flags & juce::ApplicationCommandInfo::isTicked) != 0; }

    /** A tool set on the disk: its folder with one file and its document. */
    juce::File makeToolSet (const juce::String& name, const juce::String& toolSetName)
    {
        const auto folder = toolsets().getChildFile (name);
        folder.createDirectory();
        folder.getChildFile ("Audio1.wav").replaceWithText ("take");
        Project p;
        p.Name = toolSetName;
        juce::XmlElement root (Project::rootTag);
        p.write (&root);
        Project::getDocumentFile (folder).replaceWithText (root.toString());
        return folder;
    }

    oxatest::UserDataSandbox sandbox;
    oxatest::ShownErrors errors;
    oxatest::ScriptedDialogs dialogs;
    oxatest::RecordingController controller;
    oxatest::FakeEngine engine;
    AppSetting settings;
    Project project;
    MementoCareTaker<Project> keeper { *this };
    bool busy = false, devicePresent = true;
    int busyDepth = 0, busyEntered = 0, quits = 0;
    juce::Array<juce::File> demos;
    ControllerParts parts;
    ToolSetOperations toolSet { parts };
    ControllerRequests requests { parts, toolSet };
    ControllerCommands commands { parts, toolSet, requests };
};
} // namespace

TEST_F (AppCommands, TheTableNamesKeysAndMenusOfEveryCommand)
{
    demos = { toolsets().getChildFile ("1970 BLUES ROCK.xml"), toolsets().getChildFile ("Mine.xml") };
    juce::Array<juce::CommandID> ids;
    commands.getAllCommands (ids);
    const juce::Array<juce::CommandID> expected { 0x2000, 0x2001, 0x2002, 0x2003, 0x2040, 0x2041, 0x2048, 0x2004,
                                                  0x2005, 0x2010, 0x2011, 0x201f, 0x2020, 0x2021, 0x2022, 0x2023,
                                                  0x2030, 0x2100, 0x2101 };
    EXPECT_EQ (ids, expected);

    const struct { int id; const char* name; const char* menu; int key; } rows[] = {
        { 0x2000, "New", "File", 'n' }, { 0x2001, "Open", "File", 'o' }, { 0x2002, "Save", "File", 's' },
        { 0x2003, "Save As", "File", 'a' }, { 0x2040, "Tool Set", "File", 0 }, { 0x2041, "Rhythm", "File", 0 },
        { 0x2048, "Tool Set", "File", 0 }, { 0x2004, "Mix Down", "File", 'm' }, { 0x2005, "Exit", "File", 'q' },
        { 0x2010, "Undo", "Edit", 'z' }, { 0x2011, "Redo", "Edit", 'y' }, { 0x2021, "Auto Run", "Device", 'r' },
        { 0x2023, "Drummer & Bassist", "Device", 'd' }, { 0x2022, "CPU Meter", "Device", 'p' },
        { 0x201f, "Connect", "Device", 'e' }, { 0x2020, "Connection setting", "Device", 't' },
        { 0x2030, "Version", "Help", 'v' }, { 0x2100, "1970 BLUES ROCK", "File", 0 }, { 0x2101, "Mine", "File", 0 },
    };
    for (const auto& row : rows)
    {
        const auto i = info (row.id);
        EXPECT_EQ (i.shortName, row.name) << row.id;
        EXPECT_EQ (i.categoryName, row.menu) << row.id;
        EXPECT_TRUE (i.description.isEmpty()) << row.id;
        if (row.key == 0)
        {
            EXPECT_TRUE (i.defaultKeypresses.isEmpty()) << row.id;
        }
        else
        {
            ASSERT_EQ (i.defaultKeypresses.size(), 1) << row.id;
            EXPECT_EQ (i.defaultKeypresses[0], juce::KeyPress (row.key, juce::ModifierKeys::ctrlModifier, 0)) << row.id;
        }
    }

    EXPECT_FALSE (commands.perform (0x2102)) << "no third demo";
    EXPECT_FALSE (commands.perform (0x2999));
}

TEST_F (AppCommands, WhileBusyEveryCommandIsInactiveAndAutoRunShowsNoTick)
{
    settings.EasyBoot = true;
    settings.Character = true;
    keeper.record();
    keeper.record();
    demos = { toolsets().getChildFile ("1965 LIVERPOOL.xml") };
    commands.hooks.mixDown = [] (const juce::File&) {};

    EXPECT_TRUE (ticked (C::autoRun));
    busy = true;

    juce::Array<juce::CommandID> ids;
    commands.getAllCommands (ids);
    for (auto id : ids)
        EXPECT_FALSE (active (id)) << juce::String::toHexString ((int) id);
    EXPECT_FALSE (ticked (C::autoRun));
    EXPECT_TRUE (ticked (C::drummerBassist)) << "its tick follows the setting alone";
}

TEST_F (AppCommands, UndoNeedsMoreThanOneSnapshotAndRedoARedoStep)
{
    EXPECT_FALSE (active (C::undo)) << "one snapshot: the current state";
    EXPECT_FALSE (active (C::redo));
    EXPECT_FALSE (commands.perform (C::undo) && engine.stops > 0) << "nothing runs while inactive";
    EXPECT_EQ (busyEntered, 0);

    const auto before = project.Name;
    project.Name = "Edited";
    keeper.record();
    EXPECT_TRUE (active (C::undo));

    EXPECT_TRUE (commands.perform (C::undo));
    EXPECT_EQ (project.Name, before);
    EXPECT_FALSE (active (C::undo));
    EXPECT_TRUE (active (C::redo));
    EXPECT_EQ (busyDepth, 0);
    EXPECT_EQ (busyEntered, 1);

    EXPECT_TRUE (commands.perform (C::redo));
    EXPECT_EQ (project.Name, "Edited");
    EXPECT_FALSE (active (C::redo));
}

TEST_F (AppCommands, DeviceItemsFollowPresenceAudioAndSettings)
{
    bool audioOpen = false;
    std::vector<std::pair<bool, bool>> opened;
    commands.hooks.isAudioDeviceOpen = [&] { return audioOpen; };
    commands.hooks.openDeviceIO = [&] (bool open, bool withMidi) { opened.push_back ({ open, withMidi }); audioOpen = open; };

    EXPECT_TRUE (active (C::connect));
    EXPECT_FALSE (ticked (C::connect));
    devicePresent = false;
    EXPECT_FALSE (active (C::connect));
    devicePresent = true;

    EXPECT_TRUE (commands.perform (C::connect));
    EXPECT_TRUE (commands.perform (C::connect));
    ASSERT_EQ (opened.size(), 2u);
    EXPECT_EQ (opened[0], std::make_pair (true, false)) << "the MIDI port is left alone";
    EXPECT_EQ (opened[1], std::make_pair (false, false));

    EXPECT_FALSE (active (C::connectionSetting)) << "the audio is not ready";
    EXPECT_FALSE (active (C::mixDown)) << "no engine to mix down with";

    settings.EasyBoot = false;
    EXPECT_TRUE (commands.perform (C::autoRun));
    EXPECT_TRUE (settings.EasyBoot);

    bool players = true;
    commands.hooks.showPlayers = [&] (bool shown) { players = shown; };
    EXPECT_TRUE (commands.perform (C::drummerBassist));
    EXPECT_FALSE (settings.Character);
    EXPECT_FALSE (players);
    EXPECT_FALSE (ticked (C::drummerBassist));
}

TEST_F (AppCommands, NewKeepsOnlyTheAllowedCharactersOfTheChosenName)
{
    project.Name = "Old";
    dialogs.saveChoice = toolsets().getChildFile ("My?Set\\2 [live].xml");
    ASSERT_TRUE (commands.perform (C::fileNew));

    EXPECT_EQ (project.Name, "MySet2 [live]");
    const auto folder = toolsets().getChildFile ("My?Set\\2 [live]");
    EXPECT_TRUE (Project::getDocumentFile (folder).existsAsFile());
    EXPECT_EQ (settings.CurrentProject, folder.getFullPathName());
    EXPECT_FALSE (project.edited);
    EXPECT_EQ (keeper.getUndoCount(), 1);
    ASSERT_FALSE (dialogs.saveInitials.isEmpty());
    EXPECT_EQ (dialogs.saveInitials[0], toolsets().getChildFile ("NewToolSet.xml").getFullPathName());
    EXPECT_EQ (busyDepth, 0);
    EXPECT_GE (engine.stops, 1);
}

TEST_F (AppCommands, ANewNameWithoutAnyAllowedCharacterIsRefusedAndNothingChanges)
{
    const auto old = makeToolSet ("Old", "Old one");
    settings.CurrentProject = old.getFullPathName();
    project.Name = "Old one";
    dialogs.saveChoice = toolsets().getChildFile ("???.xml");

    ASSERT_TRUE (commands.perform (C::fileNew));
    ASSERT_EQ (errors.shown.size(), 1);
    EXPECT_TRUE (errors.shown[0].contains ("none of the characters"));
    EXPECT_EQ (project.Name, "Old one");
    EXPECT_EQ (settings.CurrentProject, old.getFullPathName());
    EXPECT_FALSE (toolsets().getChildFile ("???").exists());
}

TEST_F (AppCommands, ANewToolSetThatCannotBeSavedDoesNotTakeOverTheOldFolder)
{
    const auto old = makeToolSet ("Old", "Old one");
    settings.CurrentProject = old.getFullPathName();

    // A place nobody can write to, whatever the rights: below a plain file.
    const auto blocker = sandbox.root / "blocker";
    blocker.replaceWithText ("a file, not a folder");
    dialogs.saveChoice = blocker.getChildFile ("Fresh.xml");

    ASSERT_TRUE (commands.perform (C::fileNew));

    EXPECT_FALSE (errors.shown.isEmpty()) << "the save failure is shown";
    EXPECT_TRUE (settings.CurrentProject.isEmpty()) << "a later Save must not write the new tool set over the old one";

    // And so the next Save asks where to go instead.
    dialogs.saveChoice = juce::File();
    dialogs.saveInitials.clear();
    ASSERT_TRUE (commands.perform (C::fileSave));
    EXPECT_EQ (dialogs.saveInitials.size(), 1);
    EXPECT_TRUE (parseXmlFile (Project::getDocumentFile (old)) != nullptr);
    EXPECT_EQ (getElementText (parseXmlFile (Project::getDocumentFile (old)).get(), "Name"), "Old one");
}

TEST_F (AppCommands, SaveWithoutACurrentToolSetIsSaveAs)
{
    project.Name = "Unsaved";
    project.edited = true;
    dialogs.saveChoice = toolsets().getChildFile ("Named");

    ASSERT_TRUE (commands.perform (C::fileSave));
    ASSERT_EQ (dialogs.saveInitials.size(), 1) << "the Save As dialog was asked";
    EXPECT_EQ (dialogs.saveInitials[0], toolsets().getFullPathName());
    const auto folder = toolsets().getChildFile ("Named");
    EXPECT_TRUE (Project::getDocumentFile (folder).existsAsFile()) << "the extension is appended";
    EXPECT_EQ (settings.CurrentProject, folder.getFullPathName());
    EXPECT_FALSE (project.edited);

    // With a current tool set Save writes there without asking.
    project.edited = true;
    ASSERT_TRUE (commands.perform (C::fileSave));
    EXPECT_EQ (dialogs.saveInitials.size(), 1);
    EXPECT_FALSE (project.edited);
}

TEST_F (AppCommands, SaveAsCopiesTheFolderButNeverIntoItself)
{
    const auto current = makeToolSet ("Current", "Mine");
    settings.CurrentProject = current.getFullPathName();
    project.Name = "Mine";
    project.edited = true;

    // Inside its own folder: refused, nothing written there.
    dialogs.saveChoice = current.getChildFile ("Inner.xml");
    ASSERT_TRUE (commands.perform (C::fileSaveAs));
    ASSERT_EQ (errors.shown.size(), 1);
    EXPECT_EQ (errors.shown[0], ControllerCommands::insideOwnFolderText);
    EXPECT_FALSE (current.getChildFile ("Inner").exists());
    EXPECT_TRUE (project.edited);
    EXPECT_EQ (settings.CurrentProject, current.getFullPathName());
    EXPECT_EQ (dialogs.saveInitials[0], Project::getDocumentFile (current).getFullPathName());

    // Beside it: the folder's content comes along and the copy becomes current.
    dialogs.saveChoice = toolsets().getChildFile ("Copy.xml");
    ASSERT_TRUE (commands.perform (C::fileSaveAs));
    const auto copy = toolsets().getChildFile ("Copy");
    EXPECT_TRUE (copy.getChildFile ("Audio1.wav").existsAsFile());
    EXPECT_TRUE (Project::getDocumentFile (copy).existsAsFile());
    EXPECT_TRUE (current.getChildFile ("Audio1.wav").existsAsFile()) << "the original stays";
    EXPECT_EQ (settings.CurrentProject, copy.getFullPathName());
    EXPECT_FALSE (project.edited);
    EXPECT_EQ (errors.shown.size(), 1);
}

TEST_F (AppCommands, SaveAsIntoAnUnwritableFolderSaysSoAndKeepsTheEdits)
{
    project.edited = true;
    keeper.record();
    const auto blocker = sandbox.root / "blocker";
    blocker.replaceWithText ("a file, not a folder");
    dialogs.saveChoice = blocker.getChildFile ("Set.xml");

    ASSERT_TRUE (commands.perform (C::fileSaveAs));

    EXPECT_TRUE (errors.shown.contains ("File error."));
    EXPECT_TRUE (project.edited);
    EXPECT_EQ (keeper.getUndoCount(), 2);
    EXPECT_TRUE (settings.CurrentProject.isEmpty());
}

TEST_F (AppCommands, OpenOfADamagedToolSetShowsTheLoadErrorAndLogsIt)
{
    project.Name = "Kept";
    const auto damaged = toolsets().getChildFile ("Damaged.xml");
    damaged.replaceWithText ("<Project><Name>half");
    toolsets().getChildFile ("Damaged").createDirectory();
    dialogs.openChoice = damaged;

    ASSERT_TRUE (commands.perform (C::fileOpen));
    EXPECT_EQ (errors.shown, juce::StringArray ({ "Toolset load error." }));
    EXPECT_TRUE (errors.logged.contains ("Failed reading toolset file."));
    EXPECT_EQ (project.Name, "Kept");
    EXPECT_EQ (busyDepth, 0);

    // A good one opens and becomes current.
    const auto good = makeToolSet ("Good", "Good one");
    dialogs.openChoice = Project::getDocumentFile (good);
    ASSERT_TRUE (commands.perform (C::fileOpen));
    EXPECT_EQ (project.Name, "Good one");
    EXPECT_EQ (settings.CurrentProject, good.getFullPathName());
}

TEST_F (AppCommands, DeclinedDiscardQuestionsStopOpenNewDemoAndExit)
{
    project.edited = true;
    dialogs.confirmAnswer = false;
    dialogs.openChoice = Project::getDocumentFile (makeToolSet ("Other", "Other"));
    dialogs.saveChoice = toolsets().getChildFile ("Fresh.xml");
    demos = { Project::getDocumentFile (makeToolSet ("1983 UK ROCK", "Demo")) };
    project.Name = "Mine";

    for (int id : { (int) C::fileOpen, (int) C::fileNew, (int) C::demoFirst, (int) C::importToolSet })
        EXPECT_TRUE (commands.perform (id));
    EXPECT_FALSE (commands.perform (C::exit)) << "quitting was declined";
    EXPECT_EQ (quits, 0);
    EXPECT_EQ (project.Name, "Mine");
    EXPECT_EQ (dialogs.questions.size(), 5);
    EXPECT_TRUE (dialogs.saveInitials.isEmpty());
    EXPECT_EQ (busyEntered, 0);

    dialogs.confirmAnswer = true;
    EXPECT_TRUE (commands.perform (C::demoFirst));
    EXPECT_EQ (project.Name, "Demo");
    EXPECT_TRUE (commands.perform (C::exit));
    EXPECT_EQ (quits, 1);
}

TEST_F (AppCommands, ADemoThatDoesNotLoadIsReportedAndLogged)
{
    demos = { toolsets().getChildFile ("1999 LATIN ROCK.xml") };
    demos[0].replaceWithText ("not a tool set");
    project.Name = "Mine";

    ASSERT_TRUE (commands.perform (C::demoFirst));
    EXPECT_EQ (errors.shown, juce::StringArray ({ "Toolset load error." }));
    EXPECT_TRUE (errors.logged.contains ("Failed reading toolset file."));
    EXPECT_EQ (project.Name, "Mine");
}

TEST_F (AppCommands, ACommandArrivingWhileAnotherWaitsInItsDialogIsDropped)
{
    // The Save As dialog's modal loop delivers a posted Save click.
    struct Reentering : public oxatest::ScriptedDialogs
    {
        bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
        {
            ++asked;
            if (inner)
                innerResult = inner();
            return ScriptedDialogs::chooseFileToSave (initial, extension, chosen);
        }
        std::function<bool()> inner;
        bool innerResult = false;
        int asked = 0;
    } reentering;
    reentering.saveChoice = toolsets().getChildFile ("Once.xml");
    reentering.inner = [this] { return commands.perform (C::fileSaveAs); };
    parts.dialogs = &reentering;

    ASSERT_TRUE (commands.perform (C::fileSaveAs));
    EXPECT_EQ (reentering.asked, 1) << "the inner command did not open a second dialog";
    EXPECT_TRUE (reentering.innerResult);
    EXPECT_FALSE (commands.isRunning());
    EXPECT_EQ (busyDepth, 0);
    EXPECT_TRUE (Project::getDocumentFile (toolsets().getChildFile ("Once")).existsAsFile());
    parts.dialogs = nullptr;
}

TEST_F (AppCommands, ExportSuggestsTheToolSetNameOfAllowedCharactersInTheDocumentsFolder)
{
    dialogs.saveChoice = juce::File();
    ASSERT_TRUE (commands.perform (C::exportToolSet));
    ASSERT_EQ (dialogs.saveInitials.size(), 1);
    EXPECT_EQ (dialogs.saveInitials[0], getDocumentsFolder().getChildFile ("Default.ots").getFullPathName());

    settings.CurrentProject = makeToolSet ("Cur", "Live: at \"home\"?").getFullPathName();
    project.Name = "Live: at \"home\"?";
    ASSERT_TRUE (commands.perform (C::exportToolSet));
    EXPECT_EQ (dialogs.saveInitials[1], getDocumentsFolder().getChildFile ("Live at home.ots").getFullPathName());
}

TEST_F (AppCommands, MixDownTestsTheTargetBeforeTheEngineRuns)
{
    juce::File mixed;
    commands.hooks.mixDown = [&] (const juce::File& f) { mixed = f; EXPECT_EQ (busyDepth, 1); };

    const auto blocker = sandbox.root / "blocker";
    blocker.replaceWithText ("a file, not a folder");
    dialogs.saveChoice = blocker.getChildFile ("Jam.wav");
    ASSERT_TRUE (commands.perform (C::mixDown));
    EXPECT_EQ (errors.shown, juce::StringArray ({ "Backup/Restore error." }));
    EXPECT_EQ (mixed, juce::File());

    dialogs.saveChoice = sandbox.root / "Jam";
    ASSERT_TRUE (commands.perform (C::mixDown));
    EXPECT_EQ (mixed, sandbox.root / "Jam.wav");
    EXPECT_EQ (dialogs.saveInitials[0], getDocumentsFolder().getChildFile ("Default.wav").getFullPathName());
}

//==============================================================================
TEST (AppFileDialogs, TheExtensionIsAppendedBeforeAnExistingFileIsQuestioned)
{
    oxatest::TempFolder temp;
    const auto existing = temp / "Set.xml";
    existing.replaceWithText ("keep me");

    juce::StringArray asked, told;
    bool replace = false;
    const auto confirm = [&] (const juce::String& q) { asked.add (q); return replace; };
    const auto tell = [&] (const juce::String& t) { told.add (t); };

    // "Set" becomes "Set.xml", which exists: asked, and declined means choose again.
    auto chosen = temp / "Set";
    EXPECT_EQ (FileDialogs::checkSaveChoice (chosen, "xml", confirm, tell), FileDialogs::Verdict::chooseAgain);
    EXPECT_EQ (chosen, existing);
    ASSERT_EQ (asked.size(), 1);
    EXPECT_TRUE (asked[0].contains ("Set.xml"));
    EXPECT_EQ (existing.loadFileAsString(), "keep me");

    replace = true;
    chosen = temp / "Set";
    EXPECT_EQ (FileDialogs::checkSaveChoice (chosen, "xml", confirm, tell), FileDialogs::Verdict::accept);

    // A name that is new once the extension is on is not questioned; ".XML" is not ".xml".
    chosen = temp / "Set.XML";
    EXPECT_EQ (FileDialogs::checkSaveChoice (chosen, "xml", confirm, tell), FileDialogs::Verdict::accept);
    EXPECT_EQ (chosen.getFileName(), "Set.XML.xml");
    EXPECT_EQ (asked.size(), 2);

    // Nothing chosen; a folder that does not exist; a path over 260 characters.
    chosen = juce::File();
    EXPECT_EQ (FileDialogs::checkSaveChoice (chosen, "xml", confirm, tell), FileDialogs::Verdict::cancel);
    chosen = temp / "missing/Set";
    EXPECT_EQ (FileDialogs::checkSaveChoice (chosen, "xml", confirm, tell), FileDialogs::Verdict::chooseAgain);
    chosen = temp.get().getChildFile (juce::String::repeatedString ("a", 270));
    EXPECT_EQ (FileDialogs::checkSaveChoice (chosen, "xml", confirm, tell), FileDialogs::Verdict::chooseAgain);
    EXPECT_EQ (told.size(), 2);

    EXPECT_EQ (FileDialogs::checkOpenChoice (temp / "none.xml", tell), FileDialogs::Verdict::chooseAgain);
    EXPECT_EQ (FileDialogs::checkOpenChoice (existing, tell), FileDialogs::Verdict::accept);
    EXPECT_EQ (FileDialogs::checkOpenChoice ({}, tell), FileDialogs::Verdict::cancel);
}

TEST (AppGuiFileDialogs, TheSaveDialogIsTitledOXAToolsWithOneFilterAndStartsAtTheInitialFile)
{
    if (juce::FileChooser::isPlatformDialogAvailable())
        GTEST_SKIP() << "the desktop's own chooser (zenity or kdialog) runs as another program";

    T730::T730LookAndFeel lookAndFeel; // the program's look, as the main window sets it
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
    oxatest::TempFolder temp;
    const auto initial = temp / "NewToolSet.xml";
    temp.get().getChildFile ("1970 BLUES ROCK.xml").replaceWithText ("<Project/>");
    temp.get().getChildFile ("1970 BLUES ROCK").createDirectory();
    temp.get().getChildFile ("Sunday Jam.xml").replaceWithText ("<Project/>");
    const auto cwd = juce::File::getCurrentWorkingDirectory();

    juce::String title, verb;
    juce::StringArray texts;
    juce::File folder;
    juce::Image shot;
    uitest::whenModal ([] { return uitest::findShowingWindow<juce::FileChooserDialogBox>() != nullptr; }, [&]
    {
        auto* box = uitest::findShowingWindow<juce::FileChooserDialogBox>();
        ASSERT_NE (box, nullptr);
        title = box->getName();
        std::function<void (juce::Component&)> look = [&] (juce::Component& c)
        {
            if (auto* browser = dynamic_cast<juce::FileBrowserComponent*> (&c))
            {
                folder = browser->getRoot();
                verb = browser->getActionVerb();
            }
            if (auto* editor = dynamic_cast<juce::TextEditor*> (&c))
                texts.add (editor->getText());
            for (auto* child : c.getChildren())
                look (*child);
        };
        look (*box);
        shot = uitest::snapshot (*box);
        box->exitModalState (0);
    });

    juce::File chosen;
    EXPECT_FALSE (T730::FileDialogs::chooseFileToSave (initial, "xml", chosen)) << "cancelled";
    EXPECT_EQ (title, "OXA Tools");
    EXPECT_EQ (folder, temp.get());
    EXPECT_EQ (verb, "Save");
    EXPECT_TRUE (texts.contains ("NewToolSet.xml")) << texts.joinIntoString ("|");
    EXPECT_EQ (juce::File::getCurrentWorkingDirectory(), cwd) << "the process's folder is left alone";
    EXPECT_TRUE (uitest::writeScreenshot (shot, "file-dialog-save"));
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}
