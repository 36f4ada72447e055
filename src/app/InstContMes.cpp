#include "app/InstContMes.h"

#include "device/MidiRecvEv.h"

namespace T730
{

InstContMesDeviceEvent::InstContMesDeviceEvent (std::unique_ptr<MidiRecvEv> event)
    : InstContMesBase (typeDeviceEvent), value (std::move (event))
{
}

InstContMesDeviceEvent::~InstContMesDeviceEvent() = default;

void postToController (const juce::MessageListener& controller, InstContMesBase* message)
{
    if (message == nullptr)
        return;

    message->target = &controller;
    controller.postMessage (message);
}

bool dispatchControllerMessage (const juce::Message& message, const juce::MessageListener& controller,
                                InstContMesReceiver& receiver)
{
    auto* m = dynamic_cast<const InstContMesBase*> (&message);

    if (m == nullptr || m->target != &controller)
        return false;

    switch (m->type)
    {
        case InstContMesBase::typeUpdateUI:
            receiver.updateSections (static_cast<const InstContUpdateUI*> (m)->value);
            return true;

        case InstContMesBase::typeRepaintUI:
            if (auto flags = static_cast<const InstContRepaintUI*> (m)->value; flags != 0)
                receiver.repaintSections (flags);
            return true;

        case InstContMesBase::typeTunerPitchDetect:
            receiver.tunerPitchDetected (static_cast<const InstContMesTunerPitchDetect*> (m)->value);
            return true;

        case InstContMesBase::typePunchOut:
            receiver.punchOut (static_cast<const InstContMesPunchOut*> (m)->value.get());
            receiver.updateTooltip (nullptr);
            return true;

        case InstContMesBase::typeUpdateTooltip:
            receiver.updateTooltip (static_cast<const InstContMesUpdateTooltip*> (m)->value);
            return true;

        case InstContMesBase::typeDeviceEvent:
            if (auto& event = static_cast<const InstContMesDeviceEvent*> (m)->value)
                receiver.deviceEvent (*event);
            return true;

        default:
            return false;
    }
}

} // namespace T730
