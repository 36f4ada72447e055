// A whole practice session from the window, on a private JACK server whose
// test client plays a plucked-string signal into the engine's inputs over
// what the engine plays (so a recording holds the song it was played to):
// a rhythm machine from the adder and a factory song from the search page;
// a recorder, eight bars recorded and played back in time with the song; a
// punch-in over bar 3 that changes bar 3 only; bars 5 and 6 looped and slowed
// to half speed; the session mixed down to a WAV file that holds the song and
// the take where they belong; the tool set saved, the program closed and
// started again with the jam as it was.
#include <gtest/gtest.h>

#include "../app/GuiWindowTestSupport.h"
#include "../engine/JackTestServer.h"
#include "../recorder/RecorderTestSupport.h"
#include "JamSessionDriver.h"

#include "engine/EngineSettings.h"

#include <cmath>
#include <iostream>

using namespace T730;

namespace
{
class JamE2ESession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The program as installed: its rhythm engine and modules are the staged ones.
        overrideFolderRoots (oxatest::stageFolder(), sandbox.root.get().getChildFile ("documents"));
        for (auto* name : { UserFolder::patchgroup, UserFolder::song, UserFolder::rhythm })
        {
            const auto folder = sandbox.folder (name);
            folder.createDirectory();
            ASSERT_TRUE (oxatest::stageFolder().getChildFile (name).copyDirectoryTo (folder));
        }

        server = std::make_unique<oxatest::JackTestServer>();
        ASSERT_TRUE (server->isRunning()) << server->getError();
        feed = std::make_unique<oxatest::JackTestClient>();
        ASSERT_TRUE (feed->isOpen());
        feed->setTone (0.0, 0.0f);
        feed->setLoopback (true);
        InstController::setAudioDeviceNameMatch (feed->getName());
        DspLoader::deleteInstance();
        DspLoader::setDefaultResourceFolder (oxatest::stageFolder().getChildFile ("resources"));
        start();
    }

    void TearDown() override
    {
        window.reset();
        feed.reset();
        server.reset();
        InstController::setAudioDeviceNameMatch ({});
        DspLoader::setDefaultResourceFolder ({});
    }

    void start()
    {
        window = std::make_unique<HelloWorldWindow>();
        window->getController()->quitApplication = [] {};
        window->getController()->openDeviceIO (true, false);
        ASSERT_TRUE (oxatest::pumpMessagesUntil ([] { return isAudioReady(); }, 10000));
        driver = std::make_unique<jamtest::SessionDriver> (*window->getController());

        // The loop through the test client is the device's whole round trip.
        int engineOut = 0, engineIn = 0;
        getEngineSettings().outputLatency = feed->getLoopLatency (engineOut, engineIn);
        getEngineSettings().inputLatency = 0;
        driver->settle (200);
    }

    void restart()
    {
        driver.reset();
        window.reset();
        start();
    }

    oxatest::UserDataSandbox sandbox;
    oxatest::ScriptedDialogs dialogs;
    oxatest::ShownErrors errors;
    std::unique_ptr<oxatest::JackTestServer> server;
    std::unique_ptr<oxatest::JackTestClient> feed;
    std::unique_ptr<HelloWorldWindow> window;
    std::unique_ptr<jamtest::SessionDriver> driver;
};
} // namespace

TEST_F (JamE2ESession, RecordPunchLoopSlowMixDownAndComeBack)
{
    auto& d = *driver;
    const auto toolSetDocument = sandbox.folder (UserFolder::toolsets).getChildFile ("Session.xml");
    dialogs.saveChoice = toolSetDocument;
    d.perform (CommandIDs::fileSaveAs);
    ASSERT_TRUE (toolSetDocument.getSiblingFile ("Session").isDirectory()) << errors.shown.joinIntoString ("\n");

    // A rhythm machine from the adder, a song from the search page, and play.
    d.addFromAdder (0);
    ASSERT_NE (d.machine(), nullptr);
    ASSERT_NE (d.rhythmPanel(), nullptr) << "the section shows the machine's panel";
    const auto songName = d.loadSongFromSearchPage();
    ASSERT_EQ (d.machine()->getSong().SongName, songName);
    ASSERT_GT (d.barLength(), 0);
    d.powerRhythm (true);
    ASSERT_TRUE (d.machine()->isRhythmOn());
    d.playRhythm (true);
    ASSERT_TRUE (d.waitForPosition (d.barLength() / 2)) << "the song plays";
    d.stopRhythm();

    // A recorder, armed, eight bars recorded to the song while the guitar plays.
    const int recordersBefore = d.recorderCount();
    d.addFromAdder (1);
    ASSERT_EQ (d.recorderCount(), recordersBefore + 1);
    ASSERT_NE (d.recorderPanel(), nullptr);
    feed->setLoop (jamtest::pluckedString (196.0, 0.75));
    d.arm (true);
    d.playRhythm (true);
    ASSERT_TRUE (d.waitForPosition (3 * d.barLength() + d.barLength() / 3, 30000));
    EXPECT_TRUE (uitest::writeScreenshot (d.windowShot(), "main-session"));
    ASSERT_TRUE (d.waitForPosition (8 * d.barLength() + 4096, 60000));
    d.stopRhythm();
    ASSERT_TRUE (d.waitForTakeRegions (1)) << errors.shown.joinIntoString ("\n");
    EXPECT_GE (d.recorder()->getLength(), 8 * d.barLength());
    EXPECT_FALSE (d.recorder()->isArmed());

    // In time: the song inside the take lies where the song is (an offline
    // render of the song alone, the recorder muted, is the reference).
    d.setRecorderMuted (true);
    const auto songOnly = d.mixDown (dialogs, sandbox.root.get().getChildFile ("song-only.wav"));
    d.setRecorderMuted (false);
    ASSERT_GT (songOnly.frames(), 8 * d.barLength());
    const auto take = d.renderTake();
    const auto lag = jamtest::bestLag (take, songOnly.left, 4 * d.barLength(), 2000);
    EXPECT_LE (std::abs (lag.lag), 2) << "correlation " << lag.correlation;
    EXPECT_GT (lag.correlation, 0.5);

    const auto before = d.mixDown (dialogs, sandbox.root.get().getChildFile ("before-punch.wav"));

    // Punch-in over bar 3 with another note: only bar 3 changes.
    const juce::int64 bar3 = 2 * d.barLength(), bar4 = 3 * d.barLength();
    feed->setLoop (jamtest::pluckedString (293.7, 0.5));
    d.setPunchRange (bar3, bar4);
    d.arm (true);
    d.playRhythm (true);
    ASSERT_TRUE (d.waitForPosition (bar4 + d.barLength() / 2, 60000));
    d.stopRhythm();
    ASSERT_TRUE (d.waitForTakeRegions (2));
    d.setPunchOn (false);
    const auto after = d.mixDown (dialogs, sandbox.root.get().getChildFile ("after-punch.wav"));
    const auto change = jamtest::compareOutside (before, after, bar3, bar4, 1024);
    EXPECT_EQ (change.outsideDifferences, 0) << "first difference outside bar 3 at " << change.firstOutside;
    EXPECT_GT (change.insideEnergy, 0.01 * change.insideReference) << "bar 3 holds the new pass";

    // Bars 5 and 6 looped, the recorder at half speed: playback stays in the loop.
    const juce::int64 bar5 = 4 * d.barLength(), bar7 = 6 * d.barLength();
    d.setLoop (bar5, bar7);
    d.setSpeed (0);
    EXPECT_EQ (d.recorder()->getSpeed(), 50);
    EXPECT_EQ (d.recorder()->getStatus().LoopPoint, LocateRange (bar5, bar7, true));
    EXPECT_EQ (d.recorder()->getStatus().PIOPoint, LocateRange (bar3, bar4, false));
    d.locateRecorder (bar5);
    d.playRecorder (true);
    const auto positions = d.samplePositions (24, 500);
    d.stopRecorder();
    ASSERT_EQ (positions.size(), 24u);
    bool wrapped = false;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        EXPECT_GE (positions[i], bar5 - 8192) << i;
        EXPECT_LT (positions[i], bar7 + 8192) << i;
        if (i > 0 && positions[i] < positions[i - 1])
            wrapped = true;
    }
    EXPECT_TRUE (wrapped) << "the loop came round";
    const auto halfSpeed = jamtest::medianStep (positions);
    EXPECT_NEAR ((double) halfSpeed, 0.5 * 0.5 * 44100.0, 0.25 * 0.5 * 44100.0) << "half a second of wall time moves a quarter second";

    // The mix-down of the session holds the song and the take where they belong.
    const auto mix = d.mixDown (dialogs, sandbox.root.get().getChildFile ("session.wav"));
    const auto fit = jamtest::fitTakeIntoMix (mix, songOnly, d.renderTake());
    EXPECT_GT (fit.gain, 0.1);
    EXPECT_LT (fit.residual, 0.01) << "the mix is the song plus the take, nothing misplaced";
    EXPECT_GT (songOnly.lowBandEnergy(), 0.0001) << "the bass";
    EXPECT_GT (songOnly.highBandEnergy(), 0.00001) << "the drums' cymbals and snare";

    std::cout << "[ figure ] session: bar " << d.barLength() << " samples; take against the song: lag " << lag.lag
              << " samples, correlation " << lag.correlation << "; punch: " << change.outsideDifferences
              << " samples changed outside bar 3, bar 3 changed by " << 10.0 * std::log10 (change.insideEnergy / change.insideReference)
              << " dB; half speed: " << halfSpeed << " samples per 500 ms; mix-down = song + " << fit.gain
              << " x take, residual " << fit.residual << std::endl;

    // Saved, closed, started again: the jam comes back as it was.
    const auto punch = d.recorder()->getStatus().PIOPoint;
    const auto loop = d.recorder()->getStatus().LoopPoint;
    const auto regions = d.takeRegions();
    d.perform (CommandIDs::fileSave);
    EXPECT_TRUE (errors.shown.isEmpty()) << errors.shown.joinIntoString ("\n");
    restart();
    auto& again = *driver;
    ASSERT_NE (again.machine(), nullptr);
    EXPECT_EQ (again.machine()->getSong().SongName, songName);
    ASSERT_NE (again.recorder(), nullptr);
    EXPECT_EQ (again.takeRegions(), regions);
    EXPECT_EQ (again.recorder()->getSpeed(), 50);
    EXPECT_EQ (again.recorder()->getStatus().PIOPoint.start, punch.start);
    EXPECT_EQ (again.recorder()->getStatus().PIOPoint.end, punch.end);
    EXPECT_EQ (again.recorder()->getStatus().LoopPoint.start, loop.start);
    EXPECT_EQ (again.recorder()->getStatus().LoopPoint.end, loop.end);
    EXPECT_TRUE (again.recorder()->getStatus().LoopPoint.enabled);
    EXPECT_EQ (again.jamSection().getPanels().size(), again.panelCount());
}
