#include <gtest/gtest.h>

#include "TestSupport.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"

#include <csignal>
#include <sys/resource.h>

using namespace T730;

TEST (DocumentsSafeFileWriter, ReplacesContentAndWritesTheDeclaration)
{
    oxatest::TempFolder tmp;
    auto file = tmp / "doc.xml";

    juce::XmlElement root ("Setting");
    root.createNewChildElement ("MasterLv")->addTextElement ("100");
    ASSERT_TRUE (writeXmlDocument (file, root));
    EXPECT_TRUE (file.loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    ASSERT_TRUE (replaceFileText (file, "second"));
    EXPECT_EQ (file.loadFileAsString(), "second");

    // Only the target is left in the folder.
    EXPECT_EQ (tmp.get().getNumberOfChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, "*"), 1);
    EXPECT_EQ (tmp.get().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);

    // A missing folder or a folder as target fails.
    EXPECT_FALSE (replaceFileText (tmp / "no/such/file.xml", "x"));
    EXPECT_FALSE (replaceFileText (tmp.get(), "x"));
}

TEST (DocumentsSafeFileWriter, AFailedWriteLeavesTheOldDocumentIntact)
{
    oxatest::TempFolder tmp;
    auto file = tmp / "patch.xml";
    const juce::String good = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PatchSet><Name>Good</Name></PatchSet>\n";
    ASSERT_TRUE (replaceFileText (file, good));

    // Simulate a full disk: the process may not write files beyond 1 KiB.
    bool written = true;
    {
        oxatest::ScopedFileSizeLimit fullDisk (1024);
        ASSERT_TRUE (fullDisk.isActive());
        written = replaceFileText (file, juce::String::repeatedString ("<x>big</x>", 2000));
    }

    EXPECT_FALSE (written);
    EXPECT_EQ (file.loadFileAsString(), good);
    EXPECT_NE (parseXmlFile (file), nullptr);
    EXPECT_EQ (tmp.get().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);
}
