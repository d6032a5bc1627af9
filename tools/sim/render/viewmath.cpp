#include "viewmath.h"

#include <GL/gl.h>

#include <cmath>

namespace skysim {

double vlen(const VECTOR3& a)
{
    return std::sqrt(vdot(a, a));
}

VECTOR3 vunit(const VECTOR3& a)
{
    const double l = vlen(a);
    return l > 0 ? vmul(a, 1.0 / l) : _V(0, 0, 0);
}

VECTOR3 rmul(const MATRIX3& r, const VECTOR3& v)
{
    return _V(r.m11 * v.x + r.m12 * v.y + r.m13 * v.z, r.m21 * v.x + r.m22 * v.y + r.m23 * v.z,
        r.m31 * v.x + r.m32 * v.y + r.m33 * v.z);
}

VECTOR3 rtmul(const MATRIX3& r, const VECTOR3& v)
{
    return _V(r.m11 * v.x + r.m21 * v.y + r.m31 * v.z, r.m12 * v.x + r.m22 * v.y + r.m32 * v.z,
        r.m13 * v.x + r.m23 * v.y + r.m33 * v.z);
}

EyeFrame makeEyeFrame(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& upHint)
{
    EyeFrame e;
    e.origin = pos;
    e.fwd = vunit(dir);
    if (vlen(e.fwd) == 0)
        e.fwd = _V(0, 0, 1);
    VECTOR3 up = vsub(upHint, vmul(e.fwd, vdot(upHint, e.fwd)));
    if (vlen(up) < 1e-6 * std::max(1.0, vlen(upHint))) {
        const VECTOR3 other = std::fabs(e.fwd.y) < 0.9 ? _V(0, 1, 0) : _V(1, 0, 0);
        up = vsub(other, vmul(e.fwd, vdot(other, e.fwd)));
    }
    e.up = vunit(up);
    e.right = vcross(e.up, e.fwd);
    return e;
}

namespace {

// Rows of the eye rotation: right, up, and backwards (GL looks along -z).
void eyeRows(const EyeFrame& e, VECTOR3 rows[3])
{
    rows[0] = e.right;
    rows[1] = e.up;
    rows[2] = vmul(e.fwd, -1.0);
}

} // namespace

void modelView(const EyeFrame& eye, const VECTOR3& pos, const MATRIX3& rot, double out[16])
{
    VECTOR3 rows[3];
    eyeRows(eye, rows);
    const VECTOR3 d = vsub(pos, eye.origin);
    const VECTOR3 cols[3]
        = {_V(rot.m11, rot.m21, rot.m31), _V(rot.m12, rot.m22, rot.m32), _V(rot.m13, rot.m23, rot.m33)};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r)
            out[4 * c + r] = vdot(rows[r], cols[c]);
        out[4 * c + 3] = 0;
    }
    for (int r = 0; r < 3; ++r)
        out[12 + r] = vdot(rows[r], d);
    out[15] = 1;
}

void viewRotation(const EyeFrame& eye, double out[16])
{
    const MATRIX3 id = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    modelView(eye, eye.origin, id, out);
}

void loadPerspective(double aperture, double aspect, double zNear, double zFar)
{
    const double top = zNear * std::tan(aperture);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-top * aspect, top * aspect, -top, top, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
}

} // namespace skysim
