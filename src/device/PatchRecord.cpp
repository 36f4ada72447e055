#include "device/PatchRecord.h"

namespace T730
{

SysEx::PatchRecord makePatchRecord (const EditBuf& buffer)
{
    const juce::ScopedLock sl (buffer.lock);
    return SysEx::encodeRecord (buffer.params, buffer.name.toStdString());
}

void readPatchRecord (const SysEx::PatchRecord& record, EditBuf& buffer)
{
    SysEx::PatchFields fields;

    {
        const juce::ScopedLock sl (buffer.lock);
        std::copy (std::begin (buffer.params), std::end (buffer.params), fields.params.begin());
    }

    SysEx::decodeRecord (record, fields);

    juce::String name;

    for (char c : fields.name)
        name += juce::String::charToString ((juce::juce_wchar) (uint8_t) c);

    const juce::ScopedLock sl (buffer.lock);
    std::copy (fields.params.begin(), fields.params.end(), std::begin (buffer.params));
    buffer.name = name;
}

} // namespace T730
