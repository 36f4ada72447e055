#pragma once

// The figures' tests: a pose target that records what a motion sets, a controller
// link that answers the settings, and the rhythm machine on a test transport that
// moves one frame (1470 samples) at a time.

#include "rhythm/RhythmerTestSupport.h"

#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/JamOwner.h"
#include "players/FigureMotion.h"
#include "ui/ControllerLink.h"

namespace playerstest
{

struct RecordingTarget : T730::PoseTarget
{
    bool isAnimating() override { return animating; }
    void setAnimating (bool a) override { animating = a; }
    void setFrame (int group, int index) override
    {
        poses[(size_t) group] = index;
        ++calls[(size_t) group];
    }

    bool animating = false;
    std::array<int, 16> poses {};
    std::array<int, 16> calls {};
};

/** Answers GetAppSetting with its own settings. */
struct SettingsLink : T730::ControllerLink
{
    int request (int code, int, int, void* data) override
    {
        if (code == T730::GetAppSetting && data != nullptr)
        {
            *static_cast<T730::AppSetting**> (data) = &settings;
            return T730::requestTrue;
        }
        return T730::requestFalse;
    }
    T730::Project& getCurrentProject() override { return project; }

    T730::AppSetting settings;
    T730::Project project;
};

/** The audio side as running (the transport commands need it), restored afterwards. */
struct ScopedAudioRunning
{
    ScopedAudioRunning() : was (T730::getEngineSettings().audioRunning.load()) { T730::getEngineSettings().audioRunning = true; }
    ~ScopedAudioRunning() { T730::getEngineSettings().audioRunning = was; }
    bool was;
};

/** A jam whose recorder is armed or not (the count-in plays only for a recording). */
struct ArmedJam : T730::JamOwner
{
    bool isAnyRecorderArmed() override { return armed; }
    void itemsStopped() override {}
    void loopWrapped() override {}
    void itemsLocated() override {}
    void jamChanged() override {}
    bool armed = false;
};

constexpr int samplesPerFrame = 1470;   // 44100 / 30

/** One frame of the figures as their views see it: what the machine published. */
struct FrameSeen
{
    juce::int64 frame;
    T730::RhythmTransport transport;
};

class FigureFixture : public rhythmtest::RhythmerFixture
{
protected:
    FigureFixture() { sync.setOwner (&jam); }
    ~FigureFixture() override { sync.setOwner (nullptr); }

    /** One block of a frame's samples through the machine, as the audio callback plays it. */
    void playFrame()
    {
        const juce::ScopedLock sl (T730::getAudioLock());
        float* out[2] = { left.data(), right.data() };
        const float* in[2] = { left.data(), right.data() };
        machine->process (in, out, samplesPerFrame);
        sync.advance (samplesPerFrame);
    }

    /** The song of one pattern (notes in ticks of 480 per quarter, one 4/4 bar at 120 BPM). */
    void loadBar (const std::vector<rhythmtest::Note>& notes, int repeat = 0)
    {
        writePattern ("P", notes, 1920);
        const auto song = writeSong ("Song.xml", { { "P", 0 } }, 120, repeat);
        machine = makeMachine();
        ASSERT_TRUE (machine->loadSong (song, {}));
    }

    ScopedAudioRunning running;
    ArmedJam jam;
    T730::Rhythmer::Ptr machine;
    std::vector<float> left = std::vector<float> (samplesPerFrame), right = std::vector<float> (samplesPerFrame);
};

} // namespace playerstest
