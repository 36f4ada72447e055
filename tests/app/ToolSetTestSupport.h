#pragma once

#include "TestSupport.h"
#include "app/InstContMes.h"
#include "app/JamEngine.h"
#include "app/OxException.h"
#include "app/UserDialogs.h"
#include "platform/DataFolders.h"

#include <cstdlib>
#include <deque>
#include <vector>

namespace oxatest
{

/** Stands in for the controller: receives the posted messages and records them. */
struct RecordingController : public juce::MessageListener, public T730::InstContMesReceiver
{
    void handleMessage (const juce::Message& message) override
    {
        if (! T730::dispatchControllerMessage (message, *this, *this))
            ++dropped;
    }

    void updateSections (int flags) override     { updates.push_back (flags); }
    void repaintSections (int flags) override    { repaints.push_back (flags); }
    void tunerPitchDetected (float p) override   { pitches.push_back (p); }
    void punchOut (juce::ReferenceCountedObject* item) override { punchedOut.push_back (item); }
    void updateTooltip (void*) override          { ++tooltips; }

    std::vector<int> updates, repaints;
    std::vector<float> pitches;
    std::vector<juce::ReferenceCountedObject*> punchedOut;
    int tooltips = 0, dropped = 0;
};

/** Answers the dialogs from a script and records the questions. */
struct ScriptedDialogs : public T730::UserDialogs
{
    ScriptedDialogs() { previous = install (this); }
    ~ScriptedDialogs() override { install (previous); }

    bool confirm (const juce::String& text) override
    {
        questions.add (text);
        return confirmAnswer;
    }

    int askOverwrite (const juce::String& text) override
    {
        questions.add (text);
        if (overwriteAnswers.empty())
            return 0;
        auto answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }

    bool chooseFileToOpen (const juce::File&, const juce::String&, juce::File& chosen) override
    {
        chosen = openChoice;
        return openChoice != juce::File();
    }

    bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
    {
        saveInitials.add (initial.getFullPathName());
        if (saveChoice == juce::File())
            return false;
        chosen = withExtension (saveChoice, extension);
        return true;
    }

    bool confirmAnswer = true;
    std::deque<int> overwriteAnswers;
    juce::File openChoice, saveChoice;
    juce::StringArray questions, saveInitials;
    UserDialogs* previous = nullptr;
};

/** Captures the error messages shown and the log lines written while it exists. */
struct ShownErrors : public juce::Logger
{
    ShownErrors()
    {
        previousPresenter = T730::OxException::setPresenter ([this] (const juce::String&, const juce::String& m) { shown.add (m); });
        previousLogger = juce::Logger::getCurrentLogger();
        juce::Logger::setCurrentLogger (this);
    }

    ~ShownErrors() override
    {
        T730::OxException::setPresenter (previousPresenter);
        juce::Logger::setCurrentLogger (previousLogger);
    }

    void logMessage (const juce::String& message) override { logged.add (message); }

    juce::StringArray shown, logged;
    T730::OxException::Presenter previousPresenter;
    juce::Logger* previousLogger = nullptr;
};

/** Points HOME at a folder of its own while it exists, so that a name read
    as "~" (the home folder) can only reach that folder. */
struct ScopedHome
{
    explicit ScopedHome (const juce::File& folder)
    {
        if (auto* old = std::getenv ("HOME"))
            previous = old;
        folder.createDirectory();
        ::setenv ("HOME", folder.getFullPathName().toRawUTF8(), 1);
    }

    ~ScopedHome()
    {
        if (previous.isNotEmpty())
            ::setenv ("HOME", previous.toRawUTF8(), 1);
        else
            ::unsetenv ("HOME");
    }

    juce::String previous;
};

/** User data in a temporary folder: documents/VELD/OXA Tools/... */
struct UserDataSandbox
{
    UserDataSandbox()
    {
        T730::overrideFolderRoots (root / "install", root / "documents");
        for (auto* name : { T730::UserFolder::toolsets, T730::UserFolder::song, T730::UserFolder::rhythm, T730::UserFolder::setting })
            folder (name).createDirectory();
    }

    ~UserDataSandbox() { T730::clearFolderRootOverrides(); }

    juce::File folder (const juce::String& name) const { return T730::getUserDataFolder (name, false); }

    TempFolder root;
};

/** An engine with a scripted jam: a rhythm item or not, and recorders that
    save a named file. Counts what it was asked. */
struct FakeEngine : public T730::JamEngine
{
    void applyProject (const T730::Project&, const juce::File& folder) override { ++applied; appliedFolder = folder; }
    bool hasRhythmItem() override { return rhythm; }
    int getRecorderCount() override { return recorders; }
    bool saveRhythmSong (const juce::File&) override { return songSaves; }
    bool saveRecorder (int index, const juce::File& folder, juce::String& fileName) override
    {
        if (! recorderSaves || index == failingRecorder)
            return false;
        fileName = index < recorderNames.size() ? recorderNames[index] : "Recorder" + juce::String (index) + ".xml";
        folder.getChildFile (fileName).replaceWithText ("<Recorder/>");
        return true;
    }
    juce::File getRecorderTakeFolder (int) override { return takeFolder; }
    juce::StringArray getRecorderReferencedTakes (int) override { return referencedTakes; }
    RhythmExport getRhythmExport() override { return rhythmExport; }
    void stopAll() override { ++stops; }
    void silenceAll() override { ++silenced; }
    void locateAll() override { ++located; }
    juce::int64 getLongestItemLength() override { return longest; }
    juce::int64 getLongestRecorderLength() override { return longestRecorder; }
    bool isAnyRecorderArmed() override { return armed; }
    void copyJamArray (void*) override {}
    bool addItem (int kind, const juce::String&) override
    {
        if (addFails) return false;
        if (kind == 0 && ! rhythm) return rhythm = true;
        if (kind == 1) { ++recorders; return true; }
        return false;
    }
    bool removeItem (int kind, int index) override
    {
        if (kind == 0 && rhythm) { rhythm = false; return true; }
        if (kind == 1 && index >= 0 && index < recorders) { --recorders; return true; }
        return false;
    }
    void syncRecordersTo (void*) override {}
    bool loadSong (const juce::File& file) override { loadedSong = file; return file.existsAsFile(); }
    bool ensureRhythmItem (void*) override { return rhythm = true; }
    void beginRhythmPreview() override { ++previews; }
    void endRhythmPreview() override { --previews; }
    void startRhythmPreview() override {}
    void stopRhythmPreview() override {}
    void setMasterVolume (float g) override { gain = g; }
    juce::String getMasterLevelText() override { return juce::String (gain * 100.0f, 0) + " %"; }
    float takePeak (bool output, int channel) override
    {
        ++peakReads;
        auto& p = peaks[(output ? 2 : 0) + channel];
        return std::exchange (p, -1.0f);
    }

    bool rhythm = false, songSaves = true, recorderSaves = true, armed = false, addFails = false;
    int recorders = 0, failingRecorder = -1, applied = 0, stops = 0, silenced = 0, located = 0, previews = 0, peakReads = 0;
    juce::int64 longest = 0, longestRecorder = 0;
    float gain = 1.0f;
    float peaks[4] = { -1.0f, -1.0f, -1.0f, -1.0f };
    juce::File appliedFolder, loadedSong, takeFolder;
    juce::StringArray referencedTakes, recorderNames;
    RhythmExport rhythmExport;
};

} // namespace oxatest
