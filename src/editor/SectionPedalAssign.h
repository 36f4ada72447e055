#pragma once

#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;
class MidiRecvEv;

/** The pedal-assign strip at the bottom right: the patch level and the
    expression pedal's assignment of the current patch. Its knob and selector
    come with the editor's controls; until then it is the empty strip of the
    background. */
class SectionPedalAssign : public OxSection
{
public:
    explicit SectionPedalAssign (ControllerLink& controller);

    /** Re-reads the patch level and assignment from the edit buffer (once the controls exist), then repaints. */
    void updateSection() override;

    /** A message from the device, called on the MIDI input thread: the strip
        posts a repaint of its section to the controller (it never touches a
        component from that thread). Nothing shows a value yet. */
    void deviceMessageReceived (const MidiRecvEv& message);

private:
    ControllerLink& controller;

    JUCE_DECLARE_NON_COPYABLE (SectionPedalAssign)
};

} // namespace T730
