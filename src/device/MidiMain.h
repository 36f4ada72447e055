#pragma once

#include "device/MidiRecvEv.h"
#include "device/SysExCodec.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <memory>

namespace T730
{

/** Where the MIDI link's messages go: the device's MIDI output in the program
    (JuceMidiOutputPort), the virtual device in the tests. */
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    /** Sends one complete message (F0 ... F7, or a 3-byte control change). */
    virtual void sendBytes (const uint8_t* data, size_t size) = 0;
};

/** A MidiOutputPort on a JUCE MIDI output, which it does not own (the audio
    device manager keeps its default MIDI output). */
class JuceMidiOutputPort : public MidiOutputPort
{
public:
    explicit JuceMidiOutputPort (juce::MidiOutput& o) : output (o) {}
    void sendBytes (const uint8_t* data, size_t size) override;

private:
    juce::MidiOutput& output;
};

/** Receives one event per message from the device, on the MIDI input thread;
    it owns the event (which may be null when it could not be allocated). */
class MidiMainListener
{
public:
    virtual ~MidiMainListener() = default;
    virtual void midiEventReceived (MidiRecvEv* event) = 0;
};

/** The MIDI link to the M7c: sends every message of the protocol through the
    bound output, and, as the callback of the device's MIDI input, turns every
    System Exclusive message received into an event for its listener.

    Threads: sends come from the message thread and the backup thread; they
    are serialised by `sendLock`, which also guards the output binding (changed
    only by the connection code on the message thread). Receiving runs on the
    MIDI input thread (or the virtual device's delivery thread in the tests). */
class MidiMain : public juce::MidiInputCallback
{
public:
    explicit MidiMain (MidiMainListener* listener);
    ~MidiMain() override;

    //==============================================================================
    /** Binds the output (not owned; null = not connected). Clears the identified flag. */
    void setOutput (MidiOutputPort* port);

    /** Binds a JUCE MIDI output (not owned; null = not connected). */
    void setJuceOutput (juce::MidiOutput* output);

    bool hasOutput() const;

    //==============================================================================
    // Sending. Every send does nothing while no output is bound. Values that
    // do not fit (module above 8, parameter above 7, numbers above 14 bits) are
    // not sent.
    void sendEditorOn();
    void sendEditorOff();
    void sendIdentityRequest();
    void sendParameterChange (int module, int param, int value);
    void sendEditBuffer (const EditBuf& buffer);
    void sendPatchInfoRequest();
    void sendAllDataDumpNotification();
    void sendPatchDataDump (int patchNumber, const EditBuf& buffer);
    void sendEndOfDataNotification();
    void sendPatchDumpRequest (int patchNumber);
    void sendTunerModeOn();
    void sendTunerModeOff();

    //==============================================================================
    /** The MIDI input callback: System Exclusive messages are parsed. */
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    /** Handles one complete received message (the port seam: the virtual device
        delivers here). */
    void receiveBytes (const uint8_t* data, size_t size);

    /** True after a valid identity reply; cleared by every other universal
        message and whenever the output is bound or unbound. */
    bool isIdentified() const noexcept { return identified.load(); }

    /** The device's 4-character version text from its first identity reply ("" before). */
    juce::String getDeviceVersion() const;

private:
    void send (const SysEx::Bytes& message);
    void deliver (MidiRecvEv* event);

    MidiMainListener* listener;   // the controller; not owned

    mutable juce::CriticalSection sendLock;
    MidiOutputPort* output = nullptr;                 // guarded by sendLock
    std::unique_ptr<JuceMidiOutputPort> juceOutput;   // guarded by sendLock

    std::atomic<bool> identified { false };   // written by the MIDI input thread and setOutput

    mutable juce::CriticalSection versionLock;
    juce::String deviceVersion;   // written once by the MIDI input thread; guarded by versionLock

    JUCE_DECLARE_NON_COPYABLE (MidiMain)
};

} // namespace T730
