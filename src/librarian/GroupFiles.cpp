#include "librarian/GroupFiles.h"

#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "platform/PlainNames.h"

#include <sys/stat.h>
#include <unistd.h>

namespace T730
{
namespace GroupFiles
{

bool isReadOnly (const juce::File& file)
{
    if (! file.exists())
        return false;

    // Read-only as the user sees it: no write permission at all (which even the
    // administrator, who may write anything, is held to), or none for this user.
    struct stat info {};
    const auto* path = file.getFullPathName().toRawUTF8();
    if (::stat (path, &info) != 0)
        return false;

    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access (path, W_OK) != 0;
}

bool isPatchGroupFile (const juce::File& file)
{
    const auto root = parseXmlFile (file);
    if (root == nullptr)
        return false;

    auto* product = root->getChildByName ("Product");
    return product != nullptr && getOwnText (product) == "M7c" && findElement (root.get(), "Patches/PatchData") != nullptr;
}

Verdict checkOwnFile (const PatchSet& group)
{
    const auto& file = group.path;

    if (file == juce::File() || file.isDirectory())
        return Verdict::notAPatchGroup;

    if (! file.exists())
        return Verdict::writable;

    if (isReadOnly (file))
        return Verdict::readOnly;

    return isPatchGroupFile (file) ? Verdict::writable : Verdict::notAPatchGroup;
}

bool writeGroup (PatchSet& group, const juce::File& file)
{
    juce::XmlElement root ("PatchSet");
    return group.write (&root) && writeXmlDocument (file, root);
}

bool writePatch (PatchData& patch, const juce::File& file)
{
    juce::XmlElement root ("PatchData");
    return patch.writePatchFile (&root) && writeXmlDocument (file, root);
}

std::unique_ptr<PatchSet> copyOf (const PatchSet& group)
{
    auto copy = std::make_unique<PatchSet>();
    copy->Name = group.Name;
    copy->path = group.path;
    copy->allKeyworded = group.allKeyworded;
    copy->count = group.count;

    for (size_t i = 0; i < group.patches.size(); ++i)
    {
        copy->patches[i] = group.patches[i];
        copy->patches[i].owner = copy.get();
        copy->patches[i].index = (int) i;
    }
    return copy;
}

void restore (PatchSet& group, const PatchSet& copy)
{
    group.Name = copy.Name;
    group.allKeyworded = copy.allKeyworded;
    group.count = copy.count;

    for (size_t i = 0; i < group.patches.size(); ++i)
    {
        group.patches[i] = copy.patches[i];
        group.patches[i].owner = &group;
        group.patches[i].index = (int) i;
    }
}

juce::File freeFileFor (const juce::File& folder, const juce::String& name)
{
    auto file = childNamed (folder, name + ".xml");
    for (int n = 2; file.exists() && n < 1000; ++n)
        file = childNamed (folder, name + "-" + juce::String (n) + ".xml");
    return file.exists() ? juce::File() : file;
}

} // namespace GroupFiles
} // namespace T730
