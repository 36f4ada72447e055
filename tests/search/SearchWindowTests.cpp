// The search page in the program's window with the shipped patch groups and
// songs: its charts read the catalogue the program reads, a preview's click
// catcher lies over the main component, and a click on a tab during a preview
// only stops it.
#include "../app/GuiWindowTestSupport.h"
#include "SearchTestSupport.h"

#include "app/GuiMain.h"
#include "app/SectionTab.h"

using namespace T730;

namespace
{
class SearchGuiWindow : public apptest::MainWindowFixture
{
protected:
    void SetUp() override
    {
        for (auto* name : { UserFolder::patchgroup, UserFolder::song })
        {
            const auto folder = sandbox.folder (name);
            folder.createDirectory();
            for (const auto& file : oxatest::stageFolder().getChildFile (name).findChildFiles (juce::File::findFiles, false))
                ASSERT_TRUE (file.copyFileTo (folder.getChildFile (file.getFileName())));
        }
        apptest::MainWindowFixture::SetUp();
        settle();
    }

    SectionSearch& page() { return gui().getTabSection().getSearchPage(); }
};

TEST_F (SearchGuiWindow, APreviewsClickCatcherCoversTheMainComponentAndATabClickOnlyStopsIt)
{
    auto& tabs = gui().getTabSection();
    ASSERT_EQ (tabs.getCurrentPage(), &page());
    auto& grid = page().getWordList();
    ASSERT_TRUE (grid.getWords().contains ("blues"));

    const int k = grid.getWords().indexOf ("rock");
    uitest::clickThroughPeer (grid, grid.getCellBounds (k % SS_WordList::rows, k / SS_WordList::rows).getCentre());
    settle();
    auto& patches = page().getPatchList();
    ASSERT_GT (patches.getResultCount(), 10);
    ASSERT_NE (patches.getPatchCell (0), nullptr);
    const auto s = patches.getPatchCell (0)->getScores();
    EXPECT_GT (s.drive + s.scoop + s.air + s.efx + s.comp, 0.2f) << "the charts read the program's own catalogue";

    auto& rhythms = page().getRhythmList();
    ASSERT_GT (rhythms.getResultCount(), 1);
    uitest::clickThroughPeer (rhythms, rhythms.getRowBounds (0).getPosition() + SS_RhythmListItem::playSpot().getCentre());
    settle();
    ASSERT_TRUE (rhythms.isPreviewing());
    ASSERT_NE (rhythms.getCatcher(), nullptr);
    EXPECT_EQ (rhythms.getCatcher()->getParentComponent(), &gui());
    EXPECT_EQ (rhythms.getCatcher()->getBounds(), gui().getLocalBounds());

    // The librarian's tab: swallowed; the preview stops and the page stays.
    auto& librarianTab = tabs.getTab (1);
    uitest::clickThroughPeer (librarianTab, { librarianTab.getWidth() / 2, 20 });
    settle();
    EXPECT_FALSE (rhythms.isPreviewing());
    EXPECT_EQ (tabs.getCurrentPage(), &page());
    EXPECT_EQ (rhythms.getCatcher(), nullptr);

    // Now the tab answers.
    uitest::clickThroughPeer (librarianTab, { librarianTab.getWidth() / 2, 20 });
    settle();
    EXPECT_EQ (tabs.getCurrentPage(), &tabs.getLibrarianPage());
}
} // namespace
