// The pedal-assign strip (level knob, assign button and lamps) and the
// 15-band display.
#include "EditorTestSupport.h"

#include "device/MidiRecvEv.h"
#include "editor/GraEQ.h"
#include "editor/SectionPedalAssign.h"
#include "ui/ToolTipEx.h"

using namespace editortest;
using namespace T730;

namespace
{
struct EditorGuiPedalAssign : public ::testing::Test
{
    EditorGuiPedalAssign()
    {
        link.project.editBuffer.setParam (0, 2, 0);
        link.project.editBuffer.setParam (8, 2, 1);
        strip = std::make_unique<SectionPedalAssign> (link);
        window = std::make_unique<TestWindow> (*strip);
        link.take();
    }

    ~EditorGuiPedalAssign() override
    {
        window.reset();
        strip.reset();
    }

    std::vector<int> clickAssign (int times)
    {
        std::vector<int> values;
        for (int i = 0; i < times; ++i)
        {
            PeerMouse (*strip).click ({ 20, 120 });
            for (const auto& c : link.takeChanges())
                if (c[0] == 8 && c[1] == 2)
                    values.push_back (c[2]);
        }
        return values;
    }

    ScopedResources resources;
    RecordingLink link;
    std::unique_ptr<SectionPedalAssign> strip;
    std::unique_ptr<TestWindow> window;
};

TEST_F (EditorGuiPedalAssign, TheLevelKnobShowsTwoToAHundredAndRecordsOnlyRealChanges)
{
    EXPECT_EQ (SectionPedalAssign::levelText (49), "Patch Level : 100");
    EXPECT_EQ (SectionPedalAssign::levelText (0), "Patch Level : 2");
    auto& knob = strip->getLevelKnob();
    EXPECT_EQ (knob.getMaxStep(), 49);

    PeerMouse mouse (*strip);
    mouse.down ({ 22, 24 });
    mouse.drag ({ 22, 0 });
    mouse.drag ({ 22, -200 });    // the drag keeps turning the knob outside its small hit area
    EXPECT_EQ (knob.getStep(), 49);
    auto* tip = ToolTipEx::getInstance();
    EXPECT_TRUE (tip->isVisible());
    EXPECT_EQ (tip->getText(), "Patch Level : 100");
    mouse.up ({ 22, -200 });
    EXPECT_FALSE (tip->isVisible());

    const auto requests = link.take();
    int undo = 0;
    std::vector<int> levels;
    for (const auto& r : requests)
    {
        if (r.code == SendParameterChange && r.module == 0 && r.param == 2)
            levels.push_back (r.value);
        undo += r.code == RecordUndoAndMarkEdited ? 1 : 0;
    }
    EXPECT_EQ (levels.size(), 2u);
    EXPECT_EQ (levels.back(), 49);
    EXPECT_EQ (undo, 1);
    EXPECT_EQ (link.project.editBuffer.getParam (0, 2), 49);

    // A turn that changes nothing records nothing.
    mouse.down ({ 22, 24 });
    mouse.drag ({ 22, 10 });
    mouse.up ({ 22, 10 });
    EXPECT_TRUE (link.take().empty());

    // A press outside the knob does not turn it.
    mouse.down ({ 40, 80 });
    mouse.drag ({ 40, 300 });
    mouse.up ({ 40, 300 });
    EXPECT_EQ (knob.getStep(), 49);
}

TEST_F (EditorGuiPedalAssign, TheAssignButtonCyclesThroughTheTargets)
{
    ASSERT_EQ (strip->getTargetIndex(), 0);
    EXPECT_EQ (clickAssign (6), (std::vector<int> { 2, 3, 4, 5, 6, 0 }));
    EXPECT_EQ (clickAssign (1), (std::vector<int> { 1 }));
    EXPECT_EQ (link.project.editBuffer.getParam (8, 2), 1);

    // A device value of 0 shows no lamp; the next click selects the first target.
    strip->deviceMessageReceived (MidiRecvPrmChg (8, 2, 0));
    EXPECT_EQ (strip->getTargetIndex(), 7);
    EXPECT_EQ (clickAssign (1), (std::vector<int> { 1 }));
    strip->deviceMessageReceived (MidiRecvPrmChg (8, 2, 300));
    EXPECT_EQ (strip->getTargetIndex(), 0) << "values above 7 leave the target";

    EXPECT_EQ (SectionPedalAssign::targetOfValue (7, 3), 6);
    EXPECT_EQ (SectionPedalAssign::valueOfTarget (6), 0);
}

TEST_F (EditorGuiPedalAssign, TheDeviceMovesTheKnobAndTheLamp)
{
    const int posted = link.repaintPosts.load();
    strip->deviceMessageReceived (MidiRecvPrmChg (0, 2, 17));
    EXPECT_EQ (strip->getLevelKnob().getStep(), 17);
    EXPECT_EQ (link.repaintPosts.load(), posted + 1);
    strip->deviceMessageReceived (MidiRecvPrmChg (0, 2, 9999));
    EXPECT_EQ (strip->getLevelKnob().getStep(), 49) << "clamped";

    MidiRecvEditBuf whole;
    whole.buffer.setParam (0, 2, 3);
    whole.buffer.setParam (8, 2, 5);
    strip->deviceMessageReceived (whole);
    EXPECT_EQ (strip->getLevelKnob().getStep(), 3);
    EXPECT_EQ (strip->getTargetIndex(), 4);
    EXPECT_TRUE (link.takeChanges().empty()) << "nothing goes back to the device";

    // The lamp of the target is drawn at its place, the knob from the Assigner's pictures.
    const auto picture = uitest::snapshot (*strip);
    const auto lamp = picture.getPixelAt (5 + 7, 57 + 5 + 8 * 4);
    EXPECT_GT (lamp.getRed(), 150) << "the fifth lamp is lit";
    const auto unlit = picture.getPixelAt (5 + 7, 57 + 5);
    EXPECT_LT (unlit.getRed(), 150);
}

//==============================================================================
TEST (EditorGraEQ, BandsTakeNewValuesAndFadeWithoutThem)
{
    BandLevels::Ptr bands (new BandLevels());
    GraEQ display (bands);
    EXPECT_EQ (display.getWidth(), 105);
    EXPECT_EQ (display.getHeight(), 37);

    bands->publish (0, 0.5f);
    bands->publish (1, 3.0f);
    display.timerCallback();
    EXPECT_FLOAT_EQ (display.getShownValue (0), 0.5f);
    EXPECT_FLOAT_EQ (display.getShownValue (1), 1.0f) << "clamped to 1";
    EXPECT_EQ (bands->take (0), -1.0f) << "the display took the value";

    display.timerCallback();
    EXPECT_FLOAT_EQ (display.getShownValue (0), 0.45f);
    for (int tick = 0; tick < 200; ++tick)
        display.timerCallback();
    EXPECT_EQ (display.getShownValue (0), 0.0f) << "below 0.001 a band goes dark";

    EXPECT_EQ (GraEQ::segmentsFor (0.0f), 0);
    EXPECT_EQ (GraEQ::segmentsFor (0.25f), 18);
    EXPECT_EQ (GraEQ::segmentsFor (0.01f), 3);
    EXPECT_EQ (GraEQ::segmentsFor (1.0f), 18);

    // A full band lights 18 segments, the top four in the peak colour.
    bands->publish (2, 1.0f);
    display.timerCallback();
    juce::Image image (juce::Image::ARGB, 105, 37, true);
    {
        juce::Graphics g (image);
        display.paint (g);
    }
    EXPECT_EQ (image.getPixelAt (14, 36), GraEQ::baseColour);
    EXPECT_EQ (image.getPixelAt (14, 36 - 2 * 17), GraEQ::peakColour);
    EXPECT_EQ (image.getPixelAt (14, 35).getAlpha(), 0) << "a gap between segments";
    EXPECT_EQ (image.getPixelAt (7, 36).getAlpha(), 0) << "band 1 has faded away";
}
} // namespace
