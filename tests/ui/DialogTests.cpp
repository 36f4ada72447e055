// The program's message boxes and modal dialogs: results, close buttons, the
// other windows' deafness while one runs, and a screenshot of each kind.
#include "UiTestSupport.h"
#include "ui/OxDialog.h"
#include "ui/T730LookAndFeel.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
/** A top-level window standing in for the main window: counts clicks on its button. */
struct StandInWindow : public juce::DocumentWindow
{
    StandInWindow() : juce::DocumentWindow ("Main", juce::Colours::black, 0, false)
    {
        button.onClick = [this] { ++clicks; };
        content.addAndMakeVisible (button);
        button.setBounds (10, 10, 100, 30);
        content.setSize (200, 100);
        setContentNonOwned (&content, true);
        setUsingNativeTitleBar (false);
        addToDesktop();
        setTopLeftPosition (40, 40);
        setVisible (true);
    }
    ~StandInWindow() override { clearContentComponent(); }

    juce::Component content;
    juce::TextButton button { "Press" };
    int clicks = 0;
};

struct UiGuiDialogs : public ::testing::Test
{
    UiGuiDialogs() { juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel); }
    ~UiGuiDialogs() override { juce::LookAndFeel::setDefaultLookAndFeel (nullptr); }

    /** Inside the next box's modal loop: does something with the box, then answers. */
    void whenBoxOpen (std::function<void (OxDialogWindow&, OxDialog&)> act)
    {
        uitest::whenModal ([] { return uitest::findShowingWindow<OxDialogWindow>() != nullptr; },
                           [act]
                           {
                               auto* window = uitest::findShowingWindow<OxDialogWindow>();
                               ASSERT_NE (window, nullptr) << "no box came up";
                               auto* dialog = dynamic_cast<OxDialog*> (window->getContentComponent());
                               ASSERT_NE (dialog, nullptr);
                               act (*window, *dialog);
                           });
    }

    T730LookAndFeel lookAndFeel;
};
} // namespace

TEST_F (UiGuiDialogs, TheCloseButtonOfEveryKindAnswersNoAndTheButtonsTheirResults)
{
    const auto closeIt = [] (OxDialogWindow& w, OxDialog&) { w.closeButtonPressed(); };

    whenBoxOpen (closeIt);
    EXPECT_FALSE (MessageBoxes::confirm ("Toolset has been edited. Are you sure?"));
    whenBoxOpen (closeIt);
    EXPECT_EQ (MessageBoxes::askOverwrite ("Replace?"), 0);
    whenBoxOpen (closeIt);
    MessageBoxes::showError ("Toolset load error."); // returns once closed

    whenBoxOpen ([] (OxDialogWindow&, OxDialog& d) { d.getOkButton().triggerClick(); });
    EXPECT_TRUE (MessageBoxes::confirm ("OK?"));
    whenBoxOpen ([] (OxDialogWindow&, OxDialog& d) { d.getCancelButton().triggerClick(); });
    EXPECT_FALSE (MessageBoxes::confirm ("Cancel?"));
    whenBoxOpen ([] (OxDialogWindow&, OxDialog& d) { d.getRenameButton().triggerClick(); });
    EXPECT_EQ (MessageBoxes::askOverwrite ("Rename?"), 2);
    whenBoxOpen ([] (OxDialogWindow&, OxDialog& d) { d.getOkButton().triggerClick(); });
    EXPECT_EQ (MessageBoxes::askOverwrite ("Overwrite?"), 1);
    whenBoxOpen ([] (OxDialogWindow&, OxDialog& d) { d.getCancelButton().triggerClick(); });
    EXPECT_EQ (MessageBoxes::askOverwrite ("Cancel?"), 0);
}

TEST_F (UiGuiDialogs, EachKindShowsItsButtonsAndIsTitledWithTheProgramsName)
{
    const struct { int kind; const char* text; const char* shot; bool cancel, rename; } kinds[] = {
        { OxDialog::confirmation, "Toolset has been edited. Are you sure?", "dialog-confirmation", true, false },
        { OxDialog::error, "Toolset load error.", "dialog-error", false, false },
        { OxDialog::overwrite, "\"Clean Lead\" already exists in this patch group. Replace it, or keep both under a new name?",
          "dialog-overwrite", true, true },
    };

    for (const auto& k : kinds)
    {
        OxDialog dialog (k.text, k.kind);
        EXPECT_EQ (dialog.getWidth(), 309);
        EXPECT_EQ (dialog.getHeight(), 177);
        EXPECT_TRUE (dialog.getOkButton().isVisible());
        EXPECT_EQ (dialog.getOkButton().getBounds(), juce::Rectangle<int> (218, 131, 70, 30));
        EXPECT_EQ (dialog.getCancelButton().isVisible(), k.cancel);
        EXPECT_EQ (dialog.getRenameButton().isVisible(), k.rename);
        if (k.rename)
        {
            EXPECT_EQ (dialog.getCancelButton().getBounds().getX(), 150);
            EXPECT_EQ (dialog.getRenameButton().getBounds().getX(), 80);
        }

        juce::Image shot;
        juce::String title;
        uitest::whenModal ([] { return uitest::findShowingWindow<OxDialogWindow>() != nullptr; }, [&]
        {
            auto* w = uitest::findShowingWindow<OxDialogWindow>();
            ASSERT_NE (w, nullptr);
            title = w->getName();
            EXPECT_TRUE (w->isAlwaysOnTop());
            shot = uitest::snapshot (*w);
            w->closeButtonPressed();
        });
        OxDialogWindow window (MessageBoxes::title, true);
        EXPECT_EQ (window.runFor (dialog), 0);
        EXPECT_EQ (title, "OXA Tools");
        EXPECT_TRUE (uitest::writeScreenshot (shot, k.shot)) << k.shot;
    }
}

TEST_F (UiGuiDialogs, WhileABoxIsOpenAClickOnTheMainWindowDoesNothing)
{
    StandInWindow main;
    oxatest::pumpMessagesUntil ({}, 50);

    // Without a box the click arrives.
    uitest::clickThroughPeer (main.button, { 20, 10 });
    oxatest::pumpMessagesUntil ({}, 20);
    ASSERT_EQ (main.clicks, 1);

    bool wasDeaf = false, backAfterwards = false;
    int clicksDuringBox = -1;
    whenBoxOpen ([&] (OxDialogWindow& w, OxDialog&)
    {
        wasDeaf = ApplicationModal::isDisabled (main) && ! ApplicationModal::isDisabled (w);
        uitest::clickThroughPeer (main.button, { 20, 10 });
        juce::MessageManager::callAsync ([&, window = juce::Component::SafePointer<OxDialogWindow> (&w)]
        {
            clicksDuringBox = main.clicks;
            if (window != nullptr)
                window->closeButtonPressed();
        });
    });
    EXPECT_FALSE (MessageBoxes::confirm ("Busy?"));
    backAfterwards = ! ApplicationModal::isDisabled (main);

    EXPECT_TRUE (wasDeaf);
    EXPECT_EQ (clicksDuringBox, 1) << "the click during the box went nowhere";
    EXPECT_TRUE (backAfterwards);

    uitest::clickThroughPeer (main.button, { 20, 10 });
    oxatest::pumpMessagesUntil ({}, 20);
    EXPECT_EQ (main.clicks, 2) << "and it hears again once the box is gone";
}

TEST_F (UiGuiDialogs, NestedModalsRestoreTheWindowsTheyTurnedDeafOnly)
{
    StandInWindow main;
    bool originalSelf = false, originalChildren = false;
    main.getInterceptsMouseClicks (originalSelf, originalChildren);
    {
        ApplicationModal outer (nullptr);
        EXPECT_EQ (outer.getNumDisabled(), 1);
        bool self = true, children = true;
        main.getInterceptsMouseClicks (self, children);
        EXPECT_FALSE (self || children);
        {
            ApplicationModal inner (nullptr);
            EXPECT_EQ (inner.getNumDisabled(), 0) << "already deaf";
        }
        EXPECT_TRUE (ApplicationModal::isDisabled (main)) << "the inner one leaves the outer's window alone";
    }
    bool self = false, children = false;
    main.getInterceptsMouseClicks (self, children);
    EXPECT_EQ (self, originalSelf);
    EXPECT_EQ (children, originalChildren);
    EXPECT_FALSE (ApplicationModal::isDisabled (main));
}

TEST_F (UiGuiDialogs, AnyComponentRunsModallyWithATitleOrAtAScreenPosition)
{
    juce::Component content;
    content.setSize (120, 40);

    juce::String title;
    uitest::whenModal ([] { return uitest::findShowingWindow<OxDialogWindow>() != nullptr; }, [&]
    {
        auto* w = uitest::findShowingWindow<OxDialogWindow>();
        title = w->getName();
        w->exitModalState (7);
    });
    EXPECT_EQ (MessageBoxes::runModalComponent (content, "Control Panel", true), 7);
    EXPECT_EQ (title, "Control Panel");

    juce::Point<int> at;
    int titleHeight = -1;
    uitest::whenModal ([] { return uitest::findShowingWindow<OxDialogWindow>() != nullptr; }, [&]
    {
        auto* w = uitest::findShowingWindow<OxDialogWindow>();
        at = w->getScreenPosition();
        titleHeight = w->getTitleBarHeight();
        w->exitModalState (3);
    });
    EXPECT_EQ (MessageBoxes::runModalComponentAt (content, 200, 150), 3);
    EXPECT_EQ (at, juce::Point<int> (200, 150));
    EXPECT_EQ (titleHeight, 0);
}
