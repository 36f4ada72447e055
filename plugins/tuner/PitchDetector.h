#pragma once

#include "Fft.h"
#include "LowPass.h"

#include <array>
#include <complex>
#include <memory>
#include <vector>

namespace T730::Modules
{

/** McLeod pitch method: the normalised square difference function (NSDF) of one window,
    its first key maximum above a fraction of the highest, refined by interpolation (a parabola
    through three lags on a sharp peak, a least-squares cubic over the top 5 % of a broad one)
    and then by a least-squares fit over the peaks at the period's multiples, which divides the
    interpolation error by the number of periods in reach.

    A fading note is not periodic: with only a few periods in the window (a bass string) the
    NSDF peak then moves by up to half a sample depending on where the window cuts the wave.
    So once a period is known, the window's exponential envelope is measured over whole periods
    at both ends, divided out, and the period found again on the flattened window.

    A weak fundamental lets the NSDF peak at half or a third of the period almost as high as at the
    period itself (the odd partials are all that differ), so a chosen lag is replaced by a multiple
    of it whose mismatch (1 - NSDF) is less than half its own: a true period is never matched
    better at its multiples, where glide, decay and inharmonicity only add mismatch. The longer
    period must also bring partials of its own beyond a single one below the note (checked on a
    Hann-windowed spectrum at those frequencies); a key maximum that is such a longer period with
    a lone partial below the note gives way to the note's own period (when that repeats clearly
    enough to be read: a window that repeats exactly only at the key maximum keeps it), and so
    does one whose lowest partial is an attack's thump (louder than the note's fundamental,
    weaker than its strongest partial, with little above it, or fading within the window much
    faster than the note). A
    multiple or fraction counts only where it lies within 3 % (or a sample and a half) of that
    lag: a peak farther off is some other component, such as a partial off the note's series. While
    a note is held the caller passes its frequency, and a chosen lag that is a sub-multiple of the
    held period gives way to the held period as long as the window repeats better there and the
    held period still brings partials of its own (a held high note's fundamental may dip further
    below its octave than a new note's, as an overdriven or muted string's does); a chosen lag that
    is a multiple of the held period gives way to the held period while the window still repeats
    clearly there, as long as the held note is the one the attack brought (an overdriven sampled
    bass can repeat exactly only every second period for a while after its attack). Tones above
    the highest frequency are no pitch (not their lower octave), unless the window repeats as
    clearly at a period within the range that brings partials of its own: an overdriven string's
    resonance near 2 kHz can outdo its note for a few hundred milliseconds.

    After an attack only what followed it is analysed (what came before is another note or
    silence), and also its later half, without up to 60 ms of the pick's noise; the part that
    repeats more clearly gives the reading. Until a part holds a quarter window and two and a half
    periods there is no reading. A note that is starting (none held, its attack a few windows back)
    and not yet clear over the whole window is read on the window's later half and last quarter
    too: a flageolet becomes periodic out of the pick's noise only gradually.

    The period found is finally measured again on the note's lowest partials: the window, with a
    pre-roll before it where the filter settles, is low-passed above the third partial (above
    250 Hz on the lowest bass strings) and searched near that period. A stiff string's upper
    partials lie sharp of their harmonics and fade first, so a period measured on all of them
    reads a few cents sharp at the pick and glides down as the note rings. Only the part after an
    attack counts there, and a window too short for it keeps the full band's period.

    prepare() allocates; analyse() allocates nothing and may run on the audio thread. */
class PitchDetector
{
public:
    struct Settings
    {
        double minFrequency = 25.0;     // lowest pitch reported
        double maxFrequency = 1500.0;   // highest pitch reported (a 24th fret high E is 1318.5 Hz)
        double keyMaxThreshold = 0.9;   // key maximum chosen: first at least this x the highest
        double minClarity = 0.6;        // NSDF value below which a window has no pitch
    };

    /** Window length for a sample rate: 4096 at 44.1/48 kHz (enough for 30.87 Hz),
        twice that at 88.2/96 kHz. */
    static int windowSizeFor (double sampleRate);

    /** Samples before the window that analyse() reads as well (where its low-pass settles):
        half a window. */
    static int preRollFor (double sampleRate);

    void prepare (double sampleRate, const Settings& settings);

    int getWindowSize() const noexcept { return windowSize; }

    /** Pitch in Hz of the `getWindowSize()` samples at `window` (the `preRollFor()` samples
        before it readable too), or 0 when there is none
        (signal below `gateRms`, no clear periodicity or out of range). `heldFrequency` is the
        note the caller holds (0: none); `heldSinceAttack` tells that it is the note the last
        attack brought, which keeps its period against a multiple while the window repeats
        clearly there. `attackAt` is where in the window the last attack began (negative: that
        many samples before it). */
    double analyse (const double* window, double gateRms, double heldFrequency = 0.0, bool heldSinceAttack = false,
                    int attackAt = -(1 << 20));

    /** The NSDF value of the chosen peak of the last analysis (0 without pitch). */
    double getLastClarity() const noexcept { return lastClarity; }

    /** The level change over the last analysed window in dB, measured over whole periods at its
        two ends (negative: fading); 0 without pitch. */
    double getLastLevelChangeDb() const noexcept { return lastLevelChangeDb; }

    /** What a longer period's partials must carry against its lone lowest partial to count
        (see hasPartialsBetween). */
    struct LoneShares
    {
        double others;            // its odd partials, against that lowest one
        double highFundamental;   // that lowest one (at 200 Hz or more) against the note's fundamental
    };

private:
    struct Reading
    {
        double frequency = 0.0, clarity = 0.0, levelChangeDb = 0.0;
    };

    Reading analysePart (const double* window, int from, double gateRms, double heldFrequency, bool heldSinceAttack,
                         int attackAt);
    void computeNsdf (const double* x, int from = 0);
    struct Lobes
    {
        static constexpr int kMax = 256;
        std::array<int, kMax> peaks;
        int count = 0;
        double highest = 0.0;
    };

    Lobes lobeMaxima (int fromLag) const;
    int findKeyMaximum() const;
    int noteBelowHighTone (int high) const;
    int highestNear (double lag) const;
    double peakHeight (int lag) const;
    int preferFullPeriod (int peak) const;
    bool hasPartialsBetween (int lag, int k, const LoneShares& shares) const;
    double partialPower (double hz) const;
    double notePower (double hz) const;
    double halfPower (double hz, int half) const;
    double hannPower (const double* x, int n, double hz, const double* window) const;
    int segmentAfterAttack (int attackAt) const noexcept;
    int preferHeldPeriod (int peak, double heldFrequency, bool heldSinceAttack) const;
    int keepHeldAgainstLonger (int peak, double heldLag) const;
    double interpolatedPeak (int lag) const;
    double refineOverMultiples (double period, double clarity, int lagLimit = 1 << 30) const;
    double refineOnLowPartials (const double* window, double period, double decay, int from);
    void flatten (const double* x, double mean, double decay) noexcept;

    double rate = 44100.0;
    Settings settings;
    int windowSize = 0;
    int maxLag = 0;
    int preRoll = 0;
    int lagRange = 0;      // the lags the current NSDF covers (half the part it was computed over)
    int segmentFrom = 0;   // where in the window the analysed part begins (after an attack)
    int attackSkip = 0;    // samples after an attack skipped at most
    int minSegment = 0;    // the shortest part analysed
    LowPass lowPass;
    std::vector<double> lowPassed;
    std::unique_ptr<Autocorrelation> autocorrelation;
    std::vector<double> correlation;
    std::vector<double> centred;
    std::vector<double> flattened;
    std::vector<double> hann;
    std::vector<double> halfHann;
    std::vector<double> nsdf;
    double lastClarity = 0.0;
    double lastLevelChangeDb = 0.0;
};

} // namespace T730::Modules
