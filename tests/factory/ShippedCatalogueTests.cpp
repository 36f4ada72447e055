// The shipped catalogue against every rule that reads it: category counts and
// keys, the pairing of amp models in categories 2 and 8, the controls the
// patch character chart reads, and the editor's control-to-device mapping of
// every step of every parameter through the patch record.
#include "StagedModules.h"

#include "device/SysExCodec.h"
#include "documents/EditBuf.h"

#include <gtest/gtest.h>

#include <set>

using namespace stagedtest;

namespace
{
const SE_ModuleInfosNode& category (int number)
{
    static const SE_ModuleInfosNode empty;
    return number >= 1 && number <= (int) catalogue().size() ? catalogue()[(size_t) number - 1] : empty;
}

TEST (FactoryCatalogue, CategoriesHoldTheTypesTheEditorAndChartExpect)
{
    ASSERT_EQ (catalogue().size(), 9u);
    for (int c = 1; c <= 9; ++c)
    {
        EXPECT_EQ (category (c).category, c);
    }

    EXPECT_EQ (category (1).size(), 9);
    EXPECT_EQ (category (2).size(), 30);
    EXPECT_GE (category (3).size(), 3);
    for (const auto& name : category (3).names)
    {
        EXPECT_EQ (name, "EQ");
    }
    ASSERT_GE (category (4).size(), 1);
    EXPECT_EQ (category (4).keys[0], "NoiseReduction");
    EXPECT_EQ (category (5).size(), 13);
    for (auto* key : { "PitchBend", "Delay1", "Air", "HPS", "MonoPitch" })
    {
        EXPECT_TRUE (category (5).keys.contains (key)) << key;
    }
    EXPECT_EQ (category (6).size(), 5);
    EXPECT_TRUE (category (6).keys.contains ("Reverse"));
    EXPECT_EQ (category (7).size(), 5);
    EXPECT_GE (category (8).size(), 30);
    // 10 x cabinet + threshold must stay below 40
    EXPECT_EQ (category (9).size(), 3);
}

TEST (FactoryCatalogue, AmpModelsArePairedIndexByIndex)
{
    const auto& drives = category (2);
    const auto& amps = category (8);
    ASSERT_EQ (drives.modeling.size(), (size_t) drives.size());
    ASSERT_EQ (amps.modeling.size(), (size_t) amps.size());
    ASSERT_GE (amps.size(), drives.size());

    int models = 0;
    for (int i = 0; i < drives.size(); ++i)
    {
        EXPECT_EQ (drives.isModeling (i), amps.isModeling (i)) << "entry " << i;
        models += drives.isModeling (i) ? 1 : 0;
        if (amps.isModeling (i))
        {
            EXPECT_EQ (amps.names[i], drives.names[i]) << "the amp shows under its own name in both slots";
        }
    }
    EXPECT_GT (models, 0);
    EXPECT_LT (models, drives.size()) << "drive pedals are needed too";

    // the other categories carry no modeling flags
    for (int c : { 1, 3, 4, 5, 6, 7, 9 })
    {
        EXPECT_TRUE (category (c).modeling.empty());
    }
}

TEST (FactoryCatalogue, NamesAreShortUniqueAndEveryKeyHasADescription)
{
    for (const auto& node : catalogue())
    {
        for (int i = 0; i < node.size(); ++i)
        {
            SCOPED_TRACE (node.keys[i].toStdString());
            EXPECT_TRUE (node.keys[i].isNotEmpty());
            EXPECT_TRUE (node.keys[i].containsOnly ("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"));
            EXPECT_TRUE (node.names[i].isNotEmpty());
            EXPECT_LE (node.names[i].length(), 16) << "too long for the type menu";
            EXPECT_NE (layoutOf (node.keys[i]), nullptr);
            if (node.category != 8)
            {
                EXPECT_EQ (node.keys.indexOf (node.keys[i]), i) << "key listed twice";
            }
        }
    }
    for (auto* key : { "shieldDrive", "UltraClean", "ShieldCabinet" })
    {
        EXPECT_NE (layoutOf (key), nullptr) << key;
    }
}

TEST (FactoryCatalogue, EverySlotDrivesExactlyTheParametersTheEditorMaps)
{
    // What the editor sends for a slot's controls fixes which prm each module
    // type must carry: the switch on prm 0, the amp's EQ switch on prm 1 and
    // its three bands on prm 4 to 6, the noise reduction's threshold 0..8.
    auto expectPrms = [] (const juce::String& key, std::set<int> wanted)
    {
        SCOPED_TRACE (key.toStdString());
        auto* layout = layoutOf (key);
        ASSERT_NE (layout, nullptr);
        std::set<int> driven;
        for (const auto& ctrl : layout->ctrls)
            driven.insert (ctrl.prm);
        EXPECT_EQ (driven, wanted);
        for (int prm : { 0, 1 })
            if (wanted.count (prm) != 0)
            {
                EXPECT_EQ (maxStepOf (*layout, prm), 1) << "prm " << prm << " is an on/off switch";
            }
        for (int band : { 4, 5, 6 })
            if (wanted.count (band) != 0)
            {
                EXPECT_EQ (maxStepOf (*layout, band), 36) << "band prm " << band << " runs -18..18 dB";
            }
    };

    for (const auto& key : category (1).keys)
        expectPrms (key, { 0, 2 });
    for (int i = 0; i < category (2).size(); ++i)
        expectPrms (category (2).keys[i], category (2).isModeling (i) ? std::set<int> { 0, 1, 3, 4, 5, 6 } : std::set<int> { 0, 3 });
    for (const auto& key : category (3).keys)
        expectPrms (key, { 2 });
    expectPrms (category (4).keys[0], { 0, 2 });
    EXPECT_EQ (maxStepOf (*layoutOf (category (4).keys[0]), 2), 8) << "noise reduction threshold steps 0..8";
    for (int c : { 5, 6, 7 })
        for (const auto& key : category (c).keys)
            expectPrms (key, { 0, 2, 3 });
    for (int i = 0; i < category (8).size(); ++i)
        expectPrms (category (8).keys[i], category (8).isModeling (i) ? std::set<int> { 0, 1, 3, 4, 5, 6 } : std::set<int> { 1, 4, 5, 6 });
    for (const auto& key : category (9).keys)
        expectPrms (key, {});
    expectPrms ("shieldDrive", { 0, 3 });
    expectPrms ("UltraClean", { 1, 4, 5, 6 });
    expectPrms ("ShieldCabinet", {});
}

TEST (FactoryCatalogue, ChartFindsItsControls)
{
    // ctrl 0 (and ctrl 1) of each type are the controls the character chart reads
    struct Rule { int category, ctrl, prm; };
    for (const auto& rule : { Rule { 1, 0, 2 }, Rule { 2, 0, 3 }, Rule { 5, 0, 3 }, Rule { 5, 1, 2 },
                              Rule { 6, 0, 3 }, Rule { 6, 1, 2 }, Rule { 7, 0, 3 }, Rule { 7, 1, 2 } })
        for (const auto& key : category (rule.category).keys)
        {
            auto* layout = layoutOf (key);
            ASSERT_NE (layout, nullptr) << key;
            auto* ctrl = layout->ctrlWithIndex (rule.ctrl);
            ASSERT_NE (ctrl, nullptr) << key << " ctrl " << rule.ctrl;
            EXPECT_EQ (ctrl->prm, rule.prm) << key << " ctrl " << rule.ctrl;
            EXPECT_EQ (ctrl->param.dspMax, maxStepOf (*layout, rule.prm)) << key << " ctrl " << rule.ctrl << " carries the range";
        }
}

TEST (FactoryCatalogue, ChartScoresStayWithinRange)
{
    // A score above 1 is drawn as 0, so no step may push DRIVE or COMP over 1.
    static const float driveBase[30] = { 0, 0, 0.35f, 0.35f, 0, 0.35f, 0.7f, 0.7f, 0.7f, 0.7f, 0.35f, 0.35f, 0.35f, 0.35f, 0.7f,
                                         0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0, 0.7f, 0.35f, 0.7f, 0.7f, 0.7f, 0.35f, 0.7f, 0.7f, 0 };
    const auto& drives = category (2);
    ASSERT_EQ (drives.size(), 30);
    for (int t = 0; t < 30; ++t)
    {
        auto* ctrl = layoutOf (drives.keys[t])->ctrlWithIndex (0);
        ASSERT_NE (ctrl, nullptr);
        const float slope = t == 29 ? 0.03f : 0.01f;
        const float highest = (float) (ctrl->param.prmOffset + ctrl->param.dspMax) * slope + driveBase[t];
        EXPECT_LE (highest, 1.0001f) << drives.keys[t];
        EXPECT_GE (ctrl->param.prmOffset, 0) << drives.keys[t];
    }

    auto* compressor = layoutOf (category (1).keys[0])->ctrlWithIndex (0);
    ASSERT_NE (compressor, nullptr);
    EXPECT_LE ((compressor->param.prmOffset + compressor->param.dspMax) / 9.0f, 1.0001f);

    // the EQ bands' list holds -18..19, so band steps stay within 0..37
    for (const auto& amp : category (8).keys)
        for (int prm : { 4, 5, 6 })
        {
            EXPECT_LE (maxStepOf (*layoutOf (amp), prm), 37) << amp;
        }
}

//==============================================================================
/** Puts the writes into a buffer, sends it through the patch record and reads it back. */
void expectRecordRoundTrip (const std::vector<DeviceWrite>& writes, std::array<int32_t, 72>& back)
{
    T730::EditBuf buffer;
    for (const auto& w : writes)
    {
        ASSERT_GT (T730::SysEx::recordFieldWidths[w.module][w.param], 0)
            << "module " << w.module << " parameter " << w.param << " is not carried by the patch record";
        ASSERT_LT (w.value, 1 << T730::SysEx::recordFieldWidths[w.module][w.param])
            << "module " << w.module << " parameter " << w.param << " value " << w.value << " does not fit its field";
        ASSERT_GE (w.value, 0);
        buffer.setParam (w.module, w.param, w.value);
    }
    const auto record = T730::SysEx::encodeRecord (buffer.params, "Test");
    T730::SysEx::PatchFields fields;
    T730::SysEx::decodeRecord (record, fields);
    std::copy (fields.params.begin(), fields.params.end(), back.begin());
    for (const auto& w : writes)
    {
        EXPECT_EQ (back[(size_t) (w.module * 8 + w.param)], w.value);
    }
}

TEST (FactoryDeviceMapping, EveryStepOfEveryControlSurvivesTheRecord)
{
    int checked = 0;
    for (const auto& keyText : shippedModuleKeys())
    {
        const juce::String key (keyText);
        const int slot = slotOf (key);
        auto* layout = layoutOf (key);
        ASSERT_NE (layout, nullptr);
        if (slot < 0 || slot == 7)
        {
            if (slot == 7)
            {
                EXPECT_TRUE (layout->ctrls.empty()) << key << ": the cabinet slot sends nothing";
            }
            continue;
        }

        std::set<int> prms;
        for (const auto& ctrl : layout->ctrls)
            prms.insert (ctrl.prm);

        for (int prm : prms)
        {
            const int cabinets = slot == 1 ? (int) category (9).size() : 0;
            for (int cabinet = 0; cabinet <= cabinets; ++cabinet)
                for (int step = 0; step <= maxStepOf (*layout, prm); ++step)
                {
                    SCOPED_TRACE (key.toStdString() + " prm " + std::to_string (prm) + " step " + std::to_string (step));
                    const auto writes = controlToDevice (slot, key, prm, step, *layout, cabinet, 4);
                    ASSERT_FALSE (writes.empty()) << "the editor maps no device parameter for this control";
                    std::array<int32_t, 72> back {};
                    expectRecordRoundTrip (writes, back);
                    const auto& last = writes.back();
                    const int value = back[(size_t) (last.module * 8 + last.param)];
                    EXPECT_EQ (deviceToStep (slot, key, prm, last.module, last.param, value), step);
                    if (slot == 1 && prm == 2)
                    {
                        EXPECT_EQ (value / 10, cabinet);
                    }
                    ++checked;
                }
        }
    }
    EXPECT_GT (checked, 1000);
}

TEST (FactoryDeviceMapping, LongDelayAndReverseTimesComeBackUnderBothReadings)
{
    // "Delay1" (category 5, prm 3) and "Reverse" (category 6, prm 3) send the shown
    // time of their long steps; the value read back must give the same step, with
    // or without raising device values that end in 9 before the division.
    auto* delay = layoutOf ("Delay1");
    auto* reverse = layoutOf ("Reverse");
    ASSERT_NE (delay, nullptr);
    ASSERT_NE (reverse, nullptr);
    EXPECT_GE (maxStepOf (*delay, 3), 100) << "the long steps are the point of the test";
    EXPECT_GE (maxStepOf (*reverse, 3), 90);

    for (bool edge : { false, true })
    {
        for (int step = 0; step <= maxStepOf (*delay, 3); ++step)
        {
            const auto writes = controlToDevice (3, "Delay1", 3, step, *delay);
            ASSERT_EQ (writes.size(), 1u);
            EXPECT_EQ (deviceToStep (3, "Delay1", 3, 5, 3, writes[0].value, edge), step) << "Delay1 step " << step;
        }
        for (int step = 0; step <= maxStepOf (*reverse, 3); ++step)
        {
            const auto writes = controlToDevice (4, "Reverse", 3, step, *reverse);
            ASSERT_EQ (writes.size(), 1u);
            EXPECT_EQ (deviceToStep (4, "Reverse", 3, 6, 3, writes[0].value, edge), step) << "Reverse step " << step;
        }
    }

    // the other delays of category 6 keep to 100 steps: the editor would send their
    // shown value above step 99 and read the value back as a step
    for (const auto& key : category (6).keys)
        if (key != "Reverse")
        {
            EXPECT_LE (maxStepOf (*layoutOf (key), 3), 99) << key;
        }
}

TEST (FactoryDeviceMapping, TypeNumbersFitTheRecord)
{
    EXPECT_LE (category (1).size(), 1 << T730::SysEx::recordFieldWidths[1][1]);
    EXPECT_LE (category (2).size(), 1 << T730::SysEx::recordFieldWidths[2][1]);
    EXPECT_LE (category (5).size(), 1 << T730::SysEx::recordFieldWidths[5][1]);
    EXPECT_LE (category (6).size(), 1 << T730::SysEx::recordFieldWidths[6][1]);
    EXPECT_LE (category (7).size(), 1 << T730::SysEx::recordFieldWidths[7][1]);
}

TEST (FactoryDeviceMapping, FactoryEditBufferIsAValidPatch)
{
    T730::EditBuf factory;
    EXPECT_EQ (patchProblem (factory.params), juce::String());

    // and the check does catch a broken one
    factory.setParam (6, 3, 511);
    EXPECT_NE (patchProblem (factory.params), juce::String());
}
} // namespace
