#include "Fft.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace T730::Modules
{

Fft::Fft (int size) : n (size)
{
    if (n < 2 || (n & (n - 1)) != 0)
        throw std::invalid_argument ("FFT size must be a power of two");

    int bits = 0;
    while ((1 << bits) < n)
        ++bits;

    bitReversed.resize (static_cast<size_t> (n));
    for (int i = 0; i < n; ++i)
    {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            if (i & (1 << b))
                r |= 1 << (bits - 1 - b);
        bitReversed[static_cast<size_t> (i)] = r;
    }

    twiddles.resize (static_cast<size_t> (n / 2));
    for (int k = 0; k < n / 2; ++k)
        twiddles[static_cast<size_t> (k)] = std::polar (1.0, -2.0 * std::numbers::pi * k / n);
}

void Fft::perform (std::complex<double>* data, bool inverse) const noexcept
{
    for (int i = 0; i < n; ++i)
    {
        const int r = bitReversed[static_cast<size_t> (i)];
        if (r > i)
            std::swap (data[i], data[r]);
    }

    for (int len = 2; len <= n; len <<= 1)
    {
        const int half = len / 2;
        const int stride = n / len;
        for (int start = 0; start < n; start += len)
        {
            for (int k = 0; k < half; ++k)
            {
                // Written out: std::complex's operator* checks for infinities and is slow.
                const auto& w = twiddles[static_cast<size_t> (k * stride)];
                const double wr = w.real();
                const double wi = inverse ? -w.imag() : w.imag();
                const auto a = data[start + k];
                const auto b = data[start + k + half];
                const double br = b.real() * wr - b.imag() * wi;
                const double bi = b.real() * wi + b.imag() * wr;
                data[start + k] = { a.real() + br, a.imag() + bi };
                data[start + k + half] = { a.real() - br, a.imag() - bi };
            }
        }
    }
}

Autocorrelation::Autocorrelation (int windowSize)
    : w (windowSize), half (windowSize), data (static_cast<size_t> (windowSize)),
      power (static_cast<size_t> (windowSize) + 1), rotation (static_cast<size_t> (windowSize))
{
    for (int k = 0; k < w; ++k)
        rotation[static_cast<size_t> (k)] = std::polar (1.0, -std::numbers::pi * k / w);
}

void Autocorrelation::compute (const double* x, double* r) noexcept
{
    // Padded signal of 2w samples packed into w complex ones: z[n] = x[2n] + i x[2n + 1].
    const int filled = w / 2;
    for (int n = 0; n < filled; ++n)
        data[static_cast<size_t> (n)] = { x[2 * n], x[2 * n + 1] };
    std::fill (data.begin() + filled, data.end(), std::complex<double> {});
    half.perform (data.data(), false);

    // Unpack the spectrum X of the padded signal: X[k] = E[k] + e^(-i pi k / w) O[k].
    for (int k = 0; k <= w / 2; ++k)
    {
        const auto a = data[static_cast<size_t> (k % w)];
        const auto b = std::conj (data[static_cast<size_t> ((w - k) % w)]);
        const std::complex<double> even = 0.5 * (a + b);
        const std::complex<double> odd = std::complex<double> (0.0, -0.5) * (a - b);
        const auto rk = rotation[static_cast<size_t> (k)];
        power[static_cast<size_t> (k)] = std::norm (even + rk * odd);   // X[k]
        power[static_cast<size_t> (w - k)] = std::norm (even - rk * odd);   // X[k + w], as |X[w - k]|
    }

    // Back: r = inverse of the real, even power spectrum, packed the same way.
    for (int k = 0; k < w; ++k)
    {
        const double pk = power[static_cast<size_t> (k)];
        const double pm = power[static_cast<size_t> (w - k)];
        const double even = 0.5 * (pk + pm);
        const std::complex<double> odd = 0.5 * (pk - pm) * std::conj (rotation[static_cast<size_t> (k)]);
        data[static_cast<size_t> (k)] = even + std::complex<double> (0.0, 1.0) * odd;
    }
    half.perform (data.data(), true);
    const double scale = 1.0 / w;
    for (int n = 0; n < w / 2; ++n)
    {
        r[2 * n] = data[static_cast<size_t> (n)].real() * scale;
        r[2 * n + 1] = data[static_cast<size_t> (n)].imag() * scale;
    }
}

} // namespace T730::Modules
