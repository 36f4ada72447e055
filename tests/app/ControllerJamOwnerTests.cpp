// The transport's questions and notifications reach the controller as its
// numbered requests, and the engine through them.
#include <gtest/gtest.h>

#include "../engine/JamTestItems.h"
#include "ToolSetTestSupport.h"
#include "app/AppSetting.h"
#include "app/ControllerJamOwner.h"
#include "app/ControllerRequests.h"
#include "app/InstContMes.h"
#include "app/ToolSetOperations.h"
#include "documents/Project.h"
#include "engine/AudioLock.h"
#include "engine/PlayState.h"
#include "engine/Synchronizer.h"

using namespace T730;

TEST (AppControllerJamOwner, TheTransportReachesTheEngineThroughTheRequests)
{
    oxatest::RecordingController controller;
    oxatest::FakeEngine engine;
    AppSetting settings;
    Project project;
    bool devicePresent = false, busy = false;
    ControllerParts parts;
    parts.controller = &controller;
    parts.settings = &settings;
    parts.project = &project;
    parts.devicePresent = &devicePresent;
    parts.busy = &busy;
    parts.engine = &engine;
    ToolSetOperations toolSet (parts);
    ControllerRequests requests (parts, toolSet);

    ControllerJamOwner owner ([&requests] (int code, int p1, int p2, void* data) { return requests.handle (code, p1, p2, data); },
                              &controller);

    EXPECT_FALSE (owner.isAnyRecorderArmed());
    engine.armed = true;
    EXPECT_TRUE (owner.isAnyRecorderArmed()) << "request 21 answers 1, not -1";

    // A play state owned by the controller: its count-in asks, its stop and
    // loop wrap silence the items, its locate tells them.
    oxatest::ScopedEngineRunning running;
    Synchronizer sync;
    sync.setOwner (&owner);
    auto& master = sync.getMaster();
    master.setPreCount (1);
    master.setLoopRange ({ 0, 1000, true });

    master.play();
    {
        const juce::ScopedLock sl (getAudioLock());
        master.tick();
    }
    EXPECT_EQ (master.getState(), PlayState::countingIn);

    {
        const juce::ScopedLock sl (getAudioLock());
        sync.advance ((int) master.getCountInLength());
        master.tick();
        sync.advance (1000);
    }
    EXPECT_EQ (engine.silenced, 1) << "the loop wrap (request 16)";

    master.stop (false);
    {
        const juce::ScopedLock sl (getAudioLock());
        sync.advance (441);
        master.tick();
    }
    EXPECT_EQ (engine.silenced, 2) << "the stop (request 15)";
    EXPECT_EQ (engine.located, 1) << "after the stop (request 17)";

    master.locateTo (50);
    EXPECT_EQ (engine.located, 2);
    oxatest::pumpMessagesUntil ([&] { return ! controller.updates.empty(); }, 1000);
    ASSERT_FALSE (controller.updates.empty());
    EXPECT_EQ (controller.updates.front(), (int) sectionJam);

    sync.setOwner (nullptr);
    ControllerJamOwner detached (nullptr, nullptr);
    EXPECT_FALSE (detached.isAnyRecorderArmed());
    detached.itemsStopped();
    detached.jamChanged();
}
