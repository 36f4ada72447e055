#include "StagedModules.h"

#include "TestSupport.h"
#include "device/SysExCodec.h"

namespace stagedtest
{

juce::File resourceFolder()
{
    return oxatest::stageFolder().getChildFile ("resources");
}

const std::vector<SE_ModuleInfosNode>& catalogue()
{
    static const auto nodes = T730::readModuleCatalogue (resourceFolder().getChildFile ("Module.xml"));
    return nodes;
}

std::vector<std::string> shippedModuleKeys()
{
    std::vector<std::string> keys;
    auto add = [&keys] (const juce::String& key)
    {
        if (key.isNotEmpty() && std::find (keys.begin(), keys.end(), key.toStdString()) == keys.end())
            keys.push_back (key.toStdString());
    };
    for (const auto& node : catalogue())
        for (const auto& key : node.keys)
            add (key);
    for (auto* extra : { "shieldDrive", "UltraClean", "ShieldCabinet" })
        add (extra);
    return keys;
}

const SE_ModuleLayout* layoutOf (const juce::String& key)
{
    static std::map<juce::String, std::unique_ptr<SE_ModuleLayout>> cache;
    auto found = cache.find (key);
    if (found == cache.end())
    {
        auto document = T730::loadModuleDescription (resourceFolder(), key);
        std::unique_ptr<SE_ModuleLayout> layout;
        if (document != nullptr)
            layout = std::make_unique<SE_ModuleLayout> (T730::readModuleLayout (*document));
        found = cache.emplace (key, std::move (layout)).first;
    }
    return found->second.get();
}

int categoryOfSlot (int slot)
{
    static const int categories[] = { 1, 4, 2, 5, 6, 7, 8, 9 };
    return juce::isPositiveAndBelow (slot, 8) ? categories[slot] : -1;
}

int slotOf (const juce::String& key)
{
    if (key == "shieldDrive")
        return 2;
    if (key == "UltraClean")
        return 6;
    if (key == "ShieldCabinet")
        return 7;

    for (const auto& node : catalogue())
    {
        const int i = node.keys.indexOf (key);
        if (i < 0)
            continue;
        switch (node.category)
        {
            case 1: return 0;
            case 4: return 1;
            case 2: return node.isModeling (i) ? 6 : 2; // an amp model's own view stands in slot 6
            case 3: return -1;
            case 5: return 3;
            case 6: return 4;
            case 7: return 5;
            case 8: return 6;
            case 9: return 7;
            default: return -1;
        }
    }
    return -1;
}

int maxStepOf (const SE_ModuleLayout& layout, int prm)
{
    auto* ctrl = layout.describingCtrl (prm);
    return ctrl != nullptr ? ctrl->param.dspMax : 0;
}

namespace
{
    /** The shown value of a step as the editor reads it: the text's leading number. */
    double shownNumber (const SE_ModuleLayout& layout, int prm, int step)
    {
        auto* ctrl = layout.describingCtrl (prm);
        return ctrl != nullptr ? ctrl->param.shownText (step).getDoubleValue() : 0.0;
    }
} // namespace

std::vector<DeviceWrite> controlToDevice (int slot, const juce::String& key, int prm, int step,
                                          const SE_ModuleLayout& layout, int cabinet, int nrStep)
{
    switch (slot)
    {
        case 0:
            if (prm == 0 || prm == 2) return { { 1, prm, step } };
            break;
        case 1:
            if (prm == 2) return { { 4, 2, step + 10 * cabinet + 1 } };
            if (prm == 0)
            {
                if (step == 0)
                    return { { 4, 2, 10 * cabinet } };
                return { { 4, 0, 1 }, { 4, 2, nrStep + 10 * cabinet + 1 } };
            }
            break;
        case 2:
            if (prm == 0 || prm == 3) return { { 2, prm, step } };
            break;
        case 3:
            if (prm == 0 || prm == 2) return { { 5, prm, step } };
            if (prm == 3)
            {
                if (key == "Delay1" && step >= 100)
                    return { { 5, 3, (int) (shownNumber (layout, 3, step) * 100.0) } };
                return { { 5, 3, step } };
            }
            break;
        case 4:
            if (prm == 0 || prm == 2) return { { 6, prm, step } };
            if (prm == 3)
            {
                const int f = key == "Reverse" ? 10 : 0;
                if (step > 99 - f)
                    return { { 6, 3, (int) (shownNumber (layout, 3, step) * 100.0) - f } };
                return { { 6, 3, step } };
            }
            break;
        case 5:
            if (prm == 0 || prm == 2 || prm == 3) return { { 7, prm, step } };
            break;
        case 6:
            if (prm == 0 || prm == 3) return { { 2, prm, step } };
            if (prm == 1) return { { 3, 0, step } };
            if (prm >= 4 && prm <= 6) return { { 3, prm - 2, step } };
            break;
        default:
            break;
    }
    return {};
}

int deviceToStep (int slot, const juce::String& key, int prm, int m, int p, int v, bool edgeReading)
{
    juce::ignoreUnused (p);
    if (slot == 1 && m == 4)
    {
        if (prm == 2) return v % 10 - 1;
        if (prm == 0) return v % 10 != 0 ? 1 : 0;
    }

    if (slot == 3 && prm == 3 && key == "Delay1" && v > 98)
    {
        const int w = (! edgeReading && (v + 1) % 10 == 0) ? v + 9 : v;
        return 99 + (w - 108) / 10;
    }

    if (slot == 4 && prm == 3 && v > 98 && key == "Reverse")
    {
        const int w = v % 10 == 0 ? v + 9 : v;
        return 90 + (w - 98) / 10;
    }

    return v;
}

juce::String patchProblem (const int32_t* params)
{
    auto at = [params] (int m, int p) { return params[m * 8 + p]; };
    const auto& cat = catalogue();
    if (cat.size() < 9)
        return "no catalogue";

    // fields the record does not carry stay 0
    for (int m = 0; m < 9; ++m)
        for (int p = 0; p < 8; ++p)
            if ((p >= 5 || T730::SysEx::recordFieldWidths[m][p] == 0) && at (m, p) != 0)
                return "module " + juce::String (m) + " parameter " + juce::String (p) + " is not carried but holds "
                       + juce::String (at (m, p));

    if (at (0, 2) < 0 || at (0, 2) > 49)
        return "patch level out of range";
    if (at (8, 2) < 0 || at (8, 2) > 7)
        return "pedal target out of range";
    for (int m : { 1, 2, 3, 4, 5, 6, 7 })
        if (at (m, 0) != 0 && at (m, 0) != 1)
            return "module " + juce::String (m) + " switch is " + juce::String (at (m, 0));

    // the value of one device parameter must be what some step of the control sends
    auto sentBySomeStep = [] (int slot, const juce::String& key, int prm, int m, int p, int value)
    {
        auto* layout = layoutOf (key);
        if (layout == nullptr)
            return false;
        for (int step = 0; step <= maxStepOf (*layout, prm); ++step)
            for (const auto& w : controlToDevice (slot, key, prm, step, *layout))
                if (w.module == m && w.param == p && w.value == value)
                    return true;
        return false;
    };

    struct Module { int m, category, slot; std::vector<int> prms; };
    const Module effects[] = { { 1, 1, 0, { 2 } }, { 5, 5, 3, { 2, 3 } }, { 6, 6, 4, { 2, 3 } }, { 7, 7, 5, { 2, 3 } } };
    for (const auto& e : effects)
    {
        const auto& node = cat[(size_t) e.category - 1];
        if (! juce::isPositiveAndBelow (at (e.m, 1), node.size()))
            return "module " + juce::String (e.m) + " type " + juce::String (at (e.m, 1)) + " does not exist";
        const auto key = node.keys[at (e.m, 1)];
        for (int prm : e.prms)
            if (! sentBySomeStep (e.slot, key, prm, e.m, prm, at (e.m, prm)))
                return key + " prm " + juce::String (prm) + " cannot hold " + juce::String (at (e.m, prm));
    }

    // the drive slot: a drive pedal or an amp model, whose gain and EQ its views show
    const auto& drives = cat[1];
    const int drive = at (2, 1);
    if (! juce::isPositiveAndBelow (drive, drives.size()))
        return "drive type does not exist";
    const bool model = drives.isModeling (drive);
    const auto driveKey = model ? cat[7].keys[drive] : drives.keys[drive];
    if (! sentBySomeStep (model ? 6 : 2, driveKey, 3, 2, 3, at (2, 3)))
        return driveKey + " cannot hold gain " + juce::String (at (2, 3));
    const auto ampKey = model ? driveKey : juce::String ("UltraClean");
    for (int band = 2; band <= 4; ++band)
        if (! sentBySomeStep (6, ampKey, band + 2, 3, band, at (3, band)))
            return ampKey + " cannot hold EQ band " + juce::String (at (3, band));

    // noise reduction and cabinet
    const int v = at (4, 2);
    if (v < 0 || v >= 40)
        return "cabinet and threshold value " + juce::String (v) + " out of range";
    if (v / 10 > cat[8].size())
        return "cabinet " + juce::String (v / 10) + " does not exist";
    if (at (4, 0) == 0 && v != 0)
        return "cabinet or threshold set while module 4 is off";
    return {};
}

} // namespace stagedtest
