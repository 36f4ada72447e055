// The controller's side of the recorders: their maker for the jam list and
// the punch-out message, which the recorder handles before the user interface.
#include "app/InstController.h"

#include "app/ControllerEngine.h"
#include "app/ControllerRecorderOwner.h"
#include "app/InstContMes.h"

namespace T730
{

void InstController::installRecorderMaker()
{
    Recorder::Environment environment;
    environment.owner = std::make_shared<ControllerRecorderOwner> (this);

    itemFactory->makeRecorder = [environment] (Synchronizer& synchronizer) -> PlayableItem::Ptr
    {
        return new Recorder (synchronizer, environment);
    };
}

void InstController::finishRecorderPunchOut (const juce::Message& message)
{
    if (auto* punchOut = dynamic_cast<const InstContMesPunchOut*> (&message); punchOut != nullptr && punchOut->target == this)
        ControllerRecorderOwner::finishPunchOut (punchOut->value.get());
}

} // namespace T730
