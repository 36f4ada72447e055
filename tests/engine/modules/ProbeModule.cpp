// A small effect module for the engine tests, built in several variants:
//   OXA_PROBE_ENTRY        exports "OxTypeIF"
//   OXA_PROBE_LEGACY       exports only "getinterface"
//   OXA_PROBE_BAD_MAGIC    exports "OxTypeIF" but hands out a record with a wrong magic
//   (none of them)         exports no entry point at all
//
// Parameters (40, more than the host keeps):
//   0: integer 0..3   1: switch   2: no description (300 steps)   3: float step 0.1
//   4: integer 0..9, set by the tap time (seconds / 10)   others: no description
// Processing doubles the input and reports the frame count to the listener.
// Creating and closing an object leave the rounding mode changed, as a careless
// module might: the host resets the floating-point state around those calls.

#include <oxa/ModuleAbi.h>

#include <atomic>
#include <cfenv>
#include <cstdio>
#include <cstring>

using namespace T730;

namespace
{
std::atomic<int> liveObjects { 0 };
std::atomic<int> createdObjects { 0 };
HostCallback lastHost = nullptr;

class ProbeEffect final : public EffectObject
{
public:
    ProbeEffect()
    {
        record.abiVersion = kModuleAbiVersion;
        record.effect = &effect;
        effect = {};
        effect.magic =
#ifdef OXA_PROBE_BAD_MAGIC
            0x12345678;
#else
            kEffectMagic;
#endif
        effect.dispatcher = &dispatch;
        effect.numParams = 40;
        effect.numInputs = effect.numOutputs = 2;
        effect.object = this;
        for (auto& v : values)
            v = 0.25f;
        ++liveObjects;
        ++createdObjects;
    }

    ~ProbeEffect() override { --liveObjects; }

    ModuleRecord* getRecord() { return &record; }

    intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t, void* ptr, float) override
    {
        auto* text = static_cast<char*> (ptr);
        switch (opcode)
        {
            case kEffClose: delete this; std::fesetround (FE_UPWARD); return 1;
            case kEffParamLabel: std::snprintf (text, kTextBufferSize, "%s", index == 0 ? "ms" : ""); return 0;
            case kEffParamDisplay: std::snprintf (text, kTextBufferSize, "%d", (int) (values[index] * 100.0f)); return 0;
            case kEffParamName: std::snprintf (text, kTextBufferSize, "Prm%d", index); return 0;
            default: return 0;
        }
    }

    void setSampleRate (float rate) override { sampleRate = rate; }
    void setBlockSize (int32_t frames) override { blockSize = frames; }

    void processDoubleReplacing (double** in, double** out, int32_t frames) override
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i)
                out[c][i] = in[c][i] * 2.0;
        if (listener != nullptr)
            listener->listnerNotify ((float) frames);
    }

    void setParameter (int32_t index, float value) override
    {
        if (index >= 0 && index < 40)
            values[index] = value;
    }

    float getParameter (int32_t index) override { return index >= 0 && index < 40 ? values[index] : 0.0f; }

    AEffect* getAeffect() override { return &effect; }

    bool getParameterProperties (int32_t index, EffectParamProperties* p) override
    {
        switch (index)
        {
            case 0: p->flags = kParamUsesIntegerMinMax; p->minInteger = 0; p->maxInteger = 3; return true;
            case 1: p->flags = kParamIsSwitch; return true;
            case 3: p->flags = kParamUsesFloatStep; p->smallStepFloat = 0.1f; return true;
            case 4: p->flags = kParamUsesIntegerMinMax; p->minInteger = 0; p->maxInteger = 9; return true;
            default: return false;
        }
    }

    int32_t moduleQuery152() override { return 52; }
    int32_t moduleQuery153() override { return 53; }
    int32_t moduleQuery154 (int32_t i) override { return 540 + i; }
    int32_t moduleQuery155 (int32_t i) override { return 550 + i; }
    int32_t moduleQuery156 (int32_t i) override { return 560 + i; }
    int32_t moduleQuery157 (int32_t i) override { return 570 + i; }
    int32_t moduleQuery158() override { return 58; }

    void setListener (Ox_VstListner* l) override { listener = l; }

    void getDisplayTextForValue (int32_t, float value, char* text) override
    {
        std::snprintf (text, kTextBufferSize, "v%.3f", (double) value);
    }

    void setTapTime (float seconds) override { values[4] = seconds / 10.0f; }

    float sampleRate = 0.0f;
    int blockSize = 0;

private:
    ModuleRecord record {};
    AEffect effect {};
    float values[40] {};
    Ox_VstListner* listener = nullptr;

    static intptr_t dispatch (AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
    {
        return e->object->dispatcher (opcode, index, value, ptr, opt);
    }
};

#ifdef OXA_PROBE_BAD_MAGIC
// The host never closes an object whose record it does not trust; the library
// frees them when it is unloaded.
ProbeEffect* untrusted[64] = {};
std::atomic<int> untrustedCount { 0 };

__attribute__ ((destructor)) void freeUntrusted()
{
    for (int i = 0; i < untrustedCount && i < 64; ++i)
        delete untrusted[i];
}
#endif

[[maybe_unused]] ModuleRecord* makeObject (HostCallback host)
{
    lastHost = host;
    std::fesetround (FE_DOWNWARD);
    auto* object = new ProbeEffect();
#ifdef OXA_PROBE_BAD_MAGIC
    const int slot = untrustedCount++;
    if (slot < 64)
        untrusted[slot] = object;
#endif
    return object->getRecord();
}
} // namespace

extern "C"
{
#if defined(OXA_PROBE_ENTRY) || defined(OXA_PROBE_BAD_MAGIC)
__attribute__ ((visibility ("default"))) ModuleRecord* OxTypeIF (HostCallback host) { return makeObject (host); }
#endif
#ifdef OXA_PROBE_LEGACY
__attribute__ ((visibility ("default"))) ModuleRecord* getinterface (HostCallback host) { return makeObject (host); }
#endif

/** Objects alive now, and made so far (the loader's probe included). */
__attribute__ ((visibility ("default"))) int probeLiveObjects() { return liveObjects; }
__attribute__ ((visibility ("default"))) int probeCreatedObjects() { return createdObjects; }

/** What the host answers to a request, asked through the callback the module was given. */
__attribute__ ((visibility ("default"))) intptr_t probeAskHost (int32_t opcode, void* ptr)
{
    return lastHost != nullptr ? lastHost (nullptr, opcode, 0, 0, ptr, 0.0f) : -12345;
}

/** The rate and block size the last object was given (through its pointer). */
__attribute__ ((visibility ("default"))) float probeSampleRate (EffectObject* object)
{
    return static_cast<ProbeEffect*> (object)->sampleRate;
}
__attribute__ ((visibility ("default"))) int probeBlockSize (EffectObject* object)
{
    return static_cast<ProbeEffect*> (object)->blockSize;
}
}
