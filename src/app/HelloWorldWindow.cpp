#include "app/HelloWorldWindow.h"
#include "app/InstController.h"

namespace
{
    HelloWorldWindow* mainWindow = nullptr;                   // message thread only
    juce::ApplicationCommandManager* sharedCommandManager = nullptr; // message thread only

    /** The window's content until the sections arrive: the fixed 700 x 500 area. */
    class EmptyContent : public juce::Component
    {
    public:
        EmptyContent()
        {
            setOpaque (true);
            setSize (HelloWorldWindow::contentWidth, HelloWorldWindow::contentHeight);
        }

        void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::black); }
    };

    /** The menu until the sections' command target provides it: File > Exit. */
    class StartupMenu : public juce::MenuBarModel
    {
    public:
        juce::StringArray getMenuBarNames() override { return { "File" }; }

        juce::PopupMenu getMenuForIndex (int, const juce::String&) override
        {
            juce::PopupMenu menu;
            menu.addItem (exitItem, "Exit");
            return menu;
        }

        void menuItemSelected (int itemId, int) override
        {
            if (itemId == exitItem && mainWindow != nullptr)
                mainWindow->closeButtonPressed();
        }

    private:
        static constexpr int exitItem = 1;
    };
} // namespace

HelloWorldWindow::HelloWorldWindow()
    : juce::DocumentWindow ("OXA Tools", juce::Colours::black,
                            juce::DocumentWindow::minimiseButton | juce::DocumentWindow::closeButton, false)
{
    // 1. The window part, on the desktop, recorded as the main window. The title bar
    //    style is chosen before it joins the desktop: changing it afterwards makes
    //    JUCE recreate the native window and bring it to the front, which would show
    //    an empty window while the controller is still being built.
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    addToDesktop();
    mainWindow = this;

    // 2. The process-wide command manager.
    commandManager = std::make_unique<juce::ApplicationCommandManager>();
    sharedCommandManager = commandManager.get();

    // 3. The controller (runs the first-run installer when needed).
    controller = std::make_unique<T730::InstController>();

    // 4. The command targets register their commands here; key mappings follow the window.
    addKeyListener (commandManager->getKeyMappings());

    // 5. Content and menu bar (GuiMain takes both roles once it exists).
    setContentOwned (new EmptyContent(), true);
    startupMenu = std::make_unique<StartupMenu>();
    setMenuBar (startupMenu.get());
    // The menu bar is added on top of the fixed content, not taken from it.
    setContentComponentSize (contentWidth, contentHeight);

    // 6. Centred, then moved to the stored position.
    centreWithSize (getWidth(), getHeight());
    const auto& settings = controller->getSettings();
    setTopLeftPosition (settings.WindowX, settings.WindowY);

    // 7. Look and feel (the program's own one replaces JUCE's here), then visible.
    setVisible (true);
}

HelloWorldWindow::~HelloWorldWindow()
{
    setMenuBar (nullptr);
    clearContentComponent();
    setLookAndFeel (nullptr);
    lookAndFeel.reset();
    controller.reset();
    startupMenu.reset();
    sharedCommandManager = nullptr;
    commandManager.reset();
    mainWindow = nullptr;
}

void HelloWorldWindow::closeButtonPressed()
{
    if (controller != nullptr && controller->prepareQuit())
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
