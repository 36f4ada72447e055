#pragma once

#include "documents/XmlParser.h"

#include <juce_core/juce_core.h>

namespace rhythmtest
{

inline std::unique_ptr<juce::XmlElement> xml (const juce::String& text)
{
    return T730::parseXmlText (text);
}

} // namespace rhythmtest
