#include "AppTestSupport.h"
#include "app/InstController.h"
#include "app/InstContMes.h"
#include <thread>
#include "documents/XmlParser.h"
#include "platform/DataFolders.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace T730;

namespace
{
const char* const userFolders[] = { "setting", "song", "rhythm", "patchgroupM7", "toolsets" };

/** A controller built and destroyed inside temporary install and documents folders. */
class AppGuiController : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install = temp / "install";
        documents = temp / "Documents";
        for (const auto* name : userFolders)
            ASSERT_TRUE (install.getChildFile (name).getChildFile ("factory.txt").create().wasOk()
                    && install.getChildFile (name).getChildFile ("factory.txt").replaceWithText (name));
        ASSERT_TRUE (install.getChildFile ("setting/ErrLogM7c.log").replaceWithText ("template\n"));
        overrideFolderRoots (install, documents);
    }

    void TearDown() override { clearFolderRootOverrides(); }

    juce::File user (const juce::String& relative) const
    {
        return documents.getChildFile ("VELD/OXA Tools").getChildFile (relative);
    }

    void makeUserFolders() const
    {
        for (const auto* name : userFolders)
            ASSERT_TRUE (user (name).createDirectory());
    }

    oxatest::TempFolder temp;
    juce::File install, documents;
};
} // namespace

TEST_F (AppGuiController, FirstRunInstallsTheUserDataOpensTheLogAndSavesTheSettingsAtTheEnd)
{
    {
        InstController controller;
        EXPECT_TRUE (controller.isFirstRun()) << "no device: the audio never opened, so the flag stays";
        EXPECT_FALSE (isAudioReady());
        for (const auto* name : userFolders)
            EXPECT_TRUE (user (name).getChildFile ("factory.txt").existsAsFile()) << name;
        EXPECT_FALSE (InstController::getSettingsFile().exists()) << "written at shut-down only";
    }

    const auto log = user ("setting/ErrLogM7c.log").loadFileAsString();
    EXPECT_TRUE (log.startsWith ("template")) << "the installed log is the start";
    EXPECT_TRUE (log.contains ("OXA Tools M7c log start:"));
    EXPECT_EQ (juce::Logger::getCurrentLogger(), nullptr) << "the log is closed at the end";

    auto root = parseXmlFile (user ("setting/OXAToolsM7c.xml"));
    ASSERT_NE (root, nullptr);
    EXPECT_TRUE (root->hasTagName ("Setting"));
    EXPECT_EQ (apptest::childTags (*root), apptest::settingKeys());
}

TEST_F (AppGuiController, AllFoldersPresentIsNoFirstRunAndAnEmptiedFolderIsNotRefilled)
{
    makeUserFolders();
    {
        InstController controller;
        EXPECT_FALSE (controller.isFirstRun());
    }
    for (const auto* name : userFolders)
        EXPECT_FALSE (user (name).getChildFile ("factory.txt").exists()) << name;

    // Only the missing one comes back.
    ASSERT_TRUE (user ("toolsets").deleteRecursively());
    {
        InstController controller;
        EXPECT_TRUE (controller.isFirstRun());
    }
    EXPECT_TRUE (user ("toolsets/factory.txt").existsAsFile());
    EXPECT_FALSE (user ("song/factory.txt").exists());
}

TEST_F (AppGuiController, BadSettingsFilesStartWithDefaultsLogTheFailureAndAreRewritten)
{
    makeUserFolders();
    const char* bad[] = {
        "this is not a document",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Toolset><MasterLv>5</MasterLv></Toolset>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Setting><MasterLv>5</MasterLv><WindowX>far</WindowX></Setting>",
        "<Setting><MasterLv>5",
    };

    for (const auto* text : bad)
    {
        const auto file = user ("setting/OXAToolsM7c.xml");
        ASSERT_TRUE (file.replaceWithText (text));
        user ("setting/ErrLogM7c.log").deleteFile();
        {
            InstController controller;
            const auto& s = controller.getSettings();
            EXPECT_EQ (s.MasterLv, 100) << text;
            EXPECT_TRUE (s.EasyBoot) << text;
            EXPECT_TRUE (s.Character) << text;
        }
        EXPECT_TRUE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed reading setting file.")) << text;

        auto root = parseXmlFile (file);
        ASSERT_NE (root, nullptr) << text;
        EXPECT_EQ (apptest::childTags (*root), apptest::settingKeys()) << text;
    }
}

TEST_F (AppGuiController, StoredSettingsAreLoadedAndAMissingFileLogsNothing)
{
    makeUserFolders();
    {
        InstController controller;
        auto& s = controller.getSettings();
        s.MasterLv = 31;
        s.EasyBoot = false;
        s.DrummerX = 20;
    }
    EXPECT_FALSE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed reading"));
    {
        InstController controller;
        const auto& s = controller.getSettings();
        EXPECT_EQ (s.MasterLv, 31);
        EXPECT_FALSE (s.EasyBoot);
        EXPECT_TRUE (s.Character);
        EXPECT_EQ (s.DrummerX, 20);
    }
}

TEST_F (AppGuiController, AudioThatCannotOpenIsLoggedAndLeavesAudioClosed)
{
    makeUserFolders();
    {
        InstController controller;
        controller.openDeviceIO (true, false); // as when the device's MIDI port appears without its audio
        EXPECT_FALSE (isAudioReady());
        EXPECT_EQ (controller.getDeviceManager().getCurrentAudioDevice(), nullptr);
    }
    EXPECT_TRUE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed initializing audio I/O."));
}

TEST (AppController, StoredToolSetPathIsPlacedInTheToolsetsFolder)
{
    const juce::File toolsets ("/home/u/Documents/VELD/OXA Tools/toolsets");
    const auto inToolsets = [&] (const char* name) { return toolsets.getChildFile (name).getFullPathName(); };

    EXPECT_EQ (InstController::normaliseProjectPath ("C:\\Data\\MySet", toolsets), inToolsets ("MySet"));
    EXPECT_EQ (InstController::normaliseProjectPath ("C:\\Data\\MySet\\", toolsets), inToolsets ("MySet"));
    EXPECT_EQ (InstController::normaliseProjectPath ("/media/old/toolsets/Live", toolsets), inToolsets ("Live"));
    EXPECT_EQ (InstController::normaliseProjectPath ("Practice", toolsets), inToolsets ("Practice"));
    EXPECT_EQ (InstController::normaliseProjectPath ("", toolsets), "");
    EXPECT_EQ (InstController::normaliseProjectPath ("/", toolsets), "");
}

namespace
{
struct PitchReceiver final : public InstContMesReceiver
{
    void updateSections (int) override {}
    void repaintSections (int) override {}
    void tunerPitchDetected (float p) override { pitches.push_back (p); }
    void punchOut (juce::ReferenceCountedObject*) override {}
    void updateTooltip (void*) override {}
    std::vector<float> pitches;
};
} // namespace

TEST_F (AppGuiController, APitchFromAnotherThreadArrivesOnTheMessageThreadAsATunerMessage)
{
    makeUserFolders();
    InstController controller;
    PitchReceiver receiver;
    controller.setMessageReceiver (&receiver);

    // The tuner node calls its owner on the audio thread.
    std::thread audio ([&controller] { static_cast<NetListOwner&> (controller).nodePitchDetected (110.5f); });
    audio.join();

    EXPECT_TRUE (receiver.pitches.empty()) << "handled on the message thread, not in the caller";
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return ! receiver.pitches.empty(); }, 2000));
    ASSERT_EQ (receiver.pitches.size(), 1u);
    EXPECT_FLOAT_EQ (receiver.pitches[0], 110.5f);
    controller.setMessageReceiver (nullptr);
}
