#pragma once

// The editor under test: the staged module resources as the program's
// resource folder, a controller that records what the sections ask of it,
// a window to put a section in, and mouse gestures sent through the window's
// peer as the system sends them.

#include "TestSupport.h"
#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "editor/ModulePictures.h"
#include "editor/SectionEditor.h"
#include "editor/TypeUI.h"
#include "engine/DspLoader.h"
#include "engine/TypeLib.h"
#include "ui/ControllerLink.h"
#include "ui/FlyWeight.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace editortest
{

inline juce::File stagedResources()
{
    return oxatest::stageFolder().getChildFile ("resources");
}

/** Uses a resource folder for the editor's modules and pictures while it lives
    (a fresh picture cache, the cache counting the modules' archives). */
struct ScopedResources
{
    explicit ScopedResources (const juce::File& folder = stagedResources())
    {
        previous = T730::DspLoader::getDefaultResourceFolder();
        T730::DspLoader::setDefaultResourceFolder (folder);
        T730::FlyWeight::deleteInstance();
        T730::NetListItem::setArchiveUser (&cacheUser);
    }

    ~ScopedResources()
    {
        T730::NetListItem::setArchiveUser (nullptr);
        T730::FlyWeight::deleteInstance();
        T730::DspLoader::setDefaultResourceFolder (previous);
    }

    juce::File previous;
    T730::PictureCacheArchiveUser cacheUser;
};

/** One request the sections sent. */
struct SentRequest
{
    int code = 0;
    int module = -1, param = -1, value = -1;   // SendParameterChange
    T730::EditBuf buffer;                      // SendEditBuffer
};

/** The controller as the sections see it: answers and records the requests,
    repaints the sections it is given when a repaint is posted. */
struct RecordingLink : public T730::ControllerLink
{
    int request (int code, int, int, void* data) override
    {
        SentRequest r;
        r.code = code;
        if (code == T730::SendParameterChange && data != nullptr)
        {
            const auto* v = static_cast<const int*> (data);
            r.module = v[0];
            r.param = v[1];
            r.value = v[2];
        }
        if (code == T730::SendEditBuffer && data != nullptr)
            r.buffer = *static_cast<const T730::EditBuf*> (data);
        if (code == T730::RecordUndoAndMarkEdited || code == T730::MarkEdited)
            project.edited = true;
        const juce::ScopedLock sl (lock);
        requests.push_back (r);
        return T730::requestTrue;
    }

    T730::Project& getCurrentProject() override { return project; }

    void postRepaint (int flags) override
    {
        ++repaintPosts;
        juce::Component::SafePointer<juce::Component> target (repaintTarget);
        juce::ignoreUnused (flags);
        juce::MessageManager::callAsync ([target] { if (target != nullptr) target->repaint(); });
    }

    void postTooltipUpdate() override { ++tooltipPosts; }

    std::vector<SentRequest> take()
    {
        const juce::ScopedLock sl (lock);
        auto all = std::move (requests);
        requests.clear();
        return all;
    }

    /** The parameter changes sent since the last take, as (module, param, value). */
    std::vector<std::array<int, 3>> takeChanges()
    {
        std::vector<std::array<int, 3>> changes;
        for (const auto& r : take())
            if (r.code == T730::SendParameterChange)
                changes.push_back ({ r.module, r.param, r.value });
        return changes;
    }

    int count (int code) const
    {
        const juce::ScopedLock sl (lock);
        return oxatest::requestCount (requests, code);
    }

    T730::Project project;
    juce::Component* repaintTarget = nullptr;
    std::atomic<int> repaintPosts { 0 }, tooltipPosts { 0 };
    juce::CriticalSection lock;
    std::vector<SentRequest> requests;
};

/** A window on the desktop holding one component at (0, 0). */
struct TestWindow : public juce::Component
{
    explicit TestWindow (juce::Component& content)
    {
        setSize (content.getWidth(), content.getHeight());
        content.setTopLeftPosition (0, 0);
        addAndMakeVisible (content);
        setOpaque (true);
        addToDesktop (0);
        setTopLeftPosition (40, 40);
        setVisible (true);
        oxatest::pumpMessagesUntil ([this] { return isShowing(); }, 2000);
    }

    ~TestWindow() override
    {
        removeAllChildren();
        removeFromDesktop();
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::black); }
};

/** Mouse gestures sent through a component's peer, as the system would. */
struct PeerMouse
{
    explicit PeerMouse (juce::Component& c) : component (c) {}

    void move (juce::Point<int> p) { send (p, {}); }
    void down (juce::Point<int> p, juce::ModifierKeys extra = {})
    {
        held = extra.withFlags (juce::ModifierKeys::leftButtonModifier);
        send (p, held);
    }
    void drag (juce::Point<int> p) { send (p, held); }
    void dragWith (juce::Point<int> p, juce::ModifierKeys extra)
    {
        held = extra.withFlags (juce::ModifierKeys::leftButtonModifier);
        send (p, held);
    }
    void up (juce::Point<int> p)
    {
        send (p, {});
        held = {};
    }
    void click (juce::Point<int> p, juce::ModifierKeys extra = {})
    {
        down (p, extra);
        up (p);
    }

    void send (juce::Point<int> local, juce::ModifierKeys mods)
    {
        auto* peer = component.getPeer();
        ASSERT_NE (peer, nullptr);
        const auto inPeer = peer->getComponent().getLocalPoint (&component, local).toFloat();
        // Keys held with the buttons reach the components through the current modifiers too.
        juce::ModifierKeys::currentModifiers = mods;
        time += 40;
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, inPeer, mods,
                                juce::MouseInputSource::defaultPressure, 0.0f, time);
    }

    juce::Component& component;
    juce::ModifierKeys held;
    juce::int64 time = juce::Time::currentTimeMillis();
};

/** Waits until the drawing thread has drawn everything queued (messages run meanwhile). */
inline bool waitForFloor (T730::SectionEditor& editor, int timeoutMs = 5000)
{
    return oxatest::pumpMessagesUntil ([&editor] { return editor.getFloor().isIdle(); }, timeoutMs);
}

/** A factory patch group of the staged install folder. */
std::vector<T730::EditBuf> factoryPatches (const juce::String& groupFileName);

/** An edit buffer that selects the given types (catalogue indexes) of the staged catalogue. */
T730::EditBuf bufferWithTypes (int compIndex, int driveIndex, int modIndex, int delayIndex, int reverbIndex, int cabinet);

/** The catalogue index of a key in a category of the staged catalogue; -1 when missing. */
int indexOfKey (int category, const juce::String& key);

/** The point of a section where a control of a slot's view is (its rectangle's centre). */
juce::Point<int> sectionPointOf (T730::SectionEditor& editor, const T730::CtrlBase& control);

/** Scrolls the editor's view so that a slot's module is in sight. */
void bringIntoView (T730::SectionEditor& editor, int slot);

/** The first control of a view driving a parameter with a kind's class. */
template <typename Kind>
Kind* findControl (T730::TypeUI& view, int prm)
{
    for (int i = 0; i < view.getNumControls(); ++i)
        if (auto* c = dynamic_cast<Kind*> (view.getControl (i)); c != nullptr && c->getParameter() == prm)
            return c;
    return nullptr;
}

} // namespace editortest
