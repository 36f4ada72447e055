// The editor section: its construction, the chain built from the edit buffer,
// the messages from the device and the pictures of the drawing thread. The
// mouse, the tooltip, the scroll buttons and the type menu are in
// SectionEditorMouse.cpp.
#include "editor/SectionEditor.h"

#include "app/ControllerRequest.h"
#include "app/InstContMes.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "device/MidiRecvEv.h"
#include "documents/Project.h"
#include "editor/ModuleViews.h"
#include "editor/TypeUI.h"
#include "engine/DspLoader.h"
#include "engine/TypeLib.h"
#include "ui/ControllerLink.h"
#include "ui/OxCursors.h"
#include "ui/ToolTipEx.h"

namespace T730
{

namespace
{
    void setButtonImages (juce::DrawableButton& button, art::Picture normal, art::Picture down)
    {
        auto up = makeDrawable (art::getImage (normal));
        auto pressed = makeDrawable (art::getImage (down));
        button.setImages (up.get(), up.get(), pressed.get());
    }

    const SE_ModuleInfo emptyInfo;
} // namespace

SectionEditor::SectionEditor (ControllerLink& c) : controller (c)
{
    const auto& b = layout::editorSection;
    setBounds (b.x, b.y, b.w, b.h);
    setWantsKeyboardFocus (true);
    setOpaque (true);

    for (auto* button : { &leftButton, &rightButton })
    {
        button->setSize (27, 30);
        button->setWantsKeyboardFocus (false);
        button->addListener (this);
        button->setExitListener (this);
        addChildComponent (*button);
    }
    setButtonImages (leftButton, art::Picture::fxLeft, art::Picture::fxLeftDown);
    setButtonImages (rightButton, art::Picture::fxRight, art::Picture::fxRightDown);

    catalogue = readModuleCatalogue (DspLoader::getDefaultResourceFolder().getChildFile ("Module.xml"));

    floor = std::make_unique<FloorThread> (chain, static_cast<FloorHost&> (*this), getWidth(), getHeight());
    resized();
    floor->start();

    runTypeMenu = [] (juce::PopupMenu& menu)
    {
#if JUCE_MODAL_LOOPS_PERMITTED
        return menu.show();
#else
        juce::ignoreUnused (menu);
        return 0;
#endif
    };

    updateSection();
}

SectionEditor::~SectionEditor()
{
    // The drawing thread ends before anything it draws goes.
    floor->stop();
    floor->clearQueue();
    hideTooltip();
    removeAllChildren();
    {
        const juce::ScopedLock sl (chain.getLock());
        clearPointerState();
        chain.clear();
    }
    floor.reset();
    OxCursors::deleteInstance();
}

//==============================================================================
void SectionEditor::paint (juce::Graphics& g)
{
    // Cleared before the picture is read: a picture finished from here on asks again.
    repaintPosted = false;
    if (floor->hasShownPicture())
        floor->paintShown (g);
    else
        g.fillAll (juce::Colour (0xff17181c));
}

void SectionEditor::resized()
{
    leftButton.setTopLeftPosition (8, getHeight() - 31);
    rightButton.setTopLeftPosition (618, getHeight() - 31);
    if (floor != nullptr)
        floor->setSectionSize (getWidth(), getHeight());
}

void SectionEditor::floorRendered()
{
    if (! repaintPosted.exchange (true))
        controller.postRepaint (sectionEditor);
}

void SectionEditor::postTooltipRefresh()
{
    if (! std::exchange (tooltipRefreshPosted, true))
        controller.postTooltipUpdate();
}

//==============================================================================
EditBuf SectionEditor::copyEditBuffer() const
{
    return EditBuf (controller.getCurrentProject().editBuffer);   // the copy takes the buffer's lock
}

TypeUI* SectionEditor::getView (int slot) const
{
    return dynamic_cast<TypeUI*> (chain.getView (slot));
}

const SE_ModuleInfo& SectionEditor::getInfo (int slot) const
{
    return juce::isPositiveAndBelow (slot, EditorSlots::numInfos) ? infos[(size_t) slot] : emptyInfo;
}

void SectionEditor::updateSection()
{
    rebuildChain();
    OxSection::updateSection();
}

void SectionEditor::clearPointerState()
{
    pointer = {};
    pointer.lastPosition = { -1, -1 };
}

void SectionEditor::rebuildChain()
{
    floor->clearQueue();
    const auto buffer = copyEditBuffer();
    {
        const juce::ScopedLock sl (chain.getLock());
        clearPointerState();

        infos.fill ({});
        cabinet = EditorSlots::cabinetOf (buffer.getParam (4, 2));
        for (int category = 1; category <= 10; ++category)
        {
            const auto info = EditorSlots::moduleInfo (category, buffer, catalogue, cabinet);
            const int slot = EditorSlots::slotOfCategory (category);
            if (info.name.isNotEmpty() && slot >= 0)
                infos[(size_t) slot] = info;
        }

        // One entry per slot, so that every view keeps the index of its slot. A
        // slot whose type stayed keeps its module, started again from its
        // defaults as a new one would be (its description is not read again).
        if (chain.length() != EditorSlots::numSlots)
            chain.clear();
        for (int slot = 0; slot < EditorSlots::numSlots; ++slot)
        {
            auto* old = getView (slot);
            auto* view = old != nullptr && old->getKey() == infos[(size_t) slot].key ? old : buildSlot (slot);
            if (view == old && view != nullptr)
                view->getModule().resetToDefaults();
            if (view != nullptr)
                applyToSlot (slot, buffer);
        }
    }
    floor->queue (FloorThread::layoutAll);
}

TypeUI* SectionEditor::buildSlot (int slot)
{
    const auto& info = infos[(size_t) slot];
    TypeUI* view = nullptr;

    if (info.key.isNotEmpty())
    {
        auto* node = new TypeLib (info.key, nullptr, false, true);
        if (node->isLayoutLoaded() && buildViewAt (*node, chain, slot))
            view = viewOf (*node);
        else
            delete node;
    }

    if (view == nullptr)
        chain.replace (slot, nullptr, nullptr);
    return view;
}

TypeUI* SectionEditor::rebuildSlot (int slot)
{
    auto* old = getView (slot);
    if (old != nullptr && old->getKey() == infos[(size_t) slot].key)
        return old;

    floor->forgetView (old);
    if (pointer.last.view == old || pointer.pressed.view == old)
        clearPointerState();
    return buildSlot (slot);
}

void SectionEditor::applyToSlot (int slot, const EditBuf& buffer)
{
    if (auto* view = getView (slot))
    {
        EditorSlots::applyEditBuffer (view->getModule(), EditorSlots::categoryOfSlot (slot), view->getKey(), buffer);
        view->refreshControls (true);
    }
}

//==============================================================================
void SectionEditor::deviceMessageReceived (const MidiRecvEv& message)
{
    if (message.getKind() == MidiRecvEv::editBuffer)
    {
        hideTooltip();
        tooltipShown = false;
        postTooltipRefresh();
        updateSection();
        controller.request (MarkEdited);
        return;
    }

    if (message.getKind() != MidiRecvEv::parameterChange)
        return;

    const auto& change = static_cast<const MidiRecvPrmChg&> (message);
    applyDeviceParameter (change.module, change.parameter, change.value);

    if (! (change.module == 0 && change.parameter == 3))
    {
        controller.request (MarkEdited);
        postTooltipRefresh();
    }
}

void SectionEditor::setDeviceStep (int slot, int prm, int step)
{
    if (auto* view = getView (slot))
    {
        view->getModule().setStep (prm, step, true);
        view->refreshControls (true);
        floor->queue (FloorThread::redrawControls, view);
    }
}

void SectionEditor::applyDeviceParameter (int m, int p, int v)
{
    const juce::ScopedLock sl (chain.getLock());

    switch (m)
    {
        case 1:
            if (p == 2 || p == 0)
                setDeviceStep (0, p, v);
            break;

        case 2:
            if (p == 3 || p == 0)
            {
                auto* drive = getView (2);
                const bool model = drive != nullptr && drive->getKey() == EditorSlots::ampCover;
                setDeviceStep (model ? 6 : 2, p, v);
            }
            break;

        case 3:
            if (p >= 2 && p <= 4)
                setDeviceStep (6, p + 2, v);
            else if (p == 0)
                setDeviceStep (6, 1, v);
            break;

        case 4:
            if (p == 2)
            {
                if (v % 10 != 0)
                    setDeviceStep (1, 2, v % 10 - 1);
                cabinetChanged (EditorSlots::cabinetOf (v));
                setDeviceStep (1, 0, v % 10 != 0 ? 1 : 0);
            }
            else if (p == 0)
            {
                setDeviceStep (1, 0, v);
                cabinetChanged (v == 0 ? 0 : cabinet);
            }
            break;

        case 5:
        case 6:
            if (p == 2 || p == 0)
                setDeviceStep (m == 5 ? 3 : 4, p, v);
            else if (p == 3)
                if (auto* view = getView (m == 5 ? 3 : 4))
                    setDeviceStep (m == 5 ? 3 : 4, 3, EditorSlots::timeStepFromDevice (m, view->getKey(), v, view->getModule()));
            break;

        case 7:
            if (p == 2 || p == 3 || p == 0)
                setDeviceStep (5, p, v);
            break;

        default:
            break;
    }
}

void SectionEditor::cabinetChanged (int newCabinet)
{
    const bool changed = newCabinet != cabinet;
    cabinet = newCabinet;

    const auto info = EditorSlots::moduleInfo (9, copyEditBuffer(), catalogue, cabinet);
    if (! changed && info == infos[7])
        return;

    infos[7] = info;
    if (rebuildSlot (7) != nullptr)
        applyToSlot (7, copyEditBuffer());
    floor->queue (FloorThread::layoutAll);
}

//==============================================================================
bool SectionEditor::storeAndSend (int module, int param, int value)
{
    {
        auto& buffer = controller.getCurrentProject().editBuffer;
        const juce::ScopedLock sl (buffer.lock);
        if (buffer.getParam (module, param) == value)
            return false;
        buffer.setParam (module, param, value);
    }

    int record[3] = { module, param, value };
    controller.request (SendParameterChange, 0, 0, record);
    return true;
}

void SectionEditor::sendControlChange (int slot, CtrlBase& control)
{
    auto* view = getView (slot);
    if (view == nullptr)
        return;

    for (const auto& w : EditorSlots::controlToDevice (slot, view->getKey(), control.getParameter(), control.getStep(),
                                                       view->getModule(), cabinet))
        if (storeAndSend (w.module, w.param, w.value))
            pointer.changedSincePress = true;
}

} // namespace T730
