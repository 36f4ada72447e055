#pragma once

#include "ToolSetTestSupport.h"
#include "app/HelloWorldWindow.h"
#include "app/InstController.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace apptest
{

/** The main window as the program builds it, in temporary install and
    documents folders that hold all five user-data folders (no first run). The
    questions are scripted, errors captured, and quitting only counted. */
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (auto* name : { T730::UserFolder::patchgroup, T730::UserFolder::setting })
            sandbox.folder (name).createDirectory();
        window = std::make_unique<HelloWorldWindow>();
        controller().quitApplication = [this] { ++quitRequests; };
    }

    void TearDown() override
    {
        window.reset();
    }

    T730::InstController& controller() { return *window->getController(); }
    T730::GuiMain& gui() { return *controller().getGui(); }

    /** Lets the window paint and the posted messages run. */
    void settle (int ms = 60) { oxatest::pumpMessagesUntil ({}, ms); }

    oxatest::UserDataSandbox sandbox;
    oxatest::ScriptedDialogs dialogs;
    oxatest::ShownErrors errors;
    std::unique_ptr<HelloWorldWindow> window;
    int quitRequests = 0;
};

} // namespace apptest
