// The rhythm engine library through its plug-in format: the real FluidSynth engine on
// Debian's General MIDI SoundFont.
#include "rhythm/RhythmEngineHost.h"

#include "RhythmTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
    juce::File engineLibrary()
    {
        return oxatest::stageFolder().getChildFile ("resources/rhythmmachine.so");
    }

    std::unique_ptr<RhythmEngineInstance> makeEngine (const juce::File& library = engineLibrary())
    {
        juce::String error;
        auto engine = getRhythmEngineFormat().createInstance (RhythmEngineFormat::describe (library), 44100.0, 512, error);
        EXPECT_NE (engine, nullptr) << error;
        if (engine != nullptr)
            engine->prepareToPlay (44100.0, 4096);
        return engine;
    }

    /** A play head that reports the position of the block being rendered. */
    struct Head : juce::AudioPlayHead
    {
        juce::int64 samples = 0;
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setTimeInSamples (samples);
            return info;
        }
    };

    /** Renders `total` samples in blocks of `block`, the notes at their absolute samples. */
    juce::AudioBuffer<float> render (RhythmEngineInstance& engine, int total, int block,
                                     const std::vector<std::pair<int, juce::MidiMessage>>& notes)
    {
        Head head;
        engine.setPlayHead (&head);
        juce::AudioBuffer<float> out (2, total), work (2, block);
        juce::MidiBuffer midi;
        for (int start = 0; start < total; start += block)
        {
            const int n = std::min (block, total - start);
            juce::AudioBuffer<float> view (work.getArrayOfWritePointers(), 2, n);
            midi.clear();
            for (auto& [at, message] : notes)
                if (at >= start && at < start + n)
                    midi.addEvent (message, at - start);
            head.samples = start;
            engine.processBlock (view, midi);
            for (int c = 0; c < 2; ++c)
                out.copyFrom (c, start, view, c, 0, n);
        }
        engine.setPlayHead (nullptr);
        return out;
    }

    /** The first sample above the reverb's tiny idle output. */
    int firstSound (const juce::AudioBuffer<float>& b)
    {
        for (int i = 0; i < b.getNumSamples(); ++i)
            if (std::abs (b.getSample (0, i)) > 1.0e-4f || std::abs (b.getSample (1, i)) > 1.0e-4f)
                return i;
        return -1;
    }
} // namespace

TEST (RhythmEngine, OffersTheSoundFontsBassesAndKitsByTheirPresetNames)
{
    auto engine = makeEngine();
    ASSERT_NE (engine, nullptr);
    ASSERT_TRUE (engine->waitUntilReady (60000)) << "the SoundFont loads";

    EXPECT_EQ (engine->getParameters().size(), kRhythmNumParameters);
    EXPECT_EQ (engine->getVoiceName (0), "Fingered Bass");
    EXPECT_EQ (engine->getVoiceName (kRhythmFirstDrumKit), "Standard");
    EXPECT_EQ (engine->getParameters()[kRhythmFirstDrumKit]->getName (64), "Standard");

    const int basses = engine->getNumVoices (false), kits = engine->getNumVoices (true);
    EXPECT_GE (basses, 8);
    EXPECT_LE (basses, kRhythmMaxBassVoices);
    EXPECT_GE (kits, 8);
    EXPECT_LE (kits, kRhythmMaxDrumKits);
    EXPECT_EQ (engine->getVoiceName (basses), "");
    EXPECT_EQ (engine->getVoiceName (kRhythmFirstDrumKit + kits), "");
    for (int i = 0; i < basses; ++i)
        EXPECT_TRUE (engine->getVoiceName (i).containsIgnoreCase ("bass")) << engine->getVoiceName (i);
}

TEST (RhythmEngine, NotesStartOnTheTimelinesGridAndSoundTheSameHoweverTheBlocksAreCut)
{
    const auto kickAt = [] (int sample)
    {
        return std::vector<std::pair<int, juce::MidiMessage>> { { sample, juce::MidiMessage::noteOn (10, 36, (juce::uint8) 110) } };
    };

    // A note starts at the first grid point at or after its offset: 100 and 127 at 128, 129 at 192.
    std::vector<int> onsets;
    for (int at : { 100, 127, 129 })
    {
        auto engine = makeEngine();
        ASSERT_TRUE (engine != nullptr && engine->waitUntilReady (60000));
        onsets.push_back (firstSound (render (*engine, 4096, 512, kickAt (at))));
    }
    EXPECT_GE (onsets[0], 128);
    EXPECT_EQ (onsets[1], onsets[0]);
    EXPECT_EQ (onsets[2], onsets[0] + 64);

    const std::vector<std::pair<int, juce::MidiMessage>> notes {
        { 100, juce::MidiMessage::noteOn (10, 36, (juce::uint8) 110) },
        { 5000, juce::MidiMessage::noteOn (10, 42, (juce::uint8) 90) },
        { 7000, juce::MidiMessage::noteOn (1, 40, (juce::uint8) 100) },
        { 20000, juce::MidiMessage::noteOff (1, 40) },
    };

    auto a = makeEngine(), b = makeEngine(), c = makeEngine();
    ASSERT_TRUE (a != nullptr && b != nullptr && c != nullptr);
    ASSERT_TRUE (a->waitUntilReady (60000) && b->waitUntilReady (60000) && c->waitUntilReady (60000));

    const auto live = render (*a, 30000, 441, notes);
    const auto offline = render (*b, 30000, 4096, notes);
    int differences = 0;
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 30000; ++i)
            differences += live.getSample (ch, i) != offline.getSample (ch, i);
    EXPECT_EQ (differences, 0) << "blocks of 441 and of 4096 give the same samples";
    EXPECT_GT (live.getMagnitude (0, 0, 30000), 0.05f);
    EXPECT_LT (live.getMagnitude (0, 0, 30000), 1.0f);

    // An engine that played before starts afresh at the jump: what was playing leaves
    // nothing audible behind (a voice reused by the synthesiser starts within a few
    // millionths of a fresh one), and every note lands on the same sample.
    render (*c, 777, 777, kickAt (10));
    const auto again = render (*c, 30000, 441, notes);
    float largest = 0.0f;
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 30000; ++i)
            largest = std::max (largest, std::abs (again.getSample (ch, i) - offline.getSample (ch, i)));
    EXPECT_LT (largest, 1.0e-4f);
    EXPECT_EQ (firstSound (again), firstSound (offline));
}

TEST (RhythmEngine, AMissingSoundFontLeavesTheInstancesSilentWithOneLogLine)
{
    // A copy of the library is a library of its own: it loads its own sounds.
    oxatest::TempFolder temp;
    const auto copy = temp / "rhythmcopy.so";
    ASSERT_TRUE (engineLibrary().copyFileTo (copy));

    oxatest::LogCapture log;
    RhythmEngineFormat::setSoundFontPath ((temp / "missing.sf2").getFullPathName());
    auto engine = makeEngine (copy);
    RhythmEngineFormat::setSoundFontPath ({});
    ASSERT_NE (engine, nullptr);

    EXPECT_FALSE (engine->waitUntilReady (20000));
    EXPECT_EQ (getRhythmEngineFormat().getLoadState (copy), (int) kRhythmSoundsMissing);
    const auto out = render (*engine, 2048, 512, { { 10, juce::MidiMessage::noteOn (10, 38, (juce::uint8) 120) } });
    EXPECT_EQ (out.getMagnitude (0, 0, 2048), 0.0f);
    EXPECT_EQ (engine->getVoiceName (0), "");
    EXPECT_EQ (engine->getNumVoices (true), 0);

    auto second = makeEngine (copy);
    ASSERT_NE (second, nullptr);
    EXPECT_FALSE (second->waitUntilReady (100));
    const auto lines = log.getLines();
    ASSERT_EQ (lines.size(), 1) << lines.joinIntoString ("\n");
    EXPECT_TRUE (lines[0].contains ("missing.sf2"));
}

TEST (RhythmEngine, LoadingStartedInTheBackgroundNeedsNoInstance)
{
    oxatest::TempFolder temp;
    const auto copy = temp / "rhythmpreload.so";
    ASSERT_TRUE (engineLibrary().copyFileTo (copy));

    getRhythmEngineFormat().startLoadingInBackground (copy);
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return getRhythmEngineFormat().getLoadState (copy) == kRhythmSoundsReady; },
                                             60000));
}

TEST (RhythmEngine, AFileThatIsNoEngineGivesNoInstance)
{
    oxatest::TempFolder temp;
    const auto fake = temp / "notanengine.so";
    ASSERT_TRUE (fake.replaceWithText ("nothing"));
    juce::String error;
    EXPECT_EQ (getRhythmEngineFormat().createInstance (RhythmEngineFormat::describe (fake), 44100.0, 512, error), nullptr);
    EXPECT_TRUE (error.isNotEmpty());
    EXPECT_FALSE (getRhythmEngineFormat().startLoading (temp / "absent.so"));

    juce::OwnedArray<juce::PluginDescription> types;
    getRhythmEngineFormat().findAllTypesForFile (types, engineLibrary().getFullPathName());
    ASSERT_EQ (types.size(), 1);
    EXPECT_EQ (types[0]->name, "rhythmmachine");
    EXPECT_TRUE (types[0]->isInstrument);
}
