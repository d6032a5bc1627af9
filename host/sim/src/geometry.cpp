#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace hostsim {

MATRIX3 transpose(const MATRIX3& m)
{
    return _M(m.m11, m.m21, m.m31, m.m12, m.m22, m.m32, m.m13, m.m23, m.m33);
}

MATRIX3 rotY(double a)
{
    const double c = std::cos(a), s = std::sin(a);
    return _M(c, 0, -s, 0, 1, 0, s, 0, c);
}

MATRIX3 obliquityMatrix(const Body& b)
{
    const double ct = std::cos(b.theta), st = std::sin(b.theta);
    const double ce = std::cos(b.eps), se = std::sin(b.eps);
    return _M(ct, -st * se, -st * ce, 0, ce, -se, st, ct * se, ct * ce);
}

double rotationAngle(const Body& b, double simt)
{
    if (b.period == 0)
        return posangle(b.rotOffset);
    return posangle(b.rotOffset + simt * PI2 / b.period);
}

MATRIX3 bodyRotation(const Body& b, double simt)
{
    return mul(obliquityMatrix(b), rotY(rotationAngle(b, simt)));
}

namespace {

// d(R_y(w))/dw R_y(w)^T: the same for every w.
VECTOR3 spinOfLocal(const VECTOR3& r)
{
    return _V(-r.z, 0, r.x);
}

double spinRate(const Body& b)
{
    return b.period == 0 ? 0.0 : PI2 / b.period;
}

} // namespace

VECTOR3 surfaceVelocity(const Body& b, double /*simt*/, const VECTOR3& rel)
{
    const MATRIX3 ra = obliquityMatrix(b);
    return mul(ra, spinOfLocal(tmul(ra, rel))) * spinRate(b);
}

VECTOR3 bodySpin(const Body& b)
{
    // In the component convention of rotm(): d/dt R_y(w t) = R_y * rotm'((0,-1,0)) * w.
    return mul(obliquityMatrix(b), _V(0, -spinRate(b), 0));
}

VECTOR3 equToLocal(double lng, double lat, double rad)
{
    return _V(rad * std::cos(lat) * std::cos(lng), rad * std::sin(lat), rad * std::cos(lat) * std::sin(lng));
}

void localToEqu(const VECTOR3& loc, double& lng, double& lat, double& rad)
{
    rad = length(loc);
    lng = std::atan2(loc.z, loc.x);
    lat = rad > 0 ? std::asin(std::clamp(loc.y / rad, -1.0, 1.0)) : 0.0;
}

MATRIX3 horizonToBody(double lng, double lat)
{
    const double cl = std::cos(lng), sl = std::sin(lng), cb = std::cos(lat), sb = std::sin(lat);
    // Columns: east, up, north (the rows of the host's planet-to-horizon matrix).
    return _M(-sl, cb * cl, -sb * cl, 0, sb, cb, cl, cb * sl, -sb * sl);
}

MATRIX3 headingMatrix(double hdg)
{
    const double c = std::cos(hdg), s = std::sin(hdg);
    // Columns: vessel x (right), y (up), z (forward) in horizon axes.
    return _M(c, 0, s, 0, 1, 0, -s, 0, c);
}

MATRIX3 alignVectors(const VECTOR3& from, const VECTOR3& to)
{
    const double d = std::clamp(dotp(from, to), -1.0, 1.0);
    VECTOR3 axis = crossp(from, to);
    const double n = length(axis);
    if (n < 1e-12) {
        if (d > 0)
            return identity();
        // Opposite: half a turn about any axis perpendicular to from.
        axis = crossp(from, std::fabs(from.x) < 0.9 ? _V(1, 0, 0) : _V(0, 0, 1));
        return rotm(unit(axis), PI);
    }
    return rotm(axis / n, std::acos(d));
}

MATRIX3 eulerToMatrix(const VECTOR3& arot)
{
    const double ca = std::cos(arot.x), sa = std::sin(arot.x);
    const double cb = std::cos(arot.y), sb = std::sin(arot.y);
    const double cg = std::cos(arot.z), sg = std::sin(arot.z);
    const MATRIX3 rx = _M(1, 0, 0, 0, ca, sa, 0, -sa, ca);
    const MATRIX3 ry = _M(cb, 0, -sb, 0, 1, 0, sb, 0, cb);
    const MATRIX3 rz = _M(cg, sg, 0, -sg, cg, 0, 0, 0, 1);
    return mul(rx, mul(ry, rz));
}

VECTOR3 matrixToEuler(const MATRIX3& r)
{
    return _V(std::atan2(r.m23, r.m33), -std::asin(std::clamp(r.m13, -1.0, 1.0)), std::atan2(r.m12, r.m11));
}

MATRIX3 orthonormalise(const MATRIX3& r)
{
    // Re-square the columns after many incremental rotations (Gram-Schmidt on z, then y).
    VECTOR3 z = unit(_V(r.m13, r.m23, r.m33));
    VECTOR3 y = _V(r.m12, r.m22, r.m32);
    y = unit(y - z * dotp(y, z));
    const VECTOR3 x = crossp(y, z);
    return _M(x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z);
}

} // namespace hostsim
