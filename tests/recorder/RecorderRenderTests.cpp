// The recorder rendered offline block by block: the punch and latency
// arithmetic, the fades at the punch points and at a disarm, slow-down, pan,
// large blocks, and the 15-band display.
#include <gtest/gtest.h>

#include "RecorderTestSupport.h"
#include "engine/FadeRamp.h"

#include <cmath>

using namespace T730;

namespace
{
    constexpr int r = 441;
    constexpr int takeValue = 16384;     // 0.5
    constexpr float half = 0.5f;

    /** The recorder saved into the rig's tool set, with a take of one constant region. */
    void giveConstantTake (oxatest::RecorderRig& rig, int frames)
    {
        ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
        const auto file = rig.recorder->getFolder().getChildFile ("Audio90.wav");
        ASSERT_TRUE (oxatest::writeConstantTake (file, frames, takeValue));
        ASSERT_TRUE (rig.recorder->getStatus().CurrentTake.addRecording (file, 0, -1));
    }

    float playedLeft (const oxatest::RecorderRig& rig, juce::int64 position)
    {
        auto it = rig.played.find (position);
        return it == rig.played.end() ? -100.0f : it->second.first;
    }
} // namespace

TEST (RecorderRender, APunchedPassRecordsTimelineFramesSPlusLUpToEPlusLAndIsPlacedFromSToE)
{
    oxatest::RecorderRig rig;                  // L = 100 + 156
    const juce::int64 L = 256, S = 5000, E = 12345;
    ASSERT_EQ (Recorder::getLatency(), L);
    ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
    rig.recorder->setPunchRange ({ S, E, true });

    ASSERT_TRUE (rig.recorder->arm (true));
    EXPECT_EQ (rig.recorder->getMode(), Recorder::armed) << "stopped: waits for the punch-in point";
    rig.sync.getMaster().play();

    // Blocks of an odd size, so that the window's edges fall inside blocks.
    rig.playUntil (S + L - 1000, 333);
    EXPECT_EQ (rig.recorder->getMode(), Recorder::armed);
    rig.playUntil (S + L + 700, 333);
    EXPECT_EQ (rig.recorder->getMode(), Recorder::recording);
    rig.playUntil (E + L + 1000, 333);
    EXPECT_EQ (rig.recorder->getMode(), Recorder::idle) << "punched out at E + L";

    // The notice reaches the owner on the message thread, which finishes the pass.
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&rig] { return rig.owner->punchOuts > 0; }, 5000));
    EXPECT_EQ (rig.owner->punchOuts, 1);
    EXPECT_TRUE (rig.owner->problems.empty());

    auto& take = rig.recorder->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 1);
    const auto region = take.getRecord (0);
    EXPECT_EQ (region->start, S);
    EXPECT_EQ (region->end, E);

    const auto frames = oxatest::storedFrames (rig.recorder->getFolder().getChildFile (region->fileName));
    ASSERT_EQ ((juce::int64) frames.size(), E - S);
    const auto zero = rig.timelineZero();
    for (juce::int64 k = 0; k < E - S; ++k)
    {
        const auto t = zero + S + L + k;    // the engine sample at timeline S + L + k
        ASSERT_EQ (frames[(size_t) k].first, oxatest::inputLeftAt (t)) << k;
        ASSERT_EQ (frames[(size_t) k].second, oxatest::inputRightAt (t)) << k;
    }

    EXPECT_FALSE (rig.recorder->getFolder().getChildFile (Recorder::tempFileName).getSize() > 44)
        << "a fresh temp.wav waits for the next pass";
    EXPECT_EQ (take.getLatestEnd(), E);
    EXPECT_EQ (rig.recorder->getLength(), E);
}

TEST (RecorderRender, WithPunchOnAndIdleTheTakeIsSilentBetweenThePointsAndFadesOutBeforeAndInAfter)
{
    oxatest::RecorderRig rig;
    giveConstantTake (rig, 40000);
    const juce::int64 S = 10000, E = 20000;
    rig.recorder->setPunchRange ({ S, E, true });

    rig.sync.getMaster().play();
    rig.playUntil (30000, 256);

    for (juce::int64 p = 1000; p < 30000; ++p)
    {
        float expected = half;
        if (p >= S - r && p < S)
            expected = half * (1.0f - (float) (p - (S - r)) / r);
        else if (p >= S && p < E)
            expected = 0.0f;
        else if (p >= E && p < E + r)
            expected = half * (float) (p - E) / r;
        ASSERT_NEAR (playedLeft (rig, p), expected, 1e-5f) << p;
    }
}

TEST (RecorderRender, DisarmingWhilePlayingFadesTheTakeBackInAtTheNextBlock)
{
    oxatest::RecorderRig rig (true, 700, 800);   // L = 1500: the new region's own fades end before the disarm
    giveConstantTake (rig, 200000);

    ASSERT_TRUE (rig.recorder->arm (true));
    rig.sync.getMaster().play();
    rig.playUntil (20 * 512);
    EXPECT_EQ (rig.recorder->getMode(), Recorder::recording);
    for (juce::int64 p = 0; p < 20 * 512; ++p)
        ASSERT_EQ (playedLeft (rig, p), 0.0f) << "free recording does not play the take";

    const auto a = rig.sync.getMaster().getPosition();
    EXPECT_TRUE (rig.recorder->arm (false));
    EXPECT_EQ (rig.recorder->getMode(), Recorder::idle);
    ASSERT_EQ (rig.recorder->getStatus().CurrentTake.size(), 2) << "the pass was finished";
    const auto region = rig.recorder->getStatus().CurrentTake.getRecord (0);
    EXPECT_EQ (region->start, 0) << "free recording begins at position L, placed at 0";
    EXPECT_EQ (region->end, a - 1500);

    rig.block();
    rig.block();
    for (int k = 0; k < 1024; ++k)
        ASSERT_NEAR (playedLeft (rig, a + k), k < r ? half * (float) k / r : half, 1e-5f) << k;
}

TEST (RecorderRender, FreeRecordingSkipsWhatArrivesBeforeTheLatencyAndArmingWhilePlayingStartsAtOnce)
{
    oxatest::RecorderRig rig (true, 300, 400);
    ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
    rig.sync.getMaster().play();
    rig.playUntil (5000);

    // Armed while playing with punch-in/out off: recording from the next block on.
    ASSERT_TRUE (rig.recorder->arm (true));
    EXPECT_EQ (rig.recorder->getMode(), Recorder::recording);
    const auto a = rig.sync.getMaster().getPosition();
    rig.playUntil (a + 4096);
    const auto b = rig.sync.getMaster().getPosition();
    rig.recorder->arm (false);

    auto& take = rig.recorder->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 1);
    const auto region = take.getRecord (0);
    EXPECT_EQ (region->start, a - 700);
    EXPECT_EQ (region->end, b - 700);
    const auto frames = oxatest::storedFrames (rig.recorder->getFolder().getChildFile (region->fileName));
    ASSERT_EQ ((juce::int64) frames.size(), b - a);
    EXPECT_EQ (frames[0].first, oxatest::inputLeftAt (rig.timelineZero() + a));
}

TEST (RecorderRender, ThreePassesLeaveTwoRegionsAndTheTakeUndoesOnce)
{
    oxatest::RecorderRig rig (true, 0, 0);
    ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));

    const juce::int64 ranges[3][2] = { { 2000, 6000 }, { 8000, 12000 }, { 4000, 9000 } };
    int pass = 0;
    for (auto& range : ranges)
    {
        ++pass;
        rig.recorder->setPunchRange ({ range[0], range[1], true });
        rig.sync.getMaster().locateTo (0);
        ASSERT_TRUE (rig.recorder->arm (true));
        rig.sync.getMaster().play();
        rig.playUntil (range[1] + 2000);
        ASSERT_TRUE (oxatest::pumpMessagesUntil ([&rig, pass] { return rig.owner->punchOuts == pass; }, 5000));
        rig.sync.getMaster().pause (false);
        rig.block();
        rig.block();
    }

    auto& take = rig.recorder->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 2);
    const auto newest = take.getRecord (0), merged = take.getRecord (1);
    EXPECT_EQ (newest->start, 4000);
    EXPECT_EQ (newest->end, 9000);
    EXPECT_EQ (merged->start, 2000) << "the first two passes merged";
    EXPECT_EQ (merged->end, 12000);
    EXPECT_EQ (rig.owner->punchOuts, 3);

    EXPECT_TRUE (rig.recorder->undoTake());
    EXPECT_EQ (take.size(), 2) << "back to the first two passes";
    EXPECT_FALSE (rig.recorder->undoTake()) << "one step of undo";
    EXPECT_TRUE (rig.recorder->redoTake());
    EXPECT_EQ (take.getRecord (0)->start, 4000);
}

TEST (RecorderRender, Speed75GivesRatioTwoToMinusAHalfAndParameterAHalfOnItsOwnPlayState)
{
    EXPECT_FLOAT_EQ (Recorder::speedRatio (75), std::pow (2.0f, -0.5f));
    EXPECT_FLOAT_EQ (Recorder::slowDownParameter (75), 0.5f);
    EXPECT_FLOAT_EQ (Recorder::speedRatio (50), 0.5f);
    EXPECT_FLOAT_EQ (Recorder::slowDownParameter (100), 1.0f);
    EXPECT_FLOAT_EQ (Recorder::slowDownParameter (0), 1.0f);

    oxatest::RecorderRig rig;
    ASSERT_TRUE (rig.recorder->hasSlowDown()) << "the staged Decelerator";
    rig.recorder->setSpeed (75);
    EXPECT_EQ (rig.recorder->getCurrentPlayState(), &rig.recorder->getPlayStateA()) << "a slowed recorder runs on its own clock";
    EXPECT_EQ (rig.recorder->getPlayStateA().getSpeed(), 75);
    EXPECT_EQ (rig.recorder->getStatus().Stretch, 75);

    rig.recorder->setSpeed (100);
    EXPECT_EQ (rig.recorder->getCurrentPlayState(), &rig.sync.getMaster());
    EXPECT_EQ (rig.sync.getMaster().getSpeed(), 0);
    rig.recorder->setSpeed (20);
    EXPECT_EQ (rig.recorder->getStatus().Stretch, 50) << "slowed no further than half speed";
}

TEST (RecorderRender, SlowedPlaybackIsStretchedByTheModuleAndWithoutItPlaysTheTakeAtTheSlowedPace)
{
    const auto rampAt = [] (juce::int64 i) { return (int) (i % 20000) - 10000; };
    const auto sineAt = [] (juce::int64 i) { return (int) (8000.0 * std::sin (2.0 * juce::MathConstants<double>::pi * 440.0 * (double) i / 44100.0)); };

    for (bool withModule : { true, false })
    {
        oxatest::RecorderRig rig (withModule);
        EXPECT_EQ (rig.recorder->hasSlowDown(), withModule);
        ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
        // Left: the take's own position (a ramp), to see which frames play; right: a tone.
        const auto file = rig.recorder->getFolder().getChildFile ("Audio0.wav");
        ASSERT_TRUE (oxatest::writeBytes (file, oxatest::recorderFile (oxatest::stereoFrames (200000,
                         [&] (int i) { return std::make_pair (rampAt (i), sineAt (i)); }))));
        ASSERT_TRUE (rig.recorder->getStatus().CurrentTake.addRecording (file, 0, -1));

        rig.recorder->setSpeed (50);
        auto& own = rig.recorder->getPlayStateA();
        rig.recorder->play();
        double energy = 0.0;
        for (int b = 0; b < 200; ++b)
        {
            const auto position = own.getPosition();
            rig.block (512);
            if (b > 100)
                for (auto x : rig.outR)
                    energy += (double) x * x;
            if (! withModule && b > 10)
            {
                for (int i = 0; i < 512; ++i)
                    ASSERT_EQ (rig.outL[(size_t) i], (float) rampAt (position + i) / 32768.0f) << "the take's own frames, unstretched";
            }
        }
        EXPECT_NEAR ((double) own.getPosition(), 200 * 512 * 0.5, 2.0) << "half the frames of each block";
        // Stretched or not, the tone keeps its level.
        const double expected = 8000.0 / 32768.0 / std::sqrt (2.0);
        EXPECT_NEAR (std::sqrt (energy / (99.0 * 512)), expected, 0.15 * expected) << withModule;
    }
}

TEST (RecorderRender, Pan100SilencesTheLeftPan50LeavesBothAndAChangeGlides)
{
    oxatest::RecorderRig rig;
    giveConstantTake (rig, 200000);
    rig.sync.getMaster().play();
    rig.playUntil (2048);
    for (size_t i = 0; i < 512; ++i)
    {
        ASSERT_EQ (rig.outL[i], half);
        ASSERT_EQ (rig.outR[i], half);
    }

    rig.recorder->setPan (100);
    rig.block();
    EXPECT_LT (rig.outL[1], rig.outL[0]) << "the left side glides down, 0.1 a frame";
    EXPECT_GT (rig.outL[400], 0.0f);
    EXPECT_EQ (rig.outL[505], 0.0f);
    EXPECT_EQ (rig.outR[300], half);
    rig.block();
    for (size_t i = 0; i < 512; ++i)
    {
        ASSERT_EQ (rig.outL[i], 0.0f) << i;
        ASSERT_EQ (rig.outR[i], half);
    }

    rig.recorder->setPan (25);
    rig.playUntil (rig.sync.getMaster().getPosition() + 2048);
    EXPECT_NEAR (rig.outR[0], half * (1.0f - std::sqrt (0.5f)), 1e-6f);
    EXPECT_EQ (rig.outL[0], half);
}

TEST (RecorderRender, MuteAndLevelAndTheSwitchAreAppliedAfterTheTake)
{
    oxatest::RecorderRig rig;
    giveConstantTake (rig, 200000);
    rig.sync.getMaster().play();
    rig.playUntil (2048);

    rig.recorder->setLevel (50);
    rig.playUntil (rig.sync.getMaster().getPosition() + 2048);
    EXPECT_NEAR (rig.outL[0], 0.25f, 1e-6f);
    rig.recorder->setMute (true);
    rig.block();
    EXPECT_EQ (rig.outL[0], 0.0f);
    rig.recorder->setMute (false);
    rig.recorder->setOn (false);
    rig.block();
    EXPECT_EQ (rig.outL[100], 0.0f);
}

TEST (RecorderRender, ABlockLargerThanThePreparedOneIsRenderedInPiecesAsTheSmallerBlocksWould)
{
    oxatest::RecorderRig whole, pieces;
    for (auto* rig : { &whole, &pieces })
    {
        rig->recorder->prepare (44100.0, 256);
        EXPECT_GE (rig->recorder->getWorkCapacity(), 256 + 4);
        EXPECT_EQ (rig->recorder->getWorkCapacity(), Recorder::initialWorkFrames) << "never shrunk";
        giveConstantTake (*rig, 100000);
        rig->recorder->setPunchRange ({ 3000, 5000, true });
        rig->sync.getMaster().play();
    }

    for (int b = 0; b < 10; ++b)
        whole.block (1024);
    for (int b = 0; b < 40; ++b)
        pieces.block (256);

    for (juce::int64 p = 0; p < 10240; ++p)
        ASSERT_EQ (playedLeft (whole, p), playedLeft (pieces, p)) << p;
}

TEST (RecorderRender, EachBandOfTheDisplayAnswersMostToAToneInItsBand)
{
    // Tones between the stages' cut-offs (-ln (b) × rate / 2π: about 16, 42, 111,
    // 291, 762, 1981, 4994 and 10600 Hz); the last stage takes what lies above 10 kHz.
    const double tones[FreqRes16Band::numStages] = { 0.0, 30.0, 70.0, 180.0, 470.0, 1230.0, 3150.0, 16000.0 };

    for (int stage = 1; stage < FreqRes16Band::numStages; ++stage)
    {
        const double f = tones[stage];
        FreqRes16Band display;
        std::vector<float> tone (4096);
        float largest[FreqRes16Band::numBands] = {};
        for (int block = 0; block < 40; ++block)
        {
            for (int i = 0; i < 4096; ++i)
                tone[(size_t) i] = 0.5f * (float) std::sin (2.0 * juce::MathConstants<double>::pi * f * (block * 4096 + i) / 44100.0);
            display.process (tone.data(), tone.data(), 4096);
            if (block >= 20)
                for (int band = 0; band < FreqRes16Band::numBands; ++band)
                    largest[band] = juce::jmax (largest[band], display.getBand (band));
        }

        int loudest = 0;
        for (int band = 1; band < FreqRes16Band::numBands; ++band)
            if (largest[band] > largest[loudest])
                loudest = band;
        EXPECT_EQ (loudest / 2, stage) << f << " Hz: band " << loudest;
        EXPECT_GT (largest[2 * stage], 0.05f);
    }

    FreqRes16Band silent;
    std::vector<float> zeros (512, 0.0f);
    silent.process (zeros.data(), zeros.data(), 512);
    for (int band = 0; band < FreqRes16Band::numBands; ++band)
        EXPECT_EQ (silent.getBand (band), 0.0f);
}
