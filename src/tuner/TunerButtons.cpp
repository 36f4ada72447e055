#include "tuner/TunerButtons.h"

#include "art/ProgramArt.h"

namespace T730
{

TunerPictureButton::TunerPictureButton (const juce::String& name, juce::Image normalPicture, juce::Image secondPicture,
                                        bool secondWhenOn)
    : juce::Button (name), normal (std::move (normalPicture)), second (std::move (secondPicture)),
      showsSecondWhenOn (secondWhenOn)
{
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

const juce::Image& TunerPictureButton::getShownPicture() const noexcept
{
    const bool useSecond = showsSecondWhenOn ? getToggleState() : isDown();
    return useSecond ? second : normal;
}

void TunerPictureButton::paintButton (juce::Graphics& g, bool, bool)
{
    const auto& picture = getShownPicture();
    if (picture.isValid())
        g.drawImageAt (picture, 0, 0);
}

OxaJuce_TunerDown::OxaJuce_TunerDown()
    : TunerPictureButton ("TunerDown", art::getImage (art::Picture::tunerDown), art::getImage (art::Picture::tunerDownPressed), false)
{
}

OxaJuce_TunerUp::OxaJuce_TunerUp()
    : TunerPictureButton ("TunerUp", art::getImage (art::Picture::tunerUp), art::getImage (art::Picture::tunerUpPressed), false)
{
}

//==============================================================================
TunerFlatButton::TunerFlatButton (const juce::String& name, juce::Image normalPicture, juce::Image lit)
    : TunerPictureButton (name, std::move (normalPicture), std::move (lit), true)
{
    setClickingTogglesState (true);
    setRadioGroupId (radioGroup);
}

void TunerFlatButton::internalClickCallback (const juce::ModifierKeys& modifiers)
{
    // A radio button stays on when clicked again; this one goes off after the
    // ordinary click has been reported.
    const bool wasOn = getToggleState();
    juce::Component::SafePointer<TunerFlatButton> self (this);
    juce::Button::internalClickCallback (modifiers);

    if (self != nullptr && wasOn && getToggleState())
        setToggleState (false, juce::sendNotification);
}

OxaJuce_TunerB::OxaJuce_TunerB()
    : TunerFlatButton ("TunerB", art::getImage (art::Picture::tunerFlat), art::getImage (art::Picture::tunerFlatLit))
{
}

OxaJuce_TunerBB::OxaJuce_TunerBB()
    : TunerFlatButton ("TunerBB", art::getImage (art::Picture::tunerFlat2), art::getImage (art::Picture::tunerFlat2Lit))
{
}

} // namespace T730
