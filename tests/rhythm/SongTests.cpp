#include "rhythm/RhythmPattern.h"
#include "rhythm/RootIndex.h"
#include "rhythm/SongManager.h"

#include "documents/OxXMLDocument.h"
#include "documents/SafeFileWriter.h"
#include "RhythmTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace T730;
using oxatest::LogCapture;
using rhythmtest::xml;

namespace
{
    Song fullSong()
    {
        Song s;
        s.SongName = "Night Drive";
        s.Comment = "two & <three>";
        s.BPM = 132;
        s.RhythmLv = 85;
        s.RhythmMute = 1;
        s.RhythmVoice = 3;
        s.BassLv = 70;
        s.BassMute = 0;
        s.BassVoice = 2;
        s.DispChord = "Am.......F...G...";
        s.Repeat = 1;
        s.OnOff = 0;
        s.RootChord = -3;
        s.tooltip = "Straight eighths";
        s.Events.push_back ({});
        s.Events[0].Position = 0;
        s.Events[0].Prm = "ROCK_A";
        SongEv other;
        other.Type = 7;
        other.Position = 960;
        other.Prm = "kept as it is";
        s.Events.push_back (other);
        return s;
    }

    Song readBack (Song& s)
    {
        juce::XmlElement root (Song::rootTag);
        EXPECT_TRUE (s.write (&root));
        auto parsed = parseXmlText (createDocumentText (root));
        Song back;
        EXPECT_TRUE (back.readDocument (parsed.get()));
        return back;
    }

    void expectSameFields (const Song& a, const Song& b)
    {
        EXPECT_EQ (a.SongName, b.SongName);
        EXPECT_EQ (a.Comment, b.Comment);
        EXPECT_EQ (a.BPM, b.BPM);
        EXPECT_EQ (a.RhythmLv, b.RhythmLv);
        EXPECT_EQ (a.RhythmMute, b.RhythmMute);
        EXPECT_EQ (a.RhythmVoice, b.RhythmVoice);
        EXPECT_EQ (a.BassLv, b.BassLv);
        EXPECT_EQ (a.BassMute, b.BassMute);
        EXPECT_EQ (a.BassVoice, b.BassVoice);
        EXPECT_EQ (a.DispChord, b.DispChord);
        EXPECT_EQ (a.Repeat, b.Repeat);
        EXPECT_EQ (a.OnOff, b.OnOff);
        EXPECT_EQ (a.RootChord, b.RootChord);
        EXPECT_EQ (a.tooltip, b.tooltip);
        ASSERT_EQ (a.Events.size(), b.Events.size());
        for (size_t i = 0; i < a.Events.size(); ++i)
        {
            EXPECT_EQ (a.Events[i].Type, b.Events[i].Type);
            EXPECT_EQ (a.Events[i].Position, b.Events[i].Position);
            EXPECT_EQ (a.Events[i].Prm, b.Events[i].Prm);
        }
    }
} // namespace

TEST (RhythmSong, ReadingAWrittenSongGivesBackEveryFieldButKeywordsAndPath)
{
    auto song = fullSong();
    song.keywords = juce::StringArray ("rock");
    song.filePath = juce::File ("/somewhere/song.xml");

    juce::XmlElement root (Song::rootTag);
    ASSERT_TRUE (song.write (&root));
    EXPECT_EQ (root.getChildByName ("Keywords"), nullptr);
    juce::StringArray tags;
    for (auto* child : root.getChildIterator())
        tags.add (child->getTagName());
    EXPECT_EQ (tags.joinIntoString (" "), "SongName Comment BPM RhythmLv RhythmMute RhythmVoice BassLv BassMute "
                                          "BassVoice DispChord Repeat OnOff RootChord Events Tooltip");

    auto back = readBack (song);
    expectSameFields (song, back);
    EXPECT_TRUE (back.keywords.isEmpty());
    EXPECT_EQ (back.filePath, juce::File());
    EXPECT_FALSE (song.write (nullptr));
    EXPECT_FALSE (back.read (nullptr));
}

TEST (RhythmSong, DefaultsAndOrderFreeReading)
{
    Song empty;
    ASSERT_TRUE (empty.read (xml ("<Song><SongName>x</SongName></Song>").get()));
    EXPECT_EQ (empty.OnOff, 1) << "a song without OnOff is switched on";
    EXPECT_EQ (empty.BPM, 0) << "one without BPM has tempo 0";
    EXPECT_TRUE (empty.Events.empty());
    EXPECT_EQ (empty.DispChord, "");

    auto song = fullSong();
    juce::XmlElement root (Song::rootTag);
    song.write (&root);
    // The same children in reverse order read the same.
    juce::XmlElement reversed (Song::rootTag);
    for (int i = root.getNumChildElements(); --i >= 0;)
        reversed.addChildElement (new juce::XmlElement (*root.getChildElement (i)));
    Song back;
    ASSERT_TRUE (back.read (&reversed));
    expectSameFields (song, back);

    // Reading replaces the events and keywords and resets what is missing.
    ASSERT_TRUE (back.read (xml ("<Song><Events><Anything><Prm>P</Prm><Position>60</Position></Anything>"
                                 "text<SongEv/></Events><Keywords><Other>no</Other><Keyword>fast</Keyword>"
                                 "<Keyword></Keyword><Word>loud</Word></Keywords></Song>").get()));
    ASSERT_EQ (back.Events.size(), 2u) << "every child of Events is an event, whatever its tag";
    EXPECT_EQ (back.Events[0].Prm, "P");
    EXPECT_EQ (back.Events[0].Position, 60);
    EXPECT_EQ (back.keywords, juce::StringArray ({ "fast", "loud" }));
    EXPECT_EQ (back.SongName, "");
    EXPECT_EQ (back.OnOff, 1);
    EXPECT_EQ (back.getPatternIds(), juce::StringArray ({ "P", "" }));
}

TEST (RhythmSong, NamesAndTextsWithControlCharactersSaveAndLoadWithoutThem)
{
    const auto forbidden = juce::String::charToString (0x01) + juce::String::charToString (0x1b)
                           + juce::String::charToString (0xfffe);
    auto song = fullSong();
    song.SongName = "Blue" + forbidden + " Train" + juce::String::charToString (0xe9);
    song.Comment = forbidden;
    song.tooltip = "tip\t" + forbidden + "two";
    song.Events[0].Prm = "ID" + forbidden;

    oxatest::TempFolder temp;
    const auto file = temp / "Song_ctrl.xml";
    ASSERT_TRUE (song.writeFile (file));

    Song back;
    ASSERT_TRUE (back.readDocument (parseXmlFile (file).get())) << getLastXmlParseError();
    EXPECT_EQ (back.SongName, "Blue Train" + juce::String::charToString (0xe9));
    EXPECT_EQ (back.Comment, "");
    EXPECT_EQ (back.tooltip, "tip\ttwo");
    EXPECT_EQ (back.Events[0].Prm, "ID");
    EXPECT_EQ (back.BPM, song.BPM);
    EXPECT_EQ (back.DispChord, song.DispChord);

    // Saved once more, the song stays as it is.
    ASSERT_TRUE (back.writeFile (file));
    Song again;
    ASSERT_TRUE (again.readDocument (parseXmlFile (file).get()));
    expectSameFields (back, again);
}

TEST (RhythmSong, RootIndexTakesExactSharpNames)
{
    EXPECT_EQ (RootIndex::fromName ("C"), 0);
    EXPECT_EQ (RootIndex::fromName ("C#"), 1);
    EXPECT_EQ (RootIndex::fromName ("A#"), 10);
    EXPECT_EQ (RootIndex::fromName ("B"), 11);
    for (auto text : { "Db", "c", "", "H", "C# ", "Bb" })
        EXPECT_EQ (RootIndex::fromName (text), 0) << text;
    EXPECT_EQ (RootIndex::toName (-1), "B");
    EXPECT_EQ (RootIndex::toName (14), "D");
    EXPECT_EQ (RootIndex::leadingName ("C#m7"), "C#");
    EXPECT_EQ (RootIndex::leadingName ("Cmaj7"), "C");
    EXPECT_EQ (RootIndex::leadingName ("Dbm"), "D");

    RhythmPattern p;
    ASSERT_TRUE (p.read (xml ("<Pattern><ID>A</ID><FileName>a.mid</FileName><TimeSig>6/8</TimeSig>"
                              "<BarLen>2</BarLen><Root>F#</Root></Pattern>").get()));
    EXPECT_EQ (p.getRootIndex(), 6);
    p.Root = "Db";
    EXPECT_EQ (p.getRootIndex(), 0);
}

TEST (RhythmSong, PatternsWithAnAbsurdGridAreMarkedUnusable)
{
    RhythmPattern p;
    ASSERT_TRUE (p.read (xml ("<Any><ID>A</ID><FileName>a.mid</FileName><TimeSig>12/8</TimeSig>"
                              "<BarLen>4</BarLen><Root>G</Root></Any>").get()));
    EXPECT_EQ (p.ID, "A");
    EXPECT_EQ (p.FileName, "a.mid");
    EXPECT_TRUE (p.hasUsableGrid());
    EXPECT_EQ (p.getNumerator(), 12);
    EXPECT_EQ (p.getDenominator(), 8);
    EXPECT_DOUBLE_EQ (p.getLengthInQuarters(), 24.0);

    ASSERT_TRUE (p.read (xml ("<Any><TimeSig>3/4</TimeSig></Any>").get()));
    EXPECT_EQ (p.BarLen, 0) << "a missing bar count reads 0";
    EXPECT_FALSE (p.hasUsableGrid());

    p.BarLen = 2;
    for (auto sig : { "4/0", "0/4", "4/3", "4", "/4", "x/4", "4/4/4", "99999/4", "33/4", "4/64", "-4/4", "" })
    {
        p.TimeSig = sig;
        EXPECT_FALSE (p.hasUsableGrid()) << sig;
        EXPECT_DOUBLE_EQ (p.getLengthInQuarters(), 0.0) << sig;
    }
    p.TimeSig = "3/4";
    EXPECT_TRUE (p.hasUsableGrid());
    for (int bars : { -1, 0, 1025, 2147483647 })
    {
        p.BarLen = bars;
        EXPECT_FALSE (p.hasUsableGrid()) << bars;
    }
}

//==============================================================================
TEST (RhythmSongManager, LoadsEveryReadableSongByNameAndLogsTheOthers)
{
    oxatest::TempFolder temp;
    SongManager store;
    store.setFolder (temp.get());
    store.loadAll();
    EXPECT_EQ (store.getNumSongs(), 0) << "an empty folder gives an empty catalogue";

    auto song = fullSong();
    song.SongName = "B song";
    ASSERT_TRUE (song.writeFile (temp / "b.xml"));
    song.SongName = "A song";
    ASSERT_TRUE (song.writeFile (temp / "a.xml"));
    ASSERT_TRUE ((temp / "broken.xml").replaceWithText ("<Song><SongName>"));
    ASSERT_TRUE ((temp / "other.xml").replaceWithText ("<Anything><SongName>Other</SongName></Anything>"));
    ASSERT_TRUE ((temp / "ignored.txt").replaceWithText ("<Song/>"));
    ASSERT_TRUE ((temp / "folder.xml").createDirectory());

    LogCapture log;
    store.loadAll();
    EXPECT_EQ (log.getLines(), juce::StringArray ("Failed reading song setting."));
    ASSERT_EQ (store.getNumSongs(), 3) << "any root name is accepted while loading all";
    EXPECT_EQ (store.getSong (0)->SongName, "A song");
    EXPECT_EQ (store.getSong (0)->filePath, temp / "a.xml");
    EXPECT_EQ (store.getSong (1)->SongName, "B song");
    EXPECT_EQ (store.getSong (2)->SongName, "Other");
    EXPECT_EQ (store.getSong (3), nullptr);
    EXPECT_EQ (store.findByName ("A song").size(), 1u);

    store.loadAll();
    EXPECT_EQ (store.getNumSongs(), 3) << "loading again rebuilds the catalogue";
}

TEST (RhythmSongManager, ImportAddsASongOnceAndRefusesOtherDocuments)
{
    oxatest::TempFolder temp;
    SongManager store;
    store.setFolder (temp.get());

    auto song = fullSong();
    const auto file = temp / "Song_new.xml";
    ASSERT_TRUE (song.writeFile (file));

    EXPECT_TRUE (store.import (file));
    EXPECT_TRUE (store.import (file)) << "importing the same file twice leaves one entry";
    ASSERT_EQ (store.getNumSongs(), 1);
    EXPECT_EQ (store.findByFile (file), store.getSong (0));

    ASSERT_TRUE ((temp / "other.xml").replaceWithText ("<Project><SongName>x</SongName></Project>"));
    ASSERT_TRUE ((temp / "bad.xml").replaceWithText ("not xml"));
    EXPECT_FALSE (store.import (temp / "other.xml"));
    EXPECT_FALSE (store.import (temp / "bad.xml"));
    EXPECT_FALSE (store.import (temp / "missing.xml"));
    EXPECT_EQ (store.getNumSongs(), 1);
}
