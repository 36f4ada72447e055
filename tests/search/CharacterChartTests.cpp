// The patch character chart: the value lists built from module descriptions
// (hand-made layouts for the special rules), the five scores with their edge
// cases and the checked lookups of a damaged patch, the drawing, every factory
// patch against the staged catalogue, and "find similar".
#include "SearchTestSupport.h"

#include "documents/XmlParser.h"
#include "search/CharacterChart.h"

#include <cmath>

using namespace T730;
using namespace searchtest;

namespace
{
/** A layout reader over a hand-written "Ctrls" element. */
struct Layout
{
    explicit Layout (const juce::String& xml) : root (parseXmlText ("<Ctrls>" + xml + "</Ctrls>"))
    {
        reader.ctrl = [this] (int n) -> const juce::XmlElement*
        {
            for (auto* c : root->getChildWithTagNameIterator ("Ctrl"))
                if (c->getIntAttribute ("index", -1) == n)
                    return c;
            return nullptr;
        };
        reader.prmTable = [] (const juce::XmlElement& ctrl)
        {
            juce::StringArray texts;
            if (auto* table = ctrl.getChildByName ("PrmTable"))
                for (auto* t : table->getChildIterator())
                    texts.add (t->getAllSubText());
            return texts;
        };
    }

    std::unique_ptr<juce::XmlElement> root;
    TypeLayoutReader reader;
};

/** The tables of a small catalogue: every category gets `types` tables of the given lists. */
CharacterChart::Tables uniformTables (int types, const SE_ModulePrmsTable& table)
{
    CharacterChart::Tables tables (8);
    for (auto& category : tables)
        category.assign ((size_t) types, table);
    SE_ModulePrms eq;
    for (int v = -18; v <= 19; ++v)
        eq.push_back ((float) v);
    tables[2].assign ((size_t) types, { eq });
    return tables;
}

SE_ModulePrms steps (int count, int offset)
{
    SE_ModulePrms v;
    for (int i = 0; i < count; ++i)
        v.push_back ((float) (offset + i));
    return v;
}

#define EXPECT_CLOSE(actual, expected) EXPECT_NEAR ((actual), (expected), 1.0e-4f)

TEST (SearchCharacterChart, ValueListsFollowTheDescriptionsRules)
{
    // No DspMax: the default 1 gives two values; category 1 counts from PrmOffset 1, category 2 from 0.
    const Layout none ("<Ctrl index=\"0\"/>");
    EXPECT_EQ (buildValueTable (1, "Comp", none.reader), SE_ModulePrmsTable ({ { 1.0f, 2.0f } }));
    EXPECT_EQ (buildValueTable (2, "Amp", none.reader), SE_ModulePrmsTable ({ { 0.0f, 1.0f } }));

    const Layout gain ("<Ctrl index=\"0\"><DspMax>30</DspMax></Ctrl>");
    ASSERT_EQ (buildValueTable (2, "Amp", gain.reader)[0].size(), 31u);
    EXPECT_EQ (buildValueTable (2, "Amp", gain.reader)[0][30], 30.0f);

    // Category 3 ignores the layout; 4 and 8 have no lists.
    const auto eq = buildValueTable (3, "EQ", none.reader);
    ASSERT_EQ (eq.size(), 1u);
    ASSERT_EQ (eq[0].size(), 38u);
    EXPECT_EQ (eq[0].front(), -18.0f);
    EXPECT_EQ (eq[0].back(), 19.0f);
    EXPECT_TRUE (buildValueTable (4, "NR", gain.reader).empty());
    EXPECT_TRUE (buildValueTable (8, "X", gain.reader).empty());

    // Category 7: list 0 from ctrl 1, list 1 from ctrl 0, both from 1.
    const Layout reverb ("<Ctrl index=\"0\"><DspMax>2</DspMax></Ctrl><Ctrl index=\"1\"><DspMax>3</DspMax><PrmOffset>5</PrmOffset></Ctrl>");
    EXPECT_EQ (buildValueTable (7, "Hall", reverb.reader), SE_ModulePrmsTable ({ { 5, 6, 7, 8 }, { 1, 2, 3 } }));
}

TEST (SearchCharacterChart, Category5And6ReadTimesUnderThePrefixRule)
{
    // An empty table with PrmOffset 1: 0.01 .. 0.09, 0.10 .., 0.99, then 100, 101.
    const Layout delay ("<Ctrl index=\"0\"><DspMax>100</DspMax><PrmOffset>1</PrmOffset><UsePrmTable>1</UsePrmTable><PrmTable/></Ctrl>");
    const auto list = buildValueTable (5, "Delay1", delay.reader)[1];
    ASSERT_EQ (list.size(), 101u);
    EXPECT_CLOSE (list[0], 0.01f);
    EXPECT_CLOSE (list[8], 0.09f);
    EXPECT_CLOSE (list[9], 0.10f);
    EXPECT_CLOSE (list[98], 0.99f);
    EXPECT_CLOSE (list[99], 100.0f);
    EXPECT_CLOSE (list[100], 101.0f);

    // The same from PrmOffset 0 starts with the text 0.00.
    const Layout fromZero ("<Ctrl index=\"0\"><DspMax>3</DspMax><PrmOffset>0</PrmOffset></Ctrl>");
    EXPECT_EQ (buildValueTable (5, "Delay1", fromZero.reader)[1], SE_ModulePrms ({ 0.0f, 0.01f, 0.02f, 0.03f }));

    // Table texts win where present; a missing one is the step's number, one without a number reads 0.
    const Layout texts ("<Ctrl index=\"0\"><DspMax>2</DspMax><PrmTable><T>5</T><T>x</T></PrmTable></Ctrl>");
    EXPECT_EQ (buildValueTable (5, "Air", texts.reader)[1], SE_ModulePrms ({ 0.05f, 0.0f, 0.02f }));

    // HPS is all zeros; MonoPitch and untabled types count steps; others read their table as numbers.
    EXPECT_EQ (buildValueTable (5, "HPS", texts.reader)[1], SE_ModulePrms ({ 0, 0, 0 }));
    EXPECT_EQ (buildValueTable (5, "MonoPitch", texts.reader)[1], SE_ModulePrms ({ 0, 1, 2 }));
    const Layout tabled ("<Ctrl index=\"0\"><DspMax>1</DspMax><UsePrmTable>1</UsePrmTable><PrmTable><T>2.5</T><T>7</T></PrmTable></Ctrl>"
                         "<Ctrl index=\"1\"><DspMax>1</DspMax></Ctrl>");
    EXPECT_EQ (buildValueTable (5, "Chorus", tabled.reader), SE_ModulePrmsTable ({ { 1, 2 }, { 2.5f, 7.0f } }));

    // Category 6, list 1: the prefix rule only with UsePrmTable ("0.02.5" reads as 0.02).
    EXPECT_EQ (buildValueTable (6, "Delay", tabled.reader)[1], SE_ModulePrms ({ 0.02f, 0.07f }));
    EXPECT_EQ (buildValueTable (6, "Delay", texts.reader)[1], SE_ModulePrms ({ 1, 2, 3 }));

    // A damaged DspMax does not run away.
    const Layout huge ("<Ctrl index=\"0\"><DspMax>2000000000</DspMax></Ctrl>");
    EXPECT_EQ (buildValueTable (1, "Comp", huge.reader)[0].size(), 16384u);
}

TEST (SearchCharacterChart, ScoresFollowTheFormulasAndTheirEdges)
{
    // Every list holds its step number: L[s] = s.
    const CharacterChart chart (uniformTables (30, { steps (200, 0), steps (200, 0) }));
    EditBuf e;
    for (auto& v : e.params)
        v = 0;

    // SCOOP: bass and treble at the top, middle at the bottom, module 2 off.
    e.setParam (3, 2, 36);
    e.setParam (3, 3, 0);
    e.setParam (3, 4, 36);
    EXPECT_CLOSE (chart.scoresOf (e).scoop, 0.00462963f * 108.0f);
    EXPECT_NEAR (chart.scoresOf (e).scoop, 0.5f, 0.001f);

    // DRIVE with module 2 off: 0.01 x; on: slope and base of its type.
    e.setParam (2, 3, 30);
    EXPECT_CLOSE (chart.scoresOf (e).drive, 0.3f);
    e.setParam (2, 0, 1);
    e.setParam (2, 1, 3);
    EXPECT_CLOSE (chart.scoresOf (e).drive, 30 * 0.01f + 0.35f);
    e.setParam (2, 1, 29);
    e.setParam (2, 3, 10);
    EXPECT_CLOSE (chart.scoresOf (e).drive, 10 * 0.03f);

    // A score that comes out above 1 is drawn as 0, not as 1.
    e.setParam (2, 1, 6);
    e.setParam (2, 3, 40);   // 0.4 + 0.7
    EXPECT_EQ (chart.scoresOf (e).drive, 0.0f);

    // AIR with module 7 off still counts 7/1500 of its list 1.
    e.setParam (7, 1, 0);
    e.setParam (7, 3, 30);
    EXPECT_CLOSE (chart.scoresOf (e).air, 7.0f / 1500.0f * 30.0f);
    e.setParam (7, 0, 1);
    e.setParam (7, 2, 10);
    EXPECT_CLOSE (chart.scoresOf (e).air, 0.252f + 7.0f / 450.0f * 10.0f + 7.0f / 1500.0f * 30.0f);

    // COMP: type 0 of category 1 on, its sense over 9; EFX: other types over 18.
    e.setParam (1, 0, 1);
    e.setParam (1, 2, 4);
    EXPECT_CLOSE (chart.scoresOf (e).comp, 4.0f / 9.0f);
    EXPECT_EQ (chart.scoresOf (e).efx, 0.0f);
    e.setParam (1, 1, 5);
    EXPECT_CLOSE (chart.scoresOf (e).efx, 4.0f / 18.0f);
    EXPECT_EQ (chart.scoresOf (e).comp, 0.0f);
}

TEST (SearchCharacterChart, HpsUsesZeroForItsListOneTerms)
{
    auto tables = uniformTables (13, { steps (50, 0), steps (50, 0) });
    tables[4][9] = { steps (50, 0), SE_ModulePrms (50, 0.0f) };   // an HPS at type 9
    const CharacterChart chart (tables);
    EditBuf e;
    for (auto& v : e.params)
        v = 0;
    e.setParam (5, 0, 1);
    e.setParam (5, 1, 9);
    e.setParam (5, 2, 12);
    e.setParam (5, 3, 20);
    // AIR: 1/120 x 12 + 0.075 x sqrt (0.01) / sqrt (2000); EFX: type 9 weighs nothing.
    EXPECT_CLOSE (chart.scoresOf (e).air, 12.0f / 120.0f + 0.075f * std::sqrt (0.01f) / std::sqrt (2000.0f));
    EXPECT_EQ (chart.scoresOf (e).efx, 0.0f);
}

TEST (SearchCharacterChart, ADamagedPatchReadsNoTablePastItsEnd)
{
    const CharacterChart chart (uniformTables (30, { steps (10, 1), steps (10, 1) }));
    EditBuf e;
    for (auto& v : e.params)
        v = 0;
    for (int m : { 1, 2, 5, 6, 7 })
        e.setParam (m, 0, 1);

    // Types and steps far outside every table, negative ones too: every such term counts 0.
    for (int bad : { 40, 999, 16383, -1, -40000 })
    {
        for (int m = 1; m < 8; ++m)
            for (int p = 1; p < 5; ++p)
                e.setParam (m, p, bad);
        const auto s = chart.scoresOf (e);
        for (float v : { s.drive, s.scoop, s.air, s.efx, s.comp })
        {
            EXPECT_GE (v, 0.0f) << bad;
            EXPECT_LE (v, 1.0f) << bad;
        }
        EXPECT_EQ (s.drive, 0.0f);
        EXPECT_EQ (s.scoop, 0.0f) << "no EQ term is read";
        EXPECT_EQ (s.comp, 0.0f);
    }

    // No tables at all (a catalogue that did not load): every score is 0 except AIR's fixed parts.
    const CharacterChart empty;
    e.setParam (7, 1, 0);
    const auto s = empty.scoresOf (e);
    EXPECT_CLOSE (s.air, 0.252f);
    EXPECT_EQ (s.drive + s.scoop + s.efx + s.comp, 0.0f);
}

TEST (SearchCharacterChart, TheChartFillsItsPentagonOverTheBackground)
{
    juce::Image cell (juce::Image::ARGB, 99, 48, true);
    {
        juce::Graphics g (cell);
        CharacterChart::draw (g, { 1.0f, 1.0f, 1.0f, 1.0f, 1.0f }, {});
    }
    // Near the DRIVE corner at full score, and at the middle: blue.
    for (auto p : { juce::Point<int> (72, 10), juce::Point<int> (72, 27) })
    {
        const auto c = cell.getPixelAt (p.x, p.y);
        EXPECT_GT (c.getBlue(), 150) << p.toString();
        EXPECT_LT (c.getRed(), 40) << p.toString();
    }
    EXPECT_EQ (cell.getPixelAt (72, 3).getAlpha(), 0) << "outside the pentagon";

    const auto bounds = CharacterChart::pentagon ({}).getBounds();
    EXPECT_TRUE (juce::Rectangle<float> (68.0f, 23.0f, 9.0f, 8.0f).contains (bounds)) << "all scores 0 gather at the centre";
}

//==============================================================================
/** Every patch of the shipped keyworded groups, scored with the staged catalogue's tables. */
class SearchCharacterChartFactory : public ::testing::TestWithParam<int>
{
protected:
    static void SetUpTestSuite()
    {
        resources = std::make_unique<ScopedStagedResources>();
        auto* catalogue = ModuleNameLoader::getInstance();
        ASSERT_NE (catalogue, nullptr);
        buildCatalogueValueTables (*catalogue);
        EXPECT_FALSE (buildCatalogueValueTables (*catalogue)) << "the tables are built once";
        chart = std::make_unique<CharacterChart> (CharacterChart::fromCatalogue (*catalogue));

        store = std::make_unique<PatchManager>();
        store->setFolder (oxatest::stageFolder().getChildFile ("patchgroupM7"));
        store->loadAll();
    }

    static void TearDownTestSuite()
    {
        chart.reset();
        store.reset();
        resources.reset();
    }

    static const PatchData* patch (int index)
    {
        int seen = 0;
        for (int g = 0; g < store->getNumGroups(); ++g)
            if (store->getGroup (g)->allKeyworded)
                for (const auto& p : store->getGroup (g)->patches)
                    if (p.loaded && seen++ == index)
                        return &p;
        return nullptr;
    }

    static inline std::unique_ptr<ScopedStagedResources> resources;
    static inline std::unique_ptr<CharacterChart> chart;
    static inline std::unique_ptr<PatchManager> store;
};

TEST_P (SearchCharacterChartFactory, EveryValueIsDrawableAndEqualPatchesScoreAlike)
{
    const auto* p = patch (GetParam());
    ASSERT_NE (p, nullptr) << "patch " << GetParam();
    SCOPED_TRACE (p->getName().toStdString());

    // The catalogue's tables have one entry per type in the coefficient tables' order.
    const auto& tables = chart->getTables();
    ASSERT_GE (tables.size(), 7u);
    EXPECT_EQ (tables[0].size(), 9u);
    EXPECT_EQ (tables[1].size(), 30u);
    EXPECT_GE (tables[2].size(), 3u);
    EXPECT_EQ (tables[4].size(), 13u);
    EXPECT_EQ (tables[5].size(), 5u);
    EXPECT_EQ (tables[6].size(), 5u);

    const auto s = chart->scoresOf (p->edit);
    for (float v : { s.drive, s.scoop, s.air, s.efx, s.comp })
    {
        EXPECT_GE (v, 0.0f);
        EXPECT_LE (v, 1.0f);
    }

    // An equal patch (a copy, renamed) scores the same.
    PatchData copy (*p);
    copy.setName ("Other");
    const auto c = chart->scoresOf (copy.edit);
    EXPECT_EQ (c.drive, s.drive);
    EXPECT_EQ (c.scoop, s.scoop);
    EXPECT_EQ (c.air, s.air);
    EXPECT_EQ (c.efx, s.efx);
    EXPECT_EQ (c.comp, s.comp);
    EXPECT_EQ (s.distanceTo (c), 0.0f);
}

INSTANTIATE_TEST_SUITE_P (ShippedPatches, SearchCharacterChartFactory, ::testing::Range (0, 200));

TEST_F (SearchCharacterChartFactory, FindSimilarPutsAPatchItselfFirstAndTheMetalNearMetal)
{
    std::vector<CharacterScores> all;
    std::vector<const PatchData*> patches;
    for (int i = 0; patch (i) != nullptr; ++i)
    {
        patches.push_back (patch (i));
        all.push_back (chart->scoresOf (patch (i)->edit));
    }
    ASSERT_EQ (all.size(), 200u);

    for (size_t i = 0; i < all.size(); ++i)
    {
        const auto nearest = nearestCharacters (all, all[i], 10);
        ASSERT_EQ (nearest.size(), 10u);
        EXPECT_EQ (all[(size_t) nearest[0]].distanceTo (all[i]), 0.0f);
        // A twin of equal character ahead of the patch itself can only come earlier in the list.
        EXPECT_LE (nearest[0], (int) i);
        for (size_t k = 1; k < nearest.size(); ++k)
            EXPECT_LE (all[(size_t) nearest[k - 1]].distanceTo (all[i]), all[(size_t) nearest[k]].distanceTo (all[i]));
    }

    // The heavy sounds keep company: most neighbours of a metal patch drive hard too.
    int metal = 0, hardNeighbours = 0, neighbours = 0;
    for (size_t i = 0; i < all.size(); ++i)
        if (patches[i]->keywords.contains ("metal"))
        {
            ++metal;
            for (int n : nearestCharacters (all, all[i], 5))
            {
                ++neighbours;
                hardNeighbours += all[(size_t) n].drive > 0.6f ? 1 : 0;
            }
        }
    ASSERT_GT (metal, 5);
    EXPECT_GT (hardNeighbours * 10, neighbours * 8) << hardNeighbours << " of " << neighbours;

    EXPECT_TRUE (nearestCharacters ({}, {}, 10).empty());
    EXPECT_EQ (nearestCharacters (all, all[0], 500).size(), all.size());
}
} // namespace
