#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

/** The program's scroll bar: thin, without arrow buttons, drawn as a dark
    groove with an orange-edged thumb. Wheel movements made over it go to its
    parent (the list it scrolls), and it can glide to a position:
    scrollSmoothlyTo moves the range start in 40 equal steps of 20 ms and
    leaves it exactly on the target. Message thread only. */
class ScrollBarEx : public juce::ScrollBar
{
public:
    explicit ScrollBarEx (bool vertical);
    ~ScrollBarEx() override;

    void paint (juce::Graphics& g) override;
    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;

    /** Glides the range start to the target (clamped by the bar's limits). */
    void scrollSmoothlyTo (double targetStart);

    /** True while a glide runs. */
    bool isGliding() const noexcept { return glide.isTimerRunning(); }

    static constexpr int glideSteps = 40;
    static constexpr int glideTickMs = 20;

private:
    /** The bar is a timer of its own already (for its buttons): the glide has its own. */
    struct Glide : public juce::Timer
    {
        explicit Glide (ScrollBarEx& b) : bar (b) {}
        void timerCallback() override { bar.glideTick(); }
        ScrollBarEx& bar;
    };

    void glideTick();

    Glide glide { *this };
    double glideTarget = 0.0, glideStep = 0.0, glideSize = 0.0;
    int glideTicks = 0;

    JUCE_DECLARE_NON_COPYABLE (ScrollBarEx)
};

} // namespace T730
