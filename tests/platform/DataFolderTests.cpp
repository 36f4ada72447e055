#include "TestSupport.h"
#include "platform/DataFolders.h"
#include "platform/Platform.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <unistd.h>

using namespace T730;

namespace
{
/** Install folder and documents folder inside a temporary folder. */
class PlatformDataFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install = temp / "install";
        documents = temp / "home/Documents";
        install.createDirectory();
        overrideFolderRoots (install, documents);
    }

    void TearDown() override { clearFolderRootOverrides(); }

    juce::File userFolder (const juce::String& name) const
    {
        return documents.getChildFile ("VELD").getChildFile ("OXA Tools").getChildFile (name);
    }

    oxatest::TempFolder temp;
    juce::File install, documents;
};

bool writeText (const juce::File& file, const juce::String& text)
{
    return file.getParentDirectory().createDirectory() && file.replaceWithText (text);
}

/** Sets HOME for the length of a test (JUCE reads it afresh for "~"). */
class ScopedHome
{
public:
    explicit ScopedHome (const juce::File& home)
    {
        if (const char* old = std::getenv ("HOME"))
            previous = old;
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    }
    ~ScopedHome() { ::setenv ("HOME", previous.toRawUTF8(), 1); }

private:
    juce::String previous;
};
} // namespace

TEST_F (PlatformDataFolders, PathsAreFormedBelowTheirRoots)
{
    const auto installText = getInstallFolder();
    EXPECT_TRUE (installText.endsWithChar ('/'));
    EXPECT_EQ (juce::File (installText), install);

    EXPECT_EQ (getUserDataRoot(), documents.getChildFile ("VELD/OXA Tools"));
    for (const auto* name : { UserFolder::setting, UserFolder::toolsets, UserFolder::patchgroup,
                              UserFolder::song, UserFolder::rhythm })
        EXPECT_EQ (getUserDataFolder (name, false), userFolder (name)) << name;

    EXPECT_EQ (getResourceFolder(), install.getChildFile ("resources"));
    EXPECT_EQ (getResourceArchive ("Pictures"), install.getChildFile ("resources/Pictures.orc"));
    EXPECT_EQ (getResourceInArchive ("Pictures", "knob.png"),
               install.getChildFile ("resources/Pictures.orc/resource/knob.png"));
    EXPECT_EQ (getEffectModuleLibrary ("Tuner"), install.getChildFile ("resources/Tuner.so"));

    // Forming a path creates nothing.
    EXPECT_FALSE (getUserDataRoot().exists());
}

TEST_F (PlatformDataFolders, MissingFolderIsCopiedFromTheInstallFolderWithItsSubfolders)
{
    const auto factory = install.getChildFile ("song");
    ASSERT_TRUE (writeText (factory.getChildFile ("Blues.xml"), "<Song/>"));
    ASSERT_TRUE (factory.getChildFile ("sub/deeper/Rock.xml").create());
    ASSERT_TRUE (factory.getChildFile ("empty").createDirectory());

    const auto folder = getUserDataFolder (UserFolder::song, true);

    EXPECT_EQ (folder, userFolder ("song"));
    EXPECT_EQ (folder.getChildFile ("Blues.xml").loadFileAsString(), "<Song/>");
    EXPECT_TRUE (folder.getChildFile ("sub/deeper/Rock.xml").existsAsFile());
    EXPECT_TRUE (folder.getChildFile ("empty").isDirectory());
    EXPECT_TRUE (factory.getChildFile ("Blues.xml").existsAsFile()) << "the factory copy stays";
}

TEST_F (PlatformDataFolders, EmptiedFolderIsNotRefilledAndMissingFactoryFolderStaysMissing)
{
    ASSERT_TRUE (install.getChildFile ("rhythm/Beat.mid").create());
    const auto folder = getUserDataFolder (UserFolder::rhythm, true);
    ASSERT_TRUE (folder.getChildFile ("Beat.mid").existsAsFile());

    ASSERT_TRUE (folder.getChildFile ("Beat.mid").deleteFile());
    getUserDataFolder (UserFolder::rhythm, true);
    EXPECT_FALSE (folder.getChildFile ("Beat.mid").exists());

    // Without copyIfMissing nothing is copied; with it but no factory folder, nothing appears.
    install.getChildFile ("song").createDirectory();
    EXPECT_FALSE (getUserDataFolder (UserFolder::song, false).exists());
    EXPECT_FALSE (getUserDataFolder (UserFolder::toolsets, true).exists());
}

TEST (PlatformDocuments, DocumentsFolderFollowsTheXdgSettingOfHome)
{
    oxatest::TempFolder home;
    ScopedHome scopedHome (home.get());
    EXPECT_EQ (platform::getUserDocumentsFolder(), home.get().getChildFile ("Documents"));

    const auto papers = home.get().getChildFile ("Papers");
    ASSERT_TRUE (papers.createDirectory());
    ASSERT_TRUE (writeText (home.get().getChildFile (".config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n"));
    EXPECT_EQ (platform::getUserDocumentsFolder(), papers);
}

TEST (PlatformProgram, InstallFolderIsTheExecutablesFolderAndVersionIsCompiledIn)
{
    clearFolderRootOverrides();
    EXPECT_EQ (juce::File (getInstallFolder()),
               juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory());
    EXPECT_EQ (getModuleVersion(), juce::String (OXA_VERSION_STRING));
}

namespace
{
/** Finished children of this process still waiting to be reaped, by program name. */
int countUnreapedChildren (const juce::String& name)
{
    int count = 0;
    for (const auto& entry : juce::File ("/proc").findChildFiles (juce::File::findDirectories, false, "[0-9]*"))
    {
        // pid (comm) state ppid ...
        const auto stat = entry.getChildFile ("stat").loadFileAsString();
        const auto comm = stat.fromFirstOccurrenceOf ("(", false, false).upToLastOccurrenceOf (")", false, false);
        const auto rest = juce::StringArray::fromTokens (stat.fromLastOccurrenceOf (")", false, false).trim(), false);
        if (comm == name && rest.size() > 2 && rest[0] == "Z" && rest[1].getIntValue() == (int) ::getpid())
            ++count;
    }
    return count;
}
} // namespace

TEST (PlatformFileBrowser, OpensTheFolderWithXdgOpenAndLeavesNoFinishedProcessBehind)
{
    oxatest::TempFolder temp;
    const auto bin = temp / "bin";
    const auto record = temp / "opened.txt";
    const auto script = bin.getChildFile ("xdg-open");
    ASSERT_TRUE (script.create().wasOk());
    ASSERT_TRUE (script.replaceWithText ("#!/bin/sh\nprintf '%s' \"$1\" > \"" + record.getFullPathName() + ".part\"\n"
                                    "mv \"" + record.getFullPathName() + ".part\" \"" + record.getFullPathName() + "\"\n",
                                         false, false, "\n"));
    ASSERT_TRUE (script.setExecutePermission (true));

    const juce::String previousPath (std::getenv ("PATH") != nullptr ? std::getenv ("PATH") : "");
    ::setenv ("PATH", (bin.getFullPathName() + ":" + previousPath).toRawUTF8(), 1);

    const auto folder = temp / "My Set";
    ASSERT_TRUE (folder.createDirectory());
    const bool opened = platform::openFolderInFileBrowser (folder);
    const bool notAFolder = platform::openFolderInFileBrowser (temp / "missing");
    ::setenv ("PATH", previousPath.toRawUTF8(), 1);

    ASSERT_TRUE (opened);
    EXPECT_FALSE (notAFolder);
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return record.existsAsFile(); }, 5000));
    EXPECT_EQ (record.loadFileAsString(), folder.getFullPathName());
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([] { return countUnreapedChildren ("xdg-open") == 0; }, 5000));
}
