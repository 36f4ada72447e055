// The shared control pictures ("Common" archive) and the patch level knob
// ("Assigner" archive).
#include "ModuleArt.h"

#include <cmath>

namespace oxafactory
{

juce::Font artFont (float height, int face)
{
    switch (face)
    {
        case 0:  return juce::Font ("DejaVu Sans", height, juce::Font::plain);
        case 2:  return juce::Font ("DejaVu Sans Condensed", height, juce::Font::bold);
        case 3:  return juce::Font ("Z003", height, juce::Font::plain);
        default: return juce::Font ("DejaVu Sans", height, juce::Font::bold);
    }
}

namespace
{
    constexpr int knobFrames = 49;
    constexpr float sweepDegrees = 300.0f;

    juce::Image blank (int w, int h) { return juce::Image (juce::Image::ARGB, w, h, true); }

    /** Pointer angle of a frame, in radians clockwise from straight up. */
    float frameAngle (int frame)
    {
        const float degrees = -sweepDegrees / 2.0f + sweepDegrees * (float) frame / (float) (knobFrames - 1);
        return juce::degreesToRadians (degrees);
    }

    juce::Point<float> polar (juce::Point<float> centre, float radius, float angle)
    {
        return { centre.x + radius * std::sin (angle), centre.y - radius * std::cos (angle) };
    }

    enum class KnobStyle { stomp, amp, rack, rackLarge, assigner };

    /** One knob frame: skirt, cap and pointer; rack knobs also light an orange
        arc from the start of the scale to the pointer. */
    juce::Image knobFrame (KnobStyle style, int w, int h, int frame)
    {
        auto image = blank (w, h);
        juce::Graphics g (image);
        const juce::Point<float> c (w * 0.5f, h * 0.5f);
        const float r = (float) juce::jmin (w, h) * 0.5f - 1.0f;
        const float angle = frameAngle (frame);

        auto circle = [&] (float radius) { return juce::Rectangle<float> (c.x - radius, c.y - radius, radius * 2, radius * 2); };

        // drop shadow
        g.setColour (juce::Colours::black.withAlpha (0.45f));
        g.fillEllipse (circle (r).translated (0.8f, 1.2f));

        if (style == KnobStyle::rack || style == KnobStyle::rackLarge || style == KnobStyle::assigner)
        {
            const float ringR = r - 1.0f;
            juce::Path track;
            track.addCentredArc (c.x, c.y, ringR, ringR, 0.0f, frameAngle (0), frameAngle (knobFrames - 1), true);
            g.setColour (juce::Colour (0xff3a2a10));
            g.strokePath (track, juce::PathStrokeType (2.2f));
            juce::Path lit;
            lit.addCentredArc (c.x, c.y, ringR, ringR, 0.0f, frameAngle (0), angle, true);
            g.setColour (orangeText);
            g.strokePath (lit, juce::PathStrokeType (2.2f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

            const float capR = r - 4.0f;
            g.setGradientFill (juce::ColourGradient (juce::Colour (0xff4a4a4e), c.x - capR, c.y - capR,
                                                     juce::Colour (0xff101012), c.x + capR, c.y + capR, false));
            g.fillEllipse (circle (capR));
            g.setColour (juce::Colour (0xff000000));
            g.drawEllipse (circle (capR), 1.0f);
            g.setColour (juce::Colours::white.withAlpha (0.18f));
            g.drawEllipse (circle (capR - 1.5f), 0.8f);
            g.setColour (orangeText);
            g.drawLine (juce::Line<float> (polar (c, capR * 0.35f, angle), polar (c, capR - 1.5f, angle)), 2.0f);
            return image;
        }

        if (style == KnobStyle::stomp)
        {
            // knurled black skirt
            g.setColour (juce::Colour (0xff0c0c0c));
            g.fillEllipse (circle (r));
            g.setColour (juce::Colour (0xff2c2c2c));
            for (int i = 0; i < 36; ++i)
            {
                const float a = juce::MathConstants<float>::twoPi * (float) i / 36.0f + angle;
                g.drawLine (juce::Line<float> (polar (c, r - 3.5f, a), polar (c, r - 0.5f, a)), 1.0f);
            }
            const float capR = r * 0.68f;
            g.setGradientFill (juce::ColourGradient (juce::Colour (0xffe8e8e8), c.x - capR, c.y - capR,
                                                     juce::Colour (0xff6a6a6a), c.x + capR, c.y + capR, false));
            g.fillEllipse (circle (capR));
            g.setColour (juce::Colour (0xff202020));
            g.drawEllipse (circle (capR), 1.0f);
            g.setColour (juce::Colour (0xff101010));
            g.drawLine (juce::Line<float> (polar (c, capR * 0.15f, angle), polar (c, r - 1.0f, angle)), 2.6f);
            g.setColour (juce::Colours::white);
            g.drawLine (juce::Line<float> (polar (c, capR + 0.5f, angle), polar (c, r - 1.0f, angle)), 1.6f);
            return image;
        }

        // amp knob: dark skirt with a silver cap and a pointer line
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xff3a3a3a), c.x, c.y - r,
                                                 juce::Colour (0xff050505), c.x, c.y + r, false));
        g.fillEllipse (circle (r));
        const float capR = r * 0.55f;
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xfff4f0e0), c.x - capR, c.y - capR,
                                                 juce::Colour (0xff8a8678), c.x + capR, c.y + capR, false));
        g.fillEllipse (circle (capR));
        g.setColour (juce::Colours::white);
        g.drawLine (juce::Line<float> (polar (c, capR * 0.2f, angle), polar (c, r - 1.0f, angle)), 2.0f);
        return image;
    }

    void addStrip (std::vector<NamedPicture>& out, const juce::String& base, KnobStyle style, int w, int h)
    {
        for (int f = 0; f < knobFrames; ++f)
            out.push_back ({ base + juce::String::formatted ("%02d", f), knobFrame (style, w, h, f) });
    }

    /** A round lamp, dark or lit. */
    juce::Image lamp (int size, juce::Colour colour, bool on, bool jewel)
    {
        auto image = blank (size, size);
        juce::Graphics g (image);
        const auto area = juce::Rectangle<float> (0.5f, 0.5f, size - 1.0f, size - 1.0f);
        g.setColour (juce::Colour (0xff0a0a0a));
        g.fillEllipse (area);
        const auto inner = area.reduced (jewel ? 2.0f : 1.2f);
        const auto core = on ? colour : colour.darker (2.2f).withSaturation (0.6f);
        g.setGradientFill (juce::ColourGradient (on ? core.brighter (0.9f) : core.brighter (0.3f),
                                                 inner.getCentreX(), inner.getCentreY() - inner.getHeight() * 0.2f,
                                                 core.darker (on ? 0.2f : 0.5f), inner.getCentreX(), inner.getBottom(), true));
        g.fillEllipse (inner);
        if (jewel)
        {
            g.setColour (juce::Colours::black.withAlpha (0.35f));
            for (int i = 0; i < 4; ++i)
            {
                const float a = juce::MathConstants<float>::pi * (float) i / 4.0f;
                const auto mid = inner.getCentre();
                g.drawLine (juce::Line<float> (polar (mid, inner.getWidth() * 0.5f, a),
                                               polar (mid, inner.getWidth() * 0.5f, a + juce::MathConstants<float>::pi)), 0.6f);
            }
        }
        g.setColour (juce::Colours::white.withAlpha (on ? 0.8f : 0.3f));
        g.fillEllipse (inner.getX() + inner.getWidth() * 0.22f, inner.getY() + inner.getHeight() * 0.15f,
                       inner.getWidth() * 0.3f, inner.getHeight() * 0.25f);
        return image;
    }

    /** The stomp box foot switch: a chrome nut with the button, pushed down in frame 1. */
    juce::Image footSwitch (bool pressed)
    {
        const int size = 30;
        auto image = blank (size, size);
        juce::Graphics g (image);
        const juce::Point<float> c (15.0f, 15.0f);
        juce::Path hex;
        for (int i = 0; i < 6; ++i)
        {
            const auto p = polar (c, 14.0f, juce::MathConstants<float>::pi * (float) i / 3.0f + 0.52f);
            i == 0 ? hex.startNewSubPath (p) : hex.lineTo (p);
        }
        hex.closeSubPath();
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xffd8d8d8), 2, 2, juce::Colour (0xff505050), 28, 28, false));
        g.fillPath (hex);
        g.setColour (juce::Colour (0xff202020));
        g.strokePath (hex, juce::PathStrokeType (1.0f));
        const float br = pressed ? 8.0f : 9.0f;
        g.setGradientFill (juce::ColourGradient (juce::Colour (pressed ? 0xff9a9a9a : 0xfff8f8f8), c.x - br, c.y - br,
                                                 juce::Colour (0xff404040), c.x + br, c.y + br, false));
        g.fillEllipse (c.x - br, c.y - br, br * 2, br * 2);
        g.setColour (juce::Colour (0xff181818));
        g.drawEllipse (c.x - br, c.y - br, br * 2, br * 2, 1.0f);
        return image;
    }

    /** A square push button, lit orange around its face while pressed. */
    juce::Image pushButton (int w, int h, bool pressed, bool round)
    {
        auto image = blank (w, h);
        juce::Graphics g (image);
        auto area = juce::Rectangle<float> (0.5f, 0.5f, w - 1.0f, h - 1.0f);
        auto draw = [&] (juce::Rectangle<float> r) {
            if (round)
                g.fillEllipse (r);
            else
                g.fillRoundedRectangle (r, 2.0f);
        };
        g.setColour (juce::Colour (0xff050505));
        draw (area);
        const auto face = area.reduced (pressed ? 2.0f : 1.5f);
        g.setGradientFill (juce::ColourGradient (juce::Colour (round ? 0xffe0e0e0 : 0xff5a5a5e), face.getX(), face.getY(),
                                                 juce::Colour (round ? 0xff606060 : 0xff1a1a1c), face.getRight(), face.getBottom(), false));
        draw (face);
        if (pressed)
        {
            g.setColour (orangeText.withAlpha (0.8f));
            if (round)
                g.drawEllipse (face, 1.2f);
            else
                g.drawRoundedRectangle (face, 2.0f, 1.2f);
        }
        return image;
    }

    /** A selector key that lights when its value is chosen. */
    juce::Image selectorKey (bool lit)
    {
        auto image = blank (28, 14);
        juce::Graphics g (image);
        g.setColour (juce::Colour (0xff050505));
        g.fillRoundedRectangle (0.5f, 0.5f, 27.0f, 13.0f, 3.0f);
        g.setColour (lit ? orangeText : juce::Colour (0xff3a2e1c));
        g.fillRoundedRectangle (3.0f, 3.0f, 22.0f, 8.0f, 2.0f);
        if (lit)
        {
            g.setColour (juce::Colours::white.withAlpha (0.5f));
            g.fillRoundedRectangle (5.0f, 4.0f, 12.0f, 2.0f, 1.0f);
        }
        return image;
    }

    /** A step key with an arrow, darker while pressed. */
    juce::Image stepKey (bool up, bool pressed)
    {
        auto image = pushButton (16, 12, pressed, false);
        juce::Graphics g (image);
        juce::Path arrow;
        if (up)
            arrow.addTriangle (8.0f, 3.0f, 4.0f, 8.5f, 12.0f, 8.5f);
        else
            arrow.addTriangle (8.0f, 9.0f, 4.0f, 3.5f, 12.0f, 3.5f);
        g.setColour (pressed ? orangeText : orangeText.withAlpha (0.75f));
        g.fillPath (arrow);
        return image;
    }

    /** A slider knob (fader cap); with a lamp in the middle for the LED slider. */
    juce::Image sliderCap (int lampState)
    {
        auto image = blank (18, 10);
        juce::Graphics g (image);
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xffe8e8e8), 0, 0, juce::Colour (0xff5a5a5a), 0, 10, false));
        g.fillRoundedRectangle (0.5f, 0.5f, 17.0f, 9.0f, 2.0f);
        g.setColour (juce::Colour (0xff101010));
        g.drawRoundedRectangle (0.5f, 0.5f, 17.0f, 9.0f, 2.0f, 1.0f);
        if (lampState < 0)
        {
            g.setColour (juce::Colour (0xff101010));
            g.fillRect (2.0f, 4.5f, 14.0f, 1.2f);
        }
        else
        {
            g.setColour (lampState == 1 ? orangeText : juce::Colour (0xff4a3a20));
            g.fillRoundedRectangle (4.0f, 3.5f, 10.0f, 3.0f, 1.0f);
        }
        return image;
    }

    /** One digit of a seven-segment display, showing `digit` (1..9). */
    juce::Image sevenSegment (int digit)
    {
        static const int segments[10] = { 0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f };
        auto image = juce::Image (juce::Image::ARGB, 22, 32, true);
        juce::Graphics g (image);
        g.setColour (juce::Colour (0xff080604));
        g.fillRoundedRectangle (0.0f, 0.0f, 22.0f, 32.0f, 2.0f);
        const float x0 = 5.0f, x1 = 17.0f, y0 = 4.0f, y1 = 16.0f, y2 = 28.0f, t = 2.4f;
        const juce::Line<float> lines[7] = { { x0 + 1, y0, x1 - 1, y0 }, { x1, y0 + 1, x1, y1 - 1 }, { x1, y1 + 1, x1, y2 - 1 },
                                             { x0 + 1, y2, x1 - 1, y2 }, { x0, y1 + 1, x0, y2 - 1 }, { x0, y0 + 1, x0, y1 - 1 },
                                             { x0 + 1, y1, x1 - 1, y1 } };
        for (int s = 0; s < 7; ++s)
        {
            const bool on = (segments[digit] >> s) & 1;
            g.setColour (on ? orangeText : juce::Colour (0xff2a1a08));
            g.drawLine (lines[s], t);
        }
        return image;
    }
} // namespace

std::vector<NamedPicture> commonPictures()
{
    std::vector<NamedPicture> out;
    addStrip (out, "KnobStomp", KnobStyle::stomp, 38, 38);
    addStrip (out, "KnobAmp", KnobStyle::amp, 30, 30);
    addStrip (out, "KnobRack", KnobStyle::rack, 30, 30);
    addStrip (out, "KnobRackL", KnobStyle::rackLarge, 40, 40);

    for (int f = 0; f < 2; ++f)
    {
        const bool on = f == 1;
        const auto n = juce::String::formatted ("%02d", f);
        out.push_back ({ "LedRed" + n, lamp (10, juce::Colour (0xffff2a1a), on, false) });
        out.push_back ({ "LedOrange" + n, lamp (8, orangeText, on, false) });
        out.push_back ({ "Jewel" + n, lamp (14, juce::Colour (0xffff3020), on, true) });
        out.push_back ({ "FootSw" + n, footSwitch (on) });
        out.push_back ({ "AmpBtn" + n, pushButton (14, 14, on, true) });
        out.push_back ({ "PushBtn" + n, pushButton (22, 12, on, false) });
        out.push_back ({ "SelBtn" + n, selectorKey (on) });
        out.push_back ({ "IncUp" + n, stepKey (true, on) });
        out.push_back ({ "IncDn" + n, stepKey (false, on) });
        out.push_back ({ "SliderLed" + n, sliderCap (f) });
    }
    out.push_back ({ "SliderCap", sliderCap (-1) });

    for (int f = 0; f < 9; ++f)
        out.push_back ({ "Seg" + juce::String::formatted ("%02d", f), sevenSegment (f + 1) });

    return out;
}

std::vector<NamedPicture> assignerPictures()
{
    std::vector<NamedPicture> out;
    addStrip (out, "M-", KnobStyle::assigner, 32, 34);
    return out;
}

} // namespace oxafactory
