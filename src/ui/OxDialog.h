#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <optional>

namespace T730
{

/** While it exists, every other top-level window of the program ignores the
    mouse: the windows that were visible, taking mouse clicks and not
    temporary (menus, tooltips) when it was made are turned deaf, and heard
    again when it goes. Keys follow JUCE's modal state, which sends them to the
    running dialog. Nothing changes in how the windows look. Message thread only. */
class ApplicationModal
{
public:
    /** Collects the windows when the dialog window is already on the desktop.
        Without a dialog window (a dialog that JUCE or the system makes later,
        such as the file choosers) every window there is now is collected. */
    explicit ApplicationModal (juce::Component* dialogWindow);
    ~ApplicationModal();

    /** How many windows it turned deaf. */
    int getNumDisabled() const noexcept { return disabled.size(); }

    /** True while some ApplicationModal keeps this window deaf. */
    static bool isDisabled (const juce::Component& window);

private:
    struct Entry
    {
        juce::Component::SafePointer<juce::Component> window;
        bool interceptsSelf, interceptsChildren;
    };
    juce::Array<Entry> disabled;

    JUCE_DECLARE_NON_COPYABLE (ApplicationModal)
};

/** The program's dialog window: the given title on the program's title bar,
    always on top, not resizable. It keeps the other windows deaf
    (ApplicationModal) while it is on the screen. Its close button ends the
    modal loop with 0. */
class OxDialogWindow : public juce::DialogWindow
{
public:
    /** An empty title makes a window without title bar. */
    OxDialogWindow (const juce::String& title, bool escapeKeyCloses);
    ~OxDialogWindow() override;

    void closeButtonPressed() override;

    /** Puts the content in (not owned), sizes the window around it, centres it on
        the screen (or over a component, or puts it at a screen position), and
        runs it modally; returns the modal result. */
    int runFor (juce::Component& content, std::optional<juce::Point<int>> screenPosition = std::nullopt,
                juce::Component* centreAround = nullptr);

    const ApplicationModal* getApplicationModal() const noexcept { return modal.get(); }

private:
    std::unique_ptr<ApplicationModal> modal;

    JUCE_DECLARE_NON_COPYABLE (OxDialogWindow)
};

/** The content of the program's message boxes: the background picture with an
    icon, the text in orange and the buttons of its kind.
      kind 1 (confirmation): warning icon, OK (1) and Cancel (0);
      kind 2 (error): error icon, OK (1);
      kind 3 (overwrite): warning icon, OK (1), Cancel (0) and Rename (2).
    Closing the window otherwise leaves the result 0. */
class OxDialog : public juce::Component, private juce::Button::Listener
{
public:
    enum Kind
    {
        confirmation = 1,
        error = 2,
        overwrite = 3
    };

    OxDialog (const juce::String& text, int kind);
    ~OxDialog() override;

    void paint (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;

    int getKind() const noexcept { return kind; }
    int getResult() const noexcept { return result; }
    const juce::String& getText() const noexcept { return text; }

    juce::Button& getOkButton() noexcept { return ok; }
    juce::Button& getCancelButton() noexcept { return cancel; }
    juce::Button& getRenameButton() noexcept { return rename; }

    /** Where the text is laid out for a kind. */
    static juce::Rectangle<int> getTextBox (int kind);

private:
    void buttonClicked (juce::Button* button) override;
    void finish (int value);

    int kind;
    juce::String text;
    juce::ImageButton ok { "OK" }, cancel { "Cancel" }, rename { "Rename" };
    juce::Image background, icon;
    int result = 0;

    JUCE_DECLARE_NON_COPYABLE (OxDialog)
};

/** The program's message boxes and modal dialogs, titled "OXA Tools", centred on
    the screen, each run in a modal loop that handles posted messages and
    timers while it is open (callers re-check what they held before the box). */
namespace MessageBoxes
{
    /** The error box (kind 2); returns when it is closed. */
    void showError (const juce::String& text);

    /** The confirmation box (kind 1), on top: true only for OK. */
    bool confirm (const juce::String& text);

    /** The overwrite box (kind 3): 0 Cancel (or closed), 1 OK, 2 Rename. */
    int askOverwrite (const juce::String& text);

    /** Runs any component modally in a dialog window with the title; escape
        closes it when escapeCloses is set. Returns the modal result. */
    int runModalComponent (juce::Component& content, const juce::String& title, bool escapeCloses);

    /** The same without title bar, at a screen position. */
    int runModalComponentAt (juce::Component& content, int screenX, int screenY);

    /** The title of every box. */
    inline constexpr const char* title = "OXA Tools";
}

} // namespace T730
