#include "engine/FxInstance.h"

#include "engine/ModuleHost.h"

#include <cfenv>

namespace T730
{

void resetFloatingPointState()
{
    std::fesetenv (FE_DFL_ENV);
}

FxInstance::FxInstance (const juce::String& moduleName, const juce::File& file)
    : name (moduleName), libraryFile (file)
{
    resetFloatingPointState();
    if (libraryFile != juce::File() && library.open (libraryFile))
    {
        auto* symbol = library.findSymbol (kModuleEntryPoint);
        if (symbol == nullptr)
            symbol = library.findSymbol (kModuleEntryPointFallback);
        entryPoint = reinterpret_cast<ModuleEntryPoint> (symbol);
    }
    resetFloatingPointState();

    if (entryPoint != nullptr)
        close (create());
}

FxInstance::~FxInstance()
{
    resetFloatingPointState();
    library.close();
    resetFloatingPointState();
}

EffectObject* FxInstance::create()
{
    if (entryPoint == nullptr)
        return nullptr;

    resetFloatingPointState();
    EffectObject* object = nullptr;
    try
    {
        auto* record = entryPoint (&ModuleHost::hostCallback);
        if (record != nullptr && record->effect != nullptr && record->effect->magic == kEffectMagic)
            object = record->effect->object;
    }
    catch (...)
    {
        object = nullptr;
    }
    resetFloatingPointState();
    return object;
}

void FxInstance::close (EffectObject* object)
{
    if (object == nullptr)
        return;

    resetFloatingPointState();
    try
    {
        auto* effect = object->getAeffect();
        if (effect != nullptr && effect->magic == kEffectMagic && effect->dispatcher != nullptr)
            effect->dispatcher (effect, kEffClose, 0, 0, nullptr, 0.0f);
    }
    catch (...)
    {
    }
    resetFloatingPointState();
}

} // namespace T730
