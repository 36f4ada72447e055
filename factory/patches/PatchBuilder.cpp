#include "PatchBuilder.h"

#include <cmath>

namespace oxafactory
{
namespace
{
    /** Position of a key in a catalogue category. */
    int indexIn (int category, const juce::String& key)
    {
        const auto entries = catalogueCategory (category);
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].key == key)
                return (int) i;
        return -1;
    }

    const ModuleType& typeIn (int category, const char* key)
    {
        auto* type = findModuleType (key);
        if (type == nullptr || type->category != category)
            throw PatchError { juce::String ("no module ") + key + " in category " + juce::String (category) };
        return *type;
    }

    /** A time text ("250ms", "1.25s") in milliseconds; -1 when the text is not a time. */
    double textToMs (const juce::String& text)
    {
        if (text.endsWith ("ms"))
            return text.getDoubleValue();
        if (text.endsWith ("s") && text.containsOnly ("0123456789.s"))
            return text.getDoubleValue() * 1000.0;
        return -1.0;
    }

} // namespace

juce::String effectKeyword (const juce::String& key)
{
        static const char* const pairs[][2] = {
            { "Compressor", "compressor" }, { "AutoWah", "wah" }, { "Booster", "boost" }, { "SubOctave", "octave" },
            { "RingMod", "synth" }, { "SlowAttack", "swell" }, { "PedalWah", "wah" }, { "BitCrush", "lofi" },
            { "GuitarSynth", "synth" }, { "VintageFuzz", "fuzz" }, { "OctaveFuzz", "fuzz" }, { "FatFuzz", "fuzz" },
            { "CleanBoost", "boost" }, { "TrebleBoost", "boost" }, { "AcousticSim", "acoustic" },
            { "Chorus", "chorus" }, { "Flanger", "flanger" }, { "Phaser", "phaser" }, { "Tremolo", "tremolo" },
            { "PitchBend", "pitch" }, { "HPS", "harmony" }, { "MonoPitch", "pitch" }, { "Vibrato", "vibrato" },
            { "Detune", "detune" }, { "Delay1", "delay" }, { "Rotary", "rotary" }, { "Air", "ambient" },
            { "StepFilter", "filter" }, { "Delay", "delay" }, { "TapeEcho", "echo" }, { "AnalogDelay", "delay" },
            { "PingPong", "delay" }, { "Reverse", "reverse" }, { "Plate", "reverb" }, { "Spring", "reverb" },
            { "Room", "reverb" }, { "Cathedral", "reverb" }, { "Hall", "reverb" }
        };
    for (auto& p : pairs)
        if (key == p[0])
            return p[1];
    return {};
}

const juce::StringArray& keywordVocabulary()
{
    static const juce::StringArray words = juce::StringArray::fromTokens (
        "clean crunch blues rock metal lead funk jazz country pop ambient acoustic fusion punk grunge surf ballad "
        "reggae rockabilly slapback "
        "rhythm solo warm bright dark fat tight smooth vintage modern heavy sparkle gritty spacey soft wide "
        "chorus flanger phaser tremolo vibrato wah compressor octave pitch harmony delay echo reverb rotary "
        "synth fuzz boost lofi swell reverse detune filter aggressive", " ", {});
    return words;
}

int deviceValueForStep (const ModuleType& type, int category, int prm, int step)
{
    if (prm != 3)
        return step;

    auto* p = type.param (3);
    if (category == 5 && type.key == "Delay1" && step >= 100)
        return (int) (p->shownText (step).getDoubleValue() * 100.0);

    if (category == 6)
    {
        const int f = type.key == "Reverse" ? 10 : 0;
        if (step > 99 - f)
            return (int) (p->shownText (step).getDoubleValue() * 100.0) - f;
    }
    return step;
}

PatchBuilder::PatchBuilder (const juce::String& name, const juce::String& keywords, const juce::String& ideaText)
    : idea (ideaText)
{
    if (name.isEmpty() || name.length() > 8)
        throw PatchError { "patch name \"" + name + "\" must have 1 to 8 characters" };
    patch.edit.name = name;
    also (keywords);
}

PatchBuilder& PatchBuilder::also (const juce::String& keywords)
{
    for (const auto& word : juce::StringArray::fromTokens (keywords, "|", {}))
    {
        if (! keywordVocabulary().contains (word))
            throw PatchError { "keyword \"" + word + "\" is not in the vocabulary" };
        patch.keywords.addIfNotAlreadyThere (word);
    }
    return *this;
}

void PatchBuilder::addKeywordsOf (const ModuleType& type)
{
    const auto word = effectKeyword (type.key);
    if (word.isNotEmpty())
        also (word);
}

int PatchBuilder::stepFor (const ModuleType& type, int prm, double shown) const
{
    auto* p = type.param (prm);
    if (p == nullptr)
        throw PatchError { type.key + " has no parameter " + juce::String (prm) };

    int step = -1;
    if (p->isTable())
    {
        // times are given in milliseconds: take the step that shows the nearest time
        double best = 1.0e9;
        for (int s = 0; s <= p->dspMax; ++s)
        {
            const auto ms = textToMs (p->table[s]);
            if (ms >= 0.0 && std::abs (ms - shown) < best)
            {
                best = std::abs (ms - shown);
                step = s;
            }
        }
        if (step < 0)
            step = (int) shown; // a table of words: the value is its position
    }
    else
    {
        step = (int) std::lround (shown) - p->offset;
    }

    if (step < 0 || step > p->dspMax)
        throw PatchError { patch.edit.name + ": " + type.key + " " + p->name + " " + juce::String (shown) + " is out of range" };
    return step;
}

PatchBuilder& PatchBuilder::fx (const char* key, double knob)
{
    const auto& type = typeIn (1, key);
    patch.edit.setParam (1, 0, 1);
    patch.edit.setParam (1, 1, indexIn (1, key));
    patch.edit.setParam (1, 2, stepFor (type, 2, knob));
    parts.add (type.display);
    addKeywordsOf (type);
    return *this;
}

PatchBuilder& PatchBuilder::amp (const char* key, int gain)
{
    const auto& type = typeIn (2, key);
    patch.edit.setParam (2, 0, 1);
    patch.edit.setParam (2, 1, indexIn (2, key));
    patch.edit.setParam (2, 3, stepFor (type, 3, gain));
    parts.add (type.display);
    addKeywordsOf (type);
    return *this;
}

PatchBuilder& PatchBuilder::eq (int bass, int middle, int treble)
{
    for (auto dB : { bass, middle, treble })
        if (dB < -18 || dB > 18)
            throw PatchError { patch.edit.name + ": EQ of " + juce::String (dB) + " dB is out of range" };
    patch.edit.setParam (3, 0, 1);
    patch.edit.setParam (3, 2, bass + 18);
    patch.edit.setParam (3, 3, middle + 18);
    patch.edit.setParam (3, 4, treble + 18);
    return *this;
}

PatchBuilder& PatchBuilder::nr (int newThreshold)
{
    if (newThreshold < 0 || newThreshold > 9)
        throw PatchError { patch.edit.name + ": noise reduction threshold out of range" };
    threshold = newThreshold;
    return *this;
}

PatchBuilder& PatchBuilder::cab (int number)
{
    if (number < 0 || number > (int) catalogueCategory (9).size())
        throw PatchError { patch.edit.name + ": no cabinet " + juce::String (number) };
    cabinet = number;
    return *this;
}

void PatchBuilder::setEffect (int module, const char* key, double second, double main)
{
    const auto& type = typeIn (module, key);
    const int mainStep = stepFor (type, 3, main);
    patch.edit.setParam (module, 0, 1);
    patch.edit.setParam (module, 1, indexIn (module, key));
    patch.edit.setParam (module, 2, stepFor (type, 2, second));
    patch.edit.setParam (module, 3, deviceValueForStep (type, module, 3, mainStep));
    parts.add (type.display);

    // Delays and reverbs name the patch only when they are prominent; nearly
    // every patch has a little room, and a keyword on all of them finds nothing.
    if (module == 5 || second >= 8.0)
        addKeywordsOf (type);
}

PatchBuilder& PatchBuilder::mod (const char* key, double second, double main) { setEffect (5, key, second, main); return *this; }
PatchBuilder& PatchBuilder::dly (const char* key, double mix, double timeMs) { setEffect (6, key, mix, timeMs); return *this; }
PatchBuilder& PatchBuilder::rev (const char* key, double mix, double decay) { setEffect (7, key, mix, decay); return *this; }

PatchBuilder& PatchBuilder::level (int shown)
{
    if (shown < 2 || shown > 100 || shown % 2 != 0)
        throw PatchError { patch.edit.name + ": patch level " + juce::String (shown) };
    patch.edit.setParam (0, 2, (shown - 2) / 2);
    return *this;
}

PatchBuilder& PatchBuilder::pedal (int target)
{
    if (target < 0 || target > 7)
        throw PatchError { patch.edit.name + ": pedal target " + juce::String (target) };
    patch.edit.setParam (8, 2, target);
    return *this;
}

FactoryPatch PatchBuilder::build() const
{
    auto result = patch;

    // Module 4 carries the noise reduction and the cabinet together: its switch
    // is on while either is in use, and parameter 2 is 10 x cabinet + threshold.
    const bool inUse = cabinet > 0 || threshold > 0;
    result.edit.setParam (4, 0, inUse ? 1 : 0);
    result.edit.setParam (4, 2, inUse ? 10 * cabinet + threshold : 0);

    auto chain = parts;
    if (cabinet > 0)
        chain.add (catalogueCategory (9)[(size_t) cabinet - 1].display + " cabinet");
    result.tooltip = idea + (chain.isEmpty() ? juce::String() : " - " + chain.joinIntoString (", "));

    if (result.keywords.isEmpty())
        throw PatchError { patch.edit.name + " has no keywords" };
    return result;
}

} // namespace oxafactory
