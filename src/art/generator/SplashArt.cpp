// The splash (also the version window's picture), the CPU meter's background and
// lit bar, and the program's icon for the desktop.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;

    /** A guitar neck running across the picture: rosewood, frets, dots and six strings. */
    void neck (juce::Graphics& g, juce::Rectangle<int> area)
    {
        g.setGradientFill (juce::ColourGradient (Colour (0xff3a2416), 0.0f, (float) area.getY(), Colour (0xff1a0f08), 0.0f,
                                                 (float) area.getBottom(), false));
        g.fillRect (area);
        speckle (g, area, Colour (0xff2c1b10), 0.25f, 77);

        // Frets close up towards the body (the right), as on a real neck.
        float x = (float) area.getX() - 30.0f;
        float spacing = 74.0f;
        int fret = 0;
        while (x < (float) area.getRight())
        {
            const float mid = x + spacing * 0.5f;
            if (fret == 3 || fret == 5 || fret == 7 || fret == 9)
            {
                g.setColour (Colour (0xffe8e0cc));
                g.fillEllipse (mid - 3.5f, (float) area.getCentreY() - 3.5f, 7.0f, 7.0f);
            }
            x += spacing;
            spacing *= 0.944f;
            ++fret;
            g.setGradientFill (juce::ColourGradient (Colour (0xfff0f0f0), x - 1.5f, 0.0f, Colour (0xff707070), x + 1.5f,
                                                     0.0f, false));
            g.fillRect (x - 1.5f, (float) area.getY(), 3.0f, (float) area.getHeight());
        }

        for (int s = 0; s < 6; ++s)
        {
            const float y = (float) area.getY() + 6.0f + (float) s * ((float) area.getHeight() - 12.0f) / 5.0f;
            const float thickness = 0.8f + 0.35f * (float) s;
            g.setColour (juce::Colours::black.withAlpha (0.5f));
            g.fillRect ((float) area.getX(), y + 1.0f, (float) area.getWidth(), thickness);
            g.setGradientFill (juce::ColourGradient (Colour (0xfff4f4f4), 0.0f, y, Colour (0xff8a8a8a), 0.0f,
                                                     y + thickness, false));
            g.fillRect ((float) area.getX(), y, (float) area.getWidth(), thickness);
        }

        g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.7f), 0.0f, (float) area.getY(),
                                                 juce::Colours::transparentBlack, 0.0f, (float) area.getY() + 8.0f, false));
        g.fillRect (area);
    }

    juce::Image drawSplash()
    {
        auto image = juce::Image (juce::Image::RGB, L::splashWidth, L::splashHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();

        g.setGradientFill (juce::ColourGradient (Colour (0xff26262b), 0.0f, 0.0f, Colour (0xff09090a), 0.0f, 150.0f, false));
        g.fillRect (area);
        brush (g, area.withHeight (150), 0.05f, 5);

        // The name plate: heavy orange letters with a dark drop shadow and a glow behind them.
        g.setGradientFill (juce::ColourGradient (colours::orange.withAlpha (0.22f), 110.0f, 58.0f,
                                                 colours::orange.withAlpha (0.0f), 260.0f, 58.0f, true));
        g.fillRect (0, 0, L::splashWidth, 140);
        const auto logo = artFont (76.0f, 1);
        g.setFont (logo);
        g.setColour (juce::Colours::black.withAlpha (0.8f));
        g.drawText ("OXA", 29, 19, 200, 84, juce::Justification::centredLeft);
        g.setGradientFill (juce::ColourGradient (juce::Colour (255, 200, 80), 0.0f, 24.0f, juce::Colour (225, 120, 0),
                                                 0.0f, 92.0f, false));
        g.drawText ("OXA", 26, 16, 200, 84, juce::Justification::centredLeft);
        const int toolsX = 32 + logo.getStringWidth ("OXA");
        g.setFont (artFont (38.0f, 1));
        g.setColour (juce::Colours::white.withAlpha (0.92f));
        g.drawText ("TOOLS", toolsX, 40, 200, 56, juce::Justification::centredLeft);
        g.setColour (colours::orange);
        g.fillRect (30, 100, 392, 2);
        label (g, "Editor, librarian and practice station for the M7c",
               { 30, 106, 392, 18 }, 12.5f, juce::Colour (0xffb8b8c0), 0, juce::Justification::centredLeft);

        neck (g, { 0, 140, L::splashWidth, 76 });

        // The foot of the picture carries the version text (drawn by the program) and the maker's mark.
        g.setColour (Colour (0xff060607));
        g.fillRect (0, 216, L::splashWidth, L::splashHeight - 216);
        g.setColour (colours::orange.withAlpha (0.8f));
        g.fillRect (0, 216, L::splashWidth, 1);
        label (g, "VELD", { L::splashWidth - 110, 236, 96, 30 }, 24.0f, colours::orange, 2,
               juce::Justification::centredRight);
        label (g, "M7c GUITAR MULTI-EFFECTS", { L::splashWidth - 210, 262, 196, 12 }, 8.5f,
               juce::Colour (0xff8a8a92), 2, juce::Justification::centredRight);
        g.setColour (juce::Colours::black);
        g.drawRect (area, 1);
        return image;
    }

    juce::Image drawCpuBackground()
    {
        auto image = juce::Image (juce::Image::RGB, L::cpuMeterWidth, L::cpuMeterHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();
        g.setGradientFill (juce::ColourGradient (Colour (0xff303036), 0.0f, 0.0f, Colour (0xff141417), 0.0f,
                                                 (float) area.getHeight(), false));
        g.fillRect (area);
        brush (g, area, 0.05f, 13);
        engraved (g, "CPU", { 8, 3, 38, 17 }, 12.0f, colours::orange, 2, juce::Justification::centredLeft);

        // The slot the bar lights in, with its unlit segments.
        const juce::Rectangle<int> slot (L::cpuBarX, L::cpuBarY, L::cpuBarWidth, L::cpuBarHeight);
        g.setColour (juce::Colours::black);
        g.fillRect (slot.expanded (2));
        for (int x = 0; x < L::cpuBarWidth; ++x)
            if (x % 3 != 2)
            {
                g.setColour (meterColour ((float) x / (float) (L::cpuBarWidth - 1), false));
                g.fillRect (slot.getX() + x, slot.getY(), 1, slot.getHeight());
            }
        g.setColour (Colour (0xff4a4a52));
        g.drawRect (slot.expanded (3), 1);

        label (g, "0", { slot.getRight() + 6, 3, 8, 17 }, 8.0f, colours::orange.withAlpha (0.5f), 2);
        label (g, "LOAD", { slot.getRight() + 16, 3, 40, 17 }, 9.0f, colours::orange.withAlpha (0.7f), 2,
               juce::Justification::centredLeft);
        g.setColour (juce::Colours::black);
        g.drawRect (area, 1);
        return image;
    }

    juce::Image drawCpuBar()
    {
        auto image = juce::Image (juce::Image::ARGB, L::cpuBarWidth, L::cpuBarHeight, true);
        juce::Graphics g (image);
        g.fillAll (juce::Colours::black);
        for (int x = 0; x < L::cpuBarWidth; ++x)
            if (x % 3 != 2)
            {
                g.setColour (meterColour ((float) x / (float) (L::cpuBarWidth - 1), true));
                g.fillRect (x, 0, 1, L::cpuBarHeight);
                g.setColour (juce::Colours::white.withAlpha (0.35f));
                g.fillRect (x, 0, 1, 1);
            }
        return image;
    }

    /** The program's icon: an orange stomp box with its display and two knobs. */
    juce::Image drawIcon (int size)
    {
        auto image = blank (size, size);
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale ((float) size / 256.0f));

        g.setColour (Colour (0xff141416));
        g.fillRoundedRectangle (8.0f, 8.0f, 240.0f, 240.0f, 44.0f);
        g.setColour (Colour (0xff3a3a40));
        g.drawRoundedRectangle (8.0f, 8.0f, 240.0f, 240.0f, 44.0f, 4.0f);

        const juce::Rectangle<float> box (58.0f, 30.0f, 140.0f, 196.0f);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillRoundedRectangle (box.translated (0.0f, 6.0f), 18.0f);
        plate (g, box, Colour (230, 130, 0), 18.0f);

        for (const auto x : { 94.0f, 162.0f })
        {
            const juce::Rectangle<float> knob (x - 20.0f, 46.0f, 40.0f, 40.0f);
            g.setColour (juce::Colours::black.withAlpha (0.5f));
            g.fillEllipse (knob.translated (0.0f, 3.0f));
            g.setGradientFill (juce::ColourGradient (Colour (0xff4a4a50), knob.getX(), knob.getY(), Colour (0xff101012),
                                                     knob.getRight(), knob.getBottom(), false));
            g.fillEllipse (knob);
            g.setColour (juce::Colours::white);
            g.drawLine (x, knob.getCentreY(), x + 11.0f, knob.getY() + 7.0f, 5.0f);
        }

        const juce::Rectangle<float> display (76.0f, 102.0f, 104.0f, 44.0f);
        g.setColour (juce::Colours::black);
        g.fillRoundedRectangle (display, 6.0f);
        g.setColour (colours::orange);
        g.setFont (artFont (36.0f, 2));
        g.drawText ("OXA", display, juce::Justification::centred);

        const juce::Rectangle<float> foot (88.0f, 164.0f, 80.0f, 44.0f);
        g.setGradientFill (juce::ColourGradient (Colour (0xffe0e0e0), 0.0f, foot.getY(), Colour (0xff707070), 0.0f,
                                                 foot.getBottom(), false));
        g.fillRoundedRectangle (foot, 10.0f);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.drawRoundedRectangle (foot, 10.0f, 2.0f);
        return image;
    }

    juce::Image icon256() { return drawIcon (256); }
    juce::Image icon48()  { return drawIcon (48); }

    const ArtRegistration registrations[] = {
        { "splash.png", drawSplash },
        { "cpu_background.png", drawCpuBackground },
        { "cpu_bar.png", drawCpuBar },
        { "icon_256.png", icon256 },
        { "icon_48.png", icon48 },
    };
} // namespace
} // namespace oxart
