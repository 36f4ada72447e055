#include "search/CharacterChart.h"

#include "documents/EditBuf.h"
#include "documents/XmlPath.h"
#include "engine/TypeLib.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace T730
{

namespace
{
    // The highest step a parameter has on the wire (14 bits): a description
    // asking for more is damaged, and its list stops there.
    constexpr int highestStep = 16383;

    //==========================================================================
    // The coefficients, one entry per catalogue type.
    constexpr float c1EfxWeight[9] = { 0.0f, 1.0f / 18.0f, 0.0f, 1.0f / 18.0f, 1.0f / 18.0f, 1.0f / 18.0f,
                                       1.0f / 18.0f, 1.0f / 18.0f, 1.0f / 18.0f };
    constexpr float c1CompWeight[9] = { 1.0f / 9.0f, 0, 0, 0, 0, 0, 0, 0, 0 };

    constexpr float c2DriveBase[30] = { 0, 0, 0.35f, 0.35f, 0, 0.35f, 0.7f, 0.7f, 0.7f, 0.7f,
                                        0.35f, 0.35f, 0.35f, 0.35f, 0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0.7f,
                                        0, 0.7f, 0.35f, 0.7f, 0.7f, 0.7f, 0.35f, 0.7f, 0.7f, 0 };
    constexpr float c2ScoopAddend[30] = { 0, 0, 0, 0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0.25f,
                                          0, 0, 0, 0.25f, 0.25f, 0.25f, 0, 0, 0.5f, 0,
                                          0, 0.25f, 0.25f, 0.5f, 0.25f, 0.25f, 0, 0.25f, 0.5f, 0 };

    constexpr float c5EfxWeight0[13] = { 1.0f / 36, 1.0f / 36, 1.0f / 36, 1.0f / 36, 1.0f / 36, 1.0f / 36, 1.0f / 36,
                                         1.0f / 36, 1.0f / 36, 0, 1.0f / 36, 0, 1.0f / 16 };
    constexpr float c5EfxWeight1[13] = { 1.0f / 200, 1.0f / 200, 1.0f / 200, 1.0f / 200, 0, 0, 0,
                                         1.0f / 200, 0, 0, 1.0f / 200, 0, 1.0f / 200 };
    constexpr float c5AirWeight0[13] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f / 120, 0, 1.0f / 120, 0 };
    constexpr float c5AirRoot[13] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.075f, 0, 0.1f, 0 };

    constexpr int c6Types = 5;
    constexpr float c6AirWeight0 = 1.0f / 120.0f, c6AirRoot = 0.075f;

    constexpr float c7AirBase[5] = { 0.252f, 0.084f, 0.168f, 0.42f, 0.336f };
    constexpr float c7AirWeight0 = 7.0f / 450.0f, c7AirWeight1 = 7.0f / 1500.0f;

    /** A coefficient of a type; 0 for a type the table does not know. */
    template <size_t N>
    float coefficient (const float (&table)[N], int type) noexcept
    {
        return type >= 0 && type < (int) N ? table[type] : 0.0f;
    }

    float drawable (float score) noexcept
    {
        return std::isfinite (score) && score >= 0.0f && score <= 1.0f ? score : 0.0f;
    }

    //==========================================================================
    struct Steps
    {
        int dspMax, offset;
    };

    Steps stepsOf (const juce::XmlElement* ctrl, int dspMaxDefault, int offsetDefault)
    {
        const int dspMax = getElementInt (ctrl, "DspMax", dspMaxDefault);
        const int offset = getElementInt (ctrl, "PrmOffset", offsetDefault);
        return { juce::jlimit (-1, highestStep, dspMax), offset };
    }

    SE_ModulePrms stepValues (const juce::XmlElement* ctrl, int dspMaxDefault, int offsetDefault)
    {
        const auto s = stepsOf (ctrl, dspMaxDefault, offsetDefault);
        SE_ModulePrms values;
        for (int i = 0; i <= s.dspMax; ++i)
            values.push_back ((float) (s.offset + i));
        return values;
    }

    /** Step i's text read as a fraction: "0.0" before the first nine, "0."
        before the next ninety, unchanged from the hundredth on; the leading
        number of the result (0 when there is none). */
    float prefixed (const juce::String& text, int step)
    {
        const auto full = step < 9 ? "0.0" + text : step < 99 ? "0." + text : text;
        return (float) full.getDoubleValue();
    }

    juce::StringArray tableTexts (const TypeLayoutReader& layout, const juce::XmlElement* ctrl)
    {
        return ctrl != nullptr && layout.prmTable ? layout.prmTable (*ctrl) : juce::StringArray();
    }

    SE_ModulePrms category5List1 (const juce::String& key, const TypeLayoutReader& layout)
    {
        const auto* ctrl = layout.ctrl ? layout.ctrl (0) : nullptr;
        const auto s = stepsOf (ctrl, 1, 0);
        const bool useTable = getElementInt (ctrl, "UsePrmTable", 0) != 0;
        const auto texts = tableTexts (layout, ctrl);

        SE_ModulePrms values;
        for (int i = 0; i <= s.dspMax; ++i)
        {
            if (key == "PitchBend" || key == "Delay1" || key == "Air")
            {
                auto text = texts[i];
                if (text.isEmpty())
                    text = juce::String (s.offset + i);
                values.push_back (prefixed (text, i));
            }
            else if (key == "HPS")
                values.push_back (0.0f);
            else if (key == "MonoPitch" || ! useTable)
                values.push_back ((float) (s.offset + i));
            else
                values.push_back ((float) texts[i].getDoubleValue());
        }
        return values;
    }

    SE_ModulePrms category6List1 (const TypeLayoutReader& layout)
    {
        const auto* ctrl = layout.ctrl ? layout.ctrl (0) : nullptr;
        if (getElementInt (ctrl, "UsePrmTable", 0) == 0)
            return stepValues (ctrl, 1, 1);

        const auto s = stepsOf (ctrl, 1, 1);
        const auto texts = tableTexts (layout, ctrl);
        SE_ModulePrms values;
        for (int i = 0; i <= s.dspMax; ++i)
            values.push_back (prefixed (texts[i], i));
        return values;
    }
} // namespace

//==============================================================================
float CharacterScores::distanceTo (const CharacterScores& o) const noexcept
{
    const float d[] = { drive - o.drive, scoop - o.scoop, air - o.air, efx - o.efx, comp - o.comp };
    float sum = 0.0f;
    for (float x : d)
        sum += x * x;
    return std::sqrt (sum);
}

//==============================================================================
SE_ModulePrmsTable buildValueTable (int category, const juce::String& key, const TypeLayoutReader& layout)
{
    const auto ctrl = [&layout] (int n) -> const juce::XmlElement* { return layout.ctrl ? layout.ctrl (n) : nullptr; };

    switch (category)
    {
        case 1: return { stepValues (ctrl (0), 1, 1) };
        case 2: return { stepValues (ctrl (0), 1, 0) };
        case 3:
        {
            SE_ModulePrms values;
            for (int v = -18; v <= 19; ++v)
                values.push_back ((float) v);
            return { values };
        }
        case 5: return { stepValues (ctrl (1), 1, 1), category5List1 (key, layout) };
        case 6: return { stepValues (ctrl (1), 1, 1), category6List1 (layout) };
        case 7: return { stepValues (ctrl (1), 1, 1), stepValues (ctrl (0), 1, 1) };
        default: return {};
    }
}

bool buildCatalogueValueTables (ModuleNameLoader& catalogue)
{
    const int categories = juce::jmin (8, catalogue.getNumCategories());
    for (int index = 0; index < categories; ++index)
        if (! catalogue.getCategory (index).valueTables.empty())
            return false;

    for (int index = 0; index < categories; ++index)
    {
        const auto node = catalogue.getCategory (index);
        std::vector<SE_ModulePrmsTable> tables;

        for (const auto& key : node.keys)
        {
            // A type without a key has no table: the types after it move up.
            if (key.isEmpty())
                continue;

            // Only the layout is read: the device's modules have no object on
            // the computer, and a live object is not needed to read a layout.
            auto module = std::make_unique<TypeLib> (key, nullptr, false, true);
            TypeLayoutReader reader;
            reader.ctrl = [&module] (int n) -> const juce::XmlElement* { return module->getCtrlLayout (n); };
            reader.prmTable = [&module] (const juce::XmlElement& c)
            {
                juce::StringArray texts;
                module->loadPrmTable (&c, texts);
                return texts;
            };
            tables.push_back (buildValueTable (node.category, key, reader));
        }

        catalogue.setValueTables (index, std::move (tables));
    }
    return true;
}

//==============================================================================
CharacterChart::CharacterChart (Tables t) : tables (std::move (t))
{
}

CharacterChart CharacterChart::fromCatalogue (const ModuleNameLoader& catalogue)
{
    Tables tables;
    for (int index = 0; index < juce::jmin (8, catalogue.getNumCategories()); ++index)
        tables.push_back (catalogue.getCategory (index).valueTables);
    return CharacterChart (std::move (tables));
}

const SE_ModulePrms* CharacterChart::list (int category, int type, int index) const noexcept
{
    if (category < 1 || category > (int) tables.size())
        return nullptr;
    const auto& types = tables[(size_t) category - 1];
    if (type < 0 || type >= (int) types.size())
        return nullptr;
    const auto& lists = types[(size_t) type];
    if (index < 0 || index >= (int) lists.size())
        return nullptr;
    return &lists[(size_t) index];
}

int CharacterChart::listLength (int category, int type, int index) const noexcept
{
    const auto* l = list (category, type, index);
    return l != nullptr ? (int) l->size() : 0;
}

bool CharacterChart::lookUp (int category, int type, int index, int step, float& value) const noexcept
{
    value = 0.0f;
    const auto* l = list (category, type, index);
    if (l == nullptr || step < 0 || step >= (int) l->size())
        return false;
    value = (*l)[(size_t) step];
    return true;
}

CharacterScores CharacterChart::scoresOf (const EditBuf& e) const
{
    const auto p = [&e] (int m, int i) { return e.getParam (m, i); };
    const auto L = [this] (int k, int t, int j, int s)
    {
        float v = 0.0f;
        lookUp (k, t, j, s, v);
        return v;
    };

    const int t1 = p (1, 1), t2 = p (2, 1), t5 = p (5, 1), t6 = p (6, 1), t7 = p (7, 1);
    const bool on1 = p (1, 0) == 1, on2 = p (2, 0) == 1, on5 = p (5, 0) == 1, on6 = p (6, 0) == 1,
               on7 = p (7, 0) == 1;

    CharacterScores s;

    // DRIVE: the drive's gain as shown, on the amp's own slope and base.
    {
        const float x = L (2, t2, 0, p (2, 3));
        const float slope = t2 >= 0 && t2 <= 28 ? 0.01f : t2 == 29 ? 0.03f : 0.0f;
        s.drive = on2 ? x * slope + coefficient (c2DriveBase, t2) : 0.01f * x;
    }

    // SCOOP: bass and treble up, middle down, plus the amp's own scoop.
    {
        float y = 0.0f;
        float bracket = 0.0f;
        if (lookUp (3, 0, 0, p (3, 2), y))
            bracket += (float) ((int) y + 18);
        if (lookUp (3, 1, 0, p (3, 3), y))
            bracket += (float) (18 - (int) y);
        if (lookUp (3, 2, 0, p (3, 4), y))
            bracket += (float) ((int) y + 18);
        s.scoop = 0.00462963f * bracket + (on2 ? coefficient (c2ScoopAddend, t2) : 0.0f);
    }

    // AIR: the reverb, the delay and the room a modulation adds.
    {
        const bool known7 = t7 >= 0 && t7 < 5, known6 = t6 >= 0 && t6 < c6Types;
        const float a7 = on7 ? coefficient (c7AirBase, t7) : 0.0f;
        const float b7 = on7 && known7 ? c7AirWeight0 : 0.0f;
        const float c7 = on7 ? (known7 ? c7AirWeight1 : 0.0f) : 7.0f / 1500.0f;
        const float d6 = on6 && known6 ? c6AirWeight0 : 0.0f, e6 = on6 && known6 ? c6AirRoot : 0.0f;
        const float d5 = on5 ? coefficient (c5AirWeight0, t5) : 0.0f, e5 = on5 ? coefficient (c5AirRoot, t5) : 0.0f;

        float u = L (6, t6, 1, p (6, 3));
        if (! (u > 0.0f))
            u = 0.01f;
        float v = 0.01f;
        if (float found = 0.0f; lookUp (5, t5, 1, p (5, 3), found) && found > 0.0f)
            v = found;

        s.air = a7 + b7 * L (7, t7, 0, p (7, 2)) + c7 * L (7, t7, 1, p (7, 3)) + d6 * L (6, t6, 0, p (6, 2))
                + e6 * std::sqrt (u) / std::sqrt (5000.0f) + d5 * L (5, t5, 0, p (5, 2))
                + e5 * std::sqrt (v) / std::sqrt (2000.0f);
        s.air = juce::jmax (0.0f, s.air);
    }

    // EFX: the effect pedal and the modulation.
    {
        const float pw = on1 ? coefficient (c1EfxWeight, t1) : 0.0f;
        const float qw = on5 ? coefficient (c5EfxWeight0, t5) : 0.0f;
        const float rw = on5 ? coefficient (c5EfxWeight1, t5) : 0.0f;
        const float w = L (5, t5, 1, p (5, 3));
        s.efx = pw * L (1, t1, 0, p (1, 2)) + qw * L (5, t5, 0, p (5, 2)) + rw * w;
    }

    // COMP: the compressor's sense.
    s.comp = (on1 ? coefficient (c1CompWeight, t1) : 0.0f) * L (1, t1, 0, p (1, 2));

    s.drive = drawable (s.drive);
    s.scoop = drawable (s.scoop);
    s.air = drawable (s.air);
    s.efx = drawable (s.efx);
    s.comp = drawable (s.comp);
    return s;
}

//==============================================================================
juce::Path CharacterChart::pentagon (const CharacterScores& s)
{
    juce::Path path;
    path.startNewSubPath (72.0f, 24.0f - 17.0f * s.drive);
    path.lineTo (69.0f - 15.0f * s.scoop, 27.0f - 7.0f * s.scoop);
    path.lineTo (70.0f - 9.0f * s.air, 30.0f + 12.0f * s.air);
    path.lineTo (75.0f + 9.0f * s.efx, 30.0f + 12.0f * s.efx);
    path.lineTo (76.0f + 15.0f * s.comp, 27.0f - 7.0f * s.comp);
    path.closeSubPath();
    return path;
}

void CharacterChart::draw (juce::Graphics& g, const CharacterScores& scores, const juce::Image& background)
{
    if (background.isValid())
        g.drawImageAt (background, chartX, chartY);
    g.setColour (juce::Colour (0, 0, 255).withAlpha (0.75f));
    g.fillPath (pentagon (scores));
}

//==============================================================================
std::vector<int> nearestCharacters (const std::vector<CharacterScores>& all, const CharacterScores& of, int count)
{
    std::vector<int> order (all.size());
    std::iota (order.begin(), order.end(), 0);
    std::vector<float> distance (all.size());
    for (size_t i = 0; i < all.size(); ++i)
        distance[i] = all[i].distanceTo (of);

    const auto n = (size_t) juce::jlimit (0, (int) all.size(), count);
    std::stable_sort (order.begin(), order.end(), [&distance] (int a, int b) { return distance[(size_t) a] < distance[(size_t) b]; });
    order.resize (n);
    return order;
}

} // namespace T730
