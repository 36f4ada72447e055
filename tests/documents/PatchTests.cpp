#include "TestSupport.h"
#include "documents/OxXMLDocument.h"
#include "documents/PatchManager.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
    /** A group document with n patches named P0, P1, ...; `keyworded` patches carry a keyword. */
    juce::String groupText (const juce::String& name, int n, int keyworded)
    {
        juce::String text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PatchSet><Product>M7c</Product>"
                            "<Version>1</Version><Name>" + name + "</Name><Patches>";

        for (int i = 0; i < n; ++i)
        {
            text << "<PatchData><Name>P" << i << "</Name><Tooltip>tip " << i << "</Tooltip><Keywords>";
            if (i < keyworded)
                text << "<Keyword>clean</Keyword><Keyword></Keyword><Word>bright</Word>";
            text << "</Keywords><Module0><Prm2>" << i << "</Prm2></Module0></PatchData>";
        }

        return text + "</Patches></PatchSet>";
    }

    void writeText (const juce::File& file, const juce::String& text)
    {
        ASSERT_TRUE (replaceFileText (file, text));
    }

    juce::StringArray groupNames (const PatchManager& store)
    {
        juce::StringArray names;
        for (int i = 0; i < store.getNumGroups(); ++i)
            names.add (store.getGroup (i)->Name);
        return names;
    }
}

TEST (DocumentsEditBuf, FactoryStateAndCopies)
{
    EditBuf buffer;
    EXPECT_EQ (buffer.name, "No Name");
    EXPECT_EQ (buffer.getParam (0, 2), 39);
    EXPECT_EQ (buffer.getParam (2, 3), 20);
    EXPECT_EQ (buffer.getParam (3, 2), 18);
    EXPECT_EQ (buffer.getParam (3, 3), 18);
    EXPECT_EQ (buffer.getParam (3, 4), 18);
    EXPECT_EQ (buffer.getParam (5, 3), 24);
    EXPECT_EQ (buffer.getParam (6, 3), 49);
    EXPECT_EQ (buffer.getParam (7, 3), 9);

    int nonZero = 0;
    for (int v : buffer.params)
        nonZero += v != 0 ? 1 : 0;
    EXPECT_EQ (nonZero, 8);

    buffer.name = "Mine";
    buffer.setParam (4, 7, -5);
    buffer.setParam (9, 0, 1);   // outside: ignored
    EditBuf copy (buffer);
    EXPECT_TRUE (copy.sameContentAs (buffer));
    EditBuf assigned;
    assigned = buffer;
    EXPECT_EQ (assigned.getParam (4, 7), -5);
    EXPECT_EQ (assigned.name, "Mine");

    assigned.reset();
    EXPECT_TRUE (assigned.sameContentAs (EditBuf()));
}

TEST (DocumentsEditBuf, ModuleElementWinsOverAssignTarget)
{
    auto root = parseXmlText ("<P><AssignTarget>5</AssignTarget><Module8><Prm2>3</Prm2></Module8></P>");
    EditBuf buffer;
    ASSERT_TRUE (buffer.read (root.get()));
    EXPECT_EQ (buffer.getParam (8, 2), 3);
    EXPECT_EQ (buffer.getParam (0, 2), 0);   // a missing parameter element reads as 0

    // Alone, AssignTarget is kept rather than dropped.
    root = parseXmlText ("<P><AssignTarget>5</AssignTarget></P>");
    ASSERT_TRUE (buffer.read (root.get()));
    EXPECT_EQ (buffer.getParam (8, 2), 5);

    EXPECT_FALSE (buffer.read (nullptr));
}

TEST (DocumentsPatchSet, ReadsAtMostOneHundredAndCountsFewer)
{
    PatchSet big;
    auto root = parseXmlText (groupText ("Big", 120, 0));
    ASSERT_TRUE (big.read (root.get()));
    EXPECT_EQ (big.count, 100);
    EXPECT_EQ (big.Name, "Big");
    EXPECT_EQ (big.patches[99].getName(), "P99");
    EXPECT_EQ (big.patches[99].index, 99);
    EXPECT_EQ (big.patches[99].owner, &big);

    PatchSet small;
    root = parseXmlText (groupText ("Small", 3, 0));
    ASSERT_TRUE (small.read (root.get()));
    EXPECT_EQ (small.count, 3);
    EXPECT_EQ (small.patches[2].getName(), "P2");
    EXPECT_EQ (small.patches[2].tooltip, "tip 2");
    EXPECT_EQ (small.patches[2].edit.getParam (0, 2), 2);
    EXPECT_EQ (small.patches[3].getName(), "No Name");
    EXPECT_TRUE (small.patches[50].edit.sameContentAs (EditBuf()));
    EXPECT_FALSE (small.patches[3].loaded);
}

TEST (DocumentsPatchSet, StrayTextBetweenPatchesIsNotAPatch)
{
    auto text = groupText ("Stray", 3, 1).replace ("</PatchData><PatchData>", "</PatchData>stray<PatchData>")
                                        .replace ("<Keyword>clean</Keyword>", "<Keyword>clean</Keyword>x");
    PatchSet group;
    auto root = parseXmlText (text);
    ASSERT_TRUE (group.read (root.get()));
    EXPECT_EQ (group.count, 3);
    EXPECT_EQ (group.patches[1].getName(), "P1");
    EXPECT_EQ (group.patches[2].getName(), "P2");
    EXPECT_EQ (group.patches[0].keywords, juce::StringArray ({ "clean", "bright" }));
}

TEST (DocumentsPatchSet, RefusesOtherProductsAndEmptyGroups)
{
    PatchSet group;
    group.Name = "Kept";
    auto other = parseXmlText (groupText ("X", 3, 0).replace ("M7c", "M9"));
    EXPECT_FALSE (group.read (other.get()));
    auto empty = parseXmlText ("<PatchSet><Product>M7c</Product><Name>X</Name><Patches/></PatchSet>");
    EXPECT_FALSE (group.read (empty.get()));
    EXPECT_EQ (group.Name, "Kept");
    EXPECT_FALSE (group.read (nullptr));
}

TEST (DocumentsPatchSet, AllKeywordedFollowsTheLoadedPatches)
{
    PatchSet all;
    auto root = parseXmlText (groupText ("All", 3, 3));
    ASSERT_TRUE (all.read (root.get()));
    EXPECT_TRUE (all.allKeyworded);
    EXPECT_EQ (all.patches[0].getKeywords(), juce::StringArray ({ "clean", "bright" }));
    EXPECT_TRUE (all.patches[0].hasKeywords);

    PatchSet one;
    root = parseXmlText (groupText ("One", 3, 2));
    ASSERT_TRUE (one.read (root.get()));
    EXPECT_FALSE (one.allKeyworded);
}

TEST (DocumentsPatchSet, WriteAndReadKeepNamesTooltipsAndParametersButNotKeywords)
{
    PatchSet group;
    group.Name = "Round & <Trip>";

    for (int i = 0; i < PatchSet::numPatches; ++i)
    {
        auto& patch = group.patches[(size_t) i];
        patch.setName ("N" + juce::String (i));
        patch.tooltip = "Tooltip \"" + juce::String (i) + "\"";
        patch.setKeywords ({ "lost" });
        for (int k = 0; k < EditBuf::numParams; ++k)
            patch.edit.params[k] = i * 100 + k - 50;
    }

    juce::XmlElement root ("PatchSet");
    ASSERT_TRUE (group.write (&root));
    EXPECT_EQ (root.getChildElement (0)->getTagName(), "Product");
    EXPECT_EQ (root.getChildElement (1)->getTagName(), "Version");
    EXPECT_EQ (root.getChildElement (2)->getTagName(), "Name");

    auto reread = parseXmlText (createDocumentText (root));
    PatchSet back;
    ASSERT_TRUE (back.read (reread.get()));
    EXPECT_EQ (back.Name, group.Name);
    EXPECT_EQ (back.count, 100);

    for (int i = 0; i < PatchSet::numPatches; ++i)
    {
        const auto& a = group.patches[(size_t) i];
        const auto& b = back.patches[(size_t) i];
        EXPECT_TRUE (b.edit.sameContentAs (a.edit)) << i;
        EXPECT_EQ (b.tooltip, a.tooltip);
        EXPECT_TRUE (b.getKeywords().isEmpty());
    }
}

TEST (DocumentsPatchData, PatchFilesCarryTheProduct)
{
    PatchData patch;
    patch.setName ("Solo");
    patch.edit.setParam (5, 3, 1500);

    juce::XmlElement root ("PatchData");
    ASSERT_TRUE (patch.writePatchFile (&root));
    EXPECT_EQ (root.getChildElement (0)->getTagName(), "Product");

    PatchData back;
    ASSERT_TRUE (back.readPatchFile (&root));
    EXPECT_TRUE (back.fileImported);
    EXPECT_TRUE (back.loaded);
    EXPECT_TRUE (back.edit.sameContentAs (patch.edit));

    PatchData refused;
    juce::XmlElement wrongRoot ("PatchSet");
    patch.writePatchFile (&wrongRoot);
    EXPECT_FALSE (refused.readPatchFile (&wrongRoot));
    auto otherProduct = parseXmlText ("<PatchData><Product>M9</Product><Name>X</Name></PatchData>");
    EXPECT_FALSE (refused.readPatchFile (otherProduct.get()));
    auto noProduct = parseXmlText ("<PatchData><Name>X</Name></PatchData>");
    EXPECT_FALSE (refused.readPatchFile (noProduct.get()));
    EXPECT_FALSE (refused.fileImported);
    EXPECT_EQ (refused.getName(), "No Name");
}

TEST (DocumentsPatchManager, CreateGroupTakesTheNextFreeNumber)
{
    oxatest::TempFolder folder;
    PatchManager store;
    store.setFolder (folder.get());
    writeText (folder / "New Patch Group 001.xml", groupText ("A", 1, 0));
    writeText (folder / "New Patch Group 002.xml", groupText ("B", 1, 0));

    ASSERT_TRUE (store.createGroup());
    ASSERT_EQ (store.getNumGroups(), 1);
    EXPECT_EQ (store.getGroup (0)->Name, "New Patch Group 003");
    EXPECT_EQ (store.getGroup (0)->path, folder / "New Patch Group 003.xml");

    // The file holds 100 factory patches.
    auto root = parseXmlFile (folder / "New Patch Group 003.xml");
    PatchSet back;
    ASSERT_TRUE (back.read (root.get()));
    EXPECT_EQ (back.count, 100);
    EXPECT_EQ (back.Name, "New Patch Group 003");
    EXPECT_TRUE (back.patches[42].edit.sameContentAs (EditBuf()));

    // A folder that cannot be written reports "File error." and adds nothing.
    juce::String shown;
    PatchManager broken;
    broken.setFolder (folder / "missing");
    broken.onFileError = [&shown] (const juce::String& message) { shown = message; };
    EXPECT_FALSE (broken.createGroup());
    EXPECT_EQ (shown, "File error.");
    EXPECT_EQ (broken.getNumGroups(), 0);
}

TEST (DocumentsPatchManager, OrderFileComesFirstThenTheRest)
{
    oxatest::TempFolder folder;
    for (auto name : { "a", "b", "c", "d" })
        writeText (folder / (juce::String (name) + ".xml"), groupText (name, 2, 0));
    writeText (folder / "broken.xml", "<PatchSet><Product>M7c</Product>");

    // Listed: c, a, a deleted group; not listed: b and d.
    writeText (folder / "OrderInf.xml",
               "<?xml version=\"1.0\"?><PatchListOrder><PatchList><Path>c.xml</Path><Path>gone.xml</Path>"
               "<Path>a.xml</Path></PatchList></PatchListOrder>");

    PatchManager store;
    store.setFolder (folder.get());
    store.loadAll();
    EXPECT_EQ (groupNames (store), juce::StringArray ({ "c", "a", "b", "d" }));

    // Moving rewrites the order file; a fresh load gives the same order.
    store.moveGroup (3, 0);
    store.moveGroup (1, 99);   // past the end: last
    EXPECT_EQ (groupNames (store), juce::StringArray ({ "d", "a", "b", "c" }));

    auto order = parseXmlFile (store.getOrderFile());
    ASSERT_NE (order, nullptr);
    EXPECT_EQ (order->getTagName(), "PatchListOrder");
    EXPECT_EQ (order->getChildByName ("PatchList")->getNumChildElements(), 4);

    PatchManager again;
    again.setFolder (folder.get());
    again.loadAll();
    EXPECT_EQ (groupNames (again), groupNames (store));
}

TEST (DocumentsPatchManager, GroupNamesStartingWithATildeKeepTheirPlace)
{
    oxatest::TempFolder folder;
    writeText (folder / "a.xml", groupText ("a", 1, 0));
    writeText (folder / "~mine.xml", groupText ("~mine", 1, 0));
    writeText (folder / "OrderInf.xml",
               "<?xml version=\"1.0\"?><PatchListOrder><PatchList><Path>~mine.xml</Path>"
               "<Path>a.xml</Path></PatchList></PatchListOrder>");

    PatchManager store;
    store.setFolder (folder.get());
    store.loadAll();
    EXPECT_EQ (groupNames (store), juce::StringArray ({ "~mine", "a" }));
}

TEST (DocumentsPatchManager, DeleteAndAddGroups)
{
    oxatest::TempFolder folder;
    PatchManager store;
    store.setFolder (folder.get());
    ASSERT_TRUE (store.createGroup());
    ASSERT_TRUE (store.createGroup());
    const auto file = store.getGroup (0)->path;
    ASSERT_TRUE (file.existsAsFile());

    ASSERT_TRUE (store.deleteGroup (store.getGroup (0)));
    EXPECT_FALSE (file.exists());
    EXPECT_EQ (store.getNumGroups(), 1);

    juce::String shown;
    store.onFileError = [&shown] (const juce::String& message) { shown = message; };
    PatchSet stranger;
    EXPECT_FALSE (store.deleteGroup (&stranger));
    EXPECT_EQ (shown, "File error.");

    // A downloaded group file, already in the folder.
    const auto downloaded = folder / "Downloaded.xml";
    writeText (downloaded, groupText ("Fresh", 5, 5));
    ASSERT_TRUE (store.addGroupFromFile (downloaded));
    ASSERT_EQ (store.getNumGroups(), 2);
    EXPECT_EQ (store.getGroup (1)->Name, "Fresh");
    EXPECT_TRUE (store.getGroup (1)->allKeyworded);
    EXPECT_TRUE (store.getOrderFile().existsAsFile());

    EXPECT_FALSE (store.addGroupFromFile (folder / "nothing.xml"));
    writeText (folder / "garbage.xml", "not xml");
    EXPECT_FALSE (store.addGroupFromFile (folder / "garbage.xml"));
    EXPECT_EQ (store.getNumGroups(), 2);
}
