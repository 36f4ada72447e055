#include "ModuleTable.h"

namespace oxafactory
{

juce::String ParamSpec::shownText (int step) const
{
    if (isTable())
        return juce::isPositiveAndBelow (step, table.size()) ? table[step] : juce::String();
    return juce::String (step + offset) + unit;
}

const ParamSpec* ModuleType::param (int prm) const
{
    for (const auto& p : params)
        if (p.prm == prm)
            return &p;
    return nullptr;
}

const char* const categoryElementNames[9] = { "COMPEFX", "DRIVE", "EQ", "NR", "MOD", "DELAY", "REVERB", "AMP", "CABINET" };

namespace
{
    //==============================================================================
    // Shown-value tables.

    juce::String milliseconds (int ms) { return juce::String (ms) + "ms"; }
    juce::String seconds (double s) { return juce::String::formatted ("%.2fs", s); }

    /** steps 0..last: (step + 1) x stepMs milliseconds, written in seconds from 1 s on. */
    juce::StringArray timeTable (int last, int stepMs)
    {
        juce::StringArray texts;
        for (int step = 0; step <= last; ++step)
        {
            const int ms = (step + 1) * stepMs;
            texts.add (ms < 1000 ? milliseconds (ms) : seconds (ms / 1000.0));
        }
        return texts;
    }

    /* The long delay of the modulation category. Steps 0..98 are 10 ms apart
       and travel to the device as the step itself. From step 100 on the editor
       sends the shown number x 100 and reads a device value v back as
       99 + (v - 108) / 10 (v ending in 9 is first raised by 9), so the shown
       number of step s must give a value that is neither below 108 + 10 (s - 99)
       nor ends in 9 nor reaches the next window: x.x5 seconds lands in the
       middle of the window and survives rounding of the decimal text. */
    juce::StringArray longDelayTable (int last)
    {
        auto texts = timeTable (98, 10);
        texts.add (seconds (1.05));
        for (int step = 100; step <= last; ++step)
            texts.add (seconds (1.15 + 0.1 * (step - 99)));
        return texts;
    }

    /* The reverse delay: steps 0..89 travel as themselves (10 ms apart); from
       step 90 on the editor sends the shown number x 100 - 10 and reads v back as
       90 + (v - 98) / 10 (v ending in 0 is first raised by 9). x.x5 seconds
       again sits in the middle of its window. */
    juce::StringArray reverseTable (int last)
    {
        auto texts = timeTable (89, 10);
        for (int step = 90; step <= last; ++step)
            texts.add (seconds (1.15 + 0.1 * (step - 90)));
        return texts;
    }

    juce::StringArray words (const char* text) { return juce::StringArray::fromTokens (text, "|", {}); }

    //==============================================================================
    // Parameter builders.

    ParamSpec onOff (int init = 1)
    {
        ParamSpec p;
        p.prm = 0;
        p.name = "Effect";
        p.dspMax = 1;
        p.init = init;
        p.table = words ("Off|On");
        return p;
    }

    ParamSpec number (int prm, const char* name, int dspMax, int offset, int init, const char* unit = "")
    {
        ParamSpec p;
        p.prm = prm;
        p.name = name;
        p.dspMax = dspMax;
        p.offset = offset;
        p.unit = unit;
        p.init = init;
        return p;
    }

    ParamSpec texts (int prm, const char* name, const juce::StringArray& table, int init)
    {
        ParamSpec p;
        p.prm = prm;
        p.name = name;
        p.dspMax = table.size() - 1;
        p.init = init;
        p.table = table;
        return p;
    }

    ParamSpec band (int prm, const char* name) { return number (prm, name, 36, -18, 18, "dB"); }

    juce::Colour rgb (juce::uint32 argb) { return juce::Colour (argb); }

    //==============================================================================
    ModuleType stomp (const char* key, const char* display, const char* caption, ParamSpec knob,
                      juce::uint32 body, juce::uint32 accent, int variant, int category)
    {
        ModuleType t;
        t.category = category;
        t.key = key;
        t.display = display;
        t.family = Family::stomp;
        t.caption = caption;
        t.body = rgb (body);
        t.accent = rgb (accent);
        t.variant = variant;
        t.params = { onOff(), knob };
        return t;
    }

    ModuleType effect (const char* key, const char* display, const char* caption, ParamSpec knob,
                       juce::uint32 body, juce::uint32 accent, int variant)
    {
        return stomp (key, display, caption, knob, body, accent, variant, 1);
    }

    ModuleType pedal (const char* key, const char* display, const char* caption, int gain,
                      juce::uint32 body, juce::uint32 accent, int variant)
    {
        return stomp (key, display, caption, number (3, "Gain", 30, 0, gain), body, accent, variant, 2);
    }

    ModuleType amp (const char* key, const char* display, const char* caption, int gain,
                    juce::uint32 tolex, juce::uint32 panel, int variant)
    {
        ModuleType t;
        t.category = 2;
        t.key = key;
        t.display = display;
        t.modeling = true;
        t.family = Family::ampHead;
        t.caption = caption;
        t.body = rgb (tolex);
        t.accent = rgb (panel);
        t.variant = variant;
        auto power = onOff();
        power.name = "Power";
        auto eq = onOff();
        eq.prm = 1;
        eq.name = "EQ";
        t.params = { power, eq, number (3, "Gain", 30, 0, gain),
                     band (4, "Bass"), band (5, "Middle"), band (6, "Treble") };
        return t;
    }

    ModuleType plain (int category, Family family, const char* key, const char* display, const char* caption,
                      juce::uint32 body, juce::uint32 accent, int variant)
    {
        ModuleType t;
        t.category = category;
        t.key = key;
        t.display = display;
        t.family = family;
        t.caption = caption;
        t.body = rgb (body);
        t.accent = rgb (accent);
        t.variant = variant;
        return t;
    }

    ModuleType rack (int category, Family family, const char* key, const char* display, const char* caption,
                     ParamSpec main, ParamSpec second, juce::uint32 body, juce::uint32 accent, int variant)
    {
        auto t = plain (category, family, key, display, caption, body, accent, variant);
        t.params = { onOff(), second, main };
        return t;
    }

    ModuleType mod (const char* key, const char* display, const char* caption, ParamSpec main, ParamSpec second,
                    juce::uint32 body, juce::uint32 accent, int variant)
    {
        return rack (5, Family::rack, key, display, caption, main, second, body, accent, variant);
    }

    ModuleType delay (const char* key, const char* display, const char* caption, ParamSpec time,
                      juce::uint32 body, juce::uint32 accent, int variant)
    {
        return rack (6, Family::rack, key, display, caption, time, number (2, "Mix", 15, 1, 7),
                     body, accent, variant);
    }

    ModuleType reverb (const char* key, const char* display, const char* caption, int decay,
                       juce::uint32 body, juce::uint32 accent, int variant)
    {
        return rack (7, Family::reverbRack, key, display, caption, number (3, "Decay", 29, 1, decay),
                     number (2, "Mix", 15, 1, 7), body, accent, variant);
    }


    ParamSpec rate (int init) { return number (3, "Rate", 49, 1, init); }
    ParamSpec depth (int init) { return number (2, "Depth", 15, 1, init); }
    ParamSpec mix (int init) { return number (2, "Mix", 15, 1, init); }

    std::vector<ModuleType> makeTable()
    {
        std::vector<ModuleType> t;

        // 1: COMPEFX, one-knob pedals in front of the drive.
        t.push_back (effect ("Compressor", "Compressor", "SUSTAINER", number (2, "Sense", 8, 1, 5), 0xff2a6fb0, 0xfff0f0f0, 0));
        t.push_back (effect ("AutoWah", "Auto Wah", "ENVELOPE", number (2, "Sense", 15, 1, 8), 0xff7a3fa0, 0xffffd040, 1));
        t.push_back (effect ("Booster", "Booster", "CLEAN BOOST", number (2, "Boost", 15, 0, 6, "dB"), 0xffc8c8c0, 0xff202020, 2));
        t.push_back (effect ("SubOctave", "Sub Octave", "OCTAVE DOWN", number (2, "Mix", 15, 1, 9), 0xff2f7f4f, 0xffe8e8d0, 0));
        t.push_back (effect ("RingMod", "Ring Mod", "MODULATOR", number (2, "Freq", 15, 1, 7), 0xffb03030, 0xff101010, 1));
        t.push_back (effect ("SlowAttack", "Slow Attack", "VOLUME SWELL", number (2, "Time", 15, 1, 6), 0xff5fa8c8, 0xff102030, 2));
        t.push_back (effect ("PedalWah", "Pedal Wah", "WAH", number (2, "Position", 15, 1, 8), 0xff303030, 0xffd0d0d0, 0));
        t.push_back (effect ("BitCrush", "Bit Crush", "LO-FI", number (2, "Bits", 15, 1, 8), 0xff8aa02a, 0xff101010, 1));
        t.push_back (effect ("GuitarSynth", "Guitar Synth", "SYNTH", number (2, "Tone", 15, 1, 10), 0xffd06a20, 0xff101010, 2));

        // 2: drive pedals and amp models (an amp model appears again in category 8).
        t.push_back (amp ("GlassClean", "Glass Clean", "BRIGHT CLEAN", 8, 0xff1c1c1c, 0xffc8c8c8, 0));
        t.push_back (amp ("JazzClean", "Jazz Clean", "WARM CLEAN", 6, 0xff2a2a2a, 0xff9a9a9a, 1));
        t.push_back (amp ("VintageCrunch", "Vintage Crunch", "LOW POWER", 16, 0xffc8b080, 0xff6a4a2a, 2));
        t.push_back (pedal ("WarmDrive", "Warm Drive", "OVERDRIVE", 14, 0xff3a9a4a, 0xfff0f0e0, 0));
        t.push_back (pedal ("AcousticSim", "Acoustic Sim", "ACOUSTIC", 10, 0xffb08850, 0xff201810, 1));
        t.push_back (amp ("BritCrunch", "Brit Crunch", "GOLD PANEL", 15, 0xff181818, 0xffd4b060, 0));
        t.push_back (amp ("HotLead", "Hot Lead", "HIGH GAIN", 22, 0xff202020, 0xffb02020, 1));
        t.push_back (amp ("MetalStack", "Metal Stack", "TRIPLE GAIN", 24, 0xff101010, 0xff707880, 2));
        t.push_back (pedal ("ScoopMetal", "Scoop Metal", "METAL", 24, 0xff202020, 0xffe04010, 2));
        t.push_back (pedal ("HardDist", "Hard Dist", "DISTORTION", 20, 0xffe07818, 0xff101010, 0));
        t.push_back (pedal ("MidDrive", "Mid Drive", "MID BOOST", 12, 0xff6fa060, 0xff102010, 1));
        t.push_back (pedal ("BluesGrit", "Blues Grit", "BLUES", 13, 0xff2050c0, 0xfff0f0f0, 2));
        t.push_back (amp ("ChimeCrunch", "Chime Crunch", "CLASS A", 14, 0xff3a2a1a, 0xffb8a070, 0));
        t.push_back (amp ("DualCrunch", "Dual Crunch", "TWO CHANNEL", 16, 0xff1a1a1a, 0xff8a7a60, 1));
        t.push_back (amp ("ModernLead", "Modern Lead", "LEAD CHANNEL", 22, 0xff141418, 0xff3070c0, 2));
        t.push_back (pedal ("LeadDist", "Lead Dist", "LEAD", 21, 0xffc02020, 0xfff0f0f0, 0));
        t.push_back (pedal ("VintageFuzz", "Vintage Fuzz", "FUZZ", 22, 0xffb0b0a8, 0xff802020, 1));
        t.push_back (pedal ("OctaveFuzz", "Octave Fuzz", "OCTAVE FUZZ", 20, 0xff6a2a8a, 0xfff0e060, 2));
        t.push_back (amp ("ThrashHead", "Thrash Head", "THRASH", 25, 0xff0c0c0c, 0xffa0a0a8, 0));
        t.push_back (amp ("SmoothLead", "Smooth Lead", "SINGING LEAD", 20, 0xff2a1a10, 0xffc09050, 1));
        t.push_back (pedal ("CleanBoost", "Clean Boost", "BOOST", 10, 0xffe0e0d8, 0xff204080, 0));
        t.push_back (amp ("HeavyStack", "Heavy Stack", "HEAVY", 24, 0xff181818, 0xff505860, 2));
        t.push_back (pedal ("CrunchPedal", "Crunch Pedal", "CRUNCH", 14, 0xffd0a020, 0xff101010, 1));
        t.push_back (pedal ("ExtremeDist", "Extreme Dist", "EXTREME", 26, 0xff101010, 0xff60e020, 2));
        t.push_back (pedal ("GrindDist", "Grind", "GRIND", 20, 0xff505050, 0xffffa000, 0));
        t.push_back (amp ("SustainLead", "Sustain Lead", "SUSTAIN", 22, 0xff301818, 0xffc0a0a0, 0));
        t.push_back (pedal ("TrebleBoost", "Treble Boost", "TREBLE", 12, 0xffc0c8d0, 0xff802020, 1));
        t.push_back (amp ("BritLead", "Brit Lead", "MASTER VOLUME", 21, 0xff181818, 0xffe0c070, 1));
        t.push_back (amp ("DarkMetal", "Dark Metal", "DOWN TUNED", 26, 0xff080808, 0xff903030, 2));
        t.push_back (pedal ("FatFuzz", "Fat Fuzz", "BIG FUZZ", 18, 0xff20a0a0, 0xff101010, 2));

        // 3: the three EQ bands.
        for (auto [key, name] : { std::pair { "EqBass", "Bass" }, std::pair { "EqMiddle", "Middle" },
                                  std::pair { "EqTreble", "Treble" } })
        {
            auto e = plain (3, Family::eqStrip, key, "EQ", "", 0xff2a2a2e, 0xffff9b00, 0);
            e.params = { band (2, name) };
            t.push_back (e);
        }

        // 4: the noise reduction (steps 0..8 shown 1..9).
        {
            auto nr = plain (4, Family::noiseRack, "NoiseReduction", "Noise Reduction", "", 0xff26282c, 0xffff9b00, 0);
            nr.params = { onOff(), number (2, "Threshold", 8, 1, 3) };
            t.push_back (nr);
        }

        // 5: modulation, pitch, the long delay and the room.
        t.push_back (mod ("Chorus", "Chorus", "STEREO CHORUS", rate (24), depth (9), 0xff3a80c0, 0xffe0f0ff, 0));
        t.push_back (mod ("Flanger", "Flanger", "JET FLANGER", rate (12), depth (10), 0xff8050a0, 0xfff0e0ff, 1));
        t.push_back (mod ("Phaser", "Phaser", "4 STAGE PHASER", rate (18), depth (8), 0xffd07020, 0xff201000, 2));
        t.push_back (mod ("Tremolo", "Tremolo", "OPTICAL TREMOLO", rate (26), depth (10), 0xff407040, 0xffe0f0e0, 0));
        t.push_back (mod ("PitchBend", "Pitch Bend", "PEDAL BEND",
                          texts (3, "Range", words ("-2 Oct|-1 Oct|-5th|-4th|-2nd|+2nd|+4th|+5th|+1 Oct|+2 Oct|Detune"), 8),
                          mix (15), 0xff902040, 0xffffe0e8, 1));
        t.push_back (mod ("HPS", "Scale Harmony", "HARMONY SHIFT",
                          texts (3, "Interval", words ("-6th|-5th|-4th|-3rd|+3rd|+4th|+5th|+6th|+1 Oct"), 4),
                          mix (9), 0xff206080, 0xffd0f0ff, 2));
        t.push_back (mod ("MonoPitch", "Mono Pitch", "PITCH SHIFT", number (3, "Shift", 36, -12, 24, " semi"),
                          mix (10), 0xff604080, 0xfff0e0ff, 0));
        t.push_back (mod ("Vibrato", "Vibrato", "VIBRATO", rate (20), depth (8), 0xff2a8a8a, 0xffe0ffff, 1));
        t.push_back (mod ("Detune", "Detune", "DOUBLER", number (3, "Cents", 50, -25, 35, " cent"),
                          mix (8), 0xff707880, 0xff101010, 2));
        t.push_back (mod ("Delay1", "Long Delay", "LONG DELAY", texts (3, "Time", longDelayTable (138), 39),
                          mix (7), 0xff204060, 0xffff9b00, 0));
        t.push_back (mod ("Rotary", "Rotary", "ROTARY SPEAKER", number (3, "Speed", 49, 1, 30), depth (10),
                          0xff6a4020, 0xfff0e0c0, 1));
        t.push_back (mod ("Air", "Air", "AMBIENCE", texts (3, "Decay", timeTable (98, 10), 29), mix (8),
                          0xff5090b0, 0xff102030, 2));
        t.push_back (mod ("StepFilter", "Step Filter", "STEP FILTER", rate (20), depth (12), 0xffa0a020, 0xff101010, 0));

        // 6: delays.
        t.push_back (delay ("Delay", "Delay", "DIGITAL DELAY", texts (3, "Time", timeTable (99, 10), 49), 0xff303848, 0xff60c0ff, 0));
        t.push_back (delay ("TapeEcho", "Tape Echo", "TAPE ECHO", texts (3, "Time", timeTable (99, 20), 17), 0xff5a4a30, 0xfff0d090, 1));
        t.push_back (delay ("AnalogDelay", "Analog Delay", "ANALOG DELAY", texts (3, "Time", timeTable (59, 10), 29), 0xff1a4a2a, 0xff80ff80, 2));
        t.push_back (delay ("PingPong", "Ping Pong", "STEREO DELAY", texts (3, "Time", timeTable (99, 20), 19), 0xff383060, 0xffc0b0ff, 0));
        t.push_back (delay ("Reverse", "Reverse", "REVERSE DELAY", texts (3, "Time", reverseTable (108), 49), 0xff502030, 0xffff8090, 1));

        // 7: reverbs.
        t.push_back (reverb ("Plate", "Plate", "PLATE REVERB", 9, 0xff404448, 0xffe0e0e0, 0));
        t.push_back (reverb ("Spring", "Spring", "SPRING TANK", 7, 0xff2a2420, 0xffd0b080, 1));
        t.push_back (reverb ("Room", "Room", "ROOM", 6, 0xff303a30, 0xffc0e0c0, 2));
        t.push_back (reverb ("Cathedral", "Cathedral", "CATHEDRAL", 22, 0xff302838, 0xffd0c0ff, 0));
        t.push_back (reverb ("Hall", "Hall", "CONCERT HALL", 14, 0xff382a20, 0xffffc080, 1));

        // 9: cabinets.
        t.push_back (plain (9, Family::cabinet, "OpenBack1x12", "1x12 Open", "1x12", 0xff2a2018, 0xffd0c0a0, 0));
        t.push_back (plain (9, Family::cabinet, "Closed2x12", "2x12 Closed", "2x12", 0xff1a1a1a, 0xffa0a0a0, 1));
        t.push_back (plain (9, Family::cabinet, "Stack4x12", "4x12 Stack", "4x12", 0xff141414, 0xffe0e0e0, 2));

        // Modules the editor places by itself.
        {
            auto cover = plain (0, Family::coverPlate, "shieldDrive", "Amp Model", "AMP MODEL", 0xff303236, 0xffff9b00, 0);
            auto power = onOff();
            power.name = "Amp";
            cover.params = { power, number (3, "Gain", 30, 0, 15) };
            t.push_back (cover);
        }
        {
            auto clean = plain (0, Family::preamp, "UltraClean", "Ultra Clean", "CLEAN PREAMP", 0xff202428, 0xffc0c8d0, 0);
            auto eq = onOff();
            eq.prm = 1;
            eq.name = "EQ";
            clean.params = { eq, band (4, "Bass"), band (5, "Middle"), band (6, "Treble") };
            t.push_back (clean);
        }
        t.push_back (plain (0, Family::coverCabinet, "ShieldCabinet", "off", "NO CABINET", 0xff26282c, 0xffff9b00, 0));

        return t;
    }
} // namespace

const std::vector<ModuleType>& moduleTypes()
{
    static const std::vector<ModuleType> table = makeTable();
    return table;
}

const ModuleType* findModuleType (const juce::String& key)
{
    for (const auto& t : moduleTypes())
        if (t.key == key)
            return &t;
    return nullptr;
}

std::vector<CatalogueEntry> catalogueCategory (int category)
{
    std::vector<CatalogueEntry> entries;

    if (category == 8)
    {
        for (const auto& e : catalogueCategory (2))
            entries.push_back (e.modeling ? e : CatalogueEntry { "UltraClean", {}, false });
        return entries;
    }

    for (const auto& t : moduleTypes())
        if (t.category == category)
            entries.push_back ({ t.key, t.display, t.modeling });
    return entries;
}

} // namespace oxafactory
