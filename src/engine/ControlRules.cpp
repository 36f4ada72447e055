#include "engine/ControlRules.h"

#include "documents/XmlPath.h"

namespace T730::ControlRules
{

int readDspMax (const juce::XmlElement& ctrl)
{
    return juce::jlimit (0, largestDspMax, getElementInt (&ctrl, "DspMax", 1));
}

juce::StringArray readPrmTable (const juce::XmlElement& ctrl)
{
    juce::StringArray texts;
    auto* table = findElement (&ctrl, "PrmTable");
    if (table == nullptr)
        return texts;

    for (auto* entry = table->getChildByName ("String"); entry != nullptr; entry = entry->getNextElement())
        if (! entry->isTextElement())
            texts.add (getOwnText (entry));
    return texts;
}

} // namespace T730::ControlRules
