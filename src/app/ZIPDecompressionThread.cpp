#include "app/ZIPDecompressionThread.h"

#include "documents/Project.h"

#include <cstring>

namespace T730
{

namespace
{
    constexpr int copyBlockSize = 65536;

    /** Free space on the volume the folder is (or will be) on. */
    juce::int64 freeBytesFor (juce::File folder)
    {
        while (! folder.exists() && folder != folder.getParentDirectory())
            folder = folder.getParentDirectory();
        return folder.getBytesFreeOnVolume();
    }
}

bool isValidUtf8 (const char* text, size_t size) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*> (text);
    const auto* end = p + size;

    while (p < end)
    {
        const unsigned c = *p++;
        if (c < 0x80)
            continue;

        int extra = 0;
        juce::uint32 value = 0, least = 0;
        if ((c & 0xe0) == 0xc0)      { extra = 1; value = c & 0x1f; least = 0x80; }
        else if ((c & 0xf0) == 0xe0) { extra = 2; value = c & 0x0f; least = 0x800; }
        else if ((c & 0xf8) == 0xf0) { extra = 3; value = c & 0x07; least = 0x10000; }
        else return false;

        if (end - p < extra)
            return false;

        for (int i = 0; i < extra; ++i)
        {
            const unsigned next = *p++;
            if ((next & 0xc0) != 0x80)
                return false;
            value = (value << 6) | (next & 0x3f);
        }

        if (value < least || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
            return false;
    }

    return true;
}

bool passesThroughLink (const juce::File& destination, const juce::String& entryPath)
{
    auto step = destination;
    for (const auto& name : juce::StringArray::fromTokens (entryPath.replaceCharacter ('\\', '/'), "/", {}))
    {
        step = childNamed (step, name);
        if (step.isSymbolicLink())
            return true;
        if (! step.exists())
            return false;
    }
    return false;
}

bool isSafeEntryPath (const juce::String& entryPath)
{
    if (entryPath.isEmpty())
        return true;

    // JUCE keeps the stored bytes of a name as they are; its string walkers
    // disagree on bytes that are not UTF-8 (one recursed without end, another
    // made a string ending before its start), so such a name is refused before
    // anything else looks at it.
    const auto* raw = entryPath.toRawUTF8();
    if (! isValidUtf8 (raw, std::strlen (raw)))
        return false;

    for (auto c : entryPath)
        if (c < 0x20 || c == 0x7f)
            return false;

    const auto path = entryPath.replaceCharacter ('\\', '/');

    if (path.startsWithChar ('/'))
        return false;

    if (path.length() >= 2 && juce::CharacterFunctions::isLetter (path[0]) && path[1] == ':')
        return false;

    // ".." climbs out; "..." and longer would be written but never listed again, so
    // the work folder could not be emptied ("." is the folder itself, as some
    // archivers write it).
    for (auto& step : juce::StringArray::fromTokens (path, "/", {}))
        if (step.length() > 1 && step.containsOnly ("."))
            return false;

    return true;
}

ZIPDecompressionThread::ZIPDecompressionThread (const juce::File& zipFile, const juce::File& destinationFolder)
    : juce::Thread ("Decompression Thread"), source (zipFile), destination (destinationFolder)
{
}

ZIPDecompressionThread::~ZIPDecompressionThread()
{
    stopThread (2000);
}

float ZIPDecompressionThread::advance()
{
    auto p = progress.load();
    if (p < 0.95f)
        progress.store (p += 0.003f);
    return p;
}

void ZIPDecompressionThread::cancel()
{
    stopThread (2000);
}

void ZIPDecompressionThread::run()
{
    unpack();
}

void ZIPDecompressionThread::unpack()
{
    auto finish = [this] (bool ok)
    {
        completed = ok;
        failed = ! ok && ! threadShouldExit();
        done = true;
    };

    juce::ZipFile zip (source);

    // Check everything before writing anything.
    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        auto* entry = zip.getEntry (i);
        if (entry->isSymbolicLink || ! isSafeEntryPath (entry->filename))
            return finish (false);

        const auto path = entry->filename.replaceCharacter ('\\', '/');
        if (path.isNotEmpty() && ! childNamed (destination, path).isAChildOf (destination))
            return finish (false);

        // A folder link already in the destination would lead the entry elsewhere.
        if (passesThroughLink (destination, path))
            return finish (false);
    }

    // A file that would not fit on the disk is refused before anything is written.
    juce::int64 declaredTotal = 0;
    for (int i = 0; i < zip.getNumEntries(); ++i)
        declaredTotal += juce::jmax ((juce::int64) 0, zip.getEntry (i)->uncompressedSize);

    if (declaredTotal > freeBytesFor (destination))
        return finish (false);

    if (! destination.createDirectory())
        return finish (false);

    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        if (threadShouldExit())
            return finish (false);

        const auto* entry = zip.getEntry (i);
        const auto path = entry->filename.replaceCharacter ('\\', '/');
        if (path.isEmpty())
            continue;

        auto target = childNamed (destination, path);

        if (path.endsWithChar ('/'))
        {
            if (! target.createDirectory())
                return finish (false);
            continue;
        }

        std::unique_ptr<juce::InputStream> in (zip.createStreamForEntry (i));
        if (in == nullptr || ! target.getParentDirectory().createDirectory())
            return finish (false);

        // Never write through a link that some earlier step left in place.
        if (passesThroughLink (destination, path) || (target.exists() && ! target.deleteFile()))
            return finish (false);

        juce::FileOutputStream out (target);
        if (out.failedToOpen())
            return finish (false);

        // In pieces, so that closing the dialog stops a large entry at once
        // instead of after the whole entry (when the thread would be killed).
        // An entry that gives more than its declared size is damaged or hostile
        // (it could fill the disk): the unpacking fails.
        juce::HeapBlock<char> buffer (copyBlockSize);
        juce::int64 written = 0;
        for (;;)
        {
            if (threadShouldExit())
                return finish (false);

            const auto got = in->read (buffer.get(), copyBlockSize);
            if (got <= 0)
                break;

            written += got;
            if (written > entry->uncompressedSize)
                return finish (false);

            if (! out.write (buffer.get(), (size_t) got))
                return finish (false);
        }

        out.flush();
        if (out.getStatus().failed())
            return finish (false);
    }

    finish (! threadShouldExit());
}

} // namespace T730
