// The drummer's and the bassist's poses, frame by frame, as the rhythm machine plays
// a song on a test transport that moves one frame of samples per block.
#include "PlayersTestSupport.h"

using namespace T730;
using namespace playerstest;
using rhythmtest::Note;

namespace
{
    class PlayersMotion : public FigureFixture
    {
    protected:
        struct Seen
        {
            juce::int64 position;
            int state;
            std::array<int, 16> poses;
        };

        /** Starts the song and runs the drummer for a number of frames. */
        std::vector<Seen> runDrummer (int frames, bool start = true)
        {
            if (start)
                sync.getMaster().play();
            std::vector<Seen> seen;
            for (int i = 0; i < frames; ++i)
            {
                playFrame();
                drummer.frame (frame++, machine->getTransport(), *machine->getPublishedEvents(), target);
                seen.push_back ({ machine->getTransport().position, machine->getTransport().state, target.poses });
            }
            return seen;
        }

        /** The first frame at which the group shows the pose (-1: never). */
        static int firstFrameShowing (const std::vector<Seen>& seen, int group, int pose, int from = 0)
        {
            for (size_t i = (size_t) from; i < seen.size(); ++i)
                if (seen[i].poses[(size_t) group] == pose)
                    return (int) i;
            return -1;
        }

        DrummerMotion drummer;
        BassistMotion bassist;
        RecordingTarget target;
        juce::int64 frame = 0;
    };

    constexpr juce::int64 secondAt120 = 44100;   // two quarter notes
} // namespace

TEST_F (PlayersMotion, SnareStrokeNeedsVelocity20AndMeetsTheDrumAtPose5OnItsFrame)
{
    loadBar ({ { 480, 0x99, 38, 19 }, { 960, 0x99, 38, 20 } });
    const auto seen = runDrummer (50);

    // The soft note (frame 15) starts nothing: the arm waits at rest with nothing queued.
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ (seen[(size_t) i].poses[DrummerMotion::leftArm], 0) << "frame " << i;

    const int hit = firstFrameShowing (seen, DrummerMotion::leftArm, 5);
    ASSERT_GE (hit, 5);
    // Pose 5 on the frame of the note; the stroke began five frames before, and runs on.
    EXPECT_LT (std::llabs (seen[(size_t) hit].position - secondAt120), samplesPerFrame) << seen[(size_t) hit].position;
    for (int p = 1; p < 12; ++p)
        EXPECT_EQ (seen[(size_t) (hit - 5 + p)].poses[DrummerMotion::leftArm], p) << "pose " << p;
    EXPECT_EQ (seen[(size_t) hit + 7].poses[DrummerMotion::leftArm], 0);
    EXPECT_EQ (seen[(size_t) hit].poses[DrummerMotion::rightArm], 0);
}

TEST_F (PlayersMotion, Note31StrokesBothArmsInTheCountInOnlyClickingAtPose11)
{
    // Two beats of count-in with a click on each; the song itself holds a note 31 too.
    rhythmtest::writeSmf (resources.getChildFile ("preCount2.mid"), { { 0, 0x99, 31, 100 }, { 480, 0x99, 31, 100 } }, 960);
    owner.preCount = 2;
    loadBar ({ { 480, 0x99, 31, 100 } });
    jam.armed = true;

    const auto seen = runDrummer (60);
    ASSERT_EQ (seen.front().state, PlayState::countingIn);

    // The second click sounds 22050 samples into the count-in: both sticks meet there.
    const int click = firstFrameShowing (seen, DrummerMotion::rightArm, 47);
    ASSERT_GE (click, 0);
    EXPECT_EQ (seen[(size_t) click].state, PlayState::countingIn);
    EXPECT_EQ (seen[(size_t) click].poses[DrummerMotion::leftArm], 23);
    for (int p = 6; p <= 11; ++p)
    {
        EXPECT_EQ (seen[(size_t) (click - 11 + p)].poses[DrummerMotion::rightArm], 36 + p);
        EXPECT_EQ (seen[(size_t) (click - 11 + p)].poses[DrummerMotion::leftArm], 12 + p);
    }

    // In the song the same note moves nothing.
    int songStart = -1;
    for (size_t i = 0; i < seen.size(); ++i)
        if (seen[i].state == PlayState::playing && songStart < 0)
            songStart = (int) i;
    ASSERT_GT (songStart, click);
    for (size_t i = (size_t) songStart + 2; i < seen.size(); ++i)
    {
        EXPECT_TRUE (seen[i].poses[DrummerMotion::rightArm] == 0 || seen[i].poses[DrummerMotion::rightArm] == 36) << i;
        EXPECT_TRUE (seen[i].poses[DrummerMotion::leftArm] == 0 || seen[i].poses[DrummerMotion::leftArm] == 12) << i;
    }
    EXPECT_TRUE (drummer.getQueue (DrummerMotion::leftArm).size() <= 1);
}

TEST_F (PlayersMotion, CrashCymbalSwingsThroughTenPosesThenForgetsTheHit)
{
    loadBar ({ { 960, 0x99, 49, 100 } });
    const auto seen = runDrummer (55);

    const int hit = firstFrameShowing (seen, DrummerMotion::rightArm, 24 + 5);
    ASSERT_GT (hit, 0);
    EXPECT_LT (std::llabs (seen[(size_t) hit].position - secondAt120), samplesPerFrame);
    for (int d = 0; d < 10; ++d)
        EXPECT_EQ (seen[(size_t) (hit + d)].poses[DrummerMotion::crashCymbal], d) << d;
    EXPECT_EQ (seen[(size_t) hit + 10].poses[DrummerMotion::crashCymbal], 0);
    EXPECT_EQ (seen[(size_t) hit - 1].poses[DrummerMotion::crashCymbal], 0);
    EXPECT_EQ (drummer.getCymbalHitFrame(), -1);
}

TEST_F (PlayersMotion, HiHatStaysOpenAfter46UntilA42Or44IsScheduled)
{
    loadBar ({ { 0, 0x99, 42, 100 }, { 480, 0x99, 46, 100 }, { 960, 0x99, 44, 100 }, { 1440, 0x99, 46, 100 } });
    const auto seen = runDrummer (40);

    // Each note is scheduled five frames before it sounds (frames 15, 30, 45).
    const int open = firstFrameShowing (seen, DrummerMotion::hiHat, 1);
    ASSERT_GT (open, 0);
    EXPECT_NEAR (open, 10, 1);
    const int closed = firstFrameShowing (seen, DrummerMotion::hiHat, 0, open);
    EXPECT_NEAR (closed, 25, 1);
    for (int i = open; i < closed; ++i)
        EXPECT_EQ (seen[(size_t) i].poses[DrummerMotion::hiHat], 1);
    // The open stroke is the right arm's second sequence.
    EXPECT_EQ (seen[(size_t) open + 5].poses[DrummerMotion::rightArm], 12 + 5);
    EXPECT_NEAR (firstFrameShowing (seen, DrummerMotion::hiHat, 1, closed), 40, 1);
}

TEST_F (PlayersMotion, BassNotesChooseTheHandPlaceByPitchAndARepeatChangesNothing)
{
    EXPECT_EQ (BassistMotion::handPoseForNote (22), 3);
    EXPECT_EQ (BassistMotion::handPoseForNote (23), 3);
    EXPECT_EQ (BassistMotion::handPoseForNote (24), 3);
    EXPECT_EQ (BassistMotion::handPoseForNote (27), 2);
    EXPECT_EQ (BassistMotion::handPoseForNote (30), 0);
    EXPECT_EQ (BassistMotion::handPoseForNote (35), 1);
    EXPECT_EQ (BassistMotion::handPoseForNote (40), 4);
    EXPECT_EQ (BassistMotion::handPoseForNote (100), 4);

    loadBar ({ { 0, 0x90, 30, 100 }, { 240, 0x80, 30, 0 }, { 480, 0x90, 22, 100 }, { 960, 0x90, 40, 100 },
               { 1200, 0x80, 40, 0 }, { 1440, 0x90, 40, 100 } });
    sync.getMaster().play();
    std::vector<int> hands;
    int callsAfterFirst40 = -1;
    for (int i = 0; i < 58; ++i)
    {
        playFrame();
        bassist.frame (machine->getTransport(), *machine->getPublishedEvents(), 1000.0 + i * 33.3, target);
        hands.push_back (target.poses[BassistMotion::hand]);
        if (i == 40)
            callsAfterFirst40 = target.calls[BassistMotion::hand];
    }
    EXPECT_EQ (hands[5], 0);    // note 30
    EXPECT_EQ (hands[20], 3);   // note 22, like 24
    EXPECT_EQ (hands[35], 4);   // note 40
    // The second 40 (frame 45) sets nothing.
    EXPECT_EQ (target.calls[BassistMotion::hand], callsAfterFirst40);
    EXPECT_EQ (bassist.getLastNote(), 40);
}

TEST_F (PlayersMotion, BodyRunsThrough45PosesInTwoSecondsAt120Bpm)
{
    RhythmTransport t;
    t.state = PlayState::playing;
    t.tempo = 120;
    t.length = 4 * secondAt120;
    RhythmEvents none;

    const double start = 5000.0;
    bassist.frame (t, none, start, target);   // starts the clock, changes no pose
    EXPECT_TRUE (target.animating);
    EXPECT_EQ (target.calls[BassistMotion::body], 0);

    std::vector<int> bodies;
    for (int k = 1; k <= 45; ++k)
    {
        t.position = k;
        bassist.frame (t, none, start + k * 2000.0 / 45.0 + 0.5, target);
        bodies.push_back (target.poses[BassistMotion::body]);
    }
    for (int k = 1; k < 45; ++k)
        EXPECT_EQ (bodies[(size_t) k - 1], k);
    EXPECT_EQ (bodies.back(), 0);   // 2 s: once round

    // Stopped, the body keeps its pose, and starts again from it.
    t.state = PlayState::stopped;
    t.position = 100;
    bassist.frame (t, none, start + 2100.0, target);
    EXPECT_FALSE (target.animating);
    t.state = PlayState::playing;
    bassist.frame (t, none, start + 9000.0, target);
    t.position = 200;
    bassist.frame (t, none, start + 9000.0 + 2000.0 / 45.0 * 3 + 0.5, target);
    EXPECT_EQ (target.poses[BassistMotion::body], bassist.getBodyFrame());
    EXPECT_EQ (bassist.getBodyFrame(), 3);
}

TEST_F (PlayersMotion, WithoutASongNeitherFigureChangesItsPoses)
{
    RecordingTarget bassTarget;
    machine = makeMachine();
    sync.getMaster().play();
    for (int i = 0; i < 40; ++i)
    {
        playFrame();
        drummer.frame (i, machine->getTransport(), *machine->getPublishedEvents(), target);
        bassist.frame (machine->getTransport(), *machine->getPublishedEvents(), 100.0 * i, bassTarget);
    }
    EXPECT_TRUE (target.animating);
    for (int g = 0; g < 4; ++g)
        EXPECT_EQ (target.calls[(size_t) g], 0) << g;
    EXPECT_TRUE (bassTarget.animating);
    EXPECT_EQ (bassTarget.calls[0] + bassTarget.calls[1], 0);
}

TEST_F (PlayersMotion, LocatingBackRestartsTheScansFromTheFirstEvent)
{
    loadBar ({ { 0, 0x90, 30, 100 }, { 0, 0x99, 42, 100 }, { 960, 0x90, 40, 100 }, { 960, 0x99, 46, 100 } });
    RecordingTarget bassTarget;
    auto& master = sync.getMaster();
    master.play();
    for (int i = 0; i < 40; ++i)
    {
        playFrame();
        drummer.frame (frame++, machine->getTransport(), *machine->getPublishedEvents(), target);
        bassist.frame (machine->getTransport(), *machine->getPublishedEvents(), 33.0 * i, bassTarget);
    }
    ASSERT_EQ (bassTarget.poses[BassistMotion::hand], 4);
    ASSERT_EQ (target.poses[DrummerMotion::hiHat], 1);

    master.locateBy (-master.getPosition(), false);
    for (int i = 0; i < 6; ++i)
    {
        playFrame();
        drummer.frame (frame++, machine->getTransport(), *machine->getPublishedEvents(), target);
        bassist.frame (machine->getTransport(), *machine->getPublishedEvents(), 33.0 * (40 + i), bassTarget);
    }
    ASSERT_LT (machine->getTransport().position, 20 * samplesPerFrame);
    EXPECT_EQ (bassTarget.poses[BassistMotion::hand], 0);     // note 30 again
    EXPECT_EQ (target.poses[DrummerMotion::hiHat], 0);    // the 42 closed it again
}

TEST_F (PlayersMotion, ASongLoadPublishesItsEventsWholeWhileOldCopiesStayIntact)
{
    loadBar ({ { 0, 0x99, 38, 100 }, { 480, 0x99, 38, 100 } });
    const auto before = machine->getPublishedEvents();
    ASSERT_EQ (before->song.size(), 3u);   // two notes and the track's end

    writePattern ("Q", { { 0, 0x90, 40, 100 } }, 1920);
    const auto other = writeSong ("Other.xml", { { "Q", 0 } });
    ASSERT_TRUE (machine->loadSong (other, {}));
    const auto after = machine->getPublishedEvents();
    EXPECT_EQ (before->song.size(), 3u);   // a reader's copy is never rebuilt under it
    EXPECT_EQ (before->song.front().note, 38);
    EXPECT_EQ (after->song.front().note, 40);
    EXPECT_EQ (after->song.size(), machine->getMergedEvents().size());
}
