#pragma once

#include "documents/XmlParser.h"

#include <juce_core/juce_core.h>

namespace rhythmtest
{

/** The log lines written while it lives. */
class LogCapture : public juce::Logger
{
public:
    LogCapture() : previous (juce::Logger::getCurrentLogger()) { juce::Logger::setCurrentLogger (this); }
    ~LogCapture() override { juce::Logger::setCurrentLogger (previous); }
    void logMessage (const juce::String& message) override
    {
        const juce::ScopedLock sl (lock);
        lines.add (message);
    }
    juce::StringArray getLines() const
    {
        const juce::ScopedLock sl (lock);
        return lines;
    }

private:
    juce::Logger* previous;
    juce::CriticalSection lock;
    juce::StringArray lines;
};

inline std::unique_ptr<juce::XmlElement> xml (const juce::String& text)
{
    return T730::parseXmlText (text);
}

} // namespace rhythmtest
