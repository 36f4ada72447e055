#include "ui/ModalEditLabel.h"

#include "ui/NameCharacters.h"
#include "ui/OxFonts.h"

namespace T730
{

ModalEditLabel::ModalEditLabel (const juce::String& name, int r, int c)
    : juce::Label (name), row (r), column (c), editCharacters (allowedNameCharacters())
{
    // The table takes the clicks; only the open editor (a child) gets them.
    setInterceptsMouseClicks (false, true);
    setEditable (false, false, false);
    setMinimumHorizontalScale (1.0f);
    setFont (cellFont());
}

ModalEditLabel::~ModalEditLabel()
{
    cancelPendingUpdate();
}

juce::Font ModalEditLabel::cellFont (float height)
{
    return arialFont (height);
}

void ModalEditLabel::setSelected (bool shouldBeSelected)
{
    if (selected != shouldBeSelected)
    {
        selected = shouldBeSelected;
        repaint();
    }
}

void ModalEditLabel::setSecondText (const juce::String& text)
{
    if (secondText != text)
    {
        secondText = text;
        repaint();
    }
}

void ModalEditLabel::setCellColours (juce::Colour background, juce::Colour text, juce::Colour selectedText,
                                     juce::Colour frame)
{
    backgroundColour = background;
    textColour = text;
    selectedTextColour = selectedText;
    frameColour = frame;
    repaint();
}

void ModalEditLabel::paint (juce::Graphics& g)
{
    if (isBeingEdited())
        return;

    g.setColour (backgroundColour);
    g.fillRect (getLocalBounds());

    if (selected)
    {
        g.setColour (frameColour);
        g.fillRoundedRectangle (getLocalBounds().reduced (1).toFloat(), 4.0f);
    }

    g.setColour (selected ? selectedTextColour : textColour);
    g.setFont (getFont());
    const int baseline = getHeight() - 4;
    int x = 3;
    if (secondText.isNotEmpty())
    {
        g.drawSingleLineText (secondText, x, baseline);
        x += getFont().getStringWidth (secondText);
    }
    g.drawSingleLineText (getText(), x, baseline);
}

void ModalEditLabel::resized()
{
    juce::Label::resized();
    if (auto* editor = getCurrentTextEditor())
        editor->setBounds (getEditorArea());
}

void paintAmberOnBlack (juce::TextEditor& editor)
{
    const juce::Colour amber (255, 155, 0);
    editor.setColour (juce::TextEditor::backgroundColourId, juce::Colours::black);
    editor.setColour (juce::TextEditor::textColourId, amber);
    editor.setColour (juce::TextEditor::highlightColourId, amber);
    editor.setColour (juce::TextEditor::highlightedTextColourId, juce::Colours::black);
    editor.setColour (juce::CaretComponent::caretColourId, amber);
    editor.setColour (juce::TextEditor::outlineColourId, amber);
    editor.setColour (juce::TextEditor::focusedOutlineColourId, amber);
    editor.setColour (juce::TextEditor::shadowColourId, juce::Colours::transparentBlack);
}

juce::TextEditor* ModalEditLabel::createEditorComponent()
{
    auto* editor = new juce::TextEditor (getName());
    editor->setFont (getFont());
    editor->setInputRestrictions (maxLength, editCharacters);
    editor->setIndents (2, 1);
    editor->setBorder ({});
    paintAmberOnBlack (*editor);
    return editor;
}

void ModalEditLabel::editorShown (juce::TextEditor* editor)
{
    textBeforeEditing = getText();
    juce::Label::editorShown (editor);
}

void ModalEditLabel::textWasEdited()
{
    triggerAsyncUpdate();
}

void ModalEditLabel::handleAsyncUpdate()
{
    if (editListener != nullptr)
        editListener->labelEdited (*this, getText());
}

void ModalEditLabel::restoreText()
{
    setText (textBeforeEditing, juce::dontSendNotification);
}

} // namespace T730
