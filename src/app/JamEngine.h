#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

class Project;

/** What the controller asks of the audio engine's playable items (the rhythm
    machine item and the recorder items): the tool set operations, the
    numbered requests and the menu commands go through this and nothing else.
    The engine implements it; without an engine there is nothing to ask and
    the callers behave as for an empty jam. Message thread only. */
class JamEngine
{
public:
    virtual ~JamEngine() = default;

    // The tool set --------------------------------------------------------
    /** Rebuilds the playable items from the tool set (its song and recorder
        files, relative names taken inside the tool set folder). */
    virtual void applyProject (const Project& project, const juce::File& toolSetFolder) = 0;

    virtual bool hasRhythmItem() = 0;
    virtual int getRecorderCount() = 0;

    /** The rhythm machine saves its song into the folder. */
    virtual bool saveRhythmSong (const juce::File& folder) = 0;

    /** Recorder i saves its files into the folder and reports its file name. */
    virtual bool saveRecorder (int index, const juce::File& folder, juce::String& fileName) = 0;

    /** The folder recorder i keeps its take files in. */
    virtual juce::File getRecorderTakeFolder (int index) = 0;

    /** The take file names recorder i still needs: its current takes and its own undo and redo history. */
    virtual juce::StringArray getRecorderReferencedTakes (int index) = 0;

    /** For the export: the song files of the songs named like the rhythm
        machine's current song, and the pattern IDs that song needs (its
        unflagged pattern events and the item's unflagged pattern list). */
    struct RhythmExport
    {
        juce::Array<juce::File> songFiles;
        juce::StringArray patternIds;
    };
    virtual RhythmExport getRhythmExport() = 0;

    // Transport and items -------------------------------------------------
    /** Every playable item stops (waits for the fades). */
    virtual void stopAll() = 0;
    virtual void silenceAll() = 0;
    virtual void locateAll() = 0;
    virtual juce::int64 getLongestItemLength() = 0;
    virtual juce::int64 getLongestRecorderLength() = 0;
    virtual bool isAnyRecorderArmed() = 0;
    /** Fills the engine's own jam array holder with a new snapshot copy of its list. */
    virtual void copyJamArray (void* holder) = 0;
    /** kind 0: a rhythm machine item (only when none exists), 1: a recorder item. */
    virtual bool addItem (int kind, const juce::String& file) = 0;
    virtual bool removeItem (int kind, int index) = 0;
    virtual void syncRecordersTo (void* recorderItem) = 0;
    /** Loads a song into the rhythm machine item, creating the item when missing. */
    virtual bool loadSong (const juce::File& songFile) = 0;
    /** Creates a rhythm machine item for the song when none exists; true when one exists afterwards. */
    virtual bool ensureRhythmItem (void* song) = 0;

    virtual void beginRhythmPreview() = 0;
    virtual void endRhythmPreview() = 0;
    virtual void startRhythmPreview() = 0;
    virtual void stopRhythmPreview() = 0;

    // Output level and meters --------------------------------------------
    virtual void setMasterVolume (float gain) = 0;
    virtual juce::String getMasterLevelText() = 0;
    /** The stored peak of an input (or output) channel, then set back to -1.0;
        -1.0 when no block ran since the last read. */
    virtual float takePeak (bool output, int channel) = 0;
};

} // namespace T730
