#pragma once

// A rhythm engine for the tests: it records every message it receives with its sample
// offset and the block's timeline position, and sounds a gate (0.25 on both channels)
// while any note it was given is held. Names: bass voices "Fake Bass 0".."Fake Bass 2",
// drum kits "Fake Kit 0".."Fake Kit 3". Always ready.

#include <cstdint>

namespace faketest
{

struct Record
{
    int32_t instance;     // order of creation in the process, from 0
    int64_t position;     // the block's timeline position (-1: none)
    int64_t rendered;     // samples the instance rendered before the block
    int32_t offset;       // of the message in the block
    int32_t frames;       // of the block
    uint8_t data[3];      // the message; 0xFF 0x00 index for a voice selection
};

/** Copies up to `max` records (oldest first) and returns how many there are in all. */
using TakeRecords = int32_t (*) (Record* records, int32_t max);
/** Forgets the records. */
using ClearRecords = void (*)();

inline constexpr const char* takeRecordsName = "fakeRhythmEngineRecords";
inline constexpr const char* clearRecordsName = "fakeRhythmEngineClear";

inline constexpr float gateLevel = 0.25f;

} // namespace faketest
