// Takes placed where they were played, on a private JACK server: one recorder
// plays a take of clicks, the test's client copies the engine's outputs back
// to its inputs, a second recorder records the pass. With the latency of the
// loop compensated, the recorded clicks sit where the played ones were.
#include <gtest/gtest.h>

#include "../engine/JackTestServer.h"
#include "RecorderTestSupport.h"
#include "engine/DspMain.h"

#include <cmath>
#include <iostream>

using namespace T730;

namespace
{
    constexpr float clickLevel = 0.5f;
    const juce::int64 clicks[] = { 20000, 33333, 47000, 61234, 80000, 95001 };

    struct RecorderFactory : public PlayableItemFactory
    {
        PlayableItem::Ptr createRhythmItem (Synchronizer&, bool) override { return nullptr; }
        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new Recorder (s, environment); }
        Recorder::Environment environment;
    };

    /** Timeline positions of the clicks in a recorded region (samples above half the click). */
    std::vector<juce::int64> clicksIn (const juce::File& file, juce::int64 regionStart)
    {
        std::vector<juce::int64> found;
        const auto frames = oxatest::storedFrames (file);
        for (size_t k = 0; k < frames.size(); ++k)
            if (std::abs (frames[k].first) > (int) (clickLevel * 32768.0f * 0.5f)
                && (found.empty() || (juce::int64) k + regionStart - found.back() > 1000))
                found.push_back (regionStart + (juce::int64) k);
        return found;
    }

    class RecorderLoopback : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            server = std::make_unique<oxatest::JackTestServer> (44100, 512);
            ASSERT_TRUE (server->isRunning()) << server->getError();
            feed = std::make_unique<oxatest::JackTestClient>();
            ASSERT_TRUE (feed->isOpen());
            feed->setTone (0.0, 0.0f);
            feed->setLoopback (true);

            factory.environment.modules = &modules;   // no owner: the recorders finish their own passes
            engine = std::make_unique<DspMain> (nullptr, &factory, sync, &modules);
            manager = std::make_unique<juce::AudioDeviceManager>();
            const auto error = oxatest::openJackDevice (*manager, feed->getName());
            ASSERT_TRUE (error.isEmpty()) << error;
            juceOutput = getEngineSettings().outputLatency.load();
            juceInput = getEngineSettings().inputLatency.load();
            manager->addAudioCallback (engine.get());

            ASSERT_TRUE (engine->addJamItem (1, {}, tmp.get()));
            ASSERT_TRUE (engine->addJamItem (1, {}, tmp.get()));
            player = dynamic_cast<Recorder*> (engine->getRecorder (0).get());
            taker = dynamic_cast<Recorder*> (engine->getRecorder (1).get());
            ASSERT_TRUE (player->saveSetting (tmp.get()));
            ASSERT_TRUE (taker->saveSetting (tmp.get()));
            player->setLevel (100);
            taker->setLevel (100);

            // The take of clicks: single frames at known positions.
            const auto file = player->getFolder().getChildFile ("Audio0.wav");
            ASSERT_TRUE (oxatest::writeBytes (file, oxatest::recorderFile (oxatest::stereoFrames (120000, [] (int i)
            {
                for (auto c : clicks)
                    if (i == c)
                        return std::make_pair ((int) (clickLevel * 32768.0f), (int) (clickLevel * 32768.0f));
                return std::make_pair (0, 0);
            }))));
            ASSERT_TRUE (player->getStatus().CurrentTake.addRecording (file, 0, -1));
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

        /** The loop's latency as JACK reports it for the engine's ports, and the
            test client's own (it copies within the cycle, and the cycle the
            loop closes is read one period later: 512 frames). */
        int jackLoopLatency (juce::String& description)
        {
            int engineOut = 0, engineIn = 0;
            const int loop = feed->getLoopLatency (engineOut, engineIn);
            description = "JACK: engine output " + juce::String (engineOut) + ", input " + juce::String (engineIn)
                          + "; JUCE: output " + juce::String (juceOutput) + ", input " + juce::String (juceInput)
                          + "\n" + feed->describePortLatencies().joinIntoString ("\n");
            return loop;
        }

        bool playUntil (juce::int64 position)
        {
            return oxatest::pumpMessagesUntil ([this, position] { return sync.getMaster().getPosition() >= position; }, 20000);
        }

        Synchronizer sync;
        DspLoader modules { oxatest::stageFolder().getChildFile ("resources"), false };
        RecorderFactory factory;
        oxatest::TempFolder tmp;
        std::unique_ptr<oxatest::JackTestServer> server;
        std::unique_ptr<oxatest::JackTestClient> feed;
        std::unique_ptr<DspMain> engine;
        std::unique_ptr<juce::AudioDeviceManager> manager;
        Recorder* player = nullptr;
        Recorder* taker = nullptr;
        int juceOutput = 0, juceInput = 0;
    };
} // namespace

TEST_F (RecorderLoopback, ARecordedPassOfPlayedClicksIsPlacedWithin32SamplesOfThem)
{
    juce::String latencies;
    const int loop = jackLoopLatency (latencies);

    // First with the latencies JUCE reads from the device, to see what they miss.
    ASSERT_TRUE (taker->arm (true));
    sync.getMaster().play();
    ASSERT_TRUE (playUntil (110000));
    taker->arm (false);
    sync.getMaster().stop();

    auto& take = taker->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 1);
    auto region = take.getRecord (0);
    auto found = clicksIn (taker->getFolder().getChildFile (region->fileName), region->start);
    ASSERT_EQ (found.size(), std::size (clicks)) << latencies;
    const auto uncompensated = found[0] - clicks[0];
    std::cout << latencies.upToFirstOccurrenceOf ("\n", false, false) << "; with JUCE's figures the clicks land " << uncompensated << " samples late" << std::endl;

    // Then with what JACK reports for the ports plus the loop's own period.
    getEngineSettings().outputLatency = loop;
    getEngineSettings().inputLatency = 0;
    ASSERT_TRUE (taker->arm (true));
    sync.getMaster().play();
    ASSERT_TRUE (playUntil (110000));
    taker->arm (false);

    ASSERT_EQ (take.size(), 2);
    region = take.getRecord (0);
    found = clicksIn (taker->getFolder().getChildFile (region->fileName), region->start);
    ASSERT_EQ (found.size(), std::size (clicks)) << latencies;
    for (size_t i = 0; i < found.size(); ++i)
        EXPECT_NEAR ((double) found[i], (double) clicks[i], 32.0) << "click " << i << "; " << latencies;
    EXPECT_NEAR ((double) uncompensated, (double) loop, 32.0) << "the loop JACK and the client account for";
    std::cout << "compensated by " << loop << ": offset " << (found[0] - clicks[0]) << std::endl;
}

TEST_F (RecorderLoopback, APunchedPassHoldsSPlusLToEPlusLPlacedAtSToEAndAnIdlePunchRangeIsSilent)
{
    juce::String latencies;
    const juce::int64 L = jackLoopLatency (latencies);
    getEngineSettings().outputLatency = (int) L;
    getEngineSettings().inputLatency = 0;
    const juce::int64 S = 30000, E = 70000;

    // The taker punches in and out; the player plays every click.
    taker->setPunchRange ({ S, E, true });
    ASSERT_TRUE (taker->arm (true));
    sync.getMaster().play();
    ASSERT_TRUE (playUntil (E + L + 2048));
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([this] { return taker->getStatus().CurrentTake.size() == 1; }, 5000))
        << "the punch-out finished the pass";
    sync.getMaster().stop();

    auto region = taker->getStatus().CurrentTake.getRecord (0);
    EXPECT_EQ (region->start, S);
    EXPECT_EQ (region->end, E);
    const auto file = taker->getFolder().getChildFile (region->fileName);
    EXPECT_EQ (oxatest::storedFrames (file).size(), (size_t) (E - S)) << "frames S + L up to E + L";
    auto found = clicksIn (file, region->start);
    ASSERT_EQ (found.size(), 3u) << latencies;
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR ((double) found[i], (double) clicks[i + 1], 32.0) << i;

    // Now the player, idle with the same punch range, is silent inside it: the
    // taker (free recording) hears only the clicks outside.
    taker->setPunchRange ({ S, E, false });
    player->setPunchRange ({ S, E, true });
    ASSERT_TRUE (taker->arm (true));
    sync.getMaster().play();
    ASSERT_TRUE (playUntil (110000));
    taker->arm (false);

    ASSERT_EQ (taker->getStatus().CurrentTake.size(), 2);
    region = taker->getStatus().CurrentTake.getRecord (0);
    found = clicksIn (taker->getFolder().getChildFile (region->fileName), region->start);
    ASSERT_EQ (found.size(), 3u) << latencies;
    EXPECT_NEAR ((double) found[0], (double) clicks[0], 32.0);
    EXPECT_NEAR ((double) found[1], (double) clicks[4], 32.0);
    EXPECT_NEAR ((double) found[2], (double) clicks[5], 32.0);
}
