#include "editor/TimeInputWindow.h"

namespace T730
{

namespace
{
    const juce::Colour orange (255, 155, 0);
}

TimeInputWindow::TimeInputWindow()
{
    setSize (width, height);
    setWantsKeyboardFocus (true);

    editor.setMultiLine (false);
    editor.setInputRestrictions (maxDigits, "0123456789");
    editor.setColour (juce::TextEditor::backgroundColourId, juce::Colours::black);
    editor.setColour (juce::TextEditor::textColourId, orange);
    editor.setColour (juce::TextEditor::highlightColourId, orange);
    editor.setColour (juce::TextEditor::highlightedTextColourId, juce::Colours::black);
    editor.setColour (juce::CaretComponent::caretColourId, orange);
    editor.setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    editor.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    editor.setFont (juce::Font (20.0f));
    editor.setBounds (0, 0, 52, height);
    editor.addListener (this);
    addAndMakeVisible (editor);
}

TimeInputWindow::~TimeInputWindow()
{
    editor.removeListener (this);
}

void TimeInputWindow::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    g.setColour (orange);
    g.setFont (juce::Font (15.0f));
    g.drawText ("ms", 58, 2, 21, 35, juce::Justification::centredRight);
}

void TimeInputWindow::visibilityChanged()
{
    // Keys go to the digits while the entry is open.
    if (isShowing())
        editor.grabKeyboardFocus();
}

void TimeInputWindow::focusGained (FocusChangeType)
{
    editor.grabKeyboardFocus();
}

void TimeInputWindow::textEditorReturnKeyPressed (juce::TextEditor&)
{
    finish (true);
}

void TimeInputWindow::textEditorEscapeKeyPressed (juce::TextEditor&)
{
    finish (false);
}

void TimeInputWindow::finish (bool accept)
{
    enteredSeconds = -1.0;
    if (accept)
    {
        const auto ms = editor.getText().getLargeIntValue();
        if (ms > 0)
            enteredSeconds = (double) ms / 1000.0;
    }

    if (auto* window = findParentComponentOfClass<juce::DialogWindow>())
        window->exitModalState (accept ? 1 : 0);
    else if (isCurrentlyModal())
        exitModalState (accept ? 1 : 0);
}

} // namespace T730
