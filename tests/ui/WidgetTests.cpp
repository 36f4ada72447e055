// The small shared pieces: the image slider, the level meter, cursors, the
// tooltip window, the buttons, the look and feel and the "Arial" face.
#include "UiTestSupport.h"
#include "art/ProgramArt.h"
#include "ui/LvMeter.h"
#include "ui/OxButtons.h"
#include "ui/OxCursors.h"
#include "ui/OxFonts.h"
#include "ui/SliderEx.h"
#include "ui/T730LookAndFeel.h"
#include "ui/ToolTipEx.h"

#include <gtest/gtest.h>
#include <deque>

using namespace T730;

namespace
{
juce::MouseEvent mouseAt (juce::Component& c, int x, bool shift = false, int downX = -1)
{
    const auto mods = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier
                                          | (shift ? juce::ModifierKeys::shiftModifier : 0));
    const juce::Point<float> p ((float) x, (float) c.getHeight() / 2.0f);
    const juce::Point<float> down ((float) (downX < 0 ? x : downX), p.y);
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), p, mods, 1.0f, 0.0f, 0.0f, 0.0f,
                             0.0f, &c, &c, juce::Time::getCurrentTime(), down, juce::Time::getCurrentTime(), 1, false);
}

struct SliderLog : public SliderExListener
{
    void sliderExValueChanged (SliderEx&, juce::int64 v) override { values.push_back (v); }
    void sliderExTextRequested (SliderEx&, juce::String& t) override { t = text; }
    void sliderExDragEnded (SliderEx&) override { ++ends; }
    std::vector<juce::int64> values;
    juce::String text;
    int ends = 0;
};

juce::Image thumbPicture()
{
    juce::Image thumb (juce::Image::ARGB, 8, 15, true);
    thumb.clear (thumb.getBounds(), juce::Colours::white);
    return thumb;
}
} // namespace

TEST (UiSliderEx, ThumbPlaceDragFormulaAndJumping)
{
    SliderEx slider (thumbPicture(), 100);
    SliderLog log;
    slider.setListener (&log);
    slider.setSize (54, 10);

    slider.setValue (50);
    EXPECT_EQ (slider.getThumbX(), 46 * 50 / 101);
    EXPECT_TRUE (log.values.empty()) << "setting the value tells nobody";
    slider.setValue (250);
    EXPECT_EQ (slider.getValue(), 100);

    // x -> (x - 4) * 100 / 46, clamped.
    EXPECT_EQ (slider.valueAtX (4), 0);
    EXPECT_EQ (slider.valueAtX (27), 50);
    EXPECT_EQ (slider.valueAtX (50), 100);
    EXPECT_EQ (slider.valueAtX (-20), 0);
    EXPECT_EQ (slider.valueAtX (90), 100);

    // A press away from the thumb jumps there, then follows the drag.
    slider.setValue (0);
    slider.mouseDown (mouseAt (slider, 27));
    EXPECT_EQ (slider.getValue(), 50);
    slider.mouseDrag (mouseAt (slider, 38, false, 27));
    EXPECT_EQ (slider.getValue(), (38 - 4) * 100 / 46);
    slider.mouseUp (mouseAt (slider, 38));
    EXPECT_EQ (log.ends, 1);

    // Without jumping a press away from the thumb does nothing; one within 4 pixels of it drags.
    slider.setJumpingEnabled (false);
    slider.setValue (0);
    log.values.clear();
    slider.mouseDown (mouseAt (slider, 30));
    EXPECT_EQ (slider.getValue(), 0);
    slider.mouseDrag (mouseAt (slider, 40, false, 30));
    EXPECT_TRUE (log.values.empty());
    slider.mouseDown (mouseAt (slider, 11)); // thumb at 0..7, within 4 pixels
    slider.mouseDrag (mouseAt (slider, 27, false, 11));
    EXPECT_EQ (slider.getValue(), 50);
}

TEST (UiSliderEx, ShiftDragsFinelyOneStepPerPowerOfTwoPixels)
{
    EXPECT_EQ (SliderEx::finePixelsPerStep (511), 1);
    EXPECT_EQ (SliderEx::finePixelsPerStep (300), 1);
    EXPECT_EQ (SliderEx::finePixelsPerStep (299), 2);
    EXPECT_EQ (SliderEx::finePixelsPerStep (100), 4);
    EXPECT_EQ (SliderEx::finePixelsPerStep (10), 32);

    SliderEx slider (thumbPicture(), 100);
    slider.setSize (54, 10);
    slider.setValue (40);
    const int thumb = slider.getThumbX() + 2;

    slider.mouseDown (mouseAt (slider, thumb, true));
    EXPECT_EQ (slider.getValue(), 40) << "a press on the thumb does not move it";
    slider.mouseDrag (mouseAt (slider, thumb + 3, true, thumb));
    EXPECT_EQ (slider.getValue(), 40) << "3 pixels are less than a step of 4";
    slider.mouseDrag (mouseAt (slider, thumb + 9, true, thumb));
    EXPECT_EQ (slider.getValue(), 42);
    slider.mouseDrag (mouseAt (slider, thumb - 8, true, thumb));
    EXPECT_EQ (slider.getValue(), 38);

    // Letting go of Shift goes on coarsely from the pointer; pressing it again anchors afresh.
    slider.mouseDrag (mouseAt (slider, 27, false, thumb));
    EXPECT_EQ (slider.getValue(), 50);
    slider.mouseDrag (mouseAt (slider, 27, true, thumb));
    slider.mouseDrag (mouseAt (slider, 31, true, thumb));
    EXPECT_EQ (slider.getValue(), 51);
}

TEST (UiSliderEx, ArrowKeysStepATenthOfASecondOfSamplesAndEndADrag)
{
    SliderEx slider (thumbPicture(), 44100);
    SliderLog log;
    slider.setListener (&log);
    slider.setSize (200, 10);

    EXPECT_FALSE (slider.keyPressed (juce::KeyPress (juce::KeyPress::rightKey))) << "stepping is off";

    double rate = 0.0;
    slider.setKeyboardStepping (true, [&] { return rate; });
    slider.setValue (1000);
    EXPECT_TRUE (slider.keyPressed (juce::KeyPress (juce::KeyPress::rightKey)));
    EXPECT_EQ (slider.getValue(), 1441) << "0.01 of 44100 without a rate";
    EXPECT_EQ (log.ends, 1);

    rate = 48000.0;
    EXPECT_TRUE (slider.keyPressed (juce::KeyPress (juce::KeyPress::leftKey)));
    EXPECT_EQ (slider.getValue(), 961);
    EXPECT_TRUE (slider.keyPressed (juce::KeyPress (juce::KeyPress::leftKey)));
    EXPECT_TRUE (slider.keyPressed (juce::KeyPress (juce::KeyPress::leftKey)));
    EXPECT_EQ (slider.getValue(), 1);
    EXPECT_TRUE (slider.keyPressed (juce::KeyPress (juce::KeyPress::leftKey)));
    EXPECT_EQ (slider.getValue(), 0) << "clamped";
    EXPECT_EQ (log.ends, 5);
    EXPECT_FALSE (slider.keyPressed (juce::KeyPress (juce::KeyPress::upKey)));
}

//==============================================================================
namespace
{
struct ScriptedLevels : public LvMeterListener
{
    int lvMeterLevelRequested (LvMeter&, int channel) override
    {
        auto& queue = channel == 0 ? left : right;
        if (queue.empty())
            return -1;
        const int v = queue.front();
        queue.pop_front();
        return v;
    }
    std::deque<int> left, right;
};

/** The widest run of lit (non-transparent) pixels from column 4 in a row of the meter. */
int litColumns (const juce::Image& image, int row)
{
    int x = 4;
    while (x < image.getWidth() && image.getPixelAt (x, row).getAlpha() != 0)
        ++x;
    return x - 4;
}
} // namespace

TEST (UiLvMeter, LevelsDecayByAFifthAndClipAt510UntilClicked)
{
    ScriptedLevels levels;
    LvMeter meter (&levels);
    meter.setSize (43, 14);

    levels.left = { 300, -1, -1 };
    levels.right = { 509, 510, -1 };
    meter.timerCallback();
    EXPECT_EQ (meter.getLevel (0), 300);
    EXPECT_EQ (meter.getLevel (1), 509);
    EXPECT_FALSE (meter.isClipped (1));

    meter.timerCallback();
    EXPECT_EQ (meter.getLevel (0), 240);
    EXPECT_EQ (meter.getLevel (1), 511);
    EXPECT_TRUE (meter.isClipped (1));
    EXPECT_FALSE (meter.isClipped (0));

    meter.timerCallback();
    EXPECT_EQ (meter.getLevel (0), 192);
    EXPECT_EQ (meter.getLevel (1), 408) << "trunc (511 * 0.8)";
    EXPECT_TRUE (meter.isClipped (1)) << "the lamp stays lit";

    // Painted: the bars' widths are level * 39 / 511, the lamp lit in column 42.
    const auto shot = uitest::snapshot (meter);
    EXPECT_EQ (litColumns (shot, 1), LvMeter::barWidth (192));
    EXPECT_EQ (litColumns (shot, 6), LvMeter::barWidth (408));
    EXPECT_EQ (shot.getPixelAt (42, 6).getAlpha(), 255);
    EXPECT_EQ (shot.getPixelAt (42, 1).getAlpha(), 0);

    meter.mouseDown (mouseAt (meter, 10));
    EXPECT_FALSE (meter.isClipped (1));
    EXPECT_EQ (uitest::snapshot (meter).getPixelAt (42, 6).getAlpha(), 0);

    // Silence decays to nothing.
    for (int i = 0; i < 40; ++i)
        meter.timerCallback();
    EXPECT_EQ (meter.getLevel (0), 0);
    EXPECT_EQ (meter.getLevel (1), 0);
    EXPECT_EQ (LvMeter::barWidth (511), 39);
}

//==============================================================================
TEST (UiCursors, SevenNumbersWithTheirHotSpots)
{
    auto& cursors = *OxCursors::getInstance();
    const juce::MouseCursor arrow (juce::MouseCursor::NormalCursor);
    EXPECT_TRUE (cursors.getCursor (0) == arrow);
    EXPECT_TRUE (cursors.getCursor (7) == arrow);
    EXPECT_TRUE (cursors.getCursor (-3) == arrow);
    for (int i = 1; i <= 6; ++i)
        EXPECT_FALSE (cursors.getCursor (i) == arrow) << i;

    EXPECT_EQ (OxCursors::getHotSpot (1), juce::Point<int> (2, 2));
    EXPECT_EQ (OxCursors::getHotSpot (2), juce::Point<int> (12, 12));
    EXPECT_EQ (OxCursors::getHotSpot (3), juce::Point<int> (12, 12));
    EXPECT_EQ (OxCursors::getHotSpot (4), juce::Point<int> (6, 0));
    EXPECT_EQ (OxCursors::getHotSpot (5), juce::Point<int> (0, 0));
    EXPECT_EQ (OxCursors::getHotSpot (6), juce::Point<int> (10, 10));

    // The pictures: 24 x 24, cursor 5 16 wide; each hot spot lies on the drawn shape.
    const art::Picture pictures[] = { art::Picture::cursor1, art::Picture::cursor2, art::Picture::cursor3,
                                      art::Picture::cursor4, art::Picture::cursor5, art::Picture::cursor6 };
    for (int i = 1; i <= 6; ++i)
    {
        const auto image = art::getImage (pictures[i - 1]);
        EXPECT_EQ (image.getWidth(), i == 5 ? 16 : 24) << i;
        const auto hot = OxCursors::getHotSpot (i);
        bool near = false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                near = near || image.getPixelAt (hot.x + dx, hot.y + dy).getAlpha() > 0;
        EXPECT_TRUE (near) << "cursor " << i;
    }

    OxCursors::deleteInstance();
}

TEST (UiGuiToolTipEx, SizedToItsTextPlacedBesideThePointerAndNeverShownEmpty)
{
    auto& tip = *ToolTipEx::getInstance();
    EXPECT_EQ (&tip, ToolTipEx::getInstance());

    tip.setText ({});
    tip.showTip();
    EXPECT_FALSE (tip.isVisible());
    EXPECT_FALSE (tip.isOnDesktop());

    tip.setText ("Drive: 7");
    EXPECT_GT (tip.getWidth(), 8);
    EXPECT_LE (tip.getWidth(), 400 + 8);
    const int oneLine = tip.getHeight();
    tip.setText (juce::String::repeatedString ("long words ", 80));
    EXPECT_LE (tip.getWidth(), 408) << "laid out at most 400 wide";
    EXPECT_GT (tip.getHeight(), oneLine);

    tip.placeAt (100, 50);
    EXPECT_EQ (tip.getPosition(), juce::Point<int> (124, 74));
    tip.showTip();
    EXPECT_TRUE (tip.isVisible());
    EXPECT_TRUE (tip.isAlwaysOnTop());
    tip.hideTip();
    EXPECT_FALSE (tip.isVisible());

    ToolTipEx::deleteInstance();
}

TEST (UiOxDrawableButton, TellsWhereThePointerLeftInItsParentsCoordinates)
{
    struct Exit : public OxDrawableButtonListener
    {
        void pointerLeft (OxDrawableButton&, juce::Point<int> p) override { where = p; ++count; }
        juce::Point<int> where;
        int count = 0;
    } exit;

    juce::Component parent;
    parent.setSize (200, 100);
    OxDrawableButton button ("b", juce::DrawableButton::ImageRaw);
    parent.addAndMakeVisible (button);
    button.setBounds (10, 20, 50, 30);

    button.mouseExit (mouseAt (button, 55));
    EXPECT_EQ (exit.count, 0);
    button.setExitListener (&exit);
    button.mouseExit (mouseAt (button, 55));
    EXPECT_EQ (exit.count, 1);
    EXPECT_EQ (exit.where, juce::Point<int> (65, 35));
}

TEST (UiLookAndFeel, ArialIsTheMetricCompatibleFaceAndTheTitleBarIsThePicture)
{
    // Liberation Sans is installed by scripts/deps: "Arial" text fits where the layout expects it.
    if (juce::Font::findAllTypefaceNames().contains ("Liberation Sans"))
    {
        EXPECT_EQ (arialTypefaceName(), "Liberation Sans");
    }
    T730LookAndFeel lookAndFeel;
    const auto face = lookAndFeel.getTypefaceForFont (juce::Font ("Arial", 12.0f, juce::Font::plain));
    ASSERT_NE (face, nullptr);
    EXPECT_EQ (face->getName(), arialTypefaceName());
    EXPECT_GT (arialFont (12.0f).getStringWidthFloat ("OXA Tools"), 30.0f) << "the face has glyphs";

    // The title bar: the picture, black title text centred in the space between the buttons.
    juce::DocumentWindow window ("OXA Tools", juce::Colours::black, juce::DocumentWindow::closeButton, false);
    juce::Image bar (juce::Image::RGB, 700, 26, true);
    {
        juce::Graphics g (bar);
        lookAndFeel.drawDocumentWindowTitleBar (window, g, 700, 26, 4, 650, nullptr, false);
    }
    const auto picture = art::getImage (art::Picture::titleBar);
    EXPECT_EQ (bar.getPixelAt (3, 12), picture.getPixelAt (3, 12));
    int darkLeft = 700, darkRight = -1;
    for (int x = 0; x < 700; ++x)
        if (bar.getPixelAt (x, 13).getBrightness() < 0.45f)
        {
            darkLeft = juce::jmin (darkLeft, x);
            darkRight = juce::jmax (darkRight, x);
        }
    ASSERT_GT (darkRight, darkLeft) << "the title is drawn";
    EXPECT_NEAR ((darkLeft + darkRight) / 2, 350, 6) << "centred";

    juce::Slider slider;
    std::unique_ptr<juce::Label> box (lookAndFeel.createSliderTextBox (slider));
    EXPECT_FLOAT_EQ (box->getFont().getHeight(), 10.0f);
    EXPECT_EQ (box->getJustificationType(), juce::Justification::centred);
    EXPECT_EQ (lookAndFeel.getDefaultMenuBarHeight(), 24);
}
