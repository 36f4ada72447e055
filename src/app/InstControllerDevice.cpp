// The controller's device side: presence of the M7c, the MIDI half of
// openDeviceIO with its greeting, the received-message callback, and the
// backup and restore operations behind requests 30 and 31.

#include "app/ControllerParts.h"
#include "app/GuiMain.h"
#include "app/InstContMes.h"
#include "app/InstController.h"
#include "app/OxException.h"
#include "app/ProgressWindow.h"
#include "device/BackupProgress.h"
#include "device/MidiPortSearch.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "platform/DataFolders.h"

namespace T730
{

namespace
{
    constexpr int portSearchAttempts = 10;
    constexpr int portSearchPauseMs = 200;

    /** The progress window's view of the backup worker. */
    class TransferProgressListener : public ProgressWindowListener
    {
    public:
        explicit TransferProgressListener (BackupProgress& w) : worker (w) {}
        float advance() override { return worker.advance(); }
        void cancel() override { worker.cancel(); }
        bool isDone() override { return worker.isDone(); }

    private:
        BackupProgress& worker;
    };

    juce::Array<juce::MidiDeviceInfo> listMidiInputs()
    {
        juce::Array<juce::MidiDeviceInfo> inputs;

        // Without a sequencer there is nothing to list (and ALSA complains on every call).
        if (platform::hasMidiSequencer())
            inputs = juce::MidiInput::getAvailableDevices();

        return inputs;
    }

    juce::String findMidiOutputIdentifier (const juce::String& name)
    {
        for (const auto& output : juce::MidiOutput::getAvailableDevices())
            if (output.name == name)
                return output.identifier;

        return {};
    }
}

//==============================================================================
bool InstController::isDevicePresent() const
{
    return platform::isM7cPresent();
}

void InstController::createDeviceLink()
{
    // Step 9: the patch groups.
    patchManager.reset (new PatchManager());
    patchManager->setFolder (getUserDataFolder (UserFolder::patchgroup, true));
    patchManager->onFileError = [] (const juce::String&) { OxExceptionPatchListWrite().show(); };
    patchManager->loadAll();

    // Step 10 (second half): the MIDI link, with this controller as its listener.
    midi.reset (new MidiMain (this));
}

void InstController::startDeviceWatch()
{
    devConnection.reset (new DevConnection (this));

    backup.reset (new BackupProgress (*midi));

    backup->runProgressWindow = [] (BackupProgress& worker)
    {
        TransferProgressListener listener (worker);
        runProgress (&listener, juce::TopLevelWindow::getActiveTopLevelWindow(), false);
    };
    // Presence was sampled early in the start-up; a device plugged in or removed
    // since then is not a change of the watcher's list, so it is checked once now.
    devicePresenceChanged();
}

void InstController::stopDeviceWatch()
{
    {
        // The MIDI input thread may be handing an event to the worker right now.
        const juce::ScopedLock sl (deviceEventLock);
        backup.reset();
    }

    devConnection.reset();
}

void InstController::sendEditorOff()
{
    if (! midi)
        return;

    midi->sendEditorOff();

    // The device leaves tuner mode too when the tab section shows the tuner.
    if (parts.isTunerShown && parts.isTunerShown())
        midi->sendTunerModeOff();
}

EditBuf* InstController::getEditBuffer() noexcept
{
    return project ? &project->editBuffer : nullptr;
}

MidiMain* InstController::getMidi() noexcept
{
    return midi.get();
}

PatchManager* InstController::getPatchManager() noexcept
{
    return patchManager.get();
}

//==============================================================================
void InstController::devicePresenceChanged()
{
    const bool present = isDevicePresent();

    if (present == devicePresent)
        return;

    devicePresent = present;
    openDeviceIO (present, true);
    postToController (*this, new InstContUpdateUI (0x02));
}

//==============================================================================
bool InstController::connectMidiPort (const juce::String& name)
{
    const auto inputs = listMidiInputs();

    auto connect = [this] (const juce::MidiDeviceInfo& input)
    {
        deviceManager.setMidiInputDeviceEnabled (input.identifier, true);

        if (! deviceManager.isMidiInputDeviceEnabled (input.identifier))
        {
            deviceManager.setMidiInputDeviceEnabled (input.identifier, false);
            return false;
        }

        deviceManager.addMidiInputDeviceCallback (input.identifier, midi.get());
        midiInputId = input.identifier;
        deviceManager.setDefaultMidiOutputDevice (findMidiOutputIdentifier (input.name));
        return true;
    };

    juce::StringArray names;

    for (const auto& input : inputs)
        names.add (input.name);

    for (int index : findPortCandidates (names, name))
        if (connect (inputs.getReference (index)))
            return true;

    return false;
}

void InstController::disconnectMidiPort (const juce::String& name)
{
    for (const auto& input : listMidiInputs())
        if (input.name.toLowerCase().contains (name.toLowerCase()))
            deviceManager.setMidiInputDeviceEnabled (input.identifier, false);
}

void InstController::openDeviceMidi()
{
    if (! midi)
        return;

    // The output MidiMain holds belongs to the device manager: let go of it
    // before the manager replaces it.
    midi->setOutput (nullptr);

    for (int attempt = 0; attempt < portSearchAttempts; ++attempt)
    {
        bool connected = false;

        for (const auto& name : platform::getDevicePortSearchNames())
            if (! connected)
                connected = connectMidiPort (name);

        if (connected)
        {
            if (auto* output = deviceManager.getDefaultMidiOutput())
            {
                midi->setJuceOutput (output);
                greetDevice();
            }

            break;
        }

        juce::Thread::sleep (portSearchPauseMs);
    }

    if (! midi->hasOutput())
        juce::Logger::writeToLog ("Failed initializing MIDI I/O.");
}

void InstController::greetDevice()
{
    midi->sendEditorOn();
    midi->sendIdentityRequest();

    if (auto* buffer = getEditBuffer())
        midi->sendEditBuffer (*buffer);

    if (auto* main = guiForThreads.load(); main != nullptr && main->isTunerShown())
        midi->sendTunerModeOn();
}

void InstController::closeDeviceMidi()
{
    if (midi)
    {
        if (midiInputId.isNotEmpty())
            deviceManager.removeMidiInputDeviceCallback (midiInputId, midi.get());

        midi->setOutput (nullptr);
    }

    midiInputId.clear();

    for (const auto& name : platform::getDevicePortSearchNames())
        disconnectMidiPort (name);

    deviceManager.setDefaultMidiOutputDevice ({});
}

//==============================================================================
void InstController::midiEventReceived (MidiRecvEv* event)
{
    // Runs on the MIDI input thread; this function owns the event.
    std::unique_ptr<MidiRecvEv> owned (event);

    if (event == nullptr)
        return;

    if (auto* buffer = getEditBuffer())
    {
        if (event->getKind() == MidiRecvEv::parameterChange)
        {
            const uint32_t word = static_cast<const MidiRecvPrmChg*> (event)->packed();
            const int module = (int) (word & 0xff);
            const int parameter = (int) ((word >> 8) & 0xff);
            const int value = (int) (word >> 16);

            // The parser lets no position outside the 9 x 8 buffer through; checked again here.
            const juce::ScopedLock sl (buffer->lock);
            buffer->setParam (module, parameter, value);
        }
        else if (event->getKind() == MidiRecvEv::editBuffer)
        {
            *buffer = static_cast<const MidiRecvEditBuf*> (event)->buffer;   // source lock, then ours
        }
    }

    const juce::ScopedLock sl (deviceEventLock);

    // The editor and pedal-assign sections, once the main component exists.
    if (auto* main = guiForThreads.load())
        main->deviceMessageReceived (*event);

    if (backup)
        backup->handleEvent (event);
}

//==============================================================================
bool InstController::backupFromDevice (PatchSet& destination)
{
    return runTransfer ([&destination] (BackupProgress& worker) { return worker.backup (destination); });
}

bool InstController::restoreToDevice (PatchSet& source, int count)
{
    return runTransfer ([&source, count] (BackupProgress& worker) { return worker.restore (source, count); });
}

bool InstController::runTransfer (const std::function<bool (BackupProgress&)>& transfer)
{
    if (! backup)
        return false;

    // The engine's audio callback is detached for the transfer (and attached
    // again afterwards) once the engine exists.
    const bool ok = transfer (*backup);

    if (! ok)
        OxExceptionBackupRestore (backup->getErrorText()).show();

    return ok;
}

} // namespace T730
