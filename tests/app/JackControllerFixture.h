#pragma once
// A controller whose audio engine runs on a private JACK server: a test client
// stands for the M7c (its tone, if any, is what the engine's inputs hear), the
// engine's modules are the staged ones, and the user's folders are a test's own.
#include "../engine/JackTestServer.h"
#include "TestSupport.h"
#include "app/InstController.h"
#include "engine/DspLoader.h"
#include "platform/DataFolders.h"

#include <gtest/gtest.h>

#include <memory>

namespace oxatest
{

class JackControllerTest : public ::testing::Test
{
protected:
    /** Makes the user's folders under the test's own; `install` is the install
        folder the controller reads. Call it inside ASSERT_NO_FATAL_FAILURE, before
        openOnJack. */
    void makeFolders (const juce::File& install)
    {
        for (const auto* name : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
            ASSERT_TRUE (userFolder().getChildFile (name).createDirectory());
        T730::overrideFolderRoots (install, temp / "Documents");
    }

    /** Starts the server and the device's stand-in (playing `toneHz` at half level
        when above 0) and opens the controller on it. Call it inside
        ASSERT_NO_FATAL_FAILURE. */
    void openOnJack (double toneHz)
    {
        server = std::make_unique<JackTestServer>();
        ASSERT_TRUE (server->isRunning()) << server->getError();
        feed = std::make_unique<JackTestClient>();
        ASSERT_TRUE (feed->isOpen());
        if (toneHz > 0.0)
            feed->setTone (toneHz, 0.5f);

        T730::InstController::setAudioDeviceNameMatch (feed->getName());
        T730::DspLoader::deleteInstance();
        T730::DspLoader::setDefaultResourceFolder (stageFolder().getChildFile ("resources"));

        controller = std::make_unique<T730::InstController>();
        controller->openDeviceIO (true, false);
        ASSERT_NE (controller->getEngine(), nullptr);
    }

    void TearDown() override
    {
        controller.reset();
        feed.reset();
        server.reset();
        T730::InstController::setAudioDeviceNameMatch ({});
        T730::DspLoader::setDefaultResourceFolder ({});
        T730::clearFolderRootOverrides();
    }

    /** The program's folder among the user's documents. */
    juce::File userFolder() const { return temp / "Documents/VELD/OXA Tools"; }

    int request (int code, int p1 = 0, int p2 = 0, void* data = nullptr) { return controller->request (code, p1, p2, data); }

    TempFolder temp;
    std::unique_ptr<JackTestServer> server;
    std::unique_ptr<JackTestClient> feed;
    std::unique_ptr<T730::InstController> controller;
};

} // namespace oxatest
