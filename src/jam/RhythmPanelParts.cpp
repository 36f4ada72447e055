#include "jam/RhythmPanelParts.h"

#include "ui/OxFonts.h"

namespace T730::rhythmpanel
{

//==============================================================================
LvMeter::LvMeter (LvMeterListener* l) : listener (l)
{
    setInterceptsMouseClicks (false, false);
}

void LvMeter::setImage (const juce::Image& litPicture)
{
    image = litPicture;
    repaint();
}

int LvMeter::litHeight (float value) noexcept
{
    static constexpr float thresholds[] = { 0.0015849f, 0.0079433f, 0.031623f, 0.12589f,
                                            0.25119f,   0.39811f,   0.63096f,  1.0f };
    if (! (value < 1.0f))   // 1.0 and above (and a value that is no number) light everything
        return imageHeight;
    int k = 0;
    while (k < 8 && ! (thresholds[k] > value))
        ++k;
    return 6 * k + 1;
}

void LvMeter::setValue (float value)
{
    if (value < 0.0f)
    {
        clear();
        return;
    }

    const int oldLit = lit, oldPeak = peak;
    lit = litHeight (value);
    if (lit >= peak)
    {
        peak = lit;
        peakAge = 0;
    }
    else if (++peakAge > holdTicks)
    {
        peak = juce::jmax (lit, peak - 6);
    }

    if (lit != oldLit || peak != oldPeak)
        repaint();
}

void LvMeter::clear()
{
    if (lit == 0 && peak == 0)
        return;
    lit = 0;
    peak = 0;
    peakAge = 0;
    repaint();
}

void LvMeter::timerCallback()
{
    if (listener != nullptr)
        setValue (listener->lvMeterValueRequested (*this));
}

void LvMeter::paint (juce::Graphics& g)
{
    if (! image.isValid())
        return;
    // The picture stands on the meter's bottom edge; its lit rows count from there.
    const int imageTop = getHeight() - image.getHeight();
    if (lit > 0)
    {
        const int from = image.getHeight() - juce::jmin (lit, image.getHeight());
        g.drawImage (image, 0, imageTop + from, image.getWidth(), image.getHeight() - from, 0, from, image.getWidth(),
                     image.getHeight() - from);
    }
    if (peak > lit)
    {
        const int row = image.getHeight() - peak;
        g.drawImage (image, 0, imageTop + row, image.getWidth(), 1, 0, row, image.getWidth(), 1);
    }
}

//==============================================================================
LocateBar::LocateBar (const juce::Image& thumb) : SliderEx (thumb, 0)
{
}

void LocateBar::tick()
{
    if (locateListener != nullptr)
        locateListener->locateBarPositionRequested (*this);
}

void LocateBar::mouseDown (const juce::MouseEvent& e)
{
    dragging = true;
    SliderEx::mouseDown (e);
}

void LocateBar::mouseUp (const juce::MouseEvent& e)
{
    // The listener's drag end comes from SliderEx::mouseUp: the bar no longer counts as dragged then.
    dragging = false;
    SliderEx::mouseUp (e);
}

//==============================================================================
PlayTime::PlayTime (PlayTimeListener* l) : listener (l)
{
    setInterceptsMouseClicks (false, false);
}

juce::String PlayTime::textFor (juce::int64 samples)
{
    const juce::int64 seconds = juce::jmax ((juce::int64) 0, samples) / 44100;
    return juce::String (seconds / 60) + "m" + juce::String (seconds % 60) + "s";
}

void PlayTime::setPosition (juce::int64 samples)
{
    auto t = textFor (samples);
    if (t != text)
    {
        text = std::move (t);
        repaint();
    }
}

void PlayTime::timerCallback()
{
    if (listener != nullptr)
        setPosition (listener->playTimePositionRequested (*this));
}

void PlayTime::paint (juce::Graphics& g)
{
    g.setColour (colour);
    g.setFont (arialFont (12.0f));
    g.drawText (text, getLocalBounds(), juce::Justification::centred, true);
}

//==============================================================================
PlayBBT::PlayBBT (PlayBBTListener* l) : listener (l)
{
    setInterceptsMouseClicks (false, false);
}

void PlayBBT::setBarBeat (int bar, int beat)
{
    auto t = juce::String (bar + 1) + "-" + juce::String (beat + 1);
    if (t != text)
    {
        text = std::move (t);
        repaint();
    }
}

void PlayBBT::timerCallback()
{
    if (listener != nullptr)
    {
        const auto bb = listener->playBBTRequested (*this);
        if (bb.x >= 0 && bb.y >= 0)
            setBarBeat (bb.x, bb.y);
    }
}

void PlayBBT::paint (juce::Graphics& g)
{
    g.setColour (colour);
    g.setFont (arialFont (12.0f));
    g.drawText (text, getLocalBounds(), juce::Justification::centred, true);
}

//==============================================================================
LabelRhythmer::LabelRhythmer() : juce::Label ("TempoValue")
{
    setFont (arialFont (10.0f));
    setJustificationType (juce::Justification::centredLeft);
    setEditable (true, false, false);
    setBorderSize ({ 0, 2, 0, 0 });
    setColour (juce::Label::textColourId, juce::Colour (255, 155, 0));
    setColour (juce::Label::textWhenEditingColourId, juce::Colour (255, 155, 0));
    setColour (juce::Label::backgroundWhenEditingColourId, juce::Colour (0xff101012));
    setColour (juce::Label::outlineWhenEditingColourId, juce::Colour (255, 155, 0).withAlpha (0.6f));
    setTooltip ("Tempo in beats per minute (40 to 250): click to type it");
}

juce::TextEditor* LabelRhythmer::createEditorComponent()
{
    auto* editor = juce::Label::createEditorComponent();
    editor->setName ("RhythmerEditor");
    editor->setFont (arialFont (12.0f));
    editor->setInputRestrictions (3, "0123456789");
    editor->setIndents (2, 0);
    editor->setBorder ({ 0, 0, 0, 0 });
    return editor;
}

//==============================================================================
RhyUISlider::RhyUISlider()
    : juce::Slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox)
{
    setName ("TempoSlider");
    setRange (40.0, 250.0, 1.0);
    setVelocityModeParameters (1.0, 1, 0.0, false);
    setColour (juce::Slider::backgroundColourId, juce::Colour (0xff0c0c0e));
    setColour (juce::Slider::trackColourId, juce::Colour (255, 155, 0).withAlpha (0.7f));
    setColour (juce::Slider::thumbColourId, juce::Colour (255, 190, 80));
    setWantsKeyboardFocus (false);
}

void RhyUISlider::mouseDown (const juce::MouseEvent& e)
{
    dragging = true;
    setVelocityBasedMode (e.mods.isShiftDown());
    juce::Slider::mouseDown (e);
}

void RhyUISlider::mouseUp (const juce::MouseEvent& e)
{
    juce::Slider::mouseUp (e);
    dragging = false;
    if (! isMouseOver (true))
        setVisible (false);
}

void RhyUISlider::mouseExit (const juce::MouseEvent& e)
{
    juce::Slider::mouseExit (e);
    if (! dragging)
        setVisible (false);
}

//==============================================================================
TextKey::TextKey (const juce::String& componentName, bool opensMenu) : juce::Button (componentName), menu (opensMenu)
{
    setWantsKeyboardFocus (false);
}

void TextKey::setColours (juce::Colour normal, juce::Colour over)
{
    normalColour = normal;
    overColour = over;
    repaint();
}

void TextKey::paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    auto colour = isMouseOverButton && isEnabled() ? overColour : normalColour;
    if (! isEnabled())
        colour = colour.withMultipliedBrightness (0.45f).withMultipliedSaturation (0.6f);
    if (isButtonDown)
        colour = colour.brighter (0.2f);

    const auto font = arialFont (10.0f);
    const auto text = getButtonText();
    auto area = getLocalBounds();
    if (menu)
    {
        // A small down-pointing mark just left of the text: this key opens a list.
        const int textWidth = juce::jmin (area.getWidth() - 7, font.getStringWidth (text));
        const float x = (float) (area.getRight() - textWidth - 6);
        const float cy = (float) area.getCentreY();
        juce::Path p;
        p.addTriangle (x, cy - 1.5f, x + 4.5f, cy - 1.5f, x + 2.25f, cy + 1.5f);
        g.setColour (colour.withAlpha (0.7f));
        g.fillPath (p);
        area.removeFromLeft (7);
    }
    g.setColour (colour);
    g.setFont (font);
    g.drawFittedText (text, area, juce::Justification::centredRight, 1, 0.8f);
}

} // namespace T730::rhythmpanel
