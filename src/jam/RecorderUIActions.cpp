// What the recorder panel's keys, sliders, range bars and name label do.
#include "jam/RecorderUI.h"

#include "app/ControllerRequest.h"
#include "jam/RecorderTime.h"
#include "platform/DataFolders.h"
#include "recorder/Recorder.h"
#include "ui/ControllerLink.h"
#include "ui/SectionDialogs.h"

namespace T730
{

void RecorderUI::panelButtonClicked (juce::Button* button)
{
    if (recorder == nullptr)
        return;

    // A key may take the recorder (and with it this panel) away: keep it for the call.
    const Ptr self (this);
    auto& status = recorder->getStatus();
    const bool on = button->getToggleState();

    if (button == &power)
    {
        recorder->setOn (on);
    }
    else if (button == &newButton)
    {
        recorder->resetRecorder();
    }
    else if (button == &openButton)
    {
        chooseAndImportWave();
    }
    else if (button == &takePrev)
    {
        recorder->undoTake();
    }
    else if (button == &takeNext)
    {
        recorder->redoTake();
    }
    else if (button == &rec)
    {
        // A refused arm (no tool set, no file) has told the user already.
        if (! recorder->arm (on) && on)
            rec.setToggleState (false, juce::dontSendNotification);
        getController().request (SyncRecordersTo, 0, 0, static_cast<PlayableItem*> (recorder));
    }
    else if (button == &play)
    {
        if (on)
            recorder->play();
        else
            recorder->pause();
    }
    else if (button == &stop)
    {
        play.setToggleState (false, juce::dontSendNotification);
        recorder->pause();
        recorder->stop();
    }
    else if (button == &snap)
    {
        status.Snap = on;
        position.setSnapping (on);
        punchBar.setSnapping (on);
        loopBar.setSnapping (on);
        save();
    }
    else if (button == &punch)
    {
        switchRange (true, on);
    }
    else if (button == &loop)
    {
        switchRange (false, on);
    }
    else if (button == &mute)
    {
        recorder->setMute (on);
        save();
    }

    if (recorder != nullptr)
        refresh();
}

void RecorderUI::switchRange (bool punchRange, bool on)
{
    auto& status = recorder->getStatus();
    auto range = punchRange ? status.PIOPoint : status.LoopPoint;
    range.enabled = on;

    // Switched on without a range, it covers the whole span.
    if (on && range.start == 0 && range.end == 0)
        range.end = juce::jmax ((juce::int64) 0, position.getMaximum() - 1);

    if (punchRange)
    {
        recorder->setPunchRange (range);
    }
    else
    {
        recorder->setLoopRange (range);
        getController().request (SyncRecordersTo, 0, 0, static_cast<PlayableItem*> (recorder));
        recorder->applyLoop();
    }
    save();
}

//==============================================================================
void RecorderUI::sliderExValueChanged (SliderEx& slider, juce::int64 value)
{
    if (recorder == nullptr)
        return;

    if (&slider == &level)
        recorder->setLevel ((int) value);
    else if (&slider == &pan)
        recorder->setPan ((int) value);
    else if (&slider == &speed)
        speedChanged (value);
}

void RecorderUI::sliderExDragEnded (SliderEx& slider)
{
    if (recorder == nullptr)
        return;

    if (&slider == &level || &slider == &pan)
        save();
    else if (&slider == &position)
        positionDragEnded();
}

void RecorderUI::sliderExTextRequested (SliderEx& slider, juce::String& text)
{
    text = getSliderText (slider);
}

juce::String RecorderUI::getSliderText (SliderEx& slider)
{
    if (recorder == nullptr)
        return {};

    if (&slider == &level)
        return recorder->getLevelText();
    if (&slider == &pan)
        return juce::String (recorder->getStatus().Pan - 50);
    if (&slider == &speed)
    {
        const int stretch = recorder->getStatus().Stretch;
        return juce::String::formatted ("x%1.1f", stretch == 0 ? 1.0 : stretch / 100.0);
    }
    if (&slider == &position)
    {
        const auto at = position.isDragging() ? position.getValue() : recorder->getCurrentPlayState()->getPosition();
        return recorderTime::timeText (at, recorderTime::deviceRate());
    }
    return {};
}

void RecorderUI::moveSpeedSlider (int sliderPosition)
{
    if (recorder == nullptr)
        return;
    speed.setValue (sliderPosition);
    speedChanged (speed.getValue());
}

void RecorderUI::speedChanged (juce::int64 sliderPosition)
{
    auto& status = recorder->getStatus();
    const int wanted = stretchForPosition (sliderPosition);
    if (wanted == (status.Stretch == 0 ? 100 : status.Stretch))
        return;

    // Between normal and slowed the recorder changes its clock, which stops its
    // play state (the master's at normal speed): only while that stands still.
    // A recorder that is off may change too while the jam is stopped.
    const bool clockFree = isStopped() && (panelState == stoppedState || panelState == offState)
                           && recorder->getMode() != Recorder::recording;
    if (Recorder::isSlowed (status.Stretch) != Recorder::isSlowed (wanted) && ! clockFree)
    {
        speed.setValue (speedPositionFor (status.Stretch));
        return;
    }

    const auto at = recorder->getCurrentPlayState()->getPosition();
    recorder->pause();
    if (recorder->isArmed())
    {
        recorder->arm (false);
        rec.setToggleState (false, juce::dontSendNotification);
    }
    recorder->setSpeed (wanted);
    recorder->locateTo (at);
    save();
    refresh();
}

void RecorderUI::positionDragEnded()
{
    const bool wasPlaying = ! isStopped();
    recorder->pause();
    recorder->locateTo (position.getValue());
    if (wasPlaying)
        recorder->play();
}

//==============================================================================
void RecorderUI::abPointsChanged (ABPoints& bar)
{
    if (recorder == nullptr)
        return;

    auto& status = recorder->getStatus();
    if (&bar == &punchBar)
    {
        recorder->setPunchRange ({ bar.getStart(), bar.getEnd(), status.PIOPoint.enabled });
    }
    else
    {
        // The loop in the master follows at once.
        recorder->setLoopRange ({ bar.getStart(), bar.getEnd(), status.LoopPoint.enabled });
    }
    save();
}

void RecorderUI::abPointsTextRequested (ABPoints& bar, juce::String& text)
{
    text = getRangeText (bar);
}

juce::String RecorderUI::getRangeText (ABPoints& bar)
{
    return recorderTime::rangeText (bar.getStart(), bar.getEnd(), recorderTime::deviceRate());
}

//==============================================================================
void RecorderUI::labelTextChanged (juce::Label* label)
{
    if (label != &nameLabel || recorder == nullptr)
        return;

    const auto name = LabelRecorder::cleanName (nameLabel.getText());
    if (name.isEmpty())
    {
        // A name is never emptied: the old one comes back.
        nameLabel.setText (recorder->getName(), juce::dontSendNotification);
        return;
    }

    nameLabel.setText (name, juce::dontSendNotification);
    if (name != recorder->getName())
    {
        recorder->setName (name);
        save();
    }
}

//==============================================================================
void RecorderUI::chooseAndImportWave()
{
    auto* dialogs = getController().getDialogs();
    if (dialogs == nullptr || recorder == nullptr)
        return;

    const auto initial = getUserDataFolder (UserFolder::toolsets, false).getChildFile ("Default");
    juce::File chosen;
    const Ptr self (this);
    if (! dialogs->chooseFileToOpen (initial, "wav", chosen))
        return;

    // The chooser ran a modal loop: the recorder may have gone meanwhile.
    if (recorder != nullptr)
        importWave (chosen);
}

bool RecorderUI::importWave (const juce::File& file)
{
    if (recorder == nullptr)
        return false;

    const auto toolSet = currentToolSetFolder();
    if (toolSet == juce::File() || ! toolSet.isDirectory())
    {
        showError ("No toolset.");
        return false;
    }

    recorder->saveSetting (toolSet);
    if (! recorder->importWave (file, false))
    {
        showError ("WAV import error.");
        return false;
    }

    // A new take: the old ranges mean nothing to it.
    recorder->setPunchRange ({});
    recorder->setLoopRange ({});
    recorder->saveSetting (toolSet);
    getController().postUpdate (jamSectionFlag);
    refresh();
    return true;
}

} // namespace T730
