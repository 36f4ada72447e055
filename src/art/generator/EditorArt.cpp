// The effect editor's own pictures: the pedalboard the units stand on (slats
// covered with dark hook-and-loop, tiled sideways), the cable that joins the
// units with its plugs and its end, the aluminium frame over the board, the two
// scroll buttons, and the pedal-assign strip's button and target lamps.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;

    const Colour velcro (0xff1c1d22);
    const Colour gapColour (0xff060607);

    //==============================================================================
    /** Four slats with dark gaps between them; the velcro's fibres are fine speckles. */
    juce::Image drawFloor()
    {
        juce::Image image (juce::Image::ARGB, L::floorTileWidth, L::floorTileHeight, true);
        juce::Graphics g (image);
        g.fillAll (gapColour);

        constexpr int slatTops[] = { 0, 37, 73, 109 };
        constexpr int slatHeight = 32;
        for (int top : slatTops)
        {
            const juce::Rectangle<int> slat (0, top, L::floorTileWidth, juce::jmin (slatHeight, L::floorTileHeight - top));
            g.setGradientFill (juce::ColourGradient (velcro.brighter (0.12f), 0.0f, (float) slat.getY(),
                                                     velcro.darker (0.25f), 0.0f, (float) slat.getBottom(), false));
            g.fillRect (slat);
            speckle (g, slat, velcro, 0.55f, 97 + top, 0.45f);
            // The slat's rounded aluminium edges peek out above and below the covering.
            g.setColour (Colour (0xff5a5c62).withAlpha (0.55f));
            g.drawHorizontalLine (slat.getY(), 0.0f, (float) L::floorTileWidth);
            g.setColour (juce::Colours::black.withAlpha (0.7f));
            g.drawHorizontalLine (slat.getBottom() - 1, 0.0f, (float) L::floorTileWidth);
        }
        return image;
    }

    /** The cable's cross-section drawn along a path: rubber, a highlight, a shadow on the board. */
    void strokeCable (juce::Graphics& g, const juce::Path& path)
    {
        g.setColour (juce::Colours::black.withAlpha (0.45f));
        g.strokePath (path, juce::PathStrokeType (9.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded),
                      juce::AffineTransform::translation (0.0f, 5.0f));
        g.setColour (Colour (0xff0d0d0f));
        g.strokePath (path, juce::PathStrokeType (7.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        g.setColour (Colour (0xff3a3b42));
        g.strokePath (path, juce::PathStrokeType (1.6f), juce::AffineTransform::translation (0.0f, -1.8f));
    }

    juce::Image drawCable()
    {
        auto image = blank (L::cableWidth, L::cableHeight);
        juce::Graphics g (image);
        juce::Path line;
        line.startNewSubPath (-10.0f, (float) L::cableLine);
        line.lineTo ((float) L::cableWidth + 10.0f, (float) L::cableLine);
        strokeCable (g, line);
        return image;
    }

    /** The cable leaves the board downwards, towards the amplifier. */
    juce::Image drawCableEnd()
    {
        auto image = blank (L::cableWidth, L::cableHeight);
        juce::Graphics g (image);
        juce::Path line;
        line.startNewSubPath (-10.0f, (float) L::cableLine);
        line.cubicTo (20.0f, (float) L::cableLine, 36.0f, (float) L::cableLine + 2.0f, 40.0f, (float) L::cableHeight + 8.0f);
        strokeCable (g, line);
        return image;
    }

    /** A right-angle jack plug seen from above; `intoRight`: its tip points to the right (an input jack). */
    juce::Image drawPlug (bool intoRight)
    {
        auto image = blank (L::plugWidth, L::plugHeight);
        juce::Graphics g (image);
        const float row = L::plugHeight / 2.0f;

        // Drawn for a tip on the right, then mirrored for an output.
        if (! intoRight)
            g.addTransform (juce::AffineTransform::scale (-1.0f, 1.0f).translated ((float) L::plugWidth, 0.0f));

        juce::Path lead;
        lead.startNewSubPath (-10.0f, row);
        lead.lineTo (10.0f, row);
        strokeCable (g, lead);

        // Strain relief, boot and sleeve.
        g.setColour (Colour (0xff141416));
        g.fillRoundedRectangle (6.0f, row - 4.0f, 6.0f, 8.0f, 2.0f);
        const juce::Rectangle<float> boot (11.0f, row - 7.0f, 13.0f, 14.0f);
        g.setGradientFill (juce::ColourGradient (Colour (0xff3c3d44), 0.0f, boot.getY(), Colour (0xff0b0b0d), 0.0f,
                                                 boot.getBottom(), false));
        g.fillRoundedRectangle (boot, 3.0f);
        g.setColour (juce::Colours::black);
        g.drawRoundedRectangle (boot, 3.0f, 1.0f);
        g.setColour (colours::orange.withAlpha (0.8f));
        g.fillRect (boot.getX() + 3.0f, boot.getY() + 2.0f, 1.5f, boot.getHeight() - 4.0f);

        const juce::Rectangle<float> sleeve (24.0f, row - 4.5f, 9.0f, 9.0f);
        g.setGradientFill (juce::ColourGradient (Colour (0xffe8e8ec), 0.0f, sleeve.getY(), Colour (0xff6a6c72), 0.0f,
                                                 sleeve.getBottom(), false));
        g.fillRect (sleeve);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.drawRect (sleeve, 0.8f);
        for (float x : { 26.5f, 29.5f })
            g.drawVerticalLine ((int) x, sleeve.getY() + 1.0f, sleeve.getBottom() - 1.0f);
        return image;
    }

    juce::Image plugIn() { return drawPlug (true); }
    juce::Image plugOut() { return drawPlug (false); }

    /** The board's aluminium rim over the edges of the floor; the corners
        outside the rim take the window's colour. */
    juce::Image drawFrame()
    {
        const auto& b = L::editorSection;
        auto image = blank (b.w, b.h);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat();
        constexpr float corner = 4.0f, rim = 4.0f;

        juce::Path outside;
        outside.addRectangle (area);
        outside.setUsingNonZeroWinding (false);
        outside.addRoundedRectangle (area, corner);
        g.setColour (Colour (0xff0c0c0e));
        g.fillPath (outside);

        juce::Path ring;
        ring.addRoundedRectangle (area, corner);
        ring.addRoundedRectangle (area.reduced (rim), 2.0f);
        ring.setUsingNonZeroWinding (false);
        g.setGradientFill (juce::ColourGradient (Colour (0xffb4b6bc), 0.0f, 0.0f, Colour (0xff55575c), 0.0f,
                                                 area.getBottom(), false));
        g.fillPath (ring);
        g.setColour (juce::Colours::black.withAlpha (0.85f));
        g.drawRoundedRectangle (area.reduced (0.5f), corner, 1.0f);
        g.drawRoundedRectangle (area.reduced (rim - 0.5f), 2.0f, 1.0f);
        g.setColour (juce::Colours::white.withAlpha (0.35f));
        g.drawHorizontalLine (1, corner, area.getWidth() - corner);

        // The board's front edge casts a little shade onto the floor behind the rim.
        g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.55f), 0.0f, rim,
                                                 juce::Colours::transparentBlack, 0.0f, rim + 9.0f, false));
        g.fillRect (area.reduced (rim).withHeight (9.0f));

        for (const auto x : { 8.0f, area.getWidth() - 8.0f })
            for (const auto y : { 2.0f, area.getHeight() - 2.0f })
                screw (g, x, y, 1.5f);
        return image;
    }

    //==============================================================================
    juce::Image drawScrollButton (bool left, bool down)
    {
        auto image = blank (L::scrollButtonWidth, L::scrollButtonHeight);
        juce::Graphics g (image);
        const auto body = image.getBounds().toFloat().reduced (1.5f);
        g.setColour (juce::Colours::black.withAlpha (0.55f));
        g.fillRoundedRectangle (body.translated (0.0f, 1.5f), 5.0f);
        plate (g, body, down ? Colour (0xff202024) : Colour (0xff3a3b42), 5.0f);

        const auto c = body.getCentre().translated (0.0f, down ? 1.0f : 0.0f);
        juce::Path arrow;
        const float d = left ? -1.0f : 1.0f;
        arrow.addTriangle (c.x + 5.0f * d, c.y, c.x - 4.0f * d, c.y - 7.0f, c.x - 4.0f * d, c.y + 7.0f);
        g.setColour (juce::Colours::black);
        g.strokePath (arrow, juce::PathStrokeType (2.0f));
        g.setColour (down ? colours::orange.brighter (0.3f) : colours::orange);
        g.fillPath (arrow);
        return image;
    }

    juce::Image leftUp() { return drawScrollButton (true, false); }
    juce::Image leftDown() { return drawScrollButton (true, true); }
    juce::Image rightUp() { return drawScrollButton (false, false); }
    juce::Image rightDown() { return drawScrollButton (false, true); }

    //==============================================================================
    /** The assign button: a small rubber key with its label, inside the 42
        pixels of the strip it shows in. */
    juce::Image drawAssignButton (bool down)
    {
        auto image = blank (L::assignButton.w, L::assignButton.h);
        juce::Graphics g (image);
        const juce::Rectangle<float> key (3.0f, 4.0f, 33.0f, 22.0f);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillRoundedRectangle (key.translated (0.0f, 2.0f), 4.0f);
        const auto pressed = key.translated (0.0f, down ? 1.5f : 0.0f);
        plate (g, pressed, down ? Colour (0xff1e1e22) : Colour (0xff44454d), 4.0f);
        engraved (g, "ASSIGN", pressed.toNearestInt().reduced (1, 0), 7.5f, down ? colours::orange.brighter (0.3f) : colours::orange);
        return image;
    }

    juce::Image assignUp() { return drawAssignButton (false); }
    juce::Image assignDown() { return drawAssignButton (true); }

    /** The lamps of the six targets, one lit. */
    juce::Image drawLamp (int lit)
    {
        auto image = blank (L::assignLamps.w, L::assignLamps.h);
        juce::Graphics g (image);
        const float y = (float) (L::assignFirstLamp + L::assignLampPitch * lit);
        led (g, { 7.0f, y }, 3.0f, Colour (255, 70, 30), true);
        return image;
    }

    template <int Lit>
    juce::Image lamp() { return drawLamp (Lit); }

    const ArtRegistration registrations[] = {
        { "fx_floor.png", drawFloor },
        { "fx_cable.png", drawCable },
        { "fx_cable_end.png", drawCableEnd },
        { "fx_plug_in.png", plugIn },
        { "fx_plug_out.png", plugOut },
        { "fx_frame.png", drawFrame },
        { "fx_left.png", leftUp },
        { "fx_left_down.png", leftDown },
        { "fx_right.png", rightUp },
        { "fx_right_down.png", rightDown },
        { "assign_button.png", assignUp },
        { "assign_button_down.png", assignDown },
        { "assign_lamp_1.png", lamp<0> },
        { "assign_lamp_2.png", lamp<1> },
        { "assign_lamp_3.png", lamp<2> },
        { "assign_lamp_4.png", lamp<3> },
        { "assign_lamp_5.png", lamp<4> },
        { "assign_lamp_6.png", lamp<5> },
    };
} // namespace
} // namespace oxart
