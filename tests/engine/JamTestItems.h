#pragma once

// Playable items of the tests and benchmarks: a tone whose samples are a known
// function of the position, a player of a recorder take, and a factory that
// makes them for the jam list.

#include "engine/JamArray.h"
#include "engine/PlayableItem.h"
#include "engine/Synchronizer.h"
#include "recorder/TakeStatus.h"

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>

namespace oxatest
{

/** Left and right samples of the tone at a timeline position. */
inline float toneLeft (juce::int64 position)  { return 0.5f * std::sin ((float) (position % 100000) * 0.01f); }
inline float toneRight (juce::int64 position) { return 0.25f + 0.0001f * (float) (position % 1000); }

/** The count-in's sound: a constant, so that it is told apart from the tone. */
constexpr float countInLevel = 0.125f;

struct ToneItem : public T730::PlayableItem
{
    using Ptr = juce::ReferenceCountedObjectPtr<ToneItem>;

    explicit ToneItem (T730::Synchronizer& s, juce::int64 lengthInSamples = 1 << 30)
        : T730::PlayableItem (s), length (lengthInSamples) {}

    ~ToneItem() override
    {
        if (onDestroyed)
            onDestroyed (std::this_thread::get_id());
    }

    void prepare (double rate, int block) override { preparedRate = rate; preparedBlock = block; ++prepares; }

    void render (juce::int64 position, const float* const*, float* const* output, int first, int count) override
    {
        for (int i = 0; i < count; ++i)
        {
            output[0][first + i] = toneLeft (position + i);
            output[1][first + i] = toneRight (position + i);
        }
        lastRenderedPosition = position;
    }

    void renderCountIn (juce::int64, const float* const*, float* const* output, int first, int count) override
    {
        for (int i = 0; i < count; ++i)
            output[0][first + i] = output[1][first + i] = countInLevel;
    }

    juce::int64 getLength() override { return length; }
    void silence() override { ++silenced; }
    void silenceAtLocate (juce::int64 position) override { ++located; locatedAt = position; }

    bool load (const juce::File& file, const juce::File& folder) override
    {
        loadedFile = file;
        loadedFolder = folder;
        ++loads;
        return loadResult;
    }

    T730::ItemPanel::Ptr getPanel() override { return nullptr; }
    bool isArmed() override { return armed.load(); }
    void follow (T730::PlayableItem& leader) override { followed = &leader; }

    juce::int64 length;
    std::atomic<bool> armed { false };
    std::atomic<int> silenced { 0 }, located { 0 };
    std::atomic<juce::int64> locatedAt { -1 }, lastRenderedPosition { -1 };
    double preparedRate = 0.0;
    int preparedBlock = 0, prepares = 0, loads = 0;
    bool loadResult = true;
    juce::File loadedFile, loadedFolder;
    T730::PlayableItem* followed = nullptr;
    std::function<void (std::thread::id)> onDestroyed;
};

/** A minimal recorder: plays its take at the position it is given. */
struct TakeItem : public T730::PlayableItem
{
    explicit TakeItem (T730::Synchronizer& s) : T730::PlayableItem (s) {}

    void prepare (double, int) override {}
    void render (juce::int64 position, const float* const*, float* const* output, int first, int count) override
    {
        take.render (position, output, first, count);
    }
    void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
    juce::int64 getLength() override { return take.getLatestEnd(); }
    bool load (const juce::File&, const juce::File&) override { return true; }
    T730::ItemPanel::Ptr getPanel() override { return nullptr; }

    T730::TakeStatus take;
};

/** Makes tone items for the rhythm machine and the recorders; keeps what it made. */
struct ToneFactory : public T730::PlayableItemFactory
{
    T730::PlayableItem::Ptr createRhythmItem (T730::Synchronizer& s, bool preview) override
    {
        if (failRhythm)
            return nullptr;
        auto item = new ToneItem (s);
        item->loadResult = rhythmLoads;
        item->setName (preview ? "preview" : "rhythm");
        made.add (item);
        return item;
    }

    T730::PlayableItem::Ptr createRecorderItem (T730::Synchronizer& s) override
    {
        auto item = new ToneItem (s);
        made.add (item);
        return item;
    }

    bool failRhythm = false, rhythmLoads = true;
    juce::Array<ToneItem*> made;   // not owned
};

/** Sets the engine's running flag (and rate) for a test, and puts them back. */
struct ScopedEngineRunning
{
    explicit ScopedEngineRunning (bool running = true, double rate = 44100.0);
    ~ScopedEngineRunning();

    bool wasRunning;
    double oldRate;
};

} // namespace oxatest
