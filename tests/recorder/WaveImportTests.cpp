// Importing foreign WAV files: copied or converted to 44100 Hz, 16 bits, stereo.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WaveTestSupport.h"
#include "recorder/WaveFile.h"

using namespace T730;
using namespace oxatest;

namespace
{
    struct Imported
    {
        bool ok = false;
        juce::String error;
        WaveFile wave;
        std::vector<float> left, right;
    };

    void importInto (Imported& result, const TempFolder& tmp, const Bytes& source)
    {
        const auto from = tmp / "source.wav";
        const auto to = tmp / "Audio0.wav";
        writeBytes (from, source);
        result.ok = WaveFile::import (to, from, &result.error);
        if (result.ok && result.wave.openForReading (to))
        {
            const auto n = (int) result.wave.getLength();
            result.left.resize ((size_t) n);
            result.right.resize ((size_t) n);
            float* out[2] = { result.left.data(), result.right.data() };
            result.wave.read (n, 0, out, 0);
        }
    }

    int at (const std::vector<float>& channel, size_t frame) { return stored (channel[frame]); }
} // namespace

TEST (RecorderWaveImport, A22050HzMono8BitSourceOfOneAndAHalfSecondsImportsAsTwoSeconds)
{
    TempFolder tmp;
    Bytes samples;
    for (int i = 0; i < 33075; ++i)
        samples.push_back ((uint8_t) (128 + ((i % 200) - 100)));

    Imported result;
    importInto (result, tmp, riffFile ({ fmtChunk (1, 22050, 8), { "data", samples } }));
    ASSERT_TRUE (result.ok) << result.error;
    ASSERT_TRUE (result.wave.isValid());
    EXPECT_EQ (result.wave.getLength(), 88200);
    EXPECT_EQ (result.wave.getFormat().dataSize, 88200u * 4);

    const auto source = [] (int j) { return (((j % 200) - 100)) * 256; };
    for (size_t k : { 0u, 1u, 2u, 3u, 401u, 66148u })
    {
        const int j = (int) (k / 2);
        const int expected = k % 2 == 0 ? source (j) : (int) (0.5 * source (j) + 0.5 * source (j + 1));
        EXPECT_EQ (at (result.left, k), expected) << k;
        EXPECT_EQ (at (result.right, k), expected) << "mono goes to both sides " << k;
    }

    // The padding to the whole second is silence (an 8-bit source's silence is 128, not 0).
    EXPECT_EQ (at (result.left, 66200), 0);
    EXPECT_EQ (at (result.right, 88199), 0);
}

TEST (RecorderWaveImport, LongSourcesAreNotCutShort)
{
    // 60 s at 44100 Hz: frames × 1000 passes 32 bits after about 49 s.
    TempFolder tmp;
    const int frames = 60 * 44100;
    Bytes samples ((size_t) frames, 128);
    samples[(size_t) frames - 1] = 228;   // the last frame: 100 × 256

    Imported result;
    importInto (result, tmp, riffFile ({ fmtChunk (1, 44100, 8), { "data", samples } }));
    ASSERT_TRUE (result.ok) << result.error;
    EXPECT_EQ (result.wave.getLength(), 61 * 44100);
    EXPECT_EQ (at (result.left, (size_t) frames - 1), 25600);
}

TEST (RecorderWaveImport, HighRateSourcesResampleWithoutOverflow)
{
    // 192 kHz: k × rate passes 32 bits for k above about 22 000.
    TempFolder tmp;
    const uint32_t rate = 192000;
    Bytes samples;
    for (uint32_t i = 0; i < rate / 2; ++i)
        put16 (samples, (uint32_t) (uint16_t) (int16_t) ((int) (i % 60000) - 30000));

    Imported result;
    importInto (result, tmp, riffFile ({ fmtChunk (1, rate, 16), { "data", samples } }));
    ASSERT_TRUE (result.ok) << result.error;
    EXPECT_EQ (result.wave.getLength(), 44100);

    for (size_t k : { 100u, 22000u, 22049u })
    {
        const double exact = (double) k * rate / 44100.0;
        const auto j = (int) exact;
        const double t = exact - j;
        const int expected = (int) ((1.0 - t) * ((j % 60000) - 30000) + t * (((j + 1) % 60000) - 30000));
        EXPECT_EQ (at (result.left, k), expected) << k;
    }
}

TEST (RecorderWaveImport, StereoSixteenBitAt48kTakesBothChannels)
{
    TempFolder tmp;
    Imported result;
    importInto (result, tmp, riffFile ({ fmtChunk (2, 48000, 16), { "data", stereoFrames (4800, [] (int) { return std::make_pair (1000, -2000); }) } }));
    ASSERT_TRUE (result.ok) << result.error;
    EXPECT_EQ (result.wave.getLength(), 44100);
    EXPECT_EQ (at (result.left, 1000), 1000);
    EXPECT_EQ (at (result.right, 1000), -2000);
}

TEST (RecorderWaveImport, RecorderFormatSourcesAreCopiedByteForByte)
{
    TempFolder tmp;
    const auto source = recorderFile (stereoFrames (777, [] (int i) { return std::make_pair (i, -i); }),
                                      { { "LIST", Bytes (9, 'z') } });
    Imported result;
    importInto (result, tmp, source);
    ASSERT_TRUE (result.ok);
    EXPECT_EQ (readBytes (tmp / "Audio0.wav"), source);
    EXPECT_EQ (result.wave.getLength(), 777);
}

TEST (RecorderWaveImport, UnusableSourcesAreRefusedAndLeaveNothing)
{
    TempFolder tmp;
    const auto audio = stereoFrames (100, [] (int) { return std::make_pair (0, 0); });

    for (const auto& fmt : { fmtChunk (2, 0, 16), fmtChunk (0, 22050, 16), fmtChunk (2, 22050, 16, 0),
                             fmtChunk (2, 22050, 16, 2), fmtChunk (2, 22050, 24), fmtChunk (2, 100, 16),
                             fmtChunk (200, 22050, 16), fmtChunk (2, 88610, 16, 19462) })
    {
        Imported result;
        importInto (result, tmp, riffFile ({ fmt, { "data", audio } }));
        EXPECT_FALSE (result.ok);
        EXPECT_TRUE (result.error.isNotEmpty());
        EXPECT_FALSE ((tmp / "Audio0.wav").exists());
    }

    Imported notWav;
    importInto (notWav, tmp, Bytes { 'h', 'e', 'l', 'l', 'o' });
    EXPECT_FALSE (notWav.ok);

    // A destination that cannot be made.
    writeBytes (tmp / "mono.wav", riffFile ({ fmtChunk (1, 22050, 16), { "data", audio } }));
    juce::String error;
    EXPECT_FALSE (WaveFile::import (tmp / "missing/Audio0.wav", tmp / "mono.wav", &error));
    EXPECT_EQ (error, "Failed opening stream while resampling.");
    EXPECT_FALSE (WaveFile::import (tmp / "mono.wav", tmp / "mono.wav", &error));
}
