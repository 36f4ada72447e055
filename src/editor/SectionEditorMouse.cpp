// The editor section's pointer: hit tests, the cursors and the tooltip, the
// presses, drags and releases on controls and on the bare floor, the scroll
// buttons and the type menu of a unit.
#include "editor/SectionEditor.h"

#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "editor/Controls.h"
#include "editor/TypeUI.h"
#include "engine/TypeLib.h"
#include "ui/ControllerLink.h"
#include "ui/OxCursors.h"
#include "ui/ToolTipEx.h"

namespace T730
{

namespace
{
    enum CursorNumber
    {
        normalCursor = 0,
        dragCursor = 2,
        floorCursor = 3,
        controlCursor = 4,
        typeCursor = 6
    };

    constexpr int offItem = 100;
} // namespace

//==============================================================================
SectionEditor::Hit SectionEditor::hitTestFloor (juce::Point<int> p) const
{
    const juce::ScopedLock sl (chain.getLock());
    Hit hit;

    for (int slot = 0, n = chain.length(); slot < n; ++slot)
    {
        auto* view = getView (slot);
        if (view == nullptr)
            continue;
        if (! view->isLaidOut())
            break;
        if (view->getBodyBounds().contains (p))
        {
            hit.kind = Hit::onModule;
            hit.view = view;
            hit.slot = slot;
        }
    }

    if (hit.view != nullptr)
    {
        if (auto* control = hit.view->controlAt (p.x, p.y))
        {
            hit.kind = Hit::onControl;
            hit.control = control;
        }
        else if (hit.view->getTypeChangeArea().contains (p))
        {
            hit.kind = Hit::onTypeArea;
        }
    }
    return hit;
}

SectionEditor::Hit SectionEditor::hitTestSection (juce::Point<int> p) const
{
    return hitTestFloor (floor->getGeometry().sectionToFloor (p));
}

CtrlMouse SectionEditor::toControlMouse (const juce::MouseEvent& e) const
{
    const auto at = floor->getGeometry().sectionToFloor (e.getPosition());
    return { at.x, at.y, e.mods };
}

void SectionEditor::setCursorNumber (int number)
{
    if (auto* cursors = OxCursors::getInstance())
        setMouseCursor (cursors->getCursor (number));
}

//==============================================================================
void SectionEditor::showTooltipFor (CtrlBase& control, TypeUI& view, juce::Point<int> screen, bool place)
{
    auto* tip = ToolTipEx::getInstance();
    if (tip == nullptr)
        return;

    const auto text = view.tooltipFor (control);
    if (text.isEmpty())
    {
        hideTooltip();
        return;
    }
    if (text != tip->getText())
        tip->setText (text);
    if (place || ! tooltipShown)
        tip->placeAt (screen.x, screen.y);
    tip->showTip();
    tooltipShown = tip->isVisible();
}

void SectionEditor::hideTooltip()
{
    if (auto* tip = ToolTipEx::getInstance())
        tip->hideTip();
    tooltipShown = false;
}

void SectionEditor::updateTooltip()
{
    tooltipRefreshPosted = false;
    auto* tip = ToolTipEx::getInstance();
    if (tip == nullptr)
        return;

    if (! tooltipShown || pointer.hovered == nullptr)
    {
        tip->hideTip();
        return;
    }

    const juce::ScopedLock sl (chain.getLock());
    const auto hit = hitTestFloor (floor->getGeometry().sectionToFloor (pointer.lastPosition));
    if (hit.control != pointer.hovered || hit.view == nullptr)
        return;
    const auto text = hit.view->tooltipFor (*hit.control);
    if (text != tip->getText())
    {
        tip->setText (text);
        tip->repaint();
    }
}

//==============================================================================
void SectionEditor::mouseMove (const juce::MouseEvent& e)
{
    if (e.getPosition() == pointer.lastPosition)
        return;
    pointer.lastPosition = e.getPosition();

    const juce::ScopedLock sl (chain.getLock());
    const auto hit = hitTestSection (e.getPosition());
    pointer.last = hit;

    switch (hit.kind)
    {
        case Hit::onFloor:
            setCursorNumber (floorCursor);
            break;
        case Hit::onModule:
            setCursorNumber (normalCursor);
            break;
        case Hit::onControl:
            setCursorNumber (controlCursor);
            if (! tooltipShown || pointer.hovered != hit.control)
                showTooltipFor (*hit.control, *hit.view, e.getScreenPosition(), true);
            break;
        case Hit::onTypeArea:
            setCursorNumber (EditorSlots::categoryOfSlot (hit.slot) == 4 ? normalCursor : typeCursor);
            break;
        default:
            break;
    }

    if (hit.kind != Hit::onControl && tooltipShown)
        hideTooltip();
    pointer.hovered = hit.kind == Hit::onControl ? hit.control : nullptr;
}

void SectionEditor::afterControlEvent (const Hit& hit)
{
    floor->queue (FloorThread::redrawControls, hit.view);
    sendControlChange (hit.slot, *hit.control);
}

void SectionEditor::mouseDown (const juce::MouseEvent& e)
{
    if (! e.mods.isLeftButtonDown())
        return;

    pointer.viewAtPress = floor->getGeometry().view;
    pointer.pressPosition = e.getPosition();
    pointer.lastPosition = e.getPosition();
    pointer.floorDrag = false;
    pointer.changedSincePress = false;
    pointer.tooltipOnce = false;

    int typeSlot = -1;
    {
        const juce::ScopedLock sl (chain.getLock());
        const auto hit = hitTestSection (e.getPosition());
        pointer.last = hit;

        switch (hit.kind)
        {
            case Hit::onFloor:
                pointer.floorDrag = true;
                setCursorNumber (dragCursor);
                break;

            case Hit::onTypeArea:
                typeSlot = hit.slot;
                break;

            case Hit::onControl:
                pointer.armed = ! e.mods.isCtrlDown();
                pointer.pressed = hit;
                hit.control->mouseDown (toControlMouse (e));
                afterControlEvent (hit);
                pointer.hovered = hit.control;
                showTooltipFor (*hit.control, *hit.view, e.getScreenPosition(), false);
                break;

            default:
                break;
        }
    }

    // The menu runs modally: nothing found under the pointer is kept across it.
    if (typeSlot >= 0)
        changeType (typeSlot);
}

void SectionEditor::mouseDrag (const juce::MouseEvent& e)
{
    if (! e.mods.isLeftButtonDown())
        return;

    if (pointer.floorDrag)
    {
        const int w = getWidth() != 0 ? getWidth() : 878;
        const auto moved = (juce::int64) (e.getPosition().x - pointer.pressPosition.x) * pointer.viewAtPress.getWidth() / w;
        floor->setViewX (pointer.viewAtPress.getX() - (int) moved);
        setCursorNumber (dragCursor);
        return;
    }

    const juce::ScopedLock sl (chain.getLock());
    auto& pressed = pointer.pressed;
    if (! pointer.armed || pressed.control == nullptr || pressed.view == nullptr)
        return;

    pressed.control->mouseDrag (toControlMouse (e));
    afterControlEvent (pressed);
    showTooltipFor (*pressed.control, *pressed.view, e.getScreenPosition(), ! pointer.tooltipOnce);
    pointer.tooltipOnce = true;
    setCursorNumber (controlCursor);
}

void SectionEditor::mouseUp (const juce::MouseEvent& e)
{
    if (! e.mods.isLeftButtonDown())
        return;

    pointer.floorDrag = false;

    int entrySlot = -1, entryControl = -1;
    bool record = false;
    {
        const juce::ScopedLock sl (chain.getLock());
        const auto pressed = pointer.pressed;
        if (pressed.control != nullptr && pressed.view != nullptr)
        {
            const auto hit = hitTestSection (e.getPosition());
            const bool overSame = hit.control == pressed.control;
            if (tooltipShown && ! overSame)
            {
                setCursorNumber (floorCursor);
                hideTooltip();
            }

            pressed.control->mouseUp (toControlMouse (e));
            afterControlEvent (pressed);
            if (tooltipShown)
                showTooltipFor (*pressed.control, *pressed.view, e.getScreenPosition(), false);

            // A push key released elsewhere did nothing; any other release
            // ends one edit, which is one undo step when it changed the patch.
            record = pointer.changedSincePress && (! pressed.control->isPushKey() || overSame);

            if (auto* entry = dynamic_cast<TimeInputBtn*> (pressed.control); entry != nullptr && entry->takeEntryRequest())
            {
                entrySlot = pressed.slot;
                entryControl = entry->getControlNumber();
            }
        }
        pointer.pressed = {};
        pointer.armed = false;
    }

    if (record)
        controller.request (RecordUndoAndMarkEdited);
    pointer.changedSincePress = false;

    if (entrySlot >= 0)
        runTimeEntryOf (entrySlot, entryControl, e.getScreenPosition());
}

void SectionEditor::runTimeEntryOf (int slot, int controlNumber, juce::Point<int> screen)
{
    const double seconds = TimeInputBtn::runTimeEntry (screen);
    if (seconds <= 0.0)
        return;

    // The chain may have been rebuilt while the entry was open.
    const juce::ScopedLock sl (chain.getLock());
    auto* view = getView (slot);
    auto* control = view != nullptr ? view->findControlByNumber (controlNumber) : nullptr;
    if (control == nullptr)
        return;

    view->ctrlTimeEntered (*control, seconds);
    view->refreshControl (*control);
    pointer.changedSincePress = false;
    afterControlEvent ({ Hit::onControl, view, slot, control });
    if (pointer.changedSincePress)
        controller.request (RecordUndoAndMarkEdited);
    pointer.changedSincePress = false;
}

void SectionEditor::mouseDoubleClick (const juce::MouseEvent& e)
{
    const auto hit = hitTestSection (e.getPosition());
    setCursorNumber (hit.kind == Hit::onFloor ? floorCursor : hit.kind == Hit::onControl ? controlCursor : normalCursor);
}

void SectionEditor::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&)
{
    repaint();
}

void SectionEditor::mouseEnter (const juce::MouseEvent&)
{
    showScrollButtons (true);
}

void SectionEditor::releaseActiveControl()
{
    const juce::ScopedLock sl (chain.getLock());
    auto& pressed = pointer.pressed;
    if (pressed.control != nullptr && pressed.view != nullptr)
    {
        pressed.control->mouseUp ({ -100000, -100000, juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier) });
        floor->queue (FloorThread::redrawControls, pressed.view);
        if (auto* entry = dynamic_cast<TimeInputBtn*> (pressed.control))
            entry->takeEntryRequest();
    }
    pressed = {};
}

void SectionEditor::mouseExit (const juce::MouseEvent& e)
{
    releaseActiveControl();

    const auto inside = getLocalBounds().contains (e.getEventRelativeTo (this).getPosition());
    if (! inside)
    {
        showScrollButtons (false);
        pointer.armed = false;
    }
    hideTooltip();
    pointer.hovered = nullptr;
    setCursorNumber (normalCursor);
}

//==============================================================================
void SectionEditor::showScrollButtons (bool show)
{
    leftButton.setVisible (show);
    rightButton.setVisible (show);
}

void SectionEditor::buttonClicked (juce::Button* button)
{
    if (button == &leftButton)
        floor->scrollBy (-FloorThread::scrollStep);
    else if (button == &rightButton)
        floor->scrollBy (FloorThread::scrollStep);
    repaint();
}

void SectionEditor::pointerLeft (OxDrawableButton&, juce::Point<int> positionInParent)
{
    releaseActiveControl();
    if (! getLocalBounds().contains (positionInParent))
    {
        showScrollButtons (false);
        pointer.armed = false;
    }
    hideTooltip();
    setCursorNumber (normalCursor);
}

//==============================================================================
void SectionEditor::changeType (int slot)
{
    const int category = EditorSlots::categoryOfSlot (slot);
    if (category < 0 || category == 3 || category == 4)
        return;

    const auto* node = EditorSlots::findCategory (catalogue, category);
    if (node == nullptr)
        return;

    bool offTicked = false;
    const int current = EditorSlots::currentTypeIndex (category, copyEditBuffer(), offTicked);

    juce::PopupMenu menu;
    for (int i = 0; i < node->size(); ++i)
    {
        if (category == 2 && node->isModeling (i))
            continue;
        if (category == 8 && ! node->isModeling (i))
            continue;
        menu.addItem (i + 1, node->names[i], true, i == current);
    }
    if (category == 9)
        menu.addItem (offItem, "off", true, offTicked);

    hideTooltip();
    const int choice = runTypeMenu ? runTypeMenu (menu) : 0;
    if (choice < 1)
        return;

    // Whatever the pointer found before the menu may be gone: while the menu
    // ran, the chain can have been rebuilt (a patch from the device, an undo).
    applyTypeChoice (slot, choice);
}

void SectionEditor::applyTypeChoice (int slot, int choice)
{
    const int category = EditorSlots::categoryOfSlot (slot);
    auto& buffer = controller.getCurrentProject().editBuffer;

    {
        const juce::ScopedLock sl (buffer.lock);
        switch (category)
        {
            case 1: case 2: case 5: case 6: case 7:
                buffer.setParam (category, 1, choice - 1);
                break;
            case 8:
                buffer.setParam (2, 1, choice - 1);
                break;
            case 9:
            {
                const int u = buffer.getParam (4, 2) % 10;
                const int number = choice == offItem ? 0 : choice;
                buffer.setParam (4, 2, u + 10 * number);
                break;
            }
            default:
                return;
        }
    }

    floor->clearQueue();
    {
        const juce::ScopedLock sl (chain.getLock());
        if (category == 9)
            cabinet = choice == offItem ? 0 : choice;

        const auto info = EditorSlots::moduleInfo (category, copyEditBuffer(), catalogue, cabinet);
        if (info.name.isEmpty())
            return;
        infos[(size_t) slot] = info;

        // The chosen module starts from its defaults, which become the patch's values.
        if (auto* view = rebuildSlot (slot))
        {
            auto& module = view->getModule();
            module.resetToDefaults();
            auto step = [&module] (int prm) { return module.getStep (prm, true); };

            const juce::ScopedLock bl (buffer.lock);
            switch (category)
            {
                case 1:
                    buffer.setParam (1, 2, step (2));
                    break;
                case 2:
                    if (info.key == EditorSlots::ampCover)
                        buffer.setParam (2, 3, step (3));
                    break;
                case 5: case 6: case 7:
                    buffer.setParam (category, 2, step (2));
                    buffer.setParam (category, 3, EditorSlots::deviceValueOf (slot, info.key, 3, step (3), module, cabinet));
                    break;
                case 8:
                    if (info.key != EditorSlots::cleanPreamp)
                        buffer.setParam (2, 3, step (3));
                    break;
                default:
                    break;
            }
        }

        // The drive pedal and the amp model share the drive's type number.
        if (category == 2 || category == 8)
        {
            const int other = category == 2 ? 6 : 2;
            infos[(size_t) other] = EditorSlots::moduleInfo (EditorSlots::categoryOfSlot (other), copyEditBuffer(),
                                                             catalogue, cabinet);
            if (auto* view = rebuildSlot (other))
                view->getModule().resetToDefaults();
            applyToSlot (other, copyEditBuffer());
        }

        if (category == 9 && choice != offItem)
        {
            const juce::ScopedLock bl (buffer.lock);
            if (buffer.getParam (4, 0) == 0)
            {
                buffer.setParam (4, 2, 10 * cabinet);
                buffer.setParam (4, 0, 1);
            }
        }
    }

    auto whole = copyEditBuffer();
    controller.request (SendEditBuffer, 0, 0, &whole);
    controller.request (RecordUndoAndMarkEdited);

    {
        const juce::ScopedLock sl (chain.getLock());
        applyToSlot (slot, whole);
        if (category == 9)
            applyToSlot (1, whole);
    }
    floor->queue (FloorThread::layoutAll);
    repaint();
    if (isMouseOver (true))
        showScrollButtons (true);
}

} // namespace T730
