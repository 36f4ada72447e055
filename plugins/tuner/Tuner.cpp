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

#include "LongWindow.h"
#include "ModuleBase.h"
#include "NoteTracker.h"
#include "PitchDetector.h"

#include <algorithm>
#include <array>
#include <atomic>
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
            longWindow.push (x);
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

    /** The input samples the window of the latest reading spans, whose centre the reading
        describes: the short window's, or the long one's while a held low note is read on it. */
    int32_t moduleQuery158() override { return readingSpan.load (std::memory_order_relaxed); }

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
        longWindow.prepare (sampleRate);
        readingSpan.store (w, std::memory_order_relaxed);
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
        const double sinceAttack = tracker.samplesSinceOnset();
        LongWindow::Reading reading;
        if (longWindow.read (tracker.heldFrequency(), tracker.heldSinceAttack(), sinceAttack, gateRms(), reading))
        {
            readingSpan.store (longWindow.spanSamples(), std::memory_order_relaxed);
            notifyListener (static_cast<float> (tracker.next (reading.frequency, reading.clarity, reading.levelChangeDb)));
            return;
        }

        const int n = static_cast<int> (history.size());
        const int head = n - writePos;   // oldest sample sits at writePos
        std::copy (history.begin() + writePos, history.end(), window.begin());
        std::copy (history.begin(), history.begin() + writePos, window.begin() + head);

        const int w = detector.getWindowSize();
        const int attackAt = static_cast<int> (std::max (-1.0e6, w - sinceAttack));
        const double candidate = detector.analyse (window.data() + preRoll, gateRms(), tracker.heldFrequency(),
                                                   tracker.heldSinceAttack(), attackAt);
        const double shown = tracker.next (candidate, detector.getLastClarity(), detector.getLastLevelChangeDb());
        readingSpan.store (w, std::memory_order_relaxed);
        notifyListener (static_cast<float> (shown));
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
    LongWindow longWindow;   // a long-held low note's
    std::atomic<int32_t> readingSpan { 4096 };   // the latest reading's window (read by the host)
};

} // namespace T730::Modules

OXA_EXPORT_MODULE (T730::Modules::Tuner)
