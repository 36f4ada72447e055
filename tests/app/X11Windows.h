#pragma once

#include <juce_graphics/juce_graphics.h>
#include <memory>

namespace apptest
{

/** A client of the X server the tests run against ($DISPLAY), used to watch a
    program's top-level windows appear and to ask one to close exactly as a
    window manager's close button does (WM_DELETE_WINDOW). */
class X11Windows
{
public:
    /** Connects to the named display (":N"), or to $DISPLAY when none is given. */
    explicit X11Windows (const juce::String& displayName = {});
    ~X11Windows();

    bool isOpen() const noexcept;

    struct Mapped
    {
        unsigned long window = 0;
        juce::String name;     // "" when the window was gone before its name could be read
        int pid = 0;           // the owning process (_NET_WM_PID); 0 when unknown
        juce::uint32 timeMs = 0; // when the map was seen (millisecond counter)
    };

    /** Waits for top-level windows to be mapped until one in `seen` is named `name`
        or the time runs out; every mapped window seen is appended to `seen` (so a
        wait can go on over several calls with the same list). The one found is
        moved to the end. With a pid, windows known to belong to another process
        (tests running beside this one on the same display) are passed over. */
    bool waitForWindow (const juce::String& name, int timeoutMs, juce::Array<Mapped>& seen, int pid = 0);

    /** Size of a window (the client area). */
    juce::Rectangle<int> getGeometry (unsigned long window);

    /** True while the window is mapped (viewable). */
    bool isMapped (unsigned long window);

    /** What the window shows on the screen now (its client area); invalid when it cannot be read. */
    juce::Image capture (unsigned long window);

    /** Sends WM_PROTOCOLS / WM_DELETE_WINDOW to the window. */
    bool requestClose (unsigned long window);

    /** Changes a property of the test's own on the window: an event with no meaning
        to the program that wakes its event loop (see the end-to-end test). */
    void nudge (unsigned long window);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace apptest
