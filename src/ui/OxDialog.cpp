#include "ui/OxDialog.h"

#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "ui/OxFonts.h"

#include <set>

namespace T730
{

namespace
{
    const juce::Colour orange (255, 155, 0);

    std::set<const juce::Component*>& deafWindows() // message thread only
    {
        static std::set<const juce::Component*> windows;
        return windows;
    }

    bool isTemporaryWindow (juce::Component& window)
    {
        auto* peer = window.getPeer();
        return peer != nullptr && (peer->getStyleFlags() & juce::ComponentPeer::windowIsTemporary) != 0;
    }

    void setButtonPictures (juce::ImageButton& button, art::Picture normal, art::Picture over)
    {
        const auto normalImage = art::getImage (normal);
        const auto overImage = art::getImage (over);
        button.setImages (false, true, true, normalImage, 1.0f, {}, overImage, 1.0f, {}, overImage, 1.0f, {});
        button.setWantsKeyboardFocus (false);
    }
} // namespace

//==============================================================================
ApplicationModal::ApplicationModal (juce::Component* dialogWindow)
{
    if (dialogWindow != nullptr && dialogWindow->getPeer() == nullptr)
        return;

    auto& desktop = juce::Desktop::getInstance();
    for (int i = 0; i < desktop.getNumComponents(); ++i)
    {
        auto* window = desktop.getComponent (i);
        if (window == nullptr || window == dialogWindow || ! window->isVisible() || isTemporaryWindow (*window)
            || deafWindows().count (window) != 0)
            continue;

        bool self = true, children = true;
        window->getInterceptsMouseClicks (self, children);
        if (! self && ! children)
            continue;

        disabled.add ({ window, self, children });
        deafWindows().insert (window);
        window->setInterceptsMouseClicks (false, false);
    }
}

ApplicationModal::~ApplicationModal()
{
    for (auto& entry : disabled)
    {
        if (auto* window = entry.window.getComponent())
        {
            window->setInterceptsMouseClicks (entry.interceptsSelf, entry.interceptsChildren);
            deafWindows().erase (window);
        }
    }

    // A window deleted meanwhile leaves its address behind; forget those too.
    for (auto it = deafWindows().begin(); it != deafWindows().end();)
    {
        bool gone = true;
        auto& desktop = juce::Desktop::getInstance();
        for (int i = 0; i < desktop.getNumComponents() && gone; ++i)
            gone = desktop.getComponent (i) != *it;
        it = gone ? deafWindows().erase (it) : std::next (it);
    }
}

bool ApplicationModal::isDisabled (const juce::Component& window)
{
    return deafWindows().count (&window) != 0;
}

//==============================================================================
OxDialogWindow::OxDialogWindow (const juce::String& title, bool escapeKeyCloses)
    : juce::DialogWindow (title, juce::Colours::black, escapeKeyCloses, false)
{
    setUsingNativeTitleBar (false);
    if (title.isEmpty())
    {
        setTitleBarHeight (0);
        setTitleBarButtonsRequired (0, false);
    }
    setResizable (false, false);
    setAlwaysOnTop (true);
    addToDesktop();
    modal = std::make_unique<ApplicationModal> (this);
}

OxDialogWindow::~OxDialogWindow()
{
    modal.reset();
    clearContentComponent();
}

void OxDialogWindow::closeButtonPressed()
{
    modal.reset();
    setVisible (false);
    if (isCurrentlyModal())
        exitModalState (0);
}

int OxDialogWindow::runFor (juce::Component& content, std::optional<juce::Point<int>> screenPosition,
                            juce::Component* centreAround)
{
    setContentNonOwned (&content, true);

    if (screenPosition.has_value())
        setTopLeftPosition (*screenPosition);
    else if (centreAround != nullptr)
        centreAroundComponent (centreAround, getWidth(), getHeight());
    else
        centreWithSize (getWidth(), getHeight());

    setVisible (true);
    toFront (true);
    if (content.getWantsKeyboardFocus())
        content.grabKeyboardFocus();

#if JUCE_MODAL_LOOPS_PERMITTED
    const int result = runModalLoop();
#else
    const int result = 0;
    jassertfalse;
#endif

    modal.reset();
    setVisible (false);
    clearContentComponent();
    return result;
}

//==============================================================================
OxDialog::OxDialog (const juce::String& message, int dialogKind)
    : kind (juce::jlimit (1, 3, dialogKind)), text (message)
{
    background = art::getImage (art::Picture::dialogBackground);
    icon = art::getImage (kind == error ? art::Picture::dialogError : art::Picture::dialogWarning);

    setButtonPictures (ok, art::Picture::buttonOk, art::Picture::buttonOkOver);
    setButtonPictures (cancel, art::Picture::buttonCancel, art::Picture::buttonCancelOver);
    setButtonPictures (rename, art::Picture::buttonRename, art::Picture::buttonRenameOver);

    constexpr int y = 131, w = layout::dialogButtonWidth, h = layout::dialogButtonHeight;
    ok.setBounds (218, y, w, h);
    cancel.setBounds (150, y, w, h);
    rename.setBounds (80, y, w, h);

    addAndMakeVisible (ok);
    if (kind != error)
        addAndMakeVisible (cancel);
    if (kind == overwrite)
        addAndMakeVisible (rename);

    for (auto* b : { &ok, &cancel, &rename })
        b->addListener (this);

    setWantsKeyboardFocus (true);
    setOpaque (true);
    setSize (background.isValid() ? background.getWidth() : layout::dialogWidth,
             background.isValid() ? background.getHeight() : layout::dialogHeight);
}

OxDialog::~OxDialog()
{
    for (auto* b : { &ok, &cancel, &rename })
        b->removeListener (this);
}

juce::Rectangle<int> OxDialog::getTextBox (int kind)
{
    const int d = kind == error ? 12 : 10;
    return { 75, 36 + d, 191, 74 };
}

void OxDialog::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff141416));
    g.drawImageAt (background, 0, 0);

    if (icon.isValid())
    {
        if (kind == error)
            g.drawImage (icon, 45, 40, 27, 27, 0, 0, icon.getWidth(), icon.getHeight());
        else
            g.drawImageAt (icon, 45, 40);
    }

    const auto box = getTextBox (kind);
    juce::AttributedString s;
    s.setJustification (juce::Justification::topLeft); // the first line beside the icon
    s.setWordWrap (juce::AttributedString::byWord);
    s.append (text, arialFont (14.0f), orange);
    juce::TextLayout layout;
    layout.createLayout (s, (float) box.getWidth());
    layout.draw (g, box.toFloat());
}

bool OxDialog::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::returnKey)
    {
        finish (1);
        return true;
    }

    return false;
}

void OxDialog::buttonClicked (juce::Button* button)
{
    if (button == &ok)
        finish (1);
    else if (button == &rename)
        finish (2);
    else
        finish (result);
}

void OxDialog::finish (int value)
{
    result = value;

    if (auto* window = findParentComponentOfClass<juce::DialogWindow>())
        window->exitModalState (value);
    else if (isCurrentlyModal())
        exitModalState (value);
}

//==============================================================================
namespace MessageBoxes
{
    namespace
    {
        int runBox (const juce::String& text, int kind)
        {
            OxDialog dialog (text, kind);
            OxDialogWindow window (title, true);
            window.runFor (dialog);
            return dialog.getResult();
        }
    } // namespace

    void showError (const juce::String& text)
    {
        runBox (text, OxDialog::error);
    }

    bool confirm (const juce::String& text)
    {
        return runBox (text, OxDialog::confirmation) == 1;
    }

    int askOverwrite (const juce::String& text)
    {
        return runBox (text, OxDialog::overwrite);
    }

    int runModalComponent (juce::Component& content, const juce::String& windowTitle, bool escapeCloses)
    {
        OxDialogWindow window (windowTitle, escapeCloses);
        return window.runFor (content);
    }

    int runModalComponentAt (juce::Component& content, int screenX, int screenY)
    {
        OxDialogWindow window ({}, true);
        return window.runFor (content, juce::Point<int> (screenX, screenY));
    }
} // namespace MessageBoxes

} // namespace T730
