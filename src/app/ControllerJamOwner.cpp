#include "app/ControllerJamOwner.h"

#include "app/ControllerRequest.h"
#include "app/InstContMes.h"

namespace T730
{

ControllerJamOwner::ControllerJamOwner (Request requestFunction, const juce::MessageListener* controllerToPostTo)
    : request (std::move (requestFunction)), controller (controllerToPostTo)
{
}

bool ControllerJamOwner::isAnyRecorderArmed()
{
    // Request 21 answers 1 (not -1) for an armed recorder.
    return request != nullptr && request (IsAnyRecorderArmed, 0, 0, nullptr) != 0;
}

void ControllerJamOwner::itemsStopped()
{
    if (request != nullptr)
        request (NotifyItemsStopped, 0, 0, nullptr);
}

void ControllerJamOwner::loopWrapped()
{
    if (request != nullptr)
        request (NotifyItemsStopped2, 0, 0, nullptr);
}

void ControllerJamOwner::itemsLocated()
{
    if (request != nullptr)
        request (NotifyItemsLocated, 0, 0, nullptr);
}

void ControllerJamOwner::jamChanged()
{
    if (controller != nullptr)
        postToController (*controller, new InstContUpdateUI (sectionJam));
}

} // namespace T730
