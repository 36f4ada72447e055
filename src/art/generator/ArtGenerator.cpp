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

namespace
{
    /** Every picture at twice its size with its name under it, for looking the art over. */
    juce::Image contactSheet()
    {
        constexpr int scale = 2, gap = 14, sheetWidth = 1500;
        struct Placed { juce::String name; juce::Image image; int x, y, scale; };
        std::vector<Placed> placed;
        int x = gap, y = gap, rowHeight = 0;

        for (const auto& entry : oxart::registry())
        {
            auto image = entry.draw();
            const int s = image.getWidth() > sheetWidth / 2 ? 1 : scale;   // the wide floor tile at its own size
            const int w = image.getWidth() * s, h = image.getHeight() * s + 14;
            if (x + w > sheetWidth - gap)
            {
                x = gap;
                y += rowHeight + gap;
                rowHeight = 0;
            }
            placed.push_back ({ entry.fileName, image, x, y, s });
            x += juce::jmax (w, 90) + gap;
            rowHeight = juce::jmax (rowHeight, h);
        }

        juce::Image sheet (juce::Image::RGB, sheetWidth, y + rowHeight + gap, true);
        juce::Graphics g (sheet);
        g.fillAll (juce::Colour (0xff2b2b30));
        g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
        for (const auto& p : placed)
        {
            const int w = p.image.getWidth() * p.scale, h = p.image.getHeight() * p.scale;
            g.setColour (juce::Colour (0xff505058));
            g.fillCheckerBoard (juce::Rectangle<float> ((float) p.x, (float) p.y, (float) w, (float) h), 8.0f, 8.0f,
                                juce::Colour (0xff45454c), juce::Colour (0xff3a3a40));
            g.drawImage (p.image, p.x, p.y, w, h, 0, 0, p.image.getWidth(), p.image.getHeight());
            g.setColour (juce::Colours::white);
            g.setFont (11.0f);
            g.drawText (p.name, p.x, p.y + h, juce::jmax (w, 90), 14, juce::Justification::centredLeft);
        }
        return sheet;
    }
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2 && argc != 3)
    {
        std::cerr << "usage: oxa_art_generator <output folder> [<contact sheet file>]\n";
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

    if (argc == 3)
    {
        const juce::File sheetFile (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));
        juce::MemoryOutputStream data;
        sheetFile.getParentDirectory().createDirectory();
        if (! png.writeImageToStream (contactSheet(), data) || ! sheetFile.replaceWithData (data.getData(), data.getDataSize()))
        {
            std::cerr << "cannot write " << sheetFile.getFullPathName() << "\n";
            return 1;
        }
    }

    return 0;
}
