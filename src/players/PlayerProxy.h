#pragma once

#include "players/Object3DGL.h"
#include "players/Player.h"
#include "players/PlayerDummy.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** The figure component the rhythm panel holds (92 × 75 pixels): a still
    picture and, when the settings' Character option was on at its construction,
    a 3D view above it that draws the proxy's scene and calls the proxy's
    playerFrame (which the drummer and the bassist supply) before each frame.

    The proxy keeps every camera value and the poses itself, so it answers them
    with or without a view. It owns the scene: the view is closed (its frames
    ended) before the scene is freed.

    Message thread, except playerFrame and the poses it sets (the view's render thread). */
class PlayerProxy : public juce::Component, public PlayerBase, public PlayerListener, public PoseTarget
{
public:
    static constexpr int width = 92, height = 75;

    PlayerProxy (Rhythmer* rhythmMachine, ControllerLink* controllerLink);
    ~PlayerProxy() override;

    // PlayerBase / PoseTarget
    void setAnimating (bool shouldAnimate) override;
    bool isAnimating() override;
    void setFrame (int group, int index) override;
    /** The pose of one group as last set (0 when never set). */
    int getFrame (int group) const noexcept;

    void setStillImage (const juce::Image& image);
    /** Offset first: the view's camera starts again from it with angles, distance and height 0. */
    void setCameraOffset (float x, float y, float z);
    void setCameraDistance (float d);
    void setCameraHeight (float h);
    void setViewAngles (float x, float y);
    /** The view's current angles (turned by the mouse), or the stored ones without a view. */
    juce::Point<float> getViewAngles() const;
    /** Takes the scene (null: none); the view draws it from its next frame. */
    void setModels (std::unique_ptr<Scene> newScene);
    const Scene* getModels() const noexcept { return scene.get(); }

    void pauseAnimation();
    void resumeAnimation();

    bool hasView() const noexcept { return view != nullptr; }
    Player* getView() const noexcept { return view.get(); }
    PlayerDummy& getStill() noexcept { return *still; }
    /** The still picture is shown (no view, or the view failed). */
    bool isShowingStill() const noexcept { return showPicture || (view != nullptr && view->hasFailed()); }

    void paint (juce::Graphics&) override;

protected:
    /** Ends the view's frames and deletes it; the figures call it first in their
        destructors, so that no frame runs while they take their state apart. */
    void closeView();

private:
    std::unique_ptr<PlayerDummy> still;
    std::unique_ptr<Player> view;
    bool showPicture = true;
    std::unique_ptr<Scene> scene;
    float offsetX = 0, offsetY = 0, offsetZ = 0, angleX = 0, angleY = 0, distance = 0, cameraHeight = 0;
    std::array<std::atomic<int>, Player::maxGroups> poses {};

    JUCE_DECLARE_NON_COPYABLE (PlayerProxy)
};

} // namespace T730
