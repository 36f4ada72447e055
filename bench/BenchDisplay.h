#pragma once

// The benchmarks that open windows: as on a desktop, X errors are not fatal
// (JUCE makes them so only inside a JUCEApplication), and the window manager's
// atoms that JUCE only looks up exist on a bare X server.

#include <X11/Xlib.h>

inline void prepareDisplay()
{
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
    if (auto* display = XOpenDisplay (nullptr))
    {
        for (const auto* atom : { "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_TAKE_FOCUS", "WM_STATE", "WM_CHANGE_STATE",
                                  "_NET_WM_PING", "_NET_WM_NAME", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN",
                                  "_NET_WM_WINDOW_TYPE", "_NET_FRAME_EXTENTS" })
            XInternAtom (display, atom, False);
        XSync (display, False);
        XCloseDisplay (display);
    }
}
