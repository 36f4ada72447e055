// The Tuner module on recorded instrument notes (the corpus of oxa_instrument_corpus): every file
// is driven through the module's interface as the host does (512-frame stereo double blocks at
// 44.1 kHz, in place) and its reports are compared with an offline reference measured on the
// same file. Prints per instrument: gross errors, settling, steady and tail error, reports on
// files without pitch, the cost per block and the allocations in it, and the goals met or missed.
//
//     oxa_bench_tuner [--module <Tuner.so>] [--corpus <folder>] [--detail] [--reports] [--only <text>]
//
// --detail prints each note's figures, --reports each report against the reference and the track.
//
// Definitions (times from the onset, the first sample reaching 1 % of the file's peak):
// - level: RMS over 1024-sample frames; "end" is the first frame after the peak 40 dB below it.
// - reference: the note's partials over its sustained part (from 300 ms, 500 ms on bass, until
//   the key is released or the level is 30 dB down, at most 2.5 s) from a long-window spectrum;
//   f_h / h of its lowest partials (the first three, or all below 250 Hz on the lowest strings)
//   weighted by energy x h^2: the period of the low-passed note. The goals also print settling
//   against the same estimate over all partials up to the 16th.
// - gross error: a report (above 15 Hz) more than 50 cents from the reference, counted from
//   150 ms to the end; "early" counts notes with such a report before 150 ms.
// - settling: the time of the first of 5 consecutive reports within 3 cents; "track" settles
//   against the note's pitch track (below) instead, and "string" is when the track itself comes
//   within 3 cents of the reference for good (three points in a row): the sampled strings glide.
// - track: the reference estimate over 250 ms windows (400 ms on bass) every 50 ms.
// - steady error: per note the median |error| of the reports from the reference span's start
//   until the level is 20 dB down (or the key released), against the track at the centre of the
//   report's analysis window (the module's query 158 after the block that brought it: a held
//   low note is read on a window twice as long); tail error: from there to the end, against the
//   single reference; the table gives median and worst over notes.
// - missing: reports of no pitch between 150 ms and the end, as a share of the reports there.
// - left out of settling and missing: notes sounding above the tuner's range (a flageolet two
//   octaves over a high key; no pitch is the right answer, and their reports above 15 Hz are
//   counted) and notes 40 dB down within 250 ms (a muted string over before five reports).

#include "CountingAllocator.h"
#include "InstrumentNotes.h"
#include "ModuleHarness.h"
#include "SignalAnalysis.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace moduletest;
using namespace benchsignal;

namespace
{

constexpr double kRate = 44100.0;
constexpr int kBlock = 512;
constexpr size_t kLevelFrame = 1024;
constexpr double kTunerHighestHz = 1500.0;   // the module's highest pitch (a 24th fret high E is 1318.5 Hz)

const char* const kGuitarNames[] = { "nylon", "steel", "jazz", "clean", "muted", "overdriven", "distortion",
                                     "harmonics" };
const char* const kBassNames[] = { "acoustic", "finger", "pick", "fretless", "slap 1", "slap 2", "synth 1",
                                   "synth 2" };

struct Entry
{
    std::string file, family;
    int program = 0, key = 0;
    double bend = 0.0;
    bool drive = false;
    long noteOn = 0, noteOff = 0;
};

std::vector<Entry> readManifest (const std::string& folder)
{
    std::vector<Entry> entries;
    std::ifstream in (folder + "/corpus.tsv");
    for (std::string line; std::getline (in, line);)
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream s (line);
        Entry e;
        int drive = 0;
        s >> e.file >> e.family >> e.program >> e.key >> e.bend >> drive >> e.noteOn >> e.noteOff;
        e.drive = drive != 0;
        if (s)
            entries.push_back (e);
    }
    return entries;
}

double threadSeconds()
{
    timespec t {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double> (t.tv_sec) + 1e-9 * static_cast<double> (t.tv_nsec);
}

struct Report
{
    size_t time;   // end of the block that brought it
    double hz;
    int window;    // the input samples its analysis window spans (the module's query 158)
};

/** Runs the module over the signal in 512-frame blocks; block costs are appended, and the
    allocations made while blocks after the first are processed are added up. Each report is
    given the window the module names after its block (a block brings one report at most). */
std::vector<Report> runTuner (const ModuleLibrary& library, const std::vector<double>& x, std::vector<double>& costs,
                              long long& allocations)
{
    auto tuner = library.create (kBlock, static_cast<float> (kRate));
    ReportCollector collector;
    if (! tuner)
        return {};
    std::vector<int> windows;
    windows.reserve (x.size() / kBlock + 1);
    collector.reports.reserve (x.size() / 256 + 16);   // (the listener's own growth is not the module's)
    tuner->setListener (&collector);
    std::vector<double> left (kBlock), right (kBlock);
    for (size_t start = 0; start + kBlock <= x.size(); start += kBlock)
    {
        std::copy_n (x.begin() + static_cast<long> (start), kBlock, left.begin());
        std::copy_n (x.begin() + static_cast<long> (start), kBlock, right.begin());
        double* channels[2] = { left.data(), right.data() };
        collector.now = static_cast<int64_t> (start + kBlock);
        const auto allocatedBefore = threadAllocations;
        const double t0 = threadSeconds();
        tuner->processDoubleReplacing (channels, channels, kBlock);
        const double t1 = threadSeconds();
        if (start > 0)
            allocations += threadAllocations - allocatedBefore;
        costs.push_back (t1 - t0);
        windows.resize (collector.reports.size(), tuner->moduleQuery158());
    }
    tuner->setListener (nullptr);
    std::vector<Report> reports;
    for (size_t i = 0; i < collector.reports.size(); ++i)
        reports.push_back ({ static_cast<size_t> (collector.reports[i].time), collector.reports[i].value, windows[i] });
    return reports;
}

struct NoteResult
{
    double reference = 0.0;
    double referenceAll = 0.0;      // over all partials (the brighter tone's period)
    double settleAllMs = -1.0;      // settling against it
    int reports = 0, gross = 0, missing = 0;
    bool early = false;
    double settleMs = -1.0;         // -1: never settled
    double stringSettleMs = -1.0;   // the offline track's own settling (the string's glide)
    double trackSettleMs = -1.0;    // settling against the track instead of the single reference
    double firstMs = -1.0;          // the first report of a pitch
    double steady = 0.0, tail = -1.0, steadyNote = 0.0;
    bool aboveRange = false;        // sounds above the tuner's range: "no pitch" is its right answer
    bool tooShort = false;          // 40 dB down within 250 ms: over before five reports could agree
    int pitched = 0;                // reports above 15 Hz during the note

    /** Whether the note counts for settling and missing reports. */
    bool settles() const { return ! aboveRange && ! tooShort; }
};

struct Timing
{
    size_t onset, refFrom, refTo, tailFrom, end;
};

Timing timingOf (const std::vector<double>& x, const Entry& e)
{
    Timing t {};
    t.onset = onsetOf (x, 0.01, static_cast<size_t> (std::max (0L, e.noteOn - 512)));
    const auto levels = frameLevels (x, kLevelFrame);
    size_t peakFrame = 0;
    for (size_t i = 0; i < levels.size(); ++i)
        if (levels[i] > levels[peakFrame])
            peakFrame = i;
    auto firstBelow = [&] (double db) {
        for (size_t i = peakFrame; i < levels.size(); ++i)
            if (levels[i] < levels[peakFrame] * std::pow (10.0, -db / 20.0))
                return i * kLevelFrame;
        return x.size();
    };
    t.end = firstBelow (40.0);
    const bool bass = e.family == "bass";
    const auto noteOff = static_cast<size_t> (e.noteOff);
    t.refFrom = t.onset + static_cast<size_t> ((bass ? 0.5 : 0.3) * kRate);
    t.refTo = std::min ({ firstBelow (30.0), noteOff, t.refFrom + static_cast<size_t> (2.5 * kRate) });
    if (t.refTo < t.refFrom + static_cast<size_t> (0.25 * kRate))
    {
        // A short note (muted strings): its sustain is the first few hundred milliseconds.
        t.refFrom = t.onset + static_cast<size_t> (0.12 * kRate);
        t.refTo = std::max (t.refFrom + static_cast<size_t> (0.25 * kRate), std::min (t.end, firstBelow (30.0)));
    }
    t.tailFrom = std::max (t.refFrom, std::min (firstBelow (20.0), noteOff));
    return t;
}

/** The note's pitch over time: the reference estimate over windows of `span` samples centred
    every 50 ms from the onset on; linear in between. */
struct PitchTrack
{
    size_t first = 0, hop = 1;
    std::vector<double> hz;

    double at (double centre) const
    {
        if (hz.empty())
            return 0.0;
        const double p = std::clamp ((centre - static_cast<double> (first)) / static_cast<double> (hop), 0.0,
                                     static_cast<double> (hz.size() - 1));
        const auto i = static_cast<size_t> (p);
        if (i + 1 >= hz.size())
            return hz.back();
        return hz[i] + (p - static_cast<double> (i)) * (hz[i + 1] - hz[i]);
    }
};

PitchTrack trackOf (const std::vector<double>& x, size_t onset, size_t end, double nominal, size_t span)
{
    PitchTrack track;
    track.hop = static_cast<size_t> (0.05 * kRate);
    track.first = onset + span / 2;
    for (size_t centre = track.first; centre + span / 2 <= std::min (end, x.size()); centre += track.hop)
        track.hz.push_back (lowPartialsFundamental (partialsOf (x, centre - span / 2, centre + span / 2, kRate, nominal, 4000.0, 16, 2)));
    return track;
}

NoteResult measureNote (const std::vector<double>& x, const Entry& e, const std::vector<Report>& reports,
                        bool detail, bool listReports)
{
    NoteResult r;
    const auto t = timingOf (x, e);
    const bool bass = e.family == "bass";
    const double nominal = 440.0 * std::pow (2.0, (e.key - 69) / 12.0 + e.bend / 1200.0);
    const auto partials = partialsOfNote (x, t.refFrom, t.refTo, kRate, nominal, 4);
    r.reference = lowPartialsFundamental (partials);
    r.referenceAll = periodicFundamental (partials);
    r.aboveRange = r.reference > kTunerHighestHz;
    r.tooShort = t.end < t.onset + static_cast<size_t> (0.25 * kRate);
    const auto track = trackOf (x, t.onset, t.end, r.reference, static_cast<size_t> ((bass ? 0.4 : 0.25) * kRate));

    // The string's own settling: the track's centre from which three points in a row stay within 3 cents.
    for (size_t i = 0; i + 3 <= track.hz.size() && r.stringSettleMs < 0.0; ++i)
        if (std::abs (cents (track.hz[i], r.reference)) <= 3.0 && std::abs (cents (track.hz[i + 1], r.reference)) <= 3.0
            && std::abs (cents (track.hz[i + 2], r.reference)) <= 3.0)
            r.stringSettleMs = 1000.0 * static_cast<double> (track.first + i * track.hop - t.onset) / kRate;

    std::vector<double> steadyErrors, steadyNoteErrors, tailErrors;
    std::vector<Report> during;
    for (const auto& rep : reports)
        if (rep.time > t.onset && rep.time <= t.end)
            during.push_back (rep);
    const size_t grossFrom = t.onset + static_cast<size_t> (0.15 * kRate);
    for (size_t i = 0; i < during.size(); ++i)
    {
        const auto& rep = during[i];
        const bool pitched = rep.hz > 15.0;
        const double c = pitched ? cents (rep.hz, r.reference) : 0.0;
        r.pitched += pitched;
        if (pitched && r.firstMs < 0.0)
            r.firstMs = 1000.0 * static_cast<double> (rep.time - t.onset) / kRate;
        if (rep.time >= grossFrom)
        {
            ++r.reports;
            if (! pitched)
                ++r.missing;
            else if (std::abs (c) > 50.0)
                ++r.gross;
        }
        else if (pitched && std::abs (c) > 50.0)
        {
            r.early = true;
        }
        if (pitched && rep.time >= t.refFrom && rep.time <= t.tailFrom)
        {
            // Against the track at the centre of the report's analysis window.
            const double centre = static_cast<double> (rep.time) - 0.5 * rep.window;
            steadyErrors.push_back (std::abs (cents (rep.hz, track.at (centre))));
            steadyNoteErrors.push_back (std::abs (c));
        }
        if (pitched && rep.time > t.tailFrom)
            tailErrors.push_back (std::abs (c));
        if (r.trackSettleMs < 0.0 && i + 5 <= during.size())
        {
            bool settled = true;
            for (size_t k = i; k < i + 5 && settled; ++k)
                settled = during[k].hz > 15.0
                       && std::abs (cents (during[k].hz, track.at (static_cast<double> (during[k].time) - 0.5 * during[k].window))) <= 3.0;
            if (settled)
                r.trackSettleMs = 1000.0 * static_cast<double> (rep.time - t.onset) / kRate;
        }
        auto settlesAt = [&] (double reference, double& settle) {
            if (settle >= 0.0 || i + 5 > during.size())
                return;
            bool settled = true;
            for (size_t k = i; k < i + 5 && settled; ++k)
                settled = during[k].hz > 15.0 && std::abs (cents (during[k].hz, reference)) <= 3.0;
            if (settled)
                settle = 1000.0 * static_cast<double> (rep.time - t.onset) / kRate;
        };
        settlesAt (r.reference, r.settleMs);
        settlesAt (r.referenceAll, r.settleAllMs);
    }
    r.steady = steadyErrors.empty() ? -1.0 : median (steadyErrors);
    r.steadyNote = steadyNoteErrors.empty() ? -1.0 : median (steadyNoteErrors);
    r.tail = tailErrors.empty() ? -1.0 : median (tailErrors);

    if (listReports)
        for (const auto& rep : during)
            std::printf ("    %6.0f ms %9.3f Hz  %+8.2f c  track %+8.2f c\n", 1000.0 * (rep.time - t.onset) / kRate, rep.hz,
                         rep.hz > 15.0 ? cents (rep.hz, r.reference) : 0.0,
                         rep.hz > 15.0 ? cents (rep.hz, track.at (static_cast<double> (rep.time) - 0.5 * rep.window)) : 0.0);
    if (detail)
    {
        std::printf ("  %-34s onset %6zu ref %6zu-%6zu\n", e.file.c_str(), t.onset, t.refFrom, t.refTo);
        std::printf ("  %-34s ref %8.3f Hz (%+6.2f c) steady %4.0f-%4.0f end %4.0f ms | gross %2d/%3d missing %3d "
                     "settle %5.0f (string %5.0f track %5.0f first %4.0f) ms steady %5.2f (note %5.2f) tail %5.2f%s\n",
                     e.file.c_str(), r.reference, cents (r.reference, nominal), 1000.0 * (t.refFrom - t.onset) / kRate,
                     1000.0 * (t.tailFrom - t.onset) / kRate, 1000.0 * (t.end - t.onset) / kRate, r.gross, r.reports,
                     r.missing, r.settleMs, r.stringSettleMs, r.trackSettleMs, r.firstMs, r.steady, r.steadyNote, r.tail, r.early ? " early" : "");
        if (r.gross > 0 || r.early)
        {
            std::printf ("     wrong:");
            int shown = 0;
            for (const auto& rep : during)
                if (rep.hz > 15.0 && std::abs (cents (rep.hz, r.reference)) > 50.0 && shown++ < 12)
                    std::printf (" %.0fms:%.1fHz", 1000.0 * (rep.time - t.onset) / kRate, rep.hz);
            std::printf ("\n");
        }
    }
    return r;
}

struct Group
{
    std::string name;
    std::vector<NoteResult> notes;
};

double worstOf (const std::vector<double>& v) { return v.empty() ? 0.0 : *std::max_element (v.begin(), v.end()); }

void printGroup (const Group& g)
{
    int reports = 0, gross = 0, grossNotes = 0, early = 0, missing = 0, missingOf = 0, unsettled = 0;
    std::vector<double> settle, stringSettle, trackSettle, steady, tail;
    for (const auto& n : g.notes)
    {
        reports += n.reports;
        gross += n.gross;
        grossNotes += n.gross > 0;
        early += n.early;
        if (! n.settles())
            continue;
        missing += n.missing;
        missingOf += n.reports;
        if (n.settleMs >= 0.0)
            settle.push_back (n.settleMs);
        else
            ++unsettled;
        if (n.stringSettleMs >= 0.0)
            stringSettle.push_back (n.stringSettleMs);
        if (n.trackSettleMs >= 0.0)
            trackSettle.push_back (n.trackSettleMs);
        if (n.steady >= 0.0)
            steady.push_back (n.steady);
        if (n.tail >= 0.0)
            tail.push_back (n.tail);
    }
    std::printf ("%-20s %5zu %6d %5d %4d %5d %6.0f %6.0f %5d %6.0f %6.0f %6.0f %6.2f %6.2f %6.2f %7.2f %5.1f\n",
                 g.name.c_str(), g.notes.size(), reports, gross, grossNotes, early, median (settle), worstOf (settle),
                 unsettled, median (trackSettle), worstOf (trackSettle), median (stringSettle), median (steady),
                 worstOf (steady), median (tail), worstOf (tail), missingOf > 0 ? 100.0 * missing / missingOf : 0.0);
}

void printHeader()
{
    std::printf ("%-20s %5s %6s %5s %4s %5s %6s %6s %5s %6s %6s %6s %6s %6s %6s %7s %5s\n", "instrument", "notes",
                 "report", "gross", "of", "early", "settle", "worst", "never", "track", "worst", "string", "steady",
                 "worst", "tail", "worst", "miss");
    std::printf ("%-20s %5s %6s %5s %4s %5s %6s %6s %5s %6s %6s %6s %6s %6s %6s %7s %5s\n", "", "", ">150ms", ">50c",
                 "notes", "wrong", "med ms", "ms", "", "settle", "ms", "med ms", "med c", "c", "med c", "c", "%");
}

} // namespace

int main (int argc, char** argv)
{
    std::string modulePath = std::string (OXA_BENCH_RESOURCES_DIR) + "/Tuner.so";
    std::string corpus = OXA_CORPUS_DIR;
    std::string only;
    bool detail = false, listReports = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string a = argv[i];
        if (a == "--module" && i + 1 < argc)
            modulePath = argv[++i];
        else if (a == "--corpus" && i + 1 < argc)
            corpus = argv[++i];
        else if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else if (a == "--detail")
            detail = true;
        else if (a == "--reports")
            listReports = true;
    }

    ModuleLibrary library (modulePath);
    if (! library.isOpen())
        return std::printf ("cannot load %s: %s\n", modulePath.c_str(), library.getError().c_str()), 0;
    const auto entries = readManifest (corpus);
    if (entries.empty())
        return std::printf ("no corpus in %s (build the target oxa_corpus)\n", corpus.c_str()), 0;

    std::printf ("Tuner on recorded notes: %s\ncorpus %s, %d-frame stereo blocks at %.0f Hz\n", modulePath.c_str(),
                 corpus.c_str(), kBlock, kRate);

    std::map<std::string, Group> groups;   // keyed for a stable order
    Group allGuitar { "all guitar", {} }, allBass { "all bass", {} };
    std::map<std::string, std::pair<int, double>> noise;   // family: reports above 15 Hz, highest
    std::map<std::string, int> noiseFiles;
    std::vector<double> costs;
    long long allocations = 0;

    for (const auto& e : entries)
    {
        if (! only.empty() && e.file.find (only) == std::string::npos)
            continue;
        RenderedAudio audio;
        if (! readWav16 (corpus + "/" + e.file, audio))
        {
            std::printf ("cannot read %s\n", e.file.c_str());
            continue;
        }
        const auto mono = audio.mono();
        const std::vector<double> x (mono.begin(), mono.end());
        const auto reports = runTuner (library, x, costs, allocations);

        if (e.family == "guitar" || e.family == "bass")
        {
            const bool bass = e.family == "bass";
            const auto r = measureNote (x, e, reports, detail, listReports);
            const int index = e.program - (bass ? 32 : 24);
            char key[64];
            std::snprintf (key, sizeof key, "%c%d %s%s", bass ? 'b' : 'a', index, bass ? kBassNames[index] : kGuitarNames[index],
                           e.drive ? " +drive" : "");
            auto& g = groups[key];
            g.name = std::string (bass ? "bass " : "gtr ") + (bass ? kBassNames[index] : kGuitarNames[index])
                   + (e.drive ? " +od" : "");
            g.notes.push_back (r);
            (bass ? allBass : allGuitar).notes.push_back (r);
        }
        else if (e.family == "fret" || e.family == "drum")
        {
            const std::string family = e.family + (e.drive ? " +od" : "");
            ++noiseFiles[family];
            auto& n = noise[family];
            for (const auto& rep : reports)
                if (rep.hz > 15.0)
                {
                    ++n.first;
                    n.second = std::max (n.second, rep.hz);
                    if (detail)
                        std::printf ("  %-34s report %.1f Hz at %.0f ms\n", e.file.c_str(), rep.hz,
                                     1000.0 * rep.time / kRate);
                }
        }
    }

    std::printf ("\n");
    printHeader();
    for (const auto& [key, g] : groups)
        printGroup (g);
    printGroup (allGuitar);
    printGroup (allBass);

    std::printf ("\nno pitch expected:\n");
    int noiseReports = 0;
    double noiseHighest = 0.0;
    for (const auto& [family, n] : noise)
    {
        std::printf ("  %-12s %3d files: %4d reports above 15 Hz%s", family.c_str(), noiseFiles[family], n.first,
                     n.first > 0 ? "" : "\n");
        if (n.first > 0)
            std::printf (", up to %.1f Hz\n", n.second);
        noiseReports += n.first;
        noiseHighest = std::max (noiseHighest, n.second);
    }

    const double blockSeconds = kBlock / kRate;
    double total = 0.0;
    for (double c : costs)
        total += c;
    const double meanShare = costs.empty() ? 0.0 : total / (costs.size() * blockSeconds);
    const double p99 = percentile (costs, 0.99);
    std::printf ("\ncost per block (%zu blocks): mean %.3f %% of a core, p99 %.3f ms, worst %.3f ms; "
                 "%lld allocations (operator new) in the blocks after each file's first\n", costs.size(),
                 100.0 * meanShare, 1000.0 * p99, 1000.0 * (costs.empty() ? 0.0 : *std::max_element (costs.begin(), costs.end())),
                 allocations);

    // The goals.
    // The notes left out of settling and missing reports.
    int above = 0, abovePitched = 0, short_ = 0;
    for (const auto* g : { &allGuitar, &allBass })
        for (const auto& n : g->notes)
        {
            above += n.aboveRange;
            abovePitched += n.aboveRange ? n.pitched : 0;
            short_ += ! n.aboveRange && n.tooShort;
        }
    std::printf ("\nleft out of settling and missing reports: %d notes sounding above the tuner's %.0f Hz "
                 "(%d reports above 15 Hz on them), %d notes 40 dB down within 250 ms\n",
                 above, kTunerHighestHz, abovePitched, short_);

    // Median, worst and the notes that never settled, over one of the settling figures.
    auto settleStats = [] (const Group& g, double NoteResult::*settle, double& med, double& worst, int& never) {
        std::vector<double> v;
        never = 0;
        for (const auto& n : g.notes)
            if (n.settles())
                n.*settle >= 0.0 ? v.push_back (n.*settle) : (void) ++never;
        med = median (v);
        worst = worstOf (v);
    };
    int gross = 0;
    std::vector<double> steady, steadyNote;
    for (const auto* g : { &allGuitar, &allBass })
        for (const auto& n : g->notes)
        {
            gross += n.gross;
            if (n.steady >= 0.0)
                steady.push_back (n.steady);
            if (n.steadyNote >= 0.0)
                steadyNote.push_back (n.steadyNote);
        }
    double gMed, gWorst, bMed, bWorst, gtMed, gtWorst, btMed, btWorst, gaMed, gaWorst, baMed, baWorst;
    int gNever, bNever, unused, gaNever, baNever;
    settleStats (allGuitar, &NoteResult::settleMs, gMed, gWorst, gNever);
    settleStats (allBass, &NoteResult::settleMs, bMed, bWorst, bNever);
    settleStats (allGuitar, &NoteResult::trackSettleMs, gtMed, gtWorst, unused);
    settleStats (allBass, &NoteResult::trackSettleMs, btMed, btWorst, unused);
    settleStats (allGuitar, &NoteResult::settleAllMs, gaMed, gaWorst, gaNever);
    settleStats (allBass, &NoteResult::settleAllMs, baMed, baWorst, baNever);
    // The notes whose string itself is within 3 cents of its reference by the goal's median:
    // the most that can settle by then.
    auto stringBy = [] (const Group& g, double ms, int& counted) {
        int settled = 0;
        counted = 0;
        for (const auto& n : g.notes)
            if (n.settles())
            {
                ++counted;
                settled += n.stringSettleMs >= 0.0 && n.stringSettleMs <= ms;
            }
        return settled;
    };
    int gCounted = 0, bCounted = 0;
    const int gString = stringBy (allGuitar, 150.0, gCounted);
    const int bString = stringBy (allBass, 400.0, bCounted);
    // The string's latest settling, and the notes whose string is still gliding at three times the
    // median settling: on those even a tuner that read the string exactly would miss the worst.
    auto stringLate = [] (const Group& g, double settleMedian, double& latest) {
        int late = 0;
        latest = 0.0;
        for (const auto& n : g.notes)
            if (n.settles())
            {
                const double s = n.stringSettleMs < 0.0 ? 1.0e9 : n.stringSettleMs;
                latest = std::max (latest, n.stringSettleMs);
                late += s > 3.0 * settleMedian;
            }
        return late;
    };
    double gStringLatest = 0.0, bStringLatest = 0.0;
    const int gLate = stringLate (allGuitar, gMed, gStringLatest);
    const int bLate = stringLate (allBass, bMed, bStringLatest);
    const double steadyMed = median (steady);
    const double steadyWorst = steady.empty() ? 0.0 : *std::max_element (steady.begin(), steady.end());
    auto mark = [] (bool ok) { return ok ? "met   " : "MISSED"; };
    std::printf ("\ngoals:\n");
    std::printf ("  %s gross errors from 150 ms to -40 dB: %d (goal 0)\n", mark (gross == 0), gross);
    std::printf ("  %s reports above 15 Hz on fret noise and drums: %d, highest %.1f Hz (goal 0)\n",
                 mark (noiseReports == 0), noiseReports, noiseHighest);
    std::printf ("  %s guitar settling: median %.0f ms (goal <= 150), worst %.0f ms (goal <= 3x median), never %d\n",
                 mark (gMed <= 150.0 && gWorst <= 3.0 * gMed && gNever == 0), gMed, gWorst, gNever);
    std::printf ("  %s bass settling: median %.0f ms (goal <= 400), worst %.0f ms (goal <= 3x median), never %d\n",
                 mark (bMed <= 400.0 && bWorst <= 3.0 * bMed && bNever == 0), bMed, bWorst, bNever);
    std::printf ("         (against the note's track, the string's glide left out: guitar median %.0f ms, worst %.0f ms; "
                 "bass median %.0f ms, worst %.0f ms)\n", gtMed, gtWorst, btMed, btWorst);
    std::printf ("         (against the period of all partials: guitar median %.0f ms, worst %.0f ms, never %d; "
                 "bass median %.0f ms, worst %.0f ms, never %d)\n", gaMed, gaWorst, gaNever, baMed, baWorst, baNever);
    std::printf ("         (the string's own track within 3 cents by the goal: guitar %d of %d notes by 150 ms, "
                 "bass %d of %d by 400 ms; a median needs half)\n", gString, gCounted, bString, bCounted);
    std::printf ("         (the string's own track settles as late as %.0f ms on guitar and %.0f ms on bass; later than 3x "
                 "the median settling, or never: %d guitar and %d bass notes)\n", gStringLatest, bStringLatest, gLate, bLate);
    std::printf ("  %s steady error: median %.2f cents (goal <= 0.5), worst %.2f cents (goal <= 2)\n",
                 mark (steadyMed <= 0.5 && steadyWorst <= 2.0), steadyMed, steadyWorst);
    std::printf ("         (against the note's single reference instead of its track: median %.2f, worst %.2f cents)\n",
                 median (steadyNote), worstOf (steadyNote));
    std::printf ("  %s cost: mean %.3f %% of a core (goal <= 2 %%), p99 %.3f ms per block (goal <= 1 ms)\n",
                 mark (meanShare <= 0.02 && p99 <= 0.001), 100.0 * meanShare, 1000.0 * p99);
    return 0;
}
