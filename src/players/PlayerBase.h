#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

namespace T730
{

class ControllerLink;
class Rhythmer;

/** The common face of the figure components: the 3D view, the still picture and
    the proxy the rhythm panel holds. */
class PlayerBase
{
public:
    PlayerBase (Rhythmer* rhythmMachine, ControllerLink* controllerLink) noexcept
        : rhythmer (rhythmMachine), controller (controllerLink) {}
    virtual ~PlayerBase() = default;

    /** The 3D view: its OpenGL context is set up. The others: always. */
    virtual bool isReady() { return true; }
    /** Stores the flag (the proxy passes it to its view). */
    virtual void setAnimating (bool shouldAnimate) { animating.store (shouldAnimate); }
    virtual bool isAnimating() { return animating.load(); }

    Rhythmer* getRhythmer() const noexcept { return rhythmer; }
    ControllerLink* getController() const noexcept { return controller; }

protected:
    Rhythmer* const rhythmer;            // not owned; may be null
    ControllerLink* const controller;    // not owned; may be null (then the settings' defaults hold)
    /** Written by the figure's per-frame call (render thread) and read on any thread. */
    std::atomic<bool> animating { false };
};

/** Receives a 3D view's per-frame call, made on the view's render thread before
    each frame is drawn, with the count of 33 ms periods since the view began. */
class PlayerListener
{
public:
    virtual ~PlayerListener() = default;
    virtual void playerFrame (juce::int64 frameNumber) = 0;
};

/** What a figure's motion changes on its component: the animating flag and the
    pose of each model group. */
class PoseTarget
{
public:
    virtual ~PoseTarget() = default;
    virtual bool isAnimating() = 0;
    virtual void setAnimating (bool shouldAnimate) = 0;
    virtual void setFrame (int group, int index) = 0;
};

} // namespace T730
