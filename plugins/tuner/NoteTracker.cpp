#include "NoteTracker.h"

#include <cmath>

namespace T730::Modules
{

namespace
{
double centsBetween (double a, double b) { return 1200.0 * std::log2 (a / b); }
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
}

void NoteTracker::noteOnset (double samplesAgo) noexcept
{
    sinceOnset = samplesAgo;
    held = 0.0;
    pending = 0.0;
    misses = 0;
}

double NoteTracker::next (double candidateHz, double clarity, double levelChangeDb) noexcept
{
    if (sinceOnset < settings.holdOffSamples)
        return 0.0;

    const bool usable = candidateHz > 0.0 && levelChangeDb > -settings.maxFallDb;
    if (! usable)
    {
        pending = 0.0;
        if (held > 0.0 && ++misses >= settings.releaseAfter)
            held = 0.0;
        return 0.0;
    }

    if (held > 0.0 && std::abs (centsBetween (candidateHz, held)) <= settings.followCents)
    {
        held = candidateHz;
        misses = 0;
        pending = 0.0;
        return candidateHz;
    }

    // A new note (or the first): two agreeing, clear candidates in a row.
    if (clarity < settings.minClarity)
    {
        pending = 0.0;
        return 0.0;
    }
    const bool agrees = pending > 0.0 && std::abs (centsBetween (candidateHz, pending)) <= settings.confirmCents;
    pending = candidateHz;
    if (! agrees)
        return 0.0;
    held = candidateHz;
    misses = 0;
    pending = 0.0;
    return candidateHz;
}

} // namespace T730::Modules
