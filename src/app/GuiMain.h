#pragma once

#include "app/InstContMes.h"
#include "ui/ControllerLink.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

namespace T730
{

class InstController;
class MidiRecvEv;
class SectionTab;
class SectionProj;
class SectionJam;
class SectionEditor;
class SectionPedalAssign;

/** The main window's content: the five sections over the 700 x 500
    background, the main menu, the command target that hands the menu
    commands to the controller, and the drag-and-drop container of the whole
    window. The controller reaches the sections through it (its posted
    messages arrive here). Message thread only, except where noted. */
class GuiMain : public juce::Component,
                public juce::MenuBarModel,
                public juce::ApplicationCommandTarget,
                public juce::DragAndDropContainer,
                public InstContMesReceiver
{
public:
    explicit GuiMain (InstController& controller);
    ~GuiMain() override;

    void paint (juce::Graphics& g) override;

    // Sections ---------------------------------------------------------------
    /** Each flagged section's updateSection, in the order tab, tool set bar, jam, editor, pedal assign. */
    void updateSections (int sectionFlags) override;

    /** With non-zero flags: this component (and its window) and every flagged section are repainted. */
    void repaintSections (int sectionFlags) override;

    /** Nesting of long operations: the first begin stops the jam section's live
        drawing, every end that leaves the depth at 0 or below starts it again
        and updates the jam section. */
    void beginBusy();
    void endBusy();
    int getBusyDepth() const noexcept { return busyDepth; }

    /** Hands the pitch to the tuner page when it is shown. */
    void tunerPitchDetected (float pitch) override;

    /** Whether the tab section shows the tuner; any thread may ask. */
    bool isTunerShown() const noexcept;

    /** The download page stops its worker thread. */
    void stopDownloadActivity();

    /** The editor section refreshes its tooltip. */
    void updateEditorTooltip();

    /** A message from the device, on the MIDI input thread: a copy of a
        parameter change or a whole edit buffer is posted to the controller,
        which hands it back on the message thread (deviceEvent). Nothing here
        touches a component. */
    void deviceMessageReceived (const MidiRecvEv& message);

    /** The posted copy, on the message thread: to the editor section, then
        the pedal-assign section. */
    void deviceEvent (const MidiRecvEv& message) override;

    /** The recorder item is told first, then the editor's tooltip is refreshed. */
    void punchOut (juce::ReferenceCountedObject* recorderItem) override;
    void updateTooltip (void* what) override;

    SectionTab& getTabSection() noexcept { return *tab; }
    SectionProj& getToolSetBar() noexcept { return *proj; }
    SectionJam& getJamSection() noexcept { return *jam; }
    SectionEditor& getEditorSection() noexcept { return *editor; }
    SectionPedalAssign& getPedalAssignSection() noexcept { return *pedalAssign; }

    // Demo tool sets ----------------------------------------------------------
    /** Lists the demo tool sets of the tool set folder: files named like one of
        the built-in demos, and any other tool set document that loads and is
        marked as a demo. The commands are registered again. */
    void rebuildDemoList();
    const juce::Array<juce::File>& getDemoList() const noexcept { return demoList; }

    /** The 20 names of the built-in demo tool sets. */
    static const juce::StringArray& getBuiltInDemoNames();

    // Menu -------------------------------------------------------------------
    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex (int topLevelMenuIndex, const juce::String& menuName) override;
    void menuItemSelected (int, int) override {}

    // Commands ---------------------------------------------------------------
    juce::ApplicationCommandTarget* getNextCommandTarget() override;
    void getAllCommands (juce::Array<juce::CommandID>& commands) override;
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;
    bool perform (const InvocationInfo& info) override;

    /** Registers the commands with the manager, makes this the manager's first
        command target and lets the menu follow it. The manager is not owned and
        must outlive this component (or be detached with null first). */
    void attachCommandManager (juce::ApplicationCommandManager* manager);
    juce::ApplicationCommandManager* getCommandManager() const noexcept { return commandManager; }

    /** Runs a command later, through the command manager when there is one. */
    void invokeCommandAsync (int commandID);

    /** The link every section holds to the controller. */
    ControllerLink& getControllerLink() noexcept;

    /** Width 700; height 500 plus the look and feel's menu bar height (24). */
    static constexpr int width = 700, sectionsHeight = 500;

private:
    class Link;

    void addCommand (juce::PopupMenu& menu, int commandID);

    InstController& controller;
    std::unique_ptr<Link> link;
    juce::ApplicationCommandManager* commandManager = nullptr;
    juce::Image background;

    std::unique_ptr<SectionTab> tab;
    std::unique_ptr<SectionProj> proj;
    std::unique_ptr<SectionJam> jam;
    std::unique_ptr<SectionEditor> editor;
    std::unique_ptr<SectionPedalAssign> pedalAssign;

    int busyDepth = 0;
    juce::Array<juce::File> demoList;

    JUCE_DECLARE_NON_COPYABLE (GuiMain)
};

} // namespace T730
