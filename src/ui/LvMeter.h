#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace T730
{

class LvMeter;

/** Where an LvMeter gets its levels. */
class LvMeterListener
{
public:
    virtual ~LvMeterListener() = default;

    /** The level of a channel (0 left, 1 right): 0..511, or -1 for no new value. */
    virtual int lvMeterLevelRequested (LvMeter& meter, int channel) = 0;
};

/** The tool set bar's stereo level meter: two bars copied from the lit strip
    picture (43 x 9) over the unlit slots of the background, with a clip lamp
    each. On every tick a channel takes its new level, or without one decays to
    80 %; 510 and above lights the clip lamp (and reads 511). A click clears
    both lamps. Message thread only. */
class LvMeter : public juce::Component, public juce::Timer
{
public:
    explicit LvMeter (LvMeterListener* listener = nullptr);
    ~LvMeter() override;

    void setListener (LvMeterListener* newListener) noexcept { listener = newListener; }

    int getLevel (int channel) const noexcept { return channel == 0 ? left : right; }
    bool isClipped (int channel) const noexcept { return channel == 0 ? leftClip : rightClip; }

    /** The width of a channel's lit bar for a level. */
    static int barWidth (int level) noexcept { return level * 39 / 511; }

    void timerCallback() override;
    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;

private:
    void take (int channel, int& level, bool& clip);

    LvMeterListener* listener;
    juce::Image strip;
    int left = 0, right = 0;
    bool leftClip = false, rightClip = false;

    JUCE_DECLARE_NON_COPYABLE (LvMeter)
};

} // namespace T730
