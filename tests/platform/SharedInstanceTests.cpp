#include "platform/SharedInstance.h"
#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <thread>

using namespace T730;

namespace
{
    /** Asks for itself while it is being made, and takes its time. */
    struct SelfAsking
    {
        static SelfAsking* instance()
        {
            return SharedInstance<SelfAsking>::get ([] { return std::make_unique<SelfAsking>(); });
        }

        SelfAsking()
        {
            seenWhileMaking = instance();
            ++made;
            std::this_thread::sleep_for (std::chrono::milliseconds (50));
        }

        SelfAsking* seenWhileMaking = reinterpret_cast<SelfAsking*> (1);
        static inline std::atomic<int> made { 0 };
    };
}

TEST (PlatformSharedInstance, ACreationThatAsksAgainGetsNullAndOtherThreadsWaitForTheObject)
{
    SelfAsking* fromOther = nullptr;
    std::thread other ([&fromOther]
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (10));
        fromOther = SelfAsking::instance();
    });

    auto* made = SelfAsking::instance();   // used to deadlock on its own lock
    other.join();

    ASSERT_NE (made, nullptr);
    EXPECT_EQ (made->seenWhileMaking, nullptr);
    EXPECT_EQ (fromOther, made) << "the other thread waited for the one object";
    EXPECT_EQ (SelfAsking::made.load(), 1);
    EXPECT_EQ (SharedInstance<SelfAsking>::getWithoutCreating(), made);

    SharedInstance<SelfAsking>::destroy();
    EXPECT_EQ (SharedInstance<SelfAsking>::getWithoutCreating(), nullptr);
}
