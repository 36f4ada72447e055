#pragma once

#include "oxa/ModuleAbi.h"

#include <atomic>
#include <cstdint>

namespace T730::Modules
{

/** Common ground of our effect modules: owns the ModuleRecord and the AEffect, keeps the
    parameters (0.0 to 1.0, readable from any thread), answers the dispatcher's text opcodes
    through the hooks below and the module-own queries with neutral values.

    Threads: setParameter may come from the message thread while processDoubleReplacing runs
    on the audio thread; the parameter values and the listener are atomics for that reason. */
class ModuleBase : public EffectObject
{
public:
    static constexpr int kMaxParams = 8;

    ModuleBase (HostCallback host, int numParams, int32_t uniqueId);
    ~ModuleBase() override = default;

    ModuleRecord* getRecord() noexcept { return &record; }

    intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;
    void setSampleRate (float newRate) override;
    void setBlockSize (int32_t newBlockSize) override;
    void setParameter (int32_t index, float value) override;
    float getParameter (int32_t index) override;
    AEffect* getAeffect() override { return &effect; }
    bool getParameterProperties (int32_t index, EffectParamProperties* properties) override;

    int32_t moduleQuery152() override { return 1; }
    int32_t moduleQuery153() override { return 1; }
    int32_t moduleQuery154 (int32_t) override { return 2; }
    int32_t moduleQuery155 (int32_t) override { return 1; }
    int32_t moduleQuery156 (int32_t) override { return 0; }
    int32_t moduleQuery157 (int32_t) override { return 0; }
    int32_t moduleQuery158() override { return -1; }
    void setListener (Ox_VstListner* newListener) override { listener.store (newListener); }
    void getDisplayTextForValue (int32_t index, float value, char* text) override;
    void setTapTime (float) override {}

protected:
    /** Texts of a parameter; `text` holds kTextBufferSize bytes. The index is in range. */
    virtual void paramName (int index, char* text) const = 0;
    virtual void paramLabel (int index, char* text) const = 0;
    virtual void paramDisplay (int index, float value, char* text) const = 0;
    /** Fills the properties of a parameter (the record arrives zeroed). */
    virtual void describeParam (int index, EffectParamProperties& properties) const = 0;
    /** Called after a parameter changed, on the caller's thread. */
    virtual void parameterChanged (int index, float value) {}
    virtual void sampleRateChanged() {}
    virtual void blockSizeChanged() {}

    bool isValidParam (int32_t index) const noexcept { return index >= 0 && index < effect.numParams; }
    float param (int index) const noexcept { return params[index].load (std::memory_order_relaxed); }
    void initParam (int index, float value) noexcept { params[index].store (value); }

    /** Reports a value to the attached listener, if any (called on the processing thread). */
    void notifyListener (float value) noexcept;

    /** Copies `text` into a host buffer of kTextBufferSize bytes. */
    static void copyText (char* dest, const char* text) noexcept;

    /** Copies both channels from in to out unless the host processes in place. */
    static void passThrough (double** inputs, double** outputs, int32_t frames) noexcept;

    HostCallback hostCallback;
    double sampleRate = 44100.0;   // written before processing starts (setSampleRate)
    int blockSize = 512;           // written before processing starts (setBlockSize)

private:
    static intptr_t dispatchThunk (AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                   void* ptr, float opt);

    ModuleRecord record {};
    AEffect effect {};
    std::atomic<float> params[kMaxParams] {};
    std::atomic<Ox_VstListner*> listener { nullptr };
};

/** Creates a module object for an entry point; null when construction throws. */
template <typename Module>
ModuleRecord* createModuleRecord (HostCallback host) noexcept
{
    try
    {
        return (new Module (host))->getRecord();
    }
    catch (...)
    {
        return nullptr;
    }
}

} // namespace T730::Modules

/** Exports both entry points of a module library. */
#define OXA_EXPORT_MODULE(ModuleClass)                                                          \
    extern "C" __attribute__ ((visibility ("default"))) T730::ModuleRecord* OxTypeIF (          \
        T730::HostCallback host)                                                                \
    {                                                                                           \
        return T730::Modules::createModuleRecord<ModuleClass> (host);                          \
    }                                                                                           \
    extern "C" __attribute__ ((visibility ("default"))) T730::ModuleRecord* getinterface (      \
        T730::HostCallback host)                                                                \
    {                                                                                           \
        return T730::Modules::createModuleRecord<ModuleClass> (host);                          \
    }
