#pragma once

#include "ui/LvMeter.h"
#include "ui/OxSection.h"
#include "ui/SliderEx.h"

#include <functional>

namespace T730
{

class ControllerLink;

/** The tool set bar across the top right: the tool set's name, the New, Load,
    Save and Folder buttons, the master level, the input and output meters and
    the device connection lamp. Message thread only.

    The name field takes at most 32 characters of the name character set. Its
    edit is committed when the field loses the keyboard focus (Return moves the
    focus to the bar; Escape first puts the stored name back): a changed text
    becomes the tool set's name and records exactly one undo step. */
class SectionProj : public OxSection,
                    private SliderExListener,
                    private LvMeterListener,
                    private juce::TextEditor::Listener,
                    private juce::Button::Listener
{
public:
    explicit SectionProj (ControllerLink& controller);
    ~SectionProj() override;

    /** Name field from the tool set, slider from the master level, lamp from the device's presence. */
    void updateSection() override;

    void paint (juce::Graphics& g) override;

    /** How the bar's buttons run the menu commands New, Open and Save (asynchronously). */
    std::function<void (int commandId)> invokeCommand;

    /** How a folder is shown in the desktop's file browser (xdg-open by default). */
    std::function<bool (const juce::File&)> openFolder;

    /** The folder the Folder button shows: the current tool set's folder, or the
        tool sets folder (created when missing) without a current tool set. */
    juce::File getFolderToShow() const;

    bool isConnected() const noexcept { return connected; }

    /** Commits an edit of the name field now (as leaving the field does): a
        changed text becomes the name with one undo step. The main component
        calls this before every command, so that a command never works on a
        tool set whose new name is still only in the field. */
    void commitNameEdit();

    juce::TextEditor& getNameField() noexcept { return name; }
    juce::DrawableButton& getButton (int index) noexcept { return *buttons[index]; }
    SliderEx& getMasterSlider() noexcept { return master; }
    LvMeter& getInputMeter() noexcept { return input; }
    LvMeter& getOutputMeter() noexcept { return output; }

    static constexpr int meterIntervalMs = 40;

private:
    void sliderExValueChanged (SliderEx&, juce::int64 value) override;
    void sliderExTextRequested (SliderEx&, juce::String& text) override;
    void sliderExDragEnded (SliderEx&) override {}
    int lvMeterLevelRequested (LvMeter& meter, int channel) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;
    void textEditorFocusLost (juce::TextEditor&) override;
    void buttonClicked (juce::Button* button) override;

    juce::String getStoredName() const;
    void endEditing();

    ControllerLink& controller;
    juce::TextEditor name { "ProjectName" };
    std::unique_ptr<juce::DrawableButton> buttons[4];
    SliderEx master;
    LvMeter input, output;
    juce::Image lampOn, lampOff;
    bool connected = false;

    JUCE_DECLARE_NON_COPYABLE (SectionProj)
};

} // namespace T730
