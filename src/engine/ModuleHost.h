#pragma once

#include <oxa/ModuleAbi.h>

namespace T730
{

/** The host side of the effect module interface: the callback handed to every
    module, and the transport record it answers to kHostGetTime. */
namespace ModuleHost
{
    /** Answers a module's request. Never throws. */
    intptr_t hostCallback (AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    /** The process-wide transport record as last handed out; rebuilt on each request. */
    const TimeInfo& getTimeInfo();

    /** Clears the transport record (the audio engine does this when it is built). */
    void clearTimeInfo();

    /** The name answered to the vendor and product queries. */
    inline constexpr const char* applicationName = "OXA Tools";
}

} // namespace T730
