// Frame helpers of the stand-in: planet orientation, equatorial coordinates, horizon frames and
// Euler angles, in the host's conventions (left-handed frames, row-major MATRIX3 mapping local to
// global, lng = atan2(z, x), lat = asin(y / r)).
#pragma once

#include "world.h"

namespace hostsim {

MATRIX3 transpose(const MATRIX3& m);

// R_y(a) with rows (cos a, 0, -sin a; 0, 1, 0; sin a, 0, cos a).
MATRIX3 rotY(double a);

// Body orientation: R_a = R_y(theta) R_x(eps) (the obliquity matrix) and R = R_a R_y(omega).
MATRIX3 obliquityMatrix(const Body& b);
double rotationAngle(const Body& b, double simt);
MATRIX3 bodyRotation(const Body& b, double simt);

// Global velocity of a point fixed to the body's surface frame at global offset rel from the centre
// (the body's own velocity not included).
VECTOR3 surfaceVelocity(const Body& b, double simt, const VECTOR3& rel);

// Spin of the body as an angular velocity vector in global axes (along its north axis) [rad/s].
VECTOR3 bodySpin(const Body& b);

// Body-frame position from equatorial coordinates and back.
VECTOR3 equToLocal(double lng, double lat, double rad);
void localToEqu(const VECTOR3& loc, double& lng, double& lat, double& rad);

// Horizon frame (+x east, +y up, +z north) -> body frame at lng/lat.
MATRIX3 horizonToBody(double lng, double lat);

// Vessel frame -> horizon frame for an upright vessel turned to heading hdg (0 = north, pi/2 = east).
MATRIX3 headingMatrix(double hdg);

// Rotation that turns unit vector from onto unit vector to (identity if they agree).
MATRIX3 alignVectors(const VECTOR3& from, const VECTOR3& to);

// VESSELSTATUS2 Euler angles: R = Rx(a) Ry(b) Rz(g) with the host's matrix forms, and back.
MATRIX3 eulerToMatrix(const VECTOR3& arot);
VECTOR3 matrixToEuler(const MATRIX3& r);

// Squares a rotation matrix up again after many small incremental rotations.
MATRIX3 orthonormalise(const MATRIX3& r);

} // namespace hostsim
