#include "documents/PictureDecoding.h"

namespace T730
{
namespace
{
    int bigEndian16 (const juce::uint8* p) { return (p[0] << 8) | p[1]; }
    int littleEndian16 (const juce::uint8* p) { return p[0] | (p[1] << 8); }

    juce::int64 bigEndian32 (const juce::uint8* p)
    {
        return ((juce::int64) p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    }

    /** PNG: the size in the header chunk, which must come first. */
    bool pngSize (const juce::uint8* d, size_t n, juce::int64& w, juce::int64& h)
    {
        static const juce::uint8 signature[] = { 0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a };
        if (n < 24 || memcmp (d, signature, 8) != 0 || memcmp (d + 12, "IHDR", 4) != 0)
            return false;
        w = bigEndian32 (d + 16);
        h = bigEndian32 (d + 20);
        return true;
    }

    /** JPEG: the size in the first frame header, found by walking the markers. */
    bool jpegSize (const juce::uint8* d, size_t n, juce::int64& w, juce::int64& h)
    {
        if (n < 4 || d[0] != 0xff || d[1] != 0xd8)
            return false;

        size_t pos = 2;
        while (pos + 1 < n)
        {
            if (d[pos] != 0xff)
            {
                ++pos; // stray bytes between segments are passed over, as the decoder does
                continue;
            }
            const int marker = d[pos + 1];
            pos += 2;
            if (marker == 0xff || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7))
            {
                pos -= marker == 0xff ? 1 : 0; // fill byte, or a marker without length
                continue;
            }
            if (marker == 0xd9 || marker == 0xda || pos + 2 > n)
                return false; // image data or the end before any frame header

            const bool frameHeader = marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
            if (frameHeader)
            {
                if (pos + 7 > n)
                    return false;
                h = bigEndian16 (d + pos + 3);
                w = bigEndian16 (d + pos + 5);
                return true;
            }
            pos += (size_t) bigEndian16 (d + pos);
        }
        return false;
    }

    /** GIF: the logical screen, and the first image descriptor, which is what
        the decoder allocates; found the way the decoder walks the file. */
    bool gifSize (const juce::uint8* d, size_t n, juce::int64& w, juce::int64& h)
    {
        if (n < 13 || (memcmp (d, "GIF87a", 6) != 0 && memcmp (d, "GIF89a", 6) != 0))
            return false;

        w = littleEndian16 (d + 6);
        h = littleEndian16 (d + 8);
        size_t pos = 13;
        if ((d[10] & 0x80) != 0)
            pos += (size_t) 3 * (size_t) (2 << (d[10] & 7));

        auto readBlock = [&]() -> int
        {
            if (pos >= n)
                return -1;
            const int length = d[pos++];
            if (pos + (size_t) length > n)
                return -1;
            pos += (size_t) length;
            return length;
        };

        while (pos < n)
        {
            const auto introducer = d[pos++];
            if (introducer == ';')
                return true; // no image: nothing is allocated
            if (introducer == '!')
            {
                if (pos >= n)
                    return true;
                if (d[pos++] == 0xf9 && readBlock() < 0)
                    continue;
                int length = 0;
                do
                    length = readBlock();
                while (length > 0);
                if (length < 0)
                    return true;
                continue;
            }
            if (introducer != ',')
                continue;
            if (pos + 9 > n)
                return true;
            w = juce::jmax (w, (juce::int64) littleEndian16 (d + pos + 4));
            h = juce::jmax (h, (juce::int64) littleEndian16 (d + pos + 6));
            return true;
        }
        return true;
    }
} // namespace

bool isAcceptablePictureSize (const void* data, size_t size)
{
    const auto* d = static_cast<const juce::uint8*> (data);
    juce::int64 w = 0, h = 0;
    if (d == nullptr || ! (pngSize (d, size, w, h) || jpegSize (d, size, w, h) || gifSize (d, size, w, h)))
        return false;
    return w <= largestModulePictureSide && h <= largestModulePictureSide && w * h <= largestModulePicturePixels;
}

juce::Image decodeModulePicture (const juce::MemoryBlock& data)
{
    if (! isAcceptablePictureSize (data.getData(), data.getSize()))
        return {};
    return juce::ImageFileFormat::loadFrom (data.getData(), data.getSize());
}

} // namespace T730
