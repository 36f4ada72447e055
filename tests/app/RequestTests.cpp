#include <gtest/gtest.h>

#include "ToolSetTestSupport.h"
#include "app/AppSetting.h"
#include "app/ControllerRequests.h"
#include "app/ToolSetOperations.h"
#include "device/MidiMain.h"
#include "documents/Project.h"

#include <limits>
#include <thread>

using namespace T730;

namespace
{
    struct CapturePort : public MidiOutputPort
    {
        void sendBytes (const uint8_t* data, size_t size) override { sent.emplace_back (data, data + size); }
        std::vector<std::vector<uint8_t>> sent;
    };

    struct AppRequest : public ::testing::Test
    {
        AppRequest()
        {
            parts.controller = &controller;
            parts.settings = &settings;
            parts.project = &project;
            parts.devicePresent = &devicePresent;
            parts.busy = &busy;
            parts.midi = &midi;
            midi.setOutput (&port);
        }

        int request (int code, int p1 = 0, int p2 = 0, void* data = nullptr) { return requests.handle (code, p1, p2, data); }

        void pump() { oxatest::pumpMessagesUntil ({}, 50); }

        oxatest::RecordingController controller;
        AppSetting settings;
        Project project;
        bool devicePresent = false, busy = false;
        CapturePort port;
        MidiMain midi { nullptr };
        ControllerParts parts;
        ToolSetOperations toolSet { parts };
        ControllerRequests requests { parts, toolSet };
    };
} // namespace

TEST_F (AppRequest, ResultRuleAndCodesOutsideTheTable)
{
    for (int code : { 0, 56, -1, 1000 })
        EXPECT_EQ (request (code), 0) << code;

    EXPECT_EQ (request (IsEdited), 0);
    EXPECT_EQ (request (MarkEdited), -1);
    EXPECT_EQ (request (IsEdited), -1);
    EXPECT_EQ (request (IsDeviceConnected), 0);
    devicePresent = true;
    EXPECT_EQ (request (IsDeviceConnected), -1);
    EXPECT_EQ (request (UnusedRequest42), -1);

    AppSetting* s = nullptr;
    EXPECT_EQ (request (GetAppSetting, 0, 0, &s), -1);
    EXPECT_EQ (s, &settings);

    EXPECT_EQ (request (SetMasterLevel, 73), -1);
    EXPECT_EQ (request (GetMasterLevel), 73);

    juce::String patchSet ("/x/Group.xml");
    EXPECT_EQ (request (SetCurrentPatch, 17, 0, &patchSet), -1);
    EXPECT_EQ (project.CurrentPatchSet, patchSet);
    EXPECT_EQ (project.CurrentPatchIdx, 17);
}

TEST_F (AppRequest, WithoutEngineOrMainComponentTheJamIsEmpty)
{
    EXPECT_EQ (request (HasRhythmItem), 0);
    EXPECT_EQ (request (HasRhythmItem2), 0);
    EXPECT_EQ (request (GetRecorderCount), 0);
    EXPECT_EQ (request (IsAnyRecorderArmed), 0);
    EXPECT_EQ (request (IsTunerShown), -1);
    EXPECT_EQ (request (ReadInputPeak, 0), -1);
    EXPECT_EQ (request (AddPlayableItem, 1), 0);
    EXPECT_EQ (project.recorderFiles.size(), 1);

    juce::int64 length = 99;
    EXPECT_EQ (request (GetLongestRecorderLength, 0, 0, &length), 0);
    EXPECT_EQ (length, 0);

    parts.isTunerShown = [] { return false; };
    EXPECT_EQ (request (IsTunerShown), 0);
}

TEST_F (AppRequest, PeaksMapToTheMeterAndAreReadOnce)
{
    EXPECT_EQ (ControllerRequests::peakToMeter (0.25f), 255);
    EXPECT_EQ (ControllerRequests::peakToMeter (1.0f), 511);
    EXPECT_EQ (ControllerRequests::peakToMeter (0.0f), 0);
    EXPECT_EQ (ControllerRequests::peakToMeter (4.0f), 511);
    EXPECT_EQ (ControllerRequests::peakToMeter (std::numeric_limits<float>::quiet_NaN()), 0);

    oxatest::FakeEngine engine;
    parts.engine = &engine;
    engine.peaks[1] = 0.25f;
    engine.peaks[2] = 1.0f;

    EXPECT_EQ (request (ReadInputPeak, 2), -1);
    EXPECT_EQ (engine.peakReads, 0);   // nothing read for a channel that does not exist

    EXPECT_EQ (request (ReadInputPeak, 1), 255);
    EXPECT_EQ (request (ReadInputPeak, 1), -1);   // no new block since
    EXPECT_EQ (request (ReadOutputPeak, 0), 511);
    EXPECT_EQ (request (ReadOutputPeak, 1), -1);
}

TEST_F (AppRequest, SetEditBufferCopiesNameAndParametersThenUpdatesEditorAndPedal)
{
    EditBuf incoming;
    incoming.name = "Crunch";
    for (int i = 0; i < EditBuf::numParams; ++i)
        incoming.params[i] = i * 3;

    EXPECT_EQ (request (SetEditBuffer, 0, 0, &incoming), -1);
    EXPECT_TRUE (project.editBuffer.sameContentAs (incoming));

    pump();
    EXPECT_EQ (controller.updates, (std::vector<int> { 0x08, 0x10 }));
    EXPECT_EQ (request (SetEditBuffer), 0);
}

TEST_F (AppRequest, DeviceRequestsGoThroughTheMidiLink)
{
    int change[3] = { 2, 5, 300 };
    EXPECT_EQ (request (SendParameterChange, 0, 0, change), -1);
    EXPECT_EQ (request (TunerModeOn), -1);
    EXPECT_EQ (request (TunerModeOff), -1);
    EXPECT_EQ (request (SendPatchDumpRequest, 130), -1);

    ASSERT_EQ (port.sent.size(), 4u);
    EXPECT_EQ (port.sent[0], (std::vector<uint8_t> { 0xF0, 0x52, 0x00, 0x4B, 0x31, 2, 5, 300 & 0x7f, 300 >> 7, 0xF7 }));
    EXPECT_EQ (port.sent[1], (std::vector<uint8_t> { 0xB0, 0x4B, 0x7F }));
    EXPECT_EQ (port.sent[2], (std::vector<uint8_t> { 0xB0, 0x4B, 0x00 }));
    EXPECT_EQ (port.sent[3].size(), 8u);

}

TEST_F (AppRequest, UndoRestoresAndSendsTheEditBuffer)
{
    struct Originator : public MementoOriginator<Project>
    {
        explicit Originator (Project& p) : project (p) {}
        std::unique_ptr<Project> createMemento() override { return std::make_unique<Project> (project); }
        void setMemento (std::unique_ptr<Project> s) override { project.reset(); project = *s; }
        Project& project;
    } originator (project);

    MementoCareTaker<Project> keeper (originator);
    parts.undoKeeper = &keeper;
    keeper.reset();

    project.editBuffer.setParam (1, 0, 1);
    request (RecordUndoAndMarkEdited);
    EXPECT_EQ (request (Undo), -1);
    EXPECT_EQ (project.editBuffer.getParam (1, 0), 0);
    EXPECT_FALSE (project.edited);

    ASSERT_EQ (port.sent.size(), 1u);
    EXPECT_EQ (port.sent[0].size(), 33u);   // F0, 4 header bytes, 27 encoded bytes, F7
    EXPECT_EQ (port.sent[0][4], 0x28);

    pump();
    EXPECT_EQ (controller.updates, (std::vector<int> { 0xffff }));
}

TEST_F (AppRequest, PlayableItemsFollowTheToolSetLists)
{
    oxatest::FakeEngine engine;
    parts.engine = &engine;
    oxatest::UserDataSandbox sandbox;
    oxatest::ShownErrors errors;

    const auto folder = sandbox.folder ("toolsets").getChildFile ("Set");
    folder.createDirectory();
    settings.CurrentProject = folder.getFullPathName();

    EXPECT_EQ (request (AddPlayableItem, 0), -1);
    EXPECT_EQ (project.songFiles, juce::StringArray (""));
    EXPECT_EQ (request (AddPlayableItem, 0), 0);   // only one rhythm machine

    // A new recorder saves itself into the tool set folder at once.
    EXPECT_EQ (request (AddPlayableItem, 1), -1);
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("", "Recorder0.xml"));
    EXPECT_TRUE (folder.getChildFile ("Recorder0.xml").existsAsFile());

    engine.recorderSaves = false;
    EXPECT_EQ (request (AddPlayableItem, 1), -1);
    EXPECT_EQ (errors.shown, juce::StringArray ("Recorder file error."));

    // A recorder the engine could not add leaves no entry behind: the list
    // keeps one entry per recorder, so the ones added later still load.
    engine.addFails = true;
    EXPECT_EQ (request (AddPlayableItem, 1), 0);
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("", "Recorder0.xml", ""));
    engine.addFails = false;

    EXPECT_EQ (request (GetRecorderCount), 2);
    EXPECT_EQ (request (RemovePlayableItem, 1, 0), -1);
    EXPECT_EQ (project.recorderFiles, juce::StringArray ("Recorder0.xml", ""));
    EXPECT_EQ (request (RemovePlayableItem, 0), -1);
    EXPECT_TRUE (project.songFiles.isEmpty());
    EXPECT_EQ (request (HasRhythmItem), 0);

    pump();
    EXPECT_EQ (controller.updates, (std::vector<int> (5, 0x04)));
}

TEST_F (AppRequest, LoadSongTakesARelativeNameInsideTheToolSetFolder)
{
    oxatest::FakeEngine engine;
    parts.engine = &engine;
    oxatest::TempFolder tmp;
    const auto folder = tmp / "Set";
    ASSERT_TRUE (folder.createDirectory());
    settings.CurrentProject = folder.getFullPathName();
    int busyDepth = 0, busyEntered = 0;
    parts.enterBusySection = [&] { ++busyDepth; ++busyEntered; };
    parts.leaveBusySection = [&] { --busyDepth; };

    juce::String song ("~Blues.xml");   // a name, not a home folder
    EXPECT_EQ (request (LoadSong, 0, 0, &song), 0);   // no such file yet
    EXPECT_EQ (engine.loadedSong.getFullPathName(), folder.getFullPathName() + "/~Blues.xml");

    ASSERT_TRUE (engine.loadedSong.replaceWithText ("<Song/>"));
    EXPECT_EQ (request (LoadSong, 0, 0, &song), -1);

    const auto elsewhere = tmp / "Other.xml";
    ASSERT_TRUE (elsewhere.replaceWithText ("<Song/>"));
    song = elsewhere.getFullPathName();
    EXPECT_EQ (request (LoadSong, 0, 0, &song), -1);
    EXPECT_EQ (engine.loadedSong, elsewhere);

    EXPECT_EQ (busyEntered, 3);
    EXPECT_EQ (busyDepth, 0);
    pump();
    EXPECT_EQ (controller.updates, (std::vector<int> (3, 0x04)));
    EXPECT_EQ (controller.repaints, (std::vector<int> (3, 0xffff)));
}

TEST_F (AppRequest, PrepareQuitAsksWhenEditedAndStopsTheItems)
{
    oxatest::FakeEngine engine;
    parts.engine = &engine;
    oxatest::ScriptedDialogs dialogs;
    int busyDepth = 0;
    parts.enterBusySection = [&] { ++busyDepth; };
    parts.leaveBusySection = [&] { --busyDepth; };

    EXPECT_EQ (request (PrepareQuit), -1);
    EXPECT_TRUE (dialogs.questions.isEmpty());
    EXPECT_EQ (engine.stops, 1);
    EXPECT_EQ (busyDepth, 1);

    project.edited = true;
    dialogs.confirmAnswer = false;
    EXPECT_EQ (request (PrepareQuit), 0);
    EXPECT_EQ (dialogs.questions, juce::StringArray ("Toolset has been edited. Are you sure?"));
    EXPECT_EQ (engine.stops, 1);

    EXPECT_EQ (request (BeginRhythmPreview), -1);
    EXPECT_TRUE (busy);
    EXPECT_EQ (request (EndRhythmPreview), -1);
    EXPECT_FALSE (busy);
    EXPECT_EQ (busyDepth, 1);
}

TEST (AppInstContMes, PostedFromAnyThreadHandledOnTheMessageThreadForeignOnesDropped)
{
    oxatest::RecordingController controller, other;

    std::thread worker ([&]
    {
        postToController (controller, new InstContUpdateUI (0x04));
        postToController (controller, new InstContRepaintUI (0));
        postToController (controller, new InstContRepaintUI (0xffff));
        postToController (controller, new InstContMesTunerPitchDetect (440.5f));
        postToController (controller, new InstContMesUpdateTooltip());
    });
    worker.join();

    // A message of the family aimed at another controller, and a message of another family.
    auto* misdirected = new InstContUpdateUI (0x01);
    postToController (other, misdirected);
    controller.postMessage (new InstContUpdateUI (0x02));   // target never set
    struct Foreign : public juce::Message {};
    controller.postMessage (new Foreign());

    oxatest::pumpMessagesUntil ([&] { return controller.tooltips == 1 && controller.dropped == 2; }, 2000);

    EXPECT_EQ (controller.updates, (std::vector<int> { 0x04 }));
    EXPECT_EQ (controller.repaints, (std::vector<int> { 0xffff }));   // zero flags repaint nothing
    EXPECT_EQ (controller.pitches, (std::vector<float> { 440.5f }));
    EXPECT_EQ (controller.tooltips, 1);
    EXPECT_EQ (controller.dropped, 2);
    EXPECT_EQ (other.updates, (std::vector<int> { 0x01 }));
}
