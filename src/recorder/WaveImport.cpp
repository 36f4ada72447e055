// Importing a foreign WAV file into a recorder's folder: copied as it is, or
// converted to 44100 Hz, 16 bits, two channels.
#include "recorder/WaveFile.h"

#include <cmath>
#include <vector>

namespace T730
{

namespace
{
    constexpr const char* openFailed = "Failed opening stream while resampling.";
    constexpr const char* writeFailed = "Failed writing stream while resampling.";
    constexpr const char* readFailed = "Failed reading stream while resampling.";

    // Sources the conversion takes: beyond these no recorder input exists,
    // and the per-second buffer stays a few megabytes.
    constexpr uint32_t lowestRate = 1000, highestRate = 384000;
    constexpr int mostChannels = 32;

    struct Refusal
    {
        juce::String text;
    };

    void fail (juce::String* error, const juce::String& text)
    {
        juce::Logger::writeToLog (text);
        if (error != nullptr)
            *error = text;
    }

    /** One sample of frame j of a channel, as a 16-bit value. */
    int sampleAt (const std::vector<uint8_t>& second, int frameBytes, int bits, juce::int64 j, int channel)
    {
        const auto at = (size_t) (j * frameBytes + channel * (bits / 8));
        if (bits == 8)
            return ((int) second[at] - 128) * 256;
        return (int) (int16_t) (second[at] | (second[at + 1] << 8));
    }

    bool convert (const juce::File& destination, const juce::File& source, const WaveFormat& in, juce::String* error)
    {
        if (in.bitsPerSample != 8 && in.bitsPerSample != 16)
            throw Refusal { "Only 8 and 16 bit WAV files can be imported." };

        // A field of 0 would divide by zero; a frame must hold every channel.
        const int bytesPerSample = in.bitsPerSample / 8;
        if (in.channels == 0 || in.sampleRate == 0 || in.blockAlign == 0 || in.channels > mostChannels
            || in.blockAlign < in.channels * bytesPerSample)
            throw Refusal { "The WAV file's format fields are not usable." };

        if (in.sampleRate < lowestRate || in.sampleRate > highestRate)
            throw Refusal { "The WAV file's sample rate cannot be imported." };

        // A frame size far beyond its channels would make every second huge.
        if ((juce::int64) in.sampleRate * in.blockAlign > (juce::int64) highestRate * mostChannels * 2)
            throw Refusal { "The WAV file's format fields are not usable." };

        // 64-bit arithmetic throughout: frames × 1000 passes 32 bits after 49 s at 44.1 kHz.
        const juce::int64 rate = in.sampleRate;
        const int frameBytes = in.blockAlign;
        const juce::int64 sourceFrames = (juce::int64) in.dataSize / frameBytes;
        const juce::int64 durationMs = sourceFrames * 1000 / rate;
        const juce::int64 seconds = durationMs / 1000 + 1;
        const juce::int64 outBytesPerSecond = (juce::int64) WaveFormat::recorderRate * WaveFormat::recorderFrameBytes;

        if (seconds * outBytesPerSecond > WaveFormat::largestDataBytes)
            throw Refusal { "The WAV file is too long to import." };

        juce::FileInputStream input (source);
        if (! input.openedOk())
            throw Refusal { openFailed };

        destination.deleteFile();
        juce::FileOutputStream output (destination, 32768);
        if (! output.openedOk())
            throw Refusal { openFailed };

        const auto placeholder = makeWaveHeader (0);
        if (! output.write (placeholder.data(), placeholder.size()))
            throw Refusal { writeFailed };

        const juce::int64 inBytesPerSecond = rate * frameBytes;
        const juce::int64 dataEnd = in.dataStart + in.dataSize;
        std::vector<uint8_t> second ((size_t) (inBytesPerSecond + frameBytes));
        std::vector<uint8_t> out ((size_t) outBytesPerSecond);
        const bool mono = in.channels == 1;

        for (juce::int64 i = 0; i < seconds; ++i)
        {
            // This second and one frame more; what the data chunk lacks stays zero.
            std::fill (second.begin(), second.end(), (uint8_t) (in.bitsPerSample == 8 ? 128 : 0));
            const juce::int64 from = in.dataStart + i * inBytesPerSecond;
            const juce::int64 wanted = juce::jmin<juce::int64> ((juce::int64) second.size(), dataEnd - from);
            if (wanted > 0)
            {
                if (! input.setPosition (from) || input.read (second.data(), (int) wanted) != (int) wanted)
                    throw Refusal { readFailed };
            }

            for (int k = 0; k < (int) WaveFormat::recorderRate; ++k)
            {
                const double exact = (double) k * (double) rate / (double) WaveFormat::recorderRate;
                const auto j = (juce::int64) exact;
                const double t = exact - (double) j;

                for (int c = 0; c < 2; ++c)
                {
                    const int channel = mono ? 0 : c;
                    const int a = sampleAt (second, frameBytes, in.bitsPerSample, j, channel);
                    const int b = sampleAt (second, frameBytes, in.bitsPerSample, j + 1, channel);
                    const auto v = (int) ((1.0 - t) * a + t * b);
                    const auto s = (uint16_t) (int16_t) juce::jlimit (-32768, 32767, v);
                    out[(size_t) (k * 4 + c * 2)] = (uint8_t) s;
                    out[(size_t) (k * 4 + c * 2 + 1)] = (uint8_t) (s >> 8);
                }
            }

            if (! output.write (out.data(), out.size()))
                throw Refusal { writeFailed };
        }

        const auto header = makeWaveHeader ((uint32_t) (seconds * outBytesPerSecond));
        output.flush();
        if (output.getStatus().failed() || ! output.setPosition (0) || ! output.write (header.data(), header.size()))
            throw Refusal { writeFailed };

        output.flush();
        if (output.getStatus().failed())
            throw Refusal { writeFailed };

        juce::ignoreUnused (error);
        return true;
    }
} // namespace

bool WaveFile::import (const juce::File& destination, const juce::File& source, juce::String* error)
{
    if (error != nullptr)
        error->clear();

    if (destination == source)
    {
        fail (error, "A WAV file cannot be imported onto itself.");
        return false;
    }

    WaveFormat format;
    {
        juce::FileInputStream input (source);
        if (! input.openedOk() || ! readWaveHeader (input, format))
        {
            fail (error, "Not a WAV file: " + source.getFullPathName());
            return false;
        }
    }

    if (format.isRecorderFormat())
    {
        destination.deleteFile();
        if (source.copyFileTo (destination))
            return true;

        destination.deleteFile();
        fail (error, "Failed copying " + source.getFullPathName() + ".");
        return false;
    }

    try
    {
        return convert (destination, source, format, error);
    }
    catch (const Refusal& refusal)
    {
        destination.deleteFile();
        fail (error, refusal.text);
        return false;
    }
}

} // namespace T730
