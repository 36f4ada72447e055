#pragma once

#include "app/JamEngine.h"
#include "app/ProgressWindow.h"
#include "engine/JamArray.h"

#include <functional>

namespace T730
{

class DspMain;
class MixDownThread;
class SongManager;

/** Where an audition puts the songs and patterns it fetched before they are
    downloaded: inside the user's own cache folder, which only this user can
    enter (empty when there is none). The preview machine looks there for
    what its song names and the rhythm folder lacks. */
juce::File getRhythmAuditionFolder();

/** Makes the jam's items for the engine: the rhythm machine and the recorders
    live in their own subsystems, which install their makers here. Without a
    maker no item of that kind can be added. Message thread. */
class ControllerItemFactory final : public PlayableItemFactory
{
public:
    std::function<PlayableItem::Ptr (Synchronizer&, bool preview)> makeRhythm;
    std::function<PlayableItem::Ptr (Synchronizer&)> makeRecorder;

    PlayableItem::Ptr createRhythmItem (Synchronizer& synchronizer, bool preview) override;
    PlayableItem::Ptr createRecorderItem (Synchronizer& synchronizer) override;
};

/** The audio engine behind the interface the controller's requests, tool set
    operations and commands use. Relative item files are taken inside the
    current tool set folder, which `toolSetFolder` answers. Message thread,
    except the reading operations the engine's threads reach through the
    requests (silence, locate, lengths, armed). */
class ControllerEngine final : public JamEngine
{
public:
    ControllerEngine (DspMain& engine, std::function<juce::File()> toolSetFolder);

    /** The catalogue the rhythm export looks up songs in (not owned; may be null). */
    void setSongCatalogue (const SongManager* catalogue) noexcept { songs = catalogue; }

    void applyProject (const Project& project, const juce::File& toolSetFolder) override;
    bool hasRhythmItem() override;
    int getRecorderCount() override;
    bool saveRhythmSong (const juce::File& folder) override;
    bool saveRecorder (int index, const juce::File& folder, juce::String& fileName) override;
    juce::File getRecorderTakeFolder (int index) override;
    juce::StringArray getRecorderReferencedTakes (int index) override;
    RhythmExport getRhythmExport() override;

    void stopAll() override;
    void silenceAll() override;
    void locateAll() override;
    juce::int64 getLongestItemLength() override;
    juce::int64 getLongestRecorderLength() override;
    bool isAnyRecorderArmed() override;
    /** `holder` is a JamArray::Ptr. */
    void copyJamArray (void* holder) override;
    bool addItem (int kind, const juce::String& file) override;
    bool removeItem (int kind, int index) override;
    /** `recorderItem` is a PlayableItem of the jam. */
    void syncRecordersTo (void* recorderItem) override;
    bool loadSong (const juce::File& songFile) override;
    bool ensureRhythmItem (void* song) override;

    void beginRhythmPreview() override;
    void endRhythmPreview() override;
    void startRhythmPreview() override;
    void stopRhythmPreview() override;

    void setMasterVolume (float gain) override;
    juce::String getMasterLevelText() override;
    float takePeak (bool output, int channel) override;

private:
    DspMain& engine;
    const std::function<juce::File()> toolSetFolder;
    const SongManager* songs = nullptr;
};

/** The mix-down as the progress window polls it: the share of blocks done,
    the run's end, and a close of the window that stops the run (waiting for
    it). Message thread. */
class MixDownProgress final : public ProgressWindowListener
{
public:
    explicit MixDownProgress (MixDownThread& thread) : mixDown (thread) {}

    float advance() override;
    void cancel() override;
    bool isDone() override;

private:
    MixDownThread& mixDown;
};

} // namespace T730
