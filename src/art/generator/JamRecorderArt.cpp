// The recorder panel's pictures: a graphite rack unit (open and folded) with
// the name field, the display window behind the time texts and the band bars,
// the timeline and its two range lanes, the slider grooves and their captions;
// its twelve keys (normal, under the pointer, on, on under the pointer); the
// range bars' handles and letters; the slider thumbs.
#include "../RecorderLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    namespace R = T730::layout::recorder;
    using juce::Colour;
    using juce::Rectangle;

    const Colour face (0xff2b2c31);
    const Colour lcd (0xff0c0a07);
    const Colour caption = colours::orange.withAlpha (0.78f);
    const Colour symbolOff (0xff9a9aa2);
    const Colour recRed (255, 62, 40);
    const Colour dividerDark (0xff121215);
    const Colour dividerLight (0x14ffffff);

    Rectangle<int> box (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }
    Rectangle<float> boxF (const L::Box& b) { return box (b).toFloat(); }

    /** The top row both states share: the name field and the unit's lettering. */
    void topRow (juce::Graphics& g)
    {
        recess (g, boxF (R::name).expanded (2.0f, 2.0f), lcd, 2.0f);
        engraved (g, "MULTI-TAKE RECORDER", { 172, 5, 88, 12 }, 8.0f, caption, 2, juce::Justification::centred);
        engraved (g, "TAKE", { R::takePrev.right(), 6, R::takeNext.x - R::takePrev.right(), 11 }, 7.5f, caption, 2,
                  juce::Justification::centred);
    }

    /** A slider's groove with a tick at each of `ticks` positions (0: none) along the thumb's travel. */
    void groove (juce::Graphics& g, const L::Box& b, int thumbWidth, int ticks)
    {
        const float cy = (float) b.y + (float) b.h * 0.5f;
        recess (g, { (float) b.x, cy - 1.5f, (float) b.w, 3.0f }, Colour (0xff050506), 1.5f);
        if (ticks <= 1)
            return;
        g.setColour (caption.withAlpha (0.45f));
        const int travel = b.w - thumbWidth;
        for (int i = 0; i < ticks; ++i)
        {
            const int x = b.x + travel * i / ticks + thumbWidth / 2;
            g.drawVerticalLine (x, cy + 2.0f, cy + 4.0f);
        }
    }

    juce::Image drawOpen()
    {
        auto image = blank (L::jamPanelWidth, L::jamRecorderOpenHeight);
        juce::Graphics g (image);
        rackUnit (g, image.getBounds(), face, 931);
        topRow (g);

        // The display window: the time texts over the band bars, whose unlit
        // segments glow faintly so that the bars stand in a frame.
        recess (g, boxF (R::display), lcd, 3.0f);
        g.setColour (colours::orange.withAlpha (0.06f));
        for (int b = 0; b < 15; ++b)
            for (int i = 0; i < 18; ++i)
                g.drawHorizontalLine (R::bands.y + R::bands.h - 1 - 2 * i, (float) (R::bands.x + 7 * b),
                                      (float) (R::bands.x + 7 * b + 6));
        g.setColour (colours::orange.withAlpha (0.18f));
        g.drawHorizontalLine (R::positionText.bottom() + 1, (float) R::display.x + 4.0f, (float) R::display.right() - 4.0f);

        // The timeline: a groove with a tick every tenth, and the two range lanes under it.
        const auto line = boxF (R::position).withTrimmedRight (4.0f).reduced (0.0f, 2.0f);
        recess (g, line, Colour (0xff070708), 2.0f);
        g.setColour (colours::orange.withAlpha (0.22f));
        for (int i = 1; i < 10; ++i)
        {
            const float x = line.getX() + line.getWidth() * (float) i / 10.0f;
            g.drawVerticalLine ((int) x, line.getBottom() - (i == 5 ? 6.0f : 4.0f), line.getBottom() - 1.0f);
        }
        g.setColour (colours::orange.withAlpha (0.12f));
        g.drawHorizontalLine ((int) line.getCentreY(), line.getX() + 3.0f, line.getRight() - 3.0f);
        for (const auto* lane : { &R::punchBar, &R::loopBar })
            recess (g, boxF (*lane).withTrimmedRight (4.0f), Colour (0xff060607), 1.5f);

        // The transport and mixing row.
        g.setColour (dividerDark);
        g.drawHorizontalLine (62, (float) R::rec.x - 4.0f, (float) L::jamPanelWidth - 10.0f);
        g.setColour (dividerLight);
        g.drawHorizontalLine (63, (float) R::rec.x - 4.0f, (float) L::jamPanelWidth - 10.0f);

        groove (g, R::speed, R::thumbWidth, 6);
        groove (g, R::pan, R::thumbWidth, 0);
        g.setColour (caption.withAlpha (0.55f));
        g.drawVerticalLine (R::pan.x + R::pan.w / 2, (float) R::pan.y + 6.0f, (float) R::pan.y + 8.5f);
        groove (g, R::level, R::levelThumbWidth, 0);

        engraved (g, "SPEED", { 214, R::speed.y - 1, R::speed.x - 216, 10 }, 7.0f, caption, 2, juce::Justification::centredRight);
        engraved (g, "PAN", { R::speed.right() + 1, R::pan.y - 1, R::pan.x - R::speed.right() - 2, 10 }, 7.0f, caption, 2,
                  juce::Justification::centredRight);
        engraved (g, "LEVEL", { 244, R::level.y, R::level.x - 246, 10 }, 7.0f, caption, 2, juce::Justification::centredRight);
        engraved (g, "50%", { R::speed.x - 2, R::speed.bottom() + 1, 16, 8 }, 6.0f, caption.withAlpha (0.6f), 0,
                  juce::Justification::centredLeft);
        return image;
    }

    juce::Image drawFolded()
    {
        auto image = blank (L::jamPanelWidth, L::jamFoldedHeight);
        juce::Graphics g (image);
        rackUnit (g, image.getBounds(), face, 932);
        topRow (g);
        return image;
    }

    //==========================================================================
    // The keys. Each is a panel key with a symbol: dim while off, bright (in
    // its colour, with a faint glow) while on.
    using Symbol = void (*) (juce::Graphics&, Rectangle<float>, Colour);

    juce::Image key (const L::Box& b, Symbol symbol, bool on, bool over, Colour lit = colours::orange)
    {
        auto image = blank (b.w, b.h);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat();
        panelKey (g, area, false, over);
        if (on)
        {
            g.setColour (lit.withAlpha (0.16f));
            g.fillRoundedRectangle (area.reduced (2.0f), 2.0f);
        }
        const auto colour = on ? (over ? lit.brighter (0.3f) : lit) : (over ? symbolOff.brighter (0.4f) : symbolOff);
        symbol (g, area, colour);
        return image;
    }

    void powerSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        const auto centre = a.getCentre();
        juce::Path arc;
        arc.addCentredArc (centre.x, centre.y + 0.5f, 4.5f, 4.5f, 0.0f, 0.6f, juce::MathConstants<float>::twoPi - 0.6f, true);
        g.setColour (c);
        g.strokePath (arc, juce::PathStrokeType (1.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        g.drawLine (centre.x, centre.y - 5.0f, centre.x, centre.y + 0.5f, 1.6f);
    }

    void newSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        // A blank sheet with a folded corner.
        const auto s = a.withSizeKeepingCentre (8.0f, 10.0f);
        juce::Path sheet;
        sheet.startNewSubPath (s.getX(), s.getY());
        sheet.lineTo (s.getRight() - 3.0f, s.getY());
        sheet.lineTo (s.getRight(), s.getY() + 3.0f);
        sheet.lineTo (s.getRight(), s.getBottom());
        sheet.lineTo (s.getX(), s.getBottom());
        sheet.closeSubPath();
        g.setColour (c);
        g.strokePath (sheet, juce::PathStrokeType (1.1f));
        g.drawLine (s.getRight() - 3.0f, s.getY(), s.getRight() - 3.0f, s.getY() + 3.0f, 1.0f);
        g.drawLine (s.getRight() - 3.0f, s.getY() + 3.0f, s.getRight(), s.getY() + 3.0f, 1.0f);
    }

    void importSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        // A folder with an arrow going into it.
        const auto f = a.withSizeKeepingCentre (11.0f, 8.0f).translated (0.0f, 2.0f);
        juce::Path folder;
        folder.startNewSubPath (f.getX(), f.getY());
        folder.lineTo (f.getX() + 4.0f, f.getY());
        folder.lineTo (f.getX() + 5.0f, f.getY() + 1.5f);
        folder.lineTo (f.getRight(), f.getY() + 1.5f);
        folder.lineTo (f.getRight(), f.getBottom());
        folder.lineTo (f.getX(), f.getBottom());
        folder.closeSubPath();
        g.setColour (c);
        g.strokePath (folder, juce::PathStrokeType (1.1f));
        juce::Path arrow;
        const float x = f.getCentreX();
        arrow.addArrow ({ x, a.getY() + 2.0f, x, f.getY() + 4.5f }, 1.4f, 4.5f, 3.0f);
        g.fillPath (arrow);
    }

    void prevSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        const auto m = a.getCentre();
        juce::Path p;
        p.addTriangle (m.x + 2.0f, m.y - 3.5f, m.x + 2.0f, m.y + 3.5f, m.x - 2.5f, m.y);
        g.setColour (c);
        g.fillPath (p);
    }

    void nextSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        const auto m = a.getCentre();
        juce::Path p;
        p.addTriangle (m.x - 2.0f, m.y - 3.5f, m.x - 2.0f, m.y + 3.5f, m.x + 2.5f, m.y);
        g.setColour (c);
        g.fillPath (p);
    }

    void recSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        g.setColour (c);
        g.fillEllipse (a.withSizeKeepingCentre (8.0f, 8.0f));
    }

    void playSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        const auto m = a.getCentre();
        juce::Path p;
        p.addTriangle (m.x - 3.0f, m.y - 4.5f, m.x - 3.0f, m.y + 4.5f, m.x + 4.5f, m.y);
        g.setColour (c);
        g.fillPath (p);
    }

    void stopSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        g.setColour (c);
        g.fillRect (a.withSizeKeepingCentre (7.0f, 7.0f));
    }

    void muteSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        // A small speaker.
        const auto m = a.getCentre();
        juce::Path p;
        p.startNewSubPath (m.x - 3.5f, m.y - 1.5f);
        p.lineTo (m.x - 1.5f, m.y - 1.5f);
        p.lineTo (m.x + 1.5f, m.y - 4.0f);
        p.lineTo (m.x + 1.5f, m.y + 4.0f);
        p.lineTo (m.x - 1.5f, m.y + 1.5f);
        p.lineTo (m.x - 3.5f, m.y + 1.5f);
        p.closeSubPath();
        g.setColour (c);
        g.fillPath (p);
    }

    void snapSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        // Beat marks on a line, the middle one taller.
        const auto m = a.getCentre();
        g.setColour (c);
        g.fillRect (m.x - 6.0f, m.y + 2.5f, 12.0f, 1.2f);
        for (const float dx : { -5.0f, 0.0f, 5.0f })
        {
            const float h = dx == 0.0f ? 6.5f : 4.0f;
            g.fillRect (m.x + dx - 0.6f, m.y + 2.5f - h, 1.2f, h);
        }
    }

    void punchSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        // A recording dot between the two points of a range.
        const auto m = a.getCentre();
        g.setColour (c);
        for (const float side : { -1.0f, 1.0f })
        {
            const float x = m.x + side * 6.0f;
            g.fillRect (x - 0.6f, m.y - 3.5f, 1.2f, 7.0f);
            g.fillRect (side < 0 ? x : x - 2.0f, m.y - 3.5f, 2.0f, 1.1f);
            g.fillRect (side < 0 ? x : x - 2.0f, m.y + 2.4f, 2.0f, 1.1f);
        }
        g.fillEllipse (m.x - 2.3f, m.y - 2.3f, 4.6f, 4.6f);
    }

    void loopSymbol (juce::Graphics& g, Rectangle<float> a, Colour c)
    {
        // A closed loop with its arrow.
        const auto m = a.getCentre();
        const auto ring = Rectangle<float> (m.x - 5.5f, m.y - 3.2f, 11.0f, 6.4f);
        g.setColour (c);
        g.drawRoundedRectangle (ring, 3.0f, 1.2f);
        juce::Path head;
        head.addTriangle (m.x + 0.5f, ring.getY() - 2.2f, m.x + 0.5f, ring.getY() + 2.2f, m.x + 3.2f, ring.getY());
        g.fillPath (head);
    }

    //==========================================================================
    // The range bars and the thumbs.
    juce::Image handle (bool atStart)
    {
        auto image = blank (R::handleWidth, R::handleHeight);
        juce::Graphics g (image);
        const auto a = image.getBounds().toFloat();
        plate (g, a.reduced (0.5f), Colour (0xffd9d9de), 1.5f);
        g.setColour (colours::orange);
        const float x = atStart ? 1.5f : a.getRight() - 3.5f;
        g.fillRect (x, 1.5f, 2.0f, a.getHeight() - 3.0f);
        g.setColour (Colour (0xff202024));
        const float gx = atStart ? 5.0f : 3.0f;
        g.drawVerticalLine ((int) gx, 2.5f, a.getBottom() - 2.5f);
        return image;
    }

    juce::Image letter (const char* text, int width)
    {
        auto image = blank (width, R::letterHeight);
        juce::Graphics g (image);
        label (g, text, image.getBounds().translated (0, 1), 8.0f, juce::Colours::black.withAlpha (0.7f), 2);
        label (g, text, image.getBounds(), 8.0f, Colour (0xffe8eef5), 2);
        return image;
    }

    juce::Image head()
    {
        // The play head: an orange cap on a thin line down the timeline.
        auto image = blank (R::headWidth, R::headHeight);
        juce::Graphics g (image);
        const float cx = (float) R::headWidth * 0.5f;
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillRect (cx - 0.5f, 3.0f, 2.0f, (float) R::headHeight - 3.0f);
        g.setColour (colours::orange);
        g.fillRect (cx - 0.5f, 3.0f, 1.0f, (float) R::headHeight - 4.0f);
        juce::Path cap;
        cap.addTriangle (0.0f, 1.0f, (float) R::headWidth, 1.0f, cx, 6.0f);
        g.fillPath (cap);
        g.setColour (colours::orange.brighter (0.5f));
        g.drawHorizontalLine (1, 0.5f, (float) R::headWidth - 0.5f);
        return image;
    }

    juce::Image thumb (int width, int height)
    {
        auto image = blank (width, height);
        juce::Graphics g (image);
        const auto a = image.getBounds().toFloat();
        plate (g, a.reduced (0.5f), Colour (0xffbfc0c6), 1.5f);
        g.setColour (colours::orange);
        g.drawVerticalLine (width / 2, 1.5f, a.getBottom() - 1.5f);
        return image;
    }

    // One drawing function per picture file.
#define OXA_RECORDER_KEY(fn, boxName, symbolFn, litColour)                                               \
    juce::Image fn()        { return key (R::boxName, symbolFn, false, false, litColour); }             \
    juce::Image fn##Over()  { return key (R::boxName, symbolFn, false, true, litColour); }              \
    juce::Image fn##On()    { return key (R::boxName, symbolFn, true, false, litColour); }              \
    juce::Image fn##OnOver() { return key (R::boxName, symbolFn, true, true, litColour); }

    OXA_RECORDER_KEY (powerKey, power, powerSymbol, Colour (120, 230, 90))
    OXA_RECORDER_KEY (newKey, newTake, newSymbol, colours::orange)
    OXA_RECORDER_KEY (importKey, open, importSymbol, colours::orange)
    OXA_RECORDER_KEY (takePrevKey, takePrev, prevSymbol, colours::orange)
    OXA_RECORDER_KEY (takeNextKey, takeNext, nextSymbol, colours::orange)
    OXA_RECORDER_KEY (recKey, rec, recSymbol, recRed)
    OXA_RECORDER_KEY (playKey, play, playSymbol, Colour (120, 230, 90))
    OXA_RECORDER_KEY (stopKey, stop, stopSymbol, colours::orange)
    OXA_RECORDER_KEY (muteKey, mute, muteSymbol, recRed)
    OXA_RECORDER_KEY (snapKey, snap, snapSymbol, colours::orange)
    OXA_RECORDER_KEY (punchKey, punch, punchSymbol, Colour (90, 160, 255))
    OXA_RECORDER_KEY (loopKey, loop, loopSymbol, Colour (60, 215, 205))
#undef OXA_RECORDER_KEY

    juce::Image handleStart() { return handle (true); }
    juce::Image handleEnd()   { return handle (false); }
    juce::Image letterP()     { return letter ("P", R::letterWidth); }
    juce::Image letterI()     { return letter ("I", R::letterWidth); }
    juce::Image letterO()     { return letter ("O", R::letterWidth); }
    juce::Image letterLoop()  { return letter ("LOOP", R::loopLetterWidth); }
    juce::Image headThumb()   { return head(); }
    juce::Image smallThumb()  { return thumb (R::thumbWidth, R::thumbHeight); }
    juce::Image levelThumb()  { return thumb (R::levelThumbWidth, R::levelThumbHeight); }

#define OXA_RECORDER_KEY_FILES(name, fn)                                                                 \
    { "recorder_" name ".png", fn }, { "recorder_" name "_over.png", fn##Over },                          \
    { "recorder_" name "_on.png", fn##On }, { "recorder_" name "_on_over.png", fn##OnOver }

    const ArtRegistration registrations[] = {
        { "recorder_panel_open.png", drawOpen },
        { "recorder_panel_folded.png", drawFolded },
        OXA_RECORDER_KEY_FILES ("power", powerKey),
        OXA_RECORDER_KEY_FILES ("new", newKey),
        OXA_RECORDER_KEY_FILES ("import", importKey),
        OXA_RECORDER_KEY_FILES ("take_prev", takePrevKey),
        OXA_RECORDER_KEY_FILES ("take_next", takeNextKey),
        OXA_RECORDER_KEY_FILES ("rec", recKey),
        OXA_RECORDER_KEY_FILES ("play", playKey),
        OXA_RECORDER_KEY_FILES ("stop", stopKey),
        OXA_RECORDER_KEY_FILES ("mute", muteKey),
        OXA_RECORDER_KEY_FILES ("snap", snapKey),
        OXA_RECORDER_KEY_FILES ("punch", punchKey),
        OXA_RECORDER_KEY_FILES ("loop", loopKey),
        { "recorder_handle_start.png", handleStart },
        { "recorder_handle_end.png", handleEnd },
        { "recorder_letter_p.png", letterP },
        { "recorder_letter_i.png", letterI },
        { "recorder_letter_o.png", letterO },
        { "recorder_letter_loop.png", letterLoop },
        { "recorder_head.png", headThumb },
        { "recorder_thumb.png", smallThumb },
        { "recorder_level_thumb.png", levelThumb },
    };
#undef OXA_RECORDER_KEY_FILES
} // namespace
} // namespace oxart
