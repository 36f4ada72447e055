#pragma once

#include "../modules/ModuleTable.h"

#include "documents/EditBuf.h"

/* A small language for writing factory patches readably: every module is set
   by its catalogue key and by the values its controls show (dB, ms, the
   numbers printed on the knobs), and the builder turns them into the device
   values of the edit buffer the way the editor does. A value outside a
   control's range stops the generator: a factory patch is never out of range. */
namespace oxafactory
{

struct FactoryPatch
{
    T730::EditBuf edit;
    juce::StringArray keywords;
    juce::String tooltip;
};

/** The device value the editor sends for a step of a parameter ("Delay1" and
    "Reverse" send the shown time of their long steps; every other parameter
    sends the step). */
int deviceValueForStep (const ModuleType& type, int category, int prm, int step);

/** The keyword a module type gives a patch ("" for none). */
juce::String effectKeyword (const juce::String& key);

/** Thrown (and caught by the step) when a patch names something that does not exist. */
struct PatchError
{
    juce::String message;
};

class PatchBuilder
{
public:
    PatchBuilder (const juce::String& name, const juce::String& keywords, const juce::String& idea);

    /** Module 1: type by key, its knob as shown (Sense 1..9, Boost 0..15 dB, ...). */
    PatchBuilder& fx (const char* key, double knob);
    /** Module 2: a drive pedal or an amp model and its gain 0..30. */
    PatchBuilder& amp (const char* key, int gain);
    /** Module 3: the EQ on, bass, middle and treble in dB (-18..18). */
    PatchBuilder& eq (int bass, int middle, int treble);
    /** Module 4: noise reduction threshold 1..9 (0: off). */
    PatchBuilder& nr (int threshold);
    /** Module 4: cabinet 1..3 (0: none). */
    PatchBuilder& cab (int number);
    /** Modules 5, 6, 7: type by key, prm 2 and prm 3 as shown; a time parameter takes milliseconds. */
    PatchBuilder& mod (const char* key, double second, double main);
    PatchBuilder& dly (const char* key, double mix, double timeMs);
    PatchBuilder& rev (const char* key, double mix, double decay);
    /** Patch level as shown (2..100, even). */
    PatchBuilder& level (int shown);
    /** Expression pedal target 0..7. */
    PatchBuilder& pedal (int target);
    /** Extra keywords. */
    PatchBuilder& also (const juce::String& keywords);

    FactoryPatch build() const;

private:
    void setEffect (int module, const char* key, double second, double main);
    int stepFor (const ModuleType& type, int prm, double shown) const;
    void addKeywordsOf (const ModuleType& type);

    FactoryPatch patch;
    juce::String idea;
    juce::StringArray parts;
    int cabinet = 0;
    int threshold = 0;
};

/** The keyword vocabulary of the factory patches. */
const juce::StringArray& keywordVocabulary();

/** The two keyworded factory groups: their names and 100 patches each. */
struct FactoryGroup
{
    juce::String name;
    std::vector<FactoryPatch> patches;
};

/** Writes a group file of patches with their keywords and tooltips. */
bool writeFactoryGroup (const juce::File& file, const juce::String& name, const std::vector<FactoryPatch>& patches);

FactoryGroup factoryTonesGroup();
FactoryGroup factoryEffectsGroup();

} // namespace oxafactory
