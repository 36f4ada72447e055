#include "jam/RecorderControls.h"

#include "jam/RecorderTime.h"
#include "ui/ModalEditLabel.h"
#include "ui/NameCharacters.h"
#include "ui/OxFonts.h"

namespace T730
{

RecLocateSlider::RecLocateSlider() : SliderEx ({}, initialMaximum)
{
    setName ("RecLocateSlider");
    SliderEx::setListener (this);
    setKeyboardStepping (true, [] { return recorderTime::deviceRate(); });
}

RecLocateSlider::~RecLocateSlider()
{
    SliderEx::setListener (nullptr);
}

juce::int64 RecLocateSlider::beat() const
{
    return beatLength ? beatLength() : 0;
}

void RecLocateSlider::mouseDown (const juce::MouseEvent& e)
{
    held = true;
    SliderEx::mouseDown (e);
}

void RecLocateSlider::mouseUp (const juce::MouseEvent& e)
{
    held = false;
    SliderEx::mouseUp (e);
}

bool RecLocateSlider::keyPressed (const juce::KeyPress& key)
{
    const int code = key.getKeyCode();
    const auto b = beat();
    if (! snapping || b <= 0 || (code != juce::KeyPress::leftKey && code != juce::KeyPress::rightKey))
        return SliderEx::keyPressed (key);

    // Snapped, a step smaller than a beat would fall back onto the same beat.
    const auto here = recorderTime::snapToBeat (getValue(), b);
    const auto next = code == juce::KeyPress::rightKey ? here + b : (getValue() > here ? here : here - b);
    const auto target = juce::jlimit ((juce::int64) 0, getMaximum(), next);
    if (target != getValue())
    {
        setValue (target);
        if (owner != nullptr)
            owner->sliderExValueChanged (*this, getValue());
    }
    if (owner != nullptr)
        owner->sliderExDragEnded (*this);
    return true;
}

void RecLocateSlider::sliderExValueChanged (SliderEx&, juce::int64 value)
{
    if (snapping)
    {
        if (const auto b = beat(); b > 0)
        {
            value = recorderTime::snapToBeat (value, b);
            setValue (value);
        }
    }
    if (owner != nullptr)
        owner->sliderExValueChanged (*this, getValue());
}

void RecLocateSlider::sliderExTextRequested (SliderEx&, juce::String& text)
{
    if (owner != nullptr)
        owner->sliderExTextRequested (*this, text);
}

void RecLocateSlider::sliderExDragEnded (SliderEx&)
{
    if (owner != nullptr)
        owner->sliderExDragEnded (*this);
}

//==============================================================================
LabelRecorder::LabelRecorder() : juce::Label ("RecorderName")
{
    setFont (arialFont (12.0f));
    setJustificationType (juce::Justification::centredLeft);
    setBorderSize ({ 0, 2, 0, 2 });
    setMinimumHorizontalScale (0.8f);
    setEditable (true, false, false);
    setColour (juce::Label::textColourId, juce::Colour (255, 155, 0));
    setColour (juce::Label::textWhenEditingColourId, juce::Colour (255, 155, 0));
    setColour (juce::Label::backgroundWhenEditingColourId, juce::Colours::black);
    setColour (juce::Label::outlineWhenEditingColourId, juce::Colour (255, 155, 0));
    setTooltip ("The recorder's name: click to change it");
}

juce::String LabelRecorder::cleanName (const juce::String& typed)
{
    return keepAllowedNameCharacters (typed).substring (0, maxLength);
}

juce::TextEditor* LabelRecorder::createEditorComponent()
{
    auto* editor = new juce::TextEditor ("RecorderNameEditor");
    editor->setFont (arialFont (12.0f));
    editor->setInputRestrictions (maxLength, allowedNameCharacters());
    editor->setIndents (2, 0);
    editor->setBorder ({});
    paintAmberOnBlack (*editor);
    return editor;
}

} // namespace T730
