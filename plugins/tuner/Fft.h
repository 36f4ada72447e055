#pragma once

#include <complex>
#include <vector>

namespace T730::Modules
{

/** In-place radix-2 complex FFT of a fixed power-of-two size. Tables are built by the
    constructor; perform() allocates nothing. */
class Fft
{
public:
    explicit Fft (int size);

    int size() const noexcept { return n; }

    /** Forward transform (e^-i), or the inverse without the 1/n scaling. */
    void perform (std::complex<double>* data, bool inverse) const noexcept;

private:
    int n;
    std::vector<int> bitReversed;
    std::vector<std::complex<double>> twiddles;   // e^(-2 pi i k / n), k < n/2
};

} // namespace T730::Modules
