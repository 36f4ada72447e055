#pragma once

#include "players/PlayerBase.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** A figure's still picture. Clicked while the 3D figures are switched off, it
    asks for them (the Device menu's "Drummer & Bassist" command, invoked
    asynchronously through the first command target among its parents). */
class PlayerDummy : public juce::Component, public PlayerBase
{
public:
    static constexpr int drummerBassistCommand = 0x2023;

    PlayerDummy (Rhythmer* rhythmMachine, ControllerLink* controllerLink);

    void setImage (const juce::Image& newImage);
    const juce::Image& getImage() const noexcept { return image; }

    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;

private:
    juce::Image image;

    JUCE_DECLARE_NON_COPYABLE (PlayerDummy)
};

/** Whether the settings ask for the 3D figures (on when there is no controller). */
bool areFiguresSwitchedOn (ControllerLink* controller);

} // namespace T730
