#pragma once

#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;

/** The search page of the tab section: patches and songs found by keywords and
    free text. Its lists come with the search itself; until then the page is empty. */
class SectionSearch : public OxSection
{
public:
    explicit SectionSearch (ControllerLink& controller);

    /** Rebuilds the result lists from the patch and song stores (once the lists exist). */
    void updateLists();

private:
    ControllerLink& controller;

    JUCE_DECLARE_NON_COPYABLE (SectionSearch)
};

} // namespace T730
