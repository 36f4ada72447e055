// The factory group "Factory Effects": every effect type of the catalogue heard
// on a clean, a crunch and a lead sound (96 patches), and four combinations.
#include "PatchBuilder.h"

namespace oxafactory
{
namespace
{
    using P = PatchBuilder;

    struct EffectSetting
    {
        const char* shortName; // at most 6 characters
        int module;            // 1, 5, 6 or 7
        const char* key;
        double second;         // prm 2 as shown (module 1: the knob)
        double main;           // prm 3 as shown (ms for times)
        const char* character; // keywords added besides the effect's own
    };

    const EffectSetting effects[] = {
        { "Comp",   1, "Compressor", 6, 0, "smooth" },
        { "AWah",   1, "AutoWah", 10, 0, "funk" },
        { "Boost",  1, "Booster", 8, 0, "fat" },
        { "SubOct", 1, "SubOctave", 9, 0, "fat" },
        { "RingMd", 1, "RingMod", 8, 0, "spacey" },
        { "SlowAt", 1, "SlowAttack", 6, 0, "soft" },
        { "PWah",   1, "PedalWah", 9, 0, "funk" },
        { "Crush",  1, "BitCrush", 7, 0, "gritty" },
        { "Synth",  1, "GuitarSynth", 10, 0, "modern" },
        { "Chorus", 5, "Chorus", 9, 18, "wide" },
        { "Flange", 5, "Flanger", 10, 10, "vintage" },
        { "Phase",  5, "Phaser", 8, 16, "vintage" },
        { "Trem",   5, "Tremolo", 10, 24, "vintage" },
        { "Bend",   5, "PitchBend", 15, 8, "modern" },
        { "Harm",   5, "HPS", 9, 4, "lead" },
        { "Pitch",  5, "MonoPitch", 8, 12, "fat" },
        { "Vibe",   5, "Vibrato", 7, 18, "warm" },
        { "Detune", 5, "Detune", 8, 10, "wide" },
        { "LDelay", 5, "Delay1", 6, 1350, "spacey" },
        { "Rotary", 5, "Rotary", 10, 30, "warm" },
        { "Air",    5, "Air", 9, 500, "soft" },
        { "StepF",  5, "StepFilter", 12, 20, "modern" },
        { "Delay",  6, "Delay", 6, 420, "wide" },
        { "Tape",   6, "TapeEcho", 6, 360, "vintage" },
        { "Analog", 6, "AnalogDelay", 6, 320, "warm" },
        { "PingP",  6, "PingPong", 6, 460, "wide" },
        { "Revers", 6, "Reverse", 9, 1350, "spacey" },
        { "Plate",  7, "Plate", 8, 12, "bright" },
        { "Spring", 7, "Spring", 9, 12, "vintage" },
        { "Room",   7, "Room", 7, 7, "warm" },
        { "Cath",   7, "Cathedral", 9, 26, "spacey" },
        { "Hall",   7, "Hall", 8, 16, "wide" },
    };

    struct Context
    {
        const char* suffix;
        const char* words;
        const char* description;
    };

    const Context contexts[] = {
        { "Cl", "clean", "on a clean amp" },
        { "Cr", "crunch|rock", "on a crunchy stack" },
        { "Ld", "lead|solo", "on a sustaining lead" },
    };

    PatchBuilder effectPatch (const EffectSetting& e, int contextIndex)
    {
        const auto& c = contexts[contextIndex];
        const auto* type = findModuleType (e.key);
        P p (juce::String (e.shortName) + c.suffix, juce::String (c.words) + "|" + e.character,
             type->display + " " + c.description);

        switch (contextIndex)
        {
            case 0:  p.amp ("GlassClean", 8).eq (0, 0, 2).cab (2).nr (2).level (78); break;
            case 1:  p.amp ("BritCrunch", 16).eq (2, 2, 1).cab (3).nr (4).level (76); break;
            default: p.amp ("SustainLead", 22).eq (1, 3, 1).cab (3).nr (5).level (74); break;
        }

        switch (e.module)
        {
            case 1: p.fx (e.key, e.second); break;
            case 5: p.mod (e.key, e.second, e.main); break;
            case 6: p.dly (e.key, e.second, e.main); break;
            default: p.rev (e.key, e.second, e.main); break;
        }
        p.also (effectKeyword (e.key));

        // a little space where the effect itself brings none
        if (e.module != 6 && contextIndex == 2)
            p.dly ("Delay", 4, 380);
        if (e.module != 7)
            p.rev (contextIndex == 0 ? "Plate" : "Room", 5, 8);

        if (e.key == juce::String ("PedalWah") || e.key == juce::String ("PitchBend"))
            p.pedal (2);
        return p;
    }
} // namespace

FactoryGroup factoryEffectsGroup()
{
    std::vector<PatchBuilder> list;
    for (const auto& e : effects)
        for (int context = 0; context < 3; ++context)
            list.push_back (effectPatch (e, context));

    list.push_back (P ("FullRig", "lead|rock|chorus|delay|wide", "Every stage at once")
                        .fx ("Compressor", 4).amp ("BritLead", 20).eq (2, 3, 2).cab (3).nr (5)
                        .mod ("Chorus", 5, 14).dly ("Delay", 5, 400).rev ("Hall", 6, 14).level (74));
    list.push_back (P ("Dive", "metal|pitch|lead|aggressive", "Pedal pitch dives on a metal lead")
                        .amp ("MetalStack", 24).eq (3, 1, 3).cab (3).nr (7).mod ("PitchBend", 16, 1)
                        .rev ("Room", 4, 6).level (72).pedal (2));
    list.push_back (P ("SynPad", "synth|ambient|spacey|swell", "Synth pad with slow attack and echoes")
                        .fx ("GuitarSynth", 12).amp ("GlassClean", 6).eq (1, 0, 1).cab (2).nr (3)
                        .mod ("Chorus", 8, 8).dly ("PingPong", 8, 620).rev ("Cathedral", 10, 26).level (76));
    list.push_back (P ("Robot", "synth|modern|spacey", "Ring modulated robot voice with a choppy tremolo")
                        .fx ("RingMod", 9).amp ("GlassClean", 9).eq (0, 3, 2).cab (2).nr (4)
                        .mod ("Tremolo", 8, 28).dly ("Delay", 4, 250).level (76));

    FactoryGroup group { "Factory Effects", {} };
    for (const auto& p : list)
        group.patches.push_back (p.build());
    return group;
}

} // namespace oxafactory
