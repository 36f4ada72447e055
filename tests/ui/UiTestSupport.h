#pragma once

#include "TestSupport.h"

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

    // No two clicks of a hand come microseconds apart: what the last one posted
    // (a table refilled, a repaint) is handled first. And JUCE asks the X server
    // which window is under the point: a window that is not yet mapped where JUCE
    // placed it (a dialog that has just come up) takes no click. Wait until it is.
    oxatest::pumpMessagesUntil ({}, 20);
    oxatest::pumpMessagesUntil ([peer, &component, at = inPeer.roundToInt()]
                                {
                                    return ! juce::ComponentPeer::isValidPeer (peer) || component.getPeer() != peer
                                        || peer->contains (at, true);
                                },
                                3000);
    if (! juce::ComponentPeer::isValidPeer (peer) || component.getPeer() != peer)
        return;

    // The pointer first moves there, as it does before any real click: JUCE sends
    // a press to the component it last saw under the pointer.
    const auto now = juce::Time::currentTimeMillis();
    const auto source = juce::MouseInputSource::InputSourceType::mouse;
    peer->handleMouseEvent (source, inPeer, juce::ModifierKeys(), juce::MouseInputSource::defaultPressure, 0.0f, now - 5);
    peer->handleMouseEvent (source, inPeer, juce::ModifierKeys().withFlags (juce::ModifierKeys::leftButtonModifier),
                            juce::MouseInputSource::defaultPressure, 0.0f, now);
    peer->handleMouseEvent (source, inPeer, juce::ModifierKeys(), juce::MouseInputSource::defaultPressure, 0.0f, now + 5);
}

} // namespace uitest
