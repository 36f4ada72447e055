// The .ox model reader on good and damaged files, the shipped model sets, and the
// camera's turning arithmetic.
#include "TestSupport.h"

#include "players/DirectorUserFixed.h"
#include "players/Figures.h"
#include "players/Object3DGL.h"

#include <gtest/gtest.h>

using namespace T730;

namespace
{
    juce::MemoryBlock oxFile (juce::int32 a, juce::int32 b, size_t floats)
    {
        juce::MemoryOutputStream out;
        out.writeInt (a);
        out.writeInt (b);
        for (size_t i = 0; i < floats; ++i)
            out.writeFloat ((float) i * 0.01f);
        return out.getMemoryBlock();
    }

    std::unique_ptr<Object3DGL> read (const juce::MemoryBlock& data)
    {
        return Object3DGL::fromData (data.getData(), data.getSize());
    }
} // namespace

TEST (PlayersModel, ReadsTrianglesAndQuadsWithTheQuadsOwnColours)
{
    juce::MemoryOutputStream out;
    out.writeInt (9);
    out.writeInt (32);
    for (float v : { 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f })
        out.writeFloat (v);
    for (int q = 0; q < 2; ++q)
        for (float v : { 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 0.f, 1.f, 0.f, 0.f, 1.f })
            out.writeFloat (v);
    for (float v : { 1.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 0.f })   // quad 0 red, quad 1 without a colour
        out.writeFloat (v);
    const auto model = read (out.getMemoryBlock());

    ASSERT_EQ (model->getNumTriangles(), 1);
    ASSERT_EQ (model->getNumQuads(), 2);
    EXPECT_FLOAT_EQ (model->getTriangleData()[3], 1.0f);
    model->prepareColours (juce::Colour (0xff00ff00));
    const auto redQuad = model->getPolygonColour (1), plainQuad = model->getPolygonColour (2), triangle = model->getPolygonColour (0);
    EXPECT_GT (redQuad.getRed(), 0);
    EXPECT_EQ (redQuad.getGreen(), 0);
    EXPECT_EQ (plainQuad.getRed(), 0);
    EXPECT_GT (plainQuad.getGreen(), 0);
    // A triangle in the plane y = 0 faces the light more than the quads standing in y-z.
    EXPECT_GT (triangle.getGreen(), 0);
}

TEST (PlayersModel, DamagedFilesAreEmptyModelsNeverReadsPastTheData)
{
    // Counts that are not whole polygons, negative, larger than the file or so large
    // that 32-bit arithmetic would wrap them into a fitting size.
    EXPECT_TRUE (read (oxFile (8, 0, 8))->isEmpty());
    EXPECT_TRUE (read (oxFile (0, 15, 15))->isEmpty());
    EXPECT_TRUE (read (oxFile (-9, 0, 0))->isEmpty());
    EXPECT_TRUE (read (oxFile (0, -16, 0))->isEmpty());
    EXPECT_TRUE (read (oxFile (9, 16, 24))->isEmpty());                  // one float short
    EXPECT_TRUE (read (oxFile (1073741832, 0, 9))->isEmpty());           // 4 × A wraps 32 bits
    EXPECT_TRUE (read (oxFile (2147483646, 2147483632, 0))->isEmpty());  // A + B wraps 32 bits
    EXPECT_TRUE (Object3DGL::fromData (nullptr, 0)->isEmpty());
    const juce::uint8 tooShort[] = { 9, 0, 0 };
    EXPECT_TRUE (Object3DGL::fromData (tooShort, sizeof (tooShort))->isEmpty());

    // Exactly fitting counts read; bytes after the model are not part of it.
    EXPECT_EQ (read (oxFile (9, 16, 25))->getNumQuads(), 1);
    EXPECT_EQ (read (oxFile (9, 0, 12))->getNumTriangles(), 1);
    EXPECT_TRUE (read (oxFile (0, 0, 0))->isEmpty());

    // Damaged numbers draw at the origin.
    juce::MemoryOutputStream out;
    out.writeInt (9);
    out.writeInt (0);
    for (int i = 0; i < 9; ++i)
        out.writeFloat (i == 4 ? std::numeric_limits<float>::quiet_NaN() : 1.0f);
    EXPECT_EQ (read (out.getMemoryBlock())->getTriangleData()[4], 0.0f);

    // A missing file is an empty model too.
    oxatest::TempFolder temp;
    EXPECT_TRUE (Object3DGL::fromFile (temp / "Drummer.archived/none.ox")->isEmpty());
}

TEST (PlayersModel, ShippedModelSetsHoldEveryPoseTheFiguresName)
{
    const auto resources = oxatest::stageFolder().getChildFile ("resources");
    int files = 0;
    for (const auto* set : { &Drummer::modelSet(), &Bassist::modelSet() })
    {
        auto scene = loadFigureScene (resources, *set, {});
        ASSERT_EQ (scene->size(), set->groups.size());
        for (size_t g = 0; g < scene->size(); ++g)
            for (size_t p = 0; p < (*scene)[g].poses.size(); ++p)
            {
                ++files;
                EXPECT_FALSE ((*scene)[g].poses[p]->isEmpty()) << set->folder << " " << set->groups[g][(int) p];
            }
    }
    EXPECT_EQ (files, 90 + 50);
    EXPECT_TRUE (resources.getChildFile ("Drummer.archived").existsAsFile());   // an archive, not a folder

    // Poses of one group differ from each other where they move.
    const auto drummer = loadFigureScene (resources, Drummer::modelSet(), {});
    EXPECT_NE ((*drummer)[1].poses[0]->getQuadData(), (*drummer)[1].poses[5]->getQuadData());
    EXPECT_NE ((*drummer)[3].poses[0]->getQuadData(), (*drummer)[3].poses[1]->getQuadData());
    const auto bassist = loadFigureScene (resources, Bassist::modelSet(), {});
    EXPECT_NE ((*bassist)[0].poses[0]->getQuadData(), (*bassist)[0].poses[11]->getQuadData());
}

TEST (PlayersModel, FourPixelsTurnOneDegreeAndAnglesStayWithinAFullTurn)
{
    EXPECT_EQ (turnedAngle (0.0f, -7), -1);    // 7 pixels up: -1 degree
    EXPECT_EQ (turnedAngle (0.0f, 3), 0);
    EXPECT_EQ (turnedAngle (0.0f, -3), 0);
    EXPECT_EQ (turnedAngle (370.0f, 0), 10);   // 370 becomes 10 at the next drag
    EXPECT_EQ (turnedAngle (350.0f, 80), 10);
    EXPECT_EQ (turnedAngle (-350.0f, -80), -10);
    EXPECT_EQ (turnedAngle (12.9f, 4), 13);    // the stored angle is truncated first
    for (int px = -5000; px <= 5000; px += 37)
    {
        const int a = turnedAngle (200.0f, px);
        EXPECT_GE (a, -359);
        EXPECT_LE (a, 359);
    }

    DirectorUserFixed camera (0.1f, 0.3f, 0.2f);
    EXPECT_EQ (camera.getDistance(), 0.0f);
    EXPECT_EQ (camera.getAngleX(), 0.0f);
    EXPECT_EQ (camera.getOffsetY(), 0.3f);
}
