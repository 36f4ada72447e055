#include "InstrumentNotes.h"
#include "PluginsTestSupport.h"
#include "SyntheticTone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace moduletest;

namespace
{

constexpr double kRate = 44100.0;
constexpr int kBlock = 512;

float speedParameter (int speed) { return speed >= 100 ? 1.0f : (speed - 50) / 50.0f; }

/** The recorder's side of slowed playback: every block its transport covers ratio x n take
    frames (carrying the fraction); it copies those frames (plus two more, at most n + 4) to the
    start of the buffer, the module turns them into n frames in place. */
class SlowedPlayback
{
public:
    SlowedPlayback (T730::EffectObject* module, int speed) : decelerator (module)
    {
        setSpeed (speed);
        left.resize (kBlock + 4);
        right.resize (kBlock + 4);
    }

    void setSpeed (int speed)
    {
        decelerator->setParameter (0, speedParameter (speed));
        ratio = std::pow (2.0f, (speed - 50) / 50.0f - 1.0f);
    }

    /** As the recorder does on stop and locate. */
    void reset()
    {
        decelerator->setParameter (1, 1.0f);
        decelerator->setParameter (1, 0.0f);
        remainder = 0.0;
        position = 0;
    }

    void play (const StereoSignal& take, size_t frames, StereoSignal& out)
    {
        for (size_t done = 0; done < frames; done += kBlock)
        {
            const double covered = ratio * kBlock + remainder;
            const int needed = std::min (static_cast<int> (covered + 0.5) + 2, kBlock + 4);
            remainder = covered - std::floor (covered);
            for (int i = 0; i < kBlock + 4; ++i)
            {
                const size_t p = position + static_cast<size_t> (i);
                const bool inside = i < needed && p < take.size();
                left[static_cast<size_t> (i)] = inside ? take.left[p] : 0.0;
                right[static_cast<size_t> (i)] = inside ? take.right[p] : 0.0;
            }
            double* channels[2] = { left.data(), right.data() };
            decelerator->processDoubleReplacing (channels, channels, kBlock);
            out.left.insert (out.left.end(), left.begin(), left.begin() + kBlock);
            out.right.insert (out.right.end(), right.begin(), right.begin() + kBlock);
            position += static_cast<size_t> (covered);
        }
    }

private:
    T730::EffectObject* decelerator;
    float ratio = 1.0f;
    double remainder = 0.0;
    size_t position = 0;
    std::vector<double> left, right;
};

/** The quietest stretch of 64 frames from `from` on: its level and where it starts. */
std::pair<double, size_t> quietestStretch (const StereoSignal& s, size_t from)
{
    double quietest = 1.0;
    size_t quietestAt = from;
    for (size_t at = from; at + 64 <= s.size(); at += 64)
    {
        double sum = 0.0;
        for (size_t i = at; i < at + 64; ++i)
            sum += s.left[i] * s.left[i] + s.right[i] * s.right[i];
        const double rms = std::sqrt (sum / 128.0);
        if (rms < quietest)
        {
            quietest = rms;
            quietestAt = at;
        }
    }
    return { quietest, quietestAt };
}

constexpr double kToneRms = 0.5 / 1.4142135623730951;   // a sine of amplitude 0.5

size_t firstSound (const StereoSignal& s, size_t from = 0)
{
    while (from < s.size() && std::abs (s.left[from]) < 1e-6)
        ++from;
    return from;
}

std::vector<ReportCollector::Report> tunerReports (StereoSignal signal)
{
    ModuleLibrary library (modulePath ("Tuner"));
    auto tuner = library.create (kBlock, static_cast<float> (kRate));
    ReportCollector collector;
    if (tuner)
    {
        tuner->setListener (&collector);
        processInPlace (tuner.get(), signal.left, signal.right, kBlock, &collector);
        tuner->setListener (nullptr);
    }
    return collector.reports;
}

class PluginsDeceleratorSpeed : public ::testing::TestWithParam<int>
{
};

/** A whole take slowed by a fresh Decelerator, with what the module answers afterwards. */
struct SlowedTake
{
    StereoSignal out;
    double ratio = 1.0;
    int32_t delay = 0;       // query 158
    int32_t underruns = 0;   // query 157
};

/** Plays the take through a fresh module at `speed`, 8192 frames longer than its slowed length
    (the stretcher's delay). */
SlowedTake playSlowed (const StereoSignal& take, int speed)
{
    SlowedTake slowed;
    ModuleLibrary library (modulePath ("Decelerator"));
    auto decelerator = library.create();
    EXPECT_TRUE (decelerator);
    if (! decelerator)
        return slowed;
    slowed.ratio = std::pow (2.0, (speed - 50) / 50.0 - 1.0);
    SlowedPlayback playback (decelerator.get(), speed);
    playback.play (take, static_cast<size_t> (static_cast<double> (take.size()) / slowed.ratio) + 8192, slowed.out);
    slowed.delay = decelerator->moduleQuery158();
    slowed.underruns = decelerator->moduleQuery157 (0);
    return slowed;
}

} // namespace

// At normal speed nothing is stretched: the signal comes back sample for sample, in place or
// into separate buffers, also after a slowed stretch.
TEST (PluginsDecelerator, NormalSpeedPassesThroughExactly)
{
    ModuleLibrary library (modulePath ("Decelerator"));
    ASSERT_TRUE (library.isOpen()) << library.getError();
    auto decelerator = library.create();
    ASSERT_TRUE (decelerator);
    EXPECT_EQ (decelerator->getParameter (0), 1.0f) << "a new object plays at normal speed";

    StereoSignal noise;
    appendNoise (noise, 0.5, kRate, 0.3, 11);
    auto inPlace = noise;
    processInPlace (decelerator.get(), inPlace.left, inPlace.right, kBlock);
    EXPECT_EQ (inPlace.left, noise.left);
    EXPECT_EQ (inPlace.right, noise.right);

    // Slowed for a while, then back to normal: still untouched.
    StereoSignal take, slowed;
    appendSine (take, 440.0, 1.0, kRate, 0.5);
    SlowedPlayback playback (decelerator.get(), 60);
    playback.play (take, 20000, slowed);
    decelerator->setParameter (0, 1.0f);

    StereoSignal out;
    out.resize (noise.size());
    for (size_t start = 0; start < noise.size(); start += kBlock)
    {
        const int frames = static_cast<int> (std::min (noise.size() - start, static_cast<size_t> (kBlock)));
        double* in[2] = { noise.left.data() + start, noise.right.data() + start };
        double* o[2] = { out.left.data() + start, out.right.data() + start };
        decelerator->processDoubleReplacing (in, o, frames);
    }
    EXPECT_EQ (out.left, noise.left);
    EXPECT_EQ (out.right, noise.right);
}

// Slowed playback of a steady 440 Hz tone keeps its pitch within 2 cents (measured by the Tuner
// module) and flows without gaps: once the sound has started no stretch of 64 frames falls
// below half the tone's level.
TEST_P (PluginsDeceleratorSpeed, KeepsPitchWithoutGaps)
{
    const int speed = GetParam();
    ModuleLibrary library (modulePath ("Decelerator"));
    ASSERT_TRUE (library.isOpen()) << library.getError();
    auto decelerator = library.create();
    ASSERT_TRUE (decelerator);

    StereoSignal take, out;
    appendSine (take, 440.0, 6.0, kRate, 0.5);
    SlowedPlayback playback (decelerator.get(), speed);
    playback.play (take, static_cast<size_t> (4.0 * kRate), out);

    const size_t start = firstSound (out);
    ASSERT_LT (start, static_cast<size_t> (0.25 * kRate)) << "playback starts within a quarter second";
    const auto [quietest, quietestAt] = quietestStretch (out, start + 1024);
    EXPECT_GT (quietest, 0.5 * kToneRms) << "a drop at frame " << quietestAt;
    EXPECT_EQ (decelerator->moduleQuery157 (0), 0) << "blocks the stretcher could not fill";

    const auto reports = tunerReports (out);
    int counted = 0;
    double worst = 0.0;
    for (const auto& r : reports)
    {
        if (r.time < static_cast<int64_t> (start) + 4096 + 1024)
            continue;   // the tuner's window still reaches into the start
        ASSERT_GT (r.value, 15.0f) << "no pitch at sample " << r.time;
        worst = std::max (worst, std::abs (centsBetween (r.value, 440.0)));
        ++counted;
    }
    EXPECT_GT (counted, 100);
    EXPECT_LE (worst, 2.0);
    std::printf ("[ slow-down] speed %d: sound after %.1f ms, quietest 64 frames at %.1f dB, pitch within %.3f cents\n",
                 speed, 1000.0 * start / kRate, 20.0 * std::log10 (quietest / kToneRms), worst);
}

INSTANTIATE_TEST_SUITE_P (PluginsSlowedPlayback, PluginsDeceleratorSpeed, ::testing::Values (50, 75));

// Parameter 1 set to 1.0 and back (stop, locate) drops everything queued: the next block is
// silent while the stretcher fills again, and only the new material is heard afterwards.
TEST (PluginsDecelerator, ResetDropsQueuedAudio)
{
    ModuleLibrary library (modulePath ("Decelerator"));
    auto decelerator = library.create();
    ASSERT_TRUE (decelerator);

    StereoSignal first, second, out;
    appendSine (first, 440.0, 2.0, kRate, 0.5);
    appendSine (second, 660.0, 3.0, kRate, 0.5);

    SlowedPlayback playback (decelerator.get(), 50);
    playback.play (first, static_cast<size_t> (kRate), out);
    ASSERT_GT (std::abs (out.left.back()) + std::abs (out.left[out.size() - 2]), 0.0) << "sounding before the reset";

    playback.reset();
    const size_t resetAt = out.size();
    playback.play (second, static_cast<size_t> (2.0 * kRate), out);

    for (size_t i = resetAt; i < resetAt + kBlock; ++i)
        ASSERT_EQ (out.left[i], 0.0) << "old audio after the reset, frame " << i - resetAt;

    const size_t restart = firstSound (out, resetAt);
    ASSERT_LT (restart, out.size());
    int counted = 0;
    for (const auto& r : tunerReports (out))
    {
        if (r.time < static_cast<int64_t> (restart) + 4096 + 1024)
            continue;
        EXPECT_NEAR (centsBetween (r.value, 660.0), 0.0, 2.0) << "at sample " << r.time;
        ++counted;
    }
    EXPECT_GT (counted, 50);
}

// The speed slider moves while the take plays (no stop in between): faster and slower again,
// the sound keeps flowing without a gap.
TEST (PluginsDecelerator, SpeedChangesWhilePlayingLeaveNoGap)
{
    ModuleLibrary library (modulePath ("Decelerator"));
    auto decelerator = library.create();
    ASSERT_TRUE (decelerator);

    StereoSignal take, out;
    appendSine (take, 440.0, 20.0, kRate, 0.5);
    SlowedPlayback playback (decelerator.get(), 50);
    for (int speed : { 50, 90, 60, 99, 50, 75 })
    {
        playback.setSpeed (speed);
        playback.play (take, 100 * kBlock, out);
    }

    const auto [quietest, quietestAt] = quietestStretch (out, firstSound (out) + 1024);
    EXPECT_GT (quietest, 0.5 * kToneRms) << "a drop at frame " << quietestAt;
    EXPECT_EQ (decelerator->moduleQuery157 (0), 0) << "blocks the stretcher could not fill";
}

// A rendered bass riff (picked notes, a held low E) slowed to the slowest and the fastest slowed
// speed keeps its level: the whole riff within 1 dB of the take, the held low note within 2 dB
// (the stretcher used to lose 3 to 8 dB there).
TEST (PluginsDecelerator, SlowedRiffKeepsItsLevel)
{
    InstrumentRenderer renderer;
    ASSERT_TRUE (renderer.isReady()) << "the General MIDI SoundFont (fluid-soundfont-gm) is needed";
    auto rendered = renderer.render (riffPhrase (33, 28));
    normalisePeak (rendered, 0.5f);
    StereoSignal take;
    take.left.assign (rendered.left.begin(), rendered.left.end());
    take.right.assign (rendered.right.begin(), rendered.right.end());

    auto rms = [] (const StereoSignal& s, double from, double to) {
        double sum = 0.0;
        const auto a = static_cast<size_t> (from), b = std::min (s.size(), static_cast<size_t> (to));
        for (size_t i = a; i < b; ++i)
            sum += s.left[i] * s.left[i] + s.right[i] * s.right[i];
        return std::sqrt (sum / (2.0 * static_cast<double> (b - a)));
    };
    const auto held = riffHeldNotes (28).front();
    const double riffEnd = 7.25 * kRate;

    for (const int speed : { 50, 90 })
    {
        const auto slowed = playSlowed (take, speed);
        const auto& out = slowed.out;
        const double ratio = slowed.ratio;
        // The module's delay puts the take's frame t at output frame delay + t / ratio.
        const double delay = static_cast<double> (firstSound (out)) - static_cast<double> (firstSound (take)) / ratio;
        auto outAt = [&] (double takeFrame) { return delay + takeFrame / ratio; };

        const double level = 20.0 * std::log10 (rms (out, outAt (0.25 * kRate), outAt (riffEnd)) / rms (take, 0.25 * kRate, riffEnd));
        const double a = (held.start + 0.2) * kRate, b = (held.end - 0.05) * kRate;
        const double heldLevel = 20.0 * std::log10 (rms (out, outAt (a), outAt (b)) / rms (take, a, b));
        EXPECT_NEAR (level, 0.0, 1.0) << "speed " << speed;
        EXPECT_NEAR (heldLevel, 0.0, 2.0) << "speed " << speed;
        EXPECT_EQ (slowed.underruns, 0) << "speed " << speed;
    }
}

namespace
{

/** 1 ms levels of the signal's first difference (its upper band, where a pick's noise lives),
    held at their maximum over the last 25 ms so a low note's once-a-period brightness does not
    read as a series of attacks. A trailing maximum keeps a rising edge where it is. */
std::vector<double> attackEnvelope (const StereoSignal& s)
{
    constexpr size_t frame = 44;
    std::vector<double> levels;
    double previous = 0.0;
    for (size_t at = 0; at + frame <= s.size(); at += frame)
    {
        double sum = 0.0;
        for (size_t i = at; i < at + frame; ++i)
        {
            const double x = s.left[i] + s.right[i];
            sum += (x - previous) * (x - previous);
            previous = x;
        }
        levels.push_back (std::sqrt (sum / frame));
    }
    std::vector<double> held (levels.size());
    for (size_t i = 0; i < levels.size(); ++i)
        held[i] = *std::max_element (levels.begin() + static_cast<std::ptrdiff_t> (i >= 24 ? i - 24 : 0),
                                     levels.begin() + static_cast<std::ptrdiff_t> (i + 1));
    return held;
}

/** The rise (ms) from -20 to -6 dB of the attack expected near 1 ms frame `e`: the level before
    is the lowest from 40 to 25 frames ahead, the peak the highest from there to 60 after; read
    forward from 25 frames ahead. */
double riseMs (const std::vector<double>& env, double e)
{
    const auto index = [&] (double f) { return static_cast<size_t> (std::clamp (f, 0.0, static_cast<double> (env.size()))); };
    const size_t baseFrom = index (e - 40), scanFrom = index (e - 25), peakTo = index (e + 60);
    const double base = *std::min_element (env.begin() + static_cast<std::ptrdiff_t> (baseFrom), env.begin() + static_cast<std::ptrdiff_t> (scanFrom));
    const double peak = *std::max_element (env.begin() + static_cast<std::ptrdiff_t> (scanFrom), env.begin() + static_cast<std::ptrdiff_t> (peakTo));
    size_t lo = scanFrom;
    while (lo < peakTo && env[lo] < base + 0.1 * (peak - base))
        ++lo;
    size_t hi = lo;
    while (hi < peakTo && env[hi] < base + 0.5 * (peak - base))
        ++hi;
    return static_cast<double> (hi - lo);
}

/** The first 1 ms frame from `from` on whose level reaches a tenth of the highest within the
    next 100 ms. */
size_t attackFrame (const std::vector<double>& env, size_t from)
{
    const size_t to = std::min (env.size(), from + 100);
    const double peak = *std::max_element (env.begin() + static_cast<std::ptrdiff_t> (from), env.begin() + static_cast<std::ptrdiff_t> (to));
    while (from < to && env[from] < 0.1 * peak)
        ++from;
    return from;
}

} // namespace

// Picked guitar notes, each from near silence, slowed to the slowest and the fastest slowed
// speed: every attack rises from -20 to -6 dB within 15 ms as in the take (a phase vocoder on its
// own spreads a pick over 20 to 40 ms), and comes where the take's timing puts it.
TEST (PluginsDecelerator, SlowedPicksStaySharp)
{
    InstrumentRenderer renderer;
    ASSERT_TRUE (renderer.isReady()) << "the General MIDI SoundFont (fluid-soundfont-gm) is needed";
    Phrase phrase;
    phrase.program = 27;
    phrase.seconds = 3.0;
    for (int i = 0; i < 4; ++i)
        phrase.notes.push_back ({ 0.3 + 0.6 * i, 0.3, 40 + 7 * i, 110 });
    auto rendered = renderer.render (phrase);
    normalisePeak (rendered, 0.5f);
    StereoSignal take;
    take.left.assign (rendered.left.begin(), rendered.left.end());
    take.right.assign (rendered.right.begin(), rendered.right.end());
    const auto takeEnv = attackEnvelope (take);

    for (const int speed : { 50, 90 })
    {
        const auto slowed = playSlowed (take, speed);
        const double ratio = slowed.ratio;
        const auto outEnv = attackEnvelope (slowed.out);

        // Each attack where the take's timing and the delay the module reports put it.
        const double delay = slowed.delay;
        for (const auto& note : phrase.notes)
        {
            const size_t inTake = attackFrame (takeEnv, static_cast<size_t> (note.start * 1000.0) - 50);
            const double expected = (static_cast<double> (inTake) * 44.0 / ratio + delay) / 44.0;
            const size_t inOut = attackFrame (outEnv, static_cast<size_t> (expected - 20.0));
            EXPECT_NEAR (static_cast<double> (inOut), expected, 8.0) << "speed " << speed << ", note at " << note.start << " s";
            EXPECT_LE (riseMs (takeEnv, static_cast<double> (inTake)), 5.0) << "the take's own attack";
            EXPECT_LE (riseMs (outEnv, expected), 15.0) << "speed " << speed << ", note at " << note.start << " s";
        }
    }
}

// The slowed take is exactly 1/ratio times as long: clicks far apart in the take come out as far
// apart divided by the ratio, to the frame, and the delay the module reports stays the same.
TEST (PluginsDecelerator, SlowedLengthIsExact)
{
    StereoSignal take;
    take.resize (static_cast<size_t> (12.0 * kRate));
    const size_t clicks[] = { static_cast<size_t> (0.5 * kRate), static_cast<size_t> (5.5 * kRate), static_cast<size_t> (11.0 * kRate) };
    for (const size_t at : clicks)
        for (size_t i = 0; i < 8; ++i)
            take.left[at + i] = take.right[at + i] = (i % 2 == 0 ? 0.6 : -0.6) * (1.0 - i / 8.0);

    for (const int speed : { 50, 70, 90 })
    {
        ModuleLibrary library (modulePath ("Decelerator"));
        auto decelerator = library.create();
        ASSERT_TRUE (decelerator);
        const double ratio = std::pow (2.0f, (speed - 50) / 50.0f - 1.0f);
        SlowedPlayback playback (decelerator.get(), speed);
        StereoSignal out;
        std::vector<int32_t> delays;
        for (size_t played = 0; played < take.size() / ratio + 8192; played += kBlock)
        {
            playback.play (take, kBlock, out);
            delays.push_back (decelerator->moduleQuery158());
        }
        // Past the start (the stretcher filling), the reported delay holds to a frame.
        const auto steady = delays.begin() + static_cast<std::ptrdiff_t> (kRate / kBlock);
        EXPECT_LE (*std::max_element (steady, delays.end()) - *std::min_element (steady, delays.end()), 1) << "speed " << speed;

        std::vector<double> at;
        for (const size_t click : clicks)
        {
            const auto centre = static_cast<size_t> (static_cast<double> (click) / ratio) + static_cast<size_t> (delays.back());
            size_t loudest = centre - 4096;
            for (size_t i = centre - 4096; i < std::min (out.size(), centre + 4096); ++i)
                if (std::abs (out.left[i]) > std::abs (out.left[loudest]))
                    loudest = i;
            at.push_back (static_cast<double> (loudest));
        }
        for (size_t i = 1; i < at.size(); ++i)
            EXPECT_NEAR (at[i] - at[0], static_cast<double> (clicks[i] - clicks[0]) / ratio, 1.0) << "speed " << speed;
    }
}
