#include "PluginsTestSupport.h"
#include "SyntheticTone.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace moduletest;

// Level 0.5 halves the amplitude once the 10 ms glide is over; the glide moves the gain in
// even steps (no zipper noise) from 1.0 to 0.5.
TEST (PluginsVolumePedal, HalfLevelHalvesTheAmplitude)
{
    ModuleLibrary library (modulePath ("Volume_Pedal"));
    ASSERT_TRUE (library.isOpen()) << library.getError();
    auto pedal = library.create();
    ASSERT_TRUE (pedal);

    StereoSignal in;
    appendSine (in, 997.0, 0.1, 44100.0, 0.8);
    for (size_t i = 0; i < in.size(); ++i)
        in.right[i] = -0.5 * in.left[i];

    auto untouched = in;
    processInPlace (pedal.get(), untouched.left, untouched.right, 512);
    EXPECT_EQ (untouched.left, in.left) << "level 1.0 leaves the signal alone";

    pedal->setParameter (1, 0.5f);
    auto out = in;
    processInPlace (pedal.get(), out.left, out.right, 512);

    const size_t glide = 441;
    for (size_t i = glide; i < in.size(); ++i)
    {
        ASSERT_NEAR (out.left[i], 0.5 * in.left[i], 1e-12) << "frame " << i;
        ASSERT_NEAR (out.right[i], 0.5 * in.right[i], 1e-12) << "frame " << i;
    }
    double previousGain = 1.0;
    long previousFrame = -1;
    for (size_t i = 0; i < glide; ++i)
    {
        if (std::abs (in.left[i]) < 0.05)
            continue;   // the gain is not measurable near a zero crossing
        const double gain = out.left[i] / in.left[i];
        const auto frames = static_cast<double> (static_cast<long> (i) - previousFrame);
        EXPECT_LE (gain, previousGain + 1e-9) << "frame " << i;
        EXPECT_LE (previousGain - gain, frames * 0.5 / glide + 1e-9) << "a jump at frame " << i;
        previousGain = gain;
        previousFrame = static_cast<long> (i);
    }
    EXPECT_NEAR (previousGain, 0.5, 0.01);
}

// The host's text "name : display label" follows the level in whole percent.
TEST (PluginsVolumePedal, TextFollowsTheLevel)
{
    ModuleLibrary library (modulePath ("Volume_Pedal"));
    auto pedal = library.create();
    ASSERT_TRUE (pedal);

    EXPECT_EQ (pedal.paramText (1), "Level : 100");
    for (const auto& [level, text] : { std::pair { 0.5f, "Level : 50" }, std::pair { 0.0f, "Level : 0" },
                                       std::pair { 0.73f, "Level : 73" }, std::pair { 1.0f, "Level : 100" } })
    {
        pedal->setParameter (1, level);
        EXPECT_EQ (pedal.paramText (1), text);
        EXPECT_FLOAT_EQ (pedal->getParameter (1), level);
    }

    char buffer[T730::kTextBufferSize] {};
    pedal->getDisplayTextForValue (1, 0.25f, buffer);
    EXPECT_STREQ (buffer, "25") << "text for a value that is not the current one";
    EXPECT_EQ (pedal.paramText (1), "Level : 100") << "asking for another value's text changes nothing";

    // 0 to 100 in whole steps, as the host's step model reads it.
    T730::EffectParamProperties properties {};
    ASSERT_TRUE (pedal->getParameterProperties (1, &properties));
    EXPECT_TRUE (properties.flags & T730::kParamUsesIntegerMinMax);
    EXPECT_EQ (properties.maxInteger - properties.minInteger, 100);
}
