// Landed placement by the touchdown points in the later hosts: the gear takes the vessel's weight, and
// the compressed touchdown plane is put on the ground.
#pragma once

#include "vessel.h"

namespace hostsim {

// The upward unit normal of the plane through three touchdown points, as the host takes it:
// (p0 - (p1 + p2) / 2) x (p2 - p1), normalised. False, leaving n alone, for degenerate points.
bool touchdownPlaneNormal(const VECTOR3& p0, const VECTOR3& p1, const VECTOR3& p2, VECTOR3& n);

// Signed distance of the vessel's origin from the plane of its first three touchdown points after each
// point has been pushed in by its share of the vessel's weight on body b (the share that balances the
// weight about the origin, over the point's stiffness), along the plane's upward normal: the height of
// the origin over the ground (negative: under it). `normal` gets the compressed plane's upward normal
// in vessel axes. 0 and +y with fewer than three or degenerate points.
double compressedTouchdownElevation(const Vessel& v, const Body& b, VECTOR3& normal);

} // namespace hostsim
