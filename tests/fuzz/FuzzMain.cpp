// The libFuzzer side: one executable per target (OXA_FUZZ_ONLY names it).

#include "FuzzTarget.h"

#include <juce_events/juce_events.h>

#include <cstdio>
#include <cstdlib>

namespace
{
    oxafuzz::Entry chosen = nullptr;

    /** The program logs every error it shows; while fuzzing that is noise. */
    struct SilentLogger final : public juce::Logger
    {
        void logMessage (const juce::String&) override {}
    };
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    static juce::ScopedJuceInitialiser_GUI juceInitialiser;
    static SilentLogger silent;
    juce::Logger::setCurrentLogger (&silent);

    for (const auto& target : oxafuzz::all())
    {
        if (target.name != OXA_FUZZ_ONLY)
            continue;

        chosen = target.entry;

        // scripts/fuzz asks where the target's seeds are.
        if (std::getenv ("OXA_FUZZ_LIST_SEEDS") != nullptr)
        {
            for (const auto& seed : target.seeds)
                std::printf ("%s\n", seed.c_str());
            std::exit (0);
        }
    }

    if (chosen == nullptr)
    {
        std::fprintf (stderr, "no fuzz target named %s\n", OXA_FUZZ_ONLY);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    return chosen (data, size);
}
