// The tuner page in the program's window, against the virtual M7c wired in
// process: choosing and leaving its tab switches the device's tuner mode and
// the engine's tuner feed once each way; and the screenshots for review, one
// per mode with a note on the meter.
#include "../app/GuiWindowTestSupport.h"
#include "TunerTestSupport.h"
#include "../device/DeviceCable.h"

#include "app/GuiMain.h"
#include "app/SectionTab.h"
#include "engine/DspMain.h"

using namespace T730;
using namespace tunertest;

namespace
{
class TunerGuiWindow : public apptest::MainWindowFixture
{
protected:
    void SetUp() override
    {
        apptest::MainWindowFixture::SetUp();
        settle();
    }

    SectionTab& tabs() { return gui().getTabSection(); }
    SectionTuner& page() { return tabs().getTunerPage(); }

    void chooseTab (int index)
    {
        auto& tab = tabs().getTab (index);
        uitest::clickThroughPeer (tab, { tab.getWidth() / 2, 20 });
        settle();
    }

    void click (SectionTuner::ButtonId id)
    {
        auto& b = page().getButton (id);
        uitest::clickThroughPeer (b, { b.getWidth() / 2, b.getHeight() / 2 });
    }

    void selectMode (const juce::String& name)
    {
        for (int i = 0; i < TunerModeRing::numModes && page().getCurrentMode()->getName() != name; ++i)
            click (SectionTuner::modeDown);
        ASSERT_EQ (page().getCurrentMode()->getName(), name);
    }

    /** The page with the tab bar above it, read back from the window as painted. */
    void screenshot (const juce::String& name)
    {
        auto& main = gui();
        const auto area = main.getLocalArea (&tabs(), tabs().getLocalBounds());
        const auto image = main.createComponentSnapshot (area, true, 1.0f);
        EXPECT_TRUE (uitest::writeScreenshot (image, name));
        EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (image, image.getBounds(), 2), name + "-zoomed"));
    }
};
} // namespace

TEST_F (TunerGuiWindow, TheTunerTabSwitchesTheDevicesTunerModeAndTheFeedOnceEachWay)
{
    m7c::VirtualM7c device;
    oxatest::DeviceCable cable (device, *controller().getMidi());
    auto* engine = controller().getEngine();
    ASSERT_NE (engine, nullptr);
    EXPECT_FALSE (engine->isTunerFeedOn());

    chooseTab (2);
    ASSERT_EQ (tabs().getCurrentPage(), &page());
    EXPECT_EQ (device.getTunerModeChanges(), std::vector<int> { 127 });
    EXPECT_TRUE (device.isTunerModeOn());
    EXPECT_TRUE (engine->isTunerFeedOn());

    chooseTab (2);   // the tab already chosen: nothing more
    EXPECT_EQ (device.getTunerModeChanges().size(), 1u);

    // A device that connects while the page shows is put in tuner mode too.
    controller().greetDevice();
    EXPECT_EQ (device.getTunerModeChanges(), (std::vector<int> { 127, 127 }));

    chooseTab (1);
    EXPECT_EQ (device.getTunerModeChanges(), (std::vector<int> { 127, 127, 0 }));
    EXPECT_FALSE (device.isTunerModeOn());
    EXPECT_FALSE (engine->isTunerFeedOn());
    controller().greetDevice();
    EXPECT_EQ (device.getTunerModeChanges().size(), 3u) << "on another page the device stays in play mode";

    // Reports that arrive after the page went are dropped.
    gui().tunerPitchDetected (440.0f);
    EXPECT_EQ (page().getNoteIndex(), SectionTuner::noNote);
}

TEST_F (TunerGuiWindow, ScreenshotsOfTheFourMainModesWithANoteOnTheMeter)
{
    chooseTab (2);
    ASSERT_EQ (tabs().getCurrentPage(), &page());
    screenshot ("tuner-blank");

    struct Shot
    {
        const char* mode;
        const char* file;
        double cents;   // from A4
    };
    // Chromatic: C#4 a little sharp; Guitar: the G string a little flat;
    // Bass: the A string in tune; Drop D: the low D string well sharp.
    const Shot shots[] = { { "Chromatic", "tuner-chromatic", -800.0 + 12.0 },
                           { "Guitar", "tuner-guitar", 100.0 * G3 - 8.0 },
                           { "Bass", "tuner-bass", -3600.0 },
                           { "Drop D", "tuner-drop-d", 100.0 * D2 + 32.0 } };

    for (const auto& shot : shots)
    {
        selectMode (shot.mode);
        // A few reports, as the module sends them, and the glide settled.
        for (int i = 0; i < 8; ++i)
        {
            gui().tunerPitchDetected (frequencyOf (shot.cents));
            settle (30);
        }
        settle (150);
        EXPECT_NE (page().getNoteIndex(), SectionTuner::noNote) << shot.mode;
        EXPECT_EQ (page().getDisplayPosition(), page().getTarget()) << shot.mode;
        screenshot (shot.file);
    }

    // The meter and the note window close up, as the eye meets them.
    const auto whole = gui().createComponentSnapshot (gui().getLocalArea (&page(), page().getLocalBounds()), true, 1.0f);
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (whole, { 16, 12, 268, 150 }, 4), "tuner-meter-zoomed"));

    click (SectionTuner::flat2);
    click (SectionTuner::referenceUp);
    gui().tunerPitchDetected (frequencyOf (100.0 * (D2 - 2)));
    settle (200);
    screenshot ("tuner-flat");
}
