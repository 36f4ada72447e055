#pragma once

#include "documents/EditBuf.h"

#include <cstdint>

namespace T730
{

/** One message received from the device, handed to the MIDI link's listener,
    which owns it and deletes it. */
class MidiRecvEv
{
public:
    enum Kind
    {
        parameterChange = 0,
        editBuffer = 1,
        identityReply = 2,
        patchData = 3,
        respondence = 4,
        patchDataInfo = 5
    };

    explicit MidiRecvEv (int k) noexcept : kind (k) {}
    virtual ~MidiRecvEv() = default;

    int getKind() const noexcept { return kind; }

private:
    int kind;

    JUCE_DECLARE_NON_COPYABLE (MidiRecvEv)
};

/** Kind 0: the device changed one parameter. */
class MidiRecvPrmChg : public MidiRecvEv
{
public:
    MidiRecvPrmChg (uint8_t m, uint8_t p, uint16_t v) noexcept
        : MidiRecvEv (parameterChange), module (m), parameter (p), value (v) {}

    /** The controller's packed form: module in bits 0..7, parameter in 8..15,
        value in 16..31. */
    uint32_t packed() const noexcept
    {
        return (uint32_t) module | ((uint32_t) parameter << 8) | ((uint32_t) value << 16);
    }

    uint8_t module;
    uint8_t parameter;
    uint16_t value;   // 14 bits
};

/** Kind 1: the device sent its whole edit buffer. */
class MidiRecvEditBuf : public MidiRecvEv
{
public:
    MidiRecvEditBuf() : MidiRecvEv (editBuffer) {}
    EditBuf buffer;
};

/** Kind 2: the device identified itself. */
class MidiRecvIDReply : public MidiRecvEv
{
public:
    MidiRecvIDReply() noexcept : MidiRecvEv (identityReply) {}
};

/** Kind 3: one stored patch, with a correct check value. */
class MidiRecvPatchDat : public MidiRecvEv
{
public:
    explicit MidiRecvPatchDat (int number) : MidiRecvEv (patchData), patchNumber (number) {}
    int patchNumber;   // 14 bits
    EditBuf buffer;
};

/** Kind 4: the device's response code (0 = accepted); 8 also stands for a
    received patch whose check value was wrong. */
class MidiRecvRespondence : public MidiRecvEv
{
public:
    explicit MidiRecvRespondence (int c) noexcept : MidiRecvEv (respondence), code (c) {}
    int code;
};

/** Kind 5: how many patches the device stores. */
class MidiRecvPatchDatInfo : public MidiRecvEv
{
public:
    explicit MidiRecvPatchDatInfo (int c) noexcept : MidiRecvEv (patchDataInfo), count (c) {}
    int count;   // 14 bits
};

} // namespace T730
