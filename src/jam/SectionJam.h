#pragma once

#include "engine/JamArray.h"
#include "jam/JamItem.h"
#include "jam/JamItemAdder.h"
#include "ui/OxSection.h"
#include "ui/ScrollBarEx.h"

namespace T730
{

class ControllerLink;

/** The jam section right of the tab section: the rhythm machine's panel on top
    when the jam has one, then one panel per recorder in jam order, and under
    them the adder. The list scrolls once it is taller than the section;
    panels outside the visible band are told they are hidden (their timers and
    animations stop) and shown again when they come back.

    The panels belong to their playable items: the section asks each item for
    its panel (made on the item's first request) and only arranges them. It
    installs the panel makers of the rhythm machine and the recorders while it
    exists. Message thread only. */
class SectionJam : public OxSection,
                   private juce::ScrollBar::Listener,
                   private JamItemAdderListener
{
public:
    explicit SectionJam (ControllerLink& controller);
    ~SectionJam() override;

    /** Rebuilds the panel list from a fresh copy of the engine's jam list, then repaints. */
    void updateSection() override;
    void rebuild();

    /** Live drawing: the panels follow the transport (play positions, meters).
        It stops while the main component is busy: the section is then inactive
        and every panel is told it is hidden. */
    void setLiveDrawing (bool shouldDraw);
    bool isLiveDrawing() const noexcept { return active; }

    /** The section is left (another part of the window took over): every panel is told it is hidden. */
    void hide();

    /** The character setting changed: the rhythm panel makes its drummer and bassist again. */
    void setPlayersShown (bool shouldShow);
    bool arePlayersShown() const noexcept { return playersShown; }

    /** The panels let go of their figures (the main component does this first
        when it goes, while the section is still in the window). */
    void releasePlayers();

    /** The rhythm panel takes its machine out of the jam, closing the players
        with it (the controller asks this when the program quits). */
    void removeRhythmItem();

    /** A recorder reached its punch-out point: the panels show the finished take. */
    void recorderPunchedOut (void* recorderItem);

    // What tests and the controller read --------------------------------------
    const juce::ReferenceCountedArray<JamItem>& getPanels() const noexcept { return panels; }
    JamItemAdder& getAdder() noexcept               { return adder; }
    juce::ScrollBar& getScrollBar() noexcept        { return scrollBar; }
    int getContentHeight() const noexcept           { return totalHeight; }
    JamArray::Ptr getJamArray() const               { return jam; }

    /** Scrolls the content so that its row y is at the section's top. */
    void scrollTo (int y);

    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;

    /** The height above which the list scrolls. */
    static constexpr int visibleHeight = 308;

private:
    void reposition();
    void takeOut (JamItem& panel);
    void scrollBarMoved (juce::ScrollBar* bar, double newRangeStart) override;
    void addJamItem (int kind) override;
    bool isJamStopped() const;
    void installPanelMakers();
    void uninstallPanelMakers();

    ControllerLink& controller;
    JamArray::Ptr jam;
    ScrollBarEx scrollBar { true };
    int totalHeight = 0;
    JamItemAdder adder;
    juce::ReferenceCountedArray<JamItem> panels;
    bool active = true;
    bool playersShown = true;

    JUCE_DECLARE_NON_COPYABLE (SectionJam)
};

} // namespace T730
