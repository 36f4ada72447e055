#include <gtest/gtest.h>
#include <limits>

#include "documents/OxXMLDocument.h"
#include "documents/UserData.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"

using namespace T730;

namespace
{
const char* recorderDoc = R"(<?xml version="1.0" encoding="UTF-8"?>
<Project>
  <masterlv>100</masterlv>
  <PreCount></PreCount>
  <Files>
    <RecorderFile idx="0">first.xml</RecorderFile>
    <RecorderFile>noindex.xml</RecorderFile>
    <RecorderFile idx="1">second.xml</RecorderFile>
  </Files>
  <Name>outer<Inner>nested</Inner>tail</Name>
</Project>)";
} // namespace

TEST (DocumentsXmlPath, SplitAtKeepsEmptyPieces)
{
    EXPECT_EQ (splitAt ("a//b", '/'), juce::StringArray ({ "a", "", "b" }));
    EXPECT_EQ (splitAt ("", '/'), juce::StringArray ({ "" }));
    EXPECT_EQ (splitAt ("a/", '/'), juce::StringArray ({ "a", "" }));
    EXPECT_EQ (splitAt ("x,idx=1", ','), juce::StringArray ({ "x", "idx=1" }));
}

TEST (DocumentsXmlPath, LookupsAndValueEncoding)
{
    OxXMLDocument doc { juce::String (recorderDoc) };
    auto* root = doc.root();
    ASSERT_NE (root, nullptr);

    // Tags are matched without regard to case.
    EXPECT_EQ (getElementInt (root, "MasterLv", 7), 100);
    // A present but empty element reads 0, a missing one the default.
    EXPECT_EQ (getElementInt (root, "PreCount", 100), 0);
    EXPECT_EQ (getElementInt (root, "Missing", 100), 100);
    EXPECT_EQ (getElementInt (nullptr, "MasterLv", 5), 5);

    // Only direct text counts.
    EXPECT_EQ (getElementText (root, "Name"), "outertail");
    EXPECT_EQ (getElementText (root, "Name/Inner"), "nested");
    EXPECT_EQ (getElementText (root, "Nope"), "");

    // An empty step never matches.
    EXPECT_EQ (findElement (root, "Files//RecorderFile"), nullptr);
    EXPECT_EQ (findElement (root, ""), nullptr);

    // Selectors: idx=1 skips idx 0, accepts an element without idx.
    EXPECT_EQ (getElementSelectText (root, "Files/RecorderFile,idx=0"), "first.xml");
    EXPECT_EQ (getElementSelectText (root, "Files/RecorderFile,idx=1"), "noindex.xml");
    EXPECT_EQ (getElementSelectText (root, "Files/RecorderFile,idx=9,bogus"), "noindex.xml");
    // A selector not of the form name=value does not exclude.
    EXPECT_EQ (getElementSelectText (root, "Files/RecorderFile,a=b=c"), "first.xml");

    EXPECT_EQ (doc.getElementText ("Files/RecorderFile"), "first.xml");
    EXPECT_NE (doc.findElement ("Files"), nullptr);
}

namespace
{
struct SampleRecord final : public UserData
{
    int level = 0;
    bool flag = false;
    juce::String name;
    juce::StringArray files;

    bool read (const juce::XmlElement* e) override
    {
        if (e == nullptr)
            return false;
        level = getElementInt (e, "Level", 50);
        flag = getElementInt (e, "Flag", 0) != 0;
        name = getElementText (e, "Name");
        files.clear();
        for (int i = 0;; ++i)
        {
            auto f = getElementSelectText (e, "File,idx=" + juce::String (i));
            if (f.isEmpty())
                break;
            files.add (f);
        }
        return true;
    }

    bool write (juce::XmlElement* e) override
    {
        addTextChild (e, "Level", juce::String (level));
        addTextChild (e, "Flag", flag ? "1" : "0");
        addTextChild (e, "Name", name);
        for (int i = 0; i < files.size(); ++i)
            addIndexedTextChild (e, "File", "idx", i, files[i]);
        return true;
    }
};
} // namespace

TEST (DocumentsXmlPath, RecordSurvivesDocumentRoundTrip)
{
    SampleRecord out;
    out.level = -42;
    out.flag = true;
    out.name = "Crunch & <Lead> \"\xc3\xa9\"";
    out.files = { "a.wav", "b.wav" };

    juce::XmlElement root ("Sample");
    ASSERT_TRUE (out.write (&root));
    auto text = createDocumentText (root);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    OxXMLDocument doc (text);
    SampleRecord in;
    ASSERT_TRUE (in.read (doc.root()));
    EXPECT_EQ (in.level, -42);
    EXPECT_TRUE (in.flag);
    EXPECT_EQ (in.name, out.name);
    EXPECT_EQ (in.files, out.files);

    // An empty text still writes an element that reads back as "".
    juce::XmlElement e ("R");
    addTextChild (&e, "Empty", "");
    auto reread = parseXmlText (createDocumentText (e));
    ASSERT_NE (reread, nullptr);
    EXPECT_NE (findElement (reread.get(), "Empty"), nullptr);
    EXPECT_EQ (getElementText (reread.get(), "Empty"), "");
    EXPECT_EQ (getElementInt (reread.get(), "Empty", 9), 0);

    // Any non-zero integer reads as true.
    auto flagged = parseXmlText ("<S><Flag>7</Flag></S>");
    SampleRecord r;
    r.read (flagged.get());
    EXPECT_TRUE (r.flag);
}

TEST (DocumentsXmlParser, HostileInputGivesNullRootWithoutHanging)
{
    // Inputs that hang or over-read JUCE 7.0.5's own parser.
    EXPECT_EQ (parseXmlText ("<E>&#x"), nullptr);
    const char badUtf8[] = { '<', 'a', '>', (char) 0xc3, (char) 0x28, (char) 0xff, '<', '/', 'a', '>' };
    EXPECT_EQ (parseXmlData (badUtf8, sizeof (badUtf8)), nullptr);
    EXPECT_EQ (parseXmlData ("", 0), nullptr);
    EXPECT_EQ (parseXmlText ("<a>x</a><b/>"), nullptr);
    EXPECT_EQ (parseXmlText ("not xml at all"), nullptr);
    EXPECT_EQ (parseXmlText (juce::String::repeatedString ("<a>", 100000)), nullptr);

    // Entity expansion bombs are refused by the parser, not expanded.
    juce::String bomb = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\">";
    juce::String prev = "a";
    for (int i = 0; i < 12; ++i)
    {
        juce::String name = "e" + juce::String (i);
        bomb << "<!ENTITY " << name << " \"" << juce::String::repeatedString ("&" + prev + ";", 10) << "\">";
        prev = name;
    }
    bomb << "]><l>&" << prev << ";</l>";
    EXPECT_EQ (parseXmlText (bomb), nullptr);

    // External entities are never fetched.
    auto ext = parseXmlText ("<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>");
    if (ext != nullptr)
    {
        EXPECT_FALSE (getOwnText (ext.get()).contains ("root:"));
    }

    // The processing instruction is skipped; the text survives.
    auto pi = parseXmlText ("<a><?pi?>x</a>");
    ASSERT_NE (pi, nullptr);
    EXPECT_EQ (getOwnText (pi.get()), "x");
}

TEST (DocumentsXmlParser, EveryTruncationOfARealDocumentIsRefused)
{
    juce::String full (recorderDoc);
    auto bytes = full.toStdString();
    ASSERT_NE (parseXmlData (bytes.data(), bytes.size()), nullptr);

    // Every proper prefix that stops before the closing tag is incomplete.
    auto lastClose = bytes.rfind ("</Project>");
    int checked = 0;
    for (size_t len = 1; len < lastClose + 9; ++len)
    {
        EXPECT_EQ (parseXmlData (bytes.data(), len), nullptr) << "length " << len;
        ++checked;
    }
    EXPECT_GT (checked, 200);
}

TEST (DocumentsXmlPath, SelectorAttributeNamesMatchWithoutRegardToCase)
{
    OxXMLDocument doc { juce::String ("<Files><RecorderFile IDX=\"0\">first</RecorderFile>"
                                      "<RecorderFile Idx=\"1\">second</RecorderFile></Files>") };
    EXPECT_EQ (getElementSelectText (doc.root(), "RecorderFile,idx=1"), "second");
    EXPECT_EQ (getElementSelectText (doc.root(), "RecorderFile,idx=0"), "first");
    EXPECT_EQ (getElementSelectText (doc.root(), "RecorderFile,idx=2"), "");
}

TEST (DocumentsXmlPath, IntegersReadTheirLeadingNumberAndHoldAtTheIntRange)
{
    EXPECT_EQ (readLeadingInt ("80dB"), 80);
    EXPECT_EQ (readLeadingInt ("  -12 px"), -12);
    EXPECT_EQ (readLeadingInt ("+7"), 7);
    EXPECT_EQ (readLeadingInt ("loud"), 0);
    EXPECT_EQ (readLeadingInt (""), 0);
    EXPECT_EQ (readLeadingInt ("-"), 0);
    EXPECT_EQ (readLeadingInt ("2147483647"), 2147483647);
    EXPECT_EQ (readLeadingInt ("2147483648"), 2147483647);
    EXPECT_EQ (readLeadingInt ("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ (readLeadingInt ("99999999999999999999999"), 2147483647);
    EXPECT_EQ (readLeadingInt ("-99999999999999999999999"), std::numeric_limits<int>::min());
}

TEST (DocumentsXmlWriter, CharactersADocumentCannotHoldAreLeftOutSoItReadsBack)
{
    const juce::String forbidden = juce::String::charToString (0x01) + juce::String::charToString (0x1B)
                                   + juce::String::charToString (0xFFFE);
    const juce::String kept = juce::String::charToString (0xE9) + "\t" + juce::String::charToString (0x1F3B8)
                              + " & <co> \"&#1;\"";

    juce::XmlElement root ("Project");
    addTextChild (&root, "Name", "Set" + forbidden + " one" + kept);
    addIndexedTextChild (&root, "RecorderFile", "idx", 0, forbidden + "take");
    root.setAttribute ("note", "a" + forbidden + "b");

    const auto text = createDocumentText (root);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    auto back = parseXmlText (text);
    ASSERT_NE (back, nullptr) << getLastXmlParseError() << "\n" << text;
    EXPECT_EQ (getElementText (back.get(), "Name"), "Set one" + kept);
    EXPECT_EQ (getElementSelectText (back.get(), "RecorderFile,idx=0"), "take");
    EXPECT_EQ (back->getStringAttribute ("note"), "ab");
}

TEST (DocumentsXmlParser, DeeplyNestedDocumentsAreRefusedWithoutRecursingPerLevel)
{
    const auto nested = [] (int depth)
    {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<e>";
        text += "x";
        for (int i = 0; i < depth; ++i)
            text += "</e>";
        return juce::String (text);
    };

    EXPECT_NE (parseXmlText (nested (maxXmlDepth)), nullptr);
    EXPECT_EQ (parseXmlText (nested (maxXmlDepth + 1)), nullptr);
    EXPECT_TRUE (getLastXmlParseError().contains ("nested"));

    // 300 000 unclosed levels (2 MB) used to overflow the stack when the tree was freed.
    const auto reproducer = juce::File (OXA_FUZZ_CORPUS_DIR).getChildFile ("Xml/deep-nesting-300000-unclosed.xml");
    ASSERT_TRUE (reproducer.existsAsFile());
    EXPECT_EQ (parseXmlFile (reproducer), nullptr);
    EXPECT_EQ (parseXmlText (nested (300000)), nullptr);
}
