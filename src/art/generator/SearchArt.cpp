// The search page's pictures: the page with its free-word strip, the keyword
// display and the two result displays; the white free-text frame with its
// magnifier; the three buttons (plain and lit); and the small pictures of the
// result cells (number frame, the character chart's pentagon, tempo mark,
// play and stop spots and the three frames of the running light).
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;
    using juce::Rectangle;

    const Colour grooveColour (0xff0b0b0d);

    Rectangle<int> box (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }


    /** A magnifying glass in line art. */
    void magnifier (juce::Graphics& g, Rectangle<float> r, Colour colour)
    {
        const float s = juce::jmin (r.getWidth(), r.getHeight());
        const float lens = s * 0.62f;
        g.setColour (colour);
        g.drawEllipse (r.getX() + 0.5f, r.getY() + 0.5f, lens, lens, juce::jmax (1.0f, s * 0.13f));
        g.drawLine (r.getX() + lens * 0.9f, r.getY() + lens * 0.9f, r.getX() + s - 0.5f, r.getY() + s - 0.5f,
                    juce::jmax (1.4f, s * 0.18f));
    }

    //==============================================================================
    juce::Image drawSearchBackground()
    {
        auto image = juce::Image (juce::Image::RGB, L::searchWidth, L::searchHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();

        // A seam between the words and the results.
        pagePlate (g, area, 97, L::searchWordGrid.bottom() + 3);

        const auto grid = box (L::searchWordGrid);
        const auto patches = box (L::searchPatchList);
        const auto rhythms = box (L::searchRhythmList);

        // The top strip: what the page does.
        listHeading (g, "KEYWORD SEARCH", "PICK WORDS OR TYPE", { grid.getX() - 2, 2, grid.getWidth() + 2, 11 });

        // The free-word row: its caption, and the groove the field and CLEAR sit in.
        const auto& frame = L::searchFreeTextFrame;
        recess (g, Rectangle<float> ((float) frame.x - 3.0f, (float) frame.y - 2.0f, (float) (L::searchClearButton.right() - frame.x) + 4.0f,
                                     (float) frame.h + 4.0f),
                grooveColour, 3.0f);
        engraved (g, "FREE WORD", { grid.getX() - 2, frame.y, frame.x - grid.getX() - 4, frame.h }, 8.5f,
                  colours::orange.withAlpha (0.85f), 2, juce::Justification::centredLeft);

        glassWindow (g, grid, 2);
        glassWindow (g, patches, 4);
        glassWindow (g, rhythms, 4);

        // The titles of the result lists, left of their LOAD buttons.
        const auto& patchLoad = L::searchPatchLoadButton;
        const auto& rhythmLoad = L::searchRhythmLoadButton;
        listHeading (g, "PATCH", {}, { patches.getX() - 2, patchLoad.y + 1, patchLoad.x - patches.getX() - 2, patchLoad.h - 2 });
        listHeading (g, "RHYTHM", {}, { rhythms.getX() - 2, rhythmLoad.y + 1, rhythmLoad.x - rhythms.getX() - 2, rhythmLoad.h - 2 });
        for (const auto* b : { &patchLoad, &rhythmLoad })
            recess (g, Rectangle<float> ((float) b->x - 2.0f, (float) b->y - 1.0f, (float) b->w + 4.0f, (float) b->h + 2.0f),
                    grooveColour, 3.0f);

        // The legends under the results: what the pictures in the cells say.
        engraved (g, "DRIVE SCOOP AIR EFX COMP", { patches.getX(), patches.getBottom() + 5, patches.getWidth(), 9 }, 6.5f,
                  colours::orange.withAlpha (0.5f), 2, juce::Justification::centred);
        engraved (g, "PLAY TO HEAR  -  BPM", { rhythms.getX(), rhythms.getBottom() + 5, rhythms.getWidth(), 9 }, 6.5f,
                  colours::orange.withAlpha (0.5f), 2, juce::Justification::centred);

        for (const auto x : { 10.0f, (float) area.getWidth() - 11.0f })
        {
            screw (g, x, 8.0f, 2.2f);
            screw (g, x, (float) area.getHeight() - 11.0f, 2.2f);
        }
        screw (g, 151.5f, (float) area.getHeight() - 11.0f, 2.2f);
        return image;
    }

    juce::Image drawFreeTextFrame()
    {
        const auto& f = L::searchFreeTextFrame;
        auto image = blank (f.w, f.h);
        juce::Graphics g (image);
        g.setColour (juce::Colours::white);
        g.fillRoundedRectangle (0.0f, 0.0f, (float) f.w, (float) f.h, 3.0f);
        g.setColour (Colour (0xffc8c8c8));
        g.drawHorizontalLine (0, 3.0f, (float) f.w - 3.0f);
        magnifier (g, { 5.0f, 2.0f, 10.0f, 10.0f }, Colour (0xff3a3a41));
        return image;
    }

    //==============================================================================
    /** A button picture of 53 x 23 with its body at `body`: a dark plate with
        orange lettering, lit orange with black lettering. */
    juce::Image drawButton (Rectangle<float> body, const juce::String& text, bool lit, int glyph)
    {
        auto image = blank (L::searchButtonWidth, L::searchButtonHeight);
        juce::Graphics g (image);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillRoundedRectangle (body.translated (0.0f, 1.0f), 3.0f);
        plate (g, body, lit ? Colour (236, 140, 0) : Colour (0xff3a3a41), 3.0f);
        if (! lit)
        {
            g.setColour (colours::orange.withAlpha (0.35f));
            g.fillRect (body.getX() + 3.0f, body.getY() + 1.5f, body.getWidth() - 6.0f, 1.0f);
        }

        const auto ink = lit ? Colour (0xff140a00) : colours::orange;
        const float h = body.getHeight();
        const float size = juce::jmin (8.0f, h - 5.0f);
        const auto font = artFont (h > 13.0f ? 8.5f : 7.5f, 2);
        const float textWidth = (float) font.getStringWidth (text);
        const float total = size + 3.0f + textWidth;
        const float left = body.getX() + (body.getWidth() - total) * 0.5f;
        const Rectangle<float> mark (left, body.getCentreY() - size * 0.5f, size, size);

        g.setColour (ink);
        if (glyph == 0)
        {
            // A cross: clear.
            g.drawLine (mark.getX() + 1.0f, mark.getY() + 1.0f, mark.getRight() - 1.0f, mark.getBottom() - 1.0f, 1.6f);
            g.drawLine (mark.getX() + 1.0f, mark.getBottom() - 1.0f, mark.getRight() - 1.0f, mark.getY() + 1.0f, 1.6f);
        }
        else
        {
            // An arrow down into a tray: load.
            g.drawLine (mark.getCentreX(), mark.getY(), mark.getCentreX(), mark.getBottom() - 3.0f, 1.3f);
            juce::Path head;
            head.addTriangle (mark.getCentreX() - 2.8f, mark.getBottom() - 4.5f, mark.getCentreX() + 2.8f,
                              mark.getBottom() - 4.5f, mark.getCentreX(), mark.getBottom() - 1.2f);
            g.fillPath (head);
            g.fillRect (mark.getX(), mark.getBottom() - 0.8f, mark.getWidth(), 1.0f);
        }
        label (g, text, Rectangle<float> (left + size + 3.0f, body.getY(), textWidth + 2.0f, h).toNearestInt(),
               font.getHeight(), ink, 2, juce::Justification::centredLeft);
        return image;
    }

    // CLEAR shows its upper 18 rows (the word grid lies over the rest); the
    // load buttons show only the upper left 41 x 14 of their pictures.
    template <bool Lit> juce::Image clearButton() { return drawButton ({ 1.0f, 1.0f, 51.0f, 15.0f }, "CLEAR", Lit, 0); }
    template <bool Lit> juce::Image loadButton()  { return drawButton ({ 0.5f, 0.5f, 40.0f, 12.5f }, "LOAD", Lit, 1); }

    //==============================================================================
    juce::Image drawNumberFrame()
    {
        auto image = blank (L::searchNumberFrameWidth, L::searchNumberFrameHeight);
        juce::Graphics g (image);
        const Rectangle<float> r (0.5f, 0.5f, (float) L::searchNumberFrameWidth - 1.0f, (float) L::searchNumberFrameHeight - 1.0f);
        g.setColour (Colour (0xff1a1510));
        g.fillRoundedRectangle (r, 2.5f);
        g.setColour (colours::orange.withAlpha (0.45f));
        g.drawRoundedRectangle (r, 2.5f, 0.8f);
        // A small notch at the left: the number's marker.
        g.setColour (colours::orange.withAlpha (0.8f));
        g.fillRoundedRectangle (3.0f, 3.0f, 3.0f, 4.0f, 1.0f);
        return image;
    }

    /** The chart's pentagon: corners where a score of 1 puts them (the chart's
        formulas, less the picture's place at (50, 1) in the cell). */
    juce::Image drawChartBackground()
    {
        auto image = blank (L::searchChartWidth, L::searchChartHeight);
        juce::Graphics g (image);

        const juce::Point<float> outer[5] = { { 22.0f, 6.0f }, { 4.0f, 19.0f }, { 11.0f, 41.0f }, { 34.0f, 41.0f }, { 41.0f, 19.0f } };
        const juce::Point<float> inner[5] = { { 22.0f, 23.0f }, { 19.0f, 26.0f }, { 20.0f, 29.0f }, { 25.0f, 29.0f }, { 26.0f, 26.0f } };
        const auto ring = [&] (float t)
        {
            juce::Path p;
            for (int i = 0; i < 5; ++i)
            {
                const auto c = inner[i] + (outer[i] - inner[i]) * t;
                if (i == 0)
                    p.startNewSubPath (c);
                else
                    p.lineTo (c);
            }
            p.closeSubPath();
            return p;
        };

        g.setColour (Colour (0xff120e0a).withAlpha (0.95f));
        g.fillPath (ring (1.0f));
        g.setColour (colours::orange.withAlpha (0.22f));
        g.strokePath (ring (0.5f), juce::PathStrokeType (0.6f));
        for (int i = 0; i < 5; ++i)
            g.drawLine ({ inner[i], outer[i] }, 0.6f);
        g.setColour (colours::orange.withAlpha (0.75f));
        g.strokePath (ring (1.0f), juce::PathStrokeType (0.9f));

        const auto ink = colours::orange.withAlpha (0.9f);
        const float h = 6.0f;
        label (g, "DRIVE", { 12, 0, 20, 6 }, h, ink, 2);
        label (g, "SCOOP", { 0, 10, 18, 7 }, h, ink, 2, juce::Justification::centredLeft);
        label (g, "COMP", { 27, 10, 17, 7 }, h, ink, 2, juce::Justification::centredRight);
        label (g, "AIR", { 0, 32, 11, 7 }, h, ink, 2, juce::Justification::centredLeft);
        label (g, "EFX", { 33, 32, 11, 7 }, h, ink, 2, juce::Justification::centredRight);
        return image;
    }

    juce::Image drawTempoMark()
    {
        // A small metronome.
        auto image = blank (L::searchTempoMarkWidth, L::searchTempoMarkHeight);
        juce::Graphics g (image);
        juce::Path body;
        body.addTriangle (4.5f, 0.5f, 0.5f, 7.5f, 8.5f, 7.5f);
        g.setColour (colours::orange.withAlpha (0.85f));
        g.strokePath (body, juce::PathStrokeType (0.9f));
        g.drawLine (4.5f, 6.5f, 7.0f, 1.5f, 1.0f);
        return image;
    }

    /** The round spot of a rhythm cell: a dark button with an orange sign, or lit while it plays. */
    void spot (juce::Graphics& g, Rectangle<float> r, bool lit)
    {
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillEllipse (r.translated (0.0f, 1.0f));
        g.setGradientFill (juce::ColourGradient (lit ? Colour (255, 175, 40) : Colour (0xff45454d), r.getCentreX(), r.getY(),
                                                 lit ? Colour (190, 95, 0) : Colour (0xff202024), r.getCentreX(), r.getBottom(), false));
        g.fillEllipse (r);
        g.setColour (juce::Colours::black.withAlpha (0.85f));
        g.drawEllipse (r.reduced (0.4f), 0.8f);
        g.setColour (juce::Colours::white.withAlpha (0.18f));
        g.drawEllipse (r.reduced (1.3f), 0.6f);
    }

    juce::Image drawPlay()
    {
        auto image = blank (L::searchPlayWidth, L::searchPlayHeight);
        juce::Graphics g (image);
        const Rectangle<float> r (0.5f, 0.5f, 17.0f, 17.0f);
        spot (g, r, false);
        juce::Path triangle;
        triangle.addTriangle (r.getCentreX() - 2.5f, r.getCentreY() - 4.0f, r.getCentreX() - 2.5f, r.getCentreY() + 4.0f,
                              r.getCentreX() + 4.0f, r.getCentreY());
        g.setColour (colours::orange);
        g.fillPath (triangle);
        // Three dark lamps below: the running light, at rest.
        for (int i = 0; i < 3; ++i)
            led (g, { 3.5f + 5.5f * (float) i, 22.0f }, 1.6f, colours::orange, false);
        return image;
    }

    juce::Image drawStop()
    {
        auto image = blank (L::searchStopWidth, L::searchStopHeight);
        juce::Graphics g (image);
        const Rectangle<float> r (0.5f, 0.5f, 17.0f, 17.0f);
        spot (g, r, true);
        g.setColour (Colour (0xff140a00));
        g.fillRoundedRectangle (r.getCentreX() - 3.5f, r.getCentreY() - 3.5f, 7.0f, 7.0f, 1.0f);
        return image;
    }

    template <int Lit>
    juce::Image drawPlaying()
    {
        auto image = blank (L::searchPlayingWidth, L::searchPlayingHeight);
        juce::Graphics g (image);
        for (int i = 0; i < 3; ++i)
            led (g, { 3.5f + 5.5f * (float) i, 3.0f }, 1.6f, colours::orange, i == Lit);
        return image;
    }

    const ArtRegistration registrations[] = {
        { "search_background.png", drawSearchBackground },
        { "search_free_text_frame.png", drawFreeTextFrame },
        { "search_rhythm_load.png", loadButton<false> },
        { "search_rhythm_load_lit.png", loadButton<true> },
        { "search_patch_load.png", loadButton<false> },
        { "search_patch_load_lit.png", loadButton<true> },
        { "search_clear.png", clearButton<false> },
        { "search_clear_lit.png", clearButton<true> },
        { "search_number_frame.png", drawNumberFrame },
        { "search_chart_background.png", drawChartBackground },
        { "search_tempo_mark.png", drawTempoMark },
        { "search_play.png", drawPlay },
        { "search_stop.png", drawStop },
        { "search_playing_1.png", drawPlaying<0> },
        { "search_playing_2.png", drawPlaying<1> },
        { "search_playing_3.png", drawPlaying<2> },
    };
} // namespace
} // namespace oxart
