#pragma once

#include "engine/FxInstance.h"

#include <atomic>
#include <juce_core/juce_core.h>

namespace T730
{

/** The registry of effect module libraries ("<name>.so" in the resources folder).

    One instance serves the whole process (getInstance); its background thread
    loads every library of the folder at the lowest priority so that later
    requests find them ready. A library is loaded at most once per instance: a
    missing or broken one is registered too and answers null from then on. */
class DspLoader : private juce::Thread
{
public:
    /** A registry of the libraries in `resourceFolder`; the scan thread is started
        when asked. */
    explicit DspLoader (const juce::File& resourceFolder, bool startScan = true);
    ~DspLoader() override;

    /** The process-wide registry, created on first use (under a global lock) on the
        default resources folder. */
    static DspLoader* getInstance();

    /** Deletes the process-wide registry (at shut-down, after every object is closed). */
    static void deleteInstance();

    /** The folder the process-wide registry uses (and where the nodes find the
        modules' resource archives): the install folder's "resources" unless set
        before the registry is first used. */
    static void setDefaultResourceFolder (const juce::File& folder);
    static juce::File getDefaultResourceFolder();

    /** A new effect object of the module `name` (matched case-sensitively), loading
        its library on first request; null when there is none. */
    EffectObject* createObject (const juce::String& name);

    /** Closes an object made by createObject. */
    static void closeObject (EffectObject* object) { FxInstance::close (object); }

    const juce::File& getResourceFolder() const noexcept { return resourceFolder; }

    /** Number of registered libraries, loaded or not. */
    int getNumLibraries() const;

    /** Waits until the scan thread has gone through the folder (tests, tools). */
    bool waitForScan (int timeoutMs) const;

private:
    const juce::File resourceFolder;

    /** Guards `libraries`; held by the scan thread for one library at a time and by
        every object request. */
    juce::CriticalSection lock;
    juce::OwnedArray<FxInstance> libraries;

    /** Set by the scan thread when it has finished. */
    std::atomic<bool> scanDone { false };

    void run() override;

    /** The entry of that name, loading it when missing. Caller holds `lock`. */
    FxInstance& findOrLoad (const juce::String& name);
    FxInstance* find (const juce::String& name) const;

    JUCE_DECLARE_NON_COPYABLE (DspLoader)
};

/** A module name that names a file directly inside the resources folder (no
    path separator, not "." or ".."). Module names come from data files. */
bool isPlainModuleName (const juce::String& name);

} // namespace T730
