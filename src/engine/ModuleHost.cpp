#include "engine/ModuleHost.h"

#include "engine/EngineSettings.h"

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
/** One record for the whole process: modules keep the pointer they are given.
    Rebuilt by whichever thread asks (the module's processing thread). It is built
    whole beside and copied in one assignment, so a module reading it meanwhile
    never sees the rate or the flags pass through 0. */
TimeInfo timeInfo {};

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
            TimeInfo rebuilt {};
            rebuilt.sampleRate = settings.sampleRate.load();
            rebuilt.flags = kTimeTempoValid | kTimeQuarterNotePosValid;
            timeInfo = rebuilt;
            return reinterpret_cast<intptr_t> (&timeInfo);
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
    return timeInfo;
}

void clearTimeInfo()
{
    timeInfo = {};
}
} // namespace ModuleHost

} // namespace T730
