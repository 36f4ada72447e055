#include "app/InstController.h"
#include "app/InstContMes.h"
#include "app/FileCopyThread.h"
#include "app/ProgressWindow.h"
#include "documents/OxXMLDocument.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "editor/ModuleNameLoader.h"
#include "editor/ModulePictures.h"
#include "engine/DspLoader.h"
#include "rhythm/RhythmEngineHost.h"
#include "rhythm/SongManager.h"
#include "engine/DspMain.h"
#include "engine/EngineSettings.h"
#include "engine/Synchronizer.h"
#include "engine/TunerLib.h"
#include "ui/FlyWeight.h"
#include "ui/ToolTipEx.h"
#include "app/GuiMain.h"
#include "platform/DataFolders.h"
#include "platform/Platform.h"

namespace T730
{

namespace
{
    // Written on the message thread by openDeviceIO; read by the menu and the engine.
    std::atomic<bool> audioReadyFlag { false };

    constexpr const char* errorLogName = "ErrLogM7c.log";
    constexpr const char* damagedSettingsName = "OXAToolsM7c.damaged.xml";
    constexpr const char* logWelcome = "OXA Tools M7c log start:";
    constexpr double deviceSampleRate = 44100.0;
    constexpr int firstRunBlockSize = 441;

    // Counts which module archives the nodes use, so the picture cache frees an
    // archive's pictures when its last module goes. Installed while a controller lives.
    PictureCacheArchiveUser pictureCacheUser;

    // What the audio device's name contains; set before a controller is built.
    juce::CriticalSection deviceMatchLock;
    juce::String& deviceNameMatch()
    {
        static juce::String match ("M7c");
        return match;
    }
} // namespace

void InstController::setAudioDeviceNameMatch (const juce::String& part)
{
    const juce::ScopedLock sl (deviceMatchLock);
    deviceNameMatch() = part.isNotEmpty() ? part : juce::String ("M7c");
}

juce::String InstController::getAudioDeviceNameMatch()
{
    const juce::ScopedLock sl (deviceMatchLock);
    return deviceNameMatch();
}

bool isAudioReady() noexcept
{
    return audioReadyFlag.load();
}

juce::File InstController::getSettingsFile()
{
    return getUserDataFolder (UserFolder::setting, false).getChildFile (AppSetting::fileName);
}

juce::File InstController::getErrorLogFile()
{
    return getUserDataFolder (UserFolder::setting, false).getChildFile (errorLogName);
}

//==============================================================================
InstController::InstController()
{
    // Every message posted to the controller takes a weak reference to it, which
    // JUCE makes on first use without a lock; the MIDI input, drawing and audio
    // threads post too, so it is made here, on the message thread, first.
    const juce::WeakReference<juce::MessageListener> postedTo (this);

    // 1. Members are constructed above: settings at their defaults, every pointer null.
    //    The tool set, the patch and song stores and the tuner reference are built here
    //    as their subsystems arrive.
    createToolSetParts();
    tuner.reset (new TunerLib (440));

    // 2. The splash is put up by the application before the controller is built, so
    //    that the message loop paints it without a loop nested in this constructor.

    // 3. Device presence.
    devicePresent = isDevicePresent();

    // 4. First-run check and installation.
    if (needsFirstRun())
    {
        firstRun = true;
        runFirstRunInstaller();
    }

    // 5. The error log.
    openErrorLog();

    // 6. The plug-in formats: the rhythm engine's starts loading its SoundFont on its
    //    own thread now, so that nothing waits for it later; the effect module
    //    registry starts looking through its libraries, and
    // 7. the Synchronizer learns the controller (through the transport's owner).
    getRhythmEngineFormat().startLoadingInBackground (getRhythmEngineLibrary());
    DspLoader::getInstance();
    createJamOwner();
    // 8. The shared picture cache, and the nodes' bookkeeping of the archives they use.
    FlyWeight::getInstance();
    NetListItem::setArchiveUser (&pictureCacheUser);
    // 9. Songs, then the patch groups (their store is made in createDeviceLink).
    createSongStore();
    // 10. The engine (DspMain), then the MIDI link (MidiMain, with this controller as its listener).
    createEngine();
    createDeviceLink();

    // 11. Settings.
    loadSettings();

    // 12. The current tool set.
    normaliseCurrentProject();
    loadCurrentToolSet();

    // 13. The engine applies the tool set (a tool set that loaded has applied itself).
    if (settings.CurrentProject.isEmpty())
        applyProjectToEngine();
    // 14. The undo keeper: originator this controller, no limit, initial snapshot, enabled.
    createUndoKeeper();

    // 15. The audio device manager. (The engine's threads ask whether the tuner page
    //     is shown from here on; without a main component it counts as shown.)
    parts.isTunerShown = [this]
    {
        auto* main = guiForThreads.load();
        return main == nullptr || main->isTunerShown();
    };
    initialiseAudio();

    // 16. Audio and MIDI of the device.
    openDeviceIO (devicePresent, true);

    // 17. GuiMain, the CPU meter window (hidden), the device watcher and the backup worker.
    createUserInterface();
    startDeviceWatch();
    // 18. The splash is closed by the application once the main window shows.
}

InstController::~InstController()
{
    // 1. The device leaves editor mode (and tuner mode when the tuner page is showing).
    sendEditorOff();
    // 2. The Synchronizer forgets the controller.
    Synchronizer::getInstance()->setOwner (nullptr);

    // 3. Backup worker and device watcher.
    stopDeviceWatch();

    // 4. The device is left at 48000 Hz (its driver keeps the last rate it ran at);
    //    the engine is no longer its callback, so it never starts at that rate.
    detachEngine();
    if (platform::isNewerSystem())
        leaveDeviceAt48k();

    // 5. Ports closed.
    openDeviceIO (false, true);

    // 6. Settings.
    saveSettings();

    // 7. Tooltip window (user interface), then the owned members in this order.
    ToolTipEx::deleteInstance();
    cpuMeterWindow.reset();
    undoKeeper.reset();
    midi.reset();
    deleteEngine();
    deleteUserInterface();

    // 8. Shared picture cache, effect module loader, module catalogue and Synchronizer.
    NetListItem::setArchiveUser (nullptr);
    FlyWeight::deleteInstance();
    DspLoader::deleteInstance();
    ModuleNameLoader::deleteInstance();
    jamOwner.reset();
    Synchronizer::deleteInstance();

    // 9. The log, last of all.
    closeErrorLog();

    // 10. By-value members go in reverse declaration order.
}

//==============================================================================
void InstController::handleMessage (const juce::Message& message)
{
    // Messages of another family or for another controller are dropped; the
    // user interface receives the rest once it exists.
    finishRecorderPunchOut (message);
    if (parts.messageReceiver != nullptr)
        dispatchControllerMessage (message, *this, *parts.messageReceiver);
}

void InstController::nodePitchDetected (float frequency)
{
    postToController (*this, new InstContMesTunerPitchDetect (frequency));
}

bool InstController::prepareQuit()
{
    return request (PrepareQuit) != 0;
}

//==============================================================================
bool InstController::needsFirstRun() const
{
    // The order of this test differs from the installer's copy order.
    for (const auto* name : { UserFolder::patchgroup, UserFolder::song, UserFolder::rhythm,
                              UserFolder::setting, UserFolder::toolsets })
        if (! getUserDataFolder (name, false).exists())
            return true;

    return false;
}

void InstController::runFirstRunInstaller()
{
    FileCopyThread installer (this);
    installer.startThread();
    runProgress (&installer, nullptr, true);
    // The copy always completes, even when the dialog was closed early.
    installer.waitForThreadToExit (-1);
}

void InstController::openErrorLog()
{
    const auto logFile = getErrorLogFile();

    if (! logFile.existsAsFile())
    {
        const auto installed = getInstalledDataFolder (UserFolder::setting).getChildFile (errorLogName);
        if (installed.existsAsFile())
            installed.copyFileTo (logFile);
    }

    errorLog = std::make_unique<juce::FileLogger> (logFile, logWelcome);
    juce::Logger::setCurrentLogger (errorLog.get());
}

void InstController::closeErrorLog()
{
    if (juce::Logger::getCurrentLogger() == errorLog.get())
        juce::Logger::setCurrentLogger (nullptr);

    errorLog.reset();
}

void InstController::loadSettings()
{
    const auto file = getSettingsFile();
    if (! file.existsAsFile())
        return;

    // A file that does not parse is as unreadable as one of the wrong kind: both
    // are reported and leave the defaults in place. The settings are written over
    // it at exit, so the unreadable file is kept beside it first.
    OxXMLDocument document (file);
    auto* root = document.root();
    if (root == nullptr || ! settings.read (root))
    {
        juce::Logger::writeToLog ("Failed reading setting file.");
        file.copyFileTo (file.getSiblingFile (damagedSettingsName));
    }

    request (SetMasterLevel, settings.MasterLv);
}

void InstController::saveSettings()
{
    const auto file = getSettingsFile();

    juce::XmlElement root (AppSetting::rootTag);
    settings.write (&root);

    if (! file.getParentDirectory().createDirectory() || ! writeXmlDocument (file, root))
        juce::Logger::writeToLog ("Failed writing toolset file.");
}

juce::String InstController::normaliseProjectPath (const juce::String& stored, const juce::File& toolsets)
{
    // Stored paths may come from another system: both separators count.
    auto path = stored.trim().replaceCharacter ('\\', '/');
    if (path.isEmpty())
        return {};

    const bool absolute = path.startsWithChar ('/')
                          || (path.length() >= 2 && path[1] == ':' && juce::CharacterFunctions::isLetter (path[0]));
    if (absolute)
        path = path.trimCharactersAtEnd ("/").fromLastOccurrenceOf ("/", false, false);

    if (path.isEmpty() || path.endsWithChar (':'))
        return {};

    // "~mine" is a name, not a home folder; a name that climbs out of the toolsets
    // folder ("..") names no tool set.
    const auto placed = childNamed (toolsets, path);
    if (! placed.isAChildOf (toolsets))
        return {};

    return placed.getFullPathName();
}

void InstController::normaliseCurrentProject()
{
    settings.CurrentProject = normaliseProjectPath (settings.CurrentProject,
                                                    getUserDataFolder (UserFolder::toolsets, false));
}

//==============================================================================
std::pair<juce::String, juce::String> InstController::findDeviceAudio (juce::AudioDeviceManager& manager)
{
    // A driver may leave a device that is in use out of a fresh scan (ALSA lists only
    // the devices it can open), so the device already open is taken as it is.
    const auto match = getAudioDeviceNameMatch();
    if (auto* current = manager.getCurrentAudioDevice())
        if (current->getName().contains (match))
            return { current->getTypeName(), current->getName() };

    for (auto* type : manager.getAvailableDeviceTypes())
    {
        type->scanForDevices();
        for (const auto& name : type->getDeviceNames (false))
            if (name.contains (match))
                return { type->getTypeName(), name };
    }

    return {};
}

void InstController::initialiseAudio()
{
    // The device is preferred by name; without it JUCE takes the default device
    // of the first driver type.
    const auto error = deviceManager.initialise (2, 2, nullptr, true, "*" + getAudioDeviceNameMatch() + "*");
    juce::ignoreUnused (error);
}

bool InstController::openAudio()
{
    const auto found = findDeviceAudio (deviceManager);
    const auto& typeName = found.first;
    const auto& deviceName = found.second;
    if (deviceName.isEmpty())
        return false;

    if (deviceManager.getCurrentAudioDeviceType() != typeName)
        deviceManager.setCurrentAudioDeviceType (typeName, false);

    const auto select = [this, &deviceName] (int blockSize, bool allChannels)
    {
        auto setup = deviceManager.getAudioDeviceSetup();
        setup.outputDeviceName = deviceName;
        setup.inputDeviceName = deviceName;
        setup.sampleRate = deviceSampleRate;
        setup.bufferSize = blockSize;
        if (allChannels)
        {
            setup.useDefaultInputChannels = setup.useDefaultOutputChannels = false;
            setup.inputChannels.setRange (0, 256, true);
            setup.outputChannels.setRange (0, 256, true);
        }
        auto error = deviceManager.setAudioDeviceSetup (setup, true);

        // JUCE settles on another rate without an error when the driver lacks the one
        // asked for; the engine, the recorder and the rhythm machine run at 44100 Hz only.
        auto* device = deviceManager.getCurrentAudioDevice();
        if (error.isEmpty() && (device == nullptr || device->getCurrentSampleRate() != deviceSampleRate))
            error = "The device does not run at 44100 Hz.";

        return error;
    };

    // A first run starts the device from the driver's default block size with all
    // its channels, then asks for 441 samples.
    int blockSize = 0;
    if (firstRun)
    {
        select (0, true);
        blockSize = firstRunBlockSize;
    }

    auto error = select (blockSize, false);
    if (error.isNotEmpty())
        error = select (firstRunBlockSize, false);

    // A device left open at a rate the program cannot use would stay held (and
    // playing at the wrong speed) although the opening failed.
    if (error.isNotEmpty())
        deviceManager.closeAudioDevice();

    return error.isEmpty();
}

void InstController::leaveDeviceAt48k()
{
    const auto found = findDeviceAudio (deviceManager);
    const auto& typeName = found.first;
    const auto& deviceName = found.second;
    if (deviceName.isEmpty())
        return;

    if (deviceManager.getCurrentAudioDeviceType() != typeName)
        deviceManager.setCurrentAudioDeviceType (typeName, false);

    auto setup = deviceManager.getAudioDeviceSetup();
    setup.outputDeviceName = setup.inputDeviceName = deviceName;
    setup.sampleRate = 48000.0;
    setup.bufferSize = 0;
    deviceManager.setAudioDeviceSetup (setup, true);
}

void InstController::closeAudio()
{
    detachEngine();

    auto setup = deviceManager.getAudioDeviceSetup();
    setup.outputDeviceName.clear();
    setup.inputDeviceName.clear();
    deviceManager.setAudioDeviceSetup (setup, false);
    deviceManager.closeAudioDevice();
    audioReadyFlag = false;
    getEngineSettings().audioRunning = false;
}

void InstController::openDeviceIO (bool open, bool withMidi)
{
    if (open)
    {
        if (openAudio())
        {
            attachEngine();
            audioReadyFlag = true;
            firstRun = false;
        }
        else
        {
            juce::Logger::writeToLog ("Failed initializing audio I/O.");
            audioReadyFlag = false;
        }

        if (withMidi)
            openDeviceMidi();
    }
    else
    {
        if (withMidi)
            closeDeviceMidi();
        closeAudio();
    }
}

} // namespace T730
