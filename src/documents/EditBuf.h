#pragma once

#include "documents/UserData.h"

#include <cstdint>

namespace T730
{

/** One complete patch of the M7c: a name and 9 modules of 8 parameter values.

    params[m * 8 + p] is parameter p of module m. The tool set's buffer is the
    device's current patch and is written by the MIDI input thread, so every
    access from another thread holds `lock`; copying between two buffers takes
    the source's lock first, then the destination's. */
class EditBuf : public UserData
{
public:
    static constexpr int numModules = 9;
    static constexpr int paramsPerModule = 8;
    static constexpr int numParams = numModules * paramsPerModule;

    /** The pedal assign target lives in module 8, parameter 2. */
    static constexpr int assignTargetModule = 8;
    static constexpr int assignTargetParam = 2;

    EditBuf();
    EditBuf (const EditBuf& other);
    EditBuf& operator= (const EditBuf& other);
    ~EditBuf() = default;

    /** Name "No Name" and the factory parameter values. */
    void reset();

    bool read (const juce::XmlElement* element) override;
    bool write (juce::XmlElement* element) override;

    /** Parameter p of module m; 0 for a position outside the buffer. Callers
        that race with the MIDI thread hold `lock`. */
    int getParam (int module, int param) const noexcept;

    /** Sets parameter p of module m; positions outside the buffer are ignored. */
    void setParam (int module, int param, int value) noexcept;

    static bool isValidPosition (int module, int param) noexcept
    {
        return module >= 0 && module < numModules && param >= 0 && param < paramsPerModule;
    }

    /** The parameters and the name compare equal (the lock is not part of the value). */
    bool sameContentAs (const EditBuf& other) const;

    // Written by the message thread and, for the tool set's buffer, by the MIDI
    // input thread; guarded by `lock`.
    int32_t params[numParams];
    juce::String name;

    /** Guards params and name. Never copied. */
    juce::CriticalSection lock;
};

} // namespace T730
