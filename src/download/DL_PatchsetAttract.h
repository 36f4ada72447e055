#pragma once

#include "documents/EditBuf.h"
#include "ui/EditableTable.h"

#include <memory>

namespace T730
{

class ControllerLink;
class PatchSet;

/** The patch set audition over the download page: the set's patches in a
    table; a selected patch goes into the tool set's edit buffer and to the
    device. The edit buffer as it was when the overlay opened is kept as a copy
    and put back (and sent to the device) by "DOWNLOAD_ATTRACT_CANCEL" or when
    the overlay closes any other way. Message thread only. */
class DL_PatchsetAttract : public juce::Component, private juce::Button::Listener, private EditableTableListener
{
public:
    /** Reads the set from the file; isUsable() tells whether it could. */
    DL_PatchsetAttract (ControllerLink& controller, const juce::File& patchSetFile, const juce::String& title);
    ~DL_PatchsetAttract() override;

    bool isUsable() const noexcept { return set != nullptr; }

    /** Puts the kept edit buffer back and closes (the owner is told through onClose). */
    void restoreAndClose();
    std::function<void()> onClose;
    /** Closing from now on puts nothing back (the controller is going). */
    void forgetKeptBuffer() noexcept { restored = true; }

    /** Selects patch index (0..count-1) as a click on its cell does. */
    void selectPatch (int index);

    EditableTable& getTable() noexcept { return table; }
    juce::Button& getCancelButton() noexcept { return *cancelButton; }
    const EditBuf& getKeptEditBuffer() const noexcept { return kept; }

    void paint (juce::Graphics& g) override;

    static juce::Rectangle<int> tablePlace() { return { 30, 28, 242, 96 }; }
    static juce::Rectangle<int> cancelPlace() { return { 203, 130, 87, 44 }; }

private:
    void buttonClicked (juce::Button*) override;
    bool cellEdited (EditableTable&, ModalEditLabel&, const juce::String&) override { return false; }
    bool canSelect (EditableTable&, int column, int row) override;
    void selectionChanged (EditableTable&, int column, int row) override;
    void cellMoved (EditableTable&, int, int, int, int) override {}

    ControllerLink& controller;
    std::unique_ptr<PatchSet> set;
    juce::String title;
    EditBuf kept;
    bool restored = false;
    EditableTable table;
    std::unique_ptr<juce::DrawableButton> cancelButton;
    juce::Image background;
};

} // namespace T730
