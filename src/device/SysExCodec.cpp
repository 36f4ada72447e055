#include "device/SysExCodec.h"

#include <algorithm>

namespace T730::SysEx
{

const int recordFieldWidths[numModules][fieldsPerModule] = {
    { 0, 0, 6, 0, 0 },   // 0: patch level in parameter 2
    { 1, 4, 4, 0, 0 },
    { 1, 5, 0, 5, 0 },
    { 1, 0, 6, 6, 6 },
    { 1, 0, 6, 0, 0 },
    { 1, 4, 4, 11, 0 },
    { 1, 3, 4, 9, 0 },
    { 1, 3, 4, 5, 0 },
    { 0, 0, 3, 0, 0 },   // 8: pedal assign target in parameter 2
};

int recordBitCount() noexcept
{
    int bits = 0;

    for (auto& module : recordFieldWidths)
        for (int w : module)
            bits += w;

    return bits;
}

namespace
{
    constexpr size_t bitStreamBytes = nameOffset;

    void putBits (PatchRecord& record, int position, int width, uint32_t value) noexcept
    {
        for (int b = 0; b < width; ++b)
        {
            const int bit = position + b;

            if ((size_t) (bit / 8) >= bitStreamBytes)
                return;

            if ((value >> b) & 1u)
                record[(size_t) (bit / 8)] |= (uint8_t) (1u << (bit % 8));
        }
    }

    uint32_t getBits (const PatchRecord& record, int position, int width) noexcept
    {
        uint32_t value = 0;

        for (int b = 0; b < width; ++b)
        {
            const int bit = position + b;

            if ((size_t) (bit / 8) >= bitStreamBytes)
                break;

            if ((record[(size_t) (bit / 8)] >> (bit % 8)) & 1u)
                value |= 1u << b;
        }

        return value;
    }

    Bytes makerMessage (uint8_t command)
    {
        return { 0xF0, manufacturer, 0x00, model, command, 0xF7 };
    }

    void append14 (Bytes& message, int value)
    {
        message.push_back ((uint8_t) (value & 0x7F));
        message.push_back ((uint8_t) ((value >> 7) & 0x7F));
    }

    bool isValid14 (int value) noexcept { return value >= 0 && value <= maxValue14; }

    struct CrcTable
    {
        uint32_t entries[256];

        CrcTable() noexcept
        {
            for (uint32_t n = 0; n < 256; ++n)
            {
                uint32_t c = n;

                for (int k = 0; k < 8; ++k)
                    c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;

                entries[n] = c;
            }
        }
    };
}

PatchRecord encodeRecordWithNameBytes (const int32_t* params, const std::string& nameBytes) noexcept
{
    PatchRecord record {};
    int position = 0;

    for (int m = 0; m < numModules; ++m)
    {
        for (int k = 0; k < fieldsPerModule; ++k)
        {
            const int width = recordFieldWidths[m][k];

            if (width == 0)
                continue;

            const uint32_t mask = (1u << width) - 1u;
            putBits (record, position, width, (uint32_t) params[m * paramsPerModule + k] & mask);
            position += width;
        }
    }

    for (size_t i = 0; i < nameBytes.size() && i < nameLength && nameBytes[i] != 0; ++i)
        record[nameOffset + i] = (uint8_t) nameBytes[i];

    record[recordSize - 1] = 0;
    return record;
}

PatchRecord encodeRecord (const int32_t* params, const std::string& utf8Name) noexcept
{
    std::string bytes;

    for (size_t i = 0; i < utf8Name.size() && bytes.size() < nameLength; ++i)
    {
        const auto byte = (uint8_t) utf8Name[i];

        if ((byte & 0xC0) == 0x80)   // continuation byte of a multi-byte character
            continue;

        bytes.push_back ((char) byte);
    }

    return encodeRecordWithNameBytes (params, bytes);
}

void decodeRecord (const PatchRecord& record, PatchFields& fields)
{
    int position = 0;

    for (int m = 0; m < numModules; ++m)
    {
        for (int k = 0; k < fieldsPerModule; ++k)
        {
            const int width = recordFieldWidths[m][k];
            fields.params[(size_t) (m * paramsPerModule + k)] = (int32_t) getBits (record, position, width);
            position += width;
        }
    }

    fields.name.clear();

    for (size_t i = 0; i < nameLength && record[nameOffset + i] != 0; ++i)
        fields.name.push_back ((char) record[nameOffset + i]);
}

Bytes encode7Bit (const uint8_t* data, size_t size)
{
    Bytes out;
    out.reserve (size + (size + 6) / 7);

    for (size_t start = 0; start < size; start += 7)
    {
        const size_t groupSize = std::min<size_t> (7, size - start);
        const size_t flagIndex = out.size();
        out.push_back (0);

        for (size_t i = 0; i < groupSize; ++i)
        {
            const uint8_t byte = data[start + i];

            if (byte & 0x80)
                out[flagIndex] |= (uint8_t) (1u << (6 - i));

            out.push_back (byte & 0x7F);
        }
    }

    return out;
}

size_t decode7Bit (const uint8_t* encoded, size_t encodedSize, uint8_t* out, size_t outSize) noexcept
{
    size_t written = 0;
    size_t i = 0;

    while (i < encodedSize)
    {
        const uint8_t flags = encoded[i++];

        for (size_t k = 0; k < 7 && i < encodedSize; ++k, ++i)
        {
            if (written >= outSize)
                return written;

            const uint8_t high = (flags >> (6 - k)) & 1u;
            out[written++] = (uint8_t) ((encoded[i] & 0x7F) | (high << 7));
        }
    }

    return written;
}

uint32_t crc32 (const uint8_t* data, size_t size) noexcept
{
    static const CrcTable table;
    uint32_t c = 0xFFFFFFFFu;

    for (size_t i = 0; i < size; ++i)
        c = table.entries[(c ^ data[i]) & 0xFFu] ^ (c >> 8);

    return c ^ 0xFFFFFFFFu;
}

//==============================================================================
Bytes editorOn()                 { return makerMessage (Command::editorOn); }
Bytes editorOff()                { return makerMessage (Command::editorOff); }
Bytes patchInfoRequest()         { return makerMessage (Command::patchInfoRequest); }
Bytes allDataDumpNotification()  { return makerMessage (Command::allDataDump); }
Bytes endOfDataNotification()    { return makerMessage (Command::endOfData); }
Bytes identityRequest()          { return { 0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7 }; }
Bytes tunerModeOn()              { return { 0xB0, 0x4B, 0x7F }; }
Bytes tunerModeOff()             { return { 0xB0, 0x4B, 0x00 }; }

Bytes parameterChange (int module, int param, int value)
{
    if (module < 0 || module >= numModules || param < 0 || param >= paramsPerModule || ! isValid14 (value))
        return {};

    Bytes m { 0xF0, manufacturer, 0x00, model, Command::parameterChange, (uint8_t) module, (uint8_t) param };
    append14 (m, value);
    m.push_back (0xF7);
    return m;
}

Bytes editBufferDump (const PatchRecord& record)
{
    Bytes m { 0xF0, manufacturer, 0x00, model, Command::editBufferDump };
    const auto encoded = encode7Bit (record.data(), record.size());
    m.insert (m.end(), encoded.begin(), encoded.end());
    m.push_back (0xF7);
    return m;
}

Bytes patchDataDump (int patchNumber, const PatchRecord& record)
{
    if (! isValid14 (patchNumber))
        return {};

    Bytes m { 0xF0, manufacturer, 0x00, model, Command::patchDataDump };
    append14 (m, patchNumber);
    m.push_back (0x17);
    m.push_back (0x00);

    const auto encoded = encode7Bit (record.data(), record.size());
    m.insert (m.end(), encoded.begin(), encoded.end());

    const uint32_t check = checkValue (record);

    for (int shift = 0; shift < 35; shift += 7)
        m.push_back ((uint8_t) ((check >> shift) & 0x7F));

    m.push_back (0xF7);
    return m;
}

Bytes patchDumpRequest (int patchNumber)
{
    if (! isValid14 (patchNumber))
        return {};

    Bytes m { 0xF0, manufacturer, 0x00, model, Command::patchDumpRequest };
    append14 (m, patchNumber);
    m.push_back (0xF7);
    return m;
}

Bytes identityReply (const std::string& version, uint8_t deviceNumber)
{
    Bytes m { 0xF0, 0x7E, (uint8_t) (deviceNumber & 0x7F), 0x06, 0x02, manufacturer, model, 0x00, 0x00, 0x00 };

    for (size_t i = 0; i < 4; ++i)
        m.push_back (i < version.size() ? (uint8_t) (version[i] & 0x7F) : (uint8_t) ' ');

    m.push_back (0xF7);
    return m;
}

Bytes response (int code)
{
    return { 0xF0, manufacturer, 0x00, model, Command::response, (uint8_t) (code & 0x7F), 0xF7 };
}

Bytes patchInfo (int count)
{
    Bytes m { 0xF0, manufacturer, 0x00, model, Command::patchInfo };
    append14 (m, count);
    m.push_back (0xF7);
    return m;
}

//==============================================================================
ParsedMessage parseMessage (const uint8_t* message, size_t size)
{
    ParsedMessage result;

    if (message == nullptr || size < 2 || message[0] != 0xF0)
        return result;

    // The data: everything after F0, up to (not including) a closing F7.
    const uint8_t* d = message + 1;
    size_t n = size - 1;

    if (d[n - 1] == 0xF7)
        --n;

    if (n <= 3)
        return result;

    for (size_t i = 0; i < n; ++i)
        if (d[i] & 0x80)
            return result;

    if (d[0] == 0x7E || d[0] == 0x7F)
    {
        result.kind = MessageKind::universalOther;

        if (n >= 13 && d[0] == 0x7E && d[2] == 0x06 && d[3] == 0x02 && d[4] == manufacturer && d[5] == model)
        {
            result.kind = MessageKind::identityReply;
            result.version.assign (reinterpret_cast<const char*> (d + 9), 4);
        }

        return result;
    }

    if (d[0] != manufacturer || d[2] != model)
        return result;

    switch (d[3])
    {
        case Command::response:
            if (n >= 5)
            {
                result.kind = MessageKind::response;
                result.code = d[4];
            }
            break;

        case Command::patchInfo:
            if (n >= 6)
            {
                result.kind = MessageKind::patchInfo;
                result.count = d[4] | (d[5] << 7);
            }
            break;

        case Command::patchDataDump:
            if (n >= 40)
            {
                PatchRecord record {};
                decode7Bit (d + 8, encodedRecordSize, record.data(), record.size());

                uint32_t check = 0;

                for (int i = 0; i < 5; ++i)
                    check |= (uint32_t) d[35 + i] << (7 * i);

                if (~check == crc32 (record.data(), record.size()))
                {
                    result.kind = MessageKind::patchData;
                    result.patchNumber = d[4] | (d[5] << 7);
                    result.record = record;
                }
                else
                {
                    result.kind = MessageKind::response;
                    result.code = 8;
                }
            }
            break;

        case Command::editBufferDump:
            if (n >= 31)
            {
                result.kind = MessageKind::editBuffer;
                decode7Bit (d + 4, encodedRecordSize, result.record.data(), result.record.size());
            }
            break;

        case Command::parameterChange:
            if (n >= 8 && d[4] < numModules && d[5] < paramsPerModule)
            {
                result.kind = MessageKind::parameterChange;
                result.module = d[4];
                result.param = d[5];
                result.value = (d[6] & 0x7F) | ((d[7] & 0x7F) << 7);
            }
            break;

        default:
            break;
    }

    return result;
}

} // namespace T730::SysEx
