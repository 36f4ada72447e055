// The recorder's message-thread side: its setting file, arming, the finish
// pass when the disk refuses, the engine's requests about recorders, and a
// recording through the engine's own callback.
#include <gtest/gtest.h>

#include "RecorderTestSupport.h"
#include "documents/OxXMLDocument.h"
#include "engine/DspMain.h"

using namespace T730;

namespace
{
    using Problem = RecorderOwner::Problem;

    /** One punched pass from `from` to `to` on the rig's master, finished. */
    void recordPass (oxatest::RecorderRig& rig, juce::int64 from, juce::int64 to)
    {
        const int before = rig.owner->punchOuts;
        rig.recorder->setPunchRange ({ from, to, true });
        if (! rig.sync.getMaster().isStopped())
        {
            rig.sync.getMaster().pause (false);
            rig.block();
            rig.block();
        }
        rig.sync.getMaster().locateTo (0);
        ASSERT_TRUE (rig.recorder->arm (true));
        rig.sync.getMaster().play();
        rig.playUntil (to + Recorder::getLatency() + 1024);
        ASSERT_TRUE (oxatest::pumpMessagesUntil ([&rig, before] { return rig.owner->punchOuts > before; }, 5000));
    }

    /** A recorder whose finished passes cannot be moved to their take files. */
    struct StuckRecorder : public Recorder
    {
        using Recorder::Recorder;
        bool moveTakeFile (const juce::File&, const juce::File&) override { return false; }
    };

    juce::String settingText (const juce::File& file)
    {
        return file.loadFileAsString();
    }
} // namespace

TEST (RecorderFile, ARecorderWithTakesRangesAndOneUndoAndRedoTakeLoadsAndSavesTheSameText)
{
    oxatest::RecorderRig rig (true, 0, 0);
    ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
    EXPECT_EQ (rig.recorder->getSettingFileName(), "RecorderSetting0.xml");
    EXPECT_TRUE (rig.toolSet().getChildFile ("RecorderSetting0").isDirectory()) << "the take folder beside it";

    recordPass (rig, 1000, 3000);
    recordPass (rig, 5000, 7000);
    ASSERT_TRUE (rig.recorder->undoTake());      // one redo take, the undo list back to the first pass
    rig.recorder->setName ("Riff");
    rig.recorder->setLevel (80);
    rig.recorder->setPan (30);
    rig.recorder->setSpeed (70);
    rig.recorder->setPunchRange ({ 4000, 9000, true });
    rig.recorder->setLoopRange ({ 500, 20000, true });
    ASSERT_TRUE (rig.recorder->saveIntoToolSet());

    const auto file = rig.toolSet().getChildFile ("RecorderSetting0.xml");
    const auto saved = settingText (file);
    EXPECT_TRUE (saved.contains ("<RedoBuf>")) << saved;

    // A second recorder of the same synchroniser reads it and writes it elsewhere.
    oxatest::TempFolder other;
    auto copy = rig.make();
    ASSERT_TRUE (copy->load (file, rig.toolSet()));
    EXPECT_EQ (copy->getName(), "Riff");
    EXPECT_EQ (copy->getSpeed(), 70);
    EXPECT_EQ (copy->getStatus().PIOPoint, LocateRange (4000, 9000, true));
    EXPECT_EQ (copy->getStatus().getUndoKeeper().getRedoCount(), 1);
    EXPECT_EQ (copy->getStatus().CurrentTake.size(), 1);
    EXPECT_TRUE (copy->getStatus().CurrentTake.isRecordOpen (0)) << "the take's file opened from its folder";
    EXPECT_EQ (copy->getCurrentPan(), 30.0);
    EXPECT_TRUE (copy->isLoopInMaster());
    EXPECT_EQ (rig.sync.getMaster().getLoopRange(), LocateRange (500, 20000, true)) << "its loop is the master's";

    ASSERT_TRUE (copy->saveSetting (other.get()));
    EXPECT_EQ (settingText (other.get().getChildFile ("RecorderSetting0.xml")), saved);

    // The redo comes back in the copy as it would have in the original.
    EXPECT_TRUE (copy->redoTake());
    EXPECT_EQ (copy->getStatus().CurrentTake.size(), 2);
}

TEST (RecorderFile, AMissingFileGivesAFreshRecorderAndABrokenOneIsLogged)
{
    oxatest::RecorderRig rig;
    EXPECT_TRUE (rig.recorder->load ({}, rig.toolSet()));
    EXPECT_EQ (rig.recorder->getName(), "Recorder 1");
    EXPECT_TRUE (rig.recorder->getStatus().Sync) << "a new recorder syncs";

    const auto broken = rig.toolSet().getChildFile ("RecorderSetting3.xml");
    ASSERT_TRUE (broken.replaceWithText ("<Recorder><Pan>"));
    EXPECT_FALSE (rig.recorder->load (broken, rig.toolSet()));
    EXPECT_EQ (rig.recorder->getFolder(), juce::File()) << "nothing of the broken file was taken";
}

TEST (RecorderArm, ArmingWithoutAToolSetFolderIsRefusedAndSaid)
{
    oxatest::RecorderRig rig;
    EXPECT_FALSE (rig.recorder->arm (true));
    ASSERT_EQ (rig.owner->problems.size(), 1u);
    EXPECT_EQ (rig.owner->problems[0], Problem::toolSetFolderNeeded);
    EXPECT_FALSE (rig.recorder->isArmed());
    EXPECT_FALSE (rig.recorder->importWave (rig.toolSet().getChildFile ("x.wav")));
}

TEST (RecorderFinish, APassThatCannotBeMovedKeepsTempWavSaysSoAndPlacesNothing)
{
    oxatest::RecorderRig rig (true, 0, 0);
    Recorder::Environment environment;
    environment.owner = rig.owner;
    environment.modules = &rig.modules;
    Recorder::Ptr stuck (new StuckRecorder (rig.sync, environment));
    stuck->prepare (44100.0, 512);
    ASSERT_TRUE (stuck->saveSetting (rig.toolSet()));

    ASSERT_TRUE (stuck->arm (true));
    rig.sync.getMaster().play();
    for (int b = 0; b < 20; ++b)
        rig.block (512, stuck.get());

    EXPECT_TRUE (stuck->arm (false));
    EXPECT_EQ (stuck->getStatus().CurrentTake.size(), 0) << "nothing placed";
    ASSERT_EQ (rig.owner->problems.size(), 1u);
    EXPECT_EQ (rig.owner->problems[0], Problem::wavWrite);

    const auto temp = stuck->getFolder().getChildFile (Recorder::tempFileName);
    EXPECT_EQ (temp.getSize(), 44 + 20 * 512 * 4) << "the recording is still there";
    EXPECT_TRUE (stuck->getFolder().findChildFiles (juce::File::findFiles, false, "Audio*.wav").isEmpty());
}

TEST (RecorderFinish, OnAFullDiskAFailedMergeIsSaidTheTakeStaysAndThePassIsKept)
{
    oxatest::RecorderRig rig (true, 0, 0);
    ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
    recordPass (rig, 1000, 30000);
    recordPass (rig, 40000, 70000);
    ASSERT_EQ (rig.recorder->getStatus().CurrentTake.size(), 2);
    const auto undoBefore = rig.recorder->getStatus().getUndoKeeper().getUndoCount();

    {
        // Room for the pass (written while recording) but not for the merge of
        // the older two regions (69000 frames) that placing it needs.
        oxatest::ScopedFileSizeLimit limit (60000 * 4 + 44);
        ASSERT_TRUE (limit.isActive());
        recordPass (rig, 80000, 120000);
    }

    // The pass itself is not lost: it was moved to its take file.
    bool passKept = false;
    for (auto& f : rig.recorder->getFolder().findChildFiles (juce::File::findFiles, false, "Audio*.wav"))
        passKept = passKept || f.getSize() == 44 + 40000 * 4;
    EXPECT_TRUE (passKept);

    ASSERT_EQ (rig.owner->problems.size(), 1u) << "the failed merge is said";
    EXPECT_EQ (rig.owner->problems[0], Problem::wavWrite);
    auto& take = rig.recorder->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 2) << "the take stays as it was";
    EXPECT_EQ (take.getRecord (0)->start, 40000);
    EXPECT_EQ (take.getRecord (1)->start, 1000);
    EXPECT_EQ (rig.recorder->getStatus().getUndoKeeper().getUndoCount(), undoBefore);

    // Without the limit the next pass merges.
    recordPass (rig, 80000, 120000);
    EXPECT_EQ (take.size(), 2);
    EXPECT_EQ (take.getRecord (0)->start, 80000);
    EXPECT_EQ (take.getRecord (1)->start, 1000);
    EXPECT_EQ (take.getRecord (1)->end, 70000);
}

TEST (RecorderImport, AnImportedFileBecomesTheWholeTakeAndIsSaved)
{
    oxatest::RecorderRig rig;
    ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
    const auto source = rig.toolSet().getChildFile ("outside.wav");
    ASSERT_TRUE (oxatest::writeConstantTake (source, 3000, 1234));
    ASSERT_TRUE (rig.recorder->importWave (source));

    auto& take = rig.recorder->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 1);
    EXPECT_EQ (take.getRecord (0)->start, 0);
    EXPECT_EQ (take.getRecord (0)->end, 3000);
    EXPECT_TRUE (settingText (rig.toolSet().getChildFile ("RecorderSetting0.xml")).contains (take.getRecord (0)->fileName));

    EXPECT_FALSE (rig.recorder->importWave (rig.toolSet().getChildFile ("missing.wav")));
    EXPECT_EQ (rig.owner->problems.back(), Problem::wavImport);
    EXPECT_EQ (take.size(), 1);
}

// A file in the take's own format is copied as it is: one whose data ends before its header says
// is refused after the copy, and neither the take nor the folder keeps anything of it.
TEST (RecorderImport, ATruncatedTakeFormatFileLeavesTheTakeAndNoCopy)
{
    oxatest::RecorderRig rig;
    ASSERT_TRUE (rig.recorder->saveSetting (rig.toolSet()));
    const auto whole = rig.toolSet().getChildFile ("whole.wav");
    ASSERT_TRUE (oxatest::writeConstantTake (whole, 3000, 1234));
    ASSERT_TRUE (rig.recorder->importWave (whole));
    auto& take = rig.recorder->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 1);
    const auto kept = take.getRecord (0)->fileName;
    const auto filesBefore = rig.toolSet().findChildFiles (juce::File::findFiles, true, "Audio*.wav").size();

    juce::MemoryBlock bytes;
    ASSERT_TRUE (whole.loadFileAsData (bytes));
    const auto cut = rig.toolSet().getChildFile ("cut.wav");
    ASSERT_TRUE (cut.replaceWithData (bytes.getData(), 44 + 100 * 4));   // header for 3000 frames, data for 100

    EXPECT_FALSE (rig.recorder->importWave (cut));
    EXPECT_EQ (rig.owner->problems.back(), Problem::wavImport);
    ASSERT_EQ (take.size(), 1);
    EXPECT_EQ (take.getRecord (0)->fileName, kept);
    EXPECT_EQ (take.getRecord (0)->end, 3000);
    EXPECT_EQ (rig.toolSet().findChildFiles (juce::File::findFiles, true, "Audio*.wav").size(), filesBefore);
}

TEST (RecorderJam, TheEngineAnswersArmedLongestRecorderAndAlignsTheOtherRecorders)
{
    oxatest::ScopedEngineRunning running;
    oxatest::ScopedLatency latency (0, 0);
    oxatest::TempFolder tmp;
    Synchronizer sync;
    DspLoader modules { oxatest::stageFolder().getChildFile ("resources"), false };
    auto owner = std::make_shared<oxatest::RecordingOwner>();

    struct Factory : PlayableItemFactory
    {
        PlayableItem::Ptr createRhythmItem (Synchronizer&, bool) override { return nullptr; }
        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new Recorder (s, environment); }
        Recorder::Environment environment;
    } factory;
    factory.environment.owner = owner;
    factory.environment.modules = &modules;

    DspMain engine (nullptr, &factory, sync, &modules);
    ASSERT_TRUE (engine.addJamItem (1, {}, tmp.get()));
    ASSERT_TRUE (engine.addJamItem (1, {}, tmp.get()));
    auto* first = dynamic_cast<Recorder*> (engine.getRecorder (0).get());
    auto* second = dynamic_cast<Recorder*> (engine.getRecorder (1).get());
    ASSERT_NE (first, nullptr);
    EXPECT_EQ (second->getName(), "Recorder 2");
    ASSERT_TRUE (first->saveSetting (tmp.get()));
    ASSERT_TRUE (second->saveSetting (tmp.get()));
    EXPECT_NE (first->getFolder(), second->getFolder());

    EXPECT_FALSE (engine.isAnyRecorderArmed());
    ASSERT_TRUE (second->arm (true));
    EXPECT_TRUE (engine.isAnyRecorderArmed());

    const auto file = second->getFolder().getChildFile ("Audio0.wav");
    ASSERT_TRUE (oxatest::writeConstantTake (file, 5000, 100));
    ASSERT_TRUE (second->getStatus().CurrentTake.addRecording (file, 20000, -1));
    EXPECT_EQ (engine.getLongestRecorderLength(), 25000);

    // The first one takes the loop and the recording: the second lets go of both.
    first->setLoopRange ({ 0, 44100, true });
    second->setLoopRange ({ 100, 200, true });
    ASSERT_TRUE (first->arm (true));
    engine.syncRecordersTo (*first);
    EXPECT_FALSE (second->isArmed());
    EXPECT_TRUE (first->isArmed());
    EXPECT_FALSE (second->getStatus().LoopPoint.enabled);
    EXPECT_FALSE (second->isLoopInMaster());

    first->setLoopRange ({ 0, 44100, true });
    EXPECT_EQ (sync.getMaster().getLoopRange(), LocateRange (0, 44100, true));
    first->arm (false);
}

TEST (RecorderJam, ARecordingThroughTheEnginesCallbackHoldsTheInputFrameByFrame)
{
    oxatest::ScopedEngineRunning running;
    oxatest::ScopedLatency latency (64, 192);
    oxatest::TempFolder tmp;
    Synchronizer sync;
    DspLoader modules { oxatest::stageFolder().getChildFile ("resources"), false };

    struct Factory : PlayableItemFactory
    {
        PlayableItem::Ptr createRhythmItem (Synchronizer&, bool) override { return nullptr; }
        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new Recorder (s, environment); }
        Recorder::Environment environment;
    } factory;
    factory.environment.modules = &modules;     // no owner: the recorder finishes its own passes

    DspMain engine (nullptr, &factory, sync, &modules);
    ASSERT_TRUE (engine.prepareToPlay (44100.0, 480));
    ASSERT_TRUE (engine.addJamItem (1, {}, tmp.get()));
    auto* recorder = dynamic_cast<Recorder*> (engine.getRecorder (0).get());
    ASSERT_TRUE (recorder->saveSetting (tmp.get()));
    ASSERT_TRUE (recorder->arm (true));
    sync.getMaster().play();

    // The device's blocks: a synthetic input that is a function of the sample count.
    std::vector<float> inL (480), inR (480), outL (480), outR (480);
    juce::int64 count = 0, startCount = -1;
    const int blocks = 300;
    for (int b = 0; b < blocks; ++b)
    {
        for (int i = 0; i < 480; ++i)
        {
            inL[(size_t) i] = (float) oxatest::inputLeftAt (count + i) / 32768.0f;
            inR[(size_t) i] = (float) oxatest::inputRightAt (count + i) / 32768.0f;
        }
        const float* inputs[2] = { inL.data(), inR.data() };
        float* outputs[2] = { outL.data(), outR.data() };
        engine.audioDeviceIOCallbackWithContext (inputs, 2, outputs, 2, 480, {});
        if (startCount < 0 && sync.getMaster().isPlaying())
            startCount = sync.getMaster().getStartTotal();
        count += 480;
    }
    const auto end = sync.getMaster().getPosition();
    recorder->arm (false);

    auto& take = recorder->getStatus().CurrentTake;
    ASSERT_EQ (take.size(), 1);
    const auto region = take.getRecord (0);
    EXPECT_EQ (region->start, 0);
    EXPECT_EQ (region->end, end - 256);

    // Timeline position t sounded at sample count startCount + t; the file starts at t = L.
    const auto frames = oxatest::storedFrames (recorder->getFolder().getChildFile (region->fileName));
    ASSERT_EQ ((juce::int64) frames.size(), end - 256);
    for (size_t k = 0; k < frames.size(); ++k)
    {
        ASSERT_EQ (frames[k].first, oxatest::inputLeftAt (startCount + 256 + (juce::int64) k)) << k;
        ASSERT_EQ (frames[k].second, oxatest::inputRightAt (startCount + 256 + (juce::int64) k)) << k;
    }
}
