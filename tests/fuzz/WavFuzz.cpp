// The WAV reader (take files, and the files the user imports into a recorder):
// header scan, loading, random-access reads and the import's conversion.

#include "FuzzSupport.h"
#include "recorder/WaveFile.h"

#include <vector>

namespace
{
    /** Reads n frames at file frame f into buffers with guard values around the
        part the read may write, and checks it kept to it. */
    void checkedRead (const T730::WaveFile& wave, int n, juce::int64 f)
    {
        constexpr float guard = 7.0f;
        std::vector<float> left ((size_t) n + 4, guard), right ((size_t) n + 4, guard);
        float* out[2] = { left.data() + 2, right.data() + 2 };
        wave.read (n, f, out, 0);

        for (int c = 0; c < 2; ++c)
        {
            const auto& channel = c == 0 ? left : right;
            oxafuzz::require (channel[0] == guard && channel[1] == guard && channel[(size_t) n + 2] == guard
                                  && channel[(size_t) n + 3] == guard,
                              "a read writes only the frames asked for");
            for (int i = 0; i < n; ++i)
            {
                const auto v = channel[(size_t) i + 2];
                const auto fileFrame = f + i;
                const bool inFile = wave.isValid() && fileFrame >= 0 && fileFrame < wave.getLength();
                oxafuzz::require (inFile ? (v >= -1.0f && v < 1.0f) : v == guard,
                                  "frames inside the file are samples, the others are left alone");
            }
        }
    }
} // namespace

OXA_FUZZ_TARGET (Wav)
{
    T730::WaveFormat format;
    juce::MemoryInputStream headerStream (data, size, false);
    const bool found = T730::readWaveHeader (headerStream, format);

    T730::WaveFile wave;
    juce::MemoryInputStream stream (data, size, false);
    const bool opened = wave.openForReading (stream);
    oxafuzz::require (found == opened, "the file opens exactly when its header is found");
    if (! opened)
        return 0;

    oxafuzz::require (format.dataStart >= 44 && format.dataStart + (juce::int64) format.dataSize <= (juce::int64) size,
                      "the data chunk lies inside the file");
    oxafuzz::require (wave.getLength() == (juce::int64) format.dataSize / 4, "the length is the data size in frames");
    oxafuzz::require (wave.isValid() == format.isRecorderFormat(), "only the recorder's format is valid");

    const auto length = wave.getLength();
    for (auto f : { (juce::int64) -5, (juce::int64) 0, length - 3, length + 10 })
        checkedRead (wave, 16, f);

    // The import, when its result stays small: a copy, or a conversion of a
    // few seconds. Whatever it does, it writes only its destination.
    const bool usable = format.channels > 0 && format.sampleRate > 0 && format.blockAlign > 0;
    const auto seconds = usable ? (juce::int64) format.dataSize / format.blockAlign / format.sampleRate + 1 : 0;
    if (! format.isRecorderFormat() && seconds > 4)
        return 0;

    auto& sandbox = oxafuzz::Sandbox::get();
    sandbox.clear();
    const auto source = sandbox.root.getChildFile ("input.wav");
    source.replaceWithData (data, size);
    const auto destination = sandbox.inside.getChildFile ("Audio0.wav");

    juce::String error;
    const bool imported = T730::WaveFile::import (destination, source, &error);
    oxafuzz::require (imported != error.isNotEmpty(), "a failed import says why, a good one says nothing");
    oxafuzz::require (sandbox.onlyInside ({ "input.wav" })
                          && oxafuzz::Sandbox::holdsOnly (sandbox.inside, imported ? juce::StringArray ("Audio0.wav") : juce::StringArray()),
                      "the import writes its destination only, and nothing when it fails");

    if (imported)
    {
        T730::WaveFile result;
        oxafuzz::require (result.openForReading (destination) && result.isValid(), "an imported file is a recorder file");
        if (! format.isRecorderFormat())
            oxafuzz::require (result.getLength() == seconds * 44100, "a converted file holds whole seconds");
    }

    source.deleteFile();
    return 0;
}
