#pragma once

#include "engine/NetListItem.h"

#include <oxa/ModuleAbi.h>

namespace T730
{

class DspLoader;
class TypeListner;

/** The description of one parameter. */
struct PrmPropLib
{
    /** Highest step index: the parameter has steps 0..steps. */
    int steps = 0;
    bool isSwitch = false;
    bool isTable = false;
    juce::StringArray table;
    /** Added to the step when it is shown as a number. */
    int offset = 0;
    juce::String name;
    juce::String unit;
    /** Kept for the editor's controls. */
    int interval = 0;

    /** Describes a parameter from a properties record: integer range, else float
        step, else switch; a result of 0 steps becomes 300. */
    static PrmPropLib fromProperties (const EffectParamProperties& properties);

    /** The middle of the step's band (see TypeLib). */
    float stepToValue (int step) const noexcept;
    int valueToStep (float value) const noexcept;
};

/** Tap tempo: each tap averages the interval since the previous tap with the two
    intervals before it; a pause of more than 15 s starts over. */
struct TapState
{
    double maxInterval = 15000.0;
    double lastTap = 0.0;
    double previous1 = 0.0;
    double previous2 = 0.0;
    bool started = false;
    double lastResult = 0.0;

    /** A tap at `nowMs` (milliseconds); the averaged interval in ms, 0 when it restarted. */
    double tap (double nowMs) noexcept;
};

/** A node standing for one effect module: its parameter model (step counts,
    value tables, names, default and current values) and, when the module has a
    library on this computer, a live effect object that processes audio.

    Parameters are set from the message thread without a lock; processing runs on
    the audio thread under the engine's lock. A node without an object answers
    every forwarding operation with nothing and every query with its default. */
class TypeLib : public NetListItem
{
public:
    static constexpr int maxParams = 32;
    /** Parameter slots of a node described only by its layout. */
    static constexpr int layoutParams = 8;

    /** `modules` is the library registry to take the object from (null: the
        process-wide one); it also names the folder of the module's archive. */
    TypeLib (const juce::String& name, NetListOwner* owner, bool createObject, bool readLayout,
             DspLoader* modules = nullptr);
    ~TypeLib() override;

    // Network operations.
    void setBlockSize (int frames) override;
    void setSampleRate (double rate) override;
    void process (double** inputs, double** outputs, int frames) override;
    void flush() override;
    int query152() override;
    int query153() override;
    int query154 (int index) override;
    int query155 (int index) override;
    int query156 (int index) override;
    int query157 (int index) override;
    int query158() override;
    void setStep (int index, int step, bool store) override;
    int getStep (int index, bool fromCurrent) override;
    int getMaxStep (int index) override;
    bool getParamText (int index, juce::String& text) override;
    int getNumParams() override { return numParams; }
    void resetToDefaults() override;
    void tap (int index, bool store) override;
    void setFromSeconds (int index, double seconds) override;

    /** Sets the value on the object only; nothing is stored. */
    virtual void setRawValue (int index, float value);
    /** The text of a step that need not be the current one. */
    virtual bool getStepText (int index, int step, juce::String& text);
    virtual bool getParamName (int index, juce::String& text);
    virtual bool getParamLabel (int index, juce::String& text);
    /** The layout's "Ctrl" element with that index, or null. */
    virtual juce::XmlElement* getCtrlLayout (int layoutIndex);
    /** Appends the texts of the element's "PrmTable" (ControlRules::readPrmTable). */
    virtual void loadPrmTable (const juce::XmlElement* element, juce::StringArray& strings);
    /** The value of the table step nearest to a time in seconds. */
    virtual float nearestTableStep (int index, float seconds);
    /** A pitch report of the module's listener (audio thread). */
    virtual void onPitchDetected (float frequency);

    /** For a node without an object: describes the parameter a layout control
        drives (first control of a parameter only) and sets its default and current
        value from the control's "InitDspVal". The editor calls it for every
        control it creates. */
    void describeParameter (const juce::XmlElement& ctrl);

    /** Applies the edit links of parameter `index` (nodes with an object only). */
    void applyLinks (int index, bool store);

    /** `tap` at a given time of the millisecond clock. */
    void tapAt (int index, bool store, double nowMs);

    float stepToValue (int index, int step) const noexcept;
    int valueToStep (int index, float value) const noexcept;

    bool isInstantiated() const noexcept { return instantiated; }
    EffectObject* getEffect() const noexcept { return effect; }
    const PrmPropLib* getProperties (int index) const noexcept;
    float getDefaultValue (int index) const noexcept;
    float getCurrentValue (int index) const noexcept;
    TypeListner* getListener() const noexcept { return listener.get(); }

private:
    DspLoader* const modules;
    bool instantiated = false;
    EffectObject* effect = nullptr;
    std::unique_ptr<TypeListner> listener;
    int numParams = 0;
    std::unique_ptr<PrmPropLib> properties[maxParams];
    float defaults[maxParams] = {};
    float current[maxParams] = {};
    std::unique_ptr<TapState> tapState;

    void instantiate();
    bool validIndex (int index) const noexcept { return index >= 0 && index < numParams; }
    juce::String dispatchText (int opcode, int index);

    JUCE_DECLARE_NON_COPYABLE (TypeLib)
};

} // namespace T730
