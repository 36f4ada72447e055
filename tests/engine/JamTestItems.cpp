#include "JamTestItems.h"

#include "engine/EngineSettings.h"

namespace oxatest
{

ScopedEngineRunning::ScopedEngineRunning (bool running, double rate)
    : wasRunning (T730::getEngineSettings().audioRunning.load()), oldRate (T730::getEngineSettings().sampleRate.load())
{
    T730::getEngineSettings().audioRunning = running;
    T730::getEngineSettings().sampleRate = rate;
}

ScopedEngineRunning::~ScopedEngineRunning()
{
    T730::getEngineSettings().audioRunning = wasRunning;
    T730::getEngineSettings().sampleRate = oldRate;
}

} // namespace oxatest
