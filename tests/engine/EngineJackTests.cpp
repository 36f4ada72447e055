// The engine on a real JACK server: a private dummy-driver server per test, the
// engine's device opened on it through JUCE's JACK device type, and a client of
// the test's own playing a tone into the engine's inputs and recording its
// outputs.
#include <gtest/gtest.h>

#include "JackTestServer.h"
#include "JamTestItems.h"
#include "TestSupport.h"
#include "app/ControllerRequests.h"
#include "engine/AudioLock.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/EngineSettings.h"
#include "engine/Synchronizer.h"
#include "engine/TunerLib.h"

#include <cmath>

using namespace T730;

namespace
{
/** A constant level on each channel while the transport plays. */
struct LevelItem : public PlayableItem
{
    LevelItem (Synchronizer& s, float l, float r) : PlayableItem (s), left (l), right (r) {}

    void prepare (double, int) override {}
    void render (juce::int64, const float* const*, float* const* output, int first, int count) override
    {
        for (int i = 0; i < count; ++i)
        {
            output[0][first + i] = left;
            output[1][first + i] = right;
        }
    }
    void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
    juce::int64 getLength() override { return 44100 * 60; }
    bool load (const juce::File&, const juce::File&) override { return true; }
    ItemPanel::Ptr getPanel() override { return nullptr; }

    const float left, right;
};

struct LevelFactory : public PlayableItemFactory
{
    PlayableItem::Ptr createRhythmItem (Synchronizer&, bool) override { return nullptr; }
    PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new LevelItem (s, 0.25f, -0.125f); }
};

struct Pitches final : NetListOwner
{
    void nodePitchDetected (float f) override { reports.push_back (f); }
    std::vector<float> reports;
};

float largestMagnitude (const std::vector<float>& samples)
{
    float largest = 0.0f;
    for (auto x : samples)
        largest = juce::jmax (largest, std::abs (x));
    return largest;
}

/** A server, the test's client playing 110 Hz at half scale, the engine with
    the staged modules, and the engine's device open on the server. */
class EngineJackServer : public ::testing::Test
{
protected:
    void SetUp() override { start (44100); }

    void start (int rate)
    {
        server = std::make_unique<oxatest::JackTestServer> (rate, 512);
        ASSERT_TRUE (server->isRunning()) << server->getError();
        feed = std::make_unique<oxatest::JackTestClient>();
        ASSERT_TRUE (feed->isOpen());
        feed->setTone (110.0, 0.5f);

        engine = std::make_unique<DspMain> (nullptr, &factory, sync, &modules, &pitches);
        manager = std::make_unique<juce::AudioDeviceManager>();
        const auto error = oxatest::openJackDevice (*manager, feed->getName());
        ASSERT_TRUE (error.isEmpty()) << error;
        manager->addAudioCallback (engine.get());
    }

    void TearDown() override
    {
        if (manager != nullptr)
        {
            manager->removeAudioCallback (engine.get());
            manager->closeAudioDevice();
        }
        manager.reset();
        engine.reset();
        feed.reset();
        server.reset();
        getEngineSettings().audioRunning = false;
    }

    Synchronizer sync;
    LevelFactory factory;
    DspLoader modules { oxatest::stageFolder().getChildFile ("resources"), false };
    Pitches pitches;
    std::unique_ptr<oxatest::JackTestServer> server;
    std::unique_ptr<oxatest::JackTestClient> feed;
    std::unique_ptr<DspMain> engine;
    std::unique_ptr<juce::AudioDeviceManager> manager;
};
} // namespace

TEST_F (EngineJackServer, TheDeviceRunsTheEngineAt44100WithItsBlockSize)
{
    auto* device = manager->getCurrentAudioDevice();
    ASSERT_NE (device, nullptr);
    EXPECT_EQ (device->getTypeName(), "JACK");
    EXPECT_EQ (device->getCurrentSampleRate(), 44100.0);
    EXPECT_TRUE (engine->isReady());
    EXPECT_EQ (getEngineSettings().blockSize.load(), 512);
    EXPECT_TRUE (getEngineSettings().audioRunning.load());

    const auto before = sync.getTotal();
    ASSERT_TRUE (feed->record (44100));
    // (A loaded machine may skip a few cycles of the server's.)
    EXPECT_GE (sync.getTotal() - before, 44100 / 2) << "the engine renders as the server runs";
}

TEST_F (EngineJackServer, WithTheTunerFeedOnA110HzToneReadsAWithinOneCentAndOffTheModuleHearsNothing)
{
    engine->setTunerFeed (true);
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([this] { return pitches.reports.size() >= 20; }, 15000))
        << pitches.reports.size() << " reports";

    TunerLib reference;
    const float pitch = pitches.reports.back();
    EXPECT_NEAR (1200.0 * std::log2 (pitch / 110.0), 0.0, 1.0) << pitch;
    EXPECT_EQ (TunerLib::nearestNote (reference.centsFromFrequency (pitch)).index, 0) << "A";

    engine->setTunerFeed (false);
    oxatest::pumpMessagesUntil ({}, 100);
    const auto reports = engine->getPitchReport().getNumReports();
    const auto cycles = feed->getCycles();
    oxatest::pumpMessagesUntil ([this, cycles] { return feed->getCycles() > cycles + 90; }, 10000);
    EXPECT_EQ (engine->getPitchReport().getNumReports(), reports) << "about a second of blocks without the module";

    engine->setTunerFeed (true);
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([this, reports] { return engine->getPitchReport().getNumReports() > reports; }, 5000));
}

TEST_F (EngineJackServer, TheInputMeterReadsTheTonesPeakAndASecondReadWithoutABlockAnswersMinusOne)
{
    ASSERT_TRUE (feed->record (4096));

    int first = 0, second = 0;
    {
        // No block can run while the audio lock is held.
        const juce::ScopedLock sl (getAudioLock());
        const float peak = engine->takePeak (false, 0);
        first = peak < 0.0f ? -1 : ControllerRequests::peakToMeter (peak);
        second = engine->takePeak (false, 0) < 0.0f ? -1 : 0;
        EXPECT_NEAR (peak, 0.5f, 0.001f);
    }
    EXPECT_NEAR (first, (int) (511.0 * std::sqrt (0.5)), 1);
    EXPECT_EQ (second, -1);

    ASSERT_TRUE (feed->record (1024));
    EXPECT_NEAR (engine->takePeak (false, 1), 0.5f, 0.001f) << "the next block measures again";
    EXPECT_EQ (engine->takePeak (true, 0), 0.0f) << "nothing plays";
}

TEST_F (EngineJackServer, TheOutputIsSilenceWithoutItemsAndTheItemsSignalWithOneScaledByTheMasterLevel)
{
    ASSERT_TRUE (feed->record (22050));
    EXPECT_EQ (largestMagnitude (feed->getRecording (0)), 0.0f) << "the input is not passed through";
    EXPECT_EQ (largestMagnitude (feed->getRecording (1)), 0.0f);

    ASSERT_TRUE (engine->addJamItem (1, {}, {}));
    sync.getMaster().play();
    ASSERT_TRUE (feed->record (44100));   // past the start and its fade
    ASSERT_TRUE (feed->record (22050));
    for (auto x : feed->getRecording (0))
        ASSERT_EQ (x, 0.25f) << "exactly the item, nothing of the tone";
    for (auto x : feed->getRecording (1))
        ASSERT_EQ (x, -0.125f);

    engine->setMasterVolume (0.5f);
    ASSERT_TRUE (feed->record (4096));    // the pedal's 10 ms glide
    ASSERT_TRUE (feed->record (22050));
    for (auto x : feed->getRecording (0))
        ASSERT_NEAR (x, 0.125f, 1e-7);
    for (auto x : feed->getRecording (1))
        ASSERT_NEAR (x, -0.0625f, 1e-7);
}

TEST_F (EngineJackServer, AServerAt48000IsNotReadyAndPlaysNothing)
{
    TearDown();
    oxatest::LogCapture log;
    start (48000);
    EXPECT_TRUE (log.getLines().joinIntoString ("\n").contains ("48000 Hz")) << "said in the log";
    ASSERT_NE (manager->getCurrentAudioDevice(), nullptr);
    EXPECT_EQ (manager->getCurrentAudioDevice()->getCurrentSampleRate(), 48000.0);
    EXPECT_FALSE (engine->isReady());
    EXPECT_FALSE (getEngineSettings().audioRunning.load()) << "transport commands do not wait for it";

    ASSERT_TRUE (engine->addJamItem (1, {}, {}));
    sync.getMaster().play();
    ASSERT_TRUE (feed->record (24000));
    EXPECT_EQ (largestMagnitude (feed->getRecording (0)), 0.0f);
    EXPECT_EQ (sync.getTotal(), 0) << "never run at the wrong speed";
    EXPECT_EQ (engine->takePeak (false, 0), -1.0f) << "nor measured";
}
