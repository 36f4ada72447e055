#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // A message manager for the whole run; tests that need a window run under a display.
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    return RUN_ALL_TESTS();
}
