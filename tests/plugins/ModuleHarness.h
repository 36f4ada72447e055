#pragma once

// Loads our effect module libraries straight through dlopen, independent of the application's
// loader, and drives their objects the way a host does. Used by the plugin tests and benches.

#include "oxa/ModuleAbi.h"

#include <dlfcn.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace moduletest
{

/** A host callback answering the basic requests. */
inline intptr_t testHost (T730::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    switch (opcode)
    {
        case T730::kHostVersion: return T730::kHostVersionAnswer;
        case T730::kHostSampleRate: return 44100;
        case T730::kHostBlockSize: return 512;
        default: return 0;
    }
}

/** One effect object; closed through its record's dispatcher on destruction. */
class ModuleObject
{
public:
    ModuleObject() = default;
    explicit ModuleObject (T730::EffectObject* o) : object (o) {}
    ModuleObject (ModuleObject&& other) noexcept : object (std::exchange (other.object, nullptr)) {}
    ModuleObject& operator= (ModuleObject&& other) noexcept
    {
        close();
        object = std::exchange (other.object, nullptr);
        return *this;
    }
    ~ModuleObject() { close(); }

    T730::EffectObject* operator->() const noexcept { return object; }
    T730::EffectObject* get() const noexcept { return object; }
    explicit operator bool() const noexcept { return object != nullptr; }
    /** Gives the object up without closing it (the caller closed it already). */
    T730::EffectObject* release() noexcept { return std::exchange (object, nullptr); }

    void close()
    {
        if (object == nullptr)
            return;
        if (auto* effect = object->getAeffect(); effect != nullptr && effect->magic == T730::kEffectMagic)
            effect->dispatcher (effect, T730::kEffClose, 0, 0, nullptr, 0.0f);
        object = nullptr;
    }

    /** Dispatcher text (opcodes 6, 7, 8) of a parameter, through a zeroed 65-byte buffer. */
    std::string text (int32_t opcode, int32_t index) const
    {
        char buffer[T730::kTextBufferSize] {};
        object->dispatcher (opcode, index, 0, buffer, 0.0f);
        return buffer;
    }

    /** The host's parameter text: name " : " display label. */
    std::string paramText (int32_t index) const
    {
        return text (T730::kEffParamName, index) + " : " + text (T730::kEffParamDisplay, index)
             + text (T730::kEffParamLabel, index);
    }

private:
    T730::EffectObject* object = nullptr;
};

/** A module library opened with dlopen. */
class ModuleLibrary
{
public:
    explicit ModuleLibrary (const std::string& path) : handle (::dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (handle == nullptr)
            error = ::dlerror();
    }
    ~ModuleLibrary()
    {
        if (handle != nullptr)
            ::dlclose (handle);
    }
    ModuleLibrary (const ModuleLibrary&) = delete;
    ModuleLibrary& operator= (const ModuleLibrary&) = delete;

    bool isOpen() const noexcept { return handle != nullptr; }
    const std::string& getError() const noexcept { return error; }

    T730::ModuleEntryPoint entryPoint (const char* name) const
    {
        return handle != nullptr ? reinterpret_cast<T730::ModuleEntryPoint> (::dlsym (handle, name)) : nullptr;
    }

    /** A new object through "OxTypeIF", set up for 44.1 kHz and the given block size. */
    ModuleObject create (int blockSize = 512, float sampleRate = 44100.0f) const
    {
        auto entry = entryPoint (T730::kModuleEntryPoint);
        if (entry == nullptr)
            return {};
        auto* record = entry (&testHost);
        if (record == nullptr || record->effect == nullptr || record->effect->magic != T730::kEffectMagic)
            return {};
        ModuleObject object (record->effect->object);
        object->setBlockSize (blockSize);
        object->setSampleRate (sampleRate);
        return object;
    }

private:
    void* handle = nullptr;
    std::string error;
};

/** Collects listener reports with the sample time at which they arrived (and, given the object,
    what its query 158 answered as each report came). */
struct ReportCollector final : T730::Ox_VstListner
{
    struct Report
    {
        int64_t time;   // samples processed when the report came (end of its block)
        float value;
        int32_t query158 = 0;
    };

    void listnerNotify (float value) override
    {
        reports.push_back ({ now, value, object != nullptr ? object->moduleQuery158() : 0 });
    }

    int64_t now = 0;
    T730::EffectObject* object = nullptr;
    std::vector<Report> reports;
};

/** Runs a stereo signal through an object in blocks, in place; the collector's clock follows. */
inline void processInPlace (T730::EffectObject* object, std::vector<double>& left, std::vector<double>& right,
                            int blockSize, ReportCollector* clock = nullptr)
{
    const size_t total = left.size();
    for (size_t start = 0; start < total; start += static_cast<size_t> (blockSize))
    {
        const int frames = static_cast<int> (std::min (total - start, static_cast<size_t> (blockSize)));
        double* channels[2] = { left.data() + start, right.data() + start };
        if (clock != nullptr)
            clock->now = static_cast<int64_t> (start) + frames;
        object->processDoubleReplacing (channels, channels, frames);
    }
}

inline double centsBetween (double frequency, double reference)
{
    return 1200.0 * std::log2 (frequency / reference);
}

} // namespace moduletest
