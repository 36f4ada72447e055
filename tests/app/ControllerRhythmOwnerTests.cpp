#include "app/ControllerRhythmOwner.h"

#include "app/ControllerRequest.h"
#include "documents/Project.h"

#include <gtest/gtest.h>

using namespace T730;

TEST (AppControllerRhythmOwner, AsksTheRecordingsByRequestAndKeepsTheToolSetsCountInAndSongFile)
{
    Project project;
    project.PreCount = -1;
    juce::int64 longest = 0;
    int asked = 0;
    ControllerRhythmOwner owner ([&] (int code, int, int, void* data)
                                 {
                                     EXPECT_EQ (code, GetLongestRecorderLength);
                                     ++asked;
                                     *static_cast<juce::int64*> (data) = longest;
                                     return longest > 0 ? -1 : 0;
                                 },
                                 &project);

    EXPECT_EQ (owner.getLongestRecordingLength(), 0);
    longest = (juce::int64) 1 << 33;   // recordings past 32 bits of samples
    EXPECT_EQ (owner.getLongestRecordingLength(), longest);
    EXPECT_EQ (asked, 2);
    EXPECT_EQ (owner.getToolSetPreCount(), -1);

    EXPECT_TRUE (project.songFiles.isEmpty());
    owner.setToolSetSongFile ("RhythmerSetting.xml");
    EXPECT_EQ (project.songFiles, juce::StringArray ("RhythmerSetting.xml"));
    project.songFiles = juce::StringArray ({ "old.xml", "second.xml" });
    owner.setToolSetSongFile ("RhythmerSetting.xml");
    EXPECT_EQ (project.songFiles, juce::StringArray ({ "RhythmerSetting.xml", "second.xml" }));

    ControllerRhythmOwner alone ({}, nullptr);
    EXPECT_EQ (alone.getLongestRecordingLength(), 0);
    EXPECT_EQ (alone.getToolSetPreCount(), 0);
    alone.setToolSetSongFile ("x.xml");
}
