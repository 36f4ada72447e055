#pragma once

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <functional>

namespace uitest
{

/** The folder the display tests write their screenshots to (build/screenshots). */
inline juce::File screenshotFolder()
{
    return juce::File (OXA_SCREENSHOT_DIR);
}

/** Writes a picture as build/screenshots/<name>.png; false when it could not. */
inline bool writeScreenshot (const juce::Image& image, const juce::String& name)
{
    if (! image.isValid())
        return false;

    const auto file = screenshotFolder().getChildFile (name + ".png");
    file.getParentDirectory().createDirectory();
    juce::MemoryOutputStream data;
    juce::PNGImageFormat png;
    return png.writeImageToStream (image, data) && file.replaceWithData (data.getData(), data.getDataSize());
}

/** A part of a picture enlarged (pixels kept sharp), for looking at small art. */
inline juce::Image zoomed (const juce::Image& image, juce::Rectangle<int> area, int scale)
{
    juce::Image out (juce::Image::RGB, area.getWidth() * scale, area.getHeight() * scale, true);
    juce::Graphics g (out);
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
    g.drawImage (image, 0, 0, out.getWidth(), out.getHeight(), area.getX(), area.getY(), area.getWidth(), area.getHeight());
    return out;
}

/** A component as it paints itself, with its children. */
inline juce::Image snapshot (juce::Component& component)
{
    return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
}

/** Runs `action` from inside the modal loop that the caller is about to start,
    once `ready` holds (polled every 20 ms, for at most timeoutMs). */
/** A dialog that a test's answer should have closed and that is still up after
    20 s is closed with a failure, so that a lost click fails its test instead of
    holding the run until ctest's timeout. */
struct Watchdog : juce::Timer
{
    static void watch (juce::Component* dialog)
    {
        if (dialog != nullptr)
            (new Watchdog (dialog))->startTimer (20000);
    }

    explicit Watchdog (juce::Component* d) : dialog (d) {}

    void timerCallback() override
    {
        stopTimer();
        if (dialog != nullptr && dialog->isCurrentlyModal (false))
        {
            ADD_FAILURE() << "the dialog the test answered is still open after 20 s: closed";
            dialog->exitModalState (0);
        }
        juce::MessageManager::callAsync ([this] { delete this; });
    }

    juce::Component::SafePointer<juce::Component> dialog;
};

inline void whenModal (std::function<bool()> ready, std::function<void()> action, int timeoutMs = 5000)
{
    struct Poll : juce::Timer
    {
        std::function<bool()> ready;
        std::function<void()> action;
        juce::uint32 end;
        void timerCallback() override
        {
            if (ready() || juce::Time::getMillisecondCounter() > end)
            {
                stopTimer();
                auto run = std::move (action);
                juce::MessageManager::callAsync ([this] { delete this; });
                Watchdog::watch (juce::Component::getCurrentlyModalComponent());
                run();
            }
        }
    };

    auto* poll = new Poll();
    poll->ready = std::move (ready);
    poll->action = std::move (action);
    poll->end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    poll->startTimer (20);
}

/** The top-level window of the given class that is showing, if any (the newest one). */
template <typename WindowClass>
WindowClass* findShowingWindow()
{
    auto& desktop = juce::Desktop::getInstance();
    for (int i = desktop.getNumComponents(); --i >= 0;)
        if (auto* w = dynamic_cast<WindowClass*> (desktop.getComponent (i)); w != nullptr && w->isShowing())
            return w;
    return nullptr;
}

/** A mouse click at a point of a component, sent through its window's peer as
    the system would (so JUCE's and the program's modal rules apply). */
inline void clickThroughPeer (juce::Component& component, juce::Point<int> local)
{
    auto* peer = component.getPeer();
    if (peer == nullptr)
        return;

    const auto inPeer = peer->getComponent().getLocalPoint (&component, local).toFloat();

    // The pointer first moves there, as it does before any real click: JUCE sends
    // a press to the component it last saw under the pointer, and looks again only
    // when the pointer moves (a click at the same spot as the last one would go to
    // the window that was there then: a dialog since closed, so to nothing).
    // Event times only ever go forward, however fast the clicks follow each other.
    static juce::int64 lastEventTime = 0;
    const auto now = juce::jmax (juce::Time::currentTimeMillis(), lastEventTime + 1);
    lastEventTime = now + 3;
    const auto source = juce::MouseInputSource::InputSourceType::mouse;
    const auto pressure = juce::MouseInputSource::defaultPressure;
    peer->handleMouseEvent (source, inPeer, {}, pressure, 0.0f, now + 1);
    peer->handleMouseEvent (source, inPeer, juce::ModifierKeys().withFlags (juce::ModifierKeys::leftButtonModifier),
                            pressure, 0.0f, now + 2);
    peer->handleMouseEvent (source, inPeer, {}, pressure, 0.0f, now + 3);
}

} // namespace uitest
