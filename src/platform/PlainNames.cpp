#include "platform/PlainNames.h"

namespace T730
{

bool isPlainName (const juce::String& name)
{
    // (A name of dots alone is "." or "..", or one that the folder's listing never
    // shows: JUCE's directory iteration skips every such name, so the program could
    // neither find nor delete what it wrote there.)
    if (name.isEmpty() || name.containsOnly (".") || name.startsWithChar ('~'))
        return false;

    for (auto p = name.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = p.getAndAdvance();
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F)
            return false;
    }

    return true;
}

juce::File plainChild (const juce::File& folder, const juce::String& name)
{
    return isPlainName (name) ? childNamed (folder, name) : juce::File();
}

bool copyFolderRecursively (const juce::File& source, const juce::File& target)
{
    if (! source.isDirectory() || ! target.createDirectory())
        return false;

    bool ok = true;

    for (const auto& file : source.findChildFiles (juce::File::findFiles, false, "*"))
        ok = file.copyFileTo (childNamed (target, file.getFileName())) && ok;

    for (const auto& folder : source.findChildFiles (juce::File::findDirectories, false, "*"))
        if (! folder.isSymbolicLink())
            ok = copyFolderRecursively (folder, childNamed (target, folder.getFileName())) && ok;

    return ok;
}

} // namespace T730
