// Camera frames for the renderers: from the host's left-handed global frame to GL eye coordinates.
// Vector arithmetic is the SDK's own (VECTOR3 operators, dotp, crossp, unit, mul, tmul).
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

} // namespace skysim
