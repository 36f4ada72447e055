#pragma once
// The benchmarks' timing of the engine's audio callback on a device: per block the
// wall-clock and processor time and the allocations the callback made. Include it
// after CountingAllocator.h, whose per-thread allocation count it reads.
#include "ThreadTime.h"
#include "engine/DspMain.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <vector>

namespace
{
    /** Times the engine's callback and counts what it allocates, on the audio thread.
        While `idle` is set the engine is left out (the device's own cost alone). */
    struct TimedEngine final : public juce::AudioIODeviceCallback
    {
        explicit TimedEngine (T730::DspMain& e) : engine (e)
        {
            times.resize (1 << 20);
            cpuTimes.resize (1 << 20);
        }

        void audioDeviceAboutToStart (juce::AudioIODevice* d) override { engine.audioDeviceAboutToStart (d); }
        void audioDeviceStopped() override { engine.audioDeviceStopped(); }

        void audioDeviceIOCallbackWithContext (const float* const* in, int numIn, float* const* out, int numOut,
                                               int n, const juce::AudioIODeviceCallbackContext& c) override
        {
            const auto allocations = threadAllocations;
            const auto start = juce::Time::getHighResolutionTicks();
            const double cpuStart = threadMs();
            if (! idle.load())
                engine.audioDeviceIOCallbackWithContext (in, numIn, out, numOut, n, c);
            else
                for (int ch = 0; ch < numOut; ++ch)
                    juce::FloatVectorOperations::clear (out[ch], n);
            const double cpu = threadMs() - cpuStart;
            const auto ticks = juce::Time::getHighResolutionTicks() - start;

            if (! measuring.load())
                return;
            const auto made = threadAllocations - allocations;
            const int index = count.load();
            if (index < (int) times.size())
            {
                times[(size_t) index] = juce::Time::highResolutionTicksToSeconds (ticks) * 1000.0;
                cpuTimes[(size_t) index] = cpu;
            }
            allocated += made;
            if (made > 0)
                ++allocatingBlocks;
            count.store (index + 1);
        }

        T730::DspMain& engine;
        std::vector<double> times, cpuTimes;   // ms per block: wall clock, the thread's processor time
        std::atomic<int> count { 0 };
        std::atomic<bool> measuring { false }, idle { false };
        long long allocated = 0, allocatingBlocks = 0;
    };
}
