#pragma once

#include "ui/SliderEx.h"

#include <juce_gui_basics/juce_gui_basics.h>

/* The rhythm panel's small display components: the position bar, the two
   vertical level meters, the play time, the bar and beat, the tempo label and
   the pop-up tempo slider. They live in a namespace of their own because the
   tool set bar's stereo meter is called LvMeter too. Message thread only. */
namespace T730::rhythmpanel
{

class LvMeter;
class LocateBar;
class PlayTime;
class PlayBBT;

//==============================================================================
/** Where a rhythm panel meter takes its value (the part's peak, 0..1 and above). */
class LvMeterListener
{
public:
    virtual ~LvMeterListener() = default;
    /** The value, or below 0 for none (the meter goes dark). */
    virtual float lvMeterValueRequested (LvMeter& meter) = 0;
};

/** A vertical level meter: the lower part of a 51-pixel picture is lit, 6k + 1
    pixels for the index k of the first threshold above the value among -56,
    -42, -30, -18, -12, -8, -4 and 0 dB; at or above 1.0 the whole picture. A
    thin mark holds the highest lit height for a second. Every 100 ms (while
    running) it takes its listener's value. */
class LvMeter : public juce::Component, private juce::Timer
{
public:
    static constexpr int imageHeight = 51;
    static constexpr int holdTicks = 10;

    explicit LvMeter (LvMeterListener* listener = nullptr);

    void setListener (LvMeterListener* newListener) noexcept { listener = newListener; }
    void setImage (const juce::Image& litPicture);

    /** The lit height for a value. */
    static int litHeight (float value) noexcept;

    /** A value below 0 clears the meter. */
    void setValue (float value);
    /** Back to nothing lit and no peak. */
    void clear();
    int getLitHeight() const noexcept { return lit; }
    int getPeakHeight() const noexcept { return peak; }

    void start (int intervalMs = 100) { startTimer (intervalMs); }
    void stop() { stopTimer(); }
    bool isRunning() const noexcept { return isTimerRunning(); }

    void paint (juce::Graphics& g) override;

private:
    void timerCallback() override;

    LvMeterListener* listener;
    juce::Image image;
    int lit = 0, peak = 0, peakAge = 0;
};

//==============================================================================
/** What the position bar asks of the panel on each tick. */
class LocateBarListener
{
public:
    virtual ~LocateBarListener() = default;
    virtual void locateBarPositionRequested (LocateBar& bar) = 0;
};

/** The song position bar: a SliderEx over the song's length in samples, with a
    100 ms timer that asks its listener to bring it up to date. */
class LocateBar : public SliderEx, private juce::Timer
{
public:
    explicit LocateBar (const juce::Image& thumb = {});

    void setLocateListener (LocateBarListener* newListener) noexcept { locateListener = newListener; }

    /** Between the press and the release of a drag. */
    bool isDragging() const noexcept { return dragging; }

    void start (int intervalMs = 100) { startTimer (intervalMs); }
    void stop() { stopTimer(); }
    bool isRunning() const noexcept { return isTimerRunning(); }
    /** One tick, as the timer makes it. */
    void tick();

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

private:
    void timerCallback() override { tick(); }

    LocateBarListener* locateListener = nullptr;
    bool dragging = false;
};

//==============================================================================
/** Where the play time takes the position it shows. */
class PlayTimeListener
{
public:
    virtual ~PlayTimeListener() = default;
    /** The play position in samples at 44100 per second. */
    virtual juce::int64 playTimePositionRequested (PlayTime& display) = 0;
};

/** The play position as minutes and seconds ("2m7s"), Arial 12, centred. */
class PlayTime : public juce::Component, private juce::Timer
{
public:
    explicit PlayTime (PlayTimeListener* listener = nullptr);

    void setListener (PlayTimeListener* newListener) noexcept { listener = newListener; }

    /** The text of a position: minutes, "m", seconds 0..59, "s" (64-bit throughout). */
    static juce::String textFor (juce::int64 samples);

    void setPosition (juce::int64 samples);
    const juce::String& getText() const noexcept { return text; }
    void setColour (juce::Colour c) { colour = c; repaint(); }

    void start (int intervalMs = 100) { startTimer (intervalMs); }
    void stop() { stopTimer(); }
    bool isRunning() const noexcept { return isTimerRunning(); }

    void paint (juce::Graphics& g) override;

private:
    void timerCallback() override;

    PlayTimeListener* listener;
    juce::String text { "0m0s" };
    juce::Colour colour { 255, 155, 0 };
};

//==============================================================================
/** Where the bar and beat display takes its bar and beat. */
class PlayBBTListener
{
public:
    virtual ~PlayBBTListener() = default;
    /** The bar and beat (both from 0) of the play position; negative: keep what is shown. */
    virtual juce::Point<int> playBBTRequested (PlayBBT& display) = 0;
};

/** The bar and beat of the play position, "bar-beat" counted from 1, Arial 12, centred. */
class PlayBBT : public juce::Component, private juce::Timer
{
public:
    explicit PlayBBT (PlayBBTListener* listener = nullptr);

    void setListener (PlayBBTListener* newListener) noexcept { listener = newListener; }

    void setBarBeat (int bar, int beat);
    const juce::String& getText() const noexcept { return text; }
    void setColour (juce::Colour c) { colour = c; repaint(); }

    void start (int intervalMs = 100) { startTimer (intervalMs); }
    void stop() { stopTimer(); }
    bool isRunning() const noexcept { return isTimerRunning(); }

    void paint (juce::Graphics& g) override;

private:
    void timerCallback() override;

    PlayBBTListener* listener;
    juce::String text { "1-1" };
    juce::Colour colour { 255, 155, 0 };
};

//==============================================================================
/** The tempo value: an editable label in Arial 10 whose editor ("RhythmerEditor",
    Arial 12) takes at most three digits. */
class LabelRhythmer : public juce::Label
{
public:
    LabelRhythmer();

protected:
    juce::TextEditor* createEditorComponent() override;
};

//==============================================================================
/** The pop-up tempo slider (40..250, step 1): shown over the tempo while the
    pointer is on "BPM:", hidden again when the pointer leaves it. A press with
    Shift held drags by velocity, a plain press by position. */
class RhyUISlider : public juce::Slider
{
public:
    RhyUISlider();

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;

    bool isDragging() const noexcept { return dragging; }

private:
    bool dragging = false;
};

//==============================================================================
/** A key that is only its text (Arial 10, right-aligned, a small mark left of it
    when it opens a menu), dimmed while disabled. Its component name stays fixed
    while its text changes. */
class TextKey : public juce::Button
{
public:
    TextKey (const juce::String& componentName, bool opensMenu);

    void setColours (juce::Colour normal, juce::Colour over);
    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

private:
    bool menu;
    juce::Colour normalColour { 255, 155, 0 }, overColour { 255, 220, 140 };
};

} // namespace T730::rhythmpanel
