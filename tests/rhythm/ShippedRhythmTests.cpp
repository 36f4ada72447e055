// The staged factory rhythm content: every song, its patterns, the count-in files, the
// demo tool sets and the extra rhythm archive, played through the real engine.
#include "rhythm/ChordChart.h"
#include "rhythm/RhythmEngineHost.h"
#include "rhythm/Rhythmer.h"
#include "rhythm/SMFParser.h"
#include "rhythm/SongManager.h"

#include "documents/Archive.h"
#include "documents/PatchSet.h"
#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "engine/DspLoader.h"
#include "engine/Synchronizer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace T730;

namespace
{
    juce::File stage (const char* path) { return oxatest::stageFolder().getChildFile (path); }

    std::vector<juce::String> shippedSongs()
    {
        juce::StringArray names;
        for (auto& f : stage ("song").findChildFiles (juce::File::findFiles, false, "*.xml"))
            names.add (f.getFileName());
        names.sort (false);
        return { names.begin(), names.end() };
    }

    Rhythmer::Environment stagedEnvironment (DspLoader& modules)
    {
        Rhythmer::Environment e;
        e.songFolder = stage ("song");
        e.rhythmFolder = stage ("rhythm");
        e.resourceFolder = stage ("resources");
        e.engineLibrary = stage ("resources/rhythmmachine.so");
        e.modules = &modules;
        return e;
    }

    /** One machine on the real engine for all songs (its engine loads the SoundFont once). */
    struct RealMachine
    {
        DspLoader modules { stage ("resources"), false };
        Synchronizer sync;
        Rhythmer::Ptr machine { new Rhythmer (sync, stagedEnvironment (modules)) };

        static RealMachine& get()
        {
            static RealMachine m;
            return m;
        }
    };

    /** The highest meter of each part over `seconds` of the song from its start. */
    std::pair<float, float> loudestParts (Rhythmer& machine, double seconds)
    {
        machine.silence();
        juce::AudioBuffer<float> out (2, 512);
        float drums = 0.0f, bass = 0.0f;
        for (juce::int64 p = 0; p < (juce::int64) (seconds * 44100.0); p += 512)
        {
            float* ch[2] = { out.getWritePointer (0), out.getWritePointer (1) };
            machine.render (p, nullptr, ch, 0, 512);
            drums = std::max (drums, machine.getDrumMeter());
            bass = std::max (bass, machine.getBassMeter());
        }
        return { drums, bass };
    }

    class RhythmShippedSong : public ::testing::TestWithParam<juce::String>
    {
    };
} // namespace

TEST_P (RhythmShippedSong, LoadsResolvesSoundsInBothPartsAndItsBassFollowsItsChords)
{
    auto& machine = *RealMachine::get().machine;
    ASSERT_NE (machine.getDrumInstance(), nullptr);
    ASSERT_TRUE (machine.getDrumInstance()->waitUntilReady (60000) && machine.getBassInstance()->waitUntilReady (60000));

    const auto file = stage ("song").getChildFile (GetParam());
    ASSERT_TRUE (machine.loadSong (file, {}));
    const auto& song = machine.getSong();
    EXPECT_EQ (machine.getPatterns().size(), (size_t) song.getPatternIds().size()) << "every pattern resolves";
    EXPECT_GE (song.BPM, 40);
    EXPECT_LE (song.BPM, 250);
    EXPECT_TRUE (song.SongName.isNotEmpty() && song.tooltip.isNotEmpty());
    EXPECT_GT (song.RhythmLv, 0);
    EXPECT_GT (song.BassLv, 0);
    EXPECT_LT (song.RhythmVoice, machine.getNumDrumKits());
    EXPECT_LT (song.BassVoice, machine.getNumBassVoices());

    Song stored;
    ASSERT_TRUE (stored.readDocument (parseXmlFile (file).get()));
    EXPECT_GE (stored.keywords.size(), 2);

    // The chart covers the song, one eighth note a slot (30 in the events' unit).
    const auto& events = machine.getMergedEvents();
    ASSERT_FALSE (events.empty());
    EXPECT_FLOAT_EQ ((float) ChordChart::countSlots (song.DispChord) * 30.0f, events.back().time);

    const auto chords = ChordChart::chords (song.DispChord);
    ASSERT_FALSE (chords.empty());
    for (const auto& chord : chords)
    {
        const float at = (float) chord.slot * 30.0f;
        std::vector<int> notes;
        for (const auto& e : events)
            if (e.channel == Rhythmer::bassChannel && e.kind == NoteEvent::noteOn && e.velocity > 0 && e.time == at)
                notes.push_back (e.note + machine.getTranspose());
        ASSERT_EQ (notes.size(), 1u) << "one bass note at the chord of slot " << chord.slot;
        EXPECT_TRUE (ChordChart::isChordTone (notes[0], chord.root, chord.quality))
            << "slot " << chord.slot << ": note " << notes[0] << " in " << chord.root << chord.quality;
    }

    const auto [drums, bass] = loudestParts (machine, 3.0);
    EXPECT_GT (drums, 0.02f) << "the drums sound";
    EXPECT_GT (bass, 0.02f) << "the bass sounds";
    EXPECT_LT (drums + bass, 1.5f);
}

INSTANTIATE_TEST_SUITE_P (RhythmFactory, RhythmShippedSong, ::testing::ValuesIn (shippedSongs()),
                          [] (const auto& info)
                          { return info.param.fromFirstOccurrenceOf ("Song_", false, false).upToLastOccurrenceOf (".", false, false).toStdString(); });

TEST (RhythmShipped, ThirtySongsInTwelveStylesAndEveryTimeSignature)
{
    SongManager store;
    store.setFolder (stage ("song"));
    store.loadAll();
    EXPECT_GE (store.getNumSongs(), 30);
    ASSERT_NE (store.findByFile (stage ("song/Song_8beat.xml")), nullptr) << "the default song";

    std::set<juce::String> styles, names;
    for (int i = 0; i < store.getNumSongs(); ++i)
    {
        styles.insert (store.getSong (i)->Comment.upToFirstOccurrenceOf (",", false, false));
        names.insert (store.getSong (i)->SongName);
    }
    EXPECT_GE (styles.size(), 12u);
    EXPECT_EQ (names.size(), (size_t) store.getNumSongs()) << "every song has a name of its own";

    std::set<juce::String> signatures;
    for (auto& f : stage ("rhythm").findChildFiles (juce::File::findFiles, false, "*.xml"))
    {
        RhythmPattern p;
        ASSERT_TRUE (p.readFile (f));
        EXPECT_TRUE (p.hasUsableGrid()) << f.getFileName();
        EXPECT_TRUE (stage ("rhythm").getChildFile (p.FileName).existsAsFile());
        signatures.insert (p.TimeSig);
    }
    for (auto sig : { "4/4", "3/4", "6/8", "12/8" })
        EXPECT_EQ (signatures.count (sig), 1u) << sig;
}

TEST (RhythmShipped, NineCountInFilesOfTheirLengths)
{
    for (int n = 1; n <= 8; ++n)
    {
        std::vector<NoteEvent> events;
        ASSERT_TRUE (readMidiFile (stage ("resources").getChildFile ("preCount" + juce::String (n) + ".mid"), events));
        EXPECT_FLOAT_EQ (events.back().time, 60.0f * (float) n) << n << " beats";
    }
    std::vector<NoteEvent> sp;
    ASSERT_TRUE (readMidiFile (stage ("resources/preCountSP.mid"), sp));
    EXPECT_FLOAT_EQ (sp.back().time, 480.0f) << "SP counts as 8 beats";
}

TEST (RhythmShipped, TwentyDemoToolSetsWithAFactoryPatchAndASongOfTheirStyle)
{
    const char* names[] = { "1965 LIVERPOOL", "1968 PSYCHEDELIC", "1969 BRITISH HARD ROCK", "1970 BLUES ROCK",
                            "1970 HEAVY METAL", "1972 BRITISH HARD ROCK", "1975 ROCK OPERAS", "1976 ROCK INSTRUMENTS",
                            "1977 FUSION INSTRUMENTS", "1978 AMERICAN HARD ROCK", "1980 HEAVY METAL",
                            "1981 NEO ROCKABILLY", "1983 UK ROCK", "1984 BLUES ROCK", "1984 PROGRESSIVE INSTRUMENTS",
                            "1987 L.A. METAL", "1987 ROCK INSTRUMENTS", "1989 EUROPEAN HARD ROCK", "1991 HEAVY METAL",
                            "1999 LATIN ROCK" };
    auto group = std::make_unique<PatchSet>();
    ASSERT_TRUE (group->read (parseXmlFile (stage ("patchgroupM7/Factory Tones.xml")).get()));

    DspLoader modules { stage ("resources"), false };
    Synchronizer sync;
    auto env = stagedEnvironment (modules);
    env.engineLibrary = juce::File();   // no engine needed to resolve the songs
    Rhythmer::Ptr machine (new Rhythmer (sync, env));

    for (auto* name : names)
    {
        SCOPED_TRACE (name);
        const auto folder = stage ("toolsets").getChildFile (name);
        Project project;
        ASSERT_TRUE (project.read (parseXmlFile (Project::getDocumentFile (folder)).get()));
        EXPECT_TRUE (project.demo);
        EXPECT_EQ (project.Name, name);
        EXPECT_EQ (project.CurrentPatchSet, "Factory Tones.xml");
        const auto& patch = group->patches[(size_t) project.CurrentPatchIdx];
        for (int i = 0; i < EditBuf::numParams; ++i)
            EXPECT_EQ (project.editBuffer.params[i], patch.edit.params[i]);
        ASSERT_EQ (project.songFiles.size(), 1);
        EXPECT_TRUE (machine->loadSong (folder.getChildFile (project.songFiles[0]), {}));
        EXPECT_FALSE (machine->getPatterns().empty());
    }
}

TEST (RhythmShipped, TheExtraRhythmArchiveHoldsSongsAndTheirPatterns)
{
    const auto archive = stage ("extras/OXA Extra Rhythms.orp");
    ASSERT_TRUE (isArchive (archive));
    oxatest::TempFolder temp;
    ASSERT_TRUE (unpackArchive (archive, temp.get()));

    const auto songs = (temp / "song").findChildFiles (juce::File::findFiles, false, "*.xml");
    EXPECT_GE (songs.size(), 3);

    DspLoader modules { stage ("resources"), false };
    Synchronizer sync;
    auto env = stagedEnvironment (modules);
    env.rhythmFolder = temp / "rhythm";
    env.engineLibrary = juce::File();
    Rhythmer::Ptr machine (new Rhythmer (sync, env));
    for (auto& song : songs)
    {
        EXPECT_TRUE (machine->loadSong (song, {})) << song.getFileName();
        EXPECT_FALSE (stage ("song").getChildFile (song.getFileName()).exists()) << "extra songs are not installed";
    }
}
