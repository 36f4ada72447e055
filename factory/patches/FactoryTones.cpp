// The factory group "Factory Tones": 100 complete sounds by style, ten of each.
#include "PatchBuilder.h"

namespace oxafactory
{
namespace
{
    using P = PatchBuilder;
}

FactoryGroup factoryTonesGroup()
{
    const std::vector<PatchBuilder> list {
        // clean
        P ("Glass", "clean|bright|sparkle", "Crystal clean for open chords").amp ("GlassClean", 8).eq (0, 0, 3).cab (2).nr (2).rev ("Hall", 6, 10).level (80),
        P ("CleanCho", "clean|pop|wide", "Wide chorus clean for arpeggios").amp ("GlassClean", 7).eq (1, -1, 2).cab (2).nr (2).mod ("Chorus", 9, 18).rev ("Plate", 6, 9).level (80),
        P ("JazzBox", "jazz|clean|warm|smooth", "Warm neck pickup jazz tone").amp ("JazzClean", 5).eq (3, 1, -4).cab (1).nr (1).rev ("Room", 5, 6).level (82),
        P ("SpankCln", "clean|funk|bright|tight", "Snappy clean with a squeeze").fx ("Compressor", 6).amp ("GlassClean", 9).eq (-2, 2, 4).cab (2).nr (2).rev ("Room", 4, 5).level (78),
        P ("SurfTank", "surf|clean|vintage", "Drippy spring clean for surf lines").amp ("GlassClean", 10).eq (0, -2, 4).cab (1).nr (2).rev ("Spring", 11, 18).level (80),
        P ("TremCln", "clean|vintage|tremolo|surf", "Pulsing amp tremolo clean").amp ("JazzClean", 8).eq (1, 0, 2).cab (1).nr (1).mod ("Tremolo", 10, 22).rev ("Spring", 7, 12).level (80),
        P ("PolishCl", "clean|pop|compressor|sparkle", "Polished studio clean").fx ("Compressor", 4).amp ("GlassClean", 6).eq (0, 1, 2).cab (2).nr (2).dly ("Delay", 4, 380).rev ("Plate", 6, 10).level (80),
        P ("BoostCln", "clean|boost|warm", "Clean amp pushed by a boost pedal").fx ("Booster", 8).amp ("ChimeCrunch", 6).eq (1, 2, 1).cab (1).nr (2).rev ("Room", 5, 6).level (78),
        P ("DreamCln", "clean|ambient|spacey|wide", "Dreamy clean wash").amp ("GlassClean", 7).eq (-1, 0, 3).cab (2).nr (2).mod ("Chorus", 7, 10).dly ("PingPong", 7, 480).rev ("Hall", 9, 20).level (78),
        P ("Chime", "clean|pop|bright", "Chiming class A clean").amp ("ChimeCrunch", 5).eq (0, 1, 4).cab (2).nr (2).rev ("Plate", 5, 8).level (80),

        // crunch
        P ("EdgeCrch", "crunch|rock|rhythm", "Clean edge of breakup for rhythm").amp ("VintageCrunch", 12).eq (1, 2, 1).cab (2).nr (3).rev ("Room", 4, 5).level (78),
        P ("BritCrch", "crunch|rock|vintage", "Classic British crunch for riffs").amp ("BritCrunch", 16).eq (2, 3, 2).cab (3).nr (3).rev ("Room", 4, 6).level (76),
        P ("ChimeCr", "crunch|pop|bright", "Chiming crunch with jangle").amp ("ChimeCrunch", 15).eq (0, 1, 4).cab (2).nr (3).dly ("Delay", 3, 320).rev ("Plate", 4, 7).level (76),
        P ("DualCrch", "crunch|rock|fat", "Thick two channel crunch").amp ("DualCrunch", 17).eq (3, 1, 1).cab (3).nr (4).rev ("Room", 3, 5).level (76),
        P ("PedlCrch", "crunch|rock|gritty", "Crunch pedal into a clean preamp").amp ("CrunchPedal", 15).eq (1, 2, 2).cab (2).nr (4).rev ("Room", 4, 5).level (76),
        P ("StackCr", "crunch|rock|heavy", "Stack crunch with low end").amp ("BritCrunch", 19).eq (4, 1, 2).cab (3).nr (4).rev ("Room", 3, 5).level (76),
        P ("PopCrnch", "crunch|pop|compressor", "Even, compressed crunch for strumming").fx ("Compressor", 3).amp ("VintageCrunch", 14).eq (0, 2, 2).cab (2).nr (3).rev ("Plate", 4, 6).level (76),
        P ("TrebCrch", "crunch|vintage|boost|bright", "Treble booster into a small amp").amp ("TrebleBoost", 16).eq (-2, 2, 4).cab (1).nr (3).rev ("Spring", 5, 9).level (76),
        P ("PhasCrch", "crunch|rock|phaser|vintage", "Phased crunch for seventies rhythm").amp ("BritCrunch", 15).eq (1, 2, 1).cab (3).nr (3).mod ("Phaser", 7, 10).rev ("Room", 3, 5).level (76),
        P ("WarmCrch", "crunch|warm|blues", "Warm overdrive for chord work").amp ("WarmDrive", 13).eq (2, 2, 0).cab (2).nr (3).rev ("Room", 4, 6).level (78),

        // blues
        P ("BlueSky", "blues|warm|smooth", "Singing blues drive").amp ("BluesGrit", 14).eq (2, 3, 0).cab (1).nr (3).rev ("Spring", 6, 10).level (78),
        P ("Texas", "blues|crunch|bright|gritty", "Hot Texas blues bite").amp ("CleanBoost", 17).eq (1, 2, 3).cab (1).nr (3).rev ("Spring", 6, 11).level (76),
        P ("SlowBlue", "blues|lead|smooth|solo", "Slow blues lead with room").amp ("SmoothLead", 16).eq (2, 4, 0).cab (2).nr (4).dly ("AnalogDelay", 4, 330).rev ("Hall", 5, 12).level (78),
        P ("MidBlues", "blues|rhythm|warm", "Mid hump drive for shuffles").amp ("MidDrive", 12).eq (1, 4, 0).cab (1).nr (3).rev ("Room", 5, 6).level (78),
        P ("Chicago", "blues|vintage|crunch", "Small amp turned all the way up").amp ("VintageCrunch", 20).eq (0, 3, 1).cab (1).nr (4).rev ("Spring", 5, 9).level (76),
        P ("BluesLd", "blues|lead|solo|delay", "Blues solo with an analog echo").amp ("BluesGrit", 17).eq (1, 4, 1).cab (2).nr (4).dly ("AnalogDelay", 5, 360).rev ("Plate", 4, 8).level (78),
        P ("Harp", "blues|gritty|dark", "Dark gritty harmonica like tone").amp ("VintageCrunch", 22).eq (4, 3, -5).cab (1).nr (4).rev ("Room", 5, 5).level (76),
        P ("Rocky", "blues|rock|crunch", "Blues rock crunch").amp ("BritCrunch", 17).eq (2, 3, 1).cab (3).nr (4).rev ("Room", 4, 6).level (76),
        P ("BlueVib", "blues|vibrato|vintage", "Blues with a warm vibrato").amp ("JazzClean", 12).eq (2, 2, 0).cab (1).nr (2).mod ("Vibrato", 6, 16).rev ("Spring", 6, 10).level (78),
        P ("Swampy", "blues|tremolo|gritty|dark", "Swampy tremolo grit").amp ("BluesGrit", 15).eq (3, 1, -2).cab (1).nr (4).mod ("Tremolo", 11, 14).rev ("Spring", 8, 14).level (76),

        // rock
        P ("Anthem", "rock|crunch|wide", "Big anthem rhythm").amp ("BritLead", 19).eq (3, 2, 2).cab (3).nr (5).rev ("Hall", 4, 8).level (74),
        P ("ArenaRk", "rock|lead|delay|wide", "Arena rock lead").amp ("BritLead", 22).eq (2, 4, 2).cab (3).nr (5).dly ("Delay", 5, 440).rev ("Hall", 5, 14).level (74),
        P ("Classic", "rock|vintage|crunch", "Seventies classic rock").amp ("BritCrunch", 20).eq (2, 3, 2).cab (3).nr (4).rev ("Plate", 3, 6).level (74),
        P ("GarageRk", "rock|punk|gritty", "Raw garage rock").amp ("HardDist", 16).eq (1, 2, 3).cab (2).nr (5).rev ("Room", 3, 4).level (74),
        P ("PunkRock", "punk|rock|tight|bright", "Fast punk downstrokes").amp ("HardDist", 21).eq (2, 0, 4).cab (3).nr (6).level (74),
        P ("Grunge", "grunge|rock|dark|fuzz", "Sludgy grunge fuzz").amp ("FatFuzz", 22).eq (4, -2, 0).cab (3).nr (6).rev ("Room", 3, 4).level (72),
        P ("AltRock", "rock|modern|chorus", "Alternative rock with chorus").amp ("DualCrunch", 20).eq (2, 1, 2).cab (3).nr (5).mod ("Chorus", 6, 12).rev ("Room", 4, 6).level (74),
        P ("HardRock", "rock|heavy|rhythm", "Hard rock rhythm").amp ("HotLead", 20).eq (3, 1, 2).cab (3).nr (5).rev ("Room", 3, 5).level (72),
        P ("PowerCh", "rock|heavy|tight", "Tight power chords").amp ("LeadDist", 19).eq (3, 0, 3).cab (3).nr (6).level (72),
        P ("StonerRk", "rock|fuzz|fat|dark|grunge", "Desert fuzz with low end").amp ("VintageFuzz", 24).eq (5, -1, -2).cab (3).nr (6).rev ("Room", 4, 6).level (72),

        // lead
        P ("SingLd", "lead|solo|smooth|delay", "Singing lead with long sustain").fx ("Compressor", 3).amp ("SmoothLead", 22).eq (1, 4, 1).cab (3).nr (5).dly ("Delay", 5, 420).rev ("Hall", 5, 14).level (76),
        P ("HotLd", "lead|solo|rock", "Hot rock solo").amp ("HotLead", 23).eq (2, 4, 2).cab (3).nr (6).dly ("AnalogDelay", 4, 380).rev ("Plate", 4, 8).level (74),
        P ("SustnLd", "lead|solo|smooth|fat", "Endless sustain lead").amp ("SustainLead", 24).eq (2, 3, 1).cab (3).nr (6).dly ("Delay", 4, 500).rev ("Hall", 5, 12).level (74),
        P ("ModernLd", "lead|modern|solo|tight", "Modern tight lead").amp ("ModernLead", 24).eq (2, 2, 3).cab (3).nr (6).dly ("PingPong", 4, 420).rev ("Plate", 4, 9).level (74),
        P ("BritLd", "lead|rock|vintage|solo", "British master volume lead").amp ("BritLead", 23).eq (2, 4, 2).cab (3).nr (5).dly ("TapeEcho", 4, 360).rev ("Room", 4, 6).level (74),
        P ("Fusion", "fusion|lead|smooth|compressor", "Fluid fusion lead").fx ("Compressor", 4).amp ("SmoothLead", 19).eq (0, 3, 2).cab (2).nr (5).mod ("Chorus", 4, 14).dly ("Delay", 5, 400).rev ("Hall", 5, 12).level (76),
        P ("WahLead", "lead|wah|solo", "Pedal wah lead").fx ("PedalWah", 9).amp ("HotLead", 21).eq (1, 3, 1).cab (3).nr (5).rev ("Room", 4, 6).level (74).pedal (1),
        P ("OctLead", "lead|octave|fat", "Lead doubled an octave down").fx ("SubOctave", 7).amp ("SustainLead", 21).eq (1, 3, 2).cab (3).nr (5).rev ("Hall", 4, 10).level (74),
        P ("EchoLd", "lead|echo|vintage|solo", "Tape echo lead for melodies").amp ("BritCrunch", 21).eq (1, 3, 2).cab (3).nr (5).dly ("TapeEcho", 6, 440).rev ("Spring", 5, 9).level (74),
        P ("Shred", "lead|metal|solo|tight", "Shred lead").amp ("ModernLead", 27).eq (1, 2, 3).cab (3).nr (7).dly ("Delay", 3, 300).rev ("Plate", 3, 6).level (72),

        // metal
        P ("Thrash", "metal|tight|heavy|aggressive", "Thrash rhythm with scooped mids").amp ("ThrashHead", 25).eq (4, -5, 4).cab (3).nr (7).level (70),
        P ("DarkMtl", "metal|dark|heavy", "Down tuned darkness").amp ("DarkMetal", 27).eq (5, -3, 1).cab (3).nr (8).level (70),
        P ("ScoopMtl", "metal|heavy|modern", "Scooped metal pedal into a clean preamp").amp ("ScoopMetal", 24).eq (5, -6, 4).cab (3).nr (7).level (70),
        P ("Stack", "metal|heavy|fat", "Triple gain stack").amp ("MetalStack", 25).eq (4, -2, 3).cab (3).nr (7).rev ("Room", 2, 4).level (70),
        P ("Djenty", "metal|modern|tight", "Tight modern metal chugs").fx ("Booster", 5).amp ("HeavyStack", 23).eq (2, 0, 4).cab (3).nr (8).level (70),
        P ("Doom", "metal|dark|fat|heavy", "Slow doom riffs").amp ("DarkMetal", 29).eq (6, 0, -3).cab (3).nr (8).rev ("Cathedral", 4, 16).level (70),
        P ("Extreme", "metal|heavy|aggressive", "Extreme distortion").amp ("ExtremeDist", 26).eq (4, -4, 4).cab (3).nr (9).level (70),
        P ("MetalLd", "metal|lead|solo", "Metal lead with delay").amp ("MetalStack", 26).eq (2, 2, 3).cab (3).nr (7).dly ("Delay", 4, 380).rev ("Hall", 4, 10).level (72),
        P ("Grind", "metal|gritty|heavy", "Grinding distortion").amp ("GrindDist", 22).eq (3, -2, 3).cab (3).nr (7).level (70),
        P ("NuMetal", "metal|modern|heavy|dark", "Dropped tuning nu metal").amp ("HeavyStack", 26).eq (6, -4, 2).cab (3).nr (8).level (70),

        // funk and soul
        P ("FunkWah", "funk|wah|clean|tight", "Envelope wah funk").fx ("AutoWah", 10).amp ("GlassClean", 8).eq (-2, 2, 3).cab (2).nr (3).level (78),
        P ("Chicken", "funk|clean|compressor|bright", "Chicken scratch rhythm").fx ("Compressor", 7).amp ("GlassClean", 9).eq (-3, 3, 4).cab (2).nr (3).rev ("Room", 3, 4).level (78),
        P ("Disco", "funk|pop|phaser|clean", "Phased disco strums").amp ("GlassClean", 8).eq (-1, 2, 3).cab (2).nr (2).mod ("Phaser", 8, 18).rev ("Room", 3, 5).level (78),
        P ("SoulCln", "funk|clean|warm|tremolo", "Soul clean with slow tremolo").amp ("JazzClean", 9).eq (2, 1, 1).cab (1).nr (2).mod ("Tremolo", 7, 12).rev ("Plate", 5, 8).level (80),
        P ("FunkRock", "funk|rock|crunch|wah", "Funk rock with pedal wah").fx ("PedalWah", 8).amp ("DualCrunch", 15).eq (0, 2, 2).cab (2).nr (4).level (76).pedal (1),
        P ("SlapCln", "funk|clean|tight", "Tight clean with fast attack").fx ("Compressor", 5).amp ("ChimeCrunch", 6).eq (-2, 3, 3).cab (2).nr (2).level (78),
        P ("Envelope", "funk|filter|synth", "Quacky envelope filter").fx ("AutoWah", 13).amp ("GlassClean", 10).eq (0, 2, 2).cab (2).nr (3).rev ("Room", 3, 4).level (78),
        P ("StepFunk", "funk|filter|modern", "Stepped filter groove").amp ("GlassClean", 9).eq (0, 2, 2).cab (2).nr (2).mod ("StepFilter", 11, 22).rev ("Room", 3, 4).level (78),
        P ("Sixties", "funk|clean|vintage|warm", "Sixties soul rhythm").amp ("JazzClean", 7).eq (2, 2, 0).cab (1).nr (2).rev ("Room", 4, 6).level (80),
        P ("Octafunk", "funk|octave|synth", "Octave bass line funk").fx ("SubOctave", 9).amp ("GlassClean", 8).eq (2, 1, 1).cab (2).nr (3).level (78),

        // ambient
        P ("Swells", "ambient|swell|spacey|reverb", "Violin like swells into a hall").fx ("SlowAttack", 7).amp ("GlassClean", 7).eq (0, 0, 2).cab (2).nr (2).dly ("Delay", 8, 600).rev ("Cathedral", 10, 26).level (80),
        P ("Shimmer", "ambient|pitch|spacey|wide", "Octave shimmer pad").amp ("GlassClean", 6).eq (-1, 0, 3).cab (2).nr (2).mod ("MonoPitch", 6, 12).dly ("PingPong", 8, 640).rev ("Cathedral", 11, 28).level (78),
        P ("Clouds", "ambient|reverse|spacey", "Backwards clouds").fx ("SlowAttack", 6).amp ("JazzClean", 7).eq (0, 0, 1).cab (2).nr (2).dly ("Reverse", 9, 750).rev ("Hall", 10, 22).level (78),
        P ("SpaceEch", "ambient|echo|spacey|delay", "Long space echo").amp ("GlassClean", 8).eq (0, 0, 2).cab (2).nr (2).mod ("Delay1", 6, 1450).dly ("TapeEcho", 7, 900).rev ("Hall", 8, 18).level (78),
        P ("Drone", "ambient|dark|synth|spacey", "Dark synth drone").fx ("GuitarSynth", 9).amp ("JazzClean", 6).eq (3, 0, -3).cab (2).nr (3).dly ("PingPong", 8, 800).rev ("Cathedral", 12, 30).level (78),
        P ("Glacier", "ambient|clean|chorus|spacey", "Slow chorus into a huge room").amp ("GlassClean", 6).eq (0, -1, 2).cab (2).nr (2).mod ("Chorus", 10, 6).dly ("Delay", 6, 700).rev ("Cathedral", 10, 24).level (78),
        P ("PostRock", "ambient|rock|delay|wide", "Post rock crescendo").amp ("DualCrunch", 14).eq (1, 1, 2).cab (3).nr (4).dly ("Delay", 7, 480).rev ("Hall", 9, 20).level (76),
        P ("Airy", "ambient|clean|soft", "Soft airy ambience").amp ("GlassClean", 6).eq (-2, 0, 2).cab (2).nr (2).mod ("Air", 9, 600).rev ("Plate", 7, 14).level (80),
        P ("Haze", "ambient|fuzz|spacey|dark", "Hazy fuzz wall").amp ("OctaveFuzz", 18).eq (2, -2, -1).cab (3).nr (5).dly ("AnalogDelay", 8, 520).rev ("Cathedral", 10, 26).level (74),
        P ("Ocean", "ambient|flanger|spacey", "Slow flanger waves").amp ("GlassClean", 7).eq (0, 0, 2).cab (2).nr (2).mod ("Flanger", 9, 4).dly ("PingPong", 6, 560).rev ("Hall", 9, 20).level (78),

        // acoustic-like
        P ("Acoustic", "acoustic|clean|bright", "Acoustic guitar simulation").amp ("AcousticSim", 10).eq (0, -2, 3).nr (2).rev ("Room", 5, 7).level (80),
        P ("Strummer", "acoustic|pop|compressor", "Compressed acoustic strumming").fx ("Compressor", 4).amp ("AcousticSim", 11).eq (1, -2, 3).nr (2).rev ("Plate", 5, 8).level (80),
        P ("Twelve", "acoustic|chorus|bright|wide", "Twelve string like shimmer").amp ("AcousticSim", 9).eq (-1, -1, 4).nr (2).mod ("Detune", 8, 12).rev ("Hall", 5, 10).level (80),
        P ("Campfire", "acoustic|warm|soft", "Warm fingerpicking").amp ("AcousticSim", 8).eq (3, 0, 0).nr (1).rev ("Room", 4, 6).level (82),
        P ("Nylon", "acoustic|soft|jazz", "Soft nylon string like tone").amp ("AcousticSim", 7).eq (2, 1, -4).nr (1).rev ("Hall", 4, 9).level (82),
        P ("FolkRoom", "acoustic|ballad|warm", "Folk ballad in a wooden room").amp ("AcousticSim", 9).eq (2, -1, 1).nr (2).rev ("Room", 6, 9).level (80),
        P ("Resonatr", "acoustic|country|bright", "Resonator like twang").amp ("AcousticSim", 13).eq (-3, 4, 4).nr (2).rev ("Spring", 4, 6).level (78),
        P ("AcoPad", "acoustic|ambient|swell", "Acoustic swells and delay").fx ("SlowAttack", 5).amp ("AcousticSim", 8).eq (0, -1, 2).nr (2).dly ("Delay", 5, 520).rev ("Hall", 7, 16).level (80),
        P ("Ballad", "ballad|clean|chorus|soft", "Clean ballad with chorus").amp ("JazzClean", 6).eq (1, 0, 2).cab (2).nr (2).mod ("Chorus", 6, 14).rev ("Hall", 7, 16).level (80),
        P ("PianoCln", "clean|soft|compressor|jazz", "Rounded, piano like clean").fx ("Compressor", 5).amp ("JazzClean", 6).eq (2, 1, -2).cab (1).nr (1).rev ("Plate", 5, 10).level (80),

        // country and more
        P ("Twang", "country|clean|bright|compressor", "Chicken picking twang").fx ("Compressor", 6).amp ("GlassClean", 11).eq (-2, 1, 5).cab (1).nr (2).dly ("AnalogDelay", 3, 160).rev ("Spring", 4, 6).level (78),
        P ("Slapbk", "country|vintage|echo|slapback", "Slapback echo for rockabilly").amp ("VintageCrunch", 10).eq (0, 1, 3).cab (1).nr (2).dly ("TapeEcho", 6, 120).rev ("Spring", 3, 5).level (78),
        P ("Rockabil", "country|rock|vintage|echo|rockabilly", "Rockabilly grit and slap").amp ("VintageCrunch", 15).eq (0, 2, 3).cab (1).nr (3).dly ("TapeEcho", 6, 140).level (76),
        P ("SteelPed", "country|swell|smooth", "Pedal steel like swells").fx ("SlowAttack", 4).amp ("GlassClean", 9).eq (-1, 1, 3).cab (2).nr (2).dly ("Delay", 4, 300).rev ("Hall", 6, 12).level (78),
        P ("Reggae", "clean|tight|bright|reggae", "Off beat skank").amp ("GlassClean", 7).eq (-4, 3, 4).cab (2).nr (3).dly ("Delay", 4, 330).rev ("Room", 3, 4).level (78),
        P ("Rotary", "clean|rotary|vintage|warm", "Organ like rotary speaker").amp ("JazzClean", 10).eq (2, 1, 0).cab (2).nr (2).mod ("Rotary", 10, 30).rev ("Room", 4, 6).level (78),
        P ("Indie", "pop|crunch|tremolo|vintage", "Indie pop with a choppy tremolo").amp ("ChimeCrunch", 13).eq (0, 1, 3).cab (2).nr (3).mod ("Tremolo", 13, 30).rev ("Plate", 5, 8).level (76),
        P ("Gospel", "ballad|clean|warm|vibrato", "Warm vibrato for church chords").amp ("JazzClean", 7).eq (2, 1, 0).cab (1).nr (1).mod ("Vibrato", 5, 12).rev ("Cathedral", 6, 14).level (80),
        P ("LoFiPop", "pop|lofi|vintage", "Lo-fi bedroom pop").fx ("BitCrush", 10).amp ("GlassClean", 8).eq (1, 2, -2).cab (1).nr (3).mod ("Vibrato", 4, 10).rev ("Room", 4, 6).level (78),
        P ("Harmony", "lead|harmony|rock|solo", "Twin lead harmony a third up").amp ("BritLead", 21).eq (2, 3, 2).cab (3).nr (5).mod ("HPS", 9, 4).dly ("Delay", 4, 380).rev ("Hall", 4, 10).level (74),
    };

    FactoryGroup group { "Factory Tones", {} };
    for (const auto& p : list)
        group.patches.push_back (p.build());
    return group;
}

} // namespace oxafactory
