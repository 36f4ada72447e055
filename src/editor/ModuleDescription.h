#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include "engine/ControlRules.h"

#include <memory>
#include <vector>

/** One hit area of a control: a circle around the control's centre or a
    rectangle in module coordinates. */
struct SE_CollisionArea
{
    bool isCircle = false;
    int radius = 0;
    juce::Rectangle<int> rect;
};

/** A parameter link: editing `sourcePrm` sets `targetPrm` to step `toStep`. */
struct SE_ParamLink
{
    int sourcePrm = 0;
    int targetPrm = -1;
    int toStep = 0;
};

/** The parameter keys a "Ctrl" element carries for a module without a plug-in. */
struct SE_ParamDesc
{
    /** The highest "DspMax" kept (the network's nodes keep the same). */
    static constexpr int largestDspMax = T730::ControlRules::largestDspMax;

    int dspMax = 1;        // 1: on/off switch; else steps 0..dspMax
    int prmOffset = 0;     // added to the step when it is shown as a number
    juce::String prmName;
    juce::String prmUnit;
    int prmInterval = 0;
    bool usePrmTable = false;
    juce::StringArray prmTable; // texts for steps 0, 1, 2, ...
    int initDspVal = 0;

    /** The text the module shows for a step: the table entry, or the number
        step + offset followed by the unit. */
    juce::String shownText (int step) const;
};

/** One "Ctrl" element of a module description. */
struct SE_CtrlDesc
{
    int index = 0;
    int prm = 0;
    int prm2 = -1;
    juce::String kind;     // the "Type" text
    juce::String img;
    int max = -1;
    juce::Rectangle<int> rect;
    int centerX = 0, centerY = 0;
    bool subCtrl = false, disableToolTip = false, initWhenCtrlClick = false, onIfNotMin = false;
    int slWidth = 0, slHeight = 0;
    int paramOfIndex = 0;
    int delta = 0;
    std::vector<SE_CollisionArea> areas;
    SE_ParamDesc param;

    /** True for the kinds that create a control. */
    bool isKnownKind() const { return frameCountOfKind (kind) != unknownKind; }

    /** Number of picture frames: "Max" when it is not -1, else the kind's
        default (0 for "Slider", which draws one knob picture; 1 for "ImgKey"
        and "ImgPrm" without "Max"). A damaged "Max" is kept within 0 to
        largestFrameCount, so that nobody asks for a negative or an endless
        number of pictures. */
    int frameCount() const;

    static constexpr int unknownKind = -2;
    static constexpr int framesFromMax = -1;
    static constexpr int largestFrameCount = 1000;

    /** Default frame count of a kind: 49 for "Knob", 0 for "Slider",
        framesFromMax for "ImgKey" and "ImgPrm", 2 for the other known kinds,
        unknownKind for anything else (compared exactly). */
    static int frameCountOfKind (const juce::String& kind);

    /** The picture name of one frame: the base name followed by the frame
        number written with "%02d". */
    static juce::String framePictureName (const juce::String& base, int frame);
};

/** A module description ("EfxType.xml") in typed form. */
struct SE_ModuleLayout
{
    bool hasTotal = false;
    juce::String picture;  // "Total/BkgdImg/Img"
    int width = 0, height = 0;
    std::vector<juce::Point<int>> inputs, outputs;
    juce::Rectangle<int> zoomArea, typeChangeArea;
    std::vector<SE_CtrlDesc> ctrls;   // every "Ctrl" element, in order
    std::vector<SE_ParamLink> links;

    /** The first control, in order, that names the parameter (its description
        counts for the parameter); null when none does. */
    const SE_CtrlDesc* describingCtrl (int prm) const;

    /** The control with that `index`; null when none has it. */
    const SE_CtrlDesc* ctrlWithIndex (int index) const;

    /** The initial step of a parameter: "InitDspVal" of the last control that names it. */
    int initialStep (int prm) const;

    /** The drawn plug of a jack and its sensitive areas (module coordinates). */
    static juce::Rectangle<int> plugRect (juce::Point<int> jack) { return { jack.x, jack.y, 34, 78 }; }
    static juce::Rectangle<int> inputArea (juce::Point<int> jack) { return { jack.x - 24, jack.y - 40, 82, 126 }; }
    static juce::Rectangle<int> outputArea (juce::Point<int> jack) { return { jack.x - 58, jack.y - 40, 82, 126 }; }
};

namespace T730
{

/** The description of module type `key` as a parsed document element, read
    through the virtual path <resources>/<key>.orc/EfxType.xml; null when it
    cannot be read or parsed, or when the key is not a plain name (keys come
    from the catalogue file and must not lead out of the resources folder). */
std::unique_ptr<juce::XmlElement> loadModuleDescription (const juce::File& resourceFolder, const juce::String& key);

/** The same from the program's resource folder. */
std::unique_ptr<juce::XmlElement> loadModuleDescription (const juce::String& key);

/** Reads a description's document element into the typed form; missing keys
    take their defaults. */
SE_ModuleLayout readModuleLayout (const juce::XmlElement& documentElement);

/** Reads one "Ctrl" element. */
SE_CtrlDesc readCtrlDesc (const juce::XmlElement& ctrl);

/** The texts of a control's "PrmTable" (ControlRules::readPrmTable). */
inline juce::StringArray readPrmTable (const juce::XmlElement& ctrl) { return ControlRules::readPrmTable (ctrl); }

} // namespace T730
