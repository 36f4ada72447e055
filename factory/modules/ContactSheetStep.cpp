// Step: the contact sheet stage-preview/modules.png, for review. Every module
// is read back from the staged archives the way the program reads it and drawn
// at its size with its controls at their default steps, grouped by category.
#include "../FactoryStep.h"
#include "ModuleArt.h"

#include "documents/SafeFileWriter.h"
#include "editor/ModuleDescription.h"
#include "editor/ModulePictures.h"

#include <iostream>

namespace oxafactory
{
namespace
{
    struct ParamState
    {
        int step = 0;
        int maxStep = 0;
    };

    ParamState paramState (const SE_ModuleLayout& layout, int prm)
    {
        ParamState s;
        if (auto* ctrl = layout.describingCtrl (prm))
        {
            s.maxStep = ctrl->param.dspMax;
            s.step = juce::jlimit (0, s.maxStep, layout.initialStep (prm));
        }
        return s;
    }

    /** The frame a control shows at rest (nothing pressed). */
    int restingFrame (const SE_CtrlDesc& ctrl, const ParamState& p, const ParamState& second)
    {
        const int last = ctrl.frameCount() - 1;
        if (ctrl.kind == "PushKey" || ctrl.kind == "Tap" || ctrl.kind == "IncKey" || ctrl.kind == "NInputKey")
            return 0;
        if (ctrl.kind == "Led" && ctrl.onIfNotMin)
            return p.step != 0 ? 1 : 0;
        if (ctrl.kind == "LedT" || ctrl.kind == "Toggle")
            return p.step == ctrl.paramOfIndex ? 1 : 0;
        if (ctrl.kind == "LedSlider")
            return second.step != 0 ? 1 : 0;
        return p.maxStep == 0 ? 0 : last * p.step / p.maxStep;
    }

    void drawModule (juce::Graphics& g, const juce::File& resources, const juce::String& key,
                     const SE_ModuleLayout& layout, juce::Point<int> origin)
    {
        auto panel = T730::getModulePicture (resources, key, layout.picture);
        g.drawImageAt (panel, origin.x, origin.y);

        for (const auto& ctrl : layout.ctrls)
        {
            if (! ctrl.isKnownKind())
                continue;
            const auto p = paramState (layout, ctrl.prm);
            const auto second = ctrl.prm2 >= 0 ? paramState (layout, ctrl.prm2) : ParamState {};
            const auto at = ctrl.rect.getPosition() + origin;

            if (ctrl.kind == "Slider" || ctrl.kind == "LedSlider")
            {
                const auto name = ctrl.kind == "Slider" ? ctrl.img
                                                        : SE_CtrlDesc::framePictureName (ctrl.img, restingFrame (ctrl, p, second));
                const int travel = ctrl.rect.getHeight() - ctrl.slHeight - 1;
                const int offset = p.maxStep == 0 ? 0 : travel * p.step / p.maxStep;
                g.drawImageAt (T730::getModulePicture (resources, key, name), at.x, at.y + travel - offset);
                continue;
            }

            g.drawImageAt (T730::getModulePicture (resources, key,
                                                   SE_CtrlDesc::framePictureName (ctrl.img, restingFrame (ctrl, p, second))),
                           at.x, at.y);
        }

        // where the editor puts the plugs
        g.setColour (juce::Colours::white.withAlpha (0.28f));
        for (const auto& jack : layout.inputs)
            g.drawRect (SE_ModuleLayout::plugRect (jack) + origin, 1);
        for (const auto& jack : layout.outputs)
            g.drawRect (SE_ModuleLayout::plugRect (jack) + origin, 1);
    }

    struct Item
    {
        juce::String key, caption;
        SE_ModuleLayout layout;
        int row = 0;
    };

    bool makeContactSheet (const FactoryContext& context)
    {
        static const char* const rowTitles[] = { "1 COMPEFX", "2 DRIVE (pedals)", "2/8 AMP MODELS", "3 EQ  4 NR  and the editor's own modules",
                                                 "5 MODULATION / PITCH", "6 DELAY", "7 REVERB  9 CABINET" };
        std::vector<Item> items;
        for (const auto& type : moduleTypes())
        {
            auto document = T730::loadModuleDescription (context.resources, type.key);
            if (document == nullptr)
            {
                std::cerr << "contact sheet: no description for " << type.key << "\n";
                return false;
            }

            Item item { type.key, type.key + "  \"" + type.display + "\"", T730::readModuleLayout (*document), 0 };
            switch (type.category)
            {
                case 1: item.row = 0; break;
                case 2: item.row = type.modeling ? 2 : 1; break;
                case 5: item.row = 4; break;
                case 6: item.row = 5; break;
                case 7: case 9: item.row = 6; break;
                default: item.row = 3; break;
            }
            items.push_back (std::move (item));
        }

        const int sheetWidth = 1900, gap = 12, captionHeight = 14, titleHeight = 18;
        struct Placed { const Item* item; juce::Point<int> at; };
        std::vector<Placed> placed;
        std::vector<std::pair<juce::String, int>> titles;

        int y = 8;
        for (int row = 0; row < 7; ++row)
        {
            titles.push_back ({ rowTitles[row], y });
            y += titleHeight;
            int x = 8, lineHeight = 0;
            for (const auto& item : items)
            {
                if (item.row != row)
                    continue;
                const int w = item.layout.width, h = item.layout.height + captionHeight;
                if (x + w > sheetWidth - 8)
                {
                    x = 8;
                    y += lineHeight + gap;
                    lineHeight = 0;
                }
                placed.push_back ({ &item, { x, y } });
                x += w + gap;
                lineHeight = juce::jmax (lineHeight, h);
            }
            y += lineHeight + gap + 4;
        }

        juce::Image sheet (juce::Image::RGB, sheetWidth, y + 4, true);
        {
            juce::Graphics g (sheet);
            g.fillAll (juce::Colour (0xff141416));
            g.setColour (juce::Colour (0xff1c1c20));
            for (int line = 0; line < sheet.getHeight(); line += 4)
                g.drawHorizontalLine (line, 0.0f, (float) sheetWidth);

            for (const auto& [title, ty] : titles)
            {
                g.setColour (orangeText);
                g.setFont (artFont (13.0f, 1));
                g.drawText (title, 8, ty, 600, titleHeight - 2, juce::Justification::centredLeft);
            }

            for (const auto& p : placed)
            {
                drawModule (g, context.resources, p.item->key, p.item->layout, p.at);
                g.setColour (orangeText.withAlpha (0.85f));
                g.setFont (artFont (10.0f, 0));
                g.drawFittedText (p.item->caption, p.at.x, p.at.y + p.item->layout.height + 1,
                                  juce::jmax (p.item->layout.width, 60), captionHeight - 2, juce::Justification::centredLeft, 1, 0.8f);
            }
        }

        const auto preview = context.stage.getSiblingFile ("stage-preview");
        if (! preview.createDirectory())
            return false;
        const auto file = preview.getChildFile ("modules.png");
        juce::MemoryOutputStream out;
        juce::PNGImageFormat png;
        if (! png.writeImageToStream (sheet, out) || ! T730::replaceFileContent (file, out.getData(), out.getDataSize()))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return false;
        }
        return true;
    }

    const FactoryStepRegistration registration (11, "module contact sheet", makeContactSheet);
} // namespace
} // namespace oxafactory
