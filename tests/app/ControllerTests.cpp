#include "AppTestSupport.h"
#include "app/InstController.h"
#include "app/InstContMes.h"
#include <thread>
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "platform/DataFolders.h"
#include "app/ControllerRequest.h"
#include "rhythm/SongManager.h"
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

TEST_F (AppGuiController, UnreadableSettingsFilesStartWithDefaultsAreKeptAsideAndRewritten)
{
    makeUserFolders();
    const char* bad[] = {
        "this is not a document",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Toolset><MasterLv>5</MasterLv></Toolset>",
        "<Setting><MasterLv>5",
    };

    for (const auto* text : bad)
    {
        const auto file = user ("setting/OXAToolsM7c.xml");
        ASSERT_TRUE (file.replaceWithText (text));
        const auto damaged = file.loadFileAsString();
        user ("setting/ErrLogM7c.log").deleteFile();
        {
            InstController controller;
            const auto& s = controller.getSettings();
            EXPECT_EQ (s.MasterLv, 100) << text;
            EXPECT_TRUE (s.EasyBoot) << text;
            EXPECT_TRUE (s.Character) << text;
        }
        EXPECT_TRUE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed reading setting file.")) << text;
        EXPECT_EQ (user ("setting/OXAToolsM7c.damaged.xml").loadFileAsString(), damaged)
            << "what could not be read is kept";

        auto root = parseXmlFile (file);
        ASSERT_NE (root, nullptr) << text;
        EXPECT_EQ (apptest::childTags (*root), apptest::settingKeys()) << text;
    }
}

TEST_F (AppGuiController, ADamagedKeyCostsOnlyThatKeyAndTheFileIsRewrittenWithTheValuesUsed)
{
    makeUserFolders();
    const auto file = user ("setting/OXAToolsM7c.xml");
    ASSERT_TRUE (file.replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Setting><EasyBoot>1</EasyBoot>"
                                       "<WindowX>far</WindowX><WindowY>40</WindowY>"
                                       "<CurrentProject>Kept</CurrentProject><MasterLv>80dB</MasterLv>"
                                       "<Character>1</Character><TimeLastDownloadInfo>15 March</TimeLastDownloadInfo>"
                                       "<DrummerX>12</DrummerX></Setting>"));
    user ("toolsets/Kept").createDirectory();
    ASSERT_TRUE (user ("toolsets/Kept.xml").replaceWithText ("<Project><Name>Kept</Name></Project>"));
    {
        InstController controller;
        const auto& s = controller.getSettings();
        EXPECT_EQ (s.MasterLv, 80);
        EXPECT_EQ (s.DrummerX, 12);
        EXPECT_EQ (juce::File (s.CurrentProject).getFileName(), "Kept");
    }
    EXPECT_FALSE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed reading setting file."));

    auto root = parseXmlFile (file);
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (getElementText (root.get(), "MasterLv"), "80");
    EXPECT_EQ (getElementText (root.get(), "DrummerX"), "12");
    EXPECT_TRUE (getElementText (root.get(), "CurrentProject").endsWith ("Kept"));
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

TEST_F (AppGuiController, TheSongStoreHoldsTheSongFolderAndTakesTheSongsOfARhythmImport)
{
    makeUserFolders();
    ASSERT_TRUE (user ("song/Song_mine.xml").replaceWithText ("<Song><SongName>Mine</SongName></Song>"));
    ASSERT_TRUE (user ("song/broken.xml").replaceWithText ("<Song>"));
    {
        InstController controller;
        SongManager* store = nullptr;
        EXPECT_EQ (controller.request (GetSongManager, 0, 0, &store), -1);
        ASSERT_NE (store, nullptr);
        ASSERT_EQ (store->getNumSongs(), 1);
        EXPECT_EQ (store->getSong (0)->SongName, "Mine");

        // The factory's extra rhythms: their songs join the store, their patterns the rhythm folder.
        juce::File imported;
        ASSERT_TRUE (controller.importArchive (oxatest::stageFolder().getChildFile ("extras/OXA Extra Rhythms.orp"),
                                               1, imported));
        EXPECT_EQ (imported.getParentDirectory(), user ("song"));
        EXPECT_EQ (store->getNumSongs(), 4);
        EXPECT_NE (store->findByFile (imported), nullptr);
        EXPECT_GE (user ("rhythm").findChildFiles (juce::File::findFiles, false, "*.mid").size(), 3);
    }
    EXPECT_TRUE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed reading song setting."));
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
    EXPECT_EQ (InstController::normaliseProjectPath ("../../../../etc", toolsets), "");
    EXPECT_EQ (InstController::normaliseProjectPath ("C:\\Data\\..", toolsets), "");
    EXPECT_EQ (InstController::normaliseProjectPath ("Live/Takes", toolsets), inToolsets ("Live/Takes"));
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

namespace
{
/** What the fake audio driver was asked to do, kept beyond the controller's life. */
struct AudioLog
{
    struct Open
    {
        double rate;
        int blockSize;
        int inputs, outputs;
    };
    std::vector<Open> opens;        // every successful or failed open, in order
    juce::Array<double> rates { 44100.0, 48000.0 };
    juce::Array<int> blockSizes { 256, 441, 512 };
    int defaultBlockSize = 512;
    int failingBlockSize = -1;      // an open at this size reports an error
    bool listedWhileOpen = true;    // false: like ALSA, a scan skips a device that is in use
    bool open = false;
};

/** A device of the fake driver: records its openings, never calls back. */
class FakeAudioDevice final : public juce::AudioIODevice
{
public:
    FakeAudioDevice (const juce::String& name, std::shared_ptr<AudioLog> l)
        : juce::AudioIODevice (name, "Fake"), log (std::move (l)) {}
    ~FakeAudioDevice() override { close(); }

    juce::StringArray getOutputChannelNames() override { return { "Out 1", "Out 2", "Out 3", "Out 4" }; }
    juce::StringArray getInputChannelNames() override { return { "In 1", "In 2", "In 3", "In 4" }; }
    juce::Array<double> getAvailableSampleRates() override { return log->rates; }
    juce::Array<int> getAvailableBufferSizes() override { return log->blockSizes; }
    int getDefaultBufferSize() override { return log->defaultBlockSize; }

    juce::String open (const juce::BigInteger& in, const juce::BigInteger& out, double rate, int block) override
    {
        // Like a real driver, only the device's own four channels count.
        const auto used = [] (const juce::BigInteger& bits) { return bits.getBitRange (0, 4).countNumberOfSetBits(); };
        log->opens.push_back ({ rate, block, used (in), used (out) });
        if (block == log->failingBlockSize)
            return "the driver refuses this block size";

        currentRate = rate;
        currentBlock = block;
        inputs = in;
        outputs = out;
        log->open = true;
        return {};
    }

    void close() override { log->open = false; }
    bool isOpen() override { return log->open; }
    void start (juce::AudioIODeviceCallback* c) override
    {
        callback = c;
        if (callback != nullptr)
            callback->audioDeviceAboutToStart (this);
    }
    void stop() override
    {
        if (auto* c = std::exchange (callback, nullptr))
            c->audioDeviceStopped();
    }
    bool isPlaying() override { return callback != nullptr; }
    juce::String getLastError() override { return {}; }
    int getCurrentBufferSizeSamples() override { return currentBlock; }
    double getCurrentSampleRate() override { return currentRate; }
    int getCurrentBitDepth() override { return 16; }
    juce::BigInteger getActiveOutputChannels() const override { return outputs; }
    juce::BigInteger getActiveInputChannels() const override { return inputs; }
    int getOutputLatencyInSamples() override { return 0; }
    int getInputLatencyInSamples() override { return 0; }

private:
    std::shared_ptr<AudioLog> log;
    juce::AudioIODeviceCallback* callback = nullptr;
    double currentRate = 0.0;
    int currentBlock = 0;
    juce::BigInteger inputs, outputs;
};

/** A driver type that offers one device, named like the M7c's. */
class FakeAudioType final : public juce::AudioIODeviceType
{
public:
    explicit FakeAudioType (std::shared_ptr<AudioLog> l) : juce::AudioIODeviceType ("Fake"), log (std::move (l)) {}

    void scanForDevices() override {}
    juce::StringArray getDeviceNames (bool) const override
    {
        if (log->open && ! log->listedWhileOpen)
            return {};
        return { deviceName };
    }
    int getDefaultDeviceIndex (bool) const override { return 0; }
    int getIndexOfDevice (juce::AudioIODevice* d, bool) const override { return d != nullptr && d->getName() == deviceName ? 0 : -1; }
    bool hasSeparateInputsAndOutputs() const override { return false; }
    juce::AudioIODevice* createDevice (const juce::String& output, const juce::String& input) override
    {
        return output == deviceName || input == deviceName ? new FakeAudioDevice (deviceName, log) : nullptr;
    }

    static constexpr const char* deviceName = "VELD M7c USB Audio";

private:
    std::shared_ptr<AudioLog> log;
};

/** Adds the fake driver and makes it current, as the device manager's start-up does
    when it finds the M7c; the openings the controller asks for are logged from here on. */
std::shared_ptr<AudioLog> addFakeDriver (InstController& controller)
{
    auto log = std::make_shared<AudioLog>();
    auto& manager = controller.getDeviceManager();
    manager.addAudioDeviceType (std::make_unique<FakeAudioType> (log));
    manager.setCurrentAudioDeviceType ("Fake", false);
    manager.closeAudioDevice();
    log->opens.clear();
    return log;
}
} // namespace

TEST_F (AppGuiController, DeviceAudioOpensAt44100WithTheDriversBlockSizeAndClosesAgain)
{
    makeUserFolders();
    std::shared_ptr<AudioLog> audio;
    {
        InstController controller;
        audio = addFakeDriver (controller);

        controller.openDeviceIO (true, false);
        EXPECT_TRUE (isAudioReady());
        ASSERT_EQ (audio->opens.size(), 1u);
        EXPECT_EQ (audio->opens[0].rate, 44100.0);
        EXPECT_EQ (audio->opens[0].blockSize, 512) << "the driver's default";
        EXPECT_EQ (audio->opens[0].inputs, 2);
        EXPECT_EQ (audio->opens[0].outputs, 2);

        controller.openDeviceIO (false, false);
        EXPECT_FALSE (isAudioReady());
        EXPECT_FALSE (audio->open);

        // A driver that refuses its default block size gets a second try at 441 samples.
        audio->opens.clear();
        audio->failingBlockSize = 512;
        controller.openDeviceIO (true, false);
        EXPECT_TRUE (isAudioReady());
        ASSERT_EQ (audio->opens.size(), 2u);
        EXPECT_EQ (audio->opens[1].blockSize, 441);
        audio->failingBlockSize = -1;
        audio->opens.clear();
    }

    // Shut-down leaves the device at 48000 Hz (default block size) before closing it.
    ASSERT_FALSE (audio->opens.empty());
    EXPECT_EQ (audio->opens.back().rate, 48000.0);
    EXPECT_EQ (audio->opens.back().blockSize, 512);
    EXPECT_FALSE (audio->open);
    EXPECT_FALSE (isAudioReady());
    EXPECT_FALSE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed initializing audio I/O."));
}

TEST_F (AppGuiController, FirstRunOpensTheAudioWithAllChannelsFirstThenAt441Samples)
{
    std::shared_ptr<AudioLog> audio;
    InstController controller;
    ASSERT_TRUE (controller.isFirstRun());
    audio = addFakeDriver (controller);

    controller.openDeviceIO (true, false);
    EXPECT_TRUE (isAudioReady());
    EXPECT_FALSE (controller.isFirstRun()) << "cleared by the first successful opening";

    ASSERT_EQ (audio->opens.size(), 2u);
    EXPECT_EQ (audio->opens[0].rate, 44100.0);
    EXPECT_EQ (audio->opens[0].blockSize, 512);
    EXPECT_EQ (audio->opens[0].inputs, 4) << "all channels";
    EXPECT_EQ (audio->opens[0].outputs, 4);
    EXPECT_EQ (audio->opens[1].rate, 44100.0);
    EXPECT_EQ (audio->opens[1].blockSize, 441);

    // Not a first run any more: the next opening takes the driver's default again.
    controller.openDeviceIO (false, false);
    audio->opens.clear();
    controller.openDeviceIO (true, false);
    ASSERT_EQ (audio->opens.size(), 1u);
    EXPECT_EQ (audio->opens[0].blockSize, 512);
}

TEST_F (AppGuiController, ADeviceThatCannotRunAt44100IsNotTakenAsOpened)
{
    makeUserFolders();
    {
        InstController controller;
        auto audio = addFakeDriver (controller);
        audio->rates = { 48000.0, 96000.0 };

        controller.openDeviceIO (true, false);
        EXPECT_FALSE (isAudioReady()) << "the engine runs at 44100 Hz only";
        EXPECT_FALSE (audio->open) << "a device at the wrong rate is not left open";
        EXPECT_EQ (controller.getDeviceManager().getCurrentAudioDevice(), nullptr);
    }
    EXPECT_TRUE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed initializing audio I/O."));
}

TEST_F (AppGuiController, SettingsThatCannotBeWrittenAreLoggedAndTheOldFileStays)
{
    makeUserFolders();
    {
        InstController controller;
        controller.getSettings().MasterLv = 64;
    }
    const auto file = user ("setting/OXAToolsM7c.xml");
    const auto saved = file.loadFileAsString();
    ASSERT_TRUE (saved.contains ("<MasterLv>64</MasterLv>"));

    auto controller = std::make_unique<InstController>();
    controller->getSettings().MasterLv = 12;
    // Makes the document far larger than the limit below.
    controller->getSettings().CurrentProject = juce::String::repeatedString ("long name ", 100);
    {
        // A full disk at shut-down: the log's few lines still fit, the settings document does not.
        oxatest::ScopedFileSizeLimit fullDisk (user ("setting/ErrLogM7c.log").getSize() + 400);
        ASSERT_TRUE (fullDisk.isActive());
        controller.reset();
    }

    EXPECT_TRUE (user ("setting/ErrLogM7c.log").loadFileAsString().contains ("Failed writing toolset file."));
    EXPECT_EQ (file.loadFileAsString(), saved) << "the old settings stay as they were";
}

TEST_F (AppGuiController, AnOpenDeviceThatAScanNoLongerListsIsStillLeftAt48000)
{
    makeUserFolders();
    std::shared_ptr<AudioLog> audio;
    {
        InstController controller;
        audio = addFakeDriver (controller);
        audio->listedWhileOpen = false;

        controller.openDeviceIO (true, false);
        ASSERT_TRUE (isAudioReady());
        audio->opens.clear();
    }

    ASSERT_FALSE (audio->opens.empty());
    EXPECT_EQ (audio->opens.back().rate, 48000.0);
    EXPECT_FALSE (audio->open);
}
