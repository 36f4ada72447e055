// Figures for the audio engine live on a private JACK server (dummy back end,
// 44100 Hz, 512 frames, no real-time scheduling): the callback's time per block,
// JUCE's CPU usage, xruns and the allocations per callback for an empty jam,
// with the tuner fed, with two playing takes and with two takes slowed through
// the Decelerator; then the mix-down's speed and its repeatability. Global
// operator new is replaced here by a counting one.
//
//   oxa_bench_engine [seconds per live run, default 60]
#include "../tests/engine/JackTestServer.h"
#include "engine/AudioLock.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/EngineSettings.h"
#include "engine/MixDownThread.h"
#include "engine/Synchronizer.h"
#include "engine/TypeLib.h"
#include "recorder/TakeStatus.h"
#include "recorder/WaveFile.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <time.h>
#include <vector>

//==============================================================================
#include "CountingAllocator.h"
#include "BenchTakes.h"
#include "TimedEngine.h"

using namespace T730;

namespace
{
    constexpr int blockSize = 512;
    constexpr double blockMs = 512.0 / 44.1;

    double seconds (juce::int64 from)
    {
        return juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - from);
    }

    /** A recorder in miniature: plays its take where the transport is; while the
        transport is slowed, the frames it covered go through a Decelerator. */
    struct TakePlayer : public PlayableItem
    {
        TakePlayer (Synchronizer& s, DspLoader& modules)
            : PlayableItem (s), decelerator ("Decelerator", nullptr, true, false, &modules)
        {
            decelerator.setBlockSize (blockSize);
            decelerator.setSampleRate (44100.0);
            left.resize ((size_t) blockSize * 2);
            right.resize ((size_t) blockSize * 2);
            covered[0].resize ((size_t) blockSize * 2);
            covered[1].resize ((size_t) blockSize * 2);
        }

        void prepare (double, int) override {}

        void render (juce::int64 p, const float* const*, float* const* out, int first, int n) override
        {
            const auto* state = getCurrentPlayState();
            const int speed = state->getSpeed();
            if (speed == 0 || decelerator.getEffect() == nullptr)
            {
                take.render (p, out, first, n);
                return;
            }

            // The frames the slowed transport covered in this block, at the start of the buffer.
            const float ratio = state->getSpeedRatio();
            decelerator.setRawValue (0, (float) (speed - 50) / 50.0f);
            const double span = (double) ratio * n + fraction;
            const int fresh = juce::jmin (n, (int) span);
            fraction = span - std::floor (span);

            float* cov[2] = { covered[0].data(), covered[1].data() };
            std::fill (covered[0].begin(), covered[0].begin() + n, 0.0f);
            std::fill (covered[1].begin(), covered[1].begin() + n, 0.0f);
            take.render (next, cov, 0, fresh);
            next += fresh;
            for (int i = 0; i < n; ++i)
            {
                left[(size_t) i] = covered[0][(size_t) i];
                right[(size_t) i] = covered[1][(size_t) i];
            }
            double* channels[2] = { left.data(), right.data() };
            decelerator.process (channels, channels, n);
            for (int i = 0; i < n; ++i)
            {
                out[0][first + i] = (float) left[(size_t) i];
                out[1][first + i] = (float) right[(size_t) i];
            }
        }

        void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
        juce::int64 getLength() override { return take.getLatestEnd(); }
        bool load (const juce::File&, const juce::File&) override { return true; }
        ItemPanel::Ptr getPanel() override { return nullptr; }

        TakeStatus take;
        TypeLib decelerator;
        std::vector<double> left, right;
        std::vector<float> covered[2];
        double fraction = 0.0;
        juce::int64 next = 0;
    };

    /** A stand-in for the rhythm machine: a synthetic tone. */
    struct ToneItem : public PlayableItem
    {
        ToneItem (Synchronizer& s, juce::int64 samples) : PlayableItem (s), length (samples) {}
        void prepare (double, int) override {}
        void render (juce::int64 p, const float* const*, float* const* out, int first, int n) override
        {
            for (int i = 0; i < n; ++i)
                out[0][first + i] = out[1][first + i] = 0.2f * std::sin ((float) ((p + i) % 44100) * 0.0627f);
        }
        void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
        juce::int64 getLength() override { return length; }
        bool load (const juce::File&, const juce::File&) override { return true; }
        ItemPanel::Ptr getPanel() override { return nullptr; }
        juce::int64 length;
    };

    struct Factory : public PlayableItemFactory
    {
        explicit Factory (DspLoader& m) : modules (m) {}
        PlayableItem::Ptr createRhythmItem (Synchronizer& s, bool) override { return new ToneItem (s, rhythmLength); }
        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override     { return new TakePlayer (s, modules); }
        DspLoader& modules;
        juce::int64 rhythmLength = 0;
    };

    struct NoPitch final : NetListOwner
    {
        void nodePitchDetected (float) override { ++reports; }
        int reports = 0;
    };

    void runLive (const char* title, juce::AudioDeviceManager& manager, TimedEngine& timed, double duration)
    {
        auto* device = manager.getCurrentAudioDevice();

        // A second to settle, then the measured run with the CPU usage sampled every 100 ms.
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1000);
        timed.measuring = false;
        juce::Thread::sleep (50);
        timed.count = 0;
        timed.allocated = timed.allocatingBlocks = 0;
        const int xrunsBefore = device->getXRunCount();
        timed.measuring = true;

        double cpuSum = 0.0, cpuMax = 0.0;
        int cpuSamples = 0;
        const auto end = juce::Time::getMillisecondCounterHiRes() + duration * 1000.0;
        while (juce::Time::getMillisecondCounterHiRes() < end)
        {
            juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
            const double cpu = manager.getCpuUsage();
            cpuSum += cpu;
            cpuMax = juce::jmax (cpuMax, cpu);
            ++cpuSamples;
        }
        timed.measuring = false;
        juce::Thread::sleep (50);
        const int xruns = device->getXRunCount() - xrunsBefore;

        const int n = juce::jmin (timed.count.load(), (int) timed.times.size());
        struct Figures { double mean = 0, p99 = 0, worst = 0; };
        const auto figures = [n] (const std::vector<double>& all)
        {
            Figures f;
            if (n == 0)
                return f;
            std::vector<double> sorted (all.begin(), all.begin() + n);
            std::sort (sorted.begin(), sorted.end());
            for (auto t : sorted)
                f.mean += t;
            f.mean /= n;
            f.p99 = sorted[(size_t) juce::jmax (0, (int) std::ceil (0.99 * n) - 1)];
            f.worst = sorted.back();
            return f;
        };
        const auto line = [] (const char* what, const Figures& f)
        {
            std::printf ("    %-12s mean %8.1f us (%5.2f %%)  p99 %8.1f us (%6.2f %%)  max %8.1f us (%6.2f %%)\n", what,
                         f.mean * 1000.0, f.mean / blockMs * 100.0, f.p99 * 1000.0, f.p99 / blockMs * 100.0,
                         f.worst * 1000.0, f.worst / blockMs * 100.0);
        };

        std::printf ("%s: %d blocks\n", title, n);
        line ("wall clock", figures (timed.times));
        line ("thread CPU", figures (timed.cpuTimes));
        std::printf ("    JUCE CPU usage mean %5.2f %% max %5.2f %%, xruns %d, allocations per callback %.4f (%lld blocks allocated)\n",
                     cpuSum / juce::jmax (1, cpuSamples) * 100.0, cpuMax * 100.0, xruns,
                     n > 0 ? (double) timed.allocated / n : 0.0, timed.allocatingBlocks);
        std::fflush (stdout);
    }

    void loadTakes (DspMain& engine, int recorders, const juce::File& a, const juce::File& b, juce::int64 end = -1)
    {
        for (int i = 0; i < recorders; ++i)
        {
            engine.addJamItem (1, {}, {});
            auto& take = dynamic_cast<TakePlayer&> (*engine.getRecorder (i)).take;
            take.addRecording (i % 2 == 0 ? a : b, 0, end);
        }
    }
} // namespace

int main (int argc, char** argv)
{
    const double duration = argc > 1 ? juce::jmax (1.0, std::atof (argv[1])) : 60.0;
    juce::ScopedJuceInitialiser_GUI juceRuntime;

    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oxa-bench-engine", {}, false);
    folder.createDirectory();
    DspLoader modules (juce::File (OXA_BENCH_RESOURCES_DIR), false);

    std::printf ("Audio engine on a private JACK server (dummy back end, no real-time scheduling), 512-frame blocks\n"
                 "at 44100 Hz: one block is %.2f ms of audio; percentages are of that. %.0f s per live run.\n\n", blockMs, duration);

    const int takeFrames = 200 * 44100;
    const auto takeA = makePluckedTake (folder, "Audio0.wav", takeFrames, 0.3f, 0.0313f);
    const auto takeB = makePluckedTake (folder, "Audio1.wav", takeFrames, 0.25f, 0.0469f);

    // Live ---------------------------------------------------------------------
    {
        oxatest::JackTestServer server;
        if (! server.isRunning())
        {
            std::printf ("no JACK server: %s\n", server.getError().toRawUTF8());
            return 0;
        }
        oxatest::JackTestClient feed;
        feed.setTone (110.0, 0.5f);

        Synchronizer sync;
        Factory factory (modules);
        NoPitch pitches;
        DspMain engine (nullptr, &factory, sync, &modules, &pitches);
        TimedEngine timed (engine);

        juce::AudioDeviceManager manager;
        const auto error = oxatest::openJackDevice (manager, feed.getName());
        if (error.isNotEmpty())
        {
            std::printf ("the engine's device did not open: %s\n", error.toRawUTF8());
            return 0;
        }
        manager.addAudioCallback (&timed);

        // The server and the device by themselves: a callback that only clears its outputs.
        timed.idle = true;
        runLive ("reference: the device alone (no engine)", manager, timed, duration);
        timed.idle = false;

        runLive ("empty jam", manager, timed, duration);

        engine.setTunerFeed (true);
        runLive ("tuner feed on (110 Hz tone)", manager, timed, duration);

        loadTakes (engine, 2, takeA, takeB);
        sync.getMaster().play();
        runLive ("tuner feed on, two playing takes", manager, timed, duration);

        sync.getMaster().pause();
        sync.getMaster().stop();
        sync.getMaster().setSpeed (50);
        sync.getMaster().play();
        runLive ("tuner feed on, two takes slowed (Decelerator)", manager, timed, duration);
        sync.getMaster().stop();
        sync.getMaster().setSpeed (0);

        std::printf ("(tuner reports while fed: %d)\n\n", pitches.reports);
        manager.removeAudioCallback (&timed);
        manager.closeAudioDevice();
    }

    // Mix-down -------------------------------------------------------------------
    {
        auto& settings = getEngineSettings();
        settings.audioRunning = true;
        Synchronizer sync;
        Factory factory (modules);
        factory.rhythmLength = 180 * 44100;
        DspMain engine (nullptr, &factory, sync, &modules);
        engine.prepareToPlay (44100.0, blockSize);
        engine.addJamItem (0, {}, {});
        loadTakes (engine, 4, takeA, takeB, 180 * 44100);

        auto& mixDown = engine.getMixDown();
        juce::MemoryBlock first, second;
        for (int run = 0; run < 2; ++run)
        {
            const auto file = folder.getChildFile ("mix" + juce::String (run) + ".wav");
            const auto start = juce::Time::getHighResolutionTicks();
            mixDown.start (file);
            mixDown.waitUntilFinished();
            const double s = seconds (start);
            const double audio = (double) mixDown.getBlockCount() * blockSize / 44100.0;
            std::printf ("mix-down %d: %.1f s of jam (a tone item and four takes) in %.3f s = %.0f x real time%s\n",
                         run + 1, audio, s, audio / s, mixDown.hasSucceeded() ? "" : " (FAILED)");
            file.loadFileAsData (run == 0 ? first : second);
        }
        std::printf ("two mix-downs of the same jam: %s (%zu bytes)\n", first == second ? "byte-identical" : "DIFFERENT",
                     first.getSize());
        settings.audioRunning = false;
    }

    folder.deleteRecursively();
    return 0;
}
