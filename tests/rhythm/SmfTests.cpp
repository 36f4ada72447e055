#include "rhythm/SMFParser.h"

#include "RhythmTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace T730;
using oxatest::LogCapture;

namespace
{
    using Bytes = std::vector<juce::uint8>;

    /** A header (format, division) followed by the track bytes (the track length is not read). */
    Bytes smf (int format, int division, const Bytes& track)
    {
        Bytes b { 'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, (juce::uint8) format, 0, 1,
                  (juce::uint8) (division >> 8), (juce::uint8) division, 'M', 'T', 'r', 'k', 0, 0, 0, 0 };
        for (auto byte : track)
            b.push_back (byte);
        return b;
    }

    bool parse (const Bytes& bytes, std::vector<NoteEvent>& events)
    {
        SMFParser parser;
        parser.getLoader().setBytes (bytes.data(), bytes.size());
        return parser.parse (events);
    }

    const Bytes endOfTrack { 0x00, 0xff, 0x2f, 0x00 };

    Bytes operator+ (Bytes a, const Bytes& b)
    {
        for (auto byte : b)
            a.push_back (byte);
        return a;
    }
} // namespace

TEST (RhythmSmf, NotesWithRunningStatusLongDeltasAndTheEndMarkerCarryingTheTrackTime)
{
    // Division 480: tick 960 is two quarter notes, time 120. Running status repeats 0x99.
    const auto track = Bytes { 0x00, 0x99, 36, 100,     // drum note-on at 0
                               0x00, 38, 90,            // running status: another note-on
                               0x87, 0x40, 0x89, 36, 0, // delta 0x87 0x40 = 960: note-off (channel 10)
                               0x81, 0x00, 0x90, 40, 0, // delta 0x81 0x00 = 128: note-on velocity 0 (bass)
                               0x00, 0x80, 40, 64 }     // and a real note-off
                       + endOfTrack;
    std::vector<NoteEvent> events;
    ASSERT_TRUE (parse (smf (0, 480, track), events));
    ASSERT_EQ (events.size(), 6u);

    EXPECT_EQ (events[0].channel, 9);
    EXPECT_EQ (events[0].note, 36);
    EXPECT_EQ (events[0].kind, NoteEvent::noteOn);
    EXPECT_EQ (events[0].velocity, 100);
    EXPECT_EQ (events[1].note, 38) << "running status gives one event per message";
    EXPECT_EQ (events[1].kind, NoteEvent::noteOn);

    EXPECT_FLOAT_EQ (events[2].time, 120.0f);
    EXPECT_EQ (events[2].kind, NoteEvent::noteOff);
    EXPECT_FLOAT_EQ (events[3].time, (960.0f + 128.0f) * 60.0f / 480.0f) << "0x81 0x00 adds 128 ticks";
    EXPECT_EQ (events[3].kind, NoteEvent::noteOn) << "velocity 0 stays a note-on";
    EXPECT_EQ (events[3].velocity, 0);
    EXPECT_EQ (events[3].channel, 0);
    EXPECT_EQ (events[4].kind, NoteEvent::noteOff);

    const auto& end = events.back();
    EXPECT_TRUE (end.isEndMarker());
    EXPECT_EQ (end.channel, 5);
    EXPECT_EQ (end.kind, NoteEvent::noteOff);
    EXPECT_FLOAT_EQ (end.time, events[4].time) << "the marker carries the track's total time";
}

TEST (RhythmSmf, OtherMessagesAndMetaEventsAreSteppedOverByTheirLengthByte)
{
    Bytes text5 { 0x00, 0xff, 0x01, 5, 'h', 'e', 'l', 'l', 'o' };
    Bytes longMeta { 0x00, 0xff, 0x03, 0x81 };   // a length byte of 0x81 is 129 bytes, not a VLQ
    for (int i = 0; i < 129; ++i)
        longMeta.push_back (0x90);               // bytes that would read as notes if not skipped
    const auto track = text5 + longMeta
                       + Bytes { 0x00, 0xb0, 7, 100,      // controller: 2 data bytes
                                 0x00, 0xc0, 5,           // program: 1
                                 0x00, 0xe0, 0, 64,       // pitch bend: 2
                                 0x00, 0xf0, 3, 1, 2, 3,  // system exclusive with one length byte
                                 0x00, 0xf8,              // a real-time byte: no data
                                 0x00, 0x90, 45, 70 }
                       + endOfTrack;
    std::vector<NoteEvent> events;
    ASSERT_TRUE (parse (smf (0, 96, track), events));
    ASSERT_EQ (events.size(), 2u);
    EXPECT_EQ (events[0].note, 45);
    EXPECT_EQ (events[0].velocity, 70);
}

TEST (RhythmSmf, HeaderFormatAndMissingEndAreRefusedWithTheirMessages)
{
    const auto notes = Bytes { 0x00, 0x99, 36, 100, 0x60, 0x89, 36, 0 };
    std::vector<NoteEvent> events;

    {
        LogCapture log;
        EXPECT_FALSE (parse (smf (1, 480, notes + endOfTrack), events));
        EXPECT_TRUE (events.empty()) << "a format 1 file is refused even when its track would decode";
        EXPECT_EQ (log.getLines(), juce::StringArray ("SMF Format Error"));
    }
    {
        LogCapture log;
        auto bytes = smf (0, 480, notes + endOfTrack);
        bytes[15] = 'X';
        EXPECT_FALSE (parse (bytes, events));
        EXPECT_FALSE (parse (Bytes { 'M', 'T', 'h' }, events));
        EXPECT_FALSE (parse ({}, events));
        EXPECT_FALSE (parse (smf (0, 0, notes + endOfTrack), events)) << "division 0 is a header error";
        EXPECT_EQ (log.getLines(), juce::StringArray ({ "ChankHeader is Error", "ChankHeader is Error",
                                                   "ChankHeader is Error", "ChankHeader is Error" }));
    }
    {
        LogCapture log;
        events.clear();
        EXPECT_FALSE (parse (smf (0, 480, notes), events));
        EXPECT_EQ (events.size(), 2u) << "events before the failure stay";
        EXPECT_EQ (log.getLines(), juce::StringArray ("End of Track is None"));
    }
}

TEST (RhythmSmf, TruncatedFilesAndHighDataBytesNeverReadPastTheBytes)
{
    const auto full = smf (0, 480, Bytes { 0x00, 0x99, 36, 100, 0x00, 0xff, 0x01, 0x02, 'a', 'b',
                                           0x83, 0x60, 0x89, 36, 0, 0x00, 0xf0, 2, 1, 2 } + endOfTrack);
    // Every prefix of a valid file: a clean failure (the sanitizer build checks the reads).
    for (size_t n = 0; n < full.size(); ++n)
    {
        std::vector<NoteEvent> events;
        Bytes prefix (full.begin(), full.begin() + (long) n);
        EXPECT_FALSE (parse (prefix, events)) << n;
        if (! events.empty())
        {
            EXPECT_FALSE (events.back().isEndMarker());
        }
    }
    std::vector<NoteEvent> events;
    EXPECT_TRUE (parse (full, events));

    // A data byte of 0x80 or more drops that event (and only it).
    events.clear();
    EXPECT_TRUE (parse (smf (0, 480, Bytes { 0x00, 0x99, 0x90, 100, 0x00, 0x99, 36, 0xa0, 0x00, 0x99, 38, 90 }
                                        + endOfTrack), events));
    ASSERT_EQ (events.size(), 2u);
    EXPECT_EQ (events[0].note, 38);

    // A first event without a status has nothing to repeat.
    events.clear();
    EXPECT_FALSE (parse (smf (0, 480, Bytes { 0x00, 36, 100 } + endOfTrack), events));
    EXPECT_TRUE (events.empty());
}

TEST (RhythmSmf, LoadingReplacesTheBytesAndAMissingFileLeavesNone)
{
    oxatest::TempFolder temp;
    const auto file = temp / "a.mid";
    const auto bytes = smf (0, 480, Bytes { 0x00, 0x99, 36, 100 } + endOfTrack);
    ASSERT_TRUE (file.replaceWithData (bytes.data(), bytes.size()));

    SMFParser parser;
    parser.load (file);
    EXPECT_EQ (parser.getPath(), file);
    EXPECT_EQ (parser.getLoader().getNumBytes(), bytes.size());

    std::vector<NoteEvent> events;
    EXPECT_TRUE (parser.parse (events));
    EXPECT_EQ (events.size(), 2u);

    parser.load (temp / "missing.mid");
    EXPECT_EQ (parser.getLoader().getNumBytes(), 0u);
    LogCapture log;
    EXPECT_FALSE (parser.parse (events));
    EXPECT_EQ (events.size(), 2u);
}

TEST (RhythmSmf, TheTickCounterIsHeldAtItsTopSoTimesNeverGoBack)
{
    Bytes track;
    for (int i = 0; i < 20; ++i)
        track = track + Bytes { 0xff, 0xff, 0xff, 0x7f, 0x99, 36, 100 };   // 2^28 - 1 ticks each
    std::vector<NoteEvent> events;
    ASSERT_TRUE (parse (smf (0, 1, track + endOfTrack), events));
    for (size_t i = 1; i < events.size(); ++i)
        EXPECT_GE (events[i].time, events[i - 1].time) << i;
    EXPECT_FLOAT_EQ (events.back().time, 4294967295.0f * 60.0f);
}
