#pragma once

// The recorder panel's surroundings: a controller that answers the panel's
// requests and keeps what it was asked, the file chooser and error box as
// scripted dialogs, and synthetic mouse events.

#include "../recorder/RecorderTestSupport.h"
#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "engine/JamArray.h"
#include "jam/RecorderUI.h"
#include "ui/ControllerLink.h"
#include "ui/SectionDialogs.h"

#include <gtest/gtest.h>

namespace jamtest
{

using namespace oxatest;

/** The dialogs: the chooser answers with a prepared file, the error box keeps its texts. */
struct PanelDialogs final : public T730::SectionDialogs
{
    bool confirm (const juce::String&) override { return true; }
    void showError (const juce::String& text) override { errors.add (text); }

    bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
    {
        openedAt = initial;
        askedExtension = extension;
        if (answer == juce::File())
            return false;
        chosen = answer;
        return true;
    }

    bool chooseFileToSave (const juce::File&, const juce::String&, juce::File&) override { return false; }

    juce::File answer, openedAt;
    juce::String askedExtension;
    juce::StringArray errors;
};

/** The controller as a recorder panel sees it. */
struct PanelController : public T730::ControllerLink
{
    int request (int code, int param1, int param2, void* data) override
    {
        requests.add (code);
        switch (code)
        {
            case T730::GetAppSetting:
                *static_cast<T730::AppSetting**> (data) = &settings;
                return T730::requestTrue;
            case T730::GetLongestItemLength:
                *static_cast<juce::int64*> (data) = longest;
                return T730::requestTrue;
            case T730::HasRhythmItem:
                return hasRhythm ? T730::requestTrue : T730::requestFalse;
            case T730::SyncRecordersTo:
                syncedTo.add (static_cast<T730::PlayableItem*> (data));
                for (auto* other : followers)
                    if (other != data)
                        other->follow (*static_cast<T730::PlayableItem*> (data));
                return T730::requestTrue;
            case T730::RemovePlayableItem:
                removed.add ({ param1, param2 });
                if (jam != nullptr && jam->removeItem (param1, param2))
                    return T730::requestTrue;
                return removeAnswer;
            case T730::GetJamArray:
                if (jam != nullptr && data != nullptr)
                    *static_cast<T730::JamArray::Ptr*> (data) = jam->copy();
                return T730::requestTrue;
            case T730::RecordUndoAndMarkEdited:
                ++undoSteps;
                return T730::requestTrue;
            default:
                return T730::requestFalse;
        }
    }

    void postUpdate (int flags) override { updates.add (flags); }
    T730::SectionDialogs* getDialogs() override { return withDialogs ? &dialogs : nullptr; }
    T730::Project& getCurrentProject() override { return project; }

    int count (int code) const
    {
        int n = 0;
        for (auto c : requests)
            n += c == code ? 1 : 0;
        return n;
    }

    T730::Project project;
    T730::AppSetting settings;
    PanelDialogs dialogs;
    bool withDialogs = true;
    juce::int64 longest = 0;
    bool hasRhythm = true;
    int removeAnswer = T730::requestTrue;
    int undoSteps = 0;
    T730::JamArray::Ptr jam;
    juce::Array<int> requests, updates;
    juce::Array<T730::PlayableItem*> syncedTo;
    juce::Array<T730::PlayableItem*> followers;   // the other recorders SyncRecordersTo aligns (not owned)
    juce::Array<std::pair<int, int>> removed;
};

/** A mouse event at (x, y) of the component, with Shift when asked; the press was at downX. */
inline juce::MouseEvent mouseAt (juce::Component& c, int x, int y, bool shift = false, int downX = -1)
{
    const auto mods = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier
                                          | (shift ? juce::ModifierKeys::shiftModifier : 0));
    const juce::Point<float> p ((float) x, (float) y);
    const juce::Point<float> down ((float) (downX < 0 ? x : downX), p.y);
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), p, mods, 1.0f, 0.0f, 0.0f, 0.0f,
                             0.0f, &c, &c, juce::Time::getCurrentTime(), down, juce::Time::getCurrentTime(), 1, false);
}

/** A press, drags and a release along x on the component's middle row. */
inline void dragAlong (juce::Component& c, std::initializer_list<int> xs, bool shift = false)
{
    const int y = c.getHeight() / 2;
    const int first = *xs.begin();
    c.mouseDown (mouseAt (c, first, y, shift));
    for (int x : xs)
        c.mouseDrag (mouseAt (c, x, y, shift, first));
    c.mouseUp (mouseAt (c, *(xs.end() - 1), y, shift, first));
}

/** The recorder's setting file as read back from the disk (null when it is missing). */
inline std::unique_ptr<juce::XmlElement> savedSetting (T730::Recorder& recorder)
{
    const auto file = recorder.getToolSetFolder().getChildFile (recorder.getSettingFileName());
    if (! file.existsAsFile())
        return nullptr;
    return juce::parseXML (file);
}

/** A recorder on a rig of its own with a panel made for it (not through the
    recorder), over a tool set folder the controller names. */
struct RecorderPanelRig
{
    RecorderPanelRig() : rig (false, 0, 0)
    {
        controller.settings.CurrentProject = rig.toolSet().getFullPathName();
        rig.recorder->setName ("Recorder 1");
        rig.recorder->saveSetting (rig.toolSet());
        panel = new T730::RecorderUI (controller, *rig.recorder);
    }

    ~RecorderPanelRig()
    {
        panel = nullptr;
    }

    T730::Recorder& recorder() { return *rig.recorder; }
    T730::RecorderStatus& status() { return rig.recorder->getStatus(); }

    /** A recorder-format WAV file of the given length beside the recorder's files. */
    juce::File makeWave (const juce::String& name, int frames)
    {
        const auto file = rig.toolSet().getChildFile ("sources").getChildFile (name);
        file.getParentDirectory().createDirectory();
        writeConstantTake (file, frames, 1000);
        return file;
    }

    RecorderRig rig;
    PanelController controller;
    juce::ReferenceCountedObjectPtr<T730::RecorderUI> panel;
};

} // namespace jamtest
