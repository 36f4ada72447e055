#pragma once

#include "editor/GraEQ.h"
#include "jam/ABPoints.h"
#include "jam/JamItem.h"
#include "jam/RecorderControls.h"

namespace T730
{

class Recorder;

/** The jam panel of one recorder: power, name, a new start, WAV import, take
    stepping, record, play and stop, the position slider with the punch-in/out
    and loop range bars under it, snapping to the rhythm's beats, speed (50 to
    100 %), level, pan and mute, the position and length texts and the 15-band
    display of what the recorder records or plays.

    Every setting changed here is written at once into the recorder's setting
    file in the tool set folder (the power switch excepted, which the tool set's
    own save keeps).

    The panel timer (60 ms while shown) brings the position text in line every
    tick and everything else on three of every four ticks; the band display
    runs its own timer (120 ms while shown). Both stop while the panel is
    hidden or its recorder went away. The panel holds its recorder by a plain
    pointer, cleared when the recorder detaches it, and no timer or callback
    of it holds a reference to the panel. Message thread only. */
class RecorderUI : public JamItem,
                   private juce::Timer,
                   private SliderExListener,
                   private ABPointsListener,
                   private juce::Label::Listener
{
public:
    enum PanelState
    {
        stoppedState = 0,
        playingState = 1,
        busyState = 2,
        offState = 3
    };

    static constexpr int panelIntervalMs = 60, bandIntervalMs = 120;

    RecorderUI (ControllerLink& controller, Recorder& recorder);
    ~RecorderUI() override;

    // The panel's operations ----------------------------------------------------
    /** Takes the recorder out of the jam; true when it went. */
    bool remove() override;
    /** Brings every control in line with the recorder (what three of four ticks do). */
    void refresh() override;
    void hidden() override;
    void shown() override;

    /** One tick of the panel timer: the position text, and on three of every four ticks a refresh. */
    void tick();

    /** The open key: chooses a WAV file in the tool sets' "Default" folder and imports it. */
    void chooseAndImportWave();
    /** Imports the file as the open key does once a file is chosen; true when it became the take. */
    bool importWave (const juce::File& file);

    // What the jam's tests and journeys drive and read ---------------------------
    Recorder* getRecorder() const noexcept        { return recorder; }
    int getPanelState() const noexcept            { return panelState; }
    int getTickCount() const noexcept             { return ticks; }
    bool isPanelTimerRunning() const noexcept     { return isTimerRunning(); }

    juce::Button& getPowerButton() noexcept       { return power; }
    juce::Button& getNewButton() noexcept         { return newButton; }
    juce::Button& getOpenButton() noexcept        { return openButton; }
    juce::Button& getTakePrevButton() noexcept    { return takePrev; }
    juce::Button& getTakeNextButton() noexcept    { return takeNext; }
    juce::Button& getRecButton() noexcept         { return rec; }
    juce::Button& getPlayButton() noexcept        { return play; }
    juce::Button& getStopButton() noexcept        { return stop; }
    juce::Button& getMuteButton() noexcept        { return mute; }
    juce::Button& getSnapButton() noexcept        { return snap; }
    juce::Button& getPunchButton() noexcept       { return punch; }
    juce::Button& getLoopButton() noexcept        { return loop; }

    RecLocateSlider& getPositionSlider() noexcept { return position; }
    SliderEx& getSpeedSlider() noexcept           { return speed; }
    SliderEx& getPanSlider() noexcept             { return pan; }
    SliderEx& getLevelSlider() noexcept           { return level; }
    ABPointsPIO& getPunchBar() noexcept           { return punchBar; }
    ABPointsLoop& getLoopBar() noexcept           { return loopBar; }
    LabelRecorder& getNameLabel() noexcept        { return nameLabel; }
    juce::Label& getPositionLabel() noexcept      { return positionText; }
    juce::Label& getLengthLabel() noexcept        { return lengthText; }
    GraEQ& getBandDisplay() noexcept              { return bands; }

    /** What moving the speed slider to the position (0..5: 50 % .. 100 %) does,
        refusals included (the slider then snaps back). */
    void moveSpeedSlider (int sliderPosition);

    /** The tooltip texts of the sliders and range bars, as they would show now. */
    juce::String getSliderText (SliderEx& slider);
    juce::String getRangeText (ABPoints& bar);

    /** The speed slider's position (0..5) for a "Stretch" value (0 counts as 100). */
    static int speedPositionFor (int stretch) noexcept;
    /** The "Stretch" value of a speed slider position: 50 + 10 per step. */
    static int stretchForPosition (juce::int64 position) noexcept;

    /** The span the position slider and the range bars cover: the longest item
        plus a minute, at least the play position (64-bit). */
    juce::int64 currentSpan() const;

private:
    // JamItem
    void panelButtonClicked (juce::Button* button) override;
    void foldChanged (bool folded) override;
    void detachFromItem() override;

    void timerCallback() override;

    // SliderExListener
    void sliderExValueChanged (SliderEx& slider, juce::int64 value) override;
    void sliderExTextRequested (SliderEx& slider, juce::String& text) override;
    void sliderExDragEnded (SliderEx& slider) override;

    // ABPointsListener
    void abPointsChanged (ABPoints& bar) override;
    void abPointsTextRequested (ABPoints& bar, juce::String& text) override;

    // juce::Label::Listener
    void labelTextChanged (juce::Label* label) override;

    void setUpControls();
    void showPosition();
    void enableControls (bool hasRhythm);
    void placeVisibility();
    void speedChanged (juce::int64 position);
    void positionDragEnded();
    void switchRange (bool punchRange, bool on);
    void save();
    void showError (const juce::String& text);
    juce::File currentToolSetFolder() const;
    juce::int64 beatLength() const;
    bool isStopped() const;

    Recorder* recorder;            // not owned: the recorder owns the panel and clears this when it goes
    int panelState = stoppedState;
    int ticks = 0;
    bool folded = false;

    OxDrawableButton power { "Power", juce::DrawableButton::ImageFitted };
    LabelRecorder nameLabel;
    OxDrawableButton newButton { "New", juce::DrawableButton::ImageFitted };
    OxDrawableButton openButton { "Open", juce::DrawableButton::ImageFitted };
    OxDrawableButton takePrev { "TakePrev", juce::DrawableButton::ImageFitted };
    OxDrawableButton takeNext { "TakeNext", juce::DrawableButton::ImageFitted };
    RecLocateSlider position;
    ABPointsPIO punchBar;
    ABPointsLoop loopBar;
    juce::Label positionText { "LabelLocate" }, lengthText { "LabelLength" };
    GraEQ bands;
    OxDrawableButton rec { "Rec", juce::DrawableButton::ImageFitted };
    OxDrawableButton play { "Play", juce::DrawableButton::ImageFitted };
    OxDrawableButton stop { "Stop", juce::DrawableButton::ImageFitted };
    SliderEx speed, pan, level;
    OxDrawableButton mute { "Mute", juce::DrawableButton::ImageFitted };
    OxDrawableButton snap { "Snap", juce::DrawableButton::ImageFitted };
    OxDrawableButton punch { "PIO", juce::DrawableButton::ImageFitted };
    OxDrawableButton loop { "Loop", juce::DrawableButton::ImageFitted };

    JUCE_DECLARE_NON_COPYABLE (RecorderUI)
};

} // namespace T730
