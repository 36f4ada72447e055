// The buffer size panel: the slider's scales and nearest-size rule, the latency
// text and reopening the device (through a fake driver).
#include "UiTestSupport.h"
#include "ui/AudioBufferSizeSettingComponent.h"
#include "ui/T730LookAndFeel.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
struct DriverState
{
    juce::Array<int> sizes { 64, 128, 256, 512, 1024, 2048, 4096, 8192 };
    int refusedSize = -1;
    int opens = 0;
    bool open = false;
};

class FakeDevice final : public juce::AudioIODevice
{
public:
    explicit FakeDevice (std::shared_ptr<DriverState> s) : juce::AudioIODevice ("Fake Out", "Fake"), state (std::move (s)) {}
    ~FakeDevice() override { close(); }

    juce::StringArray getOutputChannelNames() override { return { "L", "R" }; }
    juce::StringArray getInputChannelNames() override { return { "L", "R" }; }
    juce::Array<double> getAvailableSampleRates() override { return { 44100.0 }; }
    juce::Array<int> getAvailableBufferSizes() override { return state->sizes; }
    int getDefaultBufferSize() override { return 512; }

    juce::String open (const juce::BigInteger&, const juce::BigInteger&, double rate, int size) override
    {
        ++state->opens;
        if (size == state->refusedSize)
            return "this size is refused";
        currentRate = rate;
        currentSize = size;
        state->open = true;
        return {};
    }

    void close() override { state->open = false; }
    bool isOpen() override { return state->open; }
    void start (juce::AudioIODeviceCallback* c) override { callback = c; }
    void stop() override { callback = nullptr; }
    bool isPlaying() override { return callback != nullptr; }
    juce::String getLastError() override { return {}; }
    int getCurrentBufferSizeSamples() override { return currentSize; }
    double getCurrentSampleRate() override { return currentRate; }
    int getCurrentBitDepth() override { return 16; }
    juce::BigInteger getActiveOutputChannels() const override { return 3; }
    juce::BigInteger getActiveInputChannels() const override { return 3; }
    int getOutputLatencyInSamples() override { return 0; }
    int getInputLatencyInSamples() override { return 0; }

private:
    std::shared_ptr<DriverState> state;
    juce::AudioIODeviceCallback* callback = nullptr;
    double currentRate = 0.0;
    int currentSize = 0;
};

class FakeType final : public juce::AudioIODeviceType
{
public:
    explicit FakeType (std::shared_ptr<DriverState> s) : juce::AudioIODeviceType ("Fake"), state (std::move (s)) {}
    void scanForDevices() override {}
    juce::StringArray getDeviceNames (bool) const override { return { "Fake Out" }; }
    int getDefaultDeviceIndex (bool) const override { return 0; }
    int getIndexOfDevice (juce::AudioIODevice* d, bool) const override { return d != nullptr ? 0 : -1; }
    bool hasSeparateInputsAndOutputs() const override { return false; }
    juce::AudioIODevice* createDevice (const juce::String&, const juce::String&) override { return new FakeDevice (state); }

private:
    std::shared_ptr<DriverState> state;
};

struct UiAudioSettings : public ::testing::Test
{
    UiAudioSettings()
    {
        manager.addAudioDeviceType (std::make_unique<FakeType> (driver));
        manager.setCurrentAudioDeviceType ("Fake", false);
        juce::AudioDeviceManager::AudioDeviceSetup setup;
        setup.outputDeviceName = setup.inputDeviceName = "Fake Out";
        setup.sampleRate = 44100.0;
        setup.bufferSize = 512;
        setup.useDefaultInputChannels = setup.useDefaultOutputChannels = true;
        EXPECT_TRUE (manager.setAudioDeviceSetup (setup, true).isEmpty());
    }

    ~UiAudioSettings() override { manager.closeAudioDevice(); }

    int currentSize() { return manager.getCurrentAudioDevice()->getCurrentBufferSizeSamples(); }

    std::shared_ptr<DriverState> driver = std::make_shared<DriverState>();
    juce::AudioDeviceManager manager;
};
} // namespace

TEST (UiBufferSizeSlider, ScalesAndTheNearestOfferedSize)
{
    const juce::Array<int> sizes { 64, 128, 256, 512, 1024, 2048, 4096 };
    BufferSizeSlider linear (0, sizes), root (1, sizes), log (2, sizes);

    EXPECT_DOUBLE_EQ (root.getMinimum(), 8.0);
    EXPECT_DOUBLE_EQ (root.getMaximum(), 64.0);
    EXPECT_DOUBLE_EQ (root.getInterval(), 0.00001);
    EXPECT_DOUBLE_EQ (linear.getMinimum(), 64.0);
    EXPECT_DOUBLE_EQ (linear.getInterval(), 1.0);
    EXPECT_DOUBLE_EQ (log.getMinimum(), 6.0);
    EXPECT_DOUBLE_EQ (log.getMaximum(), 12.0);

    EXPECT_EQ (root.sizeAt (15.0), 256) << "15 squared is 225, nearest 256";
    EXPECT_EQ (root.sizeAt (8.0), 64);
    EXPECT_EQ (root.sizeAt (64.0), 4096);
    EXPECT_EQ (log.sizeAt (9.4), 512) << "2^9.4 is 675, nearer 512 than 1024";
    EXPECT_EQ (linear.sizeAt (96.0), 64) << "a tie takes the smaller";
    EXPECT_EQ (linear.sizeAt (97.0), 128);
    EXPECT_EQ (BufferSizeSlider::nearestSize ({}, 300.0), 0);
    EXPECT_DOUBLE_EQ (BufferSizeSlider::rawSizeAt (7, 3.0), 512.0) << "an unknown scale reads as 512";

    // The text box shows the size and reads typed sizes back through the scale.
    EXPECT_EQ (root.getTextFromValue (15.0), "256");
    EXPECT_DOUBLE_EQ (root.getValueFromText ("1024"), 32.0);
    EXPECT_DOUBLE_EQ (log.getValueFromText ("256"), 8.0);

    BufferSizeSlider none (1, {});
    EXPECT_FALSE (none.isEnabled());
    EXPECT_EQ (none.sizeAt (12.0), 0);
}

TEST_F (UiAudioSettings, TheDevicesSizesUpTo4096AndTheLatencyOfTheCurrentOne)
{
    AudioBufferSizeSettingComponent panel (manager);
    auto& slider = panel.getSlider();
    EXPECT_EQ (slider.getAllowedSizes(), juce::Array<int> ({ 64, 128, 256, 512, 1024, 2048, 4096 })) << "8192 is never offered";
    EXPECT_DOUBLE_EQ (slider.getMinimum(), 8.0);
    EXPECT_DOUBLE_EQ (slider.getMaximum(), 64.0);
    EXPECT_NEAR (slider.getValue(), std::sqrt (512.0), 0.0001);
    EXPECT_TRUE (slider.isEnabled());
    EXPECT_EQ (panel.getLatencyLabel().getText(), "11.6ms");
    EXPECT_EQ (AudioBufferSizeSettingComponent::latencyText (512, 44100.0), "11.6ms");
    EXPECT_EQ (AudioBufferSizeSettingComponent::latencyText (512, 0.0), "---");
    EXPECT_EQ (panel.getWidth(), 300);
    EXPECT_EQ (panel.getHeight(), 80);
    EXPECT_EQ (panel.getCloseButton().getName(), "Close Button");

    T730LookAndFeel lookAndFeel;
    panel.setLookAndFeel (&lookAndFeel);
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (uitest::snapshot (panel), panel.getLocalBounds(), 2),
                                          "audio-settings"));
    panel.setLookAndFeel (nullptr);
}

TEST_F (UiAudioSettings, LettingGoReopensWithTheNearestSizeAndARefusedSizeKeepsTheOld)
{
    AudioBufferSizeSettingComponent panel (manager);
    auto& slider = panel.getSlider();
    const int opensBefore = driver->opens;

    // The value alone (as during a drag) reopens nothing until the slider is let go.
    slider.setValue (15.0, juce::dontSendNotification);
    EXPECT_EQ (driver->opens, opensBefore);
    panel.applySliderSize();
    EXPECT_EQ (currentSize(), 256);
    EXPECT_EQ (panel.getLastSizeSet(), 256);
    EXPECT_EQ (panel.getLatencyLabel().getText(), "5.8ms");
    EXPECT_DOUBLE_EQ (slider.getValue(), 16.0) << "the thumb goes to the size in use";
    EXPECT_TRUE (manager.getCurrentAudioDevice()->isPlaying()) << "a running device runs again";

    manager.getCurrentAudioDevice()->stop();
    slider.setValue (11.0, juce::dontSendNotification);
    panel.applySliderSize();
    EXPECT_EQ (currentSize(), 128);
    EXPECT_FALSE (manager.getCurrentAudioDevice()->isPlaying()) << "a stopped device stays stopped";
    slider.setValue (15.0, juce::dontSendNotification);
    panel.applySliderSize();
    EXPECT_EQ (currentSize(), 256);

    driver->refusedSize = 1024;
    slider.setValue (32.0, juce::dontSendNotification);
    panel.applySliderSize();
    EXPECT_EQ (currentSize(), 256) << "the old size is opened again";
    EXPECT_EQ (panel.getLastSizeSet(), 256);
    EXPECT_EQ (panel.getLatencyLabel().getText(), "5.8ms");
    EXPECT_DOUBLE_EQ (slider.getValue(), 16.0);

    // The same size again opens nothing.
    const int opens = driver->opens;
    slider.setValue (16.2, juce::dontSendNotification);
    panel.applySliderSize();
    EXPECT_EQ (driver->opens, opens);
}

TEST (UiAudioSettingsWithoutDevice, NoSizesGiveADisabledSliderAndNoLatency)
{
    juce::AudioDeviceManager manager;
    AudioBufferSizeSettingComponent panel (manager);
    EXPECT_FALSE (panel.getSlider().isEnabled());
    EXPECT_EQ (panel.getLatencyLabel().getText(), "---");
    panel.applySliderSize();
    EXPECT_EQ (AudioBufferSizeSettingComponent::reopenWithSize (manager, 256), 0);
}
