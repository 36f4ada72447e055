// Cost of the effect modules as the engine runs them: 512-frame stereo blocks at
// 44.1 kHz through the host's nodes (FxInstance objects behind TypeLib). Prints
// each module's processing time as a fraction of the audio time it processed.

#include "engine/DspLoader.h"
#include "engine/EngineSettings.h"
#include "engine/TypeLib.h"
#include "engine/TypeLibVolumePdl.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>
#include <vector>

using namespace T730;

namespace
{
constexpr int blockFrames = 512;
constexpr double sampleRate = 44100.0;
constexpr int seconds = 30;

/** A plucked string: a fundamental with decaying harmonics, a little noise,
    plucked again every two seconds, cycling through a few pitches. */
std::vector<double> pluckedNotes (int frames)
{
    const double pitches[] = { 82.41, 110.0, 146.83, 196.0, 246.94, 329.63 };
    std::vector<double> signal ((size_t) frames);
    std::mt19937 random (7);
    std::normal_distribution<double> noise (0.0, 0.002);
    const int noteFrames = (int) (2.0 * sampleRate);
    for (int i = 0; i < frames; ++i)
    {
        const double f = pitches[(i / noteFrames) % 6];
        const double t = (i % noteFrames) / sampleRate;
        double v = 0.0;
        for (int h = 1; h <= 8; ++h)
            v += std::exp (-t * (1.0 + 0.8 * h)) / h * std::sin (2.0 * M_PI * f * h * t);
        signal[(size_t) i] = 0.4 * v + noise (random);
    }
    return signal;
}

double threadSeconds()
{
    timespec ts {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &ts);
    return (double) ts.tv_sec + (double) ts.tv_nsec * 1e-9;
}

struct Figures
{
    double cpuFraction = 0.0;
    double wallFraction = 0.0;
    double p99Block = 0.0;
    double worstBlock = 0.0;
};

/** Runs `blocks` blocks through `processBlock` (given the block number) after a short warm-up. */
Figures measure (int blocks, const std::function<void (int)>& processBlock)
{
    for (int b = 0; b < 40; ++b)
        processBlock (b);

    std::vector<double> blockTimes;
    blockTimes.reserve ((size_t) blocks);
    const double cpuStart = threadSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (int b = 0; b < blocks; ++b)
    {
        const auto start = std::chrono::steady_clock::now();
        processBlock (40 + b);
        blockTimes.push_back (std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count());
    }
    const double wall = std::chrono::duration<double> (std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = threadSeconds() - cpuStart;

    const double audio = blocks * blockFrames / sampleRate;
    const double blockDuration = blockFrames / sampleRate;
    std::sort (blockTimes.begin(), blockTimes.end());
    Figures f;
    f.cpuFraction = cpu / audio;
    f.wallFraction = wall / audio;
    f.p99Block = blockTimes[(size_t) (0.99 * (blockTimes.size() - 1))] / blockDuration;
    f.worstBlock = blockTimes.back() / blockDuration;
    return f;
}

void print (const char* what, const Figures& f)
{
    std::printf ("%-30s %9.4f %9.4f %12.4f %12.4f\n", what, f.cpuFraction, f.wallFraction, f.p99Block, f.worstBlock);
}

struct Counter : NetListOwner
{
    int reports = 0;
    void nodePitchDetected (float) override { ++reports; }
};
} // namespace

int main()
{
    getEngineSettings().sampleRate = sampleRate;
    getEngineSettings().blockSize = blockFrames;

    const juce::File resources (OXA_BENCH_RESOURCES_DIR);
    DspLoader loader (resources, false);

    const int blocks = (int) (seconds * sampleRate / blockFrames);
    const auto source = pluckedNotes ((int) (seconds * sampleRate) + 2 * 40 * blockFrames + 4 * blockFrames);
    std::vector<double> left (blockFrames), right (blockFrames);
    double* channels[2] = { left.data(), right.data() };
    auto loadBlock = [&] (size_t start)
    {
        for (int i = 0; i < blockFrames; ++i)
            left[(size_t) i] = right[(size_t) i] = source[(start + (size_t) i) % source.size()];
    };

    std::printf ("Effect modules, %d-frame stereo blocks at %.0f Hz, %d s of audio each\n", blockFrames, sampleRate, seconds);
    std::printf ("fraction of real time:          cpu       wall    p99 block  worst block\n");

    {
        Counter owner;
        TypeLibTuner tuner (&owner, &loader);
        if (tuner.getEffect() == nullptr)
            std::printf ("%-30s missing\n", "Tuner");
        else
        {
            auto f = measure (blocks, [&] (int b) { loadBlock ((size_t) b * blockFrames); tuner.process (channels, channels, blockFrames); });
            print ("Tuner", f);
            std::printf ("  (%d pitch reports, %.1f per second)\n", owner.reports, owner.reports / (double) (seconds + 40 * blockFrames / sampleRate));
        }
    }

    {
        TypeLibVolumePdl pedal (nullptr, &loader);
        if (pedal.getEffect() == nullptr)
            std::printf ("%-30s missing\n", "Volume_Pedal");
        else
        {
            pedal.setRawValue (TypeLibVolumePdl::levelParameter, 0.5f);
            std::vector<float> fl (blockFrames), fr (blockFrames);
            auto f = measure (blocks, [&] (int b)
            {
                for (int i = 0; i < blockFrames; ++i)
                    fl[(size_t) i] = fr[(size_t) i] = (float) source[((size_t) b * blockFrames + (size_t) i) % source.size()];
                pedal.processFloat (blockFrames, fl.data(), fr.data(), fl.data(), fr.data());
            });
            print ("Volume_Pedal (float pair)", f);
        }
    }

    for (int speed : { 50, 75, 100 })
    {
        TypeLib decelerator ("Decelerator", nullptr, true, false, &loader);
        char name[64];
        std::snprintf (name, sizeof (name), "Decelerator speed %d", speed);
        if (decelerator.getEffect() == nullptr)
        {
            std::printf ("%-30s missing\n", name);
            continue;
        }
        decelerator.setBlockSize (blockFrames);
        decelerator.setSampleRate (sampleRate);
        const float p0 = speed >= 100 ? 1.0f : (float) (speed - 50) / 50.0f;
        decelerator.setRawValue (0, p0);
        const double ratio = speed >= 100 ? 1.0 : std::pow (2.0, p0 - 1.0);

        // The slowed transport covers ratio x n take frames per block.
        double position = 0.0;
        auto f = measure (blocks, [&] (int)
        {
            loadBlock ((size_t) position);
            position += ratio * blockFrames;
            decelerator.process (channels, channels, blockFrames);
        });
        print (name, f);
    }
    return 0;
}
