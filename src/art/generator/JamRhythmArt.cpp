// The rhythm panel's pictures: its rack unit open and folded (with the stage
// windows of the two figures, the displays and the grooves of its sliders), its
// keys (power, bar back, play, stop, bar forward, loop, mutes), the lit picture
// of its two vertical meters and the thumbs of its sliders.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;
    using juce::Rectangle;

    const Colour face (0xff2a2e36);
    const Colour lcd (0xff0d0b08);
    const Colour stage (0xff000000);
    const Colour dimGlyph (0xffb0aca4);

    Rectangle<float> boxOf (const L::Box& b) { return { (float) b.x, (float) b.y, (float) b.w, (float) b.h }; }

    /** A display window: a dark recess with a faint amber glass sheen. */
    void display (juce::Graphics& g, Rectangle<float> area)
    {
        recess (g, area, lcd, 2.0f);
        g.setColour (colours::orange.withAlpha (0.05f));
        g.fillRect (area.reduced (2.0f).withHeight (area.getHeight() * 0.4f));
    }

    /** The unlit segments of a meter inside its well (the lit picture covers them). */
    void meterWell (juce::Graphics& g, const L::Box& b)
    {
        recess (g, boxOf (b).expanded (1.0f), Colour (0xff050505), 2.0f);
        const int bottom = b.y + b.h;
        for (int s = 0; s < 8; ++s)
        {
            const int rowTop = bottom - (6 * s + 6);
            if (rowTop < b.y)
                break;
            g.setColour (meterColour ((float) s / 7.0f, false));
            g.fillRect (b.x + 2, rowTop, b.w - 4, 5);
        }
    }

    /** A figure's stage: black, with a faint floor line and a thin frame. */
    void stageWindow (juce::Graphics& g, const L::Box& b)
    {
        const auto area = boxOf (b).expanded (1.0f);
        recess (g, area, stage, 2.0f);
        g.setColour (colours::orange.withAlpha (0.22f));
        g.drawRoundedRectangle (area.expanded (1.0f), 3.0f, 1.0f);
    }

    void drawOpenInto (juce::Graphics& g, Rectangle<int> area)
    {
        rackUnit (g, area, face, 0x5a17);

        stageWindow (g, L::rhythmDrummer);
        stageWindow (g, L::rhythmBassist);

        // Song name, tempo, chord strip, bar and beat with the play time.
        display (g, boxOf (L::rhythmSongName).expanded (1.0f, 1.0f));
        display (g, { 283.0f, 5.0f, 38.0f, 17.0f });
        display (g, boxOf (L::rhythmChords).expanded (2.0f, 2.0f));
        display (g, { 137.0f, 62.0f, 95.0f, 14.0f });
        g.setColour (colours::orange.withAlpha (0.25f));
        g.drawVerticalLine (177, 64.0f, 74.0f);

        // The position groove and its bar marks.
        const auto locate = boxOf (L::rhythmLocate);
        recess (g, { locate.getX() + 2.0f, locate.getCentreY() - 2.0f, locate.getWidth() - 4.0f, 5.0f },
                Colour (0xff060606), 2.0f);
        g.setColour (colours::orange.withAlpha (0.3f));
        for (int i = 0; i <= 8; ++i)
        {
            const float x = locate.getX() + 4.0f + (locate.getWidth() - 9.0f) * (float) i / 8.0f;
            g.drawVerticalLine ((int) x, locate.getY() + 1.0f, locate.getY() + 4.0f);
        }

        // The transport's tray.
        recess (g, { 136.0f, 98.0f, 105.0f, 24.0f }, face.darker (0.45f), 3.0f);

        meterWell (g, L::rhythmDrumMeter);
        meterWell (g, L::rhythmBassMeter);

        // Small engraved part names above the level sliders.
        label (g, "DRUMS", { L::rhythmDrumLevel.x + 2, L::rhythmDrumLevel.y + L::rhythmDrumLevel.h, L::rhythmDrumLevel.w, 7 },
               6.5f, dimGlyph.withAlpha (0.7f), 0, juce::Justification::centredLeft);
        label (g, "BASS", { L::rhythmBassLevel.x + 2, L::rhythmBassLevel.y + L::rhythmBassLevel.h, L::rhythmBassLevel.w, 7 },
               6.5f, dimGlyph.withAlpha (0.7f), 0, juce::Justification::centredLeft);
    }

    juce::Image drawOpen()
    {
        auto image = blank (L::jamPanelWidth, L::jamRhythmOpenHeight);
        juce::Graphics g (image);
        drawOpenInto (g, image.getBounds());
        return image;
    }

    juce::Image drawFolded()
    {
        auto image = blank (L::jamPanelWidth, L::jamFoldedHeight);
        juce::Graphics g (image);
        rackUnit (g, image.getBounds(), face, 0x5a18);
        display (g, boxOf (L::rhythmSongName).expanded (1.0f, 1.0f));
        display (g, { 283.0f, 5.0f, 38.0f, 15.0f });
        return image;
    }

    //==========================================================================
    enum class Glyph { power, previous, play, stop, next, repeat, mute };

    void glyph (juce::Graphics& g, Glyph kind, Rectangle<float> area, Colour colour)
    {
        const auto c = area.getCentre();
        g.setColour (colour);
        juce::Path p;
        switch (kind)
        {
            case Glyph::power:
            {
                const float r = 4.2f;
                p.addCentredArc (c.x, c.y + 0.5f, r, r, 0.0f, 0.65f, juce::MathConstants<float>::twoPi - 0.65f, true);
                g.strokePath (p, juce::PathStrokeType (1.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
                g.drawLine (c.x, c.y - 5.0f, c.x, c.y + 0.5f, 1.6f);
                return;
            }
            case Glyph::play:
                p.addTriangle (c.x - 3.0f, c.y - 4.5f, c.x - 3.0f, c.y + 4.5f, c.x + 4.5f, c.y);
                break;
            case Glyph::stop:
                p.addRectangle (c.x - 3.5f, c.y - 3.5f, 7.0f, 7.0f);
                break;
            case Glyph::previous:
                p.addRectangle (c.x - 5.0f, c.y - 4.0f, 1.6f, 8.0f);
                p.addTriangle (c.x + 0.5f, c.y - 4.0f, c.x + 0.5f, c.y + 4.0f, c.x - 3.2f, c.y);
                p.addTriangle (c.x + 4.5f, c.y - 4.0f, c.x + 4.5f, c.y + 4.0f, c.x + 0.8f, c.y);
                break;
            case Glyph::next:
                p.addRectangle (c.x + 3.4f, c.y - 4.0f, 1.6f, 8.0f);
                p.addTriangle (c.x - 4.5f, c.y - 4.0f, c.x - 4.5f, c.y + 4.0f, c.x - 0.8f, c.y);
                p.addTriangle (c.x - 0.5f, c.y - 4.0f, c.x - 0.5f, c.y + 4.0f, c.x + 3.2f, c.y);
                break;
            case Glyph::repeat:
            {
                juce::Path loop;
                loop.addRoundedRectangle (c.x - 5.0f, c.y - 2.8f, 10.0f, 5.6f, 2.6f);
                g.strokePath (loop, juce::PathStrokeType (1.2f));
                p.addTriangle (c.x + 0.5f, c.y - 5.0f, c.x + 0.5f, c.y - 0.6f, c.x + 3.2f, c.y - 2.8f);
                break;
            }
            case Glyph::mute:
                g.setFont (artFont (7.5f, 1));
                g.drawText ("M", area.translated (0.0f, 0.5f), juce::Justification::centred, false);
                return;
        }
        g.fillPath (p);
    }

    juce::Image drawKey (int w, int h, Glyph kind, bool on, bool over)
    {
        auto image = blank (w, h);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat();
        panelKey (g, area, on, over);
        const auto colour = on ? Colour (0xff1a1205) : (over ? colours::orange.brighter (0.25f) : dimGlyph);
        glyph (g, kind, area, colour);
        return image;
    }

    juce::Image drawMeter()
    {
        // From the bottom: one base row, then eight segments of five rows and a gap each.
        auto image = blank (L::rhythmMeterWidth, L::rhythmMeterHeight);
        juce::Graphics g (image);
        const int h = L::rhythmMeterHeight;
        g.setColour (meterColour (0.0f, true).withAlpha (0.8f));
        g.fillRect (2, h - 1, L::rhythmMeterWidth - 4, 1);
        for (int s = 0; s < 8; ++s)
        {
            const int top = h - (6 * s + 6);
            const auto c = meterColour ((float) s / 7.0f, true);
            g.setColour (c);
            g.fillRect (2, top, L::rhythmMeterWidth - 4, 5);
            g.setColour (c.brighter (0.5f).withAlpha (0.6f));
            g.fillRect (2, top, L::rhythmMeterWidth - 4, 1);
        }
        // The top rows: a thin red cap, lit only at full scale.
        g.setColour (meterColour (1.0f, true));
        g.fillRect (2, 0, L::rhythmMeterWidth - 4, 2);
        return image;
    }

    juce::Image drawLevelScale()
    {
        auto image = blank (L::rhythmDrumLevel.w, L::rhythmDrumLevel.h);
        juce::Graphics g (image);
        const float w = (float) image.getWidth();
        recess (g, { 2.0f, 4.5f, w - 4.0f, 3.5f }, Colour (0xff060606), 1.5f);
        // A wedge that grows to the right: louder.
        juce::Path wedge;
        wedge.addTriangle (4.0f, 11.0f, w - 4.0f, 11.0f, w - 4.0f, 9.0f);
        g.setColour (colours::orange.withAlpha (0.35f));
        g.fillPath (wedge);
        return image;
    }

    juce::Image drawLevelThumb()
    {
        auto image = blank (L::rhythmLevelThumbWidth, L::rhythmLevelThumbHeight);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat().reduced (0.5f, 0.5f);
        plate (g, area, Colour (0xffd8d4cc), 1.5f);
        g.setColour (colours::orange);
        g.drawVerticalLine ((int) area.getCentreX(), area.getY() + 2.0f, area.getBottom() - 2.0f);
        return image;
    }

    juce::Image drawLocateThumb()
    {
        auto image = blank (L::rhythmLocateThumbWidth, L::rhythmLocateThumbHeight);
        juce::Graphics g (image);
        const float w = (float) image.getWidth(), h = (float) image.getHeight();
        juce::Path p;
        p.startNewSubPath (0.5f, 0.5f);
        p.lineTo (w - 0.5f, 0.5f);
        p.lineTo (w - 0.5f, h - 5.0f);
        p.lineTo (w * 0.5f, h - 0.5f);
        p.lineTo (0.5f, h - 5.0f);
        p.closeSubPath();
        g.setGradientFill (juce::ColourGradient (colours::orange.brighter (0.3f), 0.0f, 0.0f, colours::darkOrange, 0.0f, h,
                                                 false));
        g.fillPath (p);
        g.setColour (juce::Colours::black.withAlpha (0.8f));
        g.strokePath (p, juce::PathStrokeType (1.0f));
        g.setColour (Colour (0xff1a1205));
        g.drawVerticalLine ((int) (w * 0.5f), 3.0f, h - 5.0f);
        return image;
    }

    // The keys, at their places' sizes.
    template <Glyph kind, int w, int h, bool on, bool over>
    juce::Image key() { return drawKey (w, h, kind, on, over); }

    constexpr int pw = L::rhythmPower.w, ph = L::rhythmPower.h;
    constexpr int tw = L::rhythmPlay.w, th = L::rhythmPlay.h;
    constexpr int rw = L::rhythmRepeat.w, rh = L::rhythmRepeat.h;
    constexpr int mw = L::rhythmDrumMute.w, mh = L::rhythmDrumMute.h;

    const ArtRegistration registrations[] = {
        { "rhythm_open.png", drawOpen },
        { "rhythm_folded.png", drawFolded },
        { "rhythm_power.png", key<Glyph::power, pw, ph, false, false> },
        { "rhythm_power_over.png", key<Glyph::power, pw, ph, false, true> },
        { "rhythm_power_on.png", key<Glyph::power, pw, ph, true, false> },
        { "rhythm_power_on_over.png", key<Glyph::power, pw, ph, true, true> },
        { "rhythm_previous_bar.png", key<Glyph::previous, tw, th, false, false> },
        { "rhythm_previous_bar_over.png", key<Glyph::previous, tw, th, false, true> },
        { "rhythm_play.png", key<Glyph::play, tw, th, false, false> },
        { "rhythm_play_over.png", key<Glyph::play, tw, th, false, true> },
        { "rhythm_play_on.png", key<Glyph::play, tw, th, true, false> },
        { "rhythm_play_on_over.png", key<Glyph::play, tw, th, true, true> },
        { "rhythm_stop.png", key<Glyph::stop, tw, th, false, false> },
        { "rhythm_stop_over.png", key<Glyph::stop, tw, th, false, true> },
        { "rhythm_next_bar.png", key<Glyph::next, tw, th, false, false> },
        { "rhythm_next_bar_over.png", key<Glyph::next, tw, th, false, true> },
        { "rhythm_repeat.png", key<Glyph::repeat, rw, rh, false, false> },
        { "rhythm_repeat_over.png", key<Glyph::repeat, rw, rh, false, true> },
        { "rhythm_repeat_on.png", key<Glyph::repeat, rw, rh, true, false> },
        { "rhythm_repeat_on_over.png", key<Glyph::repeat, rw, rh, true, true> },
        { "rhythm_mute.png", key<Glyph::mute, mw, mh, false, false> },
        { "rhythm_mute_over.png", key<Glyph::mute, mw, mh, false, true> },
        { "rhythm_mute_on.png", key<Glyph::mute, mw, mh, true, false> },
        { "rhythm_mute_on_over.png", key<Glyph::mute, mw, mh, true, true> },
        { "rhythm_meter.png", drawMeter },
        { "rhythm_level_scale.png", drawLevelScale },
        { "rhythm_level_thumb.png", drawLevelThumb },
        { "rhythm_locate_thumb.png", drawLocateThumb },
    };
} // namespace
} // namespace oxart
