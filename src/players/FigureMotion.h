#pragma once

#include "players/PlayerBase.h"
#include "rhythm/RhythmerWatch.h"

#include <deque>

namespace T730
{

/** The drummer's choice of poses, frame by frame, from the rhythm machine's
    transport and events: each arm plays a 12-pose stroke that starts `lead`
    frames before its note (5 in the song, 11 in the count-in, where the sticks
    click together at the last pose), the crash cymbal swings through 10 poses
    after a hit and the hi-hat shows open or closed.

    Groups: 0 right arm (kinds 0 hi-hat closed, 1 hi-hat open, 2 cymbal,
    3 count-in; 12 poses each), 1 left arm (0 snare, 1 count-in), 2 crash
    cymbal, 3 hi-hat (0 closed, 1 open).

    Used by one thread at a time (the view's render thread; tests call it directly). */
class DrummerMotion
{
public:
    static constexpr int rightArm = 0, leftArm = 1, crashCymbal = 2, hiHat = 3;
    static constexpr int songLead = 5, countInLead = 11, strokePoses = 12, cymbalPoses = 10;
    /** Hits kept per arm at most; a longer queue loses its oldest (long past) hits. */
    static constexpr size_t queueLimit = 256;

    struct Hit
    {
        juce::int64 frame;
        int kind;
    };

    void frame (juce::int64 v, const RhythmTransport& transport, const RhythmEvents& events, PoseTarget& target);

    bool isHiHatOpen() const noexcept { return hiHatOpen; }
    juce::int64 getCymbalHitFrame() const noexcept { return cymbalHit; }
    const std::deque<Hit>& getQueue (int arm) const noexcept { return arm == rightArm ? rightQueue : leftQueue; }

private:
    void scan (juce::int64 v, juce::int64 pos, juce::int64 leadSamples, bool countingIn, const RhythmTransport& t,
               const std::vector<NoteEvent>& events);
    static void append (std::deque<Hit>& queue, juce::int64 frame, int kind);
    static int armPose (std::deque<Hit>& queue, juce::int64 v, int lead);

    size_t cursor = 0;
    bool hiHatOpen = false;
    juce::int64 cymbalHit = -1;
    std::deque<Hit> rightQueue, leftQueue;
    juce::int64 lastPosition = 0;
};

/** The bassist's choice of poses: its body runs through 45 poses once every
    four beats at the song's tempo (continuing from where it stopped), and its
    fretting hand takes one of five places along the neck by the pitch of the
    latest bass note at or before the position.

    Groups: 0 body (45 poses), 1 fretting hand (5 poses). One thread at a time. */
class BassistMotion
{
public:
    static constexpr int body = 0, hand = 1, bodyPoses = 45, handPoses = 5;

    /** The hand pose of a bass note (its stored number, before the machine's transpose). */
    static int handPoseForNote (int note) noexcept;

    /** nowMs: the high-resolution millisecond counter. */
    void frame (const RhythmTransport& transport, const RhythmEvents& events, double nowMs, PoseTarget& target);

    int getBodyFrame() const noexcept { return bodyFrame; }
    int getLastNote() const noexcept { return lastNote; }

private:
    double startTime = 0.0;
    int startFrame = 0, bodyFrame = 0;
    size_t cursor = 0;
    int lastNote = 0, handIndex = 0;
    juce::int64 lastPosition = 0;
};

} // namespace T730
