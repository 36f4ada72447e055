#include "engine/PitchReport.h"

#include <cmath>

namespace T730
{

PitchReport::PitchReport (NetListOwner* pitchReceiver) : receiver (pitchReceiver)
{
}

PitchReport::~PitchReport()
{
    cancelPendingUpdate();
}

void PitchReport::nodePitchDetected (float frequency)
{
    latest.store (std::isfinite (frequency) ? frequency : 0.0f);
    reports.fetch_add (1);

    // The update's message is made once, with the updater: posting it again
    // allocates nothing.
    if (receiver != nullptr)
        triggerAsyncUpdate();
}

void PitchReport::handleAsyncUpdate()
{
    if (receiver != nullptr)
        receiver->nodePitchDetected (latest.load());
}

} // namespace T730
