#pragma once

#include "players/DirectorUserFixed.h"
#include "players/Object3DGL.h"
#include "players/PlayerBase.h"

#include <juce_opengl/juce_opengl.h>

#include <array>
#include <functional>

namespace T730
{

/** The 3D view of a figure: a component with an OpenGL context of its own (the
    fixed-function pipeline of a compatibility context, and GLU) that draws one
    pose of every model group of its scene, seen through its camera, which the
    user turns by dragging.

    Frames: the view's "Player Thread" counts periods of 33 ms from its start
    (periods that were missed are skipped, never drawn late) and asks the
    context for a frame at each; the render thread then calls the listener's
    playerFrame with the period's number and draws. Nothing is drawn while the
    view is paused or not in a window. The context is made at the view's first
    paint in a window (sharing its objects with the first view's context, as
    long as that view lives).

    A context that cannot be made within a few seconds, or whose set-up finds no
    fixed-function pipeline, marks the view failed: it takes itself out of its
    parent, whose still picture then shows.

    Threads: construction, destruction, the setters, the mouse and painting run
    on the message thread; playerFrame and drawing on the context's render
    thread. The scene is guarded by the scene lock (held by the render thread
    while it draws), the camera by the camera lock; poses and flags are atomics.
    The destructor stops the thread and detaches the context, which waits for a
    frame in progress, before anything is freed. */
class Player : public juce::Component, public PlayerBase, private juce::OpenGLRenderer, private juce::Thread
{
public:
    static constexpr int framePeriodMs = 33;
    static constexpr int maxGroups = 16;
    static constexpr int contextTimeoutMs = 5000;

    Player (Rhythmer* rhythmMachine, ControllerLink* controllerLink, PlayerListener* frameListener);
    ~Player() override;

    // PlayerBase
    bool isReady() override { return contextReady.load(); }
    void setAnimating (bool shouldAnimate) override;
    bool hasFailed() const noexcept { return failed.load(); }

    /** Replaces the camera by one with this offset (angles, distance and height 0). */
    void setCameraOffset (float x, float y, float z);
    void setCameraDistance (float d);
    void setCameraHeight (float h);
    /** The view's angles, given to its camera too. */
    void setViewAngles (float x, float y);
    float getViewAngleX() const noexcept { return angleX; }
    float getViewAngleY() const noexcept { return angleY; }
    /** A copy of the camera as the next frame uses it. */
    DirectorUserFixed getCamera() const;

    /** The scene drawn from now on (not owned; null: nothing). Waits for a frame in progress. */
    void setScene (const Scene* newScene);
    /** The pose of one group (groups beyond maxGroups are drawn with pose 0). */
    void setFrame (int group, int index);
    int getFrame (int group) const noexcept;

    /** Ends the frames for good: the clock stops and the context is detached, which
        waits for a frame in progress (message thread; the destructor does it too). */
    void stopRendering();

    void pauseAnimation()  { paused.store (true); }
    void resumeAnimation() { paused.store (false); }
    bool isPaused() const noexcept { return paused.load(); }

    /** The frames drawn so far and the per-frame calls made (render thread counts). */
    int getFramesDrawn() const noexcept { return framesDrawn.load(); }
    /** Microseconds spent in the render callback (per-frame call and drawing), in all and at most. */
    juce::int64 getRenderMicroseconds() const noexcept { return renderMicros.load(); }
    juce::int64 getLongestRenderMicroseconds() const noexcept { return longestRenderMicros.load(); }

    /** Draws one frame now and reads it back (waits up to the timeout for the render
        thread; message thread). A null image when the context is not ready. */
    juce::Image captureFrame (int timeoutMs = 2000);

    /** The process-wide check of the first context set-up: by default, that the
        context offers the fixed-function pipeline. Tests replace it. */
    static void setGraphicsCheck (std::function<bool()> check);

    /** The number of live views. */
    static int getLiveViewCount() noexcept;

    /** How many times a view left its window with its context still attached.
        The context then closes without the window's peer, which keeps a pointer
        to it and calls it on its next expose event: whoever takes a view (or a
        component holding one) out of the window must close the view first, with
        stopRendering or by deleting it, or hide it. Counted for the tests. */
    static int getOrphanedViewCount() noexcept;

    // Component
    void paint (juce::Graphics&) override;
    void resized() override;
    void parentHierarchyChanged() override;
    void visibilityChanged() override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

private:
    // OpenGLRenderer (render thread)
    void newOpenGLContextCreated() override;
    void renderOpenGL() override;
    void openGLContextClosing() override;
    // Thread: the frame clock
    void run() override;

    void attachContext();
    void markFailed();
    void updateInWindow();
    void drawScene();
    void turnCamera (const juce::MouseEvent& e, bool store);

    juce::OpenGLContext context;
    PlayerListener* const listener;    // not owned: the owning proxy

    std::atomic<bool> contextReady { false }, failed { false }, paused { false }, inWindow { false };
    std::atomic<bool> resizePending { true };
    std::atomic<int> viewWidth { 0 }, viewHeight { 0 };
    bool initialised = false;               // message thread
    juce::ComponentPeer* lastPeer = nullptr; // message thread: the window the view was last in
    std::atomic<double> attachedAt { 0.0 }; // written on the message thread, read by the frame clock

    juce::CriticalSection sceneLock;
    const Scene* scene = nullptr;           // guarded by sceneLock
    std::array<std::atomic<int>, maxGroups> poses {};

    mutable juce::SpinLock cameraLock;
    DirectorUserFixed camera { 0.0f, 0.0f, 0.0f };   // guarded by cameraLock

    // Message thread.
    float angleX = 0, angleY = 0, distance = 0, height = 0;
    juce::Point<int> downAt;

    // The frame clock writes, the render thread reads.
    std::atomic<juce::int64> dueFrame { -1 };
    // Render thread.
    juce::int64 lastFrameCalled = -1;
    std::atomic<int> framesDrawn { 0 };
    std::atomic<juce::int64> renderMicros { 0 }, longestRenderMicros { 0 };

    // A capture asked for by the message thread, filled by the render thread.
    std::atomic<bool> captureWanted { false };
    juce::WaitableEvent captureDone;
    juce::Image captured;                   // written by the render thread before captureDone

    JUCE_DECLARE_NON_COPYABLE (Player)
};

} // namespace T730
