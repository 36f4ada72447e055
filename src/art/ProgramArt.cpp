#include "art/ProgramArt.h"

namespace T730::art
{

juce::Image getImage (Picture)
{
    return {};
}

} // namespace T730::art
