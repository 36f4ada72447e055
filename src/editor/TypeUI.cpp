#include "editor/TypeUI.h"

#include "editor/ModuleDescription.h"
#include "editor/ModulePictures.h"
#include "editor/ModuleViews.h"
#include "engine/TypeLib.h"

namespace T730
{

namespace
{
    /** Where the first input jack of every module stands on the floor. */
    constexpr int jackRow = 42;
}

TypeUI::TypeUI (TypeLib& node, FxChain* owningChain, const juce::XmlElement& description)
    : NetListView (node), module (node), chain (owningChain)
{
    const auto layout = readModuleLayout (description);

    if (layout.hasTotal)
    {
        picture = getModulePicture (node.getResourceFolder(), node.getName(), layout.picture);
        const int w = layout.width != 0 ? layout.width : picture.getWidth();
        const int h = layout.height != 0 ? layout.height : picture.getHeight();
        moduleBounds = { 0, 0, juce::jmax (0, w), juce::jmax (0, h) };

        for (const auto& jack : layout.inputs)
        {
            inputPlugs.push_back (SE_ModuleLayout::plugRect (jack));
            inputAreas.push_back (SE_ModuleLayout::inputArea (jack));
        }
        for (const auto& jack : layout.outputs)
        {
            outputPlugs.push_back (SE_ModuleLayout::plugRect (jack));
            outputAreas.push_back (SE_ModuleLayout::outputArea (jack));
        }
        hasInput = ! layout.inputs.empty();
        hasOutput = ! layout.outputs.empty();
        if (hasInput)
            firstInput = layout.inputs.front();
        if (hasOutput)
            firstOutput = layout.outputs.front();
        if (hasInput && hasOutput)
            bodyBounds = { firstInput.x, 0, juce::jmax (0, firstOutput.x - firstInput.x), moduleBounds.getHeight() };

        zoomArea = layout.zoomArea;
        typeChangeArea = layout.typeChangeArea;
    }

    if (auto* ctrls = description.getChildByName ("Ctrls"))
    {
        for (auto* ctrl : ctrls->getChildWithTagNameIterator ("Ctrl"))
        {
            if (auto control = createControl (node, ctrl->getIntAttribute ("index", 0)))
            {
                control->setOwner (this);
                controls.push_back (std::move (control));
            }
        }
    }
}

TypeUI::~TypeUI() = default;

const juce::String& TypeUI::getKey() const
{
    return module.getName();
}

int TypeUI::getRowWidth() const noexcept
{
    return hasInput && hasOutput ? bodyBounds.getWidth() : moduleBounds.getWidth();
}

//==============================================================================
void TypeUI::ctrlValueChanged (CtrlBase& control)
{
    module.setStep (control.getParameter(), control.getStep(), true);
    refreshOthers (control);
}

void TypeUI::ctrlTapped (CtrlBase& control)
{
    module.tap (control.getParameter(), true);
    refreshOthers (control);
}

void TypeUI::ctrlTimeEntered (CtrlBase& control, double seconds)
{
    module.setFromSeconds (control.getParameter(), seconds);
    refreshOthers (control);
}

bool TypeUI::getParamText (int index, juce::String& text)
{
    return module.getParamText (index, text);
}

bool TypeUI::getStepText (int index, int step, juce::String& text)
{
    return module.getStepText (index, step, text);
}

void TypeUI::refreshOthers (const CtrlBase& changed)
{
    for (auto& c : controls)
        if (c.get() != &changed)
            refreshControl (*c);
}

void TypeUI::refreshControl (CtrlBase& control)
{
    control.setStep (module.getStep (control.getParameter(), true));
    if (control.getSecondParameter() >= 0)
        control.setSecondStep (module.getStep (control.getSecondParameter(), true));
}

void TypeUI::refreshControls (bool refresh)
{
    if (! refresh)
        return;
    for (auto& c : controls)
        refreshControl (*c);
}

//==============================================================================
void TypeUI::paint (juce::Graphics& g)
{
    if (picture.isValid())
        g.drawImageAt (picture, moduleBounds.getX(), moduleBounds.getY());
    for (auto& c : controls)
        c->draw (g);
}

int TypeUI::paintChanged (juce::Graphics& g, const AreaPreparer& prepareArea)
{
    // The controls to redraw are chosen first: drawing a neighbour clipped
    // must not hide that it changed too.
    std::vector<CtrlBase*> changed;
    for (auto& c : controls)
        if (c->getFrameIndex() != c->getDrawnFrame())
            changed.push_back (c.get());

    for (auto* c : changed)
    {
        const auto area = c->getBounds();
        if (area.isEmpty())
        {
            c->draw (g);
            continue;
        }

        if (prepareArea)
            prepareArea (area);

        if (picture.isValid())
        {
            const auto source = area - moduleBounds.getPosition();
            g.drawImage (picture, area.getX(), area.getY(), area.getWidth(), area.getHeight(), source.getX(),
                         source.getY(), area.getWidth(), area.getHeight());
        }

        for (auto& other : controls)
        {
            if (other.get() == c)
            {
                c->draw (g);
            }
            else if (other->getBounds().intersects (area))
            {
                juce::Graphics::ScopedSaveState saved (g);
                g.reduceClipRegion (area);
                other->draw (g, false);
            }
        }
    }
    return (int) changed.size();
}

//==============================================================================
CtrlBase* TypeUI::controlAt (int x, int y) const
{
    for (auto i = controls.size(); i-- > 0;)
        if (controls[i]->isInteractive() && controls[i]->hitTest (x, y))
            return controls[i].get();
    return nullptr;
}

void TypeUI::moveTo (int x)
{
    const juce::Point<int> anchor = hasInput ? firstInput : juce::Point<int>();
    const juce::Point<int> position (x - anchor.x, jackRow - anchor.y);
    const auto delta = position - moduleBounds.getPosition();

    for (auto& c : controls)
        c->moveBy (delta);
    typeChangeArea += delta;
    moduleBounds.setPosition (position);
    bodyBounds.setPosition (position.x + firstInput.x, position.y);
    laidOut = true;
}

juce::String TypeUI::tooltipFor (const CtrlBase& control)
{
    if (control.noTooltip)
        return {};
    juce::String text;
    module.getParamText (control.getParameter(), text);
    return text;
}

CtrlBase* TypeUI::getControl (int position) const noexcept
{
    return juce::isPositiveAndBelow (position, (int) controls.size()) ? controls[(size_t) position].get() : nullptr;
}

CtrlBase* TypeUI::findControlByNumber (int number) const noexcept
{
    for (auto& c : controls)
        if (c->getControlNumber() == number)
            return c.get();
    return nullptr;
}

int TypeUI::indexOf (const CtrlBase* control) const noexcept
{
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == control)
            return (int) i;
    return -1;
}

} // namespace T730
