#include "device/SysExCodec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

using namespace T730;
using SysEx::Bytes;

namespace
{
    // Every carried field at its maximum, everything else 0.
    std::array<int32_t, SysEx::numParams> maxFields()
    {
        std::array<int32_t, SysEx::numParams> params {};

        for (int m = 0; m < SysEx::numModules; ++m)
            for (int k = 0; k < SysEx::fieldsPerModule; ++k)
                if (const int w = SysEx::recordFieldWidths[m][k]; w > 0)
                    params[(size_t) (m * 8 + k)] = (1 << w) - 1;

        return params;
    }
}

TEST (DeviceSysExCodec, FixedMessagesMatchTheProtocol)
{
    EXPECT_EQ (SysEx::editorOn(), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x50, 0xF7 }));
    EXPECT_EQ (SysEx::editorOff(), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x51, 0xF7 }));
    EXPECT_EQ (SysEx::identityRequest(), (Bytes { 0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7 }));
    EXPECT_EQ (SysEx::patchInfoRequest(), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x07, 0xF7 }));
    EXPECT_EQ (SysEx::allDataDumpNotification(), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x05, 0xF7 }));
    EXPECT_EQ (SysEx::endOfDataNotification(), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x04, 0xF7 }));
    EXPECT_EQ (SysEx::tunerModeOn(), (Bytes { 0xB0, 0x4B, 0x7F }));
    EXPECT_EQ (SysEx::tunerModeOff(), (Bytes { 0xB0, 0x4B, 0x00 }));
    EXPECT_EQ (SysEx::parameterChange (5, 3, 0x3FFF), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x31, 5, 3, 0x7F, 0x7F, 0xF7 }));
    EXPECT_EQ (SysEx::parameterChange (2, 1, 200), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x31, 2, 1, 0x48, 0x01, 0xF7 }));
}

TEST (DeviceSysExCodec, PatchNumbersTravelAsTwoSevenBitBytes)
{
    EXPECT_EQ (SysEx::patchDumpRequest (200), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x09, 0x48, 0x01, 0xF7 }));

    const auto dump = SysEx::patchDataDump (200, SysEx::PatchRecord {});
    ASSERT_EQ (dump.size(), 42u);   // length 40 between F0 and F7
    EXPECT_EQ (Bytes (dump.begin(), dump.begin() + 9), (Bytes { 0xF0, 0x52, 0x00, 0x4B, 0x08, 0x48, 0x01, 0x17, 0x00 }));
    EXPECT_EQ (dump.back(), 0xF7);

    EXPECT_EQ (SysEx::editBufferDump (SysEx::PatchRecord {}).size(), 33u);   // length 31
}

TEST (DeviceSysExCodec, ValuesThatDoNotFitAreNeverSent)
{
    EXPECT_TRUE (SysEx::parameterChange (9, 0, 1).empty());
    EXPECT_TRUE (SysEx::parameterChange (0, 8, 1).empty());
    EXPECT_TRUE (SysEx::parameterChange (-1, 0, 1).empty());
    EXPECT_TRUE (SysEx::parameterChange (0, 0, 0x4000).empty());
    EXPECT_TRUE (SysEx::parameterChange (0, 0, -1).empty());
    EXPECT_TRUE (SysEx::patchDumpRequest (0x4000).empty());
    EXPECT_TRUE (SysEx::patchDataDump (-1, SysEx::PatchRecord {}).empty());
}

TEST (DeviceSysExCodec, SevenBitGroupsAndFlagBits)
{
    std::array<uint8_t, 23> data {};
    data[2] = 0x80;    // third byte of the first group
    data[21] = 0xFF;   // first byte of the last group of 2
    data[22] = 0x81;

    const auto encoded = SysEx::encode7Bit (data.data(), data.size());
    ASSERT_EQ (encoded.size(), 27u);
    EXPECT_EQ (encoded[0], 0x10);    // bit 4: the group's third byte
    EXPECT_EQ (encoded[3], 0x00);
    EXPECT_EQ (encoded[24], 0x60);   // bits 6 and 5 of the two-byte group
    EXPECT_EQ (encoded[25], 0x7F);
    EXPECT_EQ (encoded[26], 0x01);

    for (auto b : encoded)
        EXPECT_LT (b, 0x80);

    std::array<uint8_t, 23> decoded {};
    EXPECT_EQ (SysEx::decode7Bit (encoded.data(), encoded.size(), decoded.data(), decoded.size()), 23u);
    EXPECT_EQ (decoded, data);
}

TEST (DeviceSysExCodec, CheckValueIsTheComplementOfZlibsCrc)
{
    std::mt19937 random (11);

    for (int i = 0; i < 50; ++i)
    {
        SysEx::PatchRecord record;

        for (auto& b : record)
            b = (uint8_t) random();

        const auto zlibCrc = (uint32_t) ::crc32 (0L, record.data(), (uInt) record.size());
        EXPECT_EQ (SysEx::crc32 (record.data(), record.size()), zlibCrc);
        EXPECT_EQ (SysEx::checkValue (record), ~zlibCrc);

        // The five check bytes of a dump, least significant first.
        const auto dump = SysEx::patchDataDump (1, record);
        const uint32_t check = ~zlibCrc;

        for (int k = 0; k < 5; ++k)
            EXPECT_EQ (dump[(size_t) (36 + k)], (check >> (7 * k)) & 0x7F);
    }

    const uint8_t text[] = { '1', '2', '3', '4', '5', '6', '7', '8', '9' };
    EXPECT_EQ (SysEx::crc32 (text, sizeof (text)), 0xCBF43926u);   // the standard check value
}

TEST (DeviceSysExCodec, RecordLayoutCarriesParametersZeroToFourOfEachModule)
{
    EXPECT_EQ (SysEx::recordBitCount(), 105);

    // The patch level (module 0 parameter 2) is the first field: bits 0..5.
    std::array<int32_t, SysEx::numParams> params {};
    params[0 * 8 + 2] = 49;
    auto record = SysEx::encodeRecord (params.data(), "");
    EXPECT_EQ (record[0], 49);
    EXPECT_EQ (record[1], 0);

    // Module 1's on/off switch (parameter 0) is the next bit, its type (parameter 1) the 4 after it.
    params = {};
    params[1 * 8 + 0] = 1;
    params[1 * 8 + 1] = 0xF;
    record = SysEx::encodeRecord (params.data(), "");
    EXPECT_EQ (record[0], 0xC0);   // bits 6, 7
    EXPECT_EQ (record[1], 0x07);   // bits 8..10

    // The pedal assign target (module 8 parameter 2) is the last field: bits 102..104.
    params = {};
    params[8 * 8 + 2] = 5;
    record = SysEx::encodeRecord (params.data(), "");
    EXPECT_EQ (record[12], 0x40);  // bit 102
    EXPECT_EQ (record[13], 0x01);  // bit 104

    // Parameters 5..7 are not carried; a width-0 field decodes as 0.
    params = {};
    params[3 * 8 + 5] = 1;
    params[3 * 8 + 6] = 1;
    params[0 * 8 + 0] = 1;
    record = SysEx::encodeRecord (params.data(), "");
    EXPECT_EQ (record, SysEx::PatchRecord {});
}

TEST (DeviceSysExCodec, FullRecordSurvivesTheWholeDumpPath)
{
    const auto params = maxFields();
    const auto dump = SysEx::patchDataDump (99, SysEx::encodeRecord (params.data(), "ABCDEFGH"));

    const auto parsed = SysEx::parseMessage (dump.data(), dump.size());
    ASSERT_EQ (parsed.kind, SysEx::MessageKind::patchData);
    EXPECT_EQ (parsed.patchNumber, 99);

    SysEx::PatchFields fields;
    SysEx::decodeRecord (parsed.record, fields);
    EXPECT_EQ (fields.params, params);
    EXPECT_EQ (fields.name, "ABCDEFGH");
}

TEST (DeviceSysExCodec, NamesAreCutToEightAndPaddedWithZeros)
{
    std::array<int32_t, SysEx::numParams> params {};
    auto record = SysEx::encodeRecord (params.data(), "Overdrive Lead");
    EXPECT_EQ (std::string (record.begin() + 14, record.begin() + 22), "Overdriv");
    EXPECT_EQ (record[22], 0);

    record = SysEx::encodeRecord (params.data(), "Cln");
    EXPECT_EQ (record[17], 0);
    EXPECT_EQ (record[21], 0);
    SysEx::PatchFields fields;
    SysEx::decodeRecord (record, fields);
    EXPECT_EQ (fields.name, "Cln");

    // One byte per character: the lead byte of "é" (C3 A9), then the next character.
    record = SysEx::encodeRecord (params.data(), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ (record[14], 0xC3);
    EXPECT_EQ (record[15], 't');
    EXPECT_EQ (record[16], 0xC3);
    EXPECT_EQ (record[17], 0);
}

TEST (DeviceSysExCodec, ValuesWiderThanTheirFieldDoNotSpillIntoTheNext)
{
    std::array<int32_t, SysEx::numParams> params {};
    params[1 * 8 + 1] = 0x1F;   // 5 bits into a 4-bit field
    params[0 * 8 + 2] = -1;     // a negative level
    const auto record = SysEx::encodeRecord (params.data(), "");

    SysEx::PatchFields fields;
    SysEx::decodeRecord (record, fields);
    EXPECT_EQ (fields.params[1 * 8 + 1], 0xF);
    EXPECT_EQ (fields.params[1 * 8 + 2], 0);    // the next field stays clean
    EXPECT_EQ (fields.params[0 * 8 + 2], 63);
    EXPECT_EQ (fields.params[1 * 8 + 0], 0);
}

TEST (DeviceSysExParser, ReceivedMessages)
{
    auto parse = [] (const Bytes& m) { return SysEx::parseMessage (m.data(), m.size()); };

    auto p = parse (SysEx::identityReply ("2.10", 0x05));
    ASSERT_EQ (p.kind, SysEx::MessageKind::identityReply);
    EXPECT_EQ (p.version, "2.10");

    auto foreign = SysEx::identityReply ("2.10");
    foreign[5] = 0x41;   // another maker
    EXPECT_EQ (parse (foreign).kind, SysEx::MessageKind::universalOther);

    p = parse (SysEx::response (3));
    ASSERT_EQ (p.kind, SysEx::MessageKind::response);
    EXPECT_EQ (p.code, 3);

    p = parse (SysEx::patchInfo (300));
    ASSERT_EQ (p.kind, SysEx::MessageKind::patchInfo);
    EXPECT_EQ (p.count, 300);

    // Any device number is accepted.
    p = parse ({ 0xF0, 0x52, 0x11, 0x4B, 0x31, 8, 7, 0x01, 0x02, 0xF7 });
    ASSERT_EQ (p.kind, SysEx::MessageKind::parameterChange);
    EXPECT_EQ (p.module, 8);
    EXPECT_EQ (p.param, 7);
    EXPECT_EQ (p.value, 0x101);

    // Out-of-range modules and parameters, other models and unknown commands.
    EXPECT_EQ (parse ({ 0xF0, 0x52, 0x00, 0x4B, 0x31, 9, 0, 1, 0, 0xF7 }).kind, SysEx::MessageKind::ignored);
    EXPECT_EQ (parse ({ 0xF0, 0x52, 0x00, 0x4B, 0x31, 0, 8, 1, 0, 0xF7 }).kind, SysEx::MessageKind::ignored);
    EXPECT_EQ (parse ({ 0xF0, 0x52, 0x00, 0x4C, 0x00, 0, 0xF7 }).kind, SysEx::MessageKind::ignored);
    EXPECT_EQ (parse ({ 0xF0, 0x52, 0x00, 0x4B, 0x33, 0, 0xF7 }).kind, SysEx::MessageKind::ignored);
    EXPECT_EQ (parse ({ 0x90, 0x40, 0x7F }).kind, SysEx::MessageKind::ignored);
    // Data of 3 bytes or fewer.
    EXPECT_EQ (parse ({ 0xF0, 0x52, 0x00, 0x4B, 0xF7 }).kind, SysEx::MessageKind::ignored);
    // A status byte inside: the message was cut off.
    EXPECT_EQ (parse ({ 0xF0, 0x52, 0x00, 0x4B, 0x06, 0x90, 0x01, 0xF7 }).kind, SysEx::MessageKind::ignored);
}

TEST (DeviceSysExParser, WrongCheckValueBecomesResponseEight)
{
    std::array<int32_t, SysEx::numParams> params {};
    params[5 * 8 + 3] = 1000;
    auto dump = SysEx::patchDataDump (7, SysEx::encodeRecord (params.data(), "Check"));
    dump[37] ^= 0x01;

    const auto p = SysEx::parseMessage (dump.data(), dump.size());
    EXPECT_EQ (p.kind, SysEx::MessageKind::response);
    EXPECT_EQ (p.code, 8);
}

TEST (DeviceSysExParser, TruncatedMessagesAreIgnored)
{
    std::array<int32_t, SysEx::numParams> params {};
    const auto record = SysEx::encodeRecord (params.data(), "Trunc");
    const Bytes full[] = { SysEx::patchDataDump (3, record), SysEx::editBufferDump (record),
                           SysEx::parameterChange (1, 1, 1), SysEx::patchInfo (100), SysEx::identityReply ("1.00") };

    for (const auto& message : full)
    {
        // Every prefix, with and without a closing F7, parses to nothing.
        for (size_t cut = 0; cut + 1 < message.size(); ++cut)
        {
            Bytes prefix (message.begin(), message.begin() + (long) cut);
            const auto kind = SysEx::parseMessage (prefix.data(), prefix.size()).kind;
            EXPECT_TRUE (kind == SysEx::MessageKind::ignored || kind == SysEx::MessageKind::universalOther) << cut;

            prefix.push_back (0xF7);
            const auto closed = SysEx::parseMessage (prefix.data(), prefix.size()).kind;
            EXPECT_TRUE (closed == SysEx::MessageKind::ignored || closed == SysEx::MessageKind::universalOther) << cut;
        }
    }
}
