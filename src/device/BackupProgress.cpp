#include "device/BackupProgress.h"

namespace T730
{

BackupProgress::BackupProgress (MidiMain& m) : juce::Thread ("ProgressThread"), midi (m) {}

BackupProgress::~BackupProgress()
{
    stopThread (3000);
}

bool BackupProgress::backup (PatchSet& destination)
{
    return start (destination, Mode::backup, PatchSet::numPatches);
}

bool BackupProgress::restore (PatchSet& source, int patchCount)
{
    return start (source, Mode::restore, patchCount);
}

bool BackupProgress::start (PatchSet& set, Mode newMode, int sourceCount)
{
    if (! waitForThreadToExit (1000))
    {
        const juce::ScopedLock sl (errorLock);
        errorText = "\nProcess canceled.";
        return false;
    }

    patchSet = &set;
    mode = newMode;
    sourcePatchCount = juce::jlimit (0, PatchSet::numPatches, sourceCount);
    succeeded = false;
    index = 0;
    count = 0;
    state = 0;

    startThread();

    if (runProgressWindow)
        runProgressWindow (*this);

    waitForThreadToExit (-1);
    return succeeded.load();
}

//==============================================================================
void BackupProgress::handleEvent (const MidiRecvEv* event)
{
    if (event == nullptr)
        return;

    auto advanceFrom = [this] (int from) { int expected = from; state.compare_exchange_strong (expected, from + 1); };

    switch (event->getKind())
    {
        case MidiRecvEv::identityReply:
            advanceFrom (1);
            break;

        case MidiRecvEv::patchDataInfo:
            if (state.load() == 3)
            {
                deviceCount = static_cast<const MidiRecvPatchDatInfo*> (event)->count;
                advanceFrom (3);
            }
            break;

        case MidiRecvEv::respondence:
        {
            const int code = static_cast<const MidiRecvRespondence*> (event)->code;

            if (code != 0)
            {
                juce::Logger::writeToLog ("MIDI error no" + juce::String (code));
                break;
            }

            advanceFrom (5);
            advanceFrom (11);
            break;
        }

        case MidiRecvEv::patchData:
            // Only the dump of the patch asked for: a late answer to an earlier
            // request (or a duplicate) names another slot and is not stored here.
            if (state.load() == 9
                && static_cast<const MidiRecvPatchDat*> (event)->patchNumber == requestedPatch.load())
            {
                auto* patch = static_cast<const MidiRecvPatchDat*> (event);
                receivedBuffer = patch->buffer;
                receivedNumber = patch->patchNumber;
                advanceFrom (9);
            }
            break;

        default:
            break;
    }
}

//==============================================================================
bool BackupProgress::waitForState (int wanted, int polls)
{
    for (int i = 0; i < polls; ++i)
    {
        if (state.load() == wanted)
            return true;

        juce::Thread::sleep (1);
    }

    return state.load() == wanted;
}

void BackupProgress::fail (const char* text)
{
    const juce::ScopedLock sl (errorLock);
    errorText = text;
}

void BackupProgress::run()
{
    {
        const juce::ScopedLock sl (errorLock);
        errorText.clear();
    }
    index = 0;

    state = 1;
    midi.sendIdentityRequest();

    if (! waitForState (2, shortWaitPolls))
        return fail ("\nTimeout at the identity request.");

    state = 3;
    midi.sendPatchInfoRequest();

    if (! waitForState (4, shortWaitPolls))
        return fail ("\nTimeout at the patch data information request.");

    // The destination holds 100 patches: a device reporting more is read up to that.
    int total = juce::jlimit (0, PatchSet::numPatches, deviceCount.load());

    if (mode == Mode::restore)
    {
        state = 5;
        midi.sendAllDataDumpNotification();

        if (! waitForState (6, shortWaitPolls))
            return fail ("\nTimeout at the all data dump notification.");

        total = juce::jmin (total, sourcePatchCount);
    }

    count = total;
    bool canceled = false;
    int i = 0;

    for (; i < total; ++i)
    {
        index = i;

        if (threadShouldExit())
        {
            // A restore still tells the device below that the data has ended.
            fail ("\nProcess canceled.");
            canceled = true;
            break;
        }

        auto& patch = patchSet->patches[(size_t) i];

        if (mode == Mode::restore)
        {
            const EditBuf buffer (patch.edit);
            state = 5;
            midi.sendPatchDataDump (i, buffer);

            if (! waitForState (6, longWaitPolls))
                return fail ("\nNo respondence after dumping patch data.");
        }
        else
        {
            requestedPatch = i;
            state = 9;
            midi.sendPatchDumpRequest (i);

            if (! waitForState (10, longWaitPolls))
                return fail ("\nNo respondence after patch data dump request.");

            patch.edit = receivedBuffer;   // values and name
        }
    }

    index = i;

    if (mode == Mode::restore)
    {
        state = 11;
        midi.sendEndOfDataNotification();

        if (! waitForState (12, shortWaitPolls) && ! canceled)
            return fail ("\nNo respondence after end of data notification.");
    }

    succeeded = ! canceled && index.load() == count.load();
}

//==============================================================================
float BackupProgress::advance() const
{
    const int c = count.load();
    return c < 1 ? 0.0f : (float) index.load() / (float) c;
}

void BackupProgress::cancel()
{
    signalThreadShouldExit();
}

bool BackupProgress::isDone() const
{
    return ! isThreadRunning();
}

juce::String BackupProgress::getErrorText() const
{
    const juce::ScopedLock sl (errorLock);
    return errorText;
}

juce::String BackupProgress::getErrorMessage() const
{
    return "Error occurred during backup/restore process." + getErrorText();
}

} // namespace T730
