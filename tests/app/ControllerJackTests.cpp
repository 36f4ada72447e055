// The controller with its audio engine on a private JACK server: the device
// opened as the M7c's, the requests that read meters and set the level, an
// item added through the requests, the tuner page fed only while it shows,
// and the Mix Down command from its dialog to the engine back on the device.
#include <gtest/gtest.h>

#include "../engine/JackTestServer.h"
#include "ToolSetTestSupport.h"
#include "app/ControllerCommands.h"
#include "app/ControllerEngine.h"
#include "app/ControllerRequests.h"
#include "app/GuiMain.h"
#include "app/InstController.h"
#include "app/SectionTab.h"
#include "engine/AudioLock.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/PlayableItem.h"
#include "engine/Synchronizer.h"
#include "recorder/WaveFormat.h"

#include <cmath>

using namespace T730;

namespace
{
/** A recorder that plays a constant level on each channel. */
struct LevelItem : public PlayableItem
{
    explicit LevelItem (Synchronizer& s) : PlayableItem (s) {}

    void prepare (double, int) override {}
    void render (juce::int64, const float* const*, float* const* output, int first, int count) override
    {
        for (int i = 0; i < count; ++i)
        {
            output[0][first + i] = 0.25f;
            output[1][first + i] = -0.125f;
        }
    }
    void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
    juce::int64 getLength() override { return 2 * 44100; }
    bool load (const juce::File&, const juce::File&) override { return true; }
    ItemPanel::Ptr getPanel() override { return nullptr; }
};

bool allEqual (const std::vector<float>& samples, float value)
{
    for (auto x : samples)
        if (x != value)
            return false;
    return ! samples.empty();
}

class AppGuiJackController : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto* name : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
            ASSERT_TRUE ((temp / "Documents/VELD/OXA Tools").getChildFile (name).createDirectory());
        overrideFolderRoots (temp / "install", temp / "Documents");

        server = std::make_unique<oxatest::JackTestServer>();
        ASSERT_TRUE (server->isRunning()) << server->getError();
        feed = std::make_unique<oxatest::JackTestClient>();
        ASSERT_TRUE (feed->isOpen());
        feed->setTone (110.0, 0.5f);

        // The test client stands for the M7c; the engine's modules are the staged ones.
        InstController::setAudioDeviceNameMatch (feed->getName());
        DspLoader::deleteInstance();
        DspLoader::setDefaultResourceFolder (oxatest::stageFolder().getChildFile ("resources"));

        controller = std::make_unique<InstController>();
        controller->openDeviceIO (true, false);
        ASSERT_TRUE (isAudioReady());
        ASSERT_NE (controller->getEngine(), nullptr);
    }

    void TearDown() override
    {
        controller.reset();
        feed.reset();
        server.reset();
        InstController::setAudioDeviceNameMatch ({});
        DspLoader::setDefaultResourceFolder ({});
        clearFolderRootOverrides();
    }

    int request (int code, int p1 = 0, int p2 = 0, void* data = nullptr) { return controller->request (code, p1, p2, data); }

    oxatest::TempFolder temp;
    std::unique_ptr<oxatest::JackTestServer> server;
    std::unique_ptr<oxatest::JackTestClient> feed;
    std::unique_ptr<InstController> controller;
};
} // namespace

TEST_F (AppGuiJackController, TheDeviceIsTheEnginesAndTheRequestsReadAndSetIt)
{
    auto* device = controller->getDeviceManager().getCurrentAudioDevice();
    ASSERT_NE (device, nullptr);
    EXPECT_EQ (device->getTypeName(), "JACK");
    EXPECT_EQ (device->getName(), feed->getName());
    EXPECT_TRUE (controller->getEngine()->isReady());

    ASSERT_TRUE (feed->record (8192));
    EXPECT_TRUE (allEqual (feed->getRecording (0), 0.0f)) << "no items: silence, the input is not passed through";
    {
        const juce::ScopedLock sl (getAudioLock());
        EXPECT_NEAR (request (ReadInputPeak, 0), (int) (511.0 * std::sqrt (0.5)), 1);
        EXPECT_EQ (request (ReadInputPeak, 0), -1) << "read again before the next block";
        EXPECT_EQ (request (ReadInputPeak, 2), -1);
    }

    // (the tool set may bring recorders of its own: empty ones, silent)
    const int before = request (GetRecorderCount);
    controller->getItemFactory().makeRecorder = [] (Synchronizer& s) { return new LevelItem (s); };
    EXPECT_EQ (request (AddPlayableItem, 1), requestTrue);
    EXPECT_EQ (request (GetRecorderCount), before + 1);
    juce::int64 longest = 0;
    request (GetLongestItemLength, 0, 0, &longest);
    EXPECT_EQ (longest, 2 * 44100);

    Synchronizer::getInstance()->getMaster().play();
    ASSERT_TRUE (feed->record (22050));
    ASSERT_TRUE (feed->record (8192));
    EXPECT_TRUE (allEqual (feed->getRecording (0), 0.25f));
    EXPECT_TRUE (allEqual (feed->getRecording (1), -0.125f));

    request (SetMasterLevel, 50);
    juce::String text;
    request (GetMasterLevelText, 0, 0, &text);
    EXPECT_TRUE (text.startsWith ("Level : 50")) << text;
    ASSERT_TRUE (feed->record (4096));
    ASSERT_TRUE (feed->record (8192));
    EXPECT_TRUE (allEqual (feed->getRecording (0), 0.125f));
    {
        const juce::ScopedLock sl (getAudioLock());
        EXPECT_EQ (request (ReadOutputPeak, 0), ControllerRequests::peakToMeter (0.125f));
        EXPECT_EQ (request (ReadOutputPeak, 1), 0) << "negative samples never raise the meter";
    }
}

TEST_F (AppGuiJackController, TheTunerPageGetsThePitchOnlyWhileItShows)
{
    auto& tab = controller->getGui()->getTabSection();
    auto& tunerPage = tab.getTunerPage();
    auto* engine = controller->getEngine();
    EXPECT_FALSE (engine->isTunerFeedOn()) << "the tab section starts on another page";
    EXPECT_EQ (request (IsTunerShown), requestFalse);

    tab.selectPage (&tunerPage);
    EXPECT_TRUE (engine->isTunerFeedOn());
    EXPECT_EQ (request (IsTunerShown), requestTrue);
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return std::abs (1200.0 * std::log2 (tunerPage.getLastPitch() / 110.0)) < 1.0; }, 15000))
        << tunerPage.getLastPitch();

    tab.selectPage (&tab.getLibrarianPage());
    EXPECT_FALSE (engine->isTunerFeedOn());
    oxatest::pumpMessagesUntil ({}, 100);
    const auto reports = engine->getPitchReport().getNumReports();
    ASSERT_TRUE (feed->record (44100));
    EXPECT_EQ (engine->getPitchReport().getNumReports(), reports) << "the module hears nothing";
}

TEST_F (AppGuiJackController, MixDownRendersTheJamIntoTheChosenFileAndPutsTheEngineBack)
{
    controller->getItemFactory().makeRecorder = [] (Synchronizer& s) { return new LevelItem (s); };
    ASSERT_EQ (request (AddPlayableItem, 1), requestTrue);
    auto& master = Synchronizer::getInstance()->getMaster();
    master.play();
    ASSERT_TRUE (feed->record (4096));

    oxatest::ScriptedDialogs dialogs;
    oxatest::ShownErrors errors;
    const auto wav = temp / "Documents/mix.wav";
    dialogs.saveChoice = wav;
    EXPECT_TRUE (controller->getCommands().perform (CommandIDs::mixDown));
    EXPECT_TRUE (errors.shown.isEmpty()) << errors.shown.joinIntoString ("\n");

    // The whole jam, from 0: two seconds in whole blocks, faded in over 441 samples.
    juce::MemoryBlock bytes;
    ASSERT_TRUE (wav.loadFileAsData (bytes));
    juce::MemoryInputStream in (bytes, false);
    WaveFormat format;
    ASSERT_TRUE (readWaveHeader (in, format));
    EXPECT_TRUE (format.isRecorderFormat());
    const auto frames = (int) (format.dataSize / 4);
    EXPECT_EQ (frames, (2 * 44100 + 511) / 512 * 512);
    const auto* samples = reinterpret_cast<const int16_t*> ((const char*) bytes.getData() + format.dataStart);
    EXPECT_EQ (samples[0], 0) << "the fade starts at 0";
    EXPECT_EQ (samples[1000 * 2], toStoredSample (0.25f));
    EXPECT_EQ (samples[1000 * 2 + 1], toStoredSample (-0.125f));
    EXPECT_EQ (samples[(frames - 1) * 2], toStoredSample (0.25f));

    // Back on the device, the master transport stopped and the recorder following it.
    EXPECT_TRUE (isAudioReady());
    EXPECT_TRUE (master.isStopped());
    EXPECT_EQ (controller->getEngine()->getRecorder (0)->getCurrentPlayState(), &master);
    ASSERT_TRUE (feed->record (4096));
    EXPECT_TRUE (allEqual (feed->getRecording (0), 0.0f)) << "stopped";
    master.play();
    ASSERT_TRUE (feed->record (22050));
    ASSERT_TRUE (feed->record (4096));
    EXPECT_TRUE (allEqual (feed->getRecording (0), 0.25f)) << "the engine plays on the device again";
}
