#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>

namespace T730
{

/** The RIFF/WAVE header fields of a file as they are on disk, and where its
    audio data lies. */
struct WaveFormat
{
    uint32_t riffSize = 0;
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint32_t dataSize = 0;
    juce::int64 dataStart = 0;

    /** The recorder's own format: 44100 Hz, 16 bits, 2 channels (the format tag is not looked at). */
    bool isRecorderFormat() const noexcept
    {
        return sampleRate == recorderRate && bitsPerSample == 16 && channels == 2;
    }

    static constexpr uint32_t recorderRate = 44100;
    static constexpr int recorderFrameBytes = 4;
    static constexpr int headerBytes = 44;

    /** The largest data chunk a file can hold: the RIFF size (36 + data size)
        must fit in 32 bits; whole frames only. */
    static constexpr juce::int64 largestDataBytes = ((0xffffffffLL - 36) / recorderFrameBytes) * recorderFrameBytes;
};

/** Reads the header of a RIFF/WAVE file from the stream's start: the "fmt "
    chunk and the start of the "data" chunk, passing over the chunks between
    (odd-sized ones with their pad byte). True when a data chunk that the
    stream holds completely was found; `format` then says where it is.
    Never reads more than the stream holds and never allocates by its fields. */
bool readWaveHeader (juce::InputStream& stream, WaveFormat& format);

/** The 44-byte header of a recorder-format file with the given data size. */
std::array<uint8_t, WaveFormat::headerBytes> makeWaveHeader (uint32_t dataSize) noexcept;

/** A float sample as stored: the integer part of x × 32768, held at the
    16-bit range (full scale never wraps to the other sign); not a number gives 0. */
inline int16_t toStoredSample (float x) noexcept
{
    const float scaled = x * 32768.0f;
    if (! (scaled == scaled))
        return 0;
    if (scaled >= 32767.0f)
        return 32767;
    if (scaled <= -32768.0f)
        return -32768;
    return (int16_t) (int) scaled;
}

inline float fromStoredSample (int16_t s) noexcept
{
    return (float) s / 32768.0f;
}

} // namespace T730
