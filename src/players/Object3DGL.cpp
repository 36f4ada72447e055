#include "players/Object3DGL.h"

#include "documents/Archive.h"
#include "players/FlatShading.h"

#include <juce_opengl/juce_opengl.h>

#include <cstring>

namespace T730
{

namespace
{
    juce::int32 readInt (const juce::uint8* p) noexcept
    {
        return (juce::int32) juce::ByteOrder::littleEndianInt (p);
    }

    void readFloats (const juce::uint8* p, size_t count, std::vector<float>& into)
    {
        into.resize (count);
        for (size_t i = 0; i < count; ++i)
        {
            const auto bits = juce::ByteOrder::littleEndianInt (p + 4 * i);
            float f;
            std::memcpy (&f, &bits, sizeof (f));
            into[i] = std::isfinite (f) ? f : 0.0f;   // a damaged number draws at the origin, never as NaN
        }
    }
} // namespace

std::unique_ptr<Object3DGL> Object3DGL::fromData (const void* data, size_t size)
{
    auto model = std::make_unique<Object3DGL>();
    if (data == nullptr || size < 8)
        return model;

    const auto* bytes = static_cast<const juce::uint8*> (data);
    const juce::int64 a = readInt (bytes), b = readInt (bytes + 4);
    // 64-bit arithmetic: counts near the 32-bit limit never wrap into a "fitting" size.
    if (a < 0 || b < 0 || a % 9 != 0 || b % 16 != 0 || 8 + 4 * (a + b) > (juce::int64) size)
        return model;

    readFloats (bytes + 8, (size_t) a, model->triangles);
    readFloats (bytes + 8 + 4 * a, (size_t) b, model->quads);
    model->prepareColours (juce::Colours::white);
    return model;
}

std::unique_ptr<Object3DGL> Object3DGL::fromFile (const juce::File& virtualPath)
{
    juce::MemoryBlock data;
    if (! readArchiveEntry (virtualPath, data))
        return std::make_unique<Object3DGL>();
    return fromData (data.getData(), data.getSize());
}

void Object3DGL::prepareColours (juce::Colour groupColour)
{
    const int nt = getNumTriangles(), nq = getNumQuads();
    colours.assign ((size_t) (3 * (nt + nq)), 0);

    auto put = [this] (int polygon, juce::Colour c, float shade)
    {
        auto* p = &colours[(size_t) (3 * polygon)];
        p[0] = (juce::uint8) juce::jlimit (0, 255, juce::roundToInt (c.getRed() * shade));
        p[1] = (juce::uint8) juce::jlimit (0, 255, juce::roundToInt (c.getGreen() * shade));
        p[2] = (juce::uint8) juce::jlimit (0, 255, juce::roundToInt (c.getBlue() * shade));
    };

    for (int t = 0; t < nt; ++t)
    {
        const float* v = &triangles[(size_t) (9 * t)];
        put (t, groupColour, shading::flatShade (v, v + 3, v + 6));
    }

    const size_t colourBase = (size_t) (12 * nq);
    for (int q = 0; q < nq; ++q)
    {
        const float* v = &quads[(size_t) (12 * q)];
        const float* rgba = &quads[colourBase + (size_t) (4 * q)];
        auto c = groupColour;
        if (rgba[3] > 0.0f)
            c = juce::Colour::fromFloatRGBA (juce::jlimit (0.0f, 1.0f, rgba[0]), juce::jlimit (0.0f, 1.0f, rgba[1]),
                                             juce::jlimit (0.0f, 1.0f, rgba[2]), 1.0f);
        // A quad drawn as a triangle repeats a vertex: take the plane from the three that differ.
        const bool firstEdgeEmpty = v[0] == v[3] && v[1] == v[4] && v[2] == v[5];
        put (nt + q, c, firstEdgeEmpty ? shading::flatShade (v, v + 6, v + 9) : shading::flatShade (v, v + 3, v + 6));
    }
}

juce::Colour Object3DGL::getPolygonColour (int i) const
{
    if (i < 0 || (size_t) (3 * i + 2) >= colours.size())
        return {};
    const auto* p = &colours[(size_t) (3 * i)];
    return juce::Colour (p[0], p[1], p[2]);
}

void Object3DGL::draw() const
{
    using namespace juce::gl;
    const int nt = getNumTriangles(), nq = getNumQuads();

    if (nt > 0)
    {
        glBegin (GL_TRIANGLES);
        for (int t = 0; t < nt; ++t)
        {
            glColor3ubv (&colours[(size_t) (3 * t)]);
            const float* v = &triangles[(size_t) (9 * t)];
            glVertex3fv (v);
            glVertex3fv (v + 3);
            glVertex3fv (v + 6);
        }
        glEnd();
    }

    if (nq > 0)
    {
        glBegin (GL_QUADS);
        for (int q = 0; q < nq; ++q)
        {
            glColor3ubv (&colours[(size_t) (3 * (nt + q))]);
            const float* v = &quads[(size_t) (12 * q)];
            glVertex3fv (v);
            glVertex3fv (v + 3);
            glVertex3fv (v + 6);
            glVertex3fv (v + 9);
        }
        glEnd();
    }
}

} // namespace T730
