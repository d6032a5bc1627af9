#include "vessellight.h"

#include <algorithm>
#include <cmath>

namespace skysim {

const double sunRadius = 6.96e8;

namespace {

const double pi = 3.14159265358979323846;
const double deg = pi / 180.0;

// Share of a disc of angular radius `r` left uncovered by a straight edge at angular distance `edge`
// from its centre (positive: the centre is clear of the edge).
double uncoveredShare(double edge, double r)
{
    if (!(r > 0))
        return edge >= 0 ? 1.0 : 0.0;
    const double h = edge / r;
    if (h >= 1)
        return 1.0;
    if (h <= -1)
        return 0.0;
    return 1.0 - (std::acos(h) - h * std::sqrt(1.0 - h * h)) / pi;
}

double angleBetween(const VECTOR3& a, const VECTOR3& b)
{
    return std::acos(std::clamp(dotp(a, b) / (length(a) * length(b)), -1.0, 1.0));
}

} // namespace

VesselLight vesselLight(const VECTOR3& vesselPos, const VECTOR3& sunPos, const LightingBody& body)
{
    VesselLight light;
    const VECTOR3 toSun = sunPos - vesselPos, toBody = body.pos - vesselPos;
    const double s = length(toSun), p = length(toBody);
    if (!(s > 0) || !(p > 0) || p >= s)
        return light;
    const double as = std::asin(std::min(1.0, sunRadius / s));
    const double ap = body.radius < p ? std::asin(body.radius / p) : pi / 2;
    const double phi = angleBetween(toSun, toBody);
    const double share = uncoveredShare(phi - ap, as);

    double colour[3] = {share, share, share};
    if (body.atm.rho0 > 0) {
        const double rhoTerm = std::log(body.atm.rho0 + 1.0);
        const double d = std::clamp(rhoTerm, 0.02, 0.9);
        const double red[3] = {1.0 - 0.40 * d, 1.0 - 0.65 * d, 1.0 - d};
        const double band = body.radius > 0 ? body.atm.horizonalt / body.radius : 0.0;
        const double white = band > 0 ? std::clamp((phi - ap) / band, 0.0, 1.0) : (phi >= ap ? 1.0 : 0.0);
        for (int c = 0; c < 3; ++c)
            colour[c] = (red[c] + (1.0 - red[c]) * white) * share;

        const double alt = std::max(0.0, p - body.radius);
        if (alt < body.atm.altlimit) {
            const double amb0 = std::min(0.7, 0.4 * rhoTerm);
            const double elevation = phi - pi / 2;
            const double dayShare = std::clamp((elevation + 14.0 * deg) / (20.0 * deg), 0.0, 1.0);
            const double amb = std::max(0.0, amb0 / (1.0 + 0.5e-4 * alt) * dayShare - 0.05);
            light.ambient = float(amb);
            for (double& c : colour)
                c *= 1.0 - amb / 2.0;
        }
    }
    for (int c = 0; c < 3; ++c)
        light.sun[c] = float(colour[c]);
    return light;
}

} // namespace skysim
