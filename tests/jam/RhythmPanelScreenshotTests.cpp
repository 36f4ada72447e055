// The rhythm panel as a guitarist sees it, with a factory song on the real rhythm
// engine: open with the drummer and the bassist (build/screenshots/jam-1.png),
// folded (jam-2.png) and its Chord Viewer (jam-3.png).
#include "RhythmPanelTestSupport.h"
#include "ui/UiTestSupport.h"

#include "players/Figures.h"
#include "rhythm/RhythmEngineHost.h"

using namespace T730;
using namespace jamtest;

namespace
{
    juce::File stage (const char* path) { return oxatest::stageFolder().getChildFile (path); }

    /** Where the panel sits while its figures draw: a dark window like the jam section. */
    struct Holder : juce::Component
    {
        Holder()
        {
            setSize (380, 132);
            setOpaque (true);
        }
        void paint (juce::Graphics& g) override { g.fillAll (juce::Colour (0xff141416)); }
    };

    class JamGuiRhythmPanelScreenshots : public RhythmPanelFixture
    {
    protected:
        JamGuiRhythmPanelScreenshots()
        {
            environment.songFolder = stage ("song");
            environment.rhythmFolder = stage ("rhythm");
            environment.resourceFolder = stage ("resources");
            environment.engineLibrary = stage ("resources/rhythmmachine.so");
        }
    };
} // namespace

TEST_F (JamGuiRhythmPanelScreenshots, OpenFoldedAndTheChordViewer)
{
    link.settings.Character = true;
    machine = makeMachine();
    ASSERT_TRUE (machine->loadSong (stage ("song/Song_16beat.xml"), toolSet));
    for (auto* instance : { machine->getDrumInstance(), machine->getBassInstance() })
        ASSERT_TRUE (instance != nullptr && instance->waitUntilReady (30000));
    panel = new RhythmerUI (*machine, link, stage ("resources"));

    Holder holder;
    holder.addAndMakeVisible (*panel);
    panel->setTopLeftPosition (4, 4);
    holder.addToDesktop (juce::ComponentPeer::windowIsTemporary);
    holder.setVisible (true);

    // A moment into the song: bar 6, with both parts sounding.
    machine->locateTo ((juce::int64) (5 * 4 + 2) * 27562 + 2000);
    panel->placed (4);
    panel->refresh();
    panel->updateLocate();
    panel->getChordProgress().setPosition (machine->getCurrentPlayState()->getPosition() % machine->getLength());
    panel->getPlayTime().setPosition (machine->getCurrentPlayState()->getPosition());
    panel->getPlayBBT().setBarBeat (5, 2);
    panel->getDrumMeter().setValue (0.55f);
    panel->getBassMeter().setValue (0.3f);

    auto* drummer = panel->getDrummer();
    auto* bassist = panel->getBassist();
    ASSERT_NE (drummer, nullptr);
    ASSERT_NE (bassist, nullptr);
    holder.repaint();
    const bool drawn = oxatest::pumpMessagesUntil ([&]
    {
        return drummer->getView() != nullptr && drummer->getView()->isReady() && bassist->getView() != nullptr
               && bassist->getView()->isReady();
    }, 10000);

    auto shot = uitest::snapshot (*panel);
    if (drawn)
    {
        // The views draw on their own threads: their frames are laid into the picture.
        drummer->setFrame (0, 5);
        drummer->setFrame (1, 3);
        juce::Graphics g (shot);
        for (auto* figure : { static_cast<PlayerProxy*> (drummer), static_cast<PlayerProxy*> (bassist) })
        {
            const auto frame = figure->getView()->captureFrame();
            if (frame.isValid())
                g.drawImageAt (frame, figure->getX(), figure->getY() + figure->getView()->getY());
        }
    }
    EXPECT_NE (panel->getDrumKitButton().getButtonText(), "---") << "the real engine names its kits";
    EXPECT_TRUE (panel->getDrumKitButton().isVisible());
    EXPECT_EQ (shot.getWidth(), 372);
    EXPECT_EQ (shot.getHeight(), 124);
    EXPECT_TRUE (uitest::writeScreenshot (shot, "jam-1"));
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, shot.getBounds(), 2), "jam-1-zoomed"));
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, { 0, 90, 186, 34 }, 4), "jam-1-keys-left-zoomed"));
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, { 186, 90, 186, 34 }, 4), "jam-1-keys-right-zoomed"));
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (shot, { 0, 0, 186, 30 }, 4), "jam-1-top-zoomed"));

    panel->setFolded (true);
    const auto folded = uitest::snapshot (*panel);
    EXPECT_EQ (folded.getHeight(), 22);
    EXPECT_TRUE (uitest::writeScreenshot (folded, "jam-2"));
    EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (folded, folded.getBounds(), 2), "jam-2-zoomed"));
    panel->setFolded (false);

    // A double-click on the strip opens the viewer.
    auto& strip = panel->getChordProgress();
    strip.mouseDoubleClick (juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { 20.0f, 10.0f }, {}, 1.0f,
                                              0.0f, 0.0f, 0.0f, 0.0f, &strip, &strip, juce::Time::getCurrentTime(),
                                              { 20.0f, 10.0f }, juce::Time::getCurrentTime(), 2, false));
    ASSERT_NE (strip.getViewer(), nullptr);
    EXPECT_EQ (strip.getViewer()->getName(), "Chord Viewer : " + machine->getSong().SongName);
    const auto viewer = uitest::snapshot (strip.getViewer()->getPage());
    EXPECT_TRUE (uitest::writeScreenshot (viewer, "jam-3"));

    holder.removeFromDesktop();
}
