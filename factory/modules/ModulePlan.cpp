#include "ModulePlan.h"

#include "documents/XmlPath.h"

namespace oxafactory
{
namespace
{
    // The plans below are drawn for a 14-pixel border beside the unit; the
    // border actually used is wider so that the plugs the editor draws at the
    // jacks (34 pixels wide) sit beside the unit and only just touch its edge.
    constexpr int designMargin = 14;
    constexpr int margin = 30;

    struct Builder
    {
        ModulePlan plan;

        Builder (int width, int height, int faceTop = 0)
        {
            plan.width = width;
            plan.height = height;
            plan.face = { designMargin, faceTop, width - 2 * designMargin, height - faceTop };
            const int jackY = height - jackHeightAboveBottom;
            plan.input = { 0, jackY };
            plan.output = { width - 34, jackY };
        }

        PlacedControl& add (const char* kind, int prm, const char* img, juce::Rectangle<int> rect, const juce::String& label = {})
        {
            PlacedControl c;
            c.index = (int) plan.ctrls.size();
            c.kind = kind;
            c.prm = prm;
            c.img = img;
            c.rect = rect;
            c.label = label;
            plan.ctrls.push_back (c);
            return plan.ctrls.back();
        }

        PlacedControl& knob (int prm, const char* img, juce::Point<int> centre, int size, const juce::String& label)
        {
            auto& c = add ("Knob", prm, img, { centre.x - size / 2, centre.y - size / 2, size, size }, label);
            c.circle = true;
            c.radius = size / 2;
            c.scale = true;
            return c;
        }

        PlacedControl& led (int prm, const char* img, juce::Point<int> topLeft, int size)
        {
            auto& c = add ("Led", prm, img, { topLeft.x, topLeft.y, size, size });
            c.onIfNotMin = true;
            c.noTooltip = true;
            c.initOnCtrlClick = false;
            return c;
        }

        PlacedControl& ledSlider (int prm, int ledPrm, juce::Point<int> topLeft, int travel, const juce::String& label)
        {
            auto& c = add ("LedSlider", prm, "Common:SliderLed", { topLeft.x, topLeft.y, 18, travel }, label);
            c.prm2 = ledPrm;
            c.slWidth = 18;
            c.slHeight = 10;
            return c;
        }
    };

    juce::String labelOf (const ModuleType& type, int prm)
    {
        auto* p = type.param (prm);
        return p != nullptr ? p->name.toUpperCase() : juce::String();
    }

    ModulePlan stompPlan (const ModuleType& type, int knobPrm)
    {
        Builder b (112, 124);
        const int cx = 56;
        b.plan.nameArea = { 20, 66, 72, 18 };
        b.plan.typeArea = b.plan.nameArea;
        b.knob (knobPrm, "Common:KnobStomp", { cx, 33 }, 38, labelOf (type, knobPrm));
        auto& sw = b.add ("PushKey", 0, "Common:FootSw", { cx - 15, 93, 30, 30 });
        sw.circle = true;
        sw.radius = 15;
        sw.initOnCtrlClick = false;
        b.led (0, "Common:LedRed", { cx - 5, 4 }, 10);
        return b.plan;
    }

    ModulePlan ampPlan (const ModuleType& type)
    {
        Builder b (260, 112);
        b.plan.nameArea = { 70, 6, 120, 28 };
        b.plan.typeArea = b.plan.nameArea;
        const int knobY = 70;
        b.knob (3, "Common:KnobAmp", { 74, knobY }, 30, "GAIN");
        b.knob (4, "Common:KnobAmp", { 150, knobY }, 30, "BASS");
        b.knob (5, "Common:KnobAmp", { 186, knobY }, 30, "MIDDLE");
        b.knob (6, "Common:KnobAmp", { 222, knobY }, 30, "TREBLE");
        auto& eq = b.add ("PushKey", 1, "Common:AmpBtn", { 106, knobY - 7, 14, 14 }, "EQ");
        eq.initOnCtrlClick = false;
        b.led (1, "Common:LedOrange", { 109, knobY - 20 }, 8);
        auto& power = b.add ("PushKey", 0, "Common:AmpBtn", { 22, knobY - 7, 14, 14 }, "POWER");
        power.initOnCtrlClick = false;
        b.led (0, "Common:Jewel", { 40, knobY - 7 }, 14);
        juce::ignoreUnused (type);
        return b.plan;
    }

    ModulePlan preampPlan()
    {
        Builder b (200, 112);
        b.plan.nameArea = { 22, 6, 156, 16 };
        b.plan.typeArea = b.plan.nameArea;
        // The selector comes first: the sliders' lamps read its parameter, which
        // must be described before a slider asks for its range.
        auto& on = b.add ("Toggle", 1, "Common:SelBtn", { 140, 40, 28, 14 }, "EQ");
        on.paramOfIndex = 1;
        auto& flat = b.add ("Toggle", 1, "Common:SelBtn", { 140, 70, 28, 14 }, "FLAT");
        flat.paramOfIndex = 0;
        b.ledSlider (4, 1, { 36, 30 }, 62, "BASS");
        b.ledSlider (5, 1, { 70, 30 }, 62, "MIDDLE");
        b.ledSlider (6, 1, { 104, 30 }, 62, "TREBLE");
        return b.plan;
    }

    /** Power button and its lamp at the lower left of a rack unit. */
    void rackPower (Builder& b, int y)
    {
        auto& power = b.add ("PushKey", 0, "Common:PushBtn", { 30, y, 22, 12 }, "POWER");
        power.initOnCtrlClick = false;
        b.led (0, "Common:LedOrange", { 58, y + 2 }, 8);
    }

    ModulePlan rackPlan (const ModuleType& type)
    {
        Builder b (214, 112, 16);
        b.plan.nameArea = { 26, 26, 82, 34 };
        b.plan.typeArea = b.plan.nameArea;
        b.knob (3, "Common:KnobRackL", { 166, 58 }, 40, labelOf (type, 3));
        b.knob (2, "Common:KnobRack", { 124, 64 }, 30, labelOf (type, 2));
        rackPower (b, 82);
        return b.plan;
    }

    ModulePlan reverbPlan (const ModuleType& type)
    {
        Builder b (214, 112, 16);
        b.plan.nameArea = { 26, 26, 82, 34 };
        b.plan.typeArea = b.plan.nameArea;
        // Power first (the sliders' lamps show its parameter); the sliders keep
        // control numbers 0 and 1, which the patch character chart reads.
        rackPower (b, 82);
        b.ledSlider (3, 0, { 160, 28 }, 58, labelOf (type, 3)).index = 0;
        b.ledSlider (2, 0, { 124, 28 }, 58, labelOf (type, 2)).index = 1;
        b.plan.ctrls[0].index = 2;
        b.plan.ctrls[1].index = 3;
        return b.plan;
    }

    ModulePlan noisePlan (const ModuleType& type)
    {
        Builder b (176, 112, 16);
        b.plan.nameArea = { 26, 26, 56, 34 };
        auto& digit = b.add ("ImgPrm", 2, "Common:Seg", { 94, 30, 22, 32 }, labelOf (type, 2));
        digit.max = 9;
        digit.initOnCtrlClick = false;
        auto& up = b.add ("IncKey", 2, "Common:IncUp", { 124, 30, 16, 12 });
        up.delta = 1;
        auto& down = b.add ("IncKey", 2, "Common:IncDn", { 124, 50, 16, 12 });
        down.delta = -1;
        rackPower (b, 82);
        return b.plan;
    }

    ModulePlan eqPlan (const ModuleType& type)
    {
        Builder b (104, 112, 16);
        b.plan.nameArea = { 22, 20, 60, 14 };
        auto& s = b.add ("Slider", 2, "Common:SliderCap", { 43, 38, 18, 54 }, labelOf (type, 2));
        s.slWidth = 18;
        s.slHeight = 10;
        return b.plan;
    }

    ModulePlan cabinetPlan (int variant)
    {
        static const int widths[] = { 164, 224, 188 };
        Builder b (widths[juce::jlimit (0, 2, variant)], 128);
        b.plan.nameArea = { b.plan.width / 2 - 36, 6, 72, 16 };
        b.plan.typeArea = b.plan.nameArea;
        return b.plan;
    }

    ModulePlan coverPlan()
    {
        Builder b (112, 124);
        b.plan.nameArea = { 20, 20, 72, 16 };
        b.plan.typeArea = { 20, 20, 72, 60 };
        b.led (0, "Common:LedRed", { 51, 6 }, 10);
        auto& badge = b.add ("ImgPrm", 3, "Badge", { 24, 44, 64, 36 });
        badge.max = 1;
        badge.noTooltip = true;
        badge.initOnCtrlClick = false;
        return b.plan;
    }

    ModulePlan coverCabinetPlan()
    {
        Builder b (150, 128);
        b.plan.nameArea = { 24, 40, 102, 40 };
        b.plan.typeArea = b.plan.nameArea;
        return b.plan;
    }

    void addInt (juce::XmlElement* parent, const char* tag, int value)
    {
        T730::addTextChild (parent, tag, juce::String (value));
    }

    void addRect (juce::XmlElement* parent, const char* tag, juce::Rectangle<int> r)
    {
        auto* e = parent->createNewChildElement (tag);
        addInt (e, "X", r.getX());
        addInt (e, "Y", r.getY());
        addInt (e, "Width", r.getWidth());
        addInt (e, "Height", r.getHeight());
    }

    void addJack (juce::XmlElement* parent, const char* tag, juce::Point<int> p)
    {
        auto* jack = parent->createNewChildElement (tag)->createNewChildElement ("Jack");
        addInt (jack, "PosX", p.x);
        addInt (jack, "PosY", p.y);
    }

    void addParam (juce::XmlElement* ctrl, const ParamSpec& p)
    {
        addInt (ctrl, "DspMax", p.dspMax);
        addInt (ctrl, "PrmOffset", p.offset);
        T730::addTextChild (ctrl, "PrmName", p.name);
        if (p.unit.isNotEmpty())
            T730::addTextChild (ctrl, "PrmUnit", p.unit);
        addInt (ctrl, "PrmInterval", 1);
        addInt (ctrl, "UsePrmTable", p.isTable() ? 1 : 0);
        if (p.isTable())
        {
            auto* table = ctrl->createNewChildElement ("PrmTable");
            for (const auto& text : p.table)
                T730::addTextChild (table, "String", text);
        }
        addInt (ctrl, "InitDspVal", p.init);
    }
    ModulePlan planFamily (const ModuleType& type)
    {
        switch (type.family)
        {
            case Family::stomp:        return stompPlan (type, type.category == 2 ? 3 : 2);
            case Family::ampHead:      return ampPlan (type);
            case Family::preamp:       return preampPlan();
            case Family::rack:         return rackPlan (type);
            case Family::reverbRack:   return reverbPlan (type);
            case Family::noiseRack:    return noisePlan (type);
            case Family::eqStrip:      return eqPlan (type);
            case Family::cabinet:      return cabinetPlan (type.variant);
            case Family::coverPlate:   return coverPlan();
            case Family::coverCabinet: return coverCabinetPlan();
        }
        return {};
    }
} // namespace

ModulePlan planModule (const ModuleType& type)
{
    auto plan = planFamily (type);
    const int shift = margin - designMargin;
    plan.width += 2 * shift;
    plan.face.translate (shift, 0);
    plan.output.x += 2 * shift;
    plan.nameArea.translate (shift, 0);
    if (! plan.typeArea.isEmpty())
        plan.typeArea.translate (shift, 0);
    for (auto& c : plan.ctrls)
        c.rect.translate (shift, 0);
    return plan;
}

int defaultStep (const ModuleType& type, int prm)
{
    auto* p = type.param (prm);
    return p != nullptr ? p->init : 0;
}

std::unique_ptr<juce::XmlElement> makeModuleDescription (const ModuleType& type, const ModulePlan& plan)
{
    auto root = std::make_unique<juce::XmlElement> ("EfxType");

    auto* total = root->createNewChildElement ("Total");
    T730::addTextChild (total->createNewChildElement ("BkgdImg"), "Img", "Panel");
    addInt (total, "Width", plan.width);
    addInt (total, "Height", plan.height);

    addJack (root.get(), "Inputs", plan.input);
    addJack (root.get(), "Outputs", plan.output);
    addRect (root.get(), "ZoomArea", plan.face);
    if (! plan.typeArea.isEmpty())
        addRect (root.get(), "TypeChangeArea", plan.typeArea);

    auto* ctrls = root->createNewChildElement ("Ctrls");
    for (const auto& c : plan.ctrls)
    {
        auto* ctrl = ctrls->createNewChildElement ("Ctrl");
        ctrl->setAttribute ("index", c.index);
        ctrl->setAttribute ("prm", c.prm);
        if (c.prm2 >= 0)
            ctrl->setAttribute ("prm2", c.prm2);

        T730::addTextChild (ctrl, "Type", c.kind);
        T730::addTextChild (ctrl, "Img", c.img);
        if (c.max != -1)
            addInt (ctrl, "Max", c.max);
        addInt (ctrl, "PosX", c.rect.getX());
        addInt (ctrl, "PosY", c.rect.getY());
        addInt (ctrl, "Width", c.rect.getWidth());
        addInt (ctrl, "Height", c.rect.getHeight());
        addInt (ctrl, "CenterX", c.rect.getWidth() / 2);
        addInt (ctrl, "CenterY", c.rect.getHeight() / 2);
        if (c.noTooltip)
            addInt (ctrl, "DisableToolTip", 1);
        if (c.initOnCtrlClick)
            addInt (ctrl, "InitWhenCtrlClick", 1);
        if (c.onIfNotMin)
            addInt (ctrl, "OnIfNotMin", 1);
        if (c.slWidth > 0)
        {
            addInt (ctrl, "SlWidth", c.slWidth);
            addInt (ctrl, "SlHeight", c.slHeight);
        }
        if (c.kind == "LedT" || c.kind == "Toggle")
            addInt (ctrl, "ParamOfIndex", c.paramOfIndex);
        if (c.kind == "IncKey")
            addInt (ctrl, "Delta", c.delta);

        if (auto* p = type.param (c.prm))
            addParam (ctrl, *p);

        if (c.circle)
        {
            auto* area = ctrl->createNewChildElement ("CollisionAreas")->createNewChildElement ("CollisionArea");
            area->setAttribute ("shape", "Circle");
            addInt (area, "Radius", c.radius);
        }
    }

    return root;
}

} // namespace oxafactory
