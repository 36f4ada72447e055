// The rhythm machine in the jam: made by the engine's item factory, driven by the shared
// transport and rendered offline through the jam list as the audio callback renders it.
#include "RhythmerTestSupport.h"

#include "engine/AudioLock.h"
#include "engine/DspMain.h"
#include "engine/JamOwner.h"
#include "engine/JamTestItems.h"
#include "rhythm/RhythmEngineHost.h"

using namespace T730;
using namespace rhythmtest;

namespace
{
    /** Makes rhythm machines on the test's folders, and tone items as recorders. */
    struct MachineFactory : PlayableItemFactory
    {
        explicit MachineFactory (Rhythmer::Environment& e) : environment (e) {}
        PlayableItem::Ptr createRhythmItem (Synchronizer& s, bool preview) override { return new Rhythmer (s, environment, preview); }
        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new oxatest::ToneItem (s); }
        Rhythmer::Environment& environment;
    };

    /** The controller's part of the transport, straight to the engine. */
    struct EngineOwner : JamOwner
    {
        DspMain* engine = nullptr;
        bool isAnyRecorderArmed() override { return engine->isAnyRecorderArmed(); }
        void itemsStopped() override { engine->silenceAllItems(); }
        void loopWrapped() override { engine->silenceAllItems(); }
        void itemsLocated() override { engine->locateAllItems(); }
        void jamChanged() override {}
    };

    /** The callback's part: the jam list's block, then the synchroniser. */
    struct JamRenderer
    {
        JamRenderer (DspMain& e, Synchronizer& s) : engine (e), sync (s) {}

        void block (int n)
        {
            const juce::ScopedLock sl (getAudioLock());
            engine.getRenderList()->renderBlock (input, rhythm, item, mix, n);
            for (int i = 0; i < n; ++i)
                output.push_back (rhythm[0][i] + mix[0][i]);
            sync.advance (n);
        }

        void until (juce::int64 total, const std::vector<int>& sizes)
        {
            for (size_t b = 0; sync.getTotal() < total; ++b)
                block (sizes[b % sizes.size()]);
        }

        DspMain& engine;
        Synchronizer& sync;
        std::vector<float> buffers = std::vector<float> (8 * 4096);
        float* rhythm[2] = { &buffers[0], &buffers[4096] };
        float* item[2] = { &buffers[8192], &buffers[12288] };
        float* mix[2] = { &buffers[16384], &buffers[20480] };
        const float* input[2] = { &buffers[24576], &buffers[28672] };
        std::vector<float> output;
    };

    const std::vector<int> oddSizes { 256, 100, 512, 37, 1024, 441 };
} // namespace

class RhythmJam : public RhythmerFixture
{
};

TEST_F (RhythmJam, AfterTheCountInTheSongPlaysFromItsStartAndAStopSilencesBothParts)
{
    oxatest::ScopedEngineRunning running;
    writeSmf (resources.getChildFile ("preCount2.mid"), { { 0, 0x99, 37, 120 }, { 480, 0x99, 37, 90 } }, 960);
    writePattern ("A", { { 0, 0x99, 36, 100 }, { 480, 0x90, 40, 90 }, { 960, 0x80, 40, 0 } }, 1920);
    const auto song = writeSong ("Song_jam.xml", { { "A", 0 } }, 120, 1);

    MachineFactory factory (environment);
    EngineOwner jamOwner;
    DspMain engine (&jamOwner, &factory, sync);
    jamOwner.engine = &engine;
    sync.setOwner (&jamOwner);

    ASSERT_TRUE (engine.addJamItem (0, song.getFullPathName(), toolSet));
    ASSERT_TRUE (engine.addJamItem (1, {}, toolSet));
    dynamic_cast<oxatest::ToneItem&> (*engine.getRecorder (0)).armed = true;
    auto* machine = dynamic_cast<Rhythmer*> (engine.getRhythmItem().get());
    ASSERT_NE (machine, nullptr);
    machine->setPreCount (2);

    JamRenderer jam (engine, sync);
    jam.block (300);                       // stopped: nothing plays
    log.clear();
    const auto start = sync.getTotal();
    sync.getMaster().play();
    const auto countIn = 2 * quarterAt120;
    jam.until (start + countIn + 2 * barAt120 - 2000, oddSizes);

    // The count-in's two clicks, then the song's bar twice (it repeats): every note-on at
    // its sample, counted from the play command.
    std::vector<juce::int64> drums, bass;
    for (auto& m : log.noteOns (true))
        drums.push_back (m.at());
    for (auto& m : log.noteOns (false))
        bass.push_back (m.at());
    const auto bar = barAt120;
    EXPECT_EQ (drums, (std::vector<juce::int64> { -countIn, -countIn + quarterAt120, 0, bar }))
        << "on the machine's timeline the count-in lies just before the song";
    EXPECT_EQ (bass, (std::vector<juce::int64> { quarterAt120, bar + quarterAt120 }));

    // A stop reaches the machine through the owner (the locate it asks for at once, and
    // the stop once applied): all sound off on both parts each time, on the audio thread.
    log.clear();
    sync.getMaster().stop (false);
    jam.until (sync.getTotal() + 4000, oddSizes);
    int offs = 0;
    for (auto& m : log.messages())
        offs += m.isAllSoundOff();
    EXPECT_GE (offs, 2);
    EXPECT_EQ (offs % 2, 0);
    ASSERT_FALSE (log.messages().empty());
    EXPECT_TRUE (log.messages().back().isAllSoundOff());
    EXPECT_TRUE (sync.getMaster().isStopped());
    sync.setOwner (nullptr);
}

TEST_F (RhythmJam, TheRealEngineRendersTheSameJamHoweverTheCallbackCutsItsBlocks)
{
    oxatest::ScopedEngineRunning running;
    environment.songFolder = oxatest::stageFolder().getChildFile ("song");
    environment.rhythmFolder = oxatest::stageFolder().getChildFile ("rhythm");
    environment.engineLibrary = oxatest::stageFolder().getChildFile ("resources/rhythmmachine.so");
    MachineFactory factory (environment);

    std::vector<std::vector<float>> runs;
    for (const auto& sizes : { std::vector<int> { 441 }, oddSizes })
    {
        Synchronizer own;
        DspMain engine (nullptr, &factory, own);
        ASSERT_TRUE (engine.addJamItem (0, environment.songFolder.getChildFile ("Song_funk.xml").getFullPathName(), toolSet));
        auto* machine = dynamic_cast<Rhythmer*> (engine.getRhythmItem().get());
        ASSERT_TRUE (machine->getDrumInstance()->waitUntilReady (60000) && machine->getBassInstance()->waitUntilReady (60000));

        JamRenderer jam (engine, own);
        own.getMaster().play();
        jam.until (5 * 44100, sizes);
        jam.output.resize (5 * 44100);
        runs.push_back (jam.output);
    }

    ASSERT_EQ (runs[0].size(), runs[1].size());
    int differing = 0;
    for (size_t i = 0; i < runs[0].size(); ++i)
        differing += runs[0][i] != runs[1][i];
    EXPECT_EQ (differing, 0);
    EXPECT_GT (*std::max_element (runs[0].begin(), runs[0].end()), 0.05f) << "and it sounds";
}
