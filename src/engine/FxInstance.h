#pragma once

#include "platform/DynamicLibrary.h"

#include <juce_core/juce_core.h>
#include <oxa/ModuleAbi.h>

namespace T730
{

/** One effect module library: loaded and probed once when constructed, unloaded
    when destroyed. A library that is missing or exports neither entry point stays
    registered with a null entry point, so that it is tried only once. */
class FxInstance
{
public:
    /** Loads the library file for the module `name`, looks up "OxTypeIF" (else
        "getinterface") and probes it by creating one object and closing it. An
        empty file registers the name without loading anything. */
    FxInstance (const juce::String& name, const juce::File& libraryFile);
    ~FxInstance();

    const juce::String& getName() const noexcept { return name; }
    const juce::File& getLibraryFile() const noexcept { return libraryFile; }
    bool hasEntryPoint() const noexcept { return entryPoint != nullptr; }

    /** A new effect object, or null (no entry point, no record, wrong magic, or the
        module threw). */
    EffectObject* create();

    /** Closes an object through its record's dispatcher (which deletes it). Null is ignored. */
    static void close (EffectObject* object);

private:
    juce::String name;
    juce::File libraryFile;
    platform::DynamicLibrary library;
    ModuleEntryPoint entryPoint = nullptr;

    JUCE_DECLARE_NON_COPYABLE (FxInstance)
};

/** Resets the floating-point environment; done around every call into a module,
    which may leave its own rounding or exception settings behind. */
void resetFloatingPointState();

} // namespace T730
