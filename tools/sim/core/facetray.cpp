#include "facetray.h"

#include <algorithm>
#include <cmath>

namespace skysim {

namespace {

struct V3 {
    double x, y, z;
};

V3 vec(const double p[3])
{
    return {p[0], p[1], p[2]};
}

V3 operator-(const V3& a, const V3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

double dot(const V3& a, const V3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

V3 cross(const V3& a, const V3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Distance along d (in units of |d|) from the origin to triangle abc, or -1 when the ray misses it.
double crossing(const V3& a, const V3& b, const V3& c, const V3& d)
{
    const V3 e1 = b - a, e2 = c - a;
    const V3 p = cross(d, e2);
    const double det = dot(e1, p);
    // Edge-on or degenerate: the ray grazes a line, nothing of area is crossed.
    if (std::fabs(det) <= 1e-12 * std::sqrt(dot(e1, e1) * dot(e2, e2) * dot(d, d)))
        return -1;
    const V3 s = V3 {0, 0, 0} - a;
    const double u = dot(s, p) / det;
    if (u < 0 || u > 1)
        return -1;
    const V3 q = cross(s, e1);
    const double v = dot(d, q) / det;
    if (v < 0 || u + v > 1)
        return -1;
    const double t = dot(e2, q) / det;
    return t > 0 ? t : -1;
}

// Distance from the origin to the plane through a, b and c; the shell radius for a degenerate triangle.
double planeDistance(const V3& a, const V3& b, const V3& c, double shellRadius)
{
    const V3 n = cross(b - a, c - a);
    const double len = std::sqrt(dot(n, n));
    return len > 0 ? std::fabs(dot(n, a)) / len : shellRadius;
}

} // namespace

double outermostCrossing(
    const double* xyz, std::size_t nPos, const std::uint16_t* idx, std::size_t nIdx, const double dir[3])
{
    if (!xyz || !idx)
        return -1;
    for (std::size_t i = 0; i < nIdx; ++i) {
        if (idx[i] >= nPos)
            return -1;
    }
    const V3 d = vec(dir);
    double best = -1;
    for (std::size_t i = 0; i + 2 < nIdx; i += 3)
        best = std::max(best, crossing(vec(xyz + 3 * idx[i]), vec(xyz + 3 * idx[i + 1]), vec(xyz + 3 * idx[i + 2]), d));
    return best;
}

double deepestGridSag(const double (*pos)[3], double shellRadius)
{
    double nearest = shellRadius;
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const int a = 9 * row + col;
            const V3 p00 = vec(pos[a]), p01 = vec(pos[a + 1]), p10 = vec(pos[a + 9]), p11 = vec(pos[a + 10]);
            // Both ways of cutting the cell into two triangles.
            nearest = std::min(
                {nearest, planeDistance(p00, p01, p11, shellRadius), planeDistance(p00, p11, p10, shellRadius),
                    planeDistance(p00, p01, p10, shellRadius), planeDistance(p01, p11, p10, shellRadius)});
        }
    }
    return shellRadius - nearest;
}

} // namespace skysim
