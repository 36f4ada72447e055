#include "search/SectionSearch.h"

namespace T730
{

SectionSearch::SectionSearch (ControllerLink& c) : controller (c)
{
    setInterceptsMouseClicks (false, true);
    juce::ignoreUnused (controller);
}

void SectionSearch::updateLists()
{
    updateSection();
}

} // namespace T730
