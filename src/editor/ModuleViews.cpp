#include "editor/ModuleViews.h"

#include "editor/Controls.h"
#include "editor/ModuleDescription.h"
#include "editor/TypeUI.h"
#include "engine/FxChain.h"
#include "engine/TypeLib.h"

namespace T730
{

namespace
{
    std::unique_ptr<CtrlBase> makeOfKind (const SE_CtrlDesc& d, const juce::String& key, int defaultStep,
                                          const juce::File& resources)
    {
        const auto& kind = d.kind;
        if (kind == "Knob")
            return std::make_unique<Knob> (key, d.img, d.index, d.prm, defaultStep, resources);
        if (kind == "Led")
            return std::make_unique<Led> (key, d.img, d.index, d.prm, defaultStep, resources, d.onIfNotMin);
        if (kind == "PushKey")
            return std::make_unique<FootSW> (key, d.img, d.index, d.prm, defaultStep, resources);
        if (kind == "Slider")
            return std::make_unique<OxSlider> (key, d.img, d.index, d.prm, defaultStep, resources, d.slWidth, d.slHeight);
        if (kind == "LedSlider")
            return std::make_unique<OxLedSlider> (key, d.img, d.index, d.prm, defaultStep, resources, d.slWidth, d.slHeight);
        if (kind == "ImgKey")
            return std::make_unique<ImgKey> (key, d.img, d.index, d.prm, defaultStep, resources);
        if (kind == "ImgPrm")
            return std::make_unique<ImgPrm> (key, d.img, d.index, d.prm, defaultStep, resources);
        if (kind == "LedT" || kind == "Toggle")
        {
            std::unique_ptr<ToggleLed> toggle;
            if (kind == "LedT")
                toggle = std::make_unique<ToggleLed> (key, d.img, d.index, d.prm, defaultStep, resources);
            else
                toggle = std::make_unique<ToggleSW> (key, d.img, d.index, d.prm, defaultStep, resources);
            toggle->setParamOfIndex (d.paramOfIndex);
            return toggle;
        }
        if (kind == "Tap")
            return std::make_unique<OxTap> (key, d.img, d.index, d.prm, defaultStep, resources);
        if (kind == "IncKey")
            return std::make_unique<IncKey> (key, d.img, d.index, d.prm, defaultStep, resources, d.delta);
        if (kind == "NInputKey")
            return std::make_unique<TimeInputBtn> (key, d.img, d.index, d.prm, defaultStep, resources);
        return {};
    }
} // namespace

std::unique_ptr<CtrlBase> createControl (TypeLib& node, int layoutIndex)
{
    auto* element = node.getCtrlLayout (layoutIndex);
    if (element == nullptr)
        return {};

    const auto d = readCtrlDesc (*element);

    // A node without a live object learns its parameters from its controls.
    if (node.getEffect() == nullptr)
        node.describeParameter (*element);

    const int defaultStep = node.valueToStep (d.prm, node.getDefaultValue (d.prm));
    auto control = makeOfKind (d, node.getName(), defaultStep, node.getResourceFolder());
    if (control == nullptr)
        return {};

    control->setBounds (d.rect);
    control->setMaxStep (node.getMaxStep (d.prm));
    control->setStep (node.getStep (d.prm, true));

    if (d.prm2 != -1)
    {
        control->setSecondParameter (d.prm2, node.getMaxStep (d.prm2));
        control->setSecondStep (node.getStep (d.prm2, true));
    }

    if (d.max != -1)
        control->setLastFrame (d.frameCount() - 1);
    control->setCentre ({ (float) d.centerX, (float) d.centerY });
    control->subControl = d.subCtrl;
    control->noTooltip = d.disableToolTip;
    control->initOnCtrlClick = d.initWhenCtrlClick;

    for (const auto& area : d.areas)
        control->addHitArea ({ area.rect, area.radius, area.isCircle });

    return control;
}

TypeUI* viewOf (TypeLib& node)
{
    return dynamic_cast<TypeUI*> (node.getView());
}

bool buildViewAt (TypeLib& node, FxChain& chain, int index)
{
    if (! node.loadLayout() || node.getLayout() == nullptr)
        return false;

    auto* view = viewOf (node);
    if (view == nullptr)
    {
        auto made = std::make_unique<TypeUI> (node, &chain, *node.getLayout());
        view = made.get();
        node.setView (std::move (made));
    }

    chain.replace (index, view, std::make_unique<FxState>());
    return true;
}

bool buildView (TypeLib& node, FxChain& chain)
{
    const juce::ScopedLock sl (chain.getLock());
    return buildViewAt (node, chain, chain.length());
}

} // namespace T730
