#include "players/PlayerDummy.h"

#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "ui/ControllerLink.h"

namespace T730
{

bool areFiguresSwitchedOn (ControllerLink* controller)
{
    if (controller == nullptr)
        return true;
    AppSetting* settings = nullptr;
    controller->request (GetAppSetting, 0, 0, &settings);
    return settings == nullptr || settings->Character;
}

PlayerDummy::PlayerDummy (Rhythmer* rhythmMachine, ControllerLink* controllerLink)
    : PlayerBase (rhythmMachine, controllerLink)
{
    setInterceptsMouseClicks (true, false);
}

void PlayerDummy::setImage (const juce::Image& newImage)
{
    image = newImage;
    repaint();
}

void PlayerDummy::paint (juce::Graphics& g)
{
    if (image.isValid())
        g.drawImageAt (image, 0, 0);
}

void PlayerDummy::mouseDown (const juce::MouseEvent&)
{
    if (areFiguresSwitchedOn (controller))
        return;
    if (auto* target = findParentComponentOfClass<juce::ApplicationCommandTarget>())
        target->invoke (juce::ApplicationCommandTarget::InvocationInfo (drummerBassistCommand), true);
}

} // namespace T730
