#include "LongWindow.h"

#include <algorithm>
#include <cmath>

namespace T730::Modules
{

namespace
{
constexpr double kBelowHz = 200.0;         // the held notes it reads: the lower strings
constexpr double kAfterSeconds = 1.5;      // from this long after their attack
constexpr double kFollowCents = 25.0;      // while they read within this of their pitch then
constexpr double kMaxFallDb = 6.0;         // and fade no faster over the window
}

void LongWindow::prepare (double sampleRate)
{
    rate = sampleRate;
    factor = sampleRate > 60000.0 ? 4 : 2;
    const double longRate = sampleRate / factor;
    detector.prepare (longRate, PitchDetector::Settings {});
    preRoll = PitchDetector::preRollFor (longRate);
    history.assign (static_cast<size_t> (preRoll + detector.getWindowSize()), 0.0);
    window.assign (history.size(), 0.0);
    antiAlias.design (0.4 * longRate, sampleRate);
    antiAliasState = {};
    sum = 0.0;
    sincePushed = 0;
    writePos = 0;
    filled = 0;
    anchor = 0.0;
    givenUp = false;
    lastSinceAttack = 0.0;
}

bool LongWindow::read (double heldHz, bool heldSinceAttack, double samplesSinceAttack, double gateRms,
                       Reading& reading) noexcept
{
    // Each attack lets the long window read the note it brings, from the pitch the note has when
    // the long window takes over.
    if (samplesSinceAttack < lastSinceAttack)
    {
        anchor = 0.0;
        givenUp = false;
    }
    lastSinceAttack = samplesSinceAttack;
    const int n = static_cast<int> (history.size());
    if (givenUp || ! (heldHz > 0.0 && heldHz < kBelowHz) || ! heldSinceAttack || filled < n
        || samplesSinceAttack < kAfterSeconds * rate)
        return false;
    if (anchor <= 0.0)
        anchor = heldHz;
    std::copy (history.begin() + writePos, history.end(), window.begin());
    std::copy (history.begin(), history.begin() + writePos, window.begin() + (n - writePos));
    // (Measured before the analysis, so that a fading note costs one analysis, not two.)
    if (levelChangeDb (window.data() + preRoll, detector.getWindowSize()) < -kMaxFallDb)
        return false;
    const double candidate = detector.analyse (window.data() + preRoll, gateRms, heldHz, true);
    if (! (candidate > 0.0))
        return false;
    if (std::abs (1200.0 * std::log2 (candidate / anchor)) > kFollowCents)
    {
        givenUp = true;
        return false;
    }
    reading = { candidate, detector.getLastClarity(), detector.getLastLevelChangeDb() };
    return true;
}

double LongWindow::levelChangeDb (const double* x, int n) noexcept
{
    // The second half's level against the first's.
    double head = 0.0, tail = 0.0;
    for (int i = 0; i < n / 2; ++i)
    {
        head += x[i] * x[i];
        tail += x[n / 2 + i] * x[n / 2 + i];
    }
    return head > 0.0 && tail > 0.0 ? 10.0 * std::log10 (tail / head) : 0.0;
}

} // namespace T730::Modules
