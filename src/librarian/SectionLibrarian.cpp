#include "librarian/SectionLibrarian.h"

namespace T730
{

SectionLibrarian::SectionLibrarian (ControllerLink& c) : controller (c)
{
    setInterceptsMouseClicks (false, true);
    juce::ignoreUnused (controller);
}

void SectionLibrarian::refresh()
{
    updateSection();
}

} // namespace T730
