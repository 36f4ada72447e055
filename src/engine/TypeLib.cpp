#include "engine/TypeLib.h"
#include "engine/ControlRules.h"

#include "documents/XmlPath.h"
#include "engine/DspLoader.h"
#include "engine/EngineSettings.h"
#include "engine/TypeListner.h"

#include <cmath>

namespace T730
{

//==============================================================================
PrmPropLib PrmPropLib::fromProperties (const EffectParamProperties& record)
{
    PrmPropLib description;
    description.isSwitch = (record.flags & kParamIsSwitch) != 0;
    if ((record.flags & kParamUsesIntegerMinMax) != 0)
        description.steps = record.maxInteger - record.minInteger;
    else if ((record.flags & kParamUsesFloatStep) != 0)
        description.steps = record.smallStepFloat != 0.0f ? (int) (1.0f / record.smallStepFloat) : 0;
    else if (description.isSwitch)
        description.steps = 1;
    if (description.steps == 0)
        description.steps = 300;
    return description;
}

float PrmPropLib::stepToValue (int step) const noexcept
{
    if (isSwitch)
        return step >= 1 ? 1.0f : 0.0f;
    if (step <= 0)
        return 0.0f;
    if (step >= steps)
        return 1.0f;
    const float bands = (float) (steps + 1);
    const float value = ((float) (step + 1) / bands + (float) step / bands) * 0.5f;
    return juce::jlimit (0.0f, 1.0f, value);
}

int PrmPropLib::valueToStep (float value) const noexcept
{
    if (isSwitch)
        return value >= 1.0f ? 1 : 0;
    const float scaled = (float) (steps + 1) * value + 0.100000001f;
    if (! (scaled > 0.0f))
        return 0;
    if (scaled >= (float) steps)
        return juce::jmax (0, steps);
    return juce::jlimit (0, juce::jmax (0, steps), (int) scaled);
}

double TapState::tap (double nowMs) noexcept
{
    if (! started || nowMs - lastTap > maxInterval)
    {
        started = true;
        lastTap = nowMs;
        previous1 = previous2 = 0.0;
        lastResult = 0.0;
        return lastResult;
    }
    const double interval = nowMs - lastTap;
    lastResult = (interval + previous1 + previous2) / 3.0;
    previous2 = previous1;
    previous1 = interval;
    lastTap = nowMs;
    return lastResult;
}

//==============================================================================
TypeLib::TypeLib (const juce::String& moduleName, NetListOwner* nodeOwner, bool createObject, bool readLayout,
                  DspLoader* registry)
    : NetListItem (moduleName, nodeOwner,
                   registry != nullptr ? registry->getResourceFolder() : DspLoader::getDefaultResourceFolder()),
      modules (registry)
{
    if (moduleName.isNotEmpty())
    {
        if (createObject)
            instantiate();
        // A live object applies the layout's edit links whenever a parameter is
        // set, possibly on the audio thread: the layout is read here, once.
        if (readLayout || effect != nullptr)
            loadLayout();
    }
    tapState = std::make_unique<TapState>();
}

TypeLib::~TypeLib()
{
    for (auto& p : properties)
        p.reset();
    tapState.reset();
    if (effect != nullptr)
    {
        effect->setListener (nullptr);
        DspLoader::closeObject (effect);
        effect = nullptr;
    }
    listener.reset();
}

void TypeLib::instantiate()
{
    if (instantiated)
        return;

    listener = std::make_unique<TypeListner> (*this);
    auto* registry = modules != nullptr ? modules : DspLoader::getInstance();
    effect = registry != nullptr ? registry->createObject (getName()) : nullptr;

    if (effect != nullptr)
    {
        auto& settings = getEngineSettings();
        effect->setBlockSize (settings.blockSize.load());
        effect->setSampleRate ((float) settings.sampleRate.load());
        effect->setListener (listener.get());

        auto* record = effect->getAeffect();
        numParams = record != nullptr ? juce::jlimit (0, maxParams, (int) record->numParams) : 0;
        for (int i = 0; i < numParams; ++i)
        {
            EffectParamProperties props {};
            effect->getParameterProperties (i, &props);
            properties[i] = std::make_unique<PrmPropLib> (PrmPropLib::fromProperties (props));
            defaults[i] = current[i] = effect->getParameter (i);
        }
    }
    instantiated = true;
}

//==============================================================================
void TypeLib::setBlockSize (int frames)
{
    if (effect != nullptr)
        effect->setBlockSize (frames);
}

void TypeLib::setSampleRate (double rate)
{
    if (effect != nullptr)
        effect->setSampleRate ((float) rate);
}

void TypeLib::process (double** inputs, double** outputs, int frames)
{
    if (effect != nullptr)
        effect->processDoubleReplacing (inputs, outputs, frames);
}

void TypeLib::flush()
{
    if (effect == nullptr)
        return;

    const float remembered = effect->getParameter (0);
    effect->setParameter (0, 0.0f);

    double silenceIn[8] = {}, silenceOut[8] = {};
    double* in[8];
    double* out[8];
    for (int c = 0; c < 8; ++c)
    {
        in[c] = silenceIn;
        out[c] = silenceOut;
    }
    effect->processDoubleReplacing (in, out, 8);
    effect->setParameter (0, remembered);
}

int TypeLib::query152() { return effect != nullptr ? effect->moduleQuery152() : 1; }
int TypeLib::query153() { return effect != nullptr ? effect->moduleQuery153() : 1; }
int TypeLib::query154 (int index) { return effect != nullptr ? effect->moduleQuery154 (index) : 2; }
int TypeLib::query155 (int index) { return effect != nullptr ? effect->moduleQuery155 (index) : 1; }
int TypeLib::query156 (int index) { return effect != nullptr ? effect->moduleQuery156 (index) : 0; }
int TypeLib::query157 (int index) { return effect != nullptr ? effect->moduleQuery157 (index) : 0; }
int TypeLib::query158() { return effect != nullptr ? effect->moduleQuery158() : -1; }

//==============================================================================
const PrmPropLib* TypeLib::getProperties (int index) const noexcept
{
    return validIndex (index) ? properties[index].get() : nullptr;
}

float TypeLib::getDefaultValue (int index) const noexcept
{
    return validIndex (index) ? defaults[index] : 0.0f;
}

float TypeLib::getCurrentValue (int index) const noexcept
{
    return validIndex (index) ? current[index] : 0.0f;
}

float TypeLib::stepToValue (int index, int step) const noexcept
{
    auto* description = getProperties (index);
    return description != nullptr ? description->stepToValue (step) : 0.0f;
}

int TypeLib::valueToStep (int index, float value) const noexcept
{
    auto* description = getProperties (index);
    return description != nullptr ? description->valueToStep (value) : 0;
}

void TypeLib::setStep (int index, int step, bool store)
{
    if (getProperties (index) == nullptr)
        return;
    const float value = stepToValue (index, step);
    if (effect != nullptr)
        effect->setParameter (index, value);
    if (store)
        current[index] = value;
    applyLinks (index, store);
}

int TypeLib::getStep (int index, bool fromCurrent)
{
    if (! validIndex (index))
        return 0;
    float value = 0.0f;
    if (fromCurrent)
        value = current[index];
    else if (effect != nullptr)
        value = effect->getParameter (index);
    return valueToStep (index, value);
}

int TypeLib::getMaxStep (int index)
{
    auto* description = getProperties (index);
    return description != nullptr ? description->steps : 0;
}

void TypeLib::resetToDefaults()
{
    for (int i = 0; i < numParams; ++i)
    {
        current[i] = defaults[i];
        if (effect != nullptr)
            effect->setParameter (i, defaults[i]);
    }
}

void TypeLib::setRawValue (int index, float value)
{
    if (effect != nullptr && validIndex (index))
        effect->setParameter (index, value);
}

//==============================================================================
juce::String TypeLib::dispatchText (int opcode, int index)
{
    char text[kTextBufferSize] = {};
    effect->dispatcher (opcode, index, 0, text, 0.0f);
    text[kTextBufferSize - 1] = 0;
    return juce::String::fromUTF8 (text);
}

bool TypeLib::getParamText (int index, juce::String& text)
{
    text.clear();
    if (! validIndex (index))
        return false;

    if (effect != nullptr)
    {
        text << dispatchText (kEffParamName, index) << " : " << dispatchText (kEffParamDisplay, index)
             << dispatchText (kEffParamLabel, index);
        return true;
    }

    auto* description = properties[index].get();
    if (description == nullptr)
        return false;
    const int step = getStep (index, true);
    if (description->isTable)
    {
        if (step >= description->table.size())
            return false;
        text << description->name << " : " << description->table[step];
        return true;
    }
    text << description->name << " : " << juce::String (step + description->offset) << description->unit;
    return true;
}

bool TypeLib::getStepText (int index, int step, juce::String& text)
{
    text.clear();
    auto* description = getProperties (index);
    if (description == nullptr)
        return false;

    if (effect != nullptr)
    {
        char valueText[kTextBufferSize] = {};
        effect->getDisplayTextForValue (index, stepToValue (index, step), valueText);
        valueText[kTextBufferSize - 1] = 0;
        text << juce::String::fromUTF8 (valueText) << dispatchText (kEffParamLabel, index);
        return true;
    }
    if (description->isTable)
    {
        if (step < 0 || step >= description->table.size())
            return false;
        text = description->table[step];
        return true;
    }
    text = juce::String (step + description->offset);
    return true;
}

bool TypeLib::getParamName (int index, juce::String& text)
{
    text.clear();
    if (effect == nullptr || ! validIndex (index))
        return false;
    text = dispatchText (kEffParamName, index);
    return true;
}

bool TypeLib::getParamLabel (int index, juce::String& text)
{
    text.clear();
    if (effect == nullptr || ! validIndex (index))
        return false;
    text = dispatchText (kEffParamLabel, index);
    return true;
}

//==============================================================================
juce::XmlElement* TypeLib::getCtrlLayout (int layoutIndex)
{
    return findElementSelect (getLayout(), "Ctrls/Ctrl,index=" + juce::String (layoutIndex));
}

void TypeLib::loadPrmTable (const juce::XmlElement* element, juce::StringArray& strings)
{
    if (element != nullptr)
        strings.addArray (ControlRules::readPrmTable (*element));
}

void TypeLib::describeParameter (const juce::XmlElement& ctrl)
{
    if (effect != nullptr)
        return;
    const int prm = ctrl.getIntAttribute ("prm", 0);
    if (prm == -1)
        return;

    numParams = layoutParams;
    if (! validIndex (prm))
        return;

    if (properties[prm] == nullptr)
    {
        EffectParamProperties record {};
        const int dspMax = ControlRules::readDspMax (ctrl);
        if (dspMax == 1)
        {
            record.flags = kParamIsSwitch;
        }
        else
        {
            record.flags = kParamUsesIntegerMinMax;
            record.minInteger = 0;
            record.maxInteger = dspMax;
        }
        auto description = std::make_unique<PrmPropLib> (PrmPropLib::fromProperties (record));
        if (getElementInt (&ctrl, "UsePrmTable", 0) == 1)
        {
            description->isTable = true;
            loadPrmTable (&ctrl, description->table);
        }
        description->offset = getElementInt (&ctrl, "PrmOffset", 0);
        description->name = getElementText (&ctrl, "PrmName");
        description->unit = getElementText (&ctrl, "PrmUnit");
        description->interval = getElementInt (&ctrl, "PrmInterval", 0);
        properties[prm] = std::move (description);
    }

    defaults[prm] = current[prm] = stepToValue (prm, getElementInt (&ctrl, "InitDspVal", 0));
}

void TypeLib::applyLinks (int index, bool store)
{
    if (effect == nullptr || ! validIndex (index))
        return;
    loadLayout();
    for (const auto& link : getLinks())
    {
        if (link.controlPrm != index || ! validIndex (link.targetPrm))
            continue;
        // The step is converted with the edited parameter's step count.
        const float value = stepToValue (index, link.targetStep);
        effect->setParameter (link.targetPrm, value);
        if (store)
            current[link.targetPrm] = value;
    }
}

//==============================================================================
void TypeLib::tap (int index, bool store)
{
    tapAt (index, store, juce::Time::getMillisecondCounterHiRes());
}

void TypeLib::tapAt (int index, bool store, double nowMs)
{
    if (! validIndex (index))
        return;
    const double result = tapState->tap (nowMs);
    if (result == 0.0 || effect == nullptr)
        return;
    effect->setTapTime ((float) (result / 1000.0));
    if (store)
        current[index] = effect->getParameter (index);
    applyLinks (index, store);
}

void TypeLib::setFromSeconds (int index, double seconds)
{
    if (! validIndex (index))
        return;
    if (effect != nullptr)
    {
        effect->setTapTime ((float) seconds);
        current[index] = effect->getParameter (index);
    }
    else if (auto* description = properties[index].get())
    {
        // The entered time chooses a step: the nearest table entry, or the
        // whole number of seconds.
        current[index] = description->isTable ? nearestTableStep (index, (float) seconds)
                                              : stepToValue (index, (int) seconds);
    }
    applyLinks (index, true);
}

float TypeLib::nearestTableStep (int index, float x)
{
    auto* description = getProperties (index);
    if (description == nullptr || description->table.isEmpty())
        return 0.0f;

    const auto& table = description->table;
    const int lastIndex = table.size() - 1;
    if (x >= table[lastIndex].getFloatValue())
        return stepToValue (index, lastIndex);

    auto entryValue = [&table] (int i)
    {
        const float v = table[i].getFloatValue();
        return i < 99 ? v / 100.0f : v;
    };

    float prev = entryValue (0);
    for (int i = 0; i <= lastIndex; ++i)
    {
        const float entry = entryValue (i);
        if (prev < x && x <= entry)
            return stepToValue (index, entry - x <= x - prev ? i : i - 1);
        prev = entry;
    }
    return 0.0f;
}

void TypeLib::onPitchDetected (float frequency)
{
    if (listener == nullptr || listener->isMuted() || getOwner() == nullptr)
        return;
    getOwner()->nodePitchDetected (frequency);
}

} // namespace T730
