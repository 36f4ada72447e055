#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The process-wide audio lock. The audio callback (and the mix-down, which
    renders like it) holds it for a whole block; every transport command,
    every replacement of the list the callback renders and every buffer change
    hold it only for the few field changes they make, so that they land between
    two blocks. It is recursive: jam operations that the audio thread reaches
    from inside a block (through the controller's requests) take it again. */
juce::CriticalSection& getAudioLock();

} // namespace T730
