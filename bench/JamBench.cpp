// The message thread while a practice session plays, in the program's window
// on a private JACK server (dummy back end, 512 frames): a rhythm machine
// playing a factory song (drummer, bassist, chord strip, meters) and two
// recorders (their panels, position texts and 15-band displays). Printed:
// the message thread's processor time as a share of a core while playing and
// while stopped, the longest stall of its loop (the longest a probe message
// posted every 2 ms by another thread waited to be delivered) and the process's share of
// a core (the figures' own drawing threads included). Goal: the window's own
// timers at most 5 % of a core while playing, no stall over 16 ms.
//
//   oxa_bench_jam [seconds per phase, default 20]   (needs DISPLAY)
#include "../tests/engine/JackTestServer.h"
#include "platform/DataFolders.h"
#include "app/HelloWorldWindow.h"
#include "app/InstController.h"
#include "app/OxException.h"
#include "app/ControllerRequest.h"
#include "engine/DspLoader.h"
#include "engine/DspMain.h"
#include "engine/Synchronizer.h"
#include "jam/SectionJam.h"
#include "app/GuiMain.h"
#include "rhythm/Rhythmer.h"

#include <sys/resource.h>

#include "BenchDisplay.h"   // (X11 last: its macros clash with JUCE names)

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "ThreadTime.h"

using namespace T730;

namespace
{
    double processMs()
    {
        rusage u {};
        getrusage (RUSAGE_SELF, &u);
        return ((double) u.ru_utime.tv_sec + (double) u.ru_stime.tv_sec) * 1000.0
               + ((double) u.ru_utime.tv_usec + (double) u.ru_stime.tv_usec) / 1000.0;
    }

    double nowMs() { return juce::Time::getMillisecondCounterHiRes(); }

    void pump (int ms)
    {
        const auto end = nowMs() + ms;
        while (nowMs() < end)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }

    /** A thread that posts a message every 2 ms (once the last one arrived) and
        notes the longest wait from posting to delivery: how long the message
        loop was busy with something else. */
    struct StallProbe : juce::Thread
    {
        StallProbe() : juce::Thread ("stall probe") {}

        void run() override
        {
            while (! threadShouldExit())
            {
                if (! waiting.exchange (true))
                {
                    const double posted = nowMs();
                    juce::MessageManager::callAsync ([this, posted]
                    {
                        const double waited = nowMs() - posted;
                        if (measuring.load())
                            longest = std::max (longest, waited);
                        waiting = false;
                    });
                }
                wait (2);
            }
        }

        std::atomic<bool> waiting { false }, measuring { false };
        double longest = 0.0;   // the message thread
    };

    struct Phase
    {
        double messageShare = 0.0, processShare = 0.0, longestStall = 0.0;
    };

    Phase measure (int seconds)
    {
        StallProbe probe;
        probe.startThread();
        pump (500);
        probe.measuring = true;
        const double t0 = threadMs(), p0 = processMs(), w0 = nowMs();
        pump (seconds * 1000);
        const double wall = nowMs() - w0;
        Phase phase;
        phase.messageShare = 100.0 * (threadMs() - t0) / wall;
        phase.processShare = 100.0 * (processMs() - p0) / wall;
        probe.measuring = false;
        phase.longestStall = probe.longest;
        probe.stopThread (1000);
        pump (50);
        return phase;
    }
} // namespace

int main (int argc, char** argv)
{
    const int seconds = argc > 1 ? juce::jmax (2, std::atoi (argv[1])) : 20;
    if (std::getenv ("DISPLAY") == nullptr)
    {
        std::printf ("oxa_bench_jam: needs a display (DISPLAY is not set); nothing measured\n");
        return 0;
    }

    prepareDisplay();
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    const juce::File stage (OXA_BENCH_STAGE_DIR);
    const auto root = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("oxa-bench-jam", {}, false);
    overrideFolderRoots (stage, root.getChildFile ("documents"));
    for (auto* name : { UserFolder::toolsets, UserFolder::song, UserFolder::rhythm, UserFolder::setting, UserFolder::patchgroup })
    {
        const auto folder = getUserDataFolder (name, false);
        folder.createDirectory();
        stage.getChildFile (name).copyDirectoryTo (folder);
    }
    OxException::setPresenter ([] (const juce::String&, const juce::String&) {});

    {
        oxatest::JackTestServer server;
        if (! server.isRunning())
        {
            std::printf ("oxa_bench_jam: no JACK server: %s\n", server.getError().toRawUTF8());
            return 1;
        }
        oxatest::JackTestClient feed;
        feed.setTone (196.0, 0.3f);
        InstController::setAudioDeviceNameMatch (feed.getName());
        DspLoader::setDefaultResourceFolder (stage.getChildFile ("resources"));

        auto window = std::make_unique<HelloWorldWindow>();
        auto& controller = *window->getController();
        controller.quitApplication = [] {};
        controller.openDeviceIO (true, false);
        pump (1000);
        if (! isAudioReady())
        {
            std::printf ("oxa_bench_jam: the JACK device did not open\n");
            return 1;
        }

        // The session: a rhythm machine on and two recorders, every panel in view.
        controller.request (AddPlayableItem, 0);
        while (controller.getEngine()->getRecorderCount() < 2)
            if (controller.request (AddPlayableItem, 1) == 0)
                break;
        auto* machine = dynamic_cast<Rhythmer*> (controller.getEngine()->getRhythmItem().get());
        if (machine == nullptr)
        {
            std::printf ("oxa_bench_jam: no rhythm machine\n");
            return 1;
        }
        machine->setRhythmOn (true);
        pump (1000);
        auto& jam = controller.getGui()->getJamSection();
        std::printf ("[ figure ] session: song \"%s\", %d panels in the jam section\n",
                     machine->getSong().SongName.toRawUTF8(), jam.getPanels().size());

        const auto idle = measure (seconds);
        machine->play();
        pump (500);
        const auto playing = measure (seconds);
        machine->pause();
        machine->stop();
        pump (300);

        std::printf ("[ figure ] message thread, stopped: %.2f %% of a core, longest stall %.1f ms (process %.1f %%)\n",
                     idle.messageShare, idle.longestStall, idle.processShare);
        std::printf ("[ figure ] message thread, playing: %.2f %% of a core, longest stall %.1f ms (process %.1f %%)\n",
                     playing.messageShare, playing.longestStall, playing.processShare);
        std::printf ("[ figure ] goals: at most 5 %% of a core while playing (%s), no stall over 16 ms (%s)\n",
                     playing.messageShare <= 5.0 ? "met" : "missed", playing.longestStall <= 16.0 ? "met" : "missed");

        window.reset();
        InstController::setAudioDeviceNameMatch ({});
        DspLoader::setDefaultResourceFolder ({});
    }
    clearFolderRootOverrides();
    root.deleteRecursively();
    return 0;
}
