#include "ui/SliderEx.h"

#include <cmath>

namespace T730
{

/** The small text window above the pointer. */
class SliderEx::TipBubble : public juce::Component
{
public:
    TipBubble()
    {
        setAlwaysOnTop (true);
        setInterceptsMouseClicks (false, false);
    }

    void show (const juce::String& newText, juce::Point<int> pointerOnScreen)
    {
        text = newText;
        const auto font = juce::Font (12.0f);
        setSize (font.getStringWidth (text) + 10, 16);
        setTopLeftPosition (pointerOnScreen.x - getWidth() / 2, pointerOnScreen.y - getHeight() - 8);
        if (! isOnDesktop())
            addToDesktop (juce::ComponentPeer::windowIsTemporary | juce::ComponentPeer::windowIgnoresMouseClicks
                          | juce::ComponentPeer::windowIgnoresKeyPresses);
        setVisible (true);
        repaint();
    }

    void paint (juce::Graphics& g) override
    {
        g.fillAll (juce::Colour (0xffeeeebb));
        g.setColour (juce::Colour (0x4c000000));
        g.drawRect (getLocalBounds(), 1);
        g.setColour (juce::Colours::black);
        g.setFont (12.0f);
        g.drawText (text, getLocalBounds(), juce::Justification::centred, true);
    }

    juce::String text;
};

SliderEx::SliderEx (const juce::Image& thumbPicture, juce::int64 maximumValue)
    : thumb (thumbPicture), maximum (juce::jmax ((juce::int64) 0, maximumValue))
{
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

SliderEx::~SliderEx() = default;

void SliderEx::setThumb (const juce::Image& newThumb)
{
    thumb = newThumb;
    repaint();
}

void SliderEx::setMaximum (juce::int64 newMaximum)
{
    // The thumb's place depends on the maximum as well as the value.
    const auto clamped = juce::jmax ((juce::int64) 0, newMaximum);
    if (clamped != maximum)
    {
        maximum = clamped;
        repaint();
    }
    setValue (value);
}

void SliderEx::setValue (juce::int64 newValue)
{
    const auto clamped = juce::jlimit ((juce::int64) 0, maximum, newValue);
    if (clamped != value)
    {
        value = clamped;
        repaint();
    }
}

void SliderEx::setKeyboardStepping (bool enabled, std::function<double()> rate)
{
    stepping = enabled;
    sampleRate = std::move (rate);
    setWantsKeyboardFocus (enabled);
    setMouseClickGrabsKeyboardFocus (enabled);
}

int SliderEx::finePixelsPerStep (juce::int64 maximumValue)
{
    int f = 1;
    while (maximumValue > 0 && (juce::int64) f * maximumValue < 300)
        f *= 2;
    return f;
}

int SliderEx::getThumbX() const
{
    const juce::int64 travel = juce::jmax (0, getWidth() - thumb.getWidth());
    return (int) (travel * value / (maximum + 1));
}

juce::int64 SliderEx::valueAtX (int x) const
{
    const int travel = getWidth() - thumb.getWidth();
    if (travel <= 0)
        return 0;

    const auto v = (juce::int64) (x - thumb.getWidth() / 2) * maximum / travel;
    return juce::jlimit ((juce::int64) 0, maximum, v);
}

void SliderEx::paint (juce::Graphics& g)
{
    if (thumb.isValid())
        g.drawImageAt (thumb, getThumbX(), (getHeight() - thumb.getHeight()) / 2);
}

void SliderEx::changeTo (juce::int64 newValue)
{
    const auto clamped = juce::jlimit ((juce::int64) 0, maximum, newValue);
    if (clamped == value)
        return;

    value = clamped;
    repaint();

    if (listener != nullptr)
        listener->sliderExValueChanged (*this, value);
}

void SliderEx::anchorFineDrag (int x)
{
    anchorX = x;
    anchorValue = value;
}

void SliderEx::mouseDown (const juce::MouseEvent& e)
{
    const int x = e.getPosition().x;
    const int thumbX = getThumbX();
    const bool onThumb = x >= thumbX - 4 && x < thumbX + thumb.getWidth() + 4;

    if (! onThumb && ! jumping)
        return;

    dragging = true;
    fine = e.mods.isShiftDown();
    if (! onThumb && ! fine)
        changeTo (valueAtX (x));
    anchorFineDrag (x);
    showText (e);
}

void SliderEx::mouseDrag (const juce::MouseEvent& e)
{
    if (! dragging)
        return;

    const int x = e.getPosition().x;
    const bool shift = e.mods.isShiftDown();
    if (shift != fine)
    {
        // Switching between coarse and fine continues from where the thumb is.
        fine = shift;
        anchorFineDrag (x);
    }

    if (fine)
    {
        const int f = finePixelsPerStep (maximum);
        const int dx = x - anchorX;
        const auto steps = (juce::int64) std::floor ((double) dx / (double) f);
        changeTo (anchorValue + steps);
    }
    else
    {
        changeTo (valueAtX (x));
    }

    showText (e);
}

void SliderEx::mouseUp (const juce::MouseEvent&)
{
    if (! dragging)
        return;

    dragging = false;
    hideText();
    if (listener != nullptr)
        listener->sliderExDragEnded (*this);
}

void SliderEx::mouseMove (const juce::MouseEvent& e)
{
    showText (e);
}

void SliderEx::mouseExit (const juce::MouseEvent&)
{
    if (! dragging)
        hideText();
}

bool SliderEx::keyPressed (const juce::KeyPress& key)
{
    if (! stepping)
        return false;

    const int code = key.getKeyCode();
    if (code != juce::KeyPress::leftKey && code != juce::KeyPress::rightKey)
        return false;

    double rate = sampleRate ? sampleRate() : 0.0;
    if (rate <= 0.0)
        rate = 44100.0;

    const auto step = (juce::int64) (0.01 * rate);
    changeTo (value + (code == juce::KeyPress::rightKey ? step : -step));

    if (listener != nullptr)
        listener->sliderExDragEnded (*this);
    return true;
}

void SliderEx::showText (const juce::MouseEvent& e)
{
    juce::String text;
    if (listener != nullptr)
        listener->sliderExTextRequested (*this, text);

    if (text.isEmpty())
    {
        hideText();
        return;
    }

    if (tip == nullptr)
        tip = std::make_unique<TipBubble>();
    tip->show (text, e.getScreenPosition());
}

void SliderEx::hideText()
{
    if (tip != nullptr)
        tip->setVisible (false);
}

juce::String SliderEx::getShownText() const
{
    return tip != nullptr && tip->isVisible() ? tip->text : juce::String();
}

} // namespace T730
