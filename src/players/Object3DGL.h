#pragma once

#include <juce_graphics/juce_graphics.h>

#include <memory>
#include <vector>

namespace T730
{

/** One model of the program's .ox format: one pose of one moving part of a figure.

    File: A (signed 32-bit, little-endian), B (likewise), then A floats of
    triangles (three vertices of x, y, z each) and B floats of quads: the first
    12 / 16 of them the quads' vertices (four of x, y, z each), the last 4 / 16
    one (red, green, blue, alpha) per quad, 0..1. A quad whose alpha is above 0
    is drawn in that colour, every other polygon in its group's colour; each
    polygon is shaded flat by its own plane (FlatShading.h).

    A file whose counts are negative, not whole triangles (A a multiple of 9) and
    quads (B of 16), or larger than its data is an empty model: it draws nothing.

    Read on the message thread; drawn by a 3D view's render thread, which never
    changes it. */
class Object3DGL
{
public:
    Object3DGL() = default;
    virtual ~Object3DGL() = default;

    /** The model held by the bytes (an empty one when they do not hold one). */
    static std::unique_ptr<Object3DGL> fromData (const void* data, size_t size);
    /** Reads the file through readArchiveEntry (a path may lead into an archive). */
    static std::unique_ptr<Object3DGL> fromFile (const juce::File& virtualPath);

    bool isEmpty() const noexcept { return triangles.empty() && quads.empty(); }
    int getNumTriangles() const noexcept { return (int) (triangles.size() / 9); }
    int getNumQuads() const noexcept { return (int) (quads.size() / 16); }
    const std::vector<float>& getTriangleData() const noexcept { return triangles; }
    const std::vector<float>& getQuadData() const noexcept { return quads; }

    /** Works out each polygon's drawing colour: its own or the group's, times its shade. */
    void prepareColours (juce::Colour groupColour);
    /** The colour polygon i (triangles first, then quads) is drawn in. */
    juce::Colour getPolygonColour (int i) const;

    /** Draws into the current OpenGL context (fixed-function, immediate mode). */
    void draw() const;

private:
    std::vector<float> triangles, quads;
    std::vector<juce::uint8> colours;   // 3 per polygon, made by prepareColours

    JUCE_DECLARE_NON_COPYABLE (Object3DGL)
};

/** One moving part: a model per pose, one of which is shown at a time. */
struct ModelGroup
{
    std::vector<std::unique_ptr<Object3DGL>> poses;
};

/** A figure's scene: its groups, drawn in order. */
using Scene = std::vector<ModelGroup>;

} // namespace T730
