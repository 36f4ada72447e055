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

/** Autocorrelation of a real window of w samples (through the power spectrum of its copy padded
    to 2w), with a complex transform of only w points: the even and odd samples travel as the real
    and imaginary parts of one signal. The constructor allocates; compute() does not. */
class Autocorrelation
{
public:
    explicit Autocorrelation (int windowSize);

    int windowSize() const noexcept { return w; }

    /** r[lag] = sum over j of x[j] x[j + lag], for lag 0 to w - 1. */
    void compute (const double* x, double* r) noexcept;

private:
    int w;
    Fft half;
    std::vector<std::complex<double>> data;
    std::vector<double> power;                  // |X[k]|^2, k = 0 .. w
    std::vector<std::complex<double>> rotation; // e^(-i pi k / w), k < w
};

} // namespace T730::Modules
