#include "TestSupport.h"

#include <juce_events/juce_events.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace oxatest
{

TempFolder::TempFolder()
{
    // mkdtemp picks a name no other process (ctest runs tests side by side) can take.
    auto pattern = juce::File::getSpecialLocation (juce::File::tempDirectory)
                       .getChildFile ("oxa-test-XXXXXX").getFullPathName().toStdString();
    if (::mkdtemp (pattern.data()) != nullptr)
        folder = juce::File (juce::String (pattern));
}

TempFolder::~TempFolder()
{
    folder.setReadOnly (false, true);
    folder.deleteRecursively();
}

ScopedFileSizeLimit::ScopedFileSizeLimit (long long maxBytes)
{
    struct rlimit old {};
    if (getrlimit (RLIMIT_FSIZE, &old) != 0)
        return;

    previousSoft = (long long) old.rlim_cur;
    previousHard = (long long) old.rlim_max;
    previousHandler = std::signal (SIGXFSZ, SIG_IGN);

    struct rlimit small = old;
    small.rlim_cur = (rlim_t) maxBytes;
    active = setrlimit (RLIMIT_FSIZE, &small) == 0;
}

ScopedFileSizeLimit::~ScopedFileSizeLimit()
{
    struct rlimit old {};
    old.rlim_cur = (rlim_t) previousSoft;
    old.rlim_max = (rlim_t) previousHard;
    if (active)
        setrlimit (RLIMIT_FSIZE, &old);
    std::signal (SIGXFSZ, previousHandler);
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
