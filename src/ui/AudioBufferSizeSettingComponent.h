#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** A slider over the buffer sizes a device offers. Its position is the size
    on a scale (mode 0: the size itself, 1: its square root, 2: its base-2
    logarithm); whatever position it is at, its size is the offered size
    nearest to that position's size (the smaller one on a tie). */
class BufferSizeSlider : public juce::Slider
{
public:
    BufferSizeSlider (int scaleMode, juce::Array<int> allowedSizes);

    /** The slider position of a size. */
    double positionOf (int size) const;

    /** The offered size at a slider position (0 when none is offered). */
    int sizeAt (double position) const;

    /** The offered size nearest to a size: the smaller one on a tie, 0 when none is offered. */
    static int nearestSize (const juce::Array<int>& sizes, double size);

    /** The size at a position on a scale before the nearest rule; any other mode reads as 512. */
    static double rawSizeAt (int scaleMode, double position);

    juce::String getTextFromValue (double value) override;
    double getValueFromText (const juce::String& text) override;

    const juce::Array<int>& getAllowedSizes() const noexcept { return sizes; }
    int getScaleMode() const noexcept { return mode; }

private:
    int mode;
    juce::Array<int> sizes;
};

/** The look of the buffer size slider: a dark track and text box with a thin
    blue-grey outline, the thumb in the slider's track colour. */
class AudioSettingLookAndFeel : public juce::LookAndFeel_V4
{
public:
    AudioSettingLookAndFeel();

    /** The one instance, made on first use. */
    static AudioSettingLookAndFeel& getInstance();

    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                           float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                           juce::Slider& slider) override;
    juce::Slider::SliderLayout getSliderLayout (juce::Slider& slider) override;
    juce::Label* createSliderTextBox (juce::Slider& slider) override;
    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;
};

/** The "Control Panel": the buffer size of the open audio device on a slider
    that stops only at the sizes the device offers (up to 4096), and the
    latency it gives. Letting go of the slider reopens the device with the new
    size at its current rate; a size the device refuses leaves the old one.
    With no sizes offered the slider is disabled. Message thread only. */
class AudioBufferSizeSettingComponent : public juce::Component,
                                        private juce::Slider::Listener,
                                        private juce::Button::Listener
{
public:
    explicit AudioBufferSizeSettingComponent (juce::AudioDeviceManager& deviceManager);
    ~AudioBufferSizeSettingComponent() override;

    void paint (juce::Graphics& g) override;

    /** The latency text of a size at a rate: "%.1fms", or "---" without a rate. */
    static juce::String latencyText (int size, double sampleRate);

    /** Reopens the device with a new size (rate unchanged). On an error the old
        size is opened again. A device that was stopped is stopped again.
        Returns the size now in use (0 without a device). */
    static int reopenWithSize (juce::AudioDeviceManager& deviceManager, int newSize);

    BufferSizeSlider& getSlider() noexcept { return *slider; }
    juce::Label& getLatencyLabel() noexcept { return latencyValue; }
    juce::Button& getCloseButton() noexcept { return closeButton; }
    int getLastSizeSet() const noexcept { return lastSizeSet; }

    /** Takes the size at the slider's position: reopens when it differs from the device's. */
    void applySliderSize();

private:
    void sliderValueChanged (juce::Slider*) override;
    void sliderDragEnded (juce::Slider*) override;
    void buttonClicked (juce::Button*) override;
    void showLatency (int size);
    int currentSize() const;

    juce::AudioDeviceManager& manager;
    juce::Label caption { "buffer size", "Buffer Size" };
    juce::Label latencyCaption { "latency caption", "Latency" };
    juce::Label latencyValue { "latency value", "---" };
    juce::ImageButton closeButton { "Close Button" };
    std::unique_ptr<BufferSizeSlider> slider;
    int lastSizeSet = 0;

    JUCE_DECLARE_NON_COPYABLE (AudioBufferSizeSettingComponent)
};

} // namespace T730
