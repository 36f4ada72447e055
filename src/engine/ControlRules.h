#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** How a module description's "Ctrl" element describes its parameter, read the
    same way by the nodes of the effect network and by the editor. */
namespace ControlRules
{
    /** The highest "DspMax" kept: a device value travels in at most 14 bits. A
        damaged description's larger (or negative) value is brought within
        0..largestDspMax, so that nothing sized by the step count grows huge and
        no step arithmetic overflows. */
    constexpr int largestDspMax = 16383;

    /** The control's "DspMax" (1 when missing), within 0..largestDspMax. */
    int readDspMax (const juce::XmlElement& ctrl);

    /** The texts of the control's "PrmTable", for steps 0, 1, 2, ...: its first
        "String" child and every element after it (stray text between them is no
        entry). Empty when there is no table. */
    juce::StringArray readPrmTable (const juce::XmlElement& ctrl);
} // namespace ControlRules

} // namespace T730
