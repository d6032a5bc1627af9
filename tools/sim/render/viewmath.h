// Camera frames for the renderers: from the host's left-handed global frame to GL eye coordinates.
#pragma once

#include <Orbitersdk.h>

namespace skysim {

// The camera's axes in global coordinates: forward along the view, up, and right. In the host's
// left-handed frames right = up x forward with the ordinary component formula (a right-handed frame
// would take forward x up), which is what keeps pictures from coming out mirrored.
struct EyeFrame {
    VECTOR3 origin;
    VECTOR3 right, up, fwd;
};

// Builds the frame at `pos` looking along `dir`, with `upHint` made orthogonal to it (another up is
// chosen when the hint is parallel to the view).
EyeFrame makeEyeFrame(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& upHint);

// A GL modelview (column-major 4 x 4) that takes points of a frame placed at `pos` with rotation `rot`
// (local to global) to eye coordinates. The offset from the camera is formed in double.
void modelView(const EyeFrame& eye, const VECTOR3& pos, const MATRIX3& rot, double out[16]);

// Same for points given in global axes relative to the camera (rotation only).
void viewRotation(const EyeFrame& eye, double out[16]);

// Loads a perspective projection with half vertical angle `aperture` onto GL's projection stack.
void loadPerspective(double aperture, double aspect, double zNear, double zFar);

// Small vector helpers in double.
inline VECTOR3 vsub(const VECTOR3& a, const VECTOR3& b)
{
    return _V(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline VECTOR3 vadd(const VECTOR3& a, const VECTOR3& b)
{
    return _V(a.x + b.x, a.y + b.y, a.z + b.z);
}
inline VECTOR3 vmul(const VECTOR3& a, double k)
{
    return _V(a.x * k, a.y * k, a.z * k);
}
inline double vdot(const VECTOR3& a, const VECTOR3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline VECTOR3 vcross(const VECTOR3& a, const VECTOR3& b)
{
    return _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
double vlen(const VECTOR3& a);
VECTOR3 vunit(const VECTOR3& a);
// R v and R^T v for a row-major MATRIX3.
VECTOR3 rmul(const MATRIX3& r, const VECTOR3& v);
VECTOR3 rtmul(const MATRIX3& r, const VECTOR3& v);

} // namespace skysim
