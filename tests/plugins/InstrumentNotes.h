#pragma once

// Recorded-instrument test material: single notes and short riffs rendered from the General MIDI
// SoundFont with FluidSynth (reverb and chorus off, the finest interpolation), an amp-like
// overdrive applied to a rendered note, and 16-bit WAV reading and writing. Shared by the plugin
// tests (a few notes rendered in process) and the corpus tool of the benchmarks (the whole set,
// written to the build folder).

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace moduletest
{

inline constexpr const char* kGeneralMidiSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
inline constexpr int kDrumBank = 128;

/** One MIDI event of a rendered phrase: a note held from `start` for `length` seconds. */
struct PhraseNote
{
    double start = 0.0;
    double length = 1.0;
    int key = 40;
    int velocity = 100;
};

/** What to render: a program (bank 128 for the drum kit), its notes, a pitch bend in cents
    applied before the first note, and the total length in seconds. */
struct Phrase
{
    int bank = 0;
    int program = 24;
    double bendCents = 0.0;
    double seconds = 3.0;
    std::vector<PhraseNote> notes;
};

/** Stereo float audio at one rate. */
struct RenderedAudio
{
    double rate = 44100.0;
    std::vector<float> left, right;

    size_t size() const noexcept { return left.size(); }
    std::vector<float> mono() const
    {
        std::vector<float> m (left.size());
        for (size_t i = 0; i < m.size(); ++i)
            m[i] = 0.5f * (left[i] + right[i]);
        return m;
    }
};

/** Owns a FluidSynth synthesiser with the General MIDI SoundFont loaded. Not thread-safe. */
class InstrumentRenderer
{
public:
    explicit InstrumentRenderer (const char* soundFont = kGeneralMidiSoundFont, double rate = 44100.0)
        : sampleRate (rate)
    {
        settings = new_fluid_settings();
        fluid_settings_setnum (settings, "synth.sample-rate", rate);
        fluid_settings_setint (settings, "synth.reverb.active", 0);
        fluid_settings_setint (settings, "synth.chorus.active", 0);
        fluid_settings_setint (settings, "synth.cpu-cores", 1);
        fluid_settings_setint (settings, "synth.dynamic-sample-loading", 1);
        fluid_settings_setnum (settings, "synth.gain", 0.5);
        synth = new_fluid_synth (settings);
        if (synth != nullptr)
        {
            fontId = fluid_synth_sfload (synth, soundFont, 0);
            fluid_synth_set_interp_method (synth, -1, FLUID_INTERP_HIGHEST);
        }
    }

    ~InstrumentRenderer()
    {
        if (synth != nullptr)
            delete_fluid_synth (synth);
        if (settings != nullptr)
            delete_fluid_settings (settings);
    }

    InstrumentRenderer (const InstrumentRenderer&) = delete;
    InstrumentRenderer& operator= (const InstrumentRenderer&) = delete;

    bool isReady() const noexcept { return synth != nullptr && fontId != FLUID_FAILED; }

    /** Renders a phrase on channel 1 (the drum channel 10 for bank 128), starting from silence. */
    RenderedAudio render (const Phrase& phrase)
    {
        RenderedAudio audio;
        audio.rate = sampleRate;
        if (! isReady())
            return audio;

        const int channel = phrase.bank == kDrumBank ? 9 : 0;
        fluid_synth_all_sounds_off (synth, -1);
        fluid_synth_program_select (synth, channel, fontId, phrase.bank, phrase.program);
        fluid_synth_pitch_wheel_sens (synth, channel, 2);
        const int bend = static_cast<int> (std::lround (8192.0 + phrase.bendCents / 200.0 * 8192.0));
        fluid_synth_pitch_bend (synth, channel, std::clamp (bend, 0, 16383));

        struct Event
        {
            size_t at;
            int key, velocity;   // velocity 0: note off
        };
        std::vector<Event> events;
        for (const auto& n : phrase.notes)
        {
            events.push_back ({ static_cast<size_t> (n.start * sampleRate), n.key, n.velocity });
            events.push_back ({ static_cast<size_t> ((n.start + n.length) * sampleRate), n.key, 0 });
        }
        std::stable_sort (events.begin(), events.end(), [] (const Event& a, const Event& b) {
            return a.at < b.at || (a.at == b.at && a.velocity == 0 && b.velocity != 0);
        });

        const auto total = static_cast<size_t> (phrase.seconds * sampleRate);
        audio.left.resize (total);
        audio.right.resize (total);
        size_t done = 0, next = 0;
        while (done < total)
        {
            while (next < events.size() && events[next].at <= done)
            {
                const auto& e = events[next++];
                if (e.velocity > 0)
                    fluid_synth_noteon (synth, channel, e.key, e.velocity);
                else
                    fluid_synth_noteoff (synth, channel, e.key);
            }
            size_t until = total;
            if (next < events.size())
                until = std::min (until, events[next].at);
            const int chunk = static_cast<int> (std::min<size_t> (until - done, 1024));
            if (chunk <= 0)
                continue;
            fluid_synth_write_float (synth, chunk, audio.left.data() + done, 0, 1, audio.right.data() + done, 0, 1);
            done += static_cast<size_t> (chunk);
        }
        fluid_synth_all_sounds_off (synth, -1);
        fluid_synth_pitch_bend (synth, channel, 8192);
        return audio;
    }

private:
    double sampleRate;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    int fontId = FLUID_FAILED;
};

/** A single picked note: `hold` seconds with the key down after `lead` seconds of silence, the
    release rendered up to `seconds` in all. */
inline Phrase singleNote (int program, int key, double bendCents, double lead, double hold, double seconds,
                          int velocity = 100, int bank = 0)
{
    Phrase p;
    p.bank = bank;
    p.program = program;
    p.bendCents = bendCents;
    p.seconds = seconds;
    p.notes.push_back ({ lead, hold, key, velocity });
    return p;
}

/** Scales both channels so that the louder one peaks at `peak`. */
inline void normalisePeak (RenderedAudio& audio, float peak)
{
    float highest = 0.0f;
    for (size_t i = 0; i < audio.size(); ++i)
        highest = std::max ({ highest, std::abs (audio.left[i]), std::abs (audio.right[i]) });
    if (highest <= 0.0f)
        return;
    const float scale = peak / highest;
    for (size_t i = 0; i < audio.size(); ++i)
    {
        audio.left[i] *= scale;
        audio.right[i] *= scale;
    }
}

/** An overdriven amp in a few lines: a high-pass that tightens the lows, `driveDb` of gain into
    an asymmetric soft clipper (odd and even harmonics, more sustain), a DC blocker and a
    two-pole cabinet roll-off near 5 kHz; the result peaks where the clean input did. */
inline RenderedAudio overdrive (const RenderedAudio& clean, double driveDb)
{
    RenderedAudio out = clean;
    float cleanPeak = 0.0f;
    for (size_t i = 0; i < clean.size(); ++i)
        cleanPeak = std::max ({ cleanPeak, std::abs (clean.left[i]), std::abs (clean.right[i]) });
    if (cleanPeak <= 0.0f)
        return out;

    const double rate = clean.rate;
    const double gain = std::pow (10.0, driveDb / 20.0) / cleanPeak;
    const double bias = 0.25;
    const double hpTight = std::exp (-2.0 * std::numbers::pi * 70.0 / rate);
    const double hpDc = std::exp (-2.0 * std::numbers::pi * 10.0 / rate);
    const double lp = std::exp (-2.0 * std::numbers::pi * 5000.0 / rate);
    for (auto* channel : { &out.left, &out.right })
    {
        double xPrev = 0.0, tight = 0.0, yPrev = 0.0, dc = 0.0, lp1 = 0.0, lp2 = 0.0;
        for (auto& sample : *channel)
        {
            const double x = sample;
            tight = hpTight * (tight + x - xPrev);
            xPrev = x;
            const double y = std::tanh (gain * tight + bias) - std::tanh (bias);
            dc = hpDc * (dc + y - yPrev);
            yPrev = y;
            lp1 += (1.0 - lp) * (dc - lp1);
            lp2 += (1.0 - lp) * (lp1 - lp2);
            sample = static_cast<float> (lp2);
        }
    }
    normalisePeak (out, cleanPeak);
    return out;
}

//==============================================================================
// 16-bit PCM WAV files (one or two channels).

inline bool writeWav16 (const std::string& path, const RenderedAudio& audio, bool stereo)
{
    std::FILE* f = std::fopen (path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const uint16_t channels = stereo ? 2 : 1;
    const auto rate = static_cast<uint32_t> (audio.rate);
    const auto dataBytes = static_cast<uint32_t> (audio.size() * channels * 2);
    auto put32 = [f] (uint32_t v) { const unsigned char b[4] = { (unsigned char) v, (unsigned char) (v >> 8), (unsigned char) (v >> 16), (unsigned char) (v >> 24) }; std::fwrite (b, 1, 4, f); };
    auto put16 = [f] (uint16_t v) { const unsigned char b[2] = { (unsigned char) v, (unsigned char) (v >> 8) }; std::fwrite (b, 1, 2, f); };
    std::fwrite ("RIFF", 1, 4, f);
    put32 (36 + dataBytes);
    std::fwrite ("WAVEfmt ", 1, 8, f);
    put32 (16);
    put16 (1);
    put16 (channels);
    put32 (rate);
    put32 (rate * channels * 2);
    put16 (static_cast<uint16_t> (channels * 2));
    put16 (16);
    std::fwrite ("data", 1, 4, f);
    put32 (dataBytes);

    std::vector<int16_t> frames;
    frames.reserve (audio.size() * channels);
    auto quantise = [] (float x) {
        return static_cast<int16_t> (std::lround (std::clamp (x, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
    };
    for (size_t i = 0; i < audio.size(); ++i)
    {
        if (stereo)
        {
            frames.push_back (quantise (audio.left[i]));
            frames.push_back (quantise (audio.right[i]));
        }
        else
        {
            frames.push_back (quantise (0.5f * (audio.left[i] + audio.right[i])));
        }
    }
    // Little-endian host assumed, as on every machine this project builds on.
    const bool ok = std::fwrite (frames.data(), 2, frames.size(), f) == frames.size();
    return std::fclose (f) == 0 && ok;
}

/** Reads a 16-bit PCM WAV file written by writeWav16 (a mono file gives equal channels). */
inline bool readWav16 (const std::string& path, RenderedAudio& audio)
{
    std::FILE* f = std::fopen (path.c_str(), "rb");
    if (f == nullptr)
        return false;
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (size_t got; (got = std::fread (buffer, 1, sizeof buffer, f)) > 0;)
        bytes.insert (bytes.end(), buffer, buffer + got);
    std::fclose (f);

    auto get32 = [&] (size_t at) { return uint32_t (bytes[at]) | uint32_t (bytes[at + 1]) << 8 | uint32_t (bytes[at + 2]) << 16 | uint32_t (bytes[at + 3]) << 24; };
    auto get16 = [&] (size_t at) { return uint16_t (bytes[at] | bytes[at + 1] << 8); };
    if (bytes.size() < 44 || std::string (bytes.begin(), bytes.begin() + 4) != "RIFF")
        return false;
    int channels = 0;
    for (size_t at = 12; at + 8 <= bytes.size();)
    {
        const std::string id (bytes.begin() + static_cast<long> (at), bytes.begin() + static_cast<long> (at) + 4);
        const uint32_t length = get32 (at + 4);
        const size_t body = at + 8;
        if (body + length > bytes.size())
            return false;
        if (id == "fmt " && length >= 16)
        {
            if (get16 (body) != 1 || get16 (body + 14) != 16)
                return false;
            channels = get16 (body + 2);
            audio.rate = get32 (body + 4);
        }
        else if (id == "data" && (channels == 1 || channels == 2))
        {
            const size_t frames = length / (2u * static_cast<unsigned> (channels));
            audio.left.resize (frames);
            audio.right.resize (frames);
            for (size_t i = 0; i < frames; ++i)
            {
                const auto l = static_cast<int16_t> (get16 (body + 2 * channels * i));
                const auto r = static_cast<int16_t> (get16 (body + 2 * channels * i + 2 * (channels - 1)));
                audio.left[i] = l / 32768.0f;
                audio.right[i] = r / 32768.0f;
            }
            return true;
        }
        at = body + length + (length & 1);
    }
    return false;
}

} // namespace moduletest

namespace moduletest
{

/** The riff the slow-down is measured on (120 bpm): four picked eighth notes on the low string,
    a held low note, three picked notes up the neck and a held high note, then the release.
    `low` is the held low key; the others follow from it. */
inline Phrase riffPhrase (int program, int low)
{
    Phrase p;
    p.program = program;
    p.seconds = 8.0;
    for (int i = 0; i < 4; ++i)
        p.notes.push_back ({ 0.25 + 0.25 * i, 0.2, low, 110 });
    p.notes.push_back ({ 1.25, 2.5, low, 105 });                       // held low note
    p.notes.push_back ({ 3.75, 0.22, low + 15, 105 });
    p.notes.push_back ({ 4.0, 0.22, low + 17, 100 });
    p.notes.push_back ({ 4.25, 0.22, low + 19, 100 });
    p.notes.push_back ({ 4.5, 2.75, low + 24, 105 });                  // held high note
    return p;
}

/** The held notes of riffPhrase: start and end in seconds and their keys. */
struct HeldNote
{
    double start, end;
    int key;
};

inline std::vector<HeldNote> riffHeldNotes (int low)
{
    return { { 1.25, 3.75, low }, { 4.5, 7.25, low + 24 } };
}

} // namespace moduletest
