#include "jam/RecorderUI.h"

#include "app/AppSetting.h"
#include "app/ControllerRequest.h"
#include "art/ProgramArt.h"
#include "art/RecorderLayout.h"
#include "engine/Synchronizer.h"
#include "jam/RecorderTime.h"
#include "platform/DataFolders.h"
#include "recorder/Recorder.h"
#include "ui/ControllerLink.h"
#include "ui/OxFonts.h"
#include "ui/SectionDialogs.h"

namespace T730
{

namespace L = layout::recorder;

namespace
{
    const juce::Colour textColour (255, 155, 0);
    const juce::Colour dimmedColour (120, 80, 20);

    void place (juce::Component& c, const layout::Box& b) { c.setBounds (b.x, b.y, b.w, b.h); }

    /** A key's four pictures follow each other in the picture list: normal, under
        the pointer, on, on under the pointer. A push key shows "on" while pressed. */
    void setKeyPictures (juce::DrawableButton& key, art::Picture first)
    {
        const auto at = [first] (int k) { return makeDrawable (art::getImage ((art::Picture) ((int) first + k))); };
        auto normal = at (0), over = at (1), on = at (2), onOver = at (3);
        key.setImages (normal.get(), over.get(), on.get(), nullptr, on.get(), onOver.get(), onOver.get(), nullptr);
    }
} // namespace

RecorderUI::RecorderUI (ControllerLink& c, Recorder& r)
    : JamItem (c), recorder (&r), bands (BandLevels::Ptr (&r.getSpectrum()))
{
    setName ("RecorderUI");
    setImages (art::getImage (art::Picture::recorderPanelFolded), art::getImage (art::Picture::recorderPanelOpen));
    setUpControls();
    refresh();
}

RecorderUI::~RecorderUI()
{
    stopTimer();
    bands.stopTimer();
    for (auto* key : { &power, &newButton, &openButton, &takePrev, &takeNext, &rec, &play, &stop, &mute, &snap, &punch, &loop })
        key->removeListener (this);
    nameLabel.removeListener (this);
}

void RecorderUI::setUpControls()
{
    struct Key
    {
        OxDrawableButton& key;
        const layout::Box& box;
        art::Picture pictures;
        bool toggle;
        const char* tip;
    };
    const Key keys[] = {
        { power, L::power, art::Picture::recorderPower, true, "Switch the recorder on or off" },
        { newButton, L::newTake, art::Picture::recorderNew, false, "Start afresh: an empty take and the first settings" },
        { openButton, L::open, art::Picture::recorderImport, false, "Import a WAV file as the take" },
        { takePrev, L::takePrev, art::Picture::recorderTakePrev, false, "Back to the previous take" },
        { takeNext, L::takeNext, art::Picture::recorderTakeNext, false, "Forward to the next take" },
        { rec, L::rec, art::Picture::recorderRec, true, "Arm the recorder" },
        { play, L::play, art::Picture::recorderPlay, true, "Play or pause" },
        { stop, L::stop, art::Picture::recorderStop, false, "Stop and return to the start" },
        { mute, L::mute, art::Picture::recorderMute, true, "Mute the take" },
        { snap, L::snap, art::Picture::recorderSnap, true, "Snap positions to the rhythm's beats" },
        { punch, L::punch, art::Picture::recorderPunch, true, "Punch in and out between two points" },
        { loop, L::loop, art::Picture::recorderLoop, true, "Loop between two points" },
    };
    for (const auto& k : keys)
    {
        setKeyPictures (k.key, k.pictures);
        k.key.setEdgeIndent (0);   // the pictures are drawn at the keys' size
        k.key.setClickingTogglesState (k.toggle);
        k.key.setTooltip (k.tip);
        k.key.setWantsKeyboardFocus (false);
        k.key.addListener (this);
        place (k.key, k.box);
        addAndMakeVisible (k.key);
    }

    place (nameLabel, L::name);
    nameLabel.addListener (this);
    addAndMakeVisible (nameLabel);

    for (auto* text : { &positionText, &lengthText })
    {
        text->setFont (arialFont (12.0f));
        text->setJustificationType (juce::Justification::centred);
        text->setBorderSize ({});
        text->setMinimumHorizontalScale (0.7f);
        text->setInterceptsMouseClicks (false, false);
        text->setColour (juce::Label::textColourId, textColour);
        addAndMakeVisible (text);
    }
    place (positionText, L::positionText);
    place (lengthText, L::lengthText);

    bands.setTopLeftPosition (L::bands.x, L::bands.y);
    addAndMakeVisible (bands);

    const auto beat = [this] { return beatLength(); };
    position.setThumb (art::getImage (art::Picture::recorderHead));
    position.setListener (this);
    position.setBeatLength (beat);
    place (position, L::position);
    addAndMakeVisible (position);

    for (auto* bar : { static_cast<ABPoints*> (&punchBar), static_cast<ABPoints*> (&loopBar) })
    {
        bar->setListener (this);
        bar->setBeatLength (beat);
        bar->setSampleRate ([] { return recorderTime::deviceRate(); });
        addChildComponent (bar);
    }
    place (punchBar, L::punchBar);
    place (loopBar, L::loopBar);

    speed.setName ("Speed");
    speed.setMaximum (5);
    speed.setThumb (art::getImage (art::Picture::recorderThumb));
    place (speed, L::speed);
    pan.setName ("Pan");
    pan.setMaximum (100);
    pan.setThumb (art::getImage (art::Picture::recorderThumb));
    place (pan, L::pan);
    level.setName ("Level");
    level.setMaximum (100);
    level.setThumb (art::getImage (art::Picture::recorderLevelThumb));
    place (level, L::level);
    for (auto* slider : { &speed, &pan, &level })
    {
        slider->setListener (this);
        addAndMakeVisible (slider);
    }

    // The keys at the right end lie over the ends of the timeline and the range
    // bars, the fold and close keys of the base over everything.
    for (juce::Component* key : std::initializer_list<juce::Component*> { &snap, &punch, &loop, &getFoldButton(), &getCloseButton() })
        key->toFront (false);
}

//==============================================================================
bool RecorderUI::remove()
{
    if (recorder == nullptr)
        return false;

    const int index = recorder->getJamIndex();
    return getController().request (RemovePlayableItem, 1, index) == requestTrue;
}

void RecorderUI::hidden()
{
    stopTimer();
    bands.stopTimer();
}

void RecorderUI::shown()
{
    if (recorder == nullptr)
        return;
    startTimer (panelIntervalMs);
    if (! folded)
        bands.startTimer (bandIntervalMs);   // folded, the display is put away
}

void RecorderUI::detachFromItem()
{
    stopTimer();
    bands.stopTimer();
    recorder = nullptr;
}

void RecorderUI::timerCallback()
{
    tick();
}

void RecorderUI::tick()
{
    if (recorder == nullptr)
        return;

    ++ticks;
    if (ticks % 4 != 0)
    {
        refresh();
        return;
    }

    showPosition();
    positionText.repaint();
}

void RecorderUI::showPosition()
{
    if (recorder != nullptr && recorder->getStatus().OnOff)
        positionText.setText (recorderTime::timeText (recorder->getCurrentPlayState()->getPosition(), recorderTime::deviceRate()),
                              juce::dontSendNotification);
}

juce::int64 RecorderUI::currentSpan() const
{
    juce::int64 longest = 0;
    getController().request (GetLongestItemLength, 0, 0, &longest);
    const auto minute = (juce::int64) (60.0 * recorderTime::deviceRate());
    const auto playPosition = recorder != nullptr ? recorder->getCurrentPlayState()->getPosition() : 0;
    return juce::jmax (longest + minute, playPosition);
}

void RecorderUI::refresh()
{
    if (recorder == nullptr)
        return;

    showPosition();

    auto& status = recorder->getStatus();
    const auto* ps = recorder->getCurrentPlayState();
    const double rate = recorderTime::deviceRate();

    power.setToggleState (status.OnOff, juce::dontSendNotification);
    if (! nameLabel.isBeingEdited())
        nameLabel.setText (status.Name, juce::dontSendNotification);
    lengthText.setText (recorderTime::lengthText (recorder->getLength(), rate), juce::dontSendNotification);

    const auto span = currentSpan();
    position.setMaximum (span - 1);
    if (! position.isDragging() && status.OnOff)
        position.setValue (ps->getPosition());

    // Snapping follows the rhythm's beats: without a rhythm machine it goes off.
    const bool hasRhythm = getController().request (HasRhythmItem) == requestTrue;
    if (! hasRhythm && status.Snap)
    {
        status.Snap = false;
        save();
    }
    snap.setToggleState (status.Snap, juce::dontSendNotification);
    position.setSnapping (status.Snap);
    punchBar.setSnapping (status.Snap);
    loopBar.setSnapping (status.Snap);

    const std::pair<ABPoints*, const LocateRange*> ranges[] = { { &punchBar, &status.PIOPoint }, { &loopBar, &status.LoopPoint } };
    for (const auto& [bar, range] : ranges)
    {
        bar->setMaximum (span - 1);
        if (! bar->isGrabbed())
            bar->setPoints (range->start, range->end);
    }
    punch.setToggleState (status.PIOPoint.enabled, juce::dontSendNotification);
    loop.setToggleState (status.LoopPoint.enabled, juce::dontSendNotification);

    play.setToggleState (! ps->isStopped(), juce::dontSendNotification);
    rec.setToggleState (recorder->isArmed(), juce::dontSendNotification);
    level.setValue (status.Level);
    pan.setValue (status.Pan);
    mute.setToggleState (status.Mute, juce::dontSendNotification);
    speed.setValue (speedPositionFor (status.Stretch));

    const auto& keeper = status.getUndoKeeper();
    takePrev.setToggleState (keeper.canUndo(), juce::dontSendNotification);
    takeNext.setToggleState (keeper.canRedo(), juce::dontSendNotification);

    if (! status.OnOff)
        panelState = offState;
    else if (ps->isStopped())
        panelState = stoppedState;
    else if (ps->isPlaying())
        panelState = playingState;
    else
        panelState = busyState;

    // Every control repaints itself when it changes; the panel's own picture does not.
    enableControls (hasRhythm);
    placeVisibility();
}

void RecorderUI::enableControls (bool hasRhythm)
{
    const int s = panelState;
    const bool stopped = s == stoppedState, running = s == playingState, off = s == offState;
    const bool playStateStopped = recorder->getCurrentPlayState()->isStopped();
    const bool recording = recorder->getMode() == Recorder::recording;
    const bool normalSpeed = ! Recorder::isSlowed (recorder->getStatus().Stretch);
    const auto& keeper = recorder->getStatus().getUndoKeeper();

    power.setEnabled (stopped || (off && playStateStopped));
    newButton.setEnabled (stopped);
    openButton.setEnabled (stopped);
    takePrev.setEnabled (stopped && keeper.canUndo());
    takeNext.setEnabled (stopped && keeper.canRedo());

    for (juce::Component* c : std::initializer_list<juce::Component*> { &level, &pan, &position, &play, &stop })
        c->setEnabled (stopped || running);

    speed.setEnabled ((stopped || running || off) && ! recording);
    rec.setEnabled ((stopped || running || off) && normalSpeed);
    snap.setEnabled ((stopped || running) && hasRhythm);

    for (juce::Component* c : std::initializer_list<juce::Component*> { &punch, &loop, &punchBar, &loopBar })
        c->setEnabled (stopped);

    getFoldButton().setEnabled (stopped || off);
    getCloseButton().setEnabled (stopped || off);

    const auto colour = off ? dimmedColour : textColour;
    for (auto* text : { static_cast<juce::Label*> (&positionText), static_cast<juce::Label*> (&lengthText),
                        static_cast<juce::Label*> (&nameLabel) })
        text->setColour (juce::Label::textColourId, colour);
}

void RecorderUI::placeVisibility()
{
    // Folded, only the top row shows: whatever reaches below it is put away.
    const int h = layout::jamFoldedHeight;
    for (auto* c : getChildren())
        if (c != &punchBar && c != &loopBar && c != &getFoldButton() && c != &getCloseButton())
            c->setVisible (! folded || c->getBottom() <= h);

    const bool punchOn = recorder != nullptr && recorder->getStatus().PIOPoint.enabled;
    const bool loopOn = recorder != nullptr && recorder->getStatus().LoopPoint.enabled;
    punchBar.setVisible (punchOn && ! folded);
    loopBar.setVisible (loopOn && ! folded);
}

void RecorderUI::foldChanged (bool isFolded)
{
    folded = isFolded;
    if (folded)
        bands.stopTimer();
    placeVisibility();
}

int RecorderUI::speedPositionFor (int stretch) noexcept
{
    if (stretch == 0)
        return 5;
    return juce::jlimit (0, 5, stretch / 10 - 5);
}

int RecorderUI::stretchForPosition (juce::int64 p) noexcept
{
    return (int) juce::jlimit ((juce::int64) 0, (juce::int64) 5, p) * 10 + 50;
}

juce::int64 RecorderUI::beatLength() const
{
    const int tempo = recorder != nullptr ? recorder->getSynchronizer().getMaster().getTempo() : 0;
    return recorderTime::beatLength (recorderTime::deviceRate(), tempo);
}

bool RecorderUI::isStopped() const
{
    return recorder != nullptr && recorder->getCurrentPlayState()->isStopped();
}

//==============================================================================
void RecorderUI::save()
{
    if (recorder != nullptr)
        recorder->saveIntoToolSet();
}

void RecorderUI::showError (const juce::String& text)
{
    if (auto* dialogs = getController().getDialogs())
        dialogs->showError (text);
    else
        juce::Logger::writeToLog (text);
}

juce::File RecorderUI::currentToolSetFolder() const
{
    AppSetting* settings = nullptr;
    getController().request (GetAppSetting, 0, 0, &settings);
    if (settings == nullptr || ! juce::File::isAbsolutePath (settings->CurrentProject))
        return {};
    return juce::File (settings->CurrentProject);
}

} // namespace T730
