#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class HelloWorldWindow;
class Splash;

/** The application object: puts up the splash, creates the main window once the
    splash has painted, and deletes the window at shut-down. Only one instance
    runs; a second launch does nothing. */
class JUCEHelloWorldApplication : public juce::JUCEApplication, private juce::Timer
{
public:
    JUCEHelloWorldApplication();
    ~JUCEHelloWorldApplication() override;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;

    const juce::String getApplicationName() override { return "OXA Tools"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return false; }
    void anotherInstanceStarted (const juce::String&) override {}
    void systemRequestedQuit() override { quit(); }

private:
    void timerCallback() override;
    void createWindow();

    std::unique_ptr<Splash> splash;
    std::unique_ptr<HelloWorldWindow> window;
    juce::uint32 splashShownAt = 0;

    /** The longest the window waits for the splash to paint. */
    static constexpr int splashPaintWaitMs = 300;
};
