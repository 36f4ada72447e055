#include "device/PatchRecord.h"

namespace T730
{

bool isPrintableNameByte (uint8_t byte) noexcept
{
    return (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
}

juce::String nameFromDeviceBytes (const std::string& bytes)
{
    // One character per byte, its code the byte's value; control bytes (C0, DEL
    // and C1) are left out, so no name from the device carries them into a file.
    juce::String name;

    for (char c : bytes)
        if (isPrintableNameByte ((uint8_t) c))
            name += juce::String::charToString ((juce::juce_wchar) (uint8_t) c);

    return name;
}

std::string deviceBytesFromName (const juce::String& name)
{
    // The reverse of nameFromDeviceBytes for every character it makes, so a name
    // received and sent back is the same bytes; any other character goes as the
    // first byte of its UTF-8 form.
    std::string bytes;

    for (auto p = name.getCharPointer(); ! p.isEmpty() && bytes.size() < (size_t) SysEx::nameLength;)
    {
        const auto c = p.getAndAdvance();

        if (c < 0x100)
        {
            if (isPrintableNameByte ((uint8_t) c))
                bytes.push_back ((char) (uint8_t) c);
        }
        else
        {
            bytes.push_back (juce::String::charToString (c).toRawUTF8()[0]);
        }
    }

    return bytes;
}

SysEx::PatchRecord makePatchRecord (const EditBuf& buffer)
{
    const juce::ScopedLock sl (buffer.lock);
    return SysEx::encodeRecordWithNameBytes (buffer.params, deviceBytesFromName (buffer.name));
}

void readPatchRecord (const SysEx::PatchRecord& record, EditBuf& buffer)
{
    SysEx::PatchFields fields;

    {
        const juce::ScopedLock sl (buffer.lock);
        std::copy (std::begin (buffer.params), std::end (buffer.params), fields.params.begin());
    }

    SysEx::decodeRecord (record, fields);

    const auto name = nameFromDeviceBytes (fields.name);

    const juce::ScopedLock sl (buffer.lock);
    std::copy (fields.params.begin(), fields.params.end(), std::begin (buffer.params));
    buffer.name = name;
}

} // namespace T730
