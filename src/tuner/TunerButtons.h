#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** A button of the tuner page that is only its pictures: the first one
    normally (also under the pointer), the second one while it is pressed or,
    for a toggle, while it is on. A missing picture is not drawn. */
class TunerPictureButton : public juce::Button
{
public:
    TunerPictureButton (const juce::String& name, juce::Image normal, juce::Image second, bool showsSecondWhenOn);

    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

    /** The picture the button shows now. */
    const juce::Image& getShownPicture() const noexcept;

private:
    juce::Image normal, second;
    bool showsSecondWhenOn;
};

/** The left button of a row: the next tuning mode, or the reference 1 Hz down. */
class OxaJuce_TunerDown : public TunerPictureButton
{
public:
    OxaJuce_TunerDown();
};

/** The right button of a row: the previous tuning mode, or the reference 1 Hz up. */
class OxaJuce_TunerUp : public TunerPictureButton
{
public:
    OxaJuce_TunerUp();
};

/** A flat-tuning toggle of the radio group radioGroup. Clicking it while it
    is lit darkens it (with notification), so that a second click undoes the
    first. */
class TunerFlatButton : public TunerPictureButton
{
public:
    static constexpr int radioGroup = 24000;

    TunerFlatButton (const juce::String& name, juce::Image normal, juce::Image lit);

protected:
    void internalClickCallback (const juce::ModifierKeys& modifiers) override;
};

/** Flat by one semitone. */
class OxaJuce_TunerB : public TunerFlatButton
{
public:
    OxaJuce_TunerB();
};

/** Flat by two semitones. */
class OxaJuce_TunerBB : public TunerFlatButton
{
public:
    OxaJuce_TunerBB();
};

} // namespace T730
