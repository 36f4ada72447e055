#include "editor/SectionPedalAssign.h"

#include "app/ControllerRequest.h"
#include "app/InstContMes.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "device/MidiRecvEv.h"
#include "documents/Project.h"
#include "engine/DspLoader.h"
#include "ui/ControllerLink.h"
#include "ui/OxButtons.h"
#include "ui/ToolTipEx.h"

namespace T730
{

namespace
{
    constexpr int levelModule = 0, levelParam = 2;

    const art::Picture lampPictures[6] = { art::Picture::assignLamp1, art::Picture::assignLamp2,
                                           art::Picture::assignLamp3, art::Picture::assignLamp4,
                                           art::Picture::assignLamp5, art::Picture::assignLamp6 };
} // namespace

SectionPedalAssign::SectionPedalAssign (ControllerLink& c)
    : controller (c), levelKnob ("Assigner", "M-", 0, levelParam, 0, DspLoader::getDefaultResourceFolder())
{
    const auto& b = layout::pedalAssignSection;
    setBounds (b.x, b.y, b.w, b.h);

    levelKnob.setBounds (knobBounds);
    levelKnob.setMaxStep (maxLevel);

    auto normal = makeDrawable (art::getImage (art::Picture::assignButton));
    auto down = makeDrawable (art::getImage (art::Picture::assignButtonDown));
    assignButton.setImages (normal.get(), normal.get(), down.get());
    assignButton.setBounds (3, 107, 45, 38);
    assignButton.setWantsKeyboardFocus (false);
    assignButton.addListener (this);
    addAndMakeVisible (assignButton);

    for (int i = 0; i < 6; ++i)
        lamps[i] = art::getImage (lampPictures[i]);

    updateSection();
}

SectionPedalAssign::~SectionPedalAssign()
{
    hideTooltip();
    assignButton.removeListener (this);
}

int SectionPedalAssign::targetOfValue (int value, int current) noexcept
{
    if (value == 0)
        return 7;
    if (value >= 1 && value <= 7)
        return value - 1;
    return current;
}

juce::String SectionPedalAssign::levelText (int step)
{
    return "Patch Level : " + juce::String (step * 2 + 2);
}

void SectionPedalAssign::paint (juce::Graphics& g)
{
    levelKnob.draw (g);
    if (targetIndex >= 0 && targetIndex < 6 && lamps[targetIndex].isValid())
        g.drawImageAt (lamps[targetIndex], lampX, lampY);
}

void SectionPedalAssign::updateSection()
{
    {
        auto& buffer = controller.getCurrentProject().editBuffer;
        const juce::ScopedLock sl (buffer.lock);
        levelKnob.setStep (buffer.getParam (levelModule, levelParam));
        targetIndex = targetOfValue (buffer.getParam (EditBuf::assignTargetModule, EditBuf::assignTargetParam), targetIndex);
    }
    shownLevel = levelKnob.getStep();
    OxSection::updateSection();
}

void SectionPedalAssign::deviceMessageReceived (const MidiRecvEv& message)
{
    if (message.getKind() == MidiRecvEv::parameterChange)
    {
        const auto& change = static_cast<const MidiRecvPrmChg&> (message);
        if (change.module == levelModule && change.parameter == levelParam)
        {
            levelKnob.setStep (change.value);
            shownLevel = levelKnob.getStep();
        }
        else if (change.module == EditBuf::assignTargetModule && change.parameter == EditBuf::assignTargetParam)
        {
            targetIndex = targetOfValue (change.value, targetIndex);
        }
        else
        {
            return;
        }
    }
    else if (message.getKind() == MidiRecvEv::editBuffer)
    {
        const auto& whole = static_cast<const MidiRecvEditBuf&> (message).buffer;
        const juce::ScopedLock sl (whole.lock);
        targetIndex = targetOfValue (whole.getParam (EditBuf::assignTargetModule, EditBuf::assignTargetParam), targetIndex);
        levelKnob.setStep (whole.getParam (levelModule, levelParam));
        shownLevel = levelKnob.getStep();
    }
    else
    {
        return;
    }

    controller.postRepaint (sectionPedalAssign);
}

//==============================================================================
CtrlMouse SectionPedalAssign::toKnob (const juce::MouseEvent& e) const
{
    return { e.x, e.y, e.mods };
}

void SectionPedalAssign::mouseDown (const juce::MouseEvent& e)
{
    knobPressed = knobHitArea.contains (e.getPosition()) && e.mods.isLeftButtonDown();
    if (knobPressed)
        levelKnob.mouseDown (toKnob (e));
}

void SectionPedalAssign::mouseDrag (const juce::MouseEvent& e)
{
    if (! knobPressed)
    {
        hideTooltip();
        return;
    }

    levelKnob.mouseDrag (toKnob (e));
    shownLevel = levelKnob.getStep();

    bool changed = false;
    {
        auto& buffer = controller.getCurrentProject().editBuffer;
        const juce::ScopedLock sl (buffer.lock);
        if (buffer.getParam (levelModule, levelParam) != shownLevel)
        {
            buffer.setParam (levelModule, levelParam, shownLevel);
            changed = true;
        }
    }
    if (changed)
    {
        int record[3] = { levelModule, levelParam, shownLevel };
        controller.request (SendParameterChange, 0, 0, record);
        levelEdited = true;
    }
    showLevelTooltip (e);
    repaint();
}

void SectionPedalAssign::mouseUp (const juce::MouseEvent& e)
{
    if (knobPressed)
        levelKnob.mouseUp (toKnob (e));
    knobPressed = false;
    hideTooltip();
    if (levelEdited)
    {
        levelEdited = false;
        controller.request (RecordUndoAndMarkEdited);
    }
}

void SectionPedalAssign::mouseMove (const juce::MouseEvent& e)
{
    if (knobHitArea.contains (e.getPosition()))
        showLevelTooltip (e);
    else
        hideTooltip();
}

void SectionPedalAssign::mouseExit (const juce::MouseEvent&)
{
    hideTooltip();
}

void SectionPedalAssign::showLevelTooltip (const juce::MouseEvent& e)
{
    auto* tip = ToolTipEx::getInstance();
    if (tip == nullptr)
        return;
    const auto text = levelText (shownLevel);
    if (tip->getText() != text)
        tip->setText (text);
    if (! tooltipShown)
    {
        const auto screen = e.getScreenPosition();
        tip->placeAt (screen.x, screen.y);
        tip->showTip();
        tooltipShown = true;
    }
}

void SectionPedalAssign::hideTooltip()
{
    if (! tooltipShown)
        return;
    if (auto* tip = ToolTipEx::getInstance())
        tip->hideTip();
    tooltipShown = false;
}

void SectionPedalAssign::buttonClicked (juce::Button* button)
{
    if (button != &assignButton)
        return;

    targetIndex = targetIndex + 1 > 6 ? 0 : targetIndex + 1;
    const int value = valueOfTarget (targetIndex);
    {
        auto& buffer = controller.getCurrentProject().editBuffer;
        const juce::ScopedLock sl (buffer.lock);
        buffer.setParam (EditBuf::assignTargetModule, EditBuf::assignTargetParam, value);
    }
    int record[3] = { EditBuf::assignTargetModule, EditBuf::assignTargetParam, value };
    controller.request (SendParameterChange, 0, 0, record);
    controller.request (RecordUndoAndMarkEdited);
    repaint();
}

} // namespace T730
