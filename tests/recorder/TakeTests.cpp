// Takes: regions of WAV files on the recorder's timeline, their fades, the
// two-region merge and the names a take may follow.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WaveTestSupport.h"
#include "../engine/JamTestItems.h"
#include "documents/XmlParser.h"
#include "recorder/TakeStatus.h"

#include <atomic>
#include <thread>

using namespace T730;
using namespace oxatest;

namespace
{
    constexpr int r = 441;

    /** The stored samples of take file number `seed` at file frame i. */
    int contentLeft (int seed, juce::int64 i)  { return (int) ((i * (7 + seed) + seed * 1000) % 20000) - 10000; }
    int contentRight (int seed, juce::int64 i) { return 12000 - (int) ((i * (3 + seed)) % 24000); }

    juce::File makeTakeFile (const juce::File& folder, const juce::String& name, int seed, int frames)
    {
        const auto file = folder.getChildFile (name);
        writeBytes (file, recorderFile (stereoFrames (frames, [seed] (int i) { return std::make_pair (contentLeft (seed, i), contentRight (seed, i)); })));
        return file;
    }

    struct Region
    {
        juce::int64 start, end, length;
        int seed;
        bool open = true;
    };

    /** The take's sound at a timeline position, sample by sample: each region,
        the oldest first, replaces what is below where its file reaches; its
        four fades then apply to everything there. */
    double reference (const std::vector<Region>& newestFirst, juce::int64 x, bool left)
    {
        double out = 0.0;
        for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it)
        {
            const auto& g = *it;
            if (! g.open)
                continue;
            if (x >= g.start && x < g.start + g.length)
                out = (left ? contentLeft (g.seed, x - g.start) : contentRight (g.seed, x - g.start)) / 32768.0;

            if (x >= g.end && x < g.end + r)               out *= (double) (x - g.end) / r;
            if (x >= g.start && x < g.start + r)           out *= (double) (x - g.start) / r;
            if (x >= g.end - r && x < g.end)               out *= 1.0 - (double) (x - (g.end - r)) / r;
            if (x >= g.start - r && x < g.start)           out *= 1.0 - (double) (x - (g.start - r)) / r;
        }
        return out;
    }

    std::vector<float> renderTake (const TakeStatus& take, juce::int64 from, int count, int blockSize, bool left = true)
    {
        std::vector<float> l ((size_t) count), rr ((size_t) count);
        float* out[2] = { l.data(), rr.data() };
        for (int done = 0; done < count; done += blockSize)
            take.render (from + done, out, done, juce::jmin (blockSize, count - done));
        return left ? l : rr;
    }
} // namespace

/** The fades are 10 ms long at the engine's rate: the rate is held at 44100 Hz
    here, whatever an earlier test's audio device left behind. */
class RecorderTake : public ::testing::Test
{
    const ScopedEngineRunning rate { false, 44100.0 };
};

TEST_F (RecorderTake, RegionsPlayWithTheirFadesWhateverTheBlockSize)
{
    TempFolder tmp;
    TakeStatus take;
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio0.wav", 1, 20000), 1000, 21000));
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio1.wav", 2, 3000), 5000, 8000));
    ASSERT_EQ (take.size(), 2);
    EXPECT_EQ (take.getLatestEnd(), 21000);
    EXPECT_EQ (take.getRecord (0)->fileName, "Audio1.wav") << "the newest first";

    const std::vector<Region> regions { { 5000, 8000, 3000, 2 }, { 1000, 21000, 20000, 1 } };

    // Block boundaries fall inside every ramp for some of these sizes, just
    // after the newer region's end among them (8192 = 8000 + 192).
    for (int blockSize : { 1, 64, 441, 512, 4096, 25000 })
    {
        const auto left = renderTake (take, 0, 25000, blockSize);
        const auto right = renderTake (take, 0, 25000, blockSize, false);
        for (juce::int64 x = 0; x < 25000; ++x)
        {
            ASSERT_NEAR (left[(size_t) x], reference (regions, x, true), 2.0e-6) << "block " << blockSize << " x " << x;
            ASSERT_NEAR (right[(size_t) x], reference (regions, x, false), 2.0e-6) << "block " << blockSize << " x " << x;
        }
    }

    // The older material fades out before the newer region and back in after it.
    const auto left = renderTake (take, 0, 25000, 512);
    EXPECT_NEAR (left[5000 - 1], 0.0, 1.0e-3);
    EXPECT_NEAR (left[8000], 0.0, 1.0e-6);
    EXPECT_NEAR (left[8000 + 441], contentLeft (1, 8441 - 1000) / 32768.0, 1.0e-6);
}

TEST_F (RecorderTake, AFileLongerThanItsEndFadesItsTailBackIn)
{
    TempFolder tmp;
    TakeStatus take;
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio0.wav", 3, 3000), 500, 1500));

    const std::vector<Region> regions { { 500, 1500, 3000, 3 } };
    const auto left = renderTake (take, 0, 4000, 256);
    for (juce::int64 x = 0; x < 4000; ++x)
        ASSERT_NEAR (left[(size_t) x], reference (regions, x, true), 2.0e-6) << x;

    EXPECT_NEAR (left[1500], 0.0, 1.0e-6);
    EXPECT_NE (left[3000], 0.0f) << "the tail plays after its fade-in";
    EXPECT_EQ (left[3600], 0.0f) << "and ends with the file";
}

TEST_F (RecorderTake, ThreeRecordingsGiveTwoRegionsAndTheMergePlaysWhatTheTakePlayed)
{
    TempFolder tmp;
    TakeStatus take;
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio0.wav", 1, 44100), 0, -1));
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio1.wav", 2, 10000), 20000, 30000));
    EXPECT_EQ (take.getRecord (1)->end, 44100) << "end -1: the file's length";

    const auto before = renderTake (take, 0, 50000, 512);

    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio2.wav", 3, 5000), 60000, 65000));
    ASSERT_EQ (take.size(), 2);
    EXPECT_EQ (take.getRecord (0)->fileName, "Audio2.wav");

    auto merged = take.getRecord (1);
    EXPECT_EQ (merged->fileName, "Audio3.wav");
    EXPECT_EQ (merged->start, 0);
    EXPECT_EQ (merged->end, 44100);
    EXPECT_TRUE (take.isRecordOpen (1));

    WaveFile file;
    ASSERT_TRUE (file.openForReading (tmp / "Audio3.wav"));
    EXPECT_EQ (file.getLength(), 44100);

    // The merged region sounds as the two regions did (to within one step of 16 bits).
    const auto after = renderTake (take, 0, 50000, 512);
    for (size_t x = 0; x < 50000; ++x)
        ASSERT_NEAR (after[x], before[x], 1.0 / 32768.0 + 1.0e-6) << x;
}

TEST_F (RecorderTake, AMissingOlderFileDoesNotStopNewRecordings)
{
    TempFolder tmp;
    makeTakeFile (tmp.get(), "Audio0.wav", 1, 8000);
    makeTakeFile (tmp.get(), "Audio1.wav", 2, 4000);

    auto xml = parseXmlText ("<CurrentTake><OneRecord idx=\"0\"><StartPoint>2000</StartPoint><EndPoint>6000</EndPoint>"
                             "<Filename>Audio1.wav</Filename></OneRecord><OneRecord idx=\"1\"><StartPoint>0</StartPoint>"
                             "<EndPoint>8000</EndPoint><Filename>Gone.wav</Filename></OneRecord></CurrentTake>");
    TakeStatus take;
    ASSERT_TRUE (take.read (xml.get()));
    take.openFiles (tmp.get());
    EXPECT_TRUE (take.isRecordOpen (0));
    EXPECT_FALSE (take.isRecordOpen (1)) << "stays in the take, plays nothing";

    const auto before = renderTake (take, 0, 9000, 300);
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio2.wav", 3, 1000), 20000, 21000));
    ASSERT_EQ (take.size(), 2);
    EXPECT_EQ (take.getRecord (1)->start, 0);
    EXPECT_EQ (take.getRecord (1)->end, 8000);

    const auto after = renderTake (take, 0, 9000, 300);
    for (size_t x = 0; x < 9000; ++x)
        ASSERT_NEAR (after[x], before[x], 1.0 / 32768.0 + 1.0e-6) << x;
}

TEST_F (RecorderTake, ARecordingThatDoesNotOpenChangesNothing)
{
    TempFolder tmp;
    TakeStatus take;
    EXPECT_FALSE (take.addRecording (tmp / "none.wav", 0, 100));
    writeBytes (tmp / "mono.wav", riffFile ({ fmtChunk (1, 44100, 16), { "data", Bytes (400, 0) } }));
    EXPECT_FALSE (take.addRecording (tmp / "mono.wav", 0, 100));
    EXPECT_EQ (take.size(), 0);
    EXPECT_EQ (take.getLatestEnd(), 0);
}

// An imported file replaces the whole take, but only once it has opened: one that does not
// (not the take format, or too large for memory) leaves both regions of the take in place.
TEST_F (RecorderTake, AReplacementThatDoesNotOpenKeepsTheTake)
{
    TempFolder tmp;
    TakeStatus take;
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio0.wav", 1, 20000), 1000, 21000));
    ASSERT_TRUE (take.addRecording (makeTakeFile (tmp.get(), "Audio1.wav", 2, 3000), 5000, 8000));

    EXPECT_FALSE (take.replaceWithFile (tmp / "none.wav"));
    writeBytes (tmp / "mono.wav", riffFile ({ fmtChunk (1, 44100, 16), { "data", Bytes (400, 0) } }));
    EXPECT_FALSE (take.replaceWithFile (tmp / "mono.wav"));
    EXPECT_EQ (take.size(), 2);
    EXPECT_EQ (take.getLatestEnd(), 21000);
    EXPECT_TRUE (take.isRecordOpen (0) && take.isRecordOpen (1));

    ASSERT_TRUE (take.replaceWithFile (makeTakeFile (tmp.get(), "Audio2.wav", 3, 5000)));
    ASSERT_EQ (take.size(), 1);
    EXPECT_EQ (take.getRecord (0)->start, 0);
    EXPECT_EQ (take.getRecord (0)->end, 5000);
    EXPECT_EQ (take.getFileNames(), juce::StringArray ("Audio2.wav"));
}

TEST_F (RecorderTake, OnlyPlainFileNamesInsideTheFolderAreFollowed)
{
    TempFolder tmp;
    const auto folder = tmp / "RecorderSetting0";
    folder.createDirectory();
    makeTakeFile (tmp.get(), "outside.wav", 1, 100);
    makeTakeFile (folder, "inside.wav", 2, 100);

    const auto outside = (tmp / "outside.wav").getFullPathName();
    juce::String text = "<CurrentTake>";
    const juce::StringArray names { "../outside.wav", outside, "sub/inside.wav", "~inside.wav", "..", "inside.wav" };
    for (int i = 0; i < names.size(); ++i)
        text << "<OneRecord idx=\"" << i << "\"><StartPoint>0</StartPoint><EndPoint>100</EndPoint><Filename>"
             << names[i] << "</Filename></OneRecord>";
    text << "</CurrentTake>";

    TakeStatus take;
    auto xml = parseXmlText (text);
    take.read (xml.get());
    take.openFiles (folder);

    ASSERT_EQ (take.size(), 6);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (take.getRecord (i)->fileName, "") << names[i];
        EXPECT_FALSE (take.isRecordOpen (i)) << names[i];
    }
    EXPECT_EQ (take.getRecord (5)->fileName, "inside.wav");
    EXPECT_TRUE (take.isRecordOpen (5));
    EXPECT_EQ (take.getFileNames(), juce::StringArray ("inside.wav"));
}

TEST_F (RecorderTake, StoredTakesReadBackAsWritten)
{
    auto xml = parseXmlText ("<T><OneRecord idx=\"1\"><StartPoint>4294967295</StartPoint><EndPoint>-5</EndPoint>"
                             "<Filename>b.wav</Filename></OneRecord><OneRecord idx=\"0\"><StartPoint>3000000000</StartPoint>"
                             "<Filename>a.wav</Filename></OneRecord><OneRecord idx=\"3\"/></T>");
    TakeStatus take;
    take.read (xml.get());
    ASSERT_EQ (take.size(), 2) << "reading stops at the missing index 2";
    EXPECT_EQ (take.getRecord (0)->start, 3000000000LL) << "unsigned 32-bit values survive";
    EXPECT_EQ (take.getRecord (0)->end, 0);
    EXPECT_EQ (take.getRecord (1)->start, 4294967295LL);
    EXPECT_EQ (take.getRecord (1)->end, 0);

    juce::XmlElement written ("T");
    take.write (&written);
    TakeStatus again;
    again.read (&written);
    juce::XmlElement rewritten ("T");
    again.write (&rewritten);
    EXPECT_TRUE (written.isEquivalentTo (&rewritten, false));

    // An element without an index is taken once, not forever.
    auto loose = parseXmlText ("<T><OneRecord><Filename>x.wav</Filename></OneRecord></T>");
    take.read (loose.get());
    EXPECT_EQ (take.size(), 1);
}

TEST_F (RecorderTake, ClosingAndSwappingWhileTheAudioThreadRenders)
{
    TempFolder tmp;
    // One second each: freed sample memory goes back to the system, so a
    // render reading a file closed under it would fault.
    makeTakeFile (tmp.get(), "Audio0.wav", 1, 44100);
    makeTakeFile (tmp.get(), "Audio1.wav", 2, 44100);

    TakeStatus take, other;
    ASSERT_TRUE (take.addRecording (tmp / "Audio0.wav", 0, 44100));
    ASSERT_TRUE (other.addRecording (tmp / "Audio1.wav", 1000, 45100));
    other.closeFiles();

    std::atomic<bool> quit { false };
    std::atomic<int> blocks { 0 };
    std::thread audio ([&]
    {
        std::vector<float> l (512), rr (512);
        float* out[2] = { l.data(), rr.data() };
        juce::int64 p = 0;
        while (! quit)
        {
            take.render (p, out, 0, 512);
            p = (p + 512) % 44000;
            ++blocks;
        }
    });

    for (int i = 0; i < 60; ++i)
    {
        take.closeFiles();
        take.openFiles (tmp.get());
        take.assign (other, tmp.get());
        take.assign (TakeStatus(), tmp.get());
        ASSERT_TRUE (take.addRecording (tmp / "Audio0.wav", 0, 44100));
    }

    while (blocks < 100)
        std::this_thread::yield();
    quit = true;
    audio.join();
    EXPECT_EQ (take.size(), 1);
}
