#pragma once

#include "device/SysExCodec.h"
#include "documents/EditBuf.h"

namespace T730
{

/** True for the bytes of a device name that arrive as characters (0x20..0x7E
    and 0xA0..0xFF); control bytes (C0, DEL, C1) are left out. */
bool isPrintableNameByte (uint8_t byte) noexcept;

/** A name as the device stores it (8 bytes, one a character) turned into text:
    each byte is the character of that code (0xE9 is "é"); control bytes are
    left out, so only printable characters arrive. */
juce::String nameFromDeviceBytes (const std::string& bytes);

/** The device's bytes of a name, the reverse of nameFromDeviceBytes for every
    character that can make (other characters go as the first byte of their
    UTF-8 form, control characters are left out); at most 8 bytes. */
std::string deviceBytesFromName (const juce::String& name);

/** The patch record of an edit buffer (taken under the buffer's lock). */
SysEx::PatchRecord makePatchRecord (const EditBuf& buffer);

/** Reads a record into an edit buffer (under its lock): parameters 0..4 of
    each module from the record's fields, parameters 5..7 left as they are,
    and the name (nameFromDeviceBytes). */
void readPatchRecord (const SysEx::PatchRecord& record, EditBuf& buffer);

} // namespace T730
