#include "editor/EditorSlots.h"

#include "documents/EditBuf.h"
#include "engine/TypeLib.h"

namespace T730::EditorSlots
{

namespace
{
    constexpr int slotCategories[numSlots] = { 1, 4, 2, 5, 6, 7, 8, 9 };

    SE_ModuleInfo entryOf (const SE_ModuleInfosNode* node, int index, int category)
    {
        SE_ModuleInfo info;
        if (node == nullptr || ! juce::isPositiveAndBelow (index, node->size()))
            return info;
        info.category = category;
        info.key = node->keys[index];
        info.name = node->names[index];
        return info;
    }

    /** The number a step's shown text starts with, times 100, truncated. The
        texts are decimal ("1.25s"): a hair is added so that a time such as
        1.15 s, which binary arithmetic keeps as 114.999..., gives 115. */
    int shownHundredths (TypeLib& module, int prm, int step)
    {
        juce::String text;
        if (! module.getStepText (prm, step, text))
            return 0;
        return (int) (text.getDoubleValue() * 100.0 + 1.0e-7);
    }

    int param (const EditBuf& b, int m, int p) { return b.getParam (m, p); }
} // namespace

int categoryOfSlot (int slot) noexcept
{
    return juce::isPositiveAndBelow (slot, numSlots) ? slotCategories[slot] : -1;
}

int slotOfCategory (int category) noexcept
{
    switch (category)
    {
        case 1: return 0;
        case 2: return 2;
        case 3: return 6;
        case 4: return 1;
        case 5: return 3;
        case 6: return 4;
        case 7: return 5;
        case 8: return 6;
        case 9: return 7;
        default: return -1;
    }
}

const SE_ModuleInfosNode* findCategory (const std::vector<SE_ModuleInfosNode>& catalogue, int category)
{
    for (const auto& node : catalogue)
        if (node.category == category)
            return &node;
    return nullptr;
}

SE_ModuleInfo moduleInfo (int category, const EditBuf& b, const std::vector<SE_ModuleInfosNode>& catalogue, int cabinet)
{
    const auto* node = findCategory (catalogue, category);
    switch (category)
    {
        case 1:
        case 5:
        case 6:
        case 7:
            return entryOf (node, param (b, category, 1), category);

        case 2:
        {
            const int index = param (b, 2, 1);
            auto info = entryOf (node, index, category);
            if (node != nullptr && node->isModeling (index))
                info.key = ampCover;
            return info;
        }

        case 3:
            return { 3, {}, "EQ" };

        case 4:
            return entryOf (node, 0, category);

        case 8:
        {
            const int index = param (b, 2, 1);
            if (node == nullptr || ! juce::isPositiveAndBelow (index, node->size()))
                return {};
            if (node->isModeling (index))
                return entryOf (node, index, category);
            return { 8, cleanPreamp, cleanPreamp };
        }

        case 9:
            if (cabinet == 0)
                return { 9, noCabinet, "off" };
            return entryOf (node, cabinet - 1, category);

        default:
            return {};
    }
}

void applyEditBuffer (TypeLib& m, int category, const juce::String& key, const EditBuf& b)
{
    m.setStep (0, param (b, category, 0), true);

    switch (category)
    {
        case 1:
            m.setStep (2, param (b, 1, 2), true);
            break;

        case 2:
            if (key == ampCover)
                break;
            m.setStep (0, param (b, 2, 0), true);
            m.setStep (3, param (b, 2, 3), true);
            break;

        case 4:
        {
            const int v = param (b, 4, 2);
            if (v % 10 > 0)
                m.setStep (2, v % 10 - 1, true);
            if (v % 10 == 0)
                m.setStep (0, 0, true);
            break;
        }

        case 5:
        case 6:
        case 7:
            m.setStep (2, param (b, category, 2), true);
            m.setStep (3, timeStepFromDevice (category, key, param (b, category, 3), m), true);
            break;

        case 8:
            m.setStep (1, param (b, 3, 0), true);
            m.setStep (4, param (b, 3, 2), true);
            m.setStep (5, param (b, 3, 3), true);
            m.setStep (6, param (b, 3, 4), true);
            if (key == cleanPreamp)
                break;
            m.setStep (0, param (b, 2, 0), true);
            m.setStep (3, param (b, 2, 3), true);
            break;

        default:
            break;
    }
}

std::vector<DeviceWrite> controlToDevice (int slot, const juce::String& key, int prm, int step, TypeLib& module,
                                          int cabinet)
{
    switch (slot)
    {
        case 0:
            if (prm == 0 || prm == 2)
                return { { 1, prm, step } };
            break;

        case 1:
            if (prm == 2)
            {
                if (module.getStep (0, true) == 0)
                    return {};
                return { { 4, 2, step + 10 * cabinet + 1 } };
            }
            if (prm == 0)
            {
                if (step == 0)
                    return { { 4, 2, 10 * cabinet } };
                return { { 4, 0, 1 }, { 4, 2, module.getStep (2, true) + 10 * cabinet + 1 } };
            }
            break;

        case 2:
            if (prm == 0 || prm == 3)
                return { { 2, prm, step } };
            break;

        case 3:
            if (prm == 0 || prm == 2)
                return { { 5, prm, step } };
            if (prm == 3)
            {
                if (key == longDelay && step >= 100)
                    return { { 5, 3, shownHundredths (module, 3, step) } };
                return { { 5, 3, step } };
            }
            break;

        case 4:
            if (prm == 0 || prm == 2)
                return { { 6, prm, step } };
            if (prm == 3)
            {
                const int f = key == reverseDelay ? 10 : 0;
                if (step > 99 - f)
                    return { { 6, 3, shownHundredths (module, 3, step) - f } };
                return { { 6, 3, step } };
            }
            break;

        case 5:
            if (prm == 0 || prm == 2 || prm == 3)
                return { { 7, prm, step } };
            break;

        case 6:
            if (prm == 0 || prm == 3)
                return { { 2, prm, step } };
            if (prm == 1)
                return { { 3, 0, step } };
            if (prm >= 4 && prm <= 6)
                return { { 3, prm - 2, step } };
            break;

        default:
            break;
    }
    return {};
}

int deviceValueOf (int slot, const juce::String& key, int prm, int step, TypeLib& module, int cabinet)
{
    const auto writes = controlToDevice (slot, key, prm, step, module, cabinet);
    return writes.empty() ? -1 : writes.back().value;
}

int timeStepFromDevice (int m, const juce::String& key, int v, TypeLib& module)
{
    if (v <= 98)
        return v;

    const bool longDelayTime = key == longDelay;
    const bool reverseTime = m == 6 && key == reverseDelay;
    if (! longDelayTime && ! reverseTime)
        return v;

    // A value one of the module's own steps sends comes back as that step.
    const int slot = m == 5 ? 3 : 4;
    const int highest = module.getMaxStep (3);
    for (int step = 0; step <= highest; ++step)
        if (deviceValueOf (slot, key, 3, step, module, 0) == v)
            return step;

    // Any other value falls into the device's windows of ten: the long delay
    // from 99 on, values ending in 9 belonging to the next window; the
    // reverse delay from 90 on, values ending in 0 belonging to the window below.
    if (reverseTime)
    {
        const int w = v % 10 == 0 ? v + 9 : v;
        return 90 + (w - 98) / 10;
    }
    const int w = (v + 1) % 10 == 0 ? v + 9 : v;
    return 99 + (w - 108) / 10;
}

int currentTypeIndex (int category, const EditBuf& b, bool& offTicked)
{
    offTicked = false;
    switch (category)
    {
        case 1:
        case 2:
        case 5:
        case 6:
        case 7:
            return param (b, category, 1);
        case 8:
            return param (b, 2, 1);
        case 9:
        {
            const int v = param (b, 4, 2);
            if (param (b, 4, 0) == 0 || v < 10)
            {
                offTicked = true;
                return -1;
            }
            return v < 40 ? (v - 10) / 10 : -1;
        }
        default:
            return -1;
    }
}

} // namespace T730::EditorSlots
