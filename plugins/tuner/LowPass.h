#pragma once

#include <array>
#include <cmath>
#include <numbers>

namespace T730::Modules
{

/** An eighth-order Butterworth low-pass (four biquads from the bilinear transform), designed and
    run over a buffer in one go. Flat below the cut-off; 12 dB down a quarter of an octave above it,
    24 dB half an octave above it, 48 dB an octave above it. No allocation: runs on the audio thread. */
class LowPass
{
public:
    /** Designs the filter for `cutoffHz` at `sampleRate` (cut-off below half the rate). */
    void design (double cutoffHz, double sampleRate) noexcept
    {
        const double k = std::tan (std::numbers::pi * cutoffHz / sampleRate);
        for (size_t s = 0; s < kSections; ++s)
        {
            const double angle = std::numbers::pi * static_cast<double> (2 * s + 1) / (4.0 * kSections);
            const double q = 1.0 / (2.0 * std::cos (angle));
            const double norm = 1.0 / (1.0 + k / q + k * k);
            auto& c = sections[s];
            c.b0 = k * k * norm;
            c.a1 = 2.0 * (k * k - 1.0) * norm;
            c.a2 = (1.0 - k / q + k * k) * norm;
        }
    }

    static constexpr size_t kSections = 4;

    /** The filter's memory, for filtering a stream sample by sample (zero: at rest). */
    struct State
    {
        std::array<double, kSections> z1 {}, z2 {};
    };

    /** Filters one sample of a stream. */
    double process (double x, State& state) const noexcept
    {
        for (size_t s = 0; s < kSections; ++s)
        {
            // Transposed direct form II; b1 = 2 b0, b2 = b0 for a low-pass.
            const auto& c = sections[s];
            const double y = c.b0 * x + state.z1[s];
            state.z1[s] = 2.0 * c.b0 * x - c.a1 * y + state.z2[s];
            state.z2[s] = c.b0 * x - c.a2 * y;
            x = y;
        }
        return x;
    }

    /** Filters `n` samples from `in` to `out` (which may be the same), starting from rest. */
    void run (const double* in, double* out, int n) const noexcept
    {
        State state;
        for (int i = 0; i < n; ++i)
            out[i] = process (in[i], state);
    }

private:
    struct Section
    {
        double b0 = 1.0, a1 = 0.0, a2 = 0.0;
    };
    std::array<Section, kSections> sections {};
};

} // namespace T730::Modules
