#pragma once

#include "editor/CtrlBase.h"
#include "engine/FxChain.h"
#include "engine/NetListItem.h"

#include <functional>
#include <memory>
#include <vector>

namespace T730
{

class TypeLib;

/** The editor's view of one module: its picture, its controls, its jacks and
    areas, placed on the editor's floor. It turns control changes into
    parameter steps of its module and paints itself into whatever graphics
    context the editor gives it.

    Owned by its module node (NetListItem::setView); the editor's chain holds
    it by the node's view count. Used by the message thread (mouse, device
    messages) and the editor's drawing thread (painting), always under the
    chain's lock. */
class TypeUI : public NetListView, public ListenerCtrlBase
{
public:
    /** Builds the view from the module's description (its document element):
        the picture, the "Total" keys and one control per "Ctrl" the module
        can create, in order. */
    TypeUI (TypeLib& module, FxChain* chain, const juce::XmlElement& description);
    ~TypeUI() override;

    // ListenerCtrlBase
    void ctrlValueChanged (CtrlBase& control) override;
    void ctrlTapped (CtrlBase& control) override;
    void ctrlTimeEntered (CtrlBase& control, double seconds) override;
    juce::Rectangle<int> getOwnerBounds() const override { return moduleBounds; }

    /** The module's text for a parameter, and for one step of it. */
    bool getParamText (int index, juce::String& text);
    bool getStepText (int index, int step, juce::String& text);

    /** Draws the module picture and every control. */
    void paint (juce::Graphics& g);

    /** Prepares an area of the floor before a part of the module is drawn
        again (the editor clears it and draws what lies behind the module). */
    using AreaPreparer = std::function<void (juce::Rectangle<int>)>;

    /** Redraws the controls whose frame changed since they were drawn, with the
        part of the module picture under them and the neighbours that overlap
        (clipped). Draws nothing when nothing changed; returns how many
        controls were redrawn. */
    int paintChanged (juce::Graphics& g, const AreaPreparer& prepareArea = {});

    /** With the flag set, every control takes its steps from the module again. */
    void refreshControls (bool refresh);
    void refreshControl (CtrlBase& control);

    /** The last interactive control, searching backwards, hit at the point; null for none. */
    CtrlBase* controlAt (int x, int y) const;

    /** Places the module so that its first input jack lands on (x, 42)
        (without inputs its top left corner goes there); controls and the
        type-change area move with it. */
    void moveTo (int x);
    bool isLaidOut() const noexcept { return laidOut; }

    /** The tooltip of a control: the parameter's name and shown value; empty
        when the control shows none. */
    juce::String tooltipFor (const CtrlBase& control);

    TypeLib& getModule() const noexcept { return module; }
    const juce::String& getKey() const;
    FxChain* getChain() const noexcept { return chain; }

    const juce::Image& getPicture() const noexcept { return picture; }
    juce::Rectangle<int> getModuleBounds() const noexcept { return moduleBounds; }
    /** From the first input jack to the first output jack, the module's
        height; empty unless the module has both. */
    juce::Rectangle<int> getBodyBounds() const noexcept { return bodyBounds; }
    /** The width the module takes in a row: the body's, or the module's own
        when it has no body. */
    int getRowWidth() const noexcept;
    juce::Rectangle<int> getTypeChangeArea() const noexcept { return typeChangeArea; }
    juce::Rectangle<int> getZoomArea() const noexcept { return zoomArea; }

    /** Jacks in module coordinates: the drawn plugs and the larger sensitive areas. */
    const std::vector<juce::Rectangle<int>>& getInputPlugs() const noexcept { return inputPlugs; }
    const std::vector<juce::Rectangle<int>>& getOutputPlugs() const noexcept { return outputPlugs; }
    const std::vector<juce::Rectangle<int>>& getInputAreas() const noexcept { return inputAreas; }
    const std::vector<juce::Rectangle<int>>& getOutputAreas() const noexcept { return outputAreas; }

    int getNumControls() const noexcept { return (int) controls.size(); }
    CtrlBase* getControl (int position) const noexcept;
    /** The control built from "Ctrl" number `number`; null when there is none. */
    CtrlBase* findControlByNumber (int number) const noexcept;
    int indexOf (const CtrlBase* control) const noexcept;

private:
    TypeLib& module;
    FxChain* const chain;
    juce::Image picture;
    juce::Rectangle<int> moduleBounds;
    std::vector<std::unique_ptr<CtrlBase>> controls;
    std::vector<juce::Rectangle<int>> inputPlugs, inputAreas, outputPlugs, outputAreas;
    juce::Rectangle<int> zoomArea, typeChangeArea, bodyBounds;
    juce::Point<int> firstInput, firstOutput;
    bool hasInput = false, hasOutput = false, laidOut = false;

    void refreshOthers (const CtrlBase& changed);

    JUCE_DECLARE_NON_COPYABLE (TypeUI)
};

/** What the editor's chain keeps with each view: where its jacks are on the floor. */
class FxState : public FxChainRecord
{
public:
    std::vector<juce::Rectangle<int>> inputPlugs, outputPlugs;
};

} // namespace T730
