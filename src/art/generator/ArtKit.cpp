#include "ArtKit.h"

namespace oxart
{

juce::Font artFont (float height, int face)
{
    switch (face)
    {
        case 0:  return juce::Font ("DejaVu Sans", height, juce::Font::plain);
        case 2:  return juce::Font ("DejaVu Sans Condensed", height, juce::Font::bold);
        default: return juce::Font ("DejaVu Sans", height, juce::Font::bold);
    }
}

juce::Image blank (int width, int height)
{
    return juce::Image (juce::Image::ARGB, width, height, true);
}

void plate (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour, float corner)
{
    g.setGradientFill (juce::ColourGradient (colour.brighter (0.25f), area.getX(), area.getY(),
                                             colour.darker (0.35f), area.getX(), area.getBottom(), false));
    g.fillRoundedRectangle (area, corner);
    g.setColour (juce::Colours::white.withAlpha (0.16f));
    g.drawRoundedRectangle (area.reduced (1.0f), juce::jmax (0.0f, corner - 1.0f), 1.0f);
    g.setColour (juce::Colours::black.withAlpha (0.85f));
    g.drawRoundedRectangle (area.reduced (0.5f), corner, 1.0f);
}

void recess (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour inside, float corner)
{
    g.setColour (inside);
    g.fillRoundedRectangle (area, corner);

    // The upper edge lies in shadow, the lower one catches the light.
    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (area.toNearestInt());
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.55f), 0.0f, area.getY(),
                                             juce::Colours::transparentBlack, 0.0f, area.getY() + 4.0f, false));
    g.fillRect (area);
    g.setColour (juce::Colours::black.withAlpha (0.9f));
    g.drawRoundedRectangle (area.reduced (0.5f), corner, 1.0f);
    g.setColour (juce::Colours::white.withAlpha (0.10f));
    g.drawHorizontalLine ((int) area.getBottom() - 1, area.getX() + corner, area.getRight() - corner);
}

void brush (juce::Graphics& g, juce::Rectangle<int> area, float strength, int seed)
{
    juce::Random random (seed);
    for (int y = area.getY(); y < area.getBottom(); ++y)
    {
        for (int i = 0; i < area.getWidth() / 24 + 1; ++i)
        {
            const int x = area.getX() + random.nextInt (juce::jmax (1, area.getWidth()));
            const int length = 8 + random.nextInt (40);
            const bool light = random.nextBool();
            g.setColour ((light ? juce::Colours::white : juce::Colours::black)
                             .withAlpha (strength * (0.3f + 0.7f * random.nextFloat())));
            g.fillRect (x, y, juce::jmin (length, area.getRight() - x), 1);
        }
    }
}

void speckle (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour colour, float density, int seed, float contrast)
{
    const auto light = colour.withMultipliedBrightness (1.0f + contrast);
    const auto dark = colour.withMultipliedBrightness (1.0f - contrast);
    juce::Random random (seed);
    const int count = (int) ((float) (area.getWidth() * area.getHeight()) * density);
    for (int i = 0; i < count; ++i)
    {
        const int x = area.getX() + random.nextInt (juce::jmax (1, area.getWidth()));
        const int y = area.getY() + random.nextInt (juce::jmax (1, area.getHeight()));
        g.setColour (random.nextBool() ? light : dark);
        g.fillRect (x, y, 1, 1);
    }
}

void screw (juce::Graphics& g, float x, float y, float r)
{
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillEllipse (x - r - 0.5f, y - r + 0.5f, r * 2.0f + 1.0f, r * 2.0f + 1.0f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffd8d8d8), x - r, y - r,
                                             juce::Colour (0xff3c3c3c), x + r, y + r, false));
    g.fillEllipse (x - r, y - r, r * 2.0f, r * 2.0f);
    g.setColour (juce::Colour (0xff1c1c1c));
    g.drawLine (x - r * 0.65f, y, x + r * 0.65f, y, 0.9f);
    g.drawLine (x, y - r * 0.65f, x, y + r * 0.65f, 0.9f);
}

void led (juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit)
{
    const auto lens = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);

    if (lit)
    {
        g.setGradientFill (juce::ColourGradient (colour.withAlpha (0.55f), centre.x, centre.y,
                                                 colour.withAlpha (0.0f), centre.x + radius * 2.6f, centre.y, true));
        g.fillEllipse (lens.expanded (radius * 1.6f));
    }

    g.setColour (juce::Colours::black);
    g.fillEllipse (lens.expanded (1.0f));
    const auto base = lit ? colour : colour.darker (0.2f).withMultipliedSaturation (0.6f).withMultipliedBrightness (0.28f);
    g.setGradientFill (juce::ColourGradient (lit ? base.brighter (0.9f) : base.brighter (0.5f), centre.x - radius * 0.4f,
                                             centre.y - radius * 0.5f, base.darker (0.3f), centre.x + radius,
                                             centre.y + radius, true));
    g.fillEllipse (lens);
    g.setColour (juce::Colours::white.withAlpha (lit ? 0.75f : 0.22f));
    g.fillEllipse (centre.x - radius * 0.55f, centre.y - radius * 0.65f, radius * 0.6f, radius * 0.45f);
}

void label (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area, float height,
            juce::Colour colour, int face, juce::Justification just)
{
    g.setColour (colour);
    g.setFont (artFont (height, face));
    g.drawFittedText (text, area, just, 1, 0.75f);
}

void engraved (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area, float height,
               juce::Colour colour, int face, juce::Justification just)
{
    label (g, text, area.translated (0, 1), height, juce::Colours::black.withAlpha (0.8f), face, just);
    label (g, text, area, height, colour, face, just);
}

juce::Colour meterColour (float position, bool lit)
{
    juce::Colour c = position < 0.68f ? juce::Colour (60, 220, 70)
                   : position < 0.88f ? juce::Colour (255, 190, 0)
                                      : juce::Colour (255, 50, 30);
    return lit ? c : c.withMultipliedBrightness (0.22f).withMultipliedSaturation (0.55f);
}

} // namespace oxart

namespace oxart
{

void rackUnit (juce::Graphics& g, juce::Rectangle<int> area, juce::Colour face, int seed)
{
    const auto f = area.toFloat();
    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.fillRoundedRectangle (f.translated (0.0f, 1.0f), 2.5f);
    plate (g, f.reduced (0.5f), face, 2.5f);
    brush (g, area.reduced (2), 0.05f, seed);

    // The ears: a slightly darker strip at each end, held by one screw.
    for (const float x : { f.getX() + 1.0f, f.getRight() - 9.0f })
    {
        g.setColour (juce::Colours::black.withAlpha (0.18f));
        g.fillRect (x, f.getY() + 1.0f, 8.0f, f.getHeight() - 2.0f);
        g.setColour (juce::Colours::white.withAlpha (0.06f));
        g.drawVerticalLine ((int) x + 8, f.getY() + 2.0f, f.getBottom() - 2.0f);
        screw (g, x + 4.0f, f.getY() + juce::jmin (10.0f, f.getHeight() * 0.5f), 2.2f);
    }

    g.setColour (colours::orange.withAlpha (0.35f));
    g.drawHorizontalLine (area.getY() + 1, f.getX() + 10.0f, f.getRight() - 10.0f);
}

void brushedPanel (juce::Graphics& g, juce::Rectangle<int> area, int seed)
{
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff26262b), 0.0f, (float) area.getY(),
                                             juce::Colour (0xff1c1c20).darker (0.25f), 0.0f, (float) area.getBottom(), false));
    g.fillRect (area);
    brush (g, area, 0.045f, seed);
}

void pagePlate (juce::Graphics& g, juce::Rectangle<int> area, int seed, int seamY)
{
    g.fillAll (juce::Colour (0xff0c0c0e));
    const auto page = area.toFloat().withTrimmedLeft (1.0f).withTrimmedRight (1.0f).withTrimmedBottom (1.0f);
    {
        juce::Graphics::ScopedSaveState state (g);
        juce::Path clip;
        clip.addRoundedRectangle (page, 3.0f);
        g.reduceClipRegion (clip);
        brushedPanel (g, area, seed);

        if (seamY >= 0)
        {
            g.setColour (juce::Colours::black.withAlpha (0.75f));
            g.drawHorizontalLine (seamY, 4.0f, (float) area.getWidth() - 4.0f);
            g.setColour (juce::Colours::white.withAlpha (0.07f));
            g.drawHorizontalLine (seamY + 1, 4.0f, (float) area.getWidth() - 4.0f);
        }
    }
    g.setColour (juce::Colour (0xff3e3e45));
    g.drawRoundedRectangle (page.reduced (0.5f), 3.0f, 1.0f);
}

void glassWindow (juce::Graphics& g, juce::Rectangle<int> table, int rim)
{
    const auto outer = table.expanded (rim).toFloat();
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillRoundedRectangle (outer.translated (0.0f, 1.0f), 4.0f);
    plate (g, outer, juce::Colour (0xff34343a), 4.0f);
    recess (g, table.expanded (juce::jmax (1, rim - 2)).toFloat(), juce::Colour (0xff080706), 2.5f);

    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (table);
    g.setGradientFill (juce::ColourGradient (colours::orange.withAlpha (0.07f), 0.0f, (float) table.getY(),
                                             juce::Colours::transparentBlack, 0.0f, (float) table.getBottom(), false));
    g.fillRect (table);
    g.setColour (juce::Colours::white.withAlpha (0.025f));
    g.fillRect (table.withHeight (table.getHeight() / 2));
}

void listHeading (juce::Graphics& g, const juce::String& text, const juce::String& legend, juce::Rectangle<int> area)
{
    led (g, { (float) area.getX() + 3.0f, (float) area.getCentreY() + 0.5f }, 2.2f, colours::orange, true);
    engraved (g, text, area.withTrimmedLeft (10), 9.5f, colours::orange, 2, juce::Justification::centredLeft);
    if (legend.isNotEmpty())
        engraved (g, legend, area, 7.0f, colours::orange.withAlpha (0.55f), 2, juce::Justification::centredRight);
}

void panelKey (juce::Graphics& g, juce::Rectangle<float> area, bool lit, bool over)
{
    recess (g, area, juce::Colour (0xff08080a), 2.5f);
    const auto cap = area.reduced (1.5f);
    const auto base = lit ? colours::orange.darker (0.15f) : juce::Colour (0xff3a3a40);
    plate (g, cap, over ? base.brighter (0.25f) : base, 2.0f);
    if (lit)
    {
        g.setColour (colours::orange.withAlpha (0.25f));
        g.drawRoundedRectangle (area.expanded (0.5f), 3.0f, 1.0f);
    }
}

} // namespace oxart
