#include "librarian/StoreAs.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "documents/PatchManager.h"
#include "ui/ControllerLink.h"
#include "ui/OxCursors.h"

namespace T730
{

namespace
{
    namespace L = layout;

    void setUpButton (juce::ImageButton& button, art::Picture normal, art::Picture over)
    {
        const auto n = art::getImage (normal), o = art::getImage (over);
        button.setImages (false, false, true, n, 1.0f, {}, o, 1.0f, {}, o, 1.0f, {}, 0.3f);
        button.setSize (L::storeAsButtonWidth, L::storeAsButtonHeight);
        button.setWantsKeyboardFocus (false);
    }
} // namespace

StoreAs::StoreAs (ControllerLink& c) : controller (c), background (art::getImage (art::Picture::storeAsBackground))
{
    controller.request (GetPatchManager, 0, 0, &patchManager);

    setUpButton (saveButton, art::Picture::storeAsSave, art::Picture::storeAsSaveOver);
    setUpButton (cancelButton, art::Picture::storeAsCancel, art::Picture::storeAsCancelOver);
    cancelButton.setTopLeftPosition (L::storeAsCancelX, L::storeAsButtonY);
    saveButton.setTopLeftPosition (L::storeAsSaveX, L::storeAsButtonY);

    for (auto* table : std::initializer_list<EditableTable*> { &groupTable, &patchTable })
    {
        table->setLookAndFeel (&lookAndFeel);
        table->setEditable (false);
        table->setDraggable (false);
        table->setListener (this);
        addAndMakeVisible (*table);
    }
    groupTable.setBounds (L::storeAsGroupTable.x, L::storeAsGroupTable.y, L::storeAsGroupTable.w, L::storeAsGroupTable.h);
    patchTable.setBounds (L::storeAsPatchTable.x, L::storeAsPatchTable.y, L::storeAsPatchTable.w, L::storeAsPatchTable.h);

    for (auto* button : { &cancelButton, &saveButton })
    {
        button->addListener (this);
        addAndMakeVisible (*button);
    }
    saveButton.addMouseListener (this, false);

    groupTable.fill (patchManager);
    listedFiles.clear();
    if (patchManager != nullptr)
        for (int i = 0; i < patchManager->getNumGroups(); ++i)
            listedFiles.add (patchManager->getGroup (i)->path);
    fillPatchTable();

    setSize (L::storeAsWidth, L::storeAsHeight);
}

StoreAs::~StoreAs()
{
    saveButton.removeMouseListener (this);
    for (auto* button : { &cancelButton, &saveButton })
        button->removeListener (this);
    groupTable.setLookAndFeel (nullptr);
    patchTable.setLookAndFeel (nullptr);
}

PatchSet* StoreAs::getSelectedGroup() const
{
    if (patchManager == nullptr || ! juce::isPositiveAndBelow (groupTable.getSelectedRow(), listedFiles.size()))
        return nullptr;

    const auto& file = listedFiles.getReference (groupTable.getSelectedRow());
    for (int i = 0; i < patchManager->getNumGroups(); ++i)
        if (patchManager->getGroup (i)->path == file)
            return patchManager->getGroup (i);
    return nullptr;
}

void StoreAs::fillPatchTable()
{
    auto* group = getSelectedGroup();
    patchTable.fill (group);
    patchTable.setEditable (false);
    patchTable.setDraggable (false);
    saveButton.setEnabled (! isProtectedGroup (group));
}

void StoreAs::select (int groupRow, int patchIndex)
{
    groupTable.select (groupRow, 0);
    groupTable.scrollToSelection();
    patchTable.selectIndex (0);
    fillPatchTable();
    if (juce::isPositiveAndBelow (patchIndex, PatchSet::numPatches))
        patchTable.selectIndex (patchIndex);
    patchTable.scrollToSelection();
    repaint();
}

void StoreAs::paint (juce::Graphics& g)
{
    if (background.isValid())
        g.drawImageAt (background, 0, 0);
    else
        g.fillAll (juce::Colours::black);
}

void StoreAs::mouseMove (const juce::MouseEvent& event)
{
    if (event.eventComponent == &saveButton)
        saveButton.setMouseCursor (isProtectedGroup (getSelectedGroup()) ? OxCursors::getInstance()->getCursor (5)
                                                                          : juce::MouseCursor::NormalCursor);
}

bool StoreAs::canSelect (EditableTable& table, int column, int row)
{
    return &table != &patchTable || patchTable.canSelectCell (getSelectedGroup(), row, column);
}

void StoreAs::selectionChanged (EditableTable& table, int, int)
{
    if (&table == &groupTable)
    {
        patchTable.selectIndex (0);
        fillPatchTable();
    }

    groupTable.scrollToSelection();
    patchTable.scrollToSelection();
    groupTable.repaint();
    patchTable.repaint();
}

void StoreAs::buttonClicked (juce::Button* button)
{
    if (button == &saveButton)
    {
        // A protected group never takes a patch, however the button was reached.
        auto* group = getSelectedGroup();
        if (isProtectedGroup (group))
            return;

        chosenFile = group->path;
        chosenIndex = patchTable.getSelectedIndex();
        finish (true);
    }
    else if (button == &cancelButton)
    {
        finish (false);
    }
}

void StoreAs::finish (bool save)
{
    accepted = save;
    if (auto* window = getTopLevelComponent(); window != nullptr && window->isCurrentlyModal (false))
        window->exitModalState (save ? 1 : 0);
}

} // namespace T730
