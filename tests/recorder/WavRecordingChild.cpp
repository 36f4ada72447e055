// A recording that runs until it is killed: blocks of a known signal are
// queued at the pace of a sound card into the WAV file named on the command
// line, and the number of frames queued so far is printed after each tenth of
// a second. The crash test kills it and reads what it left.

#include "recorder/WaveFile.h"

#include <cstdio>
#include <thread>

namespace
{
    float signalAt (long long frame, int channel)
    {
        return (float) ((frame * (channel == 0 ? 3 : 5)) % 30000 - 15000) / 32768.0f;
    }
}

int main (int argc, char** argv)
{
    if (argc < 2)
        return 2;

    T730::WaveFile wave;
    if (! wave.openForWriting (juce::File (juce::String::fromUTF8 (argv[1]))))
        return 1;

    constexpr int block = 441;
    float left[block], right[block];
    const float* channels[2] = { left, right };

    const auto start = std::chrono::steady_clock::now();
    for (long long queued = 0;; queued += block)
    {
        for (int i = 0; i < block; ++i)
        {
            left[i] = signalAt (queued + i, 0);
            right[i] = signalAt (queued + i, 1);
        }
        if (! wave.queueWrite (block, queued, channels, 0))
            return 3;

        if ((queued / block) % 10 == 9)
        {
            std::printf ("queued %lld\n", queued + block);
            std::fflush (stdout);
        }

        // 10 ms of audio per block, as a device delivers it.
        std::this_thread::sleep_until (start + std::chrono::microseconds ((queued / block + 1) * 10000));
    }
}
