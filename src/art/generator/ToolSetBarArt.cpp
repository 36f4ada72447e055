// The tool set bar's pictures: the New, Load, Save and Folder buttons (normal and
// pressed), the connection lamp (connected and not), the master slider's thumb and
// the lit strip of the level meters.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;

    // Only the upper 18 rows of a button lie inside the bar; the body is drawn
    // there, 43 pixels wide, so that neighbouring buttons (which overlap by 10)
    // stand side by side.
    constexpr int bodyX = 5, bodyWidth = 43, bodyY = 1, bodyHeight = 16;

    void icon (juce::Graphics& g, int which, juce::Rectangle<float> r, Colour colour)
    {
        g.setColour (colour);
        const auto c = r.getCentre();
        switch (which)
        {
            case 0: // a new sheet with a folded corner
            {
                juce::Path p;
                p.startNewSubPath (c.x - 3.0f, c.y - 4.0f);
                p.lineTo (c.x + 1.0f, c.y - 4.0f);
                p.lineTo (c.x + 3.0f, c.y - 2.0f);
                p.lineTo (c.x + 3.0f, c.y + 4.0f);
                p.lineTo (c.x - 3.0f, c.y + 4.0f);
                p.closeSubPath();
                g.strokePath (p, juce::PathStrokeType (1.1f));
                g.drawLine (c.x + 1.0f, c.y - 4.0f, c.x + 1.0f, c.y - 2.0f, 1.0f);
                g.drawLine (c.x + 1.0f, c.y - 2.0f, c.x + 3.0f, c.y - 2.0f, 1.0f);
                break;
            }
            case 1: // an arrow out of a tray
            {
                g.drawLine (c.x, c.y + 2.0f, c.x, c.y - 4.0f, 1.4f);
                juce::Path head;
                head.addTriangle (c.x - 3.0f, c.y - 2.0f, c.x + 3.0f, c.y - 2.0f, c.x, c.y - 5.5f);
                g.fillPath (head);
                g.drawLine (c.x - 4.0f, c.y + 1.0f, c.x - 4.0f, c.y + 4.0f, 1.1f);
                g.drawLine (c.x - 4.0f, c.y + 4.0f, c.x + 4.0f, c.y + 4.0f, 1.1f);
                g.drawLine (c.x + 4.0f, c.y + 4.0f, c.x + 4.0f, c.y + 1.0f, 1.1f);
                break;
            }
            case 2: // a diskette
                g.drawRect (c.x - 4.0f, c.y - 4.0f, 8.0f, 8.0f, 1.1f);
                g.fillRect (c.x - 2.0f, c.y - 4.0f, 4.0f, 3.0f);
                g.fillRect (c.x - 2.5f, c.y + 1.0f, 5.0f, 3.0f);
                break;
            default: // a folder
            {
                juce::Path p;
                p.startNewSubPath (c.x - 4.5f, c.y + 3.5f);
                p.lineTo (c.x - 4.5f, c.y - 3.5f);
                p.lineTo (c.x - 1.5f, c.y - 3.5f);
                p.lineTo (c.x - 0.5f, c.y - 2.0f);
                p.lineTo (c.x + 4.5f, c.y - 2.0f);
                p.lineTo (c.x + 4.5f, c.y + 3.5f);
                p.closeSubPath();
                g.strokePath (p, juce::PathStrokeType (1.1f));
                break;
            }
        }
    }

    juce::Image drawBarButton (int which, bool pressed)
    {
        static const char* const names[] = { "NEW", "LOAD", "SAVE", "FOLDER" };
        auto image = blank (L::barButtonWidth, L::barButtonHeight);
        juce::Graphics g (image);

        const int shift = pressed ? 1 : 0;
        const juce::Rectangle<float> body ((float) bodyX, (float) (bodyY + shift), (float) bodyWidth, (float) bodyHeight);

        if (! pressed)
        {
            g.setColour (juce::Colours::black.withAlpha (0.6f));
            g.fillRoundedRectangle (body.translated (0.0f, 1.5f), 2.5f);
        }

        plate (g, body, pressed ? Colour (0xff1e1e22) : Colour (0xff3a3a41), 2.5f);
        if (pressed)
        {
            g.setColour (colours::orange.withAlpha (0.18f));
            g.fillRoundedRectangle (body.reduced (1.5f), 2.0f);
        }

        const auto text = pressed ? Colour (255, 200, 90) : colours::orange;
        icon (g, which, { body.getX() + 2.0f, body.getY() + 1.0f, 9.0f, body.getHeight() - 2.0f }, text);
        label (g, names[which], juce::Rectangle<int> (bodyX + 12, bodyY + shift, bodyWidth - 13, bodyHeight),
               7.5f, text, 2);
        return image;
    }

    juce::Image drawLamp (bool connected)
    {
        auto image = blank (L::lampWidth, L::lampHeight);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat();

        g.setGradientFill (juce::ColourGradient (Colour (0xff1b1b1e), 0.0f, 0.0f, Colour (0xff0a0a0b), 0.0f,
                                                 area.getHeight(), false));
        g.fillRoundedRectangle (area, 3.0f);
        led (g, { 8.5f, area.getCentreY() }, 3.6f, connected ? Colour (70, 255, 90) : Colour (255, 60, 40), connected);
        label (g, "M7c", { 15, 2, 24, 11 }, 9.5f, connected ? colours::orange : colours::orange.withAlpha (0.35f), 2);
        label (g, connected ? "ONLINE" : "OFFLINE", { 15, 12, 24, 8 }, 6.0f,
               connected ? Colour (120, 255, 130) : colours::orange.withAlpha (0.35f), 2);
        return image;
    }

    juce::Image drawThumb()
    {
        auto image = blank (L::thumbWidth, L::thumbHeight);
        juce::Graphics g (image);
        // A fader cap; its grip line lies on the slider's middle row.
        const juce::Rectangle<float> cap (0.5f, 1.5f, (float) L::thumbWidth - 1.0f, (float) L::thumbHeight - 3.0f);
        g.setGradientFill (juce::ColourGradient (Colour (0xffe8e8ea), 0.0f, cap.getY(), Colour (0xff5a5a60), 0.0f,
                                                 cap.getBottom(), false));
        g.fillRoundedRectangle (cap, 1.5f);
        g.setColour (juce::Colours::black);
        g.drawRoundedRectangle (cap, 1.5f, 1.0f);
        g.setColour (colours::orange);
        g.fillRect (1.0f, 7.0f, (float) L::thumbWidth - 2.0f, 1.0f);
        return image;
    }

    juce::Image drawMeterStrip()
    {
        auto image = juce::Image (juce::Image::ARGB, L::meterStripWidth, L::meterStripHeight, true);
        juce::Graphics g (image);
        g.fillAll (juce::Colours::black);

        // The left cap: two orange ticks that mark the channels.
        g.setColour (colours::orange);
        g.fillRect (0, 1, 3, 2);
        g.fillRect (0, 6, 3, 2);

        for (int row = 0; row < 2; ++row)
            for (int col = 4; col < L::meterStripWidth - 1; ++col)
                if ((col - 4) % 3 != 2)
                {
                    const auto c = meterColour ((float) (col - 4) / 38.0f, true);
                    g.setColour (c);
                    g.fillRect (col, row * 5, 1, 4);
                    g.setColour (juce::Colours::white.withAlpha (0.35f));
                    g.fillRect (col, row * 5, 1, 1);
                }

        // The clip lamps in the last column.
        g.setColour (Colour (255, 40, 20));
        g.fillRect (42, 0, 1, 4);
        g.fillRect (42, 5, 1, 4);
        return image;
    }

    template <int Which, bool Pressed>
    juce::Image barButton() { return drawBarButton (Which, Pressed); }

    juce::Image lampOn()  { return drawLamp (true); }
    juce::Image lampOff() { return drawLamp (false); }

    const ArtRegistration registrations[] = {
        { "bar_new.png", barButton<0, false> },
        { "bar_new_down.png", barButton<0, true> },
        { "bar_load.png", barButton<1, false> },
        { "bar_load_down.png", barButton<1, true> },
        { "bar_save.png", barButton<2, false> },
        { "bar_save_down.png", barButton<2, true> },
        { "bar_folder.png", barButton<3, false> },
        { "bar_folder_down.png", barButton<3, true> },
        { "lamp_connected.png", lampOn },
        { "lamp_unconnected.png", lampOff },
        { "slider_thumb.png", drawThumb },
        { "meter_strip.png", drawMeterStrip },
    };
} // namespace
} // namespace oxart
