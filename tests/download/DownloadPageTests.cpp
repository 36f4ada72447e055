// The download page against a local catalogue server: its online and offline
// states, the lists and tabs, downloading into the user-data folders and the
// stores, what faulty answers and hostile names leave behind (nothing), the
// overwrite question, the rhythm audition through the preview machine, the
// patch set audition and what it puts back, restarts while the server is silent.
#include "DownloadPageFixture.h"

using namespace T730;
using namespace downloadtest;

namespace
{
constexpr int patches = DL_ItemInfo::patchsetKind, rhythms = DL_ItemInfo::rhythmKind;

class DownloadGuiPage : public PageFixture
{
};

TEST_F (DownloadGuiPage, OnlineListsEntriesWithTheirMarksAndTheTabsSwitch)
{
    auto blues = patchset ("Blues Box", "true");
    auto metal = patchset ("Metal Lab", "TRUE");
    ASSERT_TRUE (connect ({ blues, metal }, { rhythm ("Funky Street", "Song_dlFunkyStreet.xml", "DLFUNKYSTREET") }));

    auto& sets = page().getPatchsetList();
    ASSERT_EQ (sets.getNumEntries(), 2);
    EXPECT_TRUE (sets.getEntry (0)->isNew);
    EXPECT_FALSE (sets.getEntry (1)->isNew);
    EXPECT_EQ (sets.getEntry (0)->comment, "The Blues Box");
    EXPECT_TRUE (sets.isVisible());
    EXPECT_FALSE (page().getRhythmList().isVisible());
    EXPECT_TRUE (page().getButton (SectionDownload::patchsetTab).getToggleState());
    EXPECT_FALSE (page().getButton (SectionDownload::connectButton).isVisible());
    EXPECT_TRUE (page().getButton (SectionDownload::fullButton).getToggleState());

    ASSERT_TRUE (page().hasCatalogueTime());
    EXPECT_EQ (page().getCatalogueTime(), juce::Time (2009, 2, 15, 14, 25, 7, 0, true));

    auto& tab = page().getButton (SectionDownload::rhythmTab);
    uitest::clickThroughPeer (tab, tab.getLocalBounds().getCentre());
    settleUntil ({}, 50);
    EXPECT_TRUE (page().getRhythmList().isVisible());
    EXPECT_FALSE (sets.isVisible());
    EXPECT_TRUE (tab.getToggleState());
    EXPECT_FALSE (page().getButton (SectionDownload::patchsetTab).getToggleState());
    EXPECT_EQ (page().getRhythmList().getEntry (0)->songFile, "Song_dlFunkyStreet.xml");
}

TEST_F (DownloadGuiPage, ADownloadedPatchSetJoinsThePatchStoreAndIsMarked)
{
    ASSERT_TRUE (connect ({ patchset ("Blues Box") }, {}));
    pressDownload (patches, 0);

    const auto file = user.folders.patchgroup.getChildFile ("Blues Box.xml");
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_EQ (file.getSize(), stagedFiles().getChildFile ("patchsets/Blues Box.xml").getSize());
    ASSERT_EQ (user.patches.getNumGroups(), 1);
    EXPECT_EQ (user.patches.getGroup (0)->Name, "Blues Box");
    EXPECT_TRUE (user.patches.getGroup (0)->allKeyworded);
    EXPECT_TRUE (page().getPatchsetList().getEntry (0)->downloaded);
    EXPECT_FALSE (page().getButton (SectionDownload::fullButton).getToggleState());
    EXPECT_NE (std::find (link.updates.begin(), link.updates.end(), 0x01), link.updates.end());

    // A second press on a downloaded entry fetches nothing.
    const int before = server.server.getRequestCount();
    pressDownload (patches, 0);
    EXPECT_EQ (server.server.getRequestCount(), before);
}

TEST_F (DownloadGuiPage, FaultyAnswersWriteNothingMarkNothingAndTheRetryReconnects)
{
    const juce::StringArray faults { "/fault/404", "/fault/500", "/fault/html.xml", "/fault/truncated.xml",
                                     "/fault/huge.xml", "/fault/silent.xml" };
    for (const auto& fault : faults)
    {
        SCOPED_TRACE (fault.toStdString());
        ASSERT_TRUE (connect ({ { "Broken", { server.url (fault) } } }, {}));
        const auto started = juce::Time::getMillisecondCounter();
        pressDownload (patches, 0);
        EXPECT_LT (juce::Time::getMillisecondCounter() - started, 6000u);
        EXPECT_TRUE (filesIn (user.folders.patchgroup).isEmpty());
        EXPECT_EQ (user.patches.getNumGroups(), 0);
        EXPECT_TRUE (page().isOffline());
        EXPECT_TRUE (page().getButton (SectionDownload::connectButton).isVisible());
        EXPECT_FALSE (page().getPatchsetList().isVisible());
    }

    // One bad file of a rhythm keeps all of it out: the song and the patterns too.
    auto funky = rhythm ("Funky Street", "Song_dlFunkyStreet.xml", "DLFUNKYSTREET");
    funky.urls.add (server.url ("/fault/404/DLFUNKYSTREET_C.mid"));
    ASSERT_TRUE (connect ({}, { funky }));
    pressDownload (rhythms, 0);
    EXPECT_TRUE (filesIn (user.folders.song).isEmpty());
    EXPECT_TRUE (filesIn (user.folders.rhythm).isEmpty());
    EXPECT_EQ (user.songs.getNumSongs(), 0);

    // DOWNLOAD_CONNECT asks again.
    server.catalogueFile().replaceWithText (catalogueText ({ patchset ("Blues Box") }, {}));
    auto& retry = page().getButton (SectionDownload::connectButton);
    uitest::clickThroughPeer (retry, retry.getLocalBounds().getCentre());
    ASSERT_TRUE (waitForAnswer());
    EXPECT_TRUE (page().isOnline());
    EXPECT_EQ (page().getPatchsetList().getNumEntries(), 1);
}

TEST_F (DownloadGuiPage, OfflineWhenTheServerIsDownOrAnswersSomethingElse)
{
    oxaserver::CatalogueServer gone ({});
    ASSERT_TRUE (gone.start());
    const auto address = juce::String (gone.getAddress());
    gone.stop();
    page().setServer (address);
    ASSERT_TRUE (waitForAnswer());
    EXPECT_TRUE (page().isOffline());

    server.catalogueFile().getParentDirectory().createDirectory();
    server.catalogueFile().replaceWithText ("<DownloadInfo><Nothing/></DownloadInfo>");
    page().setServer (server.address());
    ASSERT_TRUE (waitForAnswer());
    EXPECT_TRUE (page().isOffline());
}

TEST_F (DownloadGuiPage, HostileNamesAreNeverFetchedNorWritten)
{
    const auto base = server.address() + "/archive/oxa_tools_data/M7c/patchsets/";
    ASSERT_TRUE (connect ({ { "Up", { base + "..%2F..%2F..%2Fsetting%2FOXAToolsM7c.xml" } },
                            { "Dots", { base + ".." } },
                            { "Empty", { base } },
                            { "Back", { base + "x%5C..%5Cevil.xml" } },
                            { "Scheme", { "file:///etc/passwd" } } },
                          {}));
    const int before = server.server.getRequestCount();
    for (int row = 0; row < 5; ++row)
        pressDownload (patches, row);
    EXPECT_EQ (server.server.getRequestCount(), before);
    EXPECT_TRUE (filesIn (user.temp.get()).isEmpty());
    EXPECT_EQ (link.dialogs.errors.size(), 5);
    for (int row = 0; row < 5; ++row)
        EXPECT_FALSE (page().getPatchsetList().getEntry (row)->downloaded);
}

TEST_F (DownloadGuiPage, ARhythmWhoseMidiFileIsMissingIsNotDownloaded)
{
    auto funky = rhythm ("Funky Street", "Song_dlFunkyStreet.xml", "DLFUNKYSTREET");
    stagedFiles().getChildFile ("rhythms/song/Song_dlFunkyStreet.xml").copyFileTo (user.folders.song.getChildFile ("Song_dlFunkyStreet.xml"));
    stagedFiles().getChildFile ("rhythms/rhythm/DLFUNKYSTREET_A.xml").copyFileTo (user.folders.rhythm.getChildFile ("DLFUNKYSTREET_A.xml"));
    ASSERT_TRUE (connect ({}, { funky }));
    EXPECT_FALSE (page().getRhythmList().getEntry (0)->downloaded);

    // Downloading brings the rest; the files already there and alike raise no question.
    pressDownload (rhythms, 0);
    EXPECT_TRUE (link.dialogs.questions.isEmpty());
    EXPECT_TRUE (page().getRhythmList().getEntry (0)->downloaded);
    EXPECT_EQ (filesIn (user.folders.rhythm).size(), funky.urls.size() - 1);
    ASSERT_EQ (user.songs.getNumSongs(), 1);
    EXPECT_EQ (user.songs.getSong (0)->SongName, "Funky Street");
}

TEST_F (DownloadGuiPage, AUsersOwnFileIsReplacedOnlyWhenTheUserSaysSo)
{
    // The user's own songs of the same names; the rhythms' patterns are missing, so they are not downloaded.
    const auto own = user.folders.song.getChildFile ("Song_dlFunkyStreet.xml");
    const auto ownToo = user.folders.song.getChildFile ("Song_dlThrashAttack.xml");
    own.replaceWithText ("<Song><SongName>My own</SongName></Song>");
    ownToo.replaceWithText ("<Song><SongName>Mine too</SongName></Song>");
    ASSERT_TRUE (connect ({}, { rhythm ("Funky Street", "Song_dlFunkyStreet.xml", "DLFUNKYSTREET"),
                                rhythm ("Thrash Attack", "Song_dlThrashAttack.xml", "DLTHRASHATTACK") }));
    ASSERT_FALSE (page().getRhythmList().getEntry (0)->downloaded);

    link.dialogs.overwriteAnswer = 0;   // Cancel: nothing of the entry is written
    pressDownload (rhythms, 0);
    ASSERT_EQ (link.dialogs.questions.size(), 1);
    EXPECT_EQ (link.dialogs.questions[0], "Overwrite?\n\"Song_dlFunkyStreet\"");
    EXPECT_TRUE (own.loadFileAsString().contains ("My own"));
    EXPECT_TRUE (filesIn (user.folders.rhythm).isEmpty());
    EXPECT_FALSE (page().getRhythmList().getEntry (0)->downloaded);

    link.dialogs.overwriteAnswer = 1;   // OK
    pressDownload (rhythms, 0);
    EXPECT_EQ (link.dialogs.questions.size(), 2);
    EXPECT_FALSE (own.loadFileAsString().contains ("My own"));
    EXPECT_TRUE (page().getRhythmList().getEntry (0)->downloaded);

    link.dialogs.overwriteAnswer = 2;   // Rename: the save dialog offers a free name, the user's file stays
    pressDownload (rhythms, 1);
    EXPECT_EQ (link.dialogs.questions.size(), 3);
    EXPECT_TRUE (ownToo.loadFileAsString().contains ("Mine too"));
    EXPECT_EQ (user.folders.song.findChildFiles (juce::File::findFiles, false, "Song_dlThrashAttack*").size(), 2);
}

TEST_F (DownloadGuiPage, ARhythmIsAuditionedThroughThePreviewMachineAndItsSpotStopsIt)
{
    ASSERT_TRUE (connect ({}, { rhythm ("Funky Street", "Song_dlFunkyStreet.xml", "DLFUNKYSTREET"),
                                rhythm ("Thrash Attack", "Song_dlThrashAttack.xml", "DLTHRASHATTACK") }));
    link.requests.clear();
    pressAudition (rhythms, 0);

    ASSERT_EQ (link.codes(), (std::vector<int> { BeginRhythmPreview, LoadSong, StartRhythmPreview }));
    EXPECT_EQ (link.requests[1].text, user.audition.getChildFile ("Song_dlFunkyStreet.xml").getFullPathName());
    EXPECT_TRUE (page().isPreviewRunning());
    EXPECT_EQ (page().getPreviewedName(), "Funky Street");
    EXPECT_TRUE (page().getRhythmList().getItem (0)->isAuditioned());
    const auto temporary = page().getTemporaryFiles();
    EXPECT_EQ (temporary.size(), page().getRhythmList().getEntry (0)->urls.size());
    EXPECT_TRUE (filesIn (user.folders.song).isEmpty());   // an audition downloads nothing

    // Another rhythm's spot switches over; the playing one's spot stops it.
    link.requests.clear();
    pressAudition (rhythms, 1);
    EXPECT_EQ (link.codes(), (std::vector<int> { StopRhythmPreview, EndRhythmPreview, BeginRhythmPreview, LoadSong, StartRhythmPreview }));
    link.requests.clear();
    pressAudition (rhythms, 1);
    EXPECT_EQ (link.codes(), (std::vector<int> { StopRhythmPreview, EndRhythmPreview }));
    EXPECT_FALSE (page().isPreviewRunning());
    EXPECT_FALSE (page().getRhythmList().getItem (1)->isAuditioned());

    // The temporary files go with the page.
    host.reset();
    for (auto& f : temporary)
        EXPECT_FALSE (f.exists()) << f.getFullPathName();
}

TEST_F (DownloadGuiPage, LeavingThePageStopsThePreviewAndAFailedFetchPlaysNothing)
{
    auto broken = rhythm ("Funky Street", "Song_dlFunkyStreet.xml", "DLFUNKYSTREET");
    broken.urls.add (server.url ("/fault/500/X.mid"));
    ASSERT_TRUE (connect ({}, { rhythm ("Thrash Attack", "Song_dlThrashAttack.xml", "DLTHRASHATTACK"), broken }));

    pressAudition (rhythms, 0);
    ASSERT_TRUE (page().isPreviewRunning());
    link.requests.clear();
    page().setVisible (false);   // the tab section hides the page it leaves
    EXPECT_EQ (link.codes(), (std::vector<int> { StopRhythmPreview, EndRhythmPreview }));
    EXPECT_FALSE (page().isPreviewRunning());
    page().setVisible (true);

    link.requests.clear();
    pressAudition (rhythms, 1);
    EXPECT_EQ (link.count (BeginRhythmPreview), 0);
    EXPECT_FALSE (page().isPreviewRunning());
}

TEST_F (DownloadGuiPage, APatchSetAuditionPutsBackTheEditBufferItFound)
{
    {
        auto& mine = link.project.editBuffer;
        mine.name = "Mine";
        mine.setParam (2, 3, 17);
    }
    const EditBuf before = link.project.editBuffer;
    ASSERT_TRUE (connect ({ patchset ("Metal Lab") }, {}));
    pressAudition (patches, 0);

    auto* attract = page().getAttract();
    ASSERT_NE (attract, nullptr);
    EXPECT_TRUE (filesIn (user.folders.patchgroup).isEmpty());
    attract->selectPatch (3);
    ASSERT_FALSE (link.sent.empty());
    EXPECT_EQ (link.project.editBuffer.name, "Riff 4");
    EXPECT_TRUE (link.sent.back().sameContentAs (link.project.editBuffer));

    // Something else changes the tool set meanwhile (an undo step of its own).
    link.request (RecordUndoAndMarkEdited, 0, 0, nullptr);
    link.requests.clear();
    auto& cancel = attract->getCancelButton();
    uitest::clickThroughPeer (cancel, cancel.getLocalBounds().getCentre());
    settleUntil ([this] { return page().getAttract() == nullptr; }, 2000);

    EXPECT_EQ (page().getAttract(), nullptr);
    EXPECT_TRUE (link.project.editBuffer.sameContentAs (before));
    EXPECT_TRUE (link.sent.back().sameContentAs (before));
    EXPECT_EQ (link.count (Undo), 0);
}

TEST_F (DownloadGuiPage, ARestartWhileTheServerIsSilentNeitherWaitsLongNorDeadlocks)
{
    server.server.http().Get ("/archive/oxa_tools_data/M7c/DownloadInfo.xml", [this] (const httplib::Request&, httplib::Response& r)
                              {
                                  for (int i = 0; i < 300 && ! server.server.isStopping(); ++i)
                                      std::this_thread::sleep_for (std::chrono::milliseconds (100));
                                  r.set_content ("<X/>", "application/xml");
                              });
    auto limits = testLimits();
    limits.timeoutMs = 20000;
    limits.totalMs = 30000;
    page().setLimits (limits);
    page().setServer (server.address());
    juce::Thread::sleep (200);

    auto started = juce::Time::getMillisecondCounter();
    page().restart();   // the controller's RefreshDownloadSection
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 1500u);
    EXPECT_EQ (page().getState(), SectionDownload::State::connecting);

    started = juce::Time::getMillisecondCounter();
    host.reset();
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 1500u);
}

TEST_F (DownloadGuiPage, ClosingTheProgressWindowCancelsTheTransfer)
{
    auto limits = testLimits();
    limits.timeoutMs = 20000;
    limits.totalMs = 30000;
    page().setLimits (limits);
    ASSERT_TRUE (connect ({ { "Slow", { server.url ("/fault/silent.xml") } } }, {}));

    bool closed = false;
    uitest::whenModal ([] { return dynamic_cast<juce::DialogWindow*> (juce::Component::getCurrentlyModalComponent()) != nullptr
                                   || juce::Component::getCurrentlyModalComponent() != nullptr; },
                       [&closed]
                       {
                           if (auto* modal = juce::Component::getCurrentlyModalComponent())
                           {
                               closed = true;
                               modal->exitModalState (0);
                           }
                       });
    const auto started = juce::Time::getMillisecondCounter();
    pressDownload (patches, 0);
    EXPECT_TRUE (closed);
    EXPECT_LT (juce::Time::getMillisecondCounter() - started, 4000u);
    EXPECT_TRUE (filesIn (user.folders.patchgroup).isEmpty());
    EXPECT_FALSE (page().getPatchsetList().getEntry (0)->downloaded);
    EXPECT_TRUE (page().isOnline());   // a cancel is no failure of the server
}
} // namespace
