#include "app/ControllerCommands.h"

#include "app/AppSetting.h"
#include "app/ArchiveImport.h"
#include "app/ControllerRequests.h"
#include "app/InstContMes.h"
#include "app/InstController.h"
#include "app/JamEngine.h"
#include "app/OxException.h"
#include "app/ToolSetOperations.h"
#include "app/UserDialogs.h"
#include "documents/ChildFile.h"
#include "documents/Project.h"
#include "documents/XmlPath.h"
#include "platform/DataFolders.h"
#include "ui/NameCharacters.h"

namespace T730
{

namespace
{
    namespace C = CommandIDs;

    struct CommandRow
    {
        int id;
        const char* name;
        const char* menu;
        char key; // with Ctrl; 0 for none
    };

    // getAllCommands gives the fixed commands in this order.
    constexpr CommandRow table[] = {
        { C::fileNew, "New", "File", 'n' },
        { C::fileOpen, "Open", "File", 'o' },
        { C::fileSave, "Save", "File", 's' },
        { C::fileSaveAs, "Save As", "File", 'a' },
        { C::importToolSet, "Tool Set", "File", 0 },
        { C::importRhythm, "Rhythm", "File", 0 },
        { C::exportToolSet, "Tool Set", "File", 0 },
        { C::mixDown, "Mix Down", "File", 'm' },
        { C::exit, "Exit", "File", 'q' },
        { C::undo, "Undo", "Edit", 'z' },
        { C::redo, "Redo", "Edit", 'y' },
        { C::connect, "Connect", "Device", 'e' },
        { C::connectionSetting, "Connection setting", "Device", 't' },
        { C::autoRun, "Auto Run", "Device", 'r' },
        { C::cpuMeter, "CPU Meter", "Device", 'p' },
        { C::drummerBassist, "Drummer & Bassist", "Device", 'd' },
        { C::version, "Version", "Help", 'v' },
    };

    const CommandRow* findRow (int id)
    {
        for (const auto& row : table)
            if (row.id == id)
                return &row;
        return nullptr;
    }

    /** The main component's busy section around a command. */
    class BusySection
    {
    public:
        explicit BusySection (ControllerParts& p) : parts (p)
        {
            if (parts.enterBusySection)
                parts.enterBusySection();
        }

        ~BusySection()
        {
            if (parts.leaveBusySection)
                parts.leaveBusySection();
        }

    private:
        ControllerParts& parts;
        JUCE_DECLARE_NON_COPYABLE (BusySection)
    };
} // namespace

ControllerCommands::ControllerCommands (ControllerParts& p, ToolSetOperations& t, ControllerRequests& r)
    : parts (p), toolSet (t), requests (r)
{
}

bool ControllerCommands::isBusy() const
{
    return parts.busy != nullptr && *parts.busy;
}

UserDialogs& ControllerCommands::dialogs() const
{
    return parts.dialogs != nullptr ? *parts.dialogs : UserDialogs::get();
}

void ControllerCommands::stop()
{
    if (parts.engine != nullptr)
        parts.engine->stopAll();
}

juce::File ControllerCommands::documentOf (const juce::File& folder) const
{
    return childNamed (folder.getParentDirectory(), folder.getFileName() + ".xml");
}

//==============================================================================
void ControllerCommands::getAllCommands (juce::Array<juce::CommandID>& commands) const
{
    for (const auto& row : table)
        commands.add (row.id);

    const int demos = hooks.demoList ? hooks.demoList().size() : 0;
    for (int i = 0; i < demos; ++i)
        commands.add (C::demoFirst + i);
}

void ControllerCommands::getCommandInfo (juce::CommandID id, juce::ApplicationCommandInfo& info) const
{
    const bool busy = isBusy();
    const auto* row = findRow ((int) id);

    if (row == nullptr)
    {
        const auto demos = hooks.demoList ? hooks.demoList() : juce::Array<juce::File>();
        const int index = (int) id - C::demoFirst;
        if (index < 0 || index >= demos.size())
            return;

        info.setInfo (demos[index].getFileNameWithoutExtension(), "", "File", 0);
        info.setActive (! busy);
        return;
    }

    info.setInfo (row->name, "", row->menu, 0);
    if (row->key != 0)
        info.addDefaultKeypress (row->key, juce::ModifierKeys::commandModifier);

    bool active = ! busy;
    bool ticked = false;
    auto* settings = parts.settings;
    auto* undoKeeper = parts.undoKeeper;

    switch (row->id)
    {
        case C::mixDown:
            active = active && isAudioReady() && (bool) hooks.mixDown;
            break;
        case C::undo:
            active = active && undoKeeper != nullptr && undoKeeper->canUndo();
            break;
        case C::redo:
            active = active && undoKeeper != nullptr && undoKeeper->canRedo();
            break;
        case C::autoRun:
            ticked = ! busy && settings != nullptr && settings->EasyBoot;
            break;
        case C::drummerBassist:
            ticked = settings != nullptr && settings->Character;
            break;
        case C::connect:
            active = active && parts.devicePresent != nullptr && *parts.devicePresent;
            ticked = hooks.isAudioDeviceOpen && hooks.isAudioDeviceOpen();
            break;
        case C::connectionSetting:
            active = active && isAudioReady();
            break;
        default:
            break;
    }

    info.setActive (active);
    info.setTicked (ticked);
}

bool ControllerCommands::perform (juce::CommandID id)
{
    // A click or a key posted while a command waits in one of its dialogs
    // arrives inside that dialog's modal loop: it is dropped, not nested.
    if (running)
        return true;

    const juce::ScopedValueSetter<bool> runningNow (running, true);

    switch ((int) id)
    {
        case C::fileNew:            newToolSet(); return true;
        case C::fileOpen:           openToolSet(); return true;
        case C::fileSave:           saveToolSet(); return true;
        case C::fileSaveAs:         saveToolSetAs(); return true;
        case C::importToolSet:      importArchive (ArchiveImport::toolSetKind); return true;
        case C::importRhythm:       importArchive (ArchiveImport::rhythmKind); return true;
        case C::exportToolSet:      exportToolSet(); return true;
        case C::mixDown:            mixDown(); return true;
        case C::exit:               return exitProgram();
        case C::undo:               undoOrRedo (true); return true;
        case C::redo:               undoOrRedo (false); return true;
        case C::connect:            connect(); return true;
        case C::connectionSetting:  connectionSetting(); return true;

        case C::autoRun:
            if (parts.settings != nullptr)
                parts.settings->EasyBoot = ! parts.settings->EasyBoot;
            return true;

        case C::cpuMeter:
            if (hooks.showCpuMeter)
                hooks.showCpuMeter();
            return true;

        case C::drummerBassist:
            if (parts.settings != nullptr)
            {
                parts.settings->Character = ! parts.settings->Character;
                if (hooks.showPlayers)
                    hooks.showPlayers (parts.settings->Character);
            }
            return true;

        case C::version:
            if (hooks.showVersion)
                hooks.showVersion();
            return true;

        default:
            break;
    }

    const int demo = (int) id - C::demoFirst;
    if (demo >= 0 && demo < (hooks.demoList ? hooks.demoList().size() : 0))
    {
        openDemo (demo);
        return true;
    }

    return false;
}

//==============================================================================
void ControllerCommands::newToolSet()
{
    if (! toolSet.confirmDiscard())
        return;

    const BusySection busy (parts);
    stop();

    juce::File chosen;
    const auto initial = toolSet.getToolSetsFolder().getChildFile ("NewToolSet.xml");
    if (! dialogs().chooseFileToSave (initial, "xml", chosen))
        return;

    // Looked up again after the dialog: its modal loop ran posted messages.
    auto* project = parts.project;
    if (project == nullptr)
        return;

    const auto name = keepAllowedNameCharacters (chosen.getFileNameWithoutExtension());
    if (name.isEmpty())
    {
        OxException (noAllowedCharactersText).show();
        return;
    }

    toolSet.clearItems();
    project->reset();
    project->Name = name;
    if (parts.engine != nullptr)
        parts.engine->applyProject (*project, {});
    if (parts.undoKeeper != nullptr)
        parts.undoKeeper->clearHistory();
    if (hooks.resetPlayState)
        hooks.resetPlayState();
    project->edited = false;

    const auto folder = ToolSetOperations::folderOfDocument (chosen);
    if (toolSet.saveToolSet (folder))
    {
        toolSet.sendEditBufferToDevice();
        if (parts.settings != nullptr)
            parts.settings->CurrentProject = folder.getFullPathName();
    }
    else if (parts.settings != nullptr)
    {
        // The new tool set is not on the disk: it must not take over the old
        // one's folder, or the next Save would write it over that tool set.
        parts.settings->CurrentProject = {};
    }

    toolSet.postUpdate (sectionAll);
}

void ControllerCommands::openToolSet()
{
    if (! toolSet.confirmDiscard())
        return;

    const BusySection busy (parts);
    stop();

    const auto current = parts.settings != nullptr ? parts.settings->CurrentProject : juce::String();
    const auto initial = juce::File::isAbsolutePath (current) ? documentOf (juce::File (current))
                                                              : toolSet.getToolSetsFolder();
    juce::File chosen;
    if (! dialogs().chooseFileToOpen (initial, "xml", chosen))
        return;

    if (toolSet.openToolSetDocument (chosen) && hooks.resetPlayState)
        hooks.resetPlayState();
}

void ControllerCommands::saveToolSet()
{
    const auto current = parts.settings != nullptr ? parts.settings->CurrentProject : juce::String();
    if (! juce::File::isAbsolutePath (current))
    {
        saveToolSetAs();
        return;
    }

    const BusySection busy (parts);
    stop();
    toolSet.saveWithHistoryReset (juce::File (current));
}

void ControllerCommands::saveToolSetAs()
{
    const BusySection busy (parts);
    stop();

    const auto before = parts.settings != nullptr ? parts.settings->CurrentProject : juce::String();
    const auto initial = juce::File::isAbsolutePath (before) ? documentOf (juce::File (before))
                                                             : toolSet.getToolSetsFolder();
    juce::File chosen;
    if (! dialogs().chooseFileToSave (initial, "xml", chosen))
        return;

    const auto target = ToolSetOperations::folderOfDocument (chosen);

    // The current tool set as it is after the dialog.
    const auto current = parts.settings != nullptr ? parts.settings->CurrentProject : juce::String();
    if (juce::File::isAbsolutePath (current))
    {
        const juce::File folder (current);
        if (target != folder)
        {
            // Copying a folder into a folder inside it would copy the copy again, without end.
            if (target.isAChildOf (folder))
            {
                OxException (insideOwnFolderText).show();
                return;
            }

            if (folder.isDirectory())
                copyFolderRecursively (folder, target);
        }
    }

    if (toolSet.saveWithHistoryReset (target))
        toolSet.postUpdate (sectionAll);
}

void ControllerCommands::importArchive (int kind)
{
    if (! toolSet.confirmDiscard())
        return;

    const BusySection busy (parts);
    stop();

    juce::File chosen;
    const auto extension = kind == ArchiveImport::toolSetKind ? "ots" : "orp";
    if (! dialogs().chooseFileToOpen (getDocumentsFolder(), extension, chosen))
        return;

    juce::File imported;
    if (toolSet.importArchive (chosen, kind, imported))
        toolSet.useImported (kind, imported);
}

void ControllerCommands::exportToolSet()
{
    const BusySection busy (parts);
    stop();

    const auto current = parts.settings != nullptr ? parts.settings->CurrentProject : juce::String();
    auto name = juce::String ("Default");
    if (current.isNotEmpty() && parts.project != nullptr)
        if (const auto kept = keepAllowedNameCharacters (parts.project->Name); kept.isNotEmpty())
            name = kept;

    juce::File chosen;
    if (! dialogs().chooseFileToSave (getDocumentsFolder().getChildFile (name + ".ots"), "ots", chosen))
        return;

    toolSet.exportToolSet (chosen);
}

void ControllerCommands::mixDown()
{
    stop();

    juce::File chosen;
    if (! dialogs().chooseFileToSave (getDocumentsFolder().getChildFile ("Default.wav"), "wav", chosen))
        return;

    {
        // The file must take a WAV file before anything else happens.
        juce::FileOutputStream test (chosen);
        if (test.failedToOpen())
        {
            OxExceptionWavWrite().show();
            return;
        }
    }

    if (! hooks.mixDown)
        return;

    const BusySection busy (parts);
    hooks.mixDown (chosen);
}

void ControllerCommands::openDemo (int index)
{
    if (! toolSet.confirmDiscard())
        return;

    const BusySection busy (parts);
    stop();

    // The list as it is after the question.
    const auto demos = hooks.demoList ? hooks.demoList() : juce::Array<juce::File>();
    if (index >= demos.size())
        return;

    toolSet.clearItems();
    const auto folder = childNamed (toolSet.getToolSetsFolder(), demos[index].getFileNameWithoutExtension());

    if (toolSet.loadToolSet (folder))
    {
        if (hooks.resetPlayState)
            hooks.resetPlayState();
        return;
    }

    juce::Logger::writeToLog ("Failed reading toolset file.");
    OxExceptionInvalidProjData().show();
    toolSet.postUpdate (sectionAll);
}

bool ControllerCommands::exitProgram()
{
    if (requests.handle (PrepareQuit, 0, 0, nullptr) == requestFalse)
        return false;

    if (hooks.quit)
        hooks.quit();
    return true;
}

void ControllerCommands::undoOrRedo (bool undo)
{
    auto* undoKeeper = parts.undoKeeper;
    if (undoKeeper == nullptr || (undo ? ! undoKeeper->canUndo() : ! undoKeeper->canRedo()))
        return;

    const BusySection busy (parts);
    stop();

    if (undo)
        undoKeeper->undo();
    else
        undoKeeper->redo();

    toolSet.sendEditBufferToDevice();
    if (parts.engine != nullptr && parts.project != nullptr)
        parts.engine->applyProject (*parts.project,
                                    juce::File (parts.settings != nullptr && juce::File::isAbsolutePath (parts.settings->CurrentProject)
                                                    ? parts.settings->CurrentProject : juce::String()));
    toolSet.postUpdate (sectionAll);
}

void ControllerCommands::connect()
{
    stop();
    if (! hooks.isAudioDeviceOpen || ! hooks.openDeviceIO)
        return;

    hooks.openDeviceIO (! hooks.isAudioDeviceOpen(), false);
}

void ControllerCommands::connectionSetting()
{
    stop();
    if (hooks.isAudioDeviceOpen && hooks.isAudioDeviceOpen() && hooks.showConnectionSetting)
        hooks.showConnectionSetting();
}

} // namespace T730
