// The three pictures of the progress window: background, bar texture, bar overlay.
// The bar sits at (28, 24) of the background; texture and overlay share its size.
#include "ArtGenerator.h"

namespace oxart
{
namespace
{
    constexpr int backgroundWidth = 360, backgroundHeight = 64;
    constexpr int barX = 28, barY = 24, barWidth = 304, barHeight = 16;
    constexpr int stripePeriod = 16; // divides barWidth, so the scrolling texture tiles seamlessly

    juce::Image drawBackground()
    {
        juce::Image image (juce::Image::ARGB, backgroundWidth, backgroundHeight, true);
        juce::Graphics g (image);

        g.setGradientFill (juce::ColourGradient (juce::Colour (44, 44, 48), 0.0f, 0.0f,
                                                 juce::Colour (8, 8, 10), 0.0f, (float) backgroundHeight, false));
        g.fillAll();

        // The slot the bar runs in: a dark floor inside a sunken frame.
        const juce::Rectangle<int> slot (barX, barY, barWidth, barHeight);
        g.setColour (colours::floor);
        g.fillRect (slot);
        g.setColour (juce::Colours::black);
        g.drawRect (slot.expanded (1), 1);
        g.setColour (colours::frame);
        g.drawRect (slot.expanded (2), 1);

        // An orange rule under the slot.
        g.setColour (colours::orange.withAlpha (0.6f));
        g.fillRect (barX, barY + barHeight + 8, barWidth, 1);
        return image;
    }

    juce::Image drawBar()
    {
        juce::Image image (juce::Image::ARGB, barWidth, barHeight, true);
        juce::Graphics g (image);
        g.fillAll (colours::darkOrange);

        // Diagonal stripes, one period every 16 columns.
        g.setColour (colours::orange);
        for (int x = -barHeight; x < barWidth + barHeight; x += stripePeriod)
        {
            juce::Path stripe;
            stripe.addQuadrilateral ((float) x, (float) barHeight, (float) (x + stripePeriod / 2), (float) barHeight,
                                     (float) (x + stripePeriod / 2 + barHeight), 0.0f, (float) (x + barHeight), 0.0f);
            g.fillPath (stripe);
        }
        return image;
    }

    juce::Image drawOverlay()
    {
        juce::Image image (juce::Image::ARGB, barWidth, barHeight, true);
        juce::Graphics g (image);

        // Gloss over the upper half.
        g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.45f), 0.0f, 0.0f,
                                                 juce::Colours::white.withAlpha (0.0f), 0.0f, barHeight * 0.6f, false));
        g.fillRect (0, 0, barWidth, barHeight / 2 + 1);

        // A glowing head at the right end: the overlay is drawn right-aligned to the filled part.
        constexpr int head = 8;
        g.setGradientFill (juce::ColourGradient (juce::Colour (255, 230, 160).withAlpha (0.0f), (float) (barWidth - head), 0.0f,
                                                 juce::Colour (255, 230, 160).withAlpha (0.9f), (float) barWidth, 0.0f, false));
        g.fillRect (barWidth - head, 0, head, barHeight);

        // Shade along the bottom edge.
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        g.fillRect (0, barHeight - 2, barWidth, 2);
        return image;
    }

    const ArtRegistration background ("progress_background.png", drawBackground);
    const ArtRegistration bar ("progress_bar.png", drawBar);
    const ArtRegistration overlay ("progress_overlay.png", drawOverlay);
} // namespace
} // namespace oxart
