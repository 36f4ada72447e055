#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace T730
{

class UserDialogs;
class ZIPDecompressionThread;

/** File › Import: brings an exported tool set ("ots") or rhythm ("orp") into
    the user-data folders. The source may be the program's own archive format
    or a ZIP file; either is unpacked into the work folder first, and only the
    expected folders of the work folder are then copied:

      "toolsets": Name.xml and its folder Name   tool sets (tool set import only)
      "song": the song documents (.xml)          songs
      "rhythm": pattern documents and MIDI files rhythm patterns

    The archive is unpacked and checked whole (names, links, sizes) before
    anything is copied into the user-data folders, so a damaged or hostile
    archive leaves them as they were. Copying then goes document by document:
    an answer of Cancel to an overwrite question stops there, keeping what was
    copied before it (Result::imported tells).
    Message thread only (the ZIP unpacking runs on its own thread meanwhile). */
class ArchiveImport
{
public:
    enum Kind
    {
        toolSetKind = 0,
        rhythmKind = 1
    };

    enum class Outcome
    {
        finished,
        failed,     // "Error while importing process."
        cancelled   // "Import canceled."
    };

    struct Result
    {
        /** True once a tool set (kind 0) or song (kind 1) was copied, even when the import stopped later. */
        bool imported = false;
        /** The last tool set document (kind 0) or song file (kind 1) copied. */
        juce::File path;
        Outcome outcome = Outcome::finished;
    };

    struct Folders
    {
        juce::File toolsets, song, rhythm;
        /** Unpacking place, deleted before and after. */
        juce::File work;
    };

    ArchiveImport (const Folders& folders, UserDialogs& dialogs);

    /** Runs the import; errors are shown as they happen. */
    Result run (const juce::File& source, int kind);

    /** Runs the started ZIP thread until it is done; by default waits for it.
        The controller runs it under the modal progress window instead. */
    std::function<void (ZIPDecompressionThread&)> runUnpacking;

    /** Called for every song copied (the song store registers it). */
    std::function<void (const juce::File&)> onSongImported;

    /** Called after each tool set copied (the main component rebuilds its demo list). */
    std::function<void()> onToolSetImported;

    /** The work folder: "OXA Tools Temporary" inside the program's private cache
        folder; an empty File when that folder cannot be trusted (the import then fails). */
    static juce::File getDefaultWorkFolder();

    /** Copies a folder's files and subfolders into the target folder (created
        when missing), overwriting files of the same names; true when every
        copy worked. Names are taken as they are, a leading "~" included;
        links to folders are left out. */
    static bool copyFolder (const juce::File& source, const juce::File& target);

    /** The first of "name.ext", "name(2).ext", "name(3).ext", ... that does not exist beside the file. */
    static juce::File getFreeVariant (const juce::File& file);

    /** The reason texts kept for an import that stopped. */
    static juce::String describe (Outcome outcome);

private:
    enum class Answer { overwrite, renamed, cancelled };

    bool unpack (const juce::File& source, int kind, Outcome& outcome);
    bool importToolSets (Result& result);
    bool importSongs (int kind, Result& result);
    void importRhythmPatterns();

    /** When the destination exists: the overwrite box, and for Rename the save dialog. */
    Answer resolveExisting (juce::File& destination);

    static juce::Array<juce::File> listFiles (const juce::File& folder, const juce::String& pattern);

    Folders folders;
    UserDialogs& dialogs;
};

} // namespace T730
