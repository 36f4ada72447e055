#include "jam/ABPoints.h"

#include "art/ProgramArt.h"
#include "art/RecorderLayout.h"
#include "jam/RecorderTime.h"
#include "ui/SliderEx.h"
#include "ui/ToolTipEx.h"

#include <cmath>

namespace T730
{

namespace L = layout::recorder;

ABPoints::ABPoints (juce::Colour spanColour, int letterLimit) : colour (spanColour), maxLetters (letterLimit)
{
    setWantsKeyboardFocus (true);
    setMouseClickGrabsKeyboardFocus (true);
}

ABPoints::~ABPoints()
{
    hideText();
}

void ABPoints::setMaximum (juce::int64 newMaximum)
{
    newMaximum = juce::jmax ((juce::int64) 0, newMaximum);
    if (newMaximum == maximum)
        return;

    // The handles' places follow the maximum even where the points stay.
    maximum = newMaximum;
    setPoints (start, end);
    repaint();
}

void ABPoints::setPoints (juce::int64 newStart, juce::int64 newEnd)
{
    const auto e = juce::jlimit ((juce::int64) 0, maximum, newEnd);
    const auto s = juce::jlimit ((juce::int64) 0, e, newStart);
    if (s != start || e != end)
    {
        start = s;
        end = e;
        repaint();
    }
}

void ABPoints::setImages (const juce::Image& startPicture, const juce::Image& endPicture, std::vector<juce::Image> letterPictures)
{
    startHandle = startPicture;
    endHandle = endPicture;
    letters = std::move (letterPictures);
    repaint();
}

//==============================================================================
int ABPoints::getHandleWidth() const noexcept
{
    return startHandle.isValid() ? startHandle.getWidth() : L::handleWidth;
}

int ABPoints::handleXFor (juce::int64 point) const noexcept
{
    const int hw = getHandleWidth();
    const juce::int64 travel = juce::jmax (0, getWidth() - 10);
    const juce::int64 along = maximum > 0 ? point * travel / maximum : 0;
    return (int) along - hw / 2 + 5;
}

int ABPoints::getStartHandleX() const noexcept
{
    const int hw = getHandleWidth();
    return juce::jlimit (0, juce::jmax (0, getWidth() - hw), handleXFor (start));
}

int ABPoints::getEndHandleX() const noexcept
{
    const int hw = getHandleWidth();
    return juce::jlimit (hw / 2, juce::jmax (hw / 2, getWidth() - hw), handleXFor (end));
}

juce::int64 ABPoints::pointAtX (int x) const noexcept
{
    const int travel = getWidth() - 18;
    if (travel <= 0)
        return 0;
    const auto v = (juce::int64) (x - 9) * maximum / travel;
    return juce::jlimit ((juce::int64) 0, maximum, v);
}

int ABPoints::getLetterCount() const noexcept
{
    if (letters.empty())
        return 0;

    const int span = getEndHandleX() - getStartHandleX();
    const int count = juce::jlimit (0, juce::jmin (maxLetters, (int) letters.size()), (span - 36) / L::letterPitch);
    if (count == 0)
        return 0;

    // Whatever the count, the letters must fit between the handles.
    const int width = (count - 1) * L::letterPitch + letters[(size_t) count - 1].getWidth();
    return width <= span - getHandleWidth() - 2 ? count : 0;
}

ABPoints::Grab ABPoints::grabAt (int x) const noexcept
{
    const int hw = getHandleWidth();
    const int startX = getStartHandleX();
    const int endRight = getEndHandleX() + hw;

    const bool onStart = x >= startX && x <= startX + grabReach;
    const bool onEnd = x <= endRight && x >= endRight - grabReach;
    if (onStart && onEnd)
    {
        // The nearer handle; over both centres at once, the side the press lies on.
        const int toStart = std::abs (x - (startX + hw / 2));
        const int toEnd = std::abs (x - (endRight - hw / 2));
        if (toStart != toEnd)
            return toStart < toEnd ? grabStart : grabEnd;
        return x >= startX + hw / 2 ? grabEnd : grabStart;
    }
    if (onStart)
        return grabStart;
    if (onEnd)
        return grabEnd;
    return grabNone;
}

//==============================================================================
void ABPoints::paint (juce::Graphics& g)
{
    const int hw = getHandleWidth();
    const int startX = getStartHandleX();
    const int endX = getEndHandleX();
    const int h = getHeight();

    g.setColour (colour);
    g.fillRect (startX + hw / 2, 1, juce::jmax (0, endX - startX), h - 2);
    g.setColour (colour.brighter (0.6f).withAlpha (0.6f));
    g.drawHorizontalLine (1, (float) (startX + hw / 2), (float) (endX + hw / 2));

    if (const int count = getLetterCount(); count > 0)
    {
        const int width = (count - 1) * L::letterPitch + letters[(size_t) count - 1].getWidth();
        const int left = (startX + hw + endX) / 2 - width / 2;
        for (int i = 0; i < count; ++i)
        {
            const auto& letter = letters[(size_t) i];
            g.drawImageAt (letter, left + i * L::letterPitch, (h - letter.getHeight()) / 2);
        }
    }

    if (startHandle.isValid())
        g.drawImageAt (startHandle, startX, (h - startHandle.getHeight()) / 2);
    if (endHandle.isValid())
        g.drawImageAt (endHandle, endX, (h - endHandle.getHeight()) / 2);
}

//==============================================================================
bool ABPoints::movePoint (Grab which, juce::int64 value, bool snap)
{
    value = juce::jlimit ((juce::int64) 0, maximum, value);
    if (snap && snapping && beatLength)
        value = recorderTime::snapToBeat (value, beatLength());

    if (which == grabStart)
    {
        value = juce::jmin (value, end);
        if (value == start)
            return false;
        start = value;
    }
    else if (which == grabEnd)
    {
        value = juce::jmax (value, start);
        if (value == end)
            return false;
        end = value;
    }
    else
    {
        return false;
    }

    repaint();
    if (listener != nullptr)
        listener->abPointsChanged (*this);
    return true;
}

bool ABPoints::dragPointTo (Grab which, juce::int64 value)
{
    if (which == grabNone)
        return false;
    lastGrabbed = which;
    return movePoint (which, value, true);
}

void ABPoints::mouseDown (const juce::MouseEvent& e)
{
    grabbed = grabAt (e.getPosition().x);
    if (grabbed == grabNone)
        return;

    lastGrabbed = grabbed;
    fine = e.mods.isShiftDown();
    anchorX = e.getPosition().x;
    anchorValue = grabbed == grabStart ? start : end;
    showText (e.getScreenPosition());
}

void ABPoints::mouseDrag (const juce::MouseEvent& e)
{
    if (grabbed == grabNone)
        return;

    const int x = e.getPosition().x;
    const bool shift = e.mods.isShiftDown();
    if (shift != fine)
    {
        // Switching between coarse and fine continues from where the point is.
        fine = shift;
        anchorX = x;
        anchorValue = grabbed == grabStart ? start : end;
    }

    juce::int64 value;
    if (fine)
    {
        const int f = SliderEx::finePixelsPerStep (maximum);
        value = anchorValue + (juce::int64) std::floor ((double) (x - anchorX) / (double) f);
    }
    else
    {
        value = pointAtX (x);
    }

    movePoint (grabbed, value, true);
    showText (e.getScreenPosition());
}

void ABPoints::mouseUp (const juce::MouseEvent&)
{
    grabbed = grabNone;
    hideText();
}

void ABPoints::mouseExit (const juce::MouseEvent&)
{
    if (grabbed == grabNone)
        hideText();
}

bool ABPoints::keyPressed (const juce::KeyPress& key)
{
    const int code = key.getKeyCode();
    if (code != juce::KeyPress::leftKey && code != juce::KeyPress::rightKey)
        return false;
    if (lastGrabbed == grabNone)
        return false;

    double rate = sampleRate ? sampleRate() : 0.0;
    if (! (rate > 0.0))
        rate = 44100.0;
    const auto step = (juce::int64) (0.01 * rate);
    const auto from = lastGrabbed == grabStart ? start : end;
    movePoint (lastGrabbed, from + (code == juce::KeyPress::rightKey ? step : -step), false);

    const int x = (lastGrabbed == grabStart ? getStartHandleX() : getEndHandleX()) + getHandleWidth() / 2;
    showText (localPointToGlobal (juce::Point<int> (x, getHeight() / 2)));
    return true;
}

//==============================================================================
void ABPoints::showText (juce::Point<int> screenPosition)
{
    juce::String text;
    if (listener != nullptr)
        listener->abPointsTextRequested (*this, text);

    if (text.isEmpty())
    {
        hideText();
        return;
    }

    auto* tip = ToolTipEx::getInstance();
    if (tip->getText() != text)
        tip->setText (text);
    tip->placeAt (screenPosition.x, screenPosition.y);
    tip->showTip();
    tipShown = true;
}

void ABPoints::hideText()
{
    if (! tipShown)
        return;
    tipShown = false;
    ToolTipEx::getInstance()->hideTip();
}

//==============================================================================
ABPointsPIO::ABPointsPIO() : ABPoints (spanColour, 3)
{
    setName ("ABPointsPIO");
    setImages (art::getImage (art::Picture::recorderHandleStart), art::getImage (art::Picture::recorderHandleEnd),
               { art::getImage (art::Picture::recorderLetterP), art::getImage (art::Picture::recorderLetterI),
                 art::getImage (art::Picture::recorderLetterO) });
}

ABPointsLoop::ABPointsLoop() : ABPoints (spanColour, 1)
{
    setName ("ABPointsLoop");
    setImages (art::getImage (art::Picture::recorderHandleStart), art::getImage (art::Picture::recorderHandleEnd),
               { art::getImage (art::Picture::recorderLetterLoop) });
}

} // namespace T730
