#include "platform/Platform.h"

namespace T730::platform
{

juce::File getExecutableFolder()
{
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory();
}

juce::File getUserDocumentsFolder()
{
    return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
}

juce::String getProgramVersion()
{
    return OXA_VERSION_STRING;
}

bool openFolderInFileBrowser (const juce::File& folder)
{
    if (! folder.isDirectory())
        return false;

    juce::ChildProcess browser;
    return browser.start (juce::StringArray { "xdg-open", folder.getFullPathName() }, 0);
}

} // namespace T730::platform
