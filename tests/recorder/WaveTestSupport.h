#pragma once

// Hand-built WAV files for the recorder tests: chunks laid out byte by byte,
// so that the reader is tested against files it did not write itself.

#include <juce_core/juce_core.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace oxatest
{

using Bytes = std::vector<uint8_t>;

inline void put16 (Bytes& b, uint32_t v) { b.push_back ((uint8_t) v); b.push_back ((uint8_t) (v >> 8)); }
inline void put32 (Bytes& b, uint32_t v) { put16 (b, v & 0xffff); put16 (b, v >> 16); }
inline void putId (Bytes& b, const char* id)
{
    // (Byte by byte: GCC 12 warns falsely of an overflow on a four-byte range insert.)
    for (int i = 0; i < 4; ++i)
        b.push_back ((uint8_t) id[i]);
}

inline uint32_t read32 (const Bytes& b, size_t at) { return (uint32_t) b[at] | ((uint32_t) b[at + 1] << 8) | ((uint32_t) b[at + 2] << 16) | ((uint32_t) b[at + 3] << 24); }

struct Chunk
{
    std::string id;
    Bytes content;
    bool padded = true;       // an odd size is followed by its pad byte
    int64_t declaredSize = -1; // the size field when it is to lie
};

inline Chunk fmtChunk (int channels, uint32_t rate, int bits, int blockAlign = -1, int tag = 1, int extraBytes = 0)
{
    Chunk c { "fmt ", {} };
    const int align = blockAlign >= 0 ? blockAlign : channels * bits / 8;
    put16 (c.content, (uint32_t) tag);
    put16 (c.content, (uint32_t) channels);
    put32 (c.content, rate);
    put32 (c.content, rate * (uint32_t) align);
    put16 (c.content, (uint32_t) align);
    put16 (c.content, (uint32_t) bits);
    for (int i = 0; i < extraBytes; ++i)
        c.content.push_back (0);
    return c;
}

/** "RIFF", the RIFF size (length - 8), "WAVE" and the chunks. */
inline Bytes riffFile (const std::vector<Chunk>& chunks)
{
    Bytes body;
    putId (body, "WAVE");
    for (const auto& c : chunks)
    {
        putId (body, c.id.c_str());
        put32 (body, c.declaredSize >= 0 ? (uint32_t) c.declaredSize : (uint32_t) c.content.size());
        body.insert (body.end(), c.content.begin(), c.content.end());
        if ((c.content.size() & 1) != 0 && c.padded)
            body.push_back (0);
    }
    Bytes file;
    putId (file, "RIFF");
    put32 (file, (uint32_t) body.size());
    file.insert (file.end(), body.begin(), body.end());
    return file;
}

/** Interleaved 16-bit stereo frames from a function of the frame index. */
inline Bytes stereoFrames (int frames, const std::function<std::pair<int, int> (int)>& sample)
{
    Bytes b;
    for (int i = 0; i < frames; ++i)
    {
        const auto [l, r] = sample (i);
        put16 (b, (uint32_t) (uint16_t) (int16_t) l);
        put16 (b, (uint32_t) (uint16_t) (int16_t) r);
    }
    return b;
}

/** A recorder-format file holding the frames. */
inline Bytes recorderFile (const Bytes& frames, const std::vector<Chunk>& before = {})
{
    std::vector<Chunk> chunks { fmtChunk (2, 44100, 16) };
    chunks.insert (chunks.end(), before.begin(), before.end());
    chunks.push_back ({ "data", frames });
    return riffFile (chunks);
}

inline bool writeBytes (const juce::File& file, const Bytes& bytes)
{
    return file.replaceWithData (bytes.data(), bytes.size());
}

inline Bytes readBytes (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    const auto* p = static_cast<const uint8_t*> (block.getData());
    return Bytes (p, p + block.getSize());
}

/** The stored value of a float sample as the file format defines it (truncated, held at the 16-bit range). */
inline int stored (float x)
{
    const double v = std::trunc ((double) x * 32768.0);
    return (int) std::fmax (-32768.0, std::fmin (32767.0, v));
}

} // namespace oxatest
