// The binary readers: the archive format, pictures, and the device's System
// Exclusive messages.

#include "FuzzSupport.h"
#include "device/MidiMain.h"
#include "device/PatchRecord.h"
#include "device/SysExCodec.h"
#include "documents/Archive.h"
#include "documents/PictureDecoding.h"

OXA_FUZZ_TARGET (Archive, "stage:resources/*.orc")
{
    // Unpacked into a folder of its own: nothing may appear beside it.
    auto& sandbox = oxafuzz::Sandbox::get();
    sandbox.clear();
    const auto archive = sandbox.root.getChildFile ("input.orc");
    archive.replaceWithData (data, size);
    const auto destination = sandbox.inside.getChildFile ("level/out");

    T730::unpackArchive (archive, destination);
    oxafuzz::require (sandbox.onlyInside ({ "input.orc" }) && oxafuzz::Sandbox::holdsOnly (sandbox.inside, { "level" })
                          && oxafuzz::Sandbox::holdsOnly (destination.getParentDirectory(), { "out" }),
                      "unpacking never writes outside the destination");

    // Reading by virtual path walks the same records without unpacking.
    juce::MemoryBlock entry;
    for (const auto* path : { "resource/Panel.png", "EfxType.xml", "a/b/c", "resource" })
        T730::readArchiveEntry (archive.getChildFile (path), entry);
    juce::ignoreUnused (T730::readArchiveImage (archive.getChildFile ("resource/Panel.png")));

    archive.deleteFile();
    return 0;
}

OXA_FUZZ_TARGET (Picture)
{
    const juce::MemoryBlock bytes (data, size);
    const auto picture = T730::decodeModulePicture (bytes);
    if (picture.isValid())
    {
        oxafuzz::require (picture.getWidth() <= T730::largestModulePictureSide
                              && picture.getHeight() <= T730::largestModulePictureSide,
                          "decoded pictures keep within the size limits");
        oxafuzz::require (T730::isAcceptablePictureSize (data, size), "a decoded picture had an acceptable size");
    }
    return 0;
}

namespace
{
    struct Dropping final : public T730::MidiMainListener
    {
        void midiEventReceived (T730::MidiRecvEv* event) override { delete event; }
    };
}

OXA_FUZZ_TARGET (SysEx)
{
    namespace SysEx = T730::SysEx;

    // Through the link, as the MIDI input thread delivers it.
    Dropping listener;
    T730::MidiMain midi (&listener);
    midi.receiveBytes (data, size);

    const auto parsed = SysEx::parseMessage (data, size);
    if (parsed.kind == SysEx::MessageKind::parameterChange)
        oxafuzz::require (parsed.module <= 8 && parsed.param <= 7 && parsed.value >= 0 && parsed.value < 16384,
                          "parameter changes stay in the buffer and in 14 bits");

    // A record made from the input: encoding and decoding give back every
    // carried field (masked to its width) and the name bytes.
    SysEx::PatchFields fields;
    for (size_t i = 0; i < fields.params.size(); ++i)
        fields.params[i] = i * 2 + 1 < size ? (int32_t) (data[i * 2] | (data[i * 2 + 1] << 8)) : 0;
    for (size_t i = 0; i < 8 && i < size && data[size - 1 - i] != 0; ++i)
        fields.name.push_back ((char) data[size - 1 - i]);

    const auto record = SysEx::encodeRecordWithNameBytes (fields.params.data(), fields.name);
    const auto dump = SysEx::patchDataDump (7, record);
    const auto back = SysEx::parseMessage (dump.data(), dump.size());
    oxafuzz::require (back.kind == SysEx::MessageKind::patchData && back.patchNumber == 7, "a dump parses as a dump");

    SysEx::PatchFields decoded;
    SysEx::decodeRecord (back.record, decoded);
    oxafuzz::require (decoded.name == fields.name, "name bytes survive the record");
    for (int m = 0; m < SysEx::numModules; ++m)
        for (int k = 0; k < SysEx::fieldsPerModule; ++k)
        {
            const int width = SysEx::recordFieldWidths[m][k];
            const auto index = (size_t) (m * SysEx::paramsPerModule + k);
            const int32_t mask = width == 0 ? 0 : (int32_t) ((1u << width) - 1u);
            oxafuzz::require (decoded.params[index] == (fields.params[index] & mask), "every field survives the record");
        }

    // Through an edit buffer and back: the printable name bytes are kept as they were.
    T730::EditBuf buffer;
    T730::readPatchRecord (back.record, buffer);
    SysEx::PatchFields again;
    SysEx::decodeRecord (T730::makePatchRecord (buffer), again);
    std::string printable;
    for (char c : fields.name)
        if (T730::isPrintableNameByte ((uint8_t) c))
            printable.push_back (c);
    oxafuzz::require (again.name == printable, "a name received and sent back is the same printable bytes");
    return 0;
}
