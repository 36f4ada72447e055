#pragma once
// Take files for the benchmarks: written through the program's own WAV writer.
#include "recorder/WaveFile.h"

#include <cmath>
#include <functional>
#include <vector>

namespace
{
    /** A take file of `frames` frames, the same `sample (frame)` on both channels. */
    juce::File writeTake (const juce::File& folder, const juce::String& name, int frames,
                          const std::function<float (int)>& sample)
    {
        const auto file = folder.getChildFile (name);
        T730::WaveFile out;
        out.openForWriting (file);
        std::vector<float> l (4096), r (4096);
        const float* in[2] = { l.data(), r.data() };
        for (int done = 0; done < frames; done += 4096)
        {
            const int n = juce::jmin (4096, frames - done);
            for (int i = 0; i < n; ++i)
                l[(size_t) i] = r[(size_t) i] = sample (done + i);
            out.writeWaiting (n, done, in, 0);
        }
        out.finish();
        return file;
    }

    /** A take of a plucked-string-like tone with an attack every second: something to stretch. */
    [[maybe_unused]] juce::File makePluckedTake (const juce::File& folder, const juce::String& name, int frames, float level, float step)
    {
        return writeTake (folder, name, frames, [=] (int frame)
        {
            const int t = frame % 44100;
            return level * std::exp (-(float) t / 9000.0f) * std::sin ((float) frame * step);
        });
    }
}
