// The librarian's pictures: the page with its two display windows and button
// rails, the eight buttons (normal and under the pointer), the three choosers
// with their buttons, the save-as dialog with its two buttons, and the two
// pointers shown while a table cell is dragged.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;
    using juce::Rectangle;

    const Colour glassColour (0xff080706);

    Rectangle<int> box (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }

    //==============================================================================
    // Glyphs drawn in line art inside a square (buttons, choosers).
    enum class Glyph
    {
        plus, bin, cross, importing, exporting, toPc, toDevice, eraser, disk, diskAs, stack, card, device
    };

    void arrowHead (juce::Graphics& g, float x, float y, float dx, float dy, float size)
    {
        juce::Path p;
        const float nx = -dy, ny = dx;
        p.addTriangle (x, y, x - dx * size + nx * size * 0.75f, y - dy * size + ny * size * 0.75f,
                       x - dx * size - nx * size * 0.75f, y - dy * size - ny * size * 0.75f);
        g.fillPath (p);
    }

    void glyph (juce::Graphics& g, Glyph which, Rectangle<float> r, Colour colour)
    {
        g.setColour (colour);
        const auto c = r.getCentre();
        const float s = juce::jmin (r.getWidth(), r.getHeight()) / 10.0f; // a 10-unit grid
        const float line = juce::jmax (1.0f, 1.1f * s);

        switch (which)
        {
            case Glyph::plus: // a new sheet with a plus on its corner
                g.drawRect (c.x - 4.5f * s, c.y - 4.5f * s, 6.0f * s, 8.5f * s, line * 0.9f);
                g.setColour (colour.withAlpha (1.0f));
                g.fillRect (c.x + 0.5f * s, c.y + 1.5f * s - line * 0.6f, 4.5f * s, line * 1.2f);
                g.fillRect (c.x + 2.75f * s - line * 0.6f, c.y - 0.75f * s, line * 1.2f, 4.5f * s);
                break;
            case Glyph::bin:
                g.fillRect (c.x - 4.0f * s, c.y - 4.0f * s, 8.0f * s, line);
                g.fillRect (c.x - 1.5f * s, c.y - 5.0f * s, 3.0f * s, line);
                g.drawRect (c.x - 3.0f * s, c.y - 2.5f * s, 6.0f * s, 7.5f * s, line * 0.9f);
                g.drawVerticalLine ((int) c.x, c.y - 1.0f * s, c.y + 4.0f * s);
                break;
            case Glyph::cross:
                g.drawLine (c.x - 3.5f * s, c.y - 3.5f * s, c.x + 3.5f * s, c.y + 3.5f * s, line * 1.3f);
                g.drawLine (c.x - 3.5f * s, c.y + 3.5f * s, c.x + 3.5f * s, c.y - 3.5f * s, line * 1.3f);
                break;
            case Glyph::importing: // an arrow into a tray
            case Glyph::exporting: // an arrow out of a tray
            {
                const bool in = which == Glyph::importing;
                g.drawLine (c.x - 4.0f * s, c.y + 1.0f * s, c.x - 4.0f * s, c.y + 4.5f * s, line);
                g.drawLine (c.x - 4.0f * s, c.y + 4.5f * s, c.x + 4.0f * s, c.y + 4.5f * s, line);
                g.drawLine (c.x + 4.0f * s, c.y + 4.5f * s, c.x + 4.0f * s, c.y + 1.0f * s, line);
                g.drawLine (c.x, c.y - 5.0f * s, c.x, c.y + 2.0f * s, line);
                if (in)
                    arrowHead (g, c.x, c.y + 3.0f * s, 0.0f, 1.0f, 3.0f * s);
                else
                    arrowHead (g, c.x, c.y - 5.5f * s, 0.0f, -1.0f, 3.0f * s);
                break;
            }
            case Glyph::toPc:     // from the device: arrow out of a unit, to the left
            case Glyph::toDevice: // into the device: arrow into a unit, from the left
            {
                g.drawRoundedRectangle (c.x + 0.5f * s, c.y - 4.0f * s, 4.5f * s, 8.0f * s, 1.0f * s, line * 0.9f);
                g.fillEllipse (c.x + 2.0f * s, c.y + 1.2f * s, 1.6f * s, 1.6f * s);
                g.fillRect (c.x + 1.8f * s, c.y - 2.6f * s, 1.9f * s, 1.6f * s);
                if (which == Glyph::toPc)
                {
                    g.drawLine (c.x - 2.5f * s, c.y, c.x - 0.5f * s, c.y, line * 1.2f);
                    arrowHead (g, c.x - 5.5f * s, c.y, -1.0f, 0.0f, 3.2f * s);
                }
                else
                {
                    g.drawLine (c.x - 5.5f * s, c.y, c.x - 3.0f * s, c.y, line * 1.2f);
                    arrowHead (g, c.x - 0.3f * s, c.y, 1.0f, 0.0f, 3.2f * s);
                }
                break;
            }
            case Glyph::eraser:
            {
                juce::Path p;
                p.startNewSubPath (c.x - 4.5f * s, c.y + 1.5f * s);
                p.lineTo (c.x + 0.5f * s, c.y - 3.5f * s);
                p.lineTo (c.x + 4.5f * s, c.y + 0.5f * s);
                p.lineTo (c.x + 0.5f * s, c.y + 4.5f * s);
                p.lineTo (c.x - 1.5f * s, c.y + 4.5f * s);
                p.closeSubPath();
                g.strokePath (p, juce::PathStrokeType (line * 0.9f));
                g.drawLine (c.x - 2.5f * s, c.y - 0.5f * s, c.x + 1.5f * s, c.y + 3.5f * s, line * 0.9f);
                g.fillRect (c.x + 1.0f * s, c.y + 4.5f * s - line * 0.5f, 4.0f * s, line * 0.9f);
                break;
            }
            case Glyph::disk:
            case Glyph::diskAs:
            {
                const float dx = which == Glyph::diskAs ? -1.5f * s : 0.0f;
                g.drawRect (c.x - 4.0f * s + dx, c.y - 4.0f * s, 8.0f * s, 8.0f * s, line * 0.9f);
                g.fillRect (c.x - 2.0f * s + dx, c.y - 4.0f * s, 4.0f * s, 3.0f * s);
                g.fillRect (c.x - 2.5f * s + dx, c.y + 1.0f * s, 5.0f * s, 3.0f * s);
                if (which == Glyph::diskAs)
                {
                    // A pencil across the corner.
                    g.drawLine (c.x + 1.5f * s, c.y + 4.5f * s, c.x + 5.5f * s, c.y + 0.5f * s, line * 1.6f);
                    g.setColour (colour.darker (0.6f));
                    g.drawLine (c.x + 1.5f * s, c.y + 4.5f * s, c.x + 2.5f * s, c.y + 3.5f * s, line * 1.6f);
                }
                break;
            }
            case Glyph::stack:
                for (int i = 0; i < 3; ++i)
                    g.drawRoundedRectangle (c.x - 4.5f * s + (float) i * 1.5f * s, c.y - 4.5f * s + (float) i * 2.5f * s,
                                            7.0f * s, 4.5f * s, 0.8f * s, line * 0.8f);
                break;
            case Glyph::card:
                g.drawRoundedRectangle (c.x - 3.5f * s, c.y - 4.5f * s, 7.0f * s, 9.0f * s, 1.0f * s, line * 0.9f);
                for (int i = 0; i < 3; ++i)
                    g.fillRect (c.x - 2.0f * s, c.y - 2.5f * s + (float) i * 2.2f * s, 4.0f * s, line * 0.7f);
                break;
            case Glyph::device: // a floor unit: its display, two knobs and two footswitches
                g.drawRoundedRectangle (c.x - 5.0f * s, c.y - 3.5f * s, 10.0f * s, 7.5f * s, 1.2f * s, line * 0.9f);
                g.fillRect (c.x - 3.5f * s, c.y - 2.2f * s, 3.2f * s, 1.8f * s);
                g.drawEllipse (c.x + 0.6f * s, c.y - 2.4f * s, 1.6f * s, 1.6f * s, line * 0.6f);
                g.drawEllipse (c.x + 2.6f * s, c.y - 2.4f * s, 1.6f * s, 1.6f * s, line * 0.6f);
                g.fillEllipse (c.x - 3.2f * s, c.y + 0.6f * s, 2.0f * s, 2.0f * s);
                g.fillEllipse (c.x + 1.2f * s, c.y + 0.6f * s, 2.0f * s, 2.0f * s);
                break;
        }
    }

    /** The groove a row of buttons sits in. */
    void buttonRail (juce::Graphics& g, int x, int y, int count, int buttonWidth, int buttonHeight)
    {
        const Rectangle<float> rail ((float) x - 2.0f, (float) y - 1.0f, (float) (count * buttonWidth) + 4.0f,
                                     (float) buttonHeight + 2.0f);
        recess (g, rail, Colour (0xff0b0b0d), 4.0f);
    }


    juce::Image drawLibrarianBackground()
    {
        auto image = juce::Image (juce::Image::RGB, L::librarianWidth, L::librarianHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();

        // The page's own edge, as the window's background draws it round every page.
        // The two halves: the groups above, the patches below, parted by a seam.
        pagePlate (g, area, 61, (L::librarianGroupButtonY + L::librarianButtonHeight + L::librarianPatchTable.y) / 2 - 8);

        const auto groups = box (L::librarianGroupTable);
        const auto patches = box (L::librarianPatchTable);

        listHeading (g, "PATCH GROUP LIST", "LAST SAVED", { groups.getX() - 2, 5, groups.getWidth() + 2, 12 });
        listHeading (g, "PATCH LIST", "A0 - J9", { patches.getX() - 2, patches.getY() - 18, patches.getWidth() + 2, 12 });

        glassWindow (g, groups);
        glassWindow (g, patches);

        buttonRail (g, L::librarianButtonX[0], L::librarianGroupButtonY, 4, L::librarianButtonWidth, L::librarianButtonHeight);
        buttonRail (g, L::librarianButtonX[0], L::librarianPatchButtonY, 4, L::librarianButtonWidth, L::librarianButtonHeight);

        // Screws in the corners of the two halves.
        for (const auto x : { 10.0f, (float) area.getWidth() - 11.0f })
        {
            screw (g, x, 10.0f, 2.2f);
            screw (g, x, (float) L::librarianGroupButtonY + 16.0f, 2.2f);
            screw (g, x, (float) patches.getY() - 12.0f, 2.2f);
            screw (g, x, (float) area.getHeight() - 11.0f, 2.2f);
        }
        return image;
    }

    //==============================================================================
    /** A push button on the panel: a dark plate with orange lettering, lit
        orange with black lettering under the pointer. One or two lines of
        label, each with its glyph. */
    juce::Image drawPanelButton (int width, int height, Rectangle<float> body, const juce::StringArray& lines,
                                 const std::vector<Glyph>& glyphs, bool over, float textHeight, float largestGlyph = 10.0f)
    {
        auto image = blank (width, height);
        juce::Graphics g (image);

        g.setColour (juce::Colours::black.withAlpha (0.65f));
        g.fillRoundedRectangle (body.translated (0.0f, 1.5f), 3.0f);
        plate (g, body, over ? Colour (236, 140, 0) : Colour (0xff3a3a41), 3.0f);
        if (! over)
        {
            // A thin lit edge along the top, as on the dialogs' buttons.
            g.setColour (colours::orange.withAlpha (0.35f));
            g.fillRect (body.getX() + 4.0f, body.getY() + 1.5f, body.getWidth() - 8.0f, 1.0f);
        }

        const auto ink = over ? Colour (0xff140a00) : colours::orange;
        const int n = lines.size();
        const float lineHeight = (body.getHeight() - 4.0f) / (float) n;
        for (int i = 0; i < n; ++i)
        {
            const Rectangle<float> row (body.getX() + 3.0f, body.getY() + 2.0f + lineHeight * (float) i,
                                        body.getWidth() - 6.0f, lineHeight);
            const auto font = artFont (textHeight, 2);
            const float textWidth = juce::jmin (row.getWidth() - 12.0f, (float) font.getStringWidth (lines[i]));
            const float glyphSize = juce::jmin (lineHeight, largestGlyph);
            const float total = glyphSize + 3.0f + textWidth;
            const float left = row.getX() + (row.getWidth() - total) * 0.5f;
            if (i < (int) glyphs.size())
                glyph (g, glyphs[(size_t) i], { left, row.getCentreY() - glyphSize * 0.5f, glyphSize, glyphSize }, ink);
            label (g, lines[i], Rectangle<float> (left + glyphSize + 3.0f, row.getY(), textWidth + 1.0f, row.getHeight()).toNearestInt(),
                   textHeight, ink, 2, juce::Justification::centredLeft);
        }
        return image;
    }

    juce::Image librarianButton (const juce::StringArray& lines, std::vector<Glyph> glyphs, bool over)
    {
        const Rectangle<float> body (2.0f, 2.0f, (float) L::librarianButtonWidth - 4.0f, (float) L::librarianButtonHeight - 5.0f);
        return drawPanelButton (L::librarianButtonWidth, L::librarianButtonHeight, body, lines, glyphs, over,
                                lines.size() > 1 ? 8.0f : 9.5f, lines.size() > 1 ? 10.0f : 11.0f);
    }

    template <bool Over> juce::Image newButton()      { return librarianButton ({ "NEW" }, { Glyph::plus }, Over); }
    template <bool Over> juce::Image deleteButton()   { return librarianButton ({ "DELETE" }, { Glyph::bin }, Over); }
    template <bool Over> juce::Image importExport()   { return librarianButton ({ "IMPORT", "EXPORT" }, { Glyph::importing, Glyph::exporting }, Over); }
    template <bool Over> juce::Image backupRestore()  { return librarianButton ({ "BACKUP", "RESTORE" }, { Glyph::toPc, Glyph::toDevice }, Over); }
    template <bool Over> juce::Image eraseButton()    { return librarianButton ({ "ERASE" }, { Glyph::eraser }, Over); }
    template <bool Over> juce::Image saveButton()     { return librarianButton ({ "SAVE" }, { Glyph::disk }, Over); }
    template <bool Over> juce::Image saveAsButton()   { return librarianButton ({ "SAVE AS" }, { Glyph::diskAs }, Over); }

    //==============================================================================
    /** A chooser: heading, a large glyph in a round window on the left, a lamp on the right. */
    juce::Image drawWizard (const juce::String& title, Glyph big, Glyph small)
    {
        auto image = juce::Image (juce::Image::RGB, L::wizardWidth, L::wizardHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();
        brushedPanel (g, area, 71);

        // The heading strip.
        const Rectangle<int> strip (4, 3, area.getWidth() - 8, 15);
        recess (g, strip.toFloat(), Colour (0xff0b0b0d), 3.0f);
        engraved (g, title, strip, 9.0f, colours::orange, 2);

        // The groove the two buttons sit in.
        const auto& b = L::wizardButtonBody;
        recess (g, Rectangle<float> ((float) (L::wizardButtonX + b.x - 3), (float) (L::wizardUpperY + b.y - 3),
                                     (float) (b.w + 6), (float) (L::wizardLowerY - L::wizardUpperY + b.h + 6)),
                Colour (0xff0b0b0d), 4.0f);

        // Left: what the chooser handles, in a round window.
        const Rectangle<float> dial (14.0f, 28.0f, 40.0f, 40.0f);
        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillEllipse (dial.translated (0.0f, 1.0f).expanded (2.0f));
        plate (g, dial.expanded (2.0f), Colour (0xff3a3a41), 21.0f);
        g.setColour (glassColour);
        g.fillEllipse (dial.reduced (2.0f));
        g.setGradientFill (juce::ColourGradient (colours::orange.withAlpha (0.16f), dial.getCentreX(), dial.getCentreY(),
                                                 juce::Colours::transparentBlack, dial.getRight(), dial.getCentreY(), true));
        g.fillEllipse (dial.reduced (2.0f));
        glyph (g, big, dial.reduced (9.0f), colours::orange);

        // Right: a small glyph of the other side of the exchange, and a lamp.
        const Rectangle<float> side (158.0f, 30.0f, 30.0f, 30.0f);
        recess (g, side, glassColour, 4.0f);
        glyph (g, small, side.reduced (7.0f), colours::orange.withAlpha (0.8f));
        led (g, { side.getCentreX(), 70.0f }, 2.5f, colours::orange, true);

        for (const auto x : { 6.0f, (float) area.getWidth() - 6.0f })
            screw (g, x, (float) area.getHeight() - 6.0f, 2.0f);

        g.setColour (juce::Colours::black);
        g.drawRect (area, 1);
        return image;
    }

    juce::Image wizardPatchGroup() { return drawWizard ("PATCH GROUP WIZARD", Glyph::stack, Glyph::disk); }
    juce::Image wizardBackup()     { return drawWizard ("BACKUP WIZARD", Glyph::device, Glyph::stack); }
    juce::Image wizardPatch()      { return drawWizard ("PATCH WIZARD", Glyph::card, Glyph::disk); }

    juce::Image wizardButton (const juce::String& text, Glyph g, bool over)
    {
        const auto& b = L::wizardButtonBody;
        return drawPanelButton (L::wizardButtonWidth, L::wizardButtonHeight,
                                Rectangle<int> (b.x, b.y, b.w, b.h).toFloat(), { text }, { g }, over, 10.0f, 13.0f);
    }

    template <bool Over> juce::Image wizardImport()   { return wizardButton ("IMPORT", Glyph::importing, Over); }
    template <bool Over> juce::Image wizardExport()   { return wizardButton ("EXPORT", Glyph::exporting, Over); }
    template <bool Over> juce::Image wizardBackupB()  { return wizardButton ("BACKUP", Glyph::toPc, Over); }
    template <bool Over> juce::Image wizardRestore()  { return wizardButton ("RESTORE", Glyph::toDevice, Over); }

    //==============================================================================
    juce::Image drawStoreAsBackground()
    {
        auto image = juce::Image (juce::Image::RGB, L::storeAsWidth, L::storeAsHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds();
        brushedPanel (g, area, 83);

        const auto groups = box (L::storeAsGroupTable);
        const auto patches = box (L::storeAsPatchTable);

        // A lead line: what the dialog does.
        const Rectangle<int> strip (6, 4, area.getWidth() - 12, 13);
        recess (g, strip.toFloat(), Colour (0xff0b0b0d), 3.0f);
        engraved (g, "STORE THE CURRENT SOUND", strip, 8.5f, colours::orange.withAlpha (0.85f), 2);

        listHeading (g, "PATCH GROUP LIST", "CHOOSE A GROUP", { groups.getX() - 2, groups.getY() - 16, groups.getWidth() + 2, 12 });
        listHeading (g, "PATCH LIST", "CHOOSE A PLACE", { patches.getX() - 2, patches.getY() - 16, patches.getWidth() + 2, 12 });
        glassWindow (g, groups);
        glassWindow (g, patches);

        // The button rail with both buttons.
        const auto& b = L::storeAsButtonBody;
        const Rectangle<float> rail ((float) (L::storeAsCancelX + b.x - 3), (float) (L::storeAsButtonY + b.y - 3),
                                     (float) (L::storeAsSaveX - L::storeAsCancelX + b.w + 6), (float) (b.h + 6));
        recess (g, rail, Colour (0xff0b0b0d), 4.0f);

        // Left of the buttons: a lamp and a caption.
        led (g, { 30.0f, rail.getCentreY() }, 2.5f, colours::orange, true);
        engraved (g, "OVERWRITES THE PLACE", { 38, (int) rail.getY(), 90, (int) rail.getHeight() }, 7.0f,
                  colours::orange.withAlpha (0.6f), 2, juce::Justification::centredLeft);

        for (const auto x : { 7.0f, (float) area.getWidth() - 7.0f })
            for (const auto y : { 24.0f, (float) area.getHeight() - 7.0f })
                screw (g, x, y, 2.2f);

        g.setColour (juce::Colours::black);
        g.drawRect (area, 1);
        return image;
    }

    juce::Image storeAsButton (const juce::String& text, Glyph g, bool over)
    {
        const auto& b = L::storeAsButtonBody;
        return drawPanelButton (L::storeAsButtonWidth, L::storeAsButtonHeight,
                                Rectangle<int> (b.x, b.y, b.w, b.h).toFloat(), { text }, { g }, over, 11.0f, 13.0f);
    }

    template <bool Over> juce::Image storeAsSave()   { return storeAsButton ("SAVE", Glyph::disk, Over); }
    template <bool Over> juce::Image storeAsCancel() { return storeAsButton ("CANCEL", Glyph::cross, Over); }

    //==============================================================================
    void outlined (juce::Graphics& g, const juce::Path& path, Colour fill)
    {
        g.setColour (juce::Colours::black);
        g.strokePath (path, juce::PathStrokeType (2.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        g.setColour (fill);
        g.fillPath (path);
    }

    juce::Path pointer()
    {
        juce::Path p;
        p.startNewSubPath (2.0f, 2.0f);
        p.lineTo (2.0f, 17.0f);
        p.lineTo (6.0f, 13.5f);
        p.lineTo (8.8f, 19.5f);
        p.lineTo (11.2f, 18.4f);
        p.lineTo (8.5f, 12.5f);
        p.lineTo (13.5f, 12.5f);
        p.closeSubPath();
        return p;
    }

    /** The pointer with a small patch card under it; refused adds a barred circle. */
    juce::Image drawDropCursor (bool allowed)
    {
        auto image = blank (L::dropCursorSize, L::dropCursorSize);
        juce::Graphics g (image);

        juce::Path card;
        card.addRoundedRectangle (10.5f, 13.5f, 12.0f, 8.0f, 1.5f);
        outlined (g, card, allowed ? Colour (0xff3a3a41) : Colour (0xff2a2a2e));
        g.setColour (colours::orange.withAlpha (allowed ? 1.0f : 0.5f));
        g.fillRect (13.0f, 16.0f, 7.0f, 1.0f);
        g.fillRect (13.0f, 18.5f, 5.0f, 1.0f);

        outlined (g, pointer(), colours::orange);

        if (! allowed)
        {
            const Rectangle<float> sign (13.0f, 1.0f, 10.0f, 10.0f);
            g.setColour (juce::Colours::black);
            g.fillEllipse (sign.expanded (1.0f));
            g.setColour (Colour (235, 50, 30));
            g.drawEllipse (sign.reduced (1.0f), 2.0f);
            g.drawLine (sign.getX() + 2.5f, sign.getBottom() - 2.5f, sign.getRight() - 2.5f, sign.getY() + 2.5f, 2.0f);
        }
        return image;
    }

    juce::Image dropAllowed() { return drawDropCursor (true); }
    juce::Image dropRefused() { return drawDropCursor (false); }

    const ArtRegistration registrations[] = {
        { "librarian_background.png", drawLibrarianBackground },
        { "librarian_new.png", newButton<false> },
        { "librarian_new_over.png", newButton<true> },
        { "librarian_delete.png", deleteButton<false> },
        { "librarian_delete_over.png", deleteButton<true> },
        { "librarian_group_import_export.png", importExport<false> },
        { "librarian_group_import_export_over.png", importExport<true> },
        { "librarian_backup_restore.png", backupRestore<false> },
        { "librarian_backup_restore_over.png", backupRestore<true> },
        { "librarian_erase.png", eraseButton<false> },
        { "librarian_erase_over.png", eraseButton<true> },
        { "librarian_patch_import_export.png", importExport<false> },
        { "librarian_patch_import_export_over.png", importExport<true> },
        { "librarian_save.png", saveButton<false> },
        { "librarian_save_over.png", saveButton<true> },
        { "librarian_save_as.png", saveAsButton<false> },
        { "librarian_save_as_over.png", saveAsButton<true> },
        { "wizard_patch_group.png", wizardPatchGroup },
        { "wizard_backup.png", wizardBackup },
        { "wizard_patch.png", wizardPatch },
        { "wizard_import.png", wizardImport<false> },
        { "wizard_import_over.png", wizardImport<true> },
        { "wizard_export.png", wizardExport<false> },
        { "wizard_export_over.png", wizardExport<true> },
        { "wizard_backup_button.png", wizardBackupB<false> },
        { "wizard_backup_button_over.png", wizardBackupB<true> },
        { "wizard_restore.png", wizardRestore<false> },
        { "wizard_restore_over.png", wizardRestore<true> },
        { "store_as_background.png", drawStoreAsBackground },
        { "store_as_save.png", storeAsSave<false> },
        { "store_as_save_over.png", storeAsSave<true> },
        { "store_as_cancel.png", storeAsCancel<false> },
        { "store_as_cancel_over.png", storeAsCancel<true> },
        { "cursor_drop_allowed.png", dropAllowed },
        { "cursor_drop_refused.png", dropRefused },
    };
} // namespace
} // namespace oxart
