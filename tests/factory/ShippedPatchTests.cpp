// The factory patch groups: what the store reads from the staged folder, the
// keywords and tooltips the search page and the librarian rely on, and the
// range of every parameter of every patch.
#include "StagedModules.h"

#include "TestSupport.h"
#include "device/SysExCodec.h"
#include "documents/PatchManager.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"

#include <gtest/gtest.h>

using namespace stagedtest;

namespace
{
juce::File patchFolder() { return oxatest::stageFolder().getChildFile ("patchgroupM7"); }

struct LoadedStore
{
    LoadedStore()
    {
        store.setFolder (patchFolder());
        store.loadAll();
    }
    T730::PatchManager store;
};

TEST (FactoryPatchGroups, StoreReadsTheGroupsInOrder)
{
    ASSERT_TRUE (patchFolder().getChildFile ("OrderInf.xml").existsAsFile());
    LoadedStore loaded;
    auto& store = loaded.store;
    ASSERT_EQ (store.getNumGroups(), 3);

    // keyworded factory groups first, the user's group last
    EXPECT_EQ (store.getGroup (0)->Name, "Factory Tones");
    EXPECT_EQ (store.getGroup (1)->Name, "Factory Effects");
    EXPECT_EQ (store.getGroup (2)->Name, "User Patches");
    for (int g = 0; g < 3; ++g)
    {
        EXPECT_EQ (store.getGroup (g)->count, 100);
    }
    EXPECT_TRUE (store.getGroup (0)->allKeyworded);
    EXPECT_TRUE (store.getGroup (1)->allKeyworded);
    EXPECT_FALSE (store.getGroup (2)->allKeyworded);
}

TEST (FactoryPatchGroups, KeywordsTooltipsAndNames)
{
    LoadedStore loaded;
    ASSERT_EQ (loaded.store.getNumGroups(), 3);

    std::map<juce::String, int> vocabulary;
    std::set<juce::String> names;
    for (int g = 0; g < 2; ++g)
        for (const auto& patch : loaded.store.getGroup (g)->patches)
        {
            SCOPED_TRACE (patch.getName().toStdString());
            EXPECT_TRUE (patch.loaded);
            EXPECT_TRUE (patch.hasKeywords);
            EXPECT_GE (patch.keywords.size(), 2);
            EXPECT_TRUE (patch.tooltip.isNotEmpty());
            EXPECT_TRUE (patch.getName().isNotEmpty());
            EXPECT_LE (patch.getName().length(), 8);
            EXPECT_TRUE (names.insert (patch.getName()).second) << "name used twice";
            for (const auto& word : patch.keywords)
            {
                EXPECT_EQ (word, word.toLowerCase().trim());
                ++vocabulary[word];
            }
        }

    EXPECT_GE (vocabulary.size(), 30u);
    EXPECT_LE (vocabulary.size(), 60u);
    for (auto* style : { "clean", "crunch", "lead", "metal", "blues", "ambient", "funk", "acoustic" })
    {
        EXPECT_GE (vocabulary[style], 3) << style;
    }

    for (const auto& patch : loaded.store.getGroup (2)->patches)
    {
        EXPECT_TRUE (patch.keywords.isEmpty());
    }
}

TEST (FactoryPatchGroups, EveryPatchIsValidAndSurvivesTheRecord)
{
    LoadedStore loaded;
    ASSERT_EQ (loaded.store.getNumGroups(), 3);

    for (int g = 0; g < loaded.store.getNumGroups(); ++g)
        for (const auto& patch : loaded.store.getGroup (g)->patches)
        {
            SCOPED_TRACE (patch.getName().toStdString());
            EXPECT_EQ (patchProblem (patch.edit.params), juce::String());

            const auto record = T730::SysEx::encodeRecord (patch.edit.params, patch.getName().toStdString());
            T730::SysEx::PatchFields fields;
            T730::SysEx::decodeRecord (record, fields);
            for (int i = 0; i < 72; ++i)
            {
                EXPECT_EQ (fields.params[(size_t) i], patch.edit.params[i]) << "module " << i / 8 << " parameter " << i % 8;
            }
            EXPECT_EQ (juce::String (fields.name), patch.getName());
        }
}

TEST (FactoryPatchGroups, StylesAreSpreadOverTheDriveTypes)
{
    // a factory set that uses a handful of drive types would leave most of the
    // catalogue unheard: every drive pedal and amp model appears somewhere
    LoadedStore loaded;
    ASSERT_GE (loaded.store.getNumGroups(), 2);
    std::set<int> drives, effects5, effects6, effects7, effects1;
    for (int g = 0; g < 2; ++g)
        for (const auto& patch : loaded.store.getGroup (g)->patches)
        {
            drives.insert (patch.edit.getParam (2, 1));
            if (patch.edit.getParam (1, 0) == 1) effects1.insert (patch.edit.getParam (1, 1));
            if (patch.edit.getParam (5, 0) == 1) effects5.insert (patch.edit.getParam (5, 1));
            if (patch.edit.getParam (6, 0) == 1) effects6.insert (patch.edit.getParam (6, 1));
            if (patch.edit.getParam (7, 0) == 1) effects7.insert (patch.edit.getParam (7, 1));
        }
    EXPECT_EQ ((int) drives.size(), catalogue()[1].size());
    EXPECT_EQ ((int) effects1.size(), catalogue()[0].size());
    EXPECT_EQ ((int) effects5.size(), catalogue()[4].size());
    EXPECT_EQ ((int) effects6.size(), catalogue()[5].size());
    EXPECT_EQ ((int) effects7.size(), catalogue()[6].size());
}

TEST (FactoryPatchGroups, GroupFilesCarryTheirKeywordsAsElements)
{
    // The search reads keywords from "Keyword" elements; PatchData itself writes an
    // empty "Keywords" element, so the group files must have been filled in.
    auto root = T730::parseXmlFile (patchFolder().getChildFile ("Factory Tones.xml"));
    ASSERT_NE (root, nullptr);
    auto* first = T730::findElement (root.get(), "Patches/PatchData/Keywords");
    ASSERT_NE (first, nullptr);
    EXPECT_GE (first->getNumChildElements(), 2);
    EXPECT_EQ (T730::getElementText (root.get(), "Product"), "M7c");
}
} // namespace
