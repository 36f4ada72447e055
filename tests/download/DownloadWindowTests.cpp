// The download page in the program's own main window, with the real
// controller and its stores: a patch set downloaded joins the store the
// librarian shows, and the controller's RefreshDownloadSection brings the
// page back online with it marked (build/screenshots/download-window.png).
#include "DownloadTestSupport.h"
#include "../app/GuiWindowTestSupport.h"

#include "app/GuiMain.h"
#include "app/SectionTab.h"

using namespace T730;
using namespace downloadtest;

namespace
{
class DownloadGuiMainWindow : public apptest::MainWindowFixture
{
protected:
    TestServer server;
};

TEST_F (DownloadGuiMainWindow, APatchSetDownloadedThroughThePageJoinsTheControllersStore)
{
    ASSERT_TRUE (server.serveStagedCatalogue());
    auto& tabs = gui().getTabSection();
    auto& page = tabs.getDownloadPage();
    page.setServer (server.address());
    tabs.getTab (3).triggerClick();
    ASSERT_TRUE (settleUntil ([&] { return page.getState() != SectionDownload::State::connecting; }));
    ASSERT_TRUE (page.isOnline());
    EXPECT_TRUE (page.isShowing());

    auto* store = controller().getPatchManager();
    ASSERT_NE (store, nullptr);
    const int groups = store->getNumGroups();
    auto& list = page.getPatchsetList();
    list.pressAt (list.spotCentre (0, DL_VScrollingUIItem::downloadSpot()));
    settle();

    EXPECT_EQ (store->getNumGroups(), groups + 1);
    EXPECT_TRUE (sandbox.folder (UserFolder::patchgroup).getChildFile ("Blues Box.xml").existsAsFile());
    EXPECT_TRUE (list.getEntry (0)->downloaded);

    controller().request (RefreshDownloadSection);
    ASSERT_TRUE (settleUntil ([&] { return page.getState() != SectionDownload::State::connecting; }));
    ASSERT_TRUE (page.isOnline());
    EXPECT_TRUE (page.getPatchsetList().getEntry (0)->downloaded);
    EXPECT_FALSE (page.getPatchsetList().getEntry (1)->downloaded);

    settle (120);
    EXPECT_TRUE (uitest::writeScreenshot (uitest::snapshot (*window), "download-window"));
}
} // namespace
