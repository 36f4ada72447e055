// A recording process killed without warning leaves a playable "temp.wav".
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "recorder/WaveFile.h"

#include <iostream>

using namespace T730;

TEST (RecorderWaveCrash, AKilledRecordingLeavesAPlayableFileMissingAtMostTwoSeconds)
{
    oxatest::TempFolder tmp;
    const auto file = tmp / "temp.wav";

    juce::ChildProcess child;
    ASSERT_TRUE (child.start (juce::StringArray { OXA_WAV_RECORDING_CHILD, file.getFullPathName() }));

    // Let it record a little more than three seconds, then kill it mid-block.
    juce::String output;
    long long queuedBeforeKill = 0;
    char buffer[256];
    while (queuedBeforeKill < 3 * 44100 + 20000)
    {
        const int got = child.readProcessOutput (buffer, sizeof (buffer));
        ASSERT_GT (got, 0) << "the recording stopped by itself: " << output;
        output += juce::String::fromUTF8 (buffer, got);
        const auto lines = juce::StringArray::fromLines (output.upToLastOccurrenceOf ("\n", false, false));
        if (! lines.isEmpty())
            queuedBeforeKill = lines[lines.size() - 1].fromFirstOccurrenceOf ("queued ", false, false).getLargeIntValue();
    }
    ASSERT_TRUE (child.kill());
    child.waitForProcessToFinish (5000);

    WaveFile wave;
    ASSERT_TRUE (wave.openForReading (file)) << "the header always describes data the file holds";
    ASSERT_TRUE (wave.isValid());
    EXPECT_GE (wave.getLength(), queuedBeforeKill - 2 * 44100) << "at most the last two seconds are missing";
    std::cout << "[ figure ] killed after " << queuedBeforeKill << " frames queued, the file kept "
              << wave.getLength() << " (" << juce::String ((double) (queuedBeforeKill - wave.getLength()) / 44.1, 0) << " ms missing)\n";

    // What is there is the recording, frame for frame.
    const auto length = (int) wave.getLength();
    std::vector<float> left ((size_t) length), right ((size_t) length);
    float* out[2] = { left.data(), right.data() };
    wave.read (length, 0, out, 0);
    for (int i = 0; i < length; i += 97)
    {
        ASSERT_EQ ((int) (left[(size_t) i] * 32768.0f), (int) ((i * 3LL) % 30000 - 15000)) << i;
        ASSERT_EQ ((int) (right[(size_t) i] * 32768.0f), (int) ((i * 5LL) % 30000 - 15000)) << i;
    }
}
