#pragma once

#include "app/AppSetting.h"
#include "app/ControllerParts.h"
#include "app/ControllerRequest.h"
#include "app/Memento.h"
#include "app/Owned.h"
#include "device/MidiMain.h"
#include "engine/NetListItem.h"
#include "platform/DevicePresence.h"
#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <juce_events/juce_events.h>
#include <atomic>
#include <functional>
#include <memory>

// Subsystem objects the controller owns; each is declared by its own subsystem.
class DevConnection;
class TunerLib;
class Splash;

namespace T730
{
class GuiMain;
class DspMain;
class JamEngine;
class MidiMain;
class Project;
class PatchManager;
class PatchSet;
class SongManager;
class CpuMeterWindow;
class BackupProgress;
class ToolSetOperations;
class ControllerRequests;
class ControllerCommands;
class ControllerEngine;
class ControllerItemFactory;
class ControllerRhythmOwner;
class ControllerJamOwner;

/** True while the audio device is open with the engine as its callback.
    Written by the controller on the message thread; read by the menu and the engine. */
bool isAudioReady() noexcept;

/** The single owner of the application's state: settings, the current tool set,
    the patch and song stores, the tuner reference, the undo keeper, the audio
    engine, the MIDI link, the device watcher, the backup worker and the root
    component. Built by the main window and destroyed by it, both in a fixed order.

    The class is spread over several files, one per concern:
      InstController.cpp          start-up, shut-down, settings, audio opening
      InstControllerEngine.cpp    the audio engine: its creation, the tuner feed, the mix-down
      InstControllerDevice.cpp    device presence, MIDI side of openDeviceIO, received messages
      InstControllerRequests.cpp  the numbered requests
      InstControllerToolSet.cpp   tool set operations
      InstControllerWindow.cpp    the main component, the menu commands and their windows
      InstContMes.cpp             the posted messages

    Bases, in order: juce::MessageListener (primary), MementoOriginator<Project>
    (undo), DevConnectionListener (device watcher), MidiMainListener (MIDI link),
    NetListOwner (pitch reports of the tuner node). */
class InstController : public juce::MessageListener
                     , public MementoOriginator<Project>
                     , public DevConnectionListener
                     , public MidiMainListener
                     , public NetListOwner
{
public:
    /** Builds everything; runs the first-run installer modally when a user-data folder is missing. */
    InstController();

    /** Tells the device editing ends, closes the ports, saves the settings and
        deletes the members in their fixed order. */
    ~InstController() override;

    /** The controller's own posted messages. */
    void handleMessage (const juce::Message& message) override;

    // The menu commands (InstControllerWindow.cpp), called by GuiMain's command target.
    void getAllCommands (juce::Array<juce::CommandID>& commands);
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result);
    bool perform (const juce::ApplicationCommandTarget::InvocationInfo& info);
    ControllerCommands& getCommands();

    /** The main component (null before the end of construction and after its deletion). */
    GuiMain* getGui() const noexcept { return gui.get(); }
    CpuMeterWindow* getCpuMeterWindow() const noexcept { return cpuMeterWindow.get(); }

    /** The application's quit request; JUCEApplication::quit unless replaced (tests). */
    std::function<void()> quitApplication;

    /** The settings record (request 1 hands out the same object). */
    AppSetting& getSettings() noexcept { return settings; }

    /** Asks to quit (the path of request 7): false keeps the program running. */
    bool prepareQuit();

    /** True when the M7c is attached; asks afresh on every call. */
    bool isDevicePresent() const;

    /** Opens (or closes) the device's audio and, with withMidi, its MIDI port. */
    void openDeviceIO (bool open, bool withMidi);

    // The device link (InstControllerDevice.cpp).
    /** A MIDI device came or went: re-checks presence and opens or closes the ports. */
    void devicePresenceChanged() override;
    /** One message from the device, on the MIDI input thread (owns the event). */
    void midiEventReceived (MidiRecvEv* event) override;
    /** A pitch from the tuner node, handed over by the engine on the message thread
        (any thread may call it): posted as InstContMesTunerPitchDetect. */
    void nodePitchDetected (float frequency) override;
    /** Requests 30 and 31: the transfer under its progress window; false (after
        showing the error) when it failed. */
    bool backupFromDevice (PatchSet& destination);
    bool restoreToDevice (PatchSet& source, int count);
    /** The tool set's edit buffer (null before the tool set exists). */
    EditBuf* getEditBuffer() noexcept;
    MidiMain* getMidi() noexcept;
    PatchManager* getPatchManager() noexcept;

    juce::AudioDeviceManager& getDeviceManager() noexcept { return deviceManager; }

    /** True from a start-up that found a user-data folder missing until the audio first opens. */
    bool isFirstRun() const noexcept { return firstRun; }

    /** The audio device name the program prefers: the open device when its name
        contains "M7c", else the first of any driver type that contains "M7c"; empty
        (with an empty type) when there is none. Returns {type name, device name}. */
    static std::pair<juce::String, juce::String> findDeviceAudio (juce::AudioDeviceManager& manager);

    /** What the audio device's name must contain to be taken for the M7c's:
        "M7c". Tests point the controller at a device of another name (the
        client of a private JACK server) before building it. */
    /** The device's ports connected: editor mode on, the identity asked, the
        edit buffer sent, and tuner mode on when the tuner page shows (a device
        plugged in meanwhile would otherwise stay in play mode). */
    void greetDevice();

    static void setAudioDeviceNameMatch (const juce::String& part);
    static juce::String getAudioDeviceNameMatch();

    /** The audio engine (null before start-up step 10 and after shut-down). */
    DspMain* getEngine() const noexcept { return engine.get(); }

    /** The engine as the requests and tool set operations see it (null when there is no engine). */
    JamEngine* getJamEngine() const noexcept;

    /** Where the jam's items are made: the rhythm machine and the recorders install their makers. */
    ControllerItemFactory& getItemFactory() noexcept { return *itemFactory; }

    /** The settings file path ("OXAToolsM7c.xml" in the setting folder). */
    static juce::File getSettingsFile();

    /** The error log path ("ErrLogM7c.log" in the setting folder). */
    static juce::File getErrorLogFile();

    /** Where a stored CurrentProject points: an absolute path (of this system or a
        drive-letter one) keeps only its last component, a relative name stays as
        it is; either is placed in the toolsets folder. "" stays "". */
    static juce::String normaliseProjectPath (const juce::String& stored, const juce::File& toolsets);

    // Requests and tool sets (InstControllerRequests.cpp, InstControllerToolSet.cpp).
    /** The numbered requests: -1 true, 0 false, or a value; 0 for a code outside 1..55. */
    int request (int code, int param1 = 0, int param2 = 0, void* data = nullptr);
    bool loadToolSet (const juce::File& folder);
    /** Saves, removes the recorder files only the history named, restarts the history. */
    bool saveToolSet (const juce::File& folder);
    /** False (after showing why) when nothing was exported. */
    bool exportToolSet (const juce::File& archive);
    /** kind 0 tool set ("ots"), 1 rhythm ("orp"); true when something was imported. */
    bool importArchive (const juce::File& source, int kind, juce::File& importedPath);
    bool confirmDiscard();
    /** The tool set operations on this controller's parts (menu commands use them). */
    ToolSetOperations& getToolSetOperations();
    /** The current tool set. */
    Project& getProject() noexcept { return *project; }
    /** Where the posted messages go (the main component); null drops them. */
    void setMessageReceiver (InstContMesReceiver* receiver) noexcept { parts.messageReceiver = receiver; }

    std::unique_ptr<Project> createMemento() override;
    void setMemento (std::unique_ptr<Project> snapshot) override;

private:
    void createToolSetParts();
    void createSongStore();
    void loadCurrentToolSet();
    void createUndoKeeper();
    ControllerParts& refreshParts();
    void createUserInterface();
    void deleteUserInterface();
    void showConnectionSetting();

    bool needsFirstRun() const;
    void runFirstRunInstaller();
    void openErrorLog();
    void closeErrorLog();
    void loadSettings();
    void saveSettings();
    void normaliseCurrentProject();
    void initialiseAudio();
    bool openAudio();
    void leaveDeviceAt48k();
    void closeAudio();
    void createJamOwner();
    void createEngine();
    void installRhythmMaker();
    /** The recorders' maker for the jam list (InstControllerRecorder.cpp). */
    void installRecorderMaker();
    /** A punch-out message: its recorder finishes the pass (before the user interface hears of it). */
    void finishRecorderPunchOut (const juce::Message& message);
    void deleteEngine();
    void attachEngine();
    void detachEngine();
    void applyProjectToEngine();
    void followTunerPage();
    void runMixDown (const juce::File& wavFile);
    void createDeviceLink();
    void startDeviceWatch();
    void stopDeviceWatch();
    void sendEditorOff();
    void openDeviceMidi();
    void closeDeviceMidi();
    bool connectMidiPort (const juce::String& name);
    void disconnectMidiPort (const juce::String& name);
    bool runTransfer (const std::function<bool (BackupProgress&)>& transfer);

    // Members, in their fixed declaration order.
    Owned<GuiMain> gui;
    Owned<DspMain> engine;
    Owned<ControllerEngine> jamEngine;          // the engine as the requests see it
    Owned<ControllerJamOwner> jamOwner;         // the transport's way to the requests; outlives the engine
    Owned<ControllerItemFactory> itemFactory;   // outlives the engine
    Owned<ControllerRhythmOwner> rhythmOwner;   // the rhythm machines' questions; outlives the engine
    Owned<MidiMain> midi;
    juce::AudioDeviceManager deviceManager;
    AppSetting settings;
    Owned<Project> project;               // the current tool set (held by value once it exists)
    Owned<MementoCareTaker<Project>> undoKeeper;
    Owned<DevConnection> devConnection;
    bool devicePresent = false;
    Owned<PatchManager> patchManager;     // held by value once it exists
    Owned<SongManager> songManager;       // held by value once it exists
    Owned<TunerLib> tuner;                // held by value (reference 440 Hz) once it exists
    Owned<CpuMeterWindow> cpuMeterWindow;
    Owned<BackupProgress> backup;
    bool firstRun = false;
    bool busy = false;
    juce::String midiDeviceName;

    /** The error log, JUCE's current logger from construction to the end of destruction. */
    std::unique_ptr<juce::FileLogger> errorLog;

    /** Identifier of the MIDI input MidiMain listens to; message thread only. */
    juce::String midiInputId;

    /** Held by the MIDI input thread while it hands an event to the backup
        worker, and by the message thread while it deletes the worker. */
    juce::CriticalSection deviceEventLock;

    /** Links to the members for the requests and tool set operations; refreshed before each use. */
    ControllerParts parts;
    Owned<ToolSetOperations> toolSetOps;
    Owned<ControllerRequests> requests;
    Owned<ControllerCommands> commands;

    /** The main component for the MIDI input thread and the engine's threads:
        set once it is complete, cleared before it is deleted. */
    std::atomic<GuiMain*> guiForThreads { nullptr };

    JUCE_DECLARE_NON_COPYABLE (InstController)
};

} // namespace T730
