#include "SoundLibrary.h"

#include <algorithm>
#include <sys/stat.h>

namespace T730::Rhythm
{

namespace
{
    /** General MIDI bass programs, in the order the voice list offers them. */
    constexpr int bassPrograms[] = { 33, 34, 32, 35, 36, 37, 38, 39 };
    constexpr int drumBank = 128;

    /** Headroom for two parts and the jam: a full-velocity kit peaks well below 1. */
    constexpr double synthGain = 0.8;
    constexpr int polyphony = 32;

    void quietLog (int, const char*, void*) {}

    bool isBassProgram (int program)
    {
        return std::find (std::begin (bassPrograms), std::end (bassPrograms), program) != std::end (bassPrograms);
    }
} // namespace

SoundLibrary& SoundLibrary::get()
{
    static SoundLibrary library;
    return library;
}

SoundLibrary::~SoundLibrary()
{
    {
        std::lock_guard<std::mutex> lock (mutex);
        stopping = true;
        requests.clear();
    }
    wake.notify_all();
    if (thread.joinable())
        thread.join();
    if (keeper != nullptr)
        destroySynth (keeper);
}

void SoundLibrary::start (const RhythmEngineHost* host)
{
    std::lock_guard<std::mutex> lock (mutex);
    if (started)
        return;

    started = true;
    if (host != nullptr && host->abiVersion >= 1)
    {
        hostLog = host->log;
        if (host->soundFontPath != nullptr && *host->soundFontPath != 0)
            soundFontPath = host->soundFontPath;
    }
    if (soundFontPath.empty())
        soundFontPath = defaultSoundFont;

    // FluidSynth writes its own messages to the terminal; the engine reports through the host.
    for (int level = 0; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function (level, quietLog, nullptr);

    thread = std::thread ([this] { run(); });
}

void SoundLibrary::requestSynth (SynthClient& client, double sampleRate)
{
    {
        std::lock_guard<std::mutex> lock (mutex);
        // A newer request of the client replaces an older one still waiting.
        requests.erase (std::remove_if (requests.begin(), requests.end(),
                                        [&] (const Request& r) { return r.client == &client; }),
                        requests.end());
        requests.push_back ({ &client, sampleRate });
    }
    wake.notify_all();
}

void SoundLibrary::cancel (SynthClient& client)
{
    std::unique_lock<std::mutex> lock (mutex);
    requests.erase (std::remove_if (requests.begin(), requests.end(),
                                    [&] (const Request& r) { return r.client == &client; }),
                    requests.end());
    finished.wait (lock, [&] { return building != &client; });
}

void SoundLibrary::destroySynth (fluid_synth_t* synth)
{
    if (synth == nullptr)
        return;
    auto* settings = fluid_synth_get_settings (synth);
    delete_fluid_synth (synth);
    delete_fluid_settings (settings);
}

void SoundLibrary::log (const std::string& message) const
{
    if (hostLog != nullptr)
        hostLog (message.c_str());
}

//==============================================================================
void SoundLibrary::run()
{
    if (! loadSounds())
    {
        log ("Rhythm engine: the SoundFont \"" + soundFontPath + "\" cannot be read; drums and bass stay silent.");
        state.store (kRhythmSoundsMissing, std::memory_order_release);
        std::lock_guard<std::mutex> lock (mutex);
        requests.clear();
        return;
    }

    state.store (kRhythmSoundsReady, std::memory_order_release);

    for (;;)
    {
        Request request {};
        {
            std::unique_lock<std::mutex> lock (mutex);
            wake.wait (lock, [this] { return stopping || ! requests.empty(); });
            if (stopping)
                return;
            request = requests.front();
            requests.pop_front();
            building = request.client;
        }

        int id = -1;
        auto* synth = buildSynth (request.sampleRate, id);
        if (synth != nullptr)
            request.client->synthBuilt (synth, id);

        {
            std::lock_guard<std::mutex> lock (mutex);
            building = nullptr;
        }
        finished.notify_all();
    }
}

bool SoundLibrary::loadSounds()
{
    struct stat info {};
    if (::stat (soundFontPath.c_str(), &info) != 0 || ! S_ISREG (info.st_mode))
        return false;

    int id = -1;
    keeper = buildSynth (44100.0, id);
    if (keeper == nullptr)
        return false;

    readVoices (fluid_synth_get_sfont_by_id (keeper, id));
    return ! drumKits.empty() || ! bassVoices.empty();
}

void SoundLibrary::readVoices (fluid_sfont_t* soundFont)
{
    if (soundFont == nullptr)
        return;

    std::vector<Voice> basses, others, kits;
    fluid_sfont_iteration_start (soundFont);
    while (auto* preset = fluid_sfont_iteration_next (soundFont))
    {
        Voice v;
        v.name = fluid_preset_get_name (preset) != nullptr ? fluid_preset_get_name (preset) : "";
        v.bank = fluid_preset_get_banknum (preset);
        v.program = fluid_preset_get_num (preset);
        v.name.resize (std::min<size_t> (v.name.size(), (size_t) kRhythmNameSize - 1));

        if (v.bank == drumBank)
            kits.push_back (v);
        else if (isBassProgram (v.program))
            (v.bank == 0 ? basses : others).push_back (v);
    }

    // The General MIDI basses first, in the list's order, then their variations.
    for (int program : bassPrograms)
        for (auto& v : basses)
            if (v.program == program)
                bassVoices.push_back (v);
    for (auto& v : others)
        bassVoices.push_back (v);

    std::sort (kits.begin(), kits.end(), [] (const Voice& a, const Voice& b) { return a.program < b.program; });
    drumKits = kits;

    if (bassVoices.size() > (size_t) kRhythmMaxBassVoices)
        bassVoices.resize ((size_t) kRhythmMaxBassVoices);
    if (drumKits.size() > (size_t) kRhythmMaxDrumKits)
        drumKits.resize ((size_t) kRhythmMaxDrumKits);
}

fluid_synth_t* SoundLibrary::buildSynth (double sampleRate, int& soundFontId) const
{
    auto* settings = new_fluid_settings();
    if (settings == nullptr)
        return nullptr;

    fluid_settings_setnum (settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum (settings, "synth.gain", synthGain);
    fluid_settings_setint (settings, "synth.polyphony", polyphony);
    // FluidSynth's effects run in an OpenMP region that allocates on every call; the
    // rhythm machine adds its own room instead.
    fluid_settings_setint (settings, "synth.reverb.active", 0);
    fluid_settings_setint (settings, "synth.chorus.active", 0);
    // Every call on an instance's synthesiser comes from the audio thread once it is handed over.
    fluid_settings_setint (settings, "synth.threadsafe-api", 0);
    fluid_settings_setint (settings, "synth.cpu-cores", 1);
    fluid_settings_setint (settings, "synth.lock-memory", 0);
    fluid_settings_setint (settings, "synth.dynamic-sample-loading", 0);

    auto* synth = new_fluid_synth (settings);
    if (synth == nullptr)
    {
        delete_fluid_settings (settings);
        return nullptr;
    }

    soundFontId = fluid_synth_sfload (synth, soundFontPath.c_str(), 1);
    if (soundFontId == FLUID_FAILED)
    {
        destroySynth (synth);
        return nullptr;
    }

    // The kits and basses play at their recorded pitch or near it: linear interpolation
    // sounds the same there and costs half of the default.
    fluid_synth_set_interp_method (synth, -1, FLUID_INTERP_LINEAR);
    return synth;
}

} // namespace T730::Rhythm
