#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The MIDI inputs worth trying for one of the device's port names, in the
    order they are tried: the input of exactly that name first, then every
    input whose name contains it, ignoring case ("2- USB Audio Device" for
    "USB Audio Device"). Indices into `inputNames`, no index twice. */
juce::Array<int> findPortCandidates (const juce::StringArray& inputNames, const juce::String& wanted);

} // namespace T730
