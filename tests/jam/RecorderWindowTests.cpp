// A recorder panel in the program's own window, over the real controller: the
// adder's recorder gets its panel, the open key imports through the program's
// chooser and shows a failure once in the program's error box, and the close
// key takes that recorder (and no other) away with its panel.
#include "../app/GuiWindowTestSupport.h"
#include "RecorderPanelTestSupport.h"
#include "app/GuiMain.h"
#include "jam/SectionJam.h"

using namespace T730;

namespace
{
class JamGuiRecorderInWindow : public apptest::MainWindowFixture
{
protected:
    /** The panel of the last recorder of the jam. */
    RecorderUI* lastRecorderPanel()
    {
        RecorderUI* last = nullptr;
        for (auto* panel : gui().getJamSection().getPanels())
            if (auto* recorder = dynamic_cast<RecorderUI*> (panel))
                last = recorder;
        return last;
    }

    /** Clicks the key through the window and lets the click's message run. */
    void clickKey (juce::Button& key)
    {
        uitest::clickThroughPeer (key, { key.getWidth() / 2, key.getHeight() / 2 });
        settle (120);
    }
};
} // namespace

TEST_F (JamGuiRecorderInWindow, TheAddersRecorderImportsThroughTheWindowAndGoesWithItsPanel)
{
    settle();
    const auto toolSet = sandbox.folder (UserFolder::toolsets).getChildFile ("Session");
    ASSERT_TRUE (controller().saveToolSet (toolSet));
    const int before = controller().request (GetRecorderCount);
    ASSERT_EQ (controller().request (AddPlayableItem, 1), requestTrue);
    settle (150);

    auto* panel = lastRecorderPanel();
    ASSERT_NE (panel, nullptr);
    auto* recorder = panel->getRecorder();
    ASSERT_NE (recorder, nullptr);
    EXPECT_EQ (recorder->getJamIndex(), before);
    EXPECT_TRUE (panel->isShowing());
    EXPECT_TRUE (panel->isPanelTimerRunning());
    EXPECT_EQ (panel->getNameLabel().getText(), recorder->getName());
    EXPECT_FALSE (panel->getSnapButton().isEnabled());   // no rhythm machine

    // A take through the program's chooser.
    const auto wave = toolSet.getSiblingFile ("take.wav");
    ASSERT_TRUE (oxatest::writeConstantTake (wave, 88200, 1200));
    dialogs.openChoice = wave;
    clickKey (panel->getOpenButton());
    EXPECT_TRUE (errors.shown.isEmpty()) << errors.shown.joinIntoString ("|");
    EXPECT_EQ (recorder->getLength(), 88200);
    EXPECT_EQ (panel->getLengthLabel().getText(), "(00:02:00)");

    // A file that is no WAV file: one error box, the take stays.
    const auto broken = toolSet.getSiblingFile ("broken.wav");
    broken.replaceWithText ("not a wave");
    dialogs.openChoice = broken;
    clickKey (panel->getOpenButton());
    EXPECT_EQ (errors.shown, juce::StringArray ("WAV import error."));
    EXPECT_EQ (recorder->getLength(), 88200);

    // Closing takes this recorder out of the jam, and its panel goes with it.
    juce::Component::SafePointer<juce::Component> alive (panel);
    clickKey (panel->getCloseButton());
    settle (150);
    EXPECT_EQ (controller().request (GetRecorderCount), before);
    EXPECT_EQ (alive.getComponent(), nullptr);
    for (auto* left : gui().getJamSection().getPanels())
    {
        if (auto* other = dynamic_cast<RecorderUI*> (left))
        {
            EXPECT_NE (other->getRecorder(), nullptr);
        }
    }
}
