#include "engine/PlayState.h"

#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/FadeRamp.h"
#include "engine/JamOwner.h"
#include "engine/Synchronizer.h"

#include <cmath>
#include <limits>

namespace T730
{

namespace
{
    constexpr int waitStepMs = 10;
    constexpr int waitSteps = 21;   // 210 ms at most

    int rampLength()
    {
        return FadeRamp::lengthFor (getEngineSettings().sampleRate.load());
    }
} // namespace

PlayState::PlayState (Synchronizer& synchronizer, bool isMaster) : sync (synchronizer), master (isMaster)
{
}

bool PlayState::isRunning() const noexcept
{
    return getEngineSettings().audioRunning.load();
}

juce::int64 PlayState::addClamped (juce::int64 current, juce::int64 offset) noexcept
{
    constexpr auto largest = std::numeric_limits<juce::int64>::max();
    if (offset > 0 && current > largest - offset)
        return 0;

    const auto moved = current + offset;
    return moved < 0 ? 0 : moved;
}

//==============================================================================
void PlayState::play()
{
    if (! isRunning())
        return;

    const juce::ScopedLock sl (getAudioLock());
    if (state.load() == stopped)
    {
        pending.store (noCommand);
        state.store (startRequested);
    }
}

bool PlayState::issue (int command, juce::int64 offset)
{
    // Only the fields are set under the lock: the audio thread must be able
    // to take it and apply the command while the caller waits.
    const juce::ScopedLock sl (getAudioLock());
    if (state.load() == stopped)
        return false;

    locateOffset = offset;
    commandTotal = sync.getTotal();
    commandMarker = commandTotal;
    pending.store (command);
    return true;
}

void PlayState::waitForCommand() const
{
    for (int i = 0; i < waitSteps && isRunning() && pending.load() != noCommand; ++i)
        juce::Thread::sleep (waitStepMs);
}

void PlayState::pause (bool waitForAudio)
{
    if (! isRunning())
    {
        const juce::ScopedLock sl (getAudioLock());
        state.store (stopped);
        pending.store (noCommand);
        return;
    }

    if (issue (pauseCommand, 0) && waitForAudio)
        waitForCommand();
}

void PlayState::stop (bool waitForAudio)
{
    if (! isRunning())
    {
        const juce::ScopedLock sl (getAudioLock());
        state.store (stopped);
        pending.store (noCommand);
        speedRemainder = 0.0;
        position.store (0);
        return;
    }

    bool postUpdate = false;
    if (issue (stopCommand, 0))
    {
        if (waitForAudio)
            waitForCommand();
    }
    else
    {
        const juce::ScopedLock sl (getAudioLock());
        speedRemainder = 0.0;
        pending.store (noCommand);
        position.store (0);
        postUpdate = notifiesOwner();
    }

    if (notifiesOwner())
    {
        if (postUpdate)
            getOwner()->jamChanged();
        getOwner()->itemsLocated();
    }
}

void PlayState::locateBy (juce::int64 offset, bool waitForAudio)
{
    if (! isRunning())
    {
        const juce::ScopedLock sl (getAudioLock());
        state.store (stopped);
        pending.store (noCommand);
        position.store (addClamped (position.load(), offset));
        return;
    }

    bool postUpdate = false;
    if (issue (offset >= 0 ? locateForwardCommand : locateBackwardCommand, offset))
    {
        if (waitForAudio)
            waitForCommand();
    }
    else
    {
        const juce::ScopedLock sl (getAudioLock());
        position.store (addClamped (position.load(), offset));
        postUpdate = notifiesOwner();
    }

    if (notifiesOwner())
    {
        if (postUpdate)
            getOwner()->jamChanged();
        getOwner()->itemsLocated();
    }
}

void PlayState::locateTo (juce::int64 newPosition)
{
    newPosition = juce::jmax<juce::int64> (0, newPosition);

    if (! isRunning())
    {
        const juce::ScopedLock sl (getAudioLock());
        state.store (stopped);
        position.store (newPosition);
        return;
    }

    bool moved = false;
    {
        const juce::ScopedLock sl (getAudioLock());
        speedRemainder = 0.0;
        if (state.load() == stopped)
        {
            position.store (newPosition);
            moved = true;
        }
    }

    if (moved && notifiesOwner())
    {
        getOwner()->jamChanged();
        getOwner()->itemsLocated();
    }
}

void PlayState::reset()
{
    {
        const juce::ScopedLock sl (getAudioLock());
        state.store (stopped);
        pending.store (noCommand);
        playMarker = commandMarker = none;
    }

    if (notifiesOwner())
        getOwner()->jamChanged();
}

//==============================================================================
void PlayState::tick()
{
    const auto total = sync.getTotal();
    const int before = state.load();

    // A command due 10 ms after it was given. Applied first, so that a locate
    // while playing restarts within this same tick: every item of the block
    // then starts at the new place together, each with its fade-in.
    if (const int command = pending.load(); command != noCommand && total - commandTotal >= rampLength())
    {
        switch (command)
        {
            case pauseCommand:
                // The sound ended with the fade: the position goes back to
                // there, so that playing again goes on from what was heard last.
                if (state.load() == playing)
                {
                    const auto beyondFade = total - (commandTotal + rampLength());
                    const auto overshoot = speed == 0 ? beyondFade : (juce::int64) std::floor ((double) getSpeedRatio() * (double) beyondFade);
                    position.store (juce::jmax<juce::int64> (0, position.load() - overshoot));
                    speedRemainder = 0.0;
                }
                state.store (stopped);
                break;

            case stopCommand:
                speedRemainder = 0.0;
                position.store (0);
                state.store (stopped);
                break;

            case locateForwardCommand:
            case locateBackwardCommand:
                position.store (addClamped (position.load(), locateOffset));
                if (state.load() == playing)
                    state.store (restartRequested);
                else if (state.load() == countingIn)
                    startPosition = position.load();   // the item starts at the new place after the count-in
                break;

            default:
                speedRemainder = 0.0;
                state.store (stopped);
                break;
        }

        pending.store (noCommand);
        playMarker = commandMarker = none;
    }

    switch (state.load())
    {
        case startRequested:
        {
            auto* currentOwner = getOwner();
            const bool countIn = getCountInLength() > 0 && rhythmOn && currentOwner != nullptr && currentOwner->isAnyRecorderArmed();
            startPosition = position.load();
            startTotal = total;

            if (countIn)
            {
                // The item's sound begins where the count-in ends: its fade-in starts there.
                state.store (countingIn);
                playMarker = total + getCountInLength();
            }
            else
            {
                state.store (playing);
                playMarker = total;
            }
            break;
        }

        case restartRequested:
            startPosition = position.load();
            startTotal = total;
            state.store (playing);
            playMarker = total;
            break;

        case countingIn:
        {
            const auto length = getCountInLength();
            if (total - startTotal >= length)
            {
                // The count-in ended inside the last block, whose rest already
                // played the item from the start position: continue after it.
                startTotal += length;
                playMarker = startTotal;
                state.store (playing);
                moveToNewTotal (total);
            }
            break;
        }

        default:
            break;
    }

    if (before != stopped && state.load() == stopped)
        if (auto* currentOwner = getOwner())
            currentOwner->itemsStopped();
}

void PlayState::moveToNewTotal (juce::int64 newTotal)
{
    if (speed == 0)
    {
        position.store (juce::jmax<juce::int64> (0, startPosition + (newTotal - startTotal)));
        return;
    }

    const double v = speedRemainder + (double) getSpeedRatio() * (double) (newTotal - startTotal);
    const double whole = std::floor (v);
    position.store (addClamped (position.load(), (juce::int64) whole));
    speedRemainder = v - whole;
    startTotal = newTotal;
}

void PlayState::advance (juce::int64 newTotal)
{
    if (state.load() != playing)
        return;

    const auto old = position.load();
    moveToNewTotal (newTotal);

    if (loopRange.enabled && position.load() >= loopRange.end && old < loopRange.end)
    {
        startPosition = loopRange.start;
        position.store (loopRange.start);
        startTotal = newTotal;
        playMarker = newTotal;
        commandMarker = none;

        if (auto* currentOwner = getOwner())
            currentOwner->loopWrapped();
    }
}

//==============================================================================
juce::int64 PlayState::getCountInLength() const noexcept
{
    const juce::int64 beats = preCount == -1 ? 8 : juce::jlimit (0, 8, preCount);
    const auto rate = (juce::int64) getEngineSettings().sampleRate.load();
    return beats * rate * 60 / juce::jlimit (lowestTempo, highestTempo, tempo);
}

float PlayState::getSpeedRatio() const noexcept
{
    if (speed == 0)
        return 1.0f;

    return std::pow (2.0f, (float) (speed - 50) / 50.0f - 1.0f);
}

void PlayState::setTempo (int beatsPerMinute)
{
    const juce::ScopedLock sl (getAudioLock());
    tempo = beatsPerMinute == 0 ? defaultTempo : juce::jlimit (lowestTempo, highestTempo, beatsPerMinute);
}

void PlayState::setPreCount (int beats)
{
    const juce::ScopedLock sl (getAudioLock());
    preCount = beats;
}

void PlayState::setRhythmOn (bool on)
{
    const juce::ScopedLock sl (getAudioLock());
    rhythmOn = on;
}

void PlayState::setSpeed (int newSpeed)
{
    const juce::ScopedLock sl (getAudioLock());
    speed = juce::jlimit (0, 100, newSpeed);
}

void PlayState::setLoopRange (const LocateRange& range)
{
    const juce::ScopedLock sl (getAudioLock());
    loopRange = range;
}

LocateRange PlayState::getLoopRange() const
{
    const juce::ScopedLock sl (getAudioLock());
    return loopRange;
}

} // namespace T730
