// The rhythm machine on the fake engine: what reaches each part, at which sample.
#include "RhythmerTestSupport.h"

#include "documents/XmlParser.h"
#include "rhythm/RhythmExport.h"
#include "rhythm/SongManager.h"

using namespace T730;
using namespace rhythmtest;

namespace
{
    /** One bar of 4/4: a drum hit at 0 (off at 240), a bass note at beat 2 (off at 900). */
    const std::vector<Note> oneBar { { 0, 0x99, 36, 100 }, { 240, 0x89, 36, 0 }, { 480, 0x90, 40, 90 }, { 900, 0x80, 40, 0 } };

    juce::int64 samplesOfTick (int tick) { return Rhythmer::toSamples ((float) tick * 60.0f / 480.0f, 120); }

    std::vector<juce::int64> times (const std::vector<Received>& messages)
    {
        std::vector<juce::int64> t;
        for (auto& m : messages)
            t.push_back (m.at());
        return t;
    }
} // namespace

class RhythmRhythmer : public RhythmerFixture
{
};

TEST_F (RhythmRhythmer, EveryEventReachesItsPartOnceAtItsSampleHoweverTheBlocksFall)
{
    writePattern ("A", oneBar, 1920);
    const auto song = writeSong ("Song_a.xml", { { "A", 0 } });

    // 11025 puts the drum's note-off exactly on a block boundary.
    for (int block : { 441, 512, 11025, 100000 })
    {
        auto machine = makeMachine();
        ASSERT_TRUE (machine->loadSong (song, {}));
        EXPECT_EQ (machine->getLength(), barAt120);
        log.clear();
        renderBlocks (*machine, 0, (int) barAt120 + 5000, block);

        std::vector<juce::int64> drums, bass;
        for (auto& m : log.messages())
            (m.isDrum() ? drums : bass).push_back (m.at());
        EXPECT_EQ (drums, (std::vector<juce::int64> { 0, samplesOfTick (240) })) << block;
        EXPECT_EQ (bass, (std::vector<juce::int64> { samplesOfTick (480), samplesOfTick (900) })) << block;
    }

    // The end marker (channel 6 in the file's terms) reaches no part: only notes arrive.
    for (auto& m : log.messages())
        EXPECT_TRUE (m.isNoteOn() || m.isNoteOff());
}

TEST_F (RhythmRhythmer, TheLastEventAtTheSongLengthSoundsOneSampleBeforeTheEnd)
{
    writePattern ("A", { { 0, 0x99, 36, 100 }, { 1920, 0x89, 36, 0 } }, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_a.xml", { { "A", 0 } }), {}));
    ASSERT_EQ (machine->getLength(), barAt120);

    renderBlocks (*machine, 0, (int) barAt120 + 2048, 1024);
    const auto got = log.messages();
    ASSERT_EQ (got.size(), 2u);
    EXPECT_EQ (got[1].at(), barAt120 - 1);
}

TEST_F (RhythmRhythmer, RepeatingWrapsInsideTheBlockAndASongShorterThanABlockStillEnds)
{
    writePattern ("A", oneBar, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_a.xml", { { "A", 0 } }, 120, 1), {}));
    ASSERT_TRUE (machine->isRepeating());

    // A block that crosses the end: the song's first hit lands right after the wrap point.
    log.clear();
    renderBlocks (*machine, barAt120 - 100, 512, 512);
    auto hits = log.noteOns (true);
    ASSERT_EQ (hits.size(), 1u);
    EXPECT_EQ (hits[0].record.offset, 100);
    EXPECT_EQ (hits[0].at(), barAt120) << "the timeline runs on; the song starts again";

    // Two bars later the same event plays at the same place of the song.
    log.clear();
    renderBlocks (*machine, 3 * barAt120, (int) barAt120, 4410);
    EXPECT_EQ (times (log.noteOns (true)), (std::vector<juce::int64> { 3 * barAt120 }));

    // A song of 367 samples in blocks of 4096: every repetition plays, and the render returns.
    writePattern ("Tiny", { { 0, 0x99, 42, 80 } }, 8);
    auto tiny = makeMachine();
    ASSERT_TRUE (tiny->loadSong (writeSong ("Song_tiny.xml", { { "Tiny", 0 } }, 120, 1), {}));
    const auto length = tiny->getLength();
    ASSERT_EQ (length, samplesOfTick (8));
    log.clear();
    renderBlocks (*tiny, 0, 4096, 4096);
    const auto tinyHits = log.noteOns (true);
    ASSERT_EQ ((juce::int64) tinyHits.size(), (4096 + length - 1) / length);
    for (size_t i = 0; i < tinyHits.size(); ++i)
        EXPECT_EQ (tinyHits[i].at(), (juce::int64) i * length);
}

TEST_F (RhythmRhythmer, WithoutRepeatNothingIsSentPastTheEnd)
{
    writePattern ("A", oneBar, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_a.xml", { { "A", 0 } }), {}));
    renderBlocks (*machine, barAt120, 3 * (int) barAt120, 512);
    EXPECT_TRUE (log.messages().empty());
}

TEST_F (RhythmRhythmer, MutingOrSwitchingOffKeepsTheNoteOffsOfSoundingNotes)
{
    writePattern ("A", oneBar, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_a.xml", { { "A", 0 } }, 120, 1), {}));

    renderBlocks (*machine, 0, 512, 512);               // the drum and bass notes are on ...
    machine->setDrumMute (true);
    renderBlocks (*machine, 512, (int) barAt120 - 512, 512);
    machine->setDrumMute (false);
    machine->setRhythmOn (false);
    renderBlocks (*machine, barAt120, (int) barAt120, 512);

    int drumOns = 0, drumOffs = 0, bassOns = 0;
    for (auto& m : log.messages())
    {
        drumOns += m.isDrum() && m.isNoteOn();
        drumOffs += m.isDrum() && m.isNoteOff();
        bassOns += m.isBass() && m.isNoteOn();
    }
    EXPECT_EQ (drumOns, 1) << "nothing starts while muted or off";
    EXPECT_EQ (drumOffs, 2) << "... but every note-off still arrives";
    EXPECT_EQ (bassOns, 1);
    EXPECT_EQ (machine->getSong().RhythmMute, 0);
    EXPECT_EQ (machine->getSong().OnOff, 0);
}

TEST_F (RhythmRhythmer, TransposedBassNotesOutsideTheMidiRangeAreLeftOut)
{
    writePattern ("A", { { 0, 0x90, 125, 90 }, { 10, 0x90, 121, 90 }, { 20, 0x90, 3, 90 }, { 30, 0x99, 125, 90 } }, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_a.xml", { { "A", 0 } }), {}));

    machine->setTranspose (6);
    renderBlocks (*machine, 0, 4096, 4096);
    std::vector<int> notes;
    for (auto& m : log.messages())
        notes.push_back (m.note());
    EXPECT_EQ (notes, (std::vector<int> { 127, 9, 125 })) << "125 + 6 is dropped, the drums are never transposed";

    log.clear();
    machine->setTranspose (-6);
    renderBlocks (*machine, 0, 4096, 4096);
    notes.clear();
    for (auto& m : log.messages())
        notes.push_back (m.note());
    EXPECT_EQ (notes, (std::vector<int> { 119, 115, 125 })) << "3 - 6 is dropped";

    machine->setTranspose (-7);
    EXPECT_EQ (machine->getTranspose(), 5) << "kept within -6..+6";
}

TEST_F (RhythmRhythmer, SilenceIsCarriedOutByTheNextBlockOnTheAudioThreadWithinItsSize)
{
    writePattern ("A", oneBar, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_a.xml", { { "A", 0 } }), {}));
    machine->prepare (44100.0, 441);

    machine->silence();
    EXPECT_TRUE (log.messages().empty()) << "nothing reaches the engine from the calling thread";

    renderBlocks (*machine, 0, 441, 441);
    const auto got = log.messages();
    ASSERT_GE (got.size(), 2u);
    EXPECT_TRUE (got[0].isAllSoundOff() && got[1].isAllSoundOff());
    EXPECT_NE (got[0].isDrum(), got[1].isDrum()) << "both parts, channel 10 and channel 1";
    for (int i : { 0, 1 })
    {
        EXPECT_EQ (got[(size_t) i].record.offset, 0);
        EXPECT_EQ (got[(size_t) i].record.frames, 441);
    }

    // Once only; and while stopped the idle render carries it out.
    log.clear();
    renderBlocks (*machine, 441, 441, 441);
    for (auto& m : log.messages())
        EXPECT_FALSE (m.isAllSoundOff());
    machine->silenceAtLocate (5000);
    machine->idleRender (nullptr, 0, 300);
    int offs = 0;
    for (auto& m : log.messages())
        offs += m.isAllSoundOff() && m.record.frames == 300;
    EXPECT_EQ (offs, 2);
}

TEST_F (RhythmRhythmer, TemposAreBroughtIntoRangeAndLengthsFollowTheTempo)
{
    writePattern ("A", oneBar, 1920);
    auto machine = makeMachine();

    for (auto [bpm, expected] : { std::pair { 0, 120 }, { -5, 120 }, { 999, 250 }, { 10, 40 }, { 90, 90 } })
    {
        ASSERT_TRUE (machine->loadSong (writeSong ("Song_t.xml", { { "A", 0 } }, bpm), {}));
        EXPECT_EQ (machine->getSong().BPM, expected) << bpm;
        EXPECT_EQ (sync.getMaster().getTempo(), expected);
        EXPECT_EQ (machine->getLength(), Rhythmer::toSamples (240.0f, expected));
    }

    // A song without BPM plays at 120.
    songs.getChildFile ("Song_n.xml").replaceWithText ("<Song><Events><SongEv><Prm>A</Prm></SongEv></Events></Song>");
    ASSERT_TRUE (machine->loadSong (songs.getChildFile ("Song_n.xml"), {}));
    EXPECT_EQ (machine->getSong().BPM, 120);

    machine->setTempo (60);
    EXPECT_EQ (machine->getLength(), 2 * barAt120);
    EXPECT_EQ (machine->getSong().BPM, 60);

    auto empty = makeMachine();
    empty->setTempo (100);
    EXPECT_EQ (empty->getLength(), 0) << "no merged events: no length";
}

TEST_F (RhythmRhythmer, LaterPatternsPlayAfterEarlierOnesAndARepeatedPatternPlaysOnceEachTime)
{
    writePattern ("A", { { 0, 0x99, 36, 100 } }, 1920);
    writePattern ("B", { { 0, 0x99, 38, 100 } }, 1920);
    auto machine = makeMachine();
    // Positions are quarter notes × 60: one bar of 4/4 is 240.
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_ab.xml", { { "A", 0 }, { "B", 240 }, { "A", 480 } }), {}));
    EXPECT_EQ (machine->getPatterns().size(), 2u);
    EXPECT_EQ (machine->getPatternIds(), juce::StringArray ({ "A", "B" }));
    EXPECT_EQ (machine->getLength(), 3 * barAt120);

    renderBlocks (*machine, 0, 3 * (int) barAt120, 1000);
    const auto hits = log.noteOns (true);
    ASSERT_EQ (hits.size(), 3u) << "no doubled notes";
    EXPECT_EQ (times (hits), (std::vector<juce::int64> { 0, barAt120, 2 * barAt120 }));
    EXPECT_EQ (hits[1].note(), 38);

    // Events out of order are played in time order.
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_ba.xml", { { "B", 240 }, { "A", 0 } }), {}));
    log.clear();
    renderBlocks (*machine, 0, 2 * (int) barAt120, 1000);
    EXPECT_EQ (times (log.noteOns (true)), (std::vector<juce::int64> { 0, barAt120 }));
    EXPECT_EQ (log.noteOns (true)[0].note(), 36);
}

TEST_F (RhythmRhythmer, SongsThatCannotPlayAreRefusedAndNothingSounds)
{
    writePattern ("A", oneBar, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_good.xml", { { "A", 0 } }, 100), {}));

    (songs.getChildFile ("broken.xml")).replaceWithText ("<Song><BPM>80");
    EXPECT_FALSE (machine->loadSong (songs.getChildFile ("broken.xml"), {}));
    EXPECT_EQ (machine->getSong().BPM, 100) << "the previous values stay";
    EXPECT_EQ (machine->getLength(), 0) << "... but nothing plays";
    EXPECT_FALSE (machine->loadSong (songs.getChildFile ("missing.xml"), {}));

    // No pattern: the song's settings hold, nothing plays.
    EXPECT_FALSE (machine->loadSong (writeSong ("Song_none.xml", { { "Nowhere", 0 } }, 140), {}));
    EXPECT_EQ (machine->getSong().BPM, 140);
    EXPECT_EQ (machine->getLength(), 0);

    // A pattern whose MIDI file does not read, or lies outside the folder, or whose grid is absurd.
    rhythms.getChildFile ("Bad.mid").replaceWithText ("MThd");
    rhythms.getChildFile ("Bad.xml").replaceWithText ("<P><ID>Bad</ID><FileName>Bad.mid</FileName><TimeSig>4/4</TimeSig><BarLen>1</BarLen></P>");
    rhythms.getChildFile ("Out.xml").replaceWithText ("<P><ID>Out</ID><FileName>../song/Song_good.xml</FileName><TimeSig>4/4</TimeSig><BarLen>1</BarLen></P>");
    writePattern ("Odd", oneBar, 1920, "4/0", 1);
    writePattern ("Huge", oneBar, 1920, "4/4", 100000);
    for (auto id : { "Bad", "Out", "Odd", "Huge" })
    {
        EXPECT_FALSE (machine->loadSong (writeSong ("Song_x.xml", { { id, 0 } }), {})) << id;
        EXPECT_EQ (machine->getLength(), 0) << id;
        renderBlocks (*machine, 0, 4096, 4096);
    }
    EXPECT_TRUE (log.messages().empty());
}

TEST_F (RhythmRhythmer, TheDefaultSongTheSettingFileAndTheOwnersSongFile)
{
    writePattern ("A", oneBar, 1920);
    writeSong (Rhythmer::defaultSongName, { { "A", 0 } }, 132);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong ({}, toolSet));
    EXPECT_EQ (machine->getSong().filePath, songs.getChildFile ("Song_8beat.xml"));
    EXPECT_EQ (owner.songFile, "RhythmerSetting.xml");
    EXPECT_EQ (machine->getSettingFileName(), "RhythmerSetting.xml");

    const auto setting = toolSet.getChildFile ("RhythmerSetting.xml");
    Song saved;
    ASSERT_TRUE (saved.readDocument (parseXmlFile (setting).get()));
    EXPECT_EQ (saved.BPM, 132);
    EXPECT_EQ (saved.Events.size(), 1u);

    // The setting file is a song: it loads again, from the tool set folder.
    auto again = makeMachine();
    ASSERT_TRUE (again->loadSong (setting, {}));
    EXPECT_EQ (again->getSong().BPM, 132);

    EXPECT_FALSE (machine->saveSetting ({}));
}

TEST_F (RhythmRhythmer, APreviewFindsItsSongAndPatternsInTheWorkFolderAndSavesNothing)
{
    writePattern ("P", oneBar, 1920, "4/4", 1, "C", temporary);
    writeSong ("Song_preview.xml", { { "P", 0 } }, 120, 0, "<OnOff>0</OnOff>", temporary);

    auto preview = makeMachine (true);
    ASSERT_TRUE (preview->isPreview());
    ASSERT_TRUE (preview->loadSong (songs.getChildFile ("Song_preview.xml"), toolSet)) << "found in the work folder";
    EXPECT_EQ (preview->getSong().filePath, temporary.getChildFile ("Song_preview.xml"));
    EXPECT_FALSE (toolSet.getChildFile ("RhythmerSetting.xml").exists());
    EXPECT_EQ (owner.songFile, "");
    EXPECT_FALSE (sync.getMaster().isRhythmOn()) << "a song from another folder brings its own on/off";

    auto normal = makeMachine();
    EXPECT_FALSE (normal->loadSong (temporary.getChildFile ("Song_preview.xml"), {})) << "only a preview looks there";
}

TEST_F (RhythmRhythmer, SwitchingSongsOverRecordingsKeepsTheTempoAndTheKey)
{
    writePattern ("InC", { { 0, 0x90, 48, 90 } }, 1920, "4/4", 1, "C");
    writePattern ("InA", { { 0, 0x90, 45, 90 } }, 1920, "4/4", 1, "A");
    writePattern ("InFs", { { 0, 0x90, 42, 90 } }, 1920, "4/4", 1, "F#");
    writePattern ("InCs", { { 0, 0x90, 49, 90 } }, 1920, "4/4", 1, "C#");
    const auto c = writeSong ("Song_c.xml", { { "InC", 0 } }, 100);
    const auto a = writeSong ("Song_a.xml", { { "InA", 0 } }, 140);
    const auto fs = writeSong ("Song_fs.xml", { { "InFs", 0 } }, 150);
    const auto cs = writeSong ("Song_cs.xml", { { "InCs", 0 } }, 160, 0, "<RootChord>4</RootChord>");

    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (c, {}));
    EXPECT_EQ (sync.getMaster().getTempo(), 100);
    EXPECT_EQ (machine->getSongRoot(), 0);

    owner.longest = 44100;   // recordings exist from now on
    ASSERT_TRUE (machine->loadSong (a, {}));
    EXPECT_EQ (machine->getSong().BPM, 100) << "the recordings' tempo stays";
    EXPECT_EQ (machine->getSongRoot(), 9);
    EXPECT_EQ (machine->getTranspose(), 3) << "0 + 0 - 9 wraps to +3: A up to C";
    EXPECT_EQ (machine->getSong().RootChord, 3);

    ASSERT_TRUE (machine->loadSong (fs, {}));
    EXPECT_EQ (machine->getTranspose(), 6) << "3 + 9 - 6";
    ASSERT_TRUE (machine->loadSong (cs, {}));
    EXPECT_EQ (machine->getTranspose(), -1) << "6 + 6 - 1 = 11 wraps to -1; the file's own RootChord is not used";

    renderBlocks (*machine, 0, 512, 512);
    ASSERT_EQ (log.noteOns (false).size(), 1u);
    EXPECT_EQ (log.noteOns (false)[0].note(), 48) << "C# down one: the bass still sounds in C";

    // Without recordings the song's own tempo and RootChord come back.
    owner.longest = 0;
    ASSERT_TRUE (machine->loadSong (cs, {}));
    EXPECT_EQ (machine->getSong().BPM, 160);
    EXPECT_EQ (machine->getTranspose(), 4);
}

TEST_F (RhythmRhythmer, CountInFilesAndTheirRender)
{
    writeSmf (resources.getChildFile ("preCountSP.mid"), { { 0, 0x99, 37, 120 }, { 960, 0x99, 37, 90 } }, 3840);
    writeSmf (resources.getChildFile ("preCount3.mid"), { { 0, 0x99, 37, 120 }, { 480, 0x99, 37, 90 }, { 960, 0x99, 37, 90 } }, 1440);
    auto machine = makeMachine();

    machine->setPreCount (0);
    EXPECT_TRUE (machine->getPreCountEvents().empty()) << "0 loads no file";
    EXPECT_EQ (machine->getPreCount(), 0);

    machine->setPreCount (-1);
    EXPECT_EQ (machine->getPreCountEvents().size(), 3u) << "-1 loads preCountSP.mid (two hits and the end)";
    EXPECT_EQ (machine->getPreCount(), -1);

    machine->setPreCount (5);
    EXPECT_TRUE (machine->getPreCountEvents().empty()) << "a missing file counts in silently";
    EXPECT_EQ (machine->getPreCount(), 5);

    machine->setPreCount (3);
    ASSERT_EQ (machine->getPreCountEvents().size(), 4u);

    juce::AudioBuffer<float> out (2, 1024);
    for (juce::int64 q = 0; q < 3 * quarterAt120; q += 1024)
    {
        float* ch[2] = { out.getWritePointer (0), out.getWritePointer (1) };
        machine->renderCountIn (q, nullptr, ch, 0, 1024);
    }
    std::vector<juce::int64> hits;
    for (auto& m : log.noteOns (true))
        hits.push_back (m.record.position + m.record.offset);
    // The count-in lies before the song on the timeline: it ends where the song starts.
    const auto start = -sync.getMaster().getCountInLength();
    EXPECT_EQ (hits, (std::vector<juce::int64> { start, start + quarterAt120, start + 2 * quarterAt120 }));

    log.clear();
    machine->setDrumMute (true);
    float* ch[2] = { out.getWritePointer (0), out.getWritePointer (1) };
    machine->renderCountIn (0, nullptr, ch, 0, 1024);
    EXPECT_TRUE (log.noteOns (true).empty());
}

TEST_F (RhythmRhythmer, VoicesLevelsAndMetersOfTheSong)
{
    writePattern ("A", { { 0, 0x99, 36, 100 }, { 0, 0x90, 40, 100 } }, 1920);
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (writeSong ("Song_v.xml", { { "A", 0 } }, 120, 0,
                                               "<RhythmVoice>2</RhythmVoice><BassVoice>1</BassVoice>"
                                               "<RhythmLv>40</RhythmLv><BassLv>100</BassLv>"), {}));
    EXPECT_EQ (machine->getNumDrumKits(), 4);
    EXPECT_EQ (machine->getNumBassVoices(), 3);
    EXPECT_EQ (machine->getDrumKitName (2), "Fake Kit 2");
    EXPECT_EQ (machine->getBassVoiceName (1), "Fake Bass 1");
    EXPECT_EQ (machine->getDrumKitName (-1), "");

    // Past the level stage's 10 ms glide: the drum gate at 40 % (and the room's small
    // tail of it), the bass gate whole.
    const auto out = renderBlocks (*machine, 0, 4096, 512);
    ASSERT_NE (machine->getDrumInstance(), nullptr);
    EXPECT_NEAR (out.getSample (0, 3000), faketest::gateLevel * 0.4f + faketest::gateLevel, 0.005);
    EXPECT_NEAR (machine->getDrumMeter(), faketest::gateLevel * 0.4f, 0.005);
    EXPECT_NEAR (machine->getBassMeter(), faketest::gateLevel, 1.0e-4);

    machine->setBassLevel (50);
    machine->selectBassVoice (2);
    EXPECT_EQ (machine->getSong().BassLv, 50);
    EXPECT_EQ (machine->getSong().BassVoice, 2);
    const auto later = renderBlocks (*machine, 4096, 4096, 512);
    EXPECT_NEAR (later.getSample (1, 3000), faketest::gateLevel * 0.9f, 0.005);
    EXPECT_NEAR (machine->getBassMeter(), faketest::gateLevel * 0.5f, 1.0e-4);
}

TEST_F (RhythmRhythmer, AnExportTakesTheSongsOfTheCurrentNameAndEveryPatternTheyNeed)
{
    writePattern ("A", oneBar, 1920);
    writePattern ("B", oneBar, 1920);
    writePattern ("C", oneBar, 1920);
    const auto file = writeSong ("Song_one.xml", { { "A", 0 }, { "B", 240 } });
    writeSong ("Song_two.xml", { { "C", 0 }, { "A", 240 } });
    songs.getChildFile ("Song_two.xml").replaceWithText (songs.getChildFile ("Song_two.xml").loadFileAsString()
                                                              .replace ("Song_two.xml</SongName>", "Song_one.xml</SongName>"));
    // Another event type names no pattern.
    songs.getChildFile ("Song_three.xml").replaceWithText ("<Song><SongName>Song_one.xml</SongName><Events><SongEv><Type>3</Type>"
                                                           "<Prm>Z</Prm></SongEv></Events></Song>");

    SongManager store;
    store.setFolder (songs);
    store.loadAll();
    auto machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (file, {}));

    const auto content = collectRhythmExport (*machine, store);
    EXPECT_EQ (content.songFiles.size(), 3) << "every song of that name in the catalogue";
    EXPECT_EQ (content.patternIds, juce::StringArray ({ "A", "B", "C" }));
}
