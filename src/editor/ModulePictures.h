#pragma once

#include "engine/NetListItem.h"

#include <juce_graphics/juce_graphics.h>

namespace T730
{

/** Where a picture named in a module description lives. */
struct ModulePictureName
{
    juce::String archive;  // the module's type key, or "Common"
    juce::String fileName; // the entry name inside the archive's "resource" folder
};

/** Resolves a picture name of module `moduleKey`: a name starting with
    "Common:" is taken from the shared archive "Common" without the prefix;
    a name without "." gets ".png". */
ModulePictureName resolveModulePictureName (const juce::String& moduleKey, const juce::String& pictureName);

/** Limits on the size a module picture may declare. Module pictures are a few
    hundred pixels wide; a file that declares more is damaged or hostile and is
    refused before the decoder allocates anything for it. */
constexpr juce::int64 largestModulePictureSide = 4096;
constexpr juce::int64 largestModulePicturePixels = 4 * 1024 * 1024;

/** True when the data is a PNG, JPEG or GIF file whose declared size keeps
    within the limits above (for a GIF: its screen and its first image). */
bool isAcceptablePictureSize (const void* data, size_t size);

/** Decodes a picture file's bytes; a null image when it cannot be decoded or
    declares a size beyond the limits. */
juce::Image decodeModulePicture (const juce::MemoryBlock& data);

/** The picture, through the picture cache: looked up in the cache node of its
    archive, and on a miss read from <resources>/<archive>.orc/resource/<file>,
    decoded and stored. Null when it cannot be found or decoded, when its size
    is beyond the limits, or when the archive or file name is not a plain name
    inside its folder (nothing is stored then). Safe to call from the message thread and the editor's
    drawing thread. */
juce::Image getModulePicture (const juce::File& resourceFolder, const juce::String& moduleKey,
                              const juce::String& pictureName);

/** The same from the program's resource folder. */
juce::Image getModulePicture (const juce::String& moduleKey, const juce::String& pictureName);

/** Connects the module nodes to the picture cache: a node that has read its
    description holds the cache node of its archive (use count + 1) until it is
    destroyed, and the archive's pictures are freed when the last holder goes.
    The controller installs one with NetListItem::setArchiveUser. */
class PictureCacheArchiveUser : public ModuleArchiveUser
{
public:
    void acquireArchive (const juce::String& moduleName) override;
    void releaseArchive (const juce::String& moduleName) override;
};

} // namespace T730
