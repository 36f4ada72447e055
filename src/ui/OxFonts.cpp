#include "ui/OxFonts.h"

namespace T730
{

const juce::String& arialTypefaceName()
{
    // Asked once: the list of faces does not change while the program runs.
    static const juce::String name = []
    {
        const auto faces = juce::Font::findAllTypefaceNames();
        for (const auto* candidate : { "Arial", "Liberation Sans" })
            if (faces.contains (candidate))
                return juce::String (candidate);

        return juce::Font::getDefaultSansSerifFontName();
    }();
    return name;
}

juce::Font arialFont (float height, int styleFlags)
{
    return juce::Font (arialTypefaceName(), height, styleFlags);
}

juce::String shortenedToWidth (const juce::String& text, const juce::Font& font, int width)
{
    if (font.getStringWidth (text) <= width)
        return text;

    for (int k = 1; k < text.length(); ++k)
    {
        const auto candidate = text.dropLastCharacters (k) + "...";
        if (font.getStringWidth (candidate) <= width)
            return candidate;
    }
    return "...";
}

} // namespace T730
