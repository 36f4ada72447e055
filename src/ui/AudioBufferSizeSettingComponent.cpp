#include "ui/AudioBufferSizeSettingComponent.h"

#include "art/ProgramArt.h"
#include "ui/OxFonts.h"

#include <cmath>

namespace T730
{

namespace
{
    const juce::Colour panelColour (0xff0e0e0e);
    const juce::Colour outlineColour (0xff7c7c94);
    const juce::Colour trackColour (0xffb2b4bf);
    const juce::Colour orange (255, 155, 0);

    constexpr int largestSize = 4096;
    constexpr int textBoxWidth = 50;
} // namespace

//==============================================================================
BufferSizeSlider::BufferSizeSlider (int scaleMode, juce::Array<int> allowedSizes)
    : juce::Slider (juce::Slider::LinearHorizontal, juce::Slider::TextBoxRight),
      mode (scaleMode), sizes (std::move (allowedSizes))
{
    sizes.sort();
    setTextBoxStyle (juce::Slider::TextBoxRight, false, textBoxWidth, 16);

    if (sizes.isEmpty())
    {
        setRange (0.0, 1.0, 1.0);
        setEnabled (false);
        return;
    }

    const double interval = mode == 1 || mode == 2 ? 0.00001 : 1.0;
    const double low = positionOf (sizes.getFirst()), high = positionOf (sizes.getLast());
    if (high > low)
    {
        setRange (low, high, interval);
    }
    else
    {
        // One size only: nothing to choose.
        setRange (low, low + interval, interval);
        setEnabled (false);
    }
}

double BufferSizeSlider::positionOf (int size) const
{
    switch (mode)
    {
        case 0: return (double) size;
        case 1: return std::sqrt ((double) size);
        case 2: return size > 0 ? std::log2 ((double) size) : 0.0;
        default: return (double) size;
    }
}

double BufferSizeSlider::rawSizeAt (int scaleMode, double position)
{
    switch (scaleMode)
    {
        case 0: return position;
        case 1: return position * position;
        case 2: return std::pow (2.0, position);
        default: return 512.0;
    }
}

int BufferSizeSlider::nearestSize (const juce::Array<int>& sorted, double size)
{
    int best = 0;
    double bestDistance = 0.0;

    for (int i = 0; i < sorted.size(); ++i)
    {
        const double distance = std::abs ((double) sorted[i] - size);
        // Ascending sizes: a later one wins only when strictly nearer, so a tie keeps the smaller.
        if (i == 0 || distance < bestDistance)
        {
            best = sorted[i];
            bestDistance = distance;
        }
    }

    return best;
}

int BufferSizeSlider::sizeAt (double position) const
{
    return nearestSize (sizes, rawSizeAt (mode, position));
}

juce::String BufferSizeSlider::getTextFromValue (double value)
{
    return juce::String (sizeAt (value));
}

double BufferSizeSlider::getValueFromText (const juce::String& text)
{
    return positionOf (text.trim().getIntValue());
}

//==============================================================================
AudioSettingLookAndFeel::AudioSettingLookAndFeel()
{
    setColour (juce::Label::textColourId, orange);
    setColour (juce::Label::backgroundColourId, panelColour);
    setColour (juce::Label::outlineColourId, outlineColour);
    setColour (juce::TextEditor::backgroundColourId, panelColour);
    setColour (juce::TextEditor::textColourId, orange);
    setColour (juce::TextEditor::highlightColourId, orange);
    setColour (juce::TextEditor::highlightedTextColourId, juce::Colours::black);
    setColour (juce::CaretComponent::caretColourId, orange);
}

AudioSettingLookAndFeel& AudioSettingLookAndFeel::getInstance()
{
    static AudioSettingLookAndFeel instance;
    return instance;
}

void AudioSettingLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                                                float sliderPos, float, float, juce::Slider::SliderStyle,
                                                juce::Slider& slider)
{
    const auto area = juce::Rectangle<int> (x, y, width, height).toFloat();
    const auto track = area.withSizeKeepingCentre (area.getWidth(), 6.0f);

    g.setColour (slider.findColour (juce::Slider::backgroundColourId));
    g.fillRect (track);
    g.setColour (outlineColour);
    g.drawRect (track, 1.0f);

    // The filled part and the thumb take the track colour; greyed when disabled.
    const auto colour = slider.findColour (juce::Slider::trackColourId).withMultipliedAlpha (slider.isEnabled() ? 1.0f : 0.35f);
    g.setColour (colour.withAlpha (colour.getFloatAlpha() * 0.45f));
    g.fillRect (track.withRight (sliderPos).reduced (1.0f));
    if (slider.isEnabled())
    {
        g.setColour (colour);
        g.fillRect (juce::Rectangle<float> (sliderPos - 3.0f, area.getY() + 1.0f, 6.0f, area.getHeight() - 2.0f));
        g.setColour (juce::Colours::black);
        g.drawRect (juce::Rectangle<float> (sliderPos - 3.0f, area.getY() + 1.0f, 6.0f, area.getHeight() - 2.0f), 1.0f);
    }
}

juce::Slider::SliderLayout AudioSettingLookAndFeel::getSliderLayout (juce::Slider& slider)
{
    juce::Slider::SliderLayout layout;
    auto bounds = slider.getLocalBounds();
    layout.textBoxBounds = bounds.removeFromRight (textBoxWidth);
    bounds.removeFromRight (4);
    layout.sliderBounds = bounds.reduced (4, 0);
    return layout;
}

juce::Label* AudioSettingLookAndFeel::createSliderTextBox (juce::Slider& slider)
{
    auto* label = juce::LookAndFeel_V4::createSliderTextBox (slider);
    label->setFont (arialFont (12.0f));
    label->setJustificationType (juce::Justification::centred);
    label->setColour (juce::Label::textColourId, orange);
    label->setColour (juce::Label::backgroundColourId, panelColour);
    label->setColour (juce::Label::outlineColourId, outlineColour);
    label->setColour (juce::TextEditor::backgroundColourId, panelColour);
    label->setColour (juce::TextEditor::textColourId, orange);
    label->setColour (juce::TextEditor::outlineColourId, outlineColour);
    return label;
}

void AudioSettingLookAndFeel::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.fillAll (panelColour);
    juce::ignoreUnused (width, height);
}

void AudioSettingLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.setColour (outlineColour);
    g.drawRect (0, 0, width, height, 1);
}

//==============================================================================
AudioBufferSizeSettingComponent::AudioBufferSizeSettingComponent (juce::AudioDeviceManager& deviceManager)
    : manager (deviceManager)
{
    setOpaque (true);
    setSize (300, 80);

    for (auto* label : { &caption, &latencyCaption, &latencyValue })
    {
        label->setFont (arialFont (13.5f));
        label->setColour (juce::Label::textColourId, orange);
        addAndMakeVisible (label);
    }
    caption.setBounds (10, 10, 100, 16);
    latencyCaption.setBounds (10, 35, 100, 16);
    latencyValue.setBounds (100, 35, 100, 16);

    const auto normal = art::getImage (art::Picture::buttonClose);
    const auto over = art::getImage (art::Picture::buttonCloseOver);
    closeButton.setImages (false, true, true, normal, 1.0f, {}, over, 1.0f, {}, over, 1.0f, {});
    closeButton.setBounds (222, 50, normal.isValid() ? normal.getWidth() : 70, normal.isValid() ? normal.getHeight() : 24);
    closeButton.addListener (this);
    addAndMakeVisible (closeButton);

    // The sizes the device offers, in its own order up to the first one above 4096.
    juce::Array<int> sizes;
    if (auto* device = manager.getCurrentAudioDevice())
        for (const int size : device->getAvailableBufferSizes())
        {
            if (size > largestSize)
                break;
            sizes.add (size);
        }

    slider = std::make_unique<BufferSizeSlider> (1, sizes);
    slider->setLookAndFeel (&AudioSettingLookAndFeel::getInstance());
    slider->setColour (juce::Slider::backgroundColourId, panelColour);
    slider->setColour (juce::Slider::trackColourId, trackColour);
    slider->setColour (juce::Slider::textBoxTextColourId, orange);
    slider->setColour (juce::Slider::textBoxBackgroundColourId, panelColour);
    slider->setColour (juce::Slider::textBoxOutlineColourId, outlineColour);
    slider->setBounds (100, 10, 200, 16);
    if (const int size = currentSize(); size > 0 && ! sizes.isEmpty())
        slider->setValue (slider->positionOf (size), juce::dontSendNotification);
    slider->addListener (this);
    addAndMakeVisible (*slider);

    showLatency (currentSize());
}

AudioBufferSizeSettingComponent::~AudioBufferSizeSettingComponent()
{
    slider->removeListener (this);
    slider->setLookAndFeel (nullptr);
    closeButton.removeListener (this);
}

void AudioBufferSizeSettingComponent::paint (juce::Graphics& g)
{
    g.fillAll (panelColour);
}

juce::String AudioBufferSizeSettingComponent::latencyText (int size, double sampleRate)
{
    if (size <= 0 || sampleRate <= 0.0)
        return "---";

    return juce::String::formatted ("%.1fms", (double) size * 1000.0 / sampleRate);
}

int AudioBufferSizeSettingComponent::currentSize() const
{
    auto* device = manager.getCurrentAudioDevice();
    return device != nullptr ? device->getCurrentBufferSizeSamples() : 0;
}

void AudioBufferSizeSettingComponent::showLatency (int size)
{
    auto* device = manager.getCurrentAudioDevice();
    latencyValue.setText (latencyText (size, device != nullptr ? device->getCurrentSampleRate() : 0.0),
                          juce::dontSendNotification);
}

int AudioBufferSizeSettingComponent::reopenWithSize (juce::AudioDeviceManager& deviceManager, int newSize)
{
    auto* device = deviceManager.getCurrentAudioDevice();
    if (device == nullptr)
        return 0;

    const int oldSize = device->getCurrentBufferSizeSamples();
    const bool wasPlaying = device->isPlaying();

    auto setup = deviceManager.getAudioDeviceSetup();
    setup.sampleRate = device->getCurrentSampleRate();
    setup.bufferSize = newSize;

    // The manager closes the device and opens it again with the new size.
    if (deviceManager.setAudioDeviceSetup (setup, true).isNotEmpty())
    {
        setup.bufferSize = oldSize;
        deviceManager.setAudioDeviceSetup (setup, true);
    }

    device = deviceManager.getCurrentAudioDevice();
    if (device == nullptr)
        return 0;

    if (! wasPlaying && device->isPlaying())
        device->stop();

    return device->getCurrentBufferSizeSamples();
}

void AudioBufferSizeSettingComponent::applySliderSize()
{
    const int size = slider->sizeAt (slider->getValue());
    auto* device = manager.getCurrentAudioDevice();

    if (device != nullptr && size > 0 && size != device->getCurrentBufferSizeSamples())
        if (const int set = reopenWithSize (manager, size); set != 0)
            lastSizeSet = set;

    const int now = currentSize();
    if (now > 0 && ! slider->getAllowedSizes().isEmpty())
        slider->setValue (slider->positionOf (now), juce::dontSendNotification);
    showLatency (now);
}

void AudioBufferSizeSettingComponent::sliderValueChanged (juce::Slider*)
{
    // While the thumb is held only the latency follows; the device reopens when it is let go.
    if (slider->isMouseButtonDown())
        showLatency (slider->sizeAt (slider->getValue()));
    else
        applySliderSize();
}

void AudioBufferSizeSettingComponent::sliderDragEnded (juce::Slider*)
{
    applySliderSize();
}

void AudioBufferSizeSettingComponent::buttonClicked (juce::Button*)
{
    if (auto* window = findParentComponentOfClass<juce::DialogWindow>())
        window->setVisible (false);
}

} // namespace T730
