#include "editor/CtrlBase.h"

#include "editor/ModuleDescription.h"
#include "editor/ModulePictures.h"

namespace T730
{

CtrlBase::CtrlBase (const juce::String& module, const juce::String& pictureBase, int number, int prm,
                    int defaultStepOfParameter, int last, bool takesMouse, const juce::File& resourceFolder)
    : moduleName (module), pictureName (pictureBase), resources (resourceFolder), controlNumber (number),
      parameter (prm), defaultStep (defaultStepOfParameter), lastFrame (last), interactive (takesMouse)
{
}

int CtrlBase::getFrameIndex() const
{
    if (maxStep <= 0)
        return 0;
    return (int) ((juce::int64) lastFrame * step / maxStep);
}

void CtrlBase::mouseDown (const CtrlMouse&) {}
void CtrlBase::mouseDrag (const CtrlMouse&) {}
void CtrlBase::mouseUp (const CtrlMouse&) {}

void CtrlBase::preparePicture()
{
    picture = loadFrame (getFrameIndex());
}

juce::Image CtrlBase::loadFrame (int frame) const
{
    return loadNamed (SE_CtrlDesc::framePictureName (pictureName, frame));
}

juce::Image CtrlBase::loadNamed (const juce::String& name) const
{
    if (pictureName.isEmpty())
        return {};
    return getModulePicture (resources, moduleName, name);
}

void CtrlBase::draw (juce::Graphics& g, bool rememberFrame)
{
    const int frame = getFrameIndex();
    if (frame != preparedFrame)
    {
        preparePicture();
        preparedFrame = frame;
    }

    const auto image = getPicture();
    if (image.isValid())
    {
        const int w = juce::jmin (bounds.getWidth(), image.getWidth());
        const int h = juce::jmin (bounds.getHeight(), image.getHeight());
        if (w > 0 && h > 0)
            g.drawImage (image, bounds.getX(), bounds.getY(), w, h, 0, 0, w, h);
    }
    if (rememberFrame)
        drawnFrame = frame;
}

bool CtrlBase::hitTest (int x, int y) const
{
    if (areas.empty())
        return bounds.contains (x, y);

    const auto ownerBounds = owner != nullptr ? owner->getOwnerBounds() : juce::Rectangle<int>();
    for (const auto& area : areas)
    {
        if (area.isCircle)
        {
            const double dx = (double) x - centre.x - bounds.getX();
            const double dy = (double) y - centre.y - bounds.getY();
            if (dx * dx + dy * dy <= (double) area.radius * area.radius)
                return true;
        }
        else if ((area.rect + ownerBounds.getPosition()).contains (x, y))
        {
            return true;
        }
    }
    return false;
}

void CtrlBase::setStep (int newStep) noexcept
{
    step = juce::jlimit (0, juce::jmax (0, maxStep), newStep);
}

void CtrlBase::setMaxStep (int newMax) noexcept
{
    maxStep = juce::jmax (0, newMax);
    setStep (step);
}

void CtrlBase::setSecondStep (int newStep) noexcept
{
    step2 = juce::jlimit (0, juce::jmax (0, maxStep2), newStep);
}

void CtrlBase::setSecondParameter (int prm2, int max2) noexcept
{
    parameter2 = prm2;
    maxStep2 = prm2 < 0 ? -1 : juce::jmax (0, max2);
    setSecondStep (step2);
}

bool CtrlBase::armOnPress (const CtrlMouse& e)
{
    if (! isInteractive() || ! e.isLeft())
        return false;

    if (e.isCtrl())
    {
        if (initOnCtrlClick)
            changeStepAndNotify (getDefaultStep());
        return false;
    }
    return true;
}

bool CtrlBase::releasedOnKey (const CtrlMouse& e, bool wasArmed) const
{
    return wasArmed && isInteractive() && e.isLeft() && hitTest (e.x, e.y);
}

void CtrlBase::changeStepAndNotify (int newStep)
{
    setStep (newStep);
    notifyChanged();
}

void CtrlBase::notifyChanged()
{
    if (owner != nullptr)
        owner->ctrlValueChanged (*this);
}

} // namespace T730
