#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <optional>

namespace T730
{
class InstController;
}

/** The one main window: title "OXA Tools" on the program's own title bar,
    minimise and close buttons only, a fixed content of 700 x 500 (the main
    component) under the menu bar. Owns the controller, the program's look and
    feel and the process-wide command manager. */
class HelloWorldWindow : public juce::DocumentWindow
{
public:
    HelloWorldWindow();
    ~HelloWorldWindow() override;

    /** Asks the controller to quit; quits the application when it agrees. */
    void closeButtonPressed() override;

    /** No frame: the window is exactly its title bar, menu bar and content. */
    juce::BorderSize<int> getBorderThickness() override { return {}; }

    T730::InstController* getController() const noexcept { return controller.get(); }

    /** The one main window, or null before it is built and after it is gone. */
    static HelloWorldWindow* getMainWindow() noexcept;

    /** The main window's current left/top position, when there is a main window. */
    static std::optional<juce::Point<int>> getMainWindowPosition();

    /** The process-wide command manager (lives as long as the main window). */
    static juce::ApplicationCommandManager* getCommandManager() noexcept;

    static constexpr int contentWidth = 700, contentHeight = 500;

    /** The title bar's height (its picture's). */
    static constexpr int titleBarHeight = 26;

private:
    std::unique_ptr<juce::ApplicationCommandManager> commandManager;
    std::unique_ptr<T730::InstController> controller;
    std::unique_ptr<juce::LookAndFeel> lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HelloWorldWindow)
};
