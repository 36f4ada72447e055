#pragma once

namespace T730::Modules
{

/** Turns the detector's window-by-window candidates into the frequencies a player sees.

    - After an attack (the caller reports its onsets) nothing is shown until the analysis window
      lies mostly after it: the pick's transient and the previous note are no pitch to report.
    - A new note is shown only once two successive candidates agree within a few cents, with a
      clear periodicity and a level that does not collapse within the window: fret squeaks glide,
      drum heads fall in pitch and die away within a window or two, so neither is confirmed.
    - Once shown, the note is held: candidates near it follow at once, the detector is told the
      held frequency (so a weak fundamental does not turn into its octave), and the note is let go
      after a few windows without pitch.

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
        double maxFallDb = 10.0;          // level falling faster than this over a window: no note
        int releaseAfter = 3;             // windows without pitch before the held note is let go
    };

    void prepare (const Settings& newSettings) noexcept;
    void reset() noexcept;

    /** An attack began `samplesAgo` samples before the newest sample. */
    void noteOnset (double samplesAgo) noexcept;

    /** `samples` more samples arrived (call before next()). */
    void advance (double samples) noexcept { sinceOnset += samples; }

    /** The frequency to report for this window's candidate (0: no pitch). */
    double next (double candidateHz, double clarity, double levelChangeDb) noexcept;

    /** The note currently shown (0: none); the detector's hint. */
    double heldFrequency() const noexcept { return held; }

private:
    Settings settings;
    double sinceOnset = 1.0e12;
    double held = 0.0;
    double pending = 0.0;
    int misses = 0;
};

} // namespace T730::Modules
