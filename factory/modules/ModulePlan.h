#pragma once

#include "ModuleTable.h"

#include <memory>

/* Where everything sits on a module: its size, jacks, type-change area and
   controls. The same plan writes the module description and draws the
   faceplate, so labels and scales always line up with the controls. */
namespace oxafactory
{

struct PlacedControl
{
    int index = 0;
    juce::String kind;        // "Knob", "Led", "PushKey", ...
    int prm = 0;
    int prm2 = -1;
    juce::String img;         // picture base name ("Common:" for shared pictures)
    int max = -1;             // frames; -1 keeps the kind's default
    juce::Rectangle<int> rect;
    int slWidth = 0, slHeight = 0;
    int paramOfIndex = 0;
    int delta = 0;
    bool onIfNotMin = false;
    bool circle = false;      // circular hit area around the centre
    int radius = 0;
    bool initOnCtrlClick = true;
    bool noTooltip = false;
    juce::String label;       // printed on the faceplate (empty: none)
    bool scale = false;       // draw a knob scale around it
};

struct ModulePlan
{
    int width = 0, height = 0;
    juce::Rectangle<int> face;          // the unit itself (the rest is transparent)
    juce::Point<int> input, output;     // jack positions
    juce::Rectangle<int> typeArea;      // empty: no type menu
    juce::Rectangle<int> nameArea;      // where the name is printed
    std::vector<PlacedControl> ctrls;
};

/** All modules stand on the same floor line: the jacks sit this far above the
    module's bottom edge. */
constexpr int jackHeightAboveBottom = 102;

ModulePlan planModule (const ModuleType& type);

/** The module description document ("EfxType.xml"). */
std::unique_ptr<juce::XmlElement> makeModuleDescription (const ModuleType& type, const ModulePlan& plan);

/** The step a control shows when the module is at its defaults. */
int defaultStep (const ModuleType& type, int prm);

} // namespace oxafactory
