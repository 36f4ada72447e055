#include "app/HelloWorldWindow.h"

#include "app/GuiMain.h"
#include "app/InstController.h"
#include "art/ProgramArt.h"
#include "ui/T730LookAndFeel.h"

namespace
{
    HelloWorldWindow* mainWindow = nullptr;                   // message thread only
    juce::ApplicationCommandManager* sharedCommandManager = nullptr; // message thread only
} // namespace

HelloWorldWindow::HelloWorldWindow()
    : juce::DocumentWindow ("OXA Tools", juce::Colours::black,
                            juce::DocumentWindow::minimiseButton | juce::DocumentWindow::closeButton, false)
{
    // The program's look comes first, so that the window and every dialog it opens
    // are drawn in it from their first paint (the title bar is the program's own).
    lookAndFeel = std::make_unique<T730::T730LookAndFeel>();
    juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel.get());
    setLookAndFeel (lookAndFeel.get());

    // 1. The window part, on the desktop, recorded as the main window. The title bar
    //    style is chosen before it joins the desktop: changing it afterwards makes
    //    JUCE recreate the native window and bring it to the front, which would show
    //    an empty window while the controller is still being built.
    setUsingNativeTitleBar (false);
    setResizable (false, false);
    addToDesktop();
    setIcon (T730::art::getImage (T730::art::Picture::icon48));
    mainWindow = this;

    // 2. The process-wide command manager.
    commandManager = std::make_unique<juce::ApplicationCommandManager>();
    sharedCommandManager = commandManager.get();

    // 3. The controller (runs the first-run installer when needed, builds GuiMain).
    controller = std::make_unique<T730::InstController>();
    auto* gui = controller->getGui();

    // 4. The commands of GuiMain's target and of the application; key mappings follow the window.
    if (gui != nullptr)
        gui->attachCommandManager (commandManager.get());
    if (auto* application = juce::JUCEApplication::getInstance())
        commandManager->registerAllCommandsForTarget (application);
    addKeyListener (commandManager->getKeyMappings());

    // 5. GuiMain is the content (owned by the controller) and the menu bar's model.
    if (gui != nullptr)
    {
        setContentNonOwned (gui, true);
        setMenuBar (gui);
    }
    // The menu bar is added on top of the fixed content, not taken from it.
    setContentComponentSize (contentWidth, contentHeight);

    // 6. Centred, then moved to the stored position.
    centreWithSize (getWidth(), getHeight());
    const auto& settings = controller->getSettings();
    setTopLeftPosition (settings.WindowX, settings.WindowY);

    // 7. Visible.
    setVisible (true);
}

HelloWorldWindow::~HelloWorldWindow()
{
    setMenuBar (nullptr);
    // Hidden first, so that the figures' 3D views close while the window still has them.
    if (auto* content = getContentComponent())
        content->setVisible (false);
    clearContentComponent();
    if (auto* gui = controller != nullptr ? controller->getGui() : nullptr)
        gui->attachCommandManager (nullptr);
    setLookAndFeel (nullptr);
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == lookAndFeel.get())
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    controller.reset();
    lookAndFeel.reset();
    sharedCommandManager = nullptr;
    commandManager.reset();
    mainWindow = nullptr;
}

void HelloWorldWindow::closeButtonPressed()
{
    if (controller == nullptr || ! controller->prepareQuit())
        return;

    if (controller->quitApplication)
        controller->quitApplication();
    else
        juce::JUCEApplication::quit();
}

HelloWorldWindow* HelloWorldWindow::getMainWindow() noexcept
{
    return mainWindow;
}

std::optional<juce::Point<int>> HelloWorldWindow::getMainWindowPosition()
{
    if (mainWindow == nullptr)
        return std::nullopt;

    return mainWindow->getPosition();
}

juce::ApplicationCommandManager* HelloWorldWindow::getCommandManager() noexcept
{
    return sharedCommandManager;
}
