// "Tuner": finds the fundamental of the stereo input (the two channels' mean) and reports it
// to the listener in Hz every analysis hop (a quarter window: 1024 samples, 23 ms at 44.1 kHz).
// A window without a pitch (below the gate, not periodic, the attack of a note not yet settled,
// a noise or drum hit) reports 0, which the host reads as "no pitch". Attacks are found from the
// level of chunks of a sixteenth window (256 samples at 44.1 kHz): one above the gate and 6 dB
// over the loudest of the eight before it (half a window, more than a period of the lowest
// string, so a low note's own waveform does not count as an attack). A low note held for a second
// and a half since its attack is read on a window twice as long (the input decimated by two), which
// steadies the reading of a string whose waveform wanders (an overdriven low E moves by 2-6 cents
// from one short window to the next). The audio passes through unchanged.

#include "ModuleBase.h"
#include "NoteTracker.h"
#include "PitchDetector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace T730::Modules
{

class Tuner final : public ModuleBase
{
public:
    enum Param { kGate = 0, kNumParams };

    static constexpr float kGateLowDb = -90.0f;
    static constexpr float kGateRangeDb = 60.0f;

    explicit Tuner (HostCallback host) : ModuleBase (host, kNumParams, 0x4f785455 /* OxTU */)
    {
        initParam (kGate, 0.5f);   // -60 dBFS
        prepare();
    }

    void processDoubleReplacing (double** inputs, double** outputs, int32_t frames) override
    {
        if (inputs == nullptr || inputs[0] == nullptr || inputs[1] == nullptr || frames <= 0)
            return;

        const double* left = inputs[0];
        const double* right = inputs[1];
        const int n = static_cast<int> (history.size());
        const int w = detector.getWindowSize();
        for (int i = 0; i < frames; ++i)
        {
            const double x = 0.5 * (left[i] + right[i]);
            history[static_cast<size_t> (writePos)] = x;
            writePos = (writePos + 1) % n;
            if (filled < w)
                ++filled;
            antiAliasSum += antiAlias.process (x, antiAliasState);
            if (++sinceLong == longFactor)
            {
                longHistory[static_cast<size_t> (longWritePos)] = antiAliasSum / longFactor;
                longWritePos = (longWritePos + 1) % static_cast<int> (longHistory.size());
                longFilled = std::min (longFilled + 1, static_cast<int> (longHistory.size()));
                antiAliasSum = 0.0;
                sinceLong = 0;
            }
            chunkEnergy += x * x;
            if (++chunkFill == chunk)
                endChunk();
            if (++sinceAnalysis >= hop && filled == w)
            {
                sinceAnalysis = 0;
                analyseHistory();
            }
        }
        passThrough (inputs, outputs, frames);
    }

    /** The analysis window in samples. */
    int32_t moduleQuery158() override { return detector.getWindowSize(); }

protected:
    void paramName (int, char* text) const override { copyText (text, "Gate"); }
    void paramLabel (int, char* text) const override { copyText (text, "dB"); }

    void paramDisplay (int, float value, char* text) const override
    {
        std::snprintf (text, kTextBufferSize, "%d", static_cast<int> (std::lround (gateDb (value))));
    }

    void describeParam (int, EffectParamProperties& p) const override
    {
        p.flags = kParamUsesIntegerMinMax;
        p.minInteger = 0;
        p.maxInteger = static_cast<int32_t> (kGateRangeDb);
        p.stepInteger = 1;
        p.largeStepInteger = 6;
    }

    void sampleRateChanged() override { prepare(); }

private:
    static constexpr int kChunkHistory = 8;
    // The long window reads a held note below this...
    static constexpr double kLongBelowHz = 200.0;
    // ...from this long after its attack (when a sampled string's glide is over)...
    static constexpr double kLongAfterSeconds = 1.5;
    // ...as long as it reads within this of the held note.
    static constexpr double kLongFollowCents = 25.0;
    // A note fading faster than this over the long window (released) is read on the short one,
    // which lags its last moments less.
    static constexpr double kLongMaxFallDb = 6.0;

    static float gateDb (float value) noexcept { return kGateLowDb + kGateRangeDb * value; }
    double gateRms() const noexcept { return std::pow (10.0, gateDb (param (kGate)) / 20.0); }

    /** Attack detection: the chunk's level against the one before it. */
    void endChunk() noexcept
    {
        tracker.advance (chunk);
        const double gate = gateRms();
        // Against the loudest of the chunks before, not their mean: a low note whose waveform
        // packs its energy into a pulse per period (an overdriven synth bass) would otherwise
        // count as an attack every period.
        double before = 0.0;
        for (double e : chunkEnergies)
            before = std::max (before, e);
        if (chunkEnergy > 4.0 * before && chunkEnergy > gate * gate * chunk)
            tracker.noteOnset (chunk);
        chunkEnergies[static_cast<size_t> (chunkIndex)] = chunkEnergy;
        chunkIndex = (chunkIndex + 1) % kChunkHistory;
        chunkEnergy = 0.0;
        chunkFill = 0;
    }

    void prepare()
    {
        detector.prepare (sampleRate, PitchDetector::Settings {});
        const int w = detector.getWindowSize();
        preRoll = PitchDetector::preRollFor (sampleRate);
        history.assign (static_cast<size_t> (preRoll + w), 0.0);
        window.assign (static_cast<size_t> (preRoll + w), 0.0);
        hop = w / 4;
        chunk = w / 16;
        NoteTracker::Settings trackerSettings;
        trackerSettings.holdOffSamples = 0.25 * w;
        tracker.prepare (trackerSettings);
        // The long window: the input low-passed and decimated to 24 kHz or less, read on the same
        // number of points (186 ms at 44.1 kHz).
        longFactor = sampleRate > 60000.0 ? 4 : 2;
        const double longRate = sampleRate / longFactor;
        longDetector.prepare (longRate, PitchDetector::Settings {});
        longPreRoll = PitchDetector::preRollFor (longRate);
        longHistory.assign (static_cast<size_t> (longPreRoll + longDetector.getWindowSize()), 0.0);
        longWindow.assign (longHistory.size(), 0.0);
        antiAlias.design (0.4 * longRate, sampleRate);
        antiAliasState = {};
        antiAliasSum = 0.0;
        sinceLong = 0;
        longWritePos = 0;
        longFilled = 0;
        longAnchor = 0.0;
        longGivenUp = false;
        longSinceAttack = 0.0;
        chunkEnergy = 0.0;
        chunkEnergies.fill (0.0);
        chunkIndex = 0;
        chunkFill = 0;
        writePos = 0;
        filled = 0;
        sinceAnalysis = 0;
    }

    void analyseHistory()
    {
        const int n = static_cast<int> (history.size());
        const int head = n - writePos;   // oldest sample sits at writePos
        std::copy (history.begin() + writePos, history.end(), window.begin());
        std::copy (history.begin(), history.begin() + writePos, window.begin() + head);

        const int w = detector.getWindowSize();
        const double sinceAttack = tracker.samplesSinceOnset();
        const int attackAt = static_cast<int> (std::max (-1.0e6, w - sinceAttack));
        if (analyseLong())
            return;
        const double candidate = detector.analyse (window.data() + preRoll, gateRms(), tracker.heldFrequency(),
                                                   tracker.heldSinceAttack(), attackAt);
        const double shown = tracker.next (candidate, detector.getLastClarity(), detector.getLastLevelChangeDb());
        notifyListener (static_cast<float> (shown));
    }

    /** A low note held a while since its attack is read on the long window, which steadies what a
        sampled or overdriven low string's waveform wanders by within the short one. A reading off
        the note (bent, slid, or another note played without an attack) falls back on the short
        window. Returns whether the long window gave the report. */
    bool analyseLong()
    {
        // Each attack lets the long window read the note it brings, from the pitch the note has
        // when the long window takes over: a note bent or slid away from there (which the long
        // window would follow only late) is read on the short window until the next attack.
        const double sinceAttack = tracker.samplesSinceOnset();
        if (sinceAttack < longSinceAttack)
        {
            longAnchor = 0.0;
            longGivenUp = false;
        }
        longSinceAttack = sinceAttack;
        const double held = tracker.heldFrequency();
        const int n = static_cast<int> (longHistory.size());
        if (longGivenUp || ! (held > 0.0 && held < kLongBelowHz) || ! tracker.heldSinceAttack() || longFilled < n
            || sinceAttack < kLongAfterSeconds * sampleRate)
            return false;
        if (longAnchor <= 0.0)
            longAnchor = held;
        std::copy (longHistory.begin() + longWritePos, longHistory.end(), longWindow.begin());
        std::copy (longHistory.begin(), longHistory.begin() + longWritePos, longWindow.begin() + (n - longWritePos));
        // (Measured before the analysis, so that a fading note costs one analysis, not two.)
        if (levelChangeDb (longWindow.data() + longPreRoll, longDetector.getWindowSize()) < -kLongMaxFallDb)
            return false;
        const double candidate = longDetector.analyse (longWindow.data() + longPreRoll, gateRms(), held, true);
        if (! (candidate > 0.0) || std::abs (1200.0 * std::log2 (candidate / longAnchor)) > kLongFollowCents)
        {
            longGivenUp = candidate > 0.0;
            return false;
        }
        const double shown = tracker.next (candidate, longDetector.getLastClarity(), longDetector.getLastLevelChangeDb());
        notifyListener (static_cast<float> (shown));
        return true;
    }

    /** The level of the second half of x[0, n) against the first, in dB. */
    static double levelChangeDb (const double* x, int n) noexcept
    {
        double head = 0.0, tail = 0.0;
        for (int i = 0; i < n / 2; ++i)
        {
            head += x[i] * x[i];
            tail += x[n / 2 + i] * x[n / 2 + i];
        }
        return head > 0.0 && tail > 0.0 ? 10.0 * std::log10 (tail / head) : 0.0;
    }

    // Audio thread only (prepare() runs before processing starts).
    PitchDetector detector;
    NoteTracker tracker;
    std::vector<double> history;   // the pre-roll and the window
    std::vector<double> window;
    int preRoll = 0;
    int hop = 1024;
    int chunk = 256;   // samples per level measurement of the attack detection
    int writePos = 0;
    int filled = 0;
    int sinceAnalysis = 0;
    double chunkEnergy = 0.0;
    std::array<double, kChunkHistory> chunkEnergies {};   // the chunks before the current one
    int chunkIndex = 0;
    int chunkFill = 0;
    PitchDetector longDetector;
    std::vector<double> longHistory;   // the decimated input: the long window's pre-roll and window
    std::vector<double> longWindow;
    int longPreRoll = 0;
    int longFactor = 2;
    int longWritePos = 0;
    int longFilled = 0;
    int sinceLong = 0;
    LowPass antiAlias;
    LowPass::State antiAliasState;
    double antiAliasSum = 0.0;
    double longAnchor = 0.0;        // the held note's pitch when the long window took over (0: not yet)
    bool longGivenUp = false;       // the note left it: the short window until the next attack
    double longSinceAttack = 0.0;   // samples since the attack at the last analysis
};

} // namespace T730::Modules

OXA_EXPORT_MODULE (T730::Modules::Tuner)
