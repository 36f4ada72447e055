#pragma once

// A recorder driven offline block by block as the engine drives its items: a
// synthetic input that is a known function of the engine's sample count, the
// item's process, then the synchroniser's advance. What it played is kept by
// timeline position.

#include "../engine/JamTestItems.h"
#include "TestSupport.h"
#include "WaveTestSupport.h"
#include "engine/DspLoader.h"
#include "engine/EngineSettings.h"
#include "engine/Synchronizer.h"
#include "recorder/Recorder.h"
#include "recorder/WaveFile.h"

#include <map>
#include <memory>
#include <vector>

namespace oxatest
{

/** Stored sample values of the synthetic input at an engine sample count (exact in 16 bits). */
inline int inputLeftAt (juce::int64 t)  { return (int) ((t * 7) % 20000) - 10000; }
inline int inputRightAt (juce::int64 t) { return (int) ((t * 3) % 16000) - 8000; }

/** Sets the device latencies the recorder compensates for; restores them afterwards. */
struct ScopedLatency
{
    ScopedLatency (int output, int input)
        : oldOutput (T730::getEngineSettings().outputLatency.load()), oldInput (T730::getEngineSettings().inputLatency.load())
    {
        T730::getEngineSettings().outputLatency = output;
        T730::getEngineSettings().inputLatency = input;
    }
    ~ScopedLatency()
    {
        T730::getEngineSettings().outputLatency = oldOutput;
        T730::getEngineSettings().inputLatency = oldInput;
    }
    int oldOutput, oldInput;
};

/** Counts what the recorder tells its owner; a punch-out finishes the pass at once. */
struct RecordingOwner final : public T730::RecorderOwner
{
    void recorderProblem (Problem problem) override { problems.push_back (problem); }
    void recorderPunchedOut (T730::Recorder& recorder) override
    {
        ++punchOuts;
        recorder.finishPass();
    }

    std::vector<Problem> problems;
    int punchOuts = 0;
};

/** A recorder-format file of n frames, both channels the same constant stored value. */
inline bool writeConstantTake (const juce::File& file, int frames, int value)
{
    return writeBytes (file, recorderFile (stereoFrames (frames, [value] (int) { return std::make_pair (value, value); })));
}

/** The frames of a recorder file as stored values, left and right. */
inline std::vector<std::pair<int, int>> storedFrames (const juce::File& file)
{
    const auto bytes = readBytes (file);
    std::vector<std::pair<int, int>> frames;
    for (size_t at = 44; at + 4 <= bytes.size(); at += 4)
        frames.emplace_back ((int16_t) (bytes[at] | (bytes[at + 1] << 8)), (int16_t) (bytes[at + 2] | (bytes[at + 3] << 8)));
    return frames;
}

class RecorderRig
{
public:
    explicit RecorderRig (bool withModules = true, int latencyOut = 100, int latencyIn = 156)
        : latency (latencyOut, latencyIn),
          modules (withModules ? stageFolder().getChildFile ("resources") : tmp / "no-modules", false)
    {
        owner = std::make_shared<RecordingOwner>();
        recorder = make();
        recorder->setLevel (100);
    }

    T730::Recorder::Ptr make()
    {
        T730::Recorder::Environment environment;
        environment.owner = owner;
        environment.modules = &modules;
        T730::Recorder::Ptr made (new T730::Recorder (sync, environment));
        made->prepare (44100.0, 512);
        return made;
    }

    /** The tool set folder the recorder saves into (its take folder beside its setting file). */
    juce::File toolSet() const { return tmp.get(); }

    /** One block of n frames through the item, input taken at the engine's sample count. */
    void block (int n = 512, T730::Recorder* item = nullptr)
    {
        auto* r = item != nullptr ? item : recorder.get();
        inL.resize ((size_t) n);
        inR.resize ((size_t) n);
        outL.assign ((size_t) n, 0.0f);
        outR.assign ((size_t) n, 0.0f);
        const auto total = sync.getTotal();
        for (int i = 0; i < n; ++i)
        {
            inL[(size_t) i] = (float) inputLeftAt (total + i) / 32768.0f;
            inR[(size_t) i] = (float) inputRightAt (total + i) / 32768.0f;
        }

        const auto* ps = r->getCurrentPlayState();
        const float* in[2] = { inL.data(), inR.data() };
        float* out[2] = { outL.data(), outR.data() };
        r->process (in, out, n);

        // Positions of this block: the play state's position as it rendered.
        if (ps->isPlaying())
        {
            const auto position = ps->getPosition();
            for (int i = 0; i < n; ++i)
                played[position + i] = { outL[(size_t) i], outR[(size_t) i] };
        }
        sync.advance (n);
    }

    /** Blocks until the master's position reaches the target. */
    void playUntil (juce::int64 position, int n = 512)
    {
        for (int guard = 0; guard < 100000 && sync.getMaster().getPosition() < position; ++guard)
            block (n);
    }

    /** The engine sample count at which timeline position 0 of the current playback sounded. */
    juce::int64 timelineZero() { return sync.getMaster().getStartTotal() - sync.getMaster().getStartPosition(); }

    ScopedEngineRunning running;
    TempFolder tmp;
    ScopedLatency latency;
    T730::Synchronizer sync;
    T730::DspLoader modules;
    std::shared_ptr<RecordingOwner> owner;
    T730::Recorder::Ptr recorder;

    std::vector<float> inL, inR, outL, outR;
    std::map<juce::int64, std::pair<float, float>> played;
};

} // namespace oxatest
