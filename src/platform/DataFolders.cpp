#include "platform/DataFolders.h"
#include "platform/Platform.h"
#include "platform/PlainNames.h"

namespace T730
{

namespace
{
    struct FolderState
    {
        juce::CriticalSection lock;
        juce::String installFolder;   // cached answer, guarded by lock
        juce::String moduleVersion;   // cached answer, guarded by lock
        juce::File installOverride;   // guarded by lock
        juce::File documentsOverride; // guarded by lock
    };

    FolderState& state()
    {
        static FolderState s;
        return s;
    }
} // namespace

juce::String getInstallFolder()
{
    auto& s = state();
    const juce::ScopedLock sl (s.lock);

    if (s.installFolder.isNotEmpty())
        return s.installFolder;

    const auto folder = s.installOverride != juce::File() ? s.installOverride
                                                          : platform::getExecutableFolder();
    if (! folder.isDirectory())
        return {};

    auto path = folder.getFullPathName();
    if (! path.endsWithChar (juce::File::getSeparatorChar()))
        path << juce::File::getSeparatorChar();

    s.installFolder = path;
    return path;
}

juce::String getModuleVersion()
{
    auto& s = state();
    const juce::ScopedLock sl (s.lock);

    if (s.moduleVersion.isEmpty())
        s.moduleVersion = platform::getProgramVersion();

    return s.moduleVersion;
}

juce::File getDocumentsFolder()
{
    auto& s = state();
    {
        const juce::ScopedLock sl (s.lock);
        if (s.documentsOverride != juce::File())
            return s.documentsOverride;
    }
    return platform::getUserDocumentsFolder();
}

juce::File getUserDataRoot()
{
    return getDocumentsFolder().getChildFile ("VELD").getChildFile ("OXA Tools");
}

juce::File getInstalledDataFolder (const juce::String& name)
{
    const auto install = getInstallFolder();
    if (install.isEmpty())
        return {};

    return juce::File (install).getChildFile (name);
}

juce::File getUserDataFolder (const juce::String& name, bool copyIfMissing)
{
    const auto folder = getUserDataRoot().getChildFile (name);

    if (copyIfMissing && ! folder.exists())
    {
        const auto installed = getInstalledDataFolder (name);
        if (installed.isDirectory())
            copyFolderRecursively (installed, folder);
    }

    return folder;
}

juce::File getResourceFolder()
{
    const auto install = getInstallFolder();
    if (install.isEmpty())
        return juce::File::getCurrentWorkingDirectory().getChildFile ("resources");

    return juce::File (install).getChildFile ("resources");
}

juce::File getResourceArchive (const juce::String& name)
{
    return isPlainName (name) ? childNamed (getResourceFolder(), name + ".orc") : juce::File();
}

juce::File getResourceInArchive (const juce::String& archiveName, const juce::String& fileName)
{
    const auto archive = getResourceArchive (archiveName);
    return archive != juce::File() && isPlainName (fileName) ? archive.getChildFile ("resource").getChildFile (fileName)
                                                              : juce::File();
}

juce::File getEffectModuleLibrary (const juce::String& name)
{
    return isPlainName (name) ? childNamed (getResourceFolder(), name + ".so") : juce::File();
}

void overrideFolderRoots (const juce::File& installFolder, const juce::File& documentsFolder)
{
    auto& s = state();
    const juce::ScopedLock sl (s.lock);
    s.installOverride = installFolder;
    s.documentsOverride = documentsFolder;
    s.installFolder.clear();
}

void clearFolderRootOverrides()
{
    overrideFolderRoots ({}, {});
}

} // namespace T730
