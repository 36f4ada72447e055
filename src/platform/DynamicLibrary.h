#pragma once

#include <juce_core/juce_core.h>

namespace T730::platform
{

/** One shared library opened with dlopen (symbols bound at once, kept local to
    the library). Closed by the destructor. */
class DynamicLibrary
{
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();

    /** Opens the library file (closing one opened before); false when it cannot be
        loaded, the reason being kept in getLastError(). */
    bool open (const juce::File& file);

    void close();

    bool isOpen() const noexcept { return handle != nullptr; }

    /** The address of an exported symbol, or null (also when nothing is open). */
    void* findSymbol (const char* name) const;

    /** Why the last open failed ("" after a success). */
    const juce::String& getLastError() const noexcept { return lastError; }

private:
    void* handle = nullptr;
    juce::String lastError;

    JUCE_DECLARE_NON_COPYABLE (DynamicLibrary)
};

} // namespace T730::platform
