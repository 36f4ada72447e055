// The controller's recorders on a private JACK server: made by its maker,
// refused without a tool set, and a punch-out carried through the posted
// message to the finish pass, with the jam requests answering for them.
#include <gtest/gtest.h>

#include "JackControllerFixture.h"
#include "ToolSetTestSupport.h"
#include "app/ControllerRequest.h"
#include "app/InstController.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/Synchronizer.h"
#include "recorder/Recorder.h"

using namespace T730;

namespace
{
class AppGuiJackRecorder : public oxatest::JackControllerTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE (makeFolders (temp / "install"));
        ASSERT_NO_FATAL_FAILURE (openOnJack (0.0));
    }
};
} // namespace

TEST_F (AppGuiJackRecorder, APunchOutReachesTheRecorderThroughTheControllerAndTheRequestsAnswerForIt)
{
    ASSERT_EQ (request (AddPlayableItem, 1), -1);
    auto item = controller->getEngine()->getRecorder (controller->getEngine()->getRecorderCount() - 1);
    auto* recorder = dynamic_cast<Recorder*> (item.get());
    ASSERT_NE (recorder, nullptr) << "the controller's maker makes recorders";

    {
        oxatest::ShownErrors errors;
        if (recorder->getFolder() == juce::File())
        {
            EXPECT_FALSE (recorder->arm (true));
            EXPECT_TRUE (errors.shown.contains ("No toolset.")) << errors.shown.joinIntoString ("\n");
        }
    }

    const auto toolSet = temp / "Documents/takes";
    ASSERT_TRUE (toolSet.createDirectory());
    ASSERT_TRUE (recorder->saveSetting (toolSet));
    recorder->setPunchRange ({ 4410, 13230, true });
    ASSERT_TRUE (recorder->arm (true));
    EXPECT_EQ (request (IsAnyRecorderArmed), 1);

    oxatest::ShownErrors errors;
    Synchronizer::getInstance()->getMaster().play();
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([recorder] { return recorder->getStatus().CurrentTake.size() == 1; }, 10000))
        << "the posted punch-out finished the pass";
    EXPECT_TRUE (errors.shown.isEmpty()) << errors.shown.joinIntoString ("\n");
    EXPECT_EQ (request (IsAnyRecorderArmed), 0);

    juce::int64 longest = 0;
    request (GetLongestRecorderLength, 0, 0, &longest);
    EXPECT_EQ (longest, 13230);
    const auto region = recorder->getStatus().CurrentTake.getRecord (0);
    EXPECT_EQ (region->start, 4410);
    EXPECT_TRUE (recorder->getFolder().getChildFile (region->fileName).existsAsFile());
    Synchronizer::getInstance()->getMaster().stop();
}
