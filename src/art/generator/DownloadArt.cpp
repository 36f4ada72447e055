// The download page's pictures: the page with its catalogue display (online)
// and the page with the unplugged cable (offline); the two tab buttons, plain
// and on; DOWNLOAD_FULL plain and lit; DOWNLOAD_CONNECT; an entry's download
// spot, downloaded mark, new mark, play and stop spots; and the patch set
// audition's own page and CANCEL button.
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
    const Colour plateColour (0xff3a3a41);
    const Colour litColour (236, 140, 0);
    const Colour ink (0xff140a00);

    Rectangle<int> box (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }

    /** The page's panel: brushed dark metal in a rounded frame, four screws. */
    void pagePanel (juce::Graphics& g, Rectangle<int> area, int seed)
    {
        g.fillAll (Colour (0xff0c0c0e));
        const auto page = area.toFloat().withTrimmedLeft (1.0f).withTrimmedRight (1.0f).withTrimmedBottom (1.0f);
        {
            juce::Graphics::ScopedSaveState state (g);
            juce::Path clip;
            clip.addRoundedRectangle (page, 3.0f);
            g.reduceClipRegion (clip);
            g.setGradientFill (juce::ColourGradient (Colour (0xff26262b), 0.0f, 0.0f, Colour (0xff151518), 0.0f,
                                                     (float) area.getBottom(), false));
            g.fillRect (area);
            brush (g, area, 0.045f, seed);
        }
        g.setColour (Colour (0xff3e3e45));
        g.drawRoundedRectangle (page.reduced (0.5f), 3.0f, 1.0f);
        for (const auto x : { 10.0f, (float) area.getWidth() - 11.0f })
        {
            screw (g, x, 8.0f, 2.2f);
            screw (g, x, (float) area.getHeight() - 11.0f, 2.2f);
        }
    }

    /** A cloud with an arrow down into a tray: the download sign. */
    void downloadSign (juce::Graphics& g, Rectangle<float> r, Colour colour, float thickness)
    {
        g.setColour (colour);
        const float cx = r.getCentreX();
        g.drawLine (cx, r.getY(), cx, r.getBottom() - r.getHeight() * 0.3f, thickness);
        juce::Path head;
        const float w = r.getWidth() * 0.22f, y = r.getBottom() - r.getHeight() * 0.42f;
        head.addTriangle (cx - w, y, cx + w, y, cx, r.getBottom() - r.getHeight() * 0.15f);
        g.fillPath (head);
        g.fillRect (r.getX(), r.getBottom() - thickness, r.getWidth(), thickness);
    }

    //==============================================================================
    juce::Image drawPage (bool offline)
    {
        auto image = juce::Image (juce::Image::RGB, L::downloadWidth, L::downloadHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();
        pagePanel (g, area, offline ? 211 : 131);

        listHeading (g, "DOWNLOAD", offline ? "NO CONNECTION" : juce::String(), { 28, 4, 244, 14 });
        const auto list = box (L::downloadList);

        if (! offline)
        {
            // The tab groove above the display, the display, FULL's groove and the legends.
            recess (g, Rectangle<float> ((float) L::downloadPatchsetTab.x - 2.0f, (float) L::downloadPatchsetTab.y,
                                         (float) (L::downloadRhythmTab.right() - L::downloadPatchsetTab.x) + 4.0f,
                                         (float) L::downloadPatchsetTab.h),
                    grooveColour, 3.0f);
            glassWindow (g, list, 4);
            const auto& full = L::downloadFullButton;
            recess (g, Rectangle<float> ((float) full.x - 2.0f, (float) full.y - 1.0f, (float) full.w + 4.0f, (float) full.h + 2.0f),
                    grooveColour, 3.0f);
            engraved (g, "PLAY TO TRY  -  GET TO KEEP", { list.getX(), full.y + 2, full.x - list.getX() - 6, full.h - 4 }, 6.5f,
                      colours::orange.withAlpha (0.5f), 2, juce::Justification::centredLeft);
            return image;
        }

        // Offline: a dark display with an unplugged cable and its plug, and the words.
        glassWindow (g, list, 4);
        const float y = (float) list.getY() + 70.0f;
        juce::Path cable;
        cable.startNewSubPath ((float) list.getX() + 8.0f, y + 30.0f);
        cable.cubicTo ((float) list.getX() + 60.0f, y + 40.0f, (float) list.getX() + 70.0f, y - 10.0f, 130.0f, y);
        g.setColour (Colour (0xff2a2a2e));
        g.strokePath (cable, juce::PathStrokeType (6.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        g.setColour (Colour (0xff505058));
        g.strokePath (cable, juce::PathStrokeType (1.2f));
        plate (g, { 128.0f, y - 6.0f, 20.0f, 12.0f }, Colour (0xff6a6a72), 2.0f);
        g.setColour (Colour (0xffb0b0b8));
        g.fillRect (148.0f, y - 1.5f, 12.0f, 3.0f);
        // The socket it left, with a dark lamp.
        plate (g, { 180.0f, y - 12.0f, 40.0f, 24.0f }, plateColour, 3.0f);
        g.setColour (juce::Colours::black);
        g.fillEllipse (190.0f, y - 5.0f, 10.0f, 10.0f);
        led (g, { 210.0f, y }, 3.0f, Colour (0xffff3020), false);
        // Sparks of the gap.
        g.setColour (colours::orange.withAlpha (0.6f));
        for (int i = 0; i < 3; ++i)
            g.drawLine (166.0f, y - 6.0f + 6.0f * (float) i, 174.0f, y - 9.0f + 9.0f * (float) i, 1.0f);

        label (g, "THE DOWNLOAD SERVER", { list.getX(), (int) y + 30, list.getWidth(), 14 }, 11.0f, colours::orange, 2);
        label (g, "DOES NOT ANSWER", { list.getX(), (int) y + 44, list.getWidth(), 14 }, 11.0f, colours::orange, 2);
        label (g, "CHECK THE NETWORK, THEN TRY AGAIN", { list.getX(), (int) y + 62, list.getWidth(), 10 }, 7.5f,
               colours::orange.withAlpha (0.6f), 2);
        return image;
    }

    template <bool Offline> juce::Image page() { return drawPage (Offline); }

    /** A plate button of the size with a legend: dark with orange lettering, or lit with black. */
    juce::Image plateButton (int w, int h, Rectangle<float> body, const juce::String& text, bool lit, bool sign)
    {
        auto image = blank (w, h);
        juce::Graphics g (image);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillRoundedRectangle (body.translated (0.0f, 1.0f), 3.0f);
        plate (g, body, lit ? litColour : plateColour, 3.0f);
        if (! lit)
        {
            g.setColour (colours::orange.withAlpha (0.35f));
            g.fillRect (body.getX() + 3.0f, body.getY() + 1.5f, body.getWidth() - 6.0f, 1.0f);
        }
        const auto colour = lit ? ink : colours::orange;
        auto textArea = body.toNearestInt();
        if (sign)
        {
            downloadSign (g, { body.getX() + 7.0f, body.getCentreY() - 5.0f, 9.0f, 10.0f }, colour, 1.3f);
            textArea = textArea.withTrimmedLeft (16);
        }
        label (g, text, textArea, juce::jmin (9.5f, body.getHeight() - 6.0f), colour, 2);
        return image;
    }

    template <bool On> juce::Image patchsetTab()
    {
        return plateButton (L::downloadPatchsetTab.w, L::downloadPatchsetTab.h, { 2.0f, 3.0f, 96.0f, 24.0f }, "PATCH SETS", On, false);
    }
    template <bool On> juce::Image rhythmTab()
    {
        return plateButton (L::downloadRhythmTab.w, L::downloadRhythmTab.h, { 2.0f, 3.0f, 96.0f, 24.0f }, "RHYTHMS", On, false);
    }
    template <bool Lit> juce::Image fullButton()
    {
        return plateButton (L::downloadFullButton.w, L::downloadFullButton.h, { 0.5f, 0.5f, 84.0f, 18.0f }, "GET ALL", Lit, true);
    }
    template <bool Over> juce::Image connectButton()
    {
        return plateButton (L::downloadConnectButton.w, L::downloadConnectButton.h, { 0.5f, 0.5f, 99.0f, 29.0f }, "TRY AGAIN", Over, false);
    }

    //==============================================================================
    /** An entry's download spot: a small lit key with the sign and GET. */
    juce::Image itemGet()
    {
        auto image = blank (L::downloadGetWidth, L::downloadGetHeight);
        juce::Graphics g (image);
        const Rectangle<float> r (0.5f, 0.5f, (float) L::downloadGetWidth - 1.0f, (float) L::downloadGetHeight - 1.0f);
        g.setColour (litColour);
        g.fillRoundedRectangle (r, 2.5f);
        downloadSign (g, { 4.0f, 1.5f, 6.0f, 7.0f }, ink, 1.0f);
        label (g, "DOWNLOAD", { 12, 0, L::downloadGetWidth - 14, L::downloadGetHeight }, 7.5f, ink, 2);
        return image;
    }

    /** The downloaded mark: an outlined key with a tick and HAVE IT. */
    juce::Image itemDone()
    {
        auto image = blank (L::downloadGetWidth, L::downloadGetHeight);
        juce::Graphics g (image);
        const Rectangle<float> r (0.5f, 0.5f, (float) L::downloadGetWidth - 1.0f, (float) L::downloadGetHeight - 1.0f);
        g.setColour (colours::orange.withAlpha (0.5f));
        g.drawRoundedRectangle (r, 2.5f, 0.8f);
        juce::Path tick;
        tick.startNewSubPath (3.5f, 5.0f);
        tick.lineTo (5.5f, 7.5f);
        tick.lineTo (9.5f, 2.5f);
        g.strokePath (tick, juce::PathStrokeType (1.3f));
        label (g, "DOWNLOADED", { 12, 0, L::downloadGetWidth - 14, L::downloadGetHeight }, 7.0f, colours::orange.withAlpha (0.7f), 2);
        return image;
    }

    juce::Image itemNew()
    {
        auto image = blank (L::downloadNewWidth, L::downloadNewHeight);
        juce::Graphics g (image);
        g.setColour (Colour (0xffe03a20));
        g.fillRoundedRectangle (0.5f, 0.5f, (float) L::downloadNewWidth - 1.0f, (float) L::downloadNewHeight - 1.0f, 2.5f);
        label (g, "NEW", { 0, 0, L::downloadNewWidth, L::downloadNewHeight }, 7.5f, juce::Colours::white, 2);
        return image;
    }

    /** The audition spot: a round key with a triangle (play) or a square (stop). */
    juce::Image auditionSpot (bool stop)
    {
        auto image = blank (L::downloadPlayWidth, L::downloadPlayHeight);
        juce::Graphics g (image);
        const Rectangle<float> r (1.0f, 1.5f, 16.0f, 16.0f);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillEllipse (r.translated (0.0f, 1.0f));
        g.setColour (stop ? litColour : plateColour);
        g.fillEllipse (r);
        g.setColour (colours::orange.withAlpha (stop ? 0.0f : 0.8f));
        g.drawEllipse (r.reduced (0.5f), 0.8f);
        g.setColour (stop ? ink : colours::orange);
        if (stop)
            g.fillRect (r.reduced (5.0f));
        else
        {
            juce::Path p;
            p.addTriangle (r.getX() + 6.0f, r.getY() + 4.5f, r.getX() + 6.0f, r.getBottom() - 4.5f, r.getRight() - 4.0f, r.getCentreY());
            g.fillPath (p);
        }
        return image;
    }

    juce::Image playSpot() { return auditionSpot (false); }
    juce::Image stopSpot() { return auditionSpot (true); }

    //==============================================================================
    juce::Image attractPage()
    {
        auto image = juce::Image (juce::Image::RGB, L::downloadWidth, L::downloadHeight, true);
        juce::Graphics g (image);
        pagePanel (g, image.getBounds(), 173);
        glassWindow (g, box (L::downloadAttractTable), 4);
        engraved (g, "TRY THE PATCHES", { 28, 4, 244, 14 }, 7.0f, colours::orange.withAlpha (0.55f), 2, juce::Justification::centredRight);
        // A small M7c-like unit: the patches play on the device.
        plate (g, { 36.0f, 138.0f, 150.0f, 34.0f }, plateColour, 4.0f);
        for (int i = 0; i < 4; ++i)
            led (g, { 52.0f + 18.0f * (float) i, 155.0f }, 3.0f, colours::orange, i == 0);
        label (g, "M7c", { 126, 142, 52, 26 }, 12.0f, colours::orange, 2);
        return image;
    }

    template <bool Over> juce::Image attractCancel()
    {
        return plateButton (L::downloadAttractCancel.w, L::downloadAttractCancel.h, { 6.0f, 8.0f, 75.0f, 28.0f }, "CANCEL", Over, false);
    }

    const ArtRegistration registrations[] = {
        { "download_background.png", page<false> },
        { "download_offline.png", page<true> },
        { "download_tab_patchset.png", patchsetTab<false> },
        { "download_tab_patchset_on.png", patchsetTab<true> },
        { "download_tab_rhythm.png", rhythmTab<false> },
        { "download_tab_rhythm_on.png", rhythmTab<true> },
        { "download_full.png", fullButton<false> },
        { "download_full_lit.png", fullButton<true> },
        { "download_connect.png", connectButton<false> },
        { "download_connect_over.png", connectButton<true> },
        { "download_item_get.png", itemGet },
        { "download_item_done.png", itemDone },
        { "download_item_new.png", itemNew },
        { "download_play.png", playSpot },
        { "download_stop.png", stopSpot },
        { "download_attract_background.png", attractPage },
        { "download_attract_cancel.png", attractCancel<false> },
        { "download_attract_cancel_over.png", attractCancel<true> },
    };
} // namespace
} // namespace oxart
