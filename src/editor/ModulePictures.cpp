#include "editor/ModulePictures.h"

#include "documents/Archive.h"
#include "engine/DspLoader.h"
#include "platform/DataFolders.h"
#include "ui/FlyWeight.h"

namespace T730
{

ModulePictureName resolveModulePictureName (const juce::String& moduleKey, const juce::String& pictureName)
{
    static const juce::String commonPrefix ("Common:");

    ModulePictureName result { moduleKey, pictureName };
    if (pictureName.startsWith (commonPrefix))
    {
        result.archive = "Common";
        result.fileName = pictureName.substring (commonPrefix.length());
    }

    if (! result.fileName.containsChar ('.'))
        result.fileName += ".png";

    return result;
}


juce::Image getModulePicture (const juce::File& resourceFolder, const juce::String& moduleKey,
                              const juce::String& pictureName)
{
    if (pictureName.isEmpty())
        return {};

    // Names come from data files: each must name an entry directly inside its
    // folder, so that no name reaches a file outside the resources folder.
    const auto name = resolveModulePictureName (moduleKey, pictureName);
    if (! isPlainModuleName (name.archive) || ! isPlainModuleName (name.fileName))
        return {};

    // The node is found by its path on every call, under the cache's tree lock:
    // the caller may hold no acquire on it, and another thread may release it.
    auto* cache = FlyWeight::getInstance();
    if (cache == nullptr)
        return {};

    auto picture = cache->findPicture (name.archive, name.fileName);
    if (picture.isValid())
        return picture;

    juce::MemoryBlock data;
    if (! readArchiveEntry (resourceFolder.getChildFile (name.archive + ".orc")
                                .getChildFile ("resource")
                                .getChildFile (name.fileName), data))
        return {};

    picture = decodeModulePicture (data);
    if (picture.isValid())
        cache->storePicture (name.archive, name.fileName, picture);
    return picture;
}

juce::Image getModulePicture (const juce::String& moduleKey, const juce::String& pictureName)
{
    return getModulePicture (getResourceFolder(), moduleKey, pictureName);
}

void PictureCacheArchiveUser::acquireArchive (const juce::String& moduleName)
{
    if (auto* cache = FlyWeight::getInstance())
        cache->acquire (moduleName);
}

void PictureCacheArchiveUser::releaseArchive (const juce::String& moduleName)
{
    if (auto* cache = FlyWeight::getInstance())
        cache->release (moduleName);
}

} // namespace T730
