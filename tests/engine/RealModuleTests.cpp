#include <gtest/gtest.h>

#include "TestSupport.h"
#include "engine/DspLoader.h"
#include "engine/TypeLib.h"
#include "engine/TypeLibVolumePdl.h"

#include <cmath>

using namespace T730;

// The staged modules driven through the host's own nodes, as the audio engine
// and the recorder use them.
namespace
{
juce::File stagedResources()
{
    return oxatest::stageFolder().getChildFile ("resources");
}

struct PitchCatcher : NetListOwner
{
    std::vector<float> reports;
    void nodePitchDetected (float frequency) override { reports.push_back (frequency); }
};
} // namespace

TEST (EngineRealModules, ScanFindsTheStagedModules)
{
    DspLoader loader (stagedResources(), true);
    ASSERT_TRUE (loader.waitForScan (20000));
    EXPECT_GE (loader.getNumLibraries(), 3);
    for (auto* name : { "Tuner", "Volume_Pedal", "Decelerator" })
    {
        auto* object = loader.createObject (name);
        EXPECT_NE (object, nullptr) << name;
        DspLoader::closeObject (object);
    }
}

TEST (EngineRealModules, TunerReportsReachTheOwner)
{
    DspLoader loader (stagedResources(), false);
    PitchCatcher owner;
    TypeLibTuner tuner (&owner, &loader);
    ASSERT_NE (tuner.getEffect(), nullptr);

    std::vector<double> left (512), right (512);
    double* channels[2] = { left.data(), right.data() };
    long n = 0;
    for (int block = 0; block < 40; ++block)
    {
        for (int i = 0; i < 512; ++i, ++n)
            left[(size_t) i] = right[(size_t) i] = 0.5 * std::sin (2.0 * M_PI * 440.0 * (double) n / 44100.0);
        tuner.process (channels, channels, 512);
    }
    ASSERT_FALSE (owner.reports.empty());
    EXPECT_NEAR (1200.0 * std::log2 (owner.reports.back() / 440.0), 0.0, 0.5);
}

TEST (EngineRealModules, VolumePedalLevelAndText)
{
    DspLoader loader (stagedResources(), false);
    TypeLibVolumePdl pedal (nullptr, &loader);
    ASSERT_NE (pedal.getEffect(), nullptr);
    EXPECT_GE (pedal.getNumParams(), 2);

    pedal.setRawValue (TypeLibVolumePdl::levelParameter, 0.5f);
    std::vector<float> left (512), right (512);
    for (int block = 0; block < 4; ++block)
    {
        std::fill (left.begin(), left.end(), 0.8f);
        std::fill (right.begin(), right.end(), -0.8f);
        pedal.processFloat (512, left.data(), right.data(), left.data(), right.data());
    }
    EXPECT_NEAR (left[511], 0.4f, 1e-6);
    EXPECT_NEAR (right[511], -0.4f, 1e-6);

    juce::String text;
    ASSERT_TRUE (pedal.getParamText (TypeLibVolumePdl::levelParameter, text));
    EXPECT_TRUE (text.startsWith ("Level : 50")) << text;
}

TEST (EngineRealModules, DeceleratorAtNormalSpeedPassesTheSignal)
{
    DspLoader loader (stagedResources(), false);
    TypeLib decelerator ("Decelerator", nullptr, true, false, &loader);
    ASSERT_NE (decelerator.getEffect(), nullptr);
    decelerator.setRawValue (0, 1.0f);

    std::vector<double> left (512), right (512), expected (512);
    for (int i = 0; i < 512; ++i)
        expected[(size_t) i] = left[(size_t) i] = right[(size_t) i] = std::sin (i * 0.05);
    double* channels[2] = { left.data(), right.data() };
    decelerator.process (channels, channels, 512);
    EXPECT_EQ (left, expected);
    EXPECT_EQ (right, expected);
}
