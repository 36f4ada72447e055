// The editor in the program's own window, in step with the virtual M7c both
// ways: turning a control reaches the device as one parameter change per
// step, the device's knobs and patches move the board (on the message thread),
// and the device's echo of the program's own change does not bounce back.
#include "EditorTestSupport.h"
#include "VirtualM7c.h"

#include "app/ControllerCommands.h"
#include "app/GuiMain.h"
#include "app/HelloWorldWindow.h"
#include "app/InstController.h"
#include "app/ToolSetTestSupport.h"
#include "editor/Controls.h"
#include "editor/SectionPedalAssign.h"

using namespace editortest;
using namespace T730;

namespace
{
/** The device's end of the cable; optionally the device echoes every parameter
    change the program sends, as a device that reports its own knobs would. */
struct EchoingPort : public MidiOutputPort
{
    EchoingPort (m7c::VirtualM7c& d, MidiMain& host) : device (d), link (host)
    {
        device.setHostSink ([this] (const m7c::Bytes& message) { link.receiveBytes (message.data(), message.size()); });
        link.setOutput (this);
    }

    ~EchoingPort() override
    {
        link.setOutput (nullptr);
        device.setHostSink ({});
        device.waitUntilIdle (1000);
    }

    void sendBytes (const uint8_t* data, size_t size) override
    {
        device.receiveFromHost (data, size);
        const auto parsed = SysEx::parseMessage (data, size);
        if (echo && parsed.kind == SysEx::MessageKind::parameterChange)
            device.turnKnob (parsed.module, parsed.param, parsed.value);
    }

    m7c::VirtualM7c& device;
    MidiMain& link;
    bool echo = false;
};

/** The program's window with the staged resources, wired to a virtual M7c. */
struct EditorGuiDevice : public ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE ((sandbox.root / "install").createDirectory());
        for (auto* name : { UserFolder::patchgroup, UserFolder::setting })
            sandbox.folder (name).createDirectory();
        const auto installed = juce::File (getInstallFolder()).getChildFile ("resources");
        ASSERT_TRUE (stagedResources().createSymbolicLink (installed, true));
        resources = std::make_unique<ScopedResources> (installed);

        window = std::make_unique<HelloWorldWindow>();
        port = std::make_unique<EchoingPort> (device, *controller().getMidi());
        oxatest::pumpMessagesUntil ([this] { return editor().getFloor().isIdle(); }, 5000);
        device.clearReceivedCommands();
    }

    void TearDown() override
    {
        port.reset();
        window.reset();
        resources.reset();
    }

    InstController& controller() { return *window->getController(); }
    SectionEditor& editor() { return controller().getGui()->getEditorSection(); }
    EditBuf& buffer() { return controller().getProject().editBuffer; }

    /** Lets the device deliver and the posted messages run. */
    void settle()
    {
        device.waitUntilIdle();
        oxatest::pumpMessagesUntil ({}, 60);
        waitForFloor (editor());
    }

    oxatest::UserDataSandbox sandbox;
    oxatest::ScriptedDialogs dialogs;
    oxatest::ShownErrors errors;
    std::unique_ptr<ScopedResources> resources;
    m7c::VirtualM7c device;
    std::unique_ptr<HelloWorldWindow> window;
    std::unique_ptr<EchoingPort> port;
};

TEST_F (EditorGuiDevice, AKnobTurnReachesTheDeviceStepByStepAndIsOneUndoStep)
{
    auto* view = editor().getView (3);
    ASSERT_NE (view, nullptr);
    bringIntoView (editor(), 3);
    auto* knob = findControl<Knob> (*view, 3);
    ASSERT_NE (knob, nullptr);
    const int start = knob->getStep();
    ASSERT_LT (start, knob->getMaxStep() - 6);
    controller().request (ResetUndoAndMarkSaved);
    device.clearReceivedCommands();

    PeerMouse mouse (editor());
    const auto at = sectionPointOf (editor(), *knob);
    const int pixelsPerStep = 150 / knob->getMaxStep() + 1;
    mouse.down (at);
    int changedSteps = 0;
    for (int i = 1; i <= 6; ++i)
    {
        const int before = knob->getStep();
        mouse.drag ({ at.x, at.y - i * pixelsPerStep });
        changedSteps += knob->getStep() != before ? 1 : 0;
    }
    mouse.up ({ at.x, at.y - 6 * pixelsPerStep });
    settle();

    const int end = knob->getStep();
    EXPECT_GE (end - start, 5);
    EXPECT_EQ (changedSteps, 6);
    EXPECT_EQ (device.countReceived (SysEx::Command::parameterChange), changedSteps) << "one message per changed step";
    EXPECT_EQ (device.getEditBuffer().params[5 * 8 + 3], end);
    EXPECT_EQ (controller().request (IsEdited), requestTrue);

    // The whole turn is one undo step: one undo brings the start back and leaves nothing to undo.
    auto undoEnabled = [this]
    {
        juce::ApplicationCommandInfo info (CommandIDs::undo);
        controller().getCommandInfo (CommandIDs::undo, info);
        return (info.flags & juce::ApplicationCommandInfo::isDisabled) == 0;
    };
    ASSERT_TRUE (undoEnabled());
    controller().perform (juce::ApplicationCommandTarget::InvocationInfo (CommandIDs::undo));
    settle();
    {
        const juce::ScopedLock sl (buffer().lock);
        EXPECT_EQ (buffer().getParam (5, 3), start);
    }
    EXPECT_EQ (findControl<Knob> (*editor().getView (3), 3)->getStep(), start);
    EXPECT_FALSE (undoEnabled());
}

TEST_F (EditorGuiDevice, TheDevicesChangesMoveTheBoardOnTheMessageThread)
{
    controller().request (ResetUndoAndMarkSaved);
    auto* knob = findControl<CtrlBase> (*editor().getView (5), 2);
    ASSERT_NE (knob, nullptr);
    const int before = knob->getStep();
    const int wanted = before == 9 ? 4 : 9;

    device.turnKnob (7, 2, wanted);
    device.waitUntilIdle();
    // The MIDI thread has stored it; the board follows only once the message thread runs.
    {
        const juce::ScopedLock sl (buffer().lock);
        EXPECT_EQ (buffer().getParam (7, 2), wanted);
    }
    EXPECT_EQ (knob->getStep(), before);
    oxatest::pumpMessagesUntil ([&] { return knob->getStep() == wanted; }, 2000);
    EXPECT_EQ (knob->getStep(), wanted);
    EXPECT_EQ (controller().request (IsEdited), requestTrue);

    controller().request (ResetUndoAndMarkSaved);
    device.turnKnob (0, 3, 1);
    settle();
    EXPECT_EQ (controller().request (IsEdited), requestFalse) << "module 0 parameter 3 is no edit";

    // The patch level reaches the pedal-assign strip too.
    device.turnKnob (0, 2, 30);
    settle();
    EXPECT_EQ (controller().getGui()->getPedalAssignSection().getLevelKnob().getStep(), 30);

    // A whole patch from the device builds the chain again.
    auto fields = device.getEditBuffer();
    fields.params[5 * 8 + 1] = indexOfKey (5, "Delay1");
    fields.params[6 * 8 + 1] = indexOfKey (6, "Reverse");
    fields.params[8 * 8 + 2] = 3;
    device.setEditBuffer (fields);
    device.sendEditBufferToHost();
    settle();
    ASSERT_NE (editor().getView (3), nullptr);
    EXPECT_EQ (editor().getView (3)->getKey(), "Delay1");
    EXPECT_EQ (editor().getView (4)->getKey(), "Reverse");
    EXPECT_EQ (controller().getGui()->getPedalAssignSection().getTargetIndex(), 2);
    EXPECT_EQ (device.countReceived (SysEx::Command::parameterChange), 0) << "nothing went back to the device";
    EXPECT_EQ (device.countReceived (SysEx::Command::editBufferDump), 0);
}

TEST_F (EditorGuiDevice, TheDevicesEchoOfAChangeDoesNotBounceBack)
{
    port->echo = true;
    bringIntoView (editor(), 4);
    auto* knob = findControl<Knob> (*editor().getView (4), 2);
    ASSERT_NE (knob, nullptr);
    knob->setStep (0);
    editor().getView (4)->getModule().setStep (2, 0, true);
    {
        const juce::ScopedLock sl (buffer().lock);
        buffer().setParam (6, 2, 0);
    }
    device.clearReceivedCommands();

    PeerMouse mouse (editor());
    const auto at = sectionPointOf (editor(), *knob);
    mouse.down (at);
    for (int i = 1; i <= 10; ++i)
    {
        mouse.drag ({ at.x, at.y - i * 10 });
        // The echoes arrive while the drag goes on.
        device.waitUntilIdle();
        oxatest::pumpMessagesUntil ({}, 5);
    }
    mouse.up ({ at.x, at.y - 100 });
    settle();
    settle();

    EXPECT_EQ (knob->getStep(), 10);
    EXPECT_EQ (device.countReceived (SysEx::Command::parameterChange), 10);
    EXPECT_EQ (device.getEditBuffer().params[6 * 8 + 2], 10);
    const juce::ScopedLock sl (buffer().lock);
    EXPECT_EQ (buffer().getParam (6, 2), 10);
}
} // namespace
