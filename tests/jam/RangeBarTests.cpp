// The punch-in/out and loop range bars: handle places, grabbing, ordering,
// fine dragging, snapping, the arrow keys and their 64-bit arithmetic; and the
// panel's time texts and beat arithmetic.
#include "../ui/UiTestSupport.h"
#include "RecorderPanelTestSupport.h"
#include "jam/ABPoints.h"
#include "jam/RecorderTime.h"
#include "ui/ToolTipEx.h"

using namespace T730;
using jamtest::dragAlong;
using jamtest::mouseAt;

namespace
{
struct BarLog : public ABPointsListener
{
    void abPointsChanged (ABPoints& bar) override { changes.push_back ({ bar.getStart(), bar.getEnd() }); }
    void abPointsTextRequested (ABPoints& bar, juce::String& text) override
    {
        text = recorderTime::rangeText (bar.getStart(), bar.getEnd(), 44100.0);
    }
    std::vector<std::pair<juce::int64, juce::int64>> changes;
};

/** A press and a release without a drag: grabs a handle and leaves it where it is. */
void press (ABPoints& bar, int x)
{
    bar.mouseDown (mouseAt (bar, x, 4));
    bar.mouseUp (mouseAt (bar, x, 4));
}

struct JamGuiRangeBar : public ::testing::Test
{
    JamGuiRangeBar()
    {
        bar.setSize (212, 9);
        bar.setListener (&log);
        bar.setSampleRate ([] { return 44100.0; });
        bar.setBeatLength ([] { return recorderTime::beatLength (44100.0, 120); });
    }

    ABPointsPIO bar;
    BarLog log;
};
} // namespace

TEST_F (JamGuiRangeBar, HandlesSitAtTheirPointsInsideTheBar)
{
    EXPECT_EQ (bar.getMaximum(), 4095);
    EXPECT_EQ (bar.getStart(), 0);
    EXPECT_EQ (bar.getEnd(), 4095);
    EXPECT_EQ (bar.getHandleWidth(), 9);
    EXPECT_EQ (bar.getStartHandleX(), 1);    // 0 - 4 + 5
    EXPECT_EQ (bar.getEndHandleX(), 203);    // 202 - 4 + 5, the bar's right end minus the handle

    bar.setPoints (2000, 3000);
    EXPECT_EQ (bar.getStartHandleX(), 2000 * 202 / 4095 + 1);
    EXPECT_EQ (bar.getEndHandleX(), 3000 * 202 / 4095 + 1);

    // 64-bit: a maximum past 2^32 places its handles without overflow.
    bar.setMaximum (5000000000LL);
    bar.setPoints (0, 4000000000LL);
    EXPECT_EQ (bar.getEndHandleX(), 162);
    EXPECT_EQ (bar.pointAtX (200), (juce::int64) 191 * 5000000000LL / 194);
    EXPECT_EQ (bar.pointAtX (300), 5000000000LL);
    EXPECT_EQ (bar.pointAtX (0), 0);
}

TEST_F (JamGuiRangeBar, APressGrabsTheHandleItReaches)
{
    EXPECT_EQ (bar.grabAt (1), ABPoints::grabStart);
    EXPECT_EQ (bar.grabAt (19), ABPoints::grabStart);
    EXPECT_EQ (bar.grabAt (20), ABPoints::grabNone);
    EXPECT_EQ (bar.grabAt (100), ABPoints::grabNone);
    EXPECT_EQ (bar.grabAt (194), ABPoints::grabEnd);
    EXPECT_EQ (bar.grabAt (212), ABPoints::grabEnd);

    // Both in reach: the nearer; over one spot, the side of the press.
    bar.setPoints (2000, 2000);
    const int centre = bar.getStartHandleX() + 4;
    EXPECT_EQ (bar.grabAt (centre - 2), ABPoints::grabStart);
    EXPECT_EQ (bar.grabAt (centre + 2), ABPoints::grabEnd);
    bar.setPoints (2000, 2300);
    EXPECT_EQ (bar.grabAt (bar.getStartHandleX() + 2), ABPoints::grabStart);
    EXPECT_EQ (bar.grabAt (bar.getEndHandleX() + 8), ABPoints::grabEnd);

    bar.setPoints (0, 4095);
    bar.mouseDown (mouseAt (bar, 100, 4));
    EXPECT_FALSE (bar.isGrabbed());
    bar.mouseDrag (mouseAt (bar, 150, 4, false, 100));
    EXPECT_TRUE (log.changes.empty());
}

TEST_F (JamGuiRangeBar, DraggingMovesAPointThatNeverPassesTheOther)
{
    bar.setMaximum (194000);   // 1000 samples a pixel
    bar.setPoints (50000, 100000);

    const int startX = bar.getStartHandleX() + 2;
    dragAlong (bar, { startX, 39 });
    EXPECT_EQ (bar.getStart(), 30000);
    EXPECT_EQ (bar.getLastGrabbed(), ABPoints::grabStart);

    dragAlong (bar, { bar.getStartHandleX() + 2, 180 });
    EXPECT_EQ (bar.getStart(), 100000);   // held at the end
    EXPECT_EQ (bar.getEnd(), 100000);

    bar.setPoints (50000, 100000);
    dragAlong (bar, { bar.getEndHandleX() + 7, 20 });
    EXPECT_EQ (bar.getEnd(), 50000);      // held at the start
    dragAlong (bar, { bar.getEndHandleX() + 7, 400 });
    EXPECT_EQ (bar.getEnd(), 194000);     // clamped to the maximum

    ASSERT_FALSE (log.changes.empty());
    EXPECT_EQ (log.changes.back(), std::make_pair ((juce::int64) 50000, (juce::int64) 194000));
}

TEST_F (JamGuiRangeBar, SnappingAtOneHundredTwentyBeatsTurnsThirtyThousandIntoTwentyTwoThousandFifty)
{
    bar.setMaximum (194000);
    bar.setPoints (50000, 100000);
    bar.setSnapping (true);
    dragAlong (bar, { bar.getStartHandleX() + 2, 39 });   // 30 000 samples
    EXPECT_EQ (bar.getStart(), 22050);

    bar.setSnapping (false);
    dragAlong (bar, { bar.getStartHandleX() + 2, 39 });
    EXPECT_EQ (bar.getStart(), 30000);

    // Moved without the mouse, a point snaps and keeps its order the same way.
    bar.setSnapping (true);
    log.changes.clear();
    EXPECT_TRUE (bar.dragPointTo (ABPoints::grabEnd, 70000));
    EXPECT_EQ (bar.getEnd(), 66150);
    EXPECT_TRUE (bar.dragPointTo (ABPoints::grabStart, 90000));
    EXPECT_EQ (bar.getStart(), 66150);
    EXPECT_EQ (bar.getLastGrabbed(), ABPoints::grabStart);
    EXPECT_EQ (log.changes.size(), 2u);

    EXPECT_EQ (recorderTime::beatLength (44100.0, 120), 22050);
    EXPECT_EQ (recorderTime::beatLength (0.0, 0), 22050);       // 44100 Hz, 120 beats a minute
    EXPECT_EQ (recorderTime::beatLength (48000.0, 90), 32000);
    EXPECT_EQ (recorderTime::snapToBeat (30000, 22050), 22050);
    EXPECT_EQ (recorderTime::snapToBeat (5000000000LL, 22050), 5000000000LL / 22050 * 22050);
}

TEST_F (JamGuiRangeBar, ShiftDragsOneStepPerFinePixelCount)
{
    bar.setMaximum (194000);   // f = 1
    bar.setPoints (50000, 100000);
    const int x = bar.getEndHandleX() + 4;
    bar.mouseDown (mouseAt (bar, x, 4, true));
    bar.mouseDrag (mouseAt (bar, x + 5, 4, true, x));
    EXPECT_EQ (bar.getEnd(), 100005);
    bar.mouseDrag (mouseAt (bar, x - 3, 4, true, x));
    EXPECT_EQ (bar.getEnd(), 99997);
    bar.mouseUp (mouseAt (bar, x - 3, 4, true, x));

    bar.setMaximum (100);      // f = 4: 4 × 100 is the first power of two past 300
    bar.setPoints (10, 60);
    const int y = bar.getEndHandleX() + 4;
    bar.mouseDown (mouseAt (bar, y, 4, true));
    bar.mouseDrag (mouseAt (bar, y + 8, 4, true, y));
    EXPECT_EQ (bar.getEnd(), 62);
    bar.mouseUp (mouseAt (bar, y + 8, 4, true, y));
}

TEST_F (JamGuiRangeBar, ArrowKeysMoveThePointGrabbedLastByAHundredthOfASecond)
{
    bar.setMaximum (10000000);
    bar.setPoints (1000, 2000);
    EXPECT_FALSE (bar.keyPressed (juce::KeyPress (juce::KeyPress::rightKey)));   // nothing grabbed yet

    press (bar, bar.getStartHandleX() + 2);
    EXPECT_TRUE (bar.keyPressed (juce::KeyPress (juce::KeyPress::rightKey)));
    EXPECT_EQ (bar.getStart(), 1441);
    bar.keyPressed (juce::KeyPress (juce::KeyPress::rightKey));
    bar.keyPressed (juce::KeyPress (juce::KeyPress::rightKey));
    EXPECT_EQ (bar.getStart(), 2000);     // not past the end
    for (int i = 0; i < 10; ++i)
        bar.keyPressed (juce::KeyPress (juce::KeyPress::leftKey));
    EXPECT_EQ (bar.getStart(), 0);        // not below 0
    EXPECT_EQ (log.changes.back().first, 0);
    EXPECT_EQ (ToolTipEx::getInstance()->getText(), recorderTime::rangeText (0, 2000, 44100.0));

    // Without a rate the step is that of 44.1 kHz.
    bar.setSampleRate ([] { return 0.0; });
    press (bar, bar.getEndHandleX() + 7);
    bar.keyPressed (juce::KeyPress (juce::KeyPress::rightKey));
    EXPECT_EQ (bar.getEnd(), 2441);
    EXPECT_FALSE (bar.keyPressed (juce::KeyPress ('a')));
}

TEST_F (JamGuiRangeBar, TheSpanIsPaintedInTheKindsColourWithAsManyLettersAsFit)
{
    bar.setPoints (0, 4095);
    EXPECT_EQ (bar.getLetterCount(), 3);
    bar.setPoints (0, 4095 * 70 / 202);     // about 70 pixels: two letters
    EXPECT_EQ (bar.getLetterCount(), 2);
    bar.setPoints (0, 4095 * 30 / 202);
    EXPECT_EQ (bar.getLetterCount(), 0);

    bar.setPoints (1000, 3000);
    const auto picture = uitest::snapshot (bar);
    const int inSpan = bar.getStartHandleX() + bar.getHandleWidth() + 2;   // left of the letters
    EXPECT_EQ (picture.getPixelAt (inSpan, 7).withAlpha ((juce::uint8) 255), ABPointsPIO::spanColour);
    EXPECT_EQ (picture.getPixelAt (bar.getEndHandleX() + 30, 4).getAlpha(), 0);

    ABPointsLoop loopBar;
    loopBar.setSize (212, 9);
    EXPECT_EQ (loopBar.getLetterCount(), 1);
    const auto loopPicture = uitest::snapshot (loopBar);
    EXPECT_EQ (loopPicture.getPixelAt (30, 7).withAlpha ((juce::uint8) 255), ABPointsLoop::spanColour);
}

TEST (JamRecorderTime, TimeTextsShowMinutesSecondsAndHundredthsInSixtyFourBits)
{
    EXPECT_EQ (recorderTime::timeText (0, 44100.0), "00:00:00");
    EXPECT_EQ (recorderTime::timeText (3971700243LL, 44100.0), "1501:01:23");   // 90 061 230 ms
    EXPECT_EQ (recorderTime::timeText (44100 * 61 + 441 * 7, 44100.0), "01:01:07");
    EXPECT_EQ (recorderTime::timeText (48000 * 59, 48000.0), "00:59:00");
    EXPECT_EQ (recorderTime::timeText (-5, 44100.0), "00:00:00");
    EXPECT_EQ (recorderTime::timeText (44100, 0.0), "00:01:00");
    EXPECT_EQ (recorderTime::lengthText (44100 * 125, 44100.0), "(02:05:00)");
    EXPECT_EQ (recorderTime::rangeText (22050, 441000, 44100.0), "00:00:50-00:10:00");
    EXPECT_EQ (recorderTime::toMilliseconds (8000000000000LL, 44100.0), 8000000000000LL * 1000 / 44100);
}
