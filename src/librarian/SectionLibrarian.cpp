#include "librarian/SectionLibrarian.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "librarian/GroupFiles.h"
#include "ui/ControllerLink.h"
#include "ui/OxCursors.h"
#include "ui/SectionDialogs.h"
#include "ui/ToolTipEx.h"

namespace T730
{

namespace
{
    namespace L = layout;
    using art::Picture;

    constexpr int sectionTab = 0x01;

    struct ButtonSpec
    {
        const char* name;
        Picture normal, over;
        int x, y;
        const char* tooltip;
    };

    const ButtonSpec buttonSpecs[SectionLibrarian::numButtons] = {
        { "NEW", Picture::librarianNew, Picture::librarianNewOver, L::librarianButtonX[0], L::librarianGroupButtonY,
          "A new patch group of 100 patches" },
        { "DELETE", Picture::librarianDelete, Picture::librarianDeleteOver, L::librarianButtonX[1],
          L::librarianGroupButtonY, "Delete the selected patch group and its file" },
        { "GROUP IMPORT/EXPORT", Picture::librarianGroupImportExport, Picture::librarianGroupImportExportOver,
          L::librarianButtonX[2], L::librarianGroupButtonY, "Import a patch group file, or export the selected group" },
        { "BACKUP/RESTORE", Picture::librarianBackupRestore, Picture::librarianBackupRestoreOver,
          L::librarianButtonX[3], L::librarianGroupButtonY,
          "Back up every patch of the M7c into a new group, or restore the selected group to it" },
        { "ERASE", Picture::librarianErase, Picture::librarianEraseOver, L::librarianButtonX[0], L::librarianPatchButtonY,
          "Reset the selected patch" },
        { "PATCH IMPORT/EXPORT", Picture::librarianPatchImportExport, Picture::librarianPatchImportExportOver,
          L::librarianButtonX[1], L::librarianPatchButtonY, "Import a patch file into the selected place, or export the patch" },
        { "SAVE", Picture::librarianSave, Picture::librarianSaveOver, L::librarianButtonX[2], L::librarianPatchButtonY,
          "Store the current sound in the selected place" },
        { "SAVE AS", Picture::librarianSaveAs, Picture::librarianSaveAsOver, L::librarianButtonX[3],
          L::librarianPatchButtonY, "Store the current sound in another place" },
    };
} // namespace

SectionLibrarian::SectionLibrarian (ControllerLink& c)
    : controller (c), background (art::getImage (Picture::librarianBackground)),
      clock ([] { return juce::Time::getCurrentTime(); })
{
    controller.request (GetPatchManager, 0, 0, &patchManager);

    for (int i = 0; i < numButtons; ++i)
    {
        const auto& spec = buttonSpecs[i];
        auto& button = buttons[i];
        button = std::make_unique<juce::ImageButton> (spec.name);
        const auto normal = art::getImage (spec.normal), over = art::getImage (spec.over);
        button->setImages (false, false, true, normal, 1.0f, {}, over, 1.0f, {}, over, 1.0f, {});
        button->setBounds (spec.x, spec.y, normal.isValid() ? normal.getWidth() : L::librarianButtonWidth,
                           normal.isValid() ? normal.getHeight() : L::librarianButtonHeight);
        button->setTooltip (spec.tooltip);
        button->setWantsKeyboardFocus (false);
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    // ERASE and SAVE tell by their pointer that a protected group refuses them.
    buttons[eraseButton]->addMouseListener (this, false);
    buttons[saveButton]->addMouseListener (this, false);

    groupTable.setBounds (L::librarianGroupTable.x, L::librarianGroupTable.y, L::librarianGroupTable.w,
                          L::librarianGroupTable.h);
    patchTable.setBounds (L::librarianPatchTable.x, L::librarianPatchTable.y, L::librarianPatchTable.w,
                          L::librarianPatchTable.h);
    for (auto* table : std::initializer_list<EditableTable*> { &groupTable, &patchTable })
    {
        table->setListener (this);
        addAndMakeVisible (*table);
    }

    setSize (L::librarianWidth, L::librarianHeight);
    fillGroupTable();
    selectCurrentPatchOfToolSet();
    refresh();
}

SectionLibrarian::~SectionLibrarian()
{
    buttons[eraseButton]->removeMouseListener (this);
    buttons[saveButton]->removeMouseListener (this);
    for (auto& button : buttons)
        button->removeListener (this);
    groupTable.setListener (nullptr);
    patchTable.setListener (nullptr);
}

//==============================================================================
PatchSet* SectionLibrarian::getSelectedGroup() const
{
    return patchManager != nullptr ? patchManager->getGroup (groupTable.getSelectedRow()) : nullptr;
}

PatchData* SectionLibrarian::getSelectedPatch() const
{
    auto* group = getSelectedGroup();
    const int index = patchTable.getSelectedIndex();
    return group != nullptr && juce::isPositiveAndBelow (index, PatchSet::numPatches) ? &group->patches[(size_t) index]
                                                                                       : nullptr;
}

bool SectionLibrarian::isProtected() const
{
    return isProtectedGroup (getSelectedGroup());
}

SectionLibrarian::PatchRef SectionLibrarian::selectedRef() const
{
    auto* group = getSelectedGroup();
    return { group != nullptr ? group->path : juce::File(), patchTable.getSelectedIndex() };
}

PatchSet* SectionLibrarian::findGroup (const juce::File& file) const
{
    if (patchManager == nullptr || file == juce::File())
        return nullptr;

    for (int i = 0; i < patchManager->getNumGroups(); ++i)
        if (patchManager->getGroup (i)->path == file)
            return patchManager->getGroup (i);
    return nullptr;
}

PatchSet* SectionLibrarian::reselect (const PatchRef& ref)
{
    auto* group = findGroup (ref.groupFile);
    if (group == nullptr)
        return nullptr;

    const int row = patchManager->indexOf (group);
    if (row != groupTable.getSelectedRow() || groupTable.getRowCount() != patchManager->getNumGroups())
    {
        fillGroupTable();
        groupTable.select (row, 0);
        fillPatchTable();
    }
    if (juce::isPositiveAndBelow (ref.index, PatchSet::numPatches))
        patchTable.selectIndex (ref.index);
    return group;
}

void SectionLibrarian::selectCurrentPatchOfToolSet()
{
    // The tool set remembers its patch by the group file's path (or, after
    // loading, its name); the page opens on it when it is still there.
    const auto& project = controller.getCurrentProject();
    if (patchManager == nullptr || project.CurrentPatchSet.isEmpty())
        return;

    for (int i = 0; i < patchManager->getNumGroups(); ++i)
    {
        const auto& path = patchManager->getGroup (i)->path;
        if (path.getFullPathName() == project.CurrentPatchSet || path.getFileName() == project.CurrentPatchSet)
        {
            groupTable.select (i, 0);
            fillPatchTable();
            if (juce::isPositiveAndBelow (project.CurrentPatchIdx, PatchSet::numPatches))
                patchTable.selectIndex (project.CurrentPatchIdx);
            return;
        }
    }
}

//==============================================================================
void SectionLibrarian::fillGroupTable()
{
    groupTable.fill (patchManager);
}

void SectionLibrarian::fillPatchTable()
{
    auto* group = getSelectedGroup();
    patchTable.fill (group);

    if (group != nullptr)
    {
        const bool locked = isProtectedGroup (group);
        buttons[eraseButton]->setEnabled (! locked);
        buttons[saveButton]->setEnabled (! locked);
        if (! locked)
            buttons[deleteButton]->setEnabled (true);
    }

    // A protected group's name is its own too.
    groupTable.setEditable (! isProtectedGroup (group));
}

void SectionLibrarian::refresh()
{
    const int row = groupTable.getSelectedRow();
    int index = patchTable.getSelectedIndex();

    fillGroupTable();
    groupTable.select (row, 0);
    fillPatchTable();

    // A short protected group has no patch past its end to stay on.
    if (auto* group = getSelectedGroup(); group != nullptr && group->allKeyworded && index >= patchTable.getShownCount())
        index = 0;
    patchTable.selectIndex (index);

    scrollTablesToSelection();
    OxSection::updateSection();
}

void SectionLibrarian::scrollTablesToSelection()
{
    groupTable.scrollToSelection();
    patchTable.scrollToSelection();
}

void SectionLibrarian::applySelectedPatch()
{
    scrollTablesToSelection();

    auto* group = getSelectedGroup();
    auto* patch = getSelectedPatch();
    if (group == nullptr || patch == nullptr)
        return;

    // A copy, so that the device and the tool set get the same patch whatever happens meanwhile.
    PatchData copy (*patch);
    controller.request (SendEditBuffer, 0, 0, &copy.edit);
    controller.request (SetEditBuffer, 0, 0, &copy.edit);
    juce::String path = group->path.getFullPathName();
    controller.request (SetCurrentPatch, copy.index, 0, &path);
    controller.request (RecordUndoAndMarkEdited);
}

void SectionLibrarian::copyEditBufferInto (PatchData& patch)
{
    auto& buffer = controller.getCurrentProject().editBuffer;
    const juce::ScopedLock patchLock (patch.edit.lock);
    const juce::ScopedLock bufferLock (buffer.lock);
    std::copy (std::begin (buffer.params), std::end (buffer.params), std::begin (patch.edit.params));
}

//==============================================================================
bool SectionLibrarian::changeGroup (PatchSet& group, const std::function<void()>& change, bool notify)
{
    if (GroupFiles::checkOwnFile (group) != GroupFiles::Verdict::writable)
    {
        showError ("File error.");
        return false;
    }

    const auto before = GroupFiles::copyOf (group);
    change();

    if (! GroupFiles::writeGroup (group, group.path))
    {
        GroupFiles::restore (group, *before);
        showError ("File error.");
        if (notify)
            post (sectionTab);
        return false;
    }

    if (notify)
        post (sectionTab);
    return true;
}

bool SectionLibrarian::writeGroupTo (PatchSet& group, const juce::File& file, bool notify)
{
    const bool written = GroupFiles::writeGroup (group, file);
    if (! written)
        showError ("File error.");
    if (notify)
        post (sectionTab);
    return written;
}

SectionDialogs* SectionLibrarian::dialogs() const
{
    return controller.getDialogs();
}

void SectionLibrarian::showError (const juce::String& text)
{
    if (auto* d = dialogs())
        d->showError (text);
    else
        juce::Logger::writeToLog (text);
}

bool SectionLibrarian::confirm (const juce::String& text)
{
    auto* d = dialogs();
    return d != nullptr && d->confirm (text);
}

void SectionLibrarian::post (int sectionFlags)
{
    controller.postUpdate (sectionFlags);
}

//==============================================================================
bool SectionLibrarian::cellEdited (EditableTable& table, ModalEditLabel& label, const juce::String& text)
{
    auto* group = &table == &groupTable ? (patchManager != nullptr ? patchManager->getGroup (label.getRow()) : nullptr)
                                        : getSelectedGroup();

    if (group == nullptr || isProtectedGroup (group) || text.isEmpty() || GroupFiles::isReadOnly (group->path))
        return false;

    if (&table == &groupTable)
        return changeGroup (*group, [group, &text] { group->Name = text; }, false);

    const int index = label.getColumn() * PatchdataEditableTable::rows + label.getRow();
    if (! juce::isPositiveAndBelow (index, PatchSet::numPatches))
        return false;

    auto& patch = group->patches[(size_t) index];
    return changeGroup (*group, [&patch, &text] { patch.setName (text); }, true);
}

bool SectionLibrarian::canSelect (EditableTable& table, int column, int row)
{
    return &table != &patchTable || patchTable.canSelectCell (getSelectedGroup(), row, column);
}

void SectionLibrarian::selectionChanged (EditableTable& table, int, int)
{
    if (&table == &groupTable)
    {
        patchTable.selectIndex (0);
        fillPatchTable();
        applySelectedPatch();
        repaint();
        return;
    }

    applySelectedPatch();
}

void SectionLibrarian::cellMoved (EditableTable& table, int targetColumn, int targetRow, int sourceColumn,
                                  int sourceRow)
{
    if (&table == &groupTable)
    {
        if (patchManager == nullptr)
            return;

        patchManager->moveGroup (sourceRow, targetRow);
        groupTable.updateTexts (patchManager);
        groupTable.select (juce::jlimit (0, juce::jmax (0, patchManager->getNumGroups() - 1), targetRow), 0);
        fillPatchTable();
        return;
    }

    auto* group = getSelectedGroup();
    if (group == nullptr || isProtectedGroup (group))
        return;

    const int from = sourceColumn * PatchdataEditableTable::rows + sourceRow;
    const int to = targetColumn * PatchdataEditableTable::rows + targetRow;
    if (! juce::isPositiveAndBelow (from, PatchSet::numPatches) || ! juce::isPositiveAndBelow (to, PatchSet::numPatches))
        return;

    movePatch (*group, from, to);
}

void SectionLibrarian::movePatch (PatchSet& group, int from, int to)
{
    const bool written = changeGroup (group, [&group, from, to]
    {
        // Whole records move, every member; each then takes its new place.
        const PatchData moving = group.patches[(size_t) from];
        if (from < to)
            for (int k = from; k < to; ++k)
                group.patches[(size_t) k] = group.patches[(size_t) k + 1];
        else
            for (int k = from; k > to; --k)
                group.patches[(size_t) k] = group.patches[(size_t) k - 1];
        group.patches[(size_t) to] = moving;

        for (int k = juce::jmin (from, to); k <= juce::jmax (from, to); ++k)
        {
            group.patches[(size_t) k].index = k;
            group.patches[(size_t) k].owner = &group;
        }
    }, true);

    fillPatchTable();
    if (written)
        patchTable.selectIndex (to);
    refresh();
}

//==============================================================================
void SectionLibrarian::paint (juce::Graphics& g)
{
    if (background.isValid())
        g.drawImageAt (background, 0, 0);
    else
        g.fillAll (juce::Colours::black);
}

void SectionLibrarian::mouseMove (const juce::MouseEvent& event)
{
    auto* over = event.eventComponent;
    const bool watched = over != nullptr
                         && (over == buttons[eraseButton].get() || over == buttons[saveButton].get()
                             || over == wizardImportButton);
    if (! watched)
        return;

    const bool locked = isProtected();
    if (auto* button = dynamic_cast<juce::Button*> (over))
    {
        button->setEnabled (! locked);
        button->setMouseCursor (locked ? OxCursors::getInstance()->getCursor (5) : juce::MouseCursor::NormalCursor);
    }
}

void SectionLibrarian::mouseExit (const juce::MouseEvent&)
{
    if (auto* tip = ToolTipEx::getInstance())
        tip->hideTip();
}

} // namespace T730
