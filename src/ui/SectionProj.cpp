#include "ui/SectionProj.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "documents/Project.h"
#include "platform/DataFolders.h"
#include "platform/Platform.h"
#include "ui/ControllerLink.h"
#include "ui/NameCharacters.h"
#include "ui/OxButtons.h"
#include "ui/OxFonts.h"

#include "app/AppSetting.h"

namespace T730
{

namespace
{
    namespace L = layout;
    const juce::Colour orange (255, 155, 0);

    constexpr int commandNew = 0x2000, commandOpen = 0x2001, commandSave = 0x2002;

    struct ButtonSpec
    {
        const char* name;
        art::Picture normal, pressed;
    };

    constexpr ButtonSpec buttonSpecs[4] = {
        { "ProjectNew", art::Picture::barNew, art::Picture::barNewDown },
        { "ProjectLoad", art::Picture::barLoad, art::Picture::barLoadDown },
        { "ProjectSave", art::Picture::barSave, art::Picture::barSaveDown },
        { "ProjectFolder", art::Picture::barFolder, art::Picture::barFolderDown },
    };

    constexpr const char* tooltips[4] = { "New tool set", "Load a tool set", "Save the tool set",
                                          "Show the tool set's folder" };
} // namespace

SectionProj::SectionProj (ControllerLink& c)
    : controller (c),
      master (art::getImage (art::Picture::sliderThumb), 100),
      input (this),
      output (this),
      lampOn (art::getImage (art::Picture::lampConnected)),
      lampOff (art::getImage (art::Picture::lampUnconnected))
{
    setBounds (L::toolSetBar.x, L::toolSetBar.y, L::toolSetBar.w, L::toolSetBar.h);
    setWantsKeyboardFocus (true);

    openFolder = [] (const juce::File& folder) { return platform::openFolderInFileBrowser (folder); };

    // The name field.
    name.setBounds (L::nameField.x, L::nameField.y, L::nameField.w, L::nameField.h);
    name.setMultiLine (false);
    name.setFont (arialFont (12.0f));
    name.setIndents (2, 0);
    name.setBorder ({});
    name.setInputRestrictions (32, allowedNameCharacters());
    name.setSelectAllWhenFocused (false);
    name.setColour (juce::TextEditor::backgroundColourId, juce::Colours::black);
    name.setColour (juce::TextEditor::textColourId, orange);
    name.setColour (juce::TextEditor::highlightColourId, orange);
    name.setColour (juce::TextEditor::highlightedTextColourId, juce::Colours::black);
    name.setColour (juce::CaretComponent::caretColourId, orange);
    name.setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    name.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    name.setColour (juce::TextEditor::shadowColourId, juce::Colours::transparentBlack);
    name.addListener (this);
    addAndMakeVisible (name);

    // New, Load, Save, Folder.
    for (int i = 0; i < 4; ++i)
    {
        auto& b = buttons[i];
        b = std::make_unique<juce::DrawableButton> (buttonSpecs[i].name, juce::DrawableButton::ImageRaw);
        const auto normal = makeDrawable (art::getImage (buttonSpecs[i].normal));
        const auto pressed = makeDrawable (art::getImage (buttonSpecs[i].pressed));
        b->setImages (normal.get(), nullptr, pressed.get());
        b->setBounds (L::barButtonX[i], L::barButtonY, L::barButtonWidth, L::barButtonHeight);
        b->setWantsKeyboardFocus (false);
        b->setMouseClickGrabsKeyboardFocus (false);
        b->setColour (juce::DrawableButton::backgroundColourId, juce::Colours::transparentBlack);
        b->setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
        b->setTooltip (tooltips[i]);
        b->addListener (this);
        addAndMakeVisible (*b);
    }

    // Master level and the meters.
    master.setBounds (L::masterSlider.x, L::masterSlider.y, L::masterSlider.w, L::masterSlider.h);
    master.setListener (this);
    master.setValue (controller.request (GetMasterLevel));
    addAndMakeVisible (master);

    input.setBounds (L::inputMeter.x, L::inputMeter.y, L::inputMeter.w, L::inputMeter.h);
    output.setBounds (L::outputMeter.x, L::outputMeter.y, L::outputMeter.w, L::outputMeter.h);
    addAndMakeVisible (input);
    addAndMakeVisible (output);

    updateSection();
    input.startTimer (meterIntervalMs);
    output.startTimer (meterIntervalMs);
}

SectionProj::~SectionProj()
{
    input.stopTimer();
    output.stopTimer();
    name.removeListener (this);
    for (auto& b : buttons)
        b->removeListener (this);
}

juce::String SectionProj::getStoredName() const
{
    return controller.getCurrentProject().Name;
}

void SectionProj::updateSection()
{
    name.setText (getStoredName(), juce::dontSendNotification);
    master.setValue (controller.request (GetMasterLevel));
    connected = controller.request (IsDeviceConnected) != 0;
    OxSection::updateSection();
}

void SectionProj::paint (juce::Graphics& g)
{
    g.drawImageAt (connected ? lampOn : lampOff, L::lampX, L::lampY);
}

//==============================================================================
void SectionProj::sliderExValueChanged (SliderEx&, juce::int64 value)
{
    controller.request (SetMasterLevel, (int) value);
}

void SectionProj::sliderExTextRequested (SliderEx&, juce::String& text)
{
    controller.request (GetMasterLevelText, 0, 0, &text);
}

int SectionProj::lvMeterLevelRequested (LvMeter& meter, int channel)
{
    return controller.request (&meter == &input ? ReadInputPeak : ReadOutputPeak, channel);
}

//==============================================================================
void SectionProj::endEditing()
{
    name.setHighlightedRegion ({});
    if (isShowing())
        grabKeyboardFocus();
    else
        name.giveAwayKeyboardFocus();
}

void SectionProj::textEditorReturnKeyPressed (juce::TextEditor&)
{
    endEditing();
}

void SectionProj::textEditorEscapeKeyPressed (juce::TextEditor&)
{
    const auto stored = getStoredName();
    if (name.getText() != stored)
        name.setText (stored, juce::dontSendNotification);
    endEditing();
}

void SectionProj::textEditorFocusLost (juce::TextEditor&)
{
    name.setHighlightedRegion ({});
    commitNameEdit();
}

void SectionProj::commitNameEdit()
{
    const auto text = name.getText();
    if (text == getStoredName())
        return;

    controller.getCurrentProject().Name = text;
    controller.request (RecordUndoAndMarkEdited);
}

//==============================================================================
juce::File SectionProj::getFolderToShow() const
{
    AppSetting* settings = nullptr;
    controller.request (GetAppSetting, 0, 0, &settings);

    if (settings != nullptr && juce::File::isAbsolutePath (settings->CurrentProject))
    {
        const juce::File current (settings->CurrentProject);
        if (current.isDirectory())
            return current;
    }

    auto toolsets = getUserDataFolder (UserFolder::toolsets, false);
    toolsets.createDirectory();
    return toolsets;
}

void SectionProj::buttonClicked (juce::Button* button)
{
    const auto call = [this] (int id)
    {
        if (invokeCommand)
            invokeCommand (id);
    };

    if (button == buttons[0].get())
        call (commandNew);
    else if (button == buttons[1].get())
        call (commandOpen);
    else if (button == buttons[2].get())
        call (commandSave);
    else if (button == buttons[3].get() && openFolder)
        openFolder (getFolderToShow());
}

} // namespace T730
