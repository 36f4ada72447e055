#include "platform/Platform.h"
#include "players/Player.h"
#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    /** The exit code ctest reads as "skipped" (SKIP_RETURN_CODE of every test). */
    constexpr int skippedExitCode = 77;

    /** A display is there when DISPLAY names one. One that is named but cannot be
        opened is reported, and its tests run (and fail) rather than being skipped. */
    bool haveDisplay()
    {
        const char* name = std::getenv ("DISPLAY");
        if (name == nullptr || *name == 0)
            return false;

        if (auto* display = XOpenDisplay (nullptr))
            XCloseDisplay (display);
        else
            std::cout << "DISPLAY=" << name << " cannot be opened: the display tests will fail.\n";

        return true;
    }

    /** Leaves out the suites that need a display (<Subsystem>Gui..., <Subsystem>E2E...). */
    void leaveOutDisplayTests()
    {
        std::string filter = GTEST_FLAG_GET (filter);
        const std::string displaySuites = "*Gui*.*:*E2E*.*";
        filter += filter.find ('-') == std::string::npos ? "-" + displaySuites : ":" + displaySuites;
        GTEST_FLAG_SET (filter, filter);
    }

    /** An X server of this test process's own. ctest runs display tests side by
        side; on one shared display another process's window over a dialog takes
        the clicks a test sends (JUCE asks the server which window is on top), and
        pointer and focus changes of one test reach the others. */
    class OwnDisplay
    {
    public:
        /** Starts Xvfb on the first free display number; false leaves DISPLAY alone. */
        bool start()
        {
            int fds[2];
            if (::pipe (fds) != 0)
                return false;

            child = ::fork();
            if (child == 0)
            {
                // The server goes with this process, however it ends.
                ::prctl (PR_SET_PDEATHSIG, SIGTERM);
                ::close (fds[0]);
                const auto fd = std::to_string (fds[1]);
                const int devNull = ::open ("/dev/null", O_WRONLY);
                if (devNull >= 0)
                {
                    ::dup2 (devNull, STDOUT_FILENO);
                    ::dup2 (devNull, STDERR_FILENO);
                }
                ::execlp ("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                          "-nolisten", "tcp", "-noreset", (char*) nullptr);
                ::_exit (127);
            }

            ::close (fds[1]);
            if (child < 0)
            {
                ::close (fds[0]);
                return false;
            }

            // Xvfb writes its display number once it accepts clients.
            std::string number;
            pollfd reader { fds[0], POLLIN, 0 };
            char c = 0;
            while (::poll (&reader, 1, 10000) > 0 && ::read (fds[0], &c, 1) == 1 && c != '\n')
                number += c;
            ::close (fds[0]);

            if (number.empty())
            {
                stop();
                return false;
            }

            ::setenv ("DISPLAY", (":" + number).c_str(), 1);
            return true;
        }

        void stop()
        {
            if (child > 0)
            {
                ::kill (child, SIGTERM);
                ::waitpid (child, nullptr, 0);
                child = -1;
            }
        }

        ~OwnDisplay() { stop(); }

    private:
        pid_t child = -1;
    };

    /** Display tests are run one per process by ctest; a run of them by hand may
        share the display it was given (OXA_TEST_SHARED_DISPLAY=1). */
    bool wantsOwnDisplay()
    {
        const char* shared = std::getenv ("OXA_TEST_SHARED_DISPLAY");
        if (shared != nullptr && *shared != 0 && std::string (shared) != "0")
            return false;
        const std::string filter = GTEST_FLAG_GET (filter);
        const auto positive = filter.substr (0, filter.find ('-'));
        return positive.find ("Gui") != std::string::npos || positive.find ("E2E") != std::string::npos;
    }
} // namespace

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Listing (ctest's discovery) names every test, display or not.
    OwnDisplay ownDisplay;
    if (! GTEST_FLAG_GET (list_tests) && std::getenv ("DISPLAY") != nullptr && wantsOwnDisplay())
        ownDisplay.start();

    const bool display = GTEST_FLAG_GET (list_tests) || haveDisplay();
    if (! display)
    {
        std::cout << "No X display: tests that need one (suites named *Gui* or *E2E*) are skipped.\n"
                     "Run them with ./test, which starts Xvfb, or under a display (DISPLAY=... or xvfb-run).\n";
        leaveOutDisplayTests();
    }

    // Each test process gets a temporary folder of its own: ctest runs tests side by
    // side, and the program keeps fixed names there ("OXA Tools Temporary").
    const char* base = std::getenv ("TMPDIR");
    std::string pattern = std::string (base != nullptr && *base != 0 ? base : "/tmp") + "/oxa-tests-XXXXXX";
    const bool ownTemp = ::mkdtemp (pattern.data()) != nullptr;
    if (ownTemp)
    {
        ::setenv ("TMPDIR", pattern.c_str(), 1);
        // The program's private work folder lives in the cache folder: one per test process too.
        const auto cache = pattern + "/cache";
        if (::mkdir (cache.c_str(), 0700) == 0)
            ::setenv ("XDG_CACHE_HOME", cache.c_str(), 1);
    }

    // The download page asks its server as soon as it is made: in tests (and in
    // the programs they start) that is a closed port on this machine unless a
    // test names its own local server.
    ::setenv ("OXA_DOWNLOAD_SERVER", "http://127.0.0.1:9", 0);

    // As the program does: a write to a closed pipe or socket is an error, not the end of the process.
    T730::platform::ignoreBrokenPipes();

    int result = 0;
    {
        // A message manager for the whole run; tests that need a window run under a display.
        juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = RUN_ALL_TESTS();

        // A 3D view closed after it left its window leaves that window's peer
        // pointing at it: a crash on a later expose event, long after the fault.
        if (const int orphaned = T730::Player::getOrphanedViewCount(); orphaned > 0)
        {
            std::cout << orphaned << " 3D view(s) closed after leaving their window: close a view before taking it "
                                     "(or what holds it) out of the window.\n";
            result = 1;
        }
    }

    if (ownTemp)
        juce::File (juce::String (pattern)).deleteRecursively();

    // Nothing ran because everything asked for needs a display: ctest shows it as skipped.
    if (! display && result == 0 && ::testing::UnitTest::GetInstance()->test_to_run_count() == 0)
        return skippedExitCode;

    return result;
}
