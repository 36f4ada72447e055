// The main window and its main component: sections, messages, busy nesting, menus.
#include "GuiWindowTestSupport.h"

#include "app/ControllerCommands.h"
#include "app/GuiMain.h"
#include "app/SectionTab.h"
#include "editor/SectionEditor.h"
#include "editor/SectionPedalAssign.h"
#include "jam/SectionJam.h"
#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "ui/SectionProj.h"

using namespace T730;

namespace
{
class AppGuiMainWindow : public apptest::MainWindowFixture
{
};
} // namespace

TEST_F (AppGuiMainWindow, ShowsTheFiveSectionsAtTheirBoundsUnderTheMenuBar)
{
    settle();
    auto& main = gui();
    EXPECT_EQ (main.getParentComponent() != nullptr, true);
    EXPECT_EQ (main.getLocalBounds(), juce::Rectangle<int> (0, 0, 700, 500));
    EXPECT_EQ (main.getTabSection().getBounds(), juce::Rectangle<int> (0, 0, 300, 350));
    EXPECT_EQ (main.getToolSetBar().getBounds(), juce::Rectangle<int> (300, 0, 400, 37));
    EXPECT_EQ (main.getJamSection().getBounds(), juce::Rectangle<int> (300, 38, 400, 308));
    EXPECT_EQ (main.getEditorSection().getBounds(), juce::Rectangle<int> (1, 354, 652, 146));
    EXPECT_EQ (main.getPedalAssignSection().getBounds(), juce::Rectangle<int> (656, 349, 45, 152));

    const auto shot = uitest::snapshot (*window);
    EXPECT_EQ (shot.getWidth(), 700) << "no frame around the fixed layout";
    EXPECT_TRUE (uitest::writeScreenshot (shot, "window"));
    const int top = HelloWorldWindow::titleBarHeight + main.getLookAndFeel().getDefaultMenuBarHeight();
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, { 0, 0, 700, top + 50 }, 2), "window-top-zoomed"));
}

namespace
{
/** Every item of a menu, submenus flattened: (command ID, text, enabled, ticked). */
struct MenuItem
{
    int id;
    juce::String text;
    bool enabled, ticked;
};

void collect (const juce::PopupMenu& menu, std::vector<MenuItem>& items, juce::StringArray& structure)
{
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        if (item.isSeparator)
            structure.add ("-");
        else if (item.subMenu != nullptr)
        {
            structure.add ("[" + item.text);
            collect (*item.subMenu, items, structure);
            structure.add ("]");
        }
        else
        {
            items.push_back ({ item.itemID, item.text, item.isEnabled, item.isTicked });
            structure.add (juce::String::toHexString (item.itemID));
        }
    }
}

/** A tool set document (with a Demo flag when asked) named in the tool sets folder. */
void writeToolSet (const juce::File& document, bool demo, const juce::String& name = "Set")
{
    Project p;
    p.Name = name;
    juce::XmlElement root (Project::rootTag);
    p.write (&root);
    if (demo)
        root.createNewChildElement ("Demo")->addTextElement ("1");
    document.replaceWithText (root.toString());
}
} // namespace

TEST_F (AppGuiMainWindow, TheMenusHoldTheirCommandsInOrderAndBusyGreysThemAll)
{
    auto& main = gui();
    EXPECT_EQ (main.getMenuBarNames(), juce::StringArray ({ "File", "Edit", "Device", "Help" }));

    const auto structureOf = [&] (int index)
    {
        std::vector<MenuItem> items;
        juce::StringArray structure;
        collect (main.getMenuForIndex (index, {}), items, structure);
        return std::make_pair (items, structure.joinIntoString (" "));
    };

    EXPECT_EQ (structureOf (0).second, "2000 2001 2002 2003 [Import 2040 2041 ] [Export 2048 ] - 2004 - 2005")
        << "no Demo submenu without demo tool sets";
    EXPECT_EQ (structureOf (1).second, "2010 2011");
    EXPECT_EQ (structureOf (2).second, "2021 2023 - 2022 - 201f - 2020");
    EXPECT_EQ (structureOf (3).second, "2030");

    const auto file = structureOf (0).first;
    EXPECT_EQ (file[0].text, "New");
    EXPECT_TRUE (file[0].enabled);
    const auto edit = structureOf (1).first;
    EXPECT_FALSE (edit[0].enabled) << "Undo: one snapshot only";
    EXPECT_TRUE (structureOf (2).first[0].ticked) << "Auto Run is on by default";

    // A busy controller (a rhythm preview) greys every item; Auto Run loses its tick.
    controller().request (BeginRhythmPreview);
    for (int menu = 0; menu < 4; ++menu)
        for (const auto& item : structureOf (menu).first)
        {
            EXPECT_FALSE (item.enabled) << item.text;
            EXPECT_FALSE (item.ticked && item.id == CommandIDs::autoRun);
        }
    controller().request (EndRhythmPreview);
    EXPECT_TRUE (structureOf (0).first[0].enabled);
    EXPECT_EQ (main.getBusyDepth(), 0);

    // The shortcuts reach the commands through the window's key mappings.
    auto* keys = main.getCommandManager()->getKeyMappings();
    EXPECT_TRUE (keys->containsMapping (CommandIDs::fileSave, juce::KeyPress ('s', juce::ModifierKeys::commandModifier, 0)));
}

TEST_F (AppGuiMainWindow, TheDemoListTakesBuiltInNamesAndToolSetsMarkedAsDemos)
{
    const auto toolsets = sandbox.folder ("toolsets");
    toolsets.getChildFile ("1987 L.A. METAL.xml").replaceWithText ("not even a document");
    writeToolSet (toolsets.getChildFile ("Marked.xml"), true);
    writeToolSet (toolsets.getChildFile ("Plain.xml"), false);
    toolsets.getChildFile ("Broken.xml").replaceWithText ("<Project><Demo>1</Demo>");
    toolsets.getChildFile ("1965 liverpool.xml").replaceWithText ("case matters");
    toolsets.getChildFile ("1970 BLUES ROCK.txt").replaceWithText ("not xml");
    toolsets.getChildFile ("Sub").createDirectory();
    writeToolSet (toolsets.getChildFile ("Sub/Deep.xml"), true);

    auto& main = gui();
    main.rebuildDemoList();
    juce::StringArray names;
    for (const auto& f : main.getDemoList())
        names.add (f.getFileNameWithoutExtension());
    EXPECT_EQ (names, juce::StringArray ({ "1987 L.A. METAL", "Marked" }));

    std::vector<MenuItem> items;
    juce::StringArray structure;
    collect (main.getMenuForIndex (0, {}), items, structure);
    EXPECT_EQ (structure.joinIntoString (" "),
               "2000 2001 2002 2003 [Import 2040 2041 ] [Export 2048 ] - 2004 - [Demo 2100 2101 ] - 2005");
    EXPECT_EQ (items[8].text, "1987 L.A. METAL");
    EXPECT_EQ (items[9].text, "Marked");

    // Opening the marked demo loads that tool set; the broken built-in one says so.
    ASSERT_TRUE (main.getCommandManager()->invokeDirectly (CommandIDs::demoFirst + 1, false));
    EXPECT_EQ (controller().getProject().Name, "Set");
    EXPECT_TRUE (errors.shown.isEmpty());
    ASSERT_TRUE (main.getCommandManager()->invokeDirectly (CommandIDs::demoFirst, false));
    EXPECT_EQ (errors.shown, juce::StringArray ({ "Toolset load error." }));
}

TEST_F (AppGuiMainWindow, UpdatesAndRepaintsReachTheFlaggedSectionsAndControllerMessagesAreRouted)
{
    auto& main = gui();
    const auto counts = [&]
    {
        return juce::Array<int> ({ main.getTabSection().getTimesUpdated(), main.getToolSetBar().getTimesUpdated(),
                                   main.getJamSection().getTimesUpdated(), main.getEditorSection().getTimesUpdated(),
                                   main.getPedalAssignSection().getTimesUpdated() });
    };
    settle();
    const auto before = counts();

    main.updateSections (0);
    main.repaintSections (0);
    EXPECT_EQ (counts(), before);

    main.updateSections (sectionJam | sectionPedalAssign);
    auto expected = before;
    expected.set (2, expected[2] + 1);
    expected.set (4, expected[4] + 1);
    EXPECT_EQ (counts(), expected);

    main.updateSections (sectionAll);
    for (int i = 0; i < 5; ++i)
        expected.set (i, expected[i] + 1);
    EXPECT_EQ (counts(), expected);

    // The controller's posted update lands in the tool set bar.
    controller().getProject().Name = "From the device";
    juce::MessageManager::callAsync ([&] { controller().request (RecordUndo); });
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return main.getToolSetBar().getNameField().getText() == "From the device"; }, 2000));
}

TEST_F (AppGuiMainWindow, BusyNestingStopsLiveDrawingOnceAndAnUnmatchedEndRestartsIt)
{
    auto& main = gui();
    auto& jam = main.getJamSection();
    const int updates = jam.getTimesUpdated();

    main.beginBusy();
    main.beginBusy();
    EXPECT_FALSE (jam.isLiveDrawing());
    main.endBusy();
    EXPECT_FALSE (jam.isLiveDrawing()) << "still one level deep";
    EXPECT_EQ (jam.getTimesUpdated(), updates);
    main.endBusy();
    EXPECT_TRUE (jam.isLiveDrawing());
    EXPECT_EQ (jam.getTimesUpdated(), updates + 1);

    main.endBusy();
    EXPECT_EQ (main.getBusyDepth(), -1);
    EXPECT_TRUE (jam.isLiveDrawing());
    EXPECT_EQ (jam.getTimesUpdated(), updates + 2) << "an unmatched end restarts it once more";

    main.beginBusy();
    EXPECT_EQ (main.getBusyDepth(), 0);
    EXPECT_TRUE (jam.isLiveDrawing()) << "a begin that does not start from 0 stops nothing";
    main.beginBusy();
    EXPECT_FALSE (jam.isLiveDrawing()) << "from 0 to 1 it does";
    main.endBusy();
    EXPECT_TRUE (jam.isLiveDrawing());
}

TEST_F (AppGuiMainWindow, TabsSwitchPagesAsARadioGroupAndOnlyTheTunerGetsPitches)
{
    auto& tabs = gui().getTabSection();
    EXPECT_EQ (tabs.getCurrentPage(), &tabs.getSearchPage());
    EXPECT_TRUE (tabs.getTab (0).getToggleState());
    const int xs[] = { 1, 77, 152, 227 };
    const char* names[] = { "TAB_BTN_SEARCH", "TAB_BTN_LIBRARIAN", "TAB_BTN_TUNER", "TAB_BTN_DOWNLOAD" };
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (tabs.getTab (i).getBounds(), juce::Rectangle<int> (xs[i], 2, 87, 44));
        EXPECT_EQ (tabs.getTab (i).getName(), names[i]);
        EXPECT_EQ (tabs.getTab (i).getRadioGroupId(), 48000);
        EXPECT_FALSE (tabs.getTab (i).getWantsKeyboardFocus());
    }
    EXPECT_GT (tabs.getTab (3).getRight(), tabs.getWidth()) << "the last tab is clipped by the section";
    EXPECT_EQ (tabs.getSearchPage().getBounds(), juce::Rectangle<int> (0, 37, 300, 313));
    EXPECT_TRUE (tabs.getTunerPage().getBounds().isEmpty());
    EXPECT_EQ (tabs.getTunerPage().getParentComponent(), nullptr);

    gui().tunerPitchDetected (82.4f);
    EXPECT_FLOAT_EQ (tabs.getTunerPage().getLastPitch(), 0.0f) << "the tuner is not shown";
    EXPECT_EQ (controller().request (IsTunerShown), requestFalse);

    tabs.getTab (2).triggerClick();
    settle();
    EXPECT_EQ (tabs.getCurrentPage(), &tabs.getTunerPage());
    EXPECT_TRUE (tabs.getTab (2).getToggleState());
    EXPECT_FALSE (tabs.getTab (0).getToggleState());
    EXPECT_TRUE (tabs.getSearchPage().getBounds().isEmpty());
    EXPECT_EQ (tabs.getSearchPage().getParentComponent(), nullptr);
    EXPECT_EQ (controller().request (IsTunerShown), requestTrue);
    gui().tunerPitchDetected (82.4f);
    EXPECT_FLOAT_EQ (tabs.getTunerPage().getLastPitch(), 82.4f);

    // The tab of the page shown changes nothing.
    const int repaintsBefore = tabs.getTunerPage().getTimesUpdated();
    tabs.getTab (2).triggerClick();
    settle();
    EXPECT_EQ (tabs.getCurrentPage(), &tabs.getTunerPage());
    EXPECT_TRUE (tabs.getTab (2).getToggleState());
    EXPECT_EQ (tabs.getTunerPage().getTimesUpdated(), repaintsBefore);
    tabs.selectPage (nullptr);
    EXPECT_EQ (tabs.getCurrentPage(), &tabs.getTunerPage());

    tabs.getTab (3).triggerClick();
    settle();
    EXPECT_EQ (tabs.getCurrentPage(), &tabs.getDownloadPage());
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (uitest::snapshot (tabs), { 0, 0, 300, 60 }, 2), "tabs-zoomed"));
}

TEST_F (AppGuiMainWindow, ExitAndTheCloseButtonAskBeforeDiscardingEdits)
{
    controller().getProject().edited = true;
    dialogs.confirmAnswer = false;

    window->closeButtonPressed();
    EXPECT_EQ (dialogs.questions, juce::StringArray ({ "Toolset has been edited. Are you sure?" }));
    EXPECT_EQ (quitRequests, 0);

    EXPECT_FALSE (gui().getCommandManager()->invokeDirectly (CommandIDs::exit, false));
    EXPECT_EQ (dialogs.questions.size(), 2);
    EXPECT_EQ (quitRequests, 0);
    EXPECT_EQ (gui().getBusyDepth(), 0) << "declined: nothing entered";

    dialogs.confirmAnswer = true;
    EXPECT_TRUE (gui().getCommandManager()->invokeDirectly (CommandIDs::exit, false));
    EXPECT_EQ (quitRequests, 1);

    // Unedited, the close button quits without a question.
    controller().getProject().edited = false;
    window->closeButtonPressed();
    EXPECT_EQ (dialogs.questions.size(), 3);
    EXPECT_EQ (quitRequests, 2);
}

TEST_F (AppGuiMainWindow, TheFileMenuAsItOpens)
{
    settle();
    auto* bar = window->getMenuBarComponent();
    ASSERT_NE (bar, nullptr);
    const auto shownBefore = juce::Desktop::getInstance().getNumComponents();
    gui().getMenuForIndex (0, "File").showMenuAsync (juce::PopupMenu::Options().withTargetComponent (bar)
                                                         .withTargetScreenArea (bar->getScreenBounds().withWidth (40)));
    // The menu's window is the tallest of the windows that came up since.
    juce::Component* popup = nullptr;
    const auto findPopup = [&]
    {
        auto& desktop = juce::Desktop::getInstance();
        popup = nullptr;
        for (int i = shownBefore; i < desktop.getNumComponents(); ++i)
            if (auto* c = desktop.getComponent (i); c != nullptr && (popup == nullptr || c->getHeight() > popup->getHeight()))
                popup = c;
        return popup != nullptr && popup->getHeight() > 150;
    };
    EXPECT_TRUE (oxatest::pumpMessagesUntil (findPopup, 3000)) << "New, Open, Save, Save As, Import, Export, Mix Down, Exit";
    ASSERT_NE (popup, nullptr);
    settle (100);
    // Looked up again: a window of another program taking the focus meanwhile closes the menu.
    if (! findPopup())
        GTEST_SKIP() << "the menu was closed while it settled (another window took the focus)";
    EXPECT_TRUE (uitest::writeScreenshot (uitest::snapshot (*popup), "menu-file"));
    juce::PopupMenu::dismissAllActiveMenus();
    settle();
}

TEST_F (AppGuiMainWindow, ANameStillBeingTypedIsPartOfTheToolSetACommandSaves)
{
    settle();
    const auto folder = sandbox.folder ("toolsets").getChildFile ("Live");
    dialogs.saveChoice = folder.getParentDirectory().getChildFile ("Live.xml");
    ASSERT_TRUE (gui().getCommandManager()->invokeDirectly (CommandIDs::fileSaveAs, false));
    ASSERT_TRUE (Project::getDocumentFile (folder).existsAsFile());
    settle();

    // Typed, not yet left: the bar's Save button runs the command while the field keeps the focus.
    auto& name = gui().getToolSetBar().getNameField();
    name.grabKeyboardFocus();
    name.selectAll();
    name.insertTextAtCaret ("Sunday Jam");
    gui().getToolSetBar().getButton (2).triggerClick();
    settle (150);

    EXPECT_EQ (getElementText (parseXmlFile (Project::getDocumentFile (folder)).get(), "Name"), "Sunday Jam");
    EXPECT_FALSE (controller().getProject().edited) << "saved, with the name";
}
