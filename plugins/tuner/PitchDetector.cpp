#include "PitchDetector.h"

#include <algorithm>
#include <cmath>

namespace T730::Modules
{

int PitchDetector::windowSizeFor (double sampleRate)
{
    return sampleRate > 60000.0 ? 8192 : 4096;
}

void PitchDetector::prepare (double sampleRate, const Settings& newSettings)
{
    rate = sampleRate;
    settings = newSettings;
    windowSize = windowSizeFor (sampleRate);
    maxLag = windowSize / 2;
    fft = std::make_unique<Fft> (windowSize * 2);
    spectrum.assign (static_cast<size_t> (windowSize * 2), {});
    centred.assign (static_cast<size_t> (windowSize), 0.0);
    nsdf.assign (static_cast<size_t> (maxLag + 1), 0.0);
    lastClarity = 0.0;
}

double PitchDetector::analyse (const double* window, double gateRms)
{
    lastClarity = 0.0;
    if (fft == nullptr)
        return 0.0;

    const int w = windowSize;
    double mean = 0.0;
    for (int i = 0; i < w; ++i)
        mean += window[i];
    mean /= w;

    double energy = 0.0;
    for (int i = 0; i < w; ++i)
    {
        const double x = window[i] - mean;
        centred[static_cast<size_t> (i)] = x;
        energy += x * x;
    }
    if (! (energy > 0.0) || std::sqrt (energy / w) < gateRms)
        return 0.0;

    // Autocorrelation r(lag) through the power spectrum of the zero-padded window.
    for (int i = 0; i < w; ++i)
        spectrum[static_cast<size_t> (i)] = { centred[static_cast<size_t> (i)], 0.0 };
    std::fill (spectrum.begin() + w, spectrum.end(), std::complex<double> {});
    fft->perform (spectrum.data(), false);
    for (auto& c : spectrum)
        c = { c.real() * c.real() + c.imag() * c.imag(), 0.0 };
    fft->perform (spectrum.data(), true);
    const double scale = 1.0 / fft->size();

    // m(lag) = sum over the overlap of x[j]^2 + x[j + lag]^2, shrunk one term per side per lag.
    double m = 2.0 * energy;
    for (int lag = 0; lag <= maxLag; ++lag)
    {
        const double r = spectrum[static_cast<size_t> (lag)].real() * scale;
        nsdf[static_cast<size_t> (lag)] = m > 1e-300 ? 2.0 * r / m : 0.0;
        const double a = centred[static_cast<size_t> (lag)];
        const double b = centred[static_cast<size_t> (w - 1 - lag)];
        m -= a * a + b * b;
    }

    const int peak = findKeyMaximum();
    if (peak <= 0)
        return 0.0;

    const double clarity = nsdf[static_cast<size_t> (peak)];
    if (clarity < settings.minClarity)
        return 0.0;

    const double period = refineOverMultiples (parabolicPeak (peak), clarity);
    const double frequency = rate / period;
    if (frequency < settings.minFrequency || frequency > settings.maxFrequency)
        return 0.0;

    lastClarity = clarity;
    return frequency;
}

int PitchDetector::findKeyMaximum() const
{
    const int minLag = std::max (2, static_cast<int> (std::floor (rate / settings.maxFrequency)) - 1);

    // Skip the lobe around lag 0, then take the maximum of each positive lobe.
    int lag = 1;
    while (lag < maxLag && nsdf[static_cast<size_t> (lag)] > 0.0)
        ++lag;

    constexpr int kMaxPeaks = 256;
    int peaks[kMaxPeaks];
    int numPeaks = 0;
    double highest = 0.0;

    while (lag < maxLag && numPeaks < kMaxPeaks)
    {
        while (lag < maxLag && nsdf[static_cast<size_t> (lag)] <= 0.0)
            ++lag;
        int best = -1;
        while (lag < maxLag && nsdf[static_cast<size_t> (lag)] > 0.0)
        {
            if (best < 0 || nsdf[static_cast<size_t> (lag)] > nsdf[static_cast<size_t> (best)])
                best = lag;
            ++lag;
        }
        // A lobe cut off by the end of the lag range has no trustworthy maximum.
        if (best > 0 && lag < maxLag && best >= minLag)
        {
            peaks[numPeaks++] = best;
            highest = std::max (highest, nsdf[static_cast<size_t> (best)]);
        }
    }

    const double threshold = settings.keyMaxThreshold * highest;
    for (int i = 0; i < numPeaks; ++i)
        if (nsdf[static_cast<size_t> (peaks[i])] >= threshold)
            return peaks[i];
    return -1;
}

double PitchDetector::parabolicPeak (int lag) const
{
    if (lag <= 0 || lag >= maxLag)
        return lag;
    const double a = nsdf[static_cast<size_t> (lag - 1)];
    const double b = nsdf[static_cast<size_t> (lag)];
    const double c = nsdf[static_cast<size_t> (lag + 1)];
    const double denominator = a - 2.0 * b + c;
    if (denominator >= 0.0)
        return lag;
    return lag + 0.5 * (a - c) / denominator;
}

double PitchDetector::refineOverMultiples (double period, double clarity) const
{
    // Least-squares fit through the origin of peak lag against multiple k:
    // period = sum(k * lag_k) / sum(k^2). Each peak is searched around k times the current
    // estimate, so an error in the first peak cannot walk off to a neighbouring lobe.
    double sumKLag = period;
    double sumKK = 1.0;
    double estimate = period;
    const int reach = static_cast<int> (std::floor ((maxLag - 2) / period));

    for (int k = 2; k <= reach; ++k)
    {
        const double expected = k * estimate;
        const int halfWidth = std::max (1, static_cast<int> (estimate * 0.25));
        const int from = std::max (1, static_cast<int> (std::lround (expected)) - halfWidth);
        const int to = std::min (maxLag - 1, static_cast<int> (std::lround (expected)) + halfWidth);
        int best = from;
        for (int lag = from + 1; lag <= to; ++lag)
            if (nsdf[static_cast<size_t> (lag)] > nsdf[static_cast<size_t> (best)])
                best = lag;
        if (best == from || best == to || nsdf[static_cast<size_t> (best)] < 0.5 * clarity)
            break;

        sumKLag += k * parabolicPeak (best);
        sumKK += static_cast<double> (k) * k;
        estimate = sumKLag / sumKK;
    }
    return estimate;
}

} // namespace T730::Modules
