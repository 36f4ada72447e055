#include "PluginsTestSupport.h"
#include "SyntheticTone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

using namespace moduletest;

namespace
{

constexpr double kRate = 44100.0;
constexpr int kBlock = 512;

/** A held note of six harmonics whose frequency and gain follow `hzAt` and `gainAt` (seconds
    from its start); by default it falls 2.6 dB a second. */
template <typename HzAt, typename GainAt>
void appendHeldNote (StereoSignal& signal, double seconds, HzAt hzAt, GainAt gainAt)
{
    double phase = 0.0;
    for (int64_t i = 0; i < static_cast<int64_t> (seconds * kRate); ++i)
    {
        const double t = static_cast<double> (i) / kRate;
        phase += 2.0 * std::numbers::pi * hzAt (t) / kRate;
        double x = 0.0;
        for (int h = 1; h <= 6; ++h)
            x += std::sin (h * phase) / h;
        const auto v = static_cast<float> (0.2 * x * gainAt (t));
        signal.left.push_back (v);
        signal.right.push_back (v);
    }
}

template <typename HzAt>
void appendHeldNote (StereoSignal& signal, double seconds, HzAt hzAt)
{
    appendHeldNote (signal, seconds, hzAt, [] (double t) { return std::exp (-0.3 * t); });
}

struct TunerRun
{
    std::vector<ReportCollector::Report> reports;
};

TunerRun runTuner (StereoSignal signal, double rate = kRate)
{
    ModuleLibrary library (modulePath ("Tuner"));
    EXPECT_TRUE (library.isOpen()) << library.getError();
    auto tuner = library.create (kBlock, static_cast<float> (rate));
    EXPECT_TRUE (tuner);
    ReportCollector collector;
    collector.object = tuner.get();
    if (tuner)
    {
        tuner->setListener (&collector);
        processInPlace (tuner.get(), signal.left, signal.right, kBlock, &collector);
        tuner->setListener (nullptr);
    }
    return { collector.reports };
}

class PluginsTunerAccuracy : public ::testing::TestWithParam<double>
{
};

} // namespace

// A plucked note after half a second of silence: every report after the tuner settles is within
// half a cent, and above 60 Hz it settles within 150 ms of the note's start.
TEST_P (PluginsTunerAccuracy, PluckedNoteSettlesWithinHalfACent)
{
    const double frequency = GetParam();
    StereoSignal signal;
    appendSilence (signal, 0.5, kRate);
    const auto noteStart = static_cast<int64_t> (signal.size());
    appendPluckedNote (signal, frequency, 2.0, kRate, static_cast<unsigned> (frequency * 100));

    const auto run = runTuner (std::move (signal));

    std::vector<ReportCollector::Report> during;
    for (const auto& r : run.reports)
    {
        if (r.time <= noteStart)
            EXPECT_LE (r.value, 15.0f) << "pitch reported during the leading silence";
        else
            during.push_back (r);
    }
    ASSERT_GT (during.size(), 60u) << "a report every 20 to 50 ms expected";

    // Reports must come at least every 50 ms of audio.
    for (size_t i = 1; i < during.size(); ++i)
        EXPECT_LE (during[i].time - during[i - 1].time, static_cast<int64_t> (0.05 * kRate));

    // Settled: the first report from which on every report is within half a cent.
    size_t settled = during.size();
    for (size_t i = during.size(); i-- > 0;)
    {
        if (during[i].value <= 15.0f || std::abs (centsBetween (during[i].value, frequency)) > 0.5)
            break;
        settled = i;
    }
    ASSERT_LT (settled, during.size()) << "last report " << during.back().value << " Hz";
    EXPECT_LT (settled, during.size() / 4) << "settled too late: the note sounded for 2 s";

    const double settleMs = 1000.0 * static_cast<double> (during[settled].time - noteStart) / kRate;
    if (frequency > 60.0)
        EXPECT_LE (settleMs, 150.0);
    else
        EXPECT_LE (settleMs, 250.0);

    double worst = 0.0, steadySquares = 0.0;
    int steadyCount = 0;
    for (size_t i = settled; i < during.size(); ++i)
    {
        const double cents = centsBetween (during[i].value, frequency);
        worst = std::max (worst, std::abs (cents));
        if (during[i].time - noteStart > static_cast<int64_t> (0.25 * kRate))
        {
            steadySquares += cents * cents;
            ++steadyCount;
        }
    }
    std::printf ("[ tuner    ] %8.2f Hz: settled after %5.1f ms; worst error from then on %.3f cents, "
                 "rms error after 250 ms %.3f cents (%d reports)\n",
                 frequency, settleMs, worst, std::sqrt (steadySquares / std::max (1, steadyCount)), steadyCount);
}

INSTANTIATE_TEST_SUITE_P (PluginsPluckedNotes, PluginsTunerAccuracy,
                          ::testing::Values (30.87, 41.2, 55.0, 61.74, 82.41, 110.0, 146.83, 196.0, 246.94,
                                             329.63, 440.0, 1318.5));

// Silence and noise have no pitch: the tuner reports, but never a frequency above 15 Hz.
TEST (PluginsTuner, SilenceAndNoiseReportNoPitch)
{
    StereoSignal signal;
    appendSilence (signal, 1.0, kRate);
    appendNoise (signal, 1.0, kRate, 0.00003, 7);   // about -90 dBFS: below the gate
    appendNoise (signal, 1.0, kRate, 0.05, 8);      // about -26 dBFS: above it, but not periodic

    const auto run = runTuner (std::move (signal));
    ASSERT_GT (run.reports.size(), 100u) << "the tuner keeps reporting the absence of a pitch";
    for (const auto& r : run.reports)
        EXPECT_LE (r.value, 15.0f) << "at sample " << r.time;
}

// A new note replaces the old one without a stray report in between: a drop from E4 to a low E.
TEST (PluginsTuner, FollowsANoteChange)
{
    StereoSignal signal;
    appendPluckedNote (signal, 329.63, 1.0, kRate, 1);
    const auto change = static_cast<int64_t> (signal.size());
    appendPluckedNote (signal, 82.41, 1.0, kRate, 2);

    const auto run = runTuner (std::move (signal));
    int lowReports = 0;
    for (const auto& r : run.reports)
    {
        if (r.value <= 15.0f)
            continue;
        const double expected = r.time <= change ? 329.63 : 82.41;
        // Windows that straddle the change may show either note, never anything else.
        const double error = std::min (std::abs (centsBetween (r.value, 329.63)),
                                       std::abs (centsBetween (r.value, 82.41)));
        EXPECT_LT (error, 5.0) << r.value << " Hz at sample " << r.time;
        if (r.time > change + static_cast<int64_t> (0.15 * kRate))
        {
            EXPECT_NEAR (centsBetween (r.value, expected), 0.0, 0.5);
            ++lowReports;
        }
    }
    EXPECT_GT (lowReports, 30);
}

// A low note held for seconds and then slid up a semitone without a new attack (a bend or a slide
// on the same string): the tuner shows the new note as soon as for a note held only briefly, even
// though it reads a long-held low note on its longer window.
TEST (PluginsTuner, FollowsASlideOnALongHeldLowNote)
{
    auto slide = [] (double holdSeconds, double glide) {
        StereoSignal signal;
        appendSilence (signal, 0.25, kRate);
        const double from = 82.41, to = 87.31;
        const auto start = static_cast<int64_t> (signal.size());
        appendHeldNote (signal, holdSeconds + glide + 1.0, [=] (double t) {
            return t < holdSeconds ? from : t < holdSeconds + glide ? from + (to - from) * (t - holdSeconds) / glide : to;
        });
        const auto slidAt = start + static_cast<int64_t> ((holdSeconds + glide) * kRate);
        // The first report showing the new note, in ms after the slide.
        for (const auto& r : runTuner (std::move (signal)).reports)
        {
            if (r.time > start && r.time < slidAt + static_cast<int64_t> (0.1 * kRate) && r.value > 15.0f)
            {
                EXPECT_LT (std::min (std::abs (centsBetween (r.value, from)), std::abs (centsBetween (r.value, to))), 101.0)
                    << r.value << " Hz";
            }
            if (r.time > slidAt && std::abs (centsBetween (r.value, to)) < 5.0)
                return 1000.0 * static_cast<double> (r.time - slidAt) / kRate;
        }
        return -1.0;
    };
    for (const double glide : { 0.03, 0.25 })
    {
        const double brief = slide (0.5, glide);
        const double held = slide (2.5, glide);
        ASSERT_GE (brief, 0.0) << "never shown after a brief note";
        ASSERT_GE (held, 0.0) << "never shown after a long-held note";
        // (At most one report later: the long window's last reading of the old note.)
        EXPECT_LE (held, brief + 24.0) << "slid over " << glide << " s; after the brief note: " << brief << " ms";
    }
}

// Each reading describes the centre of the window it was read on, and the tuner says which one:
// the short window, then the long one for a low note held past its glide, and the short one again
// for the next note.
TEST (PluginsTuner, TellsTheWindowOfEachReading)
{
    StereoSignal signal;
    appendSilence (signal, 0.25, kRate);
    const auto lowStart = static_cast<int64_t> (signal.size());
    appendHeldNote (signal, 2.5, [] (double) { return 82.41; });
    const auto highStart = static_cast<int64_t> (signal.size());
    appendHeldNote (signal, 1.0, [] (double) { return 220.0; });

    int shortReadings = 0, longReadings = 0, nextNote = 0;
    for (const auto& r : runTuner (std::move (signal)).reports)
    {
        if (r.value <= 15.0f)
            continue;
        const double since = static_cast<double> (r.time - lowStart) / kRate;
        if (r.time < highStart && since < 1.4)
        {
            EXPECT_EQ (r.query158, 4096) << since << " s into the low note";
            ++shortReadings;
        }
        else if (r.time < highStart && since > 1.7)
        {
            EXPECT_EQ (r.query158, 8192) << since << " s into the low note";
            ++longReadings;
        }
        else if (r.time > highStart && std::abs (centsBetween (r.value, 220.0)) < 50.0)
        {
            EXPECT_EQ (r.query158, 4096) << "the next note, " << r.value << " Hz";
            ++nextNote;
        }
    }
    EXPECT_GT (shortReadings, 40);
    EXPECT_GT (longReadings, 20);
    EXPECT_GT (nextNote, 30);
}

// A held low note released: it fades fast and its pitch sags (less than a bend). The long window
// would read its sag a window later, so the short window reads it from the release on.
TEST (PluginsTuner, ReadsAReleasedLowNoteOnTheShortWindow)
{
    StereoSignal signal;
    appendSilence (signal, 0.25, kRate);
    const auto start = static_cast<int64_t> (signal.size());
    constexpr double held = 2.5, from = 82.41, sagCents = 20.0, release = 0.3;
    const auto hzAt = [=] (double t) {
        return t < held ? from : from * std::pow (2.0, -sagCents * std::min (1.0, (t - held) / release) / 1200.0);
    };
    appendHeldNote (signal, held + release, hzAt, [=] (double t) {
        return std::exp (-0.3 * t) * (t < held ? 1.0 : std::pow (10.0, -30.0 * (t - held) / release / 20.0));
    });

    int released = 0;
    for (const auto& r : runTuner (std::move (signal)).reports)
    {
        const double t = static_cast<double> (r.time - start) / kRate;
        if (t < held + 0.15 || r.value <= 15.0f)
            continue;
        ++released;
        const double centre = t - 2048.0 / kRate;
        EXPECT_EQ (r.query158, 4096) << t << " s";
        EXPECT_LT (std::abs (centsBetween (r.value, hzAt (centre))), 1.5) << t << " s: " << r.value << " Hz";
    }
    EXPECT_GE (released, 6);
}

// The device may run at another rate: the tuner follows setSampleRate (a longer window at
// 96 kHz keeps the low B in reach, and a low note held for seconds is read on a window decimated
// to 24 kHz there).
TEST (PluginsTuner, FollowsTheSampleRate)
{
    for (double rate : { 48000.0, 96000.0 })
    {
        for (double frequency : { 30.87, 110.0, 440.0 })
        {
            StereoSignal signal;
            appendSilence (signal, 0.2, rate);
            const auto noteStart = static_cast<int64_t> (signal.size());
            appendPluckedNote (signal, frequency, 2.5, rate, 5);
            int counted = 0;
            for (const auto& r : runTuner (std::move (signal), rate).reports)
            {
                if (r.time < noteStart + static_cast<int64_t> (0.25 * rate))
                    continue;
                EXPECT_NEAR (centsBetween (r.value, frequency), 0.0, 0.5) << frequency << " Hz at " << rate << " Hz";
                ++counted;
            }
            EXPECT_GT (counted, 90) << frequency << " Hz at " << rate << " Hz";
        }
    }
}

// A stiff string's partials lie sharp of their harmonics, the more the higher they are: the
// tuner reads the note's lowest partials, not the brightness of its upper ones. A held tone whose
// tenth partial is 26 cents sharp reads within half a cent of the period of its first three.
TEST (PluginsTuner, ReadsTheLowestPartialsOfAStiffString)
{
    constexpr double f0 = 110.0, stiffness = 3.0e-4;
    auto partialHz = [&] (int h) { return h * f0 * std::sqrt (1.0 + stiffness * h * h); };
    StereoSignal signal;
    appendSilence (signal, 0.3, kRate);
    const auto noteStart = signal.size();
    const auto length = static_cast<size_t> (1.5 * kRate);
    signal.resize (noteStart + length);
    for (size_t i = 0; i < length; ++i)
    {
        const double t = static_cast<double> (i) / kRate;
        double x = 0.0;
        for (int h = 1; h <= 12; ++h)
            x += std::sin (2.0 * std::numbers::pi * partialHz (h) * t + 0.7 * h) / h;
        x *= 0.08 * std::min (1.0, t / 0.002);
        signal.left[noteStart + i] = signal.right[noteStart + i] = x;
    }

    // The period a waveform comparison finds weighs each partial's f_h / h by its energy times
    // h^2: equal weights here (amplitudes 1 / h).
    double lowest = 0.0, all = 0.0;
    for (int h = 1; h <= 12; ++h)
        (h <= 3 ? lowest : all) += partialHz (h) / h;
    all = (all + lowest) / 12.0;
    lowest /= 3.0;
    ASSERT_GT (centsBetween (all, lowest), 5.0) << "the tone must tell the two readings apart";

    int counted = 0;
    for (const auto& r : runTuner (std::move (signal)).reports)
    {
        if (r.time < static_cast<int64_t> (noteStart) + static_cast<int64_t> (0.3 * kRate))
            continue;
        EXPECT_NEAR (centsBetween (r.value, lowest), 0.0, 0.5) << "at sample " << r.time;
        ++counted;
    }
    EXPECT_GT (counted, 40);
}

// A pick's first tens of milliseconds can be noise louder than the string: the tuner reads the
// string as soon as a few of its periods follow the noise, not once the whole analysis window
// has left the noise behind, and shows nothing but the note while the noise is in it.
TEST (PluginsTuner, ReadsAPickedNoteSoonAfterItsAttackNoise)
{
    constexpr double noteHz = 196.0;
    StereoSignal signal;
    appendSilence (signal, 0.3, kRate);
    const auto noteStart = signal.size();
    appendPluckedNote (signal, noteHz, 1.0, kRate, 11);
    std::mt19937 random (12);
    std::normal_distribution<double> noise (0.0, 0.08);
    const auto noisy = static_cast<size_t> (0.04 * kRate);
    for (size_t i = 0; i < noisy; ++i)
    {
        const double fade = std::min (1.0, static_cast<double> (noisy - i) / (0.005 * kRate));
        const double n = noise (random) * fade;
        signal.left[noteStart + i] += n;
        signal.right[noteStart + i] += n;
    }

    int64_t first = -1;
    for (const auto& r : runTuner (std::move (signal)).reports)
    {
        if (r.value <= 15.0f)
            continue;
        if (first < 0)
            first = r.time;
        EXPECT_NEAR (centsBetween (r.value, noteHz), 0.0, 3.0) << "at sample " << r.time;
        if (r.time > static_cast<int64_t> (noteStart) + static_cast<int64_t> (0.15 * kRate))
        {
            EXPECT_NEAR (centsBetween (r.value, noteHz), 0.0, 0.5) << "at sample " << r.time;
        }
    }
    ASSERT_GE (first, 0) << "the note was never shown";
    EXPECT_LT (static_cast<double> (first - static_cast<int64_t> (noteStart)) / kRate, 0.115)
        << "the first reading came " << 1000.0 * (first - static_cast<int64_t> (noteStart)) / kRate << " ms after the pick";
}
