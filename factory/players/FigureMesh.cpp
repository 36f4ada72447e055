#include "FigureMesh.h"

namespace oxafigures
{

Transform Transform::operator* (const Transform& o) const noexcept
{
    // Columns of o's matrix.
    const Vec c0 { o.row0.x, o.row1.x, o.row2.x }, c1 { o.row0.y, o.row1.y, o.row2.y }, c2 { o.row0.z, o.row1.z, o.row2.z };
    Transform r;
    r.row0 = { row0.dot (c0), row0.dot (c1), row0.dot (c2) };
    r.row1 = { row1.dot (c0), row1.dot (c1), row1.dot (c2) };
    r.row2 = { row2.dot (c0), row2.dot (c1), row2.dot (c2) };
    r.t = apply (o.t);
    return r;
}

Transform Transform::translation (Vec v) noexcept
{
    Transform r;
    r.t = v;
    return r;
}

Transform Transform::scaling (float s) noexcept
{
    Transform r;
    r.row0 = { s, 0, 0 };
    r.row1 = { 0, s, 0 };
    r.row2 = { 0, 0, s };
    return r;
}

Transform Transform::rotation (Vec axis, float degrees) noexcept
{
    const auto a = axis.normalised();
    const float th = degrees * juce::MathConstants<float>::pi / 180.0f;
    const float c = std::cos (th), s = std::sin (th), k = 1 - c;
    Transform r;
    r.row0 = { c + a.x * a.x * k, a.x * a.y * k - a.z * s, a.x * a.z * k + a.y * s };
    r.row1 = { a.y * a.x * k + a.z * s, c + a.y * a.y * k, a.y * a.z * k - a.x * s };
    r.row2 = { a.z * a.x * k - a.y * s, a.z * a.y * k + a.x * s, c + a.z * a.z * k };
    return r;
}

Transform Transform::rotationAbout (Vec point, Vec axis, float degrees) noexcept
{
    return translation (point) * rotation (axis, degrees) * translation (point * -1.0f);
}

Transform Transform::alongY (Vec from, Vec direction) noexcept
{
    const auto y = direction.normalised();
    const Vec helper = std::fabs (y.y) < 0.9f ? Vec { 0, 1, 0 } : Vec { 1, 0, 0 };
    const auto x = helper.cross (y).normalised();
    const auto z = x.cross (y).normalised();
    Transform r;
    // Columns x, y, z.
    r.row0 = { x.x, y.x, z.x };
    r.row1 = { x.y, y.y, z.y };
    r.row2 = { x.z, y.z, z.z };
    r.t = from;
    return r;
}

//==============================================================================
void Mesh::add (const Mesh& other)
{
    quads.insert (quads.end(), other.quads.begin(), other.quads.end());
}

void Mesh::add (const Mesh& other, const Transform& where)
{
    for (auto q : other.quads)
    {
        for (auto& v : q.v)
            v = where.apply (v);
        quads.push_back (q);
    }
}

Mesh Mesh::transformed (const Transform& where) const
{
    Mesh m;
    m.add (*this, where);
    return m;
}

juce::MemoryBlock Mesh::toOx() const
{
    juce::MemoryOutputStream out;
    const auto q = (int) quads.size();
    out.writeInt (0);        // A: no triangles
    out.writeInt (16 * q);   // B
    for (const auto& quad : quads)
        for (const auto& v : quad.v)
        {
            out.writeFloat (v.x);
            out.writeFloat (v.y);
            out.writeFloat (v.z);
        }
    for (const auto& quad : quads)
    {
        out.writeFloat (quad.colour.r);
        out.writeFloat (quad.colour.g);
        out.writeFloat (quad.colour.b);
        out.writeFloat (1.0f);
    }
    return out.getMemoryBlock();
}

//==============================================================================
Mesh box (Vec s, Rgb colour)
{
    const float x = s.x / 2, y = s.y / 2, z = s.z / 2;
    const Vec p[8] = { { -x, -y, -z }, { x, -y, -z }, { x, y, -z }, { -x, y, -z },
                       { -x, -y, z },  { x, -y, z },  { x, y, z },  { -x, y, z } };
    Mesh m;
    m.quad (p[0], p[1], p[2], p[3], colour);
    m.quad (p[4], p[5], p[6], p[7], colour);
    m.quad (p[0], p[1], p[5], p[4], colour);
    m.quad (p[3], p[2], p[6], p[7], colour);
    m.quad (p[0], p[3], p[7], p[4], colour);
    m.quad (p[1], p[2], p[6], p[5], colour);
    return m;
}

Mesh bar (Vec a, Vec b, float w, float d, Rgb colour)
{
    const float len = (b - a).length();
    return box ({ w, len, d }, colour).transformed (Transform::alongY (a, b - a) * Transform::translation ({ 0, len / 2, 0 }));
}

Mesh tube (Vec a, Vec b, float ra, float rb, int n, Rgb side, Rgb ends)
{
    const float len = (b - a).length();
    Mesh m;
    const float step = juce::MathConstants<float>::twoPi / (float) n;
    for (int i = 0; i < n; ++i)
    {
        const float a0 = step * (float) i, a1 = step * (float) (i + 1);
        const Vec p0 { ra * std::cos (a0), 0, ra * std::sin (a0) }, p1 { ra * std::cos (a1), 0, ra * std::sin (a1) };
        const Vec q0 { rb * std::cos (a0), len, rb * std::sin (a0) }, q1 { rb * std::cos (a1), len, rb * std::sin (a1) };
        m.quad (p0, p1, q1, q0, side);
        m.triangle ({ 0, 0, 0 }, p0, p1, ends);
        m.triangle ({ 0, len, 0 }, q0, q1, ends);
    }
    return m.transformed (Transform::alongY (a, b - a));
}

Mesh drum (Vec a, Vec b, float radius, int n, Rgb shell, Rgb head, Rgb hoop)
{
    const auto axis = (b - a).normalised();
    const float rim = juce::jmin (0.02f, (b - a).length() * 0.12f);
    Mesh m;
    m.add (tube (a + axis * rim, b - axis * rim, radius, radius, n, shell, head));
    m.add (tube (a, a + axis * rim, radius * 1.04f, radius * 1.04f, n, hoop, head));
    m.add (tube (b - axis * rim, b, radius * 1.04f, radius * 1.04f, n, hoop, head));
    return m;
}

Mesh cymbal (Vec centre, Vec normal, float radius, int n, Rgb colour)
{
    Mesh m;
    const float step = juce::MathConstants<float>::twoPi / (float) n;
    const float cup = radius * 0.25f, rise = radius * 0.08f, cupRise = radius * 0.1f;
    const Rgb dark { colour.r * 0.8f, colour.g * 0.8f, colour.b * 0.8f };
    for (int i = 0; i < n; ++i)
    {
        const float a0 = step * (float) i, a1 = step * (float) (i + 1);
        auto at = [] (float r, float a, float y) { return Vec { r * std::cos (a), y, r * std::sin (a) }; };
        m.quad (at (cup, a0, rise), at (radius, a0, 0), at (radius, a1, 0), at (cup, a1, rise), colour);
        m.triangle ({ 0, rise + cupRise, 0 }, at (cup, a0, rise), at (cup, a1, rise), dark);
    }
    return m.transformed (Transform::alongY (centre, normal));
}

Mesh ellipsoid (Vec r, int n, int rings, Rgb colour)
{
    Mesh m;
    const float pi = juce::MathConstants<float>::pi;
    auto at = [&] (int ring, int seg)
    {
        const float th = pi * (float) ring / (float) rings, ph = 2 * pi * (float) seg / (float) n;
        return Vec { r.x * std::sin (th) * std::cos (ph), r.y * std::cos (th), r.z * std::sin (th) * std::sin (ph) };
    };
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < n; ++j)
        {
            if (i == 0)
                m.triangle (at (0, 0), at (1, j), at (1, j + 1), colour);
            else if (i == rings - 1)
                m.triangle (at (rings, 0), at (i, j + 1), at (i, j), colour);
            else
                m.quad (at (i, j), at (i, j + 1), at (i + 1, j + 1), at (i + 1, j), colour);
        }
    return m;
}

Mesh extrusion (const std::vector<juce::Point<float>>& outline, float depth, Rgb face, Rgb edge)
{
    Mesh m;
    juce::Point<float> c;
    for (auto p : outline)
        c += p;
    c /= (float) outline.size();
    const float z = depth / 2;
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i)
    {
        const auto p = outline[i], q = outline[(i + 1) % n];
        m.triangle ({ c.x, c.y, z }, { p.x, p.y, z }, { q.x, q.y, z }, face);
        m.triangle ({ c.x, c.y, -z }, { q.x, q.y, -z }, { p.x, p.y, -z }, face);
        m.quad ({ p.x, p.y, z }, { q.x, q.y, z }, { q.x, q.y, -z }, { p.x, p.y, -z }, edge);
    }
    return m;
}

Vec jointBetween (Vec s, Vec w, float upper, float lower, Vec pole)
{
    const auto sw = w - s;
    const float d = juce::jlimit (std::fabs (upper - lower) + 1.0e-4f, (upper + lower) * 0.999f, sw.length());
    const auto dir = sw.normalised();
    const float a = (upper * upper - lower * lower + d * d) / (2 * d);
    const float h = std::sqrt (juce::jmax (0.0f, upper * upper - a * a));
    auto p = pole - dir * pole.dot (dir);
    p = p.normalised();
    return s + dir * a + p * h;
}

} // namespace oxafigures
