#include "engine/ModuleHost.h"

#include "engine/EngineSettings.h"

#include <atomic>
#include <cstring>

namespace T730
{

EngineSettings& getEngineSettings()
{
    static EngineSettings settings;
    return settings;
}

namespace ModuleHost
{
namespace
{
/** The time record modules are handed. Modules keep the pointer they are given
    and read it on their own threads, so a record is never rewritten while it is
    the published one: a change is written into the other record and then
    published, under a spin lock that writers hold for the copy of one record.
    Its content follows the engine settings, so after the first request it
    changes only when the sample rate does. */
struct TimeRecords
{
    TimeInfo records[2] {};
    std::atomic<int> published { 0 };
    std::atomic_flag writing = ATOMIC_FLAG_INIT;

    TimeInfo* publish (const TimeInfo& wanted)
    {
        int current = published.load (std::memory_order_acquire);
        if (std::memcmp (&records[current], &wanted, sizeof (TimeInfo)) == 0)
            return &records[current];

        while (writing.test_and_set (std::memory_order_acquire))
        {
        }

        current = published.load (std::memory_order_relaxed);
        if (std::memcmp (&records[current], &wanted, sizeof (TimeInfo)) != 0)
        {
            current = 1 - current;
            records[current] = wanted;
            published.store (current, std::memory_order_release);
        }

        writing.clear (std::memory_order_release);
        return &records[current];
    }
};

TimeRecords& timeRecords()
{
    static TimeRecords records;
    return records;
}

bool isSupportedCapability (const char* text)
{
    static const char* const supported[] = { "supplyIdle",       "sendVstEvents",       "sendVstMidiEvent",
                                             "sendVstTimeInfo",  "receiveVstEvents",    "receiveVstMidiEvent",
                                             "supportShell",     "shellCategory" };
    if (text == nullptr)
        return false;
    for (auto* name : supported)
        if (std::strcmp (text, name) == 0)
            return true;
    return false;
}

intptr_t answer (int32_t opcode, void* ptr)
{
    auto& settings = getEngineSettings();
    switch (opcode)
    {
        case kHostVersion:
            return kHostVersionAnswer;
        case kHostCurrentId:
            return 0;
        case kHostGetTime:
        {
            TimeInfo wanted {};
            wanted.sampleRate = settings.sampleRate.load();
            wanted.flags = kTimeTempoValid | kTimeQuarterNotePosValid;
            return reinterpret_cast<intptr_t> (timeRecords().publish (wanted));
        }
        case kHostSampleRate:
        case kHostSampleRateAlt:
            return (intptr_t) settings.sampleRate.load();
        case kHostBlockSize:
            return settings.blockSize.load();
        case kHostProcessLevel:
        case kHostLanguage:
            return 1;
        case kHostVendorName:
        case kHostProductName:
            if (ptr != nullptr)
            {
                auto* text = static_cast<char*> (ptr);
                std::strncpy (text, applicationName, 63);
                text[63] = 0;
            }
            return 0;
        case kHostCanDo:
            return isSupportedCapability (static_cast<const char*> (ptr)) ? 1 : 0;
        default:
            return 0;
    }
}
} // namespace

intptr_t hostCallback (AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float)
{
    try
    {
        return answer (opcode, ptr);
    }
    catch (...)
    {
        return 0;
    }
}

const TimeInfo& getTimeInfo()
{
    auto& t = timeRecords();
    return t.records[t.published.load (std::memory_order_acquire)];
}

void clearTimeInfo()
{
    timeRecords().publish (TimeInfo {});
}
} // namespace ModuleHost

} // namespace T730
