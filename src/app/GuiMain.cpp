#include "app/GuiMain.h"

#include "app/ControllerCommands.h"
#include "app/InstController.h"
#include "app/SectionTab.h"
#include "device/MidiRecvEv.h"
#include "art/ProgramArt.h"
#include "documents/Project.h"
#include "documents/XmlParser.h"
#include "editor/SectionEditor.h"
#include "editor/SectionPedalAssign.h"
#include "jam/SectionJam.h"
#include "platform/DataFolders.h"
#include "ui/SectionProj.h"
#include "app/OxException.h"
#include "app/UserDialogs.h"
#include "ui/SectionDialogs.h"

namespace T730
{

namespace
{
    /** The sections' dialogs: the controller's (scripted in tests) and its error box. */
    struct SectionDialogsOfController : public SectionDialogs
    {
        bool confirm (const juce::String& text) override { return UserDialogs::get().confirm (text); }
        void showError (const juce::String& text) override { OxException (text).show(); }
        int askOverwrite (const juce::String& text) override { return UserDialogs::get().askOverwrite (text); }

        bool chooseFileToOpen (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
        {
            return UserDialogs::get().chooseFileToOpen (initial, extension, chosen);
        }

        bool chooseFileToSave (const juce::File& initial, const juce::String& extension, juce::File& chosen) override
        {
            return UserDialogs::get().chooseFileToSave (initial, extension, chosen);
        }
    };
} // namespace

/** The sections' view of the controller. */
class GuiMain::Link : public ControllerLink
{
public:
    explicit Link (InstController& c) : controller (c) {}

    void postUpdate (int sectionFlags) override
    {
        postToController (controller, new InstContUpdateUI (sectionFlags));
    }

    SectionDialogs* getDialogs() override { return &dialogs; }

    int request (int code, int param1, int param2, void* data) override
    {
        return controller.request (code, param1, param2, data);
    }

    Project& getCurrentProject() override { return controller.getProject(); }

    void postRepaint (int sectionFlags) override
    {
        postToController (controller, new InstContRepaintUI (sectionFlags));
    }

    void postTooltipUpdate() override
    {
        postToController (controller, new InstContMesUpdateTooltip());
    }

private:
    InstController& controller;
    SectionDialogsOfController dialogs;
};

ControllerLink& GuiMain::getControllerLink() noexcept
{
    return *link;
}

//==============================================================================
GuiMain::GuiMain (InstController& c)
    : controller (c), link (std::make_unique<Link> (c)), background (art::getImage (art::Picture::mainBackground))
{
    setOpaque (true);

    tab = std::make_unique<SectionTab> (*link);
    proj = std::make_unique<SectionProj> (*link);
    jam = std::make_unique<SectionJam> (*link);
    editor = std::make_unique<SectionEditor> (*link);
    pedalAssign = std::make_unique<SectionPedalAssign> (*link);

    for (juce::Component* section : std::initializer_list<juce::Component*> { tab.get(), proj.get(), jam.get(),
                                                                              editor.get(), pedalAssign.get() })
        addAndMakeVisible (section);

    proj->invokeCommand = [this] (int id) { invokeCommandAsync (id); };

    setSize (width, sectionsHeight + getLookAndFeel().getDefaultMenuBarHeight());
    rebuildDemoList();
}

GuiMain::~GuiMain()
{
    // The figures' 3D views close while the window still holds the sections.
    jam->releasePlayers();
    attachCommandManager (nullptr);
    background = {};
    removeAllChildren();
    pedalAssign.reset();
    editor.reset();
    jam.reset();
    proj.reset();
    tab.reset();
    demoList.clear();
}

void GuiMain::paint (juce::Graphics& g)
{
    if (background.isValid())
        g.drawImageAt (background, 0, 0);
    else
        g.fillAll (juce::Colours::black);
}

//==============================================================================
void GuiMain::updateSections (int flags)
{
    if ((flags & sectionTab) != 0)          tab->updateSection();
    if ((flags & sectionToolSetBar) != 0)   proj->updateSection();
    if ((flags & sectionJam) != 0)          jam->updateSection();
    if ((flags & sectionEditor) != 0)       editor->updateSection();
    if ((flags & sectionPedalAssign) != 0)  pedalAssign->updateSection();
}

void GuiMain::repaintSections (int flags)
{
    if (flags == 0)
        return;

    repaint();
    if (auto* window = getTopLevelComponent(); window != nullptr && window != this)
        window->repaint();

    if ((flags & sectionTab) != 0)
    {
        tab->repaint();
        if (auto* page = tab->getCurrentPage())
            page->repaint();
    }
    if ((flags & sectionToolSetBar) != 0)   proj->repaint();
    if ((flags & sectionJam) != 0)          jam->repaint();
    if ((flags & sectionEditor) != 0)       editor->repaint();
    if ((flags & sectionPedalAssign) != 0)  pedalAssign->repaint();
}

void GuiMain::beginBusy()
{
    if (++busyDepth == 1)
        jam->setLiveDrawing (false);
}

void GuiMain::endBusy()
{
    if (--busyDepth <= 0)
    {
        jam->setLiveDrawing (true);
        jam->updateSection();
    }
}

void GuiMain::tunerPitchDetected (float pitch)
{
    if (tab->isTunerShown())
        tab->getTunerPage().setFreq (pitch);
}

bool GuiMain::isTunerShown() const noexcept
{
    return tab->isTunerShown();
}

void GuiMain::stopDownloadActivity()
{
    tab->getDownloadPage().stopDownloadThread();
}

void GuiMain::updateEditorTooltip()
{
    editor->updateTooltip();
}

void GuiMain::deviceMessageReceived (const MidiRecvEv& message)
{
    // The sections show parameter changes and whole buffers only.
    std::unique_ptr<MidiRecvEv> copy;
    if (message.getKind() == MidiRecvEv::parameterChange)
    {
        const auto& change = static_cast<const MidiRecvPrmChg&> (message);
        copy = std::make_unique<MidiRecvPrmChg> (change.module, change.parameter, change.value);
    }
    else if (message.getKind() == MidiRecvEv::editBuffer)
    {
        auto whole = std::make_unique<MidiRecvEditBuf>();
        whole->buffer = static_cast<const MidiRecvEditBuf&> (message).buffer;
        copy = std::move (whole);
    }

    if (copy != nullptr)
        postToController (controller, new InstContMesDeviceEvent (std::move (copy)));
}

void GuiMain::deviceEvent (const MidiRecvEv& message)
{
    editor->deviceMessageReceived (message);
    pedalAssign->deviceMessageReceived (message);
}

void GuiMain::punchOut (juce::ReferenceCountedObject* recorderItem)
{
    jam->recorderPunchedOut (recorderItem);
}

void GuiMain::updateTooltip (void*)
{
    updateEditorTooltip();
}

//==============================================================================
const juce::StringArray& GuiMain::getBuiltInDemoNames()
{
    static const juce::StringArray names {
        "1965 LIVERPOOL", "1968 PSYCHEDELIC", "1969 BRITISH HARD ROCK", "1970 BLUES ROCK", "1970 HEAVY METAL",
        "1972 BRITISH HARD ROCK", "1975 ROCK OPERAS", "1976 ROCK INSTRUMENTS", "1977 FUSION INSTRUMENTS",
        "1978 AMERICAN HARD ROCK", "1980 HEAVY METAL", "1981 NEO ROCKABILLY", "1983 UK ROCK", "1984 BLUES ROCK",
        "1984 PROGRESSIVE INSTRUMENTS", "1987 L.A. METAL", "1987 ROCK INSTRUMENTS", "1989 EUROPEAN HARD ROCK",
        "1991 HEAVY METAL", "1999 LATIN ROCK"
    };
    return names;
}

void GuiMain::rebuildDemoList()
{
    demoList.clear();

    const auto folder = getUserDataFolder (UserFolder::toolsets, false);
    auto files = folder.findChildFiles (juce::File::findFiles, false, "*.xml");

    // A directory listing has no order of its own here: the files go by name,
    // as a listing on the system the tool sets come from gives them.
    std::sort (files.begin(), files.end(), [] (const juce::File& a, const juce::File& b)
               { return a.getFileName().compareNatural (b.getFileName()) < 0; });

    for (const auto& file : files)
    {
        if (getBuiltInDemoNames().contains (file.getFileNameWithoutExtension()))
        {
            demoList.add (file);
            continue;
        }

        auto root = parseXmlFile (file);
        if (root == nullptr || ! root->getTagName().equalsIgnoreCase (Project::rootTag))
            continue;

        Project candidate;
        if (candidate.read (root.get()) && candidate.demo)
            demoList.add (file);
    }

    if (commandManager != nullptr)
        commandManager->registerAllCommandsForTarget (this);
    menuItemsChanged();
}

//==============================================================================
juce::StringArray GuiMain::getMenuBarNames()
{
    return { "File", "Edit", "Device", "Help" };
}

void GuiMain::addCommand (juce::PopupMenu& menu, int id)
{
    if (commandManager != nullptr)
    {
        menu.addCommandItem (commandManager, id);
        return;
    }

    // Without a manager (the window not built yet) the items come straight from the command table.
    juce::ApplicationCommandInfo info (id);
    getCommandInfo (id, info);
    menu.addItem (id, info.shortName, (info.flags & juce::ApplicationCommandInfo::isDisabled) == 0,
                  (info.flags & juce::ApplicationCommandInfo::isTicked) != 0);
}

juce::PopupMenu GuiMain::getMenuForIndex (int index, const juce::String&)
{
    namespace C = CommandIDs;
    juce::PopupMenu menu;

    switch (index)
    {
        case 0:
        {
            for (int id : { C::fileNew, C::fileOpen, C::fileSave, C::fileSaveAs })
                addCommand (menu, id);

            juce::PopupMenu import, exportMenu;
            addCommand (import, C::importToolSet);
            addCommand (import, C::importRhythm);
            addCommand (exportMenu, C::exportToolSet);
            menu.addSubMenu ("Import", import);
            menu.addSubMenu ("Export", exportMenu);
            menu.addSeparator();
            addCommand (menu, C::mixDown);
            menu.addSeparator();

            if (! demoList.isEmpty())
            {
                juce::PopupMenu demos;
                for (int i = 0; i < demoList.size(); ++i)
                    addCommand (demos, C::demoFirst + i);
                menu.addSubMenu ("Demo", demos);
                menu.addSeparator();
            }

            addCommand (menu, C::exit);
            break;
        }

        case 1:
            addCommand (menu, C::undo);
            addCommand (menu, C::redo);
            break;

        case 2:
            addCommand (menu, C::autoRun);
            addCommand (menu, C::drummerBassist);
            menu.addSeparator();
            addCommand (menu, C::cpuMeter);
            menu.addSeparator();
            addCommand (menu, C::connect);
            menu.addSeparator();
            addCommand (menu, C::connectionSetting);
            break;

        case 3:
            addCommand (menu, C::version);
            break;

        default:
            break;
    }

    return menu;
}

//==============================================================================
juce::ApplicationCommandTarget* GuiMain::getNextCommandTarget()
{
    return findFirstTargetParentComponent();
}

void GuiMain::getAllCommands (juce::Array<juce::CommandID>& commands)
{
    controller.getAllCommands (commands);
}

void GuiMain::getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    controller.getCommandInfo (commandID, result);
}

bool GuiMain::perform (const InvocationInfo& info)
{
    // A name still being typed is part of the tool set the command works on.
    proj->commitNameEdit();
    return controller.perform (info);
}

void GuiMain::attachCommandManager (juce::ApplicationCommandManager* manager)
{
    if (commandManager != nullptr && commandManager->getFirstCommandTarget (0) == this)
        commandManager->setFirstCommandTarget (nullptr);

    commandManager = manager;
    setApplicationCommandManagerToWatch (manager);

    if (manager != nullptr)
    {
        manager->registerAllCommandsForTarget (this);
        manager->setFirstCommandTarget (this);
    }
}

void GuiMain::invokeCommandAsync (int commandID)
{
    if (commandManager != nullptr)
    {
        commandManager->invoke (juce::ApplicationCommandTarget::InvocationInfo (commandID), true);
        return;
    }

    juce::Component::SafePointer<GuiMain> self (this);
    juce::MessageManager::callAsync ([self, commandID]
    {
        if (self != nullptr)
            self->perform (juce::ApplicationCommandTarget::InvocationInfo (commandID));
    });
}

} // namespace T730
