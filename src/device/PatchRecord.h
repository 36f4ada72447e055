#pragma once

#include "device/SysExCodec.h"
#include "documents/EditBuf.h"

namespace T730
{

/** The patch record of an edit buffer (taken under the buffer's lock). */
SysEx::PatchRecord makePatchRecord (const EditBuf& buffer);

/** Reads a record into an edit buffer (under its lock): parameters 0..4 of
    each module from the record's fields, parameters 5..7 left as they are,
    and the name (each stored byte is one character). */
void readPatchRecord (const SysEx::PatchRecord& record, EditBuf& buffer);

} // namespace T730
