// The receive parser under AddressSanitizer and UndefinedBehaviorSanitizer:
// this program is compiled, with the codec's own source, with the sanitizers
// on, whatever the build type. Every message lives in a buffer of exactly its
// size, so a read past the end is caught. Exit code 0 = no fault found.

#include "device/SysExCodec.h"

#include <cstdio>
#include <memory>
#include <random>

using namespace T730;

namespace
{
    int checkFailures = 0;

    void expect (bool condition, const char* what)
    {
        if (! condition && ++checkFailures < 10)
            std::fprintf (stderr, "storm check failed: %s\n", what);
    }

    void feed (const SysEx::Bytes& message, SysEx::PatchFields& fields)
    {
        // An exact-size heap copy, so ASan sees any read past its end.
        std::unique_ptr<uint8_t[]> copy (new uint8_t[message.size() + (message.empty() ? 1 : 0)]);
        std::copy (message.begin(), message.end(), copy.get());

        const auto parsed = SysEx::parseMessage (copy.get(), message.size());

        switch (parsed.kind)
        {
            case SysEx::MessageKind::parameterChange:
                expect (parsed.module >= 0 && parsed.module < 9, "module in range");
                expect (parsed.param >= 0 && parsed.param < 8, "parameter in range");
                expect (parsed.value >= 0 && parsed.value <= 0x3FFF, "14-bit value");
                break;
            case SysEx::MessageKind::patchData:
                expect (parsed.patchNumber >= 0 && parsed.patchNumber <= 0x3FFF, "14-bit patch number");
                SysEx::decodeRecord (parsed.record, fields);
                expect (fields.name.size() <= 8, "name of at most 8");
                break;
            case SysEx::MessageKind::editBuffer:
                SysEx::decodeRecord (parsed.record, fields);
                break;
            case SysEx::MessageKind::patchInfo:
                expect (parsed.count >= 0 && parsed.count <= 0x3FFF, "14-bit count");
                break;
            case SysEx::MessageKind::identityReply:
                expect (parsed.version.size() == 4, "4-character version");
                break;
            default:
                break;
        }

        // The 7-bit decoder over the same bytes, into a smaller exact-size buffer.
        std::unique_ptr<uint8_t[]> out (new uint8_t[SysEx::recordSize]);
        const auto n = SysEx::decode7Bit (copy.get(), message.size(), out.get(), SysEx::recordSize);
        expect (n <= SysEx::recordSize, "7-bit decode bounded");
    }
}

int main()
{
    std::mt19937 random (20240611);
    SysEx::PatchFields fields;

    std::array<int32_t, SysEx::numParams> params {};
    for (auto& p : params)
        p = (int32_t) random();

    const auto record = SysEx::encodeRecord (params.data(), "Storm!!!");
    const std::vector<SysEx::Bytes> seeds {
        SysEx::patchDataDump (123, record), SysEx::editBufferDump (record), SysEx::parameterChange (8, 7, 0x3FFF),
        SysEx::identityReply ("1.00"), SysEx::patchInfo (100), SysEx::response (0), SysEx::identityRequest(),
        SysEx::patchDumpRequest (99), SysEx::editorOn()
    };

    const int total = 150000;

    for (int i = 0; i < total; ++i)
    {
        SysEx::Bytes m;

        switch (i % 4)
        {
            case 0:   // random bytes, often starting like a SysEx message
                m.resize (random() % 80);
                for (auto& b : m)
                    b = (uint8_t) random();
                if (! m.empty() && (random() % 4) != 0)
                    m[0] = 0xF0;
                if (m.size() > 3 && (random() % 2) == 0)
                {
                    m[1] = 0x52;
                    m[3] = 0x4B;
                    for (size_t k = 1; k < m.size(); ++k)
                        m[k] &= 0x7F;
                }
                break;

            case 1:   // a valid message cut anywhere, with or without a closing F7
                m = seeds[random() % seeds.size()];
                m.resize (random() % (m.size() + 1));
                if (random() % 2)
                    m.push_back (0xF7);
                break;

            case 2:   // a valid message with data bits flipped (still 7-bit)
                m = seeds[random() % seeds.size()];
                for (int flips = 1 + (int) (random() % 4); flips > 0; --flips)
                    if (m.size() > 2)
                        m[1 + random() % (m.size() - 2)] ^= (uint8_t) (1u << (random() % 7));
                break;

            default:  // a valid message grown or with a status byte dropped in
                m = seeds[random() % seeds.size()];
                if (random() % 2)
                    m.insert (m.end() - 1, (size_t) (random() % 20), (uint8_t) (random() & 0x7F));
                else
                    m[random() % m.size()] = (uint8_t) (0x80 | random());
                break;
        }

        feed (m, fields);
    }

    std::printf ("%d messages parsed, %d check failures\n", total, checkFailures);
    return checkFailures == 0 ? 0 : 1;
}
