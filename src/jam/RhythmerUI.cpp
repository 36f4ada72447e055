#include "jam/RhythmerUI.h"

#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "documents/Project.h"
#include "engine/Synchronizer.h"
#include "platform/DataFolders.h"
#include "players/Figures.h"
#include "rhythm/RootIndex.h"
#include "ui/ControllerLink.h"
#include "ui/OxFonts.h"

namespace T730
{

namespace
{
    const juce::Colour lit (255, 155, 0);
    const juce::Colour litOver (255, 220, 140);
    const juce::Colour dimmed (110, 78, 30);

    void place (juce::Component& c, const layout::Box& b) { c.setBounds (b.x, b.y, b.w, b.h); }

    void setKeyImages (juce::DrawableButton& button, art::Picture normal, art::Picture over)
    {
        auto n = makeDrawable (art::getImage (normal));
        auto o = makeDrawable (art::getImage (over));
        button.setImages (n.get(), o.get(), o.get());
        button.setEdgeIndent (0);
    }

    void setToggleImages (juce::DrawableButton& button, art::Picture normal, art::Picture over, art::Picture on,
                          art::Picture onOver)
    {
        auto n = makeDrawable (art::getImage (normal));
        auto o = makeDrawable (art::getImage (over));
        auto f = makeDrawable (art::getImage (on));
        auto fo = makeDrawable (art::getImage (onOver));
        button.setImages (n.get(), o.get(), o.get(), nullptr, f.get(), fo.get(), fo.get(), nullptr);
        button.setClickingTogglesState (true);
        button.setEdgeIndent (0);
    }

    juce::Rectangle<int> rect (const layout::Box& b) { return { b.x, b.y, b.w, b.h }; }
} // namespace

RhythmerUI::RhythmerUI (Rhythmer& m, ControllerLink& c, const juce::File& resourceFolder)
    : JamItem (c), machine (&m), resources (resourceFolder == juce::File() ? getResourceFolder() : resourceFolder)
{
    setImages (art::getImage (art::Picture::rhythmFolded), art::getImage (art::Picture::rhythmOpen));
    levelScale = art::getImage (art::Picture::rhythmLevelScale);
    buildControls();

    // The panel's own fold and close keys stay above everything.
    getFoldButton().toFront (false);
    getCloseButton().toFront (false);

    layOutSong();
    refresh();
    c.postRepaint (0xffff);
}

RhythmerUI::~RhythmerUI()
{
    stopTimers();
    deletePlayers();
    chords.closeViewer();
    chords.setListener (nullptr);
    for (auto* b : std::initializer_list<juce::Button*> { &powerButton, &previousBarButton, &playButton, &stopButton,
                                                          &nextBarButton, &repeatButton, &drumMuteButton,
                                                          &bassMuteButton, &countButton, &keyButton, &drumKitButton,
                                                          &bassVoiceButton })
        b->removeListener (this);
    tempoLabel.removeListener (this);
    tempoSlider.removeListener (this);
}

void RhythmerUI::buildControls()
{
    using P = art::Picture;
    setToggleImages (powerButton, P::rhythmPower, P::rhythmPowerOver, P::rhythmPowerOn, P::rhythmPowerOnOver);
    setKeyImages (previousBarButton, P::rhythmPreviousBar, P::rhythmPreviousBarOver);
    setToggleImages (playButton, P::rhythmPlay, P::rhythmPlayOver, P::rhythmPlayOn, P::rhythmPlayOnOver);
    setKeyImages (stopButton, P::rhythmStop, P::rhythmStopOver);
    setKeyImages (nextBarButton, P::rhythmNextBar, P::rhythmNextBarOver);
    setToggleImages (repeatButton, P::rhythmRepeat, P::rhythmRepeatOver, P::rhythmRepeatOn, P::rhythmRepeatOnOver);
    setToggleImages (drumMuteButton, P::rhythmMute, P::rhythmMuteOver, P::rhythmMuteOn, P::rhythmMuteOnOver);
    setToggleImages (bassMuteButton, P::rhythmMute, P::rhythmMuteOver, P::rhythmMuteOn, P::rhythmMuteOnOver);

    struct Key { juce::Button* button; const layout::Box* box; const char* id; const char* tip; };
    const Key keys[] = {
        { &powerButton, &layout::rhythmPower, "Power", "Switch the rhythm on or off" },
        { &previousBarButton, &layout::rhythmPreviousBar, "PreviousBar", "Back to the bar's start (early in a bar: the bar before)" },
        { &playButton, &layout::rhythmPlay, "Play", "Play or pause" },
        { &stopButton, &layout::rhythmStop, "Stop", "Stop and go back to the start" },
        { &nextBarButton, &layout::rhythmNextBar, "NextBar", "On to the next bar" },
        { &repeatButton, &layout::rhythmRepeat, "Repeat", "Loop the song" },
        { &drumMuteButton, &layout::rhythmDrumMute, "DrumMute", "Mute the drums" },
        { &bassMuteButton, &layout::rhythmBassMute, "BassMute", "Mute the bass" },
        { &countButton, &layout::rhythmCount, "Count", "Count-in before recording" },
        { &keyButton, &layout::rhythmKey, "Key", "The key the song sounds in" },
        { &drumKitButton, &layout::rhythmDrumKit, "DrumKit", "Drum kit" },
        { &bassVoiceButton, &layout::rhythmBassVoice, "BassVoice", "Bass sound" },
    };
    for (const auto& k : keys)
    {
        k.button->setComponentID (k.id);
        k.button->setTooltip (k.tip);
        k.button->setWantsKeyboardFocus (false);
        k.button->addListener (this);
        place (*k.button, *k.box);
        addAndMakeVisible (k.button);
    }

    songNameLabel.setComponentID ("SongName");
    songNameLabel.setFont (arialFont (12.0f));
    songNameLabel.setJustificationType (juce::Justification::centred);
    songNameLabel.setEditable (false);
    songNameLabel.setBorderSize ({ 0, 0, 0, 0 });
    songNameLabel.setMinimumHorizontalScale (0.7f);
    songNameLabel.setInterceptsMouseClicks (false, false);
    place (songNameLabel, layout::rhythmSongName);
    addAndMakeVisible (songNameLabel);

    tempoLabel.setComponentID ("Tempo");
    tempoLabel.addListener (this);
    place (tempoLabel, layout::rhythmTempoValue);
    addAndMakeVisible (tempoLabel);

    tempoSlider.setComponentID ("TempoSlider");
    tempoSlider.addListener (this);
    place (tempoSlider, layout::rhythmTempoSlider);
    addChildComponent (tempoSlider);

    const auto levelThumb = art::getImage (art::Picture::rhythmLevelThumb);
    for (auto* s : { &drumLevelSlider, &bassLevelSlider })
    {
        s->setThumb (levelThumb);
        s->setListener (this);
    }
    drumLevelSlider.setComponentID ("DrumLevel");
    bassLevelSlider.setComponentID ("BassLevel");
    place (drumLevelSlider, layout::rhythmDrumLevel);
    place (bassLevelSlider, layout::rhythmBassLevel);
    addAndMakeVisible (drumLevelSlider);
    addAndMakeVisible (bassLevelSlider);

    locateBar.setComponentID ("Locate");
    locateBar.setThumb (art::getImage (art::Picture::rhythmLocateThumb));
    locateBar.setListener (this);
    locateBar.setLocateListener (this);
    place (locateBar, layout::rhythmLocate);
    addAndMakeVisible (locateBar);

    playTime.setComponentID ("PlayTime");
    playTime.setListener (this);
    place (playTime, layout::rhythmPlayTime);
    addAndMakeVisible (playTime);

    playBBT.setComponentID ("BarBeat");
    playBBT.setListener (this);
    place (playBBT, layout::rhythmBarBeat);
    addAndMakeVisible (playBBT);

    const auto meterImage = art::getImage (art::Picture::rhythmMeter);
    drumMeter.setComponentID ("DrumMeter");
    bassMeter.setComponentID ("BassMeter");
    for (auto* meter : { &drumMeter, &bassMeter })
    {
        meter->setImage (meterImage);
        meter->setListener (this);
    }
    place (drumMeter, layout::rhythmDrumMeter);
    place (bassMeter, layout::rhythmBassMeter);
    addAndMakeVisible (drumMeter);
    addAndMakeVisible (bassMeter);

    chords.setComponentID ("Chords");
    chords.setListener (this);
    place (chords, layout::rhythmChords);
    addAndMakeVisible (chords);
}

//==============================================================================
bool RhythmerUI::isOn() const
{
    return machine != nullptr && machine->isRhythmOn();
}

bool RhythmerUI::isStopped() const
{
    return machine == nullptr || machine->getCurrentPlayState()->isStopped();
}

juce::int64 RhythmerUI::songPosition() const
{
    if (machine == nullptr)
        return 0;
    const auto length = machine->getLength();
    if (length <= 0)
        return 0;
    const auto position = machine->getCurrentPlayState()->getPosition();
    return machine->isRepeating() ? position % length : juce::jmin (position, length);
}

juce::File RhythmerUI::getToolSetFolder() const
{
    AppSetting* settings = nullptr;
    getController().request (GetAppSetting, 0, 0, &settings);
    if (settings == nullptr || ! juce::File::isAbsolutePath (settings->CurrentProject))
        return {};
    const juce::File folder (settings->CurrentProject);
    return folder.isDirectory() ? folder : juce::File();
}

void RhythmerUI::save()
{
    // An audition's machine never writes over the tool set's setting file.
    if (machine == nullptr || machine->isPreview())
        return;
    const auto folder = getToolSetFolder();
    if (folder != juce::File() && ! machine->saveSetting (folder))
        juce::Logger::writeToLog ("Failed writing the rhythm setting file in " + folder.getFullPathName());
}

//==============================================================================
void RhythmerUI::songLoaded()
{
    layOutSong();
    refresh();
    repaint();
}

void RhythmerUI::layOutSong()
{
    if (machine == nullptr)
        return;
    const auto& song = machine->getSong();
    chords.setTiming ((double) Rhythmer::sampleRate, machine->getCurrentPlayState()->getTempo());
    chords.setTranspose (machine->getTranspose());
    meters = ChordGrid::songMeters (song, machine->getPatterns());
    chords.layOut (song.DispChord, meters);
    locateBar.setMaximum (juce::jmax ((juce::int64) 0, machine->getLength()));
    if (chords.getViewer() != nullptr)
        chords.openViewer (song.SongName, machine->getCurrentPlayState()->getTempo());
}

void RhythmerUI::showTempo()
{
    if (machine != nullptr && ! tempoLabel.isBeingEdited())
        tempoLabel.setText (juce::String (machine->getCurrentPlayState()->getTempo()), juce::dontSendNotification);
}

void RhythmerUI::refresh()
{
    if (machine == nullptr)
        return;

    const auto& song = machine->getSong();
    const bool stopped = isStopped();
    const bool on = isOn();

    songNameLabel.setText ("[  " + song.SongName + "  ]", juce::dontSendNotification);
    showTempo();

    const auto length = machine->getLength();
    locateBar.setMaximum (juce::jmax ((juce::int64) 0, length));
    if (length <= 0)
        locateBar.setValue (0);
    else if (! locateBar.isDragging())
        locateBar.setValue (songPosition());

    drumMuteButton.setToggleState (song.RhythmMute != 0, juce::dontSendNotification);
    bassMuteButton.setToggleState (song.BassMute != 0, juce::dontSendNotification);
    repeatButton.setToggleState (song.Repeat == 1, juce::dontSendNotification);
    powerButton.setToggleState (on, juce::dontSendNotification);
    playButton.setToggleState (! stopped, juce::dontSendNotification);

    const int count = machine->getPreCount();
    countButton.setButtonText (count == -1 ? "SP" : count == 0 ? "OFF" : juce::String (count));
    keyButton.setButtonText (RootIndex::toName (machine->getSongRoot() + machine->getTranspose()));
    const auto kit = machine->getDrumKitName (song.RhythmVoice);
    const auto voice = machine->getBassVoiceName (song.BassVoice);
    drumKitButton.setButtonText (kit.isNotEmpty() ? kit : juce::String ("---"));
    bassVoiceButton.setButtonText (voice.isNotEmpty() ? voice : juce::String ("---"));
    drumKitButton.setTooltip (machine->getDrumInstance() != nullptr ? "Drum kit: " + kit : "No drum kit: the rhythm engine is missing");
    bassVoiceButton.setTooltip (machine->getBassInstance() != nullptr ? "Bass sound: " + voice : "No bass sound: the rhythm engine is missing");

    drumLevelSlider.setValue (song.RhythmLv);
    bassLevelSlider.setValue (song.BassLv);
    if (stopped)
    {
        drumMeter.clear();
        bassMeter.clear();
    }

    updateEnabling (stopped, on);
}

void RhythmerUI::updateEnabling (bool stopped, bool on)
{
    powerButton.setEnabled (stopped);
    getCloseButton().setEnabled (stopped);

    for (auto* c : std::initializer_list<juce::Component*> { &previousBarButton, &playButton, &stopButton, &nextBarButton,
                                                             &drumMuteButton, &bassMuteButton, &keyButton,
                                                             &drumLevelSlider, &bassLevelSlider, &locateBar })
        c->setEnabled (on);
    tempoLabel.setEditable (on, false, false);

    // Without a rhythm engine instance there is nothing to choose from, nor
    // while the engine is still loading its sounds (it names no voice then).
    drumKitButton.setEnabled (on && machine != nullptr && machine->getDrumInstance() != nullptr
                              && machine->getNumDrumKits() > 0);
    bassVoiceButton.setEnabled (on && machine != nullptr && machine->getBassInstance() != nullptr
                                && machine->getNumBassVoices() > 0);

    repeatButton.setEnabled (stopped && on);
    countButton.setEnabled (stopped && on);

    const auto text = on ? lit : dimmed;
    if (songNameLabel.findColour (juce::Label::textColourId) != text)
    {
        songNameLabel.setColour (juce::Label::textColourId, text);
        tempoLabel.setColour (juce::Label::textColourId, text);
        playTime.setColour (text);
        playBBT.setColour (text);
        for (auto* key : { &countButton, &keyButton, &drumKitButton, &bassVoiceButton })
            key->setColours (text, on ? litOver : text);
        repaint();
    }
}

//==============================================================================
void RhythmerUI::paint (juce::Graphics& g)
{
    JamItem::paint (g);

    const auto text = isOn() ? lit : dimmed;
    g.setColour (text);
    g.setFont (arialFont (12.0f));
    g.drawText ("Drummer&Bassist", rect (layout::rhythmTitleCaption), juce::Justification::centredLeft, true);
    g.setFont (arialFont (10.0f));
    g.drawText ("BPM:", rect (layout::rhythmBpmCaption), juce::Justification::centredRight, true);

    if (isFolded())
        return;

    if (levelScale.isValid())
    {
        g.drawImageAt (levelScale, layout::rhythmDrumLevel.x, layout::rhythmDrumLevel.y);
        g.drawImageAt (levelScale, layout::rhythmBassLevel.x, layout::rhythmBassLevel.y);
    }
    g.setColour (text);
    g.setFont (arialFont (10.0f));
    g.drawText ("Key", rect (layout::rhythmKeyCaption), juce::Justification::centredLeft, true);
    g.drawText ("Count", rect (layout::rhythmCountCaption), juce::Justification::centredLeft, true);
}

void RhythmerUI::mouseMove (const juce::MouseEvent& e)
{
    // The tempo slider comes up over "BPM:" while the rhythm is on and stopped.
    if (machine == nullptr || ! rect (layout::rhythmBpmCaption).contains (e.getPosition()) || ! isStopped() || ! isOn())
        return;
    tempoSlider.setValue ((double) machine->getCurrentPlayState()->getTempo(), juce::dontSendNotification);
    tempoSlider.setVisible (true);
    tempoSlider.toFront (false);
}

//==============================================================================
void RhythmerUI::startTimers()
{
    startTimer (panelInterval);
    if (isFolded())
        return;
    playTime.start (displayInterval);
    playBBT.start (displayInterval);
    chords.startFollowing();
    locateBar.start (displayInterval);
    drumMeter.start (displayInterval);
    bassMeter.start (displayInterval);
}

void RhythmerUI::stopTimers()
{
    stopTimer();
    playTime.stop();
    playBBT.stop();
    chords.stopFollowing();
    locateBar.stop();
    drumMeter.stop();
    bassMeter.stop();
}

void RhythmerUI::shown()
{
    if (machine == nullptr)
        return;
    startTimers();
    refresh();
    updateFigureAnimation();
}

void RhythmerUI::hidden()
{
    stopTimers();
    for (auto* figure : { static_cast<PlayerProxy*> (drummer.get()), static_cast<PlayerProxy*> (bassist.get()) })
        if (figure != nullptr)
            figure->pauseAnimation();
}

void RhythmerUI::timerCallback()
{
    refresh();
}

//==============================================================================
void RhythmerUI::placed (int y)
{
    placedTop = y;
    if (isFolded() || y < 0)
    {
        deletePlayers();
        return;
    }
    makePlayers();
    updateFigureAnimation();
}

void RhythmerUI::makePlayers()
{
    if (machine == nullptr || isFolded())
        return;
    if (drummer == nullptr)
    {
        drummer = std::make_unique<Drummer> (machine, &getController(), resources);
        place (*drummer, layout::rhythmDrummer);
        addAndMakeVisible (*drummer);
    }
    if (bassist == nullptr)
    {
        bassist = std::make_unique<Bassist> (machine, &getController(), resources);
        place (*bassist, layout::rhythmBassist);
        addAndMakeVisible (*bassist);
    }
}

void RhythmerUI::deletePlayers()
{
    for (auto* figure : { static_cast<PlayerProxy*> (drummer.get()), static_cast<PlayerProxy*> (bassist.get()) })
        if (figure != nullptr)
            figure->pauseAnimation();
    // The figures go while they are still in the window: each closes its 3D view
    // first, and a view must close while it has the window's peer (see Player).
    drummer.reset();
    bassist.reset();
}

void RhythmerUI::updateFigureAnimation()
{
    const bool run = isShownInSection() && isOn() && ! isFolded();
    for (auto* figure : { static_cast<PlayerProxy*> (drummer.get()), static_cast<PlayerProxy*> (bassist.get()) })
        if (figure != nullptr)
        {
            if (run)
                figure->resumeAnimation();
            else
                figure->pauseAnimation();
        }
}

void RhythmerUI::releasePlayers()
{
    deletePlayers();
}

void RhythmerUI::recreatePlayers()
{
    deletePlayers();
    if (! isFolded() && placedTop >= 0)
    {
        makePlayers();
        updateFigureAnimation();
    }
}

void RhythmerUI::foldChanged (bool folded)
{
    if (folded)
        deletePlayers();
    else if (placedTop >= 0)
        makePlayers();
}

void RhythmerUI::detachFromItem()
{
    stopTimers();
    deletePlayers();
    chords.closeViewer();
    machine = nullptr;
}

bool RhythmerUI::remove()
{
    if (machine == nullptr)
        return false;

    const Ptr keep (this);
    auto& master = machine->getSynchronizer().getMaster();
    const bool wasOn = master.isRhythmOn();
    master.setRhythmOn (false);
    machine->setPreCount (0);

    if (getController().request (RemovePlayableItem, 0) == requestFalse)
    {
        // Still in the jam: it plays on as it did.
        master.setRhythmOn (wasOn);
        if (machine != nullptr)
            machine->setPreCount (getController().getCurrentProject().PreCount);
        return false;
    }
    deletePlayers();
    return true;
}

} // namespace T730
