#include "editor/FloorThread.h"

#include "art/ProgramArt.h"
#include "editor/EditorSlots.h"
#include "editor/TypeUI.h"
#include "engine/FxChain.h"

#include <cmath>

namespace T730
{

namespace
{
    constexpr int defaultSectionWidth = 878, defaultSectionHeight = 212;

    int floorDiv (int a, int b) noexcept
    {
        return a >= 0 ? a / b : -((-a + b - 1) / b);
    }
} // namespace

juce::Point<int> FloorGeometry::sectionToFloor (juce::Point<int> p) const noexcept
{
    const int w = sectionWidth != 0 ? sectionWidth : defaultSectionWidth;
    const int h = sectionHeight != 0 ? sectionHeight : defaultSectionHeight;
    const auto x = (juce::int64) view.getX() + (juce::int64) view.getWidth() * p.x / w;
    const auto y = (juce::int64) view.getY() + (juce::int64) view.getHeight() * p.y / h - bandTop;
    return { (int) x, (int) y };
}

//==============================================================================
FloorThread::FloorThread (FxChain& c, FloorHost& h, int sectionWidth, int sectionHeight)
    : juce::Thread ("OXA Fx Section Drawing Thread"), chain (c), host (h)
{
    floorTexture = art::getImage (art::Picture::fxFloor);
    cable = art::getImage (art::Picture::fxCable);
    cableEnd = art::getImage (art::Picture::fxCableEnd);
    plugIn = art::getImage (art::Picture::fxPlugIn);
    plugOut = art::getImage (art::Picture::fxPlugOut);
    frame = art::getImage (art::Picture::fxFrame);

    geometry.sectionWidth = sectionWidth;
    geometry.sectionHeight = sectionHeight;
}

FloorThread::~FloorThread()
{
    stop();
}

void FloorThread::start()
{
    if (! isThreadRunning())
        startThread();
}

void FloorThread::stop()
{
    signalThreadShouldExit();
    notify();
    // The thread ends after the command it is drawing; it is never killed.
    while (! waitForThreadToExit (2048))
        juce::Logger::writeToLog ("The editor's drawing thread is slow to end.");
}

//==============================================================================
void FloorThread::queue (int kind, TypeUI* view)
{
    {
        const juce::ScopedLock sl (queueLock);
        if (commands.size() > 1)
        {
            auto redundant = [kind, view] (const Command& c)
            {
                if (kind == layoutAll)
                    return c.kind == layoutAll || c.kind == redrawControls;
                return c.kind == redrawControls && c.view == view;
            };
            commands.erase (std::remove_if (commands.begin() + 1, commands.end(), redundant), commands.end());
        }
        commands.push_back ({ kind, kind == layoutAll ? nullptr : view, {} });
        longestQueue = juce::jmax (longestQueue.load(), (int) commands.size());
    }
    notify();
}

void FloorThread::clearQueue()
{
    const juce::ScopedLock sl (queueLock);
    commands.clear();
}

void FloorThread::forgetView (const TypeUI* view)
{
    if (view == nullptr)
        return;
    const juce::ScopedLock sl (queueLock);
    commands.erase (std::remove_if (commands.begin(), commands.end(),
                                    [view] (const Command& c) { return c.view == view; }),
                    commands.end());
}

int FloorThread::getQueueLength() const
{
    const juce::ScopedLock sl (queueLock);
    return (int) commands.size();
}

std::vector<FloorThread::Command> FloorThread::getPendingCommands() const
{
    const juce::ScopedLock sl (queueLock);
    return { commands.begin(), commands.end() };
}

bool FloorThread::isIdle() const
{
    const juce::ScopedLock sl (queueLock);
    return commands.empty() && ! running;
}

//==============================================================================
void FloorThread::run()
{
    while (! threadShouldExit())
    {
        wait (1024);

        while (! threadShouldExit())
        {
            Command command;
            {
                const juce::ScopedLock sl (queueLock);
                if (commands.empty())
                    break;
                command = commands.front();
                commands.pop_front();
                running = true;
            }

            bool failed = false;
            try
            {
                execute (command);
            }
            catch (const std::exception& e)
            {
                juce::Logger::writeToLog ("The editor's drawing failed: " + juce::String (e.what()));
                failed = true;
            }

            {
                const juce::ScopedLock sl (queueLock);
                running = false;
                if (failed || commands.empty())
                    break;
            }
            juce::Thread::sleep (1);
        }
    }
}

void FloorThread::execute (const Command& command)
{
    // A view's redraw that found nothing changed leaves the picture as it is.
    if (command.kind == layoutAll)
        layout();
    else if (! redraw (command.view) && command.view != nullptr)
        return;
    render();
}

TypeUI* FloorThread::viewAt (int index) const
{
    return dynamic_cast<TypeUI*> (chain.getView (index));
}

bool FloorThread::isInChain (const TypeUI* view) const
{
    for (int i = 0, n = chain.length(); i < n; ++i)
        if (viewAt (i) == view)
            return true;
    return false;
}

//==============================================================================
void FloorThread::layout()
{
    const juce::ScopedLock canvasGuard (canvasLock);
    const juce::ScopedLock chainGuard (chain.getLock());

    const int n = chain.length();
    int chainWidth = 0;
    bool withoutCabinet = false;
    for (int i = 0; i < n; ++i)
        if (auto* v = viewAt (i))
        {
            chainWidth += v->getRowWidth() + moduleGap;
            withoutCabinet = withoutCabinet || v->getKey() == EditorSlots::noCabinet;
        }

    const int canvasWidth = juce::jmax (chainWidth, minCanvasWidth);
    const int canvasHeight = canvasWidth * 212 / 878;
    const int bandTop = (canvasHeight - canvasPictureHeight) * 74 / 212;

    if (! canvas.isValid() || canvas.getWidth() < canvasWidth || canvas.getHeight() < canvasPictureHeight)
        canvas = juce::Image (juce::Image::ARGB, canvasWidth, canvasPictureHeight, true);
    else
        canvas.clear (canvas.getBounds());

    int x = startX;
    for (int i = 0; i < n; ++i)
        if (auto* v = viewAt (i))
        {
            v->moveTo (x);
            x += v->getRowWidth() + moduleGap;
        }

    juce::Graphics g (canvas);
    cableWidth = chainWidth + (withoutCabinet ? cableTailOffCabinet : 0);
    drawFloorBehind (g, { 0, 0, canvas.getWidth(), canvas.getHeight() });

    for (int i = 0; i < n; ++i)
        if (auto* v = viewAt (i))
        {
            v->paint (g);
            drawPlugs (g, *v);
            if (auto* record = dynamic_cast<FxState*> (chain.getRecord (i)))
            {
                const auto at = v->getModuleBounds().getPosition();
                record->inputPlugs.clear();
                record->outputPlugs.clear();
                for (auto r : v->getInputPlugs())
                    record->inputPlugs.push_back (r + at);
                for (auto r : v->getOutputPlugs())
                    record->outputPlugs.push_back (r + at);
            }
        }

    const juce::ScopedLock geometryGuard (geometryLock);
    auto& geo = geometry;
    if (! geo.laidOut)
    {
        const int h = geo.sectionHeight != 0 ? geo.sectionHeight : firstViewHeight;
        geo.view = { geo.homeX, 0, geo.sectionWidth * firstViewHeight / h, firstViewHeight };
        geo.laidOut = true;
    }
    geo.bandTop = bandTop;
    geo.chainWidth = chainWidth;
    geo.canvasWidth = canvasWidth;
    geo.canvasHeight = canvasHeight;
    geo.view = clampView (geo.view, canvasWidth, canvasHeight, chainWidth, geo.homeX);
    previousCanvasWidth = canvasWidth;
    ++layouts;
}

void FloorThread::drawFloorBehind (juce::Graphics& g, juce::Rectangle<int> area)
{
    juce::Graphics::ScopedSaveState saved (g);
    g.reduceClipRegion (area);
    if (cable.isValid() && cableWidth > 0)
        g.drawImage (cable, 0, cableY, cableWidth, cableHeight, 0, 0, cable.getWidth(), cable.getHeight());
    if (cableEnd.isValid() && cableWidth > 0)
        g.drawImageAt (cableEnd, cableWidth, cableY);
}

void FloorThread::drawPlugs (juce::Graphics& g, const TypeUI& view)
{
    const auto at = view.getModuleBounds().getPosition();
    if (plugIn.isValid())
        for (auto r : view.getInputPlugs())
            g.drawImageAt (plugIn, r.getX() + at.x, r.getY() + at.y);
    if (plugOut.isValid())
        for (auto r : view.getOutputPlugs())
            g.drawImageAt (plugOut, r.getX() + at.x, r.getY() + at.y);
}

bool FloorThread::redraw (TypeUI* view)
{
    const juce::ScopedLock canvasGuard (canvasLock);
    const juce::ScopedLock chainGuard (chain.getLock());
    if (! canvas.isValid())
        return false;

    juce::Graphics g (canvas);
    auto prepare = [this, &g] (juce::Rectangle<int> area)
    {
        canvas.clear (area);
        drawFloorBehind (g, area);
    };

    int drawn = 0;
    if (view != nullptr)
    {
        // The view may have left the chain since the command was queued.
        if (isInChain (view) && view->isLaidOut())
            drawn += view->paintChanged (g, prepare);
    }
    else
    {
        for (int i = 0, n = chain.length(); i < n; ++i)
            if (auto* v = viewAt (i); v != nullptr && v->isLaidOut())
                drawn += v->paintChanged (g, prepare);
    }
    ++redrawCommands;
    if (drawn > 0)
        ++controlRedraws;
    return drawn > 0;
}

//==============================================================================
void FloorThread::renderInto (juce::Image& target, const FloorGeometry& geo, juce::Rectangle<int> area)
{
    target.clear (target.getBounds());
    if (area.isEmpty())
        return;

    juce::Graphics g (target);
    const bool unscaled = target.getWidth() == area.getWidth() && target.getHeight() == area.getHeight();
    const float sx = (float) target.getWidth() / (float) area.getWidth();
    const float sy = (float) target.getHeight() / (float) area.getHeight();

    if (floorTexture.isValid())
    {
        for (int ty = floorDiv (area.getY(), tileHeight) * tileHeight; ty < area.getBottom(); ty += tileHeight)
            for (int tx = floorDiv (area.getX(), tileWidth) * tileWidth; tx < area.getRight(); tx += tileWidth)
            {
                if (unscaled)
                    g.drawImageAt (floorTexture, tx - area.getX(), ty - area.getY());
                else
                    g.drawImage (floorTexture, juce::roundToInt ((float) (tx - area.getX()) * sx),
                                 juce::roundToInt ((float) (ty - area.getY()) * sy),
                                 juce::roundToInt ((float) tileWidth * sx), juce::roundToInt ((float) tileHeight * sy),
                                 0, 0, tileWidth, tileHeight);
            }
    }

    if (canvas.isValid())
    {
        if (unscaled)
            g.drawImageAt (canvas, -area.getX(), geo.bandTop - area.getY());
        else
            g.drawImageTransformed (canvas, juce::AffineTransform::translation ((float) -area.getX(),
                                                                                (float) (geo.bandTop - area.getY()))
                                                .scaled (sx, sy));
    }
}

void FloorThread::render()
{
    const auto geo = getGeometry();
    if (! geo.laidOut || geo.sectionWidth <= 0 || geo.sectionHeight <= 0)
        return;

    int hidden = 0;
    {
        const juce::ScopedLock sl (showLock);
        hidden = shown == 0 ? 1 : 0;
    }

    // The hidden picture is not read by anyone: it is made, or made again at a
    // new section size, without holding the show lock.
    auto& target = pictures[hidden];
    if (! target.isValid() || target.getWidth() != geo.sectionWidth || target.getHeight() != geo.sectionHeight)
        target = juce::Image (juce::Image::ARGB, geo.sectionWidth, geo.sectionHeight, true);

    {
        const juce::ScopedLock canvasGuard (canvasLock);
        renderInto (target, geo, geo.view);
    }

    if (frame.isValid())
    {
        juce::Graphics g (target);
        g.drawImage (frame, 0, 0, target.getWidth(), target.getHeight(), 0, 0, frame.getWidth(), frame.getHeight());
    }

    {
        const juce::ScopedLock sl (showLock);
        shown = hidden;
    }
    ++renders;
    host.floorRendered();
}

juce::Image FloorThread::renderArea (juce::Rectangle<int> area)
{
    if (area.isEmpty())
        return {};
    juce::Image image (juce::Image::ARGB, area.getWidth(), area.getHeight(), true);
    const auto geo = getGeometry();
    const juce::ScopedLock canvasGuard (canvasLock);
    renderInto (image, geo, area);
    return image;
}

//==============================================================================
FloorGeometry FloorThread::getGeometry() const
{
    const juce::ScopedLock sl (geometryLock);
    return geometry;
}

juce::Rectangle<int> FloorThread::clampView (juce::Rectangle<int> view, int canvasWidth, int canvasHeight,
                                             int chainWidth, int homeX)
{
    int x = juce::jlimit (0, juce::jmax (0, canvasWidth - view.getWidth()), view.getX());
    const int y = juce::jlimit (0, juce::jmax (0, canvasHeight - view.getHeight()), view.getY());

    if (chainWidth < view.getWidth())
        x = homeX;
    else if (chainWidth + startX >= x + view.getWidth())
        x = juce::jmax (x, homeX);
    else
        x = chainWidth + startX - view.getWidth();

    return view.withPosition (x, y);
}

void FloorThread::setSectionSize (int width, int height)
{
    {
        const juce::ScopedLock sl (geometryLock);
        geometry.sectionWidth = width;
        geometry.sectionHeight = height;
        if (! geometry.laidOut || height <= 0)
            return;

        auto& v = geometry.view;
        v.setWidth (width * v.getHeight() / height);
        v.setX (juce::jlimit (0, juce::jmax (0, geometry.canvasWidth - v.getWidth()), v.getX()));
    }
    queue (redrawControls, nullptr);
}

void FloorThread::setViewX (int x)
{
    {
        const juce::ScopedLock sl (geometryLock);
        if (! geometry.laidOut)
            return;
        geometry.view = clampView (geometry.view.withX (x), geometry.canvasWidth, geometry.canvasHeight,
                                   geometry.chainWidth, geometry.homeX);
    }
    queue (redrawControls, nullptr);
}

void FloorThread::scrollBy (int dx)
{
    setViewX (getGeometry().view.getX() + dx);
}

//==============================================================================
void FloorThread::paintShown (juce::Graphics& g) const
{
    const juce::ScopedLock sl (showLock);
    if (shown >= 0 && pictures[shown].isValid())
        g.drawImageAt (pictures[shown], 0, 0);
}

bool FloorThread::hasShownPicture() const
{
    const juce::ScopedLock sl (showLock);
    return shown >= 0;
}

juce::Image FloorThread::getShownPicture() const
{
    const juce::ScopedLock sl (showLock);
    return shown >= 0 ? pictures[shown].createCopy() : juce::Image();
}

} // namespace T730
