#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_events/juce_events.h>

#include <functional>

namespace T730::platform
{

/** The names of the MIDI inputs the system offers now. Without an ALSA
    sequencer (no /dev/snd/seq) the list is empty and ALSA is not asked. */
juce::StringArray getMidiInputNames();

/** True when the system has a MIDI sequencer to ask (ALSA's /dev/snd/seq). */
bool hasMidiSequencer();

/** Replaces where getMidiInputNames takes its list from (tests stand in for
    the system's MIDI devices); an empty function restores the system's list.
    Message thread only. */
void setMidiInputNameSource (std::function<juce::StringArray()> source);

/** True when a MIDI input whose name contains "M7c" is there: the device (or
    the virtual device m7c-virtual) is attached. Asks afresh on every call. */
bool isM7cPresent();

/** True when the name is one of the device's MIDI ports. */
inline bool isM7cPortName (const juce::String& name) { return name.contains ("M7c"); }

/** The names the device's MIDI ports are searched by, in order. On Linux the
    device's ports are exactly those whose names contain "M7c" (the same rule as
    presence); a generic name such as "USB Audio Device" would also match other
    interfaces and is never tried. */
juce::StringArray getDevicePortSearchNames();

} // namespace T730::platform

/** Told when the set of MIDI devices changed (a device was plugged in or removed). */
class DevConnectionListener
{
public:
    virtual ~DevConnectionListener() = default;
    virtual void devicePresenceChanged() = 0;
};

/** Watches the system's MIDI inputs and tells its listener (the controller)
    whenever the list changes. The listener compares presence itself, so a
    change that happened before the watcher existed is caught by one check of
    the listener's after creation, not by this list. JUCE 7.0.5 offers no MIDI device-list
    notification on Linux, so the list is compared on a message-thread timer. */
class DevConnection : private juce::Timer
{
public:
    static constexpr int pollIntervalMs = 1000;

    /** `listInputs` lists the MIDI input names (getMidiInputNames by default). */
    explicit DevConnection (DevConnectionListener* listener,
                            std::function<juce::StringArray()> listInputs = {});
    ~DevConnection() override;

    /** Compares the list now (the timer does this every pollIntervalMs). */
    void checkNow();

private:
    void timerCallback() override { checkNow(); }

    DevConnectionListener* listener;   // the controller; not owned
    std::function<juce::StringArray()> listInputs;
    juce::StringArray lastNames;

    JUCE_DECLARE_NON_COPYABLE (DevConnection)
};
