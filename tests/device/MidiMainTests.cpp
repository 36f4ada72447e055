#include "DeviceTestSupport.h"
#include "VirtualM7c.h"
#include "device/MidiPortSearch.h"
#include "device/PatchRecord.h"

#include <gtest/gtest.h>

#include <random>

using namespace T730;
using SysEx::Bytes;

TEST (DeviceMidiMain, SendsNothingWithoutAnOutputAndEverythingWithOne)
{
    MidiMain midi (nullptr);
    EditBuf buffer;
    midi.sendIdentityRequest();   // no output: nothing, no crash
    midi.sendEditBuffer (buffer);

    oxatest::RecordingPort port;
    midi.setOutput (&port);
    midi.sendEditorOn();
    midi.sendIdentityRequest();
    midi.sendParameterChange (3, 4, 1000);
    midi.sendParameterChange (9, 0, 1);        // no such module: not sent
    midi.sendParameterChange (0, 0, 0x4000);   // above 14 bits: not sent
    midi.sendEditBuffer (buffer);
    midi.sendPatchInfoRequest();
    midi.sendAllDataDumpNotification();
    midi.sendPatchDataDump (200, buffer);
    midi.sendEndOfDataNotification();
    midi.sendPatchDumpRequest (5);
    midi.sendTunerModeOn();
    midi.sendTunerModeOff();
    midi.sendEditorOff();

    const auto sent = port.take();
    const auto record = makePatchRecord (buffer);
    const std::vector<Bytes> expected {
        SysEx::editorOn(), SysEx::identityRequest(), SysEx::parameterChange (3, 4, 1000),
        SysEx::editBufferDump (record), SysEx::patchInfoRequest(), SysEx::allDataDumpNotification(),
        SysEx::patchDataDump (200, record), SysEx::endOfDataNotification(), SysEx::patchDumpRequest (5),
        SysEx::tunerModeOn(), SysEx::tunerModeOff(), SysEx::editorOff()
    };
    EXPECT_EQ (sent, expected);

    midi.setOutput (nullptr);
    midi.sendEditorOff();
    EXPECT_TRUE (port.take().empty());
}

TEST (DeviceMidiMain, PatchLevelAndAssignTargetSurviveADumpRoundTrip)
{
    // The record carries each module's parameters 0..4: on/off switches, type
    // numbers, the patch level (module 0 parameter 2) and the pedal assign
    // target (module 8 parameter 2) all come back.
    EditBuf sent;
    sent.name = "RoundTrp";
    sent.setParam (0, 2, 49);
    sent.setParam (8, 2, 6);
    sent.setParam (1, 0, 1);
    sent.setParam (1, 1, 11);
    sent.setParam (5, 3, 2047);
    sent.setParam (6, 3, 300);

    oxatest::CollectingListener listener;
    MidiMain midi (&listener);
    oxatest::RecordingPort port;
    midi.setOutput (&port);
    midi.sendPatchDataDump (42, sent);
    midi.sendEditBuffer (sent);

    for (auto& message : port.take())
        midi.receiveBytes (message.data(), message.size());

    ASSERT_EQ (listener.size(), 2u);
    auto* patch = listener.get<MidiRecvPatchDat> (0);
    ASSERT_NE (patch, nullptr);
    EXPECT_EQ (patch->getKind(), 3);
    EXPECT_EQ (patch->patchNumber, 42);
    EXPECT_TRUE (patch->buffer.sameContentAs (sent));

    auto* edit = listener.get<MidiRecvEditBuf> (1);
    ASSERT_NE (edit, nullptr);
    EXPECT_EQ (edit->getKind(), 1);
    EXPECT_TRUE (edit->buffer.sameContentAs (sent));
}

TEST (DeviceMidiMain, IdentityReplyIdentifiesOnceAndForeignOnesDoNot)
{
    oxatest::CollectingListener listener;
    MidiMain midi (&listener);

    auto foreign = SysEx::identityReply ("9.99");
    foreign[5] = 0x40;
    midi.receiveBytes (foreign.data(), foreign.size());
    EXPECT_FALSE (midi.isIdentified());
    EXPECT_EQ (listener.size(), 0u);

    const auto reply = SysEx::identityReply ("1.23");
    midi.receiveBytes (reply.data(), reply.size());
    EXPECT_TRUE (midi.isIdentified());
    EXPECT_EQ (midi.getDeviceVersion(), "1.23");
    ASSERT_EQ (listener.size(), 1u);
    EXPECT_EQ (listener.get<MidiRecvEv> (0)->getKind(), 2);

    // A later reply does not change the version; another universal message clears the flag.
    const auto later = SysEx::identityReply ("4.56");
    midi.receiveBytes (later.data(), later.size());
    EXPECT_EQ (midi.getDeviceVersion(), "1.23");
    midi.receiveBytes (foreign.data(), foreign.size());
    EXPECT_FALSE (midi.isIdentified());

    // Binding an output clears it too.
    midi.receiveBytes (reply.data(), reply.size());
    oxatest::RecordingPort port;
    midi.setOutput (&port);
    EXPECT_FALSE (midi.isIdentified());
}

TEST (DeviceMidiMain, KnobTurnedOnTheDeviceArrivesAsParameterChange)
{
    m7c::VirtualM7c device;
    oxatest::CollectingListener listener;
    MidiMain midi (&listener);
    m7c::VirtualM7cPort port (device, midi);
    midi.setOutput (&port);

    device.turnKnob (6, 3, 300);
    ASSERT_TRUE (listener.waitFor (1));
    auto* change = listener.get<MidiRecvPrmChg> (0);
    ASSERT_NE (change, nullptr);
    EXPECT_EQ (change->module, 6);
    EXPECT_EQ (change->parameter, 3);
    EXPECT_EQ (change->value, 300);
    EXPECT_EQ (change->packed(), 6u | (3u << 8) | (300u << 16));
    midi.setOutput (nullptr);
}

TEST (DeviceMidiMain, MessageStormThroughTheWholeReceivePath)
{
    // Random bytes, random cuts of valid messages and valid messages with
    // random bits flipped: nothing crashes, and every event is well-formed.
    oxatest::CollectingListener listener;
    MidiMain midi (&listener);
    std::mt19937 random (1234);
    EditBuf buffer;
    const auto record = makePatchRecord (buffer);
    const std::vector<Bytes> seeds { SysEx::patchDataDump (5, record), SysEx::editBufferDump (record),
                                     SysEx::parameterChange (2, 2, 77), SysEx::identityReply ("1.00"),
                                     SysEx::patchInfo (100), SysEx::response (0) };

    for (int i = 0; i < 20000; ++i)
    {
        Bytes m;

        if (i % 3 == 0)
        {
            m.resize (random() % 64);
            for (auto& b : m)
                b = (uint8_t) random();
            if (! m.empty() && (random() & 1))
                m[0] = 0xF0;
        }
        else
        {
            m = seeds[random() % seeds.size()];
            if (i % 3 == 1)
                m.resize (random() % (m.size() + 1));
            else
                m[random() % m.size()] ^= (uint8_t) (1u << (random() % 8));
        }

        midi.receiveBytes (m.data(), m.size());
    }

    for (size_t i = 0; i < listener.size(); ++i)
    {
        auto* event = listener.get<MidiRecvEv> (i);
        ASSERT_NE (event, nullptr);
        ASSERT_GE (event->getKind(), 0);
        ASSERT_LE (event->getKind(), 5);

        if (auto* change = dynamic_cast<MidiRecvPrmChg*> (event))
        {
            EXPECT_LT (change->module, 9);
            EXPECT_LT (change->parameter, 8);
            EXPECT_LT (change->value, 0x4000);
        }
    }
}

TEST (DeviceMidiPortSearch, ExactNameFirstThenContainedIgnoringCase)
{
    const juce::StringArray inputs { "Midi Through Port-0", "2- usb audio device", "USB Audio Device", "M7c MIDI 1" };

    EXPECT_EQ (findPortCandidates (inputs, "USB Audio Device"), juce::Array<int> ({ 2, 1 }));
    EXPECT_EQ (findPortCandidates (inputs, "M7c"), juce::Array<int> ({ 3 }));
    EXPECT_EQ (findPortCandidates ({ "2- USB Audio Device" }, "USB Audio Device"), juce::Array<int> ({ 0 }));
    EXPECT_TRUE (findPortCandidates (inputs, "Other").isEmpty());
    EXPECT_TRUE (findPortCandidates (inputs, "").isEmpty());
}
