#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <sys/stat.h>

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
} // namespace

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Listing (ctest's discovery) names every test, display or not.
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

    int result = 0;
    {
        // A message manager for the whole run; tests that need a window run under a display.
        juce::ScopedJuceInitialiser_GUI juceInitialiser;
        result = RUN_ALL_TESTS();
    }

    if (ownTemp)
        juce::File (juce::String (pattern)).deleteRecursively();

    // Nothing ran because everything asked for needs a display: ctest shows it as skipped.
    if (! display && result == 0 && ::testing::UnitTest::GetInstance()->test_to_run_count() == 0)
        return skippedExitCode;

    return result;
}
