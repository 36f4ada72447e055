#include "NoteTracker.h"

#include <algorithm>
#include <cmath>

namespace T730::Modules
{

namespace
{
double centsBetween (double a, double b) { return 1200.0 * std::log2 (a / b); }

/** An octave, a twelfth or two octaves apart, either way (within half a semitone). */
bool harmonicallyRelated (double a, double b)
{
    const double c = std::abs (centsBetween (a, b));
    return std::abs (c - 1200.0) <= 50.0 || std::abs (c - 1901.96) <= 50.0 || std::abs (c - 2400.0) <= 50.0;
}
}

void NoteTracker::prepare (const Settings& newSettings) noexcept
{
    settings = newSettings;
    reset();
}

void NoteTracker::reset() noexcept
{
    sinceOnset = 1.0e12;
    held = 0.0;
    pending = 0.0;
    misses = 0;
    agreeing = 0;
    heldWindows = 0;
    switched = false;
    heldBefore = false;
    recent.fill (0.0);
    recentClarity.fill (0.0);
}

void NoteTracker::noteOnset (double samplesAgo) noexcept
{
    // An attack starts afresh: what was held or pending belongs to the note before it.
    reset();
    sinceOnset = samplesAgo;
}

double NoteTracker::next (double candidateHz, double clarity, double levelChangeDb) noexcept
{
    if (sinceOnset < settings.holdOffSamples)
        return 0.0;
    const Recent before = recent, clarityBefore = recentClarity;
    std::rotate (recent.begin(), recent.begin() + 1, recent.end());
    recent.back() = candidateHz;
    std::rotate (recentClarity.begin(), recentClarity.begin() + 1, recentClarity.end());
    recentClarity.back() = candidateHz > 0.0 ? clarity : 0.0;

    // A held note may fade faster than a new one may start: a muted string loses 10 dB and more
    // over a window and still rings its pitch.
    const bool follows = held > 0.0 && candidateHz > 0.0
                      && std::abs (centsBetween (candidateHz, held)) <= settings.followCents;
    const double maxFall = follows ? settings.heldMaxFallDb : settings.maxFallDb;
    const bool usable = candidateHz > 0.0 && levelChangeDb > -maxFall;
    if (! usable)
    {
        pending = 0.0;
        agreeing = 0;
        if (held > 0.0 && ++misses >= settings.releaseAfter)
            held = 0.0;
        return 0.0;
    }

    if (follows)
    {
        held = candidateHz;
        ++heldWindows;
        misses = 0;
        pending = 0.0;
        agreeing = 0;
        return candidateHz;
    }

    // A new note (or the first): agreeing, clear candidates in a row.
    const bool clear = clarity >= settings.minClarity
                    || (candidateHz < settings.lowNoteHz && clarity >= settings.lowNoteClarity
                        && levelChangeDb > -settings.lowNoteMaxFallDb);
    if (! clear)
    {
        pending = 0.0;
        agreeing = 0;
        return 0.0;
    }
    const bool agrees = pending > 0.0 && std::abs (centsBetween (candidateHz, pending)) <= settings.confirmCents;
    agreeing = agrees ? agreeing + 1 : 1;
    pending = candidateHz;
    const bool established = held > 0.0 && heldWindows >= settings.establishedAfter;
    bool contradicted = established && harmonicallyRelated (candidateHz, held);
    for (size_t i = 0; i < before.size(); ++i)
    {
        const double r = before[i];
        const bool belowIt = r > candidateHz;
        const bool aboveClearerOne = r >= settings.lowNoteHz && r < candidateHz
                                  && clarityBefore[i] >= settings.minClarity && clarityBefore[i] > clarity;
        contradicted = contradicted || ((belowIt || aboveClearerOne) && harmonicallyRelated (candidateHz, r));
    }
    const int needed = contradicted ? settings.switchConfirm : 2;
    if (agreeing < needed)
        return 0.0;
    switched = heldBefore;
    heldBefore = true;
    heldWindows = 1;
    held = candidateHz;
    misses = 0;
    pending = 0.0;
    agreeing = 0;
    return candidateHz;
}

} // namespace T730::Modules
