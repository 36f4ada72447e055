// The audio callback driven block by block without a device: channels, meters,
// the tuner feed, blocks larger than the buffers, the device rate, the pitch
// path and the reference arithmetic of the tuner.
#include <gtest/gtest.h>

#include "JamTestItems.h"
#include "TestSupport.h"
#include "app/ControllerRequests.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/EngineSettings.h"
#include "engine/MixDownThread.h"
#include "engine/PitchReport.h"
#include "engine/Synchronizer.h"
#include "engine/TunerLib.h"
#include "engine/TypeLibVolumePdl.h"

#include <cmath>
#include <thread>

using namespace T730;

namespace
{
juce::File testModules() { return juce::File (OXA_ENGINE_TEST_MODULES); }

/** A resources folder whose "Tuner" (and, when asked, "Volume_Pedal") is the
    probe module: it doubles what it processes and reports the frame count of
    every block it is given. */
struct ProbeModules
{
    explicit ProbeModules (bool withPedal = false)
    {
        testModules().getChildFile ("EngineProbe.so").copyFileTo (tmp / "Tuner.so");
        if (withPedal)
            testModules().getChildFile ("EngineProbe.so").copyFileTo (tmp / "Volume_Pedal.so");
    }

    oxatest::TempFolder tmp;
    DspLoader loader { tmp.get(), false };
};

struct PitchCatcher final : NetListOwner
{
    void nodePitchDetected (float f) override { reports.push_back (f); }
    std::vector<float> reports;
};

/** Device-like buffers: `inputs` channels of input, `outputs` of output, each `n` samples. */
struct Block
{
    Block (int inputs, int outputs, int n, float inputValue = 0.0f, float outputJunk = 0.7f)
        : in ((size_t) inputs, std::vector<float> ((size_t) n, inputValue)),
          out ((size_t) outputs, std::vector<float> ((size_t) n, outputJunk))
    {
        for (auto& c : in)  inPtr.push_back (c.data());
        for (auto& c : out) outPtr.push_back (c.data());
    }

    void run (DspMain& engine)
    {
        engine.audioDeviceIOCallbackWithContext (inPtr.data(), (int) in.size(), outPtr.data(), (int) out.size(),
                                                 (int) out[0].size(), {});
    }

    bool silent (int channel) const
    {
        for (auto x : out[(size_t) channel])
            if (x != 0.0f)
                return false;
        return true;
    }

    std::vector<std::vector<float>> in, out;
    std::vector<const float*> inPtr;
    std::vector<float*> outPtr;
};

int meter (DspMain& engine, bool output, int channel)
{
    const float peak = engine.takePeak (output, channel);
    return peak == -1.0f ? -1 : ControllerRequests::peakToMeter (peak);
}
} // namespace

TEST (EngineAudio, OutputsTheEngineDoesNotFillAreZeroedAndTooFewChannelsPlaySilence)
{
    oxatest::ScopedEngineRunning running;
    Synchronizer sync;
    oxatest::ToneFactory factory;
    ProbeModules modules;
    DspMain engine (nullptr, &factory, sync, &modules.loader);
    ASSERT_TRUE (engine.prepareToPlay (44100.0, 512));
    ASSERT_TRUE (engine.addJamItem (1, {}, {}));
    sync.getMaster().play();

    // Four outputs: the two the engine plays and two it leaves, which are zeroed.
    Block wide (2, 4, 512, 0.3f);
    wide.run (engine);
    EXPECT_FALSE (wide.silent (0)) << "the playing item";
    EXPECT_TRUE (wide.silent (2));
    EXPECT_TRUE (wide.silent (3));

    // One input, or one output: nothing is rendered, and every output is silence.
    const auto total = sync.getTotal();
    Block oneInput (1, 3, 512, 0.3f);
    oneInput.run (engine);
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE (oneInput.silent (c)) << c;

    Block oneOutput (2, 1, 512, 0.3f);
    oneOutput.run (engine);
    EXPECT_TRUE (oneOutput.silent (0));
    EXPECT_EQ (sync.getTotal(), total) << "no block was rendered";
    EXPECT_EQ (meter (engine, false, 0), ControllerRequests::peakToMeter (0.3f)) << "the meters are those of the last rendered block";
}

TEST (EngineAudio, MetersTakeTheLargestSampleFromZeroAndAreReadOnce)
{
    Synchronizer sync;
    ProbeModules modules;
    DspMain engine (nullptr, nullptr, sync, &modules.loader);
    ASSERT_TRUE (engine.prepareToPlay (44100.0, 256));

    EXPECT_EQ (engine.takePeak (false, 0), -1.0f) << "no block yet";

    Block negative (2, 2, 256, -0.8f);
    negative.run (engine);
    EXPECT_EQ (engine.takePeak (false, 0), 0.0f) << "negative samples never raise the meter";
    EXPECT_EQ (engine.takePeak (false, 0), -1.0f) << "read once";
    EXPECT_EQ (engine.takePeak (false, 1), 0.0f);
    EXPECT_EQ (engine.takePeak (true, 0), 0.0f) << "no items: silence out";

    Block levels (2, 2, 256);
    levels.in[0][100] = 1.0f;
    levels.in[1][17] = 0.25f;
    levels.in[1][18] = -0.9f;
    levels.run (engine);
    EXPECT_EQ (meter (engine, false, 0), 511);
    EXPECT_EQ (meter (engine, false, 1), 255);
    EXPECT_EQ (meter (engine, false, 1), -1);
    EXPECT_EQ (engine.takePeak (false, 2), -1.0f) << "there is no third channel";
    EXPECT_EQ (engine.takePeak (true, -1), -1.0f);
}

TEST (EngineAudio, TheTunerModuleHearsTheInputOnlyWhileFedAndItsReportsReachTheMessageThread)
{
    Synchronizer sync;
    ProbeModules modules;
    PitchCatcher receiver;
    DspMain engine (nullptr, nullptr, sync, &modules.loader, &receiver);
    ASSERT_NE (engine.getTunerNode()->getEffect(), nullptr);
    ASSERT_TRUE (engine.prepareToPlay (44100.0, 512));

    Block block (2, 2, 480, 0.5f);
    for (int i = 0; i < 5; ++i)
        block.run (engine);
    EXPECT_EQ (engine.getPitchReport().getNumReports(), 0) << "the tuner page is hidden: the module is never called";

    engine.setTunerFeed (true);
    for (int i = 0; i < 3; ++i)
        block.run (engine);
    EXPECT_EQ (engine.getPitchReport().getNumReports(), 3) << "one call per block";
    EXPECT_TRUE (receiver.reports.empty()) << "handed over on the message thread only";

    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return ! receiver.reports.empty(); }, 2000));
    EXPECT_EQ (receiver.reports.back(), 480.0f) << "the probe reports the frames it was given";
    EXPECT_TRUE (block.silent (0)) << "what the tuner writes back is not played";

    engine.setTunerFeed (false);
    block.run (engine);
    EXPECT_EQ (engine.getPitchReport().getNumReports(), 3);
}

TEST (EngineAudio, ABlockLargerThanTheBuffersIsRenderedInPiecesWithoutGrowingThem)
{
    oxatest::ScopedEngineRunning running;
    Synchronizer sync;
    oxatest::ToneFactory factory;
    ProbeModules modules;
    DspMain engine (nullptr, &factory, sync, &modules.loader);
    ASSERT_TRUE (engine.prepareToPlay (44100.0, 256));
    ASSERT_TRUE (engine.addJamItem (1, {}, {}));
    engine.setTunerFeed (true);
    sync.getMaster().play();

    Block warmUp (2, 2, 256);
    for (int i = 0; i < 4; ++i)
        warmUp.run (engine);   // past the start's fade

    const auto reportsBefore = engine.getPitchReport().getNumReports();
    const auto start = sync.getMaster().getPosition();
    Block big (2, 2, 1000);
    big.in[0][999] = 0.5f;
    big.run (engine);

    EXPECT_EQ (engine.getBufferCapacity(), 256) << "sized at the start, never on the audio thread";
    EXPECT_EQ (engine.getPitchReport().getNumReports() - reportsBefore, 4) << "256 + 256 + 256 + 232";
    EXPECT_EQ (sync.getMaster().getPosition(), start + 1000);
    for (int i = 0; i < 1000; ++i)
    {
        ASSERT_FLOAT_EQ (big.out[0][(size_t) i], oxatest::toneLeft (start + i)) << i;
        ASSERT_FLOAT_EQ (big.out[1][(size_t) i], oxatest::toneRight (start + i)) << i;
    }
    EXPECT_FLOAT_EQ (engine.takePeak (false, 0), 0.5f) << "the peak over all the pieces";
}

TEST (EngineAudio, ADeviceAtAnotherRateIsNotReadyAndPlaysNothing)
{
    oxatest::ScopedEngineRunning running;
    Synchronizer sync;
    oxatest::ToneFactory factory;
    ProbeModules modules;
    DspMain engine (nullptr, &factory, sync, &modules.loader);
    ASSERT_TRUE (engine.addJamItem (1, {}, {}));
    sync.getMaster().play();

    oxatest::LogCapture log;
    EXPECT_FALSE (engine.prepareToPlay (48000.0, 512));
    EXPECT_FALSE (engine.isReady());
    const auto lines = log.getLines();
    ASSERT_EQ (lines.size(), 1);
    EXPECT_TRUE (lines[0].contains ("48000")) << lines[0];

    Block block (2, 2, 512, 0.5f);
    block.run (engine);
    EXPECT_TRUE (block.silent (0));
    EXPECT_TRUE (block.silent (1));
    EXPECT_EQ (sync.getTotal(), 0) << "never run at the wrong speed";

    oxatest::TempFolder tmp;
    EXPECT_FALSE (engine.getMixDown().start (tmp / "silence.wav")) << "nothing to mix down with";
    EXPECT_FALSE ((tmp / "silence.wav").exists());
    EXPECT_TRUE (engine.getMixDown().isFinished());

    EXPECT_TRUE (engine.prepareToPlay (44100.0, 512));
    block.run (engine);
    EXPECT_FALSE (block.silent (1));
    EXPECT_EQ (sync.getTotal(), 512);
}

TEST (EngineAudio, TheOutputLevelIsTheVolumePedalsAfterTheMix)
{
    oxatest::ScopedEngineRunning running;
    Synchronizer sync;
    oxatest::ToneFactory factory;
    DspLoader staged (oxatest::stageFolder().getChildFile ("resources"), false);
    DspMain engine (nullptr, &factory, sync, &staged);
    ASSERT_NE (engine.getVolumePedal()->getEffect(), nullptr);
    ASSERT_TRUE (engine.prepareToPlay (44100.0, 512));
    ASSERT_TRUE (engine.addJamItem (0, {}, {}));
    ASSERT_TRUE (engine.addJamItem (1, {}, {}));
    sync.getMaster().play();

    engine.setMasterVolume (0.5f);
    EXPECT_TRUE (engine.getMasterLevelText().startsWith ("Level : 50")) << engine.getMasterLevelText();

    Block block (2, 2, 512, 0.9f);
    for (int i = 0; i < 6; ++i)
        block.run (engine);   // the pedal's own ramp settles
    const auto start = sync.getMaster().getPosition();
    block.run (engine);
    for (int i = 0; i < 512; i += 37)
    {
        // Rhythm and recorder play the same tone: twice it, at half the level.
        EXPECT_NEAR (block.out[0][(size_t) i], oxatest::toneLeft (start + i), 1e-6) << i;
        EXPECT_NEAR (block.out[1][(size_t) i], oxatest::toneRight (start + i), 1e-6) << i;
    }
}

TEST (EngineAudio, APitchThatIsNotAFiniteNumberIsNoPitch)
{
    PitchCatcher receiver;
    PitchReport report (&receiver);

    for (float f : { std::nanf (""), INFINITY, -INFINITY, 110.0f })
    {
        std::thread audio ([&report, f] { report.nodePitchDetected (f); });
        audio.join();
        ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return receiver.reports.size() == 1; }, 2000)) << f;
        EXPECT_EQ (receiver.reports[0], std::isfinite (f) ? f : 0.0f) << f;
        receiver.reports.clear();
    }
    EXPECT_EQ (report.getNumReports(), 4);
}

TEST (EngineTunerLib, CentsAndNearestNotesAsTheReferenceComputesThem)
{
    TunerLib tuner;
    EXPECT_EQ (tuner.referenceHz, 440);
    EXPECT_EQ (tuner.flatSteps, 0);
    EXPECT_FLOAT_EQ (tuner.centsFromFrequency (440.0f), 0.0f);
    EXPECT_NEAR (tuner.centsFromFrequency (880.0f), 1200.0f, 1e-3);
    EXPECT_NEAR (tuner.centsFromFrequency (329.63f), -500.0f, 0.05);
    EXPECT_EQ (TunerLib::nearestNote (tuner.centsFromFrequency (329.63f)).index, 7) << "E";
    EXPECT_NEAR (tuner.centsFromFrequency (110.0f), -2400.0f, 1e-3);
    EXPECT_EQ (TunerLib::nearestNote (-2400.0).index, 0);
    EXPECT_EQ (TunerLib::nearestNote (-2400.0).octave, 2);

    // Tuned down a semitone: 100 cents below A4 reads as A.
    tuner.flatSteps = 1;
    EXPECT_NEAR (tuner.centsFromFrequency (440.0f * std::pow (2.0f, -1.0f / 12.0f)), 0.0f, 1e-3);
    tuner.flatSteps = 2;
    EXPECT_NEAR (tuner.centsFromFrequency (440.0f), 200.0f, 1e-3);
    tuner.flatSteps = 3;
    EXPECT_NEAR (tuner.centsFromFrequency (440.0f), 0.0f, 1e-3) << "any other value adds nothing";

    tuner.flatSteps = 0;
    tuner.referenceHz = 445;
    EXPECT_NEAR (tuner.centsFromFrequency (440.0f), -19.56f, 0.01);
    EXPECT_EQ (tuner.centsFromFrequency (0.0f), 0.0f) << "no pitch has no logarithm";

    struct Case { double cents; int index, octave; };
    for (const auto& c : { Case { -150.0, 10, 3 }, Case { 150.0, 2, 4 }, Case { -49.9, 0, 4 }, Case { -50.1, 11, 3 },
                           Case { 0.0, 0, 4 }, Case { 1149.0, 11, 4 }, Case { 1150.0, 0, 5 },
                           Case { -1250.0, 11, 2 }, Case { -1150.0, 0, 3 } })
    {
        const auto note = TunerLib::nearestNote (c.cents);
        EXPECT_EQ (note.index, c.index) << c.cents;
        EXPECT_EQ (note.octave, c.octave) << c.cents;
    }

    // Exactly halfway: c' = 0 (between G# and A) is not below A4 and gives A; c' = -100
    // (between G and G#) is an exact negative multiple and falls to G.
    EXPECT_EQ (TunerLib::nearestNote (-50.0).index, 0) << "c' = 0 is not below";
    EXPECT_EQ (TunerLib::nearestNote (-150.0).index, 10);
}
