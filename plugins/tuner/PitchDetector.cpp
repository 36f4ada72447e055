#include "PitchDetector.h"

#include <algorithm>
#include <numeric>
#include <cmath>
#include <complex>
#include <numbers>

namespace T730::Modules
{

namespace
{
// What a longer period's partials must carry against its lone lowest one, for a new note and for
// keeping a held one: its odd partials, and from kLowestLoneFundamental up that lowest partial
// itself against the note's fundamental (10 dB for a new note; a held high note keeps its period
// down to 17 dB: an overdriven or muted string's fundamental dips well below its octave for a
// window or two while it still repeats far better at its own period).
constexpr PitchDetector::LoneShares kNewNote { 0.05, 0.1 };
constexpr PitchDetector::LoneShares kHeldNote { 0.05, 0.02 };
constexpr double kLowestLoneFundamental = 200.0;
// The low-pass of the final period search, in multiples of the note's frequency: the first three
// partials pass, the fifth is 29 dB down. On the lowest bass strings the window holds only a few
// periods and three partials make too broad a peak: there everything below 250 Hz passes.
constexpr double kLowPartialsCutoff = 3.3;
constexpr double kLowestCutoffHz = 250.0;
// After an attack: what is skipped at most, and the periods the part after it must hold.
constexpr double kAttackSkipSeconds = 0.06;
constexpr double kSegmentPeriods = 2.5;
// A note starting within this many windows after its attack, and not yet this clear over the
// whole window (as clear as a new note must be to be shown), is also read on the window's later
// half and last quarter.
constexpr int kStartingWindows = 4;
constexpr double kClearWindow = 0.85;
}

int PitchDetector::windowSizeFor (double sampleRate)
{
    return sampleRate > 60000.0 ? 8192 : 4096;
}

int PitchDetector::preRollFor (double sampleRate)
{
    return windowSizeFor (sampleRate) / 2;
}

void PitchDetector::prepare (double sampleRate, const Settings& newSettings)
{
    rate = sampleRate;
    settings = newSettings;
    windowSize = windowSizeFor (sampleRate);
    maxLag = windowSize / 2;
    autocorrelation = std::make_unique<Autocorrelation> (windowSize);
    correlation.assign (static_cast<size_t> (windowSize), 0.0);
    centred.assign (static_cast<size_t> (windowSize), 0.0);
    flattened.assign (static_cast<size_t> (windowSize), 0.0);
    hann.resize (static_cast<size_t> (windowSize));
    for (int i = 0; i < windowSize; ++i)
        hann[static_cast<size_t> (i)] = 0.5 - 0.5 * std::cos (2.0 * std::numbers::pi * i / (windowSize - 1));
    preRoll = preRollFor (sampleRate);
    lowPassed.assign (static_cast<size_t> (preRoll + windowSize), 0.0);
    halfHann.resize (static_cast<size_t> (windowSize / 2));
    for (int i = 0; i < windowSize / 2; ++i)
        halfHann[static_cast<size_t> (i)] = 0.5 - 0.5 * std::cos (2.0 * std::numbers::pi * i / (windowSize / 2 - 1));
    nsdf.assign (static_cast<size_t> (maxLag + 1), 0.0);
    lagRange = maxLag;
    segmentFrom = 0;
    attackSkip = static_cast<int> (std::lround (kAttackSkipSeconds * sampleRate));
    minSegment = windowSize / 4;
    lastClarity = 0.0;
}

double PitchDetector::analyse (const double* window, double gateRms, double heldFrequency, bool heldSinceAttack,
                               int attackAt)
{
    lastClarity = 0.0;
    lastLevelChangeDb = 0.0;
    if (autocorrelation == nullptr)
        return 0.0;

    // After an attack: everything since it, and its later part without the pick's first tens
    // of milliseconds (see segmentAfterAttack), whichever repeats more clearly. What came before
    // the attack is another note or silence.
    const int whole = std::max (0, attackAt);
    Reading reading = analysePart (window, whole, gateRms, heldFrequency, heldSinceAttack, attackAt);
    const int later = segmentAfterAttack (attackAt);
    if (later > whole)
    {
        const Reading other = analysePart (window, later, gateRms, heldFrequency, heldSinceAttack, attackAt);
        if (other.clarity > reading.clarity)
            reading = other;
    }
    // While a note is starting (none held yet, its attack within the last few windows) its sound
    // may become periodic only gradually: a flageolet rings out of the pick's noise over 150 to
    // 250 ms. The window's later half, or its last quarter, holds more of what is already
    // periodic and may read it sooner. The half counts as the part after an attack does (two and
    // a half periods); the quarter only for a period whose double still fits its lags (172 Hz
    // and up at 44.1 kHz), since a part too short for a low string's period finds its octave.
    for (int part = 2; part <= 4 && heldFrequency <= 0.0 && attackAt > -kStartingWindows * windowSize
                       && reading.clarity < kClearWindow; part *= 2)
    {
        const int recent = windowSize - windowSize / part;
        if (recent <= std::max (whole, later))
            continue;
        const Reading other = analysePart (window, recent, gateRms, heldFrequency, heldSinceAttack, attackAt);
        const bool inReach = part == 2 || other.frequency * (windowSize - recent) >= 4.0 * rate;
        if (inReach && other.clarity > reading.clarity)
            reading = other;
    }
    lastClarity = reading.clarity;
    lastLevelChangeDb = reading.levelChangeDb;
    return reading.frequency;
}

PitchDetector::Reading PitchDetector::analysePart (const double* window, int from, double gateRms, double heldFrequency,
                                                   bool heldSinceAttack, int attackAt)
{
    const int w = windowSize;
    segmentFrom = from;
    const int n = w - from;
    if (n < minSegment)
        return {};
    double mean = 0.0;
    for (int i = from; i < w; ++i)
        mean += window[i];
    mean /= n;

    std::fill (centred.begin(), centred.begin() + from, 0.0);
    double energy = 0.0;
    for (int i = from; i < w; ++i)
    {
        const double x = window[i] - mean;
        centred[static_cast<size_t> (i)] = x;
        energy += x * x;
    }
    if (! (energy > 0.0) || std::sqrt (energy / n) < gateRms)
        return {};

    computeNsdf (centred.data(), from);
    int peak = findKeyMaximum();
    if (peak <= 0)
        return {};
    if (rate / peak > settings.maxFrequency)
        peak = noteBelowHighTone (peak);
    peak = preferHeldPeriod (preferFullPeriod (peak), heldFrequency, heldSinceAttack);

    const double clarity = nsdf[static_cast<size_t> (peak)];
    if (clarity < settings.minClarity)
        return {};

    double period = refineOverMultiples (interpolatedPeak (peak), clarity);
    // A part after an attack too short for a few periods gives no period to trust yet.
    if (from > 0 && n < kSegmentPeriods * period)
        return {};
    double levelChangeDb = 0.0;
    double decay = 0.0;

    // Envelope over whole periods at both ends: energy ratio -> decay per sample.
    const int span = static_cast<int> (std::lround (period * std::max (1.0, std::floor (0.5 * n / period))));
    if (span > 0 && span < n)
    {
        double head = 0.0, tail = 0.0;
        for (int i = 0; i < span; ++i)
        {
            head += centred[static_cast<size_t> (from + i)] * centred[static_cast<size_t> (from + i)];
            tail += centred[static_cast<size_t> (w - span + i)] * centred[static_cast<size_t> (w - span + i)];
        }
        if (head > 0.0 && tail > 0.0)
        {
            levelChangeDb = 10.0 * std::log10 (tail / head);
            // At most a factor e^2 over the window: anything steeper is no fading note.
            decay = std::clamp (std::log (head / tail) / (2.0 * (n - span)), -2.0 / w, 2.0 / w);
            flatten (centred.data(), 0.0, decay);
            computeNsdf (flattened.data(), from);
            const int again = highestNear (period);
            if (again > 0)
                period = refineOverMultiples (interpolatedPeak (again), nsdf[static_cast<size_t> (again)]);
        }
    }

    period = refineOnLowPartials (window, period, decay, attackAt);

    const double frequency = rate / period;
    if (frequency < settings.minFrequency || frequency > settings.maxFrequency)
        return {};

    return { frequency, clarity, levelChangeDb };
}

int PitchDetector::segmentAfterAttack (int attackAt) const noexcept
{
    // A pick's first tens of milliseconds can be noise and a string not yet periodic (on some
    // instruments up to 60 ms). While the window still holds the attack's first `attackSkip`
    // samples, the later half of what followed the attack (skipping at most `attackSkip`) can
    // give a reading as soon as it holds a few periods; it grows smoothly to the whole window.
    if (attackAt <= -attackSkip)
        return 0;
    const int since = windowSize - attackAt;
    return std::clamp (attackAt + std::min (since / 2, attackSkip), 0, windowSize);
}

double PitchDetector::refineOnLowPartials (const double* window, double period, double decay, int from)
{
    // The period of the note's lowest partials: a stiff string's upper partials lie sharp of
    // their harmonics and fade first, so a period measured on all of them reads the tone's
    // brightness, a few cents sharp at the pick and gliding down as the note rings. The window
    // (with the pre-roll before it, where the filter settles) is low-passed above the third
    // partial (or 250 Hz), flattened like the full window and searched again near the period
    // found there.
    // Only the part after an attack counts (what came before is another note or silence, and
    // the filter's ringing on the attack), and it must hold a quarter window and two and a half
    // periods; a shorter one keeps the period of the full band.
    const int w = windowSize;
    const double cutoff = std::max (kLowestCutoffHz, kLowPartialsCutoff * rate / period);
    // The filter rings for a period or so after an attack (its slowest poles fall 40 dB in 3.75
    // periods of the cut-off, 1.14 of the note).
    from = std::max (segmentFrom, from + static_cast<int> (std::ceil (1.2 * period)));
    if (cutoff >= 0.45 * rate || preRoll == 0 || w - from < minSegment || kSegmentPeriods * period > w - from)
        return period;
    lowPass.design (cutoff, rate);
    lowPass.run (window - preRoll, lowPassed.data(), preRoll + w);
    const double* x = lowPassed.data() + preRoll;
    double mean = 0.0;
    for (int i = from; i < w; ++i)
        mean += x[i];
    mean /= w - from;
    // The low band's own envelope over whole periods at both ends of what counts: growing by
    // more than 6 dB it is a low note coming in while another fades (a change without an attack),
    // no note's period yet; fading, it is divided out as on the full band.
    const int n = w - from;
    const int span = static_cast<int> (std::lround (period * std::max (1.0, std::floor (0.5 * n / period))));
    double head = 0.0, tail = 0.0;
    for (int i = 0; i < span; ++i)
    {
        head += (x[from + i] - mean) * (x[from + i] - mean);
        tail += (x[w - span + i] - mean) * (x[w - span + i] - mean);
    }
    if (! (head > 0.0 && tail > 0.0 && tail < 4.0 * head))
        return period;
    const double lowDecay = span < n ? std::clamp (std::log (head / tail) / (2.0 * (n - span)), -2.0 / w, 2.0 / w) : decay;
    flatten (x, mean, lowDecay);
    std::fill (flattened.begin(), flattened.begin() + from, 0.0);
    computeNsdf (flattened.data(), from);
    const int again = highestNear (period);
    if (again <= 0 || nsdf[static_cast<size_t> (again)] < settings.minClarity)
        return period;
    const double low = refineOverMultiples (interpolatedPeak (again), nsdf[static_cast<size_t> (again)], (w - from) / 2);
    // (The same note: a low-passed window that peaks elsewhere has lost what made the period.)
    return std::abs (low / period - 1.0) < 0.01 ? low : period;
}

void PitchDetector::flatten (const double* x, double mean, double decay) noexcept
{
    // (x - mean) e^(decay (i - w / 2)), the exponential stepped by one factor per sample.
    const int w = windowSize;
    const double step = std::exp (decay);
    double gain = std::exp (-0.5 * decay * w);
    for (int i = 0; i < w; ++i)
    {
        flattened[static_cast<size_t> (i)] = (x[i] - mean) * gain;
        gain *= step;
    }
}

int PitchDetector::preferFullPeriod (int peak) const
{
    // Below this mismatch a lag is taken as the period. Sampled and looped notes can repeat
    // exactly only every second period while consecutive periods differ by a percent; a weak
    // fundamental that matters leaves at least a few percent.
    constexpr double kNegligibleMismatch = 0.02;
    // Short lags are too coarse for the comparison (a sample of lag is a large share of the period).
    constexpr int kShortestLag = 28;

    // A lag stands for a multiple or a fraction of another only if it lies where that one would:
    // within a sample and a half, or 3 % on long lags (what rounding and a stiff string's sharp
    // partials move it by). A peak farther off belongs to some other component of the sound.
    auto near = [] (int found, double expected) {
        return found > 0 && std::abs (found - expected) <= std::max (1.5, 0.03 * expected);
    };

    // The key maximum itself may be such a longer period whose extra partial is a lone one.
    for (int k = 2; k <= 3; ++k)
    {
        const double fraction = static_cast<double> (peak) / k;
        const int shorter = peak / k >= kShortestLag ? highestNear (fraction) : -1;
        // (Only a shorter lag clear enough to be read: a window that repeats exactly at the key
        // maximum and poorly at its fraction would otherwise give no pitch at all.)
        if (near (shorter, fraction) && nsdf[static_cast<size_t> (shorter)] >= settings.minClarity
            && ! hasPartialsBetween (shorter, k, kNewNote))
        {
            peak = shorter;
            break;
        }
    }

    for (int round = 0; round < 4 && peak >= kShortestLag; ++round)
    {
        const double mismatch = 1.0 - peakHeight (peak);
        if (mismatch < kNegligibleMismatch)
            return peak;
        int better = -1;
        for (int k = 2; k <= 3 && better < 0; ++k)
        {
            if (k * peak >= lagRange - 2)
                break;
            const int candidate = highestNear (k * peak);
            if (near (candidate, k * peak) && 1.0 - peakHeight (candidate) < 0.5 * mismatch
                && hasPartialsBetween (peak, k, kNewNote))
                better = candidate;
        }
        if (better < 0)
            return peak;
        peak = better;
    }
    return peak;
}

bool PitchDetector::hasPartialsBetween (int lag, int k, const LoneShares& shares) const
{
    // The longer period k x lag brings partials at j / k of the chosen frequency (j prime to k).
    // They must carry some of the sound (25 dB below the strongest of the note's first partials: a
    // looped sample whose two halves differ slightly has none), and a weak fundamental comes with
    // the other partials of its note (within 13 dB of it, `shares.others`), while a lone component
    // below the note does not make the note lower. A sampled bass's attack can thump an octave
    // below the note: no more than 6 dB under the note's own fundamental but below its strongest
    // partial, with partials of its own weaker still, or fading within the window much faster than
    // the note. A string whose weak fundamental made the period look half as long has that
    // fundamental far below the partial taken for the note; a high note whose fundamental carries
    // the sound has it above all of them. (The frequency is the interpolated lag's: a whole lag is
    // up to a percent off on a high note, which would put its upper partials a bin or two beside
    // where they are measured.)
    const double f = rate / interpolatedPeak (lag);
    const double lone = partialPower (f / k);
    double others = 0.0;
    for (int j = 2; j <= 2 * k + 1; ++j)
        if (std::gcd (j, k) == 1 && j * f / k < 0.45 * rate)
            others += partialPower (j * f / k);
    // A high note may bring little but its fundamental and its octave; a thump is a bass's.
    if (f / k >= kLowestLoneFundamental && lone >= shares.highFundamental * partialPower (f))
        return true;
    const double note = notePower (f);
    if (others < shares.others * lone || lone + others < 0.003 * note)
        return false;
    const bool loud = lone > 0.25 * partialPower (f);
    if (loud && lone < 0.5 * note && others < lone)
        return false;
    if (! loud)
        return true;   // (a weak one is too close to the noise for its fading to tell)
    const double loneFade = halfPower (f / k, 0) / std::max (1e-300, halfPower (f / k, 1));
    double noteHead = 0.0, noteTail = 0.0;
    for (int j = 1; j <= 4 && j * f < 0.45 * rate; ++j)
    {
        noteHead += halfPower (j * f, 0);
        noteTail += halfPower (j * f, 1);
    }
    return loneFade < 4.0 * noteHead / std::max (1e-300, noteTail);
}

double PitchDetector::halfPower (double hz, int half) const
{
    // As partialPower, over the first (0) or second (1) half of the analysed part alone.
    const int n = (windowSize - segmentFrom) / 2;
    return hannPower (centred.data() + segmentFrom + half * n, n, hz, segmentFrom == 0 ? halfHann.data() : nullptr);
}

double PitchDetector::hannPower (const double* x, int n, double hz, const double* window) const
{
    // Hann-windowed DTFT at one frequency, by a rotating phasor; without a table the window's
    // cosine rotates along.
    const std::complex<double> step = std::polar (1.0, -2.0 * std::numbers::pi * hz / rate);
    std::complex<double> phasor (1.0, 0.0), sum;
    if (window != nullptr)
    {
        for (int i = 0; i < n; ++i)
        {
            sum += (x[i] * window[i]) * phasor;
            phasor *= step;
        }
        return std::norm (sum);
    }
    const std::complex<double> turn = std::polar (1.0, 2.0 * std::numbers::pi / std::max (1, n - 1));
    std::complex<double> cosine (1.0, 0.0);
    for (int i = 0; i < n; ++i)
    {
        sum += (x[i] * (0.5 - 0.5 * cosine.real())) * phasor;
        phasor *= step;
        cosine *= turn;
    }
    return std::norm (sum);
}

double PitchDetector::notePower (double hz) const
{
    // The strongest of the note's first partials: a weak fundamental (a sampled bass whose low
    // partial is 40 dB below its octave) is no yardstick for what carries the sound.
    double strongest = 0.0;
    for (int j = 1; j <= 4 && j * hz < 0.45 * rate; ++j)
        strongest = std::max (strongest, partialPower (j * hz));
    return strongest;
}

double PitchDetector::partialPower (double hz) const
{
    // Over the analysed part (the whole window, or the part after an attack).
    return hannPower (centred.data() + segmentFrom, windowSize - segmentFrom, hz, segmentFrom == 0 ? hann.data() : nullptr);
}

double PitchDetector::peakHeight (int lag) const
{
    const double a = nsdf[static_cast<size_t> (lag - 1)];
    const double b = nsdf[static_cast<size_t> (lag)];
    const double c = nsdf[static_cast<size_t> (lag + 1)];
    const double denominator = a - 2.0 * b + c;
    return denominator < 0.0 ? b - 0.125 * (a - c) * (a - c) / denominator : b;
}

int PitchDetector::preferHeldPeriod (int peak, double heldFrequency, bool heldSinceAttack) const
{
    if (! (heldFrequency > 0.0))
        return peak;
    const double heldLag = rate / heldFrequency;
    if (heldLag >= lagRange - 2)
        return peak;
    if (peak >= 2.0 * heldLag * 0.97)
        return heldSinceAttack ? keepHeldAgainstLonger (peak, heldLag) : peak;
    if (heldLag < 2.0 * peak * 0.97)
        return peak;   // not a sub-multiple of the held period
    const double k = heldLag / peak;
    if (std::abs (k - std::round (k)) > 0.03 * k)
        return peak;
    const int held = highestNear (heldLag);
    // Still more periodic at the held period than at the chosen lag, and the held period brings
    // partials of its own: the chosen lag is the period of some of the held note's partials. (A
    // held period that repeats no better than the chosen lag, or only through the chosen lag's own
    // partials, gives way: the note was taken an octave or two low.)
    return held > 0 && peakHeight (held) > peakHeight (peak)
                   && hasPartialsBetween (peak, static_cast<int> (std::lround (k)), kHeldNote)
               ? held
               : peak;
}

int PitchDetector::keepHeldAgainstLonger (int peak, double heldLag) const
{
    // A held note whose sampled or overdriven waveform repeats exactly only every second or third
    // period (a sub-octave in the attack) keeps its own period while the window still repeats
    // clearly there: a note never falls an octave while it sounds, and the reading would be a
    // wrong note name.
    constexpr double kHeldRepeats = 0.8;
    const double k = peak / heldLag;
    if (std::round (k) > 3.0 || std::abs (k - std::round (k)) > 0.03 * k)
        return peak;
    const int held = highestNear (heldLag);
    return held > 0 && peakHeight (held) >= kHeldRepeats ? held : peak;
}

void PitchDetector::computeNsdf (const double* x, int from)
{
    // Over x[from, w): the samples before `from` are zero and count in no overlap.
    const int w = windowSize;

    double energy = 0.0;
    for (int i = from; i < w; ++i)
        energy += x[i] * x[i];
    autocorrelation->compute (x, correlation.data());

    // m(lag) = sum over the overlap of x[j]^2 + x[j + lag]^2, shrunk one term per side per lag.
    double m = 2.0 * energy;
    const int lastLag = std::min (maxLag, w - from - 1);
    // Lags beyond half the part overlap too little of it to tell a period.
    lagRange = std::min (maxLag, (w - from) / 2);
    std::fill (nsdf.begin() + lastLag + 1, nsdf.end(), 0.0);
    for (int lag = 0; lag <= lastLag; ++lag)
    {
        const double r = correlation[static_cast<size_t> (lag)];
        nsdf[static_cast<size_t> (lag)] = m > 1e-300 ? 2.0 * r / m : 0.0;
        const double a = x[from + lag];
        const double b = x[w - 1 - lag];
        m -= a * a + b * b;
    }
}

int PitchDetector::highestNear (double lag) const
{
    const int halfWidth = std::max (1, static_cast<int> (lag * 0.125));
    const int centre = static_cast<int> (std::lround (lag));
    const int from = std::max (1, centre - halfWidth);
    const int to = std::min (lagRange - 1, centre + halfWidth);
    int best = from;
    for (int i = from + 1; i <= to; ++i)
        if (nsdf[static_cast<size_t> (i)] > nsdf[static_cast<size_t> (best)])
            best = i;
    return (best == from || best == to) ? -1 : best;
}

PitchDetector::Lobes PitchDetector::lobeMaxima (int fromLag) const
{
    // Skip the lobe that `fromLag` lies in (around lag 0, or one reaching below the range), then
    // take the maximum of each positive lobe; one cut off by the end of the lag range has no
    // trustworthy maximum.
    Lobes lobes;
    int lag = fromLag;
    while (lag < lagRange && nsdf[static_cast<size_t> (lag)] > 0.0)
        ++lag;
    while (lag < lagRange && lobes.count < Lobes::kMax)
    {
        while (lag < lagRange && nsdf[static_cast<size_t> (lag)] <= 0.0)
            ++lag;
        int best = -1;
        while (lag < lagRange && nsdf[static_cast<size_t> (lag)] > 0.0)
        {
            if (best < 0 || nsdf[static_cast<size_t> (lag)] > nsdf[static_cast<size_t> (best)])
                best = lag;
            ++lag;
        }
        if (best > 0 && lag < lagRange)
        {
            lobes.peaks[static_cast<size_t> (lobes.count++)] = best;
            lobes.highest = std::max (lobes.highest, nsdf[static_cast<size_t> (best)]);
        }
    }
    return lobes;
}

int PitchDetector::findKeyMaximum() const
{
    // Every lobe counts, also those above the highest frequency reported: a tone above the range
    // is no pitch, not one an octave lower (see noteBelowHighTone).
    const Lobes lobes = lobeMaxima (1);
    const double threshold = settings.keyMaxThreshold * lobes.highest;
    for (int i = 0; i < lobes.count; ++i)
        if (nsdf[static_cast<size_t> (lobes.peaks[static_cast<size_t> (i)])] >= threshold)
            return lobes.peaks[static_cast<size_t> (i)];
    return -1;
}

int PitchDetector::noteBelowHighTone (int high) const
{
    // The key maximum lies above the range. A flageolet there is no pitch: the lags within the
    // range repeat it only at its multiples, and bring nothing else. But an overdriven string can
    // ring a resonance around 2 kHz that for a few hundred milliseconds repeats as clearly as the
    // note itself, which repeats at its own period within the range, as clearly as the whole
    // window does anywhere there, with partials of its own: that is the note.
    const Lobes lobes = lobeMaxima (static_cast<int> (std::ceil (rate / settings.maxFrequency)));
    if (lobes.highest < settings.minClarity || lobes.highest < settings.keyMaxThreshold * nsdf[static_cast<size_t> (high)])
        return high;
    int chosen = -1;
    for (int i = 0; i < lobes.count && chosen < 0; ++i)
        if (nsdf[static_cast<size_t> (lobes.peaks[static_cast<size_t> (i)])] >= lobes.highest)
            chosen = lobes.peaks[static_cast<size_t> (i)];
    if (chosen < 0)
        return high;
    // Its first partials, leaving out any that is the high tone or one of its multiples, must carry
    // a quarter of the high tone's power (a flageolet's lower octave brings a twentieth at most).
    constexpr double kOwnShare = 0.25;
    const double tone = rate / interpolatedPeak (high);
    const double f = rate / interpolatedPeak (chosen);
    double own = 0.0;
    for (int j = 1; j <= 4 && j * f < 0.45 * rate; ++j)
    {
        const double ratio = j * f / tone;
        if (ratio < 0.5 || std::abs (ratio - std::round (ratio)) >= 0.05 * ratio)
            own += partialPower (j * f);
    }
    return own >= kOwnShare * partialPower (tone) ? chosen : high;
}

double PitchDetector::interpolatedPeak (int lag) const
{
    if (lag <= 0 || lag >= maxLag)
        return lag;

    // A least-squares fit over the lags around the maximum where the NSDF stays within
    // kFitDrop of it, taken symmetrically. A sharp peak (strong harmonics) gets the classic
    // three-point parabola; a broad one (a bass note with little but its fundamental) gets
    // many points, which keeps noise from moving its vertex. With more than three points the
    // fit is cubic: the NSDF of a periodic signal peaks exactly at the period but leans to one
    // side (its normalisation changes with the lag), and a parabola over a wide span would
    // turn that lean into an offset.
    constexpr double kFitDrop = 0.05;
    const double top = nsdf[static_cast<size_t> (lag)];
    const double floorValue = top - kFitDrop * std::abs (top);
    int half = 1;
    const int limit = std::min (lag - 1, maxLag - lag);
    while (half < limit && nsdf[static_cast<size_t> (lag - half - 1)] >= floorValue
           && nsdf[static_cast<size_t> (lag + half + 1)] >= floorValue)
        ++half;

    if (half == 1)
    {
        const double a = nsdf[static_cast<size_t> (lag - 1)];
        const double c = nsdf[static_cast<size_t> (lag + 1)];
        const double denominator = a - 2.0 * top + c;
        if (denominator >= 0.0)
            return lag;
        return lag + 0.5 * (a - c) / denominator;
    }

    // Symmetric offsets: the normal equations split into an even (1, u^2) and an odd (u, u^3) pair.
    double su2 = 0.0, su4 = 0.0, su6 = 0.0, sy = 0.0, suy = 0.0, su2y = 0.0, su3y = 0.0;
    for (int u = -half; u <= half; ++u)
    {
        const double y = nsdf[static_cast<size_t> (lag + u)] - top;
        const double u2 = static_cast<double> (u) * u;
        su2 += u2;
        su4 += u2 * u2;
        su6 += u2 * u2 * u2;
        sy += y;
        suy += u * y;
        su2y += u2 * y;
        su3y += u * u2 * y;
    }
    const double count = 2.0 * half + 1.0;
    const double c2 = (count * su2y - su2 * sy) / (count * su4 - su2 * su2);
    const double oddDet = su2 * su6 - su4 * su4;
    const double c1 = (suy * su6 - su3y * su4) / oddDet;
    const double c3 = (su2 * su3y - su4 * suy) / oddDet;
    if (! (c2 < 0.0))
        return lag;

    // The maximum: the root of c1 + 2 c2 u + 3 c3 u^2 next to the parabola's vertex.
    double u = -c1 / (2.0 * c2);
    for (int i = 0; i < 4; ++i)
    {
        const double slope = c1 + 2.0 * c2 * u + 3.0 * c3 * u * u;
        const double bend = 2.0 * c2 + 6.0 * c3 * u;
        if (! (bend < 0.0))
            break;
        u -= slope / bend;
    }
    // On a broad peak the highest sample may sit a few lags off the true maximum.
    return std::abs (u) <= half ? lag + u : static_cast<double> (lag);
}

double PitchDetector::refineOverMultiples (double period, double clarity, int lagLimit) const
{
    // Least-squares fit through the origin of peak lag against multiple k:
    // period = sum(k * lag_k) / sum(k^2). Each peak is searched around k times the current
    // estimate, so an error in the first peak cannot walk off to a neighbouring lobe.
    double sumKLag = period;
    double sumKK = 1.0;
    double estimate = period;
    const int reach = static_cast<int> (std::floor ((std::min (lagRange, lagLimit) - 2) / period));

    for (int k = 2; k <= reach; ++k)
    {
        const double expected = k * estimate;
        const int halfWidth = std::max (1, static_cast<int> (estimate * 0.25));
        const int from = std::max (1, static_cast<int> (std::lround (expected)) - halfWidth);
        const int to = std::min (lagRange - 1, static_cast<int> (std::lround (expected)) + halfWidth);
        int best = from;
        for (int lag = from + 1; lag <= to; ++lag)
            if (nsdf[static_cast<size_t> (lag)] > nsdf[static_cast<size_t> (best)])
                best = lag;
        if (best == from || best == to || nsdf[static_cast<size_t> (best)] < 0.5 * clarity)
            break;
        // A maximum a twentieth of a period or more away from the multiple belongs to another
        // lobe (a distorted note's NSDF can split its peaks): no string glides that far within a
        // window, so the fit stops rather than walk off.
        const double lagK = interpolatedPeak (best);
        if (std::abs (lagK - expected) > 0.05 * estimate)
            break;

        sumKLag += k * lagK;
        sumKK += static_cast<double> (k) * k;
        estimate = sumKLag / sumKK;
    }
    return estimate;
}

} // namespace T730::Modules
