#pragma once

#include "jam/JamItem.h"
#include "jam/RhythmPanelParts.h"
#include "rhythm/ChordProgress.h"
#include "rhythm/Rhythmer.h"

namespace T730
{

class Drummer;
class Bassist;

/** The rhythm machine's jam panel: the song's name and tempo, the chord strip,
    the bar and beat, the play time and the position bar, the drummer and the
    bassist, a level meter for each part, the transport keys (bar back, play,
    stop, bar forward), the loop switch, levels and mutes of both parts, the
    count-in, the key and the drum kit and bass voice menus.

    Every setting changed here is written at once into the rhythm setting file
    of the current tool set folder; the count-in is the tool set's own setting
    instead (an undo step).

    The figures exist only while the panel is open and its top is not above the
    section's top; they and the panel's timers run only while the section shows
    the panel. The machine makes the panel on its first request and keeps it;
    the panel knows the machine until the machine lets go of it. Message thread
    only. */
class RhythmerUI : public JamItem,
                   public RhythmerPanel,
                   private juce::Timer,
                   private SliderExListener,
                   private juce::Label::Listener,
                   private juce::Slider::Listener,
                   private ChordProgressListener,
                   private rhythmpanel::LocateBarListener,
                   private rhythmpanel::PlayTimeListener,
                   private rhythmpanel::PlayBBTListener,
                   private rhythmpanel::LvMeterListener
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<RhythmerUI>;

    static constexpr int panelInterval = 200, displayInterval = 100;
    static constexpr int maxDrumKits = 70, maxBassVoices = 12;

    /** The figures' models are read from the resource folder (the installation's by default). */
    RhythmerUI (Rhythmer& machine, ControllerLink& controller, const juce::File& resourceFolder = {});
    ~RhythmerUI() override;

    // JamItem --------------------------------------------------------------------
    bool remove() override;
    void releasePlayers() override;
    void recreatePlayers() override;
    void refresh() override;
    void hidden() override;
    void shown() override;
    void placed (int y) override;

    // RhythmerPanel --------------------------------------------------------------
    /** Chord timing, length, transpose and chord layout follow the new song. */
    void songLoaded() override;

    // What the controls do (the keys, menus and label call these) -----------------
    void switchPower (bool on);
    void startOrPause (bool play);
    void stopPlaying();
    void stepToNextBar();
    void stepToPreviousBar();
    void setRepeat (bool on);
    void setDrumMute (bool muted);
    void setBassMute (bool muted);
    /** -1 "SP", 0 "OFF", 1..8 beats. */
    void chooseCount (int value);
    /** Item 1..13: transpose item - 7. */
    void chooseKey (int item);
    /** Kit 0..69 (k: the engine's parameter 128 + k). */
    void chooseDrumKit (int kit);
    /** Voice 0..11. */
    void chooseBassVoice (int voice);
    /** Sets the tempo (40..250) and shows the song at it; saves when asked. */
    void changeTempo (int beatsPerMinute, bool save);
    /** The tempo label's commit: false (and the label shows the tempo again)
        while playing or for a value outside 40..250. */
    bool commitTempoText (const juce::String& text);
    /** One tick of the position bar (the timer's work): follows the play
        position, ends a song that does not loop when the jam has no recorder. */
    void updateLocate();

    /** The menus as the keys show them: item ids are the values + 2 (count),
        the items 1..13 (key), kit + 1 and voice + 1; the current one ticked. */
    juce::PopupMenu makeCountMenu() const;
    juce::PopupMenu makeKeyMenu() const;
    juce::PopupMenu makeDrumKitMenu() const;
    juce::PopupMenu makeBassVoiceMenu() const;

    /** The note name of the key item i (1..13) for the current song root. */
    juce::String keyItemName (int item) const;

    // Parts (the components' names are the panel's own; their ids are unique) ---
    juce::Button& getPowerButton() noexcept        { return powerButton; }
    juce::Button& getPlayButton() noexcept         { return playButton; }
    juce::Button& getStopButton() noexcept         { return stopButton; }
    juce::Button& getPreviousBarButton() noexcept  { return previousBarButton; }
    juce::Button& getNextBarButton() noexcept      { return nextBarButton; }
    juce::Button& getRepeatButton() noexcept       { return repeatButton; }
    juce::Button& getDrumMuteButton() noexcept     { return drumMuteButton; }
    juce::Button& getBassMuteButton() noexcept     { return bassMuteButton; }
    juce::Button& getCountButton() noexcept        { return countButton; }
    juce::Button& getKeyButton() noexcept          { return keyButton; }
    juce::Button& getDrumKitButton() noexcept      { return drumKitButton; }
    juce::Button& getBassVoiceButton() noexcept    { return bassVoiceButton; }
    juce::Label& getSongNameLabel() noexcept       { return songNameLabel; }
    rhythmpanel::LabelRhythmer& getTempoLabel() noexcept { return tempoLabel; }
    rhythmpanel::RhyUISlider& getTempoSlider() noexcept  { return tempoSlider; }
    SliderEx& getDrumLevelSlider() noexcept        { return drumLevelSlider; }
    SliderEx& getBassLevelSlider() noexcept        { return bassLevelSlider; }
    rhythmpanel::LocateBar& getLocateBar() noexcept { return locateBar; }
    rhythmpanel::PlayTime& getPlayTime() noexcept  { return playTime; }
    rhythmpanel::PlayBBT& getPlayBBT() noexcept    { return playBBT; }
    rhythmpanel::LvMeter& getDrumMeter() noexcept  { return drumMeter; }
    rhythmpanel::LvMeter& getBassMeter() noexcept  { return bassMeter; }
    ChordProgress& getChordProgress() noexcept     { return chords; }
    Drummer* getDrummer() const noexcept           { return drummer.get(); }
    Bassist* getBassist() const noexcept           { return bassist.get(); }
    /** Null once the machine let go of the panel. */
    Rhythmer* getRhythmer() const noexcept         { return machine; }
    bool arePanelTimersRunning() const noexcept    { return isTimerRunning(); }

    /** The tool set folder the setting file goes to (none while the tool set is unsaved). */
    juce::File getToolSetFolder() const;

    void paint (juce::Graphics& g) override;
    void mouseMove (const juce::MouseEvent& e) override;

protected:
    void panelButtonClicked (juce::Button* button) override;
    void foldChanged (bool folded) override;
    void detachFromItem() override;

private:
    // Listeners.
    void timerCallback() override;
    void sliderExValueChanged (SliderEx& slider, juce::int64 value) override;
    void sliderExTextRequested (SliderEx& slider, juce::String& text) override;
    void sliderExDragEnded (SliderEx& slider) override;
    void labelTextChanged (juce::Label* label) override;
    void editorShown (juce::Label* label, juce::TextEditor& editor) override;
    void sliderValueChanged (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;
    juce::int64 chordProgressPositionRequested (ChordProgress& strip) override;
    void chordViewerRequested (ChordProgress& strip) override;
    void locateBarPositionRequested (rhythmpanel::LocateBar& bar) override;
    juce::int64 playTimePositionRequested (rhythmpanel::PlayTime& display) override;
    juce::Point<int> playBBTRequested (rhythmpanel::PlayBBT& display) override;
    float lvMeterValueRequested (rhythmpanel::LvMeter& meter) override;

    void buildControls();
    void layOutSong();
    void showTempo();
    void updateEnabling (bool stopped, bool on);
    void save();
    bool isOn() const;
    bool isStopped() const;
    /** The play position within the song: modulo the length when it loops, capped otherwise. */
    juce::int64 songPosition() const;
    void makePlayers();
    void deletePlayers();
    void updateFigureAnimation();
    void startTimers();
    void stopTimers();
    void showMenu (juce::Button& key, juce::PopupMenu menu, std::function<void (int)> chosen);

    Rhythmer* machine;   // not owned: the machine owns the panel; cleared when it lets go
    const juce::File resources;
    juce::int64 loopCount = 0;
    int placedTop = 0;
    juce::int64 shownPosition = 0;
    std::vector<GridMeter> meters;   // the song's patterns in play order, as last laid out

    OxDrawableButton powerButton { "PowerButton", juce::DrawableButton::ImageFitted };
    OxDrawableButton previousBarButton { "StopButton", juce::DrawableButton::ImageFitted };
    OxDrawableButton playButton { "PlayButton", juce::DrawableButton::ImageFitted };
    OxDrawableButton stopButton { "StopButton", juce::DrawableButton::ImageFitted };
    OxDrawableButton nextBarButton { "StopButton", juce::DrawableButton::ImageFitted };
    OxDrawableButton repeatButton { "RepeatButton", juce::DrawableButton::ImageFitted };
    OxDrawableButton drumMuteButton { "MuteButton", juce::DrawableButton::ImageFitted };
    OxDrawableButton bassMuteButton { "MuteButton", juce::DrawableButton::ImageFitted };
    rhythmpanel::TextKey countButton { "PreCount", true };
    rhythmpanel::TextKey keyButton { "RootChord", true };
    rhythmpanel::TextKey drumKitButton { "DrumKit", true };
    rhythmpanel::TextKey bassVoiceButton { "BassVoice", true };
    juce::Label songNameLabel { "SongName" };
    rhythmpanel::LabelRhythmer tempoLabel;
    rhythmpanel::RhyUISlider tempoSlider;
    SliderEx drumLevelSlider { {}, 100 };
    SliderEx bassLevelSlider { {}, 100 };
    rhythmpanel::LocateBar locateBar;
    rhythmpanel::PlayTime playTime;
    rhythmpanel::PlayBBT playBBT;
    rhythmpanel::LvMeter drumMeter, bassMeter;
    ChordProgress chords;
    juce::Image levelScale;

    std::unique_ptr<Drummer> drummer;
    std::unique_ptr<Bassist> bassist;

    JUCE_DECLARE_NON_COPYABLE (RhythmerUI)
};

} // namespace T730
