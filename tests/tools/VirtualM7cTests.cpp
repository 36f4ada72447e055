#include "../device/DeviceTestSupport.h"
#include "VirtualM7c.h"

#include <gtest/gtest.h>

using namespace T730;
using SysEx::Bytes;

namespace
{
    struct Rig
    {
        Rig() : midi (&listener), port (device, midi) { midi.setOutput (&port); }
        ~Rig() { midi.setOutput (nullptr); }

        m7c::VirtualM7c device { "2.01" };
        oxatest::CollectingListener listener;
        MidiMain midi;
        m7c::VirtualM7cPort port;
    };
}

TEST (ToolsVirtualM7c, AnswersAsTheDeviceDoes)
{
    Rig rig;
    rig.device.fillWithTestPatches (3);

    rig.midi.sendIdentityRequest();
    rig.midi.sendPatchInfoRequest();
    rig.midi.sendPatchDumpRequest (17);
    rig.midi.sendAllDataDumpNotification();
    ASSERT_TRUE (rig.listener.waitFor (4));

    EXPECT_EQ (rig.listener.get<MidiRecvEv> (0)->getKind(), MidiRecvEv::identityReply);
    EXPECT_EQ (rig.midi.getDeviceVersion(), "2.01");
    ASSERT_NE (rig.listener.get<MidiRecvPatchDatInfo> (1), nullptr);
    EXPECT_EQ (rig.listener.get<MidiRecvPatchDatInfo> (1)->count, 100);

    auto* patch = rig.listener.get<MidiRecvPatchDat> (2);
    ASSERT_NE (patch, nullptr);   // a correct check value, or it would be a response 8
    EXPECT_EQ (patch->patchNumber, 17);
    const auto stored = rig.device.getPatch (17);
    EXPECT_EQ (patch->buffer.name, juce::String (stored.name));

    for (int i = 0; i < EditBuf::numParams; ++i)
        EXPECT_EQ (patch->buffer.params[i], stored.params[(size_t) i]) << i;

    ASSERT_NE (rig.listener.get<MidiRecvRespondence> (3), nullptr);
    EXPECT_EQ (rig.listener.get<MidiRecvRespondence> (3)->code, 0);
}

TEST (ToolsVirtualM7c, StoresDumpsAndFollowsTheEditBuffer)
{
    Rig rig;
    EditBuf buffer;
    buffer.name = "Stored";
    buffer.setParam (7, 3, 31);
    rig.midi.sendPatchDataDump (99, buffer);
    rig.midi.sendEndOfDataNotification();
    ASSERT_TRUE (rig.listener.waitFor (2));
    EXPECT_EQ (rig.listener.get<MidiRecvRespondence> (0)->code, 0);
    EXPECT_EQ (rig.device.getPatch (99).name, "Stored");
    EXPECT_EQ (rig.device.getPatch (99).params[7 * 8 + 3], 31);

    rig.midi.sendEditorOn();
    rig.midi.sendEditBuffer (buffer);
    rig.midi.sendParameterChange (2, 1, 17);
    rig.device.waitUntilIdle();
    EXPECT_TRUE (rig.device.isEditorOn());
    EXPECT_EQ (rig.device.getEditBuffer().name, "Stored");
    EXPECT_EQ (rig.device.getEditBuffer().params[7 * 8 + 3], 31);
    EXPECT_EQ (rig.device.getEditBuffer().params[2 * 8 + 1], 17);

    // A player at the device sends the whole buffer back.
    rig.device.sendEditBufferToHost();
    ASSERT_TRUE (rig.listener.waitFor (3));
    auto* edit = rig.listener.get<MidiRecvEditBuf> (2);
    ASSERT_NE (edit, nullptr);
    EXPECT_EQ (edit->buffer.name, "Stored");
    EXPECT_EQ (edit->buffer.getParam (2, 1), 17);
}

TEST (ToolsVirtualM7c, InjectedFaults)
{
    Rig rig;

    m7c::VirtualM7c::Faults faults;
    faults.silent = true;
    rig.device.setFaults (faults);
    rig.midi.sendIdentityRequest();
    rig.device.waitUntilIdle();
    EXPECT_FALSE (rig.listener.waitFor (1, 100));

    faults = {};
    faults.wrongCheck = true;
    rig.device.setFaults (faults);
    rig.midi.sendPatchDumpRequest (0);
    ASSERT_TRUE (rig.listener.waitFor (1));
    ASSERT_NE (rig.listener.get<MidiRecvRespondence> (0), nullptr);
    EXPECT_EQ (rig.listener.get<MidiRecvRespondence> (0)->code, 8);

    faults = {};
    faults.responseCode = 3;
    rig.device.setFaults (faults);
    rig.midi.sendAllDataDumpNotification();
    ASSERT_TRUE (rig.listener.waitFor (2));
    EXPECT_EQ (rig.listener.get<MidiRecvRespondence> (1)->code, 3);

    faults = {};
    faults.truncateTo = 20;
    rig.device.setFaults (faults);
    rig.midi.sendPatchDumpRequest (1);
    rig.device.waitUntilIdle();
    EXPECT_FALSE (rig.listener.waitFor (3, 100));   // a cut dump is no event

    faults = {};
    faults.delayMs = 150;
    rig.device.setFaults (faults);
    const auto start = juce::Time::getMillisecondCounter();
    rig.midi.sendPatchInfoRequest();
    ASSERT_TRUE (rig.listener.waitFor (3));
    EXPECT_GE (juce::Time::getMillisecondCounter() - start, 140u);
}
