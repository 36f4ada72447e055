// Figures of the drummer and the bassist: the per-frame work of each figure's
// playerFrame over every factory song at 30 frames per second (processor time of the
// calling thread: mean, p99, max; goal 0.2 ms), the allocations per block the rhythm
// machine's audio side makes for the figures (counted at operator new while a song
// plays; goal 0), and, on a display (DISPLAY=:N), both 3D views drawing at 30 frames
// per second with Mesa's renderer while a song plays: frames drawn, render-callback
// time per frame and the process's processor time as a share of a core (goal: both
// views together at most 10 %), against the same process idle.
#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/Synchronizer.h"
#include "players/Figures.h"
#include "rhythm/Rhythmer.h"

#include <juce_events/juce_events.h>

#include "BenchDisplay.h"
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <new>
#include <thread>
#include <vector>

namespace
{
    thread_local bool counting = false;
    thread_local long long counted = 0;
} // namespace

namespace
{
    void* countedNew (size_t size)
    {
        if (counting)
            ++counted;
        if (auto* p = std::malloc (size == 0 ? 1 : size))
            return p;
        throw std::bad_alloc();
    }
} // namespace

void* operator new (size_t size)                                 { return countedNew (size); }
void* operator new[] (size_t size)                               { return countedNew (size); }
void* operator new (size_t size, const std::nothrow_t&) noexcept { try { return countedNew (size); } catch (...) { return nullptr; } }
void* operator new[] (size_t size, const std::nothrow_t&) noexcept { try { return countedNew (size); } catch (...) { return nullptr; } }
void operator delete (void* p) noexcept                          { std::free (p); }
void operator delete[] (void* p) noexcept                        { std::free (p); }
void operator delete (void* p, size_t) noexcept                  { std::free (p); }
void operator delete[] (void* p, size_t) noexcept                { std::free (p); }

namespace
{
    using namespace T730;

    double threadMicroseconds()
    {
        timespec t {};
        clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
        return (double) t.tv_sec * 1.0e6 + (double) t.tv_nsec / 1.0e3;
    }

    double processSeconds()
    {
        rusage u {};
        getrusage (RUSAGE_SELF, &u);
        return (double) u.ru_utime.tv_sec + (double) u.ru_stime.tv_sec + ((double) u.ru_utime.tv_usec + (double) u.ru_stime.tv_usec) / 1.0e6;
    }

    juce::File stage (const char* path) { return juce::File (OXA_BENCH_STAGE_DIR).getChildFile (path); }

    Rhythmer::Environment environment()
    {
        Rhythmer::Environment e;
        e.songFolder = stage ("song");
        e.rhythmFolder = stage ("rhythm");
        e.resourceFolder = stage ("resources");
        // No engine: the figures need only the machine's events and transport.
        return e;
    }

    struct NullTarget : PoseTarget
    {
        bool isAnimating() override { return animating; }
        void setAnimating (bool a) override { animating = a; }
        void setFrame (int, int index) override { last = index; }
        bool animating = false;
        int last = 0;
    };

    struct Stats
    {
        std::vector<double> samples;
        void print (const char* what) const
        {
            auto s = samples;
            std::sort (s.begin(), s.end());
            double sum = 0;
            for (auto x : s)
                sum += x;
            std::printf ("  %-34s mean %7.4f ms   p99 %7.4f ms   max %7.4f ms   (%zu frames)\n", what,
                         s.empty() ? 0.0 : sum / (double) s.size() / 1000.0,
                         s.empty() ? 0.0 : s[(size_t) ((double) s.size() * 0.99)] / 1000.0,
                         s.empty() ? 0.0 : s.back() / 1000.0, s.size());
        }
    };

    void benchPlayerFrame()
    {
        std::printf ("playerFrame over every factory song (30 frames per second of song, 1470-sample blocks)\n");
        Stats drummerCost, bassistCost;
        long long blocks = 0, allocations = 0;
        const float in[1470] = {};
        std::vector<float> left (1470), right (1470);

        for (const auto& song : stage ("song").findChildFiles (juce::File::findFiles, false, "*.xml"))
        {
            Synchronizer sync;
            Rhythmer::Ptr machine = new Rhythmer (sync, environment());
            if (! machine->loadSong (song, {}))
                continue;
            DrummerMotion drummer;
            BassistMotion bassist;
            NullTarget drummerTarget, bassistTarget;
            sync.getMaster().play();

            const auto length = machine->getLength();
            juce::int64 frame = 0;
            for (juce::int64 done = 0; done < length + 44100 && frame < 30 * 120; done += 1470, ++frame)
            {
                {
                    const juce::ScopedLock sl (getAudioLock());
                    const float* inputs[2] = { in, in };
                    float* outputs[2] = { left.data(), right.data() };
                    counting = true;
                    counted = 0;
                    machine->process (inputs, outputs, 1470);
                    counting = false;
                    sync.advance (1470);
                    if (frame > 1)   // the first blocks prepare the machine
                    {
                        allocations += counted;
                        ++blocks;
                    }
                }
                auto t0 = threadMicroseconds();
                drummer.frame (frame, machine->getTransport(), *machine->getPublishedEvents(), drummerTarget);
                auto t1 = threadMicroseconds();
                bassist.frame (machine->getTransport(), *machine->getPublishedEvents(), frame * 1000.0 / 30.0, bassistTarget);
                auto t2 = threadMicroseconds();
                drummerCost.samples.push_back (t1 - t0);
                bassistCost.samples.push_back (t2 - t1);
            }
        }
        drummerCost.print ("drummer (with the published events)");
        bassistCost.print ("bassist");
        std::printf ("  allocations of the machine's blocks while the figures read it: %lld in %lld blocks\n\n", allocations, blocks);
    }

    /** A song played in real time on a thread of its own, as the audio callback would. */
    struct LiveSong : juce::Thread
    {
        LiveSong (Rhythmer& m, Synchronizer& s) : juce::Thread ("bench audio"), machine (m), sync (s) {}
        void run() override
        {
            std::vector<float> buffer (4 * 512);
            const float* inputs[2] = { buffer.data(), buffer.data() + 512 };
            float* outputs[2] = { buffer.data() + 1024, buffer.data() + 1536 };
            auto next = std::chrono::steady_clock::now();
            const auto t0 = threadMicroseconds();
            while (! threadShouldExit())
            {
                {
                    const juce::ScopedLock sl (getAudioLock());
                    machine.process (inputs, outputs, 512);
                    sync.advance (512);
                }
                next += std::chrono::microseconds (11610);
                std::this_thread::sleep_until (next);
            }
            cpuMicros = threadMicroseconds() - t0;
        }
        Rhythmer& machine;
        Synchronizer& sync;
        double cpuMicros = 0;
    };

    void benchViews()
    {
        if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        {
            std::printf ("3D views: no display (run with DISPLAY=:N)\n");
            return;
        }

        getEngineSettings().audioRunning = true;
        Synchronizer sync;
        Rhythmer::Ptr machine = new Rhythmer (sync, environment());
        machine->loadSong (stage ("song").getChildFile ("Song_16beat.xml"), {});
        sync.getMaster().play();
        LiveSong audio (*machine, sync);
        audio.startThread (juce::Thread::Priority::high);

        const double seconds = 10.0;
        auto pump = [] (double s)
        {
            const auto end = juce::Time::getMillisecondCounterHiRes() + s * 1000.0;
            while (juce::Time::getMillisecondCounterHiRes() < end)
                juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        };

        juce::Component panel;
        panel.setSize (400, 120);
        panel.addToDesktop (juce::ComponentPeer::windowIsTemporary);
        panel.setVisible (true);

        // The same process with the song playing and no views, for reference.
        pump (1.0);
        auto p0 = processSeconds();
        auto a0 = audio.cpuMicros;
        pump (seconds / 2);
        const double idleShare = (processSeconds() - p0) / (seconds / 2);

        auto drummer = std::make_unique<Drummer> (machine.get(), nullptr, stage ("resources"));
        auto bassist = std::make_unique<Bassist> (machine.get(), nullptr, stage ("resources"));
        drummer->setTopLeftPosition (25, 19);
        bassist->setTopLeftPosition (260, 19);
        panel.addAndMakeVisible (*drummer);
        panel.addAndMakeVisible (*bassist);
        pump (2.0);
        if (drummer->getView() == nullptr || ! drummer->getView()->isReady() || ! bassist->getView()->isReady())
        {
            std::printf ("3D views: no OpenGL context could be made\n");
            audio.stopThread (2000);
            return;
        }

        const int f0 = drummer->getView()->getFramesDrawn() + bassist->getView()->getFramesDrawn();
        const auto r0 = drummer->getView()->getRenderMicroseconds() + bassist->getView()->getRenderMicroseconds();
        p0 = processSeconds();
        a0 = audio.cpuMicros;
        pump (seconds);
        const double share = (processSeconds() - p0) / seconds;
        const int frames = drummer->getView()->getFramesDrawn() + bassist->getView()->getFramesDrawn() - f0;
        const auto renderMicros = drummer->getView()->getRenderMicroseconds() + bassist->getView()->getRenderMicroseconds() - r0;
        juce::ignoreUnused (a0);

        std::printf ("3D views (92 x 75, Mesa %s) with a song playing, %.0f s:\n", "software renderer", seconds);
        std::printf ("  frames drawn by both views      %d (%.1f per second per view; goal 30)\n", frames, frames / seconds / 2.0);
        std::printf ("  render callback per frame        mean %.3f ms, longest %.3f ms (drummer), %.3f ms (bassist)\n",
                     frames > 0 ? (double) renderMicros / frames / 1000.0 : 0.0,
                     drummer->getView()->getLongestRenderMicroseconds() / 1000.0, bassist->getView()->getLongestRenderMicroseconds() / 1000.0);
        std::printf ("  process, both views drawing      %5.1f %% of a core\n", share * 100.0);
        std::printf ("  process, no views (reference)    %5.1f %% of a core\n", idleShare * 100.0);
        std::printf ("  both views                       %5.1f %% of a core (goal <= 10 %%)\n", (share - idleShare) * 100.0);
        std::printf ("  processor time per frame drawn   %.3f ms\n", frames > 0 ? (share - idleShare) * seconds * 1000.0 / frames : 0.0);

        drummer.reset();
        bassist.reset();
        audio.stopThread (2000);
    }
} // namespace

int main()
{
    if (std::getenv ("DISPLAY") != nullptr)
        prepareDisplay();
    juce::ScopedJuceInitialiser_GUI gui;
    benchPlayerFrame();
    benchViews();
    return 0;
}
