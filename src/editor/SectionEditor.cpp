#include "editor/SectionEditor.h"

#include "art/ArtLayout.h"
#include "ui/OxCursors.h"

namespace T730
{

SectionEditor::SectionEditor (ControllerLink& c) : controller (c)
{
    const auto& b = layout::editorSection;
    setBounds (b.x, b.y, b.w, b.h);
    setInterceptsMouseClicks (false, true);
    juce::ignoreUnused (controller);
}

SectionEditor::~SectionEditor()
{
    OxCursors::deleteInstance();
}

void SectionEditor::updateSection()
{
    OxSection::updateSection();
}

void SectionEditor::deviceMessageReceived (const MidiRecvEv&)
{
}

void SectionEditor::updateTooltip()
{
}

} // namespace T730
