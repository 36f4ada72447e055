#include "recorder/WaveFormat.h"

#include <cstring>

namespace T730
{

namespace
{
    uint32_t le32 (const uint8_t* p) noexcept { return (uint32_t) p[0] | ((uint32_t) p[1] << 8) | ((uint32_t) p[2] << 16) | ((uint32_t) p[3] << 24); }
    uint16_t le16 (const uint8_t* p) noexcept { return (uint16_t) (p[0] | (p[1] << 8)); }

    void put32 (uint8_t* p, uint32_t v) noexcept { p[0] = (uint8_t) v; p[1] = (uint8_t) (v >> 8); p[2] = (uint8_t) (v >> 16); p[3] = (uint8_t) (v >> 24); }
    void put16 (uint8_t* p, uint16_t v) noexcept { p[0] = (uint8_t) v; p[1] = (uint8_t) (v >> 8); }

    bool isId (const uint8_t* p, const char* id) noexcept { return std::memcmp (p, id, 4) == 0; }

    /** Four printable characters: what a chunk identifier looks like. */
    bool looksLikeId (const uint8_t* p) noexcept
    {
        for (int i = 0; i < 4; ++i)
            if (p[i] < 0x20 || p[i] > 0x7e)
                return false;
        return true;
    }

    bool readAt (juce::InputStream& stream, juce::int64 position, uint8_t* into, int bytes)
    {
        return position >= 0 && stream.setPosition (position) && stream.read (into, bytes) == bytes;
    }

    /** Where the chunk after one of this size, starting at `position`, begins:
        after its pad byte when the size is odd. A file whose writer left the
        pad byte out still opens: when only the place without it holds an
        identifier, that place is taken. */
    juce::int64 nextChunk (juce::InputStream& stream, juce::int64 position, uint32_t size)
    {
        const auto after = position + 8 + (juce::int64) size;
        if ((size & 1) == 0)
            return after;

        uint8_t id[4];
        if (readAt (stream, after + 1, id, 4) && looksLikeId (id))
            return after + 1;
        if (readAt (stream, after, id, 4) && looksLikeId (id))
            return after;
        return after + 1;
    }
} // namespace

bool readWaveHeader (juce::InputStream& stream, WaveFormat& format)
{
    format = {};
    const auto length = stream.getTotalLength();
    uint8_t b[24];

    // "RIFF", its size (the file must hold it), "WAVE".
    if (! readAt (stream, 0, b, 12) || ! isId (b, "RIFF") || ! isId (b + 8, "WAVE"))
        return false;

    format.riffSize = le32 (b + 4);
    if (length < (juce::int64) format.riffSize + 4)
        return false;

    // The format chunk; chunks before it (as editors write) are passed over.
    juce::int64 position = 12;
    bool haveFormat = false;
    while (! haveFormat)
    {
        if (! readAt (stream, position, b, 8))
            return false;

        const auto size = le32 (b + 4);
        if (isId (b, "fmt "))
        {
            if (size < 16 || ! readAt (stream, position + 8, b + 8, 16))
                return false;

            format.formatTag = le16 (b + 8);
            format.channels = le16 (b + 10);
            format.sampleRate = le32 (b + 12);
            format.byteRate = le32 (b + 16);
            format.blockAlign = le16 (b + 20);
            format.bitsPerSample = le16 (b + 22);
            haveFormat = true;
        }
        else if (! looksLikeId (b) || isId (b, "data"))
        {
            return false;
        }

        position = nextChunk (stream, position, size);
        if (position > length)
            return false;
    }

    // The data chunk: the known chunks are passed over by their size, an
    // unknown one too when it looks like a chunk that fits in the file;
    // anything else is scanned past four bytes at a time.
    for (;;)
    {
        if (! readAt (stream, position, b, 8))
            return false;

        const auto size = le32 (b + 4);
        if (isId (b, "data"))
        {
            format.dataSize = size;
            format.dataStart = position + 8;
            return length >= format.dataStart + (juce::int64) size;
        }

        const bool known = isId (b, "fact") || isId (b, "cue ") || isId (b, "LIST") || isId (b, "DISP")
                           || isId (b, "plst") || isId (b, "PAD ");
        const bool fits = position + 8 + (juce::int64) size <= length;

        if (known || (looksLikeId (b) && fits))
            position = nextChunk (stream, position, size);
        else
            position += 4;

        if (position > length)
            return false;
    }
}

std::array<uint8_t, WaveFormat::headerBytes> makeWaveHeader (uint32_t dataSize) noexcept
{
    std::array<uint8_t, WaveFormat::headerBytes> h {};
    auto* p = h.data();
    std::memcpy (p, "RIFF", 4);
    put32 (p + 4, 36u + dataSize);
    std::memcpy (p + 8, "WAVE", 4);
    std::memcpy (p + 12, "fmt ", 4);
    put32 (p + 16, 16);
    put16 (p + 20, 1);
    put16 (p + 22, 2);
    put32 (p + 24, WaveFormat::recorderRate);
    put32 (p + 28, WaveFormat::recorderRate * WaveFormat::recorderFrameBytes);
    put16 (p + 32, WaveFormat::recorderFrameBytes);
    put16 (p + 34, 16);
    std::memcpy (p + 36, "data", 4);
    put32 (p + 40, dataSize);
    return h;
}

} // namespace T730
