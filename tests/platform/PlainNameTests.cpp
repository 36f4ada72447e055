#include "TestSupport.h"
#include "platform/DataFolders.h"
#include "platform/Platform.h"
#include "platform/PlainNames.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace T730;

TEST (PlatformPlainNames, OnlyNamesThatStayInsideTheirFolderArePlain)
{
    for (const char* good : { "Tuner", "Common", "knob 01.png", "a~b", "Delay1", "...a", ".hidden" })
        EXPECT_TRUE (isPlainName (good)) << good;

    // (Dots alone, however many: a folder's listing never shows such a name.)
    for (const char* bad : { "", ".", "..", "...", "................", "~", "~Name", "~ommon", "a/b", "a\\b", "/etc", "a\x01", "\x7f" })
        EXPECT_FALSE (isPlainName (bad)) << bad;

    const juce::File folder ("/tmp/resources");
    EXPECT_EQ (plainChild (folder, "Tuner.so"), folder.getChildFile ("Tuner.so"));
    EXPECT_EQ (plainChild (folder, "~Tuner"), juce::File());
    EXPECT_EQ (childNamed (folder, "~Tuner"), juce::File ("/tmp/resources/~Tuner")) << "a name, not the home folder";
}

TEST (PlatformPlainNames, ResourcePathsRefuseNamesThatLeaveTheResourceFolder)
{
    for (const char* bad : { "~Name", "..", "a/b", "" })
    {
        EXPECT_EQ (getResourceArchive (bad), juce::File()) << bad;
        EXPECT_EQ (getEffectModuleLibrary (bad), juce::File()) << bad;
        EXPECT_EQ (getResourceInArchive ("Common", bad), juce::File()) << bad;
        EXPECT_EQ (getResourceInArchive (bad, "knob.png"), juce::File()) << bad;
    }
}

TEST (PlatformPlainNames, TheOneFolderCopierKeepsTildeNamesInsideAndFollowsNoFolderLink)
{
    oxatest::TempFolder temp;
    const auto source = temp / "source";
    ASSERT_TRUE (childNamed (source, "~").createDirectory());
    ASSERT_TRUE (childNamed (source, "~/take.wav").replaceWithText ("take"));
    ASSERT_TRUE (childNamed (source, "~user.xml").replaceWithText ("doc"));
    ASSERT_EQ (::symlink ("..", childNamed (source, "up").getFullPathName().toRawUTF8()), 0);

    const auto target = temp / "target";
    EXPECT_TRUE (copyFolderRecursively (source, target));
    EXPECT_EQ (childNamed (target, "~/take.wav").loadFileAsString(), "take");
    EXPECT_EQ (childNamed (target, "~user.xml").loadFileAsString(), "doc");
    EXPECT_FALSE (childNamed (target, "up").exists()) << "the link back up is not followed";
}

TEST (PlatformPrivateFolder, TheWorkFolderIsTheUsersOwnAndNeverALink)
{
    oxatest::TempFolder temp;
    const juce::String previous (std::getenv ("XDG_CACHE_HOME") != nullptr ? std::getenv ("XDG_CACHE_HOME") : "");
    const auto cache = temp / "cache";
    ASSERT_TRUE (cache.createDirectory());
    ::setenv ("XDG_CACHE_HOME", cache.getFullPathName().toRawUTF8(), 1);

    const auto folder = platform::getPrivateCacheFolder();
    EXPECT_EQ (folder, cache.getChildFile ("OXA Tools"));
    struct stat info {};
    ASSERT_EQ (::lstat (folder.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ (info.st_mode & 0777, 0700u);

    // Made wider by someone: narrowed again.
    ::chmod (folder.getFullPathName().toRawUTF8(), 0777);
    EXPECT_EQ (platform::getPrivateCacheFolder(), folder);
    ::lstat (folder.getFullPathName().toRawUTF8(), &info);
    EXPECT_EQ (info.st_mode & 0777, 0700u);

    // A link put in its place (by another account, say) is refused, and so is a file.
    ASSERT_TRUE (folder.deleteRecursively());
    const auto elsewhere = temp / "elsewhere";
    ASSERT_TRUE (elsewhere.createDirectory());
    ASSERT_EQ (::symlink (elsewhere.getFullPathName().toRawUTF8(), folder.getFullPathName().toRawUTF8()), 0);
    EXPECT_EQ (platform::getPrivateCacheFolder(), juce::File());
    ASSERT_TRUE (folder.deleteFile());
    ASSERT_TRUE (folder.replaceWithText ("not a folder"));
    EXPECT_EQ (platform::getPrivateCacheFolder(), juce::File());

    ::setenv ("XDG_CACHE_HOME", previous.toRawUTF8(), 1);
}
