#pragma once

// The rhythm machine on the fake engine: folders of its own, pattern and song files
// written by the tests, and the messages the fake engine received.

#include "rhythm/Rhythmer.h"

#include "engine/DspLoader.h"
#include "engine/Synchronizer.h"
#include "engines/FakeRhythmEngine.h"
#include "TestSupport.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace rhythmtest
{

/** One note of a test pattern, in ticks of 480 per quarter note. */
struct Note
{
    int tick;
    int status;   // 0x99 drum on, 0x89 drum off, 0x90 bass on, 0x80 bass off
    int note;
    int velocity;
};

/** A format 0 file: the notes (in order) and the end of the track at endTick. */
inline void writeSmf (const juce::File& file, const std::vector<Note>& notes, int endTick)
{
    std::vector<juce::uint8> b { 'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xe0, 'M', 'T', 'r', 'k', 0, 0, 0, 0 };
    auto delta = [&b] (juce::uint32 d)
    {
        juce::uint8 bytes[5];
        int n = 0;
        bytes[n++] = (juce::uint8) (d & 0x7f);
        while ((d >>= 7) != 0)
            bytes[n++] = (juce::uint8) ((d & 0x7f) | 0x80);
        while (n > 0)
            b.push_back (bytes[--n]);
    };
    int last = 0;
    for (auto& n : notes)
    {
        delta ((juce::uint32) (n.tick - last));
        last = n.tick;
        b.push_back ((juce::uint8) n.status);
        b.push_back ((juce::uint8) n.note);
        b.push_back ((juce::uint8) n.velocity);
    }
    delta ((juce::uint32) (endTick - last));
    for (juce::uint8 x : { 0xff, 0x2f, 0x00 })
        b.push_back (x);
    file.replaceWithData (b.data(), b.size());
}

/** What the fake engine received (both parts, in order). */
struct Received
{
    faketest::Record record;
    bool isDrum() const { return (record.data[0] & 0x0f) == 9 && record.data[0] != 0xff; }
    bool isBass() const { return (record.data[0] & 0x0f) == 0 && record.data[0] != 0xff; }
    bool isNoteOn() const { return (record.data[0] & 0xf0) == 0x90; }
    bool isNoteOff() const { return (record.data[0] & 0xf0) == 0x80; }
    bool isAllSoundOff() const { return (record.data[0] & 0xf0) == 0xb0 && record.data[1] == 120; }
    juce::int64 at() const { return record.position + record.offset; }
    int note() const { return record.data[1]; }
};

class FakeEngineLog
{
public:
    FakeEngineLog()
    {
        handle = dlopen (library().getFullPathName().toRawUTF8(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr)
        {
            take = (faketest::TakeRecords) dlsym (handle, faketest::takeRecordsName);
            clearAll = (faketest::ClearRecords) dlsym (handle, faketest::clearRecordsName);
        }
    }
    ~FakeEngineLog()
    {
        if (handle != nullptr)
            dlclose (handle);
    }

    static juce::File library() { return juce::File (OXA_RHYTHM_TEST_ENGINES).getChildFile ("FakeRhythmEngine.so"); }

    void clear() { if (clearAll != nullptr) clearAll(); }

    std::vector<Received> messages() const
    {
        std::vector<Received> out;
        if (take == nullptr)
            return out;
        std::vector<faketest::Record> records ((size_t) take (nullptr, 0) + 16);
        const int n = take (records.data(), (int) records.size());
        for (int i = 0; i < n && i < (int) records.size(); ++i)
            if (records[(size_t) i].data[0] != 0xff)
                out.push_back ({ records[(size_t) i] });
        return out;
    }

    /** The note-ons of one part. */
    std::vector<Received> noteOns (bool drums) const
    {
        std::vector<Received> out;
        for (auto& m : messages())
            if (m.isNoteOn() && (drums ? m.isDrum() : m.isBass()))
                out.push_back (m);
        return out;
    }

private:
    void* handle = nullptr;
    faketest::TakeRecords take = nullptr;
    faketest::ClearRecords clearAll = nullptr;
};

/** Answers the machine's questions like a controller with or without recordings. */
struct TestOwner : T730::RhythmerOwner
{
    juce::int64 getLongestRecordingLength() override { return longest; }
    int getToolSetPreCount() override { return preCount; }
    void setToolSetSongFile (const juce::String& name) override { songFile = name; }

    juce::int64 longest = 0;
    int preCount = 0;
    juce::String songFile;
};

/** Folders, files and a machine on the fake engine following its own synchroniser. */
class RhythmerFixture : public ::testing::Test
{
protected:
    RhythmerFixture()
    {
        for (auto* f : { &songs, &rhythms, &resources, &toolSet, &temporary })
            f->createDirectory();
        environment.owner = &owner;
        environment.songFolder = songs;
        environment.rhythmFolder = rhythms;
        environment.resourceFolder = resources;
        environment.temporaryFolder = temporary;
        environment.engineLibrary = FakeEngineLog::library();
        environment.modules = &modules;
        log.clear();
    }

    T730::Rhythmer::Ptr makeMachine (bool preview = false)
    {
        return new T730::Rhythmer (sync, environment, preview);
    }

    /** A pattern document and its MIDI file in the folder. */
    void writePattern (const juce::String& id, const std::vector<Note>& notes, int endTick,
                       const juce::String& timeSig = "4/4", int bars = 1, const juce::String& root = "C",
                       const juce::File& folder = {})
    {
        const auto place = folder == juce::File() ? rhythms : folder;
        writeSmf (place.getChildFile (id + ".mid"), notes, endTick);
        place.getChildFile (id + ".xml").replaceWithText ("<Pattern><ID>" + id + "</ID><FileName>" + id
                                                          + ".mid</FileName><TimeSig>" + timeSig + "</TimeSig><BarLen>"
                                                          + juce::String (bars) + "</BarLen><Root>" + root
                                                          + "</Root></Pattern>");
    }

    /** A song playing the patterns at their positions (quarter notes × 60). */
    juce::File writeSong (const juce::String& fileName, const std::vector<std::pair<juce::String, int>>& events,
                          int bpm = 120, int repeat = 0, const juce::String& extra = {}, const juce::File& folder = {})
    {
        // The extra elements come first: a reader takes the first element of a name.
        juce::String xml = "<Song>" + extra + "<SongName>" + fileName + "</SongName><BPM>" + juce::String (bpm) + "</BPM>"
                           + "<RhythmLv>100</RhythmLv><BassLv>100</BassLv><Repeat>" + juce::String (repeat)
                           + "</Repeat><Events>";
        for (auto& [id, position] : events)
            xml << "<SongEv><Type>0</Type><Position>" << position << "</Position><Prm>" << id << "</Prm></SongEv>";
        xml << "</Events></Song>";
        const auto file = (folder == juce::File() ? songs : folder).getChildFile (fileName);
        file.replaceWithText (xml);
        return file;
    }

    /** Renders from the position in blocks into a buffer (the machine's render, as the jam calls it). */
    juce::AudioBuffer<float> renderBlocks (T730::Rhythmer& machine, juce::int64 from, int total, int block)
    {
        juce::AudioBuffer<float> out (2, total);
        out.clear();
        for (int done = 0; done < total; done += block)
        {
            const int n = std::min (block, total - done);
            float* channels[2] = { out.getWritePointer (0, done), out.getWritePointer (1, done) };
            machine.render (from + done, nullptr, channels, 0, n);
        }
        return out;
    }

    oxatest::TempFolder temp;
    const juce::File songs = temp / "song", rhythms = temp / "rhythm", resources = temp / "resources",
                     toolSet = temp / "toolsets/Set", temporary = temp / "work";
    T730::DspLoader modules { oxatest::stageFolder().getChildFile ("resources"), false };
    T730::Synchronizer sync;
    TestOwner owner;
    T730::Rhythmer::Environment environment;
    FakeEngineLog log;
};

/** Samples per quarter note and per 4/4 bar at 120 BPM. */
constexpr int quarterAt120 = 22050;
constexpr juce::int64 barAt120 = 4 * (juce::int64) quarterAt120;

} // namespace rhythmtest
