#pragma once

#include "engine/PlayableItem.h"
#include "ui/OxButtons.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

class ControllerLink;

/** The jam section's update bit (the controller's section flags). */
inline constexpr int jamSectionFlag = 0x04;

/** The common base of the jam's panels (the rhythm panel and the recorder
    panels): a component that belongs to its playable item (reference
    counted: the item keeps it from its first request on, the section holds it
    while it shows it), with a folded and an open background picture, and a
    fold key and a close key at the top right.

    Folding flips the state, resizes the panel to the picture of the new state,
    tells the panel it is hidden and asks the controller to rebuild the jam
    section. Closing hides the panel, takes its item out of the jam (remove)
    and records an undo step.

    Message thread only. The last reference is always dropped there: the
    playable item hands its reference to the message thread if it is
    destroyed anywhere else. */
class JamItem : public juce::Component, public ItemPanel, public juce::Button::Listener
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<JamItem>;

    explicit JamItem (ControllerLink& controller);
    ~JamItem() override;

    // The panel's operations ------------------------------------------------
    /** Takes the item out of the jam (the close key); true when it was taken out. */
    virtual bool remove() = 0;
    /** Deletes the drummer and bassist components (the rhythm panel has them). */
    virtual void releasePlayers() {}
    /** Deletes and makes the figures again (the character setting changed). */
    virtual void recreatePlayers() {}
    /** Brings every control in line with the engine. */
    virtual void refresh() {}
    /** The panel left the visible band or the section was hidden: timers and animations stop. */
    virtual void hidden() {}
    /** The panel is visible again: timers and animations restart. */
    virtual void shown() {}
    /** The section placed the panel with its top at y (in the section); the
        rhythm panel keeps its figures only while its top is not above the section's. */
    virtual void placed (int y) { juce::ignoreUnused (y); }

    /** Stores both backgrounds and sizes the panel to the picture of its current state. */
    void setImages (const juce::Image& folded, const juce::Image& open);

    bool isFolded() const noexcept              { return foldState != 0; }
    int getFoldState() const noexcept           { return foldState; }
    /** Folds or opens the panel as the fold key does (without the key's click). */
    void setFolded (bool shouldFold);

    int getYOffset() const noexcept             { return yOffset; }
    void setYOffset (int y) noexcept            { yOffset = y; }

    /** Whether the section last told the panel it is shown. */
    bool isShownInSection() const noexcept      { return shownInSection; }
    /** The section's visibility calls: each reaches shown or hidden only on a change. */
    void tellShown();
    void tellHidden();

    juce::Button& getFoldButton() noexcept      { return foldButton; }
    juce::Button& getCloseButton() noexcept     { return closeButton; }
    ControllerLink& getController() const noexcept { return controller; }

    /** The item is gone: the panel stops and lets go of it (ItemPanel). */
    void itemDetached() override;

    void paint (juce::Graphics& g) override;
    void buttonClicked (juce::Button* button) override;

protected:
    /** The panels' own buttons (every button other than fold and close). */
    virtual void panelButtonClicked (juce::Button* button) { juce::ignoreUnused (button); }
    /** The fold state changed (called before the section is asked to rebuild). */
    virtual void foldChanged (bool folded) { juce::ignoreUnused (folded); }
    /** The item went away: stop timers and forget it. */
    virtual void detachFromItem() {}

private:
    void sizeToImage();

    int foldState = 0;                   // 0 open, 1 folded
    ControllerLink& controller;
    juce::Image foldedImage, openImage;
    int yOffset = 0;
    bool shownInSection = false;
    OxDrawableButton closeButton { "ItemClose", juce::DrawableButton::ImageFitted };
    OxDrawableButton foldButton { "ItemFold", juce::DrawableButton::ImageFitted };

    JUCE_DECLARE_NON_COPYABLE (JamItem)
};

} // namespace T730
