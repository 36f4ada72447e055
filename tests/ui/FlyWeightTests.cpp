#include "ui/FlyWeight.h"

#include <gtest/gtest.h>

#include <thread>

using T730::FlyWeight;

namespace
{
juce::Image solid (juce::Colour colour)
{
    juce::Image image (juce::Image::ARGB, 4, 4, true);
    image.clear (image.getBounds(), colour);
    return image;
}

FlyWeight& freshInstance()
{
    FlyWeight::deleteInstance();
    return *FlyWeight::getInstance();
}

struct FreshCache : ::testing::Test
{
    ~FreshCache() override { FlyWeight::deleteInstance(); }
    FlyWeight& cache = freshInstance();
};

using UiFlyWeight = FreshCache;

TEST_F (UiFlyWeight, SecondReleaseFreesWhatTheFirstKept)
{
    auto* node = cache.acquire ("Chorus");
    EXPECT_EQ (cache.acquire ("Chorus"), node);
    EXPECT_EQ (node->getUseCount(), 2);
    cache.storePicture (node, "Panel.png", solid (juce::Colours::red));

    cache.release ("Chorus");
    auto* same = cache.lookup ("Chorus");
    ASSERT_EQ (same, node);
    EXPECT_EQ (same->getUseCount(), 1);
    EXPECT_TRUE (cache.findPicture (same, "Panel.png").isValid());

    cache.release ("Chorus");
    // the node went with its pictures: a lookup makes a new, empty one
    auto* fresh = cache.lookup ("Chorus");
    EXPECT_EQ (fresh->getUseCount(), 0);
    EXPECT_EQ (fresh->getNumPictures(), 0);
    EXPECT_FALSE (cache.findPicture (fresh, "Panel.png").isValid());
}

TEST_F (UiFlyWeight, StoringUnderAnExistingNameReplaces)
{
    auto* node = cache.lookup ("Common");
    cache.storePicture (node, "Lamp.png", solid (juce::Colours::red));
    cache.storePicture (node, "Lamp.png", solid (juce::Colours::blue));
    EXPECT_EQ (node->getNumPictures(), 1);
    EXPECT_EQ (cache.findPicture (node, "Lamp.png").getPixelAt (1, 1), juce::Colours::blue);
    // names are compared exactly
    EXPECT_FALSE (cache.findPicture (node, "lamp.png").isValid());
}

TEST_F (UiFlyWeight, PathsMakeNestedNodesAndReleaseKeepsTheRoot)
{
    auto* inner = cache.acquire ("Sets/Drummer");
    auto* outer = cache.lookup ("Sets");
    EXPECT_EQ (inner->getParent(), outer);
    EXPECT_EQ (outer->getParent(), &cache.getRoot());
    EXPECT_EQ (cache.getRoot().getName(), "M7EDRoot");

    // releasing the outer node (count 0 -> -1) frees everything under it
    cache.storePicture (inner, "a.png", solid (juce::Colours::green));
    cache.release ("Sets");
    EXPECT_EQ (cache.lookup ("Sets/Drummer")->getNumPictures(), 0);

    cache.release ({});
    EXPECT_EQ (cache.lookup ({}), &cache.getRoot());
}

TEST_F (UiFlyWeight, HandedOutPicturesOutliveTheirEntry)
{
    auto* node = cache.acquire ("Delay");
    cache.storePicture (node, "Knob00.png", solid (juce::Colours::orange));
    auto kept = cache.findPicture (node, "Knob00.png");
    cache.release ("Delay");
    ASSERT_TRUE (kept.isValid());
    EXPECT_EQ (kept.getPixelAt (0, 0), juce::Colours::orange);
}

TEST_F (UiFlyWeight, StoreAndLookupFromTwoThreads)
{
    // the editor's drawing thread reads while the message thread stores
    auto* node = cache.acquire ("Busy");
    std::atomic<bool> stop { false };
    std::thread reader ([&]
    {
        while (! stop)
            for (int i = 0; i < 20; ++i)
                cache.findPicture (node, "P" + juce::String (i) + ".png");
    });
    for (int round = 0; round < 200; ++round)
        for (int i = 0; i < 20; ++i)
            cache.storePicture (node, "P" + juce::String (i) + ".png", solid (juce::Colour ((juce::uint32) round)));
    stop = true;
    reader.join();
    EXPECT_EQ (node->getNumPictures(), 20);
}
TEST_F (UiFlyWeight, PathLookupsSurviveAnotherThreadFreeingTheNode)
{
    // A picture read for an archive nobody holds (by path) while another thread
    // loads and drops the last module of that archive, which frees the node.
    std::atomic<bool> stop { false };
    std::thread modules ([&]
    {
        while (! stop)
        {
            cache.acquire ("Shared");
            cache.release ("Shared");
        }
    });
    int found = 0;
    for (int round = 0; round < 2000; ++round)
    {
        cache.storePicture (juce::String ("Shared"), "Panel.png", solid (juce::Colours::red));
        found += cache.findPicture (juce::String ("Shared"), "Panel.png").isValid() ? 1 : 0;
    }
    stop = true;
    modules.join();
    EXPECT_GT (found, 0);

    // with nobody releasing, what was stored is found again
    cache.storePicture (juce::String ("Shared"), "Panel.png", solid (juce::Colours::blue));
    EXPECT_EQ (cache.findPicture (juce::String ("Shared"), "Panel.png").getPixelAt (0, 0), juce::Colours::blue);
}
} // namespace
