#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** The time entry of a "NInputKey" control: up to six digits of milliseconds
    in orange on black, with "ms" beside them. Return accepts and closes,
    Escape closes without accepting. Shown modally by its control. */
class TimeInputWindow : public juce::Component, private juce::TextEditor::Listener
{
public:
    TimeInputWindow();
    ~TimeInputWindow() override;

    void paint (juce::Graphics& g) override;
    void visibilityChanged() override;
    void focusGained (FocusChangeType cause) override;

    /** The accepted time in seconds; -1 when nothing was accepted, or the
        number was empty or zero. */
    double getEnteredSeconds() const noexcept { return enteredSeconds; }

    juce::TextEditor& getEditor() noexcept { return editor; }

    static constexpr int width = 90, height = 40, maxDigits = 6;

private:
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;
    void finish (bool accept);

    juce::TextEditor editor;
    double enteredSeconds = -1.0;

    JUCE_DECLARE_NON_COPYABLE (TimeInputWindow)
};

} // namespace T730
