// "Tuner": finds the fundamental of the stereo input (the two channels' mean) and reports it
// to the listener in Hz every analysis hop (a quarter window: 1024 samples, 23 ms at 44.1 kHz).
// A window without a pitch (below the gate, or not periodic) reports 0, which the host reads as
// "no pitch". The audio passes through unchanged.

#include "ModuleBase.h"
#include "PitchDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace T730::Modules
{

class Tuner final : public ModuleBase
{
public:
    enum Param { kGate = 0, kNumParams };

    static constexpr float kGateLowDb = -90.0f;
    static constexpr float kGateRangeDb = 60.0f;

    explicit Tuner (HostCallback host) : ModuleBase (host, kNumParams, 0x4f785455 /* OxTU */)
    {
        initParam (kGate, 0.5f);   // -60 dBFS
        prepare();
    }

    void processDoubleReplacing (double** inputs, double** outputs, int32_t frames) override
    {
        if (inputs == nullptr || inputs[0] == nullptr || inputs[1] == nullptr || frames <= 0)
            return;

        const double* left = inputs[0];
        const double* right = inputs[1];
        const int w = static_cast<int> (history.size());
        for (int i = 0; i < frames; ++i)
        {
            history[static_cast<size_t> (writePos)] = 0.5 * (left[i] + right[i]);
            writePos = (writePos + 1) % w;
            if (filled < w)
                ++filled;
            if (++sinceAnalysis >= hop && filled == w)
            {
                sinceAnalysis = 0;
                analyseHistory();
            }
        }
        passThrough (inputs, outputs, frames);
    }

    /** The analysis window in samples. */
    int32_t moduleQuery158() override { return detector.getWindowSize(); }

protected:
    void paramName (int, char* text) const override { copyText (text, "Gate"); }
    void paramLabel (int, char* text) const override { copyText (text, "dB"); }

    void paramDisplay (int, float value, char* text) const override
    {
        std::snprintf (text, kTextBufferSize, "%d", static_cast<int> (std::lround (gateDb (value))));
    }

    void describeParam (int, EffectParamProperties& p) const override
    {
        p.flags = kParamUsesIntegerMinMax;
        p.minInteger = 0;
        p.maxInteger = static_cast<int32_t> (kGateRangeDb);
        p.stepInteger = 1;
        p.largeStepInteger = 6;
    }

    void sampleRateChanged() override { prepare(); }

private:
    static float gateDb (float value) noexcept { return kGateLowDb + kGateRangeDb * value; }

    void prepare()
    {
        detector.prepare (sampleRate, PitchDetector::Settings {});
        const int w = detector.getWindowSize();
        history.assign (static_cast<size_t> (w), 0.0);
        window.assign (static_cast<size_t> (w), 0.0);
        hop = w / 4;
        writePos = 0;
        filled = 0;
        sinceAnalysis = 0;
    }

    void analyseHistory()
    {
        const int w = static_cast<int> (history.size());
        const int head = w - writePos;   // oldest sample sits at writePos
        std::copy (history.begin() + writePos, history.end(), window.begin());
        std::copy (history.begin(), history.begin() + writePos, window.begin() + head);

        const double gate = std::pow (10.0, gateDb (param (kGate)) / 20.0);
        notifyListener (static_cast<float> (detector.analyse (window.data(), gate)));
    }

    // Audio thread only (prepare() runs before processing starts).
    PitchDetector detector;
    std::vector<double> history;
    std::vector<double> window;
    int hop = 1024;
    int writePos = 0;
    int filled = 0;
    int sinceAnalysis = 0;
};

} // namespace T730::Modules

OXA_EXPORT_MODULE (T730::Modules::Tuner)
