#include "engine/PlayableItem.h"

#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/FadeRamp.h"
#include "engine/Synchronizer.h"

#include <juce_events/juce_events.h>

#include <cmath>

namespace T730
{

PlayableItem::PlayableItem (Synchronizer& synchronizer)
    : sync (synchronizer), stateA (synchronizer), stateB (synchronizer), current (&synchronizer.getMaster())
{
}

PlayableItem::~PlayableItem()
{
    // Items are let go of on the message thread. Should one ever die anywhere
    // else, its panel (a component) is detached and released there, not here.
    if (panel != nullptr && ! juce::MessageManager::existsAndIsCurrentThread()
        && juce::MessageManager::getInstanceWithoutCreating() != nullptr)
    {
        juce::MessageManager::callAsync ([p = std::move (panel)]() mutable
        {
            p->itemDetached();
            p = nullptr;
        });
        return;
    }

    dropPanel();
}

void PlayableItem::dropPanel()
{
    if (auto* p = panel.get())
        p->itemDetached();
    panel = nullptr;
}

void PlayableItem::setPreCount (int beats)    { getCurrentPlayState()->setPreCount (beats); }
int PlayableItem::getPreCount()               { return getCurrentPlayState()->getPreCount(); }
void PlayableItem::play()                     { getCurrentPlayState()->play(); }
void PlayableItem::pause()                    { getCurrentPlayState()->pause(); }
void PlayableItem::stop()                     { getCurrentPlayState()->stop(); }
void PlayableItem::locateBy (juce::int64 d)   { getCurrentPlayState()->locateBy (d); }
void PlayableItem::locateTo (juce::int64 p)   { getCurrentPlayState()->locateTo (p); }

void PlayableItem::idleRender (const float* const*, int, int) {}
void PlayableItem::silence() {}
void PlayableItem::silenceAtLocate (juce::int64) {}
bool PlayableItem::saveSetting (const juce::File&)   { return false; }
juce::String PlayableItem::getSettingFileName()      { return {}; }

bool PlayableItem::isArmed()                  { return false; }
void PlayableItem::follow (PlayableItem&) {}
void PlayableItem::setJamIndex (int index)    { jamIndex = index; }
void PlayableItem::setName (const juce::String& newName) { name = newName; }
juce::String PlayableItem::getName()          { return name; }

void PlayableItem::detach()
{
    useOwnPlayState (stateB);
    stateB.stop();
}

void PlayableItem::reattach()
{
    restoreSavedPlayState();
}

void PlayableItem::setCurrentPlayState (PlayState* playState)
{
    if (playState == nullptr)
        return;

    const juce::ScopedLock sl (getAudioLock());
    current.store (playState);
}

void PlayableItem::useOwnPlayState (PlayState& own)
{
    auto* now = getCurrentPlayState();
    if (now != &stateA && now != &stateB)
        saved = now;

    setCurrentPlayState (&own);
}

void PlayableItem::restoreSavedPlayState()
{
    setCurrentPlayState (saved != nullptr ? saved : &sync.getMaster());
    saved = nullptr;
}

//==============================================================================
void PlayableItem::process (const float* const* input, float* const* output, int n)
{
    if (n <= 0)
        return;

    juce::FloatVectorOperations::clear (output[0], n);
    juce::FloatVectorOperations::clear (output[1], n);

    auto* ps = getCurrentPlayState();
    if (ps == nullptr)
        return;

    ps->tick();

    const auto total = sync.getTotal();
    const int r = FadeRamp::lengthFor (getEngineSettings().sampleRate.load());
    const int state = ps->getState();

    if (state == PlayState::countingIn || state == PlayState::playing)
    {
        int f = 0;
        if (state == PlayState::countingIn)
        {
            const auto elapsed = total - ps->getStartTotal();
            f = (int) juce::jlimit<juce::int64> (0, n, ps->getCountInLength() - elapsed);
            if (f > 0)
                renderCountIn (elapsed, input, output, 0, f);
        }

        if (f < n)
        {
            const auto p = ps->getPosition();
            ended.store (getLength() < p);
            if (ps == &stateA && ended.load())
                stateA.reset();

            render (p, input, output, f, n - f);
            fadeRendered (*ps, total, p, output, f, n - f, r);
        }

        if (ps->getPendingCommand() != PlayState::noCommand)
        {
            FadeRamp::fadeOut (output, 0, n, total, ps->getCommandTotal(), r);
            FadeRamp::silenceFrom (output, 0, n, total, ps->getCommandTotal() + r);
        }
    }
    else
    {
        idleRender (input, 0, n);
    }

    if (ps != &sync.getMaster())
        ps->advance (total + n);
}

void PlayableItem::fadeRendered (PlayState& ps, juce::int64 total, juce::int64 p, float* const* output,
                                 int f, int m, int r)
{
    const bool slowed = ps.getSpeed() != 0;

    // Fade in at every start: in positions from the start position, or at a
    // variable speed in synchroniser totals from the play marker.
    if (! slowed)
        FadeRamp::fadeIn (output, f, m, p, ps.getStartPosition(), r);
    else if (ps.getPlayMarker() != PlayState::none)
        FadeRamp::fadeIn (output, f, m, total + f, ps.getPlayMarker(), r);

    const auto& loop = ps.getLoopRangeInBlock();
    if (! loop.enabled || p >= loop.end)
        return;

    if (! slowed)
    {
        // Out over the last r samples before the loop end, silent from the end on.
        if (p + m > loop.end - r)
        {
            FadeRamp::fadeOut (output, f, m, p, loop.end - r, r);
            FadeRamp::silenceFrom (output, f, m, p, loop.end);
        }
        return;
    }

    // A pending command fades the block already (from the same marker).
    if (ps.getPendingCommand() != PlayState::noCommand)
        return;

    if (ps.getCommandMarker() == PlayState::none)
    {
        // The first sample whose position reaches the last r before the end:
        // p + floor (remainder + ratio × i) >= end - r.
        const double needed = (double) (loop.end - r - p) - ps.getSpeedRemainder();
        const double ratio = (double) ps.getSpeedRatio();
        const auto first = needed <= 0.0 ? (juce::int64) 0 : (juce::int64) std::ceil (needed / ratio);
        if (first < m)
            ps.setCommandMarker (total + f + first);
    }

    if (const auto marker = ps.getCommandMarker(); marker != PlayState::none)
    {
        FadeRamp::fadeOut (output, f, m, total + f, marker, r);
        FadeRamp::silenceFrom (output, f, m, total + f, marker + r);
    }
}

} // namespace T730
