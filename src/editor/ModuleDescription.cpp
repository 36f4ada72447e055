#include "editor/ModuleDescription.h"

#include "documents/Archive.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "engine/DspLoader.h"
#include "platform/DataFolders.h"

juce::String SE_ParamDesc::shownText (int step) const
{
    if (usePrmTable)
        return juce::isPositiveAndBelow (step, prmTable.size()) ? prmTable[step] : juce::String();
    return juce::String ((juce::int64) step + prmOffset) + prmUnit; // a damaged offset may be near the int limits
}

int SE_CtrlDesc::frameCountOfKind (const juce::String& kind)
{
    if (kind == "Knob")
        return 49;
    if (kind == "Slider")
        return 0;
    if (kind == "ImgKey" || kind == "ImgPrm")
        return framesFromMax;
    for (auto* twoFrameKind : { "Led", "PushKey", "LedSlider", "LedT", "Toggle", "Tap", "IncKey", "NInputKey" })
        if (kind == twoFrameKind)
            return 2;
    return unknownKind;
}

int SE_CtrlDesc::frameCount() const
{
    if (max != -1)
        return juce::jlimit (0, largestFrameCount, max);
    const auto byKind = frameCountOfKind (kind);
    if (byKind == framesFromMax)
        return 1; // the picture kinds show their one frame
    return byKind < 0 ? 0 : byKind;
}

juce::String SE_CtrlDesc::framePictureName (const juce::String& base, int frame)
{
    return base + juce::String::formatted ("%02d", frame);
}

const SE_CtrlDesc* SE_ModuleLayout::describingCtrl (int prm) const
{
    for (const auto& ctrl : ctrls)
        if (ctrl.prm == prm)
            return &ctrl;
    return nullptr;
}

const SE_CtrlDesc* SE_ModuleLayout::ctrlWithIndex (int index) const
{
    for (const auto& ctrl : ctrls)
        if (ctrl.index == index)
            return &ctrl;
    return nullptr;
}

int SE_ModuleLayout::initialStep (int prm) const
{
    int step = 0;
    for (const auto& ctrl : ctrls)
        if (ctrl.prm == prm)
            step = ctrl.param.initDspVal;
    return step;
}

namespace T730
{
namespace
{
    juce::Rectangle<int> readRect (const juce::XmlElement* element, const juce::String& prefix)
    {
        return { getElementInt (element, prefix + "X", 0), getElementInt (element, prefix + "Y", 0),
                 getElementInt (element, prefix + "Width", 0), getElementInt (element, prefix + "Height", 0) };
    }

    std::vector<juce::Point<int>> readJacks (const juce::XmlElement* list)
    {
        std::vector<juce::Point<int>> jacks;
        if (list != nullptr)
            for (auto* jack : list->getChildWithTagNameIterator ("Jack"))
                jacks.push_back ({ getElementInt (jack, "PosX", 0), getElementInt (jack, "PosY", 0) });
        return jacks;
    }
} // namespace

std::unique_ptr<juce::XmlElement> loadModuleDescription (const juce::File& resourceFolder, const juce::String& key)
{
    if (! isPlainModuleName (key))
        return {};

    const auto text = readArchiveText (resourceFolder.getChildFile (key + ".orc").getChildFile ("EfxType.xml"));
    if (text.isEmpty())
        return {};
    return parseXmlText (text);
}

std::unique_ptr<juce::XmlElement> loadModuleDescription (const juce::String& key)
{
    return loadModuleDescription (getResourceFolder(), key);
}

SE_CtrlDesc readCtrlDesc (const juce::XmlElement& element)
{
    const auto* e = &element;
    SE_CtrlDesc ctrl;
    ctrl.index = element.getIntAttribute ("index", 0);
    ctrl.prm = element.getIntAttribute ("prm", 0);
    ctrl.prm2 = element.getIntAttribute ("prm2", -1);
    ctrl.kind = getElementText (e, "Type");
    ctrl.img = getElementText (e, "Img");
    ctrl.max = getElementInt (e, "Max", -1);
    ctrl.rect = { getElementInt (e, "PosX", 0), getElementInt (e, "PosY", 0),
                  getElementInt (e, "Width", 0), getElementInt (e, "Height", 0) };
    ctrl.centerX = getElementInt (e, "CenterX", 0);
    ctrl.centerY = getElementInt (e, "CenterY", 0);
    ctrl.subCtrl = getElementInt (e, "SubCtrl", 0) != 0;
    ctrl.disableToolTip = getElementInt (e, "DisableToolTip", 0) != 0;
    ctrl.initWhenCtrlClick = getElementInt (e, "InitWhenCtrlClick", 0) != 0;
    ctrl.onIfNotMin = getElementInt (e, "OnIfNotMin", 0) != 0;
    ctrl.slWidth = getElementInt (e, "SlWidth", 0);
    ctrl.slHeight = getElementInt (e, "SlHeight", 0);
    ctrl.paramOfIndex = getElementInt (e, "ParamOfIndex", 0);
    ctrl.delta = getElementInt (e, "Delta", 0);

    if (auto* areas = findElement (e, "CollisionAreas"))
    {
        for (auto* area : areas->getChildWithTagNameIterator ("CollisionArea"))
        {
            SE_CollisionArea a;
            a.isCircle = area->getStringAttribute ("shape") == "Circle";
            if (a.isCircle)
                a.radius = getElementInt (area, "Radius", 0);
            else
                a.rect = readRect (area, "Rect/");
            ctrl.areas.push_back (a);
        }
    }

    auto& p = ctrl.param;
    p.dspMax = ControlRules::readDspMax (element);
    p.prmOffset = getElementInt (e, "PrmOffset", 0);
    p.prmName = getElementText (e, "PrmName");
    p.prmUnit = getElementText (e, "PrmUnit");
    p.prmInterval = getElementInt (e, "PrmInterval", 0);
    p.usePrmTable = getElementInt (e, "UsePrmTable", 0) == 1;
    p.prmTable = readPrmTable (element);
    p.initDspVal = getElementInt (e, "InitDspVal", 0);
    return ctrl;
}

SE_ModuleLayout readModuleLayout (const juce::XmlElement& documentElement)
{
    const auto* doc = &documentElement;
    SE_ModuleLayout layout;

    if (auto* total = findElement (doc, "Total"))
    {
        layout.hasTotal = true;
        layout.picture = getElementText (doc, "Total/BkgdImg/Img");
        layout.width = getElementInt (total, "Width", 0);
        layout.height = getElementInt (total, "Height", 0);
        layout.inputs = readJacks (findElement (doc, "Inputs"));
        layout.outputs = readJacks (findElement (doc, "Outputs"));
        if (auto* zoom = findElement (doc, "ZoomArea"))
            layout.zoomArea = readRect (zoom, {});
        if (auto* typeChange = findElement (doc, "TypeChangeArea"))
            layout.typeChangeArea = readRect (typeChange, {});
    }

    if (auto* ctrls = findElement (doc, "Ctrls"))
    {
        for (auto* ctrl : ctrls->getChildWithTagNameIterator ("Ctrl"))
        {
            layout.ctrls.push_back (readCtrlDesc (*ctrl));

            if (auto* setWhenEdited = findElement (ctrl, "SetWhenEdited"))
                for (auto* willSet : setWhenEdited->getChildWithTagNameIterator ("WillSet"))
                    layout.links.push_back ({ ctrl->getIntAttribute ("prm", 0),
                                              getElementInt (willSet, "Prm", -1),
                                              getElementInt (willSet, "To", 0) });
        }
    }

    return layout;
}

} // namespace T730
