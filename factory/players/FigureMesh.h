#pragma once

// The drawing kit of the figure models: meshes of coloured quads built from a
// few solids (boxes, tubes between two points, cones, ellipsoids, extruded
// outlines), moved into place, and written in the program's .ox model format.
// Links only JUCE.

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <vector>

namespace oxafigures
{

struct Vec
{
    float x = 0, y = 0, z = 0;

    Vec operator+ (Vec o) const noexcept { return { x + o.x, y + o.y, z + o.z }; }
    Vec operator- (Vec o) const noexcept { return { x - o.x, y - o.y, z - o.z }; }
    Vec operator* (float s) const noexcept { return { x * s, y * s, z * s }; }
    float dot (Vec o) const noexcept { return x * o.x + y * o.y + z * o.z; }
    Vec cross (Vec o) const noexcept { return { y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x }; }
    float length() const noexcept { return std::sqrt (dot (*this)); }
    Vec normalised() const noexcept
    {
        const float n = length();
        return n > 1.0e-9f ? *this * (1.0f / n) : Vec { 0, 1, 0 };
    }
};

inline Vec lerp (Vec a, Vec b, float t) noexcept { return a + (b - a) * t; }

struct Rgb
{
    float r = 1, g = 1, b = 1;
};

/** An affine transform: x' = m * x + t (rows of m). */
struct Transform
{
    Vec row0 { 1, 0, 0 }, row1 { 0, 1, 0 }, row2 { 0, 0, 1 };
    Vec t;

    Vec apply (Vec v) const noexcept { return { row0.dot (v) + t.x, row1.dot (v) + t.y, row2.dot (v) + t.z }; }
    /** This after other: apply (other.apply (v)). */
    Transform operator* (const Transform& other) const noexcept;

    static Transform translation (Vec v) noexcept;
    static Transform scaling (float s) noexcept;
    /** Degrees about an axis through the origin. */
    static Transform rotation (Vec axis, float degrees) noexcept;
    /** About an axis through a point. */
    static Transform rotationAbout (Vec point, Vec axis, float degrees) noexcept;
    /** The frame whose y axis is the direction (x and z chosen at right angles). */
    static Transform alongY (Vec from, Vec direction) noexcept;
};

struct Quad
{
    Vec v[4];
    Rgb colour;
};

class Mesh
{
public:
    void quad (Vec a, Vec b, Vec c, Vec d, Rgb colour) { quads.push_back ({ { a, b, c, d }, colour }); }
    /** A triangle, as a quad whose first vertex is repeated. */
    void triangle (Vec a, Vec b, Vec c, Rgb colour) { quad (a, a, b, c, colour); }
    void add (const Mesh& other);
    void add (const Mesh& other, const Transform& where);
    Mesh transformed (const Transform& where) const;

    const std::vector<Quad>& getQuads() const noexcept { return quads; }
    size_t size() const noexcept { return quads.size(); }

    /** The .ox file: no triangle block, the quads with one colour each. */
    juce::MemoryBlock toOx() const;

private:
    std::vector<Quad> quads;
};

// Solids -----------------------------------------------------------------------
/** A box of the given size, centred on the origin. */
Mesh box (Vec size, Rgb colour);
/** A box from a to b (its length), of width w and depth d across. */
Mesh bar (Vec a, Vec b, float w, float d, Rgb colour);
/** A tube from a to b, radius ra at a and rb at b, closed at both ends. */
Mesh tube (Vec a, Vec b, float ra, float rb, int segments, Rgb side, Rgb ends);
/** A drum: a tube with heads of their own colour and a rim ring at each end. */
Mesh drum (Vec a, Vec b, float radius, int segments, Rgb shell, Rgb head, Rgb hoop);
/** A cymbal: a flat cone of the radius, its cup up along the normal, at the centre. */
Mesh cymbal (Vec centre, Vec normal, float radius, int segments, Rgb colour);
/** An ellipsoid of radii r, centred on the origin. */
Mesh ellipsoid (Vec r, int segments, int rings, Rgb colour);
inline Mesh sphere (Vec centre, float r, Rgb colour, int segments = 10)
{
    return ellipsoid ({ r, r, r }, segments, segments / 2 + 1, colour).transformed (Transform::translation (centre));
}
/** An outline in the x-y plane (convex or star-shaped about its first point's
    centroid) extruded from z = -depth / 2 to +depth / 2. */
Mesh extrusion (const std::vector<juce::Point<float>>& outline, float depth, Rgb face, Rgb edge);

/** Where the elbow (or knee) of a two-bone limb from s to the end w goes, bending
    towards the pole direction. */
Vec jointBetween (Vec s, Vec w, float upper, float lower, Vec pole);

} // namespace oxafigures
