// Figures for the recorder's files and the shared transport: WAV writing
// through the queue, take rendering with two regions, the transport's tick and
// fades, and the allocations per block of a playing, recording jam. Global
// operator new is replaced here by a counting one.
#include "engine/AudioLock.h"
#include "engine/DspMain.h"
#include "engine/EngineSettings.h"
#include "engine/Synchronizer.h"
#include "recorder/TakeStatus.h"
#include "recorder/WaveFile.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

//==============================================================================
#include "CountingAllocator.h"
#include "BenchTakes.h"

using namespace T730;

namespace
{
    constexpr int blockSize = 512;

    double seconds (juce::int64 from)
    {
        return juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - from);
    }

    /** A recorder in miniature: plays its take at the position it is given. */
    struct TakePlayer : public PlayableItem
    {
        explicit TakePlayer (Synchronizer& s) : PlayableItem (s) {}
        void prepare (double, int) override {}
        void render (juce::int64 p, const float* const*, float* const* out, int first, int n) override { take.render (p, out, first, n); }
        void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
        juce::int64 getLength() override { return take.getLatestEnd(); }
        bool load (const juce::File&, const juce::File&) override { return true; }
        ItemPanel::Ptr getPanel() override { return nullptr; }
        TakeStatus take;
    };

    /** An item that renders nothing: what is left is the transport's own cost. */
    struct Silent : public PlayableItem
    {
        explicit Silent (Synchronizer& s) : PlayableItem (s) {}
        void prepare (double, int) override {}
        void render (juce::int64, const float* const*, float* const*, int, int) override {}
        void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
        juce::int64 getLength() override { return 1LL << 40; }
        bool load (const juce::File&, const juce::File&) override { return true; }
        ItemPanel::Ptr getPanel() override { return nullptr; }
    };

    struct Factory : public PlayableItemFactory
    {
        PlayableItem::Ptr createRhythmItem (Synchronizer& s, bool) override { return new Silent (s); }
        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new TakePlayer (s); }
    };

    struct Buffers
    {
        std::vector<float> data = std::vector<float> (8 * blockSize);
        float* pair (int k) { return data.data() + k * blockSize; }
        float* rhythm[2] { pair (0), pair (1) };
        float* item[2] { pair (2), pair (3) };
        float* mix[2] { pair (4), pair (5) };
        const float* input[2] { pair (6), pair (7) };
    };
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    auto& settings = getEngineSettings();
    settings.audioRunning = true;
    settings.sampleRate = 44100.0;

    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oxa-bench-takes", {}, false);
    folder.createDirectory();
    std::printf ("Takes and transport (512-frame blocks at 44100 Hz: one block is %.2f ms of audio)\n\n", 512.0 / 44.1);

    // 1. WAV writing ---------------------------------------------------------
    {
        std::vector<float> l ((size_t) blockSize, 0.3f), r ((size_t) blockSize, -0.3f);
        const float* in[2] = { l.data(), r.data() };

        WaveFile wave;
        wave.openForWriting (folder.getChildFile ("throughput.wav"));
        const int audioSeconds = 120;
        const int blocks = audioSeconds * 44100 / blockSize;
        const auto start = juce::Time::getHighResolutionTicks();
        for (int b = 0; b < blocks; ++b)
            wave.writeWaiting (blockSize, (juce::int64) b * blockSize, in, 0);
        wave.finish();
        const double s = seconds (start);
        std::printf ("WAV write through the queue: %d s of audio in %.3f s = %.0f x real time, %.1f MB/s\n",
                     audioSeconds, s, audioSeconds / s, (double) wave.getLength() * 4.0 / s / 1.0e6);

        // The audio thread's side: copying a block into the queue.
        WaveFile recording;
        recording.openForWriting (folder.getChildFile ("queue.wav"));
        const int queued = 2 * 44100 / blockSize;
        const auto q = juce::Time::getHighResolutionTicks();
        int refused = 0;
        for (int b = 0; b < queued; ++b)
            refused += recording.queueWrite (blockSize, (juce::int64) b * blockSize, in, 0) ? 0 : 1;
        const double qs = seconds (q);
        recording.finish();
        std::printf ("queueWrite on the audio thread: %.2f us per block (%d blocks, %d refused, %lld frames lost)\n",
                     qs * 1.0e6 / queued, queued, refused, (long long) recording.getLostFrames());
    }

    // 2. Take rendering ------------------------------------------------------
    TakeStatus take;
    take.addRecording (writeTake (folder, "Audio0.wav", 60 * 44100, [] (int i) { return 0.4f * std::sin ((float) i * 0.01f); }), 0, -1);
    take.addRecording (writeTake (folder, "Audio1.wav", 20 * 44100, [] (int i) { return 0.2f * std::sin ((float) i * 0.01f); }), 10 * 44100, -1);
    {
        std::vector<float> l ((size_t) blockSize), r ((size_t) blockSize);
        float* out[2] = { l.data(), r.data() };
        const int blocks = 50 * 44100 / blockSize;
        const auto start = juce::Time::getHighResolutionTicks();
        for (int b = 0; b < blocks; ++b)
            take.render ((juce::int64) b * blockSize, out, 0, blockSize);
        const double s = seconds (start);
        std::printf ("take render, two regions: %.2f us per block (%.4f %% of the block's time)\n",
                     s * 1.0e6 / blocks, s * 1.0e6 / blocks / (512.0 / 44.1 * 1000.0) * 100.0);
    }

    // 3. Transport tick and fades ----------------------------------------------
    {
        Synchronizer sync;
        Silent item (sync);
        item.incReferenceCount();
        std::vector<float> l ((size_t) blockSize), r ((size_t) blockSize);
        float* out[2] = { l.data(), r.data() };
        const float* in[2] = { l.data(), r.data() };

        const auto run = [&] (int blocks)
        {
            const auto start = juce::Time::getHighResolutionTicks();
            for (int b = 0; b < blocks; ++b)
            {
                const juce::ScopedLock sl (getAudioLock());
                item.process (in, out, blockSize);
                sync.advance (blockSize);
            }
            return seconds (start) * 1.0e9 / blocks;
        };

        const double stopped = run (20000);
        sync.getMaster().play();
        const double playing = run (20000);

        // Blocks that fade: a start every other block, a stop command in between.
        double fading = 0.0;
        const int cycles = 5000;
        for (int c = 0; c < cycles; ++c)
        {
            sync.getMaster().stop (false);
            fading += run (2);
            sync.getMaster().play();
            fading += run (1);
        }
        std::printf ("transport per item and block: %.0f ns stopped, %.0f ns playing, %.0f ns in fading blocks\n",
                     stopped, playing, fading / (cycles * 2));
        item.decReferenceCountWithoutDeleting();
    }

    // 4. Allocations per block --------------------------------------------------
    {
        Synchronizer sync;
        Factory factory;
        DspMain engine (nullptr, &factory, sync);
        engine.addJamItem (0, {}, folder);
        for (int i = 0; i < 2; ++i)
        {
            engine.addJamItem (1, {}, folder);
            auto& recorderTake = dynamic_cast<TakePlayer&> (*engine.getRecorder (i)).take;
            recorderTake.addRecording (folder.getChildFile ("Audio0.wav"), 0, -1);
            recorderTake.addRecording (folder.getChildFile ("Audio1.wav"), 10 * 44100, -1);
        }

        WaveFile recording;
        recording.openForWriting (folder.getChildFile ("temp.wav"));
        Buffers buffers;
        sync.getMaster().play();

        const auto block = [&]
        {
            const juce::ScopedLock sl (getAudioLock());
            const auto position = sync.getMaster().getPosition();
            engine.getRenderList()->renderBlock (buffers.input, buffers.rhythm, buffers.item, buffers.mix, blockSize);
            recording.queueWrite (blockSize, position, buffers.mix, 0);
            sync.advance (blockSize);
        };

        for (int b = 0; b < 200; ++b)
            block();

        const int blocks = 40 * 44100 / blockSize;   // 40 s of audio, paced so the writer keeps up
        const auto allBefore = allAllocations.load();
        const auto threadBefore = threadAllocations;
        const auto start = juce::Time::getHighResolutionTicks();
        for (int b = 0; b < blocks; ++b)
        {
            block();
            if (b % 8 == 7)
                juce::Thread::sleep (1);
        }
        const double s = seconds (start);
        const auto onThread = threadAllocations - threadBefore;
        const auto everywhere = allAllocations.load() - allBefore;

        recording.finish();
        std::printf ("jam of a rhythm item and two recorders (two regions each), recording the mix:\n"
                     "  allocations per block: %.4f on the audio thread (%lld in %d blocks), %.4f in the process (the writer included)\n"
                     "  %.1f us per block with the pacing sleeps; %lld frames lost\n",
                     (double) onThread / blocks, (long long) onThread, blocks, (double) everywhere / blocks,
                     s * 1.0e6 / blocks, (long long) recording.getLostFrames());
    }

    folder.deleteRecursively();
    settings.audioRunning = false;
    return 0;
}
