#pragma once

namespace T730
{

/** The camera of a 3D player view: it looks from (0, height + 1, distance + 2)
    at (0, height, 0), turns the figure by its two angles (degrees, about x, then
    about y) and moves the figure's offset point to the origin, so that the figure
    turns about that point.

    Made and set on the message thread; its view copies it under the view's
    camera lock before each frame, so apply runs on a copy. */
class DirectorUserFixed
{
public:
    DirectorUserFixed (float offsetX, float offsetY, float offsetZ) noexcept
        : x0 (offsetX), y0 (offsetY), z0 (offsetZ) {}
    virtual ~DirectorUserFixed() = default;

    /** Multiplies the current model-view matrix by the camera's (render thread). */
    virtual void apply() const;
    /** The figure started or stopped animating (nothing for this camera). */
    virtual void animationStarted() {}
    virtual void animationStopped() {}

    void setAngles (float ax, float ay) noexcept { angleX = ax; angleY = ay; }
    void setDistance (float d) noexcept { distance = d; }
    void setHeight (float h) noexcept { height = h; }
    float getAngleX() const noexcept { return angleX; }
    float getAngleY() const noexcept { return angleY; }
    float getDistance() const noexcept { return distance; }
    float getHeight() const noexcept { return height; }
    float getOffsetX() const noexcept { return x0; }
    float getOffsetY() const noexcept { return y0; }
    float getOffsetZ() const noexcept { return z0; }

    /** The projection of every view: 10 degrees of vertical field, near 1, far 500. */
    static void applyProjection (int width, int height);

    static constexpr double fieldOfView = 10.0, nearPlane = 1.0, farPlane = 500.0;

private:
    float x0 = 0, y0 = 0, z0 = 0;
    float angleX = 0, angleY = 0, distance = 0, height = 0;
};

/** Turning a figure with the mouse: four pixels of movement turn it by one
    degree (integer arithmetic, truncating toward zero), and the angle stays
    within -359..359. */
inline int turnedAngle (float storedAngle, int pixels) noexcept
{
    return ((int) storedAngle + pixels / 4) % 360;
}

} // namespace T730
