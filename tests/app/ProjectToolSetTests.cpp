#include <gtest/gtest.h>

#include "ToolSetTestSupport.h"
#include "app/AppSetting.h"
#include "app/InstController.h"
#include "app/ArchiveImport.h"
#include "app/ToolSetOperations.h"
#include "app/ZIPDecompressionThread.h"
#include "documents/Archive.h"
#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "documents/SafeFileWriter.h"
#include "documents/PatchSet.h"

#include <csignal>
#include <sys/resource.h>

using namespace T730;

namespace
{
    struct AppToolSet : public ::testing::Test, public MementoOriginator<Project>
    {
        AppToolSet()
        {
            parts.controller = &controller;
            parts.settings = &settings;
            parts.project = &project;
            parts.undoKeeper = &keeper;
            keeper.reset();
            toolSet.runUnpacking = [] (ZIPDecompressionThread& t) { t.waitForThreadToExit (-1); };
            toolSet.workFolder = sandbox.root / "work";
        }

        std::unique_ptr<Project> createMemento() override { return std::make_unique<Project> (project); }
        void setMemento (std::unique_ptr<Project> s) override { project.reset(); project = *s; }

        juce::File toolSetFolder (const juce::String& name) const { return sandbox.folder ("toolsets").getChildFile (name); }

        /** An edit as the editor makes it: the change, then the snapshot, then the flag. */
        void edit (int value)
        {
            project.editBuffer.setParam (2, 2, value);
            keeper.record();
            project.edited = true;
        }

        oxatest::UserDataSandbox sandbox;
        oxatest::ShownErrors errors;
        oxatest::ScriptedDialogs dialogs;
        oxatest::RecordingController controller;
        AppSetting settings;
        Project project;
        MementoCareTaker<Project> keeper { *this };
        ControllerParts parts;
        ToolSetOperations toolSet { parts };
    };
} // namespace

TEST_F (AppToolSet, SaveThenLoadRoundTripsAndRestartsTheHistory)
{
    project.Name = "Blues Jam";
    project.PreCount = 2;
    project.demo = true;
    project.recorderFiles = juce::StringArray ("Rec0.xml");
    edit (44);

    const auto folder = toolSetFolder ("Blues");
    ASSERT_TRUE (toolSet.saveWithHistoryReset (folder));
    EXPECT_TRUE (folder.isDirectory());
    EXPECT_TRUE (folder.getSiblingFile ("Blues.xml").loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_EQ (settings.CurrentProject, folder.getFullPathName());
    EXPECT_FALSE (project.edited);
    EXPECT_FALSE (project.demo);
    EXPECT_FALSE (keeper.canUndo());

    // An edit after the save and its undo give back an unedited tool set.
    edit (45);
    keeper.undo();
    EXPECT_FALSE (project.edited);

    project.reset();
    project.edited = true;
    settings.CurrentProject = {};
    edit (1);
    ASSERT_TRUE (toolSet.loadToolSet (folder));
    EXPECT_EQ (project.Name, "Blues Jam");
    EXPECT_EQ (project.PreCount, 2);
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("Rec0.xml"));
    EXPECT_EQ (project.editBuffer.getParam (2, 2), 44);
    EXPECT_FALSE (project.edited);
    EXPECT_FALSE (keeper.canUndo());
    EXPECT_FALSE (keeper.canRedo());
    EXPECT_EQ (settings.CurrentProject, folder.getFullPathName());

    oxatest::pumpMessagesUntil ({}, 50);
    EXPECT_EQ (controller.updates, (std::vector<int> { 0xffff }));
}

TEST_F (AppToolSet, ControlCharactersInStoredTextsAreLeftOutAndEverythingElseReadsBack)
{
    // JUCE writes these as character references that no reader accepts: a name
    // holding one made the whole tool set (or settings file) unreadable.
    const juce::String forbidden = juce::String::charToString (0x01) + juce::String::charToString (0x1B)
                                   + juce::String::charToString (0xFFFE);
    project.Name = "Set" + forbidden + " One";
    project.PreCount = 3;

    const auto folder = toolSetFolder ("Controls");
    ASSERT_TRUE (toolSet.saveWithHistoryReset (folder));
    project.reset();
    ASSERT_TRUE (toolSet.loadToolSet (folder)) << "the saved tool set loads again";
    EXPECT_EQ (project.Name, "Set One");
    EXPECT_EQ (project.PreCount, 3);

    PatchSet group;
    group.Name = "Group" + forbidden;
    group.patches[0].edit.name = "P" + forbidden + "1";
    group.count = 1;
    juce::XmlElement groupRoot ("PatchSet");
    ASSERT_TRUE (group.write (&groupRoot));
    const auto groupFile = toolSetFolder ("ControlsGroup.xml");
    ASSERT_TRUE (writeXmlDocument (groupFile, groupRoot));
    PatchSet back;
    ASSERT_TRUE (back.read (parseXmlFile (groupFile).get())) << getLastXmlParseError();
    EXPECT_EQ (back.Name, "Group");
    EXPECT_EQ (back.patches[0].edit.name, "P1");

    AppSetting stored;
    stored.CurrentProject = "/home/a" + forbidden + "/Set";
    juce::XmlElement settingRoot (AppSetting::rootTag);
    ASSERT_TRUE (stored.write (&settingRoot));
    const auto settingFile = toolSetFolder ("ControlsSetting.xml");
    ASSERT_TRUE (writeXmlDocument (settingFile, settingRoot));
    AppSetting read;
    read.MasterLv = 1;
    ASSERT_TRUE (read.read (parseXmlFile (settingFile).get()));
    EXPECT_EQ (read.CurrentProject, "/home/a/Set");
    EXPECT_EQ (read.MasterLv, stored.MasterLv) << "the other keys were read too";
}

TEST_F (AppToolSet, DocumentsThatDoNotLoadLeaveTheToolSetIntact)
{
    project.Name = "Current";
    project.editBuffer.setParam (0, 0, 1);
    settings.CurrentProject = "kept";
    const Project before (project);

    const auto check = [&] (const juce::String& name, const juce::String& text)
    {
        const auto folder = toolSetFolder (name);
        folder.getSiblingFile (name + ".xml").replaceWithText (text);
        errors.shown.clear();
        errors.logged.clear();

        EXPECT_FALSE (toolSet.loadToolSet (folder)) << name;
        EXPECT_FALSE (toolSet.openToolSetDocument (folder.getSiblingFile (name + ".xml"))) << name;
        EXPECT_EQ (project.Name, "Current") << name;
        EXPECT_TRUE (project.editBuffer.sameContentAs (before.editBuffer)) << name;
        EXPECT_EQ (settings.CurrentProject, "kept") << name;
        EXPECT_TRUE (errors.logged.contains ("Failed reading toolset file.")) << name;
        EXPECT_EQ (errors.shown, juce::StringArray ("Toolset load error.")) << name;
    };

    check ("Broken", "<Project><Name>half");
    check ("WrongRoot", "<Setting><Name>Other</Name></Setting>");
    check ("OtherModel", "<Project><Name>Other</Name><VersionInfo>M9</VersionInfo></Project>");
    check ("Empty", "");

    EXPECT_FALSE (toolSet.loadToolSet (toolSetFolder ("Missing")));
    EXPECT_FALSE (toolSet.loadToolSet (juce::File()));
}

TEST_F (AppToolSet, SaveFailuresShowFileErrorAndKeepEditedAndHistory)
{
    // A folder that cannot exist: its parent is a regular file.
    const auto blocker = sandbox.root / "blocker";
    blocker.replaceWithText ("x");
    edit (3);
    const int undoCount = keeper.getUndoCount();

    EXPECT_FALSE (toolSet.saveWithHistoryReset (blocker.getChildFile ("Set")));
    EXPECT_TRUE (errors.shown.contains ("File error."));
    EXPECT_TRUE (project.edited);
    EXPECT_EQ (keeper.getUndoCount(), undoCount);
    EXPECT_EQ (settings.CurrentProject, "");

    // A write that fails half-way (the disk is full) keeps the saved document.
    const auto folder = toolSetFolder ("Kept");
    ASSERT_TRUE (toolSet.saveToolSet (folder));
    const auto saved = folder.getSiblingFile ("Kept.xml").loadFileAsString();
    edit (4);
    project.Name = juce::String::repeatedString ("long name ", 500);
    errors.shown.clear();

    bool written = true;
    {
        oxatest::ScopedFileSizeLimit fullDisk (1024);
        ASSERT_TRUE (fullDisk.isActive());
        written = toolSet.saveWithHistoryReset (folder);
    }

    EXPECT_FALSE (written);
    EXPECT_EQ (errors.shown, juce::StringArray ("File error."));
    EXPECT_EQ (folder.getSiblingFile ("Kept.xml").loadFileAsString(), saved);
    EXPECT_TRUE (project.edited);
    EXPECT_TRUE (keeper.canUndo());
}

TEST_F (AppToolSet, SaveStoresWhatTheItemsReportAndShowsTheirErrors)
{
    oxatest::FakeEngine engine;
    parts.engine = &engine;
    engine.rhythm = true;
    engine.recorders = 2;
    project.recorderFiles = juce::StringArray ("");

    const auto folder = toolSetFolder ("Items");
    ASSERT_TRUE (toolSet.saveToolSet (folder));
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("Recorder0.xml", "Recorder1.xml"));
    EXPECT_TRUE (folder.getChildFile ("Recorder1.xml").existsAsFile());
    EXPECT_EQ (engine.appliedFolder, folder);

    engine.songSaves = false;
    engine.recorderSaves = false;
    EXPECT_TRUE (toolSet.saveToolSet (folder));
    EXPECT_EQ (errors.shown, juce::StringArray ("Rhythm file error.", "Recorder file error.", "Recorder file error."));
}

TEST_F (AppToolSet, ARecorderThatFailsItsFirstSaveDoesNotHideTheOnesAfterIt)
{
    oxatest::FakeEngine engine;
    parts.engine = &engine;
    engine.recorders = 3;
    engine.failingRecorder = 0;
    project.recorderFiles = juce::StringArray ("");

    const auto folder = toolSetFolder ("Partly");
    ASSERT_TRUE (toolSet.saveToolSet (folder));
    EXPECT_EQ (errors.shown, juce::StringArray ("Recorder file error."));
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("", "Recorder1.xml", "Recorder2.xml"));

    // The unsaved recorder has nothing to load; the two that saved come back.
    Project loaded;
    ASSERT_TRUE (loaded.read (parseXmlFile (Project::getDocumentFile (folder)).get()));
    EXPECT_EQ (loaded.recorderFiles, juce::StringArray ("Recorder1.xml", "Recorder2.xml"));
}

TEST_F (AppToolSet, AfterSaveOnlyFilesTheHistoryAloneNamesAreRemoved)
{
    oxatest::FakeEngine engine;
    parts.engine = &engine;
    const auto folder = toolSetFolder ("Rec");
    ASSERT_TRUE (toolSet.saveWithHistoryReset (folder));

    for (auto* name : { "Old.xml", "Current.xml", "Old/Audio1.wav", "Current/Audio1.wav", "Current/Audio2.wav" })
    {
        folder.getChildFile (name).getParentDirectory().createDirectory();
        ASSERT_TRUE (folder.getChildFile (name).create());
    }
    const auto outsider = sandbox.root / "Outsider.xml";
    ASSERT_TRUE (outsider.create());

    // The history names Old.xml, an empty name and a path; the recorder now saves as Current.xml.
    project.recorderFiles = juce::StringArray ("Old.xml", "", "../../../Outsider.xml");
    keeper.record();
    project.recorderFiles = juce::StringArray ("Current.xml");
    keeper.record();

    engine.recorders = 1;
    engine.recorderNames = juce::StringArray ("Current.xml");
    engine.takeFolder = folder.getChildFile ("Current");
    engine.referencedTakes = juce::StringArray ("Audio1.wav");

    ASSERT_TRUE (toolSet.saveWithHistoryReset (folder));
    EXPECT_FALSE (folder.getChildFile ("Old.xml").exists());
    EXPECT_FALSE (folder.getChildFile ("Old").exists());
    EXPECT_TRUE (folder.getChildFile ("Current.xml").exists());
    EXPECT_TRUE (folder.getChildFile ("Current/Audio1.wav").exists());
    EXPECT_FALSE (folder.getChildFile ("Current/Audio2.wav").exists());
    EXPECT_TRUE (folder.isDirectory());
    EXPECT_TRUE (outsider.exists());
    EXPECT_EQ (keeper.getUndoCount(), 1);
    EXPECT_FALSE (project.edited);
}

TEST_F (AppToolSet, NamesStartingWithATildeStayInTheToolSetFolder)
{
    // "~" is the home folder only at the start of a whole path: a tool set
    // named "~mine" and recorder names from a document never reach it.
    const auto home = sandbox.root / "home";
    oxatest::ScopedHome scopedHome (home);
    ASSERT_TRUE (home.getChildFile ("keep.txt").replaceWithText ("mine"));
    ASSERT_TRUE (home.getChildFile ("x").createDirectory());

    const auto toolsets = sandbox.folder ("toolsets");
    const juce::File folder (toolsets.getFullPathName() + "/~mine");
    EXPECT_EQ (Project::getDocumentFile (folder).getFullPathName(), toolsets.getFullPathName() + "/~mine.xml");
    EXPECT_EQ (ToolSetOperations::folderOfDocument (Project::getDocumentFile (folder)), folder);

    project.Name = "Tilde";
    ASSERT_TRUE (toolSet.saveWithHistoryReset (folder));
    EXPECT_TRUE (juce::File (toolsets.getFullPathName() + "/~mine.xml").existsAsFile());
    project.reset();
    ASSERT_TRUE (toolSet.loadToolSet (folder));
    EXPECT_EQ (project.Name, "Tilde");

    // Names only the history holds are removed inside the tool set folder alone.
    project.recorderFiles = juce::StringArray ("~", "~x.xml");
    keeper.record();
    project.recorderFiles = juce::StringArray ("RecorderSetting0.xml");
    keeper.record();
    ASSERT_TRUE (toolSet.saveWithHistoryReset (folder));
    EXPECT_EQ (home.getChildFile ("keep.txt").loadFileAsString(), "mine");
    EXPECT_TRUE (home.getChildFile ("x").isDirectory());
}

TEST_F (AppToolSet, ExportThenImportReproducesDocumentAndFolder)
{
    oxatest::FakeEngine engine;
    parts.engine = &engine;
    const auto rhythm = sandbox.folder ("rhythm");
    rhythm.getChildFile ("P1.xml").replaceWithText ("<Pattern><ID>P1</ID><FileName>P1.mid</FileName></Pattern>");
    rhythm.getChildFile ("P1.mid").replaceWithText ("MThd");
    rhythm.getChildFile ("P2.xml").replaceWithText ("<Pattern><ID>P2</ID><FileName>../../secret.mid</FileName></Pattern>");
    rhythm.getChildFile ("P3.xml").replaceWithText ("<Pattern><ID>P3</ID><FileName>P3.mid</FileName></Pattern>");
    const auto song = sandbox.folder ("song").getChildFile ("Blues.xml");
    song.replaceWithText ("<Song/>");
    engine.rhythm = true;
    engine.rhythmExport.songFiles.add (song);
    engine.rhythmExport.patternIds = juce::StringArray ("P1", "P2", "P1");

    const auto archive = sandbox.root / "Out.ots";
    toolSet.exportToolSet (archive);
    EXPECT_EQ (errors.shown, juce::StringArray ("No toolset."));
    EXPECT_FALSE (archive.exists());
    errors.shown.clear();

    project.Name = "Exported";
    project.recorderFiles = juce::StringArray ("Recorder0.xml");
    const auto folder = toolSetFolder ("Exp");
    ASSERT_TRUE (toolSet.saveToolSet (folder));
    ASSERT_TRUE (folder.getChildFile ("Recorder0").createDirectory());
    ASSERT_TRUE (folder.getChildFile ("Recorder0/Audio1.wav").replaceWithText ("RIFF"));
    project.editBuffer.setParam (6, 1, 9);   // unsaved: the export writes from memory
    const auto unsaved = project;

    toolSet.exportToolSet (archive);
    ASSERT_TRUE (isArchive (archive));
    EXPECT_FALSE (toolSet.workFolder.exists());

    // Exporting twice gives the same archive.
    const auto again = sandbox.root / "Again.ots";
    toolSet.exportToolSet (again);
    juce::MemoryBlock first, second;
    ASSERT_TRUE (archive.loadFileAsData (first) && again.loadFileAsData (second));
    EXPECT_GT (first.getSize(), 576u);
    EXPECT_TRUE (first == second) << "the archives are the same bytes";

    folder.deleteRecursively();
    folder.getSiblingFile ("Exp.xml").deleteFile();
    song.deleteFile();
    rhythm.getChildFile ("P1.mid").deleteFile();

    juce::File imported;
    ASSERT_TRUE (toolSet.importArchive (archive, 0, imported));
    EXPECT_EQ (imported, folder.getSiblingFile ("Exp.xml"));
    EXPECT_EQ (folder.getChildFile ("Recorder0/Audio1.wav").loadFileAsString(), "RIFF");
    EXPECT_TRUE (song.existsAsFile());
    EXPECT_EQ (rhythm.getChildFile ("P1.mid").loadFileAsString(), "MThd");
    EXPECT_FALSE (rhythm.getChildFile ("P3.mid").exists());

    project.reset();
    toolSet.useImported (0, imported);
    EXPECT_EQ (project.Name, "Exported");
    EXPECT_EQ (project.editBuffer.getParam (6, 1), 9);
    EXPECT_EQ (project.recorderFiles, unsaved.recorderFiles);
    EXPECT_TRUE (errors.shown.isEmpty());
}

TEST_F (AppToolSet, AnExportThatCannotBeWrittenSaysSo)
{
    ASSERT_TRUE (toolSet.saveToolSet (toolSetFolder ("Set")));

    // The chosen place is below a regular file, so no archive can be made there.
    const auto blocker = sandbox.root / "blocker";
    blocker.replaceWithText ("x");
    EXPECT_FALSE (toolSet.exportToolSet (blocker.getChildFile ("Out.ots")));
    EXPECT_EQ (errors.shown, juce::StringArray ("File error."));
    EXPECT_FALSE (toolSet.workFolder.exists());

    errors.shown.clear();
    EXPECT_TRUE (toolSet.exportToolSet (sandbox.root / "Out.ots"));
    EXPECT_TRUE (errors.shown.isEmpty());
}

TEST_F (AppToolSet, ConfirmDiscardAsksOnlyForAnEditedToolSet)
{
    EXPECT_TRUE (toolSet.confirmDiscard());
    EXPECT_TRUE (dialogs.questions.isEmpty());

    project.edited = true;
    dialogs.confirmAnswer = false;
    EXPECT_FALSE (toolSet.confirmDiscard());
    dialogs.confirmAnswer = true;
    EXPECT_TRUE (toolSet.confirmDiscard());
    EXPECT_EQ (dialogs.questions, juce::StringArray ("Toolset has been edited. Are you sure?", "Toolset has been edited. Are you sure?"));
}

//==============================================================================
namespace
{
    /** A whole controller started inside temporary install and documents folders. */
    struct AppGuiToolSetStartup : public ::testing::Test
    {
        AppGuiToolSetStartup()
        {
            for (auto* name : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
                user (name).createDirectory();
        }

        juce::File user (const juce::String& relative) const
        {
            return (sandbox.root / "documents").getChildFile ("VELD/OXA Tools").getChildFile (relative);
        }

        void storeCurrentProject (const juce::String& path)
        {
            juce::XmlElement root ("Setting");
            root.createNewChildElement ("CurrentProject")->addTextElement (path);
            ASSERT_TRUE (user ("setting/OXAToolsM7c.xml").replaceWithText (root.toString()));
        }

        oxatest::UserDataSandbox sandbox;
        oxatest::ScriptedDialogs dialogs;
    };
} // namespace

TEST_F (AppGuiToolSetStartup, TheCurrentToolSetIsLoadedByItsNameAndUndoStartsInactive)
{
    user ("toolsets/MySet").createDirectory();
    ASSERT_TRUE (user ("toolsets/MySet.xml").replaceWithText (
        "<Project><Name>My Set</Name><PreCount>4</PreCount><Module3><Prm1>12</Prm1></Module3></Project>"));
    storeCurrentProject ("C:\\Data\\MySet");

    InstController controller;
    auto& project = controller.getProject();
    EXPECT_EQ (project.Name, "My Set");
    EXPECT_EQ (project.PreCount, 4);
    EXPECT_EQ (project.editBuffer.getParam (3, 1), 12);
    EXPECT_EQ (controller.getSettings().CurrentProject, user ("toolsets/MySet").getFullPathName());

    EXPECT_EQ (controller.request (IsEdited), 0);
    project.editBuffer.setParam (3, 1, 13);
    EXPECT_EQ (controller.request (RecordUndoAndMarkEdited), -1);
    EXPECT_EQ (controller.request (IsEdited), -1);

    // Quitting asks about the edit; declining keeps the program running.
    dialogs.confirmAnswer = false;
    EXPECT_FALSE (controller.prepareQuit());
    EXPECT_EQ (dialogs.questions, juce::StringArray ("Toolset has been edited. Are you sure?"));

    EXPECT_EQ (controller.request (Undo), -1);
    EXPECT_EQ (project.editBuffer.getParam (3, 1), 12);
    EXPECT_EQ (controller.request (IsEdited), 0);

    ASSERT_TRUE (controller.saveToolSet (user ("toolsets/MySet")));
    EXPECT_TRUE (user ("toolsets/MySet.xml").loadFileAsString().contains ("<Prm1>12</Prm1>"));
    EXPECT_EQ (controller.request (IsEdited), 0);

    // The posted messages reach the receiver on the message thread; others' messages do not.
    oxatest::pumpMessagesUntil ({}, 50);   // earlier messages find no receiver
    oxatest::RecordingController receiver;
    controller.setMessageReceiver (&receiver);
    ASSERT_TRUE (controller.loadToolSet (user ("toolsets/MySet")));
    controller.postMessage (new InstContUpdateUI (0x02));   // never aimed at the controller
    oxatest::pumpMessagesUntil ([&] { return ! receiver.updates.empty(); }, 2000);
    oxatest::pumpMessagesUntil ({}, 50);
    EXPECT_EQ (receiver.updates, (std::vector<int> { 0xffff }));
    controller.setMessageReceiver (nullptr);
}

TEST_F (AppGuiToolSetStartup, AToolSetThatDoesNotLoadStartsANewOne)
{
    ASSERT_TRUE (user ("toolsets/Broken.xml").replaceWithText ("<Project><Name>half"));
    storeCurrentProject (user ("toolsets/Broken").getFullPathName());

    InstController controller;
    EXPECT_EQ (controller.getProject().Name, "New Tool Set");
    EXPECT_EQ (controller.getSettings().CurrentProject, "");
    EXPECT_EQ (controller.request (56), 0);
}
