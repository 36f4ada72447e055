// The controls: the knob's and the slider's drags in both modes, the keys'
// presses and releases, hit areas, frames and the time entry.
#include "EditorTestSupport.h"

#include "editor/Controls.h"
#include "editor/TimeInputWindow.h"

using namespace T730;

namespace
{
/** The owner of the controls under test: counts what they report. */
struct Owner : public ListenerCtrlBase
{
    void ctrlValueChanged (CtrlBase& c) override { steps.push_back (c.getStep()); }
    void ctrlTapped (CtrlBase&) override { ++taps; }
    void ctrlTimeEntered (CtrlBase&, double s) override { seconds.push_back (s); }
    juce::Rectangle<int> getOwnerBounds() const override { return bounds; }

    std::vector<int> steps;
    std::vector<double> seconds;
    int taps = 0;
    juce::Rectangle<int> bounds;
};

const juce::ModifierKeys left (juce::ModifierKeys::leftButtonModifier);
const juce::ModifierKeys leftShift (juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::shiftModifier);
const juce::ModifierKeys leftCtrl (juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::ctrlModifier);

template <typename C>
void place (C& control, Owner& owner, int maxStep, juce::Rectangle<int> r = { 10, 10, 30, 30 })
{
    control.setOwner (&owner);
    control.setBounds (r);
    control.setMaxStep (maxStep);
}

TEST (EditorControls, KnobSpansItsRangeIn150PixelsAndFineModeInPowersOfTwo)
{
    Owner owner;
    Knob knob ("M", "K", 0, 2, 0, {});
    place (knob, owner, 10);

    knob.mouseDown ({ 20, 200, left });
    knob.mouseDrag ({ 20, 125, left });
    EXPECT_EQ (knob.getStep(), 5);
    knob.mouseDrag ({ 20, 50, left });
    EXPECT_EQ (knob.getStep(), 10);
    knob.mouseDrag ({ 20, -400, left });
    EXPECT_EQ (knob.getStep(), 10) << "kept within the range";
    knob.mouseUp ({ 20, -400, left });
    EXPECT_EQ (owner.steps, (std::vector<int> { 5, 10 })) << "one report per change, none for no change";

    // Fine mode: maximum 10 needs b = 32 (10 x 32 >= 300).
    EXPECT_EQ (DragAnchor::finePixelsPerStep (10), 32);
    EXPECT_EQ (DragAnchor::finePixelsPerStep (400), 1);
    EXPECT_EQ (DragAnchor::finePixelsPerStep (0), 1);
    EXPECT_EQ (DragAnchor::finePixelsPerStep (299), 2);
    knob.setStep (0);
    knob.mouseDown ({ 20, 200, leftShift });
    knob.mouseDrag ({ 20, 169, leftShift });
    EXPECT_EQ (knob.getStep(), 0);
    knob.mouseDrag ({ 20, 168, leftShift });
    EXPECT_EQ (knob.getStep(), 1);
    knob.mouseUp ({ 20, 168, leftShift });

    Knob wide ("M", "K", 0, 2, 0, {});
    place (wide, owner, 400);
    wide.mouseDown ({ 20, 200, leftShift });
    wide.mouseDrag ({ 20, 193, leftShift });
    EXPECT_EQ (wide.getStep(), 7) << "one step per pixel for 300 steps and more";
}

TEST (EditorControls, ShiftInTheMiddleOfADragContinuesFromWhereItWas)
{
    Owner owner;
    Knob knob ("M", "K", 0, 2, 0, {});
    place (knob, owner, 100);

    knob.mouseDown ({ 0, 300, left });
    knob.mouseDrag ({ 0, 225, left });
    ASSERT_EQ (knob.getStep(), 50);
    knob.mouseDrag ({ 0, 215, leftShift });   // the mode changes: nothing moves
    EXPECT_EQ (knob.getStep(), 50);
    knob.mouseDrag ({ 0, 211, leftShift });   // b = 4 for 100 steps: one step
    EXPECT_EQ (knob.getStep(), 51);
    knob.mouseDrag ({ 0, 200, left });        // back to normal mode: no jump
    EXPECT_EQ (knob.getStep(), 51);
    knob.mouseDrag ({ 0, 185, left });
    EXPECT_EQ (knob.getStep(), 61);
}

TEST (EditorControls, CtrlClickRestoresTheDefaultOnlyWithItsFlag)
{
    Owner owner;
    Knob knob ("M", "K", 0, 2, 4, {});
    place (knob, owner, 10);
    knob.setStep (9);
    knob.mouseDown ({ 20, 20, leftCtrl });
    EXPECT_EQ (knob.getStep(), 9);
    knob.initOnCtrlClick = true;
    knob.mouseDown ({ 20, 20, leftCtrl });
    EXPECT_EQ (knob.getStep(), 4);

    ImgKey key ("M", "I", 0, 2, 1, {});
    place (key, owner, 3);
    key.setStep (3);
    key.mouseDown ({ 20, 20, leftCtrl });
    key.mouseUp ({ 20, 20, leftCtrl });
    EXPECT_EQ (key.getStep(), 3) << "no flag: a Ctrl-click does nothing";
    key.mouseDown ({ 20, 20, left });
    key.mouseUp ({ 20, 20, left });
    EXPECT_EQ (key.getStep(), 0) << "a click after the last step comes back to 0";
    key.initOnCtrlClick = true;
    key.mouseDown ({ 20, 20, leftCtrl });
    key.mouseUp ({ 20, 20, leftCtrl });
    EXPECT_EQ (key.getStep(), 1);
}

TEST (EditorControls, KeysActOnReleaseOverThemAndIncKeysWrap)
{
    Owner owner;
    FootSW sw ("M", "F", 0, 0, 0, {});
    place (sw, owner, 1);
    sw.mouseDown ({ 20, 20, left });
    EXPECT_EQ (sw.getFrameIndex(), 1) << "pressed";
    sw.mouseUp ({ 100, 100, left });
    EXPECT_EQ (sw.getStep(), 0) << "released outside: no toggle";
    EXPECT_EQ (sw.getFrameIndex(), 0);
    sw.mouseDown ({ 20, 20, left });
    sw.mouseUp ({ 25, 25, left });
    EXPECT_EQ (sw.getStep(), 1);
    sw.mouseUp ({ 25, 25, left });
    EXPECT_EQ (sw.getStep(), 1) << "a release without a press does nothing";

    IncKey down ("M", "D", 0, 2, 0, {}, -1);
    place (down, owner, 8);
    down.mouseDown ({ 20, 20, left });
    down.mouseUp ({ 20, 20, left });
    EXPECT_EQ (down.getStep(), 8) << "below 0 wraps to the maximum";
    IncKey up ("M", "U", 0, 2, 0, {}, 1);
    place (up, owner, 8);
    up.setStep (8);
    up.mouseDown ({ 20, 20, left });
    up.mouseUp ({ 20, 20, left });
    EXPECT_EQ (up.getStep(), 0) << "past the maximum wraps to 0";

    ToggleSW toggle ("M", "T", 0, 1, 0, {});
    place (toggle, owner, 1);
    toggle.setParamOfIndex (1);
    EXPECT_EQ (toggle.getFrameIndex(), 0);
    toggle.mouseDown ({ 20, 20, left });
    toggle.mouseUp ({ 20, 20, left });
    EXPECT_EQ (toggle.getStep(), 1);
    EXPECT_EQ (toggle.getFrameIndex(), 1);

    OxTap tap ("M", "P", 0, 3, 0, {});
    place (tap, owner, 10);
    tap.mouseDown ({ 20, 20, left });
    tap.mouseUp ({ 20, 20, left });
    tap.mouseDown ({ 200, 20, left });
    EXPECT_EQ (owner.taps, 1) << "a tap counts when pressed over the control";

    // Without the left button nothing reacts.
    sw.mouseDown ({ 20, 20, juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier) });
    EXPECT_FALSE (sw.isPressed());
}

TEST (EditorControls, SlidersFollowThePointerAndAZeroTravelLeavesTheStep)
{
    Owner owner;
    OxSlider slider ("M", "S", 0, 2, 0, {}, 18, 10);
    place (slider, owner, 36, { 40, 30, 18, 61 });   // travel 50
    ASSERT_EQ (slider.getTravel(), 50);

    slider.mouseDown ({ 49, 80, left });
    slider.mouseDrag ({ 49, 30 + 5 + 50 - 25, left });   // the knob's centre at half the travel
    EXPECT_EQ (slider.getStep(), 18);
    slider.mouseDrag ({ 49, -100, left });
    EXPECT_EQ (slider.getStep(), 36);
    EXPECT_EQ (slider.getKnobOffset(), 50);
    slider.mouseDrag ({ 49, 500, left });
    EXPECT_EQ (slider.getStep(), 0);
    EXPECT_EQ (slider.getKnobOffset(), 0);
    slider.mouseUp ({ 49, 500, left });

    OxSlider flat ("M", "S", 0, 2, 0, {}, 18, 10);
    place (flat, owner, 36, { 40, 30, 18, 11 });   // travel 0
    flat.setStep (7);
    flat.mouseDown ({ 49, 35, left });
    flat.mouseDrag ({ 49, 0, left });
    flat.mouseDrag ({ 49, 90, left });
    EXPECT_EQ (flat.getStep(), 7);
    EXPECT_EQ (flat.getKnobOffset(), 0);

    // The lamp and the position together always give a new frame.
    OxLedSlider lamp ("M", "L", 0, 4, 0, {}, 18, 10);
    place (lamp, owner, 36, { 0, 0, 18, 62 });   // travel 51 > maximum 36
    lamp.setSecondParameter (1, 1);
    std::set<int> frames;
    for (int lit = 0; lit <= 1; ++lit)
        for (int step = 0; step <= 36; ++step)
        {
            lamp.setSecondStep (lit);
            lamp.setStep (step);
            frames.insert (lamp.getFrameIndex());
        }
    EXPECT_EQ (frames.size(), 74u);
}

TEST (EditorControls, HitAreasAndDisplayOnlyControls)
{
    Owner owner;
    owner.bounds = { 100, 50, 200, 100 };
    Knob knob ("M", "K", 0, 2, 0, {});
    place (knob, owner, 10, { 110, 60, 40, 40 });
    knob.setCentre ({ 20.0f, 20.0f });
    EXPECT_TRUE (knob.hitTest (112, 62)) << "no areas: the rectangle";
    knob.addHitArea ({ {}, 10, true });
    EXPECT_FALSE (knob.hitTest (112, 62)) << "a circle of radius 10 around the centre only";
    EXPECT_TRUE (knob.hitTest (130, 80));
    EXPECT_TRUE (knob.hitTest (138, 86));
    EXPECT_FALSE (knob.hitTest (140, 88));

    Led led ("M", "L", 1, 0, 0, {}, true);
    place (led, owner, 1, { 0, 0, 10, 10 });
    led.addHitArea ({ { 0, 0, 10, 10 }, 0, false });
    EXPECT_TRUE (led.hitTest (105, 55)) << "a rectangle area moves with the owner";
    EXPECT_FALSE (led.hitTest (5, 5));
    EXPECT_FALSE (led.isInteractive());
    led.setStep (1);
    EXPECT_EQ (led.getFrameIndex(), 1);

    ImgPrm digit ("M", "D", 2, 2, 0, {});
    ToggleLed lamp ("M", "T", 3, 1, 0, {});
    EXPECT_FALSE (digit.isInteractive());
    EXPECT_FALSE (lamp.isInteractive());
}

TEST (EditorGuiControls, TimeEntryPassesSecondsOnlyForANumberAboveZero)
{
    auto enter = [] (const juce::String& typed, bool accept)
    {
        TimeInputWindow entry;
        EXPECT_EQ (entry.getWidth(), 90);
        entry.getEditor().setText (typed, false);
        entry.getEditor().keyPressed (juce::KeyPress (accept ? juce::KeyPress::returnKey : juce::KeyPress::escapeKey));
        oxatest::pumpMessagesUntil ({}, 30);
        return entry.getEnteredSeconds();
    };
    EXPECT_DOUBLE_EQ (enter ("500", true), 0.5);
    EXPECT_LT (enter ("0", true), 0.0);
    EXPECT_LT (enter ("", true), 0.0);
    EXPECT_LT (enter ("500", false), 0.0) << "Escape accepts nothing";

    TimeInputWindow entry;
    entry.getEditor().setText ("");
    entry.getEditor().insertTextAtCaret ("12a34567");
    EXPECT_EQ (entry.getEditor().getText(), "123456") << "digits only, at most six";
}
} // namespace
