// The light the host gives a vessel: one Sun colour for the whole vessel, taken at its origin, and an
// ambient term inside an atmosphere. The host re-checks it every second; the pictures take it afresh.
//
// Model (the 2006 host's vessel illumination, as its later built-in graphics still compute it):
// - seen from the vessel, the Sun's disc has the apparent radius as, the planet's disc ap = asin(R/p),
//   and phi is the angle between the two centres;
// - the uncovered share of the Sun's disc, with the limb taken as a straight edge: 1 for
//   phi >= ap + as, 0 (the planet's shadow) for phi <= ap - as, the circle segment's area between;
// - without an atmosphere the Sun's colour is white times that share;
// - with one (sea-level density rho0), the light is reddened near the horizon: dispersion
//   d = clamp(ln(rho0 + 1), 0.02, 0.9), colour (1 - 0.40 d, 1 - 0.65 d, 1 - d) at and below the
//   horizon (phi <= ap), blended linearly to white over a band the height of the visible atmosphere
//   subtends at the planet's centre (phi = ap + horizonalt / R), times the uncovered share;
// - inside the atmosphere (altitude below its top) an ambient term
//   amb = amb0 / (1 + 0.5e-4 alt) x clamp((elevation + 14 deg) / 20 deg, 0, 1) - 0.05 (not below 0),
//   amb0 = min(0.7, 0.4 ln(rho0 + 1)), elevation the Sun's angle over the vessel's horizontal plane,
//   is added and the direct light is scaled by 1 - amb / 2.
#pragma once

#include <Orbitersdk.h>

namespace skysim {

// The planet that lights (and shades) a vessel.
struct LightingBody {
    VECTOR3 pos = {{0, 0, 0}}; // centre, global
    double radius = 0; // [m]
    ATMCONST atm = {}; // its atmosphere: rho0 (0 without one), altlimit (its top), horizonalt (the
                       // height of the atmosphere seen at the horizon)
};

struct VesselLight {
    float sun[3] = {1, 1, 1}; // colour of the Sun's directional light, the 1 - amb / 2 scale included
    float ambient = 0; // the atmosphere's ambient light (grey)
};

// Mean radius of the Sun [m].
extern const double sunRadius;

// The light of a vessel whose origin is at `vesselPos`, lit by the Sun at `sunPos` (both global)
// and near `body`. A vessel at the body's centre, or a body beyond the Sun, casts no shadow.
VesselLight vesselLight(const VECTOR3& vesselPos, const VECTOR3& sunPos, const LightingBody& body);

} // namespace skysim
