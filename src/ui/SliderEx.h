#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <functional>
#include <memory>

namespace T730
{

class SliderEx;

/** What a SliderEx tells its owner. */
class SliderExListener
{
public:
    virtual ~SliderExListener() = default;

    /** The value changed through the mouse or the keys. */
    virtual void sliderExValueChanged (SliderEx& slider, juce::int64 value) = 0;

    /** The text shown above the pointer (nothing is shown while it is empty). */
    virtual void sliderExTextRequested (SliderEx& slider, juce::String& text) = 0;

    /** A drag (or a key step) ended. */
    virtual void sliderExDragEnded (SliderEx& slider) = 0;
};

/** A slider drawn as a thumb picture over whatever lies behind it: the value
    0..maximum puts the thumb at x = (width - thumb width) * value / (maximum + 1).
    Pressing within 4 pixels of the thumb starts a drag; elsewhere the value
    jumps to the point pressed (when jumping is on). Dragging sets
    value = (x - thumb width / 2) * maximum / (width - thumb width), clamped;
    with Shift held it moves one step per f pixels, f the smallest power of two
    with f * maximum >= 300. With keyboard stepping, the left and right arrows
    move it by 0.01 * the sample rate (44100 when the rate is 0) and end a drag.
    Message thread only. */
class SliderEx : public juce::Component
{
public:
    explicit SliderEx (const juce::Image& thumb = {}, juce::int64 maximum = 511);
    ~SliderEx() override;

    void setListener (SliderExListener* newListener) noexcept { listener = newListener; }

    void setThumb (const juce::Image& thumb);
    void setMaximum (juce::int64 newMaximum);
    juce::int64 getMaximum() const noexcept { return maximum; }

    /** Sets the value (clamped) without telling the listener. */
    void setValue (juce::int64 newValue);
    juce::int64 getValue() const noexcept { return value; }

    void setJumpingEnabled (bool shouldJump) noexcept { jumping = shouldJump; }

    /** Arrow keys step by 0.01 * the rate the function gives (44100 without one, or when it gives 0). */
    void setKeyboardStepping (bool enabled, std::function<double()> sampleRate = {});

    /** Pixels per step of a fine (Shift) drag for a maximum. */
    static int finePixelsPerStep (juce::int64 maximum);

    /** The thumb's left edge for the current value. */
    int getThumbX() const;

    /** The value a drag to x gives (clamped). */
    juce::int64 valueAtX (int x) const;

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key) override;

    /** The text above the pointer, while it is shown (for tests). */
    juce::String getShownText() const;

private:
    class TipBubble;

    void changeTo (juce::int64 newValue);
    void showText (const juce::MouseEvent& e);
    void hideText();
    void anchorFineDrag (int x);

    SliderExListener* listener = nullptr;
    juce::Image thumb;
    juce::int64 maximum, value = 0;
    bool jumping = true, stepping = false, dragging = false, fine = false;
    std::function<double()> sampleRate;
    int anchorX = 0;
    juce::int64 anchorValue = 0;
    std::unique_ptr<TipBubble> tip;

    JUCE_DECLARE_NON_COPYABLE (SliderEx)
};

} // namespace T730
