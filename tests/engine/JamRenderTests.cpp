// A jam rendered offline through the jam list, as the audio callback and the
// mix-down render it, compared sample by sample with a reference computed here.
#include <gtest/gtest.h>

#include "JamTestItems.h"
#include "TestSupport.h"
#include "documents/Project.h"
#include "engine/AudioLock.h"
#include "engine/DspMain.h"

#include "../recorder/WaveTestSupport.h"

using namespace T730;

namespace
{
    constexpr int r = 441;

    int takeLeft (int seed, juce::int64 i) { return (int) ((i * (5 + seed)) % 16000) - 8000; }

    struct TakeFactory : public PlayableItemFactory
    {
        PlayableItem::Ptr createRhythmItem (Synchronizer& s, bool) override { return new oxatest::ToneItem (s); }
        PlayableItem::Ptr createRecorderItem (Synchronizer& s) override { return new oxatest::TakeItem (s); }
    };

    /** One region's own fades on whatever lies at x (the take's rule). */
    double regionGain (juce::int64 x, juce::int64 start, juce::int64 end)
    {
        double g = 1.0;
        if (x >= end && x < end + r)          g *= (double) (x - end) / r;
        if (x >= start && x < start + r)      g *= (double) (x - start) / r;
        if (x >= end - r && x < end)          g *= 1.0 - (double) (x - (end - r)) / r;
        if (x >= start - r && x < start)      g *= 1.0 - (double) (x - (start - r)) / r;
        return g;
    }
} // namespace

TEST (EngineJamRender, AJamOfItemsRendersSampleBySampleAsComputed)
{
    oxatest::ScopedEngineRunning running;
    oxatest::TempFolder tmp;
    Synchronizer sync;
    TakeFactory factory;
    DspMain engine (nullptr, &factory, sync);

    ASSERT_TRUE (engine.addJamItem (0, {}, tmp.get()));
    ASSERT_TRUE (engine.addJamItem (1, {}, tmp.get()));
    ASSERT_TRUE (engine.addJamItem (1, {}, tmp.get()));   // an empty take: silence

    // The first recorder's take: an older region 0..30000 and a newer one 10000..15000 over it.
    auto& take = dynamic_cast<oxatest::TakeItem&> (*engine.getRecorder (0)).take;
    for (int seed : { 1, 2 })
    {
        const int frames = seed == 1 ? 30000 : 5000;
        const auto file = tmp / ("Audio" + juce::String (seed) + ".wav");
        oxatest::writeBytes (file, oxatest::recorderFile (oxatest::stereoFrames (frames, [seed] (int i) { return std::make_pair (takeLeft (seed, i), 0); })));
        ASSERT_TRUE (take.addRecording (file, seed == 1 ? 0 : 10000, -1));
    }

    const auto takeAt = [] (juce::int64 x)
    {
        double older = x < 30000 ? takeLeft (1, x) / 32768.0 : 0.0;
        older *= regionGain (x, 0, 30000);
        double out = older;
        if (x >= 10000 && x < 15000)
            out = takeLeft (2, x - 10000) / 32768.0;
        return out * regionGain (x, 10000, 15000);
    };

    // The callback's part: rhythm and mix, summed, then the synchroniser.
    std::vector<float> buffers (8 * 1024);
    float* rhythm[2] = { &buffers[0], &buffers[1024] };
    float* item[2] = { &buffers[2048], &buffers[3072] };
    float* mix[2] = { &buffers[4096], &buffers[5120] };
    const float* input[2] = { &buffers[6144], &buffers[7168] };
    std::vector<float> output;

    const auto renderBlock = [&] (int n)
    {
        const juce::ScopedLock sl (getAudioLock());
        engine.getRenderList()->renderBlock (input, rhythm, item, mix, n);
        for (int i = 0; i < n; ++i)
            output.push_back (mix[0][i] + rhythm[0][i]);
        sync.advance (n);
    };

    sync.getMaster().play();
    const int sizes[] = { 256, 100, 512, 37, 1024, 441 };
    for (int b = 0; sync.getTotal() < 20000; ++b)
        renderBlock (sizes[b % 6]);

    const auto commandTotal = sync.getTotal();
    sync.getMaster().stop (false);
    for (int b = 0; sync.getTotal() < commandTotal + 2000; ++b)
        renderBlock (sizes[b % 6]);

    EXPECT_TRUE (sync.getMaster().isStopped());
    ASSERT_EQ ((juce::int64) output.size(), sync.getTotal());

    for (juce::int64 t = 0; t < (juce::int64) output.size(); ++t)
    {
        double transport = juce::jmin (1.0, (double) t / r);
        if (t >= commandTotal)
            transport *= t < commandTotal + r ? 1.0 - (double) (t - commandTotal) / r : 0.0;

        const double expected = (oxatest::toneLeft (t) + takeAt (t)) * transport;
        ASSERT_NEAR (output[(size_t) t], expected, 3.0e-6) << t;
    }
}
