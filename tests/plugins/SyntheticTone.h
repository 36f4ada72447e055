#pragma once

// Test signals: guitar-like plucked notes (a fundamental with decaying harmonics and a little
// noise), sines and noise, deterministic for a given seed.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace moduletest
{

struct StereoSignal
{
    std::vector<double> left, right;

    size_t size() const noexcept { return left.size(); }
    void resize (size_t n)
    {
        left.resize (n, 0.0);
        right.resize (n, 0.0);
    }
};

/** Appends a plucked note: harmonics h = 1..16 below 0.45 x rate with amplitude ~1/h shaped by a
    pluck position, each decaying faster than the one below (the fundamental over 1.5 s), random
    phases, a 2 ms attack and white noise at -60 dBFS (about 50 dB under the note's peak). */
inline void appendPluckedNote (StereoSignal& s, double frequency, double seconds, double rate, unsigned seed,
                               double amplitude = 0.4, double noiseRms = 0.001)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<double> phaseDist (0.0, 2.0 * std::numbers::pi);
    std::normal_distribution<double> noise (0.0, noiseRms);

    struct Partial
    {
        double omega, amp, decay, phase;
    };
    std::vector<Partial> partials;
    for (int h = 1; h <= 16 && h * frequency < 0.45 * rate; ++h)
    {
        const double shape = 0.3 + 0.7 * std::abs (std::sin (std::numbers::pi * h * 0.27));
        const double tau = 1.5 / (1.0 + 0.6 * (h - 1));   // seconds
        partials.push_back ({ 2.0 * std::numbers::pi * h * frequency / rate, shape / h,
                              1.0 / (tau * rate), phaseDist (random) });
    }
    double norm = 0.0;
    for (auto& p : partials)
        norm += p.amp;

    const size_t start = s.size();
    const size_t n = static_cast<size_t> (seconds * rate);
    const double attack = 0.002 * rate;
    s.resize (start + n);
    for (size_t i = 0; i < n; ++i)
    {
        double x = 0.0;
        for (auto& p : partials)
            x += p.amp * std::exp (-p.decay * i) * std::sin (p.omega * i + p.phase);
        x *= amplitude / norm * std::min (1.0, i / attack);
        s.left[start + i] = x + noise (random);
        s.right[start + i] = x + noise (random);
    }
}

inline void appendSilence (StereoSignal& s, double seconds, double rate)
{
    s.resize (s.size() + static_cast<size_t> (seconds * rate));
}

inline void appendNoise (StereoSignal& s, double seconds, double rate, double rms, unsigned seed)
{
    std::mt19937 random (seed);
    std::normal_distribution<double> noise (0.0, rms);
    const size_t start = s.size();
    s.resize (start + static_cast<size_t> (seconds * rate));
    for (size_t i = start; i < s.size(); ++i)
    {
        s.left[i] = noise (random);
        s.right[i] = noise (random);
    }
}

inline void appendSine (StereoSignal& s, double frequency, double seconds, double rate, double amplitude)
{
    const size_t start = s.size();
    s.resize (start + static_cast<size_t> (seconds * rate));
    for (size_t i = start; i < s.size(); ++i)
        s.left[i] = s.right[i] = amplitude * std::sin (2.0 * std::numbers::pi * frequency * (i - start) / rate);
}

} // namespace moduletest
