#include "players/FigureMotion.h"

#include "engine/PlayState.h"
#include "rhythm/Rhythmer.h"

namespace T730
{

namespace
{
    constexpr int framesPerSecond = 30;
}

//==============================================================================
void DrummerMotion::frame (juce::int64 v, const RhythmTransport& t, const RhythmEvents& events, PoseTarget& target)
{
    // 1. Transport: the count-in runs on its own events and clock, with a longer lead.
    const bool countingIn = t.state == PlayState::countingIn;
    juce::int64 pos = countingIn ? t.countInElapsed : t.position;
    const int lead = countingIn ? countInLead : songLead;
    const auto& list = countingIn ? events.countIn : events.song;
    const juce::int64 len = t.length;
    if (t.repeat && len > 0)
        pos %= len;
    const juce::int64 leadSamples = (juce::int64) lead * Rhythmer::sampleRate / framesPerSecond;

    // 2. Start and stop.
    const bool w = target.isAnimating();
    if (t.state == PlayState::stopped && w)
    {
        target.setAnimating (false);
        cursor = 0;
        lastPosition = pos;
        return;
    }
    if (t.state != PlayState::stopped && ! w)
    {
        target.setAnimating (true);
        cursor = 0;
    }
    if (! t.rhythmOn)
    {
        target.setAnimating (false);
        cursor = 0;
    }
    else if (pos <= lastPosition || len == 0)
    {
        cursor = 0;
    }

    // 3. Poses, only while the figure was animating at the start of the frame.
    if (w && len > 0)
    {
        scan (v, pos, leadSamples, countingIn, t, list);
        target.setFrame (leftArm, armPose (leftQueue, v, lead));
        target.setFrame (rightArm, armPose (rightQueue, v, lead));

        int cymbal = 0;
        if (cymbalHit > 0)
        {
            const auto d = (juce::int32) (v - cymbalHit);
            if (d >= cymbalPoses)
                cymbalHit = -1;
            else if (d >= 0)
                cymbal = d;
        }
        target.setFrame (crashCymbal, cymbal);
        target.setFrame (hiHat, hiHatOpen ? 1 : 0);
    }

    lastPosition = pos;
}

void DrummerMotion::scan (juce::int64 v, juce::int64 pos, juce::int64 leadSamples, bool countingIn,
                          const RhythmTransport& t, const std::vector<NoteEvent>& list)
{
    if (countingIn)
        cursor = 0;

    for (size_t i = cursor;; ++i)
    {
        if (i >= list.size())
        {
            if (t.repeat)
                cursor = 0;
            return;
        }

        const auto& e = list[i];
        if (e.kind == NoteEvent::noteOff || e.channel != Rhythmer::drumChannel)
        {
            cursor = i;
            continue;
        }

        const auto m = Rhythmer::toSamples (e.time, t.tempo);
        if (m - leadSamples > pos)
            return;   // more than the lead ahead: the next frame looks again
        cursor = i;
        if (e.velocity < 20)
            continue;

        // The frame at which the note sounds.
        const juce::int64 h = v + (m - pos) * framesPerSecond / Rhythmer::sampleRate;
        switch (e.note)
        {
            case 31:
                if (countingIn)
                {
                    append (leftQueue, h, 1);
                    append (rightQueue, h, 3);
                }
                break;
            case 37: case 38: case 39: case 40:
                append (leftQueue, h, 0);
                break;
            case 42: case 44:
                hiHatOpen = false;
                append (rightQueue, h, 0);
                break;
            case 46:
                hiHatOpen = true;
                append (rightQueue, h, 1);
                break;
            case 49: case 51: case 52: case 53: case 55: case 57: case 59:
                cymbalHit = h;
                append (rightQueue, h, 2);
                break;
            default:
                break;
        }
    }
}

void DrummerMotion::append (std::deque<Hit>& queue, juce::int64 frame, int kind)
{
    if (queue.size() >= queueLimit)
        queue.pop_front();
    queue.push_back ({ frame, kind });
}

int DrummerMotion::armPose (std::deque<Hit>& queue, juce::int64 v, int lead)
{
    while (! queue.empty() && queue.front().frame > v + 6)
        queue.pop_front();
    while (queue.size() >= 2 && v > (queue[0].frame + queue[1].frame) / 2)
        queue.pop_front();
    if (queue.empty())
        return 0;

    auto o = (juce::int32) (v - queue.front().frame + lead);
    if (o < 0 || o >= strokePoses)
        o = 0;
    return o + strokePoses * queue.front().kind;
}

//==============================================================================
int BassistMotion::handPoseForNote (int note) noexcept
{
    static constexpr int poseOfPlace[handPoses] = { 3, 2, 0, 1, 4 };
    const int k = juce::jlimit (0, handPoses - 1, (note - 24) / 3);
    return poseOfPlace[k];
}

void BassistMotion::frame (const RhythmTransport& t, const RhythmEvents& events, double nowMs, PoseTarget& target)
{
    const bool w = target.isAnimating();
    if (t.state != PlayState::stopped && ! w)
    {
        target.setAnimating (true);
        cursor = 0;
        startTime = nowMs;
    }

    juce::int64 pos = t.position;
    const juce::int64 len = t.length;
    if (t.repeat && len > 0)
        pos %= len;

    if (t.state == PlayState::stopped && w)
    {
        target.setAnimating (false);
        cursor = 0;
        startFrame = bodyFrame;
    }
    else if (t.rhythmOn)
    {
        if (pos <= lastPosition || len == 0)
            cursor = 0;
    }
    else
    {
        target.setAnimating (false);
        cursor = 0;
    }

    if (w && len > 0)
    {
        // Body: 45 poses per four beats.
        const double poses = (nowMs - startTime) * (double) t.tempo * bodyPoses / 60.0 / 4000.0 + startFrame;
        bodyFrame = (int) ((juce::int64) poses % bodyPoses);
        if (bodyFrame < 0)
            bodyFrame += bodyPoses;
        target.setFrame (body, bodyFrame);

        // Hand: the latest bass note at or before the position.
        const auto& list = events.song;
        for (size_t i = cursor;; ++i)
        {
            if (i >= list.size())
            {
                if (t.repeat)
                    cursor = 0;
                break;
            }
            const auto& e = list[i];
            if (e.kind == NoteEvent::noteOff || e.channel != Rhythmer::bassChannel)
            {
                cursor = i;
                continue;
            }
            if (Rhythmer::toSamples (e.time, t.tempo) > pos)
                break;
            cursor = i;
            if (e.note != lastNote)
            {
                handIndex = handPoseForNote (e.note);
                lastNote = e.note;
                target.setFrame (hand, handIndex);
            }
        }
    }

    lastPosition = pos;
}

} // namespace T730
