#include "TestSupport.h"
#include "DeviceCable.h"
#include "app/InstController.h"
#include "app/OxException.h"
#include "documents/PatchManager.h"
#include "documents/SafeFileWriter.h"
#include "platform/DataFolders.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace T730;

namespace
{
    /** A controller built inside temporary folders, wired to a virtual M7c. */
    class DeviceGuiController : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            const auto install = temp / "install";
            const auto documents = temp / "Documents";
            for (auto name : { "setting", "song", "rhythm", "patchgroupM7", "toolsets" })
            {
                ASSERT_TRUE (install.getChildFile (name).createDirectory());
                ASSERT_TRUE (documents.getChildFile ("VELD/OXA Tools").getChildFile (name).createDirectory());
            }
            ASSERT_TRUE (install.getChildFile ("setting/ErrLogM7c.log").replaceWithText ("\n"));
            overrideFolderRoots (install, documents);

            previousPresenter = OxException::setPresenter ([this] (const juce::String&, const juce::String& message)
            {
                shownErrors.add (message);
            });
        }

        void TearDown() override
        {
            OxException::setPresenter (previousPresenter);
            clearFolderRootOverrides();
        }

        juce::File patchFolder() const
        {
            return (temp / "Documents").getChildFile ("VELD/OXA Tools/patchgroupM7");
        }

        oxatest::TempFolder temp;
        OxException::Presenter previousPresenter;
        juce::StringArray shownErrors;
    };
}

TEST_F (DeviceGuiController, PatchGroupsAreLoadedAtStartUp)
{
    PatchSet group;
    group.Name = "Loaded At Start";
    juce::XmlElement root ("PatchSet");
    group.write (&root);
    ASSERT_TRUE (writeXmlDocument (patchFolder().getChildFile ("Mine.xml"), root));

    InstController controller;
    ASSERT_NE (controller.getPatchManager(), nullptr);
    ASSERT_EQ (controller.getPatchManager()->getNumGroups(), 1);
    EXPECT_EQ (controller.getPatchManager()->getGroup (0)->Name, "Loaded At Start");
}

TEST_F (DeviceGuiController, BackupAndRestoreOfAHundredPatches)
{
    m7c::VirtualM7c device;
    device.fillWithTestPatches (5);
    const auto original = [&device]
    {
        std::vector<m7c::PatchFields> patches;
        for (int i = 0; i < 100; ++i)
            patches.push_back (device.getPatch (i));
        return patches;
    }();

    InstController controller;
    ASSERT_NE (controller.getMidi(), nullptr);
    oxatest::DeviceCable cable (device, *controller.getMidi());

    PatchSet backup;
    ASSERT_TRUE (controller.backupFromDevice (backup));
    EXPECT_TRUE (shownErrors.isEmpty());

    // Wipe the device, restore the backup: the contents are identical again.
    for (int i = 0; i < 100; ++i)
        device.setPatch (i, m7c::PatchFields {});

    ASSERT_TRUE (controller.restoreToDevice (backup, 100));
    device.waitUntilIdle();

    for (int i = 0; i < 100; ++i)
    {
        const auto restored = device.getPatch (i);
        ASSERT_EQ (restored.name, original[(size_t) i].name) << i;
        ASSERT_EQ (restored.params, original[(size_t) i].params) << i;
    }

    EXPECT_EQ (device.getReceivedCommands().back(), SysEx::Command::endOfData);
}

TEST_F (DeviceGuiController, FailedTransfersShowTheWorkersError)
{
    m7c::VirtualM7c device;
    m7c::VirtualM7c::Faults faults;
    faults.silent = true;
    device.setFaults (faults);

    InstController controller;
    oxatest::DeviceCable cable (device, *controller.getMidi());

    PatchSet set;
    EXPECT_FALSE (controller.backupFromDevice (set));
    ASSERT_EQ (shownErrors.size(), 1);
    EXPECT_EQ (shownErrors[0], "Error occurred during backup/restore process.\nTimeout at the identity request.");

    faults = {};
    faults.responseCode = 3;
    device.setFaults (faults);
    EXPECT_FALSE (controller.restoreToDevice (set, 10));
    ASSERT_EQ (shownErrors.size(), 2);
    EXPECT_EQ (shownErrors[1], "Error occurred during backup/restore process.\nTimeout at the all data dump notification.");
}

TEST_F (DeviceGuiController, DeviceKnobsUpdateTheEditBufferUnderItsLock)
{
    InstController controller;
    auto* buffer = controller.getEditBuffer();
    ASSERT_NE (buffer, nullptr);

    m7c::VirtualM7c device;
    oxatest::DeviceCable cable (device, *controller.getMidi());

    device.turnKnob (4, 2, 33);
    device.waitUntilIdle();
    {
        const juce::ScopedLock sl (buffer->lock);
        EXPECT_EQ (buffer->getParam (4, 2), 33);
    }

    // Many knob turns and whole-buffer dumps from the device while the message
    // thread copies the buffer: every copy is one consistent state, and the copies
    // really did run while the dumps were arriving (they saw the buffer change).
    std::atomic<bool> playing { true };
    std::atomic<int> copies { 0 };
    std::thread player ([&]
    {
        for (int round = 0; round < 400; ++round)
        {
            m7c::PatchFields fields;
            fields.name = round % 2 == 0 ? "Even" : "Odd";
            for (int k = 0; k < 5; ++k)
                fields.params[(size_t) (1 * 8 + k)] = round % 2;   // fit every width
            device.setEditBuffer (fields);
            device.sendEditBufferToHost();
            device.turnKnob (7, 7, round);

            // Paced by the copies, so that they run while the dumps arrive.
            const int seen = copies.load();
            for (int wait = 0; wait < 2000 && copies.load() < seen + 3; ++wait)
                std::this_thread::sleep_for (std::chrono::microseconds (50));
        }
        device.waitUntilIdle();
        playing = false;
    });

    int changes = 0;
    juce::String last;
    while (playing)
    {
        const EditBuf copy (*buffer);
        ++copies;
        if (copy.name == "Even" || copy.name == "Odd")
        {
            const int wanted = copy.name == "Odd" ? 1 : 0;
            for (int k = 0; k < 3; ++k)   // the fields module 1 carries
                ASSERT_EQ (copy.getParam (1, k), wanted) << copy.name << " " << k;
        }
        if (copy.name != last)
            ++changes;
        last = copy.name;
        std::this_thread::yield();   // the MIDI thread gets the lock between copies
    }

    player.join();
    EXPECT_GT (changes, 100) << "the copies must have overlapped the device's dumps (" << copies.load() << " copies)";
    EXPECT_EQ (buffer->name, "Odd");
    EXPECT_EQ (buffer->getParam (7, 7), 399) << "the last knob turn arrived";
}

TEST_F (DeviceGuiController, ADeviceThatComesOrGoesDuringStartUpIsNoticedOnceTheWatcherRuns)
{
    // The controller samples presence early in its start-up and the watcher takes
    // its first list much later: a change in between used to become the baseline.
    struct Source
    {
        int calls = 0;
        int presentFromCall = 0, absentFromCall = 1 << 30;
        juce::StringArray operator()()
        {
            ++calls;
            return calls >= presentFromCall && calls < absentFromCall ? juce::StringArray { "M7c MIDI 1" }
                                                                       : juce::StringArray {};
        }
    };

    {
        auto source = std::make_shared<Source>();
        source->presentFromCall = 2;   // plugged in after the first look
        platform::setMidiInputNameSource ([source] { return (*source)(); });
        InstController controller;
        EXPECT_EQ (controller.request (IsDeviceConnected), requestTrue);
    }
    {
        auto source = std::make_shared<Source>();
        source->presentFromCall = 1;
        source->absentFromCall = 2;    // removed after the first look
        platform::setMidiInputNameSource ([source] { return (*source)(); });
        InstController controller;
        EXPECT_EQ (controller.request (IsDeviceConnected), requestFalse);
    }
    platform::setMidiInputNameSource ({});
}

TEST_F (DeviceGuiController, ShutDownTellsTheDeviceThatEditingEnds)
{
    // The device end of the cable outlives the controller; its link lets go of it when deleted.
    struct DeviceEnd : public MidiOutputPort
    {
        explicit DeviceEnd (m7c::VirtualM7c& d) : device (d) {}
        void sendBytes (const uint8_t* data, size_t size) override { device.receiveFromHost (data, size); }
        m7c::VirtualM7c& device;
    };

    m7c::VirtualM7c device;
    DeviceEnd deviceEnd (device);
    {
        InstController controller;
        controller.getMidi()->setOutput (&deviceEnd);
        controller.getMidi()->sendEditorOn();
        EXPECT_TRUE (device.isEditorOn());
    }

    EXPECT_FALSE (device.isEditorOn());
    EXPECT_EQ (device.getReceivedCommands().back(), SysEx::Command::editorOff);
}
