#include "engine/DspLoader.h"
#include "platform/PlainNames.h"

#include "platform/DataFolders.h"
#include "platform/SharedInstance.h"

#include <mutex>

namespace T730
{
namespace
{
std::mutex folderMutex;
juce::File defaultFolder;        // guarded by folderMutex

constexpr const char* libraryExtension = ".so";
} // namespace

DspLoader::DspLoader (const juce::File& folder, bool startScan)
    : juce::Thread ("Dsp Module Loading Thread"), resourceFolder (folder)
{
    if (startScan)
        startThread (juce::Thread::Priority::background);
    else
        scanDone = true;
}

DspLoader::~DspLoader()
{
    // Signalled, then waited for: a scan killed inside a library's loading
    // would leave the loader's own locks (and this registry's) held.
    signalThreadShouldExit();
    waitForThreadToExit (-1);

    const juce::ScopedLock sl (lock);
    for (int i = libraries.size(); --i >= 0;)
        libraries.remove (i);
}

DspLoader* DspLoader::getInstance()
{
    return SharedInstance<DspLoader>::get ([]
    {
        return std::unique_ptr<DspLoader> (new DspLoader (getDefaultResourceFolder()));
    });
}

void DspLoader::deleteInstance()
{
    SharedInstance<DspLoader>::destroy();
}

void DspLoader::setDefaultResourceFolder (const juce::File& folder)
{
    const std::lock_guard<std::mutex> guard (folderMutex);
    defaultFolder = folder;
}

juce::File DspLoader::getDefaultResourceFolder()
{
    const std::lock_guard<std::mutex> guard (folderMutex);
    if (defaultFolder != juce::File())
        return defaultFolder;
    return T730::getResourceFolder();
}

bool isPlainModuleName (const juce::String& name)
{
    return isPlainName (name);
}

EffectObject* DspLoader::createObject (const juce::String& name)
{
    if (name.isEmpty())
        return nullptr;
    const juce::ScopedLock sl (lock);
    return findOrLoad (name).create();
}

int DspLoader::getNumLibraries() const
{
    const juce::ScopedLock sl (lock);
    return libraries.size();
}

bool DspLoader::waitForScan (int timeoutMs) const
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (! scanDone)
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;
        juce::Thread::sleep (2);
    }
    return true;
}

void DspLoader::run()
{
    const auto files = resourceFolder.findChildFiles (juce::File::findFiles, false,
                                                      juce::String ("*") + libraryExtension);
    for (const auto& file : files)
    {
        if (threadShouldExit())
            break;
        const juce::ScopedLock sl (lock);
        findOrLoad (file.getFileNameWithoutExtension());
    }
    scanDone = true;
}

FxInstance* DspLoader::find (const juce::String& name) const
{
    for (int i = libraries.size(); --i >= 0;)
        if (libraries.getUnchecked (i)->getName() == name)
            return libraries.getUnchecked (i);
    return nullptr;
}

FxInstance& DspLoader::findOrLoad (const juce::String& name)
{
    if (auto* existing = find (name))
        return *existing;
    // Module names come from data files: one that would lead out of the folder
    // is registered as a missing library.
    auto file = isPlainModuleName (name) ? resourceFolder.getChildFile (name + libraryExtension) : juce::File();
    return *libraries.add (new FxInstance (name, file));
}

} // namespace T730
