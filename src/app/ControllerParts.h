#pragma once

#include "app/Memento.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class TunerLib;

namespace T730
{

class AppSetting;
class Project;
class PatchManager;
class PatchSet;
class SongManager;
class MidiMain;
class JamEngine;
class UserDialogs;
class InstContMesReceiver;

/** The controller's parts as its requests and tool set operations reach
    them. None is owned here: the controller fills the links as it builds its
    members and clears them as it deletes them. A null link means the
    subsystem is not there (yet), and the operations behave as for "nothing
    there". Written on the message thread only; the engine's threads read
    `engine`, `project` and `isTunerShown` for their requests, so those are
    set while the audio is stopped. */
struct ControllerParts
{
    /** The controller, target of the posted messages. */
    const juce::MessageListener* controller = nullptr;

    AppSetting* settings = nullptr;
    Project* project = nullptr;
    MementoCareTaker<Project>* undoKeeper = nullptr;
    PatchManager* patchManager = nullptr;
    SongManager* songManager = nullptr;
    TunerLib* tuner = nullptr;
    MidiMain* midi = nullptr;
    JamEngine* engine = nullptr;

    /** The controller's flags (owned by the controller). */
    const bool* devicePresent = nullptr;
    bool* busy = nullptr;

    /** The device link's backup and restore under their progress window. */
    std::function<bool (PatchSet&)> backupFromDevice;
    std::function<bool (PatchSet&, int count)> restoreToDevice;

    /** The main component's busy section (its nesting counter of disabled sections). */
    std::function<void()> enterBusySection, leaveBusySection;

    /** True while the tab section shows the tuner page (and while there is no main component),
        the answer of request 41. (The engine's tuner feed follows the tab section's
        own notification, so the audio thread never asks.) Set it before the audio
        device opens, or with the audio stopped, never while it runs. */
    std::function<bool()> isTunerShown;

    /** The rhythm panel removes the rhythm machine item (closing the players with it). */
    std::function<void()> removeRhythmItemByPanel;

    /** The download section stops its thread and rebuilds its lists. */
    std::function<void()> refreshDownloadSection;

    /** The main component rebuilds its demo list and registers its commands again. */
    std::function<void()> rebuildDemoList;

    /** The song store takes in a song file copied into the song folder. */
    std::function<void (const juce::File&)> registerSong;

    /** The dialogs in use; UserDialogs::get() when null. */
    UserDialogs* dialogs = nullptr;

    /** Where the controller's posted messages are handled (the main component); null drops them. */
    InstContMesReceiver* messageReceiver = nullptr;

    /** Parent of the import's progress window (the main component), may be null. */
    juce::Component* progressParent = nullptr;
};

} // namespace T730
