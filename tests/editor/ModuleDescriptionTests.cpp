// The catalogue and description readers on hand-made documents, and picture
// loading through a real archive and the picture cache.
#include "editor/ModuleDescription.h"
#include "editor/ModuleNameLoader.h"
#include "editor/ModulePictures.h"

#include "TestSupport.h"
#include "documents/Archive.h"
#include "documents/XmlParser.h"
#include "engine/DspLoader.h"
#include "platform/PlainNames.h"
#include "ui/FlyWeight.h"

#include <gtest/gtest.h>

namespace
{
std::vector<SE_ModuleInfosNode> catalogueOf (const char* text)
{
    auto document = T730::parseXmlText (text);
    return T730::readModuleCatalogue (document.get());
}

TEST (EditorModuleCatalogue, CategoriesFollowCompefxWhateverTheirNames)
{
    const auto nodes = catalogueOf (R"(<Modules>
        <Before><Type>Ignored</Type></Before>
        <COMPEFX><Type name="Compressor">Comp</Type><Type name="">Wah</Type><Type>Octave</Type></COMPEFX>
        <Anything><Type name="Clean" modeling="1">Amp1</Type><Type modeling="2">Pedal</Type><Type>Pedal2</Type></Anything>
        <C3/>
        <C4><Type modeling="1">NR</Type></C4>
        <C5/><C6/><C7/>
        <C8><Type modeling="1">Amp1</Type><Type modeling="0">UltraClean</Type></C8>
        <C9><Type>Cab</Type></C9>
        <C10><Type>Beyond</Type></C10>
    </Modules>)");

    ASSERT_EQ (nodes.size(), 9u) << "at most nine categories";
    EXPECT_EQ (nodes[0].category, 1);
    EXPECT_EQ (nodes[0].keys, juce::StringArray ({ "Comp", "Wah", "Octave" }));
    // an empty or missing name shows the key
    EXPECT_EQ (nodes[0].names, juce::StringArray ({ "Compressor", "Wah", "Octave" }));

    // the modeling flag: categories 2 and 8 only, set only for the value 1
    EXPECT_EQ (nodes[1].modeling, (std::vector<uint8_t> { 1, 0, 0 }));
    EXPECT_TRUE (nodes[3].modeling.empty());
    EXPECT_EQ (nodes[7].modeling, (std::vector<uint8_t> { 1, 0 }));
    EXPECT_TRUE (nodes[0].modeling.empty());

    // a category without types still counts
    EXPECT_EQ (nodes[2].category, 3);
    EXPECT_EQ (nodes[2].size(), 0);
    EXPECT_EQ (nodes[8].keys, juce::StringArray ({ "Cab" }));
}

TEST (EditorModuleCatalogue, StrayTextBetweenCategoriesIsNoCategory)
{
    const auto nodes = catalogueOf ("<M><COMPEFX><Type>A</Type></COMPEFX>stray<D><Type>B</Type></D> more <E/></M>");
    ASSERT_EQ (nodes.size(), 3u);
    EXPECT_EQ (nodes[1].category, 2);
    EXPECT_EQ (nodes[1].keys, juce::StringArray ({ "B" }));
    EXPECT_EQ (nodes[2].category, 3);
}

TEST (EditorModuleCatalogue, MissingOrBrokenCataloguesGiveNoTypes)
{
    EXPECT_TRUE (catalogueOf ("<Modules><DRIVE><Type>X</Type></DRIVE></Modules>").empty());
    EXPECT_TRUE (catalogueOf ("<Modules><COMPEFX><Type>X</Type>").empty());

    oxatest::TempFolder folder;
    EXPECT_TRUE (T730::readModuleCatalogue (folder / "Module.xml").empty());

    T730::ModuleNameLoader loader (folder / "Module.xml");
    EXPECT_EQ (loader.getNumCategories(), 0);
    const auto past = loader.getCategory (3);
    EXPECT_EQ (past.category, -1);
    EXPECT_EQ (past.size(), 0);
}

TEST (EditorModuleCatalogue, LoaderHandsOutCopiesAndKeepsValueTables)
{
    oxatest::TempFolder folder;
    ASSERT_TRUE ((folder / "Module.xml").replaceWithText ("<M><COMPEFX><Type>A</Type></COMPEFX><D><Type>B</Type></D></M>"));
    T730::ModuleNameLoader loader (folder / "Module.xml");
    ASSERT_EQ (loader.getNumCategories(), 2);

    auto copy = loader.getCategory (0);
    copy.keys.set (0, "Changed");
    EXPECT_EQ (loader.getCategory (0).keys[0], "A");

    loader.setValueTables (1, { SE_ModulePrmsTable { SE_ModulePrms { 0.5f, 1.0f } } });
    ASSERT_EQ (loader.getCategory (1).valueTables.size(), 1u);
    EXPECT_FLOAT_EQ (loader.getCategory (1).valueTables[0][0][1], 1.0f);
    EXPECT_EQ (loader.getCategory (-1).category, -1);
}

//==============================================================================
SE_ModuleLayout layoutOf (const char* text)
{
    auto document = T730::parseXmlText (text);
    EXPECT_NE (document, nullptr);
    return document != nullptr ? T730::readModuleLayout (*document) : SE_ModuleLayout {};
}

TEST (EditorModuleDescription, ReadsTotalJacksAreasAndControls)
{
    const auto layout = layoutOf (R"(<EfxType>
        <Total><BkgdImg><Img>Panel</Img></BkgdImg><Width>120</Width></Total>
        <Inputs><Jack><PosX>2</PosX><PosY>10</PosY></Jack></Inputs>
        <Outputs><Jack><PosX>90</PosX><PosY>10</PosY></Jack><Jack><PosX>95</PosX></Jack></Outputs>
        <TypeChangeArea><X>5</X><Y>6</Y><Width>50</Width><Height>12</Height></TypeChangeArea>
        <Ctrls>
          <Ctrl index="3" prm="2"><Type>Knob</Type><Img>Common:Knob</Img><PosX>10</PosX><PosY>20</PosY>
             <Width>30</Width><Height>30</Height><CenterX>15</CenterX><CenterY>15</CenterY>
             <DspMax>8</DspMax><PrmOffset>1</PrmOffset><PrmName>Level</PrmName><InitDspVal>4</InitDspVal>
             <CollisionAreas><CollisionArea shape="Circle"><Radius>14</Radius></CollisionArea>
                             <CollisionArea><Rect><X>1</X><Y>2</Y><Width>3</Width><Height>4</Height></Rect></CollisionArea></CollisionAreas>
             <SetWhenEdited><WillSet><Prm>0</Prm><To>1</To></WillSet><WillSet/></SetWhenEdited></Ctrl>
          <Ctrl index="4" prm="2"><Type>Fader</Type><InitDspVal>6</InitDspVal></Ctrl>
          <Ctrl index="5" prm="1" prm2="2"><Type>LedSlider</Type><Max>10</Max><SlWidth>18</SlWidth><SlHeight>9</SlHeight>
             <UsePrmTable>1</UsePrmTable><DspMax>2</DspMax><PrmTable><String>Off</String><String>Low</String><String>High</String></PrmTable></Ctrl>
          <Ctrl><Type></Type></Ctrl>
        </Ctrls></EfxType>)");

    ASSERT_TRUE (layout.hasTotal);
    EXPECT_EQ (layout.picture, "Panel");
    EXPECT_EQ (layout.width, 120);
    EXPECT_EQ (layout.height, 0) << "0 means the picture's height";
    ASSERT_EQ (layout.inputs.size(), 1u);
    EXPECT_EQ (layout.inputs[0], juce::Point<int> (2, 10));
    ASSERT_EQ (layout.outputs.size(), 2u);
    EXPECT_EQ (layout.outputs[1], juce::Point<int> (95, 0));
    // the type-change area is read without a zoom area
    EXPECT_EQ (layout.typeChangeArea, juce::Rectangle<int> (5, 6, 50, 12));
    EXPECT_TRUE (layout.zoomArea.isEmpty());

    ASSERT_EQ (layout.ctrls.size(), 4u);
    const auto& knob = layout.ctrls[0];
    EXPECT_EQ (knob.index, 3);
    EXPECT_EQ (knob.prm2, -1);
    EXPECT_EQ (knob.frameCount(), 49) << "Max -1 keeps the kind's default";
    EXPECT_EQ (knob.rect, juce::Rectangle<int> (10, 20, 30, 30));
    ASSERT_EQ (knob.areas.size(), 2u);
    EXPECT_TRUE (knob.areas[0].isCircle);
    EXPECT_EQ (knob.areas[0].radius, 14);
    EXPECT_EQ (knob.areas[1].rect, juce::Rectangle<int> (1, 2, 3, 4));
    EXPECT_EQ (knob.param.shownText (3), "4");

    // an unknown or empty kind builds no control, and the others are still there
    EXPECT_FALSE (layout.ctrls[1].isKnownKind());
    EXPECT_FALSE (layout.ctrls[3].isKnownKind());
    EXPECT_TRUE (layout.ctrls[2].isKnownKind());
    EXPECT_EQ (layout.ctrls[2].frameCount(), 10) << "Max replaces the default";
    EXPECT_EQ (layout.ctrls[2].prm2, 2);
    EXPECT_EQ (layout.ctrls[2].param.shownText (2), "High");
    EXPECT_EQ (layout.ctrls[2].param.shownText (3), "");

    // the first control naming a parameter describes it; the last one sets its initial step
    EXPECT_EQ (layout.describingCtrl (2), &layout.ctrls[0]);
    EXPECT_EQ (layout.initialStep (2), 6);
    EXPECT_EQ (layout.ctrlWithIndex (5), &layout.ctrls[2]);
    EXPECT_EQ (layout.ctrlWithIndex (9), nullptr);

    ASSERT_EQ (layout.links.size(), 2u);
    EXPECT_EQ (layout.links[0].sourcePrm, 2);
    EXPECT_EQ (layout.links[0].targetPrm, 0);
    EXPECT_EQ (layout.links[0].toStep, 1);
    EXPECT_EQ (layout.links[1].targetPrm, -1);
}

TEST (EditorModuleDescription, WithoutTotalOnlyControlsAreRead)
{
    const auto layout = layoutOf (R"(<X><Inputs><Jack><PosX>5</PosX></Jack></Inputs>
        <TypeChangeArea><X>1</X><Width>4</Width></TypeChangeArea>
        <Ctrls><Ctrl prm="1"><Type>Led</Type></Ctrl></Ctrls></X>)");
    EXPECT_FALSE (layout.hasTotal);
    EXPECT_TRUE (layout.inputs.empty());
    EXPECT_TRUE (layout.typeChangeArea.isEmpty());
    ASSERT_EQ (layout.ctrls.size(), 1u);
    EXPECT_EQ (layout.ctrls[0].index, 0);
    EXPECT_EQ (layout.ctrls[0].param.dspMax, 1) << "a switch by default";
    EXPECT_EQ (layout.ctrls[0].frameCount(), 2);
}

TEST (EditorModuleDescription, DamagedNumbersStayWithinSaneBounds)
{
    const auto layout = layoutOf (R"(<EfxType><Ctrls>
          <Ctrl index="0" prm="1"><Type>Knob</Type><Max>-5</Max><DspMax>-4</DspMax></Ctrl>
          <Ctrl index="1" prm="2"><Type>ImgKey</Type><Max>2000000000</Max><DspMax>2000000000</DspMax></Ctrl>
          <Ctrl index="2" prm="3"><Type>ImgPrm</Type><DspMax>99999999999999999999</DspMax></Ctrl>
          <Ctrl index="3" prm="4"><Type>Led</Type><Max>many</Max><DspMax>x</DspMax><PrmOffset>2147483647</PrmOffset></Ctrl>
        </Ctrls></EfxType>)");
    ASSERT_EQ (layout.ctrls.size(), 4u);

    // a negative frame count draws nothing, an absurd one is cut down
    EXPECT_EQ (layout.ctrls[0].frameCount(), 0);
    EXPECT_EQ (layout.ctrls[1].frameCount(), SE_CtrlDesc::largestFrameCount);
    // a picture kind without "Max" shows its one frame
    EXPECT_EQ (layout.ctrls[2].frameCount(), 1);
    // a text that is no number reads as 0
    EXPECT_EQ (layout.ctrls[3].frameCount(), 0);

    EXPECT_EQ (layout.ctrls[0].param.dspMax, 0);
    EXPECT_EQ (layout.ctrls[1].param.dspMax, SE_ParamDesc::largestDspMax);
    EXPECT_TRUE (juce::isPositiveAndNotGreaterThan (layout.ctrls[2].param.dspMax, SE_ParamDesc::largestDspMax));
    EXPECT_EQ (layout.ctrls[3].param.dspMax, 0);
    EXPECT_EQ (layout.ctrls[3].param.shownText (5), "2147483652");

    // stray text inside a table is no entry of it
    const auto tableDocument = T730::parseXmlText ("<Ctrl><PrmTable><String>a</String> x <String>b</String><Other>c</Other></PrmTable></Ctrl>");
    ASSERT_NE (tableDocument, nullptr);
    EXPECT_EQ (T730::readPrmTable (*tableDocument), juce::StringArray ({ "a", "b", "c" }));

    // a document holding nothing at all gives an empty module
    const auto empty = layoutOf ("<EfxType/>");
    EXPECT_FALSE (empty.hasTotal);
    EXPECT_TRUE (empty.ctrls.empty());
    EXPECT_TRUE (empty.links.empty());
}

TEST (EditorModuleDescription, FramePictureNamesAndKindDefaults)
{
    EXPECT_EQ (SE_CtrlDesc::framePictureName ("Knob", 0), "Knob00");
    EXPECT_EQ (SE_CtrlDesc::framePictureName ("M-", 48), "M-48");
    EXPECT_EQ (SE_CtrlDesc::framePictureName ("Knob", 123), "Knob123");
    EXPECT_EQ (SE_CtrlDesc::frameCountOfKind ("Slider"), 0);
    EXPECT_EQ (SE_CtrlDesc::frameCountOfKind ("ImgKey"), SE_CtrlDesc::framesFromMax);
    EXPECT_EQ (SE_CtrlDesc::frameCountOfKind ("NInputKey"), 2);
    EXPECT_EQ (SE_CtrlDesc::frameCountOfKind ("knob"), SE_CtrlDesc::unknownKind) << "kinds compare exactly";
}

//==============================================================================
TEST (EditorModulePictures, NamesResolveWithCommonPrefixAndPngRule)
{
    auto name = T730::resolveModulePictureName ("Chorus", "Common:Lamp");
    EXPECT_EQ (name.archive, "Common");
    EXPECT_EQ (name.fileName, "Lamp.png");

    name = T730::resolveModulePictureName ("Chorus", "Common:Lamp.bmp");
    EXPECT_EQ (name.fileName, "Lamp.bmp");

    name = T730::resolveModulePictureName ("Chorus", "Panel");
    EXPECT_EQ (name.archive, "Chorus");
    EXPECT_EQ (name.fileName, "Panel.png");
}

TEST (EditorModulePictures, LoadsThroughArchiveAndCache)
{
    T730::FlyWeight::deleteInstance();
    oxatest::TempFolder folder;

    // an archive "Fx.orc" with one picture, and an unpacked "Common" folder
    juce::Image red (juce::Image::ARGB, 6, 5, true);
    red.clear (red.getBounds(), juce::Colours::red);
    juce::MemoryOutputStream png;
    juce::PNGImageFormat().writeImageToStream (red, png);

    const auto source = folder / "src";
    ASSERT_TRUE (source.getChildFile ("resource").createDirectory());
    ASSERT_TRUE (source.getChildFile ("resource/Panel.png").replaceWithData (png.getData(), png.getDataSize()));
    ASSERT_TRUE (source.getChildFile ("resource/Broken.png").replaceWithText ("not a picture"));
    ASSERT_TRUE (source.getChildFile ("EfxType.xml").replaceWithText ("<EfxType><Ctrls/></EfxType>"));
    const auto resources = folder / "resources";
    ASSERT_TRUE (resources.createDirectory());
    ASSERT_TRUE (T730::ArchiveWriter().write (source, resources.getChildFile ("Fx.orc")));
    ASSERT_TRUE (resources.getChildFile ("Common.orc/resource").createDirectory());
    ASSERT_TRUE (resources.getChildFile ("Common.orc/resource/Lamp.png").replaceWithData (png.getData(), png.getDataSize()));

    auto panel = T730::getModulePicture (resources, "Fx", "Panel");
    ASSERT_TRUE (panel.isValid());
    EXPECT_EQ (panel.getWidth(), 6);

    // it is in the cache now: taking the archive away does not lose it
    auto& cache = *T730::FlyWeight::getInstance();
    EXPECT_TRUE (cache.findPicture (cache.lookup ("Fx"), "Panel.png").isValid());
    ASSERT_TRUE (resources.getChildFile ("Fx.orc").deleteFile());
    EXPECT_TRUE (T730::getModulePicture (resources, "Fx", "Panel").isValid());

    // an unpacked folder works like an archive
    EXPECT_TRUE (T730::getModulePicture (resources, "Fx", "Common:Lamp").isValid());

    // missing and undecodable pictures are null and leave no entry
    EXPECT_FALSE (T730::getModulePicture (resources, "Fx", "Missing").isValid());
    EXPECT_FALSE (T730::getModulePicture (resources, "Fx", "Broken").isValid());
    EXPECT_EQ (cache.lookup ("Fx")->getNumPictures(), 1);

    T730::FlyWeight::deleteInstance();
}

TEST (EditorModulePictures, DescriptionsLoadThroughTheVirtualPath)
{
    oxatest::TempFolder folder;
    const auto source = folder / "src";
    ASSERT_TRUE (source.createDirectory());
    ASSERT_TRUE (source.getChildFile ("EfxType.xml").replaceWithText ("<EfxType><Ctrls><Ctrl index=\"1\" prm=\"3\"/></Ctrls></EfxType>"));
    ASSERT_TRUE (T730::ArchiveWriter().write (source, folder.get().getChildFile ("Echo.orc")));

    auto document = T730::loadModuleDescription (folder.get(), "Echo");
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (T730::readModuleLayout (*document).ctrls.at (0).prm, 3);
    EXPECT_EQ (T730::loadModuleDescription (folder.get(), "Nothing"), nullptr);
    EXPECT_EQ (T730::loadModuleDescription (folder.get(), ""), nullptr);

    // a key from the catalogue never leads out of the resources folder
    const auto resources = folder / "resources";
    ASSERT_TRUE (resources.createDirectory());
    EXPECT_EQ (T730::loadModuleDescription (resources, "../Echo"), nullptr);
    EXPECT_EQ (T730::loadModuleDescription (resources, ".."), nullptr);
}

//==============================================================================
juce::MemoryBlock pngOf (int width, int height)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::MemoryOutputStream out;
    juce::PNGImageFormat().writeImageToStream (image, out);
    return out.getMemoryBlock();
}

juce::MemoryBlock bytesOf (std::initializer_list<int> bytes)
{
    juce::MemoryBlock block;
    for (int b : bytes)
        block.append (&b, 1);
    return block;
}

TEST (EditorModulePictures, PicturesDeclaringAbsurdSizesAreRefusedBeforeDecoding)
{
    EXPECT_TRUE (T730::decodeModulePicture (pngOf (64, 40)).isValid());
    // decodable, but wider than any module picture may be
    EXPECT_FALSE (T730::decodeModulePicture (pngOf ((int) T730::largestModulePictureSide + 1, 2)).isValid());

    juce::Image wide (juce::Image::RGB, (int) T730::largestModulePictureSide + 1, 1, true);
    juce::MemoryOutputStream jpeg;
    ASSERT_TRUE (juce::JPEGImageFormat().writeImageToStream (wide, jpeg));
    EXPECT_FALSE (T730::decodeModulePicture (jpeg.getMemoryBlock()).isValid());
    juce::MemoryOutputStream smallJpeg;
    ASSERT_TRUE (juce::JPEGImageFormat().writeImageToStream (juce::Image (juce::Image::RGB, 30, 20, true), smallJpeg));
    EXPECT_TRUE (T730::decodeModulePicture (smallJpeg.getMemoryBlock()).isValid());

    // a PNG header claiming a million pixels each way (the decoder would try to
    // allocate terabytes); the size alone decides
    auto hugePng = pngOf (2, 2);
    auto* ihdr = static_cast<juce::uint8*> (hugePng.getData()) + 16;
    ihdr[0] = 0x00, ihdr[1] = 0x0f, ihdr[2] = 0x42, ihdr[3] = 0x40;
    ihdr[4] = 0x00, ihdr[5] = 0x0f, ihdr[6] = 0x42, ihdr[7] = 0x40;
    EXPECT_FALSE (T730::isAcceptablePictureSize (hugePng.getData(), hugePng.getSize()));
    EXPECT_FALSE (T730::decodeModulePicture (hugePng).isValid());

    // many pixels although no side is too long
    auto squarePng = pngOf (2, 2);
    auto* square = static_cast<juce::uint8*> (squarePng.getData()) + 16;
    square[2] = 0x0f, square[3] = 0xa0, square[6] = 0x0f, square[7] = 0xa0; // 4000 x 4000
    EXPECT_FALSE (T730::isAcceptablePictureSize (squarePng.getData(), squarePng.getSize()));

    // GIF is not taken from archives at all, however small
    const auto gif = bytesOf ({ 'G', 'I', 'F', '8', '9', 'a', 10, 0, 10, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255,
                                '!', 0xf9, 4, 1, 0, 0, 0, 0, ',', 0, 0, 0, 0, 10, 0, 10, 0, 0, 2, 2, 0x44, 0 });
    EXPECT_FALSE (T730::isAcceptablePictureSize (gif.getData(), gif.getSize()));
    EXPECT_FALSE (T730::decodeModulePicture (gif).isValid());

    // a JPEG whose frame header follows another segment
    const auto jpegHeader = bytesOf ({ 0xff, 0xd8, 0xff, 0xe0, 0, 4, 0, 0, 0xff, 0xc0, 0, 11, 8, 0x13, 0x88, 0x13, 0x88, 1, 1, 0x11, 0 });
    EXPECT_FALSE (T730::isAcceptablePictureSize (jpegHeader.getData(), jpegHeader.getSize()));

    // nothing, too little, or a format without a decoder
    EXPECT_FALSE (T730::isAcceptablePictureSize (nullptr, 0));
    const auto bmp = bytesOf ({ 'B', 'M', 0, 0, 0, 0 });
    EXPECT_FALSE (T730::decodeModulePicture (bmp).isValid());
    EXPECT_FALSE (T730::decodeModulePicture ({}).isValid());
}

TEST (EditorModulePictures, DamagedPicturesGiveNoPictureAndNeverACrash)
{
    // Files that crashed JUCE's own loaders (error handlers that return, heap
    // writes) or passed the old size check with a wrong size.
    int files = 0;
    for (const auto& file : juce::File (OXA_FUZZ_CORPUS_DIR).getChildFile ("Picture").findChildFiles (juce::File::findFiles, false))
    {
        juce::MemoryBlock data;
        ASSERT_TRUE (file.loadFileAsData (data));
        EXPECT_FALSE (T730::decodeModulePicture (data).isValid()) << file.getFileName();
        if (file.getFileName().startsWith ("stuffed-ff00"))
        {
            EXPECT_FALSE (T730::isAcceptablePictureSize (data.getData(), data.getSize()))
                << file.getFileName() << ": the decoder's own header read gives the real size";
        }
        ++files;
    }
    EXPECT_GE (files, 12);

    // Every truncation of a good picture of either kind decodes to nothing or to
    // the whole picture, never to a crash.
    juce::Image colours (juce::Image::ARGB, 24, 16, true);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            colours.setPixelAt (x, y, juce::Colour ((juce::uint8) (x * 10), (juce::uint8) (y * 15), 200, (juce::uint8) (128 + x)));
    juce::MemoryOutputStream png, jpeg;
    ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (colours, png));
    ASSERT_TRUE (juce::JPEGImageFormat().writeImageToStream (colours, jpeg));
    for (auto* stream : { &png, &jpeg })
    {
        const auto whole = stream->getMemoryBlock();
        for (size_t cut = 0; cut < whole.getSize(); cut += 7)
        {
            const juce::MemoryBlock part (whole.getData(), cut);
            const auto picture = T730::decodeModulePicture (part);
            if (picture.isValid())
            {
                EXPECT_EQ (picture.getBounds(), colours.getBounds());
            }
        }
    }

    // A good PNG keeps its colours and its transparency.
    const auto back = T730::decodeModulePicture (png.getMemoryBlock());
    ASSERT_TRUE (back.isValid());
    for (auto [x, y] : { std::pair { 5, 3 }, std::pair { 20, 12 }, std::pair { 0, 15 } })
    {
        const auto got = back.getPixelAt (x, y), wanted = colours.getPixelAt (x, y);
        EXPECT_EQ (got.getAlpha(), wanted.getAlpha());
        EXPECT_NEAR (got.getRed(), wanted.getRed(), 3);     // premultiplied twice over: rounding only
        EXPECT_NEAR (got.getGreen(), wanted.getGreen(), 3);
        EXPECT_NEAR (got.getBlue(), wanted.getBlue(), 3);
    }
}

TEST (EditorModulePictures, NamesNeverLeaveTheirArchiveFolder)
{
    T730::FlyWeight::deleteInstance();
    oxatest::TempFolder folder;
    const auto resources = folder / "resources";
    const auto png = pngOf (4, 4);
    ASSERT_TRUE (resources.getChildFile ("Fx.orc/resource").createDirectory());
    ASSERT_TRUE (resources.getChildFile ("Fx.orc/resource/Panel.png").replaceWithData (png.getData(), png.getSize()));
    ASSERT_TRUE (resources.getChildFile ("Fx.orc/Secret.png").replaceWithData (png.getData(), png.getSize()));
    ASSERT_TRUE (folder.get().getChildFile ("Outside.orc/resource").createDirectory());
    ASSERT_TRUE (folder.get().getChildFile ("Outside.orc/resource/Panel.png").replaceWithData (png.getData(), png.getSize()));

    EXPECT_TRUE (T730::getModulePicture (resources, "Fx", "Panel").isValid());
    EXPECT_FALSE (T730::getModulePicture (resources, "Fx", "../Secret").isValid());
    EXPECT_FALSE (T730::getModulePicture (resources, "Fx", "Common:../../Fx.orc/Secret").isValid());
    EXPECT_FALSE (T730::getModulePicture (resources, "../Outside", "Panel").isValid());
    EXPECT_FALSE (T730::getModulePicture (resources, "..", "Panel").isValid());

    // an oversized picture in an archive is null and leaves no entry
    const auto huge = pngOf ((int) T730::largestModulePictureSide + 1, 1);
    ASSERT_TRUE (resources.getChildFile ("Fx.orc/resource/Huge.png").replaceWithData (huge.getData(), huge.getSize()));
    EXPECT_FALSE (T730::getModulePicture (resources, "Fx", "Huge").isValid());
    EXPECT_EQ (T730::FlyWeight::getInstance()->lookup ("Fx")->getNumPictures(), 1);

    T730::FlyWeight::deleteInstance();
}
} // namespace

TEST (EditorModuleCatalogue, KeysAndPictureNamesStartingWithATildeNeverBecomePaths)
{
    // juce::File takes "~name" for a home folder: a catalogue key or picture name
    // of that form looked its description, library and pictures up outside resources/.
    oxatest::TempFolder folder;
    const auto resources = folder / "resources";
    const auto corpus = juce::File (OXA_FUZZ_CORPUS_DIR);

    const auto catalogue = T730::readModuleCatalogue (corpus.getChildFile ("Catalogue/tilde-key-min.xml"));
    ASSERT_FALSE (catalogue.empty());
    ASSERT_EQ (catalogue[0].keys, juce::StringArray ("~evil"));

    // Even with files of those names in the resources folder, the names are refused.
    juce::MemoryBlock png;
    {
        juce::MemoryOutputStream out (png, false);
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (juce::Image (juce::Image::ARGB, 4, 4, true), out));
    }
    ASSERT_TRUE (T730::childNamed (resources, "~evil.orc/resource").createDirectory());
    ASSERT_TRUE (T730::childNamed (resources, "~evil.orc/EfxType.xml").replaceWithText ("<EfxType/>"));
    ASSERT_TRUE (T730::childNamed (resources, "Fx.orc/resource").createDirectory());
    ASSERT_TRUE (T730::childNamed (resources, "Fx.orc/resource/~evil.png").replaceWithData (png.getData(), png.getSize()));
    ASSERT_TRUE (T730::childNamed (resources, "~evil.so").replaceWithText ("not a library"));

    // juce::File leaves "~evil.orc" (no such user) as a path from the working
    // folder: a description planted there was read.
    const auto workingFolder = folder / "working";
    ASSERT_TRUE (T730::childNamed (workingFolder, "~evil.orc").createDirectory());
    ASSERT_TRUE (T730::childNamed (workingFolder, "~evil.orc/EfxType.xml").replaceWithText ("<EfxType><Ctrls/></EfxType>"));
    const auto previousWorkingFolder = juce::File::getCurrentWorkingDirectory();
    ASSERT_TRUE (workingFolder.setAsCurrentWorkingDirectory());

    for (const auto& key : catalogue[0].keys)
    {
        EXPECT_EQ (T730::loadModuleDescription (resources, key), nullptr) << key;
        T730::DspLoader loader (resources, false);
        EXPECT_EQ (loader.createObject (key), nullptr) << key;
    }
    previousWorkingFolder.setAsCurrentWorkingDirectory();

    const auto description = T730::parseXmlFile (corpus.getChildFile ("ModuleDescription/tilde-picture-min.xml"));
    ASSERT_NE (description, nullptr);
    const auto layout = T730::readModuleLayout (*description);
    EXPECT_EQ (layout.picture, "~evil");
    EXPECT_FALSE (T730::getModulePicture (resources, "Fx", layout.picture).isValid());
    EXPECT_FALSE (T730::getModulePicture (resources, "Fx", "Common:" + layout.picture).isValid());
}
