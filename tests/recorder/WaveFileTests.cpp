// WAV files: header scan, reading, queued writing, the size limit.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WaveTestSupport.h"
#include "recorder/WaveFile.h"
#include "recorder/WaveStreamWriter.h"

#include <unistd.h>

using namespace T730;
using namespace oxatest;

namespace
{
    struct Frames
    {
        explicit Frames (int n) : left ((size_t) n), right ((size_t) n) {}
        float* pair[2] { nullptr, nullptr };
        const float* const* in() { pair[0] = left.data(); pair[1] = right.data(); return pair; }
        float* const* out() { pair[0] = left.data(); pair[1] = right.data(); return pair; }
        std::vector<float> left, right;
    };

    std::pair<int, int> ramp (int i) { return { (i * 37) % 30000 - 15000, -((i * 11) % 20000) }; }

    /** Reads every frame of a file back as stored 16-bit values. */
    std::vector<std::pair<int, int>> storedFrames (const juce::File& file)
    {
        WaveFile wave;
        std::vector<std::pair<int, int>> frames;
        if (! wave.openForReading (file) || ! wave.isValid())
            return frames;
        Frames f ((int) wave.getLength());
        wave.read ((int) wave.getLength(), 0, f.out(), 0);
        for (size_t i = 0; i < f.left.size(); ++i)
            frames.emplace_back ((int) std::lround (f.left[i] * 32768.0f), (int) std::lround (f.right[i] * 32768.0f));
        return frames;
    }

    bool opens (const Bytes& bytes, WaveFile& wave)
    {
        juce::MemoryInputStream stream (bytes.data(), bytes.size(), false);
        return wave.openForReading (stream);
    }
} // namespace

TEST (RecorderWaveFile, ANewFileOf1000FramesHasDataSize4000AndRiffSize4036)
{
    TempFolder tmp;
    const auto file = tmp / "temp.wav";

    WaveFile wave;
    ASSERT_TRUE (wave.openForWriting (file));
    EXPECT_TRUE (wave.isValid());
    EXPECT_EQ (file.getSize(), 44) << "the header is there from the start";

    Frames block (100);
    for (int b = 0; b < 10; ++b)
    {
        for (int i = 0; i < 100; ++i)
        {
            block.left[(size_t) i] = (float) (b * 100 + i) / 2000.0f;
            block.right[(size_t) i] = -(float) i / 200.0f;
        }
        ASSERT_TRUE (wave.queueWrite (100, 5000 + b * 100, block.in(), 0));
    }
    ASSERT_TRUE (wave.finish());

    EXPECT_EQ (wave.getFirstWrittenPosition(), 5000);
    EXPECT_EQ (wave.getLastWrittenPosition(), 6000);
    EXPECT_EQ (wave.getLength(), 1000);

    const auto bytes = readBytes (file);
    ASSERT_EQ (bytes.size(), 4044u);
    EXPECT_EQ (read32 (bytes, 4), 4036u);
    EXPECT_EQ (read32 (bytes, 40), 4000u);
    const auto header = makeWaveHeader (4000);
    EXPECT_EQ (Bytes (bytes.begin(), bytes.begin() + 44), Bytes (header.begin(), header.end()));

    const auto back = storedFrames (file);
    ASSERT_EQ (back.size(), 1000u);
    EXPECT_EQ (back[123].first, stored (123.0f / 2000.0f));
    EXPECT_EQ (back[999].second, stored (-99.0f / 200.0f));
}

TEST (RecorderWaveFile, SamplesAtFullScaleSaturateInsteadOfWrapping)
{
    EXPECT_EQ (toStoredSample (1.0f), 32767);
    EXPECT_EQ (toStoredSample (1.5f), 32767);
    EXPECT_EQ (toStoredSample (-1.0f), -32768);
    EXPECT_EQ (toStoredSample (-7.0f), -32768);
    EXPECT_EQ (toStoredSample (0.99999f), 32767);
    EXPECT_EQ (toStoredSample (-0.5f), -16384);
    EXPECT_EQ (toStoredSample (0.25f / 32768.0f), 0);
    EXPECT_EQ (toStoredSample (std::nanf ("")), 0);
    EXPECT_EQ (toStoredSample (std::numeric_limits<float>::infinity()), 32767);

    // Through the writer: a loud take keeps its sign.
    TempFolder tmp;
    WaveFile wave;
    ASSERT_TRUE (wave.openForWriting (tmp / "loud.wav"));
    Frames f (4);
    f.left = { 1.0f, 1.2f, -1.0f, 0.5f };
    f.right = { -1.3f, 1.0f, 1.0f, -0.5f };
    ASSERT_TRUE (wave.queueWrite (4, 0, f.in(), 0));
    ASSERT_TRUE (wave.finish());

    const auto back = storedFrames (tmp / "loud.wav");
    ASSERT_EQ (back.size(), 4u);
    EXPECT_EQ (back[0], std::make_pair (32767, -32768));
    EXPECT_EQ (back[1], std::make_pair (32767, 32767));
    EXPECT_EQ (back[2], std::make_pair (-32768, 32767));
    EXPECT_EQ (back[3], std::make_pair (16384, -16384));
}

TEST (RecorderWaveFile, ChunksBeforeTheDataArePassedOver)
{
    const auto audio = stereoFrames (300, ramp);

    Chunk info { "LIST", {} };
    for (char c : std::string ("INFOISFT\x05\0\0\0Tool\0", 17))
        info.content.push_back ((uint8_t) c);
    Chunk odd { "bext", Bytes (13, 'x') };                    // odd size, followed by its pad byte
    Chunk oddUnpadded { "iXML", Bytes (7, 'y'), false };       // a writer that left the pad byte out
    Chunk aligned { "abcd", Bytes (24, 0) };                   // unknown, 4-byte aligned
    Chunk lookalike { "note", {} };                            // "data" inside a chunk's text
    for (char c : std::string ("my data is here, data data"))
        lookalike.content.push_back ((uint8_t) c);

    for (const auto& before : std::vector<std::vector<Chunk>> { { info }, { odd }, { oddUnpadded }, { aligned },
                                                                { lookalike }, { odd, info, oddUnpadded, aligned, lookalike } })
    {
        WaveFile wave;
        ASSERT_TRUE (opens (recorderFile (audio, before), wave)) << before.size() << " " << before[0].id;
        EXPECT_TRUE (wave.isValid());
        ASSERT_EQ (wave.getLength(), 300);

        Frames f (300);
        wave.read (300, 0, f.out(), 0);
        EXPECT_EQ (stored (f.left[17]), ramp (17).first) << before[0].id;
        EXPECT_EQ (stored (f.right[299]), ramp (299).second) << before[0].id;
    }

    // Chunks before the format chunk, and a format chunk larger than 16 bytes.
    WaveFile wave;
    ASSERT_TRUE (opens (riffFile ({ { "JUNK", Bytes (27, 0) }, fmtChunk (2, 44100, 16, -1, 1, 2), { "data", audio } }), wave));
    EXPECT_TRUE (wave.isValid());
    EXPECT_EQ (wave.getLength(), 300);
}

TEST (RecorderWaveFile, DamagedAndForeignFiles)
{
    const auto audio = stereoFrames (100, ramp);
    WaveFile wave;

    auto truncated = recorderFile (audio);
    truncated.resize (truncated.size() - 4);
    EXPECT_FALSE (opens (truncated, wave)) << "the data chunk must be complete";
    EXPECT_FALSE (wave.isOpened());

    auto noData = riffFile ({ fmtChunk (2, 44100, 16), { "LIST", Bytes (8, 0) } });
    EXPECT_FALSE (opens (noData, wave));

    auto hugeChunk = riffFile ({ fmtChunk (2, 44100, 16), { "LIST", Bytes (8, 0), true, 0x7ffffff0 }, { "data", audio } });
    EXPECT_FALSE (opens (hugeChunk, wave)) << "a known chunk's size is followed";

    auto riffTooLong = recorderFile (audio);
    riffTooLong[4] = 0xff;
    riffTooLong[5] = 0xff;
    EXPECT_FALSE (opens (riffTooLong, wave));

    EXPECT_FALSE (opens (riffFile ({ { "fmt ", Bytes (8, 0) }, { "data", audio } }), wave)) << "short format chunk";
    EXPECT_FALSE (opens (Bytes(), wave));
    EXPECT_FALSE (opens (Bytes { 'R', 'I', 'F', 'F' }, wave));

    // Another format opens, is not valid, and reads nothing.
    for (const auto& fmt : { fmtChunk (2, 48000, 16), fmtChunk (1, 44100, 16), fmtChunk (2, 44100, 8) })
    {
        ASSERT_TRUE (opens (riffFile ({ fmt, { "data", audio } }), wave));
        EXPECT_TRUE (wave.isOpened());
        EXPECT_FALSE (wave.isValid());
        Frames f (10);
        std::fill (f.left.begin(), f.left.end(), 7.0f);
        wave.read (10, 0, f.out(), 0);
        EXPECT_EQ (f.left[0], 7.0f);
    }
}

TEST (RecorderWaveFile, ReadingBeforeTheStartAndPastTheEnd)
{
    WaveFile wave;
    ASSERT_TRUE (opens (recorderFile (stereoFrames (150, ramp)), wave));

    Frames f (100);
    std::fill (f.left.begin(), f.left.end(), 9.0f);
    wave.read (100, -10, f.out(), 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (f.left[(size_t) i], 9.0f) << "the first 10 output frames are untouched";
    for (int i = 10; i < 100; ++i)
        ASSERT_EQ (stored (f.left[(size_t) i]), ramp (i - 10).first) << i;

    std::fill (f.left.begin(), f.left.end(), 9.0f);
    wave.read (100, 120, f.out(), 0);
    EXPECT_EQ (stored (f.left[29]), ramp (149).first);
    EXPECT_EQ (f.left[30], 9.0f) << "frames past the end are not written";

    std::fill (f.left.begin(), f.left.end(), 9.0f);
    wave.read (50, -60, f.out(), 0);
    wave.read (50, 150, f.out(), 0);
    wave.read (50, 1 << 30, f.out(), 0);
    EXPECT_EQ (f.left[0], 9.0f);
}

TEST (RecorderWaveFile, ReadingUsesMemoryOnly)
{
    TempFolder tmp;
    const auto file = tmp / "Audio0.wav";
    ASSERT_TRUE (writeBytes (file, recorderFile (stereoFrames (1000, ramp))));

    WaveFile wave;
    ASSERT_TRUE (wave.openForReading (file));
    ASSERT_TRUE (file.deleteFile());

    Frames f (1000);
    wave.read (1000, 0, f.out(), 0);
    EXPECT_EQ (stored (f.left[777]), ramp (777).first);
}

TEST (RecorderWaveFile, JumpsForwardLeaveSilenceAndJumpsBackAppend)
{
    TempFolder tmp;
    const auto file = tmp / "jumps.wav";
    WaveFile wave;
    ASSERT_TRUE (wave.openForWriting (file));

    Frames ones (100);
    std::fill (ones.left.begin(), ones.left.end(), 0.5f);
    std::fill (ones.right.begin(), ones.right.end(), 0.5f);
    ASSERT_TRUE (wave.queueWrite (100, 1000, ones.in(), 0));
    ASSERT_TRUE (wave.queueWrite (100, 1300, ones.in(), 0));   // 200 frames later
    ASSERT_TRUE (wave.queueWrite (50, 0, ones.in(), 0));       // back: at the current end
    ASSERT_TRUE (wave.finish());

    EXPECT_EQ (wave.getLength(), 450) << "the gap counts: nothing is cut off the end";
    const auto back = storedFrames (file);
    ASSERT_EQ (back.size(), 450u);
    EXPECT_EQ (back[99].first, 16384);
    EXPECT_EQ (back[100].first, 0);
    EXPECT_EQ (back[299].first, 0);
    EXPECT_EQ (back[300].first, 16384);
    EXPECT_EQ (back[449].first, 16384);
    EXPECT_EQ (wave.getFirstWrittenPosition(), 1000);
}

TEST (RecorderWaveFile, RecordingStopsBeforeTheDataSizeWraps)
{
    TempFolder tmp;
    Frames f (1000);

    // With a small limit the same rule is seen on a small file.
    {
        WaveFile wave;
        ASSERT_TRUE (wave.openForWriting (tmp / "small.wav", 0, 2000));
        ASSERT_TRUE (wave.queueWrite (400, 0, f.in(), 0));
        ASSERT_TRUE (wave.writeWaiting (400, 400, f.in(), 0));
        ASSERT_TRUE (wave.finish());
        EXPECT_TRUE (wave.isFull());
        EXPECT_EQ (wave.getLength(), 500);
        EXPECT_EQ (wave.getLastWrittenPosition(), 500);
        EXPECT_EQ (read32 (readBytes (tmp / "small.wav"), 40), 2000u);
    }

    // The real limit, reached through a jump (the file is sparse).
    const auto file = tmp / "big.wav";
    WaveFile wave;
    ASSERT_TRUE (wave.openForWriting (file));
    const auto lastFrame = WaveFormat::largestDataBytes / 4;
    ASSERT_TRUE (wave.queueWrite (1, 0, f.in(), 0));
    ASSERT_TRUE (wave.writeWaiting (100, lastFrame - 10, f.in(), 0));
    ASSERT_TRUE (wave.finish());

    EXPECT_TRUE (wave.isFull());
    EXPECT_FALSE (wave.queueWrite (1, lastFrame, f.in(), 0));
    EXPECT_EQ (wave.getLength(), lastFrame);

    juce::FileInputStream in (file);
    Bytes header (44);
    ASSERT_EQ (in.read (header.data(), 44), 44);
    EXPECT_EQ (read32 (header, 40), (uint32_t) WaveFormat::largestDataBytes);
    EXPECT_EQ (read32 (header, 4), (uint32_t) (WaveFormat::largestDataBytes + 36));
    EXPECT_GE (read32 (header, 4), read32 (header, 40)) << "no wrap";
    EXPECT_EQ (file.getSize(), 44 + WaveFormat::largestDataBytes);
}

TEST (RecorderWaveFile, AFullQueueIsCountedAndRefused)
{
    TempFolder tmp;
    const auto file = tmp / "burst.wav";
    WaveFile wave;
    ASSERT_TRUE (wave.openForWriting (file, 8192));

    Frames f (1000);
    std::fill (f.left.begin(), f.left.end(), 0.25f);
    juce::int64 refused = 0;
    std::vector<int> accepted;
    for (int b = 0; b < 200; ++b)
    {
        if (wave.queueWrite (1000, b * 1000, f.in(), 0))
            accepted.push_back (b);
        else
            refused += 1000;
    }
    ASSERT_TRUE (wave.finish());

    EXPECT_GT (refused, 0) << "a burst beyond the queue's room";
    EXPECT_EQ (wave.getLostFrames(), refused);

    // Every accepted block is in the file at its place.
    const auto back = storedFrames (file);
    for (int b : accepted)
        ASSERT_EQ (back[(size_t) (b * 1000 + 500)].first, 8192) << b;
}

TEST (RecorderWaveFile, AFailedWriteIsReportedAndTheFileStaysReadable)
{
    TempFolder tmp;
    const auto file = tmp / "full.wav";
    WaveFile wave;
    ASSERT_TRUE (wave.openForWriting (file));

    Frames f (4096);
    {
        ScopedFileSizeLimit limit (44 + 10000 * 4);
        if (! limit.isActive())
            GTEST_SKIP() << "file size limit not available";
        for (int b = 0; b < 5; ++b)
            ASSERT_TRUE (wave.writeWaiting (4096, b * 4096, f.in(), 0));
        EXPECT_FALSE (wave.finish());
    }

    EXPECT_GT (wave.getLostFrames(), 0);
    WaveFile back;
    ASSERT_TRUE (back.openForReading (file));
    EXPECT_TRUE (back.isValid());
    EXPECT_EQ (back.getLength() % 4096, 0) << "whole jobs only";
    EXPECT_LE (back.getLength(), 10000);
}

TEST (RecorderWaveFile, ALinkAtTheNameIsReplacedNotWrittenThrough)
{
    TempFolder tmp;
    const auto target = tmp / "precious.txt";
    target.replaceWithText ("keep me");
    const auto link = tmp / "temp.wav";
    ASSERT_EQ (::symlink (target.getFullPathName().toRawUTF8(), link.getFullPathName().toRawUTF8()), 0);

    WaveFile wave;
    ASSERT_TRUE (wave.openForWriting (link));
    ASSERT_TRUE (wave.finish());
    EXPECT_EQ (target.loadFileAsString(), "keep me");
    EXPECT_FALSE (link.isSymbolicLink());
    EXPECT_EQ (link.getSize(), 44);
}

TEST (RecorderWaveFile, NumberedNamesSkipTheOnesThatExist)
{
    TempFolder tmp;
    (tmp / "Audio0.wav").create();
    (tmp / "Audio1.wav").create();
    EXPECT_EQ (WaveFile::newNumberedFile (tmp.get(), "Audio", ".wav"), tmp / "Audio2.wav");
}
