#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class HelloWorldWindow;

/** The application object: creates the main window at start and deletes it at
    shut-down. Only one instance runs; a second launch does nothing. */
class JUCEHelloWorldApplication : public juce::JUCEApplication
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
    std::unique_ptr<HelloWorldWindow> window;
};
