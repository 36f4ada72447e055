#pragma once

#include "editor/CtrlBase.h"

namespace T730
{

/** Where a vertical drag started, and whether it runs in fine mode (Shift). */
struct DragAnchor
{
    int startStep = 0;
    int startY = 0;
    bool fine = false;

    void anchor (int step, int y, bool fineMode) noexcept
    {
        startStep = step;
        startY = y;
        fine = fineMode;
    }

    /** Pixels per step in fine mode: 1 for a maximum of 0 or less, else the
        smallest power of two b with maximum x b >= 300. */
    static int finePixelsPerStep (int maxStep) noexcept;

    /** The fine-mode step for a pointer at y. */
    int fineStep (int y, int maxStep) const noexcept;
};

/** "Knob": a relative vertical drag; the whole range spans 150 pixels, fine
    mode (Shift) moves one step per finePixelsPerStep pixels. */
class Knob : public CtrlBase
{
public:
    Knob (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
          const juce::File& resources);

    void mouseDown (const CtrlMouse& e) override;
    void mouseDrag (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;

    bool isDragging() const noexcept { return dragging; }

private:
    DragAnchor drag;
    bool dragging = false;
};

/** "Led": shows a step; with "OnIfNotMin" it is lit whenever the step is above 0. */
class Led : public CtrlBase
{
public:
    Led (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
         const juce::File& resources, bool onIfNotMin);

    int getFrameIndex() const override;

private:
    const bool onIfNotMin;
};

/** "PushKey": shows the pressed state; a release over it toggles the step between 0 and 1. */
class FootSW : public CtrlBase
{
public:
    FootSW (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
            const juce::File& resources);

    int getFrameIndex() const override { return pressed ? 1 : 0; }
    void mouseDown (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;
    bool isPushKey() const override { return true; }
    bool isPressed() const noexcept { return pressed; }

private:
    bool pressed = false;
};

/** "Slider": a knob picture on a vertical travel, following the pointer
    (absolute drag); step 0 puts the knob at the bottom. */
class OxSlider : public CtrlBase
{
public:
    OxSlider (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
              const juce::File& resources, int slWidth, int slHeight, int lastFrame = -1);

    /** The knob's offset from the bottom of the travel. */
    int getFrameIndex() const override;
    void mouseDown (const CtrlMouse& e) override;
    void mouseDrag (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;
    void preparePicture() override;

    /** Makes the off-screen picture of the control's size and loads the knob picture. */
    virtual void ensurePictures();

    /** height - knob height - 1; the knob's travel (0 or less: the slider cannot move). */
    int getTravel() const noexcept;
    int getKnobOffset() const noexcept;
    int getKnobWidth() const noexcept { return knobWidth; }
    int getKnobHeight() const noexcept { return knobHeight; }

protected:
    /** The knob picture for the present state. */
    virtual juce::Image knobPicture();

    juce::Image knobImage;

private:
    const int knobWidth, knobHeight;
    DragAnchor drag;
    bool dragging = false;
};

/** "LedSlider": a slider whose knob carries a lamp showing its second parameter. */
class OxLedSlider : public OxSlider
{
public:
    OxLedSlider (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
                 const juce::File& resources, int slWidth, int slHeight);

    /** The knob offset, made distinct for each lamp state. */
    int getFrameIndex() const override;

protected:
    juce::Image knobPicture() override;

private:
    juce::Image lampFrames[2];
};

/** "ImgPrm": a picture per step, display only. */
class ImgPrm : public CtrlBase
{
public:
    ImgPrm (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
            const juce::File& resources, bool interactive = false);
};

/** "ImgKey": a picture per step; a click goes to the next step (after the last, back to 0). */
class ImgKey : public ImgPrm
{
public:
    ImgKey (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
            const juce::File& resources);

    void mouseDown (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;

private:
    bool armed = false;
};

/** "LedT": lit while the step is the one it stands for ("ParamOfIndex"). */
class ToggleLed : public CtrlBase
{
public:
    ToggleLed (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
               const juce::File& resources, bool interactive = false);

    int getFrameIndex() const override { return getStep() == paramOfIndex ? 1 : 0; }
    virtual void setParamOfIndex (int index) { paramOfIndex = index; }
    virtual int getParamOfIndex() const { return paramOfIndex; }

private:
    int paramOfIndex = 0;
};

/** "Toggle": a click selects the step it stands for. */
class ToggleSW : public ToggleLed
{
public:
    ToggleSW (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
              const juce::File& resources);

    void mouseDown (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;

private:
    bool armed = false;
};

/** "Tap": a press taps the tempo. */
class OxTap : public CtrlBase
{
public:
    OxTap (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
           const juce::File& resources);

    int getFrameIndex() const override { return pressed ? 1 : 0; }
    void mouseDown (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;
    bool isPushKey() const override { return true; }

private:
    bool pressed = false;
};

/** "IncKey": a release over it adds "Delta", wrapping past either end. */
class IncKey : public CtrlBase
{
public:
    IncKey (const juce::String& moduleName, const juce::String& pictureName, int number, int prm, int defaultStep,
            const juce::File& resources, int delta);

    int getFrameIndex() const override { return pressed ? 1 : 0; }
    void mouseDown (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;
    bool isPushKey() const override { return true; }
    int getDelta() const noexcept { return delta; }

private:
    const int delta;
    bool pressed = false;
};

/** "NInputKey": a release over it asks for a time in milliseconds. The entry
    runs modally, so it is not run inside the mouse handling: the release only
    marks the request, and whoever feeds the control the mouse runs the entry
    afterwards (runTimeEntry) and looks the control up again. */
class TimeInputBtn : public CtrlBase
{
public:
    TimeInputBtn (const juce::String& moduleName, const juce::String& pictureName, int number, int prm,
                  int defaultStep, const juce::File& resources);

    int getFrameIndex() const override { return pressed ? 1 : 0; }
    void mouseDown (const CtrlMouse& e) override;
    void mouseUp (const CtrlMouse& e) override;
    bool isPushKey() const override { return true; }

    /** True once after a release over the control asked for a time entry. */
    bool takeEntryRequest() noexcept;

    /** Shows the time entry at a screen position; the entered time in seconds,
        or a negative value when it was cancelled, empty or zero. */
    static double runTimeEntry (juce::Point<int> screenPosition);

private:
    bool pressed = false;
    bool entryRequested = false;
};

} // namespace T730
