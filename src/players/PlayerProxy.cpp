#include "players/PlayerProxy.h"

namespace T730
{

PlayerProxy::PlayerProxy (Rhythmer* rhythmMachine, ControllerLink* controllerLink)
    : PlayerBase (rhythmMachine, controllerLink),
      still (std::make_unique<PlayerDummy> (rhythmMachine, controllerLink))
{
    for (auto& p : poses)
        p.store (0);
    setSize (width, height);
    still->setBounds (0, 0, width, height);

    if (areFiguresSwitchedOn (controllerLink))
    {
        view = std::make_unique<Player> (rhythmMachine, controllerLink, this);
        view->setBounds (0, 1, width, height);
        addAndMakeVisible (*view);
        showPicture = false;
    }
}

PlayerProxy::~PlayerProxy()
{
    closeView();
    removeAllChildren();
    scene.reset();
    still.reset();
}

void PlayerProxy::closeView()
{
    if (view == nullptr)
        return;
    const auto angles = getViewAngles();
    angleX = angles.x;
    angleY = angles.y;
    view->stopRendering();   // no frame calls back into the proxy once the view goes
    removeChildComponent (view.get());
    view.reset();
    showPicture = true;
}

void PlayerProxy::setAnimating (bool shouldAnimate)
{
    PlayerBase::setAnimating (shouldAnimate);
    if (view != nullptr)
        view->setAnimating (shouldAnimate);
}

bool PlayerProxy::isAnimating()
{
    return view != nullptr && view->isAnimating();
}

void PlayerProxy::setFrame (int group, int index)
{
    if (group < 0 || group >= Player::maxGroups)
        return;
    poses[(size_t) group].store (index, std::memory_order_relaxed);
    if (view != nullptr)
        view->setFrame (group, index);
}

int PlayerProxy::getFrame (int group) const noexcept
{
    return group >= 0 && group < Player::maxGroups ? poses[(size_t) group].load (std::memory_order_relaxed) : 0;
}

void PlayerProxy::setStillImage (const juce::Image& image)
{
    still->setImage (image);
}

void PlayerProxy::setCameraOffset (float x, float y, float z)
{
    offsetX = x;
    offsetY = y;
    offsetZ = z;
    if (view != nullptr)
        view->setCameraOffset (x, y, z);
}

void PlayerProxy::setCameraDistance (float d)
{
    distance = d;
    if (view != nullptr)
        view->setCameraDistance (d);
}

void PlayerProxy::setCameraHeight (float h)
{
    cameraHeight = h;
    if (view != nullptr)
        view->setCameraHeight (h);
}

void PlayerProxy::setViewAngles (float x, float y)
{
    angleX = x;
    angleY = y;
    if (view != nullptr)
        view->setViewAngles (x, y);
}

juce::Point<float> PlayerProxy::getViewAngles() const
{
    if (view != nullptr)
        return { view->getViewAngleX(), view->getViewAngleY() };
    return { angleX, angleY };
}

void PlayerProxy::setModels (std::unique_ptr<Scene> newScene)
{
    // The view lets go of the old scene (waiting for a frame that draws it) before it is freed.
    if (view != nullptr)
        view->setScene (newScene.get());
    scene = std::move (newScene);
}

void PlayerProxy::pauseAnimation()
{
    if (view != nullptr)
        view->pauseAnimation();
}

void PlayerProxy::resumeAnimation()
{
    if (view != nullptr)
        view->resumeAnimation();
}

void PlayerProxy::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    if (view != nullptr && view->hasFailed())
        showPicture = true;
    if (showPicture && (still->getParentComponent() != this || ! still->isVisible()))
        addAndMakeVisible (*still);
}

} // namespace T730
