#include "TestSupport.h"

#include <juce_events/juce_events.h>

namespace oxatest
{

TempFolder::TempFolder()
{
    folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                 .getNonexistentChildFile ("oxa-test", {}, false);
    folder.createDirectory();
}

TempFolder::~TempFolder()
{
    folder.setReadOnly (false, true);
    folder.deleteRecursively();
}

juce::File testData (const juce::String& relative)
{
    return juce::File (OXA_TEST_DATA_DIR).getChildFile (relative);
}

juce::File stageFolder()
{
    return juce::File (OXA_STAGE_DIR);
}

bool pumpMessagesUntil (const std::function<bool()>& done, int timeoutMs)
{
    auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (juce::Time::getMillisecondCounter() < end)
    {
        if (done && done())
            return true;
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }
    return done ? done() : true;
}

} // namespace oxatest
