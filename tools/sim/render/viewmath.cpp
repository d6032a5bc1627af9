#include "viewmath.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace skysim {

EyeFrame makeEyeFrame(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& upHint)
{
    EyeFrame e;
    e.origin = pos;
    e.fwd = length(dir) > 0 ? unit(dir) : _V(0, 0, 1);
    VECTOR3 up = upHint - e.fwd * dotp(upHint, e.fwd);
    if (length(up) < 1e-6 * std::max(1.0, length(upHint))) {
        const VECTOR3 other = std::fabs(e.fwd.y) < 0.9 ? _V(0, 1, 0) : _V(1, 0, 0);
        up = other - e.fwd * dotp(other, e.fwd);
    }
    e.up = unit(up);
    e.right = crossp(e.up, e.fwd);
    return e;
}

namespace {

// Rows of the eye rotation: right, up, and backwards (GL looks along -z).
void eyeRows(const EyeFrame& e, VECTOR3 rows[3])
{
    rows[0] = e.right;
    rows[1] = e.up;
    rows[2] = e.fwd * -1.0;
}

} // namespace

void modelView(const EyeFrame& eye, const VECTOR3& pos, const MATRIX3& rot, double out[16])
{
    VECTOR3 rows[3];
    eyeRows(eye, rows);
    const VECTOR3 d = pos - eye.origin;
    const VECTOR3 cols[3]
        = {_V(rot.m11, rot.m21, rot.m31), _V(rot.m12, rot.m22, rot.m32), _V(rot.m13, rot.m23, rot.m33)};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r)
            out[4 * c + r] = dotp(rows[r], cols[c]);
        out[4 * c + 3] = 0;
    }
    for (int r = 0; r < 3; ++r)
        out[12 + r] = dotp(rows[r], d);
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
