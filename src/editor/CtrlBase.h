#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace T730
{

class CtrlBase;

/** A mouse event as a control sees it: the position in the coordinates the
    control's rectangle is in (the module's place on the editor's floor) and
    the modifier keys and buttons of the event. */
struct CtrlMouse
{
    int x = 0, y = 0;
    juce::ModifierKeys mods;

    bool isLeft() const noexcept { return mods.isLeftButtonDown(); }
    bool isShift() const noexcept { return mods.isShiftDown(); }
    bool isCtrl() const noexcept { return mods.isCtrlDown(); }
};

/** What a control reports to: the module view that owns it. */
class ListenerCtrlBase
{
public:
    virtual ~ListenerCtrlBase() = default;

    /** The control's current step changed. */
    virtual void ctrlValueChanged (CtrlBase& control) = 0;
    /** A tap control was pressed. */
    virtual void ctrlTapped (CtrlBase& control) = 0;
    /** A time was entered on a time entry control. */
    virtual void ctrlTimeEntered (CtrlBase& control, double seconds) { juce::ignoreUnused (control, seconds); }
    /** The owner's rectangle in the coordinates the controls are in. */
    virtual juce::Rectangle<int> getOwnerBounds() const { return {}; }
};

/** One hit area of a control: a circle around its centre, or a rectangle in
    the module's own coordinates (moved with the module). */
struct CtrlHitArea
{
    juce::Rectangle<int> rect;
    int radius = 0;
    bool isCircle = false;
};

/** A control on a module: a rectangle, a step and its picture frames. Controls
    are not components: their module view places, paints and feeds them.
    Used by the message thread (mouse) and the editor's drawing thread
    (painting); the editor serialises the two with its chain lock. */
class CtrlBase
{
public:
    /** `moduleName` is the type key (the archive the pictures come from),
        `resources` the folder that holds the archives. */
    CtrlBase (const juce::String& moduleName, const juce::String& pictureName, int controlNumber, int parameter,
              int defaultStep, int lastFrame, bool interactive, const juce::File& resources);
    virtual ~CtrlBase() = default;

    // The operations every kind answers, in their order.
    /** The frame to show: 0 when the maximum step is 0, else
        last frame x current step / maximum step. */
    virtual int getFrameIndex() const;
    virtual void mouseDown (const CtrlMouse& e);
    virtual void mouseDrag (const CtrlMouse& e);
    virtual void mouseUp (const CtrlMouse& e);
    /** Loads the picture of the current frame. */
    virtual void preparePicture();
    virtual juce::Image getPicture() const { return picture; }

    /** Draws the control at its rectangle (preparing the picture when the
        frame changed) and, with rememberFrame, notes the frame as drawn. */
    void draw (juce::Graphics& g, bool rememberFrame = true);

    /** Whether the point lies in one of the hit areas (in the rectangle when
        there are none). */
    bool hitTest (int x, int y) const;

    // Steps: every write is kept within 0..maximum.
    int getStep() const noexcept { return step; }
    void setStep (int newStep) noexcept;
    int getMaxStep() const noexcept { return maxStep; }
    void setMaxStep (int newMax) noexcept;
    int getDefaultStep() const noexcept { return defaultStep; }

    int getSecondParameter() const noexcept { return parameter2; }
    int getSecondStep() const noexcept { return step2; }
    void setSecondStep (int newStep) noexcept;
    int getSecondMaxStep() const noexcept { return maxStep2; }
    void setSecondParameter (int prm2, int max2) noexcept;

    ListenerCtrlBase* getOwner() const noexcept { return owner; }
    void setOwner (ListenerCtrlBase* newOwner) noexcept { owner = newOwner; }

    const juce::String& getModuleName() const noexcept { return moduleName; }
    const juce::String& getPictureName() const noexcept { return pictureName; }
    int getControlNumber() const noexcept { return controlNumber; }
    int getParameter() const noexcept { return parameter; }
    bool isInteractive() const noexcept { return interactive; }

    juce::Rectangle<int> getBounds() const noexcept { return bounds; }
    void setBounds (juce::Rectangle<int> r) noexcept { bounds = r; }
    void moveBy (juce::Point<int> delta) noexcept { bounds += delta; }
    juce::Point<float> getCentre() const noexcept { return centre; }
    void setCentre (juce::Point<float> c) noexcept { centre = c; }

    int getLastFrame() const noexcept { return lastFrame; }
    void setLastFrame (int frame) noexcept { lastFrame = frame; }
    int getPreparedFrame() const noexcept { return preparedFrame; }
    int getDrawnFrame() const noexcept { return drawnFrame; }

    void addHitArea (const CtrlHitArea& area) { areas.push_back (area); }
    const std::vector<CtrlHitArea>& getHitAreas() const noexcept { return areas; }

    bool subControl = false;
    bool noTooltip = false;
    bool initOnCtrlClick = false;

    /** True for kinds whose picture shows the pressed state (push keys). */
    virtual bool isPushKey() const { return false; }

protected:
    /** A frame picture of the control's archive: picture name + "%02d". */
    juce::Image loadFrame (int frame) const;
    /** A picture of the control's archive by its full name. */
    juce::Image loadNamed (const juce::String& name) const;

    /** Sets the step and tells the owner (when there is one). */
    void changeStepAndNotify (int newStep);
    void notifyChanged();

    /** The press of a key that acts on its release: true when the release is to
        be watched. A Ctrl+click instead resets the default step at once (when
        the control allows it); a press it does not take is ignored. */
    bool armOnPress (const CtrlMouse& e);
    /** The release of such a key: true when it was armed and lands on the key
        (released outside, nothing happens). */
    bool releasedOnKey (const CtrlMouse& e, bool wasArmed) const;

    juce::Image picture;

private:
    ListenerCtrlBase* owner = nullptr;
    const juce::String moduleName, pictureName;
    const juce::File resources;
    juce::Rectangle<int> bounds;
    juce::Point<float> centre;
    const int controlNumber, parameter, defaultStep;
    int maxStep = 0, step = 0;
    int lastFrame;
    int preparedFrame = -1;
    std::vector<CtrlHitArea> areas;
    const bool interactive;
    int drawnFrame = -1;
    int parameter2 = -1, step2 = 0, maxStep2 = -1;

    JUCE_DECLARE_NON_COPYABLE (CtrlBase)
};

} // namespace T730
