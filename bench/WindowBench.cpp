// Figures for the window: building the main window (the controller with it), a
// full repaint of the window, opening each menu and each menu command's
// response (file dialogs answered at once with "cancel", boxes closed as soon
// as they are up). Needs a display; without one it says so and ends.
#include "app/ControllerCommands.h"
#include "app/CpuMeter.h"
#include "documents/Project.h"
#include "app/GuiMain.h"
#include "app/HelloWorldWindow.h"
#include "app/InstController.h"
#include "app/OxException.h"
#include "app/UserDialogs.h"
#include "platform/DataFolders.h"
#include "ui/OxDialog.h"

#include "BenchDisplay.h"
#include <cstdio>
#include <cstdlib>

using namespace T730;

namespace
{


    /** Every question answered "yes", every file dialog cancelled. */
    struct CancellingDialogs : public UserDialogs
    {
        bool confirm (const juce::String&) override { return true; }
        int askOverwrite (const juce::String&) override { return 0; }
        bool chooseFileToOpen (const juce::File&, const juce::String&, juce::File&) override { return false; }
        bool chooseFileToSave (const juce::File&, const juce::String&, juce::File&) override { return false; }
    };

    /** Closes any of the program's dialog windows as soon as one is showing. */
    struct BoxCloser : public juce::Timer
    {
        BoxCloser() { startTimer (1); }
        void timerCallback() override
        {
            auto& desktop = juce::Desktop::getInstance();
            for (int i = desktop.getNumComponents(); --i >= 0;)
                if (auto* w = dynamic_cast<OxDialogWindow*> (desktop.getComponent (i)); w != nullptr && w->isShowing())
                    w->closeButtonPressed();
        }
    };

    double elapsedMs (juce::int64 start)
    {
        return juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - start) * 1000.0;
    }

    template <typename Fn>
    double timeMs (int runs, Fn&& fn)
    {
        const auto start = juce::Time::getHighResolutionTicks();
        for (int i = 0; i < runs; ++i)
            fn();
        return elapsedMs (start) / runs;
    }

    void pump (int ms)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (ms);
    }
} // namespace

int main()
{
    if (std::getenv ("DISPLAY") == nullptr)
    {
        std::printf ("oxa_bench_window: needs a display (DISPLAY is not set); nothing measured\n");
        return 0;
    }

    prepareDisplay();
    juce::ScopedJuceInitialiser_GUI juce;
    const auto root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("oxa-bench-window", {}, false);
    overrideFolderRoots (root.getChildFile ("install"), root.getChildFile ("documents"));
    for (auto* name : { UserFolder::toolsets, UserFolder::song, UserFolder::rhythm, UserFolder::setting,
                        UserFolder::patchgroup })
        getUserDataFolder (name, false).createDirectory();

    CancellingDialogs dialogs;
    UserDialogs::install (&dialogs);
    OxException::setPresenter ([] (const juce::String&, const juce::String&) {});

    {
        auto start = juce::Time::getHighResolutionTicks();
        auto window = std::make_unique<HelloWorldWindow>();
        std::printf ("[ figure ] main window built (controller, main component, window): %.1f ms\n", elapsedMs (start));
        window->getController()->quitApplication = [] {};
        pump (300);

        auto& gui = *window->getController()->getGui();

        // A full repaint: every pixel of the window drawn again, software rendering.
        juce::Image canvas (juce::Image::ARGB, window->getWidth(), window->getHeight(), true);
        const auto paintAll = [&]
        {
            juce::Graphics g (canvas);
            window->paintEntireComponent (g, true);
        };
        paintAll();
        std::printf ("[ figure ] full repaint of the window (%d x %d): %.2f ms\n", window->getWidth(),
                     window->getHeight(), timeMs (50, paintAll));
        std::printf ("[ figure ] full repaint of the main component alone: %.2f ms\n",
                     timeMs (50, [&] { gui.createComponentSnapshot (gui.getLocalBounds()); }));

        // The same through the window's peer, with the copy to the screen.
        if (auto* peer = window->getPeer())
        {
            const auto screen = [&]
            {
                window->repaint();
                peer->performAnyPendingRepaintsNow();
                pump (1);
            };
            screen();
            std::printf ("[ figure ] full repaint to the screen (with the message loop turn): %.2f ms\n", timeMs (30, screen));
        }

        // Opening each menu builds it with every item's state.
        for (int i = 0; i < 4; ++i)
            std::printf ("[ figure ] menu \"%s\" built: %.3f ms\n", gui.getMenuBarNames()[i].toRawUTF8(),
                         timeMs (200, [&] { gui.getMenuForIndex (i, {}); }));

        // Each command, from the command manager to its return.
        BoxCloser closer;
        auto* manager = gui.getCommandManager();
        const struct { int id; const char* what; } commands[] = {
            { CommandIDs::fileNew, "New (cancelled dialog)" },
            { CommandIDs::fileOpen, "Open (cancelled dialog)" },
            { CommandIDs::fileSave, "Save (no tool set: Save As, cancelled)" },
            { CommandIDs::fileSaveAs, "Save As (cancelled dialog)" },
            { CommandIDs::importToolSet, "Import Tool Set (cancelled dialog)" },
            { CommandIDs::importRhythm, "Import Rhythm (cancelled dialog)" },
            { CommandIDs::exportToolSet, "Export Tool Set (cancelled dialog)" },
            { CommandIDs::undo, "Undo (nothing to undo)" },
            { CommandIDs::redo, "Redo (nothing to redo)" },
            { CommandIDs::autoRun, "Auto Run" },
            { CommandIDs::drummerBassist, "Drummer & Bassist" },
            { CommandIDs::cpuMeter, "CPU Meter (window shown)" },
            { CommandIDs::connect, "Connect (no device)" },
            { CommandIDs::connectionSetting, "Connection setting (no audio)" },
            { CommandIDs::version, "Version (window up and closed)" },
            { CommandIDs::exit, "Exit (quit request)" },
        };
        for (const auto& c : commands)
        {
            const int runs = c.id == CommandIDs::version ? 3 : 20;
            const double ms = timeMs (runs, [&] { manager->invokeDirectly (c.id, false); });
            std::printf ("[ figure ] command %s: %.3f ms\n", c.what, ms);
        }
        if (auto* meter = window->getController()->getCpuMeterWindow())
            meter->closeButtonPressed();

        // And one undo step of a name edit, the most common edit of this window.
        auto& project = window->getController()->getProject();
        const double undo = timeMs (20, [&]
        {
            project.Name = "Edited";
            window->getController()->request (RecordUndoAndMarkEdited);
            manager->invokeDirectly (CommandIDs::undo, false);
        });
        std::printf ("[ figure ] command Undo (one name edit, then undone): %.3f ms\n", undo);

        project.edited = false;
        start = juce::Time::getHighResolutionTicks();
        window.reset();
        std::printf ("[ figure ] main window closed (settings saved, everything deleted): %.1f ms\n", elapsedMs (start));
    }

    UserDialogs::install (nullptr);
    OxException::setPresenter ({});
    clearFolderRootOverrides();
    root.deleteRecursively();
    return 0;
}
