// Figures for the recorders on the real engine:
// 1. two recorders recording at once for an hour of audio, driven through the
//    engine's callback faster than real time: the callback's cost, allocations
//    per callback, frames lost by the WAV writers and their queues' high-water
//    mark, and the finish pass that places each hour-long take;
// 2. live on a private JACK server (dummy back end, 512 frames, no real-time
//    scheduling): drums and bass, two recorders playing (one slowed to 50 %)
//    and one recording: wall-clock and thread time per callback (mean, p99,
//    max), xruns and allocations per callback;
// 3. offline through the callback as the mix-down renders: drums, bass and four
//    takes, at full speed and with one take slowed; and the mix-down itself.
// Global operator new is replaced by a counting one.
//
//   oxa_bench_recorder [live seconds, default 60] [recorded minutes, default 60] [pace, default 20 x real time]
#include "../tests/engine/JackTestServer.h"
#include "engine/AudioLock.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/EngineSettings.h"
#include "engine/MixDownThread.h"
#include "engine/Synchronizer.h"
#include "recorder/Recorder.h"
#include "recorder/WaveFile.h"
#include "rhythm/Rhythmer.h"

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

    juce::File stage (const char* path) { return juce::File (OXA_BENCH_STAGE_DIR).getChildFile (path); }

    struct Figures
    {
        double mean = 0, p99 = 0, worst = 0;
    };

    Figures figuresOf (std::vector<double> ms)
    {
        Figures f;
        if (ms.empty())
            return f;
        std::sort (ms.begin(), ms.end());
        for (auto t : ms)
            f.mean += t;
        f.mean /= (double) ms.size();
        f.p99 = ms[(size_t) juce::jmax (0, (int) std::ceil (0.99 * (double) ms.size()) - 1)];
        f.worst = ms.back();
        return f;
    }

    void printLine (const char* what, const Figures& f)
    {
        std::printf ("    %-12s mean %8.1f us (%5.2f %%)  p99 %8.1f us (%6.2f %%)  max %8.1f us (%6.2f %%)\n", what,
                     f.mean * 1000.0, f.mean / blockMs * 100.0, f.p99 * 1000.0, f.p99 / blockMs * 100.0,
                     f.worst * 1000.0, f.worst / blockMs * 100.0);
    }

    struct Factory : public PlayableItemFactory
    {
        explicit Factory (DspLoader& m) : modules (m) {}

        PlayableItem::Ptr createRhythmItem (Synchronizer& s, bool preview) override
        {
            Rhythmer::Environment e;
            e.songFolder = stage ("song");
            e.rhythmFolder = stage ("rhythm");
            e.resourceFolder = stage ("resources");
            e.engineLibrary = stage ("resources/rhythmmachine.so");
            e.modules = &modules;
            return new Rhythmer (s, e, preview);
        }

        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override
        {
            Recorder::Environment e;
            e.modules = &modules;
            return new Recorder (s, e);
        }

        DspLoader& modules;
    };

    Recorder& recorderOf (DspMain& engine, int index)
    {
        return dynamic_cast<Recorder&> (*engine.getRecorder (index));
    }

    /** The synthetic device input: a tone with a little noise. */
    void fillInput (std::vector<float>& l, std::vector<float>& r, juce::int64 at, juce::Random& random)
    {
        for (size_t i = 0; i < l.size(); ++i)
        {
            const float tone = 0.3f * std::sin ((float) ((at + (juce::int64) i) % 44100) * 0.0627f);
            l[i] = tone + 0.01f * (random.nextFloat() - 0.5f);
            r[i] = 0.5f * tone;
        }
    }

    //==========================================================================
    void recordAnHour (DspLoader& modules, const juce::File& folder, double minutes, double pace)
    {
        folder.createDirectory();
        auto& settings = getEngineSettings();
        settings.audioRunning = true;
        settings.outputLatency = 256;
        settings.inputLatency = 256;

        Synchronizer sync;
        Factory factory (modules);
        DspMain engine (nullptr, &factory, sync, &modules);
        engine.prepareToPlay (44100.0, blockSize);
        for (int i = 0; i < 2; ++i)
        {
            engine.addJamItem (1, {}, {});
            recorderOf (engine, i).saveSetting (folder);
            recorderOf (engine, i).arm (true);
        }
        sync.getMaster().play();

        const auto blocks = (juce::int64) (minutes * 60.0 * 44100.0 / blockSize);
        std::vector<float> inL (blockSize), inR (blockSize), outL (blockSize), outR (blockSize);
        std::vector<double> cpu;
        cpu.reserve ((size_t) blocks);
        juce::Random random (7);
        long long allocated = 0;
        const double blockWallMs = blockMs / pace;
        const double start = juce::Time::getMillisecondCounterHiRes();

        for (juce::int64 b = 0; b < blocks; ++b)
        {
            fillInput (inL, inR, b * blockSize, random);
            const float* inputs[2] = { inL.data(), inR.data() };
            float* outputs[2] = { outL.data(), outR.data() };
            const auto before = threadAllocations;
            const double t0 = threadMs();
            engine.audioDeviceIOCallbackWithContext (inputs, 2, outputs, 2, blockSize, {});
            cpu.push_back (threadMs() - t0);
            allocated += threadAllocations - before;

            // Held to the pace: the writers get the wall time the pace leaves them.
            const double due = start + (double) (b + 1) * blockWallMs;
            const double now = juce::Time::getMillisecondCounterHiRes();
            if (due - now > 1.0)
                juce::Thread::sleep ((int) (due - now));
        }
        const double wall = (juce::Time::getMillisecondCounterHiRes() - start) / 1000.0;

        std::printf ("Two recorders recording %.0f min of audio at once through the callback, %.0f x real time (%.1f s):\n",
                     minutes, minutes * 60.0 / wall, wall);
        printLine ("thread CPU", figuresOf (cpu));
        std::printf ("    allocations per callback %.4f\n", (double) allocated / (double) juce::jmax<juce::int64> (1, blocks));
        for (int i = 0; i < 2; ++i)
        {
            auto& r = recorderOf (engine, i);
            std::printf ("    recorder %d: frames lost %lld, queue high-water %lld of %d frames (%.1f %%)\n", i + 1,
                         (long long) r.getLostFrames(), (long long) r.getQueueHighWater(), r.getQueueCapacity(),
                         100.0 * (double) r.getQueueHighWater() / juce::jmax (1, r.getQueueCapacity()));
        }

        for (int i = 0; i < 2; ++i)
        {
            auto& r = recorderOf (engine, i);
            const double t0 = juce::Time::getMillisecondCounterHiRes();
            r.arm (false);
            const double ms = juce::Time::getMillisecondCounterHiRes() - t0;
            const auto region = r.getStatus().CurrentTake.getRecord (0);
            std::printf ("    recorder %d: finish pass %.0f ms, region %lld..%lld (%lld frames expected)\n", i + 1, ms,
                         region != nullptr ? (long long) region->start : -1LL,
                         region != nullptr ? (long long) region->end : -1LL,
                         (long long) (blocks * blockSize - 512));
        }
        sync.getMaster().stop (false);
        settings.audioRunning = false;
        settings.outputLatency = settings.inputLatency = 0;
        std::fflush (stdout);
    }

    /** Drums and bass on a song, takes on two recorders (the second slowed when asked), a third armed. */
    void buildJam (DspMain& engine, Synchronizer& sync, const juce::File& folder, const juce::File& takeA,
                   const juce::File& takeB, int players, bool slowOne, bool recordOne)
    {
        folder.createDirectory();
        engine.addJamItem (0, stage ("song/Song_16beat.xml").getFullPathName(), {});
        for (int i = 0; i < players + (recordOne ? 1 : 0); ++i)
        {
            engine.addJamItem (1, {}, {});
            auto& r = recorderOf (engine, i);
            r.saveSetting (folder);
            r.setLevel (80);
            if (i < players)
            {
                const auto copy = r.getFolder().getChildFile ("Audio0.wav");
                (i % 2 == 0 ? takeA : takeB).copyFileTo (copy);
                r.getStatus().CurrentTake.addRecording (copy, 0, -1);
            }
        }
        if (slowOne && players > 1)
        {
            recorderOf (engine, 1).setSpeed (50);
            recorderOf (engine, 1).play();
        }
        if (recordOne)
            recorderOf (engine, players).arm (true);
        sync.getMaster().play();
    }

    void live (DspLoader& modules, const juce::File& folder, const juce::File& takeA, const juce::File& takeB, double seconds)
    {
        oxatest::JackTestServer server;
        if (! server.isRunning())
        {
            std::printf ("no JACK server: %s\n", server.getError().toRawUTF8());
            return;
        }
        oxatest::JackTestClient feed;
        feed.setTone (110.0, 0.4f);

        Synchronizer sync;
        Factory factory (modules);
        DspMain engine (nullptr, &factory, sync, &modules);
        TimedEngine timed (engine);
        juce::AudioDeviceManager manager;
        const auto error = oxatest::openJackDevice (manager, feed.getName());
        if (error.isNotEmpty())
        {
            std::printf ("the engine's device did not open: %s\n", error.toRawUTF8());
            return;
        }
        manager.addAudioCallback (&timed);
        buildJam (engine, sync, folder.getChildFile ("live"), takeA, takeB, 2, true, true);

        juce::MessageManager::getInstance()->runDispatchLoopUntil (1000);
        timed.count = 0;
        timed.allocated = 0;
        auto* device = manager.getCurrentAudioDevice();
        const int xrunsBefore = device->getXRunCount();
        timed.measuring = true;
        juce::MessageManager::getInstance()->runDispatchLoopUntil ((int) (seconds * 1000.0));
        timed.measuring = false;
        juce::Thread::sleep (50);
        const int xruns = device->getXRunCount() - xrunsBefore;

        const int n = juce::jmin (timed.count.load(), (int) timed.times.size());
        std::printf ("Live: drums and bass, two recorders playing (one slowed to 50 %%), one recording; %d blocks in %.0f s:\n",
                     n, seconds);
        printLine ("wall clock", figuresOf (std::vector<double> (timed.times.begin(), timed.times.begin() + n)));
        printLine ("thread CPU", figuresOf (std::vector<double> (timed.cpuTimes.begin(), timed.cpuTimes.begin() + n)));
        std::printf ("    xruns %d, allocations per callback %.4f, recording lost %lld frames\n", xruns,
                     n > 0 ? (double) timed.allocated / n : 0.0, (long long) recorderOf (engine, 2).getLostFrames());

        recorderOf (engine, 2).arm (false);
        manager.removeAudioCallback (&timed);
        manager.closeAudioDevice();
        std::fflush (stdout);
    }

    void offline (DspLoader& modules, const juce::File& folder, const juce::File& takeA, const juce::File& takeB, bool slowOne)
    {
        auto& settings = getEngineSettings();
        settings.audioRunning = true;
        Synchronizer sync;
        Factory factory (modules);
        DspMain engine (nullptr, &factory, sync, &modules);
        engine.prepareToPlay (44100.0, blockSize);
        buildJam (engine, sync, folder.getChildFile (slowOne ? "slowed" : "normal"), takeA, takeB, 4, slowOne, false);

        const int blocks = (int) (180.0 * 44100.0 / blockSize);
        std::vector<float> inL (blockSize, 0.0f), inR (blockSize, 0.0f), outL (blockSize), outR (blockSize);
        long long allocated = 0;
        const auto start = juce::Time::getHighResolutionTicks();
        for (int b = 0; b < blocks; ++b)
        {
            const float* inputs[2] = { inL.data(), inR.data() };
            float* outputs[2] = { outL.data(), outR.data() };
            const auto before = threadAllocations;
            engine.audioDeviceIOCallbackWithContext (inputs, 2, outputs, 2, blockSize, {});
            allocated += threadAllocations - before;
        }
        const double s = juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - start);
        std::printf ("Offline through the callback: drums, bass, four takes%s, 180 s of jam in %.2f s = %.0f x real time, "
                     "allocations per callback %.4f\n", slowOne ? " (one slowed to 50 %)" : "", s, 180.0 / s,
                     (double) allocated / blocks);

        if (! slowOne)
        {
            sync.getMaster().stop (false);
            auto& mixDown = engine.getMixDown();
            const auto file = folder.getChildFile ("mix.wav");
            const auto t0 = juce::Time::getHighResolutionTicks();
            mixDown.start (file);
            mixDown.waitUntilFinished();
            const double ms = juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - t0);
            const double audio = (double) mixDown.getBlockCount() * blockSize / 44100.0;
            std::printf ("Mix-down of the same jam: %.1f s of jam in %.2f s = %.0f x real time%s\n", audio, ms, audio / ms,
                         mixDown.hasSucceeded() ? "" : " (FAILED)");
        }
        settings.audioRunning = false;
        std::fflush (stdout);
    }
} // namespace

int main (int argc, char** argv)
{
    const double liveSeconds = argc > 1 ? juce::jmax (1.0, std::atof (argv[1])) : 60.0;
    const double minutes = argc > 2 ? juce::jmax (0.1, std::atof (argv[2])) : 60.0;
    const double pace = argc > 3 ? juce::jmax (1.0, std::atof (argv[3])) : 20.0;
    juce::ScopedJuceInitialiser_GUI juceRuntime;

    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oxa-bench-recorder", {}, false);
    folder.createDirectory();
    DspLoader modules (stage ("resources"), false);

    std::printf ("The recorders on the audio engine, 512-frame blocks at 44100 Hz: one block is %.2f ms of audio;\n"
                 "percentages are of that.\n\n", blockMs);

    const auto takeA = makePluckedTake (folder, "takeA.wav", 200 * 44100, 0.3f, 0.0313f);
    const auto takeB = makePluckedTake (folder, "takeB.wav", 200 * 44100, 0.25f, 0.0469f);

    recordAnHour (modules, folder.getChildFile ("hour"), minutes, pace);
    folder.getChildFile ("hour").deleteRecursively();
    std::printf ("\n");
    live (modules, folder, takeA, takeB, liveSeconds);
    std::printf ("\n");
    offline (modules, folder, takeA, takeB, false);
    offline (modules, folder, takeA, takeB, true);

    folder.deleteRecursively();
    return 0;
}
