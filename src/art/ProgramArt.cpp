#include "art/ProgramArt.h"
#include <OxaArtData.h>

namespace T730::art
{

namespace
{
    const char* resourceName (Picture picture)
    {
        switch (picture)
        {
            case Picture::progressBackground: return "progress_background_png";
            case Picture::progressBar:        return "progress_bar_png";
            case Picture::progressOverlay:    return "progress_overlay_png";
        }
        return "";
    }
} // namespace

juce::Image getImage (Picture picture)
{
    int size = 0;
    const auto* data = OxaArt::getNamedResource (resourceName (picture), size);
    if (data == nullptr || size <= 0)
        return {};

    return juce::ImageCache::getFromMemory (data, size);
}

} // namespace T730::art
