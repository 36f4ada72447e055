// The mix-down: the jam rendered from 0 into a WAV file through the engine's
// own callback, cancelled, empty, into a file that cannot be made, and stopped
// while a block is still being rendered.
#include <gtest/gtest.h>

#include "JamTestItems.h"
#include "TestSupport.h"
#include "engine/AudioLock.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/MixDownThread.h"
#include "engine/Synchronizer.h"
#include "recorder/WaveFile.h"
#include "recorder/WaveFormat.h"

#include <thread>

using namespace T730;

namespace
{
constexpr int blockSize = 512, ramp = 441;

/** Tone items of given lengths; a render may be slowed down or held up. */
struct TimedTone : public oxatest::ToneItem
{
    TimedTone (Synchronizer& s, juce::int64 length) : oxatest::ToneItem (s, length) {}

    void render (juce::int64 position, const float* const* input, float* const* output, int first, int count) override
    {
        if (++renders == holdAtRender)
        {
            holding = true;
            juce::Thread::sleep (holdMs);
            holding = false;
        }
        if (sleepMs > 0)
            juce::Thread::sleep (sleepMs);
        oxatest::ToneItem::render (position, input, output, first, count);
    }

    int sleepMs = 0, holdAtRender = -1, holdMs = 0;
    std::atomic<int> renders { 0 };
    std::atomic<bool> holding { false };
};

struct Factory : public PlayableItemFactory
{
    PlayableItem::Ptr createRhythmItem (Synchronizer& s, bool) override { return keep (new TimedTone (s, rhythmLength)); }
    PlayableItem::Ptr createRecorderItem (Synchronizer& s) override     { return keep (new TimedTone (s, recorderLength)); }

    PlayableItem::Ptr keep (TimedTone* item)
    {
        made.add (item);
        return item;
    }

    juce::int64 rhythmLength = 5000, recorderLength = 3000;
    juce::Array<TimedTone*> made;   // not owned
};

/** An engine on probe-free modules (none at all), prepared as a device would. */
struct Jam
{
    Jam()
    {
        engine.prepareToPlay (44100.0, blockSize);
    }

    bool onMaster()
    {
        for (auto* item : factory.made)
            if (item->getCurrentPlayState() != &sync.getMaster())
                return false;
        return true;
    }

    oxatest::ScopedEngineRunning running;
    oxatest::TempFolder tmp;
    Synchronizer sync;
    Factory factory;
    DspLoader noModules { tmp.get(), false };
    DspMain engine { nullptr, &factory, sync, &noModules };
};

std::vector<int16_t> samplesOf (const juce::File& file, WaveFormat& format)
{
    juce::MemoryBlock bytes;
    file.loadFileAsData (bytes);
    juce::MemoryInputStream in (bytes, false);
    if (! readWaveHeader (in, format))
        return {};
    std::vector<int16_t> samples (format.dataSize / 2);
    std::memcpy (samples.data(), (const char*) bytes.getData() + format.dataStart, format.dataSize);
    return samples;
}
} // namespace

TEST (EngineMixDown, TheJamIsRenderedFromZeroAndTwoRunsGiveTheSameBytes)
{
    Jam jam;
    ASSERT_TRUE (jam.engine.addJamItem (0, {}, {}));
    ASSERT_TRUE (jam.engine.addJamItem (1, {}, {}));

    // The transport stands somewhere in the jam when the mix-down starts.
    jam.sync.getMaster().play();
    std::vector<float> l (blockSize), r (blockSize);
    const float* in[2] = { l.data(), r.data() };
    float* out[2] = { l.data(), r.data() };
    for (int i = 0; i < 5; ++i)
        jam.engine.audioDeviceIOCallbackWithContext (in, 2, out, 2, blockSize, {});
    ASSERT_GT (jam.sync.getMaster().getPosition(), 0);

    auto& mixDown = jam.engine.getMixDown();
    const auto first = jam.tmp / "mix.wav";
    ASSERT_TRUE (mixDown.start (first));
    mixDown.waitUntilFinished();
    EXPECT_TRUE (mixDown.isFinished());
    EXPECT_TRUE (mixDown.hasSucceeded());
    EXPECT_EQ (mixDown.getBlockCount(), 10) << "5000 samples in blocks of 512";
    EXPECT_FLOAT_EQ (mixDown.getProgress(), 1.0f);

    WaveFormat format;
    const auto samples = samplesOf (first, format);
    ASSERT_EQ (samples.size(), 2u * 10 * blockSize);
    for (int p = 0; p < 10 * blockSize; ++p)
    {
        // Both items from position 0, each fading in over 441 samples.
        const float gain = p < ramp ? (float) p / (float) ramp : 1.0f;
        const float left = 2.0f * oxatest::toneLeft (p) * gain, right = 2.0f * oxatest::toneRight (p) * gain;
        ASSERT_NEAR (samples[(size_t) p * 2], toStoredSample (left), 2) << p;
        ASSERT_NEAR (samples[(size_t) p * 2 + 1], toStoredSample (right), 2) << p;
    }

    EXPECT_TRUE (jam.onMaster()) << "every item follows the master again";
    EXPECT_TRUE (jam.sync.getMaster().isStopped());
    EXPECT_EQ (jam.sync.getMaster().getPosition(), 0);

    const auto second = jam.tmp / "again.wav";
    ASSERT_TRUE (mixDown.start (second));
    mixDown.waitUntilFinished();
    juce::MemoryBlock a, b;
    first.loadFileAsData (a);
    second.loadFileAsData (b);
    EXPECT_TRUE (a == b) << "a mix-down is deterministic";
}

TEST (EngineMixDown, ACancelledRunLeavesNoFileAndPutsEveryItemBack)
{
    Jam jam;
    jam.factory.rhythmLength = jam.factory.recorderLength = 44100 * 30;
    ASSERT_TRUE (jam.engine.addJamItem (0, {}, {}));
    ASSERT_TRUE (jam.engine.addJamItem (1, {}, {}));
    jam.factory.made[0]->sleepMs = 2;

    auto& mixDown = jam.engine.getMixDown();
    const auto file = jam.tmp / "cancelled.wav";
    ASSERT_TRUE (mixDown.start (file));
    while (mixDown.getBlockIndex() < 20)
        juce::Thread::sleep (2);
    EXPECT_FALSE (jam.onMaster()) << "the items run on their own play states meanwhile";
    EXPECT_GT (mixDown.getProgress(), 0.0f);
    EXPECT_LT (mixDown.getProgress(), 0.5f);

    mixDown.cancel();
    EXPECT_TRUE (mixDown.isFinished());
    EXPECT_TRUE (mixDown.wasCancelled());
    EXPECT_FALSE (mixDown.hasSucceeded());
    EXPECT_FALSE (file.exists());
    EXPECT_TRUE (jam.onMaster());
    EXPECT_TRUE (jam.sync.getMaster().isStopped());
}

TEST (EngineMixDown, AnEmptyJamWritesAFinishedEmptyFile)
{
    Jam jam;
    auto& mixDown = jam.engine.getMixDown();

    const auto none = jam.tmp / "none.wav";
    ASSERT_TRUE (mixDown.start (none));
    mixDown.waitUntilFinished();
    EXPECT_TRUE (mixDown.hasSucceeded());
    EXPECT_EQ (mixDown.getBlockCount(), 0);
    EXPECT_EQ (mixDown.getProgress(), 0.0f) << "nothing to do";

    jam.factory.recorderLength = 0;
    ASSERT_TRUE (jam.engine.addJamItem (1, {}, {}));
    const auto empty = jam.tmp / "empty.wav";
    ASSERT_TRUE (mixDown.start (empty));
    mixDown.waitUntilFinished();
    EXPECT_TRUE (mixDown.hasSucceeded());

    for (const auto& file : { none, empty })
    {
        WaveFormat format;
        EXPECT_TRUE (samplesOf (file, format).empty());
        EXPECT_EQ (file.getSize(), (juce::int64) WaveFormat::headerBytes);
        EXPECT_EQ (format.dataSize, 0u);
        WaveFile reading;
        EXPECT_TRUE (reading.openForReading (file)) << "a finished recorder-format file";
        EXPECT_TRUE (reading.isValid());
    }
    EXPECT_TRUE (jam.onMaster());
}

TEST (EngineMixDown, AFileThatCannotBeMadeTouchesNothingAndTheRunIsFinished)
{
    Jam jam;
    ASSERT_TRUE (jam.engine.addJamItem (1, {}, {}));
    jam.sync.getMaster().play();
    std::vector<float> l (blockSize), r (blockSize);
    const float* in[2] = { l.data(), r.data() };
    float* out[2] = { l.data(), r.data() };
    jam.engine.audioDeviceIOCallbackWithContext (in, 2, out, 2, blockSize, {});
    ASSERT_TRUE (jam.sync.getMaster().isPlaying());

    auto& mixDown = jam.engine.getMixDown();
    EXPECT_FALSE (mixDown.start (jam.tmp / "no such folder/mix.wav"));
    EXPECT_TRUE (mixDown.isFinished()) << "the progress window closes at once";
    EXPECT_FALSE (mixDown.hasSucceeded());
    EXPECT_FALSE (mixDown.wasCancelled());
    EXPECT_TRUE (jam.onMaster()) << "no recorder was left detached";
    EXPECT_TRUE (jam.sync.getMaster().isPlaying()) << "the transport is as it was";
    mixDown.cancel();
}

TEST (EngineMixDown, StoppingWaitsForTheBlockInHandInsteadOfKillingTheThread)
{
    Jam jam;
    jam.factory.recorderLength = 44100 * 30;
    ASSERT_TRUE (jam.engine.addJamItem (1, {}, {}));
    auto* slow = jam.factory.made[0];
    slow->holdAtRender = 3;
    slow->holdMs = 1500;   // longer than the second JUCE would wait before killing

    auto& mixDown = jam.engine.getMixDown();
    const auto file = jam.tmp / "held.wav";
    ASSERT_TRUE (mixDown.start (file));
    while (! slow->holding)
        juce::Thread::sleep (1);

    const auto started = juce::Time::getMillisecondCounter();
    mixDown.cancel();
    EXPECT_GE (juce::Time::getMillisecondCounter() - started, 1000u) << "waited for the block";
    EXPECT_TRUE (mixDown.isFinished()) << "the run ended by itself and put everything back";
    EXPECT_TRUE (mixDown.wasCancelled());
    EXPECT_FALSE (file.exists());
    EXPECT_TRUE (jam.onMaster());

    // A killed thread would have left the audio lock held.
    bool free = false;
    std::thread other ([&free]
    {
        free = getAudioLock().tryEnter();
        if (free)
            getAudioLock().exit();
    });
    other.join();
    EXPECT_TRUE (free);
}
