#pragma once

#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;
class MidiRecvEv;

/** The effect editor along the bottom of the window: the device's current
    patch as a chain of modules on the pedalboard of the background. The chain
    itself, its controls and the off-screen drawing thread come with the
    module views; until then the section is the empty board. */
class SectionEditor : public OxSection
{
public:
    explicit SectionEditor (ControllerLink& controller);

    /** Deletes the shared cursor set, which the editor's views use. */
    ~SectionEditor() override;

    /** Re-reads the tool set's edit buffer into the chain (once the chain exists), then repaints. */
    void updateSection() override;

    /** A message from the device, called on the MIDI input thread: the module
        views take the new step and queue their redrawing for the drawing thread
        (nothing here may touch a component directly). Nothing to update until
        the chain exists. */
    void deviceMessageReceived (const MidiRecvEv& message);

    /** Refreshes the floating tooltip over the chain (shown by the controls once they exist). */
    void updateTooltip();

private:
    ControllerLink& controller;

    JUCE_DECLARE_NON_COPYABLE (SectionEditor)
};

} // namespace T730
