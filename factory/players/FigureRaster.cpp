#include "FigureRaster.h"

#include "players/FlatShading.h"

#include <array>

namespace oxafigures
{

namespace
{
    using Matrix = std::array<float, 16>;   // column-major, as OpenGL keeps it

    Matrix identity()
    {
        return { 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
    }

    Matrix multiply (const Matrix& a, const Matrix& b)
    {
        Matrix r {};
        for (int c = 0; c < 4; ++c)
            for (int row = 0; row < 4; ++row)
            {
                float s = 0;
                for (int k = 0; k < 4; ++k)
                    s += a[(size_t) (k * 4 + row)] * b[(size_t) (c * 4 + k)];
                r[(size_t) (c * 4 + row)] = s;
            }
        return r;
    }

    Matrix perspective (double fovy, double aspect, double zNear, double zFar)
    {
        const double f = 1.0 / std::tan (fovy * juce::MathConstants<double>::pi / 360.0);
        Matrix m {};
        m[0] = (float) (f / aspect);
        m[5] = (float) f;
        m[10] = (float) ((zFar + zNear) / (zNear - zFar));
        m[11] = -1;
        m[14] = (float) (2 * zFar * zNear / (zNear - zFar));
        return m;
    }

    Matrix lookAt (Vec eye, Vec centre, Vec up)
    {
        const auto f = (centre - eye).normalised();
        const auto s = f.cross (up).normalised();
        const auto u = s.cross (f);
        Matrix m = identity();
        m[0] = s.x; m[4] = s.y; m[8] = s.z;
        m[1] = u.x; m[5] = u.y; m[9] = u.z;
        m[2] = -f.x; m[6] = -f.y; m[10] = -f.z;
        Matrix t = identity();
        t[12] = -eye.x; t[13] = -eye.y; t[14] = -eye.z;
        return multiply (m, t);
    }

    Matrix rotation (float degrees, Vec axis)
    {
        const auto r = Transform::rotation (axis, degrees);
        Matrix m = identity();
        m[0] = r.row0.x; m[4] = r.row0.y; m[8] = r.row0.z;
        m[1] = r.row1.x; m[5] = r.row1.y; m[9] = r.row1.z;
        m[2] = r.row2.x; m[6] = r.row2.y; m[10] = r.row2.z;
        return m;
    }

    Matrix translation (Vec v)
    {
        Matrix m = identity();
        m[12] = v.x; m[13] = v.y; m[14] = v.z;
        return m;
    }

    struct Projected
    {
        float x, y, z;
        bool ok;
    };

    Projected project (const Matrix& m, Vec v, int w, int h)
    {
        const float cx = m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12];
        const float cy = m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13];
        const float cz = m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14];
        const float cw = m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15];
        if (cw <= 1.0e-6f)
            return { 0, 0, 0, false };
        return { (cx / cw + 1) * 0.5f * (float) w, (1 - cy / cw) * 0.5f * (float) h, cz / cw, true };
    }
} // namespace

juce::Image renderFigure (const Mesh& mesh, const Camera& camera, int width, int height, int oversample)
{
    const int w = width * oversample, h = height * oversample;
    const auto projection = perspective (10.0, (double) width / (double) height, 1.0, 500.0);
    auto view = lookAt ({ 0, camera.height + 1, camera.distance + 2 }, { 0, camera.height, 0 }, { 0, 1, 0 });
    view = multiply (view, rotation (camera.angleX, { 1, 0, 0 }));
    view = multiply (view, rotation (camera.angleY, { 0, 1, 0 }));
    view = multiply (view, translation (camera.offset * -1.0f));
    const auto m = multiply (projection, view);

    std::vector<float> depth ((size_t) (w * h), 2.0f);
    std::vector<juce::uint32> colour ((size_t) (w * h), 0xff000000);

    auto fill = [&] (const Projected& a, const Projected& b, const Projected& c, juce::uint32 argb)
    {
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::fabs (area) < 1.0e-9f)
            return;
        const int x0 = juce::jmax (0, (int) std::floor (juce::jmin (a.x, b.x, c.x)));
        const int x1 = juce::jmin (w - 1, (int) std::ceil (juce::jmax (a.x, b.x, c.x)));
        const int y0 = juce::jmax (0, (int) std::floor (juce::jmin (a.y, b.y, c.y)));
        const int y1 = juce::jmin (h - 1, (int) std::ceil (juce::jmax (a.y, b.y, c.y)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
            {
                const float px = (float) x + 0.5f, py = (float) y + 0.5f;
                const float w0 = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const float w1 = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const float w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0)
                    continue;
                const float z = w0 * a.z + w1 * b.z + w2 * c.z;
                auto& d = depth[(size_t) (y * w + x)];
                if (z < -1 || z > d)
                    continue;
                d = z;
                colour[(size_t) (y * w + x)] = argb;
            }
    };

    for (const auto& q : mesh.getQuads())
    {
        float v[12];
        for (int i = 0; i < 4; ++i)
        {
            v[3 * i] = q.v[i].x;
            v[3 * i + 1] = q.v[i].y;
            v[3 * i + 2] = q.v[i].z;
        }
        const bool firstEdgeEmpty = v[0] == v[3] && v[1] == v[4] && v[2] == v[5];
        const float shade = firstEdgeEmpty ? T730::shading::flatShade (v, v + 6, v + 9) : T730::shading::flatShade (v, v + 3, v + 6);
        auto channel = [shade] (float c) { return (juce::uint32) juce::jlimit (0, 255, juce::roundToInt (c * 255.0f * shade)); };
        const juce::uint32 argb = 0xff000000 | (channel (q.colour.r) << 16) | (channel (q.colour.g) << 8) | channel (q.colour.b);

        Projected p[4];
        bool ok = true;
        for (int i = 0; i < 4; ++i)
        {
            p[i] = project (m, q.v[i], w, h);
            ok = ok && p[i].ok;
        }
        if (! ok)
            continue;
        fill (p[0], p[1], p[2], argb);
        fill (p[0], p[2], p[3], argb);
    }

    juce::Image image (juce::Image::RGB, width, height, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            juce::uint32 r = 0, g = 0, b = 0;
            for (int sy = 0; sy < oversample; ++sy)
                for (int sx = 0; sx < oversample; ++sx)
                {
                    const auto c = colour[(size_t) ((y * oversample + sy) * w + x * oversample + sx)];
                    r += (c >> 16) & 0xff;
                    g += (c >> 8) & 0xff;
                    b += c & 0xff;
                }
            const auto n = (juce::uint32) (oversample * oversample);
            image.setPixelAt (x, y, juce::Colour ((juce::uint8) (r / n), (juce::uint8) (g / n), (juce::uint8) (b / n)));
        }
    return image;
}

} // namespace oxafigures
