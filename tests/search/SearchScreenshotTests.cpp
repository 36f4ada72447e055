// The search page on the shipped patch groups and songs, photographed for
// review: words picked, patch results with their charts, a rhythm preview
// playing (build/screenshots/search-<n>.png, with zoomed twins).
#include "SearchTestSupport.h"

using namespace T730;
using namespace searchtest;

namespace
{
class SearchGuiScreenshots : public ::testing::Test
{
protected:
    SearchGuiScreenshots()
    {
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        patches.setFolder (oxatest::stageFolder().getChildFile ("patchgroupM7"));
        patches.loadAll();
        songs.setFolder (oxatest::stageFolder().getChildFile ("song"));
        songs.loadAll();
        link.patches = &patches;
        link.songs = &songs;
        host = std::make_unique<Host> (link);
        settle (60);
    }

    ~SearchGuiScreenshots() override
    {
        host.reset();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

    void pick (const juce::String& word)
    {
        auto& grid = host->page.getWordList();
        const int k = grid.getWords().indexOf (word);
        ASSERT_GE (k, 0) << word;
        grid.getHorizontalBar().setCurrentRangeStart ((k / SS_WordList::rows) * SS_WordList::columnWidth, juce::sendNotificationSync);
        uitest::clickThroughPeer (grid, grid.getCellBounds (k % SS_WordList::rows, k / SS_WordList::rows).getCentre());
        settle();
    }

    void shoot (const juce::String& name)
    {
        settle (60);
        const auto shot = uitest::snapshot (host->page);
        EXPECT_EQ (shot.getWidth(), 300);
        EXPECT_EQ (shot.getHeight(), 313);
        EXPECT_TRUE (uitest::writeScreenshot (shot, name));
        EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, shot.getBounds(), 3), name + "-zoomed"));
    }

    ScopedStagedResources resources;
    T730LookAndFeel lookAndFeel;
    PatchManager patches;
    SongManager songs;
    FakeLink link;
    std::unique_ptr<Host> host;
};

TEST_F (SearchGuiScreenshots, WordsPickedPatchChartsAndAPreviewPlaying)
{
    auto& page = host->page;
    shoot ("search-0");   // as the page first shows: every word, no result

    // Two words picked: the most frequent and a heavier one.
    pick ("rock");
    pick ("heavy");
    ASSERT_GT (page.getPatchList().getResultCount(), 3);
    ASSERT_GT (page.getRhythmList().getResultCount(), 1);
    auto& list = page.getPatchList();
    uitest::clickThroughPeer (list, list.getRowBounds (1).getCentre());
    // The charts differ from patch to patch and are drawn from the staged tables.
    ASSERT_NE (list.getPatchCell (0), nullptr);
    const auto s = list.getPatchCell (0)->getScores();
    EXPECT_GT (s.drive + s.scoop + s.air + s.efx + s.comp, 0.3f);
    shoot ("search-1");

    // A typed word: the clean patches with reverb show another shape.
    page.getWordList().clearAll();
    page.getFreeTextField().setText ("clean", true);
    settle();
    shoot ("search-2");

    // A rhythm previewing: the stop spot and the running light.
    auto& rhythms = page.getRhythmList();
    page.getFreeTextField().setText ({}, true);
    settle();
    pick ("blues");
    ASSERT_GT (rhythms.getResultCount(), 2);
    uitest::clickThroughPeer (rhythms, rhythms.getRowBounds (1).getPosition() + SS_RhythmListItem::playSpot().getCentre());
    settle (400);
    ASSERT_TRUE (rhythms.isPreviewing());
    shoot ("search-3");
    rhythms.stopPreview();
}
} // namespace
