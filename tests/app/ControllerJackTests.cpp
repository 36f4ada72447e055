// The controller with its audio engine on a private JACK server: the device
// opened as the M7c's, the requests that read meters and set the level, an
// item added through the requests, the tuner page fed only while it shows,
// and the Mix Down command from its dialog to the engine back on the device.
#include <gtest/gtest.h>

#include "JackControllerFixture.h"
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
#include "platform/Platform.h"
#include "rhythm/Rhythmer.h"

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

class AppGuiJackController : public oxatest::JackControllerTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE (makeFolders (oxatest::stageFolder()));
        // The factory songs and rhythms, for the controller's rhythm machine.
        for (const auto* name : { "song", "rhythm" })
            ASSERT_TRUE (oxatest::stageFolder().getChildFile (name).copyDirectoryTo (userFolder().getChildFile (name)));
        ASSERT_NO_FATAL_FAILURE (openOnJack (110.0));
        ASSERT_TRUE (isAudioReady());
    }
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

TEST_F (AppGuiJackController, TheRhythmMachineIsTheControllersAndAPreviewSetsItAside)
{
    auto* engine = controller->getEngine();
    ASSERT_EQ (request (AddPlayableItem, 0), requestTrue);
    auto jamMachine = engine->getRhythmItem();
    auto* machine = dynamic_cast<Rhythmer*> (jamMachine.get());
    ASSERT_NE (machine, nullptr) << "the rhythm item is the real machine";
    EXPECT_FALSE (machine->getSong().SongName.isEmpty()) << "a new machine starts on the default song";

    // Switched on, it plays through the device: drums and bass after the count-in.
    machine->setRhythmOn (true);
    Synchronizer::getInstance()->getMaster().play();
    ASSERT_TRUE (feed->record (3 * 44100));
    float peak = 0.0f;
    for (auto x : feed->getRecording (0))
        peak = std::max (peak, std::abs (x));
    EXPECT_GT (peak, 0.01f);
    auto* jam = controller->getJamEngine();
    ASSERT_NE (jam, nullptr);
    jam->stopAll();
    const auto exported = jam->getRhythmExport();
    ASSERT_EQ (exported.songFiles.size(), 1);
    EXPECT_EQ (exported.songFiles[0].getFileName(), "Song_8beat.xml");
    EXPECT_FALSE (exported.patternIds.isEmpty());

    // A preview machine of its own stands in for the jam's machine and finds
    // what it was sent in the audition folder; the jam's machine comes back.
    EXPECT_EQ (request (BeginRhythmPreview), requestTrue);
    auto preview = engine->getRhythmItem();
    ASSERT_NE (dynamic_cast<Rhythmer*> (preview.get()), nullptr);
    EXPECT_NE (preview.get(), jamMachine.get());
    EXPECT_EQ (jam->getRhythmExport().songFiles, exported.songFiles) << "the export still names the jam's song";
    EXPECT_TRUE (getRhythmAuditionFolder().isAChildOf (platform::getPrivateCacheFolder()));
    EXPECT_EQ (request (EndRhythmPreview), requestTrue);
    EXPECT_EQ (engine->getRhythmItem().get(), jamMachine.get());
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
