#pragma once

#include <cmath>

/* The flat shading of the figures, shared by the 3D views and the build-time
   renderer of their still pictures: each polygon takes one brightness from the
   angle between its plane (from its first three vertices) and a fixed light
   above and in front of the figure, lit from both sides. Header only: the
   build-time renderer links nothing of the program. */
namespace T730::shading
{

/** The direction towards the light, in model space (normalised). */
inline void lightDirection (float& x, float& y, float& z) noexcept
{
    const float lx = 0.35f, ly = 0.75f, lz = 0.56f;
    const float n = std::sqrt (lx * lx + ly * ly + lz * lz);
    x = lx / n;
    y = ly / n;
    z = lz / n;
}

/** Brightness 0.32..1 of the polygon whose first vertices are a, b and c (x, y, z each). */
inline float flatShade (const float* a, const float* b, const float* c) noexcept
{
    const float ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
    const float vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
    float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const float n = std::sqrt (nx * nx + ny * ny + nz * nz);
    if (! (n > 1.0e-12f))
        return 0.7f;   // a degenerate polygon (or a quad drawn as a triangle whose first edge is empty)
    nx /= n;
    ny /= n;
    nz /= n;
    float lx, ly, lz;
    lightDirection (lx, ly, lz);
    return 0.32f + 0.68f * std::fabs (nx * lx + ny * ly + nz * lz);
}

} // namespace T730::shading
