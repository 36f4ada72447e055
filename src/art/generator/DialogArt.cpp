// The message box's pictures: its background, the warning and error icons, the
// OK, Cancel and Rename buttons (normal and under the pointer), and the close
// button of the small panels.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;

    juce::Image drawDialogBackground()
    {
        auto image = juce::Image (juce::Image::RGB, L::dialogWidth, L::dialogHeight, true);
        juce::Graphics g (image);
        const auto area = image.getBounds().toFloat();

        g.setGradientFill (juce::ColourGradient (Colour (0xff2a2a2f), 0.0f, 0.0f, Colour (0xff141416), 0.0f,
                                                 area.getHeight(), false));
        g.fillRect (area);
        brush (g, image.getBounds(), 0.04f, 41);

        // The message window: icon and text sit in a dark recess.
        recess (g, { 14.0f, 14.0f, area.getWidth() - 28.0f, 104.0f }, Colour (0xff0b0b0d), 4.0f);
        g.setColour (colours::orange.withAlpha (0.7f));
        g.fillRect (20.0f, 20.0f, 3.0f, 92.0f);

        // The button rail.
        g.setColour (juce::Colours::black.withAlpha (0.7f));
        g.drawHorizontalLine (124, 8.0f, area.getWidth() - 8.0f);
        g.setColour (juce::Colours::white.withAlpha (0.08f));
        g.drawHorizontalLine (125, 8.0f, area.getWidth() - 8.0f);

        for (const auto x : { 6.0f, area.getWidth() - 6.0f })
            for (const auto y : { 6.0f, area.getHeight() - 6.0f })
                screw (g, x, y, 2.2f);

        g.setColour (juce::Colours::black);
        g.drawRect (area, 1.0f);
        return image;
    }

    juce::Image drawWarningIcon()
    {
        auto image = blank (27, 24);
        juce::Graphics g (image);
        juce::Path triangle;
        triangle.addTriangle (13.5f, 1.0f, 26.0f, 23.0f, 1.0f, 23.0f);
        triangle = triangle.createPathWithRoundedCorners (2.5f);
        g.setGradientFill (juce::ColourGradient (Colour (255, 196, 60), 0.0f, 0.0f, Colour (230, 120, 0), 0.0f, 24.0f, false));
        g.fillPath (triangle);
        g.setColour (Colour (90, 40, 0));
        g.strokePath (triangle, juce::PathStrokeType (1.0f));
        g.setColour (juce::Colours::black);
        g.fillRoundedRectangle (12.0f, 7.5f, 3.0f, 9.0f, 1.2f);
        g.fillEllipse (12.0f, 18.0f, 3.0f, 3.0f);
        return image;
    }

    juce::Image drawErrorIcon()
    {
        auto image = blank (49, 48);
        juce::Graphics g (image);
        const juce::Rectangle<float> disc (2.0f, 1.5f, 45.0f, 45.0f);
        g.setColour (juce::Colours::black.withAlpha (0.5f));
        g.fillEllipse (disc.translated (0.0f, 1.0f).expanded (1.0f));
        g.setGradientFill (juce::ColourGradient (Colour (255, 110, 80), disc.getX(), disc.getY(),
                                                 Colour (170, 20, 10), disc.getRight(), disc.getBottom(), false));
        g.fillEllipse (disc);
        g.setColour (juce::Colours::white.withAlpha (0.35f));
        g.drawEllipse (disc.reduced (2.0f), 1.5f);
        g.setColour (juce::Colours::white);
        const auto c = disc.getCentre();
        g.drawLine (c.x - 10.0f, c.y - 10.0f, c.x + 10.0f, c.y + 10.0f, 6.0f);
        g.drawLine (c.x - 10.0f, c.y + 10.0f, c.x + 10.0f, c.y - 10.0f, 6.0f);
        return image;
    }

    juce::Image drawButton (const juce::String& text, int width, int height, bool over)
    {
        auto image = blank (width, height);
        juce::Graphics g (image);
        const auto body = image.getBounds().toFloat().reduced (2.0f, 3.0f);

        g.setColour (juce::Colours::black.withAlpha (0.6f));
        g.fillRoundedRectangle (body.translated (0.0f, 1.5f), 3.0f);
        if (over)
        {
            plate (g, body, Colour (230, 135, 0), 3.0f);
            label (g, text, body.toNearestInt(), 12.0f, juce::Colours::black, 1);
        }
        else
        {
            plate (g, body, Colour (0xff3b3b42), 3.0f);
            label (g, text, body.toNearestInt(), 12.0f, colours::orange, 1);
        }
        return image;
    }

    juce::Image ok()          { return drawButton ("OK", L::dialogButtonWidth, L::dialogButtonHeight, false); }
    juce::Image okOver()      { return drawButton ("OK", L::dialogButtonWidth, L::dialogButtonHeight, true); }
    juce::Image cancel()      { return drawButton ("Cancel", L::dialogButtonWidth, L::dialogButtonHeight, false); }
    juce::Image cancelOver()  { return drawButton ("Cancel", L::dialogButtonWidth, L::dialogButtonHeight, true); }
    juce::Image rename()      { return drawButton ("Rename", L::dialogButtonWidth, L::dialogButtonHeight, false); }
    juce::Image renameOver()  { return drawButton ("Rename", L::dialogButtonWidth, L::dialogButtonHeight, true); }
    juce::Image close()       { return drawButton ("Close", L::closeButtonWidth, L::closeButtonHeight, false); }
    juce::Image closeOver()   { return drawButton ("Close", L::closeButtonWidth, L::closeButtonHeight, true); }

    const ArtRegistration registrations[] = {
        { "dialog_background.png", drawDialogBackground },
        { "dialog_warning.png", drawWarningIcon },
        { "dialog_error.png", drawErrorIcon },
        { "button_ok.png", ok },
        { "button_ok_over.png", okOver },
        { "button_cancel.png", cancel },
        { "button_cancel_over.png", cancelOver },
        { "button_rename.png", rename },
        { "button_rename_over.png", renameOver },
        { "button_close.png", close },
        { "button_close_over.png", closeOver },
    };
} // namespace
} // namespace oxart
