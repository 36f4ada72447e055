#pragma once

#include <atomic>

namespace T730
{

/** The process-wide engine settings. Written by the audio engine when the device
    starts (audio device thread) and by the controller (message thread); read by
    the engine, the effect modules' host and the recorder. Each field is an atomic
    of its own: readers never need two of them to be consistent with each other. */
struct EngineSettings
{
    std::atomic<int> blockSize { 512 };
    std::atomic<double> sampleRate { 44100.0 };
    std::atomic<int> outputLatency { 0 };
    std::atomic<int> inputLatency { 0 };
    std::atomic<bool> audioRunning { false };
};

EngineSettings& getEngineSettings();

} // namespace T730
