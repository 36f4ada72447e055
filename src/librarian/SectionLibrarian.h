#pragma once

#include "librarian/PatchTables.h"
#include "ui/OxSection.h"

#include <functional>

namespace T730
{

class ControllerLink;
class PatchManager;
class PatchSet;
class PatchData;
class SectionDialogs;
class SL_ModalWindow;

/** The librarian page of the tab section: the patch groups of the store in a
    list and the 100 patches of the selected group in a grid of 5 x 20.
    Selecting a patch makes it the current patch (sent to the device, copied
    into the tool set's edit buffer). Eight buttons make, delete, import,
    export, back up and restore groups and erase, import, export, save and
    save elsewhere single patches; names are edited in place and groups and
    patches are reordered by dragging. A protected group (see
    isProtectedGroup) keeps its names and patches.

    Every change of a group is written over its file at once (the file is only
    written when it is still a patch group that may be written, and a failed
    write puts the group back as it was and shows "File error."). The dialogs
    run modal loops in which the store can change; what the page works on is
    looked up again by its file when they return. Message thread only. */
class SectionLibrarian : public OxSection, private juce::Button::Listener, private EditableTableListener
{
public:
    explicit SectionLibrarian (ControllerLink& controller);
    ~SectionLibrarian() override;

    /** Reloads both tables from the store, keeping the selected group row and patch. */
    void refresh();
    void updateSection() override { refresh(); }

    void paint (juce::Graphics& g) override;
    void mouseMove (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;

    enum ButtonId
    {
        newButton, deleteButton, groupImportExportButton, backupRestoreButton,
        eraseButton, patchImportExportButton, saveButton, saveAsButton, numButtons
    };

    juce::ImageButton& getButton (ButtonId id) noexcept { return *buttons[id]; }
    PatchsetEditableTable& getGroupTable() noexcept { return groupTable; }
    PatchdataEditableTable& getPatchTable() noexcept { return patchTable; }

    /** The group of the selected row (null when none). */
    PatchSet* getSelectedGroup() const;
    /** The selected patch of the selected group (null when none). */
    PatchData* getSelectedPatch() const;
    int getSelectedPatchIndex() const noexcept { return patchTable.getSelectedIndex(); }
    /** No group selected, or the selected one is protected. */
    bool isProtected() const;

    /** The clock that names backups (the system's unless a test sets another). */
    void setClock (std::function<juce::Time()> newClock) { clock = std::move (newClock); }

    /** While the patch wizard runs: its IMPORT button (else null). */
    juce::Button* getWizardImportButton() const noexcept { return wizardImportButton; }

private:
    /** A patch as the user saw it selected: its group's file and its place. */
    struct PatchRef
    {
        juce::File groupFile;
        int index = 0;
    };

    // Button actions (SectionLibrarianActions.cpp).
    void buttonClicked (juce::Button* button) override;
    void newGroup();
    void deleteGroup();
    void groupImportExport();
    void importGroup();
    void exportGroup (const PatchRef& ref);
    void backupRestore();
    void backup();
    void restore (const PatchRef& ref);
    void erasePatch();
    void patchImportExport();
    void importPatch (const PatchRef& ref);
    void exportPatch (const PatchRef& ref);
    void savePatch();
    void saveAs();
    int runWizard (SL_ModalWindow& wizard);

    // The table listener.
    bool cellEdited (EditableTable& table, ModalEditLabel& label, const juce::String& text) override;
    bool canSelect (EditableTable& table, int column, int row) override;
    void selectionChanged (EditableTable& table, int column, int row) override;
    void cellMoved (EditableTable& table, int targetColumn, int targetRow, int sourceColumn, int sourceRow) override;
    void movePatch (PatchSet& group, int from, int to);

    // Shared steps.
    void fillGroupTable();
    void fillPatchTable();
    void applySelectedPatch();
    void scrollTablesToSelection();
    PatchRef selectedRef() const;
    PatchSet* findGroup (const juce::File& file) const;
    /** Finds the group again and selects it and the patch; null when it is gone. */
    PatchSet* reselect (const PatchRef& ref);
    void selectCurrentPatchOfToolSet();

    /** Changes a group and writes it over its own file. Refused (with "File
        error.") when the file is no longer a patch group that may be written;
        when the write fails the group gets its earlier content back. */
    bool changeGroup (PatchSet& group, const std::function<void()>& change, bool notify);
    /** Writes a group to a file (its own or another) and tells of a failure. */
    bool writeGroupTo (PatchSet& group, const juce::File& file, bool notify);
    /** Copies the tool set's 72 parameters into a patch (the patch's lock, then the buffer's). */
    void copyEditBufferInto (PatchData& patch);

    void showError (const juce::String& text);
    bool confirm (const juce::String& text);
    void post (int sectionFlags);
    SectionDialogs* dialogs() const;

    ControllerLink& controller;
    PatchManager* patchManager = nullptr;   // not owned: the controller's store
    juce::Button* wizardImportButton = nullptr;
    PatchsetEditableTable groupTable;
    PatchdataEditableTable patchTable;
    std::unique_ptr<juce::ImageButton> buttons[numButtons];
    juce::Image background;
    std::function<juce::Time()> clock;

    JUCE_DECLARE_NON_COPYABLE (SectionLibrarian)
};

} // namespace T730
