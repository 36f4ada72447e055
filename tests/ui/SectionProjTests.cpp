// The tool set bar: the name field's editing rules, the buttons, the master level and the meters.
#include "UiTestSupport.h"
#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "platform/DataFolders.h"
#include "ui/ControllerLink.h"
#include "ui/SectionProj.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
/** The controller as the bar sees it: answers and counts the requests. */
struct FakeController : public ControllerLink
{
    int request (int code, int param1, int, void* data) override
    {
        requests.add (code);
        switch (code)
        {
            case GetMasterLevel: return masterLevel;
            case SetMasterLevel: masterLevel = param1; return requestTrue;
            case IsDeviceConnected: return connected ? requestTrue : requestFalse;
            case RecordUndoAndMarkEdited: ++undoSteps; project.edited = true; return requestTrue;
            case GetAppSetting: *static_cast<AppSetting**> (data) = &settings; return requestTrue;
            case GetMasterLevelText: *static_cast<juce::String*> (data) = juce::String (masterLevel) + " %"; return requestTrue;
            case ReadInputPeak: return param1 == 0 ? 100 : 200;
            case ReadOutputPeak: return param1 == 0 ? 300 : 400;
            default: return requestFalse;
        }
    }

    Project& getCurrentProject() override { return project; }

    int count (int code) const
    {
        int n = 0;
        for (auto c : requests)
            n += c == code ? 1 : 0;
        return n;
    }

    Project project;
    AppSetting settings;
    juce::Array<int> requests;
    int masterLevel = 70, undoSteps = 0;
    bool connected = false;
};

/** The bar on the screen, in a window of its own, so that it can take the keyboard focus. */
struct UiGuiSectionProj : public ::testing::Test
{
    UiGuiSectionProj()
    {
        controller.project.Name = "Stored";
        bar = std::make_unique<SectionProj> (controller);
        bar->setTopLeftPosition (0, 0);
        holder.setSize (400, 37);
        holder.addAndMakeVisible (*bar);
        holder.addAndMakeVisible (elsewhere);
        elsewhere.setWantsKeyboardFocus (true);
        elsewhere.setBounds (0, 0, 1, 1);
        holder.addToDesktop (0);
        holder.setVisible (true);
        oxatest::pumpMessagesUntil ([this] { return holder.isShowing(); }, 1000);
    }

    ~UiGuiSectionProj() override
    {
        bar.reset();
        holder.removeFromDesktop();
    }

    juce::TextEditor& name() { return bar->getNameField(); }

    /** The field tells its listeners of Return, Escape and focus changes by posted messages. */
    void settle() { oxatest::pumpMessagesUntil ({}, 30); }

    void press (int key)
    {
        name().keyPressed (juce::KeyPress (key));
        settle();
    }

    void type (const juce::String& text)
    {
        for (auto c : text)
            name().keyPressed (juce::KeyPress (c, 0, c));
    }

    void startEditing()
    {
        name().grabKeyboardFocus();
        name().moveCaretToEnd();
        ASSERT_TRUE (name().hasKeyboardFocus (false));
    }

    FakeController controller;
    juce::Component holder, elsewhere;
    std::unique_ptr<SectionProj> bar;
};
} // namespace

TEST_F (UiGuiSectionProj, EscapePutsTheStoredNameBackAndRecordsNothing)
{
    EXPECT_EQ (name().getText(), "Stored");
    startEditing();
    type (" more");
    EXPECT_EQ (name().getText(), "Stored more");

    press (juce::KeyPress::escapeKey);
    EXPECT_EQ (name().getText(), "Stored");
    EXPECT_FALSE (name().hasKeyboardFocus (false));
    EXPECT_TRUE (bar->hasKeyboardFocus (false)) << "the bar takes the focus";
    EXPECT_EQ (controller.undoSteps, 0);
    EXPECT_EQ (controller.project.Name, "Stored");
    EXPECT_FALSE (controller.project.edited);

    // Leaving the field with the text unchanged records nothing either.
    startEditing();
    elsewhere.grabKeyboardFocus();
    settle();
    EXPECT_EQ (controller.undoSteps, 0);
}

TEST_F (UiGuiSectionProj, AChangeBecomesTheNameWithExactlyOneUndoStep)
{
    startEditing();
    type ("!");
    press (juce::KeyPress::returnKey);

    EXPECT_EQ (controller.project.Name, "Stored!");
    EXPECT_EQ (controller.undoSteps, 1);
    EXPECT_TRUE (bar->hasKeyboardFocus (false));
    EXPECT_TRUE (name().getHighlightedRegion().isEmpty());

    // Focus moving on does not record it again; a change left by clicking elsewhere does, once.
    elsewhere.grabKeyboardFocus();
    settle();
    EXPECT_EQ (controller.undoSteps, 1);
    startEditing();
    type ("2");
    elsewhere.grabKeyboardFocus();
    settle();
    EXPECT_EQ (controller.project.Name, "Stored!2");
    EXPECT_EQ (controller.undoSteps, 2);

    // A command commits a name still being typed, once.
    startEditing();
    type ("3");
    bar->commitNameEdit();
    EXPECT_EQ (controller.project.Name, "Stored!23");
    EXPECT_EQ (controller.undoSteps, 3);
    elsewhere.grabKeyboardFocus();
    settle();
    EXPECT_EQ (controller.undoSteps, 3);
}

TEST_F (UiGuiSectionProj, ThirtyThreeCharactersOrOnesOutsideTheSetCannotBeTyped)
{
    startEditing();
    name().selectAll();
    type ("ab?c\\d/e:f*g|h\"i<j>k");
    EXPECT_EQ (name().getText(), "abcdefghijk");

    name().selectAll();
    type (juce::String::repeatedString ("x", 40));
    EXPECT_EQ (name().getText().length(), 32);

    name().selectAll();
    type ("#$%&'()+,-.;=@[]^_`{}~ 09azAZ");
    EXPECT_EQ (name().getText(), "#$%&'()+,-.;=@[]^_`{}~ 09azAZ");
}

TEST_F (UiGuiSectionProj, ChildrenColoursAndUpdate)
{
    EXPECT_EQ (bar->getBounds(), juce::Rectangle<int> (0, 0, 400, 37));
    EXPECT_EQ (name().getBounds(), juce::Rectangle<int> (8, 4, 160, 14));
    const char* names[] = { "ProjectNew", "ProjectLoad", "ProjectSave", "ProjectFolder" };
    const int xs[] = { 2, 45, 88, 131 };
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (bar->getButton (i).getName(), names[i]);
        EXPECT_EQ (bar->getButton (i).getBounds(), juce::Rectangle<int> (xs[i], 19, 53, 23));
        EXPECT_FALSE (bar->getButton (i).getWantsKeyboardFocus());
    }
    EXPECT_EQ (bar->getMasterSlider().getBounds(), juce::Rectangle<int> (182, 18, 54, 10));
    EXPECT_EQ (bar->getInputMeter().getBounds(), juce::Rectangle<int> (242, 18, 43, 14));
    EXPECT_EQ (bar->getOutputMeter().getBounds(), juce::Rectangle<int> (290, 18, 43, 14));
    EXPECT_TRUE (bar->getWantsKeyboardFocus());

    EXPECT_EQ (name().findColour (juce::TextEditor::backgroundColourId), juce::Colours::black);
    EXPECT_EQ (name().findColour (juce::TextEditor::textColourId), juce::Colour (255, 155, 0));
    EXPECT_EQ (name().findColour (juce::TextEditor::highlightedTextColourId), juce::Colours::black);
    EXPECT_EQ (name().findColour (juce::TextEditor::outlineColourId).getAlpha(), 0);
    EXPECT_FLOAT_EQ (name().getFont().getHeight(), 12.0f);

    EXPECT_EQ (bar->getMasterSlider().getValue(), 70);
    EXPECT_EQ (bar->getMasterSlider().getMaximum(), 100);
    EXPECT_FALSE (bar->isConnected());

    controller.project.Name = "Loaded";
    controller.masterLevel = 25;
    controller.connected = true;
    bar->updateSection();
    EXPECT_EQ (name().getText(), "Loaded");
    EXPECT_EQ (bar->getMasterSlider().getValue(), 25);
    EXPECT_TRUE (bar->isConnected());
    EXPECT_EQ (controller.undoSteps, 0) << "an update is no edit";
}

TEST_F (UiGuiSectionProj, ButtonsRunTheirCommandsAndTheFolderButtonShowsTheToolSetsFolder)
{
    juce::Array<int> invoked;
    bar->invokeCommand = [&] (int id) { invoked.add (id); };
    juce::Array<juce::File> shown;
    bar->openFolder = [&] (const juce::File& f) { shown.add (f); return true; };

    for (int i = 0; i < 4; ++i)
        bar->getButton (i).triggerClick();
    oxatest::pumpMessagesUntil ([&] { return shown.size() == 1; }, 1000);
    EXPECT_EQ (invoked, juce::Array<int> ({ 0x2000, 0x2001, 0x2002 }));

    // Without a current tool set: the tool sets folder, made when missing.
    oxatest::TempFolder temp;
    overrideFolderRoots (temp / "install", temp / "documents");
    const auto toolsets = getUserDataFolder (UserFolder::toolsets, false);
    EXPECT_FALSE (toolsets.exists());
    EXPECT_EQ (bar->getFolderToShow(), toolsets);
    EXPECT_TRUE (toolsets.isDirectory());

    const auto current = temp / "Set";
    current.createDirectory();
    controller.settings.CurrentProject = current.getFullPathName();
    EXPECT_EQ (bar->getFolderToShow(), current);
    clearFolderRootOverrides();
}

TEST_F (UiGuiSectionProj, TheSliderSetsTheMasterLevelAndTheMetersReadTheirPeaks)
{
    auto& slider = bar->getMasterSlider();
    const auto at = [&] (int x)
    {
        const juce::Point<float> p ((float) x, 5.0f);
        return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), p,
                                 juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier), 1.0f, 0.0f, 0.0f, 0.0f,
                                 0.0f, &slider, &slider, juce::Time::getCurrentTime(), p, juce::Time::getCurrentTime(), 1, false);
    };
    slider.mouseDown (at (4));
    slider.mouseUp (at (4));
    EXPECT_EQ (controller.masterLevel, 0);
    EXPECT_EQ (slider.getShownText(), "") << "hidden again after the drag";

    bar->getInputMeter().timerCallback();
    bar->getOutputMeter().timerCallback();
    EXPECT_EQ (bar->getInputMeter().getLevel (0), 100);
    EXPECT_EQ (bar->getInputMeter().getLevel (1), 200);
    EXPECT_EQ (bar->getOutputMeter().getLevel (0), 300);
    EXPECT_EQ (bar->getOutputMeter().getLevel (1), 400);
    EXPECT_TRUE (bar->getInputMeter().isTimerRunning());
    EXPECT_EQ (bar->getInputMeter().getTimerInterval(), 40);
}
