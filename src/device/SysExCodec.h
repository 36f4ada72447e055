#pragma once

// The M7c's System Exclusive wire format: building every message, the 23-byte
// patch record, its 7-bit group coding, the CRC-32 check value and the parser
// of received messages. Pure functions over bytes: no I/O, no JUCE, so that the
// parser can be hammered with hostile input under the sanitizers on its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace T730::SysEx
{

using Bytes = std::vector<uint8_t>;

constexpr uint8_t manufacturer = 0x52;
constexpr uint8_t model = 0x4B;

constexpr int numModules = 9;
constexpr int paramsPerModule = 8;
constexpr int numParams = numModules * paramsPerModule;

/** Largest value a two-byte number (patch number, parameter value, count) can carry. */
constexpr int maxValue14 = 0x3FFF;

// Command bytes of the maker's messages.
namespace Command
{
    constexpr uint8_t response = 0x00;
    constexpr uint8_t endOfData = 0x04;
    constexpr uint8_t allDataDump = 0x05;
    constexpr uint8_t patchInfo = 0x06;
    constexpr uint8_t patchInfoRequest = 0x07;
    constexpr uint8_t patchDataDump = 0x08;
    constexpr uint8_t patchDumpRequest = 0x09;
    constexpr uint8_t editBufferDump = 0x28;
    constexpr uint8_t parameterChange = 0x31;
    constexpr uint8_t editorOn = 0x50;
    constexpr uint8_t editorOff = 0x51;
}

//==============================================================================
// The patch record: 23 bytes.
//   bytes 0..13  a little-endian bit stream of 45 fields: for each module m,
//                five fields that carry the edit-buffer parameters 0..4 of
//                that module (field k carries parameter k - 1), each with the
//                width of recordFieldWidths[m][k - 1] bits; width 0 means the
//                parameter is not carried. Parameters 5..7 are never carried.
//                105 bits in all.
//   bytes 14..21 the name, one byte per character, zero padded.
//   byte  22     0.
constexpr size_t recordSize = 23;
constexpr size_t encodedRecordSize = 27;
constexpr size_t nameOffset = 14;
constexpr size_t nameLength = 8;
constexpr int fieldsPerModule = 5;

using PatchRecord = std::array<uint8_t, recordSize>;

/** Bit widths of the record's fields: [module][parameter 0..4]. */
extern const int recordFieldWidths[numModules][fieldsPerModule];

/** Total of the widths (105). */
int recordBitCount() noexcept;

/** The values a record carries. */
struct PatchFields
{
    std::array<int32_t, numParams> params {};
    /** The name as stored in the record: up to 8 bytes, no terminator. */
    std::string name;
};

/** Builds a record. Each carried parameter is masked to its field's width (a
    value too wide for its field must not spill into the next one); the name is
    given in UTF-8, and each of its first 8 characters is stored as the first
    byte of its UTF-8 form. */
PatchRecord encodeRecord (const int32_t* params72, const std::string& utf8Name) noexcept;

/** The same with the name given as the device's own bytes (the first 8, up to
    the first 0), stored as they are: what was received is sent back unchanged. */
PatchRecord encodeRecordWithNameBytes (const int32_t* params72, const std::string& nameBytes) noexcept;

/** Reads the 45 fields back into parameters 0..4 of each module (width 0
    gives 0; parameters 5..7 are left alone) and the name bytes up to the first
    0. `fields.params` keeps whatever it held in the positions not carried. */
void decodeRecord (const PatchRecord& record, PatchFields& fields);

//==============================================================================
// 7-bit group coding and check value.

/** 7-bit form of `size` bytes: groups of up to 7 data bytes, each led by a flag
    byte whose bit 6 holds bit 7 of the group's first byte, bit 5 that of the
    second, ... Output size: size + ceil(size / 7). */
Bytes encode7Bit (const uint8_t* data, size_t size);

/** Reverses encode7Bit over exactly `encodedSize` bytes into `out` (capacity
    `outSize`). Bits 7 of data and flag bytes are ignored. Returns the number of
    bytes written. */
size_t decode7Bit (const uint8_t* encoded, size_t encodedSize, uint8_t* out, size_t outSize) noexcept;

/** CRC-32 of IEEE 802.3 (zlib's crc32). */
uint32_t crc32 (const uint8_t* data, size_t size) noexcept;

/** The check value the messages carry: the complement of the record's CRC-32. */
inline uint32_t checkValue (const PatchRecord& record) noexcept
{
    return ~crc32 (record.data(), record.size());
}

//==============================================================================
// Messages, complete from F0 to F7 (tuner messages are plain control changes).

Bytes editorOn();
Bytes editorOff();
Bytes identityRequest();
/** Empty when the module, parameter or value is out of range (9 modules,
    8 parameters, 14-bit value): such a message is never sent. */
Bytes parameterChange (int module, int param, int value);
Bytes editBufferDump (const PatchRecord& record);
Bytes patchInfoRequest();
Bytes allDataDumpNotification();
/** Empty for a patch number outside 0..16383. */
Bytes patchDataDump (int patchNumber, const PatchRecord& record);
Bytes endOfDataNotification();
/** Empty for a patch number outside 0..16383. */
Bytes patchDumpRequest (int patchNumber);
Bytes tunerModeOn();
Bytes tunerModeOff();

// What the device sends (used by the device model and the tests).
/** The identity reply with a 4-character version text (padded with spaces). */
Bytes identityReply (const std::string& version, uint8_t deviceNumber = 0);
Bytes response (int code);
Bytes patchInfo (int count);

//==============================================================================
// Receiving.

enum class MessageKind
{
    ignored,          // not System Exclusive, too short, malformed, foreign, or an unknown command
    universalOther,   // a universal message that is not the device's identity reply
    parameterChange,
    editBuffer,
    identityReply,
    patchData,
    response,
    patchInfo
};

struct ParsedMessage
{
    MessageKind kind = MessageKind::ignored;
    int module = 0;      // parameterChange
    int param = 0;       // parameterChange
    int value = 0;       // parameterChange (14 bits)
    int patchNumber = 0; // patchData
    int count = 0;       // patchInfo
    int code = 0;        // response (8 for a patch dump whose check value is wrong)
    PatchRecord record {};           // editBuffer, patchData
    std::string version;             // identityReply: the 4 characters of its bytes 9..12
};

/** Parses one complete message as it came from the port (F0 ... F7). Never
    reads outside [data, data + size). Messages are ignored when they are not
    System Exclusive, when their data (the bytes after F0, without the closing
    F7) is 3 bytes or shorter, when a data byte has bit 7 set (a status byte
    inside the message: it was cut off), when they are shorter than the last
    position their command reads, or when a parameter change names a module
    above 8 or a parameter above 7. */
ParsedMessage parseMessage (const uint8_t* data, size_t size);

} // namespace T730::SysEx
