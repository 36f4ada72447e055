#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

/* The one table of every effect module type the installation ships: its
   catalogue category, key and display name, the kind of unit it looks like,
   its colours, and the parameters its controls drive. Everything else (the
   catalogue document, the module descriptions, the pictures, the contact sheet
   and the checks of the factory patches) is made from this table. */
namespace oxafactory
{

/** How a module looks and which controls it carries. */
enum class Family
{
    stomp,        // one-knob pedal: knob, foot switch, LED
    ampHead,      // amp model: power, gain, EQ switch and three bands
    preamp,       // the clean preamp shown with drive pedals: EQ sliders and selector
    rack,         // two-knob rack unit with power button (modulation, delay)
    reverbRack,   // rack unit with two LED sliders (reverb)
    noiseRack,    // the noise reduction: digit display, step keys, power
    eqStrip,      // one EQ band on a slider
    cabinet,      // speaker cabinet, no controls
    coverPlate,   // the plate shown in the drive slot while an amp model runs
    coverCabinet  // the plate shown when no cabinet is chosen
};

/** One parameter as its controls describe it (module without a plug-in). */
struct ParamSpec
{
    int prm = -1;               // -1: the module has no such parameter
    juce::String name;
    int dspMax = 1;
    int offset = 0;
    juce::String unit;
    int init = 0;
    juce::StringArray table;    // shown texts; empty: the number is shown

    bool isTable() const { return ! table.isEmpty(); }
    juce::String shownText (int step) const;
};

struct ModuleType
{
    int category = 0;           // 1..9; 0 for the modules the editor picks itself
    juce::String key;
    juce::String display;
    bool modeling = false;      // amp model (category 2, paired with category 8)
    Family family = Family::stomp;
    juce::Colour body;          // main colour of the unit
    juce::Colour accent;        // trim, logo, lamp colour
    juce::String caption;       // small line printed on the unit
    std::vector<ParamSpec> params; // every parameter, any order
    int variant = 0;            // drawing variant within the family

    const ParamSpec* param (int prm) const;
};

/** Every module type with an archive, in catalogue order: categories 1 to 9
    (category 2 holds drives and amp models), then the three modules the
    editor chooses by itself ("shieldDrive", "UltraClean", "ShieldCabinet"). */
const std::vector<ModuleType>& moduleTypes();

/** The type with that key; null when there is none. */
const ModuleType* findModuleType (const juce::String& key);

/** The element names of the nine categories in "Module.xml". */
extern const char* const categoryElementNames[9];

/** One entry of the catalogue: category 8 repeats the amp models of
    category 2 at the same positions and fills the others with "UltraClean". */
struct CatalogueEntry
{
    juce::String key;
    juce::String display;       // empty: the key is shown
    bool modeling = false;
};

/** The entries of category 1..9 in order. */
std::vector<CatalogueEntry> catalogueCategory (int category);

} // namespace oxafactory
