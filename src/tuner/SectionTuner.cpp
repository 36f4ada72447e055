#include "tuner/SectionTuner.h"

#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "engine/TunerLib.h"
#include "ui/ControllerLink.h"
#include "ui/OxFonts.h"

namespace T730
{

namespace
{
    namespace L = layout;

    const juce::Colour textColour (255, 150, 0);

    juce::Rectangle<int> rect (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }

    constexpr art::Picture notePictures[12] = {
        art::Picture::tunerNote0, art::Picture::tunerNote1, art::Picture::tunerNote2, art::Picture::tunerNote3,
        art::Picture::tunerNote4, art::Picture::tunerNote5, art::Picture::tunerNote6, art::Picture::tunerNote7,
        art::Picture::tunerNote8, art::Picture::tunerNote9, art::Picture::tunerNote10, art::Picture::tunerNote11,
    };

    constexpr art::Picture stringPictures[7] = {
        art::Picture::tunerString0, art::Picture::tunerString1, art::Picture::tunerString2, art::Picture::tunerString3,
        art::Picture::tunerString4, art::Picture::tunerString5, art::Picture::tunerString6,
    };
} // namespace

SectionTuner::SectionTuner (ControllerLink& c)
    : controller (c), clock ([] { return juce::Time::currentTimeMillis(); })
{
    TunerLib* lib = nullptr;
    if (controller.request (GetTunerLib, 0, 0, &lib) == requestTrue)
        tuner = lib;

    pictures.background = art::getImage (art::Picture::tunerBackground);
    pictures.darkLamps = art::getImage (art::Picture::tunerLampsDark);
    pictures.lamp = art::getImage (art::Picture::tunerLamp);
    pictures.centreLamp = art::getImage (art::Picture::tunerLampCentre);
    pictures.leftArrow = art::getImage (art::Picture::tunerArrowLeft);
    pictures.leftArrowLit = art::getImage (art::Picture::tunerArrowLeftLit);
    pictures.rightArrow = art::getImage (art::Picture::tunerArrowRight);
    pictures.rightArrowLit = art::getImage (art::Picture::tunerArrowRightLit);
    pictures.blankNote = art::getImage (art::Picture::tunerNoteBlank);
    for (int i = 0; i < 12; ++i)
        pictures.notes[i] = art::getImage (notePictures[i]);
    for (int i = 0; i < 7; ++i)
        pictures.strings[i] = art::getImage (stringPictures[i]);

    buttons[modeDown] = std::make_unique<OxaJuce_TunerDown>();
    buttons[modeUp] = std::make_unique<OxaJuce_TunerUp>();
    buttons[flat2] = std::make_unique<OxaJuce_TunerBB>();
    buttons[flat1] = std::make_unique<OxaJuce_TunerB>();
    buttons[referenceDown] = std::make_unique<OxaJuce_TunerDown>();
    buttons[referenceUp] = std::make_unique<OxaJuce_TunerUp>();

    const int rows[numButtons] = { L::tunerModeRowY, L::tunerModeRowY, L::tunerFlatRowY,
                                   L::tunerFlatRowY, L::tunerCalibrationRowY, L::tunerCalibrationRowY };
    const char* tooltips[numButtons] = { "Next tuning mode", "Previous tuning mode", "Tuned two semitones flat",
                                         "Tuned one semitone flat", "Reference 1 Hz lower", "Reference 1 Hz higher" };
    for (int i = 0; i < numButtons; ++i)
    {
        auto& button = *buttons[i];
        button.setBounds (i % 2 == 0 ? L::tunerButtonLeftX : L::tunerButtonRightX, rows[i], L::tunerButtonWidth,
                          L::tunerButtonHeight);
        button.setTooltip (tooltips[i]);
        button.addListener (this);
        addAndMakeVisible (button);
    }

    currentMode = &ring.getMode (0);
}

SectionTuner::~SectionTuner()
{
    stopTimer();
    for (auto& button : buttons)
        button->removeListener (this);
}

//==============================================================================
void SectionTuner::setFreq (float frequency)
{
    lastPitch = frequency;

    if (! (frequency > 15.0f))
    {
        noteIndex = noNote;
        return;
    }

    if (tuner == nullptr || currentMode == nullptr)
        return;

    const float cents = tuner->centsFromFrequency (frequency);
    setLedTarget (currentMode->ledIndex (cents, OxaJuce_Tuner_ModeBase::centreLamp));
    noteIndex = TunerLib::nearestNote (cents).index;
    stringIndex = currentMode->stringIndex (cents);
    lastPitchTime = clock();

    if (! isTimerRunning())
        startTimer (timerPeriodMs);
}

void SectionTuner::setLedTarget (int lamp)
{
    if (! juce::isPositiveAndBelow (lamp, OxaJuce_Tuner_ModeBase::numLamps))
        return;

    lastLampIndex = lamp;
    if (! levelsMade)
    {
        levels.fill (0);
        levelsMade = true;
    }

    previousTarget = target;
    target = lamp;
    if (previousTarget == -1)
        previousTarget = lamp;

    advanceLamps();
}

bool SectionTuner::advanceLamps()
{
    bool dropped = false;
    if (levelsMade)
    {
        for (auto& level : levels)
        {
            if (level > 0)
            {
                --level;
                dropped = true;
            }
        }
    }

    if (target == -1 || ! levelsMade)
        return dropped;

    if (displayPosition == -1 || displayPosition == target)
        displayPosition = target;
    else if (std::abs (previousTarget - target) > 5)
        displayPosition = target;
    else
        displayPosition += displayPosition < target ? 1 : -1;

    levels[(size_t) displayPosition] = 4;
    return true;
}

int SectionTuner::getLampLevel (int lamp) const noexcept
{
    return levelsMade && juce::isPositiveAndBelow (lamp, OxaJuce_Tuner_ModeBase::numLamps) ? levels[(size_t) lamp] : 0;
}

void SectionTuner::timerCallback()
{
    if (advanceLamps())
        repaint();

    if (clock() > lastPitchTime + blankAfterMs)
    {
        // No pitch for a while: the display goes blank and the page rests.
        noteIndex = noNote;
        stopTimer();
        repaint();
    }
}

//==============================================================================
bool SectionTuner::isLeftArrowLit() const noexcept
{
    return noteIndex != noNote && currentMode != nullptr && juce::isPositiveAndNotGreaterThan (lastLampIndex, 10);
}

bool SectionTuner::isRightArrowLit() const noexcept
{
    return noteIndex != noNote && currentMode != nullptr && lastLampIndex >= 10 && lastLampIndex <= 20;
}

void SectionTuner::paint (juce::Graphics& g)
{
    g.drawImageAt (pictures.background, 0, 0);
    g.drawImageAt (pictures.darkLamps, L::tunerLampRow.x, L::tunerLampRow.y);

    if (currentMode != nullptr)
    {
        const juce::Image* note = &pictures.blankNote;
        if (noteIndex != noNote)
        {
            if (currentMode->usesStrings())
                note = juce::isPositiveAndBelow (stringIndex, 7) ? &pictures.strings[stringIndex] : nullptr;
            else
                note = juce::isPositiveAndBelow (noteIndex, 12) ? &pictures.notes[noteIndex] : nullptr;
        }
        if (note != nullptr)
            g.drawImageAt (*note, L::tunerNote.x, L::tunerNote.y);

        g.drawImageAt (isLeftArrowLit() ? pictures.leftArrowLit : pictures.leftArrow, L::tunerLeftArrow.x, L::tunerLeftArrow.y);
        g.drawImageAt (isRightArrowLit() ? pictures.rightArrowLit : pictures.rightArrow, L::tunerRightArrow.x,
                       L::tunerRightArrow.y);
    }

    if (noteIndex != noNote && levelsMade)
    {
        for (int i = 0; i < OxaJuce_Tuner_ModeBase::numLamps; ++i)
        {
            if (levels[(size_t) i] <= 0)
                continue;

            g.setOpacity ((float) levels[(size_t) i] * 0.25f);
            g.drawImageAt (i == OxaJuce_Tuner_ModeBase::centreLamp ? pictures.centreLamp : pictures.lamp,
                           L::tunerLampX[i], L::tunerLampY[i]);
        }
        g.setOpacity (1.0f);
    }

    g.setColour (textColour);
    g.setFont (arialFont (40.0f / 3.0f));
    if (tuner != nullptr)
        g.drawText (juce::String (tuner->referenceHz) + " Hz ", rect (L::tunerReferenceText), juce::Justification::centred, false);

    if (currentMode != nullptr)
        g.drawText (currentMode->getName(), rect (L::tunerModeText), juce::Justification::centred, false);
}

//==============================================================================
void SectionTuner::buttonClicked (juce::Button* button)
{
    if (button == buttons[modeDown].get())
        stepMode (true);
    else if (button == buttons[modeUp].get())
        stepMode (false);
    else if (button == buttons[referenceDown].get())
        stepReference (-1);
    else if (button == buttons[referenceUp].get())
        stepReference (1);
    else if (button == buttons[flat1].get() && tuner != nullptr)
        tuner->flatSteps = button->getToggleState() ? 1 : 0;
    else if (button == buttons[flat2].get() && tuner != nullptr)
        tuner->flatSteps = button->getToggleState() ? 2 : 0;

    // The meter shows the change from the next pitch report on.
    repaint();
}

void SectionTuner::stepMode (bool forward)
{
    if (const auto* link = ring.find (currentMode))
        currentMode = forward ? link->next : link->previous;
}

void SectionTuner::stepReference (int hz)
{
    if (tuner == nullptr)
        return;

    const int wanted = tuner->referenceHz + hz;
    if (wanted >= lowestReference && wanted <= highestReference)
        tuner->referenceHz = wanted;
}

void SectionTuner::visibilityChanged()
{
    // The device's own tuner follows the page.
    controller.request (isVisible() ? TunerModeOn : TunerModeOff);
}

} // namespace T730
