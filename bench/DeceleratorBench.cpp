// The slow-down on rendered riffs (held low and high notes, picked notes; clean guitar, the same
// through an overdrive, finger bass) at every speed the recorder offers. The recorder's side is
// played as the recorder does it (the frames its slowed transport covers, at the start of each
// 512-frame block, stretched in place). Measured against the take:
// - level: RMS over the riff, and over each held note (also its worst 100 ms frame), in dB;
// - attack: rise from 10 % to 50 % of the way from the level before a note to its peak (-20 to
//   -6 dB from silence), read forward from 25 ms ahead of it on the 1 ms RMS envelope above 1 kHz
//   (the pick's transient) held at its maximum over 25 ms; median and worst over the picked notes
//   (those rising 20 dB or more in the take), and the worst legato note change apart (a note
//   struck while the last still sounds: through the overdrive the level hardly moves);
// - the held low note's fundamental: its frequency against the take's (cents), the ripple of its
//   amplitude beyond the take's own (a split, beating partial shows as a ripple; dB around the
//   decay's trend) and the strongest other peak within 15 % of it (dB below the fundamental);
// - length: the drift of the stretcher's delay (queued and in-flight frames, the module's query
//   158, counted from the transport's fractional position) from the first attack to the take's
//   end, in frames: 0 when the slowed take is exactly 1/ratio times as long (the module answers
//   whole frames, so its figure is exact within 1);
// - cost per block: processor time, mean (share of a core) and 99th percentile, and the
//   allocations made while blocks are processed (the goal is none).
// First the stretcher's engines and options are compared on the same riffs (Rubber Band driven by
// the module's own SlowedStream), then the module itself is measured through its interface.
//
//     oxa_bench_decelerator [--module <Decelerator.so>] [--corpus <folder>] [--no-compare] [--peaks]

#include "InstrumentNotes.h"
#include "ModuleHarness.h"
#include "SignalAnalysis.h"
#include "SlowedStream.h"

#include <atomic>
#include <complex>
#include <cstdlib>
#include <new>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

using namespace moduletest;
using namespace benchsignal;
using RB = RubberBand::RubberBandStretcher;

// Allocations while a block is processed: every operator new in the process (the module's too)
// is counted while `countingAllocations` is set.
namespace
{
std::atomic<bool> countingAllocations { false };
std::atomic<long> allocations { 0 };
} // namespace

void* operator new (std::size_t size)
{
    if (countingAllocations.load (std::memory_order_relaxed))
        allocations.fetch_add (1, std::memory_order_relaxed);
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[] (std::size_t size) { return operator new (size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }

namespace
{

bool detail = false;
constexpr double kRate = 44100.0;
constexpr int kBlock = 512;
const int kSpeeds[] = { 50, 60, 70, 80, 90 };

double threadSeconds()
{
    timespec t {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double> (t.tv_sec) + 1e-9 * static_cast<double> (t.tv_nsec);
}

float speedParameter (int speed) { return (speed - 50) / 50.0f; }
double ratioOf (int speed) { return std::pow (2.0f, speedParameter (speed) - 1.0f); }

struct Take
{
    std::string name;
    int program = 27, low = 40;
    std::vector<double> mono;
    RenderedAudio audio;
};

/** Something that turns n covered-frame blocks into n stretched frames in place, and answers its
    delay in output frames afterwards. */
using BlockProcessor = std::function<double (double** channels, int frames)>;

struct Played
{
    std::vector<double> mono;
    std::vector<double> costs;
    std::vector<double> delays;   // after each block
    long allocations = 0;         // operator new calls while blocks were processed, after the first
};

/** The recorder's side: per block the frames its transport covers, copied to the buffer's start. */
Played play (const Take& take, int speed, const BlockProcessor& process)
{
    const float ratio = std::pow (2.0f, speedParameter (speed) - 1.0f);
    std::vector<double> left (kBlock + 4), right (kBlock + 4);
    Played out;
    double remainder = 0.0;
    size_t position = 0;
    const size_t total = take.audio.size() + static_cast<size_t> (0.5 * kRate);
    while (position < total)
    {
        const double covered = ratio * kBlock + remainder;
        const int needed = std::min (static_cast<int> (covered + 0.5) + 2, kBlock + 4);
        remainder = covered - std::floor (covered);
        for (int i = 0; i < kBlock + 4; ++i)
        {
            const size_t p = position + static_cast<size_t> (i);
            const bool inside = i < needed && p < take.audio.size();
            left[static_cast<size_t> (i)] = inside ? take.audio.left[p] : 0.0;
            right[static_cast<size_t> (i)] = inside ? take.audio.right[p] : 0.0;
        }
        double* channels[2] = { left.data(), right.data() };
        countingAllocations = ! out.costs.empty();
        const long before = allocations.load();
        const double t0 = threadSeconds();
        const double delay = process (channels, kBlock);
        const double t1 = threadSeconds();
        countingAllocations = false;
        out.allocations += allocations.load() - before;
        out.costs.push_back (t1 - t0);
        out.delays.push_back (delay);
        for (int i = 0; i < kBlock; ++i)
            out.mono.push_back (0.5 * (left[static_cast<size_t> (i)] + right[static_cast<size_t> (i)]));
        position += static_cast<size_t> (covered);
    }
    return out;
}

/** The attack envelope: 1 ms RMS of the signal above 1 kHz (second-order Butterworth high-pass),
    where a pick's transient lives, held at its maximum over the last 25 ms. Full-band levels of a
    low note swing with its waveform, and so do the 1 ms levels above 1 kHz (an overdriven note's
    clipped edges and a plucked low string's brightness come once a period, up to 24 ms on the
    bass's low E): without the hold the take's own attacks read 0 to 29 ms. A trailing maximum
    keeps a rising edge where it is and as steep as it is. */
std::vector<double> envelope (const std::vector<double>& x)
{
    const double w = std::tan (std::numbers::pi * 1000.0 / kRate), q = std::sqrt (0.5);
    const double norm = 1.0 / (1.0 + w / q + w * w);
    const double b0 = norm, b1 = -2.0 * norm, b2 = norm, a1 = 2.0 * (w * w - 1.0) * norm, a2 = (1.0 - w / q + w * w) * norm;
    std::vector<double> y (x.size());
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (size_t i = 0; i < x.size(); ++i)
    {
        y[i] = b0 * x[i] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x[i], y2 = y1, y1 = y[i];
    }
    const auto levels = frameLevels (y, 44);
    std::vector<double> held (levels.size());
    for (size_t i = 0; i < levels.size(); ++i)
        held[i] = *std::max_element (levels.begin() + static_cast<std::ptrdiff_t> (i >= 24 ? i - 24 : 0),
                                     levels.begin() + static_cast<std::ptrdiff_t> (i + 1));
    return held;
}
constexpr double kEnvFrame = 44.0;

/** An attack: the frame where its rise reaches halfway and the rise time from 10 % to 50 % of the
    way from the level before to the peak (-20 to -6 dB from silence), in ms. */
struct Attack
{
    double at = 0.0, riseMs = 0.0;
    double swingDb = 0.0;   // peak over the level before
};

/** The attack expected at `expected` (samples, give or take 25 ms): the level before is the
    lowest from 40 to 25 ms ahead of it, the peak the highest from there to 60 ms after it, and
    the rise is read going forward from 25 ms ahead (the first frame past 10 %, then the first past
    50 %), so a smeared attack's early start and a later swell of the note are not mistaken for it. */
Attack attackNear (const std::vector<double>& env, double expected)
{
    const double e = expected / kEnvFrame;
    auto index = [&] (double f) { return static_cast<size_t> (std::clamp (f, 0.0, static_cast<double> (env.size()))); };
    const size_t baseFrom = index (e - 40.0), scanFrom = index (e - 25.0), peakTo = index (e + 60.0);
    if (peakTo <= scanFrom || scanFrom <= baseFrom)
        return { expected, 0.0, 0.0 };
    const double base = *std::min_element (env.begin() + static_cast<std::ptrdiff_t> (baseFrom), env.begin() + static_cast<std::ptrdiff_t> (scanFrom));
    const double peak = *std::max_element (env.begin() + static_cast<std::ptrdiff_t> (scanFrom), env.begin() + static_cast<std::ptrdiff_t> (peakTo));
    const double lo = base + 0.1 * (peak - base), hi = base + 0.5 * (peak - base);
    size_t loAt = scanFrom;
    while (loAt < peakTo && env[loAt] < lo)
        ++loAt;
    size_t hiAt = loAt;
    while (hiAt < peakTo && env[hiAt] < hi)
        ++hiAt;
    return { hiAt * kEnvFrame, static_cast<double> (hiAt - loAt), toDb (peak / std::max (base, 1e-30)) };
}

double rmsOf (const std::vector<double>& x, double from, double to)
{
    const auto a = static_cast<size_t> (std::max (0.0, from));
    const auto b = std::min (x.size(), static_cast<size_t> (std::max (0.0, to)));
    double sum = 0.0;
    for (size_t i = a; i < b; ++i)
        sum += x[i] * x[i];
    return b > a ? std::sqrt (sum / static_cast<double> (b - a)) : 0.0;
}

/** The amplitude of the partial at `hz` over time (100 ms Hann windows every 10 ms): its ripple
    around a straight line in dB, max minus min. */
double rippleDb (const std::vector<double>& x, double from, double to, double hz)
{
    const auto length = static_cast<size_t> (0.1 * kRate), step = static_cast<size_t> (0.01 * kRate);
    std::vector<double> t, db;
    for (auto a = static_cast<size_t> (from); a + length <= static_cast<size_t> (to) && a + length <= x.size(); a += step)
    {
        std::complex<double> z;
        double wsum = 0.0;
        for (size_t i = 0; i < length; ++i)
        {
            const double w = 0.5 - 0.5 * std::cos (2.0 * std::numbers::pi * static_cast<double> (i) / static_cast<double> (length - 1));
            z += w * x[a + i] * std::polar (1.0, -2.0 * std::numbers::pi * hz * static_cast<double> (a + i) / kRate);
            wsum += w;
        }
        t.push_back (static_cast<double> (a));
        db.push_back (toDb (2.0 * std::abs (z) / wsum));
    }
    if (t.size() < 3)
        return 0.0;
    double mt = 0, md = 0;
    for (size_t i = 0; i < t.size(); ++i)
        mt += t[i], md += db[i];
    mt /= t.size(), md /= t.size();
    double sxy = 0, sxx = 0;
    for (size_t i = 0; i < t.size(); ++i)
        sxy += (t[i] - mt) * (db[i] - md), sxx += (t[i] - mt) * (t[i] - mt);
    const double slope = sxy / sxx;
    double lo = 1e9, hi = -1e9;
    for (size_t i = 0; i < t.size(); ++i)
    {
        const double r = db[i] - (md + slope * (t[i] - mt));
        lo = std::min (lo, r), hi = std::max (hi, r);
    }
    return hi - lo;
}

/** The spectrum of x[from, from + n) through a four-term Blackman-Harris window, zero-padded to
    at least four times its length. */
std::vector<std::complex<double>> spectrumOf (const std::vector<double>& x, double from, size_t n)
{
    size_t size = 1;
    while (size < 4 * n)
        size <<= 1;
    std::vector<std::complex<double>> s (size);
    for (size_t i = 0; i < n; ++i)
    {
        const double p = 2.0 * std::numbers::pi * static_cast<double> (i) / static_cast<double> (n - 1);
        s[i] = x[static_cast<size_t> (from) + i] * (0.35875 - 0.48829 * std::cos (p) + 0.14128 * std::cos (2 * p) - 0.01168 * std::cos (3 * p));
    }
    T730::Modules::Fft (static_cast<int> (size)).perform (s.data(), false);
    return s;
}

/** The strongest spectral peak within 15 % of `hz` outside its main lobe, in dB below the peak at `hz`. */
double sidePeakDb (const std::vector<double>& x, double from, double to, double hz)
{
    const auto n = static_cast<size_t> (to - from);
    const auto s = spectrumOf (x, from, n);
    const double binHz = kRate / static_cast<double> (s.size());
    const double lobe = 4.5 * kRate / static_cast<double> (n);   // the window's main lobe half width
    double main = 0.0, side = 0.0;
    for (auto b = static_cast<size_t> (0.85 * hz / binHz); b <= static_cast<size_t> (1.15 * hz / binHz); ++b)
    {
        const double m = std::abs (s[b]);
        const bool localMax = m >= std::abs (s[b - 1]) && m >= std::abs (s[b + 1]);
        if (std::abs (b * binHz - hz) <= lobe)
            main = std::max (main, m);
        else if (localMax)
            side = std::max (side, m);
    }
    return toDb (side / std::max (main, 1e-30));
}

/** Prints the spectral peaks within 15 % of `hz` down to 40 dB below the strongest (--peaks). */
void printPeaks (const char* what, const std::vector<double>& x, double from, double to, double hz)
{
    const auto n = static_cast<size_t> (to - from);
    const auto s = spectrumOf (x, from, n);
    const double binHz = kRate / static_cast<double> (s.size());
    const auto lo = static_cast<size_t> (0.85 * hz / binHz), hi = static_cast<size_t> (1.15 * hz / binHz);
    double strongest = 0.0;
    for (size_t b = lo; b <= hi; ++b)
        strongest = std::max (strongest, std::abs (s[b]));
    std::printf ("    %-6s", what);
    for (size_t b = lo; b <= hi; ++b)
    {
        const double m = std::abs (s[b]);
        if (m >= std::abs (s[b - 1]) && m >= std::abs (s[b + 1]) && m >= 0.01 * strongest)
        {
            const double a = std::log (std::abs (s[b - 1])), c = std::log (std::abs (s[b + 1])), l = std::log (m);
            const double d = a - 2.0 * l + c;
            const double offset = d < 0.0 ? 0.5 * (a - c) / d : 0.0;
            std::printf (" %.3f Hz %.1f dB |", (static_cast<double> (b) + offset) * binHz, toDb (m / strongest));
        }
    }
    std::printf ("\n");
}

bool showPeaks = false;

struct Measure
{
    double levelDb = 0.0, heldDb = 0.0, heldFrameDb = 0.0;   // output minus take (held: worst of the two notes)
    // Picked attacks: those rising 20 dB or more in the take (from silence or a faded note), where
    // the -20 and -6 dB points exist. The others (a note struck while the last still sounds, as an
    // overdriven riff plays legato) are reported apart.
    double riseMedianMs = 0.0, riseWorstMs = 0.0, takeRiseMs = 0.0, legatoWorstMs = 0.0;
    int picked = 0, legato = 0;
    double fundamentalCents = 0.0, rippleDb = 0.0, takeRippleDb = 0.0, sideDb = 0.0, takeSideDb = 0.0;   // ripple: output's excess
    double lengthError = 0.0;   // relative
    double lengthDrift = 0.0;   // frames the delay changed by over the riff
    double costMean = 0.0, costP99 = 0.0;
    int underruns = 0;
    long allocations = 0;
};

Measure measure (const Take& take, int speed, const Played& out)
{
    Measure m;
    const double r = ratioOf (speed);
    const auto phrase = riffPhrase (take.program, take.low);
    const auto held = riffHeldNotes (take.low);
    const auto takeEnv = envelope (take.mono), outEnv = envelope (out.mono);

    // Alignment: every attack of the take found in the output near where a rough delay puts it;
    // the delay is their median offset, the length ratio their regression slope.
    const double roughDelay = static_cast<double> (onsetOf (out.mono, 0.05)) - static_cast<double> (onsetOf (take.mono, 0.05)) / r;
    // A second pass reads the output's attacks where the median delay puts them.
    std::vector<Attack> inTake, inOut;
    std::vector<double> offsets;
    for (const auto& note : phrase.notes)
    {
        // The SoundFont's notes sound some 20 ms after their note-on.
        inTake.push_back (attackNear (takeEnv, note.start * kRate + 0.02 * kRate));
        offsets.push_back (attackNear (outEnv, roughDelay + inTake.back().at / r).at - inTake.back().at / r);
    }
    const double delay = median (offsets);
    auto toOut = [&] (double takeSample) { return delay + takeSample / r; };
    for (const auto& a : inTake)
        inOut.push_back (attackNear (outEnv, toOut (a.at)));
    {
        // The stretcher's delay (queued and in-flight frames) from the first attack to the riff's
        // end: a length ratio off by e changes it by e times the frames played in between.
        const auto firstBlock = static_cast<size_t> (toOut (inTake.front().at)) / kBlock;
        const auto endBlock = std::min (out.delays.size() - 1, static_cast<size_t> (toOut (take.audio.size())) / kBlock - 2);
        if (endBlock > firstBlock)
        {
            m.lengthDrift = out.delays[firstBlock] - out.delays[endBlock];
            m.lengthError = m.lengthDrift / static_cast<double> ((endBlock - firstBlock) * kBlock);
        }
    }

    std::vector<double> rises, takeRises;
    for (size_t i = 0; i < inTake.size(); ++i)
    {
        const bool isPicked = inTake[i].swingDb >= 20.0;
        if (isPicked)
        {
            takeRises.push_back (inTake[i].riseMs);
            rises.push_back (inOut[i].riseMs);
            ++m.picked;
        }
        else
        {
            m.legatoWorstMs = std::max (m.legatoWorstMs, inOut[i].riseMs);
            ++m.legato;
        }
        if (detail)
            std::printf ("    note at %.2f s (%s, %.0f dB): take rise %.0f ms, out rise %.0f ms, %+.1f ms off\n",
                         phrase.notes[i].start, isPicked ? "picked" : "legato", inTake[i].swingDb, inTake[i].riseMs,
                         inOut[i].riseMs, (inOut[i].at - toOut (inTake[i].at)) / kRate * 1000.0);
    }
    if (! rises.empty())
    {
        m.riseMedianMs = median (rises);
        m.riseWorstMs = *std::max_element (rises.begin(), rises.end());
        m.takeRiseMs = median (takeRises);
    }
    const Attack takeFirst = inTake.front();

    const double riffEnd = (phrase.notes.back().start + phrase.notes.back().length) * kRate;
    m.levelDb = toDb (rmsOf (out.mono, toOut (takeFirst.at), toOut (riffEnd)) / rmsOf (take.mono, takeFirst.at, riffEnd));
    for (const auto& h : held)
    {
        const double a = (h.start + 0.2) * kRate, b = (h.end - 0.05) * kRate;
        const double d = toDb (rmsOf (out.mono, toOut (a), toOut (b)) / rmsOf (take.mono, a, b));
        if (std::abs (d) > std::abs (m.heldDb))
            m.heldDb = d;
        for (double f = a; f + 0.1 * kRate <= b; f += 0.1 * kRate)
        {
            const double e = toDb (rmsOf (out.mono, toOut (f), toOut (f + 0.1 * kRate)) / rmsOf (take.mono, f, f + 0.1 * kRate));
            if (std::abs (e) > std::abs (m.heldFrameDb))
                m.heldFrameDb = e;
        }
    }

    const auto& low = held.front();
    const double a = (low.start + 0.3) * kRate, b = (low.end - 0.1) * kRate;
    const double nominal = 440.0 * std::pow (2.0, (take.low - 69) / 12.0);
    auto fundamental = [&] (const std::vector<double>& x, double from, double to) {
        const auto p = partialsOf (x, static_cast<size_t> (from), static_cast<size_t> (to), kRate, nominal, 4000.0, 1, 4);
        return p.empty() ? 0.0 : p.front().frequency;
    };
    const double takeF = fundamental (take.mono, a, b), outF = fundamental (out.mono, toOut (a), toOut (b));
    m.fundamentalCents = outF > 0.0 && takeF > 0.0 ? cents (outF, takeF) : 99.0;
    m.takeRippleDb = rippleDb (take.mono, a, b, takeF);
    m.rippleDb = rippleDb (out.mono, toOut (a), toOut (b), outF) - m.takeRippleDb;
    m.sideDb = sidePeakDb (out.mono, toOut (a), toOut (b), outF);
    m.takeSideDb = sidePeakDb (take.mono, a, b, takeF);
    if (showPeaks)
    {
        std::printf ("  %s at %d %%: the held low note's fundamental, take %.3f Hz, output %.3f Hz\n", take.name.c_str(), speed, takeF, outF);
        printPeaks ("take", take.mono, a, b, takeF);
        printPeaks ("output", out.mono, toOut (a), toOut (b), outF);
    }

    double total = 0.0;
    for (double c : out.costs)
        total += c;
    m.costMean = total / (out.costs.size() * kBlock / kRate);
    m.costP99 = percentile (out.costs, 0.99);
    m.allocations = out.allocations;
    return m;
}

void printMeasureHeader()
{
    std::printf ("%-20s %5s %6s %6s %6s %6s %6s %6s %6s %7s %6s %6s %6s %6s %8s %7s %7s\n", "take", "speed", "level", "held",
                 "held", "rise", "rise", "take", "legato", "fund", "ripple", "take", "side", "take", "length", "cost", "p99");
    std::printf ("%-20s %5s %6s %6s %6s %6s %6s %6s %6s %7s %6s %6s %6s %6s %8s %7s %7s\n", "", "%", "dB", "dB", "100ms",
                 "med ms", "worst", "ms", "worst", "cents", "dB", "dB", "dB", "dB", "drift fr", "% core", "ms");
}

void printMeasure (const std::string& what, int speed, const Measure& m)
{
    std::printf ("%-20s %5d %+6.2f %+6.2f %+6.2f %6.1f %6.1f %6.1f %6.1f %+7.2f %6.2f %6.2f %6.1f %6.1f %+8.1f %7.2f %7.3f\n",
                 what.c_str(), speed, m.levelDb, m.heldDb, m.heldFrameDb, m.riseMedianMs, m.riseWorstMs, m.takeRiseMs,
                 m.legatoWorstMs, m.fundamentalCents, m.rippleDb, m.takeRippleDb, m.sideDb, m.takeSideDb,
                 m.lengthDrift, 100.0 * m.costMean, 1000.0 * m.costP99);
}

/** Worst figures over several runs, and whether they meet the goals. */
struct Summary
{
    double level = 0, held = 0, heldFrame = 0, riseMedian = 0, riseWorst = 0, legatoWorst = 0, fund = 0, ripple = 0,
           side = -200, length = 0, drift = 0, cost = 0, p99 = 0;
    int picked = 0, legato = 0;
    long allocations = 0;
    void add (const Measure& m)
    {
        allocations += m.allocations;
        auto worse = [] (double& a, double b) { if (std::abs (b) > std::abs (a)) a = b; };
        worse (level, m.levelDb);
        worse (held, m.heldDb);
        worse (heldFrame, m.heldFrameDb);
        riseMedian = std::max (riseMedian, m.riseMedianMs);
        riseWorst = std::max (riseWorst, m.riseWorstMs);
        legatoWorst = std::max (legatoWorst, m.legatoWorstMs);
        picked += m.picked;
        legato += m.legato;
        worse (fund, m.fundamentalCents);
        ripple = std::max (ripple, m.rippleDb);
        side = std::max (side, m.sideDb);
        worse (length, m.lengthError);
        worse (drift, m.lengthDrift);
        cost = std::max (cost, m.costMean);
        p99 = std::max (p99, m.costP99);
    }
    bool meetsGoals() const
    {
        return std::abs (level) <= 1.0 && std::abs (held) <= 2.0 && riseWorst <= 15.0 && std::abs (fund) <= 1.0
            && ripple <= 2.0 && side <= -20.0 && std::abs (drift) <= 1.0;
    }
};

std::vector<Take> loadTakes (const std::string& corpus)
{
    std::vector<Take> takes;
    const struct { const char* file; int program, low; } riffs[] = {
        { "riff_guitar_clean", 27, 40 }, { "riff_guitar_drive", 27, 40 }, { "riff_bass_clean", 33, 28 } };
    for (const auto& r : riffs)
    {
        Take t;
        t.name = r.file;
        t.program = r.program;
        t.low = r.low;
        if (! readWav16 (corpus + "/" + r.file + ".wav", t.audio))
            continue;
        const auto m = t.audio.mono();
        t.mono.assign (m.begin(), m.end());
        takes.push_back (std::move (t));
    }
    return takes;
}

struct OptionSet
{
    const char* name;
    RB::Options options;
    bool keepAttacks = false;   // the module's attack splice around the stretcher
};

std::vector<OptionSet> optionSets()
{
    const RB::Options base = RB::OptionThreadingNever | RB::OptionChannelsTogether;
    return {
        { "R2 std crisp compound", base | RB::OptionEngineFaster },
        { "R2 std crisp percuss", base | RB::OptionEngineFaster | RB::OptionDetectorPercussive },
        { "R2 std crisp soft", base | RB::OptionEngineFaster | RB::OptionDetectorSoft },
        { "R2 std mixed", base | RB::OptionEngineFaster | RB::OptionTransientsMixed },
        { "R2 std smooth", base | RB::OptionEngineFaster | RB::OptionTransientsSmooth },
        { "R2 short crisp", base | RB::OptionEngineFaster | RB::OptionWindowShort },
        { "R2 long mixed (old)", base | RB::OptionEngineFaster | RB::OptionWindowLong | RB::OptionTransientsMixed },
        { "R2 long crisp", base | RB::OptionEngineFaster | RB::OptionWindowLong },
        { "R2 std crisp indep", base | RB::OptionEngineFaster | RB::OptionPhaseIndependent },
        { "R2 std crisp apart", RB::OptionThreadingNever | RB::OptionEngineFaster },
        { "R3 standard", base | RB::OptionEngineFiner },
        { "R3 standard apart", RB::OptionThreadingNever | RB::OptionEngineFiner },
        { "R3 short", base | RB::OptionEngineFiner | RB::OptionWindowShort },
        { "R2 std crisp + attacks", base | RB::OptionEngineFaster, true },
        { "R2 std percuss + attacks", base | RB::OptionEngineFaster | RB::OptionDetectorPercussive, true },
        { "R3 standard + attacks", base | RB::OptionEngineFiner, true },
        { "R3 short + attacks", base | RB::OptionEngineFiner | RB::OptionWindowShort, true },
    };
}

/** Plays a take through a SlowedStream with the given options, fed as the module feeds it. */
Played playStream (const Take& take, int speed, const OptionSet& set)
{
    T730::Modules::SlowedStream stream;
    stream.prepare (kRate, kBlock, set.options, set.keepAttacks);
    const double ratio = ratioOf (speed);
    stream.restart (ratio);
    double remainder = 0.0;
    return play (take, speed, [&] (double** channels, int frames) {
        const double covered = ratio * frames + remainder;
        const int fresh = std::min (static_cast<int> (covered), frames);
        remainder = covered - std::floor (covered);
        stream.process (channels, fresh, channels, frames);
        return stream.delayFrames() + remainder / ratio;
    });
}

void compareOptions (const std::vector<Take>& takes)
{
    const auto sets = optionSets();
    std::printf ("\nStretcher engines and options: the worst of %zu riffs x 5 speeds (ripple and side: the held low note's "
                 "fundamental)\n", takes.size());
    std::printf ("%-24s %6s %6s %6s %6s %6s %6s %7s %6s %6s %8s %7s %7s  %s\n", "options", "level", "held", "100ms",
                 "rise", "rise", "legato", "fund", "ripple", "side", "length", "cost", "p99", "goals");
    std::printf ("%-24s %6s %6s %6s %6s %6s %6s %7s %6s %6s %8s %7s %7s\n", "", "dB", "dB", "dB", "med ms", "worst",
                 "worst", "cents", "dB", "dB", "drift fr", "% core", "ms");
    for (const auto& set : sets)
    {
        Summary s;
        for (const auto& take : takes)
            for (const int speed : kSpeeds)
                s.add (measure (take, speed, playStream (take, speed, set)));
        std::printf ("%-24s %+6.2f %+6.2f %+6.2f %6.1f %6.1f %6.1f %+7.2f %6.2f %6.1f %+8.1f %7.2f %7.3f  %s\n", set.name,
                     s.level, s.held, s.heldFrame, s.riseMedian, s.riseWorst, s.legatoWorst, s.fund, s.ripple, s.side,
                     s.drift, 100.0 * s.cost, 1000.0 * s.p99, s.meetsGoals() ? "met" : "missed");
    }
}

} // namespace

int main (int argc, char** argv)
{
    std::string modulePath = std::string (OXA_BENCH_RESOURCES_DIR) + "/Decelerator.so";
    std::string corpus = OXA_CORPUS_DIR;
    bool compare = true;
    int optionIndex = -1;   // >= 0: the table for that option set of the comparison instead of the module
    for (int i = 1; i < argc; ++i)
    {
        const std::string a = argv[i];
        if (a == "--module" && i + 1 < argc)
            modulePath = argv[++i];
        else if (a == "--corpus" && i + 1 < argc)
            corpus = argv[++i];
        else if (a == "--no-compare")
            compare = false;
        else if (a == "--peaks")
            showPeaks = true;
        else if (a == "--detail")
            detail = true;
        else if (a == "--options" && i + 1 < argc)
            optionIndex = std::atoi (argv[++i]);
    }
    const auto takes = loadTakes (corpus);
    if (takes.empty())
        return std::printf ("no riffs in %s (build the target oxa_corpus)\n", corpus.c_str()), 0;
    std::printf ("Slow-down on rendered riffs, %d-frame stereo blocks at %.0f Hz; Rubber Band %s\n", kBlock, kRate,
                 RUBBERBAND_VERSION);

    if (compare)
        compareOptions (takes);

    if (optionIndex >= 0 && optionIndex < static_cast<int> (optionSets().size()))
    {
        const auto set = optionSets()[static_cast<size_t> (optionIndex)];
        std::printf ("\n%s:\n", set.name);
        printMeasureHeader();
        for (const auto& take : takes)
            for (const int speed : kSpeeds)
                printMeasure (take.name, speed, measure (take, speed, playStream (take, speed, set)));
        return 0;
    }

    ModuleLibrary library (modulePath);
    if (! library.isOpen())
        return std::printf ("cannot load %s: %s\n", modulePath.c_str(), library.getError().c_str()), 0;
    std::printf ("\nThe module %s through its interface:\n", modulePath.c_str());
    printMeasureHeader();
    Summary all;
    for (const auto& take : takes)
        for (const int speed : kSpeeds)
        {
            auto decelerator = library.create (kBlock, static_cast<float> (kRate));
            if (! decelerator)
                return std::printf ("no object from %s\n", modulePath.c_str()), 0;
            decelerator->setParameter (0, speedParameter (speed));
            const auto out = play (take, speed, [&] (double** channels, int frames) {
                decelerator->processDoubleReplacing (channels, channels, frames);
                return static_cast<double> (decelerator->moduleQuery158());
            });
            auto m = measure (take, speed, out);
            m.underruns = decelerator->moduleQuery157 (0);
            printMeasure (take.name, speed, m);
            all.add (m);
        }

    std::printf ("\ngoals (worst over all takes and speeds):\n");
    auto mark = [] (bool ok) { return ok ? "met   " : "MISSED"; };
    std::printf ("  %s level within 1 dB of the take: %+.2f dB\n", mark (std::abs (all.level) <= 1.0), all.level);
    std::printf ("  %s held notes within 2 dB: %+.2f dB (worst 100 ms: %+.2f dB)\n", mark (std::abs (all.held) <= 2.0),
                 all.held, all.heldFrame);
    std::printf ("  %s attack rise within 15 ms: worst %.1f ms over %d picked attacks (rising 20 dB or more in the take);"
                 " %d legato note changes (less than 20 dB, no -20 dB point): worst %.1f ms\n",
                 mark (all.riseWorst <= 15.0), all.riseWorst, all.picked, all.legato, all.legatoWorst);
    std::printf ("  %s held fundamental within 1 cent and one partial (ripple beyond the take's <= 2 dB, no other peak "
                 "within 15 %% above -20 dB): %+.2f cents, ripple %+.2f dB, side peak %.1f dB\n",
                 mark (std::abs (all.fund) <= 1.0 && all.ripple <= 2.0 && all.side <= -20.0), all.fund, all.ripple, all.side);
    std::printf ("  %s length ratio exact: the delay drifts by %+.1f frames over the riff (%+.4f %%)\n",
                 mark (std::abs (all.drift) <= 1.0), all.drift, 100.0 * all.length);
    std::printf ("         cost: mean %.2f %% of a core, p99 %.3f ms per block; %ld allocations (operator new) in "
                 "the blocks after the first\n", 100.0 * all.cost, 1000.0 * all.p99, all.allocations);
    return 0;
}
