#include "documents/Archive.h"

#include <limits>

namespace T730
{
namespace
{
using namespace ArchiveFormat;

/** Folders nested deeper than this (a folder link pointing to its own
    parent, for instance) stop the writing. */
constexpr int deepestFolder = 64;

void logArchiver (const juce::String& text)
{
    juce::Logger::writeToLog ("Archiver: " + text);
}

bool writeInt (juce::OutputStream& out, juce::int64 value)
{
    jassert (value >= 0 && value <= std::numeric_limits<juce::int32>::max());
    return out.writeInt ((int) value);
}

/** A 512-byte name field: UTF-8, 0-terminated, rest 0. A longer name is cut at a
    character boundary so that the terminator always fits. */
bool writeName (juce::OutputStream& out, const juce::String& name)
{
    char field[nameSize] = {};
    auto utf8 = name.toUTF8();
    size_t length = 0;
    for (auto p = utf8; ! p.isEmpty();)
    {
        auto start = p.getAddress();
        p.getAndAdvance();
        auto charBytes = (size_t) (p.getAddress() - start);
        if (length + charBytes > (size_t) nameSize - 1)
            break;
        memcpy (field + length, start, charBytes);
        length += charBytes;
    }
    return out.write (field, nameSize);
}

class BlockWriter
{
public:
    /** `leftOut` are the files being written (the archive and its temporary file):
        an archive written into the folder it packs never holds itself. */
    BlockWriter (juce::FileOutputStream& stream, juce::Array<juce::File> filesLeftOut)
        : out (stream), leftOut (std::move (filesLeftOut)) {}

    /** Writes the directory block of `folder` at `blockStart`, the stream standing
        there; leaves the stream at the block's end and gives its total length. */
    bool writeBlock (const juce::File& folder, const juce::String& name, juce::int64 blockStart,
                     juce::int64& totalLength, int depth)
    {
        if (depth > deepestFolder)
        {
            logArchiver ("folders nested too deeply at " + folder.getFullPathName() + ".");
            return false;
        }

        auto children = folder.findChildFiles (juce::File::findFilesAndDirectories, false, "*",
                                               juce::File::FollowSymlinks::noCycles);
        children.removeIf ([this] (const juce::File& child) { return leftOut.contains (child); });
        const auto count = (juce::int64) children.size();
        juce::int64 used = blockHeaderSize + entrySize * count;
        if (! fits (blockStart + used))
            return false;

        bool ok = writeName (out, name) && writeInt (out, count) && writeInt (out, blockHeaderSize);
        ok = ok && out.writeRepeatedByte (0, (size_t) (entrySize * count));

        for (int k = 0; ok && k < children.size(); ++k)
        {
            const auto& child = children.getReference (k);
            const auto entryStart = blockStart + blockHeaderSize + entrySize * (juce::int64) k;
            const auto dataStart = blockStart + used;
            const bool isFolder = child.isDirectory();
            juce::int64 size = 0;

            if (isFolder)
                ok = writeBlock (child, child.getFileName(), dataStart, size, depth + 1);
            else
                ok = copyFile (child, dataStart, size);

            ok = ok && fits (dataStart + size) && out.setPosition (entryStart)
                 && writeInt (out, isFolder ? 1 : 0) && writeName (out, child.getFileName())
                 && writeInt (out, dataStart - entryStart) && writeInt (out, size)
                 && writeInt (out, entrySize) && out.setPosition (dataStart + size);
            used += size;
        }

        totalLength = used;
        return ok && fits (blockStart + used);
    }

private:
    juce::FileOutputStream& out;
    const juce::Array<juce::File> leftOut;

    static bool fits (juce::int64 position)
    {
        if (position <= std::numeric_limits<juce::int32>::max())
            return true;
        logArchiver ("the archive would grow past 2 GiB.");
        return false;
    }

    bool copyFile (const juce::File& file, juce::int64 dataStart, juce::int64& size)
    {
        size = file.getSize();
        if (size >= largestStoredFile)
            size = 0;
        if (size == 0 || ! fits (dataStart + size))
            return size == 0;

        juce::FileInputStream in (file);
        if (in.failedToOpen())
        {
            logArchiver ("cannot read " + file.getFullPathName() + ".");
            return false;
        }
        return out.writeFromInputStream (in, size) == size;
    }
};
} // namespace

bool ArchiveWriter::write (const juce::File& root, const juce::File& archive)
{
    if (! root.exists())
    {
        logArchiver ("root directory does not exist.");
        return false;
    }
    if (! root.isDirectory())
    {
        logArchiver ("only directories are supported for archive process.");
        return false;
    }

    try
    {
        // Built beside the target and moved over it once complete.
        juce::TemporaryFile temp (archive, juce::TemporaryFile::useHiddenFile);
        bool ok = false;
        {
            juce::FileOutputStream out (temp.getFile(), 32768);
            if (out.failedToOpen())
            {
                logArchiver ("failed at creating file streams.");
                return false;
            }

            ok = out.write (headerText, (size_t) headerLength) && out.writeRepeatedByte (0, 4)
                 && out.write ("1000", 4) && writeInt (out, rootBlockOffset);

            juce::int64 rootLength = 0;
            BlockWriter blocks (out, { archive, temp.getFile() });
            ok = ok && blocks.writeBlock (root, "ROOT", rootBlockOffset, rootLength, 0);
            out.flush();
            ok = ok && out.getStatus().wasOk();
        }

        if (! ok)
        {
            logArchiver ("failed at writing " + archive.getFullPathName() + ".");
            return false;
        }
        if (! temp.overwriteTargetFileWithTemporary())
        {
            logArchiver ("failed at replacing " + archive.getFullPathName() + ".");
            return false;
        }
        return true;
    }
    catch (...)
    {
        logArchiver ("failed at writing " + archive.getFullPathName() + ".");
        return false;
    }
}

} // namespace T730
