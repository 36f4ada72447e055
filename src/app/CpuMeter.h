#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <functional>

namespace T730
{

class GuiMain;

/** Samples the processor load from the system's processor time counters
    (the "cpu" line of /proc/stat): load = busy / total time since the last
    sample, averaged over the last three samples. The previous counters are
    shared by every sampler of the process, under one lock. */
class CPUResource
{
public:
    /** Processor time counters; kernel time includes idle time. */
    struct Times
    {
        juce::uint64 idle = 0, kernel = 0, user = 0;
    };

    /** Fills the counters; false when they cannot be read. */
    using Reader = std::function<bool (Times&)>;

    /** Reads the counters from /proc/stat. */
    static bool readSystemTimes (Times& times);

    /** The counters of the "cpu" line of /proc/stat's text: idle = idle + iowait,
        kernel = system + irq + softirq + steal + idle, user = user + nice. */
    static bool parseProcStat (const juce::String& text, Times& times);

    /** The load between two samples: (total - idle) / total, clamped to 0..1;
        0 when no processor time passed or none was busy. */
    static float loadBetween (const Times& previous, const Times& now);

    /** Takes the first sample into the shared counters; unavailable when they cannot be read. */
    explicit CPUResource (Reader reader = readSystemTimes);

    /** Takes a sample: the load since the last one becomes the newest of three. */
    void update();

    /** The mean of the last three loads. */
    float getLoad() const noexcept { return (history[0] + history[1] + history[2]) / 3.0f; }

    bool isAvailable() const noexcept { return available; }

private:
    Reader reader;
    bool available = false;
    float history[3] = { 0.0f, 0.0f, 0.0f }; // newest first

    JUCE_DECLARE_NON_COPYABLE (CPUResource)
};

/** The CPU meter: the background picture with the label and an unlit slot,
    and the left part of the lit bar, trunc(39 * load) pixels, at (51, 6).
    Its timer (started by the menu command, 1000 ms) takes a sample per tick. */
class CpuMeter : public juce::Component, public juce::Timer
{
public:
    explicit CpuMeter (CPUResource::Reader reader = CPUResource::readSystemTimes);

    void timerCallback() override;
    void paint (juce::Graphics& g) override;

    float getLoad() const noexcept { return load; }

    /** The lit width of the bar for a load. */
    static int litWidth (float load) noexcept;

private:
    CPUResource sampler;
    float load = 0.0f;
    juce::Image background, bar;

    JUCE_DECLARE_NON_COPYABLE (CpuMeter)
};

/** The window of the CPU meter: "CPU Meter", on top, not resizable, centred on
    the screen, hidden until the menu command shows it. Closing it stops the
    meter and brings the main component back to the front. */
class CpuMeterWindow : public juce::DialogWindow
{
public:
    explicit CpuMeterWindow (GuiMain* gui);
    ~CpuMeterWindow() override;

    /** Starts the meter's timer at 1000 ms, shows the window and brings it to the front. */
    void showMeter();

    void closeButtonPressed() override;

    CpuMeter& getMeter() noexcept { return meter; }

private:
    CpuMeter meter;
    juce::Component::SafePointer<juce::Component> gui;

    JUCE_DECLARE_NON_COPYABLE (CpuMeterWindow)
};

} // namespace T730
