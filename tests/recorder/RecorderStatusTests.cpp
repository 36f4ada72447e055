// A recorder's stored state: its keys and their defaults, and the undo of takes.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WaveTestSupport.h"
#include "documents/OxXMLDocument.h"
#include "documents/XmlParser.h"
#include "recorder/RecorderStatus.h"

using namespace T730;
using namespace oxatest;

namespace
{
    juce::File takeFile (const juce::File& folder, const juce::String& name, int frames)
    {
        const auto file = folder.getChildFile (name);
        writeBytes (file, recorderFile (stereoFrames (frames, [] (int i) { return std::make_pair (i % 1000, -(i % 700)); })));
        return file;
    }

    juce::String documentOf (RecorderStatus& status)
    {
        juce::XmlElement root ("Recorder");
        status.write (&root);
        return createDocumentText (root);
    }
} // namespace

TEST (RecorderStatusRecord, ANewRecorderAndMissingKeysHaveTheirOwnValues)
{
    RecorderStatus fresh;
    EXPECT_TRUE (fresh.OnOff);
    EXPECT_TRUE (fresh.Sync);
    EXPECT_EQ (fresh.Length, 1);
    EXPECT_EQ (fresh.Pan, 50);
    EXPECT_EQ (fresh.Level, 56);
    EXPECT_EQ (fresh.Stretch, 100);
    EXPECT_EQ (fresh.getUndoKeeper().getUndoCount(), 1) << "one copy of the current take";

    RecorderStatus status;
    status.PIOPoint = { 100, 200, true };
    status.LoopPoint = { 300, 400, false };
    auto xml = parseXmlText ("<Recorder><Name>Guitar</Name></Recorder>");
    ASSERT_TRUE (status.read (xml.get()));

    EXPECT_FALSE (status.OnOff);
    EXPECT_FALSE (status.Sync) << "a recorder element without Sync reads 0";
    EXPECT_EQ (status.Length, 0);
    EXPECT_EQ (status.Name, "Guitar");
    EXPECT_EQ (status.Pan, 50);
    EXPECT_EQ (status.Level, 56);
    EXPECT_EQ (status.Stretch, 100);
    EXPECT_EQ (status.PIOPoint, LocateRange (100, 200, true)) << "a missing range stays as it was";
    EXPECT_EQ (status.LoopPoint, LocateRange (300, 400, false));
    EXPECT_FALSE (status.read (nullptr));
}

TEST (RecorderStatusRecord, WrittenAndReadBackWithItsUndoAndRedoTakes)
{
    TempFolder tmp;
    RecorderStatus status;
    status.setTakeFolder (tmp.get());
    status.Name = "Bass & <Keys>";
    status.Pan = 80;
    status.Level = 12;
    status.Mute = true;
    status.Snap = true;
    status.Stretch = 75;
    status.PIOPoint = { 44100, 88200, true };
    status.LoopPoint = { 1, 4294967295LL, true };

    ASSERT_TRUE (status.CurrentTake.addRecording (takeFile (tmp.get(), "Audio0.wav", 100), 0, -1));
    status.getUndoKeeper().record();
    ASSERT_TRUE (status.CurrentTake.addRecording (takeFile (tmp.get(), "Audio1.wav", 100), 500, -1));
    status.getUndoKeeper().record();
    status.getUndoKeeper().undo();
    ASSERT_EQ (status.getUndoKeeper().getUndoCount(), 1);
    ASSERT_EQ (status.getUndoKeeper().getRedoCount(), 1);

    const auto text = documentOf (status);
    auto root = parseXmlText (text);
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getChildElement (0)->getTagName(), "OnOff");
    EXPECT_EQ (root->getChildByName ("UndoBuf")->getNumChildElements(), 1);
    EXPECT_EQ (root->getChildByName ("RedoBuf")->getChildByName ("Take")->getNumChildElements(), 2);

    RecorderStatus back;
    ASSERT_TRUE (back.read (root.get()));
    EXPECT_EQ (documentOf (back), text) << "load, save, compare";
    EXPECT_EQ (back.getUndoKeeper().getUndoCount(), 1);
    EXPECT_EQ (back.getUndoKeeper().getRedoCount(), 1);
    EXPECT_EQ (back.LoopPoint.end, 4294967295LL);

    // The restored history works: redo brings the second recording back.
    back.setTakeFolder (tmp.get());
    back.CurrentTake.openFiles (tmp.get());
    back.getUndoKeeper().redo();
    EXPECT_EQ (back.CurrentTake.size(), 2);
    EXPECT_TRUE (back.CurrentTake.isRecordOpen (0));
    EXPECT_EQ (back.getReferencedFileNames(), juce::StringArray ({ "Audio1.wav", "Audio0.wav" }));
}

TEST (RecorderStatusRecord, UndoOfTakesIsOneStepDeep)
{
    TempFolder tmp;
    RecorderStatus status;
    status.setTakeFolder (tmp.get());
    auto& keeper = status.getUndoKeeper();

    ASSERT_TRUE (status.CurrentTake.addRecording (takeFile (tmp.get(), "Audio0.wav", 100), 0, -1));
    keeper.record();
    ASSERT_TRUE (status.CurrentTake.addRecording (takeFile (tmp.get(), "Audio1.wav", 100), 1000, -1));
    keeper.record();
    EXPECT_EQ (keeper.getUndoCount(), 2) << "the depth limit";

    keeper.undo();
    EXPECT_EQ (status.CurrentTake.size(), 1);
    EXPECT_TRUE (status.CurrentTake.isRecordOpen (0)) << "the take's files are open after the swap";
    EXPECT_FALSE (keeper.canUndo()) << "once, then refused";
    keeper.undo();
    EXPECT_EQ (status.CurrentTake.size(), 1);

    keeper.redo();
    EXPECT_EQ (status.CurrentTake.size(), 2);
    EXPECT_TRUE (status.CurrentTake.isRecordOpen (1));
    EXPECT_TRUE (keeper.canUndo()) << "a redo makes undo possible again";

    keeper.undo();
    ASSERT_TRUE (status.CurrentTake.addRecording (takeFile (tmp.get(), "Audio2.wav", 100), 2000, -1));
    keeper.record();
    EXPECT_FALSE (keeper.canRedo()) << "a new recording ends the redo";
    EXPECT_TRUE (keeper.canUndo());
}

TEST (RecorderStatusRecord, ResetGoesBackToANewRecorder)
{
    TempFolder tmp;
    RecorderStatus status;
    status.Pan = 3;
    status.Sync = false;
    ASSERT_TRUE (status.CurrentTake.addRecording (takeFile (tmp.get(), "Audio0.wav", 10), 0, -1));
    status.getUndoKeeper().record();

    status.reset();
    EXPECT_EQ (status.Pan, 50);
    EXPECT_TRUE (status.Sync);
    EXPECT_EQ (status.CurrentTake.size(), 0);
    EXPECT_EQ (status.getUndoKeeper().getUndoCount(), 1);
    EXPECT_TRUE (status.getUndoKeeper().isEnabled());
}

TEST (RecorderStatusRecord, StoredHistoriesKeepToTheDepthLimit)
{
    juce::String text = "<Recorder><UndoBuf>";
    for (int i = 0; i < 5; ++i)
        text << "<Take><OneRecord idx=\"0\"><StartPoint>" << i << "</StartPoint><EndPoint>10</EndPoint><Filename>a.wav</Filename></OneRecord></Take>";
    text << "</UndoBuf></Recorder>";

    RecorderStatus status;
    auto xml = parseXmlText (text);
    ASSERT_TRUE (status.read (xml.get()));
    EXPECT_EQ (status.getUndoKeeper().getUndoCount(), 2);
    EXPECT_EQ (status.getUndoKeeper().getRedoCount(), 0);
}
