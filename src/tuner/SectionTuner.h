#pragma once

#include "tuner/TunerButtons.h"
#include "tuner/TunerModes.h"
#include "ui/OxSection.h"

#include <array>
#include <functional>
#include <memory>

class TunerLib;

namespace T730
{

class ControllerLink;

/** The tuner page of the tab section. It shows the pitch the tuner module
    reports: in the chromatic mode the nearest note, in the eight string modes
    the number of the string being tuned, with a meter of 21 lamps from -50 to
    +50 cents and two arrows saying whether to tune up or down. The lit lamp
    glides toward a nearby new value one lamp per 25 ms and jumps to a far
    one; a lamp it leaves fades over four steps. Buttons choose the mode (a
    ring of nine), set the reference between 435 and 445 Hz and tune one or
    two semitones flat. While the page shows, the device is in its tuner mode.
    Message thread only. */
class SectionTuner : public OxSection, private juce::Button::Listener, public juce::Timer
{
public:
    explicit SectionTuner (ControllerLink& controller);
    ~SectionTuner() override;

    /** A pitch from the tuner module (Hz), while the page is shown; 15 Hz or
        less is no pitch. The page repaints from its timer. */
    void setFreq (float frequency);

    /** Aims the meter at a lamp 0 to 20 (others are ignored) and takes one step. */
    void setLedTarget (int lamp);

    /** One step of the lamps: every lit lamp fades by one level, the display
        position moves toward the target and lights fully. True when there is
        something to repaint. */
    bool advanceLamps();

    void timerCallback() override;
    void paint (juce::Graphics& g) override;
    void visibilityChanged() override;

    static constexpr int noNote = -1000;
    static constexpr int timerPeriodMs = 25;
    static constexpr int blankAfterMs = 3000;
    static constexpr int lowestReference = 435, highestReference = 445;

    // What the page shows.
    float getLastPitch() const noexcept { return lastPitch; }
    const OxaJuce_Tuner_ModeBase* getCurrentMode() const noexcept { return currentMode; }
    int getNoteIndex() const noexcept { return noteIndex; }
    int getStringIndex() const noexcept { return stringIndex; }
    int getLastLampIndex() const noexcept { return lastLampIndex; }
    int getTarget() const noexcept { return target; }
    int getDisplayPosition() const noexcept { return displayPosition; }
    /** The level 0 to 4 of a lamp (0 before the first lamp index). */
    int getLampLevel (int lamp) const noexcept;
    /** Which arrows are lit now: the left one says tune up, the right one tune down. */
    bool isLeftArrowLit() const noexcept;
    bool isRightArrowLit() const noexcept;

    const TunerModeRing& getModes() const noexcept { return ring; }
    TunerLib* getTunerLib() const noexcept { return tuner; }

    enum ButtonId { modeDown, modeUp, flat2, flat1, referenceDown, referenceUp, numButtons };
    juce::Button& getButton (ButtonId id) noexcept { return *buttons[id]; }

    /** The clock of the pitch times, in milliseconds (the system's unless a test sets another). */
    void setClock (std::function<juce::int64()> newClock) { clock = std::move (newClock); }

private:
    void buttonClicked (juce::Button* button) override;
    void stepMode (bool forward);
    void stepReference (int hz);

    ControllerLink& controller;
    TunerLib* tuner = nullptr;   // the controller's; null without one

    TunerModeRing ring;
    const OxaJuce_Tuner_ModeBase* currentMode = nullptr;
    std::unique_ptr<juce::Button> buttons[numButtons];

    float lastPitch = 0.0f;
    int noteIndex = noNote;
    int stringIndex = -1;
    int lastLampIndex = -1;
    bool levelsMade = false;
    std::array<int, OxaJuce_Tuner_ModeBase::numLamps> levels {};
    int previousTarget = -1, target = -1, displayPosition = -1;
    juce::int64 lastPitchTime = 0;
    std::function<juce::int64()> clock;

    struct Pictures
    {
        juce::Image background, darkLamps, lamp, centreLamp;
        juce::Image leftArrow, leftArrowLit, rightArrow, rightArrowLit;
        juce::Image blankNote, notes[12], strings[7];
    } pictures;

    JUCE_DECLARE_NON_COPYABLE (SectionTuner)
};

} // namespace T730
