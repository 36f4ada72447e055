// The controller's window side: the main component and the CPU meter window it
// builds at the end of its construction, the links its parts keep to them, and
// the menu commands with the windows they open.
#include "app/InstController.h"

#include "app/ControllerCommands.h"
#include "app/ControllerRequests.h"
#include "app/CpuMeter.h"
#include "app/GuiMain.h"
#include "app/SectionTab.h"
#include "app/Splash.h"
#include "app/ToolSetOperations.h"
#include "engine/Synchronizer.h"
#include "jam/SectionJam.h"
#include "ui/AudioBufferSizeSettingComponent.h"
#include "ui/OxDialog.h"

namespace T730
{

ControllerCommands& InstController::getCommands()
{
    if (! commands)
    {
        auto* made = new ControllerCommands (parts, *toolSetOps, *requests);
        commands.reset (made);

        auto& hooks = made->hooks;
        hooks.demoList = [this]
        {
            return gui ? gui->getDemoList() : juce::Array<juce::File>();
        };
        hooks.isAudioDeviceOpen = [this] { return deviceManager.getCurrentAudioDevice() != nullptr; };
        hooks.openDeviceIO = [this] (bool open, bool withMidi) { openDeviceIO (open, withMidi); };
        hooks.showConnectionSetting = [this] { showConnectionSetting(); };
        hooks.showCpuMeter = [this]
        {
            if (cpuMeterWindow)
                cpuMeterWindow->showMeter();
        };
        hooks.showVersion = [this]
        {
            VersionInf::show (midi ? midi->getDeviceVersion() : juce::String(), gui.get());
        };
        hooks.showPlayers = [this] (bool shown)
        {
            if (gui)
                gui->getJamSection().setPlayersShown (shown);
        };
        hooks.quit = [this]
        {
            if (quitApplication)
                quitApplication();
            else
                juce::JUCEApplication::quit();
        };
        hooks.resetPlayState = [] { Synchronizer::getInstance()->getMaster().reset(); };
        if (engine)
            hooks.mixDown = [this] (const juce::File& wavFile) { runMixDown (wavFile); };
    }

    refreshParts();
    return *commands;
}

void InstController::getAllCommands (juce::Array<juce::CommandID>& ids)
{
    getCommands().getAllCommands (ids);
}

void InstController::getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    getCommands().getCommandInfo (commandID, result);
}

bool InstController::perform (const juce::ApplicationCommandTarget::InvocationInfo& info)
{
    return getCommands().perform (info.commandID);
}

void InstController::showConnectionSetting()
{
    {
        AudioBufferSizeSettingComponent panel (deviceManager);
        MessageBoxes::runModalComponent (panel, "Control Panel", true);
    }

    // A device the panel could not open again is reopened as it last was.
    if (deviceManager.getCurrentAudioDevice() == nullptr)
        deviceManager.restartLastAudioDevice();
}

//==============================================================================
void InstController::createUserInterface()
{
    auto* main = new GuiMain (*this);
    gui.reset (main);
    cpuMeterWindow.reset (new CpuMeterWindow (main));

    parts.enterBusySection = [this] { if (gui) gui->beginBusy(); };
    parts.leaveBusySection = [this] { if (gui) gui->endBusy(); };
    parts.removeRhythmItemByPanel = [this] { if (gui) gui->getJamSection().removeRhythmItem(); };
    parts.refreshDownloadSection = [this] { if (gui) gui->stopDownloadActivity(); };
    parts.rebuildDemoList = [this] { if (gui) gui->rebuildDemoList(); };
    parts.messageReceiver = main;
    parts.progressParent = main;

    getCommands();
    guiForThreads = main;
    followTunerPage();
}

void InstController::deleteUserInterface()
{
    guiForThreads = nullptr;

    // The device's events go nowhere from here on.
    {
        const juce::ScopedLock sl (deviceEventLock);
    }

    parts.enterBusySection = nullptr;
    parts.leaveBusySection = nullptr;
    parts.removeRhythmItemByPanel = nullptr;
    parts.refreshDownloadSection = nullptr;
    parts.rebuildDemoList = nullptr;
    parts.messageReceiver = nullptr;
    parts.progressParent = nullptr;
    commands.reset();
    if (gui)
        gui->getTabSection().onTunerShownChanged = nullptr;
    gui.reset();
    followTunerPage();
}

} // namespace T730
