#include "PluginsTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace moduletest;

#if defined(__GNUC__) && ! defined(_WIN32)
namespace
{
/** Method table slot of a virtual member under the Itanium C++ ABI: the pointer holds
    1 + the slot's byte offset. */
template <typename Method>
long slotOf (Method method)
{
    static_assert (sizeof (Method) == 2 * sizeof (void*));
    std::uintptr_t raw = 0;
    std::memcpy (&raw, &method, sizeof raw);
    return (raw & 1) != 0 ? static_cast<long> ((raw - 1) / sizeof (void*)) : -1;
}
} // namespace

// The positions host and modules agree on. Position 0 is the destructor, which the Itanium ABI
// gives two slots, so position p sits in slot p + 1.
TEST (PluginsModuleAbi, MethodTablePositions)
{
    using T730::EffectObject;
    const auto slot = [] (long position) { return position + 1; };
    EXPECT_EQ (slotOf (&EffectObject::dispatcher), slot (1));
    EXPECT_EQ (slotOf (&EffectObject::setSampleRate), slot (6));
    EXPECT_EQ (slotOf (&EffectObject::setBlockSize), slot (7));
    EXPECT_EQ (slotOf (&EffectObject::processDoubleReplacing), slot (9));
    EXPECT_EQ (slotOf (&EffectObject::setParameter), slot (10));
    EXPECT_EQ (slotOf (&EffectObject::getParameter), slot (11));
    EXPECT_EQ (slotOf (&EffectObject::getAeffect), slot (30));
    EXPECT_EQ (slotOf (&EffectObject::getParameterProperties), slot (52));
    EXPECT_EQ (slotOf (&EffectObject::moduleQuery152), slot (152));
    EXPECT_EQ (slotOf (&EffectObject::moduleQuery153), slot (153));
    EXPECT_EQ (slotOf (&EffectObject::moduleQuery154), slot (154));
    EXPECT_EQ (slotOf (&EffectObject::moduleQuery155), slot (155));
    EXPECT_EQ (slotOf (&EffectObject::moduleQuery156), slot (156));
    EXPECT_EQ (slotOf (&EffectObject::moduleQuery157), slot (157));
    EXPECT_EQ (slotOf (&EffectObject::moduleQuery158), slot (158));
    EXPECT_EQ (slotOf (&EffectObject::setListener), slot (159));
    EXPECT_EQ (slotOf (&EffectObject::getDisplayTextForValue), slot (160));
    EXPECT_EQ (slotOf (&EffectObject::setTapTime), slot (162));
}
#endif

namespace
{
class PluginsModuleContract : public ::testing::TestWithParam<const char*>
{
};
} // namespace

// Each staged module: both entry points, a new object per call reachable through the record's
// second field, parameters that describe themselves and round-trip, indexes out of range
// answered harmlessly, and closing through the record's dispatcher.
TEST_P (PluginsModuleContract, AnswersTheHost)
{
    ModuleLibrary library (modulePath (GetParam()));
    ASSERT_TRUE (library.isOpen()) << library.getError();

    // All three stay alive until the end, so a reused address cannot pass for a new object.
    std::vector<ModuleObject> objects;
    std::set<T730::EffectObject*> distinct;
    for (const char* entryName : { T730::kModuleEntryPoint, T730::kModuleEntryPointFallback,
                                   T730::kModuleEntryPoint })
    {
        auto entry = library.entryPoint (entryName);
        ASSERT_NE (entry, nullptr) << entryName;
        T730::ModuleRecord* record = entry (&testHost);
        ASSERT_NE (record, nullptr);

        void* second = nullptr;
        std::memcpy (&second, reinterpret_cast<const char*> (record) + sizeof (void*), sizeof second);
        auto* effect = static_cast<T730::AEffect*> (second);
        ASSERT_NE (effect, nullptr);
        ASSERT_EQ (effect->magic, 0x56737450);
        objects.emplace_back (effect->object);
        const ModuleObject& object = objects.back();
        ASSERT_TRUE (object);
        EXPECT_TRUE (distinct.insert (object.get()).second) << "every call creates a new object";
        EXPECT_EQ (object->getAeffect(), effect);

        object->setBlockSize (256);
        object->setSampleRate (48000.0f);
        const int count = effect->numParams;
        ASSERT_GE (count, 1);
        ASSERT_LE (count, 32);
        for (int i = 0; i < count; ++i)
        {
            EXPECT_FALSE (object.text (T730::kEffParamName, i).empty()) << "parameter " << i;
            EXPECT_FALSE (object.text (T730::kEffParamDisplay, i).empty()) << "parameter " << i;
            T730::EffectParamProperties properties {};
            EXPECT_TRUE (object->getParameterProperties (i, &properties));
            EXPECT_NE (properties.flags & (T730::kParamIsSwitch | T730::kParamUsesIntegerMinMax
                                           | T730::kParamUsesFloatStep), 0) << "parameter " << i;

            const float initial = object->getParameter (i);
            EXPECT_GE (initial, 0.0f);
            EXPECT_LE (initial, 1.0f);
            object->setParameter (i, 0.25f);
            EXPECT_FLOAT_EQ (object->getParameter (i), 0.25f) << "parameter " << i;
            object->setParameter (i, initial);
            EXPECT_FLOAT_EQ (object->getParameter (i), initial) << "parameter " << i;
        }

        // Out of range: nothing written, nothing answered, nothing changed.
        char buffer[T730::kTextBufferSize] {};
        EXPECT_EQ (object->dispatcher (T730::kEffParamName, count, 0, buffer, 0.0f), 0);
        EXPECT_EQ (object->dispatcher (T730::kEffParamName, -1, 0, buffer, 0.0f), 0);
        object->getDisplayTextForValue (count, 0.5f, buffer);
        EXPECT_STREQ (buffer, "");
        T730::EffectParamProperties properties {};
        EXPECT_FALSE (object->getParameterProperties (count, &properties));
        object->setParameter (count, 0.5f);
        EXPECT_EQ (object->getParameter (count), 0.0f);

        // The module-own queries and the listener hooks are answered without a host listener.
        object->moduleQuery152();
        object->moduleQuery158();
        object->setListener (nullptr);
        object->setTapTime (0.5f);

        std::vector<double> left (256, 0.1), right (256, -0.1);
        double* channels[2] = { left.data(), right.data() };
        object->processDoubleReplacing (channels, channels, 256);

    }

    for (auto& object : objects)
    {
        auto* effect = object->getAeffect();
        EXPECT_EQ (effect->dispatcher (effect, T730::kEffClose, 0, 0, nullptr, 0.0f), 1);
        (void) object.release();
    }
}

INSTANTIATE_TEST_SUITE_P (PluginsStagedModules, PluginsModuleContract,
                          ::testing::Values ("Tuner", "Volume_Pedal", "Decelerator"));
