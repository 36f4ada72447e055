#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace T730::platform
{

DynamicLibrary::~DynamicLibrary()
{
    close();
}

bool DynamicLibrary::open (const juce::File& file)
{
    close();
    lastError.clear();
    handle = ::dlopen (file.getFullPathName().toRawUTF8(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        auto* error = ::dlerror();
        lastError = error != nullptr ? juce::String::fromUTF8 (error) : juce::String ("cannot load library");
    }
    return handle != nullptr;
}

void DynamicLibrary::close()
{
    if (handle != nullptr)
        ::dlclose (handle);
    handle = nullptr;
}

void* DynamicLibrary::findSymbol (const char* name) const
{
    return handle != nullptr ? ::dlsym (handle, name) : nullptr;
}

} // namespace T730::platform
