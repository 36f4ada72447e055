#include "documents/Archive.h"
#include "documents/PictureDecoding.h"

#include "documents/SafeFileWriter.h"

#include <cstring>
#include <unordered_set>

namespace T730
{
namespace
{
using namespace ArchiveFormat;

/** Folder blocks nested deeper than this are taken as a damaged archive (a
    folder entry pointing back at its own block would otherwise never end). */
constexpr int deepestFolder = 64;

/** One entry record as read from the file, its data checked to lie inside the file. */
struct EntryRecord
{
    int flag = 0;
    juce::String name;
    juce::int64 dataStart = 0;
    juce::int64 size = 0;
    juce::int64 nextDistance = 0;
};

/** Random access to an archive file in which every read is checked against the
    file's length, so that no number taken from the file can lead outside it. */
class ArchiveStream
{
public:
    explicit ArchiveStream (const juce::File& file) : in (file)
    {
        length = in.failedToOpen() ? -1 : in.getTotalLength();
    }

    bool hasHeader()
    {
        char text[versionOffset + 1] = {};
        if (! readAt (0, text, versionOffset))
            return false;
        return strcmp (text, headerText) == 0;
    }

    bool readInt (juce::int64 position, juce::int64& value)
    {
        unsigned char bytes[4];
        if (! readAt (position, bytes, 4))
            return false;
        value = (juce::int32) juce::ByteOrder::littleEndianInt (bytes);
        return true;
    }

    bool readName (juce::int64 position, juce::String& name)
    {
        char field[nameSize + 1] = {};
        if (! readAt (position, field, nameSize))
            return false;
        name = juce::String::fromUTF8 (field, (int) strnlen (field, nameSize));
        return true;
    }

    bool readBytes (juce::int64 position, juce::int64 size, juce::MemoryBlock& data)
    {
        if (size < 0 || ! inside (position, size))
            return false;
        data.setSize ((size_t) size);
        return size == 0 || readAt (position, data.getData(), (size_t) size);
    }

    /** Reads a directory block's entry count and first record, checking that the
        records can all lie inside the file. */
    bool readBlock (juce::int64 blockStart, juce::int64& count, juce::int64& firstEntry)
    {
        juce::int64 distance = 0;
        if (! readInt (blockStart + nameSize, count) || ! readInt (blockStart + nameSize + 4, distance))
            return false;
        firstEntry = blockStart + distance;
        return count < 1 || inside (firstEntry, count * entrySize);
    }

    bool readEntry (juce::int64 entryStart, EntryRecord& entry)
    {
        juce::int64 flag = 0, distance = 0;
        if (! inside (entryStart, entrySize) || ! readInt (entryStart, flag)
            || ! readName (entryStart + 4, entry.name) || ! readInt (entryStart + 516, distance)
            || ! readInt (entryStart + 520, entry.size) || ! readInt (entryStart + 524, entry.nextDistance))
            return false;
        entry.flag = (int) flag;
        entry.dataStart = entryStart + distance;
        return entry.size >= 0 && inside (entry.dataStart, entry.size);
    }

    juce::int64 getLength() const noexcept { return length; }

    bool inside (juce::int64 position, juce::int64 size) const
    {
        return position >= 0 && size >= 0 && position <= length && size <= length - position;
    }

private:
    juce::FileInputStream in;
    juce::int64 length = -1;

    bool readAt (juce::int64 position, void* buffer, size_t size)
    {
        return inside (position, (juce::int64) size) && in.setPosition (position)
               && in.read (buffer, size) == (int) size;
    }
};

/** A name that stays inside the folder it is created in. A leading "~" is an
    ordinary character of a file name here (it only means the home folder at the
    start of a whole path), so the names are never handed to File's path parsing. */
bool isSafeEntryName (const juce::String& name)
{
    return name.isNotEmpty() && name != "." && name != ".." && ! name.containsChar ('/')
           && ! name.containsChar ('\\');
}

juce::File childOf (const juce::File& folder, const juce::String& name)
{
    return juce::File (folder.getFullPathName() + juce::File::getSeparatorString() + name);
}

/** Unpacks the blocks of one archive. What the writer produces never reads an
    entry record twice, and its files together never hold more bytes than the
    archive itself; an archive that breaks either rule (records or data shared
    between entries) is damaged, and would otherwise make a small file unpack to
    an unbounded amount of work or data. */
class Unpacker
{
public:
    explicit Unpacker (ArchiveStream& stream) : archive (stream), byteBudget (stream.getLength()) {}

    bool unpackBlock (juce::int64 blockStart, const juce::File& folder, int depth)
    {
        juce::int64 count = 0, entryStart = 0;
        if (depth > deepestFolder || ! archive.readBlock (blockStart, count, entryStart))
            return false;

        for (juce::int64 k = 0; k < count; ++k)
        {
            EntryRecord entry;
            if (! visitedRecords.insert (entryStart).second || ! archive.readEntry (entryStart, entry))
                return false;

            if (entry.flag == 0 || entry.flag == 1)
            {
                if (! isSafeEntryName (entry.name))
                    return false;
                auto child = childOf (folder, entry.name);
                if (child.getParentDirectory() != folder || child.isSymbolicLink())
                    return false;

                if (entry.flag == 0)
                {
                    byteBudget -= entry.size;
                    juce::MemoryBlock data;
                    if (byteBudget < 0 || ! archive.readBytes (entry.dataStart, entry.size, data)
                        || ! replaceFileContent (child, data.getData(), data.getSize()))
                        return false;
                }
                else if (! child.createDirectory() || ! child.isDirectory()
                         || ! unpackBlock (entry.dataStart, child, depth + 1))
                {
                    return false;
                }
            }

            entryStart += entry.nextDistance;
        }
        return true;
    }

private:
    ArchiveStream& archive;
    juce::int64 byteBudget;
    std::unordered_set<juce::int64> visitedRecords;
};
} // namespace

bool isArchive (const juce::File& file)
{
    if (! file.existsAsFile())
        return false;
    ArchiveStream archive (file);
    return archive.hasHeader();
}

bool unpackArchive (const juce::File& archiveFile, const juce::File& destination)
{
    if (! archiveFile.existsAsFile())
        return false;

    ArchiveStream archive (archiveFile);
    juce::int64 rootBlock = 0;
    if (! archive.hasHeader() || ! archive.readInt (rootOffsetPosition, rootBlock))
        return false;
    if (! destination.createDirectory() || ! destination.isDirectory())
        return false;
    return Unpacker (archive).unpackBlock (rootBlock, destination, 0);
}

bool readArchiveEntry (const juce::File& virtualPath, juce::MemoryBlock& data)
{
    data.reset();
    if (virtualPath.existsAsFile())
        return virtualPath.loadFileAsData (data);
    if (virtualPath.isDirectory() || virtualPath.getFullPathName().isEmpty())
        return false;

    // Walk up to the archive file, collecting the components below it.
    juce::StringArray components;
    auto current = virtualPath;
    while (! current.existsAsFile())
    {
        auto parent = current.getParentDirectory();
        if (parent == current || current.isDirectory())
            return false;
        components.insert (0, current.getFileName());
        current = parent;
    }

    ArchiveStream archive (current);
    juce::int64 block = 0;
    if (! archive.hasHeader() || ! archive.readInt (rootOffsetPosition, block))
        return false;

    juce::int64 size = 0;
    for (int c = 0; c < components.size(); ++c)
    {
        juce::int64 count = 0, entryStart = 0;
        if (! archive.readBlock (block, count, entryStart))
            return false;

        const bool last = c == components.size() - 1;
        bool found = false;
        for (juce::int64 k = 0; k < count && ! found; ++k)
        {
            EntryRecord entry;
            if (! archive.readEntry (entryStart, entry))
                return false;
            // Only folders lead further down.
            if (entry.name.equalsIgnoreCase (components[c]) && (last || entry.flag == 1))
            {
                found = true;
                block = entry.dataStart;
                size = entry.size;
            }
            entryStart += entry.nextDistance;
        }
        if (! found)
            return false;
    }

    return size > 0 && archive.readBytes (block, size, data);
}

juce::String readArchiveText (const juce::File& virtualPath)
{
    juce::MemoryBlock data;
    if (! readArchiveEntry (virtualPath, data))
        return {};

    auto bytes = static_cast<const char*> (data.getData());
    auto size = data.getSize();
    if (size >= 3 && memcmp (bytes, "\xef\xbb\xbf", 3) == 0)
    {
        bytes += 3;
        size -= 3;
    }
    return juce::String::fromUTF8 (bytes, (int) size);
}

juce::Image readArchiveImage (const juce::File& virtualPath)
{
    juce::MemoryBlock data;
    if (! readArchiveEntry (virtualPath, data))
        return {};
    return decodeModulePicture (data);
}

} // namespace T730
