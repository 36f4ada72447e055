// The jam section: panels one under the other with the adder below, the scroll
// bar once they pass the section's height, the adder's choices and its refusal
// while the jam plays, the panels told shown and hidden as they scroll, fold
// and close, and where the panels' last references go.
#include <gtest/gtest.h>

#include "JamTestSupport.h"
#include "players/PlayersTestSupport.h"
#include "jam/SectionJam.h"
#include "ui/UiTestSupport.h"

using namespace T730;
using jamtest::JamLink;
using jamtest::TestPanel;

namespace
{
class JamGuiSection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.setSize (400, 308);
        window.addToDesktop (0);
        window.setVisible (true);
    }

    void TearDown() override
    {
        if (section != nullptr)
            window.removeChildComponent (section.get());
        section.reset();
    }

    SectionJam& makeSection()
    {
        section = std::make_unique<SectionJam> (link);
        section->setTopLeftPosition (0, 0);
        window.addAndMakeVisible (*section);
        return *section;
    }

    void add (int kind) { ASSERT_TRUE (link.jam->addItem ({}, kind, {})); }

    JamLink link;
    juce::Component window;
    std::unique_ptr<SectionJam> section;
};
} // namespace

TEST_F (JamGuiSection, PanelsStackUnderTheRhythmPanelAndTheScrollBarComesOnlyPast308Pixels)
{
    // 124 + 88 + 60 panels and the 36-pixel adder: exactly the section's height, no scroll bar.
    link.recorderHeight = 88;
    add (0);
    add (1);
    link.recorderHeight = 60;
    add (1);
    auto& jam = makeSection();

    ASSERT_EQ (jam.getPanels().size(), 3);
    EXPECT_EQ (jam.getPanels()[0], link.rhythm()->panel()) << "the rhythm panel is on top";
    EXPECT_EQ (jam.getPanels()[1]->getBounds(), juce::Rectangle<int> (4, 124, 372, 88));
    EXPECT_EQ (jam.getPanels()[2]->getY(), 212);
    EXPECT_EQ (jam.getAdder().getY(), 272);
    EXPECT_EQ (jam.getContentHeight(), 308);
    EXPECT_FALSE (jam.getScrollBar().isVisible());

    // One more pixel of content and the list scrolls, over the section's height.
    link.recorderHeight = 1;
    add (1);
    jam.rebuild();
    EXPECT_EQ (jam.getContentHeight(), 309);
    ASSERT_TRUE (jam.getScrollBar().isVisible());
    EXPECT_EQ (jam.getScrollBar().getBounds(), juce::Rectangle<int> (384, 0, 16, 308));
    EXPECT_EQ (jam.getScrollBar().getMaximumRangeLimit(), 309.0);
    EXPECT_EQ (jam.getScrollBar().getCurrentRangeSize(), 308.0);

    // The wheel scrolls 16 pixels a notch; the position survives a rebuild.
    link.recorderHeight = 88;
    add (1);
    add (1);
    jam.rebuild();
    const auto wheelDown = juce::MouseWheelDetails { 0.0f, -0.2f, false, false, false };
    jam.mouseWheelMove (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                          &jam, &jam, juce::Time::getCurrentTime(), {}, juce::Time::getCurrentTime(), 1, false),
                        wheelDown);
    EXPECT_EQ (jam.getScrollBar().getCurrentRangeStart(), 16.0);
    EXPECT_EQ (jam.getPanels()[0]->getY(), -16);
    jam.rebuild();
    EXPECT_EQ (jam.getScrollBar().getCurrentRangeStart(), 16.0);
    EXPECT_EQ (jam.getAdder().getY(), jam.getAdder().getYOffset() - 16);

    // Every panel shown is a child, refreshed by the rebuild.
    for (auto* panel : jam.getPanels())
    {
        EXPECT_EQ (panel->getParentComponent(), &jam);
        EXPECT_GE (dynamic_cast<TestPanel*> (panel)->refreshes, 1);
    }
}

TEST_F (JamGuiSection, TheAdderOffersBothKindsUntilARhythmMachineExistsAndAddsNothingWhileTheJamPlays)
{
    auto& jam = makeSection();
    auto& adder = jam.getAdder();
    EXPECT_EQ (adder.getChoiceMode(), 1);
    EXPECT_EQ (adder.getBounds(), juce::Rectangle<int> (4, 0, 372, 36));

    // The gap between the two halves asks for nothing.
    uitest::clickThroughPeer (adder, { 186, 18 });
    EXPECT_EQ (link.adds, 0);

    uitest::clickThroughPeer (adder, { 183, 18 });
    EXPECT_EQ (link.lastAddedKind, 0);
    EXPECT_EQ (link.undoSteps, 1) << "an added item is an undo step";
    ASSERT_NE (link.rhythm(), nullptr);
    jam.rebuild();   // (the controller posts this)
    EXPECT_EQ (adder.getChoiceMode(), 0) << "one rhythm machine only";
    EXPECT_EQ (adder.getY(), 124);

    uitest::clickThroughPeer (adder, { 20, 18 });
    EXPECT_EQ (link.lastAddedKind, 1) << "with one choice, every click adds a recorder";
    EXPECT_EQ (link.jam->getNumRecorders(), 1);

    // While the jam plays the adder does nothing.
    const playerstest::ScopedAudioRunning audio;
    link.sync.getMaster().play();
    link.sync.getMaster().tick();   // (the audio thread takes the command)
    ASSERT_FALSE (link.sync.getMaster().isStopped());
    jam.rebuild();
    const int adds = link.adds;
    uitest::clickThroughPeer (jam.getAdder(), { 250, 18 });
    EXPECT_EQ (link.adds, adds);
    EXPECT_EQ (link.jam->getNumRecorders(), 1);
    link.sync.getMaster().stop (false);
    link.sync.getMaster().tick();
}

TEST_F (JamGuiSection, PanelsScrolledOutOfViewOrInAnInactiveSectionStopTheirTimersAndStartThemWhenBack)
{
    add (0);
    for (int i = 0; i < 4; ++i)
        add (1);
    auto& jam = makeSection();
    auto* top = link.rhythm()->panel();
    auto* last = link.recorder (3)->panel();
    ASSERT_NE (top, nullptr);
    ASSERT_NE (last, nullptr);

    // 124 + 4 x 88 = 476: the last recorder (top at 388) is below the section.
    EXPECT_TRUE (top->isTimerOn());
    EXPECT_FALSE (last->isTimerOn());
    EXPECT_EQ (last->shows, 0);

    jam.scrollTo (200);
    EXPECT_FALSE (top->isTimerOn()) << "its bottom (124) is above the top (200)";
    EXPECT_TRUE (last->isTimerOn());
    EXPECT_EQ (top->lastTop, -200) << "the panel learns where it was placed";

    jam.scrollTo (0);
    EXPECT_TRUE (top->isTimerOn());
    EXPECT_EQ (top->shows, 2);
    EXPECT_FALSE (last->isTimerOn());

    // A busy window (live drawing off) stops every panel; it starts again after.
    jam.setLiveDrawing (false);
    EXPECT_FALSE (top->isTimerOn());
    jam.setLiveDrawing (true);
    EXPECT_TRUE (top->isTimerOn());

    jam.hide();
    for (auto* panel : jam.getPanels())
        EXPECT_FALSE (dynamic_cast<TestPanel*> (panel)->isTimerOn());

    jam.setPlayersShown (false);
    EXPECT_EQ (top->recreated, 1) << "the character setting reaches the panels";
}

TEST_F (JamGuiSection, FoldingResizesThePanelHidesItAndAsksForARebuildClosingRemovesTheItemAsAnUndoStep)
{
    add (0);
    add (1);
    add (1);
    auto& jam = makeSection();
    auto* rhythm = link.rhythm()->panel();
    ASSERT_TRUE (rhythm->isTimerOn());

    uitest::clickThroughPeer (rhythm->getFoldButton(), { 10, 8 });
    EXPECT_TRUE (rhythm->isFolded());
    EXPECT_EQ (rhythm->getHeight(), 22);
    EXPECT_FALSE (rhythm->isTimerOn()) << "folding tells the panel it is hidden";
    ASSERT_FALSE (link.updates.isEmpty());
    EXPECT_NE (link.updates.getLast() & jamSectionFlag, 0);

    jam.rebuild();
    EXPECT_EQ (jam.getPanels()[1]->getY(), 22) << "the next panel moves up under the folded one";
    EXPECT_TRUE (rhythm->isTimerOn()) << "a folded panel in view is shown again";

    uitest::clickThroughPeer (rhythm->getFoldButton(), { 10, 8 });
    EXPECT_FALSE (rhythm->isFolded());
    EXPECT_EQ (rhythm->getHeight(), 124);

    // Close the first recorder: hidden, removed, an undo step.
    auto* first = link.recorder (0)->panel();
    bool destroyedOnMessageThread = false;
    first->onDestroyed = [&] (bool onMessageThread) { destroyedOnMessageThread = onMessageThread; };
    const int undo = link.undoSteps;
    uitest::clickThroughPeer (first->getCloseButton(), { 10, 8 });
    EXPECT_EQ (link.jam->getNumRecorders(), 1);
    EXPECT_EQ (link.undoSteps, undo + 1);
    jam.rebuild();
    EXPECT_EQ (jam.getPanels().size(), 2);
    EXPECT_TRUE (destroyedOnMessageThread) << "the panel went with its item and the section's list";
}

TEST_F (JamGuiSection, APanelLeftByAnItemDyingOnAnotherThreadIsReleasedOnTheMessageThreadAndNoneOutlivesTheSection)
{
    add (1);
    add (1);
    auto& jam = makeSection();
    ASSERT_EQ (jam.getPanels().size(), 2);

    // The second item's last reference goes on a worker thread.
    PlayableItem::Ptr item = link.jam->getRecorder (1);
    auto* panel = link.recorder (1)->panel();
    std::atomic<int> destroyed { 0 };
    bool onMessageThread = false;
    panel->onDestroyed = [&] (bool m) { onMessageThread = m; ++destroyed; };
    link.jam->removeItem (1, 1);
    jam.rebuild();
    EXPECT_EQ (panel->getParentComponent(), nullptr);
    EXPECT_EQ (panel->released, 1);
    EXPECT_TRUE (panel->releasedInSection) << "the figures go while the panel is still in the window";
    std::thread ([dying = std::move (item)]() mutable { dying = nullptr; }).join();
    EXPECT_EQ (destroyed.load(), 0) << "not on the worker";
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return destroyed.load() == 1; }, 2000));
    EXPECT_TRUE (onMessageThread);

    // The section going takes the remaining panel with it; the next section's request makes a new one.
    auto* survivor = link.recorder (0);
    auto* old = survivor->panel();
    bool oldDestroyed = false;
    old->onDestroyed = [&] (bool) { oldDestroyed = true; };
    window.removeChildComponent (section.get());
    section.reset();
    EXPECT_TRUE (oldDestroyed);
    EXPECT_EQ (survivor->panel(), nullptr);
    makeSection();
    EXPECT_EQ (survivor->panelsMade, 2);
}
