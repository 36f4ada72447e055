#include <gtest/gtest.h>

#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"

using namespace T730;

namespace
{
    std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
    {
        auto root = parseXmlText (text);
        EXPECT_NE (root, nullptr);
        return root;
    }

    juce::String writeText (Project& project)
    {
        juce::XmlElement root (Project::rootTag);
        EXPECT_TRUE (project.write (&root));
        return root.toString (juce::XmlElement::TextFormat().withoutHeader().singleLine());
    }
} // namespace

TEST (DocumentsProject, NewToolSetAndCopiesCarryEveryField)
{
    Project project;
    EXPECT_EQ (project.Name, "New Tool Set");
    EXPECT_EQ (project.recorderFiles, juce::StringArray (""));
    EXPECT_TRUE (project.songFiles.isEmpty());
    EXPECT_EQ (project.VersionInfo, "M7c");
    EXPECT_EQ (project.editBuffer.name, "No Name");
    EXPECT_EQ (project.editBuffer.getParam (0, 2), 39);

    project.Name = "Set";
    project.edited = true;
    project.demo = true;
    project.editBuffer.setParam (4, 5, 77);
    project.editBuffer.name = "Lead";
    project.recorderFiles.add ("Recorder1.xml");

    Project copy (project);
    EXPECT_TRUE (copy.edited);
    EXPECT_TRUE (copy.demo);
    EXPECT_EQ (copy.Name, "Set");
    EXPECT_TRUE (copy.editBuffer.sameContentAs (project.editBuffer));
    EXPECT_EQ (copy.recorderFiles, project.recorderFiles);

    copy.reset();
    EXPECT_FALSE (copy.edited);
    EXPECT_FALSE (copy.demo);
    EXPECT_EQ (copy.editBuffer.getParam (4, 5), 0);
    EXPECT_EQ (copy.editBuffer.name, "No Name");
}

TEST (DocumentsProject, VersionInfoAbsentOrEmptyLoadsAnotherModelIsRefused)
{
    for (auto version : { juce::String(), juce::String ("<VersionInfo></VersionInfo>") })
    {
        Project project;
        auto root = parse ("<Project><Name>Jam</Name>" + version + "</Project>");
        EXPECT_TRUE (project.read (root.get()));
        EXPECT_EQ (project.Name, "Jam");
        EXPECT_EQ (project.VersionInfo, "");
    }

    Project project;
    project.Name = "Mine";
    project.recorderFiles = juce::StringArray ("a.xml");
    project.editBuffer.setParam (1, 1, 5);
    const Project before (project);

    auto other = parse ("<Project><Name>Other</Name><RecorderFile idx=\"0\">b.xml</RecorderFile>"
                        "<VersionInfo>M9</VersionInfo><Module1><Prm1>9</Prm1></Module1></Project>");
    EXPECT_FALSE (project.read (other.get()));
    EXPECT_EQ (project.Name, "Mine");
    EXPECT_EQ (project.recorderFiles, before.recorderFiles);
    EXPECT_TRUE (project.editBuffer.sameContentAs (before.editBuffer));
    EXPECT_FALSE (project.read (nullptr));
}

TEST (DocumentsProject, RecorderListStopsAtTheFirstMissingOrEmptyIndex)
{
    Project project;
    auto gap = parse ("<Project><RecorderFile idx=\"0\">A.xml</RecorderFile><RecorderFile idx=\"1\">B.xml</RecorderFile>"
                      "<RecorderFile idx=\"3\">D.xml</RecorderFile></Project>");
    ASSERT_TRUE (project.read (gap.get()));
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("A.xml", "B.xml"));

    auto empty = parse ("<Project><RecorderFile idx=\"0\">A.xml</RecorderFile><RecorderFile idx=\"1\"></RecorderFile>"
                        "<RecorderFile idx=\"2\">C.xml</RecorderFile></Project>");
    ASSERT_TRUE (project.read (empty.get()));
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("A.xml"));

    // An element without idx passes every index step: it is taken once and the list ends.
    auto noIndex = parse ("<Project><RecorderFile>X.xml</RecorderFile></Project>");
    ASSERT_TRUE (project.read (noIndex.get()));
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("X.xml"));

    auto none = parse ("<Project/>");
    ASSERT_TRUE (project.read (none.get()));
    EXPECT_TRUE (project.recorderFiles.isEmpty());
}

TEST (DocumentsProject, WritesFileNamesInTheFixedOrderAndReadsThemBack)
{
    Project project;
    project.Name = "Blues";
    project.CurrentPatchSet = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("Group 1.xml").getFullPathName();
    project.CurrentPatchIdx = 42;
    project.PreCount = -1;
    project.recorderFiles = juce::StringArray ("C:\\Data\\Rec0.xml", "Rec1.xml");
    project.editBuffer.setParam (8, 2, 3);
    project.editBuffer.name = "Kept";
    project.demo = true;

    const auto text = writeText (project);
    EXPECT_FALSE (text.contains ("SongFile"));
    EXPECT_FALSE (text.contains ("Demo"));
    EXPECT_TRUE (text.startsWith ("<Project><Name>Blues</Name><CurrentPatchSet>Group 1.xml</CurrentPatchSet>"
                                  "<CurrentPatchIdx>42</CurrentPatchIdx><PreCount>-1</PreCount>"
                                  "<RecorderFile idx=\"0\">Rec0.xml</RecorderFile><RecorderFile idx=\"1\">Rec1.xml</RecorderFile>"
                                  "<VersionInfo>M7c</VersionInfo><AssignTarget>3</AssignTarget><Module0>"))
        << text;

    project.songFiles.add ("/home/user/songs/Shuffle.xml");
    EXPECT_TRUE (writeText (project).contains ("<SongFile>Shuffle.xml</SongFile><RecorderFile"));

    Project loaded;
    loaded.editBuffer.name = "Untouched";
    auto root = parse (writeText (project));
    ASSERT_TRUE (loaded.read (root.get()));
    EXPECT_EQ (loaded.Name, "Blues");
    EXPECT_EQ (loaded.CurrentPatchSet, "Group 1.xml");
    EXPECT_EQ (loaded.CurrentPatchIdx, 42);
    EXPECT_EQ (loaded.PreCount, -1);
    EXPECT_EQ (loaded.songFiles, juce::StringArray ("Shuffle.xml"));
    EXPECT_EQ (loaded.recorderFiles, juce::StringArray ("Rec0.xml", "Rec1.xml"));
    EXPECT_EQ (loaded.VersionInfo, "M7c");
    EXPECT_FALSE (loaded.demo);
    EXPECT_EQ (loaded.editBuffer.getParam (8, 2), 3);
    EXPECT_EQ (loaded.editBuffer.name, "Untouched");
}

TEST (DocumentsProject, OnlyAbsolutePathsAreReducedToTheirFileName)
{
    EXPECT_EQ (Project::toStoredName ("/home/user/toolsets/Set/Rec0.xml"), "Rec0.xml");
    EXPECT_EQ (Project::toStoredName ("C:\\Data\\Set\\Rec0.xml"), "Rec0.xml");
    EXPECT_EQ (Project::toStoredName ("\\\\server\\share\\Rec0.xml"), "Rec0.xml");
    EXPECT_EQ (Project::toStoredName ("Rec0.xml"), "Rec0.xml");
    // A leading "~" is part of a name, not the home folder.
    EXPECT_EQ (Project::toStoredName ("~"), "~");
    EXPECT_EQ (Project::toStoredName ("~Rec0.xml"), "~Rec0.xml");

    // A path without a file name stays whole: reduced to nothing, it would read back
    // as no song, and as the end of the recorder list (the recorders after it lost).
    EXPECT_EQ (Project::toStoredName ("C:\\Data\\"), "C:\\Data\\");
    EXPECT_EQ (Project::toStoredName ("\\\\\\'\\"), "\\\\\\'\\");
    // So does one whose last step is blank: a document's blank text reads back as none.
    EXPECT_EQ (Project::toStoredName ("/home/user/ \n "), "/home/user/ \n ");
    EXPECT_EQ (Project::toStoredName ("/home/user/ Rec0.xml"), " Rec0.xml");

    for (const juce::String nameless : { "C:\\Data\\", "C:\\Data\\ ", "/home/user/\n  " })
    {
        Project project;
        project.songFiles.add ("/home/user/songs/" + nameless.substring (nameless.length() - 1));
        project.recorderFiles = juce::StringArray (nameless, "Rec1.xml");
        auto root = parse (writeText (project));
        Project loaded;
        ASSERT_TRUE (loaded.read (root.get()));
        EXPECT_EQ (loaded.songFiles, project.songFiles);
        EXPECT_EQ (loaded.recorderFiles, juce::StringArray (nameless, "Rec1.xml"));
        EXPECT_EQ (writeText (loaded), writeText (project));
    }
}

TEST (DocumentsProject, RecorderEntriesWithoutANameAreLeftOutAndTheRestKept)
{
    Project project;
    EXPECT_FALSE (writeText (project).contains ("RecorderFile"));   // the new tool set's unsaved recorder

    project.recorderFiles = juce::StringArray ("", "Rec1.xml", " \n", "/home/user/Rec3.xml");
    const auto text = writeText (project);
    EXPECT_TRUE (text.contains ("<RecorderFile idx=\"0\">Rec1.xml</RecorderFile><RecorderFile idx=\"1\">Rec3.xml</RecorderFile><VersionInfo>"))
        << text;

    auto root = parse (text);
    Project loaded;
    ASSERT_TRUE (loaded.read (root.get()));
    EXPECT_EQ (loaded.recorderFiles, juce::StringArray ("Rec1.xml", "Rec3.xml"));
    EXPECT_EQ (writeText (loaded), text);
}

TEST (DocumentsProject, DemoFlagAndDocumentPath)
{
    Project project;
    auto demo = parse ("<Project><Demo>2</Demo><SongFile></SongFile></Project>");
    ASSERT_TRUE (project.read (demo.get()));
    EXPECT_TRUE (project.demo);
    EXPECT_TRUE (project.songFiles.isEmpty());

    const juce::File folder ("/data/toolsets/MySet");
    EXPECT_EQ (Project::getDocumentFile (folder), juce::File ("/data/toolsets/MySet.xml"));
}
