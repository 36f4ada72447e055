#include "documents/SafeFileWriter.h"

#include "documents/OxXMLDocument.h"
#include "platform/FullWrites.h"

#include <fcntl.h>
#include <unistd.h>

namespace T730
{
namespace
{
void syncFolder (const juce::File& folder)
{
    auto fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0)
    {
        ::fsync (fd);
        ::close (fd);
    }
}
} // namespace

bool replaceFileContent (const juce::File& target, const void* data, size_t size)
{
    if (target.getFullPathName().isEmpty() || target.isDirectory())
        return false;

    auto folder = target.getParentDirectory();
    if (! folder.isDirectory())
        return false;

    auto temp = folder.getNonexistentChildFile ("." + target.getFileName() + ".tmp", {}, false);
    auto tempPath = temp.getFullPathName();

    auto fd = ::open (tempPath.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;

    bool ok = platform::writeFully (fd, data, size);
    ok = ok && ::fsync (fd) == 0;
    ok = (::close (fd) == 0) && ok;
    ok = ok && ::rename (tempPath.toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0;

    if (! ok)
    {
        ::unlink (tempPath.toRawUTF8());
        return false;
    }

    syncFolder (folder);
    return true;
}

bool replaceFileText (const juce::File& target, const juce::String& text)
{
    return replaceFileContent (target, text.toRawUTF8(), text.getNumBytesAsUTF8());
}

bool writeXmlDocument (const juce::File& target, const juce::XmlElement& root)
{
    return replaceFileText (target, createDocumentText (root));
}

} // namespace T730
