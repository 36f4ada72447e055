#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <atomic>
#include <deque>
#include <vector>

namespace T730
{

class FxChain;
class TypeUI;

/** What the drawing thread tells its section. */
class FloorHost
{
public:
    virtual ~FloorHost() = default;

    /** A new picture of the section is ready to be shown. Called on the
        drawing thread: an implementation only posts a message. */
    virtual void floorRendered() = 0;
};

/** Where the floor stands: the view is the part of the canvas the section
    shows, in canvas coordinates (the canvas picture lies at y = bandTop);
    everything on the floor (modules, controls) is placed in canvas picture
    coordinates. */
struct FloorGeometry
{
    juce::Rectangle<int> view;
    int bandTop = 0;
    int chainWidth = 0;
    int canvasWidth = 0, canvasHeight = 0;
    int homeX = 63;
    int sectionWidth = 0, sectionHeight = 0;
    bool laidOut = false;

    /** A point of the section in canvas picture coordinates (a section size of
        0 counts as 878 x 212). */
    juce::Point<int> sectionToFloor (juce::Point<int> p) const noexcept;
};

/** The editor's off-screen drawing: "OXA Fx Section Drawing Thread". It lays
    the chain's views out on a canvas picture standing on the floor, redraws
    the controls that changed, and renders the part the section shows into one
    of two section-size pictures, which the section then only copies.

    Locks: the queue lock guards the commands; the canvas lock the canvas
    picture (drawing thread only, and renderArea); the chain's own lock the
    views; the geometry lock the view rectangle and the sizes; the show lock
    which picture is shown. The drawing thread takes the canvas lock before the
    chain lock; the message thread only ever takes the chain, queue, geometry
    and show locks, each for a short time, so it never waits for a drawing. */
class FloorThread : public juce::Thread
{
public:
    enum Kind
    {
        layoutAll = 0,      // lay out everything and render
        redrawControls = 1  // redraw the changed controls of one view (all when null) and render
    };

    struct Command
    {
        int kind = layoutAll;
        TypeUI* view = nullptr;
        juce::Rectangle<int> rect;
    };

    static constexpr int minCanvasWidth = 2634;
    static constexpr int canvasPictureHeight = 668;
    static constexpr int tileWidth = 1280, tileHeight = 143;
    static constexpr int startX = 95, moduleGap = 16, scrollStep = 95;
    static constexpr int cableY = 31, cableHeight = 63, cableTailOffCabinet = 500;
    static constexpr int firstViewHeight = 146;

    FloorThread (FxChain& chain, FloorHost& host, int sectionWidth, int sectionHeight);
    /** Stops the thread (signals it and waits for it to end its command). */
    ~FloorThread() override;

    /** Starts the thread, or stops it: stopping signals and waits until it has ended. */
    void start();
    void stop();

    // Commands (any thread; the message thread in practice).
    /** Appends a command: a layout drops every pending command after the
        first; a control redraw drops the pending redraws of the same view
        after the first. */
    void queue (int kind, TypeUI* view = nullptr);
    void clearQueue();
    /** Drops the pending commands that name a view leaving the chain. */
    void forgetView (const TypeUI* view);
    int getQueueLength() const;
    std::vector<Command> getPendingCommands() const;
    int getLongestQueue() const noexcept { return longestQueue.load(); }
    /** No command pending or running. */
    bool isIdle() const;

    // The view (message thread).
    FloorGeometry getGeometry() const;
    /** The section was resized: the view keeps its height and takes the
        section's shape; the floor is rendered again. */
    void setSectionSize (int width, int height);
    /** Moves the view to x (clamped); renders. */
    void setViewX (int x);
    void scrollBy (int dx);

    /** The view kept within the canvas, never left of the home position and
        never more than 95 pixels past the chain. */
    static juce::Rectangle<int> clampView (juce::Rectangle<int> view, int canvasWidth, int canvasHeight, int chainWidth,
                                           int homeX);

    // The shown picture (message thread).
    /** Copies the picture marked for showing; nothing before the first one. */
    void paintShown (juce::Graphics& g) const;
    bool hasShownPicture() const;
    juce::Image getShownPicture() const;

    /** Renders any part of the canvas at full size (for pictures of the whole
        chain); call with the chain lock not held. */
    juce::Image renderArea (juce::Rectangle<int> canvasArea);

    int getRenderCount() const noexcept { return renders.load(); }
    int getLayoutCount() const noexcept { return layouts.load(); }
    /** Control redraws run, and those of them that drew at least one control. */
    int getRedrawCommandCount() const noexcept { return redrawCommands.load(); }
    int getControlRedrawCount() const noexcept { return controlRedraws.load(); }

private:
    void run() override;
    void execute (const Command& command);
    void layout();
    /** True when some control was drawn. */
    bool redraw (TypeUI* view);
    void render();
    void drawFloorBehind (juce::Graphics& g, juce::Rectangle<int> area);
    void drawPlugs (juce::Graphics& g, const TypeUI& view);
    void renderInto (juce::Image& target, const FloorGeometry& geometry, juce::Rectangle<int> area);
    bool isInChain (const TypeUI* view) const;
    TypeUI* viewAt (int index) const;

    FxChain& chain;
    FloorHost& host;

    // The program's pictures, loaded on the message thread before the thread starts.
    juce::Image floorTexture, cable, cableEnd, plugIn, plugOut, frame;

    // Guarded by queueLock.
    mutable juce::CriticalSection queueLock;
    std::deque<Command> commands;
    bool running = false;
    std::atomic<int> longestQueue { 0 };

    // Drawing thread (and renderArea), guarded by canvasLock.
    juce::CriticalSection canvasLock;
    juce::Image canvas;
    int cableWidth = 0;

    // Guarded by geometryLock.
    mutable juce::CriticalSection geometryLock;
    FloorGeometry geometry;
    int previousCanvasWidth = 0;

    // The two section pictures: written by the drawing thread; `shown` is
    // guarded by showLock, and the shown picture is read only under it.
    mutable juce::CriticalSection showLock;
    juce::Image pictures[2];
    int shown = -1;

    std::atomic<int> renders { 0 }, layouts { 0 }, redrawCommands { 0 }, controlRedraws { 0 };

    JUCE_DECLARE_NON_COPYABLE (FloorThread)
};

} // namespace T730
