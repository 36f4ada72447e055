#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

namespace T730
{

/** The program's own archive format: a folder tree packed into one file, with
    no compression and no checksum. Every number is a 32-bit little-endian
    signed integer.

    File:    0: header text (44 characters) and its terminator, 3 zero bytes
            48: "1000"   52: offset of the root directory block (56)
    Directory block at D: 512-byte name ("ROOT" for the root), N at D + 512,
            520 at D + 516, N entry records of 528 bytes from D + 520, then the
            entries' data in entry order.
    Entry record at E: folder flag (1 folder, 0 file), 512-byte name,
            distance E -> data at E + 516, data size at E + 520, 528 at E + 524.
    A folder's data is its own directory block. */
namespace ArchiveFormat
{
    constexpr const char* headerText = "VELD OXA       ARCHIVE DATA VER1000         ";
    constexpr int headerLength = 44;
    constexpr int versionOffset = 48;
    constexpr int rootOffsetPosition = 52;
    constexpr int rootBlockOffset = 56;
    constexpr int nameSize = 512;
    constexpr int blockHeaderSize = 520;
    constexpr int entrySize = 528;
    /** Files of this size or more are listed with size 0 and not stored. */
    constexpr juce::int64 largestStoredFile = 268435456;
}

/** Writes a folder as an archive. Has no state. */
class ArchiveWriter
{
public:
    virtual ~ArchiveWriter() = default;

    /** Packs the folder `root` into `archive`. The archive is built beside its
        target and only replaces an existing file once it is complete, so a failed
        write leaves an earlier archive of that name as it was. Failures are logged. */
    bool write (const juce::File& root, const juce::File& archive);
};

/** True when the file's first 48 bytes, read as a 0-terminated text, are the header text. */
bool isArchive (const juce::File& file);

/** Unpacks a whole archive into the destination folder (created when missing).
    Nothing is ever created outside the destination: an entry whose name is
    empty, ".", "..", absolute or contains a path separator, a name that meets an
    existing symbolic link, sizes or offsets past the end of the file, and an
    entry record reached twice or files adding up to more bytes than the archive
    holds (entries sharing their data) make the unpacking stop with false before
    that entry is written. */
bool unpackArchive (const juce::File& archive, const juce::File& destination);

/** Reads one file through a virtual path: a path in which one component names an
    archive file and the components after it name folders and finally a file
    inside the archive (entry names compared without regard to case). A path that
    exists as a plain file is read as it is. False when the entry cannot be read
    or is empty. */
bool readArchiveEntry (const juce::File& virtualPath, juce::MemoryBlock& data);

/** The entry's bytes as text (UTF-8, a leading byte order mark dropped); "" when
    it cannot be read. The caller parses it (XML goes through parseXmlText). */
juce::String readArchiveText (const juce::File& virtualPath);

/** The entry decoded as a picture (PNG or JPEG, decodeModulePicture); a null
    image when it cannot be read or decoded. */
juce::Image readArchiveImage (const juce::File& virtualPath);

} // namespace T730
