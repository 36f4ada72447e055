#pragma once

// Slow, careful offline measurements for the benchmarks: level envelopes, onsets and a
// long-window spectral estimate of a note's partials.

#include "Fft.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace benchsignal
{

/** RMS levels of consecutive frames of `frame` samples (the last partial frame dropped). */
inline std::vector<double> frameLevels (const std::vector<double>& x, size_t frame)
{
    std::vector<double> levels;
    for (size_t at = 0; at + frame <= x.size(); at += frame)
    {
        double sum = 0.0;
        for (size_t i = at; i < at + frame; ++i)
            sum += x[i] * x[i];
        levels.push_back (std::sqrt (sum / static_cast<double> (frame)));
    }
    return levels;
}

inline double toDb (double ratio) { return 20.0 * std::log10 (std::max (ratio, 1e-30)); }

/** The first sample from `from` on whose magnitude reaches `fraction` of the peak from there on. */
inline size_t onsetOf (const std::vector<double>& x, double fraction = 0.01, size_t from = 0)
{
    double peak = 0.0;
    for (size_t i = from; i < x.size(); ++i)
        peak = std::max (peak, std::abs (x[i]));
    for (size_t i = from; i < x.size(); ++i)
        if (std::abs (x[i]) >= fraction * peak)
            return i;
    return x.size();
}

/** One partial of a spectral estimate. */
struct Partial
{
    int harmonic;
    double frequency;
    double amplitude;   // linear, relative to the window's gain
};

/** The partials of a harmonic tone near `nominal` Hz in x[from, to): a four-term Blackman-Harris
    window over the span, zero-padded eightfold, each partial's bin maximum searched around h times
    the running estimate of the fundamental and refined by a parabola through the log magnitudes
    (the window's main lobe is close to a Gaussian there). Partials more than 60 dB below the
    strongest (or the spectrum's strongest bin up to `highest`) are dropped. */
inline std::vector<Partial> partialsOf (const std::vector<double>& x, size_t from, size_t to, double rate,
                                        double nominal, double highest = 4000.0, int maxHarmonic = 16, size_t padding = 8)
{
    const size_t n = to - from;
    size_t size = 1;
    while (size < padding * n)
        size <<= 1;
    std::vector<std::complex<double>> spectrum (size);
    double windowSum = 0.0;
    for (size_t i = 0; i < n; ++i)
    {
        const double p = 2.0 * std::numbers::pi * static_cast<double> (i) / static_cast<double> (n - 1);
        const double w = 0.35875 - 0.48829 * std::cos (p) + 0.14128 * std::cos (2 * p) - 0.01168 * std::cos (3 * p);
        spectrum[i] = x[from + i] * w;
        windowSum += w;
    }
    T730::Modules::Fft fft (static_cast<int> (size));
    fft.perform (spectrum.data(), false);
    const double binHz = rate / static_cast<double> (size);
    auto magnitude = [&] (size_t bin) { return std::abs (spectrum[bin]) * 2.0 / windowSum; };

    // A bin maximum more than 60 dB below the spectrum's strongest up to `highest` is noise: it
    // does not count as a partial (a flageolet has nothing at its key's fundamental).
    double loudest = 0.0;
    for (size_t b = 2; static_cast<double> (b) * binHz < std::min (highest, 0.45 * rate) && b + 1 < size / 2; ++b)
        loudest = std::max (loudest, magnitude (b));

    std::vector<Partial> partials;
    double fundamental = nominal;
    bool steered = false;
    for (int h = 1; h <= maxHarmonic && h * fundamental < std::min (highest, 0.45 * rate); ++h)
    {
        const double centre = h * fundamental;
        const auto lo = static_cast<size_t> (std::max (2.0, centre * std::pow (2.0, -0.4 / 12.0) / binHz));
        const auto hi = static_cast<size_t> (centre * std::pow (2.0, 0.4 / 12.0) / binHz);
        size_t best = lo;
        for (size_t b = lo + 1; b <= hi && b + 1 < size / 2; ++b)
            if (magnitude (b) > magnitude (best))
                best = b;
        if (best == lo || best >= hi || magnitude (best) < 1e-3 * loudest)
            continue;   // no maximum inside the search range, or only noise
        const double a = std::log (magnitude (best - 1)), b = std::log (magnitude (best)), c = std::log (magnitude (best + 1));
        const double denominator = a - 2.0 * b + c;
        const double offset = denominator < 0.0 ? 0.5 * (a - c) / denominator : 0.0;
        const double f = (static_cast<double> (best) + offset) * binHz;
        const double amp = std::exp (b - 0.25 * (a - c) * offset);
        partials.push_back ({ h, f, amp });
        // The fundamental or else the first partial found steers the search, when within 30 dB of
        // the strongest bin: a distortion product found first would move it off the note.
        if ((h == 1 || ! steered) && amp >= 0.0316 * loudest)
        {
            fundamental = f / h;
            steered = true;
        }
    }
    double strongest = 0.0;
    for (const auto& p : partials)
        strongest = std::max (strongest, p.amplitude);
    std::erase_if (partials, [strongest] (const Partial& p) { return p.amplitude < strongest * 1e-3; });

    // A tone without its lowest partials (a flageolet sounds two octaves up): when every partial
    // within 30 dB of the strongest is a multiple of the lowest of them, that one is the fundamental.
    int lowest = 0;
    for (const auto& p : partials)
        if (p.amplitude >= strongest * 0.0316 && (lowest == 0 || p.harmonic < lowest))
            lowest = p.harmonic;
    if (lowest > 1)
    {
        bool multiples = true;
        for (const auto& p : partials)
            multiples = multiples && (p.amplitude < strongest * 0.0316 || p.harmonic % lowest == 0);
        if (multiples)
        {
            std::erase_if (partials, [lowest] (const Partial& p) { return p.harmonic % lowest != 0; });
            for (auto& p : partials)
                p.harmonic /= lowest;
        }
    }
    return partials;
}

/** f_h / h averaged with weights amplitude^2 x h^2: the period a waveform comparison finds
    on an inharmonic tone (each partial pulls by its energy times its phase slope). */
inline double periodicFundamental (const std::vector<Partial>& partials)
{
    double sum = 0.0, weight = 0.0;
    for (const auto& p : partials)
    {
        const double w = p.amplitude * p.amplitude * p.harmonic * p.harmonic;
        sum += w * p.frequency / p.harmonic;
        weight += w;
    }
    return weight > 0.0 ? sum / weight : 0.0;
}

/** periodicFundamental over the note's lowest partials alone, the first three or all below
    `lowestCutoffHz` if that is more: the period a waveform comparison finds once the upper partials
    are filtered off. A stiff string's upper partials lie sharp of their harmonics and fade first;
    the lowest ones carry the note a player tunes. */
inline double lowPartialsFundamental (const std::vector<Partial>& partials, double lowestCutoffHz = 250.0)
{
    const double all = periodicFundamental (partials);
    const double highest = std::max (3.3, lowestCutoffHz / std::max (all, 1.0));
    std::vector<Partial> low;
    for (const auto& p : partials)
        if (p.harmonic <= highest)
            low.push_back (p);
    return low.empty() ? all : periodicFundamental (low);
}

/** The partials of a note over [from, to), an octave lower when the tone has partials of its own
    there: the odd multiples of half the nominal frequency (its first and third) both within 30 dB
    of the strongest partial (a sampled bass key whose waveform repeats only every second period). */
inline std::vector<Partial> partialsOfNote (const std::vector<double>& x, size_t from, size_t to, double rate,
                                            double nominal, size_t padding = 8)
{
    auto partials = partialsOf (x, from, to, rate, nominal, 4000.0, 16, padding);
    if (partials.empty() || partials.front().harmonic != 1 || partials.front().frequency < 55.0)
        return partials;   // (half of a note below A1 is below the lowest string)
    const auto lower = partialsOf (x, from, to, rate, partials.front().frequency / 2.0, 4000.0, 16, padding);
    double strongest = 0.0, first = 0.0, third = 0.0;
    for (const auto& p : lower)
    {
        strongest = std::max (strongest, p.amplitude);
        if (p.harmonic == 1)
            first = p.amplitude;
        if (p.harmonic == 3)
            third = p.amplitude;
    }
    // (The lower estimate must really be lower: a tone whose lowest partials are weak is taken
    // for a flageolet by partialsOf and would come back at a multiple instead.)
    const bool halved = std::abs (periodicFundamental (lower) / periodicFundamental (partials) - 0.5) < 0.03;
    return halved && first >= strongest * 0.0316 && third >= strongest * 0.0316 ? lower : partials;
}

inline double cents (double f, double reference) { return 1200.0 * std::log2 (f / reference); }

inline double median (std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort (v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 == 1 ? v[m] : 0.5 * (v[m - 1] + v[m]);
}

inline double percentile (std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::sort (v.begin(), v.end());
    return v[std::min (v.size() - 1, static_cast<size_t> (p * static_cast<double> (v.size())))];
}

} // namespace benchsignal
