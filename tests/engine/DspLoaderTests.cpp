#include <gtest/gtest.h>

#include "TestSupport.h"
#include "engine/DspLoader.h"
#include "engine/EngineSettings.h"
#include "engine/ModuleHost.h"

#include <cfenv>
#include <cstring>
#include <dlfcn.h>
#include <thread>

using namespace T730;

namespace
{
juce::File testModules()
{
    return juce::File (OXA_ENGINE_TEST_MODULES);
}

/** A symbol of one of the test libraries (opened a second time, which shares the
    loader's copy while the loader holds it). */
template <typename Function>
Function probeFunction (const char* library, const char* symbol)
{
    auto path = testModules().getChildFile (library).getFullPathName();
    void* handle = dlopen (path.toRawUTF8(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr)
        return nullptr;
    auto* address = dlsym (handle, symbol);
    dlclose (handle);
    return reinterpret_cast<Function> (address);
}

bool isLoaded (const char* library)
{
    auto path = testModules().getChildFile (library).getFullPathName();
    void* handle = dlopen (path.toRawUTF8(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose (handle);
    return handle != nullptr;
}
} // namespace

TEST (EngineDspLoader, TwoRequestsGiveTwoObjectsFromOneLibrary)
{
    DspLoader loader (testModules(), false);
    auto* a = loader.createObject ("EngineProbe");
    auto* b = loader.createObject ("EngineProbe");
    ASSERT_NE (a, nullptr);
    ASSERT_NE (b, nullptr);
    EXPECT_NE (a, b);
    EXPECT_EQ (loader.getNumLibraries(), 1);
    EXPECT_EQ (std::fegetround(), FE_TONEAREST) << "the module's rounding mode stays with the module";

    auto live = probeFunction<int (*)()> ("EngineProbe.so", "probeLiveObjects");
    auto created = probeFunction<int (*)()> ("EngineProbe.so", "probeCreatedObjects");
    ASSERT_NE (live, nullptr);
    // The load probe made one object and closed it at once.
    EXPECT_EQ (live(), 2);
    EXPECT_EQ (created(), 3);

    DspLoader::closeObject (a);
    DspLoader::closeObject (b);
    DspLoader::closeObject (nullptr);
    EXPECT_EQ (live(), 0);
    EXPECT_EQ (std::fegetround(), FE_TONEAREST);

    // The callback the module was given is the host's.
    char name[64] = {};
    auto ask = probeFunction<intptr_t (*) (int32_t, void*)> ("EngineProbe.so", "probeAskHost");
    EXPECT_EQ (ask (kHostProductName, name), 0);
    EXPECT_STREQ (name, "OXA Tools");
    EXPECT_EQ (ask (kHostVersion, nullptr), 0x2400);
}

TEST (EngineDspLoader, NamesAreCaseSensitiveAndNeverLeaveTheFolder)
{
    DspLoader loader (testModules(), false);
    auto* legacy = loader.createObject ("EngineLegacy");
    ASSERT_NE (legacy, nullptr) << "the fallback entry point serves";
    DspLoader::closeObject (legacy);
    EXPECT_EQ (loader.getNumLibraries(), 1);

    EXPECT_EQ (loader.createObject ("enginelegacy"), nullptr);
    EXPECT_EQ (loader.getNumLibraries(), 2);

    // A library that exists one folder up is not reached through the name.
    auto up = "../" + testModules().getFileName() + "/EngineProbe";
    EXPECT_EQ (loader.createObject (up), nullptr);
    EXPECT_EQ (loader.createObject (""), nullptr);
    EXPECT_EQ (loader.getNumLibraries(), 3);

    // A record with a wrong magic is refused (and, not being trusted, never closed).
    EXPECT_EQ (loader.createObject ("EngineBadMagic"), nullptr);
}

TEST (EngineDspLoader, BrokenAndMissingLibrariesAreRegisteredOnce)
{
    {
        DspLoader loader (testModules(), false);
        EXPECT_FALSE (isLoaded ("EngineNoEntry.so"));
        EXPECT_EQ (loader.createObject ("EngineNoEntry"), nullptr);
        EXPECT_TRUE (isLoaded ("EngineNoEntry.so")) << "loaded once and kept";
        EXPECT_EQ (loader.createObject ("EngineNoEntry"), nullptr);
        EXPECT_EQ (loader.getNumLibraries(), 1);

        EXPECT_EQ (loader.createObject ("NoSuchModule"), nullptr);
        EXPECT_EQ (loader.createObject ("NoSuchModule"), nullptr);
        EXPECT_EQ (loader.getNumLibraries(), 2);
    }
    EXPECT_FALSE (isLoaded ("EngineNoEntry.so")) << "unloaded with the registry";
}

TEST (EngineDspLoader, BackgroundScanLoadsEveryLibraryOfTheFolder)
{
    DspLoader loader (testModules(), true);
    ASSERT_TRUE (loader.waitForScan (10000));
    EXPECT_EQ (loader.getNumLibraries(), 4);
    auto* object = loader.createObject ("EngineProbe");
    EXPECT_NE (object, nullptr);
    EXPECT_EQ (loader.getNumLibraries(), 4);
    DspLoader::closeObject (object);
}

TEST (EngineModuleHost, CallbackAnswers)
{
    auto& settings = getEngineSettings();
    const auto oldRate = settings.sampleRate.load();
    const auto oldBlock = settings.blockSize.load();
    settings.sampleRate = 48000.7;
    settings.blockSize = 384;

    auto ask = [] (int32_t opcode, void* ptr = nullptr) { return ModuleHost::hostCallback (nullptr, opcode, 0, 0, ptr, 0.0f); };
    EXPECT_EQ (ask (1), 0x2400);
    EXPECT_EQ (ask (2), 0);
    EXPECT_EQ (ask (16), 48000);
    EXPECT_EQ (ask (30), 48000);
    EXPECT_EQ (ask (17), 384);
    EXPECT_EQ (ask (24), 1);
    EXPECT_EQ (ask (34), 1);
    EXPECT_EQ (ask (99), 0);

    char text[64];
    std::memset (text, 'x', sizeof (text));
    EXPECT_EQ (ask (32, text), 0);
    EXPECT_STREQ (text, "OXA Tools");
    EXPECT_EQ (ask (33, nullptr), 0);

    for (auto* can : { "supplyIdle", "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "receiveVstEvents",
                       "receiveVstMidiEvent", "supportShell", "shellCategory" })
        EXPECT_EQ (ask (37, const_cast<char*> (can)), 1) << can;
    EXPECT_EQ (ask (37, const_cast<char*> ("sendVstTimeInfoX")), 0);
    EXPECT_EQ (ask (37), 0);

    auto* time = reinterpret_cast<const TimeInfo*> (ask (7));
    ASSERT_EQ (time, &ModuleHost::getTimeInfo());
    EXPECT_EQ (time->sampleRate, 48000.7);
    EXPECT_EQ (time->flags, 0x600);
    EXPECT_EQ (time->tempo, 0.0);
    EXPECT_EQ (time->samplePos, 0.0);
    ModuleHost::clearTimeInfo();
    EXPECT_EQ (ModuleHost::getTimeInfo().flags, 0);

    settings.sampleRate = oldRate;
    settings.blockSize = oldBlock;
}

TEST (EngineDspLoader, OneProcessWideRegistryServesTheNodes)
{
    DspLoader::deleteInstance();
    DspLoader::setDefaultResourceFolder (testModules());

    DspLoader* seen[2] = {};
    std::thread other ([&seen] { seen[0] = DspLoader::getInstance(); });
    seen[1] = DspLoader::getInstance();
    other.join();
    EXPECT_EQ (seen[0], seen[1]);

    auto& registry = *DspLoader::getInstance();
    EXPECT_EQ (registry.getResourceFolder(), testModules());
    ASSERT_TRUE (registry.waitForScan (10000));
    auto* object = registry.createObject ("EngineProbe");
    EXPECT_NE (object, nullptr);
    DspLoader::closeObject (object);

    DspLoader::deleteInstance();
    DspLoader::setDefaultResourceFolder ({});
    EXPECT_NE (DspLoader::getDefaultResourceFolder(), testModules());
}
