// The controller's recorders on a private JACK server: made by its maker,
// refused without a tool set, and a punch-out carried through the posted
// message to the finish pass, with the jam requests answering for them.
#include <gtest/gtest.h>

#include "../engine/JackTestServer.h"
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
class AppGuiJackRecorder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto* name : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
            ASSERT_TRUE ((temp / "Documents/VELD/OXA Tools").getChildFile (name).createDirectory());
        overrideFolderRoots (temp / "install", temp / "Documents");

        server = std::make_unique<oxatest::JackTestServer>();
        ASSERT_TRUE (server->isRunning()) << server->getError();
        feed = std::make_unique<oxatest::JackTestClient>();
        ASSERT_TRUE (feed->isOpen());

        InstController::setAudioDeviceNameMatch (feed->getName());
        DspLoader::deleteInstance();
        DspLoader::setDefaultResourceFolder (oxatest::stageFolder().getChildFile ("resources"));

        controller = std::make_unique<InstController>();
        controller->openDeviceIO (true, false);
        ASSERT_NE (controller->getEngine(), nullptr);
    }

    void TearDown() override
    {
        controller.reset();
        feed.reset();
        server.reset();
        InstController::setAudioDeviceNameMatch ({});
        DspLoader::setDefaultResourceFolder ({});
        clearFolderRootOverrides();
    }

    int request (int code, int p1 = 0, int p2 = 0, void* data = nullptr) { return controller->request (code, p1, p2, data); }

    oxatest::TempFolder temp;
    std::unique_ptr<oxatest::JackTestServer> server;
    std::unique_ptr<oxatest::JackTestClient> feed;
    std::unique_ptr<InstController> controller;
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
