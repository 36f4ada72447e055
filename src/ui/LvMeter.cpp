#include "ui/LvMeter.h"

#include "art/ProgramArt.h"

namespace T730
{

LvMeter::LvMeter (LvMeterListener* l) : listener (l), strip (art::getImage (art::Picture::meterStrip))
{
    setOpaque (false);
}

LvMeter::~LvMeter()
{
    stopTimer();
}

void LvMeter::take (int channel, int& level, bool& clip)
{
    const int v = listener != nullptr ? listener->lvMeterLevelRequested (*this, channel) : -1;

    if (v == -1)
    {
        level = (int) (level * 0.8);
        return;
    }

    level = juce::jlimit (0, 511, v);
    if (v >= 510)
    {
        clip = true;
        level = 511;
    }
}

void LvMeter::timerCallback()
{
    take (0, left, leftClip);
    take (1, right, rightClip);
    repaint();
}

void LvMeter::paint (juce::Graphics& g)
{
    if (! strip.isValid())
        return;

    const auto copy = [&] (int x, int y, int w, int h)
    {
        if (w > 0 && h > 0)
            g.drawImage (strip, x, y, w, h, x, y, w, h);
    };

    copy (0, 0, 4, 9);
    copy (4, 0, barWidth (left), 4);
    copy (4, 5, barWidth (right), 4);
    if (leftClip)
        copy (42, 0, 1, 4);
    if (rightClip)
        copy (42, 5, 1, 4);
}

void LvMeter::mouseDown (const juce::MouseEvent&)
{
    leftClip = rightClip = false;
    repaint();
}

} // namespace T730
