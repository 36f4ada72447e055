#pragma once

#include <array>

namespace T730::Modules
{

/** Turns the detector's window-by-window candidates into the frequencies a player sees.

    - After an attack (the caller reports its onsets) nothing is shown for `holdOffSamples`: the
      pick's transient is no pitch to report. (The detector reads only what followed the attack,
      so the previous note does not count either.)
    - A new note is shown only once two successive candidates agree within a few cents, with a
      clear periodicity and a level that does not collapse within the window: fret squeaks glide,
      drum heads fall in pitch and die away within a window or two, so neither is confirmed.
      A note of the lower strings (below `lowNoteHz`) may start with a less clear periodicity as
      long as its level holds: its attack takes more of its few periods in the window to become
      periodic, and an overdriven one repeats only roughly for a few hundred milliseconds, while a
      drum's low ring dies away.
    - Once shown, the note is held: candidates near it follow at once (also while its level falls
      faster than a new note's may, up to `heldMaxFallDb`: a muted string), the detector is told the
      held frequency (so a weak fundamental does not turn into its octave, and the note that the
      attack brought does not fall to a sub-octave of its waveform), and the note is let go after a
      few windows without pitch. A new note an octave, a twelfth or two octaves below one of the
      last few candidates, or one as far from a note held for `establishedAfter` windows,
      is shown only after `switchConfirm` agreeing candidates: an attack whose waveform flips
      between a period and its multiple, or a window or two of a lone partial, is no note to show.
      So is a new note that far above a recent, clearer candidate of `lowNoteHz` or more: a high
      string whose waveform repeats every half period for a window or two after clear periods.
      (Below `lowNoteHz` the lower candidate is more often a sub-octave of the attack.)

    No allocation, no locks: runs on the audio thread. */
class NoteTracker
{
public:
    struct Settings
    {
        double holdOffSamples = 2048.0;   // after an onset: no candidate taken before this
        double confirmCents = 20.0;       // successive candidates of a new note agree this well
        double followCents = 60.0;        // a candidate this close to the held note continues it
        double minClarity = 0.85;         // NSDF peak a new note needs
        double lowNoteHz = 200.0;         // below this a new note needs only lowNoteClarity...
        double lowNoteClarity = 0.75;
        double lowNoteMaxFallDb = 3.0;    // ...with its level falling no faster than this
        double maxFallDb = 10.0;          // level falling faster than this over a window: no note
        double heldMaxFallDb = 30.0;      // ...and no more of the held note
        int releaseAfter = 3;             // windows without pitch before the held note is let go
        int establishedAfter = 8;         // windows a note is held before it resists...
        int switchConfirm = 4;            // ...turning into its octave before this many agreeing candidates
    };

    void prepare (const Settings& newSettings) noexcept;
    void reset() noexcept;

    /** An attack began `samplesAgo` samples before the newest sample. */
    void noteOnset (double samplesAgo) noexcept;

    /** `samples` more samples arrived (call before next()). */
    void advance (double samples) noexcept { sinceOnset += samples; }

    /** The frequency to report for this window's candidate (0: no pitch). */
    double next (double candidateHz, double clarity, double levelChangeDb) noexcept;

    /** Samples since the last attack (very many before the first). */
    double samplesSinceOnset() const noexcept { return sinceOnset; }

    /** The note currently shown (0: none); the detector's hint. */
    double heldFrequency() const noexcept { return held; }

    /** True while the held note is the one the last attack brought (not one it turned into). */
    bool heldSinceAttack() const noexcept { return held > 0.0 && ! switched; }

private:
    Settings settings;
    using Recent = std::array<double, 4>;   // the last candidates since the attack, newest last

    double sinceOnset = 1.0e12;
    double held = 0.0;
    double pending = 0.0;
    int misses = 0;
    int agreeing = 0;         // successive candidates agreeing with `pending`
    int heldWindows = 0;      // windows the held note has been shown
    bool switched = false;    // the held note followed another one without an attack
    bool heldBefore = false;  // a note was shown since the last attack
    Recent recent {};
    Recent recentClarity {};   // their clarity (0 for windows without a candidate)
};

} // namespace T730::Modules
