#include "app/ArchiveImport.h"

#include "app/OxException.h"
#include "app/UserDialogs.h"
#include "app/ZIPDecompressionThread.h"
#include "documents/Archive.h"
#include "documents/Project.h"
#include "platform/Platform.h"

namespace T730
{

namespace
{
    void showKindError (int kind)
    {
        if (kind == ArchiveImport::rhythmKind)
            OxExceptionZipImpNoSong().show();
        else
            OxExceptionZipImpNoToolSet().show();
    }
} // namespace

ArchiveImport::ArchiveImport (const Folders& foldersToUse, UserDialogs& dialogsToUse)
    : folders (foldersToUse), dialogs (dialogsToUse)
{
    runUnpacking = [] (ZIPDecompressionThread& thread) { thread.waitForThreadToExit (-1); };
}

juce::File ArchiveImport::getDefaultWorkFolder()
{
    // Inside the user's own cache folder, which only this user can enter.
    const auto cache = platform::getPrivateCacheFolder();
    return cache == juce::File() ? juce::File() : cache.getChildFile ("OXA Tools Temporary");
}

juce::String ArchiveImport::describe (Outcome outcome)
{
    switch (outcome)
    {
        case Outcome::failed:    return "Error while importing process.";
        case Outcome::cancelled: return "Import canceled.";
        case Outcome::finished:  break;
    }
    return {};
}

bool ArchiveImport::copyFolder (const juce::File& source, const juce::File& target)
{
    return copyFolderRecursively (source, target);
}

juce::File ArchiveImport::getFreeVariant (const juce::File& file)
{
    const auto parent = file.getParentDirectory();
    const auto name = file.getFileNameWithoutExtension();
    const auto extension = file.getFileExtension();

    auto candidate = childNamed (parent, name + extension);
    for (int n = 2; candidate.exists(); ++n)
        candidate = childNamed (parent, name + "(" + juce::String (n) + ")" + extension);

    return candidate;
}

juce::Array<juce::File> ArchiveImport::listFiles (const juce::File& folder, const juce::String& pattern)
{
    // Sorted by name, so which document is "last" does not depend on the file system.
    auto files = folder.findChildFiles (juce::File::findFiles, false, pattern);
    files.sort();
    return files;
}

ArchiveImport::Result ArchiveImport::run (const juce::File& source, int kind)
{
    Result result;

    if (folders.work == juce::File())
    {
        juce::Logger::writeToLog ("Import: no private work folder could be made in the cache folder.");
        showKindError (kind);
        result.outcome = Outcome::failed;
        return result;
    }

    folders.work.deleteRecursively();
    folders.work.createDirectory();

    // The reason (describe) stays inside the program; the user has seen the error already.
    const auto stop = [&] (Outcome outcome)
    {
        folders.work.deleteRecursively();
        result.outcome = outcome;
        return result;
    };

    if (! source.existsAsFile())
    {
        juce::Logger::writeToLog ("error at song import function: file nonexistent");
        return stop (Outcome::failed);
    }

    if (Outcome outcome; ! unpack (source, kind, outcome))
        return stop (outcome);

    if (kind == toolSetKind && ! importToolSets (result))
        return stop (result.outcome);

    if (! importSongs (kind, result))
        return stop (result.outcome);

    importRhythmPatterns();

    folders.work.deleteRecursively();
    result.outcome = Outcome::finished;
    return result;
}

bool ArchiveImport::unpack (const juce::File& source, int kind, Outcome& outcome)
{
    outcome = Outcome::failed;

    if (isArchive (source))
    {
        if (! unpackArchive (source, folders.work))
        {
            OxExceptionInvalidProjData().show();
            return false;
        }
        return true;
    }

    ZIPDecompressionThread thread (source, folders.work);
    thread.startThread();
    runUnpacking (thread);
    thread.stopThread (2000);

    if (thread.hasFailed())
    {
        // A damaged or hostile ZIP file (an entry that would leave the work folder).
        showKindError (kind);
        return false;
    }

    if (! thread.isCompleted())
    {
        outcome = Outcome::cancelled;
        return false;
    }

    return true;
}

ArchiveImport::Answer ArchiveImport::resolveExisting (juce::File& destination)
{
    if (! destination.exists())
        return Answer::overwrite;

    const auto answer = dialogs.askOverwrite ("Overwrite?\n\"" + destination.getFileNameWithoutExtension() + "\"");

    if (answer == 0)
        return Answer::cancelled;

    if (answer == 2)
    {
        juce::File chosen;
        if (! dialogs.chooseFileToSave (getFreeVariant (destination), "xml", chosen))
            return Answer::cancelled;

        destination = chosen;
        return Answer::renamed;
    }

    return Answer::overwrite;
}

bool ArchiveImport::importToolSets (Result& result)
{
    const auto source = folders.work.getChildFile ("toolsets");
    const auto documents = source.isDirectory() ? listFiles (source, "*.xml") : juce::Array<juce::File>();

    if (documents.isEmpty())
    {
        OxExceptionZipImpNoToolSet().show();
        result.outcome = Outcome::failed;
        return false;
    }

    for (auto& document : documents)
    {
        auto destination = childNamed (folders.toolsets, document.getFileName());

        if (resolveExisting (destination) == Answer::cancelled)
        {
            result.outcome = Outcome::cancelled;
            return false;
        }

        destination.getParentDirectory().createDirectory();
        document.copyFileTo (destination);

        // The tool set folder goes beside its document, under the document's name.
        const auto folder = childNamed (source, document.getFileNameWithoutExtension());
        if (folder.isDirectory())
            copyFolder (folder, childNamed (destination.getParentDirectory(), destination.getFileNameWithoutExtension()));

        if (onToolSetImported)
            onToolSetImported();

        result.path = destination;
        result.imported = true;
    }

    return true;
}

bool ArchiveImport::importSongs (int kind, Result& result)
{
    const auto source = folders.work.getChildFile ("song");
    const auto songs = source.isDirectory() ? listFiles (source, "*.xml") : juce::Array<juce::File>();

    if (songs.isEmpty())
    {
        if (kind != rhythmKind)
            return true;

        OxExceptionZipImpNoSong().show();
        result.outcome = Outcome::failed;
        return false;
    }

    for (auto& song : songs)
    {
        auto destination = childNamed (folders.song, song.getFileName());

        if (destination.exists())
        {
            // A tool set import keeps the songs the user has, and stops at the first one.
            if (kind != rhythmKind)
                break;

            if (resolveExisting (destination) == Answer::cancelled)
            {
                result.outcome = Outcome::cancelled;
                return false;
            }
        }

        destination.getParentDirectory().createDirectory();
        song.copyFileTo (destination);

        if (onSongImported)
            onSongImported (destination);

        if (kind == rhythmKind)
        {
            result.path = destination;
            result.imported = true;
        }
    }

    return true;
}

void ArchiveImport::importRhythmPatterns()
{
    const auto source = folders.work.getChildFile ("rhythm");
    if (! source.isDirectory())
        return;

    folders.rhythm.createDirectory();

    for (auto* pattern : { "*.xml", "*.mid" })
        for (auto& file : listFiles (source, pattern))
            file.copyFileTo (childNamed (folders.rhythm, file.getFileName()));
}

} // namespace T730
