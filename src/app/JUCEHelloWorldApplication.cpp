#include "app/JUCEHelloWorldApplication.h"

#include "platform/Platform.h"
#include "app/HelloWorldWindow.h"
#include "app/Splash.h"

JUCEHelloWorldApplication::JUCEHelloWorldApplication() = default;
JUCEHelloWorldApplication::~JUCEHelloWorldApplication() = default;

void JUCEHelloWorldApplication::initialise (const juce::String&)
{
    T730::platform::ignoreBrokenPipes();

    // The splash goes up first and is painted by the message loop; the window (and
    // with it the controller) is built once it has painted, so that nothing runs a
    // message loop of its own inside the controller's construction to paint it.
    splash = std::make_unique<Splash>();
    splash->show();
    splashShownAt = juce::Time::getMillisecondCounter();

    if (! splash->isUp())
    {
        createWindow();
        return;
    }

    startTimer (5);
}

void JUCEHelloWorldApplication::timerCallback()
{
    const bool waitedLongEnough = juce::Time::getMillisecondCounter() - splashShownAt >= (juce::uint32) splashPaintWaitMs;
    if (! splash->hasPainted() && ! waitedLongEnough)
        return;

    stopTimer();
    createWindow();
}

void JUCEHelloWorldApplication::createWindow()
{
    window = std::make_unique<HelloWorldWindow>();

    // The splash stays over the window for the rest of its second.
    if (splash != nullptr)
        splash->close();
}

void JUCEHelloWorldApplication::shutdown()
{
    stopTimer();
    window.reset();
    splash.reset();
}
