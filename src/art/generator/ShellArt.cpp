// The window's frame: the title bar with its two buttons, the 700 x 500 background
// with the frames of the five sections, and the four tabs of the tab section.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;
    using juce::Rectangle;

    const Colour pageColour (0xff18181b);
    const Colour railColour (0xff111113);

    juce::Rectangle<int> box (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }

    //==============================================================================
    juce::Image drawTitleBar()
    {
        auto image = blank (L::titleBarWidth, L::titleBarHeight);
        juce::Graphics g (image);
        const auto area = image.getBounds();

        // Anodised orange: black lettering reads on it, and it carries the product's colour.
        g.setGradientFill (juce::ColourGradient (Colour (255, 184, 64), 0.0f, 0.0f, Colour (206, 112, 0), 0.0f,
                                                 (float) area.getHeight(), false));
        g.fillRect (area);
        brush (g, area, 0.05f, 7);
        g.setColour (juce::Colours::white.withAlpha (0.45f));
        g.drawHorizontalLine (0, 0.0f, (float) area.getWidth());
        g.setColour (Colour (120, 60, 0).withAlpha (0.8f));
        g.drawHorizontalLine (area.getHeight() - 2, 0.0f, (float) area.getWidth());
        g.setColour (juce::Colours::black);
        g.drawHorizontalLine (area.getHeight() - 1, 0.0f, (float) area.getWidth());
        return image;
    }

    juce::Image drawTitleButton (bool close, bool over)
    {
        auto image = blank (L::titleButtonWidth, L::titleButtonHeight);
        juce::Graphics g (image);
        const auto body = image.getBounds().toFloat().reduced (1.0f);

        g.setColour (over ? Colour (30, 12, 0) : Colour (22, 22, 24));
        g.fillRoundedRectangle (body, 3.0f);
        g.setColour (juce::Colours::black);
        g.drawRoundedRectangle (body, 3.0f, 1.0f);
        g.setColour (juce::Colours::white.withAlpha (0.12f));
        g.drawHorizontalLine (2, body.getX() + 2.0f, body.getRight() - 2.0f);

        const auto glyph = over ? (close ? Colour (255, 90, 50) : Colour (255, 200, 90)) : colours::orange;
        g.setColour (glyph);
        const auto c = body.getCentre();
        if (close)
        {
            g.drawLine (c.x - 4.0f, c.y - 4.0f, c.x + 4.0f, c.y + 4.0f, 2.0f);
            g.drawLine (c.x - 4.0f, c.y + 4.0f, c.x + 4.0f, c.y - 4.0f, 2.0f);
        }
        else
        {
            g.fillRect (c.x - 5.0f, c.y + 2.0f, 10.0f, 2.0f);
        }
        return image;
    }

    //==============================================================================
    void drawTabRail (juce::Graphics& g)
    {
        const Rectangle<int> rail (0, 0, L::tabSection.w, L::pageArea.y);
        g.setGradientFill (juce::ColourGradient (Colour (0xff1d1d21), 0.0f, 0.0f, railColour, 0.0f,
                                                 (float) rail.getBottom(), false));
        g.fillRect (rail);
    }

    void drawPage (juce::Graphics& g)
    {
        const auto page = box (L::pageArea).toFloat().withTrimmedLeft (1.0f).withTrimmedRight (1.0f)
                              .withTrimmedBottom (1.0f);
        g.setGradientFill (juce::ColourGradient (pageColour, 0.0f, page.getY(), Colour (0xff121214), 0.0f,
                                                 page.getBottom(), false));
        g.fillRoundedRectangle (page, 3.0f);
        g.setColour (Colour (0xff3e3e45));
        g.drawRoundedRectangle (page.reduced (0.5f), 3.0f, 1.0f);
        g.setColour (juce::Colours::black);
        g.drawRoundedRectangle (page.expanded (0.5f), 3.5f, 1.0f);
    }

    void drawMeterSlot (juce::Graphics& g, int x, int y)
    {
        g.setColour (juce::Colours::black);
        g.fillRect (x - 1, y - 1, L::meterStripWidth + 2, L::meterStripHeight + 2);
        for (int row = 0; row < 2; ++row)
            for (int col = 4; col < L::meterStripWidth - 1; ++col)
                if ((col - 4) % 3 != 2)
                {
                    g.setColour (meterColour ((float) (col - 4) / 38.0f, false));
                    g.fillRect (x + col, y + row * 5, 1, 4);
                }
        // The clip lamps, unlit.
        g.setColour (Colour (70, 14, 10));
        g.fillRect (x + 42, y, 1, 4);
        g.fillRect (x + 42, y + 5, 1, 4);
        g.setColour (Colour (0xff4a4a52));
        g.drawRect (x - 2, y - 2, L::meterStripWidth + 4, L::meterStripHeight + 4, 1);
    }

    void drawToolSetBar (juce::Graphics& g)
    {
        const auto bar = box (L::toolSetBar);
        g.setGradientFill (juce::ColourGradient (Colour (0xff34343a), 0.0f, 0.0f, Colour (0xff1b1b1f), 0.0f,
                                                 (float) bar.getBottom(), false));
        g.fillRect (bar);
        brush (g, bar, 0.06f, 11);
        g.setColour (juce::Colours::white.withAlpha (0.18f));
        g.drawHorizontalLine (0, (float) bar.getX(), (float) bar.getRight());
        g.setColour (juce::Colours::black);
        g.drawVerticalLine (bar.getX(), 0.0f, (float) bar.getBottom());
        g.drawHorizontalLine (bar.getBottom() - 1, (float) bar.getX(), (float) bar.getRight());

        const int x0 = bar.getX();

        // The name window.
        const Rectangle<int> name (x0 + L::nameField.x, L::nameField.y, L::nameField.w, L::nameField.h);
        recess (g, name.expanded (2).toFloat(), juce::Colours::black, 2.0f);

        // The groove the four buttons sit in.
        const Rectangle<int> groove (x0 + 4, L::barButtonY, L::barButtonX[3] + L::barButtonWidth - 6,
                                     bar.getBottom() - L::barButtonY - 1);
        recess (g, groove.toFloat(), Colour (0xff0b0b0d), 2.0f);

        // Master level: caption and the slider's groove with its scale.
        const Rectangle<int> slider (x0 + L::masterSlider.x, L::masterSlider.y, L::masterSlider.w, L::masterSlider.h);
        engraved (g, "MASTER", { slider.getX() - 4, 5, slider.getWidth() + 8, 11 }, 8.5f, colours::orange);
        const int trackY = slider.getCentreY() - 1;
        recess (g, Rectangle<float> ((float) slider.getX() + 2.0f, (float) trackY - 1.0f,
                                     (float) slider.getWidth() - 4.0f, 4.0f), juce::Colours::black, 1.5f);
        g.setColour (colours::orange.withAlpha (0.45f));
        for (int i = 0; i <= 10; ++i)
        {
            const int x = slider.getX() + L::thumbWidth / 2 + (slider.getWidth() - L::thumbWidth) * i / 10;
            g.fillRect (x, slider.getBottom() + 1, 1, i % 5 == 0 ? 4 : 2);
        }

        // The two level meters with their captions.
        for (const auto& m : { L::inputMeter, L::outputMeter })
            drawMeterSlot (g, x0 + m.x, m.y);
        engraved (g, "IN", { x0 + L::inputMeter.x, 5, L::inputMeter.w, 11 }, 8.5f, colours::orange);
        engraved (g, "OUT", { x0 + L::outputMeter.x, 5, L::outputMeter.w, 11 }, 8.5f, colours::orange);
        g.setColour (colours::orange.withAlpha (0.4f));
        for (const auto& m : { L::inputMeter, L::outputMeter })
        {
            g.setFont (artFont (6.5f, 2));
            g.drawText ("L", x0 + m.x - 8, m.y - 1, 6, 5, juce::Justification::centredRight);
            g.drawText ("R", x0 + m.x - 8, m.y + 4, 6, 5, juce::Justification::centredRight);
        }

        // The connection lamp's window.
        recess (g, Rectangle<float> ((float) (x0 + L::lampX - 2), (float) (L::lampY - 2), L::lampWidth + 4.0f,
                                     L::lampHeight + 4.0f), Colour (0xff08080a), 3.0f);
    }

    void drawRack (juce::Graphics& g)
    {
        const auto jam = box (L::jamSection);
        g.setGradientFill (juce::ColourGradient (Colour (0xff101012), 0.0f, (float) jam.getY(), Colour (0xff070708),
                                                 0.0f, (float) jam.getBottom(), false));
        g.fillRect (jam);

        // Rack rails with their rows of holes, so that the rhythm and recorder units mount between them.
        for (const int x : { jam.getX() + 1, jam.getRight() - 13 })
        {
            const Rectangle<float> rail ((float) x, (float) jam.getY() + 1.0f, 12.0f, (float) jam.getHeight() - 2.0f);
            plate (g, rail, Colour (0xff4a4a50), 1.5f);
            for (int y = jam.getY() + 8; y < jam.getBottom() - 6; y += 15)
            {
                g.setColour (juce::Colours::black);
                g.fillRoundedRectangle (rail.getCentreX() - 2.5f, (float) y, 5.0f, 4.0f, 1.0f);
                g.setColour (juce::Colours::white.withAlpha (0.15f));
                g.drawHorizontalLine (y + 4, rail.getCentreX() - 2.0f, rail.getCentreX() + 2.0f);
            }
        }

        g.setColour (juce::Colours::black);
        g.drawRect (jam, 1);
    }

    void drawPedalboard (juce::Graphics& g)
    {
        const auto board = box (L::editorSection);
        // An aluminium frame around a carpeted floor the effect units stand on.
        plate (g, board.toFloat(), Colour (0xff8c8c92), 3.0f);
        const auto floor = board.reduced (4);
        g.setColour (Colour (0xff17181c));
        g.fillRect (floor);
        speckle (g, floor, Colour (0xff1b1d23), 0.3f, 23, 0.35f);
        g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.6f), 0.0f, (float) floor.getY(),
                                                 juce::Colours::transparentBlack, 0.0f, (float) floor.getY() + 10.0f, false));
        g.fillRect (floor);
        g.setColour (juce::Colours::black);
        g.drawRect (floor.expanded (1), 1);
        for (const auto x : { board.getX() + 6.0f, board.getRight() - 6.0f })
            for (const auto y : { board.getY() + 2.0f, board.getBottom() - 2.0f })
                screw (g, x, y, 1.5f);
    }

    void drawPedalAssign (juce::Graphics& g)
    {
        const auto panel = box (L::pedalAssignSection).withTrimmedRight (1).withTrimmedBottom (1);
        plate (g, panel.toFloat(), Colour (0xff2c2c31), 3.0f);
        brush (g, panel.reduced (2), 0.05f, 31);
        const int x0 = L::pedalAssignSection.x, y0 = L::pedalAssignSection.y;

        // The patch level knob's well and scale (the knob is drawn over it).
        const auto knob = juce::Rectangle<float> ((float) (x0 + L::assignKnob.x), (float) (y0 + L::assignKnob.y),
                                                  (float) L::assignKnob.w, (float) L::assignKnob.h);
        const auto c = knob.getCentre();
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillEllipse (c.x - 13.0f, c.y - 12.0f, 26.0f, 26.0f);
        g.setColour (colours::orange.withAlpha (0.7f));
        for (int i = 0; i <= 10; ++i)
        {
            const float a = juce::degreesToRadians (-150.0f + 30.0f * (float) i);
            const float r0 = 14.0f, r1 = i % 5 == 0 ? 17.0f : 16.0f;
            g.drawLine (c.x + r0 * std::sin (a), c.y - r0 * std::cos (a), c.x + r1 * std::sin (a), c.y - r1 * std::cos (a), 1.0f);
        }
        engraved (g, "LEVEL", { panel.getX(), y0 + 44, panel.getWidth(), 9 }, 7.0f, colours::orange);

        // The six targets of the expression pedal: an unlit lamp and a name each.
        static const char* const targets[L::assignTargets] = { "VOL", "WAH", "PITCH", "MOD", "DLY", "REV" };
        const auto lamps = juce::Rectangle<int> (x0 + L::assignLamps.x, y0 + L::assignLamps.y, L::assignLamps.w, L::assignLamps.h);
        recess (g, juce::Rectangle<float> ((float) lamps.getX() + 2.0f, (float) lamps.getY() - 1.0f, (float) panel.getRight() - (float) lamps.getX() - 5.0f,
                                           (float) (L::assignFirstLamp + L::assignLampPitch * (L::assignTargets - 1) + 6)),
                Colour (0xff0c0c0e), 2.0f);
        for (int i = 0; i < L::assignTargets; ++i)
        {
            const float y = (float) (lamps.getY() + L::assignFirstLamp + L::assignLampPitch * i);
            led (g, { (float) lamps.getX() + 7.0f, y }, 3.0f, Colour (255, 70, 30), false);
            label (g, targets[i], { lamps.getX() + 12, (int) y - 4, panel.getRight() - lamps.getX() - 14, 8 }, 6.5f,
                   colours::orange, 2, juce::Justification::centredLeft);
        }
    }

    juce::Image drawBackground()
    {
        auto image = juce::Image (juce::Image::RGB, L::mainWidth, L::mainHeight, true);
        juce::Graphics g (image);
        g.fillAll (Colour (0xff0c0c0e));
        speckle (g, image.getBounds(), Colour (0xff0f0f12), 0.08f, 3);

        drawTabRail (g);
        drawPage (g);
        drawToolSetBar (g);
        drawRack (g);
        drawPedalboard (g);
        drawPedalAssign (g);
        return image;
    }

    //==============================================================================
    /** The outline of a tab: a trapezoid whose foot lies on the page's top edge. */
    juce::Path tabShape()
    {
        const float foot = (float) (L::pageArea.y - L::tabY); // row of the page's top edge
        juce::Path p;
        p.startNewSubPath (0.5f, foot);
        p.cubicTo (6.0f, foot, 6.0f, 2.0f, 14.0f, 1.5f);
        p.lineTo ((float) L::tabWidth - 14.0f, 1.5f);
        p.cubicTo ((float) L::tabWidth - 6.0f, 2.0f, (float) L::tabWidth - 6.0f, foot, (float) L::tabWidth - 0.5f, foot);
        return p;
    }

    void tabIcon (juce::Graphics& g, int which, juce::Rectangle<float> r, Colour colour)
    {
        g.setColour (colour);
        const auto c = r.getCentre();
        switch (which)
        {
            case 0: // magnifier
                g.drawEllipse (c.x - 4.0f, c.y - 4.5f, 6.5f, 6.5f, 1.4f);
                g.drawLine (c.x + 1.6f, c.y + 1.2f, c.x + 4.5f, c.y + 4.2f, 2.0f);
                break;
            case 1: // a stack of patch cards
                for (int i = 0; i < 3; ++i)
                    g.drawRect (c.x - 4.5f + (float) i, c.y - 4.0f + (float) i * 2.0f, 8.0f, 5.0f, 1.0f);
                break;
            case 2: // tuning fork
                g.drawLine (c.x - 2.5f, c.y - 5.0f, c.x - 2.5f, c.y + 0.5f, 1.4f);
                g.drawLine (c.x + 2.5f, c.y - 5.0f, c.x + 2.5f, c.y + 0.5f, 1.4f);
                g.drawLine (c.x - 2.5f, c.y + 0.5f, c.x + 2.5f, c.y + 0.5f, 1.4f);
                g.drawLine (c.x, c.y + 0.5f, c.x, c.y + 5.0f, 1.6f);
                break;
            default: // download arrow
            {
                g.drawLine (c.x, c.y - 5.0f, c.x, c.y + 2.0f, 1.6f);
                juce::Path head;
                head.addTriangle (c.x - 3.5f, c.y, c.x + 3.5f, c.y, c.x, c.y + 4.0f);
                g.fillPath (head);
                g.fillRect (c.x - 4.5f, c.y + 4.5f, 9.0f, 1.4f);
                break;
            }
        }
    }

    juce::Image drawTab (int which, bool on)
    {
        static const char* const names[] = { "SEARCH", "LIBRARIAN", "TUNER", "DOWNLOAD" };
        auto image = blank (L::tabWidth, L::tabHeight);
        juce::Graphics g (image);
        const float foot = (float) (L::pageArea.y - L::tabY);
        auto shape = tabShape();
        auto closed = shape;
        closed.closeSubPath();

        if (on)
        {
            // The shown tab runs into its page: below the page's edge it takes the page's colour.
            g.setColour (pageColour);
            g.fillRect (1.0f, foot - 1.0f, (float) L::tabWidth - 2.0f, (float) L::tabHeight - foot + 1.0f);
            g.setGradientFill (juce::ColourGradient (Colour (0xff3c3c44), 0.0f, 0.0f, pageColour, 0.0f, foot, false));
        }
        else
        {
            g.setGradientFill (juce::ColourGradient (Colour (0xff26262b), 0.0f, 0.0f, Colour (0xff141417), 0.0f, foot, false));
        }
        g.fillPath (closed);

        g.setColour (on ? Colour (0xff56565f) : Colour (0xff3a3a41));
        g.strokePath (shape, juce::PathStrokeType (1.0f));
        if (on)
        {
            g.setColour (colours::orange);
            g.fillRect (15.0f, 2.0f, (float) L::tabWidth - 30.0f, 2.0f);
        }
        else
        {
            g.setColour (Colour (0xff3e3e45));
            g.drawHorizontalLine ((int) foot, 0.0f, (float) L::tabWidth);
        }

        // The last tab is cut 14 pixels short by the section's edge: its lettering moves left.
        const int visibleWidth = which == 3 ? L::tabWidth - 14 : L::tabWidth;
        const auto text = on ? colours::orange : colours::orange.withAlpha (0.5f);
        const juce::String name (names[which]);
        const auto font = artFont (9.5f, 2);
        const int textWidth = juce::jmin (50, font.getStringWidth (name));
        const int total = 14 + textWidth;
        const int left = (visibleWidth - total) / 2 + (which == 3 ? 3 : 0);
        tabIcon (g, which, { (float) left, 10.0f, 11.0f, 14.0f }, text);
        label (g, name, { left + 14, 10, textWidth + 1, 14 }, 9.5f, text, 2, juce::Justification::centredLeft);
        return image;
    }

    template <int Which, bool On>
    juce::Image tab() { return drawTab (Which, On); }

    juce::Image titleClose()          { return drawTitleButton (true, false); }
    juce::Image titleCloseOver()      { return drawTitleButton (true, true); }
    juce::Image titleMinimise()       { return drawTitleButton (false, false); }
    juce::Image titleMinimiseOver()   { return drawTitleButton (false, true); }

    const ArtRegistration registrations[] = {
        { "title_bar.png", drawTitleBar },
        { "title_close.png", titleClose },
        { "title_close_over.png", titleCloseOver },
        { "title_minimise.png", titleMinimise },
        { "title_minimise_over.png", titleMinimiseOver },
        { "main_background.png", drawBackground },
        { "tab_search_off.png", tab<0, false> },
        { "tab_search_on.png", tab<0, true> },
        { "tab_librarian_off.png", tab<1, false> },
        { "tab_librarian_on.png", tab<1, true> },
        { "tab_tuner_off.png", tab<2, false> },
        { "tab_tuner_on.png", tab<2, true> },
        { "tab_download_off.png", tab<3, false> },
        { "tab_download_on.png", tab<3, true> },
    };
} // namespace
} // namespace oxart
