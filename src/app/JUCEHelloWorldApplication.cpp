#include "app/JUCEHelloWorldApplication.h"
#include "app/HelloWorldWindow.h"

JUCEHelloWorldApplication::JUCEHelloWorldApplication() = default;
JUCEHelloWorldApplication::~JUCEHelloWorldApplication() = default;

void JUCEHelloWorldApplication::initialise (const juce::String&)
{
    window = std::make_unique<HelloWorldWindow>();
}

void JUCEHelloWorldApplication::shutdown()
{
    window.reset();
}
