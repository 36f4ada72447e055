#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

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

    return result;
}
