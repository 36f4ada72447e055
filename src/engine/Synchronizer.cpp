#include "engine/Synchronizer.h"

#include "platform/SharedInstance.h"

namespace T730
{

Synchronizer::Synchronizer() : master (*this, true)
{
}

Synchronizer::~Synchronizer() = default;

Synchronizer* Synchronizer::getInstance()
{
    return SharedInstance<Synchronizer>::get ([] { return std::make_unique<Synchronizer>(); });
}

void Synchronizer::deleteInstance()
{
    SharedInstance<Synchronizer>::destroy();
}

void Synchronizer::advance (int samples)
{
    const auto now = total.load() + juce::jmax (0, samples);
    total.store (now);
    master.advance (now);
}

} // namespace T730
