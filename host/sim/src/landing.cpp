// The touchdown plane on the ground: the static compression of a three-point gear under the vessel's
// weight (g = GM / R^2 at the mean radius), then the signed distance of the origin from the compressed
// plane. A gear not centred under the origin is compressed unequally, so the plane tilts; with the
// origin far from the points that tilt moves the origin noticeably.
#include "landing.h"

#include "geometry.h"

#include <cmath>

namespace hostsim {

namespace {

// Barycentric weights of the origin's foot point on the plane (unit normal n) of the triangle: the shares
// of a load at the origin that the three points carry.
void loadShares(const VECTOR3 p[3], const VECTOR3& n, double w[3])
{
    const VECTOR3 q = n * dotp(n, p[0]);
    const double whole = dotp(crossp(p[1] - p[0], p[2] - p[0]), n);
    w[0] = dotp(crossp(p[1] - q, p[2] - q), n) / whole;
    w[1] = dotp(crossp(p[2] - q, p[0] - q), n) / whole;
    w[2] = 1.0 - w[0] - w[1];
}

} // namespace

bool touchdownPlaneNormal(const VECTOR3& p0, const VECTOR3& p1, const VECTOR3& p2, VECTOR3& n)
{
    const VECTOR3 c = crossp(p0 - (p1 + p2) * 0.5, p2 - p1);
    const double len = length(c);
    if (len == 0)
        return false;
    n = c / len;
    return true;
}

double compressedTouchdownElevation(const Vessel& v, const Body& b, VECTOR3& normal)
{
    normal = _V(0, 1, 0);
    if (v.touchdown.size() < 3)
        return 0.0;
    VECTOR3 p[3] = {v.touchdown[0].pos, v.touchdown[1].pos, v.touchdown[2].pos};
    VECTOR3 nm;
    if (!touchdownPlaneNormal(p[0], p[1], p[2], nm))
        return 0.0;
    double w[3];
    loadShares(p, nm, w);
    const double weight = v.mass() * GGRAV * b.mass / (b.radius * b.radius);
    for (int i = 0; i < 3; ++i) {
        const double k = v.touchdown[std::size_t(i)].stiffness;
        if (k > 0)
            p[i] += nm * (w[i] * weight / k);
    }
    if (!touchdownPlaneNormal(p[0], p[1], p[2], normal)) {
        normal = nm;
        return 0.0;
    }
    return dotp(normal, -p[0]);
}

} // namespace hostsim
