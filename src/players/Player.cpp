#include "players/Player.h"

#include <atomic>
#include <mutex>

namespace T730
{

namespace
{
    /** The first live context, shared by the views made after it (message thread,
        except that the render thread records it once it exists). */
    struct SharedContext
    {
        std::mutex lock;
        Player* owner = nullptr;
        void* native = nullptr;
        int liveViews = 0;
        std::function<bool()> check;
        int checked = 0;   // 0 not yet, 1 passed, -1 failed
        std::atomic<int> orphaned { 0 };
    };

    SharedContext& shared()
    {
        static SharedContext s;
        return s;
    }

    bool fixedFunctionAvailable()
    {
        using namespace juce::gl;
        while (glGetError() != GL_NO_ERROR) {}
        if (glGetString (GL_VERSION) == nullptr)
            return false;
        // A core profile refuses the matrix stack.
        glMatrixMode (GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode (GL_MODELVIEW);
        return glGetError() == GL_NO_ERROR;
    }

    /** The one-time graphics initialisation: its result once per process (render thread). */
    bool graphicsInitialised()
    {
        auto& s = shared();
        std::function<bool()> check;
        {
            const std::lock_guard<std::mutex> sl (s.lock);
            if (s.checked != 0)
                return s.checked > 0;
            check = s.check;
        }
        const bool ok = check ? check() : fixedFunctionAvailable();
        const std::lock_guard<std::mutex> sl (s.lock);
        s.checked = ok ? 1 : -1;
        return ok;
    }
} // namespace

void Player::setGraphicsCheck (std::function<bool()> check)
{
    auto& s = shared();
    const std::lock_guard<std::mutex> sl (s.lock);
    s.check = std::move (check);
    s.checked = 0;
}

int Player::getLiveViewCount() noexcept
{
    auto& s = shared();
    const std::lock_guard<std::mutex> sl (s.lock);
    return s.liveViews;
}

//==============================================================================
Player::Player (Rhythmer* rhythmMachine, ControllerLink* controllerLink, PlayerListener* frameListener)
    : PlayerBase (rhythmMachine, controllerLink), juce::Thread ("Player Thread"), listener (frameListener)
{
    {
        auto& s = shared();
        const std::lock_guard<std::mutex> sl (s.lock);
        ++s.liveViews;
    }
    for (auto& p : poses)
        p.store (0);

    setOpaque (true);
    context.setRenderer (this);
    context.setComponentPaintingEnabled (false);
    context.setContinuousRepainting (false);
    context.setOpenGLVersionRequired (juce::OpenGLContext::defaultGLVersion);   // a compatibility context
    context.setMultisamplingEnabled (false);
    juce::OpenGLPixelFormat format (8, 8, 16, 0);
    context.setPixelFormat (format);
}

void Player::stopRendering()
{
    paused.store (true);
    stopThread (1000);
    // Detaching waits for a frame in progress and closes the context on its render
    // thread: after it, nothing draws the scene or calls the listener again.
    context.detach();
}

Player::~Player()
{
    stopRendering();
    context.setRenderer (nullptr);

    auto& s = shared();
    const std::lock_guard<std::mutex> sl (s.lock);
    if (s.owner == this)
    {
        s.owner = nullptr;
        s.native = nullptr;
    }
    if (--s.liveViews == 0)
    {
        s.owner = nullptr;
        s.native = nullptr;
    }
}

//==============================================================================
void Player::setAnimating (bool shouldAnimate)
{
    {
        const juce::SpinLock::ScopedLockType sl (cameraLock);
        if (shouldAnimate)
            camera.animationStarted();
        else
            camera.animationStopped();
    }
    PlayerBase::setAnimating (shouldAnimate);
}

void Player::setCameraOffset (float x, float y, float z)
{
    const juce::SpinLock::ScopedLockType sl (cameraLock);
    camera = DirectorUserFixed (x, y, z);
}

void Player::setCameraDistance (float d)
{
    distance = d;
    const juce::SpinLock::ScopedLockType sl (cameraLock);
    camera.setDistance (d);
}

void Player::setCameraHeight (float h)
{
    height = h;
    const juce::SpinLock::ScopedLockType sl (cameraLock);
    camera.setHeight (h);
}

void Player::setViewAngles (float x, float y)
{
    angleX = x;
    angleY = y;
    const juce::SpinLock::ScopedLockType sl (cameraLock);
    camera.setAngles (x, y);
}

DirectorUserFixed Player::getCamera() const
{
    const juce::SpinLock::ScopedLockType sl (cameraLock);
    return camera;
}

void Player::setScene (const Scene* newScene)
{
    const juce::ScopedLock sl (sceneLock);
    scene = newScene;
}

void Player::setFrame (int group, int index)
{
    if (group >= 0 && group < maxGroups)
        poses[(size_t) group].store (index, std::memory_order_relaxed);
}

int Player::getFrame (int group) const noexcept
{
    return group >= 0 && group < maxGroups ? poses[(size_t) group].load (std::memory_order_relaxed) : 0;
}

//==============================================================================
void Player::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    if (! initialised && isShowing())
        attachContext();
}

void Player::attachContext()
{
    initialised = true;
    {
        auto& s = shared();
        const std::lock_guard<std::mutex> sl (s.lock);
        if (s.native != nullptr && s.owner != this)
            context.setNativeSharedContext (s.native);
    }
    lastPeer = getPeer();
    attachedAt.store (juce::Time::getMillisecondCounterHiRes());
    context.attachTo (*this);
    startThread();
}

void Player::resized()
{
    viewWidth.store (getWidth());
    viewHeight.store (getHeight());
    resizePending.store (true);
}

int Player::getOrphanedViewCount() noexcept
{
    return shared().orphaned.load();
}

void Player::parentHierarchyChanged()
{
    updateInWindow();
}

void Player::visibilityChanged()
{
    updateInWindow();
}

void Player::updateInWindow()
{
    inWindow.store (isShowing());
    if (auto* peer = getPeer())
        lastPeer = peer;
}

void Player::markFailed()
{
    if (failed.exchange (true))
        return;
    // The view takes itself out of its parent; the parent's next paint shows the still picture.
    juce::MessageManager::callAsync ([safe = juce::Component::SafePointer<Player> (this)]
    {
        if (auto* view = safe.getComponent())
        {
            auto* parent = view->getParentComponent();
            view->setVisible (false);
            if (parent != nullptr)
            {
                parent->removeChildComponent (view);
                parent->repaint();
            }
        }
    });
}

//==============================================================================
void Player::run()
{
    // The frame clock: one frame per elapsed period, periods missed while the
    // machine was busy are counted but not drawn.
    auto t = (juce::int64) juce::Time::getMillisecondCounterHiRes();
    juce::uint32 frame = 0;

    while (! threadShouldExit())
    {
        const auto now = (juce::int64) juce::Time::getMillisecondCounterHiRes();

        if (! contextReady.load() && ! failed.load() && inWindow.load()
            && juce::Time::getMillisecondCounterHiRes() - attachedAt.load() > contextTimeoutMs)
            markFailed();

        if (! paused.load() && inWindow.load() && (juce::uint32) (now - t) > (juce::uint32) framePeriodMs)
        {
            if (contextReady.load())
            {
                dueFrame.store ((juce::int64) frame);
                context.triggerRepaint();
            }
            while ((juce::uint32) (now - t) > (juce::uint32) framePeriodMs)
            {
                t += framePeriodMs;
                ++frame;
            }
        }

        const auto untilNext = (int) juce::jlimit<juce::int64> (1, framePeriodMs + 1, t + framePeriodMs + 1 - now);
        wait (untilNext);
    }
}

void Player::newOpenGLContextCreated()
{
    if (! graphicsInitialised())
    {
        markFailed();
        return;
    }

    using namespace juce::gl;
    glClearColor (0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth (1.0);
    glEnable (GL_DEPTH_TEST);
    glDepthFunc (GL_LEQUAL);
    glEnable (GL_BLEND);
    glBlendFunc (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Every polygon carries one colour of its own (its flat shade): flat shading draws it as such.
    glShadeModel (GL_FLAT);
    glHint (GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint (GL_POINT_SMOOTH_HINT, GL_NICEST);
    glDisable (GL_LIGHTING);
    glDisable (GL_TEXTURE_2D);
    glDisable (GL_CULL_FACE);
    resizePending.store (true);
    glColor3f (1.0f, 1.0f, 1.0f);

    {
        auto& s = shared();
        const std::lock_guard<std::mutex> sl (s.lock);
        if (s.native == nullptr)
        {
            s.native = context.getRawContext();
            s.owner = this;
        }
    }
    contextReady.store (true);
}

void Player::openGLContextClosing()
{
    // The context closes on the thread that detaches it (the message thread), just
    // before its native part goes; that part unregisters from the peer the view has
    // at this moment. Without one, a window that is still there keeps a stale entry
    // (a window that went took its list with it).
    if (getPeer() == nullptr && lastPeer != nullptr && juce::ComponentPeer::isValidPeer (lastPeer))
    {
        ++shared().orphaned;
        jassertfalse;
    }
    contextReady.store (false);
}

void Player::renderOpenGL()
{
    if (! contextReady.load())
        return;

    const auto began = juce::Time::getHighResolutionTicks();
    const auto due = dueFrame.load();
    if (due != lastFrameCalled && ! paused.load())
    {
        lastFrameCalled = due;
        if (listener != nullptr)
            listener->playerFrame (due);
    }

    drawScene();
    framesDrawn.fetch_add (1);
    const auto micros = (juce::int64) (juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - began) * 1.0e6);
    renderMicros.fetch_add (micros);
    if (micros > longestRenderMicros.load())
        longestRenderMicros.store (micros);

    if (captureWanted.exchange (false))
    {
        using namespace juce::gl;
        const auto scale = context.getRenderingScale();
        const int w = juce::roundToInt (scale * viewWidth.load()), h = juce::roundToInt (scale * viewHeight.load());
        juce::Image image (juce::Image::RGB, juce::jmax (1, w), juce::jmax (1, h), true);
        std::vector<juce::uint8> pixels ((size_t) (4 * w * h));
        glPixelStorei (GL_PACK_ALIGNMENT, 1);
        glReadPixels (0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const auto* p = &pixels[(size_t) (4 * ((h - 1 - y) * w + x))];
                image.setPixelAt (x, y, juce::Colour (p[0], p[1], p[2]));
            }
        captured = image;
        captureDone.signal();
    }
}

void Player::drawScene()
{
    using namespace juce::gl;
    if (resizePending.exchange (false))
    {
        const auto scale = context.getRenderingScale();
        DirectorUserFixed::applyProjection (juce::roundToInt (scale * viewWidth.load()),
                                            juce::roundToInt (scale * viewHeight.load()));
    }

    glClearColor (0.0f, 0.0f, 0.0f, 0.0f);
    glClear (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const juce::ScopedLock sl (sceneLock);
    if (scene == nullptr)
        return;

    glMatrixMode (GL_MODELVIEW);
    glLoadIdentity();
    getCamera().apply();

    for (size_t i = 0; i < scene->size(); ++i)
    {
        const auto& group = (*scene)[i];
        const int index = i < (size_t) maxGroups ? poses[i].load (std::memory_order_relaxed) : 0;
        if (index >= 0 && (size_t) index < group.poses.size() && group.poses[(size_t) index] != nullptr)
            group.poses[(size_t) index]->draw();
    }
}

juce::Image Player::captureFrame (int timeoutMs)
{
    if (! contextReady.load())
        return {};
    captureDone.reset();
    captureWanted.store (true);
    context.triggerRepaint();
    if (! captureDone.wait (timeoutMs))
    {
        captureWanted.store (false);
        return {};
    }
    return captured;
}

//==============================================================================
void Player::mouseDown (const juce::MouseEvent& e)
{
    downAt = e.getPosition();
}

void Player::turnCamera (const juce::MouseEvent& e, bool store)
{
    const auto ax = (float) turnedAngle (angleX, e.getPosition().y - downAt.y);
    const auto ay = (float) turnedAngle (angleY, e.getPosition().x - downAt.x);
    {
        const juce::SpinLock::ScopedLockType sl (cameraLock);
        camera.setAngles (ax, ay);
    }
    if (store)
    {
        angleX = ax;
        angleY = ay;
    }
}

void Player::mouseDrag (const juce::MouseEvent& e)
{
    turnCamera (e, false);
}

void Player::mouseUp (const juce::MouseEvent& e)
{
    turnCamera (e, true);
}

} // namespace T730
