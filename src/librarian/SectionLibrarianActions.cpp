// The librarian's eight buttons. Every dialog here runs a modal loop in which
// posted updates, timers and device messages go on: what an action works on is
// remembered by its group's file before a dialog and looked up again after it.
#include "librarian/SectionLibrarian.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"
#include "librarian/GroupFiles.h"
#include "librarian/SL_ModalWindow.h"
#include "librarian/StoreAs.h"
#include "platform/DataFolders.h"
#include "ui/ControllerLink.h"
#include "ui/NameCharacters.h"
#include "ui/OxDialog.h"
#include "ui/SectionDialogs.h"

namespace T730
{

namespace
{
    constexpr int sectionTab = 0x01, sectionEditor = 0x08, sectionPedalAssign = 0x10;
    constexpr const char* areYouSure = "Are you sure?";

    /** A file name in the documents folder made of a shown name (only the name
        characters are kept, so the suggestion never leaves the folder). */
    juce::File suggestedFile (const juce::String& shownName, const juce::String& fallback, const juce::String& extension)
    {
        auto name = keepAllowedNameCharacters (shownName).trim();
        if (name.isEmpty() || name == "." || name == "..")
            name = fallback;
        return childNamed (getDocumentsFolder(), name + "." + extension);
    }
} // namespace

void SectionLibrarian::buttonClicked (juce::Button* button)
{
    if (button == buttons[newButton].get())                    newGroup();
    else if (button == buttons[deleteButton].get())            deleteGroup();
    else if (button == buttons[groupImportExportButton].get()) groupImportExport();
    else if (button == buttons[backupRestoreButton].get())     backupRestore();
    else if (button == buttons[eraseButton].get())             erasePatch();
    else if (button == buttons[patchImportExportButton].get()) patchImportExport();
    else if (button == buttons[saveButton].get())              savePatch();
    else if (button == buttons[saveAsButton].get())            saveAs();
}

int SectionLibrarian::runWizard (SL_ModalWindow& wizard)
{
    return MessageBoxes::runModalComponent (wizard, {}, true);
}

//==============================================================================
void SectionLibrarian::newGroup()
{
    if (patchManager == nullptr)
        return;

    if (! patchManager->createGroup())
    {
        refresh();
        return;
    }

    patchManager->saveOrder();
    fillGroupTable();
    groupTable.select (patchManager->getNumGroups() - 1, 0);
    patchTable.selectIndex (0);
    fillPatchTable();
    applySelectedPatch();
}

void SectionLibrarian::deleteGroup()
{
    const auto ref = selectedRef();
    if (! confirm (areYouSure))
        return;

    auto* group = findGroup (ref.groupFile);
    if (group == nullptr || patchManager == nullptr)
    {
        refresh();
        return;
    }

    const int row = patchManager->indexOf (group);
    if (patchManager->deleteGroup (group))
    {
        if (patchManager->getNumGroups() == 0)
            newGroup();
        patchManager->saveOrder();
    }

    fillGroupTable();
    groupTable.select (row > 0 ? row - 1 : 0, 0);
    patchTable.selectIndex (0);
    refresh();
    applySelectedPatch();
    controller.request (RefreshDownloadSection);
    // The deleted group's patches are gone: the pages that list patches look again.
    post (sectionTab);
}

//==============================================================================
void SectionLibrarian::groupImportExport()
{
    const auto ref = selectedRef();
    SL_ModalWindow wizard (SL_ModalWindow::patchGroupWizard());
    const int choice = runWizard (wizard);

    if (choice == SL_ModalWindow::upperResult)
        importGroup();
    else if (choice == SL_ModalWindow::lowerResult)
        exportGroup (ref);
}

void SectionLibrarian::importGroup()
{
    auto* d = dialogs();
    juce::File chosen;
    if (d == nullptr || ! d->chooseFileToOpen ({}, "xml", chosen) || patchManager == nullptr)
        return;

    // The file is checked before anything is made, so a file that is not a
    // patch group of the M7c leaves nothing behind.
    juce::MemoryBlock bytes;
    const auto root = chosen.existsAsFile() && chosen.loadFileAsData (bytes) ? parseXmlData (bytes.getData(), bytes.getSize())
                                                                               : nullptr;
    const auto probe = std::make_unique<PatchSet>();
    if (root == nullptr || ! probe->read (root.get()))
    {
        showError ("Patch group import error.");
        refresh();
        return;
    }

    if (! patchManager->createGroup())
    {
        refresh();
        return;
    }

    // The new group's file is "New Patch Group nnn.xml" in the patch group
    // folder; it takes the imported file's own bytes (keywords and all), so the
    // group reads back as it was imported. The name inside comes with it.
    auto* group = patchManager->getGroup (patchManager->getNumGroups() - 1);
    if (! replaceFileContent (group->path, bytes.getData(), bytes.getSize()) || ! group->read (root.get()))
    {
        showError ("File error.");
        patchManager->deleteGroup (group);
        refresh();
        return;
    }

    patchManager->saveOrder();
    post (sectionTab);
    refresh();
}

void SectionLibrarian::exportGroup (const PatchRef& ref)
{
    auto* group = findGroup (ref.groupFile);
    auto* d = dialogs();
    if (group == nullptr || d == nullptr)
        return;

    const auto row = patchManager->indexOf (group);
    const auto initial = suggestedFile (groupTable.getCellText (row, 0), "Patch Group", "xml");
    juce::File chosen;
    if (! d->chooseFileToSave (initial, "xml", chosen))
        return;

    if (auto* again = findGroup (ref.groupFile))
        writeGroupTo (*again, chosen, true);
}

//==============================================================================
void SectionLibrarian::backupRestore()
{
    const auto ref = selectedRef();
    SL_ModalWindow wizard (SL_ModalWindow::backupWizard());
    const int choice = runWizard (wizard);

    if (choice == SL_ModalWindow::upperResult)
        backup();
    else if (choice == SL_ModalWindow::lowerResult)
        restore (ref);
}

void SectionLibrarian::backup()
{
    const auto name = clock().formatted ("%Y%m%d_%H%M%S");
    const auto folder = patchManager != nullptr && patchManager->getFolder() != juce::File()
                            ? patchManager->getFolder()
                            : getUserDataFolder (UserFolder::patchgroup, true);

    // A second backup within the same second, or any file of that name, is never written over.
    const auto file = GroupFiles::freeFileFor (folder, name);

    auto set = std::make_unique<PatchSet>();
    if (controller.request (BackupFromDevice, 0, 0, set.get()) == requestTrue)
    {
        set->Name = file.getFileNameWithoutExtension();
        set->path = file;
        if (file == juce::File())
            showError ("File error.");
        else
            writeGroupTo (*set, file, true);
    }

    // The store is read again (a failed backup leaves no file); every page that
    // shows its groups must then look again.
    if (patchManager != nullptr)
        patchManager->loadAll();
    refresh();
    post (sectionTab);
}

void SectionLibrarian::restore (const PatchRef& ref)
{
    if (! confirm (areYouSure))
        return;

    auto* group = findGroup (ref.groupFile);
    if (group == nullptr)
        return;

    // The transfer thread reads a copy: the store may change while the progress window runs.
    const auto copy = GroupFiles::copyOf (*group);
    controller.request (RestoreToDevice, copy->count, 0, copy.get());
}

//==============================================================================
void SectionLibrarian::erasePatch()
{
    const auto ref = selectedRef();
    if (! confirm (areYouSure))
        return;

    auto* group = reselect (ref);
    if (group != nullptr && ! isProtectedGroup (group))
    {
        auto& patch = group->patches[(size_t) ref.index];
        if (changeGroup (*group, [&patch] { patch.edit.reset(); }, false))
        {
            {
                auto& buffer = controller.getCurrentProject().editBuffer;
                const juce::ScopedLock patchLock (patch.edit.lock);
                const juce::ScopedLock bufferLock (buffer.lock);
                std::copy (std::begin (patch.edit.params), std::end (patch.edit.params), std::begin (buffer.params));
            }
            controller.request (SendEditBuffer, 0, 0, &patch.edit);
            controller.request (RecordUndoAndMarkEdited);
            post (sectionEditor);
            post (sectionPedalAssign);
        }
    }

    fillPatchTable();
    patchTable.scrollToSelection();
    repaint();
}

//==============================================================================
void SectionLibrarian::patchImportExport()
{
    const auto ref = selectedRef();
    SL_ModalWindow wizard (SL_ModalWindow::patchWizard());

    wizardImportButton = &wizard.getUpperButton();
    wizardImportButton->addMouseListener (this, false);
    wizardImportButton->setEnabled (! isProtected());
    const int choice = runWizard (wizard);
    wizardImportButton->removeMouseListener (this);
    wizardImportButton = nullptr;

    if (choice == SL_ModalWindow::upperResult)
        importPatch (ref);
    else if (choice == SL_ModalWindow::lowerResult)
        exportPatch (ref);
}

void SectionLibrarian::importPatch (const PatchRef& ref)
{
    if (isProtectedGroup (findGroup (ref.groupFile)))
        return;

    auto* d = dialogs();
    juce::File chosen;
    if (d == nullptr || ! d->chooseFileToOpen ({}, "xmp", chosen))
        return;

    auto* group = reselect (ref);
    if (group == nullptr || isProtectedGroup (group) || ! juce::isPositiveAndBelow (ref.index, PatchSet::numPatches))
        return;

    auto& patch = group->patches[(size_t) ref.index];
    const auto root = parseXmlFile (chosen);
    PatchData incoming (patch);
    if (! incoming.readPatchFile (root.get()) || ! incoming.fileImported)
    {
        showError ("Patch import error.");
        return;
    }

    if (changeGroup (*group, [&patch, &incoming] { patch = incoming; }, false))
    {
        fillPatchTable();
        applySelectedPatch();
    }
}

void SectionLibrarian::exportPatch (const PatchRef& ref)
{
    auto* d = dialogs();
    auto* group = findGroup (ref.groupFile);
    if (d == nullptr || group == nullptr || ! juce::isPositiveAndBelow (ref.index, PatchSet::numPatches))
        return;

    const auto initial = suggestedFile (patchTable.getCellText (ref.index % PatchdataEditableTable::rows,
                                                                ref.index / PatchdataEditableTable::rows),
                                        "Patch", "xmp");
    juce::File chosen;
    if (! d->chooseFileToSave (initial, "xmp", chosen))
        return;

    if (auto* again = findGroup (ref.groupFile))
        if (! GroupFiles::writePatch (again->patches[(size_t) ref.index], chosen))
            showError ("File error.");
}

//==============================================================================
void SectionLibrarian::savePatch()
{
    auto* group = getSelectedGroup();
    auto* patch = getSelectedPatch();
    if (group == nullptr || patch == nullptr || isProtectedGroup (group))
        return;

    changeGroup (*group, [this, patch] { copyEditBufferInto (*patch); }, false);
    fillPatchTable();
    patchTable.scrollToSelection();
    repaint();
}

void SectionLibrarian::saveAs()
{
    const auto source = selectedRef();

    bool accepted = false;
    PatchRef destination;
    {
        StoreAs dialog (controller);
        dialog.select (groupTable.getSelectedRow(), patchTable.getSelectedIndex());
        dialog.setSize (layout::storeAsWidth, layout::storeAsHeight);
        dialog.setVisible (true);
        MessageBoxes::runModalComponent (dialog, "Storing Patches", true);
        accepted = dialog.isAccepted();
        destination = { dialog.getChosenGroupFile(), dialog.getChosenPatchIndex() };
    }

    if (accepted)
    {
        auto* group = findGroup (destination.groupFile);
        if (group != nullptr && ! isProtectedGroup (group)
            && juce::isPositiveAndBelow (destination.index, PatchSet::numPatches))
        {
            // The stored patch takes the current sound and the name of the patch that was selected.
            auto* from = findGroup (source.groupFile);
            const auto name = from != nullptr && juce::isPositiveAndBelow (source.index, PatchSet::numPatches)
                                  ? from->patches[(size_t) source.index].getName()
                                  : controller.getCurrentProject().editBuffer.name;

            reselect (destination);
            auto& patch = group->patches[(size_t) destination.index];
            changeGroup (*group, [this, &patch, &name] { copyEditBufferInto (patch); patch.setName (name); }, false);
        }

        fillPatchTable();
        patchTable.scrollToSelection();
        applySelectedPatch();
    }

    toFront (true);
    grabKeyboardFocus();
}

} // namespace T730
