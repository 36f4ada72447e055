#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

class ModalEditLabel;

/** Told when a cell's editor closed with a changed text. */
class ModalEditLabelListener
{
public:
    virtual ~ModalEditLabelListener() = default;

    /** The editor of the label closed with a new text (the label already shows it). */
    virtual void labelEdited (ModalEditLabel& label, const juce::String& newText) = 0;
};

/** One cell of an EditableTable: a text (the name) and a second text (such as
    its number), drawn on its background, in a box of the frame colour while
    the cell is selected.

    showEditor opens a text editor over the cell that takes at most maxLength
    characters of editCharacters (others are dropped as they are typed); the
    return key or a click elsewhere closes it, escape throws the edit away. A
    changed text is reported to the listener after the editor has gone (from
    the message loop, so that the listener may rebuild the table that owns the
    cell); restoreText puts back the text the cell had when its editor opened.
    Message thread only. */
class ModalEditLabel : public juce::Label, private juce::AsyncUpdater
{
public:
    ModalEditLabel (const juce::String& name, int row, int column);
    ~ModalEditLabel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** Where the editor lies over the cell (the whole cell unless a cell type says otherwise). */
    virtual juce::Rectangle<int> getEditorArea() const { return getLocalBounds(); }

    void setListener (ModalEditLabelListener* newListener) noexcept { editListener = newListener; }

    int getRow() const noexcept { return row; }
    int getColumn() const noexcept { return column; }

    void setSelected (bool shouldBeSelected);
    bool isSelected() const noexcept { return selected; }

    void setSecondText (const juce::String& text);
    const juce::String& getSecondText() const noexcept { return secondText; }

    void setMaxLength (int length) noexcept { maxLength = length; }
    int getMaxLength() const noexcept { return maxLength; }

    void setEditCharacters (const juce::String& characters) { editCharacters = characters; }
    const juce::String& getEditCharacters() const noexcept { return editCharacters; }

    /** Background, text, text on the selection box, and the box. */
    void setCellColours (juce::Colour background, juce::Colour text, juce::Colour selectedText, juce::Colour frame);
    juce::Colour getBackgroundColour() const noexcept { return backgroundColour; }
    juce::Colour getTextColour() const noexcept { return textColour; }
    juce::Colour getSelectedTextColour() const noexcept { return selectedTextColour; }
    juce::Colour getFrameColour() const noexcept { return frameColour; }

    /** The text the cell had when its editor last opened. */
    void restoreText();

    /** The font of the cell's texts. */
    static juce::Font cellFont (float height = 11.0f);

protected:
    juce::TextEditor* createEditorComponent() override;
    void editorShown (juce::TextEditor* editor) override;
    void textWasEdited() override;

private:
    void handleAsyncUpdate() override;

    int row, column;
    bool selected = false;
    int maxLength = 24;
    juce::String editCharacters;
    juce::Colour backgroundColour { juce::Colours::black }, textColour { 255, 155, 0 },
        selectedTextColour { juce::Colours::black }, frameColour { 255, 155, 0 };
    juce::String secondText;
    juce::String textBeforeEditing;
    ModalEditLabelListener* editListener = nullptr; // not owned: the table

    JUCE_DECLARE_NON_COPYABLE (ModalEditLabel)
};

/** The program's editing look: amber text, caret, selection and outline on black. */
void paintAmberOnBlack (juce::TextEditor& editor);

} // namespace T730
