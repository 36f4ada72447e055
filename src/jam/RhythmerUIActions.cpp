// What the rhythm panel's keys, menus, sliders and labels do.
#include "jam/RhythmerUI.h"

#include "app/ControllerRequest.h"
#include "documents/Project.h"
#include "rhythm/RootIndex.h"
#include "ui/ControllerLink.h"

namespace T730
{

namespace
{
    /** Within the first half second of a bar the bar key goes one bar further back. */
    constexpr juce::int64 barBackGrace = 22050;
}

void RhythmerUI::panelButtonClicked (juce::Button* b)
{
    if (machine == nullptr)
        return;

    if (b == &powerButton)
        switchPower (powerButton.getToggleState());
    else if (b == &playButton)
        startOrPause (playButton.getToggleState());
    else if (b == &stopButton)
        stopPlaying();
    else if (b == &previousBarButton)
        stepToPreviousBar();
    else if (b == &nextBarButton)
        stepToNextBar();
    else if (b == &repeatButton)
        setRepeat (repeatButton.getToggleState());
    else if (b == &drumMuteButton)
        setDrumMute (drumMuteButton.getToggleState());
    else if (b == &bassMuteButton)
        setBassMute (bassMuteButton.getToggleState());
    else if (b == &countButton)
        showMenu (countButton, makeCountMenu(), [this] (int id) { chooseCount (id - 2); });
    else if (b == &keyButton)
        showMenu (keyButton, makeKeyMenu(), [this] (int id) { chooseKey (id); });
    else if (b == &drumKitButton)
        showMenu (drumKitButton, makeDrumKitMenu(), [this] (int id) { chooseDrumKit (id - 1); });
    else if (b == &bassVoiceButton)
        showMenu (bassVoiceButton, makeBassVoiceMenu(), [this] (int id) { chooseBassVoice (id - 1); });
}

void RhythmerUI::showMenu (juce::Button& key, juce::PopupMenu menu, std::function<void (int)> chosen)
{
    juce::Component::SafePointer<RhythmerUI> safe (this);
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&key),
                        [safe, chosen = std::move (chosen)] (int result)
                        {
                            if (safe != nullptr && result != 0)
                                chosen (result);
                        });
}

//==============================================================================
void RhythmerUI::switchPower (bool on)
{
    if (machine == nullptr)
        return;
    machine->setRhythmOn (on);
    updateFigureAnimation();
    refresh();
    repaint();
    save();
}

void RhythmerUI::startOrPause (bool play)
{
    if (machine == nullptr)
        return;
    if (play)
        machine->play();
    else
        machine->pause();
    playButton.setToggleState (! isStopped(), juce::dontSendNotification);
}

void RhythmerUI::stopPlaying()
{
    if (machine == nullptr)
        return;
    playButton.setToggleState (false, juce::dontSendNotification);
    machine->pause();
    machine->stop();
}

void RhythmerUI::stepToNextBar()
{
    if (machine == nullptr || machine->getLength() <= 0)
        return;

    const bool wasPlaying = ! isStopped();
    machine->pause();
    const auto position = songPosition();
    const auto& starts = chords.getBarStarts();
    for (size_t i = 1; i < starts.size(); ++i)
        if (starts[i - 1] <= position && position < starts[i])
        {
            machine->locateBy (starts[i] - position);
            break;
        }
    if (wasPlaying)
        machine->play();
}

void RhythmerUI::stepToPreviousBar()
{
    if (machine == nullptr)
        return;
    const auto length = machine->getLength();
    if (length <= 0)
        return;

    const bool wasPlaying = ! isStopped();
    machine->pause();
    const auto position = songPosition();
    const auto& starts = chords.getBarStarts();
    if (position <= barBackGrace)
    {
        // Early in the song: on to the start of its last bar, a pass earlier
        // (the start of the song when there is none).
        if (starts.size() >= 2)
            machine->locateBy (starts[starts.size() - 2] - length - position);
        else
            machine->locateBy (-position);
    }
    else
    {
        for (size_t i = 1; i < starts.size(); ++i)
            if (starts[i - 1] + barBackGrace < position && position <= starts[i] + barBackGrace)
            {
                machine->locateBy (starts[i - 1] - position);
                break;
            }
    }
    if (wasPlaying)
        machine->play();
}

void RhythmerUI::setRepeat (bool on)
{
    if (machine == nullptr)
        return;
    machine->setRepeat (on);
    save();
}

void RhythmerUI::setDrumMute (bool muted)
{
    if (machine == nullptr)
        return;
    machine->setDrumMute (muted);
    save();
}

void RhythmerUI::setBassMute (bool muted)
{
    if (machine == nullptr)
        return;
    machine->setBassMute (muted);
    save();
}

//==============================================================================
juce::PopupMenu RhythmerUI::makeCountMenu() const
{
    juce::PopupMenu menu;
    const int current = machine != nullptr ? machine->getPreCount() : 0;
    menu.addItem (1, "SP", true, current == -1);
    menu.addItem (2, "OFF", true, current == 0);
    for (int beats = 1; beats <= 8; ++beats)
        menu.addItem (beats + 2, juce::String (beats), true, current == beats);
    return menu;
}

void RhythmerUI::chooseCount (int value)
{
    if (machine == nullptr || value < -1 || value > 8)
        return;
    machine->setPreCount (value);
    countButton.setButtonText (value == -1 ? "SP" : value == 0 ? "OFF" : juce::String (value));
    getController().getCurrentProject().PreCount = value;
    getController().request (RecordUndoAndMarkEdited);
}

juce::String RhythmerUI::keyItemName (int item) const
{
    const int root = machine != nullptr ? machine->getSongRoot() : 0;
    return RootIndex::toName (root + item - 7);
}

juce::PopupMenu RhythmerUI::makeKeyMenu() const
{
    juce::PopupMenu menu;
    const int current = machine != nullptr ? machine->getTranspose() + 7 : 7;
    for (int item = 1; item <= 13; ++item)
        menu.addItem (item, keyItemName (item), true, item == current);
    return menu;
}

void RhythmerUI::chooseKey (int item)
{
    if (machine == nullptr || item < 1 || item > 13)
        return;
    const int transpose = item - 7;
    machine->setTranspose (transpose);
    chords.setTranspose (transpose);
    layOutSong();
    keyButton.setButtonText (keyItemName (item));
    machine->silence();
    save();
}

juce::PopupMenu RhythmerUI::makeDrumKitMenu() const
{
    juce::PopupMenu menu;
    if (machine == nullptr || machine->getDrumInstance() == nullptr)
        return menu;
    const int count = juce::jmin (maxDrumKits, machine->getNumDrumKits());
    for (int kit = 0; kit < count; ++kit)
        menu.addItem (kit + 1, machine->getDrumKitName (kit), true, kit == machine->getSong().RhythmVoice);
    return menu;
}

juce::PopupMenu RhythmerUI::makeBassVoiceMenu() const
{
    juce::PopupMenu menu;
    if (machine == nullptr || machine->getBassInstance() == nullptr)
        return menu;
    const int count = juce::jmin (maxBassVoices, machine->getNumBassVoices());
    for (int voice = 0; voice < count; ++voice)
        menu.addItem (voice + 1, machine->getBassVoiceName (voice), true, voice == machine->getSong().BassVoice);
    return menu;
}

void RhythmerUI::chooseDrumKit (int kit)
{
    if (machine == nullptr || machine->getDrumInstance() == nullptr || kit < 0
        || kit >= juce::jmin (maxDrumKits, machine->getNumDrumKits()))
        return;
    machine->selectDrumKit (kit);
    drumKitButton.setButtonText (machine->getDrumKitName (kit));
    save();
}

void RhythmerUI::chooseBassVoice (int voice)
{
    if (machine == nullptr || machine->getBassInstance() == nullptr || voice < 0
        || voice >= juce::jmin (maxBassVoices, machine->getNumBassVoices()))
        return;
    machine->selectBassVoice (voice);
    bassVoiceButton.setButtonText (machine->getBassVoiceName (voice));
    save();
}

//==============================================================================
void RhythmerUI::changeTempo (int beatsPerMinute, bool saveNow)
{
    if (machine == nullptr)
        return;
    machine->setTempo (juce::jlimit (PlayState::lowestTempo, PlayState::highestTempo, beatsPerMinute));
    layOutSong();
    showTempo();
    if (saveNow)
        save();
}

bool RhythmerUI::commitTempoText (const juce::String& text)
{
    if (machine == nullptr)
        return false;
    const auto t = text.trim();
    const int value = t.getIntValue();
    if (! isStopped() || t.isEmpty() || ! t.containsOnly ("0123456789") || t.length() > 3
        || value < PlayState::lowestTempo || value > PlayState::highestTempo)
    {
        tempoLabel.setText (juce::String (machine->getCurrentPlayState()->getTempo()), juce::dontSendNotification);
        return false;
    }
    changeTempo (value, true);
    return true;
}

void RhythmerUI::labelTextChanged (juce::Label* label)
{
    if (label == &tempoLabel)
        commitTempoText (tempoLabel.getText());
}

void RhythmerUI::editorShown (juce::Label*, juce::TextEditor& editor)
{
    editor.selectAll();
}

void RhythmerUI::sliderValueChanged (juce::Slider* slider)
{
    if (slider == &tempoSlider)
        changeTempo ((int) tempoSlider.getValue(), false);
}

void RhythmerUI::sliderDragEnded (juce::Slider* slider)
{
    if (slider == &tempoSlider)
        save();
}

//==============================================================================
void RhythmerUI::sliderExValueChanged (SliderEx& slider, juce::int64 value)
{
    if (machine == nullptr)
        return;
    if (&slider == &drumLevelSlider)
        machine->setDrumLevel ((int) value);
    else if (&slider == &bassLevelSlider)
        machine->setBassLevel ((int) value);
}

void RhythmerUI::sliderExTextRequested (SliderEx& slider, juce::String& text)
{
    if (machine == nullptr)
        return;
    if (&slider == &locateBar)
    {
        if (! locateBar.isDragging())
            return;
        const auto length = machine->getLength();
        if (length <= 0)
            return;
        const auto bb = ChordGrid::barBeatAt (locateBar.getValue(),
                                              meters,
                                              machine->getCurrentPlayState()->getTempo());
        text = juce::String::formatted ("%02d-%02d", bb.bar + 1, bb.beat + 1);
    }
    else if ((&slider == &drumLevelSlider || &slider == &bassLevelSlider) && slider.isMouseButtonDown())
    {
        text = machine->getLevelText (&slider == &drumLevelSlider);
        if (text.isEmpty())
            text = juce::String (slider.getValue()) + " %";
    }
}

void RhythmerUI::sliderExDragEnded (SliderEx& slider)
{
    if (machine == nullptr)
        return;
    if (&slider == &locateBar)
    {
        const auto length = machine->getLength();
        if (length <= 0)
            return;
        const bool wasPlaying = ! isStopped();
        machine->pause();
        machine->locateTo (locateBar.getValue() + (machine->isRepeating() ? loopCount * length : 0));
        if (wasPlaying)
            machine->play();
    }
    else if (&slider == &drumLevelSlider || &slider == &bassLevelSlider)
    {
        save();
    }
}

//==============================================================================
void RhythmerUI::updateLocate()
{
    if (machine == nullptr || ! isOn())
        return;
    const auto length = machine->getLength();
    if (length <= 0)
    {
        locateBar.setMaximum (0);
        locateBar.setValue (0);
        return;
    }

    auto* state = machine->getCurrentPlayState();
    const auto played = state->getPosition();
    juce::int64 position = played;
    if (machine->isRepeating())
    {
        position = played % length;
    }
    else if (played >= length)
    {
        // The song ended: alone in the jam the rhythm stops and goes back to the start.
        position = length;
        if (getController().request (GetRecorderCount) == 0)
        {
            machine->pause();
            machine->stop();
            playButton.setToggleState (false, juce::dontSendNotification);
            position = 0;
        }
    }

    if (! locateBar.isDragging())
    {
        loopCount = played / length;
        locateBar.setMaximum (length);
        locateBar.setValue (position);
    }
}

void RhythmerUI::locateBarPositionRequested (rhythmpanel::LocateBar&)
{
    updateLocate();
}

juce::int64 RhythmerUI::chordProgressPositionRequested (ChordProgress&)
{
    if (machine == nullptr || ! isOn() || machine->getLength() <= 0)
        return -1;
    return songPosition();
}

void RhythmerUI::chordViewerRequested (ChordProgress& strip)
{
    if (machine != nullptr)
        strip.openViewer (machine->getSong().SongName, machine->getCurrentPlayState()->getTempo());
}

juce::int64 RhythmerUI::playTimePositionRequested (rhythmpanel::PlayTime&)
{
    if (isOn())
        shownPosition = machine->getCurrentPlayState()->getPosition();
    return shownPosition;
}

juce::Point<int> RhythmerUI::playBBTRequested (rhythmpanel::PlayBBT&)
{
    if (! isOn())
        return { -1, -1 };
    const auto bb = ChordGrid::barBeatAt (songPosition(), meters,
                                          machine->getCurrentPlayState()->getTempo());
    return { bb.bar, bb.beat };
}

float RhythmerUI::lvMeterValueRequested (rhythmpanel::LvMeter& meter)
{
    if (machine == nullptr || isStopped())
        return -1.0f;
    return &meter == &drumMeter ? machine->getDrumMeter() : machine->getBassMeter();
}

} // namespace T730
