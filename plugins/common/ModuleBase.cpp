#include "ModuleBase.h"

#include <algorithm>
#include <cstring>

namespace T730::Modules
{

ModuleBase::ModuleBase (HostCallback host, int numParams, int32_t uniqueId)
    : hostCallback (host)
{
    effect.magic = kEffectMagic;
    effect.dispatcher = &ModuleBase::dispatchThunk;
    effect.numParams = std::clamp (numParams, 0, kMaxParams);
    effect.numInputs = 2;
    effect.numOutputs = 2;
    effect.flags = kEffectFlagCanDoubleReplacing;
    effect.uniqueId = uniqueId;
    effect.version = 1000;
    effect.object = this;
    record.abiVersion = kModuleAbiVersion;
    record.effect = &effect;
}

intptr_t ModuleBase::dispatchThunk (AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt)
{
    if (e == nullptr || e->object == nullptr)
        return 0;

    if (opcode == kEffClose)
    {
        delete e->object;   // the AEffect dies with it
        return 1;
    }
    return e->object->dispatcher (opcode, index, value, ptr, opt);
}

intptr_t ModuleBase::dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    switch (opcode)
    {
        case kEffOpen:
            return 0;
        case kEffParamLabel:
        case kEffParamDisplay:
        case kEffParamName:
        {
            if (ptr == nullptr || ! isValidParam (index))
                return 0;
            auto* text = static_cast<char*> (ptr);
            if (opcode == kEffParamLabel)
                paramLabel (index, text);
            else if (opcode == kEffParamName)
                paramName (index, text);
            else
                paramDisplay (index, param (index), text);
            text[kTextBufferSize - 1] = 0;
            return 1;
        }
        case kEffSetSampleRate:
            setSampleRate (opt);
            return 1;
        case kEffSetBlockSize:
            setBlockSize (static_cast<int32_t> (value));
            return 1;
        default:
            return 0;
    }
}

void ModuleBase::setSampleRate (float newRate)
{
    if (newRate > 0.0f && newRate != static_cast<float> (sampleRate))
    {
        sampleRate = newRate;
        sampleRateChanged();
    }
}

void ModuleBase::setBlockSize (int32_t newBlockSize)
{
    if (newBlockSize > 0 && newBlockSize != blockSize)
    {
        blockSize = newBlockSize;
        blockSizeChanged();
    }
}

void ModuleBase::setParameter (int32_t index, float value)
{
    if (! isValidParam (index))
        return;
    value = std::clamp (value, 0.0f, 1.0f);
    params[index].store (value, std::memory_order_relaxed);
    parameterChanged (index, value);
}

float ModuleBase::getParameter (int32_t index)
{
    return isValidParam (index) ? param (index) : 0.0f;
}

bool ModuleBase::getParameterProperties (int32_t index, EffectParamProperties* properties)
{
    if (properties == nullptr || ! isValidParam (index))
        return false;
    describeParam (index, *properties);
    return true;
}

void ModuleBase::getDisplayTextForValue (int32_t index, float value, char* text)
{
    if (text == nullptr || ! isValidParam (index))
        return;
    paramDisplay (index, std::clamp (value, 0.0f, 1.0f), text);
    text[kTextBufferSize - 1] = 0;
}

void ModuleBase::notifyListener (float value) noexcept
{
    if (auto* l = listener.load())
        l->listnerNotify (value);
}

void ModuleBase::copyText (char* dest, const char* text) noexcept
{
    std::strncpy (dest, text, kTextBufferSize - 1);
    dest[kTextBufferSize - 1] = 0;
}

void ModuleBase::passThrough (double** inputs, double** outputs, int32_t frames) noexcept
{
    if (inputs == nullptr || outputs == nullptr || frames <= 0)
        return;
    for (int ch = 0; ch < 2; ++ch)
        if (inputs[ch] != nullptr && outputs[ch] != nullptr && inputs[ch] != outputs[ch])
            std::memmove (outputs[ch], inputs[ch], sizeof (double) * static_cast<size_t> (frames));
}

} // namespace T730::Modules
