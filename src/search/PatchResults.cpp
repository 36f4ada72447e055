#include "search/PatchResults.h"

#include "app/ControllerRequest.h"
#include "art/ProgramArt.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "ui/ControllerLink.h"
#include "ui/OxFonts.h"
#include "ui/ToolTipEx.h"

namespace T730
{

//==============================================================================
SS_PatchListItem::SS_PatchListItem (int row, int column, const juce::Image& frame, const juce::Image& background)
    : SS_VScrollingUIItem (row, column), numberFrame (frame), chartBackground (background)
{
}

void SS_PatchListItem::setPatch (const PatchData* newPatch, const CharacterChart& chart)
{
    shown = newPatch != nullptr;
    if (shown)
    {
        patch = *newPatch;
        scores = chart.scoresOf (patch.edit);
        setText (patch.getName(), juce::dontSendNotification);
    }
    else
    {
        patch = PatchData();
        scores = {};
        setText ({}, juce::dontSendNotification);
    }
    repaint();
}

void SS_PatchListItem::paint (juce::Graphics& g)
{
    if (! shown)
        return;

    if (numberFrame.isValid())
        g.drawImageAt (numberFrame, 4, 1);
    g.setColour (getTextColour());
    g.setFont (arialFont (10.0f));
    g.drawSingleLineText (juce::String::formatted ("%03d", (int) patch.resultPosition), 12, 10);

    const auto font = nameFont();
    const auto name = shortened (patch.getName(), font, nameWidth);
    if (isHighlighted())
    {
        g.setColour (getTextColour());
        g.fillRoundedRectangle (3.0f, 22.0f, 46.0f, 18.0f, 5.0f);
    }
    g.setColour (isHighlighted() ? getSelectedTextColour() : getTextColour());
    g.setFont (font);
    g.drawSingleLineText (name, 5, 38);

    CharacterChart::draw (g, scores, chartBackground);
}

//==============================================================================
SS_PatchList::SS_PatchList (ControllerLink* c)
    : controller (c), numberFrame (art::getImage (art::Picture::searchNumberFrame)),
      chartBackground (art::getImage (art::Picture::searchChartBackground))
{
}

std::unique_ptr<ModalEditLabel> SS_PatchList::createCell (int row, int column)
{
    return std::make_unique<SS_PatchListItem> (row, column, numberFrame, chartBackground);
}

SearchTarget* SS_PatchList::getTarget (int index)
{
    return index >= 0 && index < (int) targets.size() ? &targets[(size_t) index] : nullptr;
}

const PatchData* SS_PatchList::getPatchTarget (int index) const
{
    return index >= 0 && index < (int) targets.size() ? &targets[(size_t) index] : nullptr;
}

juce::String SS_PatchList::getGroupFile (int index) const
{
    return groupFiles[index];
}

void SS_PatchList::fill (const PatchManager* store, bool firstFill)
{
    targets.clear();
    groupFiles.clear();
    characters.clear();

    if (store != nullptr)
        for (int g = 0; g < store->getNumGroups(); ++g)
        {
            const auto* group = store->getGroup (g);
            if (group == nullptr || ! group->allKeyworded)
                continue;
            for (const auto& patch : group->patches)
                if (patch.loaded)
                {
                    targets.push_back (patch);
                    groupFiles.add (group->path.getFullPathName());
                }
        }

    showAllTargets();
    if (firstFill)
        clearResults();
}

void SS_PatchList::search (const juce::String& freeText, const juce::StringArray& selectedWords)
{
    runSearch (SearchQuery (freeText, selectedWords));
}

void SS_PatchList::assignCell (SS_VScrollingUIItem& cell, int row)
{
    if (auto* patchCell = dynamic_cast<SS_PatchListItem*> (&cell))
    {
        const auto* patch = getPatchTarget (getResultIndex (row));
        patchCell->setPatch (patch, chart != nullptr ? *chart : noTables);
    }
}

//==============================================================================
void SS_PatchList::loadHighlighted()
{
    if (getHighlightedRow() < 0 || controller == nullptr)
        return;
    loadTarget (getResultIndex (getHighlightedRow()));
}

void SS_PatchList::loadTarget (int targetIndex)
{
    const auto* patch = getPatchTarget (targetIndex);
    if (patch == nullptr || controller == nullptr)
        return;

    auto& buffer = controller->getCurrentProject().editBuffer;
    buffer = patch->edit;   // the copy's lock first, then the tool set buffer's

    juce::String groupFile = getGroupFile (targetIndex);
    controller->request (SendEditBuffer, 0, 0, &buffer);
    controller->request (SetEditBuffer, 0, 0, &buffer);
    controller->request (SetCurrentPatch, patch->index, 0, &groupFile);
    controller->request (RecordUndoAndMarkEdited);
}

std::vector<int> SS_PatchList::findSimilar (int targetIndex, int count)
{
    if (getPatchTarget (targetIndex) == nullptr)
        return {};

    if (characters.size() != targets.size())
    {
        const auto& c = chart != nullptr ? *chart : noTables;
        characters.clear();
        characters.reserve (targets.size());
        for (const auto& patch : targets)
            characters.push_back (c.scoresOf (patch.edit));
    }
    return nearestCharacters (characters, characters[(size_t) targetIndex], count);
}

void SS_PatchList::showSimilarMenu (int row)
{
    const int index = getResultIndex (row);
    const auto* patch = getPatchTarget (index);
    if (patch == nullptr)
        return;

    juce::PopupMenu menu;
    menu.addSectionHeader ("Find similar to " + patch->getName());
    const auto similar = findSimilar (index);
    for (size_t i = 0; i < similar.size(); ++i)
    {
        const auto* other = getPatchTarget (similar[i]);
        const auto distance = characters[(size_t) similar[i]].distanceTo (characters[(size_t) index]);
        menu.addItem ((int) i + 1, other->getName() + juce::String::formatted ("   %.2f", distance));
    }

    juce::Component::SafePointer<SS_PatchList> safe (this);
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this).withMousePosition(),
                        [safe, similar] (int chosen)
                        {
                            if (safe != nullptr && chosen > 0 && chosen <= (int) similar.size())
                                safe->loadTarget (similar[(size_t) chosen - 1]);
                        });
}

//==============================================================================
void SS_PatchList::mouseDown (const juce::MouseEvent& event)
{
    const int row = rowAt (event.getPosition());
    if (row < 0)
        return;
    highlightRow (row);
    if (event.mods.isPopupMenu())
        showSimilarMenu (row);
}

void SS_PatchList::mouseDoubleClick (const juce::MouseEvent& event)
{
    if (! event.mods.isPopupMenu())
        loadHighlighted();
}

void SS_PatchList::mouseMove (const juce::MouseEvent& event)
{
    auto* tip = ToolTipEx::getInstance();
    const auto* patch = getPatchTarget (getResultIndex (rowAt (event.getPosition())));
    if (patch == nullptr)
    {
        tip->hideTip();
        return;
    }
    if (patch->tooltip.isEmpty())
        return;
    tip->setText (patch->tooltip);
    const auto screen = event.getScreenPosition();
    tip->placeAt (screen.x, screen.y);
    tip->showTip();
}

void SS_PatchList::mouseExit (const juce::MouseEvent&)
{
    ToolTipEx::getInstance()->hideTip();
}

} // namespace T730
