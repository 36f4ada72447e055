// The Tuner module on notes of sampled instruments (the General MIDI SoundFont rendered with
// FluidSynth): the note a player sees is the one played, from 150 ms after the pick until the note
// has faded by 40 dB, and fret noise and drum hits show no pitch. The figures of the whole corpus
// are printed by the benchmark oxa_bench_tuner.

#include "InstrumentNotes.h"
#include "PluginsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

using namespace moduletest;

namespace
{

constexpr double kRate = 44100.0;
constexpr int kBlock = 512;
constexpr double kLead = 0.25;

InstrumentRenderer& renderer()
{
    static InstrumentRenderer shared (kGeneralMidiSoundFont, kRate);
    return shared;
}

std::string noteName (double hz)
{
    static const char* const names[] = { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };
    const int key = static_cast<int> (std::lround (69.0 + 12.0 * std::log2 (hz / 440.0)));
    return std::string (names[((key % 12) + 12) % 12]) + std::to_string (key / 12 - 1);
}

std::vector<ReportCollector::Report> tunerReports (const RenderedAudio& audio)
{
    ModuleLibrary library (modulePath ("Tuner"));
    EXPECT_TRUE (library.isOpen()) << library.getError();
    auto tuner = library.create (kBlock, static_cast<float> (kRate));
    ReportCollector collector;
    if (! tuner)
        return {};
    std::vector<double> left (audio.left.begin(), audio.left.end()), right (audio.right.begin(), audio.right.end());
    tuner->setListener (&collector);
    processInPlace (tuner.get(), left, right, kBlock, &collector);
    tuner->setListener (nullptr);
    return collector.reports;
}

/** Where the note has faded 40 dB below its loudest 1024-sample frame. */
size_t fadedBy40Db (const std::vector<float>& x)
{
    std::vector<double> levels;
    for (size_t at = 0; at + 1024 <= x.size(); at += 1024)
    {
        double sum = 0.0;
        for (size_t i = at; i < at + 1024; ++i)
            sum += double (x[i]) * x[i];
        levels.push_back (std::sqrt (sum / 1024.0));
    }
    size_t peak = 0;
    for (size_t i = 0; i < levels.size(); ++i)
        if (levels[i] > levels[peak])
            peak = i;
    for (size_t i = peak; i < levels.size(); ++i)
        if (levels[i] < 0.01 * levels[peak])
            return i * 1024;
    return x.size();
}

struct InstrumentNote
{
    const char* what;
    int program, key;
    bool overdriven;
    const char* shown;   // the note the page should show
    double driveDb = 30.0;
    int velocity = 100;
    bool fromOnset = false;   // no other note may show even right after the pick
    int mostUnpitched = -1;   // >= 0: at most this many reports without pitch in the sustain
    double shownWithinMs = 0.0;   // > 0: the note shows this soon after the onset
};

void PrintTo (const InstrumentNote& n, std::ostream* os) { *os << n.what; }

class PluginsTunerInstrument : public ::testing::TestWithParam<InstrumentNote>
{
};

} // namespace

// Notes that used to show an octave or a twelfth too high on part of their sustain, or take long to
// settle on the low strings.
TEST_P (PluginsTunerInstrument, ShowsThePlayedNoteThroughTheSustain)
{
    const auto& note = GetParam();
    ASSERT_TRUE (renderer().isReady()) << "the General MIDI SoundFont (fluid-soundfont-gm) is needed";
    auto audio = renderer().render (singleNote (note.program, note.key, 0.0, kLead, 2.75, 3.25, note.velocity));
    normalisePeak (audio, 0.5f);
    if (note.overdriven)
        audio = overdrive (audio, note.driveDb);

    const auto onset = static_cast<int64_t> (kLead * kRate);
    const auto end = static_cast<int64_t> (fadedBy40Db (audio.mono()));
    int reports = 0, pitched = 0;
    double firstMs = -1.0;
    for (const auto& r : tunerReports (audio))
    {
        if (r.time >= onset && r.value > 15.0f && firstMs < 0.0)
            firstMs = 1000.0 * static_cast<double> (r.time - onset) / kRate;
        if (r.time < onset || r.time > end)
        {
            if (r.time < onset)
            {
                EXPECT_LE (r.value, 15.0f) << "a pitch before the note at " << r.time;
            }
            continue;
        }
        if (r.time < onset + static_cast<int64_t> (0.15 * kRate))
        {
            if (note.fromOnset && r.value > 15.0f)
            {
                EXPECT_EQ (noteName (r.value), note.shown) << r.value << " Hz right after the pick, "
                                                           << 1000.0 * (r.time - onset) / kRate << " ms";
            }
            continue;
        }
        ++reports;
        if (r.value <= 15.0f)
            continue;
        ++pitched;
        EXPECT_EQ (noteName (r.value), note.shown) << r.value << " Hz at " << 1000.0 * (r.time - onset) / kRate << " ms";
    }
    EXPECT_GT (reports, 60);
    EXPECT_GE (pitched, reports * 3 / 4) << "the note goes unshown for long stretches";
    if (note.shownWithinMs > 0.0)
    {
        EXPECT_GE (firstMs, 0.0) << "never shown";
        EXPECT_LE (firstMs, note.shownWithinMs) << "first shown (ms after the onset)";
    }
    if (note.mostUnpitched >= 0)
    {
        EXPECT_LE (reports - pitched, note.mostUnpitched) << "reports without pitch in the sustain, of " << reports;
    }
}

INSTANTIATE_TEST_SUITE_P (
    PluginsSampledNotes, PluginsTunerInstrument,
    ::testing::Values (InstrumentNote { "NylonLowE", 24, 40, false, "E2" },
                       InstrumentNote { "SteelA", 25, 45, false, "A2" },
                       InstrumentNote { "OverdrivenLowE", 27, 40, true, "E2" },
                       InstrumentNote { "JazzC", 26, 48, false, "C3" },
                       InstrumentNote { "HarmonicOfLowE", 31, 40, false, "E4" },
                       // Flageolets ring out of the pick's noise and become periodic only within
                       // the last part of the window at first: still shown soon after the pick.
                       InstrumentNote { "HarmonicOfD", 31, 50, false, "D5", 30.0, 100, false, -1, 190.0 },
                       InstrumentNote { "HarmonicOfB", 31, 59, false, "B5", 30.0, 100, false, -1, 150.0 },
                       // Through the overdrive the keyed string's own period shows in the attack.
                       InstrumentNote { "OverdrivenHarmonicOfC", 31, 48, true, "C5", 30.0, 105 },
                       InstrumentNote { "FingerBassLowB", 33, 23, false, "B0" },
                       InstrumentNote { "PickBassE", 34, 28, false, "E1" },
                       InstrumentNote { "OverdrivenSlapBassE", 36, 28, true, "E1" },
                       // A sub-octave thump in the attack, louder than the note's weak fundamental.
                       InstrumentNote { "SlapBassD", 36, 38, false, "D2" },
                       // Overdriven, their waveforms repeat only every second period for a while
                       // after the attack (a sub-octave as loud as the fundamental).
                       InstrumentNote { "OverdrivenFingerBassD", 33, 38, true, "D2", 24.0, 105 },
                       InstrumentNote { "OverdrivenSlapBassD", 36, 38, true, "D2", 24.0, 105 },
                       // A fundamental as loud as its octave, and a high note whose fundamental
                       // carries the sound.
                       InstrumentNote { "CleanGuitarB", 27, 59, false, "B3" },
                       InstrumentNote { "OverdrivenGuitarHighE", 29, 76, true, "E5" },
                       // Its first clear periods are followed by two windows that repeat only
                       // every half period, less clearly: no octave may flash up after the pick.
                       // Its fundamental is weak beside its octave: the note still shows at once.
                       InstrumentNote { "DistortionGuitarHighE", 30, 76, false, "E5", 30.0, 105, true, -1, 150.0 },
                       // A partial between its third and fourth ringing on in the sustain: no
                       // fraction of the period that lies off the note's own may take its place.
                       InstrumentNote { "OverdrivenCleanGuitarG", 27, 43, true, "G2", 30.0, 105, false, 2 },
                       // A looped synth bass that repeats exactly, its octave only half as well.
                       InstrumentNote { "OverdrivenSynthBassD", 39, 26, true, "D1", 24.0, 105, false, 3 },
                       // The overdriven program's A and C strings repeat only roughly for their
                       // first few hundred milliseconds, and a resonance near 2 kHz (above the
                       // tuner's range) repeats as clearly: the note still shows soon after the pick.
                       InstrumentNote { "OverdrivenProgramA", 29, 45, false, "A2", 30.0, 105, false, -1, 150.0 },
                       InstrumentNote { "OverdrivenProgramC", 29, 48, false, "C3", 30.0, 105, false, -1, 150.0 }),
    [] (const auto& info) { return std::string (info.param.what); });

// Fret squeaks (clean and through the overdrive) and drum hits have no pitch to show.
TEST (PluginsTunerInstrument, FretNoiseAndDrumsShowNoPitch)
{
    ASSERT_TRUE (renderer().isReady());
    std::vector<std::pair<std::string, RenderedAudio>> hits;
    for (const int key : { 40, 52, 64, 76 })
    {
        auto fret = renderer().render (singleNote (120, key, 0.0, kLead, 1.0, 1.5, 110));
        normalisePeak (fret, 0.5f);
        hits.emplace_back ("fret noise " + std::to_string (key), fret);
        hits.emplace_back ("overdriven fret noise " + std::to_string (key), overdrive (fret, 30.0));
    }
    for (const int key : { 35, 36, 38, 40, 42, 49 })
    {
        auto drum = renderer().render (singleNote (0, key, 0.0, kLead, 0.3, 1.5, 115, kDrumBank));
        normalisePeak (drum, 0.5f);
        hits.emplace_back ("drum " + std::to_string (key), drum);
    }
    for (const auto& [what, audio] : hits)
        for (const auto& r : tunerReports (audio))
            EXPECT_LE (r.value, 15.0f) << what << ": " << r.value << " Hz at " << r.time;
}

// A muted string is over within half a second, losing 10 dB and more per analysis window (20 dB
// and more while the pick's loud start leaves it), and through the overdrive its fundamental dips
// below its octave: once shown, the note must stay shown, by its own name, until it has faded 40 dB.
TEST (PluginsTunerInstrument, MutedNotesStayShownWhileTheyRing)
{
    struct Muted
    {
        int key;
        bool overdriven;
        const char* name;
    };
    ASSERT_TRUE (renderer().isReady());
    for (const auto& [key, overdriven, name] :
         { Muted { 72, true, "C5" }, Muted { 76, true, "E5" }, Muted { 64, false, "E4" } })
    {
        auto audio = renderer().render (singleNote (28, key, 0.0, kLead, 1.0, 1.5, 100));
        normalisePeak (audio, 0.5f);
        if (overdriven)
            audio = overdrive (audio, 30.0);
        const auto onset = static_cast<int64_t> (kLead * kRate);
        const auto end = static_cast<int64_t> (fadedBy40Db (audio.mono()));
        int shown = 0, gaps = 0;
        for (const auto& r : tunerReports (audio))
        {
            if (r.time <= onset || r.time > end)
                continue;
            if (r.value > 15.0f)
            {
                ++shown;
                EXPECT_EQ (noteName (r.value), name)
                    << r.value << " Hz at " << 1000.0 * (r.time - onset) / kRate << " ms";
            }
            else if (shown > 0)
            {
                ++gaps;
            }
        }
        EXPECT_GE (shown, 3) << name;
        EXPECT_EQ (gaps, 0) << name << ": reports without pitch after the note was shown";
    }
}

// An overdriven or distorted low string's waveform wanders: on the short window its reading moves
// by 2-6 cents from one report to the next for as long as it is held. Once its glide is over the
// held note is read on the long window, and the reading steadies.
TEST (PluginsTunerInstrument, HeldLowStringsSteadyAfterTheirGlide)
{
    struct Held
    {
        int program, key;
        bool overdriven;
        const char* name;
        bool afterGarbage = false;   // non-numbers and infinities in the input before the note
    };
    ASSERT_TRUE (renderer().isReady());
    for (const auto& [program, key, overdriven, name, afterGarbage] :
         { Held { 30, 40, true, "E2" }, Held { 30, 41, true, "F2" }, Held { 30, 40, false, "E2" },
           Held { 29, 40, false, "E2" }, Held { 30, 40, true, "E2", true } })
    {
        auto audio = renderer().render (singleNote (program, key, 0.0, kLead, 2.75, 3.25, 100));
        normalisePeak (audio, 0.5f);
        if (overdriven)
            audio = overdrive (audio, 30.0);
        if (afterGarbage)
            for (size_t i = 1000; i < 1100; ++i)
                audio.left[i] = audio.right[i] = i % 2 == 0 ? std::numeric_limits<float>::quiet_NaN()
                                                             : std::numeric_limits<float>::infinity();
        const auto from = static_cast<int64_t> ((kLead + 1.6) * kRate);
        const auto to = static_cast<int64_t> ((kLead + 2.75) * kRate);
        std::vector<double> steps;
        double previous = 0.0;
        for (const auto& r : tunerReports (audio))
        {
            if (r.time < from || r.time > to)
                continue;
            ASSERT_GT (r.value, 15.0f) << name << " unshown at " << 1000.0 * (r.time - from) / kRate << " ms after 1.6 s";
            EXPECT_EQ (noteName (r.value), name);
            if (previous > 0.0)
                steps.push_back (std::abs (1200.0 * std::log2 (r.value / previous)));
            previous = r.value;
        }
        ASSERT_GT (steps.size(), 40u) << name;
        std::sort (steps.begin(), steps.end());
        const std::string what = std::string (name) + " of program " + std::to_string (program)
                               + (overdriven ? " overdriven" : "") + (afterGarbage ? " after garbage input" : "");
        EXPECT_LE (steps[steps.size() / 2], 1.0) << what << ": median step between reports, cents";
        EXPECT_LE (steps.back(), 4.0) << what << ": largest step between reports, cents";
    }
}
