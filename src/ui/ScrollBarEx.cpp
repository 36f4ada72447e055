#include "ui/ScrollBarEx.h"

namespace T730
{

ScrollBarEx::ScrollBarEx (bool vertical) : juce::ScrollBar (vertical)
{
    setAutoHide (false);
}

ScrollBarEx::~ScrollBarEx()
{
    glide.stopTimer();
}

void ScrollBarEx::paint (juce::Graphics& g)
{
    const bool vertical = isVertical();
    const auto area = getLocalBounds().toFloat();

    // The groove: a dark slot with its upper edge in shadow.
    const auto groove = vertical ? area.reduced (4.0f, 1.0f) : area.reduced (1.0f, 4.0f);
    const float grooveRadius = (vertical ? groove.getWidth() : groove.getHeight()) * 0.5f;
    g.setColour (juce::Colour (0xff050506));
    g.fillRoundedRectangle (groove, grooveRadius);
    g.setColour (juce::Colours::white.withAlpha (0.08f));
    g.drawRoundedRectangle (groove.translated (0.0f, 0.5f), grooveRadius, 0.8f);
    g.setColour (juce::Colours::black);
    g.drawRoundedRectangle (groove, grooveRadius, 0.8f);

    // The thumb: a small plate with an orange line along it, from the range the bar shows.
    const auto limits = getRangeLimit();
    const auto range = getCurrentRange();
    if (limits.getLength() <= 0.0 || range.getLength() >= limits.getLength())
        return;

    const float length = vertical ? area.getHeight() : area.getWidth();
    // The same geometry as the bar's own thumb (at least twice the bar's thickness), so that it drags true.
    const float thickness = vertical ? area.getWidth() : area.getHeight();
    const float minimum = juce::jmin (length, thickness * 2.0f);
    float size = (float) (length * range.getLength() / limits.getLength());
    size = juce::jmax (minimum, size);
    const float start = (float) ((length - size) * (range.getStart() - limits.getStart())
                                 / juce::jmax (1.0, limits.getLength() - range.getLength()));

    const auto thumb = vertical ? juce::Rectangle<float> (area.getX() + 2.0f, start, area.getWidth() - 4.0f, size)
                                : juce::Rectangle<float> (start, area.getY() + 2.0f, size, area.getHeight() - 4.0f);
    const float thumbRadius = (vertical ? thumb.getWidth() : thumb.getHeight()) * 0.5f;
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff505058), thumb.getX(), thumb.getY(),
                                             juce::Colour (0xff24242a), vertical ? thumb.getRight() : thumb.getX(),
                                             vertical ? thumb.getY() : thumb.getBottom(), false));
    g.fillRoundedRectangle (thumb, thumbRadius);
    g.setColour (juce::Colours::black);
    g.drawRoundedRectangle (thumb, thumbRadius, 1.0f);
    g.setColour (juce::Colour (255, 155, 0).withAlpha (isMouseOver (true) ? 1.0f : 0.75f));
    if (vertical)
        g.fillRect (thumb.getCentreX() - 0.75f, thumb.getY() + 4.0f, 1.5f, juce::jmax (0.0f, thumb.getHeight() - 8.0f));
    else
        g.fillRect (thumb.getX() + 4.0f, thumb.getCentreY() - 0.75f, juce::jmax (0.0f, thumb.getWidth() - 8.0f), 1.5f);
}

void ScrollBarEx::mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel)
{
    if (auto* parent = getParentComponent())
        parent->mouseWheelMove (event.getEventRelativeTo (parent), wheel);
}

void ScrollBarEx::scrollSmoothlyTo (double targetStart)
{
    const auto limits = getRangeLimit();
    const double size = getCurrentRangeSize();
    glideSize = size;
    glideTarget = juce::jlimit (limits.getStart(), juce::jmax (limits.getStart(), limits.getEnd() - size), targetStart);
    glideStep = (glideTarget - getCurrentRangeStart()) / glideSteps;
    glideTicks = 0;
    glide.startTimer (glideTickMs);
}

void ScrollBarEx::glideTick()
{
    if (++glideTicks >= glideSteps)
    {
        glide.stopTimer();
        setCurrentRange (glideTarget, glideSize);
        return;
    }

    // The size is set each time too, so that rounding never makes it drift.
    setCurrentRange (getCurrentRangeStart() + glideStep, glideSize);
}

} // namespace T730
