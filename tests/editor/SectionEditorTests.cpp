// The editor section on the screen, with a controller that records what it is
// asked: turning controls, the noise reduction's switch, the type menu, the
// board's scrolling, messages from the device, and damaged modules.
#include "EditorTestSupport.h"

#include "device/MidiRecvEv.h"
#include "documents/Archive.h"
#include "editor/Controls.h"
#include "editor/ModuleViews.h"
#include "ui/ToolTipEx.h"

using namespace editortest;
using namespace T730;

namespace
{
using Changes = std::vector<std::array<int, 3>>;

/** A section with a patch of known types on the screen. */
struct EditorGuiSection : public ::testing::Test
{
    EditorGuiSection()
    {
        link.project.editBuffer = patch();
        editor = std::make_unique<SectionEditor> (link);
        link.repaintTarget = editor.get();
        window = std::make_unique<TestWindow> (*editor);
        waitForFloor (*editor);
        link.take();
    }

    ~EditorGuiSection() override
    {
        window.reset();
        editor.reset();
    }

    static EditBuf patch()
    {
        auto b = bufferWithTypes (indexOfKey (1, "Compressor"), indexOfKey (2, "WarmDrive"), indexOfKey (5, "Chorus"),
                                  indexOfKey (6, "Delay"), indexOfKey (7, "Plate"), 1);
        b.setParam (1, 0, 1);
        b.setParam (1, 2, 0);
        return b;
    }

    juce::Point<int> pointOnFloor (juce::Point<int> floorPoint) const
    {
        const auto geo = editor->getFloor().getGeometry();
        return { (floorPoint.x - geo.view.getX()) * editor->getWidth() / geo.view.getWidth(),
                 (floorPoint.y + geo.bandTop - geo.view.getY()) * editor->getHeight() / geo.view.getHeight() };
    }

    void deliver (int m, int p, int v)
    {
        editor->deviceMessageReceived (MidiRecvPrmChg ((uint8_t) m, (uint8_t) p, (uint16_t) v));
    }

    ScopedResources resources;
    RecordingLink link;
    std::unique_ptr<SectionEditor> editor;
    std::unique_ptr<TestWindow> window;
};

TEST_F (EditorGuiSection, TheChainHoldsOneEntryPerSlotInTheDevicesOrder)
{
    ASSERT_EQ (editor->getChain().length(), 8);
    const char* keys[] = { "Compressor", "NoiseReduction", "WarmDrive", "Chorus", "Delay", "Plate", "UltraClean", "OpenBack1x12" };
    for (int slot = 0; slot < 8; ++slot)
    {
        ASSERT_NE (editor->getView (slot), nullptr) << slot;
        EXPECT_EQ (editor->getView (slot)->getKey(), keys[slot]);
    }
    EXPECT_EQ (editor->getCabinet(), 1);

    // Units stand left to right with their first jacks on one line.
    int previous = 0;
    for (int slot = 0; slot < 8; ++slot)
    {
        const auto body = editor->getView (slot)->getBodyBounds();
        EXPECT_GT (body.getX(), previous);
        previous = body.getRight();
    }
    EXPECT_TRUE (editor->getFloor().hasShownPicture());
    EXPECT_GT (link.repaintPosts.load(), 0) << "every finished picture asks for a repaint";
}

TEST_F (EditorGuiSection, TurningAKnobSendsOneChangePerStepAndOneUndoStepAtTheEnd)
{
    auto* view = editor->getView (0);
    auto* knob = findControl<Knob> (*view, 2);
    ASSERT_NE (knob, nullptr);
    ASSERT_EQ (knob->getMaxStep(), 8);
    const auto at = sectionPointOf (*editor, *knob);

    PeerMouse mouse (*editor);
    mouse.down (at);
    for (int pixels = 19; pixels <= 152; pixels += 19)
        mouse.drag ({ at.x, at.y - pixels });
    mouse.drag ({ at.x, at.y - 400 });          // past the end: no change, nothing sent
    mouse.drag ({ at.x, at.y - 19 });
    EXPECT_EQ (link.count (RecordUndoAndMarkEdited), 0) << "nothing is recorded before the release";
    mouse.up ({ at.x, at.y - 19 });

    const auto requests = link.take();
    Changes changes;
    int undoSteps = 0;
    for (const auto& r : requests)
    {
        if (r.code == SendParameterChange)
            changes.push_back ({ r.module, r.param, r.value });
        undoSteps += r.code == RecordUndoAndMarkEdited ? 1 : 0;
    }
    EXPECT_EQ (changes, (Changes { { 1, 2, 1 }, { 1, 2, 2 }, { 1, 2, 3 }, { 1, 2, 4 }, { 1, 2, 5 }, { 1, 2, 6 },
                                   { 1, 2, 7 }, { 1, 2, 8 }, { 1, 2, 1 } }));
    EXPECT_EQ (undoSteps, 1);
    EXPECT_EQ (link.project.editBuffer.getParam (1, 2), 1);
    EXPECT_EQ (view->getModule().getStep (2, true), 1);

    // A press and release that change nothing send nothing and record nothing.
    mouse.click (at);
    EXPECT_TRUE (link.take().empty());

    waitForFloor (*editor);
    EXPECT_EQ (knob->getDrawnFrame(), knob->getFrameIndex()) << "the drawing thread drew the knob's new frame";
}

TEST_F (EditorGuiSection, TheNoiseReductionSwitchCarriesTheCabinet)
{
    auto& eb = link.project.editBuffer;
    eb.setParam (4, 0, 0);
    eb.setParam (4, 2, 10);     // cabinet 1, the unit off
    editor->updateSection();
    waitForFloor (*editor);
    bringIntoView (*editor, 1);
    link.take();

    auto* view = editor->getView (1);
    ASSERT_NE (view, nullptr);
    auto* power = findControl<FootSW> (*view, 0);
    auto* up = dynamic_cast<IncKey*> (view->getControl (1));
    ASSERT_NE (power, nullptr);
    ASSERT_NE (up, nullptr);
    ASSERT_EQ (up->getDelta(), 1);
    PeerMouse mouse (*editor);

    // While the unit is off its threshold keys send nothing.
    const int threshold = view->getModule().getStep (2, true);
    mouse.click (sectionPointOf (*editor, *up));
    EXPECT_EQ (view->getModule().getStep (2, true), threshold + 1);
    EXPECT_TRUE (link.takeChanges().empty());

    mouse.click (sectionPointOf (*editor, *power));
    EXPECT_EQ (link.takeChanges(), (Changes { { 4, 0, 1 }, { 4, 2, threshold + 1 + 10 + 1 } }));
    mouse.click (sectionPointOf (*editor, *power));
    EXPECT_EQ (link.takeChanges(), (Changes { { 4, 2, 10 } }));
    mouse.click (sectionPointOf (*editor, *power));
    EXPECT_EQ (link.takeChanges(), (Changes { { 4, 2, threshold + 1 + 10 + 1 } })) << "module 4 parameter 0 is 1 already";

    // A switch released off the switch does nothing.
    const auto on = sectionPointOf (*editor, *power);
    mouse.down (on);
    mouse.drag ({ on.x + 60, on.y - 30 });
    mouse.up ({ on.x + 60, on.y - 30 });
    EXPECT_TRUE (link.take().empty());
}

TEST_F (EditorGuiSection, TheTypeMenuChangesOneSlotAndSendsTheWholeBuffer)
{
    bringIntoView (*editor, 3);
    auto* old = editor->getView (3);
    const int delay1 = indexOfKey (5, "Delay1");
    juce::StringArray items;
    editor->runTypeMenu = [&] (juce::PopupMenu& menu)
    {
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            items.add (it.getItem().text + (it.getItem().isTicked ? "*" : ""));
        return delay1 + 1;
    };
    PeerMouse mouse (*editor);
    mouse.click (pointOnFloor (old->getTypeChangeArea().getCentre()));

    EXPECT_EQ (items.size(), 13);
    EXPECT_TRUE (items.contains ("Chorus*")) << "the current type is ticked";
    ASSERT_NE (editor->getView (3), nullptr);
    EXPECT_EQ (editor->getView (3)->getKey(), "Delay1");
    const auto requests = link.take();
    int dumps = 0, undo = 0;
    for (const auto& r : requests)
    {
        if (r.code == SendEditBuffer)
        {
            ++dumps;
            EXPECT_EQ (r.buffer.getParam (5, 1), delay1);
            EXPECT_EQ (r.buffer.getParam (5, 2), 7) << "the new type's default mix";
            EXPECT_EQ (r.buffer.getParam (5, 3), 39) << "and time";
        }
        undo += r.code == RecordUndoAndMarkEdited ? 1 : 0;
        EXPECT_NE (r.code, SendParameterChange);
    }
    EXPECT_EQ (dumps, 1);
    EXPECT_EQ (undo, 1);
    for (int slot : { 0, 1, 2, 4, 5, 6, 7 })
    {
        EXPECT_NE (editor->getView (slot), nullptr) << slot;
    }

    // An amp model from the amp slot covers the drive slot; a pedal brings the clean preamp back.
    const int glass = indexOfKey (2, "GlassClean");
    editor->runTypeMenu = [glass] (juce::PopupMenu&) { return glass + 1; };
    editor->changeType (6);
    EXPECT_EQ (editor->getView (6)->getKey(), "GlassClean");
    EXPECT_EQ (editor->getView (2)->getKey(), "shieldDrive");
    EXPECT_EQ (link.project.editBuffer.getParam (2, 3), 8) << "the amp's own default gain";
    const int fuzz = indexOfKey (2, "VintageFuzz");
    editor->runTypeMenu = [fuzz] (juce::PopupMenu&) { return fuzz + 1; };
    editor->changeType (2);
    EXPECT_EQ (editor->getView (2)->getKey(), "VintageFuzz");
    EXPECT_EQ (editor->getView (6)->getKey(), "UltraClean");

    // No choice changes nothing.
    link.take();
    editor->runTypeMenu = [] (juce::PopupMenu&) { return 0; };
    editor->changeType (3);
    EXPECT_TRUE (link.take().empty());
    EXPECT_EQ (editor->getView (3)->getKey(), "Delay1");
}

TEST_F (EditorGuiSection, ThePatchMayChangeWhileTheTypeMenuIsOpen)
{
    bringIntoView (*editor, 4);
    auto other = patch();
    other.setParam (6, 1, indexOfKey (6, "TapeEcho"));
    other.setParam (1, 1, indexOfKey (1, "BitCrush"));
    const int reverse = indexOfKey (6, "Reverse");

    editor->runTypeMenu = [&] (juce::PopupMenu&)
    {
        // A new patch from the device while the menu is open: the chain is built again.
        link.project.editBuffer = other;
        editor->updateSection();
        return reverse + 1;
    };
    PeerMouse mouse (*editor);
    mouse.click (pointOnFloor (editor->getView (4)->getTypeChangeArea().getCentre()));

    ASSERT_EQ (editor->getChain().length(), 8);
    ASSERT_NE (editor->getView (4), nullptr);
    EXPECT_EQ (editor->getView (4)->getKey(), "Reverse");
    EXPECT_EQ (editor->getView (0)->getKey(), "BitCrush") << "the rest shows the new patch";
    EXPECT_EQ (link.project.editBuffer.getParam (6, 1), reverse);
    waitForFloor (*editor);

    // The board still answers the pointer.
    auto* knob = findControl<Knob> (*editor->getView (4), 2);
    ASSERT_NE (knob, nullptr);
    link.take();
    const auto at = sectionPointOf (*editor, *knob);
    mouse.down (at);
    mouse.drag ({ at.x, at.y - 40 });
    mouse.up ({ at.x, at.y - 40 });
    const auto changes = link.takeChanges();
    ASSERT_FALSE (changes.empty());
    EXPECT_EQ (changes[0][0], 6);
}

TEST_F (EditorGuiSection, TheCabinetMenuOffKeepsTheThreshold)
{
    auto& eb = link.project.editBuffer;
    eb.setParam (4, 2, 23);
    editor->updateSection();
    waitForFloor (*editor);
    ASSERT_EQ (editor->getCabinet(), 2);

    juce::StringArray items;
    editor->runTypeMenu = [&items] (juce::PopupMenu& menu)
    {
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            items.add (juce::String (it.getItem().itemID) + (it.getItem().isTicked ? "*" : ""));
        return 100;
    };
    editor->changeType (7);
    EXPECT_EQ (items, juce::StringArray ({ "1", "2*", "3", "100" }));
    EXPECT_EQ (eb.getParam (4, 2), 3);
    EXPECT_EQ (editor->getCabinet(), 0);
    EXPECT_EQ (editor->getView (7)->getKey(), "ShieldCabinet");
    EXPECT_EQ (editor->getInfo (7).name, "off");

    // A cabinet chosen while module 4 is off switches it on with threshold 0.
    eb.setParam (4, 0, 0);
    eb.setParam (4, 2, 0);
    editor->updateSection();
    link.take();
    editor->runTypeMenu = [] (juce::PopupMenu&) { return 3; };
    editor->changeType (7);
    EXPECT_EQ (eb.getParam (4, 2), 30);
    EXPECT_EQ (eb.getParam (4, 0), 1);
    EXPECT_EQ (editor->getView (7)->getKey(), "Stack4x12");
    int dumps = 0;
    for (const auto& r : link.take())
        if (r.code == SendEditBuffer)
        {
            ++dumps;
            EXPECT_EQ (r.buffer.getParam (4, 2), 30);
        }
    EXPECT_EQ (dumps, 1);
}

TEST_F (EditorGuiSection, TheBoardScrollsWithinItsChain)
{
    auto& floor = editor->getFloor();
    const auto start = floor.getGeometry();
    ASSERT_EQ (start.view.getX(), 63);
    ASSERT_EQ (start.view.getWidth(), editor->getWidth()) << "the strip copies the floor pixel for pixel";

    // Dragging the bare floor to the right at the home position does not move it.
    PeerMouse mouse (*editor);
    const juce::Point<int> bare (12, 12);
    ASSERT_EQ (editor->hitTestSection (bare).kind, SectionEditor::Hit::onFloor);
    mouse.down (bare);
    mouse.drag ({ 300, 12 });
    EXPECT_EQ (floor.getGeometry().view.getX(), 63);
    // Far to the left it stops 95 pixels after the chain.
    mouse.drag ({ -5000, 12 });
    mouse.up ({ -5000, 12 });
    const auto end = floor.getGeometry();
    EXPECT_EQ (end.view.getX(), end.chainWidth + 95 - end.view.getWidth());
    EXPECT_TRUE (link.take().empty()) << "scrolling is no edit";

    // The buttons move by 95.
    mouse.move ({ 200, 60 });
    ASSERT_TRUE (editor->getLeftButton().isVisible());
    editor->getLeftButton().triggerClick();
    oxatest::pumpMessagesUntil ({}, 50);
    EXPECT_EQ (floor.getGeometry().view.getX(), end.view.getX() - 95);

    // The clamping rule on its own.
    EXPECT_EQ (FloorThread::clampView ({ 10, 0, 652, 146 }, 2634, 635, 1800, 63).getX(), 63);
    EXPECT_EQ (FloorThread::clampView ({ 2000, 0, 652, 146 }, 2634, 635, 1800, 63).getX(), 1800 + 95 - 652);
    EXPECT_EQ (FloorThread::clampView ({ 900, 0, 652, 146 }, 2634, 635, 1800, 63).getX(), 900);
    EXPECT_EQ (FloorThread::clampView ({ 900, 0, 652, 146 }, 2634, 635, 500, 63).getX(), 63) << "a chain narrower than the view stays home";
    EXPECT_EQ (FloorThread::clampView ({ 900, 900, 652, 146 }, 2634, 635, 1800, 63).getY(), 635 - 146);
}

TEST_F (EditorGuiSection, DeviceChangesMoveTheControlsAndAreClamped)
{
    deliver (1, 2, 5);
    EXPECT_EQ (editor->getView (0)->getModule().getStep (2, true), 5);
    EXPECT_EQ (findControl<Knob> (*editor->getView (0), 2)->getStep(), 5);
    EXPECT_EQ (link.count (MarkEdited), 1);
    EXPECT_GT (link.tooltipPosts.load(), 0);
    EXPECT_TRUE (link.takeChanges().empty()) << "a device change is never sent back";

    deliver (0, 3, 7);
    EXPECT_EQ (link.count (MarkEdited), 0) << "module 0 parameter 3 does not mark the tool set edited";

    // Values out of range stop at the ends.
    deliver (1, 2, 16383);
    EXPECT_EQ (findControl<Knob> (*editor->getView (0), 2)->getStep(), 8);
    deliver (3, 3, 16383);
    EXPECT_EQ (editor->getView (6)->getModule().getStep (5, true), 36);
    deliver (4, 2, 16383);
    EXPECT_EQ (editor->getView (7), nullptr) << "no such cabinet: the slot is empty";
    deliver (4, 2, 13);
    ASSERT_NE (editor->getView (7), nullptr);
    EXPECT_EQ (editor->getView (7)->getKey(), "OpenBack1x12");
    EXPECT_EQ (editor->getView (1)->getModule().getStep (2, true), 2);
    deliver (4, 0, 0);
    EXPECT_EQ (editor->getView (7)->getKey(), "ShieldCabinet");
    EXPECT_EQ (editor->getView (1)->getModule().getStep (0, true), 0);

    // The amp slot's parameters reach the clean preamp.
    deliver (3, 0, 1);
    EXPECT_EQ (editor->getView (6)->getModule().getStep (1, true), 1);

    // A whole buffer builds the chain again; a type past its category's end leaves that slot empty.
    auto b = patch();
    b.setParam (5, 1, 99);
    link.project.editBuffer = b;
    MidiRecvEditBuf whole;
    whole.buffer = b;
    editor->deviceMessageReceived (whole);
    EXPECT_EQ (editor->getView (3), nullptr);
    ASSERT_NE (editor->getView (4), nullptr);
    EXPECT_EQ (editor->getView (4)->getKey(), "Delay");
    deliver (5, 2, 3);   // for the empty slot: nothing happens
    EXPECT_TRUE (waitForFloor (*editor));
}

TEST_F (EditorGuiSection, HoveringAControlShowsItsValue)
{
    auto* knob = findControl<Knob> (*editor->getView (0), 2);
    PeerMouse mouse (*editor);
    mouse.move (sectionPointOf (*editor, *knob));
    ASSERT_TRUE (editor->isTooltipShown());
    auto* tip = ToolTipEx::getInstance();
    EXPECT_TRUE (tip->isVisible());
    EXPECT_EQ (tip->getText(), "Sense : 1");

    deliver (1, 2, 4);
    editor->updateTooltip();
    EXPECT_EQ (tip->getText(), "Sense : 5");

    mouse.move ({ 12, 12 });
    EXPECT_FALSE (tip->isVisible());
    EXPECT_FALSE (editor->isTooltipShown());
}

//==============================================================================
/** The staged resources copied, so that one module's files can be damaged. */
struct DamagedResources
{
    DamagedResources()
    {
        EXPECT_TRUE (stagedResources().copyDirectoryTo (folder.get()));
    }

    juce::File file (const juce::String& name) const { return folder.get().getChildFile (name); }

    oxatest::TempFolder folder;
};

TEST (EditorGuiDamaged, ADamagedDescriptionEmptiesItsSlotAndTheOthersKeepTheirAddresses)
{
    DamagedResources copy;
    ASSERT_TRUE (copy.file ("Chorus.orc").replaceWithText ("not an archive at all"));

    // The delay's archive as an unpacked folder whose pictures are damaged or missing.
    const auto description = readArchiveText (copy.file ("Delay.orc").getChildFile ("EfxType.xml"));
    ASSERT_TRUE (description.isNotEmpty());
    ASSERT_TRUE (copy.file ("Delay.orc").deleteFile());
    ASSERT_TRUE (copy.file ("Delay.orc").getChildFile ("resource").createDirectory());
    ASSERT_TRUE (copy.file ("Delay.orc").getChildFile ("EfxType.xml").replaceWithText (description));
    ASSERT_TRUE (copy.file ("Delay.orc/resource/Panel.png").replaceWithText ("\x89PNG broken"));

    ScopedResources resources (copy.folder.get());
    RecordingLink link;
    link.project.editBuffer = bufferWithTypes (0, indexOfKey (2, "WarmDrive"), indexOfKey (5, "Chorus"),
                                               indexOfKey (6, "Delay"), indexOfKey (7, "Plate"), 1);
    SectionEditor editor (link);
    TestWindow window (editor);
    ASSERT_TRUE (waitForFloor (editor));

    ASSERT_EQ (editor.getChain().length(), 8);
    EXPECT_EQ (editor.getView (3), nullptr) << "the chorus cannot be shown";
    EXPECT_EQ (editor.getInfo (3).key, "Chorus");
    auto* delay = editor.getView (4);
    ASSERT_NE (delay, nullptr);
    EXPECT_EQ (delay->getKey(), "Delay");
    EXPECT_FALSE (delay->getPicture().isValid()) << "its damaged picture is not drawn";
    EXPECT_EQ (editor.getView (5)->getKey(), "Plate");

    // The delay's knob still reaches the delay (module 6), not the modulation.
    bringIntoView (editor, 4);
    link.take();
    auto* mix = findControl<Knob> (*delay, 2);
    ASSERT_NE (mix, nullptr);
    PeerMouse mouse (editor);
    const auto at = sectionPointOf (editor, *mix);
    mouse.down (at);
    mouse.drag ({ at.x, at.y - 30 });
    mouse.up ({ at.x, at.y - 30 });
    const auto changes = link.takeChanges();
    ASSERT_FALSE (changes.empty());
    for (const auto& c : changes)
    {
        EXPECT_EQ (c[0], 6);
        EXPECT_EQ (c[1], 2);
    }

    // The device's changes for the empty slot go nowhere; the delay's reach the delay.
    editor.deviceMessageReceived (MidiRecvPrmChg (5, 2, 3));
    editor.deviceMessageReceived (MidiRecvPrmChg (6, 2, 11));
    EXPECT_EQ (mix->getStep(), 11);
    EXPECT_TRUE (waitForFloor (editor));
}
} // namespace

namespace
{
TEST (EditorGuiRepaints, OneRepaintIsAskedForUntilTheStripHasPainted)
{
    ScopedResources resources;
    RecordingLink link;
    SectionEditor editor (link);   // not on the screen: nothing paints it by itself
    ASSERT_TRUE (waitForFloor (editor));
    const int posts = link.repaintPosts.load();
    ASSERT_GE (posts, 1);

    const int renders = editor.getFloor().getRenderCount();
    for (int i = 0; i < 3; ++i)
    {
        editor.getFloor().queue (FloorThread::redrawControls, nullptr);
        ASSERT_TRUE (waitForFloor (editor));
    }
    EXPECT_EQ (editor.getFloor().getRenderCount(), renders + 3);
    EXPECT_EQ (link.repaintPosts.load(), posts) << "the repaint asked for already shows the newest picture";

    // Once the strip has painted, the next picture asks again.
    juce::Image image (juce::Image::RGB, editor.getWidth(), editor.getHeight(), true);
    {
        juce::Graphics g (image);
        editor.paintEntireComponent (g, true);
    }
    EXPECT_EQ (image.getPixelAt (300, 70), editor.getFloor().getShownPicture().getPixelAt (300, 70));
    editor.getFloor().queue (FloorThread::redrawControls, nullptr);
    ASSERT_TRUE (waitForFloor (editor));
    EXPECT_EQ (link.repaintPosts.load(), posts + 1);
}
} // namespace
