#pragma once

#include "ui/SliderEx.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace T730
{

/** The recorder panel's position slider: a SliderEx over 0..maximum (4096
    until the panel sets it from the span) with keyboard stepping. While
    snapping is on, the positions it reaches move to the start of their beat
    (the arrow keys then step a whole beat, so that they never stick at one).
    It knows whether it is being dragged, so that the panel's refresh leaves
    the thumb to the mouse meanwhile. Message thread only. */
class RecLocateSlider : public SliderEx, private SliderExListener
{
public:
    static constexpr juce::int64 initialMaximum = 4096;

    RecLocateSlider();
    ~RecLocateSlider() override;

    /** The owner's listener (the slider listens to itself to snap first, then passes every call on). */
    void setListener (SliderExListener* newOwner) noexcept { owner = newOwner; }

    void setSnapping (bool on) noexcept      { snapping = on; }
    bool isSnapping() const noexcept         { return snapping; }
    void setBeatLength (std::function<juce::int64()> beatInSamples) { beatLength = std::move (beatInSamples); }

    bool isDragging() const noexcept         { return held; }

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key) override;

private:
    void sliderExValueChanged (SliderEx& slider, juce::int64 value) override;
    void sliderExTextRequested (SliderEx& slider, juce::String& text) override;
    void sliderExDragEnded (SliderEx& slider) override;
    juce::int64 beat() const;

    SliderExListener* owner = nullptr;
    bool snapping = false, held = false;
    std::function<juce::int64()> beatLength;

    JUCE_DECLARE_NON_COPYABLE (RecLocateSlider)
};

/** The recorder's name on its panel: "Arial" 12, edited with a single click in
    an editor named "RecorderNameEditor" that takes at most 32 of the name
    characters (digits, letters, the space and ! # $ % & ' ( ) + , - . ; = @ [ ] ^ _ ` { } ~). */
class LabelRecorder : public juce::Label
{
public:
    static constexpr int maxLength = 32;

    LabelRecorder();

    /** The text a commit keeps: only the allowed characters, at most 32 of them. */
    static juce::String cleanName (const juce::String& typed);

protected:
    juce::TextEditor* createEditorComponent() override;
};

} // namespace T730
