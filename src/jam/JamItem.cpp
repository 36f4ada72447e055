#include "jam/JamItem.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "ui/ControllerLink.h"

namespace T730
{

namespace
{
    void setKeyImages (juce::DrawableButton& button, art::Picture normal, art::Picture over,
                       art::Picture on = {}, art::Picture onOver = {}, bool toggle = false)
    {
        auto n = makeDrawable (art::getImage (normal));
        auto o = makeDrawable (art::getImage (over));
        if (toggle)
        {
            auto f = makeDrawable (art::getImage (on));
            auto fo = makeDrawable (art::getImage (onOver));
            button.setImages (n.get(), o.get(), o.get(), nullptr, f.get(), fo.get(), fo.get(), nullptr);
        }
        else
        {
            button.setImages (n.get(), o.get(), o.get());
        }
    }

    void placeKey (juce::Component& key, const layout::Box& b) { key.setBounds (b.x, b.y, b.w, b.h); }
} // namespace

JamItem::JamItem (ControllerLink& c) : controller (c)
{
    setKeyImages (foldButton, art::Picture::jamFold, art::Picture::jamFoldOver, art::Picture::jamFoldOn,
                  art::Picture::jamFoldOnOver, true);
    foldButton.setClickingTogglesState (true);
    foldButton.setTooltip ("Fold or open the panel");
    setKeyImages (closeButton, art::Picture::jamClose, art::Picture::jamCloseOver);
    closeButton.setTooltip ("Close the panel and take it out of the jam");

    for (auto* key : { &foldButton, &closeButton })
    {
        key->setWantsKeyboardFocus (false);
        key->setEdgeIndent (0);   // the pictures are drawn at the keys' size
        key->addListener (this);
        addAndMakeVisible (key);
    }
    placeKey (foldButton, layout::jamFoldButton);
    placeKey (closeButton, layout::jamCloseButton);
    setSize (layout::jamPanelWidth, layout::jamFoldedHeight);
}

JamItem::~JamItem()
{
    foldButton.removeListener (this);
    closeButton.removeListener (this);
}

void JamItem::setImages (const juce::Image& folded, const juce::Image& open)
{
    foldedImage = folded;
    openImage = open;
    sizeToImage();
}

void JamItem::sizeToImage()
{
    const auto& image = isFolded() ? foldedImage : openImage;
    if (image.isValid())
        setSize (image.getWidth(), image.getHeight());
    else
        setSize (layout::jamPanelWidth, isFolded() ? layout::jamFoldedHeight : getHeight());
}

void JamItem::setFolded (bool shouldFold)
{
    if (isFolded() == shouldFold)
        return;

    foldState = shouldFold ? 1 : 0;
    foldButton.setToggleState (shouldFold, juce::dontSendNotification);
    foldChanged (shouldFold);
    sizeToImage();
    tellHidden();
    controller.postUpdate (jamSectionFlag);
    repaint();
}

void JamItem::tellShown()
{
    if (shownInSection)
        return;
    shownInSection = true;
    shown();
}

void JamItem::tellHidden()
{
    // Hidden always reaches the panel: after a fold it must stop even if the
    // section had not told it shown yet.
    shownInSection = false;
    hidden();
}

void JamItem::itemDetached()
{
    tellHidden();
    detachFromItem();
}

void JamItem::paint (juce::Graphics& g)
{
    const auto& image = isFolded() ? foldedImage : openImage;
    if (image.isValid())
        g.drawImageAt (image, 0, 0);
    else
        g.fillAll (juce::Colour (0xff202024));
}

void JamItem::buttonClicked (juce::Button* button)
{
    if (button == &foldButton)
    {
        setFolded (foldButton.getToggleState());
    }
    else if (button == &closeButton)
    {
        // The panel may lose its last reference when its item goes: keep it for this call.
        const Ptr self (this);
        tellHidden();
        if (remove())
            controller.request (RecordUndoAndMarkEdited);
    }
    else
    {
        panelButtonClicked (button);
    }
}

} // namespace T730
