// The patch character chart of the search page draws a score above 1 as 0, so
// every factory patch must keep its five scores within 0..1; and the scores must
// say what the patch is (metal drives hard, clean does not). The value lists are
// built from the staged descriptions the way the chart builds them.
#include "StagedModules.h"

#include "TestSupport.h"
#include "documents/PatchManager.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace stagedtest;

namespace
{
/** The number a shown text stands for under the chart's prefix rule. */
float prefixed (const juce::String& text, int step)
{
    const auto full = step < 9 ? "0.0" + text : step < 99 ? "0." + text : text;
    return (float) full.getDoubleValue();
}

std::vector<float> stepsOf (const SE_CtrlDesc* ctrl)
{
    std::vector<float> values;
    const int dspMax = ctrl != nullptr ? ctrl->param.dspMax : 1;
    const int offset = ctrl != nullptr ? ctrl->param.prmOffset : 1;
    for (int i = 0; i <= dspMax; ++i)
        values.push_back ((float) (offset + i));
    return values;
}

/** Value list `list` of type `type` of category `category`. */
std::vector<float> valueList (int category, int type, int list)
{
    const auto& node = catalogue()[(size_t) category - 1];
    const auto key = node.keys[type];
    auto* layout = layoutOf (key);
    if (layout == nullptr)
        return {};
    if (category == 3)
    {
        std::vector<float> values;
        for (int v = -18; v <= 19; ++v)
            values.push_back ((float) v);
        return values;
    }
    if (list == 0)
        return stepsOf (layout->ctrlWithIndex (category <= 2 ? 0 : 1));

    auto* ctrl = layout->ctrlWithIndex (0);
    std::vector<float> values;
    for (int i = 0; i <= ctrl->param.dspMax; ++i)
    {
        const auto text = ctrl->param.usePrmTable ? ctrl->param.prmTable[i] : juce::String();
        if (category == 5)
        {
            if (key == "PitchBend" || key == "Delay1" || key == "Air")
                values.push_back (prefixed (text.isNotEmpty() ? text : juce::String (ctrl->param.prmOffset + i), i));
            else if (key == "HPS")
                values.push_back (0.0f);
            else if (key == "MonoPitch" || ! ctrl->param.usePrmTable)
                values.push_back ((float) (ctrl->param.prmOffset + i));
            else
                values.push_back ((float) text.getDoubleValue());
        }
        else if (category == 6)
            values.push_back (ctrl->param.usePrmTable ? prefixed (text, i) : (float) (ctrl->param.prmOffset + i));
        else
            values.push_back ((float) (ctrl->param.prmOffset + i));
    }
    return values;
}

float at (const std::vector<float>& list, int step) { return juce::isPositiveAndBelow (step, (int) list.size()) ? list[(size_t) step] : 0.0f; }

struct Scores { float drive, scoop, air, efx, comp; };

Scores scoresOf (const T730::EditBuf& e)
{
    auto p = [&e] (int m, int i) { return e.getParam (m, i); };
    static const float driveBase[30] = { 0, 0, 0.35f, 0.35f, 0, 0.35f, 0.7f, 0.7f, 0.7f, 0.7f, 0.35f, 0.35f, 0.35f, 0.35f, 0.7f,
                                         0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0, 0.7f, 0.35f, 0.7f, 0.7f, 0.7f, 0.35f, 0.7f, 0.7f, 0 };
    static const float scoopAdd[30] = { 0, 0, 0, 0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0.25f, 0, 0, 0, 0.25f, 0.25f,
                                        0.25f, 0, 0, 0.5f, 0, 0, 0.25f, 0.25f, 0.5f, 0.25f, 0.25f, 0, 0.25f, 0.5f, 0 };
    static const float air7[5] = { 0.252f, 0.084f, 0.168f, 0.42f, 0.336f };
    Scores s {};

    const int t1 = p (1, 1), t2 = p (2, 1), t5 = p (5, 1), t6 = p (6, 1), t7 = p (7, 1);
    const bool on1 = p (1, 0) == 1, on2 = p (2, 0) == 1, on5 = p (5, 0) == 1, on6 = p (6, 0) == 1, on7 = p (7, 0) == 1;

    const float x = at (valueList (2, t2, 0), p (2, 3));
    s.drive = on2 ? x * (t2 == 29 ? 0.03f : 0.01f) + driveBase[t2] : 0.01f * x;

    const int y1 = (int) at (valueList (3, 0, 0), p (3, 2)), y2 = (int) at (valueList (3, 1, 0), p (3, 3)),
              y3 = (int) at (valueList (3, 2, 0), p (3, 4));
    s.scoop = 0.00462963f * (float) ((y1 + 18) + (18 - y2) + (y3 + 18)) + (on2 ? scoopAdd[t2] : 0.0f);

    const float a7 = on7 ? air7[t7] : 0.0f, b7 = on7 ? 7.0f / 450.0f : 0.0f, c7 = 7.0f / 1500.0f;
    const float d6 = on6 ? 1.0f / 120.0f : 0.0f, e6 = on6 ? 0.075f : 0.0f;
    const float d5 = on5 && (t5 == 9 || t5 == 11) ? 1.0f / 120.0f : 0.0f;
    const float e5 = on5 ? (t5 == 9 ? 0.075f : t5 == 11 ? 0.1f : 0.0f) : 0.0f;
    float u = at (valueList (6, t6, 1), p (6, 3));
    if (u <= 0.0f)
        u = 0.01f;
    const auto list5 = valueList (5, t5, 1);
    float v = juce::isPositiveAndBelow (p (5, 3), (int) list5.size()) ? list5[(size_t) p (5, 3)] : 0.0f;
    if (v <= 0.0f)
        v = 0.01f;
    s.air = a7 + b7 * at (valueList (7, t7, 0), p (7, 2)) + c7 * at (valueList (7, t7, 1), p (7, 3))
            + d6 * at (valueList (6, t6, 0), p (6, 2)) + e6 * std::sqrt (u) / std::sqrt (5000.0f)
            + d5 * at (valueList (5, t5, 0), p (5, 2)) + e5 * std::sqrt (v) / std::sqrt (2000.0f);
    s.air = juce::jmax (0.0f, s.air);

    const float pw = on1 && t1 != 0 && t1 != 2 ? 1.0f / 18.0f : 0.0f;
    const float qw = on5 ? (t5 <= 8 || t5 == 10 ? 1.0f / 36.0f : t5 == 12 ? 1.0f / 16.0f : 0.0f) : 0.0f;
    const float rw = on5 && (t5 <= 3 || t5 == 7 || t5 == 10 || t5 == 12) ? 1.0f / 200.0f : 0.0f;
    const float w = juce::isPositiveAndBelow (p (5, 3), (int) list5.size()) ? list5[(size_t) p (5, 3)] : 0.0f;
    s.efx = pw * at (valueList (1, t1, 0), p (1, 2)) + qw * at (valueList (5, t5, 0), p (5, 2)) + rw * w;

    s.comp = (on1 && t1 == 0 ? 1.0f / 9.0f : 0.0f) * at (valueList (1, t1, 0), p (1, 2));
    return s;
}

TEST (FactoryCharacterChart, FactoryPatchScoresStayDrawable)
{
    T730::PatchManager store;
    store.setFolder (oxatest::stageFolder().getChildFile ("patchgroupM7"));
    store.loadAll();
    ASSERT_GE (store.getNumGroups(), 2);

    float metalDrive = 1.0f, cleanDrive = 0.0f;
    for (int g = 0; g < 2; ++g)
        for (const auto& patch : store.getGroup (g)->patches)
        {
            SCOPED_TRACE (patch.getName().toStdString());
            const auto s = scoresOf (patch.edit);
            for (float score : { s.drive, s.scoop, s.air, s.efx, s.comp })
            {
                EXPECT_GE (score, 0.0f);
                EXPECT_LE (score, 1.0f);
            }
            if (patch.keywords.contains ("metal"))
                metalDrive = juce::jmin (metalDrive, s.drive);
            if (patch.keywords.contains ("clean") && ! patch.keywords.contains ("crunch"))
                cleanDrive = juce::jmax (cleanDrive, s.drive);
        }
    EXPECT_GT (metalDrive, 0.8f) << "every metal patch drives hard";
    EXPECT_LT (cleanDrive, 0.5f) << "no clean patch drives hard";
}
} // namespace
