// The jam list, the engine's jam operations and the release list.
#include <gtest/gtest.h>

#include "JamTestItems.h"
#include "TestSupport.h"
#include "documents/Project.h"
#include "engine/AudioLock.h"
#include "engine/DspMain.h"
#include "engine/JamOwner.h"
#include "engine/ReleaseList.h"

#include <thread>

using namespace T730;
using oxatest::ToneItem;

namespace
{
    ToneItem& tone (const PlayableItem::Ptr& item) { return *dynamic_cast<ToneItem*> (item.get()); }

    struct EngineJam : public ::testing::Test
    {
        oxatest::ScopedEngineRunning running;
        Synchronizer sync;
        oxatest::ToneFactory factory;
        oxatest::TempFolder folder;
    };

    struct Counted : public juce::ReferenceCountedObject
    {
        explicit Counted (std::atomic<int>& gone) : destroyed (gone) {}
        ~Counted() override { ++destroyed; }
        std::atomic<int>& destroyed;
    };
} // namespace

TEST_F (EngineJam, LoadFromToolSetBuildsOneRecorderPerFileWithNamesInsideTheFolder)
{
    JamArray jam (sync, &factory, nullptr);
    jam.prepare (48000.0, 256);
    sync.getMaster().setLoopRange ({ 10, 20, true });

    Project project;
    project.songFiles = { "RhythmerSetting.xml" };
    project.recorderFiles = { "RecorderSetting0.xml", "../../outside/RecorderSetting1.xml", "/elsewhere/RecorderSetting2.xml", "sub/x.xml" };
    project.PreCount = 4;
    jam.loadFromToolSet (project, folder.get());

    EXPECT_FALSE (sync.getMaster().getLoopRange().enabled);
    auto rhythm = jam.getRhythmItem();
    ASSERT_NE (rhythm, nullptr);
    EXPECT_EQ (tone (rhythm).loadedFile, folder / "RhythmerSetting.xml");
    EXPECT_EQ (rhythm->getPreCount(), 4);
    EXPECT_EQ (tone (rhythm).preparedRate, 48000.0);

    ASSERT_EQ (jam.getNumRecorders(), 4);
    EXPECT_EQ (tone (jam.getRecorder (0)).loadedFile, folder / "RecorderSetting0.xml");
    EXPECT_EQ (tone (jam.getRecorder (1)).loadedFile, juce::File()) << "a name that climbs out of the folder reads nothing";
    EXPECT_EQ (tone (jam.getRecorder (2)).loadedFile, folder / "RecorderSetting2.xml") << "another place's path is looked for in the folder";
    EXPECT_EQ (tone (jam.getRecorder (3)).loadedFile, juce::File());
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (jam.getRecorder (i)->getJamIndex(), i);
        EXPECT_EQ (tone (jam.getRecorder (i)).preparedBlock, 256);
    }

    // Loading again reuses the recorders, drops the surplus from the end and
    // the rhythm machine when the tool set has no song.
    auto first = jam.getRecorder (0);
    project.songFiles.clear();
    project.recorderFiles = { "RecorderSetting0.xml" };
    jam.loadFromToolSet (project, folder.get());
    EXPECT_EQ (jam.getRhythmItem(), nullptr);
    ASSERT_EQ (jam.getNumRecorders(), 1);
    EXPECT_EQ (jam.getRecorder (0), first);
    EXPECT_EQ (tone (first).prepares, 1) << "an item already there is not prepared again";

    // A song that does not load leaves no rhythm item.
    factory.rhythmLoads = false;
    project.songFiles = { "Missing.xml" };
    jam.loadFromToolSet (project, folder.get());
    EXPECT_EQ (jam.getRhythmItem(), nullptr);
}

TEST_F (EngineJam, AddAndRemoveItemsNumbersTheRecorders)
{
    JamArray jam (sync, &factory, nullptr);

    EXPECT_TRUE (jam.addItem ("Song.xml", 0, folder.get()));
    EXPECT_EQ (tone (jam.getRhythmItem()).loadedFile, folder / "Song.xml");
    EXPECT_FALSE (jam.addItem ({}, 0, folder.get())) << "one rhythm machine at most";

    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE (jam.addItem ({}, 1, folder.get()));
    EXPECT_EQ (jam.getRecorder (2)->getName(), "Recorder 3");
    EXPECT_FALSE (jam.addItem ({}, 2, folder.get()));

    auto last = jam.getRecorder (2);
    EXPECT_TRUE (jam.removeItem (1, 1));
    EXPECT_EQ (jam.getNumRecorders(), 2);
    EXPECT_EQ (jam.getRecorder (1), last);
    EXPECT_EQ (last->getJamIndex(), 1);
    EXPECT_FALSE (jam.removeItem (1, 5));
    EXPECT_TRUE (jam.removeItem (0, 0));
    EXPECT_FALSE (jam.removeItem (0, 0));

    // A rhythm machine whose song does not load is not kept; nor is a
    // relative name that leaves the folder followed.
    factory.rhythmLoads = false;
    EXPECT_FALSE (jam.addItem ("Song.xml", 0, folder.get()));
    EXPECT_EQ (jam.getRhythmItem(), nullptr);
    factory.rhythmLoads = true;
    EXPECT_TRUE (jam.addItem ("../Song.xml", 0, folder.get()));
    EXPECT_EQ (tone (jam.getRhythmItem()).loadedFile, juce::File());

    JamArray without (sync, nullptr, nullptr);
    EXPECT_FALSE (without.addItem ({}, 1, folder.get()));
}

TEST_F (EngineJam, CopiesShareTheItemsAndStayAsTheyWere)
{
    JamArray jam (sync, &factory, nullptr);
    jam.addItem ({}, 0, {});
    jam.addItem ({}, 1, {});

    auto copy = jam.copy();
    jam.addItem ({}, 1, {});
    jam.removeItem (0, 0);

    EXPECT_NE (copy->getRhythmItem(), nullptr);
    EXPECT_EQ (copy->getNumRecorders(), 1);
    EXPECT_EQ (copy->getRecorder (0), jam.getRecorder (0));
    EXPECT_EQ (copy->getBlockSize(), jam.getBlockSize());
}

TEST_F (EngineJam, EngineOperationsReachEveryItem)
{
    DspMain engine (nullptr, &factory, sync);
    ASSERT_TRUE (engine.addJamItem (0, {}, folder.get()));
    ASSERT_TRUE (engine.addJamItem (1, {}, folder.get()));
    ASSERT_TRUE (engine.addJamItem (1, {}, folder.get()));
    EXPECT_TRUE (engine.hasRhythmItem());
    EXPECT_EQ (engine.getRecorderCount(), 2);

    auto& rhythm = tone (engine.getRhythmItem());
    auto& first = tone (engine.getRecorder (0));
    auto& second = tone (engine.getRecorder (1));
    rhythm.length = 900000;
    first.length = 1000;
    second.length = 5000;
    EXPECT_EQ (engine.getLongestItemLength(), 900000);
    EXPECT_EQ (engine.getLongestRecorderLength(), 5000);

    rhythm.armed = true;
    EXPECT_FALSE (engine.isAnyRecorderArmed()) << "only recorders count";
    second.armed = true;
    EXPECT_TRUE (engine.isAnyRecorderArmed());

    engine.silenceAllItems();
    EXPECT_EQ (rhythm.silenced + first.silenced + second.silenced, 3);

    sync.getMaster().locateTo (777);
    engine.locateAllItems();
    EXPECT_EQ (first.locatedAt.load(), 777);
    EXPECT_EQ (rhythm.located.load(), 1);

    engine.syncRecordersTo (first);
    EXPECT_EQ (second.followed, &first);
    EXPECT_EQ (first.followed, nullptr);

    // The callback's snapshot follows every change.
    {
        const juce::ScopedLock sl (getAudioLock());
        ASSERT_NE (engine.getRenderList(), nullptr);
        EXPECT_EQ (engine.getRenderList()->getNumRecorders(), 2);
    }
    engine.removeJamItem (1, 0);
    {
        const juce::ScopedLock sl (getAudioLock());
        EXPECT_EQ (engine.getRenderList()->getNumRecorders(), 1);
    }
}

TEST_F (EngineJam, ASongLoadsIntoTheRhythmItemOrBringsOne)
{
    DspMain engine (nullptr, &factory, sync);
    const auto song = folder / "Song_8beat.xml";
    EXPECT_TRUE (engine.loadSong (song, folder.get()));
    auto rhythm = engine.getRhythmItem();
    ASSERT_NE (rhythm, nullptr);
    EXPECT_EQ (tone (rhythm).loadedFile, song);

    const auto other = folder / "Other.xml";
    EXPECT_TRUE (engine.loadSong (other, folder.get()));
    EXPECT_EQ (engine.getRhythmItem(), rhythm) << "the same machine loads the new song";
    EXPECT_EQ (tone (rhythm).loadedFile, other);
}

TEST_F (EngineJam, RhythmPreviewSwapsAMachineInAndPutsEverythingBack)
{
    DspMain engine (nullptr, &factory, sync);
    engine.addJamItem (0, {}, {});
    engine.addJamItem (1, {}, {});
    auto jamRhythm = engine.getRhythmItem();
    auto recorder = engine.getRecorder (0);

    engine.beginRhythmPreview();
    auto preview = engine.getRhythmItem();
    ASSERT_NE (preview, nullptr);
    EXPECT_NE (preview, jamRhythm);
    EXPECT_EQ (preview->getName(), "preview");
    EXPECT_EQ (preview->getCurrentPlayState(), &preview->getPlayStateB());
    EXPECT_EQ (recorder->getCurrentPlayState(), &recorder->getPlayStateB());

    engine.startRhythmPreview();
    EXPECT_EQ (preview->getPlayStateB().getState(), PlayState::startRequested);
    EXPECT_TRUE (sync.getMaster().isStopped()) << "the jam's transport is untouched";
    engine.stopRhythmPreview();

    engine.endRhythmPreview();
    EXPECT_EQ (engine.getRhythmItem(), jamRhythm);
    EXPECT_EQ (recorder->getCurrentPlayState(), &sync.getMaster());
    EXPECT_EQ (engine.getPreviewItem(), nullptr);
}

TEST_F (EngineJam, ARemovedItemIsDestroyedOnTheMessageThreadWhileTheAudioRenders)
{
    auto engine = std::make_unique<DspMain> (nullptr, &factory, sync);
    engine->addJamItem (1, {}, {});
    engine->addJamItem (1, {}, {});

    std::atomic<int> destroyedOnAudio { 0 }, destroyed { 0 };
    std::thread::id audioThread;
    for (int i = 0; i < 2; ++i)
        tone (engine->getRecorder (i)).onDestroyed = [&] (std::thread::id id)
        {
            ++destroyed;
            if (id == audioThread)
                ++destroyedOnAudio;
        };

    sync.getMaster().play();
    std::atomic<bool> quit { false };
    std::atomic<int> blocks { 0 };
    std::thread audio ([&]
    {
        std::vector<float> buffers (8 * 256);
        float* rhythm[2] = { &buffers[0], &buffers[256] };
        float* item[2] = { &buffers[512], &buffers[768] };
        float* mix[2] = { &buffers[1024], &buffers[1280] };
        const float* input[2] = { &buffers[1536], &buffers[1792] };
        while (! quit)
        {
            const juce::ScopedLock sl (getAudioLock());
            if (auto* list = engine->getRenderList())
                list->renderBlock (input, rhythm, item, mix, 256);
            sync.advance (256);
            ++blocks;
        }
    });
    audioThread = audio.get_id();

    while (blocks < 20)
        std::this_thread::yield();
    engine->removeJamItem (1, 1);
    engine->removeJamItem (1, 0);
    const int afterRemoval = destroyed.load();
    while (blocks < 40)
        std::this_thread::yield();

    quit = true;
    audio.join();
    engine.reset();

    EXPECT_EQ (afterRemoval, 2) << "gone as soon as the engine let go of them";
    EXPECT_EQ (destroyedOnAudio.load(), 0);
}

TEST (EngineReleaseList, HandedObjectsAreDestroyedWhenTheListIsEmptied)
{
    std::atomic<int> destroyed { 0 };
    ReleaseList list (3);

    auto* counted = new Counted (destroyed);
    counted->incReferenceCount();
    EXPECT_TRUE (list.hand (counted));

    auto owned = std::make_unique<ToneItem::Ptr>();
    EXPECT_TRUE (list.hand (owned));
    EXPECT_EQ (owned, nullptr);

    std::thread producer ([&] { auto* other = new Counted (destroyed); other->incReferenceCount(); EXPECT_TRUE (list.hand (other)); });
    producer.join();

    EXPECT_EQ (destroyed.load(), 0) << "nothing runs on the handing thread";
    EXPECT_EQ (list.getNumWaiting(), 3);

    // Full: refused, and the caller keeps its object.
    auto* kept = new Counted (destroyed);
    kept->incReferenceCount();
    EXPECT_FALSE (list.hand (kept));
    EXPECT_EQ (kept->getReferenceCount(), 1);

    EXPECT_EQ (list.empty(), 3);
    EXPECT_EQ (destroyed.load(), 2);
    EXPECT_EQ (list.getNumWaiting(), 0);

    EXPECT_TRUE (list.hand (kept));
    list.empty();
    EXPECT_EQ (destroyed.load(), 3);
}
