#pragma once

#include "app/ControllerParts.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <functional>

namespace T730
{

class ControllerRequests;
class ToolSetOperations;

/** The menu commands (JUCE command IDs). */
namespace CommandIDs
{
    enum
    {
        fileNew = 0x2000,
        fileOpen = 0x2001,
        fileSave = 0x2002,
        fileSaveAs = 0x2003,
        mixDown = 0x2004,
        exit = 0x2005,
        undo = 0x2010,
        redo = 0x2011,
        connect = 0x201f,
        connectionSetting = 0x2020,
        autoRun = 0x2021,
        cpuMeter = 0x2022,
        drummerBassist = 0x2023,
        version = 0x2030,
        importToolSet = 0x2040,
        importRhythm = 0x2041,
        exportToolSet = 0x2048,
        demoFirst = 0x2100   // demo tool set i is demoFirst + i
    };
}

/** What the commands need from outside the controller's parts: the windows
    they open and the devices they switch. An unset hook means that part is not
    there; its command does nothing (or, for the mix-down, stays disabled). */
struct CommandHooks
{
    /** The demo tool set documents, in the main component's order. */
    std::function<juce::Array<juce::File>()> demoList;

    /** Whether an audio device is open (Connect's tick). */
    std::function<bool()> isAudioDeviceOpen;

    /** The controller's openDeviceIO. */
    std::function<void (bool open, bool withMidi)> openDeviceIO;

    /** Runs the buffer size panel modally titled "Control Panel" (only asked
        while an audio device is open), then reopens the last audio device when
        none is open any more. */
    std::function<void()> showConnectionSetting;

    /** Starts the CPU meter's timer and shows its window in front. */
    std::function<void()> showCpuMeter;

    /** Shows the version window with the device's identity text. */
    std::function<void()> showVersion;

    /** The jam section shows or hides the drummer and bassist. */
    std::function<void (bool shown)> showPlayers;

    /** The shared play state starts again (play position at the start). */
    std::function<void()> resetPlayState;

    /** The application's quit request. */
    std::function<void()> quit;

    /** The mix-down into a WAV file that was found writable: with the audio
        callback taken off, the engine renders the jam under a progress window
        titled "Processing..." and is put back as the callback. Set once the
        audio engine exists; until then Mix Down stays disabled. */
    std::function<void (const juce::File& wavFile)> mixDown;
};

/** The menu commands: the table of IDs, texts, keys and enabling rules, and
    each command's work on the controller's parts. A command that runs a modal
    loop (a file dialog, a question, a progress window) reads the parts again
    afterwards, and no command starts while another one is running (a click
    posted during a dialog is dropped). Message thread only. */
class ControllerCommands
{
public:
    ControllerCommands (ControllerParts& parts, ToolSetOperations& toolSet, ControllerRequests& requests);

    CommandHooks hooks;

    /** The fixed commands in their order, then one per demo tool set. */
    void getAllCommands (juce::Array<juce::CommandID>& commands) const;

    /** Text, menu, key (Ctrl and a letter), enabled and ticked state of a command. */
    void getCommandInfo (juce::CommandID id, juce::ApplicationCommandInfo& info) const;

    /** Runs a command. True for every command handled; false for an unknown ID
        and for Exit when quitting was declined. */
    bool perform (juce::CommandID id);

    /** True while a command runs (its dialogs included). */
    bool isRunning() const noexcept { return running; }

    /** Shown when a chosen tool set name keeps none of the allowed characters. */
    static constexpr const char* noAllowedCharactersText =
        "The name has none of the characters a tool set name may use:\n"
        "letters, digits, spaces and ! # $ % & ' ( ) + , - . ; = @ [ ] ^ _ ` { } ~";

    /** Shown when Save As would put the tool set inside its own folder. */
    static constexpr const char* insideOwnFolderText =
        "A tool set cannot be saved inside its own folder. Please choose another place.";

private:
    bool isBusy() const;
    UserDialogs& dialogs() const;
    void stop();
    juce::File documentOf (const juce::File& folder) const;

    void newToolSet();
    void openToolSet();
    void saveToolSet();
    void saveToolSetAs();
    void importArchive (int kind);
    void exportToolSet();
    void mixDown();
    void openDemo (int index);
    bool exitProgram();
    void undoOrRedo (bool undo);
    void connect();
    void connectionSetting();

    ControllerParts& parts;
    ToolSetOperations& toolSet;
    ControllerRequests& requests;
    bool running = false;

    JUCE_DECLARE_NON_COPYABLE (ControllerCommands)
};

} // namespace T730
