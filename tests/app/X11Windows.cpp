#include "X11Windows.h"
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

namespace apptest
{

namespace
{
    int ignoreErrors (Display*, XErrorEvent*) { return 0; }

    /* JUCE makes X errors non-fatal only in a standalone application; in this test
       program Xlib's default handler would end the process at the first one. A
       bare X server (Xvfb without a window manager) lacks atoms such as WM_STATE
       that JUCE asks for, so every window would be fatal. Install the quiet handler
       the application has, before JUCE opens its display. */
    const bool quietXErrors = (XSetErrorHandler (ignoreErrors), true);

    juce::String readTextProperty (Display* display, Window window, Atom property)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        juce::String text;

        if (XGetWindowProperty (display, window, property, 0, 1024, False, AnyPropertyType,
                                &type, &format, &count, &after, &data) == Success
            && data != nullptr && format == 8 && count > 0)
            text = juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) count);

        if (data != nullptr)
            XFree (data);
        return text;
    }

    /** The process that made the window, as JUCE records it; 0 when unknown. */
    int readPid (Display* display, Window window)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        int pid = 0;

        if (XGetWindowProperty (display, window, XInternAtom (display, "_NET_WM_PID", False), 0, 1, False,
                                XA_CARDINAL, &type, &format, &count, &after, &data) == Success
            && data != nullptr && format == 32 && count == 1)
            pid = (int) *reinterpret_cast<const unsigned long*> (data);

        if (data != nullptr)
            XFree (data);
        return pid;
    }

    /** The window's title, whichever of the two name properties (and text type) carries it. */
    juce::String readName (Display* display, Window window)
    {
        const auto name = readTextProperty (display, window, XInternAtom (display, "_NET_WM_NAME", False));
        return name.isNotEmpty() ? name : readTextProperty (display, window, XA_WM_NAME);
    }
} // namespace

struct X11Windows::Impl
{
    Display* display = nullptr;
};

X11Windows::X11Windows (const juce::String& displayName) : impl (std::make_unique<Impl>())
{
    impl->display = XOpenDisplay (displayName.isEmpty() ? nullptr : displayName.toRawUTF8());
    if (impl->display != nullptr)
    {
        XSetErrorHandler (ignoreErrors);
        // JUCE only looks these atoms up (it never creates them) and leaves out the
        // close protocol when they are missing. On a desktop the window manager has
        // made them long before; on a bare test server this client stands in for it.
        for (const auto* atom : { "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_TAKE_FOCUS", "WM_STATE",
                                  "WM_CHANGE_STATE", "_NET_WM_PING", "_NET_WM_NAME", "_NET_WM_STATE",
                                  "_NET_WM_STATE_HIDDEN", "_NET_WM_WINDOW_TYPE", "_NET_FRAME_EXTENTS" })
            XInternAtom (impl->display, atom, False);

        XSelectInput (impl->display, DefaultRootWindow (impl->display), SubstructureNotifyMask);
        XSync (impl->display, False);
    }
}

X11Windows::~X11Windows()
{
    if (impl->display != nullptr)
        XCloseDisplay (impl->display);
}

bool X11Windows::isOpen() const noexcept
{
    return impl->display != nullptr;
}

bool X11Windows::waitForWindow (const juce::String& name, int timeoutMs, juce::Array<Mapped>& seen, int pid)
{
    auto* display = impl->display;
    if (display == nullptr)
        return false;

    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (juce::Time::getMillisecondCounter() < end)
    {
        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect)
                continue;

            Mapped mapped;
            mapped.window = event.xmap.window;
            mapped.timeMs = juce::Time::getMillisecondCounter();
            mapped.pid = readPid (display, event.xmap.window);
            if (pid != 0 && mapped.pid != 0 && mapped.pid != pid)
                continue;

            mapped.name = readName (display, event.xmap.window);
            seen.add (mapped);
        }

        // A window may get its name just after it is mapped (perhaps during an earlier
        // call with the same list): look again at the unnamed ones.
        for (int i = 0; i < seen.size(); ++i)
        {
            auto& m = seen.getReference (i);
            if (m.name.isEmpty())
                m.name = readName (display, m.window);
            if (m.name == name)
            {
                seen.add (seen.removeAndReturn (i)); // the one found goes last
                return true;
            }
        }

        pollfd fd { ConnectionNumber (display), POLLIN, 0 };
        ::poll (&fd, 1, 5);
    }
    return false;
}

juce::Rectangle<int> X11Windows::getGeometry (unsigned long window)
{
    XWindowAttributes attributes {};
    if (impl->display == nullptr || ! XGetWindowAttributes (impl->display, window, &attributes))
        return {};

    return { attributes.x, attributes.y, attributes.width, attributes.height };
}

bool X11Windows::isMapped (unsigned long window)
{
    XWindowAttributes attributes {};
    return impl->display != nullptr && XGetWindowAttributes (impl->display, window, &attributes)
           && attributes.map_state == IsViewable;
}

juce::Image X11Windows::capture (unsigned long window)
{
    auto* display = impl->display;
    XWindowAttributes attributes {};
    if (display == nullptr || ! XGetWindowAttributes (display, window, &attributes) || attributes.map_state != IsViewable)
        return {};

    XImage* shot = XGetImage (display, window, 0, 0, (unsigned int) attributes.width, (unsigned int) attributes.height,
                              AllPlanes, ZPixmap);
    if (shot == nullptr)
        return {};

    const auto channel = [] (unsigned long pixel, unsigned long mask)
    {
        if (mask == 0)
            return (juce::uint8) 0;
        int shift = 0;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        const auto max = mask >> shift;
        return (juce::uint8) (((pixel & mask) >> shift) * 255 / max);
    };

    juce::Image image (juce::Image::RGB, attributes.width, attributes.height, false);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
        {
            const auto pixel = XGetPixel (shot, x, y);
            image.setPixelAt (x, y, juce::Colour (channel (pixel, shot->red_mask), channel (pixel, shot->green_mask),
                                                  channel (pixel, shot->blue_mask)));
        }

    XDestroyImage (shot);
    return image;
}

bool X11Windows::requestClose (unsigned long window)
{
    auto* display = impl->display;
    if (display == nullptr)
        return false;

    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long) XInternAtom (display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;

    const bool sent = XSendEvent (display, window, False, NoEventMask, &event) != 0;
    XFlush (display);
    return sent;
}

void X11Windows::nudge (unsigned long window)
{
    auto* display = impl->display;
    if (display == nullptr)
        return;

    const long value = (long) juce::Time::getMillisecondCounter();
    XChangeProperty (display, window, XInternAtom (display, "OXA_TEST_NUDGE", False), XA_CARDINAL, 32,
                     PropModeReplace, reinterpret_cast<const unsigned char*> (&value), 1);
    XFlush (display);
}

} // namespace apptest
