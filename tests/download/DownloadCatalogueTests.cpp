// The catalogue reader: its time, new marks, entries and URLs; the local-name
// rule against hostile URLs; the downloaded rule; what a fetched file must be.
#include "DownloadTestSupport.h"

using namespace T730;
using namespace downloadtest;

namespace
{
TEST (DownloadCatalogue, ReadsTimeEntriesNewMarksCommentsAndSongUrl)
{
    const auto text = catalogueText (
        { { "Set One", { "http://h/a/Set%20One.xml" }, -1, "true", "Fine tones" }, { "Set Two", { "http://h/b.xml" }, -1, "TRUE", {} } },
        { { "Groove", { "http://h/r/P_A.xml", "http://h/s/Song_G.xml", "http://h/r/P_A.mid" }, 1, "true", "Tip" } });
    DownloadCatalogue c;
    ASSERT_TRUE (parseDownloadCatalogue (text, c));

    ASSERT_TRUE (c.hasTime);
    EXPECT_EQ (c.lastTime.getYear(), 2009);
    EXPECT_EQ (c.lastTime.getMonth(), 2);   // March, counted from 0
    EXPECT_EQ (c.lastTime.getDayOfMonth(), 15);
    EXPECT_EQ (c.lastTime.getHours(), 14);
    EXPECT_EQ (c.lastTime.getMinutes(), 25);
    EXPECT_EQ (c.lastTime.getSeconds(), 7);

    ASSERT_EQ (c.patchsets.size(), 2u);
    EXPECT_EQ (c.patchsets[0].name, "Set One");
    EXPECT_TRUE (c.patchsets[0].isNew);
    EXPECT_FALSE (c.patchsets[1].isNew);   // "TRUE" is not "true"
    EXPECT_EQ (c.patchsets[0].comment, "Fine tones");
    EXPECT_EQ (c.patchsets[0].rhythm, -1);

    ASSERT_EQ (c.rhythms.size(), 1u);
    const auto& r = c.rhythms[0];
    EXPECT_EQ (r.kind, DL_ItemInfo::rhythmKind);
    EXPECT_EQ (r.songFile, "Song_G.xml");
    EXPECT_TRUE (r.isSongUrl (1));
    EXPECT_FALSE (r.isSongUrl (0));
    EXPECT_EQ (expectedContent (r, 0), DownloadContent::pattern);
    EXPECT_EQ (expectedContent (r, 1), DownloadContent::song);
    EXPECT_EQ (expectedContent (r, 2), DownloadContent::midiFile);
}

TEST (DownloadCatalogue, AcceptsOnlyDocumentsWithPatchsetsOrRhythms)
{
    EXPECT_TRUE (isAcceptableCatalogue ("<X><Rhythms/></X>"));
    EXPECT_TRUE (isAcceptableCatalogue ("<X><Patchsets/></X>"));
    EXPECT_FALSE (isAcceptableCatalogue ("<X><Other/></X>"));
    EXPECT_FALSE (isAcceptableCatalogue ("<html><body>Sorry<br></body></html>"));
    EXPECT_FALSE (isAcceptableCatalogue ("<X><Rhythms>"));
    EXPECT_FALSE (isAcceptableCatalogue ({}));

    DownloadCatalogue c;
    c.patchsets.resize (3);
    EXPECT_FALSE (parseDownloadCatalogue ("<X/>", c));
    EXPECT_TRUE (c.patchsets.empty());
}

TEST (DownloadCatalogue, TimeNeedsDigitsInItsPlaces)
{
    juce::Time t;
    EXPECT_TRUE (parseCatalogueTime ("2009-03-15 14:25:07", t));
    EXPECT_TRUE (parseCatalogueTime ("2009/03/15T14.25.07Z", t));   // the separators are free
    EXPECT_FALSE (parseCatalogueTime ("", t));
    EXPECT_FALSE (parseCatalogueTime ("2009-03-15", t));
    EXPECT_FALSE (parseCatalogueTime ("2009-13-15 14:25:07", t));
    EXPECT_FALSE (parseCatalogueTime ("20x9-03-15 14:25:07", t));

    DownloadCatalogue c;
    ASSERT_TRUE (parseDownloadCatalogue ("<X><LastTime></LastTime><Rhythms/></X>", c));
    EXPECT_FALSE (c.hasTime);
}

TEST (DownloadCatalogue, LocalNamesArePlainFileNamesOfHttpUrls)
{
    EXPECT_EQ (localFileName ("http://h/a/b/Blues%20Box.xml"), "Blues Box.xml");
    EXPECT_EQ (localFileName ("HTTPS://h:8080/x/Song_A.xml?v=2#top"), "Song_A.xml");
    EXPECT_EQ (localFileName ("http://h/%C3%A9t%C3%A9.xml"), juce::CharPointer_UTF8 ("\xc3\xa9t\xc3\xa9.xml"));

    for (auto* hostile : { "http://h/a/..", "http://h/a/.", "http://h/a/", "http://h/a/%2E%2E", "http://h/a/..%2F..%2Fsetting.xml",
                           "http://h/a/x%2Fy.xml", "http://h/a/x%5Cy.xml", "http://h/a/x\\..\\y.xml", "http://h/a/.hidden",
                           "http://h/a/a%00b.xml", "http://h/a/a%0Ab.xml", "file:///etc/passwd", "ftp://h/a.xml",
                           "javascript:alert(1)", "http:///a.xml", "a.xml", "", "http://h", "http://h/a/C:boot.ini",
                           "http://h/a/%FF%FE.xml", "http://h/a/~", "http://h/a/%7Eroot" })
        EXPECT_EQ (localFileName (hostile), juce::String()) << hostile;

    const auto longName = juce::String::repeatedString ("a", 250) + ".xml";
    EXPECT_EQ (localFileName ("http://h/" + longName), juce::String());
}

TEST (DownloadCatalogue, DownloadedWhenEveryLocalFileExistsAndRefusedNamesNeverCount)
{
    UserFolders user;
    DL_ItemInfo rhythm;
    rhythm.kind = DL_ItemInfo::rhythmKind;
    rhythm.urls = { "http://h/s/Song_X.xml", "http://h/r/X_A.xml", "http://h/r/X_A.mid" };
    rhythm.songFile = "Song_X.xml";

    // The song and one pattern file exist; the MIDI file is missing.
    user.folders.song.getChildFile ("Song_X.xml").replaceWithText ("<Song/>");
    user.folders.rhythm.getChildFile ("X_A.xml").replaceWithText ("<P/>");
    EXPECT_FALSE (isDownloaded (rhythm, user.folders));
    EXPECT_EQ (localFileFor (rhythm, 0, user.folders), user.folders.song.getChildFile ("Song_X.xml"));
    EXPECT_EQ (localFileFor (rhythm, 2, user.folders), user.folders.rhythm.getChildFile ("X_A.mid"));

    user.folders.rhythm.getChildFile ("X_A.mid").replaceWithText ("M");
    EXPECT_TRUE (isDownloaded (rhythm, user.folders));

    // A name pointing out of the folder is never taken for a file there.
    user.folders.patchgroup.getSiblingFile ("outside.xml").replaceWithText ("x");
    DL_ItemInfo set;
    set.urls = { "http://h/..%2Foutside.xml" };
    EXPECT_EQ (localFileFor (set, 0, user.folders), juce::File());
    EXPECT_FALSE (isDownloaded (set, user.folders));
    EXPECT_FALSE (set.hasUsableUrls());
}

TEST (DownloadCatalogue, FetchedFilesMustBeWhatTheyShouldBe)
{
    const auto staged = stagedFiles();
    juce::MemoryBlock group, song, pattern, midi;
    ASSERT_TRUE (staged.getChildFile ("patchsets/Blues Box.xml").loadFileAsData (group));
    ASSERT_TRUE (staged.getChildFile ("rhythms/song/Song_dlFunkyStreet.xml").loadFileAsData (song));
    ASSERT_TRUE (staged.getChildFile ("rhythms/rhythm/DLFUNKYSTREET_A.xml").loadFileAsData (pattern));
    ASSERT_TRUE (staged.getChildFile ("rhythms/rhythm/DLFUNKYSTREET_A.mid").loadFileAsData (midi));

    const auto check = [] (DownloadContent c, const juce::MemoryBlock& b) { return checkDownloadedContent (c, b.getData(), b.getSize()); };
    EXPECT_EQ (check (DownloadContent::patchGroup, group), juce::String());
    EXPECT_EQ (check (DownloadContent::song, song), juce::String());
    EXPECT_EQ (check (DownloadContent::pattern, pattern), juce::String());
    EXPECT_EQ (check (DownloadContent::midiFile, midi), juce::String());

    // Each in the other's place, an HTML page, half a file, nothing.
    EXPECT_NE (check (DownloadContent::patchGroup, song), juce::String());
    EXPECT_NE (check (DownloadContent::song, group), juce::String());
    EXPECT_NE (check (DownloadContent::midiFile, pattern), juce::String());
    const juce::String html ("<!DOCTYPE html><html><body>404<br></body></html>");
    EXPECT_NE (checkDownloadedContent (DownloadContent::pattern, html.toRawUTF8(), (size_t) html.length()), juce::String());
    EXPECT_NE (checkDownloadedContent (DownloadContent::patchGroup, group.getData(), group.getSize() / 2), juce::String());
    EXPECT_NE (checkDownloadedContent (DownloadContent::midiFile, midi.getData(), 20), juce::String());
    EXPECT_NE (checkDownloadedContent (DownloadContent::song, nullptr, 0), juce::String());
}

TEST (DownloadCatalogue, ServerAddressFromTheEnvironmentOrTheFileBesideTheSettings)
{
    oxatest::TempFolder setting;
    const auto saved = juce::SystemStats::getEnvironmentVariable ("OXA_DOWNLOAD_SERVER", {});
    ::unsetenv ("OXA_DOWNLOAD_SERVER");

    EXPECT_EQ (getDownloadServer (setting.get()), defaultDownloadServer);
    (setting / "DownloadServer.txt").replaceWithText ("\n  https://mirror.example:8443/  \n");
    EXPECT_EQ (getDownloadServer (setting.get()), "https://mirror.example:8443");
    (setting / "DownloadServer.txt").replaceWithText ("file:///etc\n");
    EXPECT_EQ (getDownloadServer (setting.get()), defaultDownloadServer);

    ::setenv ("OXA_DOWNLOAD_SERVER", "http://127.0.0.1:8730", 1);
    EXPECT_EQ (getDownloadServer (setting.get()), "http://127.0.0.1:8730");
    EXPECT_EQ (catalogueUrl ("http://127.0.0.1:8730/"), "http://127.0.0.1:8730/archive/oxa_tools_data/M7c/DownloadInfo.xml");

    if (saved.isNotEmpty())
        ::setenv ("OXA_DOWNLOAD_SERVER", saved.toRawUTF8(), 1);
    else
        ::unsetenv ("OXA_DOWNLOAD_SERVER");
}
} // namespace
