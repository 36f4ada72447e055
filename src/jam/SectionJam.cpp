#include "jam/SectionJam.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "engine/Synchronizer.h"
#include "ui/ControllerLink.h"

namespace T730
{

SectionJam::SectionJam (ControllerLink& c) : controller (c)
{
    const auto& b = layout::jamSection;
    setBounds (b.x, b.y, b.w, b.h);

    scrollBar.setBounds (b.w - layout::jamScrollBarWidth, 0, layout::jamScrollBarWidth, b.h);
    scrollBar.setSingleStepSize (layout::jamScrollStep);
    scrollBar.setAutoHide (false);
    scrollBar.addListener (this);
    addChildComponent (scrollBar);

    adder.setListener (this);
    installPanelMakers();
    rebuild();
}

SectionJam::~SectionJam()
{
    scrollBar.removeListener (this);
    adder.setListener (nullptr);
    for (auto* panel : panels)
        takeOut (*panel);
    panels.clear();

    // No panel outlives the section (they talk to the controller through it):
    // the items let go of theirs, and new ones are made by the next section.
    uninstallPanelMakers();
    JamArray::Ptr current;
    controller.request (GetJamArray, 0, 0, &current);
    for (auto* list : { jam.get(), current.get() })
        if (list != nullptr)
            for (auto* item : list->getAllItems())
                item->dropPanel();
    jam = nullptr;
}

void SectionJam::updateSection()
{
    rebuild();
    OxSection::updateSection();
}

void SectionJam::rebuild()
{
    JamArray::Ptr fresh;
    controller.request (GetJamArray, 0, 0, &fresh);
    jam = fresh;

    juce::ReferenceCountedArray<JamItem> previous;
    previous.swapWith (panels);
    totalHeight = 0;

    const auto append = [this] (PlayableItem& item)
    {
        if (auto panel = dynamic_cast<JamItem*> (item.getPanel().get()))
        {
            panel->setYOffset (totalHeight);
            totalHeight += panel->getHeight();
            panels.add (panel);
        }
    };

    if (jam != nullptr)
    {
        if (auto rhythm = jam->getRhythmItem())
            append (*rhythm);
        for (auto* recorder : jam->getRecorders())
            append (*recorder);
    }

    adder.setYOffset (totalHeight);
    adder.setChoiceMode (jam == nullptr || jam->getRhythmItem() == nullptr ? 1 : 0);
    totalHeight += adder.getHeight();

    if (totalHeight <= visibleHeight)
    {
        scrollBar.setRangeLimits (0.0, 0.0, juce::dontSendNotification);
        scrollBar.setCurrentRange (0.0, 0.0, juce::dontSendNotification);
        scrollBar.setVisible (false);
    }
    else
    {
        const double start = scrollBar.getCurrentRangeStart();
        scrollBar.setRangeLimits (0.0, (double) totalHeight, juce::dontSendNotification);
        scrollBar.setCurrentRange (start, (double) getHeight(), juce::dontSendNotification);
        scrollBar.setVisible (true);
    }

    for (auto* panel : panels)
    {
        if (panel->getParentComponent() != this)
            addAndMakeVisible (panel);
    }
    reposition();
    for (auto* panel : panels)
        panel->refresh();

    for (auto* old : previous)
        if (! panels.contains (old) && old->getParentComponent() == this)
            takeOut (*old);
    previous.clear();

    if (adder.getParentComponent() != this)
        addAndMakeVisible (adder);
    scrollBar.toFront (false);
}

void SectionJam::takeOut (JamItem& panel)
{
    // The figures' 3D views go while the panel is still in the window: a view
    // whose window is already gone when it closes leaves the window's peer
    // holding on to it, and the next expose event of the window touches it.
    panel.tellHidden();
    panel.releasePlayers();
    removeChildComponent (&panel);
}

void SectionJam::releasePlayers()
{
    for (auto* panel : panels)
        panel->releasePlayers();
}

void SectionJam::reposition()
{
    const int p = (int) scrollBar.getCurrentRangeStart();
    for (auto* panel : panels)
    {
        const int top = panel->getYOffset() - p;
        panel->setTopLeftPosition (layout::jamItemX, top);
        panel->placed (top);
        if (active && top < getHeight() && top + panel->getHeight() > 0)
            panel->tellShown();
        else if (panel->isShownInSection() || ! active)
            panel->tellHidden();
    }
    adder.setTopLeftPosition (layout::jamItemX, adder.getYOffset() - p);
}

void SectionJam::scrollBarMoved (juce::ScrollBar*, double)
{
    reposition();
}

void SectionJam::scrollTo (int y)
{
    scrollBar.setCurrentRangeStart ((double) y, juce::sendNotificationSync);
}

void SectionJam::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (! scrollBar.isVisible() || wheel.deltaY == 0.0f)
        return;

    const double step = wheel.deltaY > 0.0f ? -layout::jamScrollStep : layout::jamScrollStep;
    scrollBar.setCurrentRangeStart (scrollBar.getCurrentRangeStart() + step, juce::sendNotificationSync);
}

bool SectionJam::isJamStopped() const
{
    if (jam != nullptr)
        return jam->getSynchronizer().getMaster().isStopped();
    if (auto* sync = Synchronizer::getInstance())
        return sync->getMaster().isStopped();
    return true;
}

void SectionJam::addJamItem (int kind)
{
    if (! isJamStopped())
        return;

    if (controller.request (AddPlayableItem, kind) != requestFalse)
        controller.request (RecordUndoAndMarkEdited);
}

void SectionJam::setLiveDrawing (bool shouldDraw)
{
    if (active == shouldDraw)
        return;

    active = shouldDraw;
    reposition();
    repaint();
}

void SectionJam::hide()
{
    active = false;
    reposition();
}

void SectionJam::setPlayersShown (bool shouldShow)
{
    playersShown = shouldShow;
    for (auto* panel : panels)
        panel->recreatePlayers();
}

void SectionJam::removeRhythmItem()
{
    if (jam == nullptr || jam->getRhythmItem() == nullptr)
        return;

    if (auto panel = dynamic_cast<JamItem*> (jam->getRhythmItem()->getPanel().get()))
    {
        const JamItem::Ptr keep (panel);
        panel->tellHidden();
        panel->remove();
    }
}

void SectionJam::recorderPunchedOut (void*)
{
    for (auto* panel : panels)
        panel->refresh();
}

} // namespace T730
