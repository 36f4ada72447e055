#include "engine/TunerLib.h"

#include <cmath>

float TunerLib::centsFromFrequency (float frequency) const
{
    // The reference is taken as a whole number; a reference or frequency of 0
    // or below (or not a number) has no logarithm.
    if (! (frequency > 0.0f) || ! std::isfinite (frequency) || referenceHz <= 0)
        return 0.0f;

    const double ratio = (double) frequency / (double) referenceHz;
    double cents = 1200.0 * std::log (ratio) / std::log (2.0);

    if (flatSteps == 1)
        cents += 100.0;
    else if (flatSteps == 2)
        cents += 200.0;

    return (float) cents;
}

TunerLib::Note TunerLib::nearestNote (double cents)
{
    if (! std::isfinite (cents))
        return {};

    const double shifted = cents + 50.0;
    const bool below = shifted < 0.0;

    // Truncated quotients, then one lower below A4: the floor, except that an
    // exact negative multiple falls one further.
    Note note;
    note.index = (int) std::fmod (std::trunc (shifted / 100.0), 12.0) - (below ? 1 : 0);
    if (note.index < 0)
        note.index += 12;

    const double octaves = std::trunc (shifted / 1200.0);
    note.octave = (int) std::fmax (-1.0e6, std::fmin (1.0e6, octaves)) + 4 - (below ? 1 : 0);
    return note;
}
