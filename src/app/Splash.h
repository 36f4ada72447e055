#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The picture shown while the program starts: 452 x 283 with the program's
    version at its foot, on top of everything, centred on the screen. It stays
    at least one second; closing it earlier leaves it up (over the main window)
    for the rest of that second. Message thread only. */
class Splash : public juce::Component, private juce::Timer
{
public:
    Splash();
    ~Splash() override;

    /** Puts the splash on the screen (when its picture loaded): a window named
        "OXA" without title bar, with a drop shadow, in front without taking
        the keyboard focus. It paints when the message loop next runs. */
    void show();

    /** Hides the splash once it has been up for 1000 ms (at once when it is
        already older, and nothing when it is not shown); returns at once. */
    void close();

    /** True once the splash has painted itself on the screen. */
    bool hasPainted() const noexcept { return painted; }

    /** True between show and the moment close hid it. */
    bool isUp() const noexcept { return isVisible(); }

    /** The millisecond counter when it was shown. */
    juce::uint32 getShownAt() const noexcept { return shownAt; }

    void paint (juce::Graphics& g) override;

    static constexpr int minimumShowMs = 1000;

private:
    void timerCallback() override;

    juce::uint32 shownAt = 0;
    juce::Image picture;
    juce::String versionText;
    bool painted = false;

    JUCE_DECLARE_NON_COPYABLE (Splash)
};

namespace T730
{

/** The version window: the splash picture with the program's version and the
    device's version text. */
class VersionInf : public juce::Component
{
public:
    VersionInf();

    void setDeviceVersion (const juce::String& text) { deviceVersion = text; repaint(); }
    const juce::String& getSystemVersion() const noexcept { return systemVersion; }

    void paint (juce::Graphics& g) override;

    /** Shows a version window with the device's version text modally, titled
        "Version Info", centred over the parent (when it still exists). */
    static void show (const juce::String& deviceVersion, juce::Component* parent);

private:
    juce::String systemVersion, deviceVersion;
    juce::Image picture;

    JUCE_DECLARE_NON_COPYABLE (VersionInf)
};

} // namespace T730
