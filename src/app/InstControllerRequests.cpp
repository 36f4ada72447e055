// The numbered requests every component sends the controller.
#include "app/ControllerRequests.h"

#include "app/InstController.h"

#include "app/AppSetting.h"
#include "app/InstContMes.h"
#include "app/JamEngine.h"
#include "app/ToolSetOperations.h"
#include "device/MidiMain.h"
#include "documents/PatchSet.h"
#include "documents/Project.h"

#include <cmath>

namespace T730
{

ControllerRequests::ControllerRequests (ControllerParts& partsToUse, ToolSetOperations& toolSetToUse)
    : parts (partsToUse), toolSet (toolSetToUse)
{
}

int ControllerRequests::peakToMeter (float peak)
{
    // A peak that is not a number (a broken block) reads as silence.
    if (! (peak > 0.0f))
        return 0;

    return (int) (511.0 * std::sqrt ((double) juce::jmin (1.0f, peak)));
}

void ControllerRequests::post (int sectionFlags)
{
    toolSet.postUpdate (sectionFlags);
}

void ControllerRequests::repaint (int sectionFlags)
{
    if (parts.controller != nullptr)
        postToController (*parts.controller, new InstContRepaintUI (sectionFlags));
}

void ControllerRequests::enterBusy()
{
    if (parts.enterBusySection)
        parts.enterBusySection();
}

void ControllerRequests::leaveBusy()
{
    if (parts.leaveBusySection)
        parts.leaveBusySection();
}

int ControllerRequests::handle (int code, int param1, int param2, void* data)
{
    // The engine's threads send a few reading requests: they touch only the
    // links the message thread never rewrites (project, engine, settings).
    // The undo keeper's link is refreshed before every message-thread
    // request, so it is read only in the cases that run there.
    auto* project = parts.project;
    auto* engine = parts.engine;

    const auto answer = [] (bool b) { return b ? requestTrue : requestFalse; };

    switch (code)
    {
        case GetAppSetting:
            if (data == nullptr)
                return requestFalse;
            *static_cast<AppSetting**> (data) = parts.settings;
            return requestTrue;

        case RecordUndoAndMarkEdited:
            // Recorded before the flag changes: the snapshot keeps the flag from before the edit.
            if (auto* undoKeeper = parts.undoKeeper)
                undoKeeper->record();
            if (project != nullptr)
                project->edited = true;
            return requestTrue;

        case ResetUndoAndMarkSaved:
            if (project != nullptr)
                project->edited = false;
            if (auto* undoKeeper = parts.undoKeeper)
                undoKeeper->reset();
            return requestTrue;

        case MarkEdited:
            if (project != nullptr)
                project->edited = true;
            return requestTrue;

        case IsDeviceConnected:
            return answer (parts.devicePresent != nullptr && *parts.devicePresent);

        case IsEdited:
            return answer (project != nullptr && project->edited);

        case PrepareQuit:
            return prepareQuit();

        case SetMasterLevel:
            if (parts.settings != nullptr)
                parts.settings->MasterLv = param1;
            if (engine != nullptr)
                engine->setMasterVolume ((float) param1 / 100.0f);
            return requestTrue;

        case GetMasterLevel:
            return parts.settings != nullptr ? parts.settings->MasterLv : 0;

        case GetMasterLevelText:
            if (engine != nullptr && data != nullptr)
                *static_cast<juce::String*> (data) = engine->getMasterLevelText();
            return requestTrue;

        case GetLongestItemLength:
            if (data != nullptr)
                *static_cast<juce::int64*> (data) = engine != nullptr ? engine->getLongestItemLength() : 0;
            return requestTrue;

        case GetLongestRecorderLength:
        {
            const juce::int64 length = engine != nullptr ? engine->getLongestRecorderLength() : 0;
            if (data != nullptr)
                *static_cast<juce::int64*> (data) = length;
            return answer (length > 0);
        }

        case ReadInputPeak:
            return readPeak (false, param1);

        case ReadOutputPeak:
            return readPeak (true, param1);

        case NotifyItemsStopped:
        case NotifyItemsStopped2:
            if (engine != nullptr)
                engine->silenceAll();
            return requestTrue;

        case NotifyItemsLocated:
            if (engine != nullptr)
                engine->locateAll();
            return requestTrue;

        case GetJamArray:
            if (engine != nullptr && data != nullptr)
                engine->copyJamArray (data);
            return requestTrue;

        case AddPlayableItem:
            return toolSet.addPlayableItem (param1);

        case RemovePlayableItem:
            return toolSet.removePlayableItem (param1, param2);

        case IsAnyRecorderArmed:
            return engine != nullptr && engine->isAnyRecorderArmed() ? 1 : 0;

        case HasRhythmItem:
        case HasRhythmItem2:
            return answer (engine != nullptr && engine->hasRhythmItem());

        case SyncRecordersTo:
            if (engine != nullptr && data != nullptr)
                engine->syncRecordersTo (data);
            return requestTrue;

        case GetRecorderCount:
            return engine != nullptr ? engine->getRecorderCount() : 0;

        case GetPatchManager:
            if (data == nullptr)
                return requestFalse;
            *static_cast<PatchManager**> (data) = parts.patchManager;
            return requestTrue;

        case SetEditBuffer:
            if (data == nullptr || project == nullptr)
                return requestFalse;
            project->editBuffer = *static_cast<const EditBuf*> (data);   // source lock, then the tool set's
            post (sectionEditor);
            post (sectionPedalAssign);
            return requestTrue;

        case SetCurrentPatch:
            if (data == nullptr || project == nullptr)
                return requestFalse;
            project->CurrentPatchSet = *static_cast<const juce::String*> (data);
            project->CurrentPatchIdx = param1;
            return requestTrue;

        case RecordUndo:
            if (auto* undoKeeper = parts.undoKeeper)
                undoKeeper->record();
            post (sectionAll);
            return requestTrue;

        case Undo:
            return undo();

        case BackupFromDevice:
            if (data == nullptr || ! parts.backupFromDevice)
                return requestFalse;
            return answer (parts.backupFromDevice (*static_cast<PatchSet*> (data)));

        case RestoreToDevice:
            if (data == nullptr || ! parts.restoreToDevice)
                return requestFalse;
            return answer (parts.restoreToDevice (*static_cast<PatchSet*> (data), param1));

        case GetSongManager:
            if (data == nullptr)
                return requestFalse;
            *static_cast<SongManager**> (data) = parts.songManager;
            return requestTrue;

        case LoadSong:
            return loadSong (static_cast<const juce::String*> (data));

        case EnsureRhythmItem:
        {
            const bool exists = engine != nullptr && engine->ensureRhythmItem (data);
            post (sectionJam);
            return answer (exists);
        }

        case BeginRhythmPreview:
            if (parts.busy != nullptr)
                *parts.busy = true;
            enterBusy();
            if (engine != nullptr)
                engine->beginRhythmPreview();
            return requestTrue;

        case EndRhythmPreview:
            if (engine != nullptr)
                engine->endRhythmPreview();
            leaveBusy();
            if (parts.busy != nullptr)
                *parts.busy = false;
            return requestTrue;

        case StartRhythmPreview:
            if (engine != nullptr)
                engine->startRhythmPreview();
            return requestTrue;

        case StopRhythmPreview:
            if (engine != nullptr)
                engine->stopRhythmPreview();
            return requestTrue;

        case GetTunerLib:
            if (data == nullptr)
                return requestFalse;
            *static_cast<TunerLib**> (data) = parts.tuner;
            return requestTrue;

        case IsTunerShown:
            // Without a main component the tuner counts as shown.
            return answer (! parts.isTunerShown || parts.isTunerShown());

        case UnusedRequest42:
        case UnusedRequest43:
            return requestTrue;

        case RefreshDownloadSection:
            if (parts.refreshDownloadSection)
                parts.refreshDownloadSection();
            return requestTrue;

        case SendParameterChange:
        case SendEditBuffer:
        case SendIdentityRequest:
        case SendAllDataDumpNotification:
        case SendPatchDataDump:
        case SendEndOfDataNotification:
        case SendPatchInfoRequest:
        case SendPatchDumpRequest:
        case SendEditBufferRequest:
        case TunerModeOn:
        case TunerModeOff:
            return device (code, param1, data);

        default:
            return requestFalse;
    }
}

int ControllerRequests::prepareQuit()
{
    if (! toolSet.confirmDiscard())
        return requestFalse;

    // The busy section is entered and never left: the program is going.
    enterBusy();

    if (auto* engine = parts.engine)
    {
        engine->stopAll();
        if (engine->hasRhythmItem() && parts.removeRhythmItemByPanel)
            parts.removeRhythmItemByPanel();
    }

    return requestTrue;
}

int ControllerRequests::readPeak (bool output, int channel)
{
    if (channel < 0 || channel > 1 || parts.engine == nullptr)
        return -1;

    const float peak = parts.engine->takePeak (output, channel);
    if (peak == -1.0f)
        return -1;

    return peakToMeter (peak);
}

int ControllerRequests::undo()
{
    enterBusy();
    if (parts.undoKeeper != nullptr)
        parts.undoKeeper->undo();
    leaveBusy();

    toolSet.sendEditBufferToDevice();
    post (sectionAll);
    return requestTrue;
}

int ControllerRequests::loadSong (const juce::String* song)
{
    if (song == nullptr)
        return requestFalse;

    enterBusy();

    bool loaded = false;
    if (parts.engine != nullptr)
    {
        // A relative name is taken inside the tool set folder.
        // (A leading "~" is part of a name here, not the home folder.)
        juce::File file;
        if (song->startsWithChar ('/'))
            file = juce::File (*song);
        else if (parts.settings != nullptr && juce::File::isAbsolutePath (parts.settings->CurrentProject))
            file = childNamed (juce::File (parts.settings->CurrentProject), *song);

        loaded = file != juce::File() && parts.engine->loadSong (file);
    }

    post (sectionJam);
    repaint (sectionAll);
    leaveBusy();
    return loaded ? requestTrue : requestFalse;
}

int ControllerRequests::device (int code, int param1, void* data)
{
    auto* midi = parts.midi;
    if (midi == nullptr)
        return requestTrue;

    switch (code)
    {
        case SendParameterChange:
            if (data == nullptr)
                return requestFalse;
            {
                const auto* values = static_cast<const int*> (data);
                midi->sendParameterChange (values[0], values[1], values[2] & 0xffff);
            }
            break;

        case SendEditBuffer:
            if (data != nullptr)
                midi->sendEditBuffer (*static_cast<const EditBuf*> (data));
            else
                toolSet.sendEditBufferToDevice();
            break;

        case SendIdentityRequest:          midi->sendIdentityRequest(); break;
        case SendAllDataDumpNotification:  midi->sendAllDataDumpNotification(); break;

        case SendPatchDataDump:
            if (data == nullptr)
                return requestFalse;
            if (auto* dump = static_cast<const PatchDumpData*> (data); dump->patch != nullptr)
                midi->sendPatchDataDump (dump->patchNumber, *dump->patch);
            break;

        case SendEndOfDataNotification:    midi->sendEndOfDataNotification(); break;
        case SendPatchInfoRequest:         midi->sendPatchInfoRequest(); break;
        case SendPatchDumpRequest:         midi->sendPatchDumpRequest (param1); break;
        // The device protocol has no message for asking the edit buffer: nothing is sent.
        case SendEditBufferRequest:        break;
        case TunerModeOn:                  midi->sendTunerModeOn(); break;
        case TunerModeOff:                 midi->sendTunerModeOff(); break;
        default:                           break;
    }

    return requestTrue;
}

} // namespace T730

//==============================================================================

namespace T730
{

int InstController::request (int code, int param1, int param2, void* data)
{
    if (! requests)
        return requestFalse;

    // The engine asks a few reading requests from its own threads; the links
    // are only refreshed on the message thread, which alone changes them.
    if (juce::MessageManager::existsAndIsCurrentThread())
        refreshParts();

    return requests->handle (code, param1, param2, data);
}

} // namespace T730
