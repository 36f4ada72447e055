#include "editor/Controls.h"

#include "editor/TimeInputWindow.h"
#include "ui/OxDialog.h"

#include <utility>

namespace T730
{

//==============================================================================
int DragAnchor::finePixelsPerStep (int maxStep) noexcept
{
    if (maxStep <= 0)
        return 1;
    int b = 1;
    while ((juce::int64) maxStep * b < 300)
        b *= 2;
    return b;
}

int DragAnchor::fineStep (int y, int maxStep) const noexcept
{
    return startStep + (startY - y) / finePixelsPerStep (maxStep);
}

namespace
{
    bool takesPress (const CtrlBase& c, const CtrlMouse& e) { return c.isInteractive() && e.isLeft(); }

    int clampToInt (juce::int64 v) noexcept
    {
        return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
                                   (juce::int64) std::numeric_limits<int>::max(), v);
    }
} // namespace

//==============================================================================
Knob::Knob (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r)
    : CtrlBase (m, p, n, prm, d, 48, true, r)
{
}

void Knob::mouseDown (const CtrlMouse& e)
{
    if (! takesPress (*this, e))
        return;

    dragging = true;
    if (e.isCtrl() && initOnCtrlClick)
        changeStepAndNotify (getDefaultStep());
    drag.anchor (getStep(), e.y, e.isShift());
}

void Knob::mouseDrag (const CtrlMouse& e)
{
    if (! takesPress (*this, e) || ! dragging)
        return;

    // Pressing or releasing Shift changes the mode: the drag continues from here.
    if (e.isShift() != drag.fine)
    {
        drag.anchor (getStep(), e.y, e.isShift());
        return;
    }

    const juce::int64 moved = (juce::int64) drag.startY - e.y;
    const int wanted = drag.fine ? drag.fineStep (e.y, getMaxStep())
                                 : clampToInt (drag.startStep + (juce::int64) getMaxStep() * moved / 150);
    const int next = juce::jlimit (0, getMaxStep(), wanted);
    if (next != getStep())
        changeStepAndNotify (next);
}

void Knob::mouseUp (const CtrlMouse&)
{
    dragging = false;
}

//==============================================================================
Led::Led (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r, bool onIfNotMinimum)
    : CtrlBase (m, p, n, prm, d, 1, false, r), onIfNotMin (onIfNotMinimum)
{
}

int Led::getFrameIndex() const
{
    if (onIfNotMin)
        return getStep() != 0 ? 1 : 0;
    return CtrlBase::getFrameIndex();
}

//==============================================================================
FootSW::FootSW (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r)
    : CtrlBase (m, p, n, prm, d, 1, true, r)
{
}

void FootSW::mouseDown (const CtrlMouse& e)
{
    if (takesPress (*this, e))
        pressed = true;
}

void FootSW::mouseUp (const CtrlMouse& e)
{
    if (! takesPress (*this, e) || ! pressed)
        return;

    pressed = false;
    if (hitTest (e.x, e.y))
        changeStepAndNotify (getStep() == 0 ? 1 : 0);
}

//==============================================================================
OxSlider::OxSlider (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r,
                    int slWidth, int slHeight, int lastFrame)
    : CtrlBase (m, p, n, prm, d, lastFrame, true, r), knobWidth (slWidth), knobHeight (slHeight)
{
}

int OxSlider::getTravel() const noexcept
{
    return getBounds().getHeight() - knobHeight - 1;
}

int OxSlider::getKnobOffset() const noexcept
{
    const int travel = getTravel();
    if (getMaxStep() <= 0 || travel <= 0)
        return 0;
    return (int) ((juce::int64) travel * getStep() / getMaxStep());
}

int OxSlider::getFrameIndex() const
{
    return getKnobOffset();
}

void OxSlider::mouseDown (const CtrlMouse& e)
{
    if (! takesPress (*this, e))
        return;

    dragging = true;
    if (e.isCtrl() && initOnCtrlClick)
        changeStepAndNotify (getDefaultStep());
    drag.anchor (getStep(), e.y, e.isShift());
}

void OxSlider::mouseDrag (const CtrlMouse& e)
{
    if (! takesPress (*this, e) || ! dragging)
        return;

    if (e.isShift() != drag.fine)
    {
        drag.anchor (getStep(), e.y, e.isShift());
        return;
    }

    int wanted = getStep();
    if (drag.fine)
    {
        wanted = drag.fineStep (e.y, getMaxStep());
    }
    else
    {
        // The knob's centre follows the pointer. Without travel the slider
        // cannot move, and the step stays.
        const int travel = getTravel();
        if (travel <= 0)
            return;
        const juce::int64 position = juce::jlimit ((juce::int64) 0, (juce::int64) travel,
                                                   (juce::int64) knobHeight / 2 + getBounds().getY() + travel - e.y);
        wanted = (int) (position * getMaxStep() / travel);
    }

    const int next = juce::jlimit (0, getMaxStep(), wanted);
    if (next != getStep())
        changeStepAndNotify (next);
}

void OxSlider::mouseUp (const CtrlMouse&)
{
    dragging = false;
}

void OxSlider::ensurePictures()
{
    const auto size = getBounds();
    if (size.getWidth() <= 0 || size.getHeight() <= 0)
        return;
    if (! picture.isValid() || picture.getWidth() != size.getWidth() || picture.getHeight() != size.getHeight())
        picture = juce::Image (juce::Image::ARGB, size.getWidth(), size.getHeight(), true);
    if (! knobImage.isValid())
        knobImage = loadNamed (getPictureName());
}

juce::Image OxSlider::knobPicture()
{
    return knobImage;
}

void OxSlider::preparePicture()
{
    ensurePictures();
    if (! picture.isValid())
        return;

    picture.clear (picture.getBounds());
    const auto knob = knobPicture();
    if (! knob.isValid())
        return;

    juce::Graphics g (picture);
    g.drawImageAt (knob, 0, getBounds().getHeight() - knobHeight - getKnobOffset() - 1);
}

//==============================================================================
OxLedSlider::OxLedSlider (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r,
                          int slWidth, int slHeight)
    : OxSlider (m, p, n, prm, d, r, slWidth, slHeight, 1)
{
}

int OxLedSlider::getFrameIndex() const
{
    // Every knob position of one lamp state gets its own number range, so a
    // change of the lamp together with the position is never mistaken for no change.
    const int positions = juce::jmax (getTravel(), getMaxStep()) + 1;
    return getKnobOffset() + positions * getSecondStep();
}

juce::Image OxLedSlider::knobPicture()
{
    const int lamp = juce::jlimit (0, juce::jmax (0, getLastFrame()), getSecondStep());
    if (lamp < 2)
    {
        if (! lampFrames[lamp].isValid())
            lampFrames[lamp] = loadFrame (lamp);
        return lampFrames[lamp];
    }
    return loadFrame (lamp);
}

//==============================================================================
ImgPrm::ImgPrm (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r, bool interactive)
    : CtrlBase (m, p, n, prm, d, 0, interactive, r)
{
}

ImgKey::ImgKey (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r)
    : ImgPrm (m, p, n, prm, d, r, true)
{
}

void ImgKey::mouseDown (const CtrlMouse& e)
{
    armed = armOnPress (e);
}

void ImgKey::mouseUp (const CtrlMouse& e)
{
    const bool wasArmed = std::exchange (armed, false);
    if (releasedOnKey (e, wasArmed))
        changeStepAndNotify (getStep() >= getMaxStep() ? 0 : getStep() + 1);
}

//==============================================================================
ToggleLed::ToggleLed (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r,
                      bool interactive)
    : CtrlBase (m, p, n, prm, d, 1, interactive, r)
{
}

ToggleSW::ToggleSW (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r)
    : ToggleLed (m, p, n, prm, d, r, true)
{
}

void ToggleSW::mouseDown (const CtrlMouse& e)
{
    armed = armOnPress (e);
}

void ToggleSW::mouseUp (const CtrlMouse& e)
{
    const bool wasArmed = std::exchange (armed, false);
    if (releasedOnKey (e, wasArmed))
        changeStepAndNotify (getParamOfIndex());
}

//==============================================================================
OxTap::OxTap (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r)
    : CtrlBase (m, p, n, prm, d, 1, true, r)
{
}

void OxTap::mouseDown (const CtrlMouse& e)
{
    if (! takesPress (*this, e) || ! hitTest (e.x, e.y))
        return;

    pressed = true;
    if (auto* owner = getOwner())
        owner->ctrlTapped (*this);
}

void OxTap::mouseUp (const CtrlMouse& e)
{
    if (takesPress (*this, e))
        pressed = false;
}

//==============================================================================
IncKey::IncKey (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r, int stepDelta)
    : CtrlBase (m, p, n, prm, d, 1, true, r), delta (stepDelta)
{
}

void IncKey::mouseDown (const CtrlMouse& e)
{
    if (takesPress (*this, e))
        pressed = true;
}

void IncKey::mouseUp (const CtrlMouse& e)
{
    if (! takesPress (*this, e) || ! pressed)
        return;

    pressed = false;
    if (! hitTest (e.x, e.y))
        return;

    juce::int64 next = (juce::int64) getStep() + delta;
    if (next < 0)
        next = getMaxStep();
    else if (next > getMaxStep())
        next = 0;
    changeStepAndNotify ((int) next);
}

//==============================================================================
TimeInputBtn::TimeInputBtn (const juce::String& m, const juce::String& p, int n, int prm, int d, const juce::File& r)
    : CtrlBase (m, p, n, prm, d, 1, true, r)
{
}

void TimeInputBtn::mouseDown (const CtrlMouse& e)
{
    if (takesPress (*this, e))
        pressed = true;
}

void TimeInputBtn::mouseUp (const CtrlMouse& e)
{
    if (! takesPress (*this, e) || ! pressed)
        return;

    pressed = false;
    if (hitTest (e.x, e.y))
        entryRequested = true;
}

bool TimeInputBtn::takeEntryRequest() noexcept
{
    return std::exchange (entryRequested, false);
}

double TimeInputBtn::runTimeEntry (juce::Point<int> screenPosition)
{
    TimeInputWindow entry;
    MessageBoxes::runModalComponentAt (entry, screenPosition.x, screenPosition.y);
    return entry.getEnteredSeconds();
}

} // namespace T730
