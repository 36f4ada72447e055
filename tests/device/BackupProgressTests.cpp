#include "TestSupport.h"
#include "VirtualM7c.h"
#include "device/BackupProgress.h"
#include "device/PatchRecord.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
    /** The controller's part in a transfer: every received event goes to the worker. */
    struct Forwarder : public MidiMainListener
    {
        void midiEventReceived (MidiRecvEv* event) override
        {
            std::unique_ptr<MidiRecvEv> owned (event);

            if (worker != nullptr)
                worker->handleEvent (event);
        }

        BackupProgress* worker = nullptr;
    };

    struct Rig
    {
        Rig() : midi (&forwarder), port (device, midi), worker (midi)
        {
            forwarder.worker = &worker;
            midi.setOutput (&port);
        }

        ~Rig() { midi.setOutput (nullptr); }

        m7c::VirtualM7c device;
        Forwarder forwarder;
        MidiMain midi;
        m7c::VirtualM7cPort port;
        BackupProgress worker;
    };

    /** Every patch of the group is the device's patch of that number. */
    void expectHoldsTheDevicesPatches (const m7c::VirtualM7c& device, const PatchSet& group)
    {
        for (int i = 0; i < PatchSet::numPatches; ++i)
        {
            const auto stored = device.getPatch (i);
            const auto& edit = group.patches[(size_t) i].edit;
            ASSERT_EQ (edit.name, juce::String (stored.name)) << i;
            for (int k = 0; k < EditBuf::numParams; ++k)
                ASSERT_EQ (edit.params[k], stored.params[(size_t) k]) << i << "/" << k;
        }
    }

    void fillSource (PatchSet& set)
    {
        for (int i = 0; i < PatchSet::numPatches; ++i)
        {
            auto& edit = set.patches[(size_t) i].edit;
            edit.name = "Src" + juce::String (i);
            edit.setParam (0, 2, i % 50);
            edit.setParam (8, 2, i % 8);
            edit.setParam (5, 3, i * 20);
            edit.setParam (1, 0, i & 1);
        }
    }
}

TEST (DeviceBackupProgress, BackupCopiesEveryPatchOfTheDevice)
{
    Rig rig;
    rig.device.fillWithTestPatches (99);
    PatchSet destination;

    ASSERT_TRUE (rig.worker.backup (destination)) << rig.worker.getErrorMessage();
    EXPECT_EQ (rig.worker.getErrorText(), "");
    EXPECT_FLOAT_EQ (rig.worker.advance(), 1.0f);
    EXPECT_TRUE (rig.worker.isDone());

    expectHoldsTheDevicesPatches (rig.device, destination);
}

TEST (DeviceBackupProgress, ALateDumpOfAnotherPatchIsNotStoredInTheSlotAskedFor)
{
    Rig rig;
    rig.device.fillWithTestPatches (7);
    auto faults = rig.device.getFaults();
    faults.staleDumpFirst = true;
    rig.device.setFaults (faults);
    PatchSet destination;

    ASSERT_TRUE (rig.worker.backup (destination)) << rig.worker.getErrorMessage();

    expectHoldsTheDevicesPatches (rig.device, destination);
}

TEST (DeviceBackupProgress, NameBytesComeBackUnchangedAndControlBytesNeverArrive)
{
    Rig rig;
    SysEx::PatchFields high, controls;
    high.name = "\xE9\x20\x85\xFF";           // 0x85 is a C1 control
    controls.name = "\x01Set\x1B\x7F!";
    rig.device.setPatch (0, high);
    rig.device.setPatch (1, controls);

    PatchSet group;
    ASSERT_TRUE (rig.worker.backup (group)) << rig.worker.getErrorMessage();
    const juce::String e9 = juce::String::charToString (0xE9), ff = juce::String::charToString (0xFF);
    EXPECT_EQ (group.patches[0].edit.name, e9 + " " + ff);
    EXPECT_EQ (group.patches[1].edit.name, "Set!");

    // Sent back, the printable bytes are the ones received (they used to become C3 20 C2 C3).
    ASSERT_TRUE (rig.worker.restore (group, 2)) << rig.worker.getErrorMessage();
    rig.device.waitUntilIdle();
    EXPECT_EQ (rig.device.getPatch (0).name, "\xE9\x20\xFF");
    EXPECT_EQ (rig.device.getPatch (1).name, "Set!");

    // Characters the device bytes cannot hold go as the first byte of their UTF-8 form.
    EXPECT_EQ (deviceBytesFromName (juce::String::charToString (0x263A) + "ok"), "\xE2ok");
    EXPECT_EQ (deviceBytesFromName ("TooLongName"), "TooLongN");
}

TEST (DeviceBackupProgress, RestoreOfFiftySendsFiftyDumpsThenTheEnd)
{
    Rig rig;
    PatchSet source;
    fillSource (source);

    ASSERT_TRUE (rig.worker.restore (source, 50)) << rig.worker.getErrorMessage();
    rig.device.waitUntilIdle();

    const auto commands = rig.device.getReceivedCommands();
    EXPECT_EQ (rig.device.countReceived (SysEx::Command::patchDataDump), 50);
    ASSERT_FALSE (commands.empty());
    EXPECT_EQ (commands.back(), SysEx::Command::endOfData);
    EXPECT_EQ (std::count (commands.begin(), commands.end(), SysEx::Command::allDataDump), 1);

    // Patch level and assign target arrived with the rest; patch 50 is untouched.
    for (int i = 0; i < 50; ++i)
    {
        const auto stored = rig.device.getPatch (i);
        EXPECT_EQ (stored.name, ("Src" + juce::String (i)).toStdString());
        EXPECT_EQ (stored.params[0 * 8 + 2], i % 50);
        EXPECT_EQ (stored.params[8 * 8 + 2], i % 8);
        EXPECT_EQ (stored.params[5 * 8 + 3], i * 20);
    }
    EXPECT_EQ (rig.device.getPatch (50).name, "Patch50");
}

TEST (DeviceBackupProgress, SilentDeviceTimesOutAtTheIdentityRequest)
{
    Rig rig;
    m7c::VirtualM7c::Faults faults;
    faults.silent = true;
    rig.device.setFaults (faults);

    PatchSet destination;
    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_FALSE (rig.worker.backup (destination));
    EXPECT_GE (juce::Time::getMillisecondCounter() - start, 100u);
    EXPECT_EQ (rig.worker.getErrorMessage(),
               "Error occurred during backup/restore process.\nTimeout at the identity request.");
}

TEST (DeviceBackupProgress, DeviceErrorCodeIsLoggedAndRunsIntoTheTimeout)
{
    oxatest::LogCapture log;   // outlives the rig: the device's thread may still be logging
    Rig rig;
    m7c::VirtualM7c::Faults faults;
    faults.responseCode = 3;
    rig.device.setFaults (faults);

    PatchSet source;
    EXPECT_FALSE (rig.worker.restore (source, 100));
    // The all data dump notification is refused first.
    EXPECT_EQ (rig.worker.getErrorText(), "\nTimeout at the all data dump notification.");
    EXPECT_TRUE (log.getLines().contains ("MIDI error no3"));

    // Accepting the notification but refusing the patches fails at the first dump.
    struct RefusingPatches : public MidiOutputPort
    {
        RefusingPatches (m7c::VirtualM7c& d, MidiMain& m) : device (d), midi (m) {}
        void sendBytes (const uint8_t* data, size_t size) override
        {
            const bool isDump = size > 4 && data[4] == SysEx::Command::patchDataDump;
            m7c::VirtualM7c::Faults f;
            f.responseCode = isDump ? 3 : 0;
            device.setFaults (f);
            device.receiveFromHost (data, size);
        }
        m7c::VirtualM7c& device;
        MidiMain& midi;
    } refusing (rig.device, rig.midi);

    rig.midi.setOutput (&refusing);
    EXPECT_FALSE (rig.worker.restore (source, 100));
    EXPECT_EQ (rig.worker.getErrorMessage(),
               "Error occurred during backup/restore process.\nNo respondence after dumping patch data.");
    rig.midi.setOutput (nullptr);
}

TEST (DeviceBackupProgress, WrongCheckValuesAndLateAnswers)
{
    oxatest::LogCapture log;   // outlives the rig: the device's thread may still be logging
    Rig rig;
    m7c::VirtualM7c::Faults faults;
    faults.wrongCheck = true;
    rig.device.setFaults (faults);

    PatchSet destination;
    EXPECT_FALSE (rig.worker.backup (destination));
    EXPECT_EQ (rig.worker.getErrorText(), "\nNo respondence after patch data dump request.");
    EXPECT_TRUE (log.getLines().contains ("MIDI error no8"));
    EXPECT_EQ (destination.patches[0].getName(), "No Name");   // nothing copied from a bad dump

    // Answers 20 ms late still arrive within every wait.
    faults = {};
    faults.delayMs = 20;
    rig.device.setFaults (faults);
    PatchSet source;
    fillSource (source);
    EXPECT_TRUE (rig.worker.restore (source, 3)) << rig.worker.getErrorMessage();
    EXPECT_EQ (rig.device.getPatch (2).name, "Src2");
}

namespace
{
    /** A progress window that the user closes once the transfer has begun. */
    void cancelAfterAFewPatches (BackupProgress& worker)
    {
        while (worker.advance() < 0.05f && ! worker.isDone())
            juce::Thread::sleep (1);
        worker.cancel();
    }
} // namespace

TEST (DeviceBackupProgress, CancelStopsBeforeTheNextPatch)
{
    Rig rig;
    m7c::VirtualM7c::Faults faults;
    faults.delayMs = 5;
    rig.device.setFaults (faults);

    rig.worker.runProgressWindow = cancelAfterAFewPatches;

    PatchSet destination;
    EXPECT_FALSE (rig.worker.backup (destination));
    EXPECT_EQ (rig.worker.getErrorText(), "\nProcess canceled.");
    EXPECT_LT (rig.worker.advance(), 1.0f);
    EXPECT_EQ (destination.patches[0].getName(), "Patch0");    // what was copied stays
    EXPECT_EQ (destination.patches[99].getName(), "No Name");
}

TEST (DeviceBackupProgress, CancelledRestoreStillEndsTheDump)
{
    // The device was told that all data follows: a cancelled restore still
    // sends the end of data notification, and keeps the cancel as its error.
    Rig rig;
    m7c::VirtualM7c::Faults faults;
    faults.delayMs = 5;
    rig.device.setFaults (faults);

    rig.worker.runProgressWindow = cancelAfterAFewPatches;

    PatchSet source;
    fillSource (source);
    EXPECT_FALSE (rig.worker.restore (source, 100));
    EXPECT_EQ (rig.worker.getErrorText(), "\nProcess canceled.");
    rig.device.waitUntilIdle();

    const auto commands = rig.device.getReceivedCommands();
    ASSERT_FALSE (commands.empty());
    EXPECT_EQ (commands.back(), SysEx::Command::endOfData);
    EXPECT_LT (rig.device.countReceived (SysEx::Command::patchDataDump), 100);

    // Without an answer to that notification the cancel is still what is reported.
    faults.ignoreEndOfData = true;
    rig.device.setFaults (faults);
    EXPECT_FALSE (rig.worker.restore (source, 100));
    EXPECT_EQ (rig.worker.getErrorText(), "\nProcess canceled.");
}
