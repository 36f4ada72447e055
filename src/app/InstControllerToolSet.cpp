// Tool set operations of the controller: load, save, export, import, and the
// question before edits are discarded.
#include "app/ToolSetOperations.h"

#include "app/ControllerRequests.h"
#include "app/InstController.h"
#include "rhythm/SongManager.h"

#include "app/AppSetting.h"
#include "app/ArchiveImport.h"
#include "app/InstContMes.h"
#include "app/JamEngine.h"
#include "app/OxException.h"
#include "app/ProgressWindow.h"
#include "app/UserDialogs.h"
#include "app/ZIPDecompressionThread.h"
#include "device/MidiMain.h"
#include "documents/Archive.h"
#include "documents/Project.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "platform/DataFolders.h"

#include <set>

namespace T730
{

namespace
{
    /** A name that stays inside the folder it is looked up in. */
    bool isPlainFileName (const juce::String& name)
    {
        return name.isNotEmpty() && name != "." && name != ".."
               && ! name.containsAnyOf ("/\\") && ! name.containsChar (0);
    }
} // namespace

ToolSetOperations::ToolSetOperations (ControllerParts& partsToUse) : parts (partsToUse)
{
    runUnpacking = [this] (ZIPDecompressionThread& thread) { runProgress (&thread, parts.progressParent, false); };
    workFolder = ArchiveImport::getDefaultWorkFolder();
}

UserDialogs& ToolSetOperations::dialogs() const
{
    return parts.dialogs != nullptr ? *parts.dialogs : UserDialogs::get();
}

juce::File ToolSetOperations::getToolSetsFolder() const
{
    return getUserDataFolder (UserFolder::toolsets, false);
}

juce::File ToolSetOperations::folderOfDocument (const juce::File& document)
{
    return childNamed (document.getParentDirectory(), document.getFileNameWithoutExtension());
}

void ToolSetOperations::postUpdate (int sectionFlags)
{
    if (parts.controller != nullptr)
        postToController (*parts.controller, new InstContUpdateUI (sectionFlags));
}

void ToolSetOperations::sendEditBufferToDevice()
{
    if (parts.midi == nullptr || parts.project == nullptr)
        return;

    const EditBuf copy (parts.project->editBuffer);   // taken under the buffer's lock
    parts.midi->sendEditBuffer (copy);
}

bool ToolSetOperations::confirmDiscard()
{
    if (parts.project == nullptr || ! parts.project->edited)
        return true;

    return dialogs().confirm ("Toolset has been edited. Are you sure?");
}

//==============================================================================
bool ToolSetOperations::loadToolSet (const juce::File& folder)
{
    if (folder == juce::File() || parts.project == nullptr)
        return false;

    const auto document = Project::getDocumentFile (folder);
    if (! document.existsAsFile())
        return false;

    auto root = parseXmlFile (document);
    if (root == nullptr || ! root->getTagName().equalsIgnoreCase (Project::rootTag))
        return false;

    // Read into a copy, so that a refused document leaves the tool set as it was.
    Project loaded (*parts.project);
    if (! loaded.read (root.get()))
        return false;

    auto& project = *parts.project;
    project = loaded;

    // `edited` is cleared before the history restarts, so that the snapshot
    // every later undo returns to carries the saved state's flag.
    project.edited = false;
    if (parts.undoKeeper != nullptr)
        parts.undoKeeper->clearHistory();

    if (parts.settings != nullptr)
        parts.settings->CurrentProject = folder.getFullPathName();

    if (parts.engine != nullptr)
        parts.engine->applyProject (project, folder);

    sendEditBufferToDevice();
    postUpdate (sectionAll);
    return true;
}

bool ToolSetOperations::saveToolSet (const juce::File& folder)
{
    if (folder == juce::File() || parts.project == nullptr)
        return false;

    auto& project = *parts.project;
    const auto document = Project::getDocumentFile (folder);

    if (! folder.exists())
        folder.createDirectory();

    if (! document.exists() && ! document.create())
        OxExceptionAccessDenied().show();

    if (auto* engine = parts.engine)
    {
        if (engine->hasRhythmItem() && ! engine->saveRhythmSong (folder))
            OxExceptionSongFileWrite().show();

        for (int i = 0; i < engine->getRecorderCount(); ++i)
        {
            juce::String fileName;
            if (engine->saveRecorder (i, folder, fileName))
            {
                while (project.recorderFiles.size() <= i)
                    project.recorderFiles.add ({});
                project.recorderFiles.set (i, fileName);
            }
            else
            {
                OxExceptionRecorderFileWrite().show();
            }
        }
    }

    juce::XmlElement root (Project::rootTag);
    project.write (&root);

    if (! writeXmlDocument (document, root))
    {
        OxExceptionAccessDenied().show();
        return false;
    }

    if (parts.settings != nullptr)
        parts.settings->CurrentProject = folder.getFullPathName();

    if (parts.engine != nullptr)
        parts.engine->applyProject (project, folder);

    // The saved document carries no Demo mark, so neither does the tool set now.
    // The history is restarted by the callers (saveWithHistoryReset, New),
    // after the recorder files only the history names have been removed.
    project.demo = false;
    project.edited = false;
    return true;
}

bool ToolSetOperations::saveWithHistoryReset (const juce::File& folder)
{
    if (! saveToolSet (folder))
        return false;

    removeHistoryOnlyRecorderFiles();

    if (parts.project != nullptr)
        parts.project->edited = false;
    if (parts.undoKeeper != nullptr)
        parts.undoKeeper->clearHistory();

    return true;
}

void ToolSetOperations::removeHistoryOnlyRecorderFiles()
{
    if (parts.project == nullptr || parts.settings == nullptr)
        return;

    const auto& current = parts.project->recorderFiles;
    std::set<juce::String> names;

    if (parts.undoKeeper != nullptr)
        parts.undoKeeper->forEachSnapshot ([&] (const Project& snapshot)
        {
            for (auto& name : snapshot.recorderFiles)
                if (! current.contains (name))
                    names.insert (name);
        });

    // The files live in the current tool set's own folder. Only plain names
    // are taken: an empty name or a path would reach the folder itself or
    // beyond it.
    const juce::File folder (parts.settings->CurrentProject);
    if (parts.settings->CurrentProject.isNotEmpty() && folder.isDirectory())
    {
        for (auto& name : names)
        {
            if (! isPlainFileName (name))
                continue;

            childNamed (folder, name).deleteFile();

            const auto takes = juce::File::createFileWithoutCheckingPath (name).getFileNameWithoutExtension();
            if (isPlainFileName (takes))
                childNamed (folder, takes).deleteRecursively();
        }
    }

    if (auto* engine = parts.engine)
    {
        for (int i = 0; i < engine->getRecorderCount(); ++i)
        {
            const auto referenced = engine->getRecorderReferencedTakes (i);
            for (auto& wav : engine->getRecorderTakeFolder (i).findChildFiles (juce::File::findFiles, false, "*.wav"))
                if (! referenced.contains (wav.getFileName()))
                    wav.deleteFile();
        }
    }
}

//==============================================================================
bool ToolSetOperations::exportToolSet (const juce::File& archive)
{
    if (parts.project == nullptr || parts.settings == nullptr)
        return false;

    const auto& currentPath = parts.settings->CurrentProject;
    const juce::File folder (juce::File::isAbsolutePath (currentPath) ? currentPath : juce::String());

    if (currentPath.isEmpty() || ! folder.isDirectory())
    {
        OxExceptionProjectFolderNeeded().show();
        return false;
    }

    const auto work = workFolder;
    if (work == juce::File())
    {
        OxExceptionAccessDenied().show();
        return false;
    }

    work.deleteRecursively();
    work.createDirectory();
    const auto toolsets = work.getChildFile ("toolsets");
    toolsets.createDirectory();

    ArchiveImport::copyFolder (folder, childNamed (toolsets, folder.getFileName()));
    work.setReadOnly (false, true);

    // The document comes from memory, so unsaved edits travel along.
    juce::XmlElement root (Project::rootTag);
    parts.project->write (&root);
    bool written = writeXmlDocument (childNamed (toolsets, folder.getFileName() + ".xml"), root);

    copyRhythmForExport (work);

    // The archive writer logs why it failed; the user is told that it did.
    written = written && ArchiveWriter().write (work, archive);
    work.deleteRecursively();

    if (! written)
        OxExceptionAccessDenied().show();

    return written;
}

void ToolSetOperations::copyRhythmForExport (const juce::File& work)
{
    auto* engine = parts.engine;
    if (engine == nullptr || ! engine->hasRhythmItem())
        return;

    auto rhythm = engine->getRhythmExport();

    for (auto& song : rhythm.songFiles)
    {
        if (! song.existsAsFile())
            continue;

        const auto target = work.getChildFile ("song");
        target.createDirectory();
        song.copyFileTo (childNamed (target, song.getFileName()));
    }

    juce::StringArray wanted;
    for (auto& id : rhythm.patternIds)
        wanted.addIfNotAlreadyThere (id);

    const auto rhythmFolder = getUserDataFolder (UserFolder::rhythm, false);
    auto patterns = rhythmFolder.findChildFiles (juce::File::findFiles, false, "*.xml");
    patterns.sort();

    for (auto& pattern : patterns)
    {
        if (wanted.isEmpty())
            break;

        auto root = parseXmlFile (pattern);
        if (root == nullptr)
            continue;

        const auto id = getElementText (root.get(), "ID");
        if (! wanted.contains (id))
            continue;

        const auto target = work.getChildFile ("rhythm");
        target.createDirectory();
        pattern.copyFileTo (childNamed (target, pattern.getFileName()));

        // The MIDI file is named by the pattern; only a name inside the rhythm folder is followed.
        const auto midiName = getElementText (root.get(), "FileName");
        if (isPlainFileName (midiName))
            childNamed (rhythmFolder, midiName).copyFileTo (childNamed (target, midiName));

        wanted.removeString (id);
    }
}

//==============================================================================
void ToolSetOperations::clearItems()
{
    if (auto* engine = parts.engine)
    {
        if (engine->hasRhythmItem())
            removePlayableItem (0, 0);

        for (int n = parts.project != nullptr ? parts.project->recorderFiles.size() : 0; n > 0; --n)
            removePlayableItem (1, 0);

        if (parts.project != nullptr)
            engine->applyProject (*parts.project, juce::File (parts.settings != nullptr ? parts.settings->CurrentProject : juce::String()));
    }
}

int ToolSetOperations::addPlayableItem (int kind)
{
    auto* engine = parts.engine;
    if (engine == nullptr || parts.project == nullptr || (kind != 0 && kind != 1))
        return 0;

    auto& project = *parts.project;
    bool added = false;

    if (kind == 0)
    {
        if (project.songFiles.isEmpty())
            project.songFiles.add ({});
        project.songFiles.set (0, {});
        added = engine->addItem (0, {});
    }
    else
    {
        project.recorderFiles.add ({});
        added = engine->addItem (1, {});

        // No item, no entry: the list keeps one entry per recorder item (a
        // stray empty entry would end the list in the document early).
        if (! added)
            project.recorderFiles.remove (project.recorderFiles.size() - 1);

        const auto& current = parts.settings != nullptr ? parts.settings->CurrentProject : juce::String();
        if (added && current.isNotEmpty())
        {
            juce::String fileName;
            const int last = engine->getRecorderCount() - 1;
            if (last >= 0 && engine->saveRecorder (last, juce::File (current), fileName))
                project.recorderFiles.set (project.recorderFiles.size() - 1, fileName);
            else
                OxExceptionRecorderFileWrite().show();
        }
    }

    if (! added)
        return 0;

    postUpdate (sectionJam);
    return -1;
}

int ToolSetOperations::removePlayableItem (int kind, int index)
{
    if (parts.project == nullptr)
        return 0;

    auto& project = *parts.project;

    if (kind == 0 && ! project.songFiles.isEmpty())
        project.songFiles.remove (0);
    else if (kind == 1 && ! project.recorderFiles.isEmpty())
        project.recorderFiles.remove (index);

    if (parts.engine == nullptr || ! parts.engine->removeItem (kind, index))
        return 0;

    postUpdate (sectionJam);
    return -1;
}

//==============================================================================
bool ToolSetOperations::openToolSetDocument (const juce::File& document)
{
    clearItems();

    const bool loaded = loadToolSet (folderOfDocument (document));
    if (! loaded)
    {
        juce::Logger::writeToLog ("Failed reading toolset file.");
        OxExceptionInvalidProjData().show();
    }

    postUpdate (sectionAll);
    return loaded;
}

bool ToolSetOperations::importArchive (const juce::File& source, int kind, juce::File& importedPath)
{
    ArchiveImport::Folders folders;
    folders.toolsets = getToolSetsFolder();
    folders.song = getUserDataFolder (UserFolder::song, false);
    folders.rhythm = getUserDataFolder (UserFolder::rhythm, false);
    folders.work = workFolder;

    ArchiveImport import (folders, dialogs());
    import.runUnpacking = runUnpacking;
    import.onToolSetImported = parts.rebuildDemoList;
    import.onSongImported = parts.registerSong;

    const auto result = import.run (source, kind);
    importedPath = result.path;
    return result.imported;
}

void ToolSetOperations::useImported (int kind, const juce::File& importedPath)
{
    if (kind == ArchiveImport::toolSetKind)
    {
        openToolSetDocument (importedPath);
        return;
    }

    if (parts.engine != nullptr)
        parts.engine->loadSong (importedPath);

    postUpdate (sectionAll);
    if (parts.controller != nullptr)
        postToController (*parts.controller, new InstContRepaintUI (sectionAll));
}

} // namespace T730

//==============================================================================
// The controller's side: its parts, the tool set at start-up, the undo keeper.
namespace T730
{

void InstController::createToolSetParts()
{
    // The tool set lives for the whole run and is never replaced as an object.
    project.reset (new Project());

    parts.controller = this;
    parts.settings = &settings;
    parts.project = project.get();
    parts.devicePresent = &devicePresent;
    parts.busy = &busy;
    parts.backupFromDevice = [this] (PatchSet& destination) { return backupFromDevice (destination); };
    parts.restoreToDevice = [this] (PatchSet& source, int count) { return restoreToDevice (source, count); };

    toolSetOps.reset (new ToolSetOperations (parts));
    requests.reset (new ControllerRequests (parts, *toolSetOps));
}

void InstController::createSongStore()
{
    songManager.reset (new SongManager());
    songManager->setFolder (getUserDataFolder (UserFolder::song, true));
    songManager->loadAll();

    parts.songManager = songManager.get();
    parts.registerSong = [this] (const juce::File& file)
    {
        if (songManager)
            songManager->import (file);
    };
}

ControllerParts& InstController::refreshParts()
{
    // Members created and deleted during start-up and shut-down.
    parts.undoKeeper = undoKeeper.get();
    parts.midi = midi.get();
    parts.patchManager = patchManager.get();
    parts.songManager = songManager.get();
    parts.tuner = tuner.get();
    return parts;
}

void InstController::loadCurrentToolSet()
{
    refreshParts();

    const auto current = settings.CurrentProject;
    if (! juce::File::isAbsolutePath (current) || ! toolSetOps->loadToolSet (juce::File (current)))
    {
        settings.CurrentProject = {};
        project->reset();
    }
}

void InstController::createUndoKeeper()
{
    undoKeeper.reset (new MementoCareTaker<Project> (*this, -1));
    undoKeeper->reset();
    refreshParts();
}

std::unique_ptr<Project> InstController::createMemento()
{
    return std::make_unique<Project> (*project);
}

void InstController::setMemento (std::unique_ptr<Project> snapshot)
{
    if (snapshot == nullptr)
        return;

    project->reset();
    *project = *snapshot;
}

ToolSetOperations& InstController::getToolSetOperations()
{
    refreshParts();
    return *toolSetOps;
}

bool InstController::loadToolSet (const juce::File& folder)              { return getToolSetOperations().loadToolSet (folder); }
bool InstController::saveToolSet (const juce::File& folder)              { return getToolSetOperations().saveWithHistoryReset (folder); }
bool InstController::exportToolSet (const juce::File& archive)           { return getToolSetOperations().exportToolSet (archive); }
bool InstController::confirmDiscard()                                    { return getToolSetOperations().confirmDiscard(); }

bool InstController::importArchive (const juce::File& source, int kind, juce::File& importedPath)
{
    return getToolSetOperations().importArchive (source, kind, importedPath);
}

} // namespace T730
