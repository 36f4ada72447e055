#pragma once

#include <juce_core/juce_core.h>

namespace apptest
{

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
