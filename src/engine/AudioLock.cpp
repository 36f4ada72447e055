#include "engine/AudioLock.h"

namespace T730
{

juce::CriticalSection& getAudioLock()
{
    static juce::CriticalSection lock;
    return lock;
}

} // namespace T730
