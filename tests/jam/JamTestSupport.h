#pragma once

// The jam section's test bench: items whose panels are plain test panels of
// chosen heights, a jam list of them, and a controller link that answers the
// section's requests from that list.

#include "TestSupport.h"
#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "engine/JamArray.h"
#include "engine/Synchronizer.h"
#include "jam/JamItem.h"
#include "ui/ControllerLink.h"

#include <atomic>
#include <thread>

namespace jamtest
{

/** A panel of a fixed open height that counts what the section tells it and
    runs a timer while it is shown (as the real panels do). */
class TestPanel : public T730::JamItem, private juce::Timer
{
public:
    TestPanel (T730::ControllerLink& link, int openHeight, std::function<bool()> removeItem)
        : JamItem (link), remover (std::move (removeItem))
    {
        setImages (juce::Image (juce::Image::ARGB, 372, 22, true), juce::Image (juce::Image::ARGB, 372, openHeight, true));
    }

    ~TestPanel() override
    {
        destroyedOnMessageThread = juce::MessageManager::existsAndIsCurrentThread();
        if (onDestroyed)
            onDestroyed (destroyedOnMessageThread);
    }

    bool remove() override { ++removes; return remover ? remover() : false; }
    void refresh() override { ++refreshes; }
    void hidden() override { ++hides; stopTimer(); }
    void shown() override { ++shows; startTimer (100); }
    void placed (int y) override { lastTop = y; }
    void recreatePlayers() override { ++recreated; }
    void releasePlayers() override { ++released; releasedInSection = getParentComponent() != nullptr; }
    void detachFromItem() override { detached = true; }
    void timerCallback() override {}

    bool isTimerOn() const { return isTimerRunning(); }

    std::function<bool()> remover;
    std::function<void (bool onMessageThread)> onDestroyed;
    int removes = 0, refreshes = 0, hides = 0, shows = 0, recreated = 0, released = 0, lastTop = -9999;
    bool releasedInSection = false;
    bool detached = false, destroyedOnMessageThread = false;
};

/** An item whose panel is a TestPanel of the given open height. */
struct PanelItem : public T730::PlayableItem
{
    PanelItem (T730::Synchronizer& s, T730::ControllerLink& l, int h) : PlayableItem (s), link (l), height (h) {}

    void prepare (double, int) override {}
    void render (juce::int64, const float* const*, float* const*, int, int) override {}
    void renderCountIn (juce::int64, const float* const*, float* const*, int, int) override {}
    juce::int64 getLength() override { return 44100; }
    bool load (const juce::File&, const juce::File&) override { return true; }

    T730::ItemPanel::Ptr getPanel() override
    {
        if (getStoredPanel() == nullptr)
        {
            setPanel (new TestPanel (link, height, removeItem));
            ++panelsMade;
        }
        return getStoredPanel();
    }

    TestPanel* panel() { return dynamic_cast<TestPanel*> (getStoredPanel()); }

    T730::ControllerLink& link;
    int height;
    int panelsMade = 0;
    std::function<bool()> removeItem;
};

/** A controller of the jam alone: a jam list of PanelItems and the requests the section sends. */
class JamLink : public T730::ControllerLink, private T730::PlayableItemFactory
{
public:
    JamLink() : jam (new T730::JamArray (sync, this, nullptr)) {}

    int request (int code, int p1, int p2, void* data) override
    {
        using namespace T730;
        requests.add (code);
        switch (code)
        {
            case GetJamArray:
                if (data != nullptr)
                    *static_cast<JamArray::Ptr*> (data) = jam->copy();
                return requestTrue;
            case AddPlayableItem:
                ++adds;
                lastAddedKind = p1;
                return jam->addItem ({}, p1, {}) ? requestTrue : requestFalse;
            case RemovePlayableItem:
                return jam->removeItem (p1, p2) ? requestTrue : requestFalse;
            case RecordUndoAndMarkEdited:
                ++undoSteps;
                return requestTrue;
            case HasRhythmItem:
                return jam->getRhythmItem() != nullptr ? requestTrue : requestFalse;
            default:
                return requestFalse;
        }
    }

    void postUpdate (int flags) override { updates.add (flags); }
    T730::Project& getCurrentProject() override { return project; }

    PanelItem* rhythm() { return dynamic_cast<PanelItem*> (jam->getRhythmItem().get()); }
    PanelItem* recorder (int i) { return dynamic_cast<PanelItem*> (jam->getRecorder (i).get()); }

    int rhythmHeight = 124, recorderHeight = 88;
    T730::Synchronizer sync;
    T730::JamArray::Ptr jam;
    T730::Project project;
    juce::Array<int> requests, updates;
    int adds = 0, undoSteps = 0, lastAddedKind = -1;

private:
    T730::PlayableItem::Ptr createRhythmItem (T730::Synchronizer& s, bool) override
    {
        auto* item = new PanelItem (s, *this, rhythmHeight);
        item->removeItem = [this] { return jam->removeItem (0, 0); };
        return item;
    }

    T730::PlayableItem::Ptr createRecorderItem (T730::Synchronizer& s) override
    {
        auto* item = new PanelItem (s, *this, recorderHeight);
        item->removeItem = [this, item] { return jam->removeItem (1, item->getJamIndex()); };
        return item;
    }
};

} // namespace jamtest
