#include "AttackSplicer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace T730::Modules
{

namespace
{
/** Raised-cosine weight from 0 (at 0) to 1 (at length). */
inline float rampUp (int64_t at, int length) noexcept
{
    return 0.5f - 0.5f * std::cos (std::numbers::pi_v<float> * static_cast<float> (at) / static_cast<float> (length));
}
} // namespace

void AttackSplicer::prepare (double sampleRate)
{
    auto frames = [sampleRate] (double ms) { return std::max (1, static_cast<int> (std::lround (ms * 0.001 * sampleRate))); };
    // The stretcher's smear reaches some 20 ms ahead of a pick and 25 ms after it.
    fadeIn = frames (5.0);
    lead = frames (20.0);
    hold = frames (30.0);
    fadeOut = frames (10.0);
    search = frames (6.0);
    refractory = frames (60.0);
    lookAhead = 2 * search + fadeIn + lead + hold + fadeOut + frames (1.0);
    // The high-pass corner (two first-order stages at about 1.5 kHz) where a pick's noise stands
    // out above a note's strong low partials.
    hpCoefficient = 1.0 / (1.0 + 2.0 * std::numbers::pi * 1500.0 / sampleRate);
    for (auto& ch : take)
        ch.assign (kTakeCapacity, 0.0f);
    for (auto& ch : stage)
        ch.assign (kStageCapacity, 0.0f);
    reset();
}

void AttackSplicer::reset() noexcept
{
    takeEnd = stretchedEnd = readyEnd = spliceEnd = 0;
    stretchedTake = 0.0;
    for (auto& ch : hpState)
        std::fill (std::begin (ch), std::end (ch), 0.0);
    hopEnergy = 0.0;
    hopFill = 0;
    history.fill (0.0);
    recent.fill (0.0f);
    historyFill = 0;
    lastOnset = -(int64_t (1) << 40);
    onsetRead = onsetCount = pendingRead = pendingCount = 0;
    attacksFound = attacksSpliced = 0;
}

void AttackSplicer::addTake (const double* const* channels, int frames) noexcept
{
    for (int i = 0; i < frames; ++i)
    {
        const auto l = static_cast<float> (channels[0][i]), r = static_cast<float> (channels[1][i]);
        take[0][static_cast<size_t> (takeEnd & (kTakeCapacity - 1))] = l;
        take[1][static_cast<size_t> (takeEnd & (kTakeCapacity - 1))] = r;
        ++takeEnd;
        detect (l, r);
    }
}

void AttackSplicer::detect (float left, float right) noexcept
{
    double energy = 0.0;
    const float in[2] = { left, right };
    for (int ch = 0; ch < 2; ++ch)
    {
        auto& s = hpState[ch];
        const double x = in[ch];
        const double y1 = hpCoefficient * (s[1] + x - s[0]);
        const double y2 = hpCoefficient * (s[2] + y1 - s[1]);
        s[0] = x, s[1] = y1, s[2] = y2;
        energy += y2 * y2;
    }
    recent[static_cast<std::size_t> (takeEnd & (kRecent - 1))] = static_cast<float> (energy);
    hopEnergy += energy;
    if (++hopFill < kHop)
        return;

    const double e = hopEnergy / (2.0 * kHop);
    const int n = std::min (historyFill, static_cast<int> (history.size()));
    double before = 0.0;
    for (int i = 0; i < n; ++i)
        before += history[static_cast<size_t> (i)];
    before = n > 0 ? before / n : 0.0;
    const int64_t hopStart = takeEnd - kHop;
    // A jump of 8 dB over the last 20 ms, not right after another, and above -60 dB (a sampled
    // pick can start with a little noise a few tens of milliseconds ahead of it, which must not
    // take its place).
    if (historyFill >= 4 && e > 6.3 * before && e > energyFloor && hopStart - lastOnset >= refractory)
    {
        lastOnset = hopStart;
        ++attacksFound;
        if (onsetCount < static_cast<int> (onsets.size()))
        {
            onsets[static_cast<size_t> ((onsetRead + onsetCount) % static_cast<int> (onsets.size()))] = attackStart();
            ++onsetCount;
        }
    }
    history[static_cast<size_t> (historyFill % static_cast<int> (history.size()))] = e;
    ++historyFill;
    hopEnergy = 0.0;
    hopFill = 0;
}

int64_t AttackSplicer::attackStart() const noexcept
{
    // The first of the last two hops' samples whose upper-band energy reaches a sixteenth of
    // their highest (a quarter in amplitude): where the pick begins, to the sample on a click.
    const int64_t from = std::max<int64_t> (0, takeEnd - kRecent);
    float highest = 0.0f;
    for (int64_t f = from; f < takeEnd; ++f)
        highest = std::max (highest, recent[static_cast<std::size_t> (f & (kRecent - 1))]);
    for (int64_t f = from; f < takeEnd; ++f)
        if (recent[static_cast<std::size_t> (f & (kRecent - 1))] >= highest / 16.0f)
            return f;
    return from;
}

void AttackSplicer::addStretched (const float* const* channels, int frames, double ratio) noexcept
{
    frames = std::min (frames, kStageCapacity - getHeld());
    const int64_t first = stretchedEnd;
    const double firstTake = stretchedTake;
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < frames; ++i)
            stageAt (ch, first + i) = channels[ch][i];
    stretchedEnd += frames;
    stretchedTake += ratio * frames;

    // Attacks whose take position these frames reach are placed in the stretched stream.
    while (onsetCount > 0)
    {
        const int64_t onset = onsets[static_cast<size_t> (onsetRead)];
        const double offset = std::ceil ((static_cast<double> (onset) - firstTake) / std::max (ratio, 0.01));
        if (offset >= frames)
            break;
        if (pendingCount < static_cast<int> (pending.size()))
        {
            pending[static_cast<size_t> ((pendingRead + pendingCount) % static_cast<int> (pending.size()))]
                = { onset, first + static_cast<int64_t> (std::max (0.0, offset)) };
            ++pendingCount;
        }
        onsetRead = (onsetRead + 1) % static_cast<int> (onsets.size());
        --onsetCount;
    }
    scheduleSplices();
}

void AttackSplicer::scheduleSplices() noexcept
{
    while (pendingCount > 0)
    {
        const Splice s = pending[static_cast<size_t> (pendingRead)];
        if (stretchedEnd < s.outOnset + search + hold + fadeOut)
            return;   // its look-ahead has not come in yet
        apply (s);
        pendingRead = (pendingRead + 1) % static_cast<int> (pending.size());
        --pendingCount;
    }
}

bool AttackSplicer::takeHolds (int64_t from, int64_t to) const noexcept
{
    return from >= 0 && to <= takeEnd && takeEnd - from <= kTakeCapacity;
}

void AttackSplicer::apply (const Splice& s) noexcept
{
    const int64_t earliest = s.outOnset - search - lead - fadeIn;
    if (earliest < std::max (readyEnd, spliceEnd) || ! takeHolds (s.takeOnset - lead - fadeIn, s.takeOnset + hold + fadeOut))
        return;   // too close to the last one, already played, or the take no longer at hand

    // Where the fades agree best: the take's frames in both fades against the stretched frames
    // there, for each placement of the attack within the search range.
    const int64_t inFrom = s.takeOnset - lead - fadeIn, outFrom = s.takeOnset + hold;
    auto takeMono = [this] (int64_t f) { return static_cast<double> (takeAt (0, f)) + takeAt (1, f); };
    auto stageMono = [this] (int64_t f) { return static_cast<double> (stageAt (0, f)) + stageAt (1, f); };
    double takeEnergy = 0.0;
    for (int k = 0; k < fadeIn; ++k)
        takeEnergy += takeMono (inFrom + k) * takeMono (inFrom + k);
    for (int k = 0; k < fadeOut; ++k)
        takeEnergy += takeMono (outFrom + k) * takeMono (outFrom + k);
    auto score = [&] (int d) {
        const int64_t stageIn = s.outOnset + d - lead - fadeIn, stageOut = s.outOnset + d + hold;
        double cross = 0.0, stageEnergy = 0.0;
        for (int k = 0; k < fadeIn; ++k)
        {
            const double o = stageMono (stageIn + k);
            cross += takeMono (inFrom + k) * o;
            stageEnergy += o * o;
        }
        for (int k = 0; k < fadeOut; ++k)
        {
            const double o = stageMono (stageOut + k);
            cross += takeMono (outFrom + k) * o;
            stageEnergy += o * o;
        }
        return cross / std::sqrt (takeEnergy * stageEnergy + 1e-30);
    };
    // Every fourth placement (0.1 ms, a small part of a period of the partials that shape a
    // note's waveform), then the neighbours of the best.
    int best = 0;
    double bestScore = -2.0;
    auto consider = [&] (int d) {
        const double v = score (d);
        if (v > bestScore + 1e-9 || (std::abs (v - bestScore) <= 1e-9 && std::abs (d) < std::abs (best)))
            bestScore = v, best = d;
    };
    for (int d = -search; d <= search; d += 4)
        consider (d);
    const int coarse = best;
    for (int d = std::max (-search, coarse - 3); d <= std::min (search, coarse + 3); ++d)
        if (d != coarse)
            consider (d);

    const int64_t at = s.outOnset + best;
    for (int64_t o = at - lead - fadeIn; o < at + hold + fadeOut; ++o)
    {
        const int64_t rel = o - at;
        const float w = rel < -lead ? rampUp (rel + lead + fadeIn, fadeIn)
                      : rel < hold  ? 1.0f
                                    : 1.0f - rampUp (rel - hold, fadeOut);
        for (int ch = 0; ch < 2; ++ch)
        {
            float& y = stageAt (ch, o);
            y += w * (takeAt (ch, s.takeOnset + rel) - y);
        }
    }
    spliceEnd = at + hold + fadeOut;
    ++attacksSpliced;
}

int AttackSplicer::getReady() const noexcept
{
    return static_cast<int> (std::max<int64_t> (0, stretchedEnd - lookAhead - readyEnd));
}

int AttackSplicer::takeReady (float* const* channels, int frames) noexcept
{
    frames = std::min (frames, getReady());
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < frames; ++i)
            channels[ch][i] = stageAt (ch, readyEnd + i);
    readyEnd += frames;
    return frames;
}

} // namespace T730::Modules
