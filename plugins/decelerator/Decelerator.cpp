// "Decelerator": slows the recorder's playback down without changing its pitch.
//
// Each block the host hands over, at the start of the buffer, the take frames its slowed
// transport covered (ratio x n plus the carried fraction, ratio = 2^(p0 - 1)) and expects n
// stretched frames back in place. The module keeps the same fraction count as the transport,
// queues the covered frames, feeds Rubber Band's real-time stretcher on demand
// (getSamplesRequired), collects its output (available / retrieve) and plays it once enough
// is queued for a steady block (SlowedStream), with the take's own picked attacks laid over the
// stretched frames so they stay sharp (AttackSplicer). At parameter 0 = 1.0 (normal speed) the
// audio passes untouched. Setting parameter 1 to 1.0 starts afresh (stop and locate).

#include "ModuleBase.h"
#include "SlowedStream.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>

namespace T730::Modules
{

class Decelerator final : public ModuleBase
{
public:
    enum Param { kSpeed = 0, kReset = 1, kNumParams };

    explicit Decelerator (HostCallback host) : ModuleBase (host, kNumParams, 0x4f784443 /* OxDC */)
    {
        initParam (kSpeed, 1.0f);
        initParam (kReset, 0.0f);
        rebuild();
    }

    void processDoubleReplacing (double** inputs, double** outputs, int32_t frames) override
    {
        if (inputs == nullptr || outputs == nullptr || frames <= 0)
            return;

        const float speed = param (kSpeed);
        if (speed >= 1.0f)
        {
            stretching = false;
            passThrough (inputs, outputs, frames);
            return;
        }

        if (frames > blockSize)
        {
            blockSize = frames;   // the host should have said so; grow rather than fail
            rebuild();
        }
        const float ratio = playbackRatio (speed);
        if (resetPending.exchange (false) || ! stretching)
        {
            stream.restart (ratio);
            remainder = 0.0;
        }
        stretching = true;
        lastRatio = ratio;
        stream.setRatio (ratio);

        // The frames the slowed transport covered in this block, counted as the transport does.
        const double covered = static_cast<double> (ratio) * frames + remainder;
        const int fresh = std::min (static_cast<int> (covered), static_cast<int> (frames));
        remainder = covered - std::floor (covered);
        stream.process (inputs, fresh, outputs, frames);
    }

    /** Output delay in frames while stretching (the stretcher's and the queues', from the
        transport's position with its fraction of a frame), else -1. */
    int32_t moduleQuery158() override
    {
        return stretching ? static_cast<int32_t> (std::lround (stream.delayFrames() + remainder / lastRatio)) : -1;
    }

    /** Blocks that could not be filled since the last restart (0 in steady playback). */
    int32_t moduleQuery157 (int32_t) override { return stream.getUnderruns(); }

protected:
    void paramName (int index, char* text) const override
    {
        copyText (text, index == kSpeed ? "Speed" : "Reset");
    }

    void paramLabel (int index, char* text) const override { copyText (text, index == kSpeed ? "%" : ""); }

    void paramDisplay (int index, float value, char* text) const override
    {
        if (index == kReset)
            copyText (text, value >= 0.5f ? "On" : "Off");
        else
            std::snprintf (text, kTextBufferSize, "%d",
                           value >= 1.0f ? 100 : static_cast<int> (std::lround (50.0f + 50.0f * value)));
    }

    void describeParam (int index, EffectParamProperties& p) const override
    {
        if (index == kReset)
        {
            p.flags = kParamIsSwitch;
            return;
        }
        p.flags = kParamUsesIntegerMinMax;
        p.minInteger = 50;
        p.maxInteger = 100;
        p.stepInteger = 1;
        p.largeStepInteger = 10;
    }

    void parameterChanged (int index, float value) override
    {
        if (index == kReset && value >= 0.5f)
            resetPending.store (true);
    }

    void sampleRateChanged() override { rebuild(); }
    void blockSizeChanged() override { rebuild(); }

private:
    /** Output speed relative to the take: 2^(p0 - 1), in single precision like the transport. */
    static float playbackRatio (float speed) noexcept { return std::pow (2.0f, speed - 1.0f); }

    void rebuild()
    {
        stream.prepare (sampleRate, blockSize, SlowedStream::defaultOptions());
        stretching = false;
    }

    // Audio thread only, except where noted.
    SlowedStream stream;
    double remainder = 0.0;       // fraction of a frame carried to the next block
    double lastRatio = 1.0;       // the playback ratio of the last stretched block
    bool stretching = false;
    std::atomic<bool> resetPending { false };   // set by setParameter (any thread), taken by the audio thread
};

} // namespace T730::Modules

OXA_EXPORT_MODULE (T730::Modules::Decelerator)
