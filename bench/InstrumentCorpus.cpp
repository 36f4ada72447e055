// Renders the instrument corpus of the tuner and slow-down benchmarks into a folder: single
// guitar and bass notes of several General MIDI programs, plain and detuned by pitch bend, clean
// and overdriven; fret noise and drum hits that carry no pitch; riffs for the slow-down. The list
// of files and what each holds goes to "corpus.tsv", written last (the build's stamp).
//
//     oxa_instrument_corpus <folder>

#include "InstrumentNotes.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace moduletest;

namespace
{

constexpr double kRate = 44100.0;
constexpr double kLead = 0.25;    // silence before each note
constexpr float kPeak = 0.5f;     // -6 dBFS

// Keys: guitar E2 to E5 (the open strings and notes between), bass B0 to G2.
const int kGuitarKeys[] = { 40, 41, 43, 45, 48, 50, 55, 59, 64, 69, 72, 76 };
const int kBassKeys[] = { 23, 24, 26, 28, 31, 33, 36, 38, 43 };

/** A detune between 8 and 45 cents either way, fixed per program and key. */
double detuneFor (int program, int key)
{
    const int step = (key * 7 + program * 5) % 10;
    const double cents = 8.0 + 4.1 * step;
    return ((key + program) % 2 == 0) ? cents : -cents;
}

struct Writer
{
    std::filesystem::path folder;
    std::string manifest = "# file\tfamily\tprogram\tkey\tbend_cents\tdrive\tnote_on\tnote_off\n";
    size_t files = 0;
    double seconds = 0.0;
    bool failed = false;

    void add (const std::string& name, const std::string& family, const Phrase& phrase, const RenderedAudio& audio,
              bool drive, bool stereo)
    {
        const auto path = folder / (name + ".wav");
        if (! writeWav16 (path.string(), audio, stereo))
        {
            std::fprintf (stderr, "cannot write %s\n", path.string().c_str());
            failed = true;
            return;
        }
        const auto& first = phrase.notes.front();
        char line[256];
        std::snprintf (line, sizeof line, "%s.wav\t%s\t%d\t%d\t%.3f\t%d\t%ld\t%ld\n", name.c_str(), family.c_str(),
                       phrase.program, first.key, phrase.bendCents, drive ? 1 : 0,
                       static_cast<long> (first.start * kRate), static_cast<long> ((first.start + first.length) * kRate));
        manifest += line;
        ++files;
        seconds += audio.size() / kRate;
    }
};

void renderNotes (InstrumentRenderer& renderer, Writer& out, const char* family, int firstProgram, const int* keys,
                  size_t numKeys, double hold, double total, double driveDb)
{
    for (int program = firstProgram; program < firstProgram + 8; ++program)
    {
        for (size_t k = 0; k < numKeys; ++k)
        {
            const int key = keys[k];
            for (const bool detuned : { false, true })
            {
                const double bend = detuned ? detuneFor (program, key) : 0.0;
                const auto phrase = singleNote (program, key, bend, kLead, hold, total, detuned ? 90 : 105);
                auto clean = renderer.render (phrase);
                normalisePeak (clean, kPeak);
                char name[64];
                std::snprintf (name, sizeof name, "%s_p%02d_k%02d_%s", family, program, key, detuned ? "bent" : "plain");
                out.add (std::string (name) + "_clean", family, phrase, clean, false, false);
                out.add (std::string (name) + "_drive", family, phrase, overdrive (clean, driveDb), true, false);
            }
        }
    }
}

} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: oxa_instrument_corpus <folder>\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    Writer out { argv[1] };
    std::error_code ec;
    std::filesystem::create_directories (out.folder, ec);

    InstrumentRenderer renderer (kGeneralMidiSoundFont, kRate);
    if (! renderer.isReady())
    {
        std::fprintf (stderr, "cannot load %s (package fluid-soundfont-gm)\n", kGeneralMidiSoundFont);
        return 1;
    }

    renderNotes (renderer, out, "guitar", 24, kGuitarKeys, std::size (kGuitarKeys), 2.75, 3.25, 30.0);
    renderNotes (renderer, out, "bass", 32, kBassKeys, std::size (kBassKeys), 3.5, 4.0, 24.0);

    // No pitch: the fret-noise program over the neck (clean and through the amp) and single drum hits.
    for (const int key : { 40, 52, 64, 76 })
    {
        const auto phrase = singleNote (120, key, 0.0, kLead, 1.0, 1.5, 110);
        auto clean = renderer.render (phrase);
        normalisePeak (clean, kPeak);
        const std::string name = "fret_k" + std::to_string (key);
        out.add (name + "_clean", "fret", phrase, clean, false, false);
        out.add (name + "_drive", "fret", phrase, overdrive (clean, 30.0), true, false);
    }
    // Kicks, snares, stick, clap, hi-hats, cymbals (the toms are tuned drums and left out).
    for (const int key : { 35, 36, 37, 38, 39, 40, 42, 44, 46, 49, 51, 57 })
    {
        const auto phrase = singleNote (0, key, 0.0, kLead, 0.3, 1.5, 115, kDrumBank);
        auto hit = renderer.render (phrase);
        normalisePeak (hit, kPeak);
        out.add ("drum_k" + std::to_string (key), "drum", phrase, hit, false, false);
    }

    // Riffs for the slow-down, stereo: clean electric guitar, the same through the amp, finger bass.
    {
        const auto guitar = riffPhrase (27, 40);
        auto clean = renderer.render (guitar);
        normalisePeak (clean, kPeak);
        out.add ("riff_guitar_clean", "riff", guitar, clean, false, true);
        out.add ("riff_guitar_drive", "riff", guitar, overdrive (clean, 30.0), true, true);
        const auto bass = riffPhrase (33, 28);
        auto bassClean = renderer.render (bass);
        normalisePeak (bassClean, kPeak);
        out.add ("riff_bass_clean", "riff", bass, bassClean, false, true);
    }

    if (out.failed)
        return 1;
    std::FILE* f = std::fopen ((out.folder / "corpus.tsv").string().c_str(), "w");
    if (f == nullptr || std::fputs (out.manifest.c_str(), f) < 0 || std::fclose (f) != 0)
        return 1;

    const double elapsed = std::chrono::duration<double> (std::chrono::steady_clock::now() - started).count();
    std::printf ("instrument corpus: %zu files, %.0f s of audio, rendered in %.2f s into %s\n", out.files,
                 out.seconds, elapsed, out.folder.string().c_str());
    return 0;
}
