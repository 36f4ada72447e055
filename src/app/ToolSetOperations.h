#pragma once

#include "app/ControllerParts.h"

namespace T730
{

class ZIPDecompressionThread;

/** Loading, saving, exporting and importing tool sets, on the controller's
    parts. A tool set is a folder F plus the document "<F's name>.xml" beside
    it (Project). Message thread only. */
class ToolSetOperations
{
public:
    explicit ToolSetOperations (ControllerParts& parts);

    /** Reads the document of folder F into the project. False, with the
        project unchanged, when F is empty, the document is missing, does not
        parse, is not a "Project" document or names another model. On success
        the history restarts at the loaded state, `edited` is cleared,
        CurrentProject becomes F, the engine rebuilds its items, the edit
        buffer goes to the device and every section is updated. */
    bool loadToolSet (const juce::File& folder);

    /** Saves the items' files into F and the project as F's document. Each
        failing piece shows its error; only the document decides the result.
        On success CurrentProject becomes F and `edited` is cleared; on failure
        both stay as they were. The history is left to the caller. */
    bool saveToolSet (const juce::File& folder);

    /** Save and Save As: saveToolSet, then on success the recorder files only
        the history still names are removed and the history restarts at the
        saved state. */
    bool saveWithHistoryReset (const juce::File& folder);

    /** Packs the current tool set (folder, document from memory, the song and
        patterns of the rhythm machine) into an archive. Without a tool set
        folder "No toolset." is shown; an archive that cannot be written shows
        "File error." (an earlier file of that name stays as it was). */
    bool exportToolSet (const juce::File& archive);

    /** After a save: deletes the recorder files that only the undo history
        still names, and each recorder's take files nothing refers to. */
    void removeHistoryOnlyRecorderFiles();

    /** True when the project is not edited, otherwise the user's answer to
        "Toolset has been edited. Are you sure?". */
    bool confirmDiscard();

    /** Open's loading step for a chosen document: the items are cleared, the
        tool set is loaded, and a failure is logged ("Failed reading toolset
        file.") and shown ("Toolset load error."). */
    bool openToolSetDocument (const juce::File& document);

    /** File › Import: kind 0 tool set ("ots"), 1 rhythm ("orp"); the ZIP
        unpacking runs under the progress window. Returns whether something was
        imported, and the last tool set document or song copied. */
    bool importArchive (const juce::File& source, int kind, juce::File& importedPath);

    /** What the Import commands do with what came in: a tool set is opened as
        by Open; a song is loaded into the rhythm machine item. */
    void useImported (int kind, const juce::File& importedPath);

    /** Runs the ZIP thread of an import until it is done (by default under
        the modal progress window). */
    std::function<void (ZIPDecompressionThread&)> runUnpacking;

    /** Where export and import unpack and pack ("OXA Tools Temporary" in the
        program's private cache folder); deleted before and after each use. */
    juce::File workFolder;

    /** Request 19: adds a rhythm machine (kind 0) or recorder (kind 1) item. */
    int addPlayableItem (int kind);

    /** Request 20: removes the rhythm machine item (kind 0) or recorder `index` (kind 1). */
    int removePlayableItem (int kind, int index);

    /** Clears the playable items: the rhythm item, then every recorder; then
        the engine re-applies the project. */
    void clearItems();

    /** The tool set folder F of a document. */
    static juce::File folderOfDocument (const juce::File& document);

    /** Sends the project's edit buffer to the device (the request 46 path). */
    void sendEditBufferToDevice();

    /** Posts InstContUpdateUI with the flags to the controller. */
    void postUpdate (int sectionFlags);

    /** The tool sets folder in use. */
    juce::File getToolSetsFolder() const;

private:
    UserDialogs& dialogs() const;
    void copyRhythmForExport (const juce::File& work);

    ControllerParts& parts;
};

} // namespace T730
