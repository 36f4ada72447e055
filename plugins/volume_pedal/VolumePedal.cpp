// "Volume_Pedal": the output level. Parameter 0 switches the pedal (off passes the signal
// unchanged), parameter 1 is the level 0.0 to 1.0 applied as a linear gain. Gain changes glide
// linearly over 10 ms so that moving the level never clicks.

#include "ModuleBase.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace T730::Modules
{

class VolumePedal final : public ModuleBase
{
public:
    enum Param { kSwitch = 0, kLevel = 1, kNumParams };

    explicit VolumePedal (HostCallback host) : ModuleBase (host, kNumParams, 0x4f785650 /* OxVP */)
    {
        initParam (kSwitch, 1.0f);
        initParam (kLevel, 1.0f);
        updateRampLength();
    }

    void processDoubleReplacing (double** inputs, double** outputs, int32_t frames) override
    {
        if (inputs == nullptr || outputs == nullptr || frames <= 0)
            return;

        const double target = param (kSwitch) >= 0.5f ? static_cast<double> (param (kLevel)) : 1.0;
        if (target != rampTarget)
        {
            rampTarget = target;
            rampStep = (rampTarget - gain) / rampLength;
            rampLeft = static_cast<int> (rampLength);
        }

        double* inL = inputs[0];
        double* inR = inputs[1];
        double* outL = outputs[0];
        double* outR = outputs[1];
        int i = 0;
        for (; i < frames && rampLeft > 0; ++i, --rampLeft)
        {
            gain += rampStep;
            outL[i] = inL[i] * gain;
            outR[i] = inR[i] * gain;
        }
        if (rampLeft == 0)
            gain = rampTarget;
        for (; i < frames; ++i)
        {
            outL[i] = inL[i] * gain;
            outR[i] = inR[i] * gain;
        }
    }

    int32_t moduleQuery158() override { return static_cast<int32_t> (std::lround (rampLength)); }

protected:
    void paramName (int index, char* text) const override
    {
        copyText (text, index == kSwitch ? "Pedal" : "Level");
    }

    void paramLabel (int index, char* text) const override { copyText (text, ""); }

    void paramDisplay (int index, float value, char* text) const override
    {
        if (index == kSwitch)
            copyText (text, value >= 0.5f ? "On" : "Off");
        else
            std::snprintf (text, kTextBufferSize, "%d", static_cast<int> (std::lround (value * 100.0f)));
    }

    void describeParam (int index, EffectParamProperties& p) const override
    {
        if (index == kSwitch)
        {
            p.flags = kParamIsSwitch;
            return;
        }
        p.flags = kParamUsesIntegerMinMax | kParamUsesFloatStep;
        p.minInteger = 0;
        p.maxInteger = 100;
        p.stepInteger = 1;
        p.largeStepInteger = 10;
        p.stepFloat = p.smallStepFloat = 0.01f;
        p.largeStepFloat = 0.1f;
    }

    void sampleRateChanged() override { updateRampLength(); }

private:
    void updateRampLength() noexcept { rampLength = std::max (1.0, std::round (sampleRate * 0.010)); }

    // Audio thread only.
    double gain = 1.0;
    double rampTarget = 1.0;
    double rampStep = 0.0;
    int rampLeft = 0;
    double rampLength = 441.0;   // written by setSampleRate before processing starts
};

} // namespace T730::Modules

OXA_EXPORT_MODULE (T730::Modules::VolumePedal)
