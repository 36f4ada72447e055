#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** One of the main component's sections (or one of the tab section's pages):
    a component at fixed bounds over the background picture, which re-reads
    what it shows when asked. */
class OxSection : public juce::Component
{
public:
    OxSection() = default;

    /** Re-reads everything the section shows from the controller, the documents
        and the engines, then repaints. Sections that override it call this base
        (it counts the updates and repaints). */
    virtual void updateSection()
    {
        ++timesUpdated;
        repaint();
    }

    /** How often the section was updated. */
    int getTimesUpdated() const noexcept { return timesUpdated; }

private:
    int timesUpdated = 0;

    JUCE_DECLARE_NON_COPYABLE (OxSection)
};

} // namespace T730
