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

} // namespace T730::Modules
