// oxa_art_generator <output folder>: writes every registered picture as PNG.
#include "ArtGenerator.h"
#include <iostream>
#include <vector>

namespace oxart
{
namespace
{
    struct Entry
    {
        const char* fileName;
        DrawPicture draw;
    };

    std::vector<Entry>& registry()
    {
        static std::vector<Entry> entries;
        return entries;
    }
} // namespace

ArtRegistration::ArtRegistration (const char* fileName, DrawPicture draw)
{
    registry().push_back ({ fileName, draw });
}
} // namespace oxart

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: oxa_art_generator <output folder>\n";
        return 2;
    }

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    if (! folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }

    juce::PNGImageFormat png;
    for (const auto& entry : oxart::registry())
    {
        const auto image = entry.draw();
        juce::MemoryOutputStream data;
        if (! image.isValid() || ! png.writeImageToStream (image, data))
        {
            std::cerr << "cannot draw " << entry.fileName << "\n";
            return 1;
        }

        const auto file = folder.getChildFile (entry.fileName);
        juce::MemoryBlock existing;
        if (file.loadFileAsData (existing) && existing == data.getMemoryBlock())
            continue;

        if (! file.replaceWithData (data.getData(), data.getDataSize()))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return 1;
        }
    }

    return 0;
}
