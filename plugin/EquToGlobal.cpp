// Equatorial position to global offset: the body's rotation, then its obliquity, then its theta.
#include "EquToGlobal.h"

#include <cmath>

VECTOR3 equToGlobal(OBJHANDLE body, double latitude, double longitude, double radius)
{
    const double cosLat = std::cos(latitude);
    const VECTOR3 v
        = _V(radius * cosLat * std::cos(longitude), radius * std::sin(latitude), radius * cosLat * std::sin(longitude));

    const double eps = oapiGetPlanetObliquity(body);
    const double theta = oapiGetPlanetTheta(body);
    const double rot = oapiGetPlanetCurrentRotation(body);

    // Rotation about y by the current rotation angle.
    const VECTOR3 a = _V(std::cos(rot) * v.x - std::sin(rot) * v.z, v.y, std::sin(rot) * v.x + std::cos(rot) * v.z);
    // Tilt about x by the obliquity.
    const VECTOR3 e = _V(a.x, std::cos(eps) * a.y - std::sin(eps) * a.z, std::sin(eps) * a.y + std::cos(eps) * a.z);
    // Rotation about y by theta.
    return _V(std::cos(theta) * e.x - std::sin(theta) * e.z, e.y, std::sin(theta) * e.x + std::cos(theta) * e.z);
}

VECTOR3 equToGlobal(VESSEL* vessel, double latitude, double longitude, double radius)
{
    return equToGlobal(vessel->GetSurfaceRef(), latitude, longitude, radius);
}
