#pragma once

#include <juce_core/juce_core.h>

namespace apptest
{

/** Collects the log lines written while it is the current logger. */
class CapturedLog : public juce::Logger
{
public:
    CapturedLog() : previous (juce::Logger::getCurrentLogger()) { juce::Logger::setCurrentLogger (this); }
    ~CapturedLog() override { juce::Logger::setCurrentLogger (previous); }

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

/** The twelve keys of the settings file, in their order. */
inline juce::StringArray settingKeys()
{
    return { "HostVersion", "EasyBoot", "WindowX", "WindowY", "CurrentProject", "MasterLv",
             "Character", "TimeLastDownloadInfo", "DrummerX", "DrummerY", "BassistX", "BassistY" };
}

/** The tag names of an element's children, in order. */
inline juce::StringArray childTags (const juce::XmlElement& element)
{
    juce::StringArray tags;
    for (auto* child : element.getChildIterator())
        tags.add (child->getTagName());
    return tags;
}

} // namespace apptest
