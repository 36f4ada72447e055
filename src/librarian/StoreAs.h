#pragma once

#include "librarian/PatchTables.h"
#include "ui/T730LookAndFeel.h"

namespace T730
{

class ControllerLink;
class PatchManager;

/** The dialog of SAVE AS: the group list and the patch grid of the librarian
    (without renaming or dragging) to choose where the current sound goes, and
    SAVE and CANCEL. SAVE is refused for a protected group. The dialog keeps
    the files of the groups as it listed them, so a choice names the group the
    user saw even when the store changes while the dialog is open.
    Message thread only. */
class StoreAs : public juce::Component, private juce::Button::Listener, private EditableTableListener
{
public:
    explicit StoreAs (ControllerLink& controller);
    ~StoreAs() override;

    /** Selects a group row and a patch index (as the librarian shows them). */
    void select (int groupRow, int patchIndex);

    void paint (juce::Graphics& g) override;
    void mouseMove (const juce::MouseEvent& event) override;

    /** True once SAVE ended the dialog. */
    bool isAccepted() const noexcept { return accepted; }

    /** The group file and patch index chosen (meaningful when accepted). */
    const juce::File& getChosenGroupFile() const noexcept { return chosenFile; }
    int getChosenPatchIndex() const noexcept { return chosenIndex; }

    /** The group of the selected row as the store holds it now (null when gone). */
    PatchSet* getSelectedGroup() const;

    PatchsetEditableTable& getGroupTable() noexcept { return groupTable; }
    PatchdataEditableTable& getPatchTable() noexcept { return patchTable; }
    juce::ImageButton& getSaveButton() noexcept { return saveButton; }
    juce::ImageButton& getCancelButton() noexcept { return cancelButton; }

private:
    void buttonClicked (juce::Button* button) override;
    bool cellEdited (EditableTable&, ModalEditLabel&, const juce::String&) override { return false; }
    bool canSelect (EditableTable& table, int column, int row) override;
    void selectionChanged (EditableTable& table, int column, int row) override;
    void cellMoved (EditableTable&, int, int, int, int) override {}
    void fillPatchTable();
    void finish (bool save);

    ControllerLink& controller;
    PatchManager* patchManager = nullptr;
    PatchsetEditableTable groupTable;
    PatchdataEditableTable patchTable;
    juce::ImageButton saveButton { "SAVE" }, cancelButton { "CANCEL" };
    juce::Image background;
    T730LookAndFeel lookAndFeel;
    bool accepted = false;
    juce::Array<juce::File> listedFiles;   // the group files, row by row, as listed
    juce::File chosenFile;
    int chosenIndex = 0;

    JUCE_DECLARE_NON_COPYABLE (StoreAs)
};

} // namespace T730
