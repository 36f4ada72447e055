// Figures for the search page: building the keyword grid, making the search
// keys and scoring every record for a typed text (keystroke by keystroke) and
// for picked words, with the shipped patches and songs and with 20 000 patches
// and 2 000 songs; the character charts of every patch; and, with a display,
// the page itself: a refresh, a keystroke through the page (scoring, ordering
// and the cells in view) and its repaint.
#include "app/ControllerRequest.h"
#include "documents/PatchManager.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"
#include "editor/ModuleNameLoader.h"
#include "engine/DspLoader.h"
#include "platform/DataFolders.h"
#include "rhythm/SongManager.h"
#include "search/SectionSearch.h"
#include "ui/ControllerLink.h"
#include "ui/T730LookAndFeel.h"

#include "BenchDisplay.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace T730;

namespace
{


    struct Stats
    {
        double median, best, worst;
    };

    Stats measure (int runs, const std::function<void()>& work)
    {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i)
        {
            const auto start = std::chrono::steady_clock::now();
            work();
            ms.push_back (std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - start).count());
        }
        std::sort (ms.begin(), ms.end());
        return { ms[ms.size() / 2], ms.front(), ms.back() };
    }

    struct Link : public ControllerLink
    {
        int request (int code, int, int, void* data) override
        {
            if (code == GetPatchManager)
                *static_cast<PatchManager**> (data) = patches;
            if (code == GetSongManager)
                *static_cast<SongManager**> (data) = songs;
            return requestTrue;
        }
        Project& getCurrentProject() override { return project; }

        PatchManager* patches = nullptr;
        SongManager* songs = nullptr;
        Project project;
    };

    /** Generated stores: 100 patches per group, keywords drawn from a vocabulary of common and rare words. */
    void writeLargeStores (const juce::File& patchFolder, const juce::File& songFolder, int groups, int songs)
    {
        juce::StringArray vocabulary = juce::StringArray::fromTokens (
            "clean crunch blues rock metal lead funk jazz country pop ambient acoustic fusion punk grunge surf ballad "
            "rhythm solo warm bright dark fat tight smooth vintage modern heavy sparkle gritty spacey soft wide "
            "chorus flanger phaser tremolo vibrato wah compressor octave pitch harmony delay echo reverb rotary "
            "synth fuzz boost lofi swell reverse detune filter aggressive", " ", {});
        for (int i = 0; i < 900; ++i)
            vocabulary.add ("word" + juce::String (i));

        juce::Random random (7);
        const auto pickWords = [&]
        {
            juce::StringArray words;
            const int n = 2 + random.nextInt (4);
            for (int k = 0; k < n; ++k)
                words.addIfNotAlreadyThere (random.nextInt (4) == 0 ? vocabulary[60 + random.nextInt (900)]
                                                                    : vocabulary[random.nextInt (60)]);
            return words;
        };

        patchFolder.createDirectory();
        for (int g = 0; g < groups; ++g)
        {
            PatchSet set;
            set.Name = "Generated " + juce::String (g);
            juce::XmlElement root ("PatchSet");
            for (int i = 0; i < PatchSet::numPatches; ++i)
            {
                auto& patch = set.patches[(size_t) i];
                patch.setName ("G" + juce::String (g) + "P" + juce::String (i));
                for (int p = 0; p < EditBuf::numParams; ++p)
                    patch.edit.params[p] = random.nextInt (20);
            }
            set.write (&root);
            for (auto* patch : root.getChildByName ("Patches")->getChildIterator())
                for (const auto& word : pickWords())
                    addTextChild (patch->getChildByName ("Keywords"), "Keyword", word);
            writeXmlDocument (patchFolder.getChildFile ("Generated " + juce::String (g).paddedLeft ('0', 3) + ".xml"), root);
        }

        songFolder.createDirectory();
        for (int s = 0; s < songs; ++s)
        {
            juce::XmlElement root ("Song");
            addTextChild (&root, "SongName", "Song " + juce::String (s));
            addTextChild (&root, "BPM", juce::String (60 + random.nextInt (140)));
            auto* list = root.createNewChildElement ("Keywords");
            for (const auto& word : pickWords())
                addTextChild (list, "Keyword", word);
            writeXmlDocument (songFolder.getChildFile ("Song" + juce::String (s).paddedLeft ('0', 4) + ".xml"), root);
        }
    }

    int countPatches (const PatchManager& store)
    {
        int n = 0;
        for (int g = 0; g < store.getNumGroups(); ++g)
            if (store.getGroup (g)->allKeyworded)
                for (const auto& p : store.getGroup (g)->patches)
                    n += p.loaded ? 1 : 0;
        return n;
    }

    /** The figures that need no display: the grid's words and the scores of every record. */
    void scoringFigures (const char* size, const PatchManager& patches, const SongManager& songs, const CharacterChart& chart)
    {
        const int patchCount = countPatches (patches), songCount = songs.getNumSongs();
        std::printf ("%s: %d searchable patches, %d songs\n", size, patchCount, songCount);

        juce::StringArray words;
        const auto grid = measure (9, [&] { words = buildKeywordWords (&patches, &songs); });
        std::printf ("[ figure ] %s: keyword grid built: median %.2f ms (best %.2f, worst %.2f), %d words\n", size,
                     grid.median, grid.best, grid.worst, words.size());

        std::vector<SearchKey> keys;
        std::vector<PatchData> copies;
        const auto fill = measure (5, [&]
        {
            keys.clear();
            copies.clear();
            for (int g = 0; g < patches.getNumGroups(); ++g)
                if (patches.getGroup (g)->allKeyworded)
                    for (const auto& p : patches.getGroup (g)->patches)
                        if (p.loaded)
                            copies.push_back (p);
            for (const auto& p : copies)
                keys.emplace_back (p);
            for (int i = 0; i < songCount; ++i)
                keys.emplace_back (*songs.getSong (i));
        });
        std::printf ("[ figure ] %s: copies and search keys of every record (a list fill): median %.2f ms\n", size, fill.median);

        std::vector<int> scores;
        double worstKey = 0.0;
        const juce::String typed = "clean bright";
        for (int n = 1; n <= typed.length(); ++n)
        {
            const auto text = typed.substring (0, n);
            size_t found = 0;
            const auto s = measure (7, [&] { found = rankRecords (keys, SearchQuery (text, {}), scores).size(); });
            worstKey = std::max (worstKey, s.median);
            if (n == 1 || n == typed.length())
                std::printf ("[ figure ] %s: typed \"%s\": every record scored and ordered: median %.2f ms (%d found)\n", size,
                             text.toRawUTF8(), s.median, (int) found);
        }
        std::printf ("[ figure ] %s: slowest keystroke of \"%s\": median %.2f ms (goal <= 30 ms at the large size)\n", size,
                     typed.toRawUTF8(), worstKey);

        const juce::StringArray picked { words[0], words[1], words[2] };
        size_t found = 0;
        const auto withWords = measure (7, [&] { found = rankRecords (keys, SearchQuery ("ro", picked), scores).size(); });
        std::printf ("[ figure ] %s: three picked words and \"ro\" typed: median %.2f ms (%d found)\n", size, withWords.median,
                     (int) found);

        std::vector<CharacterScores> characters (copies.size());
        const auto charts = measure (5, [&]
        {
            for (size_t i = 0; i < copies.size(); ++i)
                characters[i] = chart.scoresOf (copies[i].edit);
        });
        std::printf ("[ figure ] %s: character of every patch: median %.2f ms (%.2f us a patch)\n", size, charts.median,
                     copies.empty() ? 0.0 : charts.median * 1000.0 / (double) copies.size());
        if (! characters.empty())
        {
            const auto similar = measure (7, [&] { nearestCharacters (characters, characters[0], 10); });
            std::printf ("[ figure ] %s: find similar (ten nearest of every patch): median %.2f ms\n", size, similar.median);
        }
    }

    /** The page in a window: refresh, a keystroke through the page, the repaint. */
    void pageFigures (const char* size, PatchManager& patches, SongManager& songs)
    {
        Link link;
        link.patches = &patches;
        link.songs = &songs;
        const auto start = std::chrono::steady_clock::now();
        auto page = std::make_unique<SectionSearch> (link);
        const double built = std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - start).count();
        page->addToDesktop (juce::ComponentPeer::windowIsTemporary);
        page->setVisible (true);

        const auto refresh = measure (5, [&] { page->refresh(); });
        auto& field = page->getFreeTextField();
        auto& grid = page->getWordList();
        double worst = 0.0;
        const juce::String typed = "clean bright";
        for (int n = 1; n <= typed.length(); ++n)
        {
            field.setText (typed.substring (0, n), false);
            const auto s = measure (5, [&] { grid.textEditorTextChanged (field); });
            worst = std::max (worst, s.median);
        }
        const auto repaint = measure (15, [&] { page->createComponentSnapshot (page->getLocalBounds(), true, 1.0f); });
        std::printf ("[ figure ] %s: the page built %.1f ms; refresh median %.1f ms; slowest keystroke through the page "
                     "(both lists scored, ordered, cells in view assigned) median %.2f ms; repaint of the page (300 x 313) "
                     "median %.2f ms (worst %.2f)\n",
                     size, built, refresh.median, worst, repaint.median, repaint.worst);
    }
} // namespace

int main()
{
    const char* display = std::getenv ("DISPLAY");
    const bool haveDisplay = display != nullptr && *display != 0;
    if (haveDisplay)
        prepareDisplay();
    juce::ScopedJuceInitialiser_GUI juce;
    const juce::File stage (OXA_BENCH_STAGE_DIR);
    overrideFolderRoots (stage, juce::File::getSpecialLocation (juce::File::tempDirectory));
    DspLoader::setDefaultResourceFolder (stage.getChildFile ("resources"));

    auto* catalogue = ModuleNameLoader::getInstance();
    const auto tables = measure (1, [&] { buildCatalogueValueTables (*catalogue); });
    const auto chart = CharacterChart::fromCatalogue (*catalogue);
    std::printf ("[ figure ] value tables of the module catalogue built once: %.1f ms\n", tables.median);

    PatchManager factoryPatches;
    factoryPatches.setFolder (stage.getChildFile ("patchgroupM7"));
    factoryPatches.loadAll();
    SongManager factorySongs;
    factorySongs.setFolder (stage.getChildFile ("song"));
    factorySongs.loadAll();
    scoringFigures ("factory", factoryPatches, factorySongs, chart);

    const auto temp = juce::File::createTempFile ("oxa-bench-search");
    temp.createDirectory();
    writeLargeStores (temp.getChildFile ("patchgroupM7"), temp.getChildFile ("song"), 200, 2000);
    PatchManager largePatches;
    largePatches.setFolder (temp.getChildFile ("patchgroupM7"));
    largePatches.loadAll();
    SongManager largeSongs;
    largeSongs.setFolder (temp.getChildFile ("song"));
    largeSongs.loadAll();
    scoringFigures ("large", largePatches, largeSongs, chart);

    if (! haveDisplay)
        std::printf ("the page's own figures need a display (DISPLAY is not set); not measured\n");
    else
    {
        T730LookAndFeel lookAndFeel;
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        pageFigures ("factory", factoryPatches, factorySongs);
        pageFigures ("large", largePatches, largeSongs);
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

    temp.deleteRecursively();
    ModuleNameLoader::deleteInstance();
    return 0;
}
