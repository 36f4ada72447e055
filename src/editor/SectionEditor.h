#pragma once

#include "editor/CtrlBase.h"
#include "editor/EditorSlots.h"
#include "editor/FloorThread.h"
#include "engine/FxChain.h"
#include "ui/OxButtons.h"
#include "ui/OxSection.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>

namespace T730
{

class ControllerLink;
class CtrlBase;
class EditBuf;
class MidiRecvEv;
class TypeUI;

/** The effect editor along the bottom of the window: the device's current
    patch as a row of effect units on a pedalboard, joined by a cable, in the
    device's signal order. Turning a control stores the step in the tool set's
    edit buffer and sends that one parameter to the device; clicking a unit's
    name offers the other types of its slot and sends the whole buffer;
    changes from the device move the controls. The board is wider than the
    strip and scrolls sideways.

    The chain always has eight entries, one per slot; a slot whose module
    cannot be shown is an empty entry, so that every view stays addressed by
    its slot. Drawing is done by the FloorThread; the message thread only
    copies its finished pictures. Message thread only (the drawing thread
    reaches the section through FloorHost). */
class SectionEditor : public OxSection,
                      public juce::DragAndDropTarget,
                      private juce::Button::Listener,
                      private OxDrawableButtonListener,
                      private FloorHost
{
public:
    explicit SectionEditor (ControllerLink& controller);

    /** Stops the drawing thread, then deletes the shared cursor set, which the editor's views use. */
    ~SectionEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** Builds the chain again from the tool set's edit buffer. */
    void updateSection() override;

    /** A message from the device, handed on by the main component on the
        message thread: a parameter change moves the controls of its module
        (the controller has already stored it in the edit buffer), a whole
        buffer rebuilds the chain. */
    void deviceMessageReceived (const MidiRecvEv& message);

    /** While the tooltip is shown for a control, it takes that control's text again. */
    void updateTooltip();

    // Mouse
    void mouseMove (const juce::MouseEvent& e) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void mouseEnter (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;

    // Drags of other sections are declined.
    bool isInterestedInDragSource (const SourceDetails&) override { return false; }
    void itemDropped (const SourceDetails&) override {}

    /** What is under a point of the floor. */
    struct Hit
    {
        enum Kind
        {
            onFloor = 0,
            onModule = 1,
            onControl = 2,
            onTypeArea = 4
        };
        int kind = onFloor;
        TypeUI* view = nullptr;
        int slot = -1;
        CtrlBase* control = nullptr;
    };
    /** The hit test at a point in canvas picture coordinates (under the chain lock). */
    Hit hitTestFloor (juce::Point<int> floorPoint) const;
    /** The same at a point of the section. */
    Hit hitTestSection (juce::Point<int> sectionPoint) const;

    /** Shows the type menu and answers the item chosen (0 or less for none).
        Runs the menu modally unless replaced (tests choose without a menu). */
    std::function<int (juce::PopupMenu&)> runTypeMenu;

    // For the tests and the benchmark.
    FxChain& getChain() noexcept { return chain; }
    FloorThread& getFloor() noexcept { return *floor; }
    /** The view of a slot (null for an empty slot). */
    TypeUI* getView (int slot) const;
    const SE_ModuleInfo& getInfo (int slot) const;
    int getCabinet() const noexcept { return cabinet; }
    const std::vector<SE_ModuleInfosNode>& getCatalogue() const noexcept { return catalogue; }
    juce::Button& getLeftButton() noexcept { return leftButton; }
    juce::Button& getRightButton() noexcept { return rightButton; }
    bool isTooltipShown() const noexcept { return tooltipShown; }
    /** The type change of a slot, as a press on its type area starts it. */
    void changeType (int slot);

private:
    struct Pointer
    {
        Hit last;
        Hit pressed;                      // the control pressed, while the button is down
        juce::Rectangle<int> viewAtPress;
        juce::Point<int> pressPosition, lastPosition { -1, -1 };
        bool armed = false;               // a control drag is armed
        bool floorDrag = false;           // the press was on the bare floor
        bool changedSincePress = false;   // the press changed the edit buffer
        bool tooltipOnce = false;
        CtrlBase* hovered = nullptr;
    };

    // Chain
    void rebuildChain();
    void clearPointerState();
    /** Builds the module of a slot from its info into chain entry `slot`
        (an empty entry when it cannot be built). Under the chain lock. */
    TypeUI* buildSlot (int slot);
    /** Replaces a slot's module after its info changed; keeps the module
        when the key stayed. Returns the slot's view. */
    TypeUI* rebuildSlot (int slot);
    void applyToSlot (int slot, const EditBuf& buffer);
    EditBuf copyEditBuffer() const;

    // Device
    void applyDeviceParameter (int module, int param, int value);
    void setDeviceStep (int slot, int prm, int step);
    void cabinetChanged (int newCabinet);

    // Control changes to the device
    void sendControlChange (int slot, CtrlBase& control);
    bool storeAndSend (int module, int param, int value);
    void afterControlEvent (const Hit& hit);

    // Mouse helpers
    CtrlMouse toControlMouse (const juce::MouseEvent& e) const;
    void setCursorNumber (int number);
    void showTooltipFor (CtrlBase& control, TypeUI& view, juce::Point<int> screenPosition, bool place);
    void hideTooltip();
    void releaseActiveControl();
    void runTimeEntryOf (int slot, int controlNumber, juce::Point<int> screenPosition);
    void applyTypeChoice (int slot, int choice);

    // Buttons
    void buttonClicked (juce::Button* button) override;
    void pointerLeft (OxDrawableButton& button, juce::Point<int> positionInParent) override;
    void showScrollButtons (bool show);

    // FloorHost (drawing thread)
    void floorRendered() override;

    ControllerLink& controller;
    FxChain chain;
    std::unique_ptr<FloorThread> floor;
    std::vector<SE_ModuleInfosNode> catalogue;
    std::array<SE_ModuleInfo, EditorSlots::numInfos> infos;
    int cabinet = 0;
    OxDrawableButton leftButton { "OXA_FX_LEFT", juce::DrawableButton::ImageRaw };
    OxDrawableButton rightButton { "OXA_FX_RIGHT", juce::DrawableButton::ImageRaw };
    Pointer pointer;
    bool tooltipShown = false;

    // A repaint or a tooltip refresh already posted and not yet handled covers
    // any later one: set when posting (drawing thread for the repaint, message
    // thread for the tooltip), cleared when the paint or the refresh starts.
    std::atomic<bool> repaintPosted { false };
    bool tooltipRefreshPosted = false;
    void postTooltipRefresh();

    JUCE_DECLARE_NON_COPYABLE (SectionEditor)
};

} // namespace T730
