// The tuner's pictures: the page with the meter's glass (the cent scale over
// the lamp arc), the note window between the arrows and the captions of the
// three button rows; the row of dark lamps, a lit lamp and the lit centre
// lamp; the arrows dark and lit; the note display blank, with the twelve
// notes and with the seven string digits as seven-segment figures; and the
// six buttons (mode and calibration down and up, normal and pressed; the two
// flat toggles, normal and lit).
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;
    using juce::Rectangle;

    const Colour glassColour (0xff070605);
    const Colour lampColour (255, 72, 24);      // off pitch
    const Colour centreColour (70, 240, 90);    // in tune
    const Colour segmentColour (255, 150, 0);

    Rectangle<int> box (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }

    /** The centre of lamp i in the page's coordinates. */
    juce::Point<float> lampCentre (int i)
    {
        const float half = (float) L::tunerLampSize * 0.5f;
        return { (float) L::tunerLampX[i] + half, (float) L::tunerLampY[i] + half };
    }

    constexpr float lampRadius = 4.6f, centreRadius = 5.4f;


    /** Dark glass sunk into the panel behind a bezel, faintly lit from above. */
    void glass (juce::Graphics& g, Rectangle<int> area, float corner, float glow = 0.07f)
    {
        const auto outer = area.expanded (4).toFloat();
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillRoundedRectangle (outer.translated (0.0f, 1.0f), corner + 2.0f);
        plate (g, outer, Colour (0xff34343a), corner + 2.0f);
        recess (g, area.expanded (2).toFloat(), glassColour, corner);

        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (area);
        g.setGradientFill (juce::ColourGradient (colours::orange.withAlpha (glow), 0.0f, (float) area.getY(),
                                                 juce::Colours::transparentBlack, 0.0f, (float) area.getBottom(), false));
        g.fillRect (area);
        g.setColour (juce::Colours::white.withAlpha (0.025f));
        g.fillRect (area.withHeight (area.getHeight() / 2));
    }

    /** A row caption: a lit marker and engraved orange lettering. */
    void caption (juce::Graphics& g, const juce::String& text, Rectangle<int> area)
    {
        led (g, { (float) area.getX() + 3.0f, (float) area.getCentreY() + 0.5f }, 2.2f, colours::orange, true);
        engraved (g, text, area.withTrimmedLeft (9), 8.5f, colours::orange, 2, juce::Justification::centredLeft);
    }

    //==============================================================================
    juce::Image drawBackground()
    {
        auto image = juce::Image (juce::Image::RGB, L::tunerWidth, L::tunerHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();

        // The display half above, the controls below, parted by a seam.
        pagePlate (g, area, 131, L::tunerModeRowY - 8);

        // The meter's glass: the lamp arc with its scale, the arrows and the note window.
        const Rectangle<int> meter (16, 12, 268, 150);
        glass (g, meter, 5.0f, 0.09f);

        // The scale over the arc: a tick over every lamp, longer every 25 cents, with the figures.
        for (int i = 0; i < L::tunerLamps; ++i)
        {
            const auto c = lampCentre (i);
            const bool major = i % 5 == 0;
            // Ticks point at the arc's centre, far below the page's middle.
            const juce::Point<float> hub (151.5f, 290.0f);
            const auto dir = (c - hub) / c.getDistanceFrom (hub);
            const float from = (i == 10 ? centreRadius : lampRadius) + 4.0f, to = from + (major ? 7.0f : 4.0f);
            g.setColour (i == 10 ? centreColour.withAlpha (0.85f) : colours::orange.withAlpha (major ? 0.8f : 0.45f));
            g.drawLine ({ c + dir * from, c + dir * to }, major ? 1.4f : 1.0f);

            if (major)
            {
                const juce::String text = i == 10 ? "0" : (i < 10 ? "-" : "+") + juce::String (std::abs (i - 10) * 5);
                const auto at = c + dir * (to + 7.0f);
                label (g, text, Rectangle<float> (28.0f, 11.0f).withCentre (at).toNearestInt(), 9.5f,
                       i == 10 ? centreColour : colours::orange, 2);
            }
        }

        // Under the arc: flat and sharp at the ends, the unit in the middle.
        const auto left = lampCentre (0), right = lampCentre (20);
        label (g, juce::CharPointer_UTF8 ("\xe2\x99\xad"), Rectangle<int> (14, 14).withCentre ({ (int) left.x + 2, (int) left.y + 17 }),
               12.0f, colours::orange.withAlpha (0.8f), 0);
        label (g, "#", Rectangle<int> (14, 14).withCentre ({ (int) right.x - 2, (int) right.y + 17 }), 11.0f,
               colours::orange.withAlpha (0.8f), 1);
        engraved (g, "CENTS", { 121, 80, 60, 10 }, 7.5f, colours::orange.withAlpha (0.55f), 2);

        // The note window, a little deeper than the meter's glass.
        const auto note = box (L::tunerNote);
        recess (g, note.expanded (3).toFloat(), Colour (0xff030302), 3.0f);
        g.setColour (Colour (0xff3e3e45));
        g.drawRoundedRectangle (note.expanded (4).toFloat(), 4.0f, 1.0f);

        // The arrows' captions below them.
        engraved (g, "TUNE UP", box (L::tunerLeftArrow).translated (-14, 35).withWidth (48).withHeight (10), 7.0f,
                  colours::orange.withAlpha (0.55f), 2);
        engraved (g, "TUNE DOWN", box (L::tunerRightArrow).translated (-14, 35).withWidth (48).withHeight (10), 7.0f,
                  colours::orange.withAlpha (0.55f), 2);

        // The three rows: captions on the left, a window for each row's value between its buttons.
        const int rows[3] = { L::tunerModeRowY, L::tunerFlatRowY, L::tunerCalibrationRowY };
        const char* captions[3] = { "TUNER MODE", "FLAT TUNING", "CALIBRATION" };
        const auto& body = L::tunerButtonBody;
        for (int r = 0; r < 3; ++r)
        {
            const int y = rows[r] + body.y;
            caption (g, captions[r], { 10, y, L::tunerButtonLeftX - 12, body.h });
            // The groove the row's buttons sit in.
            recess (g, Rectangle<float> ((float) (L::tunerButtonLeftX + body.x - 2), (float) (y - 1),
                                         (float) (L::tunerButtonRightX - L::tunerButtonLeftX + body.w + 4), (float) (body.h + 2)),
                    Colour (0xff0b0b0d), 4.0f);
        }
        for (const auto& text : { L::tunerModeText, L::tunerReferenceText })
            recess (g, box (text).expanded (1, 2).toFloat(), glassColour, 2.0f);

        // Between the flat buttons: what they do.
        const int flatY = L::tunerFlatRowY + body.y;
        const Rectangle<int> middle (L::tunerButtonLeftX + body.x + body.w + 2, flatY, L::tunerButtonRightX - L::tunerButtonLeftX - body.w - 4, body.h);
        const auto upper = middle.withHeight (body.h / 2).translated (0, 2).reduced (3, 0);
        engraved (g, juce::CharPointer_UTF8 ("\xe2\x88\x92" "2"), upper, 8.5f, colours::orange.withAlpha (0.75f), 2,
                  juce::Justification::centredLeft);
        engraved (g, juce::CharPointer_UTF8 ("\xe2\x88\x92" "1"), upper, 8.5f, colours::orange.withAlpha (0.75f), 2,
                  juce::Justification::centredRight);
        engraved (g, "SEMITONES", middle.withTrimmedTop (body.h / 2).translated (0, -1), 7.0f, colours::orange.withAlpha (0.55f), 2);

        for (const auto x : { 9.0f, (float) area.getWidth() - 10.0f })
        {
            screw (g, x, (float) L::tunerModeRowY - 1.0f, 2.2f);
            screw (g, x, (float) area.getHeight() - 10.0f, 2.2f);
        }
        return image;
    }

    //==============================================================================
    /** A lamp of the meter: unlit a dark lens that only hints at its colour; lit a
        hot lens with a wide halo, so that it reads from across the room. */
    void meterLamp (juce::Graphics& g, juce::Point<float> c, float radius, Colour colour, bool lit)
    {
        const auto lens = Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (c);
        if (lit)
        {
            const float halo = (float) L::tunerLampSize * 0.5f;
            juce::ColourGradient glow (colour.withAlpha (0.75f), c.x, c.y, colour.withAlpha (0.0f), c.x + halo, c.y, true);
            glow.addColour (0.45, colour.withAlpha (0.35f));
            g.setGradientFill (glow);
            g.fillEllipse (Rectangle<float> (halo * 2.0f, halo * 2.0f).withCentre (c));
        }

        g.setColour (juce::Colours::black);
        g.fillEllipse (lens.expanded (1.0f));
        if (lit)
        {
            juce::ColourGradient hot (Colour (255, 236, 190), c.x - radius * 0.25f, c.y - radius * 0.3f, colour, c.x + radius,
                                      c.y + radius, true);
            hot.addColour (0.3, colour.brighter (0.25f));
            g.setGradientFill (hot);
        }
        else
        {
            const auto base = colour.withMultipliedSaturation (0.6f).withMultipliedBrightness (0.13f);
            g.setGradientFill (juce::ColourGradient (base.brighter (0.2f), c.x - radius * 0.4f, c.y - radius * 0.5f,
                                                     base.darker (0.4f), c.x + radius, c.y + radius, true));
        }
        g.fillEllipse (lens);
        g.setColour (juce::Colours::white.withAlpha (lit ? 0.6f : 0.07f));
        g.fillEllipse (c.x - radius * 0.55f, c.y - radius * 0.65f, radius * 0.6f, radius * 0.45f);
    }

    /** The lamps unlit, at their places in the dark lamp row. */
    juce::Image drawDarkLamps()
    {
        auto image = blank (L::tunerLampRow.w, L::tunerLampRow.h);
        juce::Graphics g (image);
        for (int i = 0; i < L::tunerLamps; ++i)
        {
            const auto c = lampCentre (i) - juce::Point<float> ((float) L::tunerLampRow.x, (float) L::tunerLampRow.y);
            meterLamp (g, c, i == 10 ? centreRadius : lampRadius, i == 10 ? centreColour : lampColour, false);
        }
        return image;
    }

    juce::Image drawLamp (Colour colour, float radius)
    {
        auto image = blank (L::tunerLampSize, L::tunerLampSize);
        juce::Graphics g (image);
        const float half = (float) L::tunerLampSize * 0.5f;
        meterLamp (g, { half, half }, radius, colour, true);
        return image;
    }

    juce::Image lamp() { return drawLamp (lampColour, lampRadius); }
    juce::Image centreLamp() { return drawLamp (centreColour, centreRadius); }

    //==============================================================================
    /** A triangle pointing toward the note window: right for the left arrow (tune up). */
    juce::Image drawArrow (bool pointsRight, bool lit)
    {
        auto image = blank (L::tunerLeftArrow.w, L::tunerLeftArrow.h);
        juce::Graphics g (image);
        const float w = (float) image.getWidth(), h = (float) image.getHeight();
        juce::Path p;
        if (pointsRight)
            p.addTriangle (3.0f, 3.0f, w - 3.0f, h * 0.5f, 3.0f, h - 3.0f);
        else
            p.addTriangle (w - 3.0f, 3.0f, 3.0f, h * 0.5f, w - 3.0f, h - 3.0f);

        if (lit)
        {
            g.setColour (lampColour.withAlpha (0.35f));
            g.strokePath (p, juce::PathStrokeType (3.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
            g.setGradientFill (juce::ColourGradient (lampColour.brighter (0.6f), w * 0.5f, h * 0.3f, lampColour.darker (0.2f),
                                                     w * 0.5f, h, false));
        }
        else
        {
            g.setColour (lampColour.withMultipliedBrightness (0.22f).withMultipliedSaturation (0.5f));
        }
        g.fillPath (p);
        g.setColour (juce::Colours::black.withAlpha (0.8f));
        g.strokePath (p, juce::PathStrokeType (1.0f));
        return image;
    }

    juce::Image arrowLeft() { return drawArrow (true, false); }
    juce::Image arrowLeftLit() { return drawArrow (true, true); }
    juce::Image arrowRight() { return drawArrow (false, false); }
    juce::Image arrowRightLit() { return drawArrow (false, true); }

    //==============================================================================
    // Seven segments a (top), b (upper right), c (lower right), d (bottom),
    // e (lower left), f (upper left), g (middle), as bits 0 to 6.
    enum : int { sa = 1, sb = 2, sc = 4, sd = 8, se = 16, sf = 32, sg = 64 };

    juce::Path segment (int which)
    {
        // The figure's box inside the 36 x 48 picture, leaving the dot's place on the right.
        const float x0 = 5.0f, x1 = 26.0f, y0 = 5.0f, ym = 24.0f, y1 = 43.0f, t = 4.2f, half = t * 0.5f, gap = 0.8f;
        juce::Path p;
        auto horizontal = [&] (float y)
        {
            const float l = x0 + gap, r = x1 - gap;
            p.startNewSubPath (l, y);
            p.lineTo (l + half, y - half);
            p.lineTo (r - half, y - half);
            p.lineTo (r, y);
            p.lineTo (r - half, y + half);
            p.lineTo (l + half, y + half);
            p.closeSubPath();
        };
        auto vertical = [&] (float x, float top, float bottom)
        {
            const float u = top + gap, v = bottom - gap;
            p.startNewSubPath (x, u);
            p.lineTo (x + half, u + half);
            p.lineTo (x + half, v - half);
            p.lineTo (x, v);
            p.lineTo (x - half, v - half);
            p.lineTo (x - half, u + half);
            p.closeSubPath();
        };
        switch (which)
        {
            case sa: horizontal (y0); break;
            case sb: vertical (x1, y0, ym); break;
            case sc: vertical (x1, ym, y1); break;
            case sd: horizontal (y1); break;
            case se: vertical (x0, ym, y1); break;
            case sf: vertical (x0, y0, ym); break;
            default: horizontal (ym); break;
        }
        // A slight forward slant, as on a display's figures.
        p.applyTransform (juce::AffineTransform::shear (-0.08f, 0.0f).translated (0.08f * 24.0f, 0.0f));
        return p;
    }

    /** A figure of the note display: the lit segments glow, the others stay faintly visible. */
    juce::Image drawFigure (int segments, bool dot)
    {
        auto image = blank (L::tunerNote.w, L::tunerNote.h);
        juce::Graphics g (image);
        const auto off = segmentColour.withMultipliedBrightness (0.16f).withMultipliedSaturation (0.6f);

        for (int bit = sa; bit <= sg; bit <<= 1)
        {
            const auto p = segment (bit);
            if ((segments & bit) != 0)
            {
                g.setColour (segmentColour.withAlpha (0.28f));
                g.strokePath (p, juce::PathStrokeType (2.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
                g.setColour (segmentColour.brighter (0.25f));
            }
            else
            {
                g.setColour (off);
            }
            g.fillPath (p);
        }

        const Rectangle<float> point (28.5f, 39.0f, 5.0f, 5.0f);
        if (dot)
        {
            g.setColour (segmentColour.withAlpha (0.3f));
            g.fillEllipse (point.expanded (1.5f));
            g.setColour (segmentColour.brighter (0.25f));
        }
        else
        {
            g.setColour (off);
        }
        g.fillEllipse (point);
        return image;
    }

    constexpr int letterA = sa | sb | sc | se | sf | sg, letterB = sc | sd | se | sf | sg, letterC = sa | sd | se | sf,
                  letterD = sb | sc | sd | se | sg, letterE = sa | sd | se | sf | sg, letterF = sa | se | sf | sg,
                  letterG = sa | sc | sd | se | sf;

    // Notes from A: A, A#, B, C, C#, D, D#, E, F, F#, G, G# (a sharp lights the dot).
    constexpr int noteSegments[12] = { letterA, letterA, letterB, letterC, letterC, letterD,
                                       letterD, letterE, letterF, letterF, letterG, letterG };
    constexpr bool noteSharp[12] = { false, true, false, false, true, false, true, false, false, true, false, true };

    // The digits 1 to 7.
    constexpr int digitSegments[7] = { sb | sc, sa | sb | sd | se | sg, sa | sb | sc | sd | sg, sb | sc | sf | sg,
                                       sa | sc | sd | sf | sg, sa | sc | sd | se | sf | sg, sa | sb | sc };

    juce::Image blankNote() { return drawFigure (0, false); }
    template <int N> juce::Image note() { return drawFigure (noteSegments[N], noteSharp[N]); }
    template <int N> juce::Image digit() { return drawFigure (digitSegments[N], false); }

    //==============================================================================
    enum class ButtonGlyph { down, up, flat, flat2 };

    /** A button body: a dark plate with an orange glyph; pressed sits lower and
        glows; lit is an orange plate with a dark glyph and a lamp. */
    juce::Image drawButton (ButtonGlyph glyph, bool pressed, bool lit)
    {
        auto image = blank (L::tunerButtonWidth, L::tunerButtonHeight);
        juce::Graphics g (image);
        const auto& b = L::tunerButtonBody;
        auto body = Rectangle<int> (b.x, b.y, b.w, b.h).toFloat().reduced (0.5f);

        g.setColour (juce::Colours::black.withAlpha (0.65f));
        g.fillRoundedRectangle (body.translated (0.0f, 1.5f), 3.0f);
        if (pressed)
            body = body.translated (0.0f, 1.0f);
        plate (g, body, lit ? Colour (236, 140, 0) : (pressed ? Colour (0xff2a2a30) : Colour (0xff3a3a41)), 3.0f);
        if (! lit && ! pressed)
        {
            g.setColour (colours::orange.withAlpha (0.35f));
            g.fillRect (body.getX() + 4.0f, body.getY() + 1.5f, body.getWidth() - 8.0f, 1.0f);
        }

        const auto ink = lit ? Colour (0xff140a00) : (pressed ? colours::orange.brighter (0.4f) : colours::orange);
        const auto c = body.getCentre();
        g.setColour (ink);
        switch (glyph)
        {
            case ButtonGlyph::down:
            case ButtonGlyph::up:
            {
                juce::Path p;
                const float s = 6.5f, dy = glyph == ButtonGlyph::down ? 1.0f : -1.0f;
                p.addTriangle (c.x - s, c.y - dy * s * 0.6f, c.x + s, c.y - dy * s * 0.6f, c.x, c.y + dy * s * 0.75f);
                if (pressed)
                {
                    g.setColour (colours::orange.withAlpha (0.35f));
                    g.strokePath (p, juce::PathStrokeType (2.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
                    g.setColour (ink);
                }
                g.fillPath (p);
                break;
            }
            case ButtonGlyph::flat:
            case ButtonGlyph::flat2:
            {
                const juce::String flat (juce::CharPointer_UTF8 ("\xe2\x99\xad"));
                const auto text = glyph == ButtonGlyph::flat2 ? flat + flat : flat;
                g.setFont (artFont (17.0f, 0));
                g.drawText (text, body.withTrimmedBottom (5.0f).toNearestInt(), juce::Justification::centred, false);
                // The toggle's lamp under the glyph.
                led (g, { c.x, body.getBottom() - 5.0f }, 1.8f, lit ? Colour (255, 245, 200) : colours::orange, lit);
                break;
            }
        }
        return image;
    }

    juce::Image down() { return drawButton (ButtonGlyph::down, false, false); }
    juce::Image downPressed() { return drawButton (ButtonGlyph::down, true, false); }
    juce::Image up() { return drawButton (ButtonGlyph::up, false, false); }
    juce::Image upPressed() { return drawButton (ButtonGlyph::up, true, false); }
    juce::Image flat() { return drawButton (ButtonGlyph::flat, false, false); }
    juce::Image flatLit() { return drawButton (ButtonGlyph::flat, false, true); }
    juce::Image flat2() { return drawButton (ButtonGlyph::flat2, false, false); }
    juce::Image flat2Lit() { return drawButton (ButtonGlyph::flat2, false, true); }

    const ArtRegistration registrations[] = {
        { "tuner_background.png", drawBackground },
        { "tuner_lamps_dark.png", drawDarkLamps },
        { "tuner_lamp.png", lamp },
        { "tuner_lamp_centre.png", centreLamp },
        { "tuner_arrow_left.png", arrowLeft },
        { "tuner_arrow_left_lit.png", arrowLeftLit },
        { "tuner_arrow_right.png", arrowRight },
        { "tuner_arrow_right_lit.png", arrowRightLit },
        { "tuner_note_blank.png", blankNote },
        { "tuner_note_0.png", note<0> },
        { "tuner_note_1.png", note<1> },
        { "tuner_note_2.png", note<2> },
        { "tuner_note_3.png", note<3> },
        { "tuner_note_4.png", note<4> },
        { "tuner_note_5.png", note<5> },
        { "tuner_note_6.png", note<6> },
        { "tuner_note_7.png", note<7> },
        { "tuner_note_8.png", note<8> },
        { "tuner_note_9.png", note<9> },
        { "tuner_note_10.png", note<10> },
        { "tuner_note_11.png", note<11> },
        { "tuner_string_0.png", digit<0> },
        { "tuner_string_1.png", digit<1> },
        { "tuner_string_2.png", digit<2> },
        { "tuner_string_3.png", digit<3> },
        { "tuner_string_4.png", digit<4> },
        { "tuner_string_5.png", digit<5> },
        { "tuner_string_6.png", digit<6> },
        { "tuner_down.png", down },
        { "tuner_down_pressed.png", downPressed },
        { "tuner_up.png", up },
        { "tuner_up_pressed.png", upPressed },
        { "tuner_flat.png", flat },
        { "tuner_flat_lit.png", flatLit },
        { "tuner_flat2.png", flat2 },
        { "tuner_flat2_lit.png", flat2Lit },
    };
} // namespace
} // namespace oxart
