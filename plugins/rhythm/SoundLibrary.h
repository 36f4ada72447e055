#pragma once

// The rhythm engine's sounds: one General MIDI SoundFont, loaded once per process on a
// thread of its own, and the synthesisers the instances play it on.

#include <oxa/RhythmEngineAbi.h>

#include <fluidsynth.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace T730::Rhythm
{

/** A voice the instances offer: a preset of the SoundFont. */
struct Voice
{
    std::string name;
    int bank = 0;
    int program = 0;
};

/** What the library builds a synthesiser for. Implemented by the instances. */
class SynthClient
{
public:
    /** A synthesiser built for the client at the rate it asked for (library thread). */
    virtual void synthBuilt (fluid_synth_t* synth, int soundFontId) = 0;

protected:
    ~SynthClient() = default;
};

/** One per process (per copy of the library). The first start (or the first
    instance) starts the loading thread; the SoundFont is read once by a synthesiser
    the library keeps for the life of the process, and FluidSynth's sample cache lets
    every instance's synthesiser share its samples, so further synthesisers cost only
    the reading of the preset tables, which the thread does too. */
class SoundLibrary
{
public:
    static SoundLibrary& get();

    /** Starts the thread (first call only; the host and the path of the first call hold). */
    void start (const RhythmEngineHost* host);

    int32_t getState() const noexcept { return state.load (std::memory_order_acquire); }

    /** Asks for a synthesiser at the rate; the answer comes through synthBuilt on the
        library's thread once the sounds are there (never when they are missing). */
    void requestSynth (SynthClient& client, double sampleRate);

    /** Forgets the client's requests, waiting while one is being built. */
    void cancel (SynthClient& client);

    /** The voice lists, valid once the state is ready (empty before). */
    const std::vector<Voice>& getBassVoices() const noexcept { return bassVoices; }
    const std::vector<Voice>& getDrumKits() const noexcept { return drumKits; }

    /** Frees a synthesiser and its settings (not on the audio thread). */
    static void destroySynth (fluid_synth_t* synth);

    /** The Debian package's General MIDI SoundFont. */
    static constexpr const char* defaultSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

private:
    SoundLibrary() = default;
    ~SoundLibrary();

    struct Request
    {
        SynthClient* client;
        double sampleRate;
    };

    void run();
    bool loadSounds();
    void readVoices (fluid_sfont_t* soundFont);
    fluid_synth_t* buildSynth (double sampleRate, int& soundFontId) const;
    void log (const std::string& message) const;

    std::mutex mutex;
    std::condition_variable wake, finished;
    std::deque<Request> requests;           // guarded by mutex
    SynthClient* building = nullptr;        // guarded by mutex
    bool started = false, stopping = false; // guarded by mutex
    std::thread thread;

    std::atomic<int32_t> state { kRhythmSoundsLoading };
    std::string soundFontPath;              // written before the thread starts
    void (*hostLog) (const char*) = nullptr;

    fluid_synth_t* keeper = nullptr;        // the library thread's
    std::vector<Voice> bassVoices, drumKits; // written by the thread before the state turns ready
};

} // namespace T730::Rhythm
