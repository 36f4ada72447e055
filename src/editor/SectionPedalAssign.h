#pragma once

#include "editor/Controls.h"
#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;
class MidiRecvEv;

/** The pedal-assign strip at the bottom right: the patch level knob and the
    expression pedal's target of the current patch, both kept in the tool
    set's edit buffer and sent to the device parameter by parameter. Message
    thread only. */
class SectionPedalAssign : public OxSection, private juce::Button::Listener
{
public:
    explicit SectionPedalAssign (ControllerLink& controller);
    ~SectionPedalAssign() override;

    void paint (juce::Graphics& g) override;

    /** Re-reads the patch level and the pedal target from the edit buffer, then repaints. */
    void updateSection() override;

    /** A message from the device, handed on by the main component on the
        message thread after the editor section: the level, the target or a
        whole buffer; then the strip's repaint is posted. */
    void deviceMessageReceived (const MidiRecvEv& message);

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;

    /** Target index (0..5 light a lamp, 6 and 7 none) and the device value it sends. */
    static int valueOfTarget (int index) noexcept { return index >= 0 && index < 6 ? index + 1 : 0; }
    /** The target index a device value shows; values above 7 keep `current`. */
    static int targetOfValue (int value, int current) noexcept;

    int getTargetIndex() const noexcept { return targetIndex; }
    int getShownLevel() const noexcept { return shownLevel; }
    Knob& getLevelKnob() noexcept { return levelKnob; }
    juce::Button& getAssignButton() noexcept { return assignButton; }
    /** The level tooltip's text for a knob step: "Patch Level : " and step x 2 + 2. */
    static juce::String levelText (int step);

    static constexpr int maxLevel = 49;
    inline static const juce::Rectangle<int> knobBounds { 8, 9, 32, 34 };
    inline static const juce::Rectangle<int> knobHitArea { 11, 13, 21, 23 };
    static constexpr int lampX = 5, lampY = 57;

private:
    void buttonClicked (juce::Button* button) override;
    void showLevelTooltip (const juce::MouseEvent& e);
    void hideTooltip();
    CtrlMouse toKnob (const juce::MouseEvent& e) const;

    ControllerLink& controller;
    Knob levelKnob;
    juce::DrawableButton assignButton { "PEDAL_ASSIGN", juce::DrawableButton::ImageRaw };
    juce::Image lamps[6];
    int targetIndex = 7;
    int shownLevel = 0;
    bool levelEdited = false;
    bool tooltipShown = false;
    bool knobPressed = false;   // the press began on the knob: the drag turns it wherever the pointer goes

    JUCE_DECLARE_NON_COPYABLE (SectionPedalAssign)
};

} // namespace T730
