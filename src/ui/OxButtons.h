#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

class OxDrawableButton;

/** Told when the pointer leaves an OxDrawableButton. */
class OxDrawableButtonListener
{
public:
    virtual ~OxDrawableButtonListener() = default;

    /** The pointer left the button; the position is in the button's parent's coordinates. */
    virtual void pointerLeft (OxDrawableButton& button, juce::Point<int> positionInParent) = 0;
};

/** A drawable button that also reports the pointer leaving it. */
class OxDrawableButton : public juce::DrawableButton
{
public:
    OxDrawableButton (const juce::String& name, ButtonStyle style) : juce::DrawableButton (name, style) {}

    /** Not owned; null for none. */
    void setExitListener (OxDrawableButtonListener* listener) noexcept { exitListener = listener; }

    void mouseExit (const juce::MouseEvent& event) override;

private:
    OxDrawableButtonListener* exitListener = nullptr;
};

/** A text button that is only its name: "Arial" 10, right-aligned, shortened
    with an ellipsis when too long, in one colour under the pointer and
    another otherwise. */
class EditButton : public juce::Button
{
public:
    explicit EditButton (const juce::String& name);

    void setColours (juce::Colour normal, juce::Colour underPointer);

    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

private:
    juce::Colour normalColour { 255, 155, 0 }, overColour { 255, 220, 140 };
};

/** Makes a DrawableButton image from a picture (null when the picture is missing). */
std::unique_ptr<juce::Drawable> makeDrawable (const juce::Image& picture);

} // namespace T730
