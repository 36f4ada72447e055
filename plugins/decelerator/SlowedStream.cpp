#include "SlowedStream.h"

#include <algorithm>
#include <cmath>

namespace T730::Modules
{

using RB = RubberBand::RubberBandStretcher;

SlowedStream::Options SlowedStream::defaultOptions() noexcept
{
    // R3 ("finer"), its standard multi-resolution window, with the take's attacks laid over
    // (AttackSplicer). Measured on rendered guitar and bass riffs at every speed of the recorder
    // (oxa_bench_decelerator), every R2 setting loses 3 to 5 dB of level (5 to 8 dB on held low
    // notes; steady tones through the same queues lose under 1 dB, so it is the engine on sampled
    // notes, not a gain) and moves an overdriven low E's fundamental 1.7 to 13 cents and splits
    // it (side peaks -5 to -13 dB); R3 keeps the level within 0.2 dB and the held fundamental
    // within 1.5 cents, at about three times R2's cost (some 10 % of a core). Its short window is
    // as cheap as R2 but beats on held low notes. On its own R3 spreads a pick over up to 25 ms;
    // with the attacks laid over every picked attack rises within 15 ms. Transient, pitch and
    // formant options change nothing here (R2 only, or pitch shifting only).
    return RB::OptionProcessRealTime | RB::OptionEngineFiner | RB::OptionThreadingNever | RB::OptionChannelsTogether;
}

void SlowedStream::prepare (double sampleRate, int maxBlock, Options options, bool keepTheAttacks)
{
    keepAttacks = keepTheAttacks;
    splicer.prepare (sampleRate);
    stretcher = std::make_unique<RB> (static_cast<size_t> (sampleRate), 2, options | RB::OptionProcessRealTime, 2.0, 1.0);
    stretcher->setMaxProcessSize (kScratchFrames);
    for (auto& ch : scratch)
        ch.assign (kScratchFrames, 0.0f);
    input.setCapacity (4 * maxBlock + 16384);
    output.setCapacity (4 * maxBlock + kReserveFrames + 16384);
    primed = false;
}

void SlowedStream::restart (double newRatio)
{
    stretcher->reset();
    input.clear();
    splicer.reset();
    output.clear();
    primed = false;
    underruns = 0;
    ratio = newRatio;
    stretcher->setTimeRatio (1.0 / ratio);

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
    fedTake = 0;
    retrievedTake = 0.0;
}

void SlowedStream::setRatio (double newRatio)
{
    if (newRatio != ratio)
    {
        ratio = newRatio;
        stretcher->setTimeRatio (1.0 / ratio);
    }
}

void SlowedStream::process (const double* const* inputs, int fresh, double* const* outputs, int frames)
{
    input.push (inputs, fresh);
    if (keepAttacks)
        splicer.addTake (inputs, fresh);

    // The reserve is kept in stretched frames: queued input would shrink in output terms when the
    // speed rises and leave a gap.
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

double SlowedStream::delayFrames() const noexcept
{
    // Take frames queued or inside the stretcher (given to it, not yet come out), in output frames,
    // and the stretched frames held and queued.
    const double inFlight = static_cast<double> (fedTake) - retrievedTake;
    return (input.getSize() + inFlight) / std::max (0.01, ratio) + splicer.getHeld() + output.getSize();
}

void SlowedStream::drainSplicer()
{
    float* channels[2] = { scratch[0].data(), scratch[1].data() };
    for (int ready = std::min (splicer.getReady(), output.getFree()); ready > 0;
         ready = std::min (splicer.getReady(), output.getFree()))
    {
        const int moved = splicer.takeReady (channels, std::min (ready, kScratchFrames));
        output.push (channels, moved);
    }
}

void SlowedStream::collect()
{
    float* channels[2] = { scratch[0].data(), scratch[1].data() };
    if (keepAttacks)
        drainSplicer();
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
        retrievedTake += ratio * (got - skip);
        if (! keepAttacks)
        {
            output.push (from, got - skip);
            continue;
        }
        splicer.addStretched (from, got - skip, ratio);
        drainSplicer();
    }
}

void SlowedStream::fillOutput (int wanted)
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
        fedTake += chunk;
        collect();
    }
}

} // namespace T730::Modules
