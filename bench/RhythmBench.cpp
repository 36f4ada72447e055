// Figures of the rhythm machine on the real engine (FluidSynth, Debian's General MIDI
// SoundFont, reverb on): the SoundFont's load time and resident memory, what program
// start waits for, the cost of a 512-frame block for the drum and the bass instance and
// for the whole machine (mean, p99), the offline speed as a multiple of real time, the
// share of a core live, the allocations per block, and live blocks against offline
// blocks (the same samples?). Block costs are the rendering thread's processor time. Goals: 150x real time offline, 1.5 % of a core live,
// 300 MB resident, start not delayed.
//
// malloc itself is replaced here (FluidSynth allocates with malloc, not operator new), so
// that the allocations of the rendering thread are counted while it renders.
#include "engine/DspLoader.h"
#include "engine/Synchronizer.h"
#include "engine/TypeLibVolumePdl.h"
#include "rhythm/RhythmEngineHost.h"
#include "rhythm/Rhythmer.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <ctime>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

extern "C" void* __libc_malloc (size_t);
extern "C" void* __libc_calloc (size_t, size_t);
extern "C" void* __libc_realloc (void*, size_t);
extern "C" void* __libc_memalign (size_t, size_t);

namespace
{
    thread_local bool counting = false;
    thread_local long long counted = 0;

    inline void count() noexcept
    {
        if (counting)
            ++counted;
    }
} // namespace

extern "C" void* malloc (size_t size)            { count(); return __libc_malloc (size); }
extern "C" void* calloc (size_t n, size_t size)  { count(); return __libc_calloc (n, size); }
extern "C" void* realloc (void* p, size_t size)  { count(); return __libc_realloc (p, size); }
extern "C" void* memalign (size_t a, size_t size) { count(); return __libc_memalign (a, size); }
extern "C" void* aligned_alloc (size_t a, size_t size) { count(); return __libc_memalign (a, size); }
extern "C" int posix_memalign (void** p, size_t a, size_t size)
{
    count();
    *p = __libc_memalign (a, size);
    return *p != nullptr ? 0 : 12;
}

namespace
{
    using Clock = std::chrono::steady_clock;
    double msSince (Clock::time_point t) { return std::chrono::duration<double, std::milli> (Clock::now() - t).count(); }

    /** The rendering thread's own processor time in microseconds: the block costs do not
        count the time other processes of a busy machine take the core away. */
    double threadMicroseconds()
    {
        timespec t {};
        clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
        return (double) t.tv_sec * 1.0e6 + (double) t.tv_nsec / 1.0e3;
    }

    double residentMB()
    {
        std::ifstream status ("/proc/self/status");
        std::string line;
        while (std::getline (status, line))
            if (line.rfind ("VmRSS:", 0) == 0)
                return std::stod (line.substr (6)) / 1024.0;
        return 0.0;
    }

    juce::File stage (const char* path) { return juce::File (OXA_BENCH_STAGE_DIR).getChildFile (path); }

    T730::Rhythmer::Environment environment (T730::DspLoader& modules)
    {
        T730::Rhythmer::Environment e;
        e.songFolder = stage ("song");
        e.rhythmFolder = stage ("rhythm");
        e.resourceFolder = stage ("resources");
        e.engineLibrary = stage ("resources/rhythmmachine.so");
        e.modules = &modules;
        return e;
    }

    struct Stats
    {
        double mean = 0, p99 = 0, max = 0, total = 0;
    };

    Stats statsOf (std::vector<double> us)
    {
        Stats s;
        if (us.empty())
            return s;
        for (double v : us)
            s.total += v;
        s.mean = s.total / (double) us.size();
        std::sort (us.begin(), us.end());
        s.p99 = us[(size_t) ((double) (us.size() - 1) * 0.99)];
        s.max = us.back();
        return s;
    }

    constexpr int block = 512;
    constexpr double blockSeconds = block / 44100.0;

    /** One part alone: the song's messages of that channel straight to one engine instance. */
    Stats renderPart (T730::RhythmEngineInstance& engine, const std::vector<T730::NoteEvent>& events, int channel,
                      int tempo, juce::int64 samples)
    {
        struct Head : juce::AudioPlayHead
        {
            juce::int64 at = 0;
            juce::Optional<PositionInfo> getPosition() const override
            {
                PositionInfo i;
                i.setTimeInSamples (at);
                return i;
            }
        } head;
        engine.setPlayHead (&head);
        juce::AudioBuffer<float> buffer (2, block);
        juce::MidiBuffer midi;
        midi.ensureSize (4096);
        std::vector<double> us;
        size_t next = 0;
        for (juce::int64 p = 0; p < samples; p += block)
        {
            midi.clear();
            for (; next < events.size() && T730::Rhythmer::toSamples (events[next].time, tempo) < p + block; ++next)
            {
                const auto& e = events[next];
                if (e.channel != channel)
                    continue;
                const juce::uint8 m[] = { (juce::uint8) ((e.kind == 0 ? 0x90 : 0x80) | channel), (juce::uint8) e.note,
                                          (juce::uint8) e.velocity };
                midi.addEvent (m, 3, (int) (T730::Rhythmer::toSamples (e.time, tempo) - p));
            }
            head.at = p;
            const auto t = threadMicroseconds();
            engine.processBlock (buffer, midi);
            us.push_back (threadMicroseconds() - t);
        }
        engine.setPlayHead (nullptr);
        return statsOf (us);
    }
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juceInit;
    const auto library = stage ("resources/rhythmmachine.so");
    T730::DspLoader modules (stage ("resources"), false);
    T730::Synchronizer sync;

    std::printf ("Rhythm machine (FluidSynth, %s, blocks of %d frames at 44100 Hz)\n",
                 "FluidR3_GM.sf2", block);
    std::printf ("  (reverb: the machine's room on the drums)\n");

    // Program start: asking for the SoundFont and making the machine never wait for it.
    const double before = residentMB();
    const auto started = Clock::now();
    auto& format = T730::getRhythmEngineFormat();
    format.startLoadingInBackground (library);
    const double startCall = msSince (started);
    const auto made = Clock::now();
    T730::Rhythmer::Ptr machine (new T730::Rhythmer (sync, environment (modules)));
    const double construction = msSince (made);
    const bool loadedAlready = format.getLoadState (library) == T730::kRhythmSoundsReady;

    while (format.getLoadState (library) == T730::kRhythmSoundsLoading)
        juce::Thread::sleep (1);
    const double soundFontLoad = msSince (started);
    if (format.getLoadState (library) != T730::kRhythmSoundsReady)
    {
        std::printf ("  the engine or the SoundFont is missing: the machine is silent\n");
        return 0;
    }
    machine->getDrumInstance()->waitUntilReady (60000);
    machine->getBassInstance()->waitUntilReady (60000);
    const double instancesReady = msSince (started);
    const double withMachine = residentMB();

    T730::Rhythmer::Ptr preview (new T730::Rhythmer (sync, environment (modules), true));
    preview->getDrumInstance()->waitUntilReady (60000);
    preview->getBassInstance()->waitUntilReady (60000);
    const double withPreview = residentMB();

    std::printf ("  start: the background load is started in %.3f ms, a machine is made in %.2f ms%s\n", startCall, construction,
                 loadedAlready ? " (sounds already loaded)" : " while the SoundFont still loads");
    std::printf ("  SoundFont loaded %.0f ms after start, both instances playing after %.0f ms\n", soundFontLoad,
                 instancesReady);
    std::printf ("  resident memory: %.0f MB before, %.0f MB with the SoundFont and one machine, %.0f MB with the preview"
                 " machine too (goal <= 300)\n", before, withMachine, withPreview);

    // The whole machine on every factory song, half a minute each, and each of its
    // instances alone on the same messages.
    const double seconds = 30.0;
    const auto samples = (juce::int64) (seconds * 44100.0);
    std::vector<double> machineUs, wallUs;
    std::vector<double> drumMeans, bassMeans;
    long long measuredBlocks = 0;
    juce::AudioBuffer<float> out (2, block);
    auto songs = stage ("song").findChildFiles (juce::File::findFiles, false, "*.xml");
    songs.sort();
    std::printf ("  per 512-frame block (processor time):       machine mean   p99  x real time | drums  bass\n");
    for (auto& song : songs)
    {
        if (! machine->loadSong (song, {}))
        {
            std::printf ("  %s does not load\n", song.getFileName().toRawUTF8());
            continue;
        }
        machine->prepare (44100.0, block);
        std::vector<double> us;
        us.reserve ((size_t) (samples / block + 1));
        for (juce::int64 p = 0; p < samples; p += block)
        {
            float* ch[2] = { out.getWritePointer (0), out.getWritePointer (1) };
            const bool steady = p >= 16 * block;
            const auto wall = Clock::now();
            const auto t = threadMicroseconds();
            counting = steady;
            machine->render (p, nullptr, ch, 0, block);
            counting = false;
            const double elapsed = threadMicroseconds() - t;
            wallUs.push_back (msSince (wall) * 1000.0);
            measuredBlocks += steady ? 1 : 0;
            us.push_back (elapsed);
        }
        const auto s = statsOf (us);
        // Once through the song (the instance alone does not repeat it).
        const auto once = std::min (samples, machine->getLength());
        const auto drums = renderPart (*machine->getDrumInstance(), machine->getMergedEvents(), 9, machine->getSong().BPM, once);
        const auto bass = renderPart (*machine->getBassInstance(), machine->getMergedEvents(), 0, machine->getSong().BPM, once);
        drumMeans.push_back (drums.mean);
        bassMeans.push_back (bass.mean);
        std::printf ("  %-40s %6.1f us %6.1f us %5.0fx | %5.1f %5.1f us\n", song.getFileName().toRawUTF8(), s.mean, s.p99,
                     seconds / (s.total / 1.0e6), drums.mean, bass.mean);
        machineUs.insert (machineUs.end(), us.begin(), us.end());
    }
    const long long allocations = counted;

    {
        // The pieces of the machine around the instances.
        juce::Reverb room;
        room.setSampleRate (44100.0);
        T730::TypeLibVolumePdl level (nullptr, &modules);
        level.setBlockSize (block);
        level.setRawValue (1, 0.8f);
        juce::AudioBuffer<float> b (2, block);
        b.clear();
        b.setSample (0, 0, 0.5f);
        std::vector<double> r, l;
        for (int i = 0; i < 2000; ++i)
        {
            auto t = threadMicroseconds();
            room.processMono (b.getWritePointer (0), block);
            r.push_back (threadMicroseconds() - t);
            t = threadMicroseconds();
            level.processFloat (block, b.getReadPointer (0), b.getReadPointer (1), b.getWritePointer (0), b.getWritePointer (1));
            l.push_back (threadMicroseconds() - t);
        }
        std::printf ("  the drums' room %.1f us, a level stage %.1f us per block\n", statsOf (r).mean, statsOf (l).mean);
    }

    const auto all = statsOf (machineUs);
    const auto wall = statsOf (wallUs);
    std::printf ("  drum instance alone: mean %.1f us, bass instance alone: mean %.1f us (over the songs)\n",
                 statsOf (drumMeans).mean, statsOf (bassMeans).mean);
    std::printf ("  machine over all songs: mean %.1f us, p99 %.1f us per block; on the wall clock (other processes"
                 " included) mean %.1f us, p99 %.1f us\n", all.mean, all.p99, wall.mean, wall.p99);
    std::printf ("  offline speed: %.0fx real time in processor time, %.0fx on the wall clock (goal >= 150)\n",
                 blockSeconds * 1.0e6 / all.mean, blockSeconds * 1.0e6 / wall.mean);
    std::printf ("  live: %.2f %% of a core (goal <= 1.5)\n", all.mean / (blockSeconds * 1.0e6) * 100.0);
    std::printf ("  allocations on the rendering thread: %.4f per block (%lld in %lld blocks; goal 0)\n",
                 measuredBlocks > 0 ? (double) allocations / (double) measuredBlocks : 0.0, allocations, measuredBlocks);

    // Live blocks (441, as the device runs) against offline blocks (4096, as a mix-down):
    // two machines made alike play the same song from its start.
    T730::Rhythmer::Ptr live (new T730::Rhythmer (sync, environment (modules)));
    T730::Rhythmer::Ptr offline (new T730::Rhythmer (sync, environment (modules)));
    for (auto* m : { live.get(), offline.get() })
    {
        m->getDrumInstance()->waitUntilReady (60000);
        m->getBassInstance()->waitUntilReady (60000);
        m->loadSong (stage ("song/Song_16beat.xml"), {});
    }
    const int compared = 20 * 44100;
    auto renderIn = [compared] (T730::Rhythmer& m, int size)
    {
        juce::AudioBuffer<float> result (2, compared);
        m.prepare (44100.0, size);
        for (int p = 0; p < compared; p += size)
        {
            const int n = std::min (size, compared - p);
            float* ch[2] = { result.getWritePointer (0, p), result.getWritePointer (1, p) };
            m.render (p, nullptr, ch, 0, n);
        }
        return result;
    };
    const auto a = renderIn (*live, 441);
    const auto b = renderIn (*offline, 4096);
    int differing = 0;
    float largest = 0.0f;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < compared; ++i)
        {
            const float d = std::abs (a.getSample (c, i) - b.getSample (c, i));
            differing += d != 0.0f;
            largest = std::max (largest, d);
        }
    std::printf ("  live (441) against offline (4096) over 20 s: %d of %d samples differ (largest %.3g); "
                 "timing error %s\n", differing, 2 * compared, (double) largest,
                 differing == 0 ? "0 samples (identical)" : "see the differing samples");
    std::printf ("  notes start on FluidSynth's 64-sample grid on the timeline: at most 63 samples (1.4 ms) late\n");
    return 0;
}
