// Every shipped module description: it parses, its controls drive parameters
// that exist, and every picture it names is in its archive, decodes and has
// the size and frame count its control expects.
#include "StagedModules.h"

#include "TestSupport.h"
#include "editor/ModulePictures.h"
#include "ui/FlyWeight.h"

#include <gtest/gtest.h>

using namespace stagedtest;

namespace
{
class FactoryShippedModule : public ::testing::TestWithParam<std::string>
{
protected:
    juce::String key() const { return GetParam(); }

    juce::Image picture (const juce::String& name) const
    {
        return T730::getModulePicture (resourceFolder(), key(), name);
    }
};

TEST_P (FactoryShippedModule, DescriptionParsesWithSizeJacksAndPicture)
{
    auto* layout = layoutOf (key());
    ASSERT_NE (layout, nullptr) << "no EfxType.xml in " << key() << ".orc";
    ASSERT_TRUE (layout->hasTotal);

    const auto panel = picture (layout->picture);
    ASSERT_TRUE (panel.isValid()) << layout->picture;
    EXPECT_EQ (panel.getWidth(), layout->width);
    EXPECT_EQ (panel.getHeight(), layout->height);
    EXPECT_LE (layout->height, 130) << "the module would not fit on the editor's floor";

    // one input and one output, so that the module has a body the editor can hit
    ASSERT_EQ (layout->inputs.size(), 1u);
    ASSERT_EQ (layout->outputs.size(), 1u);
    EXPECT_LT (layout->inputs[0].x, layout->outputs[0].x);
    EXPECT_EQ (layout->inputs[0].y, layout->outputs[0].y);

    const juce::Rectangle<int> bounds (0, 0, layout->width, layout->height);
    if (! layout->typeChangeArea.isEmpty())
    {
        EXPECT_TRUE (bounds.contains (layout->typeChangeArea));
    }
    for (const auto& ctrl : layout->ctrls)
    {
        EXPECT_TRUE (bounds.contains (ctrl.rect)) << "control " << ctrl.index << " sticks out";
    }
}

TEST_P (FactoryShippedModule, ControlsDriveDescribedParameters)
{
    auto* layout = layoutOf (key());
    ASSERT_NE (layout, nullptr);

    std::set<int> indexes;
    for (const auto& ctrl : layout->ctrls)
    {
        SCOPED_TRACE ("control " + std::to_string (ctrl.index));
        EXPECT_TRUE (ctrl.isKnownKind()) << ctrl.kind;
        EXPECT_TRUE (indexes.insert (ctrl.index).second) << "index used twice";
        ASSERT_TRUE (juce::isPositiveAndBelow (ctrl.prm, 8));
        ASSERT_NE (layout->describingCtrl (ctrl.prm), nullptr);

        const auto& p = layout->describingCtrl (ctrl.prm)->param;
        EXPECT_GE (p.dspMax, 1);
        EXPECT_TRUE (juce::isPositiveAndNotGreaterThan (layout->initialStep (ctrl.prm), p.dspMax));
        if (p.usePrmTable)
        {
            EXPECT_EQ (p.prmTable.size(), p.dspMax + 1) << "every step needs a text";
            for (const auto& text : p.prmTable)
            {
                EXPECT_TRUE (text.isNotEmpty());
            }
        }
        EXPECT_TRUE (p.prmName.isNotEmpty());

        if (ctrl.prm2 != -1)
        {
            ASSERT_TRUE (juce::isPositiveAndBelow (ctrl.prm2, 8));
            // the second parameter must be described by an earlier control, or its range is unknown when this one is built
            bool describedBefore = false;
            for (const auto& other : layout->ctrls)
            {
                if (&other == &ctrl)
                    break;
                describedBefore = describedBefore || other.prm == ctrl.prm2;
            }
            EXPECT_TRUE (describedBefore);
        }
    }
}

TEST_P (FactoryShippedModule, EveryPictureExistsDecodesAndFits)
{
    auto* layout = layoutOf (key());
    ASSERT_NE (layout, nullptr);

    for (const auto& ctrl : layout->ctrls)
    {
        SCOPED_TRACE ("control " + std::to_string (ctrl.index) + " " + ctrl.kind.toStdString());
        ASSERT_TRUE (ctrl.img.isNotEmpty());

        if (ctrl.kind == "Slider")
        {
            const auto cap = picture (ctrl.img);
            ASSERT_TRUE (cap.isValid());
            EXPECT_EQ (cap.getWidth(), ctrl.slWidth);
            EXPECT_EQ (cap.getHeight(), ctrl.slHeight);
            continue;
        }

        const int frames = ctrl.frameCount();
        ASSERT_GE (frames, 1);
        if (ctrl.kind == "Knob")
        {
            EXPECT_EQ (frames, 49);
        }
        const auto maxStep = maxStepOf (*layout, ctrl.prm);
        if (ctrl.kind == "ImgPrm" && frames > 1)
        {
            EXPECT_EQ (frames, maxStep + 1) << "one picture per step";
        }

        for (int f = 0; f < frames; ++f)
        {
            const auto image = picture (SE_CtrlDesc::framePictureName (ctrl.img, f));
            ASSERT_TRUE (image.isValid()) << "frame " << f;
            if (ctrl.kind == "LedSlider")
            {
                EXPECT_EQ (image.getWidth(), ctrl.slWidth);
                EXPECT_EQ (image.getHeight(), ctrl.slHeight);
            }
            else
            {
                EXPECT_EQ (image.getBounds(), ctrl.rect.withZeroOrigin());
            }
        }
        // the strip has no more frames than the control says
        EXPECT_FALSE (picture (SE_CtrlDesc::framePictureName (ctrl.img, frames)).isValid());
    }
}

INSTANTIATE_TEST_SUITE_P (Factory, FactoryShippedModule, ::testing::ValuesIn (shippedModuleKeys()),
                          [] (const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST (FactoryShippedArchives, CommonAndAssignerPictures)
{
    // the patch level knob of the pedal-assign strip: M-00 to M-48, 32 x 34
    for (int f = 0; f < 49; ++f)
    {
        const auto frame = T730::getModulePicture (resourceFolder(), "Assigner", SE_CtrlDesc::framePictureName ("M-", f));
        ASSERT_TRUE (frame.isValid()) << f;
        EXPECT_EQ (frame.getWidth(), 32);
        EXPECT_EQ (frame.getHeight(), 34);
    }
    EXPECT_FALSE (T730::getModulePicture (resourceFolder(), "Assigner", "M-49").isValid());

    // knob frames really turn: the first, middle and last frames differ
    const auto first = T730::getModulePicture (resourceFolder(), "x", "Common:KnobStomp00");
    const auto middle = T730::getModulePicture (resourceFolder(), "x", "Common:KnobStomp24");
    const auto last = T730::getModulePicture (resourceFolder(), "x", "Common:KnobStomp48");
    ASSERT_TRUE (first.isValid() && middle.isValid() && last.isValid());
    auto differ = [] (const juce::Image& a, const juce::Image& b)
    {
        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return true;
        return false;
    };
    EXPECT_TRUE (differ (first, middle));
    EXPECT_TRUE (differ (middle, last));

    T730::FlyWeight::deleteInstance();
}

TEST (FactoryShippedArchives, ContactSheetWasMade)
{
    const auto sheet = oxatest::stageFolder().getSiblingFile ("stage-preview").getChildFile ("modules.png");
    ASSERT_TRUE (sheet.existsAsFile());
    const auto image = juce::ImageFileFormat::loadFrom (sheet);
    ASSERT_TRUE (image.isValid());
    EXPECT_GT (image.getWidth(), 1000);
    EXPECT_GT (image.getHeight(), 1000);
}
} // namespace
