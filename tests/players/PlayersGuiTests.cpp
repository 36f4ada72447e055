// The figures on the screen: 3D views drawn by Mesa's OpenGL under Xvfb and read back
// (screenshots build/screenshots/drummer-<pose>.png and bassist-<pose>.png), the still
// picture when no view is made or its context fails, the mouse turning the figure,
// and views closed while their frames run.
#include "PlayersTestSupport.h"
#include "ui/UiTestSupport.h"

#include "players/Figures.h"

using namespace T730;
using namespace playerstest;

namespace
{
    /** The rhythm panel's place for the figures, and the command target above them. */
    struct Panel : juce::Component, juce::ApplicationCommandTarget
    {
        Panel()
        {
            setSize (400, 120);
            setOpaque (true);
        }
        void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::black); }
        juce::ApplicationCommandTarget* getNextCommandTarget() override { return nullptr; }
        void getAllCommands (juce::Array<juce::CommandID>& ids) override { ids.add (PlayerDummy::drummerBassistCommand); }
        void getCommandInfo (juce::CommandID id, juce::ApplicationCommandInfo& info) override
        {
            info.commandID = id;
            info.setActive (true);
        }
        bool perform (const InvocationInfo& info) override
        {
            performed.add (info.commandID);
            return true;
        }
        juce::Array<juce::CommandID> performed;
    };

    juce::File resources() { return oxatest::stageFolder().getChildFile ("resources"); }

    double litShare (const juce::Image& image)
    {
        int lit = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getBrightness() > 0.08f)
                    ++lit;
        return (double) lit / (double) (image.getWidth() * image.getHeight());
    }

    int differingPixels (const juce::Image& a, const juce::Image& b)
    {
        int n = 0;
        for (int y = 0; y < juce::jmin (a.getHeight(), b.getHeight()); ++y)
            for (int x = 0; x < juce::jmin (a.getWidth(), b.getWidth()); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    ++n;
        return n;
    }

    class PlayersGui : public ::testing::Test
    {
    protected:
        PlayersGui()
        {
            panel.addToDesktop (juce::ComponentPeer::windowIsTemporary);
            panel.setVisible (true);
        }
        ~PlayersGui() override { Player::setGraphicsCheck (nullptr); }

        void place (PlayerProxy& figure, int x)
        {
            figure.setTopLeftPosition (x, 19);
            panel.addAndMakeVisible (figure);
            panel.repaint();
        }

        static bool waitReady (PlayerProxy& figure)
        {
            return oxatest::pumpMessagesUntil ([&] { return figure.getView() != nullptr && figure.getView()->isReady(); }, 10000);
        }

        juce::MouseEvent mouse (juce::Component& c, int x, int y, int downX, int downY)
        {
            return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { (float) x, (float) y },
                                     juce::ModifierKeys::leftButtonModifier, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, &c, &c,
                                     juce::Time::getCurrentTime(), { (float) downX, (float) downY },
                                     juce::Time::getCurrentTime(), 1, false);
        }

        SettingsLink link;
        Panel panel;
    };
} // namespace

TEST_F (PlayersGui, FiguresDrawInOpenGLAndTheirPosesShowOnScreen)
{
    Drummer drummer (nullptr, &link, resources());
    Bassist bassist (nullptr, &link, resources());
    place (drummer, 25);
    place (bassist, 260);
    ASSERT_TRUE (waitReady (drummer));
    ASSERT_TRUE (waitReady (bassist));
    EXPECT_FALSE (drummer.isShowingStill());

    // The clock draws frames by itself; then poses are set by hand and read back.
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return drummer.getView()->getFramesDrawn() > 5; }, 5000));
    drummer.pauseAnimation();
    bassist.pauseAnimation();

    struct Shot { const char* name; int right, left, cymbal, hiHat; };
    const Shot drummerShots[] = { { "rest", 0, 0, 0, 0 }, { "backswing", 3, 3, 0, 0 }, { "hit", 5, 5, 0, 0 },
                                  { "crash", 29, 8, 2, 1 }, { "count-in", 47, 23, 0, 0 } };
    std::vector<juce::Image> drummerImages;
    for (const auto& s : drummerShots)
    {
        drummer.setFrame (0, s.right);
        drummer.setFrame (1, s.left);
        drummer.setFrame (2, s.cymbal);
        drummer.setFrame (3, s.hiHat);
        const auto image = drummer.getView()->captureFrame();
        ASSERT_TRUE (image.isValid()) << s.name;
        EXPECT_EQ (image.getWidth(), PlayerProxy::width);
        EXPECT_GT (litShare (image), 0.15) << s.name;   // a figure, not an empty view
        EXPECT_TRUE (uitest::writeScreenshot (image, juce::String ("drummer-") + s.name));
        EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (image, image.getBounds(), 4), juce::String ("drummer-") + s.name + "-zoomed"));
        drummerImages.push_back (image);
    }
    EXPECT_GT (differingPixels (drummerImages[0], drummerImages[2]), 20);   // the sticks moved
    EXPECT_GT (differingPixels (drummerImages[0], drummerImages[4]), 100);  // the count-in raises both arms

    const std::pair<int, int> bassistShots[] = { { 0, 0 }, { 11, 3 }, { 22, 4 }, { 33, 2 } };
    std::vector<juce::Image> bassistImages;
    for (auto [body, hand] : bassistShots)
    {
        bassist.setFrame (0, body);
        bassist.setFrame (1, hand);
        const auto image = bassist.getView()->captureFrame();
        ASSERT_TRUE (image.isValid());
        EXPECT_GT (litShare (image), 0.10);
        const auto name = "bassist-" + juce::String (body) + "-hand" + juce::String (hand);
        EXPECT_TRUE (uitest::writeScreenshot (image, name));
        EXPECT_TRUE (uitest::writeScreenshot (uitest::zoomed (image, image.getBounds(), 4), name + "-zoomed"));
        bassistImages.push_back (image);
    }
    EXPECT_GT (differingPixels (bassistImages[0], bassistImages[2]), 20);   // the hand moved along the neck

    // The still pictures the program carries, drawn from the same models.
    EXPECT_EQ (Drummer::stillImage().getWidth(), 92);
    EXPECT_EQ (Drummer::stillImage().getHeight(), 74);
    EXPECT_GT (litShare (Drummer::stillImage()), 0.15);
    EXPECT_GT (litShare (Bassist::stillImage()), 0.10);
    uitest::writeScreenshot (uitest::zoomed (Drummer::stillImage(), { 0, 0, 92, 74 }, 4), "drummer-still-zoomed");
    uitest::writeScreenshot (uitest::zoomed (Bassist::stillImage(), { 0, 0, 92, 74 }, 4), "bassist-still-zoomed");
}

TEST_F (PlayersGui, AContextWithoutTheFixedPipelineShowsTheStillPicture)
{
    Player::setGraphicsCheck ([] { return false; });
    Drummer drummer (nullptr, &link, resources());
    place (drummer, 25);
    ASSERT_TRUE (drummer.hasView());
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return drummer.getView()->hasFailed(); }, 10000));
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return drummer.getStill().isVisible() && drummer.getStill().getParentComponent() == &drummer; }, 5000));
    EXPECT_TRUE (drummer.isShowingStill());
    EXPECT_FALSE (drummer.getView()->isVisible());
    EXPECT_FALSE (drummer.isAnimating());

    const auto shot = uitest::snapshot (drummer);
    EXPECT_LT (differingPixels (shot, Drummer::stillImage()), 92 * 3);   // the picture (its last row aside)
    uitest::writeScreenshot (uitest::zoomed (shot, shot.getBounds(), 4), "drummer-failed-context");
}

TEST_F (PlayersGui, WithFiguresSwitchedOffTheStillPictureAsksForThemWhenClicked)
{
    link.settings.Character = false;
    Bassist bassist (nullptr, &link, resources());
    place (bassist, 260);
    EXPECT_FALSE (bassist.hasView());
    EXPECT_FALSE (bassist.isAnimating());
    ASSERT_TRUE (oxatest::pumpMessagesUntil ([&] { return bassist.getStill().isVisible(); }, 3000));
    bassist.getStill().mouseDown (mouse (bassist.getStill(), 10, 10, 10, 10));
    EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return panel.performed.size() == 1; }, 3000));
    EXPECT_EQ (panel.performed[0], PlayerDummy::drummerBassistCommand);

    // Switched on, a click on the still picture asks nothing.
    link.settings.Character = true;
    bassist.getStill().mouseDown (mouse (bassist.getStill(), 10, 10, 10, 10));
    oxatest::pumpMessagesUntil ([] { return false; }, 200);
    EXPECT_EQ (panel.performed.size(), 1);
}

TEST_F (PlayersGui, DraggingTurnsTheFigureAndTheSettingsKeepItsAngles)
{
    link.settings.DrummerX = 30;
    link.settings.DrummerY = -45;
    {
        Drummer drummer (nullptr, &link, resources());
        place (drummer, 25);
        EXPECT_EQ (drummer.getViewAngles(), juce::Point<float> (30.0f, -45.0f));
        auto* view = drummer.getView();
        ASSERT_NE (view, nullptr);
        EXPECT_EQ (view->getCamera().getAngleX(), 30.0f);
        EXPECT_EQ (view->getCamera().getDistance(), Drummer::distance);
        EXPECT_EQ (view->getCamera().getOffsetX(), Drummer::offsetX);

        // 7 pixels up: -1 degree about x; 3 pixels across: nothing yet.
        view->mouseDown (mouse (*view, 40, 40, 40, 40));
        view->mouseDrag (mouse (*view, 43, 33, 40, 40));
        EXPECT_EQ (view->getCamera().getAngleX(), 29.0f);
        EXPECT_EQ (view->getCamera().getAngleY(), -45.0f);
        EXPECT_EQ (drummer.getViewAngles().x, 30.0f);   // stored only when the button goes up
        view->mouseUp (mouse (*view, 48, 33, 40, 40));
        EXPECT_EQ (drummer.getViewAngles(), juce::Point<float> (29.0f, -43.0f));

        // A new offset starts the camera again; the view's angles stay.
        drummer.setCameraOffset (0.0f, 0.0f, 0.0f);
        EXPECT_EQ (view->getCamera().getAngleX(), 0.0f);
        EXPECT_EQ (view->getCamera().getDistance(), 0.0f);
        EXPECT_EQ (drummer.getViewAngles().x, 29.0f);

        drummer.setViewAngles (12.0f, 7.9f);
    }
    EXPECT_EQ (link.settings.DrummerX, 12);
    EXPECT_EQ (link.settings.DrummerY, 7);

    link.settings.BassistX = 370;
    Bassist bassist (nullptr, &link, resources());
    EXPECT_EQ (bassist.getView()->getCamera().getAngleX(), 370.0f);   // drawn as given
    bassist.getView()->mouseDown (mouse (*bassist.getView(), 5, 5, 5, 5));
    bassist.getView()->mouseUp (mouse (*bassist.getView(), 5, 5, 5, 5));
    EXPECT_EQ (bassist.getViewAngles().x, 10.0f);
}

TEST_F (PlayersGui, FiguresClosedWhileTheirFramesRunFreeNothingInUse)
{
    // Each figure is deleted with its view drawing and calling it; the view's frames end
    // before the figure's state and models go (a fault here crashes or trips the sanitizers).
    Synchronizer sync;
    rhythmtest::TestOwner owner;
    auto environment = Rhythmer::Environment::standard();
    environment.owner = &owner;
    environment.engineLibrary = juce::File();
    Rhythmer::Ptr machine = new Rhythmer (sync, environment);

    for (int round = 0; round < 4; ++round)
    {
        auto drummer = std::make_unique<Drummer> (machine.get(), &link, resources());
        auto bassist = std::make_unique<Bassist> (machine.get(), &link, resources());
        place (*drummer, 25);
        place (*bassist, 260);
        ASSERT_TRUE (waitReady (*drummer));
        ASSERT_TRUE (waitReady (*bassist));
        const int before = drummer->getView()->getFramesDrawn();
        EXPECT_TRUE (oxatest::pumpMessagesUntil ([&] { return drummer->getView()->getFramesDrawn() > before + 2; }, 5000));
        if (round % 2 == 0)
            drummer->pauseAnimation();   // as the rhythm panel does before deleting; the odd rounds do not
        drummer.reset();
        bassist.reset();
        EXPECT_EQ (Player::getLiveViewCount(), 0);
    }
}
