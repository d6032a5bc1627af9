// Equatorial position on a body to an offset in global axes.
//
// Body frame: x towards latitude 0 / longitude 0, y towards the north pole, z towards latitude 0 /
// longitude 90 deg east (left-handed, as all of the host's frames). Angles in radians, radius in metres.
#pragma once

#include "Orbitersdk.h"

// The right angle as the carrier and the adapters form it.
const double rightAngle = 3.14159265358979 * 0.5;

// Returns R_theta * R_eps * R_rot * (r cos(lat) cos(lng), r sin(lat), r cos(lat) sin(lng)), asking
// the host for the body's obliquity, theta and current rotation in that order. The result is an offset
// from the body's centre in global axes (not translated by the body's position); radius 1 gives an
// axis direction.
VECTOR3 equToGlobal(OBJHANDLE body, double latitude, double longitude, double radius);

// The same for the reference body of a vessel (VESSEL::GetSurfaceRef). vessel must not be null.
VECTOR3 equToGlobal(VESSEL* vessel, double latitude, double longitude, double radius);
