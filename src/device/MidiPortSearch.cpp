#include "device/MidiPortSearch.h"

namespace T730
{

juce::Array<int> findPortCandidates (const juce::StringArray& inputNames, const juce::String& wanted)
{
    juce::Array<int> candidates;

    if (wanted.isEmpty())
        return candidates;

    for (int i = 0; i < inputNames.size(); ++i)
        if (inputNames[i] == wanted)
        {
            candidates.add (i);
            break;
        }

    for (int i = 0; i < inputNames.size(); ++i)
        if (inputNames[i].containsIgnoreCase (wanted))
            candidates.addIfNotAlreadyThere (i);

    return candidates;
}

} // namespace T730
