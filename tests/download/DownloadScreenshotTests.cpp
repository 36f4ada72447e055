// The page on the factory's download catalogue: DOWNLOAD_FULL brings every
// patch set and rhythm into the stores; and the page photographed for review
// (build/screenshots/download-<n>.png, with zoomed twins): the patch set list,
// the rhythm list with a preview, the patch set audition, offline.
#include "DownloadPageFixture.h"

using namespace T730;
using namespace downloadtest;

namespace
{
class DownloadGuiFactoryCatalogue : public PageFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (server.serveStagedCatalogue());
        page().setServer (server.address());
        ASSERT_TRUE (waitForAnswer());
        ASSERT_TRUE (page().isOnline());
    }

    void shoot (const juce::String& name)
    {
        settleUntil ({}, 80);
        const auto shot = uitest::snapshot (page());
        EXPECT_EQ (shot.getWidth(), 300);
        EXPECT_EQ (shot.getHeight(), 313);
        EXPECT_TRUE (uitest::writeScreenshot (shot, name));
        EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, shot.getBounds(), 3), name + "-zoomed"));
    }
};

TEST_F (DownloadGuiFactoryCatalogue, DownloadFullBringsEveryEntryIntoTheStores)
{
    ASSERT_EQ (page().getPatchsetList().getNumEntries(), 4);
    ASSERT_EQ (page().getRhythmList().getNumEntries(), 10);
    auto& full = page().getButton (SectionDownload::fullButton);
    ASSERT_TRUE (full.getToggleState());

    uitest::clickThroughPeer (full, full.getLocalBounds().getCentre());
    settleUntil ([&] { return ! full.getToggleState(); }, 30000);

    EXPECT_FALSE (full.getToggleState());
    EXPECT_FALSE (full.isEnabled());
    EXPECT_TRUE (page().isOnline());
    ASSERT_EQ (user.patches.getNumGroups(), 4);
    for (int g = 0; g < 4; ++g)
    {
        EXPECT_EQ (user.patches.getGroup (g)->count, 100);
        EXPECT_TRUE (user.patches.getGroup (g)->allKeyworded);
    }
    EXPECT_EQ (user.songs.getNumSongs(), 10);
    EXPECT_EQ (filesIn (user.folders.rhythm).size(), 40);
    for (auto* list : { static_cast<DL_VScrollingUI*> (&page().getPatchsetList()), static_cast<DL_VScrollingUI*> (&page().getRhythmList()) })
        for (auto& entry : list->getEntries())
            EXPECT_TRUE (entry.downloaded) << entry.name;

    // A restart (the librarian changed the groups) finds them downloaded.
    page().restart();
    ASSERT_TRUE (waitForAnswer());
    EXPECT_FALSE (page().getButton (SectionDownload::fullButton).getToggleState());
}

TEST_F (DownloadGuiFactoryCatalogue, ScreenshotsOfThePage)
{
    // One patch set downloaded already, so that both marks show.
    pressDownload (DL_ItemInfo::patchsetKind, 1);
    shoot ("download-1");

    auto& tab = page().getButton (SectionDownload::rhythmTab);
    uitest::clickThroughPeer (tab, tab.getLocalBounds().getCentre());
    pressAudition (DL_ItemInfo::rhythmKind, 2);
    ASSERT_TRUE (page().isPreviewRunning());
    shoot ("download-2");
    page().stopPreview();

    auto& patchTab = page().getButton (SectionDownload::patchsetTab);
    uitest::clickThroughPeer (patchTab, patchTab.getLocalBounds().getCentre());
    pressAudition (DL_ItemInfo::patchsetKind, 0);
    ASSERT_NE (page().getAttract(), nullptr);
    page().getAttract()->selectPatch (6);
    shoot ("download-4");
    page().closeAttract();

    server.server.stop();
    page().restart();
    ASSERT_TRUE (waitForAnswer());
    ASSERT_TRUE (page().isOffline());
    shoot ("download-3");
}
} // namespace
