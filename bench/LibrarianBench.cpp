// Figures for the librarian page in the program's window, against the virtual
// M7c wired in process: refresh with 50 patch groups, the page's repaint,
// selecting a patch (from the click to the edit buffer message leaving for the
// device), and a full backup and restore of 100 patches through the page with
// its chooser and progress window. Needs a display; without one it says so.
#include "VirtualM7c.h"
#include "app/GuiMain.h"
#include "app/HelloWorldWindow.h"
#include "app/InstController.h"
#include "app/OxException.h"
#include "app/SectionTab.h"
#include "app/UserDialogs.h"
#include "device/SysExCodec.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "librarian/SL_ModalWindow.h"
#include "librarian/SectionLibrarian.h"
#include "platform/DataFolders.h"
#include "ui/OxDialog.h"

#include "BenchDisplay.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace T730;

namespace
{


    /** Every question answered "yes". */
    struct YesDialogs : public UserDialogs
    {
        bool confirm (const juce::String&) override { return true; }
        int askOverwrite (const juce::String&) override { return 1; }
        bool chooseFileToOpen (const juce::File&, const juce::String&, juce::File&) override { return false; }
        bool chooseFileToSave (const juce::File&, const juce::String&, juce::File&) override { return false; }
    };

    /** The cable to the device, noting when the last edit buffer message left. */
    struct TimingPort : public MidiOutputPort
    {
        TimingPort (m7c::VirtualM7c& device, MidiMain& midi) : inner (device, midi) {}

        void sendBytes (const uint8_t* data, size_t size) override
        {
            if (size > 5 && data[4] == SysEx::Command::editBufferDump)
                editBufferSentAt = juce::Time::getHighResolutionTicks();
            inner.sendBytes (data, size);
        }

        m7c::VirtualM7cPort inner;
        std::atomic<juce::int64> editBufferSentAt { 0 };
    };

    double ticksToMs (juce::int64 ticks) { return juce::Time::highResolutionTicksToSeconds (ticks) * 1000.0; }
    double elapsedMs (juce::int64 start) { return ticksToMs (juce::Time::getHighResolutionTicks() - start); }

    struct Spread
    {
        double median, best, worst;
    };

    Spread spread (std::vector<double> values)
    {
        std::sort (values.begin(), values.end());
        return { values[values.size() / 2], values.front(), values.back() };
    }

    template <typename Fn>
    Spread measure (int runs, Fn&& fn)
    {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i)
        {
            const auto start = juce::Time::getHighResolutionTicks();
            fn();
            times.push_back (elapsedMs (start));
        }
        return spread (times);
    }

    void pump (int ms) { juce::MessageManager::getInstance()->runDispatchLoopUntil (ms); }

    void click (juce::Component& component, juce::Point<int> at)
    {
        auto* peer = component.getPeer();
        if (peer == nullptr)
            return;
        static juce::int64 time = juce::Time::currentTimeMillis();
        time += 1000;   // never a double click
        const auto p = peer->getComponent().getLocalPoint (&component, at).toFloat();
        const auto source = juce::MouseInputSource::InputSourceType::mouse;
        peer->handleMouseEvent (source, p, juce::ModifierKeys().withFlags (juce::ModifierKeys::leftButtonModifier),
                                juce::MouseInputSource::defaultPressure, 0.0f, time);
        peer->handleMouseEvent (source, p, juce::ModifierKeys(), juce::MouseInputSource::defaultPressure, 0.0f, time + 5);
    }

    /** Presses a chooser's button as soon as the chooser is up. */
    struct WizardAnswer : public juce::Timer
    {
        explicit WizardAnswer (bool upperButton) : upper (upperButton) { startTimer (10); }
        void timerCallback() override
        {
            auto* window = dynamic_cast<OxDialogWindow*> (juce::Component::getCurrentlyModalComponent());
            auto* wizard = window != nullptr ? dynamic_cast<SL_ModalWindow*> (window->getContentComponent()) : nullptr;
            // Pressed once the chooser's window is on the screen; pressed again should a press get lost.
            if (wizard == nullptr || ! window->isShowing() || ++ticksShown < 2)
                return;
            auto& button = upper ? wizard->getUpperButton() : wizard->getLowerButton();
            click (button, { button.getWidth() / 2, 12 });
            if (wizard->getResult() != 0)
                stopTimer();
        }
        bool upper;
        int ticksShown = 0;
    };

    void writeGroups (const juce::File& folder, int count)
    {
        for (int g = 0; g < count; ++g)
        {
            PatchSet set;
            set.Name = "Bench Group " + juce::String (g);
            for (int i = 0; i < PatchSet::numPatches; ++i)
                set.patches[(size_t) i].setName ("G" + juce::String (g) + "P" + juce::String (i));
            juce::XmlElement root ("PatchSet");
            set.write (&root);
            writeXmlDocument (folder.getChildFile (set.Name + ".xml"), root);
        }
    }
} // namespace

int main()
{
    if (std::getenv ("DISPLAY") == nullptr)
    {
        std::printf ("oxa_bench_librarian: needs a display (DISPLAY is not set); nothing measured\n");
        return 0;
    }

    std::setvbuf (stdout, nullptr, _IOLBF, 0);
    prepareDisplay();
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const auto root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("oxa-bench-librarian", {}, false);
    overrideFolderRoots (root.getChildFile ("install"), root.getChildFile ("documents"));
    for (auto* name : { UserFolder::toolsets, UserFolder::song, UserFolder::rhythm, UserFolder::setting,
                        UserFolder::patchgroup })
        getUserDataFolder (name, false).createDirectory();
    writeGroups (getUserDataFolder (UserFolder::patchgroup, false), 50);

    YesDialogs dialogs;
    UserDialogs::install (&dialogs);
    juce::StringArray errors;
    OxException::setPresenter ([&errors] (const juce::String&, const juce::String& m) { errors.add (m); });

    {
        auto window = std::make_unique<HelloWorldWindow>();
        auto* controller = window->getController();
        controller->quitApplication = [] {};
        pump (300);

        m7c::VirtualM7c device;
        device.fillWithTestPatches (3);
        auto& midi = *controller->getMidi();
        TimingPort port (device, midi);
        midi.setOutput (&port);

        auto& tab = controller->getGui()->getTabSection();
        auto& page = tab.getLibrarianPage();
        tab.selectPage (&page);
        pump (100);

        std::printf ("Librarian page in the program's window (%d patch groups), virtual M7c in process\n",
                     controller->getPatchManager()->getNumGroups());

        // refresh: both tables from the store, the group list rebuilt (50 rows).
        page.refresh();
        const auto refresh = measure (40, [&] { page.refresh(); });
        std::printf ("[ figure ] refresh with 50 groups: median %.2f ms (best %.2f, worst %.2f; goal <= 50 ms)\n",
                     refresh.median, refresh.best, refresh.worst);

        // The page's repaint, software rendering, every child.
        juce::Image canvas (juce::Image::ARGB, page.getWidth(), page.getHeight(), true);
        const auto repaint = measure (60, [&]
        {
            juce::Graphics g (canvas);
            page.paintEntireComponent (g, true);
        });
        std::printf ("[ figure ] repaint of the page (300 x 313): median %.2f ms (best %.2f, worst %.2f)\n",
                     repaint.median, repaint.best, repaint.worst);

        // Selecting a patch: from the click to the edit buffer message leaving for
        // the device, and the whole click (tool set copy, undo step, updates posted).
        auto& patches = page.getPatchTable();
        std::vector<double> toSysEx, wholeClick;
        for (int i = 1; i <= 60; ++i)
        {
            const int row = i % 5, column = (i / 5) % 2;
            port.editBufferSentAt = 0;
            const auto start = juce::Time::getHighResolutionTicks();
            click (patches, patches.getCellBounds (row, column).getCentre());
            const auto end = juce::Time::getHighResolutionTicks();
            if (port.editBufferSentAt.load() != 0)
                toSysEx.push_back (ticksToMs (port.editBufferSentAt.load() - start));
            wholeClick.push_back (ticksToMs (end - start));
            pump (2);
        }
        if (! toSysEx.empty())
        {
            const auto sent = spread (toSysEx), whole = spread (wholeClick);
            std::printf ("[ figure ] selecting a patch, click to SysEx sent: median %.3f ms (worst %.3f; goal <= 20 ms; "
                         "%d of 60 clicks sent)\n", sent.median, sent.worst, (int) toSysEx.size());
            std::printf ("[ figure ] selecting a patch, the whole click: median %.3f ms (worst %.3f)\n", whole.median,
                         whole.worst);
        }

        // Backup and restore of 100 patches through the page: the chooser, the
        // progress window (40 ms ticks), the group file written and the store read again.
        auto& button = page.getButton (SectionLibrarian::backupRestoreButton);
        std::vector<double> backups, restores;
        for (int run = 0; run < 3; ++run)
        {
            {
                WizardAnswer answer (true);
                const auto start = juce::Time::getHighResolutionTicks();
                click (button, { button.getWidth() / 2, button.getHeight() / 2 });
                backups.push_back (elapsedMs (start));
            }
            pump (1100);   // the next backup gets a second of its own

            auto* store = controller->getPatchManager();
            page.getGroupTable().select (store->getNumGroups() - 1, 0);
            {
                WizardAnswer answer (false);
                const auto start = juce::Time::getHighResolutionTicks();
                click (button, { button.getWidth() / 2, button.getHeight() / 2 });
                device.waitUntilIdle();
                restores.push_back (elapsedMs (start));
            }
            pump (50);
        }
        const auto b = spread (backups), r = spread (restores);
        const auto reload = measure (3, [&] { controller->getPatchManager()->loadAll(); });
        page.refresh();
        std::printf ("[ figure ] backup of 100 patches through the page: median %.1f ms (best %.1f), of which the store's "
                     "re-reading of its %d groups takes %.1f ms\n",
                     b.median, b.best, controller->getPatchManager()->getNumGroups(), reload.median);
        std::printf ("[ figure ] restore of 100 patches through the page: median %.1f ms (best %.1f)\n", r.median,
                     r.best);
        if (! errors.isEmpty())
            std::printf ("errors shown: %s\n", errors.joinIntoString (" | ").toRawUTF8());

        midi.setOutput (nullptr);
        controller->getProject().edited = false;
        window.reset();
    }

    UserDialogs::install (nullptr);
    OxException::setPresenter ({});
    clearFolderRootOverrides();
    root.deleteRecursively();
    return 0;
}
