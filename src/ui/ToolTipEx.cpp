#include "ui/ToolTipEx.h"

#include "platform/SharedInstance.h"

namespace T730
{

namespace
{
    constexpr float fontHeight = 14.0f;
    constexpr float maxLayoutWidth = 400.0f;

    juce::TextLayout layoutText (const juce::String& text)
    {
        juce::AttributedString s;
        s.setJustification (juce::Justification::centred);
        s.append (text, juce::Font (fontHeight), juce::Colours::black);
        juce::TextLayout layout;
        layout.createLayout (s, maxLayoutWidth);
        return layout;
    }
} // namespace

ToolTipEx* ToolTipEx::getInstance()
{
    return SharedInstance<ToolTipEx>::get ([] { return std::make_unique<ToolTipEx>(); });
}

void ToolTipEx::deleteInstance()
{
    SharedInstance<ToolTipEx>::destroy();
}

ToolTipEx::ToolTipEx()
{
    setAlwaysOnTop (true);
    setOpaque (true);
    setInterceptsMouseClicks (false, false);
}

void ToolTipEx::setText (const juce::String& newText)
{
    text = newText;
    const auto layout = layoutText (text);
    setSize ((int) std::ceil (layout.getWidth()) + 8, (int) std::ceil (layout.getHeight()) + 4);
    repaint();
}

void ToolTipEx::placeAt (int x, int y)
{
    setTopLeftPosition (x + 24, y + 24);
}

void ToolTipEx::showTip()
{
    if (isVisible() || text.isEmpty())
        return;

    if (! isOnDesktop())
        addToDesktop (juce::ComponentPeer::windowIsTemporary | juce::ComponentPeer::windowIgnoresMouseClicks
                      | juce::ComponentPeer::windowIgnoresKeyPresses);

    setVisible (true);
}

void ToolTipEx::hideTip()
{
    if (isVisible())
        setVisible (false);
}

void ToolTipEx::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xffeeeebb));
    g.setColour (juce::Colour (0x4c000000));
    g.drawRect (getLocalBounds(), 1);
    layoutText (text).draw (g, getLocalBounds().toFloat());
}

} // namespace T730
