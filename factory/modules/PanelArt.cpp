// The faceplates of the module types, one drawing per family; colours, caption
// and variant make the types of a family tell apart.
#include "ModuleArt.h"

#include <cmath>

namespace oxafactory
{
namespace
{
    using juce::Colour;
    using juce::Graphics;
    using juce::Rectangle;

    Rectangle<float> toFloat (Rectangle<int> r) { return r.toFloat(); }

    /** A textured covering (tolex) over the area. */
    void tolex (Graphics& g, Rectangle<int> area, Colour colour, int seed)
    {
        g.setColour (colour);
        g.fillRect (area);
        juce::Random random (seed);
        for (int i = 0; i < area.getWidth() * area.getHeight() / 6; ++i)
        {
            const int x = area.getX() + random.nextInt (area.getWidth());
            const int y = area.getY() + random.nextInt (area.getHeight());
            g.setColour (random.nextBool() ? colour.brighter (0.25f) : colour.darker (0.35f));
            g.fillRect (x, y, 1, 1);
        }
    }

    /** A metal or painted plate with a soft vertical gradient and a bevel. */
    void plate (Graphics& g, Rectangle<float> area, Colour colour, float corner)
    {
        g.setGradientFill (juce::ColourGradient (colour.brighter (0.25f), area.getX(), area.getY(),
                                                 colour.darker (0.35f), area.getX(), area.getBottom(), false));
        g.fillRoundedRectangle (area, corner);
        g.setColour (juce::Colours::white.withAlpha (0.22f));
        g.drawRoundedRectangle (area.reduced (1.0f), corner, 1.0f);
        g.setColour (juce::Colours::black.withAlpha (0.8f));
        g.drawRoundedRectangle (area, corner, 1.0f);
    }

    void screw (Graphics& g, float x, float y, float r = 2.5f)
    {
        g.setGradientFill (juce::ColourGradient (Colour (0xffd0d0d0), x - r, y - r, Colour (0xff404040), x + r, y + r, false));
        g.fillEllipse (x - r, y - r, r * 2, r * 2);
        g.setColour (Colour (0xff202020));
        g.drawLine (x - r * 0.7f, y - r * 0.7f, x + r * 0.7f, y + r * 0.7f, 0.8f);
    }

    /** Jack sockets at both edges of the unit, where the plugs go in. */
    void sockets (Graphics& g, const ModulePlan& plan)
    {
        for (const auto x : { (float) plan.face.getX() + 1.0f, (float) plan.face.getRight() - 1.0f })
        {
            const float y = (float) plan.input.y + 30.0f;
            g.setColour (Colour (0xff101010));
            g.fillRoundedRectangle (x - 4.0f, y - 7.0f, 8.0f, 14.0f, 2.0f);
            g.setColour (Colour (0xffa0a0a0));
            g.fillEllipse (x - 3.0f, y - 3.0f, 6.0f, 6.0f);
            g.setColour (Colour (0xff000000));
            g.fillEllipse (x - 1.5f, y - 1.5f, 3.0f, 3.0f);
        }
    }

    void text (Graphics& g, const juce::String& s, Rectangle<int> area, float height, Colour colour,
               int face = 1, juce::Justification just = juce::Justification::centred)
    {
        g.setColour (colour);
        g.setFont (artFont (height, face));
        g.drawFittedText (s, area, just, 1, 0.7f);
    }

    /** The tick marks of a knob's scale. */
    void knobScale (Graphics& g, const PlacedControl& c, Colour colour)
    {
        const auto centre = c.rect.toFloat().getCentre();
        const float r = (float) c.rect.getWidth() * 0.5f;
        g.setColour (colour);
        for (int i = 0; i <= 10; ++i)
        {
            const float a = juce::degreesToRadians (-150.0f + 30.0f * (float) i);
            const float inner = r + 1.5f, outer = r + (i % 5 == 0 ? 5.0f : 3.5f);
            g.drawLine (centre.x + inner * std::sin (a), centre.y - inner * std::cos (a),
                        centre.x + outer * std::sin (a), centre.y - outer * std::cos (a), 1.0f);
        }
    }

    /** Labels under the controls, knob scales and slider grooves. */
    void controlMarkings (Graphics& g, const ModulePlan& plan, Colour labelColour, Colour scaleColour)
    {
        for (const auto& c : plan.ctrls)
        {
            if (c.scale)
                knobScale (g, c, scaleColour);

            if (c.kind == "Slider" || c.kind == "LedSlider")
            {
                const float x = (float) c.rect.getCentreX();
                const float top = (float) c.rect.getY() + c.slHeight * 0.5f, bottom = (float) c.rect.getBottom() - c.slHeight * 0.5f;
                g.setColour (Colour (0xff050505));
                g.fillRoundedRectangle (x - 2.0f, top - 2.0f, 4.0f, bottom - top + 4.0f, 2.0f);
                g.setColour (scaleColour);
                for (int i = 0; i <= 6; ++i)
                {
                    const float y = top + (bottom - top) * (float) i / 6.0f;
                    const float w = i == 3 ? 6.0f : 4.0f;
                    g.drawLine ((float) c.rect.getX() - w, y, (float) c.rect.getX() - 1.0f, y, 1.0f);
                    g.drawLine ((float) c.rect.getRight() + 1.0f, y, (float) c.rect.getRight() + w, y, 1.0f);
                }
            }

            if (c.label.isNotEmpty())
            {
                Rectangle<int> area (c.rect.getCentreX() - 30, c.rect.getBottom() + (c.scale ? 4 : 2), 60, 9);
                if (c.kind == "Toggle")
                    area = { c.rect.getRight() + 2, c.rect.getY(), 28, c.rect.getHeight() };
                text (g, c.label, area, 7.5f, labelColour, 2,
                      c.kind == "Toggle" ? juce::Justification::centredLeft : juce::Justification::centred);
            }
        }
    }

    /** A black name window with the display name in orange and the caption below it. */
    void nameWindow (Graphics& g, Rectangle<int> area, const ModuleType& type, Colour captionColour)
    {
        g.setColour (Colour (0xff050505));
        g.fillRoundedRectangle (area.toFloat(), 3.0f);
        g.setColour (juce::Colours::white.withAlpha (0.12f));
        g.drawRoundedRectangle (area.toFloat().reduced (0.5f), 3.0f, 1.0f);
        auto inner = area.reduced (4, 2);
        if (type.caption.isEmpty())
        {
            g.setColour (orangeText);
            g.setFont (artFont (11.0f, 2));
            g.drawFittedText (type.display.toUpperCase(), inner, juce::Justification::centred, 2, 0.8f);
            return;
        }
        text (g, type.display.toUpperCase(), inner.removeFromTop (inner.getHeight() * 3 / 5), 11.0f, orangeText, 2);
        text (g, type.caption, inner, 7.0f, captionColour, 2);
    }

    //==============================================================================
    void stomp (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        const auto face = toFloat (plan.face);
        plate (g, face, type.body, 7.0f);

        // a different top on each variant: stripe, bevelled top or a band
        if (type.variant == 0)
        {
            g.setColour (type.accent.withAlpha (0.6f));
            g.drawRoundedRectangle (face.reduced (3.5f), 5.0f, 1.2f);
        }
        else if (type.variant == 1)
        {
            g.setColour (juce::Colours::black.withAlpha (0.25f));
            g.fillRoundedRectangle (face.getX() + 4, face.getY() + 3, face.getWidth() - 8, 58.0f, 5.0f);
        }
        else
        {
            g.setColour (type.accent.withAlpha (0.35f));
            for (int i = 0; i < 4; ++i)
                g.fillRect (face.getX() + 3, face.getY() + 102.0f + 4.0f * (float) i, face.getWidth() - 6, 1.5f);
        }

        screw (g, face.getX() + 6, face.getY() + 6);
        screw (g, face.getRight() - 6, face.getY() + 6);
        screw (g, face.getX() + 6, face.getBottom() - 6);
        screw (g, face.getRight() - 6, face.getBottom() - 6);

        const auto name = plan.nameArea;
        g.setColour (Colour (0xff050505));
        g.fillRoundedRectangle (name.toFloat(), 3.0f);
        text (g, type.display.toUpperCase(), name.reduced (3, 1), 10.0f, orangeText, 2);
        text (g, type.caption, { name.getX() - 4, name.getBottom() + 1, name.getWidth() + 8, 9 }, 6.5f, type.accent, 2);

        controlMarkings (g, plan, type.accent, type.accent.withAlpha (0.9f));
        sockets (g, plan);
    }

    void ampHead (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        const auto face = plan.face;
        tolex (g, face, type.body, type.key.hashCode());
        g.setColour (juce::Colours::black);
        g.drawRect (face, 1);

        // control panel with piping
        const Rectangle<int> panel (face.getX() + 6, 44, face.getWidth() - 12, 56);
        g.setGradientFill (juce::ColourGradient (Colour (0xff2a2a2c), 0, (float) panel.getY(), Colour (0xff0e0e10), 0,
                                                 (float) panel.getBottom(), false));
        g.fillRect (panel);
        g.setColour (type.accent);
        g.drawRect (panel.expanded (1), 2);

        // the logo plate
        const auto logo = plan.nameArea;
        g.setColour (Colour (0xff070707));
        g.fillRoundedRectangle (logo.toFloat(), 4.0f);
        g.setColour (type.accent);
        g.drawRoundedRectangle (logo.toFloat().reduced (1.0f), 4.0f, 1.2f);
        text (g, type.display, logo.reduced (6, 0).withTrimmedBottom (7), 19.0f, orangeText, 3);
        text (g, type.caption, { logo.getX(), logo.getBottom() - 9, logo.getWidth(), 8 }, 6.5f, orangeText.withAlpha (0.6f), 2);

        // variants: corner guards, a handle strap, or vents
        if (type.variant == 0)
        {
            g.setColour (Colour (0xffb8b8b8));
            for (auto p : { face.getTopLeft(), face.getTopRight().translated (-10, 0), face.getBottomLeft().translated (0, -10),
                            face.getBottomRight().translated (-10, -10) })
                g.fillRoundedRectangle ((float) p.x, (float) p.y, 10.0f, 10.0f, 2.0f);
        }
        else if (type.variant == 1)
        {
            g.setColour (Colour (0xff050505));
            g.fillRoundedRectangle ((float) face.getCentreX() - 120.0f, 2.0f, 40.0f, 6.0f, 3.0f);
            g.fillRoundedRectangle ((float) face.getCentreX() + 80.0f, 2.0f, 40.0f, 6.0f, 3.0f);
        }
        else
        {
            g.setColour (juce::Colours::black.withAlpha (0.6f));
            for (int i = 0; i < 6; ++i)
            {
                g.fillRoundedRectangle ((float) face.getX() + 12.0f + 8.0f * (float) i, 12.0f, 4.0f, 22.0f, 2.0f);
                g.fillRoundedRectangle ((float) face.getRight() - 16.0f - 8.0f * (float) i, 12.0f, 4.0f, 22.0f, 2.0f);
            }
        }

        controlMarkings (g, plan, orangeText, type.accent);
        sockets (g, plan);
    }

    void preamp (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        plate (g, toFloat (plan.face), type.body, 6.0f);
        const auto name = plan.nameArea;
        g.setColour (Colour (0xff050505));
        g.fillRoundedRectangle (name.toFloat(), 3.0f);
        text (g, type.display.toUpperCase() + "  " + type.caption, name.reduced (4, 1), 9.5f, orangeText, 2);
        g.setColour (type.accent.withAlpha (0.5f));
        g.drawLine ((float) plan.face.getX() + 8, 104.0f, (float) plan.face.getRight() - 8, 104.0f, 1.0f);
        controlMarkings (g, plan, orangeText, type.accent);
        sockets (g, plan);
    }

    /** A rack unit: body, ears with screw holes, name window. */
    void rackBody (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        const auto face = toFloat (plan.face);
        plate (g, face, type.body.darker (0.3f), 3.0f);

        // brushed lines
        juce::Random random (type.key.hashCode());
        for (float y = face.getY() + 3; y < face.getBottom() - 3; y += 2.0f)
        {
            g.setColour (juce::Colours::white.withAlpha (0.02f + 0.03f * random.nextFloat()));
            g.drawHorizontalLine ((int) y, face.getX() + 10, face.getRight() - 10);
        }

        for (auto x : { face.getX(), face.getRight() - 9.0f })
        {
            g.setColour (type.body.darker (0.6f));
            g.fillRect (x, face.getY(), 9.0f, face.getHeight());
            g.setColour (Colour (0xff000000));
            g.fillRoundedRectangle (x + 2.5f, face.getY() + 10.0f, 4.0f, 8.0f, 2.0f);
            g.fillRoundedRectangle (x + 2.5f, face.getBottom() - 18.0f, 4.0f, 8.0f, 2.0f);
        }

        // the unit's colour as a band along the bottom
        g.setColour (type.body);
        g.fillRect (face.getX() + 9, face.getBottom() - 6, face.getWidth() - 18, 3.0f);

        nameWindow (g, plan.nameArea, type, juce::Colour (0xffb8b0a0));
    }

    void rack (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        rackBody (g, type, plan);
        controlMarkings (g, plan, orangeText, type.accent);
        sockets (g, plan);
    }

    void noiseRack (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        rackBody (g, type, plan);
        for (const auto& c : plan.ctrls)
            if (c.kind == "ImgPrm")
            {
                g.setColour (Colour (0xff000000));
                g.fillRoundedRectangle (c.rect.toFloat().expanded (3.0f), 3.0f);
            }
        controlMarkings (g, plan, orangeText, type.accent);
        sockets (g, plan);
    }

    void eqStrip (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        rackBody (g, type, plan);
        controlMarkings (g, plan, orangeText, type.accent.withAlpha (0.8f));
        sockets (g, plan);
    }

    void cabinet (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        auto face = plan.face;
        juce::Path outline;
        if (type.variant == 2)
        {
            // slanted top half
            outline.startNewSubPath ((float) face.getX() + 14.0f, (float) face.getY());
            outline.lineTo ((float) face.getRight(), (float) face.getY());
            outline.lineTo ((float) face.getRight(), (float) face.getBottom());
            outline.lineTo ((float) face.getX(), (float) face.getBottom());
            outline.lineTo ((float) face.getX(), (float) face.getY() + 40.0f);
            outline.closeSubPath();
        }
        else
        {
            outline.addRoundedRectangle (face.toFloat(), 4.0f);
        }

        {
            Graphics::ScopedSaveState s (g);
            g.reduceClipRegion (outline);
            tolex (g, face, type.body, type.key.hashCode());
        }
        g.setColour (juce::Colours::black);
        g.strokePath (outline, juce::PathStrokeType (1.5f));

        // grille cloth with the speakers showing through
        const auto grille = face.reduced (9).withTrimmedTop (type.variant == 2 ? 14 : 18);
        const auto cloth = type.accent.interpolatedWith (Colour (0xff000000), 0.72f);
        g.setGradientFill (juce::ColourGradient (cloth.brighter (0.3f), (float) grille.getX(), (float) grille.getY(),
                                                 cloth.darker (0.4f), (float) grille.getX(), (float) grille.getBottom(), false));
        g.fillRect (grille);
        g.setColour (type.accent.withAlpha (0.22f));
        for (int x = grille.getX(); x < grille.getRight(); x += 3)
            g.drawVerticalLine (x, (float) grille.getY(), (float) grille.getBottom());
        for (int y = grille.getY(); y < grille.getBottom(); y += 3)
            g.drawHorizontalLine (y, (float) grille.getX(), (float) grille.getRight());

        const int rows = type.variant == 2 ? 2 : 1;
        const int columns = type.variant == 0 ? 1 : 2;
        const float cellW = (float) grille.getWidth() / (float) columns, cellH = (float) grille.getHeight() / (float) rows;
        const float r = juce::jmin (cellW, cellH) * 0.42f;
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < columns; ++col)
            {
                const float cx = (float) grille.getX() + cellW * ((float) col + 0.5f);
                const float cy = (float) grille.getY() + cellH * ((float) row + 0.5f);
                g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.55f), cx, cy,
                                                         juce::Colours::black.withAlpha (0.15f), cx + r, cy, true));
                g.fillEllipse (cx - r, cy - r, r * 2, r * 2);
                g.setColour (type.accent.withAlpha (0.25f));
                g.drawEllipse (cx - r, cy - r, r * 2, r * 2, 1.5f);
                g.drawEllipse (cx - r * 0.35f, cy - r * 0.35f, r * 0.7f, r * 0.7f, 1.0f);
            }
        g.setColour (type.accent.withAlpha (0.6f));
        g.drawRect (grille, 1);

        const auto badge = plan.nameArea;
        g.setColour (Colour (0xff050505));
        g.fillRoundedRectangle (badge.toFloat(), 3.0f);
        g.setColour (type.accent);
        g.drawRoundedRectangle (badge.toFloat().reduced (0.5f), 3.0f, 1.0f);
        text (g, type.display, badge.reduced (3, 1), 9.5f, orangeText, 2);
        sockets (g, plan);
    }

    void coverPlate (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        const auto face = toFloat (plan.face);
        plate (g, face, type.body, 5.0f);
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        for (float y = face.getY() + 98.0f; y < face.getBottom() - 6.0f; y += 4.0f)
            g.fillRect (face.getX() + 12.0f, y, face.getWidth() - 24.0f, 2.0f);
        for (auto p : { face.getTopLeft().translated (6, 6), face.getTopRight().translated (-6, 6),
                        face.getBottomLeft().translated (6, -6), face.getBottomRight().translated (-6, -6) })
            screw (g, p.x, p.y);
        text (g, type.caption, plan.nameArea, 10.0f, orangeText, 2);
        text (g, "IN USE", { plan.nameArea.getX(), 82, plan.nameArea.getWidth(), 10 }, 7.0f, orangeText.withAlpha (0.7f), 2);
        sockets (g, plan);
    }

    void coverCabinet (Graphics& g, const ModuleType& type, const ModulePlan& plan)
    {
        const auto face = toFloat (plan.face);
        plate (g, face, type.body, 4.0f);
        g.setColour (orangeText.withAlpha (0.35f));
        const float dashes[] = { 4.0f, 3.0f };
        juce::Path box;
        box.addRectangle (face.reduced (10.0f));
        juce::Path dashed;
        juce::PathStrokeType (1.0f).createDashedStroke (dashed, box, dashes, 2);
        g.fillPath (dashed);
        text (g, type.caption, plan.nameArea.withTrimmedBottom (14), 11.0f, orangeText, 2);
        text (g, "DIRECT OUT", plan.nameArea.withTrimmedTop (26), 7.5f, orangeText.withAlpha (0.7f), 2);
        sockets (g, plan);
    }

    /** The badge the cover plate shows: a small amp head drawing. */
    juce::Image badge (const ModulePlan& plan)
    {
        Rectangle<int> area;
        for (const auto& c : plan.ctrls)
            if (c.kind == "ImgPrm")
                area = c.rect;
        juce::Image image (juce::Image::ARGB, juce::jmax (1, area.getWidth()), juce::jmax (1, area.getHeight()), true);
        Graphics g (image);
        const auto r = image.getBounds().toFloat().reduced (2.0f);
        g.setColour (Colour (0xff101010));
        g.fillRoundedRectangle (r, 3.0f);
        g.setColour (orangeText);
        g.drawRoundedRectangle (r, 3.0f, 1.2f);
        const auto panel = r.reduced (6.0f, 0.0f).withTrimmedTop (r.getHeight() * 0.55f).withTrimmedBottom (5.0f);
        g.fillRect (panel);
        g.setColour (Colour (0xff101010));
        for (int i = 0; i < 4; ++i)
            g.fillEllipse (panel.getX() + 6.0f + 12.0f * (float) i, panel.getCentreY() - 2.5f, 5.0f, 5.0f);
        g.setColour (orangeText);
        g.setFont (artFont (9.0f, 2));
        g.drawText ("AMP", r.withHeight (r.getHeight() * 0.55f), juce::Justification::centred);
        return image;
    }
} // namespace

std::vector<NamedPicture> modulePictures (const ModuleType& type, const ModulePlan& plan)
{
    juce::Image panel (juce::Image::ARGB, plan.width, plan.height, true);
    {
        Graphics g (panel);
        switch (type.family)
        {
            case Family::stomp:        stomp (g, type, plan); break;
            case Family::ampHead:      ampHead (g, type, plan); break;
            case Family::preamp:       preamp (g, type, plan); break;
            case Family::rack:
            case Family::reverbRack:   rack (g, type, plan); break;
            case Family::noiseRack:    noiseRack (g, type, plan); break;
            case Family::eqStrip:      eqStrip (g, type, plan); break;
            case Family::cabinet:      cabinet (g, type, plan); break;
            case Family::coverPlate:   coverPlate (g, type, plan); break;
            case Family::coverCabinet: coverCabinet (g, type, plan); break;
        }
    }

    std::vector<NamedPicture> pictures { { "Panel", panel } };
    if (type.family == Family::coverPlate)
        pictures.push_back ({ "Badge00", badge (plan) });
    return pictures;
}

} // namespace oxafactory
