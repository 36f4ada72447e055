#pragma once

#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;

/** The librarian page of the tab section: patch groups and patches, moved,
    renamed, imported, exported, backed up and restored. Its tables come with
    the librarian itself; until then the page is empty. */
class SectionLibrarian : public OxSection
{
public:
    explicit SectionLibrarian (ControllerLink& controller);

    /** Re-reads the patch groups from the patch store (once the tables exist). */
    void refresh();

private:
    ControllerLink& controller;

    JUCE_DECLARE_NON_COPYABLE (SectionLibrarian)
};

} // namespace T730
