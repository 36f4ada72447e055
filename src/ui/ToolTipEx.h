#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** The editor's floating tooltip: one window for the process, always on top,
    showing a text in black on pale yellow. Message thread only. */
class ToolTipEx : public juce::Component
{
public:
    /** The window, made under a process-wide lock on first use. */
    static ToolTipEx* getInstance();

    /** Deletes the window (the controller does this at shut-down). */
    static void deleteInstance();

    /** Stores the text and sizes the window to it: the laid-out text (font 14,
        at most 400 wide) plus 8 pixels across and 4 down. */
    void setText (const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    /** Puts the window's top left corner at (x + 24, y + 24): x and y are the
        pointer's screen position. */
    void placeAt (int x, int y);

    /** Shows the window when it is hidden and the text is not empty (joining
        the desktop as a temporary window first when it is not on it). */
    void showTip();

    /** Hides the window when it is visible. */
    void hideTip();

    void paint (juce::Graphics& g) override;

    ToolTipEx();

private:
    juce::String text;

    JUCE_DECLARE_NON_COPYABLE (ToolTipEx)
};

} // namespace T730
