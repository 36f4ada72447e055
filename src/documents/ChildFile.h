#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The file or folder of that name (or relative path) inside the folder. A
    leading "~" is an ordinary character of the name here, never the home folder
    (juce::File::getChildFile reads "~" and "~user" names as home folders). */
inline juce::File childNamed (const juce::File& folder, const juce::String& name)
{
    return folder.getChildFile ("./" + name);
}

} // namespace T730
