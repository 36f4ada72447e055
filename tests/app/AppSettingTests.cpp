#include "AppTestSupport.h"
#include "app/AppSetting.h"
#include "documents/OxXMLDocument.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <limits>

using namespace T730;

namespace
{
std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
{
    auto root = parseXmlText (text);
    EXPECT_NE (root, nullptr) << text;
    return root;
}

AppSetting changedSettings()
{
    AppSetting s;
    s.EasyBoot = false;
    s.WindowX = -12;
    s.WindowY = 345;
    s.CurrentProject = "/home/user/Documents/VELD/OXA Tools/toolsets/My Set & <Co>";
    s.MasterLv = 73;
    s.Character = false;
    s.TimeLastDownloadInfo = juce::Time (2011, 6, 30, 23, 59, 58, 0, true);
    s.DrummerX = 15;
    s.DrummerY = -90;
    s.BassistX = 1;
    s.BassistY = 359;
    return s;
}
} // namespace

TEST (AppSetting, FreshRecordHoldsItsConstructionValues)
{
    const AppSetting s;
    EXPECT_EQ (s.HostVersion, "");
    EXPECT_TRUE (s.EasyBoot);
    EXPECT_TRUE (s.Character);
    EXPECT_EQ (s.MasterLv, 100);
    EXPECT_EQ (s.TimeLastDownloadInfo.toMilliseconds(), 0);
    EXPECT_EQ (s.WindowX, 0);
    EXPECT_EQ (s.BassistY, 0);
}

TEST (AppSetting, WritesTwelveKeysInOrderAndReadsThemBackThroughTheDocumentText)
{
    auto original = changedSettings();
    juce::XmlElement root (AppSetting::rootTag);
    ASSERT_TRUE (original.write (&root));
    EXPECT_EQ (apptest::childTags (root), apptest::settingKeys());
    EXPECT_EQ (getElementText (&root, "HostVersion"), juce::String (OXA_VERSION_STRING));
    EXPECT_EQ (getElementText (&root, "EasyBoot"), "0");

    OxXMLDocument document (createDocumentText (root));
    AppSetting loaded;
    ASSERT_TRUE (loaded.read (document.root()));

    EXPECT_EQ (loaded.HostVersion, juce::String (OXA_VERSION_STRING));
    EXPECT_EQ (loaded.EasyBoot, original.EasyBoot);
    EXPECT_EQ (loaded.WindowX, original.WindowX);
    EXPECT_EQ (loaded.WindowY, original.WindowY);
    EXPECT_EQ (loaded.CurrentProject, original.CurrentProject);
    EXPECT_EQ (loaded.MasterLv, original.MasterLv);
    EXPECT_EQ (loaded.Character, original.Character);
    EXPECT_EQ (loaded.TimeLastDownloadInfo, original.TimeLastDownloadInfo);
    EXPECT_EQ (loaded.DrummerX, original.DrummerX);
    EXPECT_EQ (loaded.DrummerY, original.DrummerY);
    EXPECT_EQ (loaded.BassistX, original.BassistX);
    EXPECT_EQ (loaded.BassistY, original.BassistY);
}

TEST (AppSetting, MissingKeysTakeReadDefaultsSoTheTwoOptionsTurnOff)
{
    AppSetting s;
    s.WindowX = 50;
    s.TimeLastDownloadInfo = juce::Time (2020, 0, 2, 3, 4, 5, 0, true);
    const auto before = s.TimeLastDownloadInfo;

    ASSERT_TRUE (s.read (parse ("<Setting><MasterLv>42</MasterLv></Setting>").get()));
    EXPECT_EQ (s.MasterLv, 42);
    EXPECT_FALSE (s.EasyBoot);
    EXPECT_FALSE (s.Character);
    EXPECT_EQ (s.WindowX, 0);
    EXPECT_EQ (s.WindowY, 0);
    EXPECT_EQ (s.CurrentProject, "");
    EXPECT_EQ (s.TimeLastDownloadInfo, before) << "a missing time leaves the field unchanged";

    ASSERT_TRUE (s.read (parse ("<Setting><EasyBoot>1</EasyBoot><Character>7</Character>"
                                "<TimeLastDownloadInfo></TimeLastDownloadInfo></Setting>").get()));
    EXPECT_TRUE (s.EasyBoot);
    EXPECT_TRUE (s.Character);
    EXPECT_EQ (s.MasterLv, 100);
    EXPECT_EQ (s.TimeLastDownloadInfo, before) << "an empty time leaves the field unchanged";
}

TEST (AppSetting, TimeIsReadAndWrittenInLocalTime)
{
    AppSetting s;
    ASSERT_TRUE (s.read (parse ("<Setting><TimeLastDownloadInfo>20090315_142507</TimeLastDownloadInfo></Setting>").get()));

    const auto& t = s.TimeLastDownloadInfo;
    EXPECT_EQ (t.getYear(), 2009);
    EXPECT_EQ (t.getMonth(), 2); // March, counted from 0
    EXPECT_EQ (t.getDayOfMonth(), 15);
    EXPECT_EQ (t.getHours(), 14);
    EXPECT_EQ (t.getMinutes(), 25);
    EXPECT_EQ (t.getSeconds(), 7);

    juce::XmlElement root (AppSetting::rootTag);
    s.write (&root);
    EXPECT_EQ (getElementText (&root, "TimeLastDownloadInfo"), "20090315_142507");

    // The zero time survives its round trip too.
    AppSetting fresh, back;
    juce::XmlElement zero (AppSetting::rootTag);
    fresh.write (&zero);
    ASSERT_TRUE (back.read (&zero));
    EXPECT_EQ (back.TimeLastDownloadInfo.toMilliseconds(), 0);
}

TEST (AppSetting, ARecordOfAnotherKindIsRefusedAndChangesNothing)
{
    auto s = changedSettings();
    EXPECT_FALSE (s.read (parse ("<Other><MasterLv>5</MasterLv></Other>").get()));
    EXPECT_EQ (s.MasterLv, 73);
    EXPECT_EQ (s.WindowX, -12);

    AppSetting fresh;
    EXPECT_FALSE (fresh.read (nullptr));
    EXPECT_FALSE (fresh.write (nullptr));
}

TEST (AppSetting, ADamagedKeyIsReadOnItsOwnAndTheOthersKeepTheirValues)
{
    auto s = changedSettings();
    ASSERT_TRUE (s.read (parse ("<Setting><MasterLv>80dB</MasterLv><WindowX>left</WindowX>"
                                "<WindowY> -7 px</WindowY><CurrentProject>/x/Set</CurrentProject>"
                                "<EasyBoot>yes</EasyBoot><Character>2</Character>"
                                "<DrummerY>12.5</DrummerY><BassistX>99999999999</BassistX>"
                                "<BassistY>-99999999999</BassistY>"
                                "<TimeLastDownloadInfo>2009-03-15 14:25</TimeLastDownloadInfo></Setting>")
                             .get()));
    EXPECT_EQ (s.MasterLv, 80);
    EXPECT_EQ (s.WindowX, 0);
    EXPECT_EQ (s.WindowY, -7);
    EXPECT_EQ (s.CurrentProject, "/x/Set");
    EXPECT_FALSE (s.EasyBoot);
    EXPECT_TRUE (s.Character);
    EXPECT_EQ (s.DrummerY, 12);
    EXPECT_EQ (s.BassistX, std::numeric_limits<int>::max());
    EXPECT_EQ (s.BassistY, std::numeric_limits<int>::min());
    EXPECT_EQ (s.TimeLastDownloadInfo, juce::Time (2011, 6, 30, 23, 59, 58, 0, true)) << "a damaged time leaves the field";

    // Impossible dates are damage too.
    ASSERT_TRUE (s.read (parse ("<Setting><TimeLastDownloadInfo>20091315_142507</TimeLastDownloadInfo></Setting>").get()));
    EXPECT_EQ (s.TimeLastDownloadInfo, juce::Time (2011, 6, 30, 23, 59, 58, 0, true));
}

TEST (AppSetting, EveryIntTheWriterProducesReadsBack)
{
    for (const int value : { std::numeric_limits<int>::min(), -1000000000, 2000000000, std::numeric_limits<int>::max() })
    {
        AppSetting s;
        s.DrummerY = value;
        s.MasterLv = -value / 2;
        juce::XmlElement root (AppSetting::rootTag);
        ASSERT_TRUE (s.write (&root));

        AppSetting back;
        ASSERT_TRUE (back.read (&root)) << value;
        EXPECT_EQ (back.DrummerY, value);
        EXPECT_EQ (back.MasterLv, -value / 2);
    }

    // A sign the writer never writes still reads as what it says.
    AppSetting s;
    ASSERT_TRUE (s.read (parse ("<Setting><MasterLv>+42</MasterLv><WindowX> -7 </WindowX></Setting>").get()));
    EXPECT_EQ (s.MasterLv, 42);
    EXPECT_EQ (s.WindowX, -7);
}

TEST (AppSetting, EveryTimeTheWriterProducesReadsBack)
{
    // A stored year of 309 was read, written back as "3090125_142507" and refused
    // at the next start, which then dropped the whole file.
    const auto reproducer = juce::File (OXA_FUZZ_CORPUS_DIR).getChildFile ("Settings/year-0309-not-rereadable.xml");
    ASSERT_TRUE (reproducer.existsAsFile());
    const juce::Time times[] = { juce::Time(), juce::Time (1999, 11, 31, 23, 59, 59, 0, true),
                                 juce::Time (2038, 0, 19, 3, 14, 8, 0, true), juce::Time (2100, 1, 28, 0, 0, 0, 0, true) };

    std::vector<AppSetting> starts (1);
    ASSERT_TRUE (starts[0].read (parseXmlFile (reproducer).get()));
    for (auto time : times)
    {
        starts.emplace_back();
        starts.back().TimeLastDownloadInfo = time;
    }

    for (auto s : starts)
    {
        juce::XmlElement first (AppSetting::rootTag);
        ASSERT_TRUE (s.write (&first));
        const auto text = getElementText (&first, "TimeLastDownloadInfo");
        EXPECT_EQ (text.length(), 15) << text;

        AppSetting back;
        back.TimeLastDownloadInfo = juce::Time (2001, 0, 1, 0, 0, 0, 0, true);
        ASSERT_TRUE (back.read (&first));
        EXPECT_EQ (back.TimeLastDownloadInfo, s.TimeLastDownloadInfo) << text;

        juce::XmlElement second (AppSetting::rootTag);
        ASSERT_TRUE (back.write (&second));
        EXPECT_EQ (getElementText (&second, "TimeLastDownloadInfo"), text);
    }
}

TEST (AppSetting, TimeTextIsTheLocalClockOfTheMachine)
{
    // Nine hours east of UTC, without needing the zone database.
    const juce::String previous (std::getenv ("TZ") != nullptr ? std::getenv ("TZ") : "");
    const bool hadZone = std::getenv ("TZ") != nullptr;
    ::setenv ("TZ", "JST-9", 1);
    ::tzset();

    AppSetting s;
    const bool read = s.read (parse ("<Setting><TimeLastDownloadInfo>20090315_142507</TimeLastDownloadInfo></Setting>").get());
    juce::XmlElement root (AppSetting::rootTag);
    s.write (&root);

    if (hadZone)
        ::setenv ("TZ", previous.toRawUTF8(), 1);
    else
        ::unsetenv ("TZ");
    ::tzset();

    ASSERT_TRUE (read);
    EXPECT_EQ (s.TimeLastDownloadInfo, juce::Time (2009, 2, 15, 5, 25, 7, 0, false)) << "14:25:07 in Tokyo is 05:25:07 UTC";
    EXPECT_EQ (getElementText (&root, "TimeLastDownloadInfo"), "20090315_142507");
}
