#include "device/MidiMain.h"

#include "device/PatchRecord.h"

#include <new>

namespace T730
{

void JuceMidiOutputPort::sendBytes (const uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;

    output.sendMessageNow (juce::MidiMessage (data, (int) size));
}

MidiMain::MidiMain (MidiMainListener* l) : listener (l) {}

MidiMain::~MidiMain()
{
    const juce::ScopedLock sl (sendLock);
    output = nullptr;
    juceOutput.reset();
}

void MidiMain::setOutput (MidiOutputPort* port)
{
    const juce::ScopedLock sl (sendLock);
    output = port;

    if (port != juceOutput.get())
        juceOutput.reset();

    identified = false;
}

void MidiMain::setJuceOutput (juce::MidiOutput* midiOutput)
{
    const juce::ScopedLock sl (sendLock);
    output = nullptr;
    juceOutput.reset();

    if (midiOutput != nullptr)
    {
        juceOutput = std::make_unique<JuceMidiOutputPort> (*midiOutput);
        output = juceOutput.get();
    }

    identified = false;
}

bool MidiMain::hasOutput() const
{
    const juce::ScopedLock sl (sendLock);
    return output != nullptr;
}

void MidiMain::send (const SysEx::Bytes& message)
{
    if (message.empty())
        return;

    const juce::ScopedLock sl (sendLock);

    if (output != nullptr)
        output->sendBytes (message.data(), message.size());
}

void MidiMain::sendEditorOn()                { send (SysEx::editorOn()); }
void MidiMain::sendEditorOff()               { send (SysEx::editorOff()); }
void MidiMain::sendIdentityRequest()         { send (SysEx::identityRequest()); }
void MidiMain::sendPatchInfoRequest()        { send (SysEx::patchInfoRequest()); }
void MidiMain::sendAllDataDumpNotification() { send (SysEx::allDataDumpNotification()); }
void MidiMain::sendEndOfDataNotification()   { send (SysEx::endOfDataNotification()); }
void MidiMain::sendTunerModeOn()             { send (SysEx::tunerModeOn()); }
void MidiMain::sendTunerModeOff()            { send (SysEx::tunerModeOff()); }

void MidiMain::sendParameterChange (int module, int param, int value)
{
    send (SysEx::parameterChange (module, param, value));
}

void MidiMain::sendEditBuffer (const EditBuf& buffer)
{
    send (SysEx::editBufferDump (makePatchRecord (buffer)));
}

void MidiMain::sendPatchDataDump (int patchNumber, const EditBuf& buffer)
{
    send (SysEx::patchDataDump (patchNumber, makePatchRecord (buffer)));
}

void MidiMain::sendPatchDumpRequest (int patchNumber)
{
    send (SysEx::patchDumpRequest (patchNumber));
}

juce::String MidiMain::getDeviceVersion() const
{
    const juce::ScopedLock sl (versionLock);
    return deviceVersion;
}

//==============================================================================
void MidiMain::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    if (message.isSysEx())
        receiveBytes (message.getRawData(), (size_t) message.getRawDataSize());
}

void MidiMain::deliver (MidiRecvEv* event)
{
    if (listener != nullptr)
        listener->midiEventReceived (event);
    else
        delete event;
}

void MidiMain::receiveBytes (const uint8_t* data, size_t size)
{
    const auto parsed = SysEx::parseMessage (data, size);

    switch (parsed.kind)
    {
        case SysEx::MessageKind::ignored:
            return;

        case SysEx::MessageKind::universalOther:
            identified = false;
            return;

        case SysEx::MessageKind::identityReply:
        {
            identified = true;
            {
                const juce::ScopedLock sl (versionLock);

                if (deviceVersion.isEmpty())
                    deviceVersion = juce::String (parsed.version.c_str(), parsed.version.size());
            }
            deliver (new (std::nothrow) MidiRecvIDReply());
            return;
        }

        case SysEx::MessageKind::parameterChange:
            deliver (new (std::nothrow) MidiRecvPrmChg ((uint8_t) parsed.module, (uint8_t) parsed.param,
                                                        (uint16_t) parsed.value));
            return;

        case SysEx::MessageKind::editBuffer:
        {
            auto* event = new (std::nothrow) MidiRecvEditBuf();

            if (event != nullptr)
                readPatchRecord (parsed.record, event->buffer);

            deliver (event);
            return;
        }

        case SysEx::MessageKind::patchData:
        {
            auto* event = new (std::nothrow) MidiRecvPatchDat (parsed.patchNumber);

            if (event != nullptr)
                readPatchRecord (parsed.record, event->buffer);

            deliver (event);
            return;
        }

        case SysEx::MessageKind::response:
            deliver (new (std::nothrow) MidiRecvRespondence (parsed.code));
            return;

        case SysEx::MessageKind::patchInfo:
            deliver (new (std::nothrow) MidiRecvPatchDatInfo (parsed.count));
            return;
    }
}

} // namespace T730
