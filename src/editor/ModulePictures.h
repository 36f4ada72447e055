#pragma once

#include "documents/PictureDecoding.h"
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
