// Step: the download catalogue, a folder laid out as the catalogue server's
// paths (build/stage-catalogue): "archive/oxa_tools_data/M7c/DownloadInfo.xml"
// and the files it names, four patch sets of 100 keyworded patches (written
// with the factory's patch language from small tables of amps and effects)
// and ten rhythms (songs of the factory's rhythm tables, with their patterns
// and MIDI files). The catalogue's URLs are on the server's default address
// http://127.0.0.1:8730 (README: oxa-catalogue-server --port 8730).
#include "../FactoryStep.h"
#include "../patches/PatchBuilder.h"
#include "../rhythm/PatternWriter.h"

#include "documents/PatchSet.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"

#include <iostream>

namespace oxafactory
{
namespace
{
    constexpr const char* server = "http://127.0.0.1:8730";
    constexpr const char* folderPath = "archive/oxa_tools_data/M7c";

    struct Effect
    {
        const char* key;
        double second, main;
    };

    /** A patch set's recipe: its amps (with a gain range), and the effects its patches take turns with. */
    struct SetPlan
    {
        const char* name;
        std::vector<const char*> words;   // ten words of at most five letters: the patch names are word + " " + 1..10
        const char* keywords;  // every patch's words
        const char* comment;
        bool isNew;
        std::vector<const char*> amps;
        int gainLow, gainHigh;
        std::vector<Effect> fx, mod, dly, rev;
        std::vector<const char*> moods;   // one more word per patch, taking turns
    };

    const std::vector<SetPlan>& setPlans()
    {
        static const std::vector<SetPlan> plans {
            { "Blues Box", { "Delta", "Texas", "Bayou", "Juke", "Porch", "Mojo", "Smoky", "Slide", "Rust", "Bones" }, "blues", "Warm drives and singing leads for blues, from Delta to Texas", true,
              { "BluesGrit", "WarmDrive", "CleanBoost", "VintageCrunch", "MidDrive" }, 8, 20,
              { { "Compressor", 4, 0 }, { "Booster", 5, 0 }, { "PedalWah", 8, 0 } },
              { { "Tremolo", 7, 12 }, { "Vibrato", 5, 12 }, { "Chorus", 6, 12 } },
              { { "AnalogDelay", 4, 330 }, { "TapeEcho", 6, 120 }, { "Delay", 4, 380 } },
              { { "Spring", 6, 10 }, { "Room", 4, 6 }, { "Plate", 5, 8 } },
              { "warm", "smooth", "gritty", "vintage", "crunch" } },
            { "Metal Lab", { "Riff", "Chug", "Shred", "Forge", "Steel", "Doom", "Blast", "Razor", "Venom", "Iron" }, "metal|heavy", "Tight high gain for riffs, chugs and shred solos", true,
              { "MetalStack", "ScoopMetal", "ThrashHead", "DarkMetal", "ExtremeDist", "HeavyStack" }, 18, 29,
              { { "Booster", 8, 0 }, { "Compressor", 3, 0 } },
              { { "Flanger", 9, 4 }, { "Phaser", 7, 10 }, { "Detune", 8, 12 } },
              { { "Delay", 3, 300 }, { "PingPong", 4, 420 }, { "Delay", 5, 440 } },
              { { "Room", 2, 4 }, { "Plate", 3, 6 }, { "Hall", 4, 8 } },
              { "tight", "lead", "rhythm", "aggressive", "dark" } },
            { "Ambient Shop", { "Cloud", "Drift", "Halo", "Mist", "Glow", "Tide", "Aura", "Swell", "Dawn", "Echo" }, "ambient|spacey", "Washes, swells and long echoes for textures", false,
              { "GlassClean", "JazzClean", "ChimeCrunch", "SmoothLead" }, 5, 16,
              { { "SlowAttack", 6, 0 }, { "Compressor", 5, 0 }, { "SubOctave", 7, 0 } },
              { { "Chorus", 9, 18 }, { "Detune", 8, 12 }, { "Rotary", 10, 30 }, { "Air", 9, 600 } },
              { { "PingPong", 8, 620 }, { "Reverse", 9, 750 }, { "TapeEcho", 7, 900 }, { "Delay", 8, 600 } },
              { { "Cathedral", 10, 24 }, { "Hall", 9, 20 }, { "Cathedral", 12, 30 } },
              { "wide", "clean", "soft", "swell", "sparkle" } },
            { "Vintage Vault", { "Fuzz", "Chime", "Groov", "Mod", "Swing", "Flare", "Tonic", "Retro", "Beat", "Haze" }, "vintage", "Sixties and seventies fuzz, chime and crunch", false,
              { "VintageFuzz", "FatFuzz", "TrebleBoost", "BritCrunch", "ChimeCrunch", "OctaveFuzz" }, 10, 22,
              { { "AutoWah", 10, 0 }, { "Booster", 5, 0 }, { "PedalWah", 9, 0 } },
              { { "Phaser", 8, 18 }, { "Tremolo", 10, 22 }, { "Rotary", 10, 30 }, { "Vibrato", 6, 16 } },
              { { "TapeEcho", 6, 440 }, { "AnalogDelay", 5, 360 }, { "TapeEcho", 4, 360 } },
              { { "Spring", 7, 12 }, { "Plate", 4, 8 }, { "Room", 5, 6 } },
              { "fuzz", "gritty", "crunch", "rock", "warm" } },
        };
        return plans;
    }

    std::vector<FactoryPatch> patchesOf (const SetPlan& plan)
    {
        std::vector<FactoryPatch> patches;
        for (int i = 0; i < T730::PatchSet::numPatches; ++i)
        {
            const auto* amp = plan.amps[(size_t) i % plan.amps.size()];
            const int span = plan.gainHigh - plan.gainLow + 1;
            const int gain = plan.gainLow + (i * 7) % span;
            const auto mood = juce::String (plan.moods[(size_t) (i / 3) % plan.moods.size()]);
            const auto name = juce::String (plan.words[(size_t) (i / 10) % plan.words.size()]) + " " + juce::String (i % 10 + 1);
            const auto idea = juce::String (amp) + " at " + juce::String (gain) + ", " + mood;

            PatchBuilder p (name, juce::String (plan.keywords) + "|" + mood, idea);
            if (i % 4 == 1 && ! plan.fx.empty())
            {
                const auto& e = plan.fx[(size_t) (i / 4) % plan.fx.size()];
                p.fx (e.key, e.second);
            }
            p.amp (amp, gain).eq ((i % 5) - 2, ((i / 5) % 5) - 2, ((i / 25) % 4) - 1).cab (1 + i % 3).nr (2 + i % 3);
            if (i % 3 != 2 && ! plan.mod.empty())
            {
                const auto& e = plan.mod[(size_t) i % plan.mod.size()];
                p.mod (e.key, e.second, e.main);
            }
            if (i % 2 == 0 && ! plan.dly.empty())
            {
                const auto& e = plan.dly[(size_t) (i / 2) % plan.dly.size()];
                p.dly (e.key, e.second, e.main);
            }
            const auto& r = plan.rev[(size_t) (i / 3) % plan.rev.size()];
            p.rev (r.key, r.second, r.main).level (72 + 2 * (i % 6));
            patches.push_back (p.build());
        }
        return patches;
    }

    //==============================================================================
    struct RhythmEntryPlan
    {
        SongPlan song;
        const char* comment;
        bool isNew;
    };

    SongPlan songPlan (const char* file, const char* name, const char* style, const char* groove, int bpm,
                       const char* key, int kit, int bass, std::vector<Section> sections, const char* order,
                       const char* keywords, const char* tooltip)
    {
        SongPlan s;
        s.file = file;
        s.name = name;
        s.style = style;
        s.groove = groove;
        s.bpm = bpm;
        s.key = key;
        s.kit = kit;
        s.bassVoice = bass;
        s.sections = std::move (sections);
        s.order = order;
        s.keywords = keywords;
        s.tooltip = tooltip;
        return s;
    }

    const std::vector<RhythmEntryPlan>& rhythmPlans()
    {
        static const std::vector<RhythmEntryPlan> plans {
            { songPlan ("Song_dlFunkyStreet.xml", "Funky Street", "funk 16-beat", "funk16", 104, "E", 0, 4,
                        { { 'A', "E7 | E7 | A7 | E7" }, { 'B', "A7 | B7 | E7 | E7" } }, "AABA", "funk|16beat|groove", "Sixteenth funk with a slap bass"), "A tight funk groove in E for chicken picking", true },
            { songPlan ("Song_dlThrashAttack.xml", "Thrash Attack", "metal", "metal16", 168, "E", 16, 1,
                        { { 'A', "E | E | F | E" }, { 'B', "C | D | E | E" } }, "AABB", "metal|fast|heavy", "Double kick thrash at 168"), "Fast double kick for down-picking practice", true },
            { songPlan ("Song_dlGallopRide.xml", "Gallop Ride", "metal gallop", "gallop16", 150, "E", 16, 1,
                        { { 'A', "Em | C | D | Em" }, { 'B', "C | D | Em | Em" } }, "AABA", "metal|gallop|heavy", "The gallop of classic metal"), "Galloping triplets for metal rhythm", false },
            { songPlan ("Song_dlPunkRush.xml", "Punk Rush", "punk", "punk16", 180, "A", 8, 1,
                        { { 'A', "A | D | E | A" }, { 'B', "D | E | A | A" } }, "AABB", "punk|fast|rock", "Three chords at 180"), "Three chords and a fast beat", false },
            { songPlan ("Song_dlMidnightBallad.xml", "Midnight Ballad", "ballad", "ballad16", 72, "C", 27, 3,
                        { { 'A', "C | Am | F | G" }, { 'B', "F | G | Em | Am" } }, "AABA", "ballad|slow|clean", "A slow ballad for expressive leads"), "A slow ballad with brushes for melodic solos", true },
            { songPlan ("Song_dlIslandSkank.xml", "Island Skank", "reggae", "reggae16", 80, "G", 0, 0,
                        { { 'A', "G | C | G | D" }, { 'B', "C | D | G | G" } }, "AABA", "reggae|offbeat|groove", "Offbeat skank in G"), "Offbeat reggae to practise the skank", false },
            { songPlan ("Song_dlBossaSunset.xml", "Bossa Sunset", "bossa nova", "bossa16", 128, "D", 22, 2,
                        { { 'A', "Dmaj7 | Em7 | A7 | Dmaj7" }, { 'B', "Gmaj7 | F#m7 | Em7 | A7" } }, "AABA", "bossa|latin|jazz", "Soft bossa with jazz chords"), "A soft bossa nova with jazz chords", true },
            { songPlan ("Song_dlCountryRoad.xml", "Country Road", "country", "country16", 112, "G", 8, 1,
                        { { 'A', "G | C | D | G" }, { 'B', "C | G | D | G" } }, "AABA", "country|twang|train", "A train beat for chicken picking"), "A country train beat for twang and hybrid picking", false },
            { songPlan ("Song_dlDiscoLights.xml", "Disco Lights", "disco", "disco16", 118, "A", 20, 6,
                        { { 'A', "Am | D | Am | D" }, { 'B', "F | G | Am | Am" } }, "AABA", "disco|funk|dance", "Four on the floor with octave bass"), "Four on the floor for funky rhythm guitar", false },
            { songPlan ("Song_dlSwingTime.xml", "Swing Time", "swing", "swing12", 140, "F", 22, 2,
                        { { 'A', "F | Bb | F | C7" }, { 'B', "Bb | Bb | F | C7" } }, "AABA", "swing|jazz|blues", "A swinging jazz blues in F"), "A walking swing in F for jazz blues", true },
        };
        return plans;
    }

    juce::String urlOf (const juce::String& relative)
    {
        return juce::String (server) + "/" + folderPath + "/" + juce::URL::addEscapeChars (relative, false).replace ("%2F", "/");
    }

    bool makeCatalogue (const FactoryContext& context)
    {
        if (context.catalogue == juce::File())
            return true;

        const auto root = context.catalogue;
        root.deleteRecursively();
        const auto base = root.getChildFile (folderPath);
        const auto patchFolder = base.getChildFile ("patchsets");
        const auto songFolder = base.getChildFile ("rhythms/song");
        const auto rhythmFolder = base.getChildFile ("rhythms/rhythm");
        for (auto& f : { patchFolder, songFolder, rhythmFolder })
            if (! f.createDirectory())
            {
                std::cerr << "cannot make " << f.getFullPathName() << "\n";
                return false;
            }

        juce::XmlElement info ("DownloadInfo");
        T730::addTextChild (&info, "LastTime", "2026-12-01 09:30:00");
        auto* patchsets = info.createNewChildElement ("Patchsets");
        auto* rhythms = info.createNewChildElement ("Rhythms");

        try
        {
            for (const auto& plan : setPlans())
            {
                const auto fileName = juce::String (plan.name) + ".xml";
                if (! writeFactoryGroup (patchFolder.getChildFile (fileName), plan.name, patchesOf (plan)))
                    throw PatchError { "cannot write the patch set " + juce::String (plan.name) };

                auto* entry = patchsets->createNewChildElement ("Patchset");
                entry->setAttribute ("name", plan.name);
                entry->setAttribute ("new", plan.isNew ? "true" : "false");
                T730::addTextChild (entry, "Comment", plan.comment);
                auto* urls = entry->createNewChildElement ("Urls");
                T730::addTextChild (urls, "Url", urlOf ("patchsets/" + fileName));
            }
        }
        catch (const PatchError& e)
        {
            std::cerr << "catalogue patch set: " << e.message << "\n";
            return false;
        }

        try
        {
            int number = 0;
            for (const auto& plan : rhythmPlans())
            {
                const auto before = rhythmFolder.findChildFiles (juce::File::findFiles, false);
                writeSongPlan (plan.song, songFolder, rhythmFolder);

                auto* entry = rhythms->createNewChildElement ("Rhythm");
                entry->setAttribute ("name", plan.song.name);
                entry->setAttribute ("new", plan.isNew ? "true" : "false");
                entry->setAttribute ("rhythm", number++);
                T730::addTextChild (entry, "Comment", plan.comment);
                auto* urls = entry->createNewChildElement ("Urls");
                auto* song = T730::addTextChild (urls, "Url", urlOf ("rhythms/song/" + juce::String (plan.song.file)));
                song->setAttribute ("song", "true");

                auto files = rhythmFolder.findChildFiles (juce::File::findFiles, false);
                files.sort();
                for (const auto& f : files)
                    if (! before.contains (f))
                        T730::addTextChild (urls, "Url", urlOf ("rhythms/rhythm/" + f.getFileName()));
            }
        }
        catch (const RhythmError& e)
        {
            std::cerr << "catalogue rhythm: " << e.message << "\n";
            return false;
        }

        if (! T730::writeXmlDocument (base.getChildFile ("DownloadInfo.xml"), info))
        {
            std::cerr << "cannot write DownloadInfo.xml\n";
            return false;
        }
        return true;
    }

    const FactoryStepRegistration registration (60, "download catalogue", makeCatalogue);
} // namespace
} // namespace oxafactory
