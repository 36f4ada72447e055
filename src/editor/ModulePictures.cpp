#include "editor/ModulePictures.h"

#include "documents/Archive.h"
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

    const auto name = resolveModulePictureName (moduleKey, pictureName);
    if (name.archive.isEmpty())
        return {};

    auto& cache = FlyWeight::getInstance();
    auto* node = cache.lookup (name.archive);

    auto picture = cache.findPicture (node, name.fileName);
    if (picture.isValid())
        return picture;

    picture = readArchiveImage (resourceFolder.getChildFile (name.archive + ".orc")
                                    .getChildFile ("resource")
                                    .getChildFile (name.fileName));
    if (picture.isValid())
        cache.storePicture (node, name.fileName, picture);
    return picture;
}

juce::Image getModulePicture (const juce::String& moduleKey, const juce::String& pictureName)
{
    return getModulePicture (getResourceFolder(), moduleKey, pictureName);
}

void PictureCacheArchiveUser::acquireArchive (const juce::String& moduleName)
{
    FlyWeight::getInstance().acquire (moduleName);
}

void PictureCacheArchiveUser::releaseArchive (const juce::String& moduleName)
{
    FlyWeight::getInstance().release (moduleName);
}

} // namespace T730
