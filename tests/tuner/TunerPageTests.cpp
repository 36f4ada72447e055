// The tuner page on its own in a window: what a pitch report shows in each
// mode, the lamps' glide, jump and fade on the timer, the blank display after
// three seconds, the buttons of the mode ring, the calibration row and the
// flat toggles, and the device's tuner mode following the page.
#include "../ui/UiTestSupport.h"
#include "TunerTestSupport.h"

#include <gtest/gtest.h>

using namespace T730;
using namespace tunertest;

namespace
{
struct Host : public juce::Component
{
    explicit Host (ControllerLink& link) : page (link)
    {
        setSize (300, 313);
        page.setBounds (getLocalBounds());
        addAndMakeVisible (page);
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setTopLeftPosition (90, 90);
        setVisible (true);
    }

    SectionTuner page;
};

class TunerGuiPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = std::make_unique<Host> (link);
        page().setClock ([this] { return now; });
    }

    SectionTuner& page() { return host->page; }

    void click (SectionTuner::ButtonId id, int times = 1)
    {
        auto& b = page().getButton (id);
        for (int i = 0; i < times; ++i)
            uitest::clickThroughPeer (b, { b.getWidth() / 2, b.getHeight() / 2 });
    }

    void selectMode (const juce::String& name)
    {
        for (int i = 0; i < TunerModeRing::numModes && page().getCurrentMode()->getName() != name; ++i)
            click (SectionTuner::modeDown);
        ASSERT_EQ (page().getCurrentMode()->getName(), name);
    }

    /** One report, then `ticks` steps of the timer 25 ms apart. */
    void report (float hz, int ticks = 0)
    {
        page().setFreq (hz);
        tick (ticks);
    }

    void tick (int ticks)
    {
        for (int i = 0; i < ticks; ++i)
        {
            now += SectionTuner::timerPeriodMs;
            page().timerCallback();
        }
    }

    std::vector<int> litLamps()
    {
        std::vector<int> lit;
        for (int i = 0; i < 21; ++i)
            if (page().getLampLevel (i) > 0)
                lit.push_back (i);
        return lit;
    }

    FakeLink link;
    juce::int64 now = 1000000;
    std::unique_ptr<Host> host;
};
} // namespace

TEST_F (TunerGuiPage, StartsChromaticAndBlankWithTheReferenceShown)
{
    EXPECT_EQ (page().getCurrentMode(), &page().getModes().getMode (0));
    EXPECT_EQ (page().getNoteIndex(), SectionTuner::noNote);
    EXPECT_EQ (page().getTarget(), -1);
    EXPECT_EQ (page().getLastLampIndex(), -1);
    EXPECT_FALSE (page().isTimerRunning());
    EXPECT_FALSE (page().isLeftArrowLit());
    EXPECT_FALSE (page().isRightArrowLit());
    EXPECT_EQ (page().getTunerLib(), &link.tuner);
    for (int id = 0; id < SectionTuner::numButtons; ++id)
        EXPECT_EQ (page().getButton ((SectionTuner::ButtonId) id).getParentComponent(), &page());
    EXPECT_EQ (page().getButton (SectionTuner::flat1).getBounds(), juce::Rectangle<int> (180, 217, 38, 40));
    EXPECT_EQ (page().getButton (SectionTuner::referenceDown).getBounds(), juce::Rectangle<int> (90, 252, 38, 40));
}

TEST_F (TunerGuiPage, ChromaticShowsTheNearestNoteAndTheArrowsSayWhichWayToTune)
{
    report (440.0f);
    EXPECT_EQ (page().getNoteIndex(), 0);
    EXPECT_EQ (page().getLastLampIndex(), 10);
    EXPECT_TRUE (page().isLeftArrowLit());
    EXPECT_TRUE (page().isRightArrowLit()) << "in tune lights both";
    EXPECT_TRUE (page().isTimerRunning());

    report (frequencyOf (-500.0 + 3.0), 40);   // E4, 3 cents sharp
    EXPECT_EQ (page().getNoteIndex(), 7);
    EXPECT_EQ (page().getLastLampIndex(), 11);
    EXPECT_FALSE (page().isLeftArrowLit());
    EXPECT_TRUE (page().isRightArrowLit()) << "sharp: tune down";

    report (frequencyOf (100.0 * -21 - 20.0), 40);   // C3, 20 cents flat
    EXPECT_EQ (page().getNoteIndex(), 3);
    EXPECT_EQ (page().getLastLampIndex(), 6);
    EXPECT_TRUE (page().isLeftArrowLit());
    EXPECT_FALSE (page().isRightArrowLit());
}

TEST_F (TunerGuiPage, TheGuitarModeShowsTheStringAndPinsAFarPitchToTheEndLamp)
{
    selectMode ("Guitar");
    report (73.42f);   // D2: the E2 string, 200 cents flat
    EXPECT_EQ (page().getStringIndex(), 5);
    EXPECT_EQ (page().getLastLampIndex(), 0);
    EXPECT_TRUE (page().isLeftArrowLit());
    EXPECT_FALSE (page().isRightArrowLit());

    report (69.30f);   // C#2: the low B string
    EXPECT_EQ (page().getStringIndex(), 6);

    report (frequencyOf (100.0 * E4), 10);
    EXPECT_EQ (page().getStringIndex(), 0);
    EXPECT_EQ (page().getNoteIndex(), 7);
    EXPECT_EQ (page().getLastLampIndex(), 10);
}

TEST_F (TunerGuiPage, TheFlatButtonsReadAGuitarTunedDownAsStandardAndFormARadioGroupThatTurnsOff)
{
    selectMode ("Guitar");
    auto& b = page().getButton (SectionTuner::flat1);
    auto& bb = page().getButton (SectionTuner::flat2);

    // A guitar tuned down a semitone: its low string is E flat 2.
    report (frequencyOf (100.0 * (E2 - 1)));
    EXPECT_EQ (page().getStringIndex(), 5);
    EXPECT_EQ (page().getLastLampIndex(), 0) << "read as 100 cents flat of E2";

    click (SectionTuner::flat1);
    EXPECT_TRUE (b.getToggleState());
    EXPECT_EQ (link.tuner.flatSteps, 1);
    report (frequencyOf (100.0 * (E2 - 1)));
    EXPECT_EQ (page().getNoteIndex(), 7) << "reads as E";
    EXPECT_EQ (page().getLastLampIndex(), 10);

    click (SectionTuner::flat2);
    EXPECT_TRUE (bb.getToggleState());
    EXPECT_FALSE (b.getToggleState()) << "the radio group darkens the other";
    EXPECT_EQ (link.tuner.flatSteps, 2);
    report (frequencyOf (100.0 * (A2 - 2)));   // the A string of a guitar two semitones down
    EXPECT_EQ (page().getStringIndex(), 4);
    EXPECT_EQ (page().getLastLampIndex(), 10);

    click (SectionTuner::flat1);
    EXPECT_TRUE (b.getToggleState());
    EXPECT_FALSE (bb.getToggleState());
    EXPECT_EQ (link.tuner.flatSteps, 1);

    click (SectionTuner::flat1);
    EXPECT_FALSE (b.getToggleState()) << "a lit one clicked again goes off";
    EXPECT_FALSE (bb.getToggleState());
    EXPECT_EQ (link.tuner.flatSteps, 0);

    click (SectionTuner::flat2);
    click (SectionTuner::flat2);
    EXPECT_FALSE (bb.getToggleState());
    EXPECT_EQ (link.tuner.flatSteps, 0);
    EXPECT_EQ (static_cast<TunerPictureButton&> (bb).getShownPicture().getWidth(), 38);
}

TEST_F (TunerGuiPage, TheModeRowStepsThroughTheRingBothWays)
{
    const auto& ring = page().getModes();
    click (SectionTuner::modeDown);
    EXPECT_EQ (page().getCurrentMode(), &ring.getMode (1));
    click (SectionTuner::modeUp, 2);
    EXPECT_EQ (page().getCurrentMode(), &ring.getMode (8)) << "Chromatic's previous is DADGAD";
    click (SectionTuner::modeDown);
    EXPECT_EQ (page().getCurrentMode(), &ring.getMode (0)) << "DADGAD's next is Chromatic";
    click (SectionTuner::modeDown, 9);
    EXPECT_EQ (page().getCurrentMode(), &ring.getMode (0));
    click (SectionTuner::modeUp, 9);
    EXPECT_EQ (page().getCurrentMode(), &ring.getMode (0));

    // A mode change shows from the next report on.
    report (frequencyOf (100.0 * E2));
    click (SectionTuner::modeDown);
    EXPECT_EQ (page().getStringIndex(), -1) << "nothing recomputed at the click";
    report (frequencyOf (100.0 * E2));
    EXPECT_EQ (page().getStringIndex(), 5);
}

TEST_F (TunerGuiPage, TheReferenceStepsByOneHertzAndStopsAt435And445)
{
    click (SectionTuner::referenceUp, 3);
    EXPECT_EQ (link.tuner.referenceHz, 443);
    click (SectionTuner::referenceUp, 5);
    EXPECT_EQ (link.tuner.referenceHz, 445);
    click (SectionTuner::referenceDown, 20);
    EXPECT_EQ (link.tuner.referenceHz, 435);
    click (SectionTuner::referenceUp);
    EXPECT_EQ (link.tuner.referenceHz, 436);

    // A reference set elsewhere outside the range is not stepped further out.
    link.tuner.referenceHz = 446;
    click (SectionTuner::referenceUp);
    EXPECT_EQ (link.tuner.referenceHz, 446);
    click (SectionTuner::referenceDown);
    EXPECT_EQ (link.tuner.referenceHz, 445);
}

TEST_F (TunerGuiPage, ANearTargetIsGlidedToOneLampPerTickAndAFarOneJumpedTo)
{
    report (440.0f);
    EXPECT_EQ (page().getDisplayPosition(), 10);

    report (frequencyOf (15.0));   // 3 lamps right
    EXPECT_EQ (page().getTarget(), 13);
    EXPECT_EQ (page().getDisplayPosition(), 11) << "one lamp at the report";
    tick (1);
    EXPECT_EQ (page().getDisplayPosition(), 12);
    tick (1);
    EXPECT_EQ (page().getDisplayPosition(), 13);
    tick (3);
    EXPECT_EQ (page().getDisplayPosition(), 13);

    report (frequencyOf (-20.0));   // 7 lamps left of the previous target
    EXPECT_EQ (page().getDisplayPosition(), 6) << "jumps at once";
}

TEST_F (TunerGuiPage, ALampTheDisplayLeftFadesOverFourSteps)
{
    report (440.0f);
    EXPECT_EQ (page().getLampLevel (10), 4);
    report (frequencyOf (-35.0));   // lamp 3: a jump
    EXPECT_EQ (page().getLampLevel (3), 4);
    EXPECT_EQ (page().getLampLevel (10), 3);
    tick (1);
    EXPECT_EQ (page().getLampLevel (10), 2);
    tick (1);
    EXPECT_EQ (page().getLampLevel (10), 1);
    tick (1);
    EXPECT_EQ (page().getLampLevel (10), 0);
    EXPECT_EQ (litLamps(), std::vector<int> { 3 });
}

TEST_F (TunerGuiPage, OnlyLampsZeroToTwentyAreTargets)
{
    page().setLedTarget (21);
    EXPECT_EQ (page().getTarget(), -1) << "21 is past the last of the 21 lamps";
    EXPECT_EQ (page().getLastLampIndex(), -1);
    page().setLedTarget (-1);
    EXPECT_EQ (page().getTarget(), -1);
    EXPECT_EQ (page().getLampLevel (0), 0);

    page().setLedTarget (20);
    EXPECT_EQ (page().getTarget(), 20);
    EXPECT_EQ (page().getLampLevel (20), 4);
    page().setLedTarget (21);
    EXPECT_EQ (page().getTarget(), 20);
    EXPECT_EQ (page().getLastLampIndex(), 20);
}

TEST_F (TunerGuiPage, NoPitchBlanksTheNoteButTheGlideGoesOnFromWhereItWas)
{
    report (440.0f);
    report (frequencyOf (15.0));
    EXPECT_EQ (page().getDisplayPosition(), 11);

    report (12.0f);
    EXPECT_EQ (page().getNoteIndex(), SectionTuner::noNote);
    EXPECT_EQ (page().getTarget(), 13) << "the target stays";
    EXPECT_TRUE (page().isTimerRunning());
    EXPECT_FALSE (page().isLeftArrowLit());
    tick (1);
    EXPECT_EQ (page().getDisplayPosition(), 12);

    report (frequencyOf (15.0));
    EXPECT_EQ (page().getNoteIndex(), 0);
    EXPECT_EQ (page().getDisplayPosition(), 13);
}

TEST_F (TunerGuiPage, ThreeSecondsWithoutAReportBlankTheDisplayAndStopTheTimer)
{
    report (440.0f);
    ASSERT_TRUE (page().isTimerRunning());
    tick (119);   // 2975 ms
    EXPECT_EQ (page().getNoteIndex(), 0);
    tick (2);     // 3025 ms
    EXPECT_EQ (page().getNoteIndex(), SectionTuner::noNote);
    EXPECT_FALSE (page().isTimerRunning());

    report (440.0f);
    EXPECT_TRUE (page().isTimerRunning()) << "the next report starts it again";
    EXPECT_EQ (page().getNoteIndex(), 0);
}

TEST_F (TunerGuiPage, TheLitLampAndTheNoteArePaintedAndGoneWhenBlank)
{
    const auto centre = juce::Point<int> (140 + 11, 40 + 11);
    const auto brightness = [&] (juce::Point<int> at)
    {
        auto image = uitest::snapshot (page());
        return image.getPixelAt (at.x, at.y).getBrightness();
    };
    const auto noteSegment = juce::Point<int> (133 + 16, 101 + 5);   // the top bar of the figure

    const float darkLamp = brightness (centre), darkNote = brightness (noteSegment);
    report (440.0f);
    EXPECT_GT (brightness (centre), darkLamp + 0.3f) << "the centre lamp lights";
    EXPECT_GT (brightness (noteSegment), darkNote + 0.3f) << "A lights its top bar";

    tick (125);
    EXPECT_LT (std::abs (brightness (centre) - darkLamp), 0.05f);
    EXPECT_LT (std::abs (brightness (noteSegment) - darkNote), 0.05f);
}

TEST_F (TunerGuiPage, ShowingAndHidingThePageSwitchesTheDevicesTunerMode)
{
    EXPECT_EQ (link.count (TunerModeOn), 1) << "shown with its window";
    EXPECT_EQ (link.count (TunerModeOff), 0);
    page().setVisible (false);
    EXPECT_EQ (link.count (TunerModeOff), 1);
    page().setVisible (false);
    EXPECT_EQ (link.count (TunerModeOff), 1) << "no change, no message";
    page().setVisible (true);
    EXPECT_EQ (link.count (TunerModeOn), 2);
    EXPECT_EQ (link.codes.back(), (int) TunerModeOn);
}

TEST_F (TunerGuiPage, WithoutATunerReferenceThePageShowsNothingAndItsButtonsChangeNothing)
{
    host.reset();
    link.haveTuner = false;
    host = std::make_unique<Host> (link);
    EXPECT_EQ (page().getTunerLib(), nullptr);
    report (440.0f);
    EXPECT_EQ (page().getNoteIndex(), SectionTuner::noNote);
    EXPECT_FALSE (page().isTimerRunning());
    click (SectionTuner::referenceUp);
    click (SectionTuner::flat1);
    click (SectionTuner::modeDown);
    EXPECT_EQ (link.tuner.referenceHz, 440);
    EXPECT_EQ (link.tuner.flatSteps, 0);
    EXPECT_EQ (page().getCurrentMode(), &page().getModes().getMode (1));
    EXPECT_TRUE (uitest::snapshot (page()).isValid());
}
