// "Decelerator": slows the recorder's playback down without changing its pitch.
//
// Each block the host hands over, at the start of the buffer, the take frames its slowed
// transport covered (ratio x n plus the carried fraction, ratio = 2^(p0 - 1)) and expects n
// stretched frames back in place. The module keeps the same fraction count as the transport,
// queues the covered frames, feeds Rubber Band's real-time stretcher on demand
// (getSamplesRequired), collects its output (available / retrieve) and plays it once enough
// is queued for a steady block. At parameter 0 = 1.0 (normal speed) the audio passes untouched.
// Setting parameter 1 to 1.0 starts afresh (stop and locate).

#include "ModuleBase.h"
#include "StereoFifo.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace T730::Modules
{

class Decelerator final : public ModuleBase
{
public:
    enum Param { kSpeed = 0, kReset = 1, kNumParams };

    static constexpr int kScratchFrames = 1024;
    /** Output frames queued beyond one block before playback starts: absorbs the stretcher's
        uneven output chunks. */
    static constexpr int kReserveFrames = 1024;

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
        if (resetPending.exchange (false) || ! stretching)
            restart();
        stretching = true;

        const float ratio = playbackRatio (speed);
        if (ratio != currentRatio)
        {
            currentRatio = ratio;
            stretcher->setTimeRatio (1.0 / ratio);
        }

        // The frames the slowed transport covered in this block, counted as the transport does.
        const double covered = static_cast<double> (ratio) * frames + remainder;
        const int fresh = std::min (static_cast<int> (covered), static_cast<int> (frames));
        remainder = covered - std::floor (covered);
        input.push (inputs, fresh);

        // The reserve is kept in stretched frames: queued input would shrink in output terms
        // when the speed rises and leave a gap.
        fillOutput (frames + kReserveFrames);
        if (! primed && output.getSize() >= frames + kReserveFrames)
            primed = true;

        int written = 0;
        if (primed)
        {
            written = output.pop (outputs, frames);
            if (written < frames)
                ++underruns;
        }
        for (int ch = 0; ch < 2; ++ch)
            std::fill (outputs[ch] + written, outputs[ch] + frames, 0.0);
    }

    /** Output delay in frames while stretching (the stretcher's and the queues'), else -1. */
    int32_t moduleQuery158() override
    {
        if (! stretching)
            return -1;
        const double queued = input.getSize() / std::max (0.01f, currentRatio) + output.getSize();
        return static_cast<int32_t> (std::lround (queued)) + static_cast<int32_t> (startDelay);
    }

    /** Blocks that could not be filled since the last restart (0 in steady playback). */
    int32_t moduleQuery157 (int32_t) override { return underruns; }

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
        using RB = RubberBand::RubberBandStretcher;
        // R2 ("faster"): steady cost per block. With its standard window and crisp transients a
        // steady tone's level dips by 20 dB now and then (the phase resets at false transients);
        // the long window with mixed transients keeps it within about 2 dB at every speed.
        const RB::Options options = RB::OptionProcessRealTime | RB::OptionEngineFaster | RB::OptionWindowLong
                                  | RB::OptionTransientsMixed | RB::OptionThreadingNever
                                  | RB::OptionChannelsTogether;
        stretcher = std::make_unique<RB> (static_cast<size_t> (sampleRate), 2, options, 2.0, 1.0);
        stretcher->setMaxProcessSize (kScratchFrames);
        for (auto& ch : scratch)
            ch.assign (kScratchFrames, 0.0f);
        input.setCapacity (4 * blockSize + 16384);
        output.setCapacity (4 * blockSize + kReserveFrames + 16384);
        stretching = false;
    }

    /** Starts afresh: empty queues, no carried fraction, the stretcher primed with its start
        padding, and its start delay marked for trimming. */
    void restart()
    {
        stretcher->reset();
        input.clear();
        output.clear();
        remainder = 0.0;
        primed = false;
        underruns = 0;
        currentRatio = playbackRatio (param (kSpeed));
        stretcher->setTimeRatio (1.0 / currentRatio);

        float* channels[2] = { scratch[0].data(), scratch[1].data() };
        std::fill (scratch[0].begin(), scratch[0].end(), 0.0f);
        std::fill (scratch[1].begin(), scratch[1].end(), 0.0f);
        for (size_t pad = stretcher->getPreferredStartPad(); pad > 0;)
        {
            const size_t chunk = std::min (pad, static_cast<size_t> (kScratchFrames));
            stretcher->process (channels, chunk, false);
            pad -= chunk;
        }
        startDelay = stretcher->getStartDelay();
        toTrim = startDelay;
    }

    /** Moves the stretcher's output into the output queue, trimming the start delay. */
    void collect()
    {
        float* channels[2] = { scratch[0].data(), scratch[1].data() };
        for (int ready = stretcher->available(); ready > 0; ready = stretcher->available())
        {
            const int chunk = std::min ({ ready, kScratchFrames, output.getFree() });
            if (chunk <= 0)
                return;
            const int got = static_cast<int> (stretcher->retrieve (channels, static_cast<size_t> (chunk)));
            if (got <= 0)
                return;
            int skip = 0;
            if (toTrim > 0)
            {
                skip = static_cast<int> (std::min (toTrim, static_cast<size_t> (got)));
                toTrim -= static_cast<size_t> (skip);
            }
            const float* from[2] = { channels[0] + skip, channels[1] + skip };
            output.push (from, got - skip);
        }
    }

    /** Feeds queued input as the stretcher asks for it until `wanted` output frames wait. */
    void fillOutput (int wanted)
    {
        float* channels[2] = { scratch[0].data(), scratch[1].data() };
        collect();
        while (output.getSize() < wanted && input.getSize() > 0)
        {
            size_t required = stretcher->getSamplesRequired();
            if (required == 0)
                required = 256;
            const int chunk = std::min ({ static_cast<int> (required), input.getSize(), kScratchFrames });
            input.pop (channels, chunk);
            stretcher->process (channels, static_cast<size_t> (chunk), false);
            collect();
        }
    }

    // Audio thread only, except where noted.
    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher;
    std::vector<float> scratch[2];
    StereoFifo input;             // covered take frames not yet given to the stretcher
    StereoFifo output;            // stretched frames not yet played
    double remainder = 0.0;       // fraction of a frame carried to the next block
    float currentRatio = 1.0f;
    size_t startDelay = 0;
    size_t toTrim = 0;
    bool primed = false;
    bool stretching = false;
    int underruns = 0;
    std::atomic<bool> resetPending { false };   // set by setParameter (any thread), taken by the audio thread
};

} // namespace T730::Modules

OXA_EXPORT_MODULE (T730::Modules::Decelerator)
