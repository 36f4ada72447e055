// The editor's six own mouse cursors (number 0 and 7 are the system's arrow).
// Orange shapes with a black outline, so they show on the dark floor and on the
// light faceplates alike. The hot spots are fixed by the code that uses them.
#include "../ArtLayout.h"
#include "ArtKit.h"

namespace oxart
{
namespace
{
    namespace L = T730::layout;
    using juce::Colour;

    void outlined (juce::Graphics& g, const juce::Path& path)
    {
        g.setColour (juce::Colours::black);
        g.strokePath (path, juce::PathStrokeType (2.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        g.setColour (colours::orange);
        g.fillPath (path);
        g.setColour (juce::Colours::white.withAlpha (0.5f));
        g.strokePath (path, juce::PathStrokeType (0.6f));
    }

    juce::Path arrow (float x, float y, float scale)
    {
        juce::Path p;
        p.startNewSubPath (0.0f, 0.0f);
        p.lineTo (0.0f, 15.0f);
        p.lineTo (4.0f, 11.5f);
        p.lineTo (6.8f, 17.5f);
        p.lineTo (9.2f, 16.4f);
        p.lineTo (6.5f, 10.5f);
        p.lineTo (11.5f, 10.5f);
        p.closeSubPath();
        p.applyTransform (juce::AffineTransform::scale (scale).translated (x, y));
        return p;
    }

    /** An arrow head pointing along (dx, dy) with its tip at (x, y). */
    juce::Path head (float x, float y, float dx, float dy, float size)
    {
        juce::Path p;
        const float nx = -dy, ny = dx;
        p.addTriangle (x, y, x - dx * size + nx * size * 0.8f, y - dy * size + ny * size * 0.8f,
                       x - dx * size - nx * size * 0.8f, y - dy * size - ny * size * 0.8f);
        return p;
    }

    juce::Image drawPointer() // 1: hot spot 2, 2
    {
        auto image = blank (L::cursorSize, L::cursorSize);
        juce::Graphics g (image);
        outlined (g, arrow (2.0f, 2.0f, 1.0f));
        return image;
    }

    juce::Image drawMove() // 2: dragging the floor, hot spot 12, 12
    {
        auto image = blank (L::cursorSize, L::cursorSize);
        juce::Graphics g (image);
        juce::Path p;
        p.addRectangle (10.8f, 5.0f, 2.4f, 14.0f);
        p.addRectangle (5.0f, 10.8f, 14.0f, 2.4f);
        p.addPath (head (12.0f, 1.0f, 0.0f, -1.0f, 4.5f));
        p.addPath (head (12.0f, 23.0f, 0.0f, 1.0f, 4.5f));
        p.addPath (head (1.0f, 12.0f, -1.0f, 0.0f, 4.5f));
        p.addPath (head (23.0f, 12.0f, 1.0f, 0.0f, 4.5f));
        outlined (g, p);
        return image;
    }

    juce::Image drawSlide() // 3: over the bare floor, hot spot 12, 12
    {
        auto image = blank (L::cursorSize, L::cursorSize);
        juce::Graphics g (image);
        juce::Path p;
        p.addRectangle (5.0f, 10.8f, 14.0f, 2.4f);
        p.addPath (head (1.0f, 12.0f, -1.0f, 0.0f, 5.0f));
        p.addPath (head (23.0f, 12.0f, 1.0f, 0.0f, 5.0f));
        p.addEllipse (9.5f, 9.5f, 5.0f, 5.0f);
        outlined (g, p);
        return image;
    }

    juce::Image drawHand() // 4: over a control, the fingertip is the hot spot 6, 0
    {
        auto image = blank (L::cursorSize, L::cursorSize);
        juce::Graphics g (image);
        juce::Path p;
        p.addRoundedRectangle (4.5f, 0.5f, 3.6f, 13.0f, 1.8f);      // the pointing finger
        p.addRoundedRectangle (8.2f, 7.5f, 3.4f, 7.0f, 1.7f);       // three folded fingers
        p.addRoundedRectangle (11.6f, 8.5f, 3.4f, 6.5f, 1.7f);
        p.addRoundedRectangle (15.0f, 9.5f, 3.2f, 6.0f, 1.6f);
        p.addRoundedRectangle (1.0f, 9.0f, 3.5f, 7.0f, 1.7f);       // the thumb
        p.addRoundedRectangle (3.0f, 12.0f, 15.0f, 10.5f, 4.0f);    // the palm
        outlined (g, p);
        return image;
    }

    juce::Image drawSmallArrow() // 5: 16 pixels wide, hot spot 0, 0
    {
        auto image = blank (16, 16);
        juce::Graphics g (image);
        outlined (g, arrow (1.0f, 1.0f, 0.75f));
        juce::Path plus;
        plus.addRectangle (11.0f, 8.0f, 1.8f, 7.0f);
        plus.addRectangle (8.4f, 10.6f, 7.0f, 1.8f);
        outlined (g, plus);
        return image;
    }

    juce::Image drawCycle() // 6: over a type-change area, hot spot 10, 10
    {
        auto image = blank (L::cursorSize, L::cursorSize);
        juce::Graphics g (image);
        const float cx = 10.0f, cy = 10.0f, r = 6.5f;
        juce::Path p;
        for (int half = 0; half < 2; ++half)
        {
            const float start = juce::MathConstants<float>::pi * (float) half + 0.35f;
            const float end = start + juce::MathConstants<float>::pi - 0.9f;
            juce::Path arc;
            arc.addCentredArc (cx, cy, r, r, 0.0f, start, end, true);
            juce::PathStrokeType (2.4f).createStrokedPath (arc, arc);
            p.addPath (arc);
            const float tx = cx + r * std::sin (end), ty = cy - r * std::cos (end);
            p.addPath (head (tx + std::cos (end) * 1.5f, ty + std::sin (end) * 1.5f, std::cos (end), std::sin (end), 3.6f));
        }
        outlined (g, p);
        return image;
    }

    const ArtRegistration registrations[] = {
        { "cursor_1.png", drawPointer },
        { "cursor_2.png", drawMove },
        { "cursor_3.png", drawSlide },
        { "cursor_4.png", drawHand },
        { "cursor_5.png", drawSmallArrow },
        { "cursor_6.png", drawCycle },
    };
} // namespace
} // namespace oxart
