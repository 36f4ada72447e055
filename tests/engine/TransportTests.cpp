// The shared transport: play states, fades, count-in, loop, speed, and the
// item processing that follows them.
#include <gtest/gtest.h>

#include "JamTestItems.h"
#include "engine/AudioLock.h"
#include "engine/FadeRamp.h"
#include "engine/JamOwner.h"
#include "engine/PlayState.h"
#include "engine/Synchronizer.h"

#include <thread>
#include <vector>

using namespace T730;
using oxatest::toneLeft;
using oxatest::toneRight;

namespace
{
    struct CountingOwner : public JamOwner
    {
        bool isAnyRecorderArmed() override { ++armedQuestions; return armed; }
        void itemsStopped() override { ++stopped; }
        void loopWrapped() override { ++wrapped; }
        void itemsLocated() override { ++located; }
        void jamChanged() override { ++changed; }

        bool armed = false;
        std::atomic<int> armedQuestions { 0 }, stopped { 0 }, wrapped { 0 }, located { 0 }, changed { 0 };
    };

    /** The audio callback in miniature: items processed under the audio lock,
        then the synchroniser advanced. Keeps every output sample. */
    struct Rig
    {
        explicit Rig (int itemCount = 1)
        {
            for (int i = 0; i < itemCount; ++i)
                items.push_back (new oxatest::ToneItem (sync));
            sync.setOwner (&owner);
        }

        ~Rig() { sync.setOwner (nullptr); }

        /** One block; returns the total it started at. */
        juce::int64 block (int n)
        {
            const juce::ScopedLock sl (getAudioLock());
            const auto start = sync.getTotal();
            for (size_t i = 0; i < items.size(); ++i)
            {
                std::vector<float> l ((size_t) n), r ((size_t) n);
                float* out[2] = { l.data(), r.data() };
                const float* in[2] = { silence.data(), silence.data() };
                if ((int) silence.size() < n)
                    silence.resize ((size_t) n);
                items[i]->process (in, out, n);
                outputs.resize (items.size());
                outputs[i].first.insert (outputs[i].first.end(), l.begin(), l.end());
                outputs[i].second.insert (outputs[i].second.end(), r.begin(), r.end());
            }
            sync.advance (n);
            return start;
        }

        void blocks (int count, int n) { for (int i = 0; i < count; ++i) block (n); }

        PlayState& master() { return sync.getMaster(); }
        float left (size_t item, juce::int64 sampleIndex) const { return outputs[item].first[(size_t) sampleIndex]; }

        oxatest::ScopedEngineRunning running;
        Synchronizer sync;
        CountingOwner owner;
        std::vector<oxatest::ToneItem::Ptr> items;
        std::vector<std::pair<std::vector<float>, std::vector<float>>> outputs;
        std::vector<float> silence = std::vector<float> (4096);
    };

    float rampIn (juce::int64 k)  { return k >= 441 ? 1.0f : (float) k / 441.0f; }
    float rampOut (juce::int64 k) { return k >= 441 ? 0.0f : 1.0f - (float) k / 441.0f; }
} // namespace

TEST (EngineTransport, RampIsTenMillisecondsOfTheRate)
{
    EXPECT_EQ (FadeRamp::lengthFor (44100.0), 441);
    EXPECT_EQ (FadeRamp::lengthFor (48000.0), 480);
    EXPECT_EQ (FadeRamp::lengthFor (44100.9), 441);
    EXPECT_EQ (FadeRamp::lengthFor (0.0), 0);
    EXPECT_EQ (FadeRamp::flush (1.0e-30f), 0.0f);
    EXPECT_EQ (FadeRamp::flush (0.25f), 0.25f);
}

TEST (EngineTransport, PlayFadesInAndStopFadesOutOver441SamplesBackToZero)
{
    Rig rig;
    rig.master().play();
    EXPECT_EQ (rig.master().getState(), PlayState::startRequested);

    rig.blocks (4, 512);
    EXPECT_TRUE (rig.master().isPlaying());
    EXPECT_EQ (rig.master().getPosition(), 2048);

    // The start fades in from position 0.
    for (juce::int64 i : { 0, 1, 220, 440, 441, 1000 })
        EXPECT_NEAR (rig.left (0, i), toneLeft (i) * rampIn (i), 1.0e-6f) << i;

    const auto commandTotal = rig.sync.getTotal();
    rig.master().stop (false);
    EXPECT_EQ (rig.master().getPendingCommand(), PlayState::stopCommand);

    rig.blocks (2, 512);
    for (juce::int64 k = 0; k < 1024; ++k)
        EXPECT_NEAR (rig.left (0, commandTotal + k), toneLeft (commandTotal + k) * rampOut (k), 1.0e-6f) << k;

    EXPECT_TRUE (rig.master().isStopped());
    EXPECT_EQ (rig.master().getPosition(), 0);
    EXPECT_EQ (rig.owner.stopped.load(), 1) << "the items are silenced once";
}

TEST (EngineTransport, PauseLeavesThePositionWhereTheFadeEnded)
{
    for (int blockSize : { 64, 512, 1000 })
    {
        Rig rig;
        rig.master().play();
        rig.blocks (3, blockSize);

        const auto commandPosition = rig.master().getPosition();
        rig.master().pause (false);
        rig.blocks (441 / blockSize + 2, blockSize);

        EXPECT_TRUE (rig.master().isStopped()) << blockSize;
        EXPECT_EQ (rig.master().getPosition(), commandPosition + 441) << blockSize;

        // Playing again goes on from there, fading in.
        rig.master().play();
        const auto restart = rig.block (blockSize);
        EXPECT_NEAR (rig.left (0, restart), 0.0f, 1.0e-6f);
        EXPECT_NEAR (rig.left (0, restart + 10), toneLeft (commandPosition + 451) * rampIn (10), 1.0e-6f) << blockSize;
    }
}

TEST (EngineTransport, CountInPlaysOnlyWithARecorderArmedAndTheItemGoesOnWithoutRepeating)
{
    for (bool armed : { false, true })
    {
        Rig rig;
        rig.owner.armed = armed;
        rig.master().setPreCount (-1);
        rig.master().setTempo (120);
        EXPECT_EQ (rig.master().getCountInLength(), 176400);

        rig.master().play();
        rig.blocks (348, 512);   // 176 400 = 344 × 512 + 272: the count-in ends inside a block

        const juce::int64 countIn = armed ? 176400 : 0;
        if (armed)
        {
            EXPECT_EQ (rig.left (0, 0), oxatest::countInLevel);
            EXPECT_EQ (rig.left (0, countIn - 1), oxatest::countInLevel);
        }

        // After the count-in the item starts at position 0 with its fade-in,
        // and every later sample follows on (no block is played twice).
        for (juce::int64 k = 0; k < 1400; ++k)
            ASSERT_NEAR (rig.left (0, countIn + k), toneLeft (k) * rampIn (k), 1.0e-6f) << armed << " " << k;

        EXPECT_EQ (rig.master().getPosition(), 348 * 512 - countIn);
    }
}

TEST (EngineTransport, TempoIsKeptInItsRangeSoTheCountInNeverDividesByZero)
{
    Rig rig;
    auto& ps = rig.master();
    ps.setTempo (0);
    EXPECT_EQ (ps.getTempo(), 120);
    ps.setTempo (1000);
    EXPECT_EQ (ps.getTempo(), 250);
    ps.setTempo (-5);
    EXPECT_EQ (ps.getTempo(), 40);
    ps.setTempo (97);
    EXPECT_EQ (ps.getTempo(), 97);

    ps.setTempo (0);
    ps.setPreCount (4);
    EXPECT_EQ (ps.getCountInLength(), 4 * 44100 * 60 / 120);
    ps.setPreCount (12);
    EXPECT_EQ (ps.getCountInLength(), 8 * 44100 * 60 / 120);
}

TEST (EngineTransport, LocateByWhileStoppedRunsToZeroPastTheStart)
{
    Rig rig;
    rig.master().locateTo (500);
    EXPECT_EQ (rig.owner.located.load(), 1);
    rig.master().locateBy (-1000);
    EXPECT_EQ (rig.master().getPosition(), 0);
    rig.master().locateBy (44100);
    EXPECT_EQ (rig.master().getPosition(), 44100);
    EXPECT_EQ (rig.owner.located.load(), 3);
    EXPECT_EQ (rig.owner.changed.load(), 3);

    // Not running: the same moves, without telling anyone.
    oxatest::ScopedEngineRunning stopped (false);
    rig.master().locateBy (-50000);
    EXPECT_EQ (rig.master().getPosition(), 0);
    EXPECT_EQ (rig.owner.located.load(), 3);
    EXPECT_EQ (PlayState::addClamped (std::numeric_limits<juce::int64>::max() - 1, 5), 0);
}

TEST (EngineTransport, LocateWhilePlayingRestartsEveryItemTogetherWithItsFade)
{
    Rig rig (2);
    rig.master().play();
    rig.blocks (2, 512);

    const auto from = rig.master().getPosition();
    rig.master().locateBy (10000, false);
    rig.block (512);   // the fade-out
    const auto restart = rig.block (512);

    EXPECT_TRUE (rig.master().isPlaying());
    for (size_t item = 0; item < 2; ++item)
        for (juce::int64 k : { 0, 5, 300, 440, 500 })
            EXPECT_NEAR (rig.left (item, restart + k), toneLeft (from + 512 + 10000 + k) * rampIn (k), 1.0e-6f)
                << "item " << item << " sample " << k;
}

TEST (EngineTransport, LoopWrapsBackToItsStartAndSilencesTheItems)
{
    Rig rig;
    rig.master().setLoopRange ({ 44100, 88200, true });
    rig.master().locateTo (43000);
    rig.master().play();

    // 43000 + 88 × 512 = 88056: the next block crosses the loop end.
    rig.blocks (88, 512);
    EXPECT_EQ (rig.owner.wrapped.load(), 0);
    const auto crossing = rig.block (512);

    EXPECT_EQ (rig.owner.wrapped.load(), 1);
    EXPECT_EQ (rig.master().getPosition(), 44100);

    // Faded out over the last 441 samples before the end, silent from the end on.
    for (juce::int64 k = 0; k < 512; ++k)
    {
        const auto position = 88056 + k;
        const float expected = position >= 88200 ? 0.0f : toneLeft (position) * (position < 88200 - 441 ? 1.0f : rampOut (position - (88200 - 441)));
        ASSERT_NEAR (rig.left (0, crossing + k), expected, 1.0e-6f) << k;
    }

    // And in again from the loop start.
    const auto again = rig.block (512);
    EXPECT_NEAR (rig.left (0, again), 0.0f, 1.0e-6f);
    EXPECT_NEAR (rig.left (0, again + 200), toneLeft (44100 + 200) * rampIn (200), 1.0e-6f);
}

TEST (EngineTransport, SpeedFiftyAdvancesHalfTheSamplesCarryingTheFraction)
{
    Rig rig;
    rig.master().setSpeed (50);
    EXPECT_FLOAT_EQ (rig.master().getSpeedRatio(), 0.5f);
    rig.master().play();

    std::vector<juce::int64> positions;
    for (int i = 0; i < 4; ++i)
    {
        rig.block (441);
        positions.push_back (rig.master().getPosition());
    }
    EXPECT_EQ (positions, (std::vector<juce::int64> { 220, 441, 661, 882 }));

    rig.master().setSpeed (100);
    EXPECT_FLOAT_EQ (rig.master().getSpeedRatio(), 1.0f);
    rig.master().setSpeed (1);
    EXPECT_NEAR (rig.master().getSpeedRatio(), 0.2530, 0.0005);
}

TEST (EngineTransport, SlowedPlaybackFadesInSynchroniserSamples)
{
    Rig rig;
    rig.master().setSpeed (75);
    rig.master().play();
    rig.block (512);

    // The tone item renders one position per sample; the ramp counts block samples.
    for (juce::int64 k : { 0, 100, 440, 441 })
        EXPECT_NEAR (rig.left (0, k), toneLeft (k) * rampIn (k), 1.0e-6f) << k;
}

TEST (EngineTransport, FadesStayRightWhereTheTotalPasses32Bits)
{
    Rig rig;
    rig.sync.advance (0x7fffffff);
    rig.sync.advance (-100);   // ignored: a block is never negative
    rig.sync.advance (0x7fffffff - 300);
    EXPECT_EQ (rig.sync.getTotal(), 0xffffffffLL - 1 - 300);

    // The stop's fade then spans 2^32.
    rig.master().play();
    rig.block (200);
    const auto commandTotal = rig.sync.getTotal();
    rig.master().stop (false);
    rig.blocks (3, 256);

    EXPECT_GT (commandTotal + 441, 0x100000000LL);
    for (juce::int64 k = 0; k < 700; ++k)
        ASSERT_NEAR (rig.left (0, 200 + k), toneLeft (200 + k) * rampIn (200 + k) * rampOut (k), 1.0e-6f) << k;
    EXPECT_TRUE (rig.master().isStopped());
}

TEST (EngineTransport, PauseWaitsWithoutHoldingTheAudioLockSoTheCommandLands)
{
    Rig rig;
    std::atomic<bool> quit { false };
    std::atomic<int> blocksRendered { 0 };

    rig.master().play();
    std::thread audio ([&]
    {
        while (! quit.load())
        {
            rig.block (256);
            ++blocksRendered;
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
    });

    while (! rig.master().isPlaying())
        std::this_thread::yield();

    const int before = blocksRendered.load();
    rig.master().pause();   // waits for the audio thread to apply it
    const bool applied = rig.master().getPendingCommand() == PlayState::noCommand && rig.master().isStopped();
    const int during = blocksRendered.load() - before;

    rig.master().play();
    while (! rig.master().isPlaying())
        std::this_thread::yield();
    rig.master().stop();
    const bool stopApplied = rig.master().isStopped() && rig.master().getPosition() == 0;

    quit = true;
    audio.join();

    EXPECT_TRUE (applied) << "the audio thread applied the pause while the command waited";
    EXPECT_GE (during, 2);
    EXPECT_TRUE (stopApplied);
}

TEST (EngineTransport, ItemsOnTheirOwnPlayStateAdvanceIt)
{
    Rig rig;
    auto& item = *rig.items[0];
    item.useOwnPlayState (item.getPlayStateA());
    EXPECT_EQ (item.getCurrentPlayState(), &item.getPlayStateA());

    item.play();
    rig.blocks (2, 100);
    EXPECT_EQ (item.getPlayStateA().getPosition(), 200);
    EXPECT_TRUE (rig.master().isStopped());
    EXPECT_EQ (rig.master().getPosition(), 0);

    // Past the item's end, its own play state A stops by itself.
    item.length = 250;
    rig.blocks (2, 100);
    EXPECT_TRUE (item.hasEnded());
    EXPECT_TRUE (item.getPlayStateA().isStopped());

    item.restoreSavedPlayState();
    EXPECT_EQ (item.getCurrentPlayState(), &rig.master());

    // Detached, the item runs on B, stopped at 0; reattached, on the master again.
    item.detach();
    EXPECT_EQ (item.getCurrentPlayState(), &item.getPlayStateB());
    EXPECT_TRUE (item.getPlayStateB().isStopped());
    item.reattach();
    EXPECT_EQ (item.getCurrentPlayState(), &rig.master());
}

TEST (EngineTransport, CommandsWhenTheAudioIsNotRunning)
{
    Rig rig;
    oxatest::ScopedEngineRunning stopped (false);

    rig.master().play();
    EXPECT_TRUE (rig.master().isStopped()) << "nothing starts without a device";

    rig.master().locateTo (1234);
    EXPECT_EQ (rig.master().getPosition(), 1234);
    rig.master().stop();
    EXPECT_EQ (rig.master().getPosition(), 0);
    rig.master().reset();
    EXPECT_EQ (rig.owner.changed.load(), 1) << "reset posts the jam update";
    EXPECT_EQ (rig.owner.located.load(), 0);
}
