#pragma once

// The rhythm panel on the fake rhythm engine: a controller link that answers the
// panel's requests and points its tool set at a folder of the test, and a machine
// with a song of a few 4/4 bars at 120 BPM.

#include "rhythm/RhythmerTestSupport.h"

#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "engine/AudioLock.h"
#include "engine/EngineSettings.h"
#include "engine/JamArray.h"
#include "engine/JamOwner.h"
#include "jam/RhythmerUI.h"
#include "rhythm/Song.h"
#include "ui/ControllerLink.h"

namespace jamtest
{

/** Answers the rhythm panel's requests and counts them. */
struct PanelLink : T730::ControllerLink
{
    int request (int code, int param1, int, void* data) override
    {
        requests.add (code);
        switch (code)
        {
            case T730::GetAppSetting:
                if (data != nullptr)
                    *static_cast<T730::AppSetting**> (data) = &settings;
                return T730::requestTrue;
            case T730::GetJamArray:
                if (data != nullptr)
                    *static_cast<T730::JamArray::Ptr*> (data) = jam;
                return T730::requestTrue;
            case T730::GetRecorderCount:
                return recorders;
            case T730::RemovePlayableItem:
                removedKind = param1;
                return removeAnswer;
            case T730::RecordUndoAndMarkEdited:
                ++undoSteps;
                return T730::requestTrue;
            default:
                return T730::requestFalse;
        }
    }

    T730::Project& getCurrentProject() override { return project; }
    void postRepaint (int flags) override { repaints.add (flags); }
    void postUpdate (int flags) override { updates.add (flags); }

    T730::AppSetting settings;
    T730::Project project;
    T730::JamArray::Ptr jam;
    juce::Array<int> requests, repaints, updates;
    int recorders = 0;
    int removeAnswer = T730::requestTrue;
    int removedKind = -1;
    int undoSteps = 0;
};

/** The audio side as running (the transport commands need it), restored afterwards. */
struct ScopedAudioRunning
{
    ScopedAudioRunning() : was (T730::getEngineSettings().audioRunning.load()) { T730::getEngineSettings().audioRunning = true; }
    ~ScopedAudioRunning() { T730::getEngineSettings().audioRunning = was; }
    bool was;
};

/** An audio thread of the test: plays the machine block after block, as the callback would. */
class AudioPump : public juce::Thread
{
public:
    AudioPump (T730::Rhythmer& m, T730::Synchronizer& s) : juce::Thread ("test audio"), machine (m), sync (s)
    {
        startThread();
    }
    ~AudioPump() override { stopThread (2000); }

    void run() override
    {
        std::vector<float> left (block), right (block);
        while (! threadShouldExit())
        {
            {
                const juce::ScopedLock sl (T730::getAudioLock());
                float* out[2] = { left.data(), right.data() };
                const float* in[2] = { left.data(), right.data() };
                machine.process (in, out, block);
                sync.advance (block);
            }
            juce::Thread::sleep (1);
        }
    }

    static constexpr int block = 1024;

private:
    T730::Rhythmer& machine;
    T730::Synchronizer& sync;
};

class RhythmPanelFixture : public rhythmtest::RhythmerFixture
{
protected:
    RhythmPanelFixture()
    {
        link.settings.Character = false;   // still pictures: no OpenGL in these tests
        link.settings.CurrentProject = toolSet.getFullPathName();
    }

    ~RhythmPanelFixture() override
    {
        panel = nullptr;
        machine = nullptr;
    }

    /** A machine playing `bars` bars of 4/4 (a bass note and a kick per bar) and its panel. */
    void makePanel (int bars = 4, int repeat = 0, const juce::String& chords = "C.......Am......F.......G.......",
                    const juce::String& root = "C", int bpm = 120)
    {
        std::vector<rhythmtest::Note> notes;
        for (int b = 0; b < bars; ++b)
        {
            notes.push_back ({ b * 1920, 0x99, 36, 100 });
            notes.push_back ({ b * 1920, 0x90, 36, 100 });
            notes.push_back ({ b * 1920 + 240, 0x89, 36, 0 });
            notes.push_back ({ b * 1920 + 240, 0x80, 36, 0 });
        }
        writePattern ("P", notes, bars * 1920, "4/4", bars, root);
        const auto song = writeSong ("Song.xml", { { "P", 0 } }, bpm, repeat,
                                     "<DispChord>" + chords + "</DispChord><OnOff>1</OnOff>");
        machine = makeMachine();
        ASSERT_TRUE (machine->loadSong (song, {}));
        panel = new T730::RhythmerUI (*machine, link, oxatest::stageFolder().getChildFile ("resources"));
    }

    T730::Song savedSong() const
    {
        T730::Song s;
        if (auto xml = T730::parseXmlFile (settingFile()))
            s.read (xml.get());
        return s;
    }

    juce::File settingFile() const { return toolSet.getChildFile ("RhythmerSetting.xml"); }

    PanelLink link;
    T730::Rhythmer::Ptr machine;
    T730::RhythmerUI::Ptr panel;
};

} // namespace jamtest
