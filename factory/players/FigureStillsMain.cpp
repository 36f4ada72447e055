// oxa_figure_stills <output folder> <preview folder>: draws the still pictures of the
// drummer and the bassist (92 × 74 JPEG, compiled into the program) from their models,
// and a preview sheet of poses, larger, for review.
#include "FigureRaster.h"

#include <iostream>

namespace
{
    bool writeImage (const juce::Image& image, const juce::File& file, juce::ImageFileFormat& format)
    {
        file.getParentDirectory().createDirectory();
        file.deleteFile();
        juce::FileOutputStream out (file);
        return out.openedOk() && format.writeImageToStream (image, out);
    }
} // namespace

int main (int argc, char** argv)
{
    using namespace oxafigures;
    if (argc != 3)
    {
        std::cerr << "usage: oxa_figure_stills <output folder> <preview folder>\n";
        return 2;
    }
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto out = cwd.getChildFile (argv[1]), preview = cwd.getChildFile (argv[2]);

    const auto drummer = drummerModels();
    const auto bassist = bassistModels();

    juce::JPEGImageFormat jpeg;
    jpeg.setQuality (0.92f);
    juce::PNGImageFormat png;

    // The still pictures: the drummer's left stick high before a stroke, the bassist mid-sway.
    const auto drummerStill = renderFigure (drummerScene (drummer, 2, 2, 0, false), drummerCamera(), 92, 74);
    const auto bassistStill = renderFigure (bassistScene (bassist, 5, 2), bassistCamera(), 92, 74);
    if (! writeImage (drummerStill, out.getChildFile ("drummer_still.jpg"), jpeg)
        || ! writeImage (bassistStill, out.getChildFile ("bassist_still.jpg"), jpeg))
    {
        std::cerr << "oxa_figure_stills: cannot write into " << out.getFullPathName() << "\n";
        return 1;
    }

    // The preview: poses at four times the size, a row per figure.
    struct Pose { bool drummerFigure; int a, b, c; bool open; };
    const Pose poses[] = { { true, 0, 0, 0, false }, { true, 3, 3, 3, false }, { true, 5, 5, 0, false },
                           { true, 29, 8, 2, true }, { true, 47, 23, 0, false },
                           { false, 0, 0, 0, false }, { false, 11, 1, 0, false }, { false, 22, 2, 0, false },
                           { false, 33, 3, 0, false }, { false, 40, 4, 0, false } };
    const int cw = 92 * 3, ch = 75 * 3;
    juce::Image sheet (juce::Image::RGB, cw * 5, ch * 2, true);
    {
        juce::Graphics g (sheet);
        g.fillAll (juce::Colours::darkgrey);
        int i = 0;
        for (const auto& p : poses)
        {
            const auto image = p.drummerFigure
                                   ? renderFigure (drummerScene (drummer, p.a, p.b, p.c, p.open), drummerCamera(), cw, ch, 2)
                                   : renderFigure (bassistScene (bassist, p.a, p.b), bassistCamera(), cw, ch, 2);
            g.drawImageAt (image, (i % 5) * cw, (i / 5) * ch);
            ++i;
        }
    }
    writeImage (sheet, preview.getChildFile ("figures.png"), png);
    std::cout << "figure stills: " << drummer.size() << " drummer and " << bassist.size() << " bassist models drawn\n";
    return 0;
}
