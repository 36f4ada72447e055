// The main window and its main component: sections, messages, busy nesting, menus.
#include "GuiWindowTestSupport.h"

#include "app/ControllerCommands.h"
#include "app/GuiMain.h"
#include "app/SectionTab.h"
#include "editor/SectionEditor.h"
#include "editor/SectionPedalAssign.h"
#include "jam/SectionJam.h"
#include "ui/SectionProj.h"

using namespace T730;

namespace
{
class AppGuiMainWindow : public apptest::MainWindowFixture
{
};
} // namespace

TEST_F (AppGuiMainWindow, ShowsTheFiveSectionsAtTheirBoundsUnderTheMenuBar)
{
    settle();
    auto& main = gui();
    EXPECT_EQ (main.getParentComponent() != nullptr, true);
    EXPECT_EQ (main.getLocalBounds(), juce::Rectangle<int> (0, 0, 700, 500));
    EXPECT_EQ (main.getTabSection().getBounds(), juce::Rectangle<int> (0, 0, 300, 350));
    EXPECT_EQ (main.getToolSetBar().getBounds(), juce::Rectangle<int> (300, 0, 400, 37));
    EXPECT_EQ (main.getJamSection().getBounds(), juce::Rectangle<int> (300, 38, 400, 308));
    EXPECT_EQ (main.getEditorSection().getBounds(), juce::Rectangle<int> (1, 354, 652, 146));
    EXPECT_EQ (main.getPedalAssignSection().getBounds(), juce::Rectangle<int> (656, 349, 45, 152));

    const auto shot = uitest::snapshot (*window);
    EXPECT_EQ (shot.getWidth(), 700) << "no frame around the fixed layout";
    EXPECT_TRUE (uitest::writeScreenshot (shot, "window"));
    const int top = HelloWorldWindow::titleBarHeight + main.getLookAndFeel().getDefaultMenuBarHeight();
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, { 0, 0, 700, top + 50 }, 2), "window-top-zoomed"));
}
