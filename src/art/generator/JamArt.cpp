// The jam section's own pictures: the adder under the panels (one choice, a
// recorder, or two: a rhythm machine on the left and a recorder on the right)
// and the fold and close keys every panel carries.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;
    using juce::Rectangle;

    const Colour blankFace (0xff202024);

    /** One half of the adder: an empty rack space with a plus key and its caption. */
    void adderChoice (juce::Graphics& g, Rectangle<int> area, const juce::String& caption, const juce::String& hint)
    {
        const auto f = area.toFloat().reduced (1.0f, 2.0f);
        g.setColour (Colour (0xff0b0b0d));
        g.fillRoundedRectangle (f, 3.0f);
        const float dash[] = { 4.0f, 3.0f };
        juce::Path outline;
        outline.addRoundedRectangle (f.reduced (0.5f), 3.0f);
        juce::Path dashed;
        juce::PathStrokeType (1.0f).createDashedStroke (dashed, outline, dash, 2);
        g.setColour (colours::orange.withAlpha (0.45f));
        g.fillPath (dashed);

        const auto key = Rectangle<float> (f.getX() + 10.0f, f.getCentreY() - 9.0f, 18.0f, 18.0f);
        panelKey (g, key, true, false);
        g.setColour (Colour (0xff1a1205));
        g.fillRect (key.getCentreX() - 5.0f, key.getCentreY() - 1.0f, 10.0f, 2.0f);
        g.fillRect (key.getCentreX() - 1.0f, key.getCentreY() - 5.0f, 2.0f, 10.0f);

        const int textX = (int) key.getRight() + 8;
        engraved (g, caption, { textX, (int) f.getY() + 5, (int) f.getRight() - textX - 6, 14 }, 11.0f, colours::orange, 2,
                  juce::Justification::centredLeft);
        label (g, hint, { textX, (int) f.getY() + 18, (int) f.getRight() - textX - 6, 10 }, 8.0f,
               colours::orange.withAlpha (0.55f), 0, juce::Justification::centredLeft);
    }

    juce::Image drawAdderSingle()
    {
        auto image = blank (L::jamAdderWidth, L::jamAdderHeight);
        juce::Graphics g (image);
        adderChoice (g, image.getBounds(), "ADD RECORDER", "a new track for takes, punch-ins and loops");
        return image;
    }

    juce::Image drawAdderDouble()
    {
        auto image = blank (L::jamAdderWidth, L::jamAdderHeight);
        juce::Graphics g (image);
        adderChoice (g, { 0, 0, L::jamAdderRhythmRight + 1, L::jamAdderHeight }, "ADD RHYTHM", "drums and bass to play along");
        adderChoice (g, { L::jamAdderRecorderLeft, 0, L::jamAdderWidth - L::jamAdderRecorderLeft, L::jamAdderHeight },
                     "ADD RECORDER", "takes, punch-ins, loops");
        return image;
    }

    /** The fold key: a triangle pointing down while the panel is open (fold it up), right while it is folded. */
    juce::Image drawFold (bool folded, bool over)
    {
        auto image = blank (L::jamFoldButton.w, L::jamFoldButton.h);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat();
        panelKey (g, area, false, over);
        const auto c = area.getCentre();
        juce::Path arrow;
        if (folded)
            arrow.addTriangle (c.x - 2.5f, c.y - 4.0f, c.x - 2.5f, c.y + 4.0f, c.x + 3.5f, c.y);
        else
            arrow.addTriangle (c.x - 4.0f, c.y - 2.5f, c.x + 4.0f, c.y - 2.5f, c.x, c.y + 3.5f);
        g.setColour (over ? colours::orange.brighter (0.3f) : colours::orange);
        g.fillPath (arrow);
        return image;
    }

    juce::Image drawClose (bool over)
    {
        auto image = blank (L::jamCloseButton.w, L::jamCloseButton.h);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat();
        panelKey (g, area, false, over);
        const auto c = area.getCentre();
        g.setColour (over ? Colour (255, 110, 70) : colours::orange);
        g.drawLine (c.x - 3.5f, c.y - 3.5f, c.x + 3.5f, c.y + 3.5f, 1.8f);
        g.drawLine (c.x - 3.5f, c.y + 3.5f, c.x + 3.5f, c.y - 3.5f, 1.8f);
        return image;
    }

    juce::Image foldOpen()       { return drawFold (false, false); }
    juce::Image foldOpenOver()   { return drawFold (false, true); }
    juce::Image foldFolded()     { return drawFold (true, false); }
    juce::Image foldFoldedOver() { return drawFold (true, true); }
    juce::Image close()          { return drawClose (false); }
    juce::Image closeOver()      { return drawClose (true); }

    const ArtRegistration registrations[] = {
        { "jam_adder_single.png", drawAdderSingle },
        { "jam_adder_double.png", drawAdderDouble },
        { "jam_fold.png", foldOpen },
        { "jam_fold_over.png", foldOpenOver },
        { "jam_fold_on.png", foldFolded },
        { "jam_fold_on_over.png", foldFoldedOver },
        { "jam_close.png", close },
        { "jam_close_over.png", closeOver },
    };
} // namespace
} // namespace oxart
