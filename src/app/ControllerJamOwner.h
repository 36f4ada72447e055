#pragma once

#include "engine/JamOwner.h"

#include <juce_events/juce_events.h>

#include <functional>

namespace T730
{

/** The engine's transport reaching the controller: each question and
    notification is the controller's numbered request (21, 15, 16, 17), and
    the jam section's update a posted InstContUpdateUI with the jam bit. The
    audio engine gives this to the synchroniser and to its jam list. */
class ControllerJamOwner final : public JamOwner
{
public:
    /** The controller's request function, and the controller the updates are posted to (may be null). */
    using Request = std::function<int (int code, int param1, int param2, void* data)>;

    ControllerJamOwner (Request requestFunction, const juce::MessageListener* controllerToPostTo);

    bool isAnyRecorderArmed() override;
    void itemsStopped() override;
    void loopWrapped() override;
    void itemsLocated() override;
    void jamChanged() override;

private:
    const Request request;
    const juce::MessageListener* const controller;
};

} // namespace T730
