// The factory songs, the extra songs of the rhythm archive and the demo tool sets. The
// names are this program's own. Kits and voices are the engine's list positions:
// kits 0 Standard, 8 Room, 16 Power, 20 Electronic, 22 Jazz, 27 Brush; bass voices
// 0 fingered, 1 picked, 2 acoustic, 3 fretless, 4 slap, 5 pop, 6 synth.
#include "RhythmTables.h"

namespace oxafactory
{

namespace
{
    constexpr int standard = 0, room = 8, power = 16, electronic = 20, jazz = 22, brush = 27;
    constexpr int fingered = 0, picked = 1, acoustic = 2, fretless = 3, slap = 4, pop = 5, synth = 6;

    SongPlan song (std::string file, std::string name, std::string style, std::string groove, int bpm, std::string key,
                   int kit, int bass, std::vector<Section> sections, std::string order, std::string keywords,
                   std::string tooltip)
    {
        SongPlan s;
        s.file = std::move (file);
        s.name = std::move (name);
        s.style = std::move (style);
        s.groove = std::move (groove);
        s.bpm = bpm;
        s.key = std::move (key);
        s.kit = kit;
        s.bassVoice = bass;
        s.sections = std::move (sections);
        s.order = std::move (order);
        s.keywords = std::move (keywords);
        s.tooltip = std::move (tooltip);
        return s;
    }
} // namespace

const std::vector<SongPlan>& factorySongs()
{
    static const std::vector<SongPlan> list {
        song ("Song_8beat.xml", "Eight Beat Highway", "rock 8-beat", "rock8", 120, "A", standard, fingered,
              { { 'A', "A | A | D | E" }, { 'B', "D | D | A | E" } }, "AABA",
              "rock|8beat|straight|practice", "Straight eighths at 120 for everyday riffs and chords"),
        song ("Song_8beatGarage.xml", "Garage Door Rattle", "rock 8-beat", "rock8", 138, "E", room, picked,
              { { 'A', "E | G | A | E" }, { 'B', "C | D | E | E" } }, "AABB",
              "rock|8beat|garage|fast", "Driving garage eighths in E"),
        song ("Song_8beatPop.xml", "Sunday Drive Home", "pop rock 8-beat", "rock8", 104, "G", standard, fingered,
              { { 'A', "G | D | Em | C" }, { 'B', "Am | C | D | D" } }, "AABA",
              "pop|rock|8beat|chords|straight", "Easy pop rock eighths for open chords"),
        song ("Song_16beat.xml", "Sixteen Lanes", "rock 16-beat", "rock16", 96, "D", standard, fingered,
              { { 'A', "D | Bm | G | A" }, { 'B', "G | A | Bm | A" } }, "AABA",
              "rock|16beat|groove", "Sixteenth hats with a busy kick in D"),
        song ("Song_16beatCity.xml", "City Lights Run", "rock 16-beat", "rock16", 100, "A", room, picked,
              { { 'A', "Am | F | C | G" }, { 'B', "F | G | Am | Am" } }, "AABB",
              "rock|16beat|minor|night", "Minor sixteenth groove for melodic leads"),
        song ("Song_shuffle.xml", "Backroad Shuffle", "shuffle", "shuffle", 116, "E", room, fingered,
              { { 'A', "E7 | A7 | E7 | B7" }, { 'B', "A7 | A7 | E7 | B7" } }, "AABA",
              "shuffle|blues|swing|boogie", "Swung eighths with a boogie bass in E"),
        song ("Song_shuffleNoon.xml", "Shuffle At High Noon", "shuffle", "shuffle", 132, "A", standard, fingered,
              { { 'A', "A7 | D7 | A7 | E7" }, { 'B', "D7 | D7 | A7 E7 | A7" } }, "AB",
              "shuffle|blues|fast|boogie", "A brisk shuffle in A"),
        song ("Song_blues12.xml", "Twelve Bar Walk", "blues", "shuffle", 96, "A", room, acoustic,
              { { 'A', "A7 | D7 | A7 | A7 | D7 | D7 | A7 | A7 | E7 | D7 | A7 | E7" } }, "A",
              "blues|12bar|shuffle|practice|walking bass", "The twelve bar blues in A with a quick change"),
        song ("Song_bluesSlow.xml", "Slow Burn Blues", "slow blues 12/8", "blues128", 76, "E", room, fingered,
              { { 'A', "E7 | A7 | E7 | E7 | A7 | A7 | E7 | E7 | B7 | A7 | E7 | B7" } }, "A",
              "blues|slow|12/8|solo|12bar", "A slow twelve-eight blues in E for long bends"),
        song ("Song_bluesMinor.xml", "Midnight Twelve", "minor blues 12/8", "blues128", 72, "E", jazz, fretless,
              { { 'A', "Em7 | Am7 | Em7 | Em7 | Am7 | Am7 | Em7 | Em7 | C7 | B7 | Em7 | B7" } }, "A",
              "blues|minor|slow|12/8", "A minor blues in twelve-eight"),
        song ("Song_funk.xml", "Rubber Band Groove", "funk", "funk16", 100, "E", standard, slap,
              { { 'A', "E9 | E9 | E9 | E9" }, { 'B', "A9 | A9 | E9 | B7" } }, "AABA",
              "funk|16beat|groove", "Syncopated sixteenths on one chord, slap bass"),
        song ("Song_funkSlick.xml", "Slick Sixteenths", "funk", "funk16", 106, "D", electronic, pop,
              { { 'A', "Dm7 | G7 | Dm7 | G7" }, { 'B', "Am7 | Am7 | G7 | G7" } }, "AABB",
              "funk|16beat|minor|electronic", "Minor funk with an electronic kit"),
        song ("Song_metal.xml", "Iron Furnace", "metal", "metal16", 150, "E", power, picked,
              { { 'A', "E5 | E5 | C5 D5 | E5" }, { 'B', "G5 | A5 | C5 | D5" } }, "AABA",
              "metal|double kick|heavy|fast|power chords", "Double kick sixteenths for palm-muted riffs"),
        song ("Song_metalGallop.xml", "Steel Gallop", "metal gallop", "gallop16", 168, "E", power, picked,
              { { 'A', "E5 | D5 | C5 | D5" }, { 'B', "A5 | G5 | F#5 | B5" } }, "AABA",
              "metal|double kick|heavy|fast", "The galloping beat of classic metal"),
        song ("Song_punk.xml", "Three Chord Riot", "punk", "punk16", 180, "A", standard, picked,
              { { 'A', "A | D | E | E" }, { 'B', "D | D | A | E" } }, "AAB",
              "punk|fast|8beat|downstrokes|garage", "Fast downstrokes on three chords"),
        song ("Song_punkSkate.xml", "Skate Park Anthem", "punk", "punk16", 192, "D", room, picked,
              { { 'A', "D | G | A | G" }, { 'B', "Bm | G | A | A" } }, "AABB",
              "punk|fast|anthem|downstrokes", "A punk anthem at full speed"),
        song ("Song_ballad.xml", "Candle Ballad", "ballad", "ballad16", 70, "C", standard, fingered,
              { { 'A', "C | Am | F | G" }, { 'B', "F | G | Em | Am" } }, "AABA",
              "ballad|slow|clean|chords", "A slow ballad for clean arpeggios"),
        song ("Song_balladHarbor.xml", "Harbor Lights", "ballad", "ballad16", 66, "G", room, fretless,
              { { 'A', "G | Em | C | D" }, { 'B', "C | D | G | G" } }, "AAB",
              "ballad|slow|anthem|power chords", "A power ballad with a fretless bass"),
        song ("Song_ballad68.xml", "Slow Tide Waltz", "6/8 ballad", "ballad68", 90, "D", standard, fingered,
              { { 'A', "D | Bm | G | A" }, { 'B', "G A | D Bm | G | A" } }, "AABA",
              "ballad|waltz|slow", "A rolling six-eight ballad"),
        song ("Song_reggae.xml", "Island Morning", "reggae", "reggae16", 76, "G", standard, fingered,
              { { 'A', "G | C | D | C" }, { 'B', "Em | C | D | D" } }, "AABA",
              "reggae|one drop|offbeat|half time", "One drop drums for offbeat skanks"),
        song ("Song_reggaeSunset.xml", "One Drop Sunset", "reggae", "reggae16", 80, "A", electronic, synth,
              { { 'A', "Am | Dm | Am | Em" }, { 'B', "Dm | Dm | Am | Em" } }, "AB",
              "reggae|minor|one drop|offbeat|electronic", "A minor reggae with a synth bass"),
        song ("Song_bossa.xml", "Rio Window", "bossa nova", "bossa16", 130, "A", brush, acoustic,
              { { 'A', "Am7 | Am7 | D7 | D7" }, { 'B', "Gmaj7 | Cmaj7 | F#m7b5 | B7" } }, "AB",
              "bossa|latin|jazz|brush|percussion", "Brushes and rim clicks for bossa comping"),
        song ("Song_bossaStreet.xml", "Quiet Samba Street", "bossa nova", "bossa16", 140, "C", brush, acoustic,
              { { 'A', "Dm7 | G7 | Cmaj7 | Cmaj7" }, { 'B', "Em7 | A7 | Dm7 | G7" } }, "AABA",
              "bossa|latin|jazz", "A two-five-one bossa in C"),
        song ("Song_swing.xml", "Blue Room Swing", "jazz swing", "swing12", 140, "C", jazz, acoustic,
              { { 'A', "Dm7 | G7 | Cmaj7 | A7" }, { 'B', "Dm7 | G7 | Cmaj7 | Cmaj7" } }, "AABA",
              "jazz|swing|walking bass", "A walking bass and a swinging ride cymbal"),
        song ("Song_swingWalk.xml", "Late Night Walk", "jazz swing", "swing12", 168, "G", brush, acoustic,
              { { 'A', "Am7 D7 | Gmaj7 | Am7 D7 | Gmaj7" }, { 'B', "Bm7 E7 | Am7 | D7 | Gmaj7" } }, "AABA",
              "jazz|swing|fast|brush|night|two beat", "Up-tempo changes two to a bar"),
        song ("Song_country.xml", "Dusty Boots", "country", "country16", 112, "G", standard, fingered,
              { { 'A', "G | C | D | G" }, { 'B', "C | G | D | D" } }, "AABA",
              "country|two beat|chicken picking", "Root and fifth two-beat country"),
        song ("Song_countryTrain.xml", "Prairie Train", "country train beat", "train16", 150, "A", brush, fingered,
              { { 'A', "A | D | E | A" }, { 'B', "D | A | E | E" } }, "AABB",
              "country|train beat|fast|chicken picking", "A train beat on the snare"),
        song ("Song_hardrock.xml", "Thunder Amp", "hard rock", "hardrock16", 126, "E", power, picked,
              { { 'A', "E5 | G5 | A5 | A5" }, { 'B', "C5 | D5 | E5 | E5" } }, "AABA",
              "hard rock|power chords|heavy", "Power chords over a big room kit"),
        song ("Song_hardrockStomp.xml", "Stadium Stomp", "hard rock", "hardrock16", 112, "A", room, fingered,
              { { 'A', "A5 | C5 | D5 | A5" }, { 'B', "F5 | G5 | A5 | A5" } }, "AAB",
              "hard rock|anthem", "A mid-tempo stadium stomp"),
        song ("Song_waltz.xml", "County Fair Waltz", "waltz 3/4", "waltz34", 150, "G", standard, acoustic,
              { { 'A', "G | G | C | G" }, { 'B', "D | D | G | G" } }, "AB",
              "waltz|3/4|country", "Oom-pah-pah in three"),
        song ("Song_waltzVelvet.xml", "Velvet Waltz", "jazz waltz 3/4", "waltz34", 120, "C", brush, fretless,
              { { 'A', "C | Am | Dm | G" }, { 'B', "Em | Am | Dm7 | G7" } }, "AABB",
              "waltz|3/4|jazz", "A gentle jazz waltz"),
        song ("Song_latin.xml", "Mango Moon", "latin rock", "latin16", 100, "A", standard, fingered,
              { { 'A', "Am | D | Am | D" }, { 'B', "Dm | Am | Em | Am" } }, "AABA",
              "latin|rock|percussion", "Cowbell and congas under a minor vamp"),
        song ("Song_rockabilly.xml", "Chrome Fender Bop", "rockabilly", "rockabilly12", 180, "E", room, acoustic,
              { { 'A', "E | E | A | E" }, { 'B', "B7 | A7 | E | B7" } }, "AB",
              "rockabilly|shuffle|slapback|fast|train beat", "A fast rockabilly shuffle with a slapped upright"),
        song ("Song_psych.xml", "Paisley Haze", "psychedelic", "psych16", 84, "E", room, fingered,
              { { 'A', "Em | D | C | D" }, { 'B', "A | A | Em | Em" } }, "AABA",
              "spacey|half time|fuzz", "A half-time haze for fuzz and phaser"),
        song ("Song_fusion.xml", "Prism Fusion", "fusion", "fusion16", 108, "D", electronic, fretless,
              { { 'A', "Dm7 | Em7 | Fmaj7 | Em7" }, { 'B', "Gmaj7 | A7 | Dm7 | Dm7" } }, "AABA",
              "fusion|jazz|16beat|lead", "Sixteenth fusion changes for lead lines"),
    };
    return list;
}

const std::vector<SongPlan>& extraSongs()
{
    static const std::vector<SongPlan> list {
        song ("Song_extraSurf.xml", "Wave Rider Stomp", "surf", "surf16", 164, "E", standard, picked,
              { { 'A', "E | A | E | B" }, { 'B', "A | A | E | B" } }, "AB",
              "surf|fast|8beat", "A surf stomp in E"),
        song ("Song_extraGospel.xml", "Sunday Choir Twelve", "gospel 12/8", "gospel128", 66, "C", room, fingered,
              { { 'A', "C | F | C | G" }, { 'B', "F | C | G7 | C" } }, "AB",
              "gospel|12/8|slow|clap", "Hand claps on two and four in twelve-eight"),
        song ("Song_extraDisco.xml", "Mirror Ball Nights", "disco", "disco16", 118, "A", electronic, synth,
              { { 'A', "Am7 | Dm7 | Am7 | Dm7" }, { 'B', "F | G | Am7 | Am7" } }, "AAB",
              "disco|dance|octave bass", "Four on the floor with an octave bass"),
    };
    return list;
}

const std::vector<DemoPlan>& demoToolSets()
{
    static const std::vector<DemoPlan> list {
        { "1965 LIVERPOOL", "Song_8beatPop.xml", "ChimeCr" },
        { "1968 PSYCHEDELIC", "Song_psych.xml", "PhasCrch" },
        { "1969 BRITISH HARD ROCK", "Song_hardrock.xml", "Classic" },
        { "1970 BLUES ROCK", "Song_shuffle.xml", "Rocky" },
        { "1970 HEAVY METAL", "Song_bluesSlow.xml", "Doom" },
        { "1972 BRITISH HARD ROCK", "Song_hardrockStomp.xml", "BritCrch" },
        { "1975 ROCK OPERAS", "Song_ballad68.xml", "ArenaRk" },
        { "1976 ROCK INSTRUMENTS", "Song_16beat.xml", "SingLd" },
        { "1977 FUSION INSTRUMENTS", "Song_fusion.xml", "Fusion" },
        { "1978 AMERICAN HARD ROCK", "Song_8beatGarage.xml", "HardRock" },
        { "1980 HEAVY METAL", "Song_metalGallop.xml", "MetalLd" },
        { "1981 NEO ROCKABILLY", "Song_rockabilly.xml", "Rockabil" },
        { "1983 UK ROCK", "Song_16beatCity.xml", "AltRock" },
        { "1984 BLUES ROCK", "Song_blues12.xml", "Texas" },
        { "1984 PROGRESSIVE INSTRUMENTS", "Song_waltzVelvet.xml", "EchoLd" },
        { "1987 L.A. METAL", "Song_8beat.xml", "HotLd" },
        { "1987 ROCK INSTRUMENTS", "Song_shuffleNoon.xml", "Shred" },
        { "1989 EUROPEAN HARD ROCK", "Song_balladHarbor.xml", "BritLd" },
        { "1991 HEAVY METAL", "Song_metal.xml", "Thrash" },
        { "1999 LATIN ROCK", "Song_latin.xml", "SustnLd" },
    };
    return list;
}

} // namespace oxafactory
