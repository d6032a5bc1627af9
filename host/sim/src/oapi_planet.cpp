// oapi functions on planets: rotation elements and atmospheres.
#include "geometry.h"

#include <cmath>

using namespace hostsim;

OAPIFUNC double oapiGetPlanetPeriod(OBJHANDLE hPlanet)
{
    HOSTSIM_COUNT("oapiGetPlanetPeriod");
    Body* b = findBody(hPlanet);
    return b ? b->period : 0.0;
}

OAPIFUNC double oapiGetPlanetObliquity(OBJHANDLE hPlanet)
{
    HOSTSIM_COUNT("oapiGetPlanetObliquity");
    Body* b = findBody(hPlanet);
    return b ? b->eps : 0.0;
}

OAPIFUNC double oapiGetPlanetTheta(OBJHANDLE hPlanet)
{
    HOSTSIM_COUNT("oapiGetPlanetTheta");
    Body* b = findBody(hPlanet);
    return b ? b->theta : 0.0;
}

OAPIFUNC void oapiGetPlanetObliquityMatrix(OBJHANDLE hPlanet, MATRIX3* mat)
{
    HOSTSIM_COUNT("oapiGetPlanetObliquityMatrix");
    if (!mat)
        return;
    Body* b = findBody(hPlanet);
    *mat = b ? obliquityMatrix(*b) : identity();
}

OAPIFUNC double oapiGetPlanetCurrentRotation(OBJHANDLE hPlanet)
{
    HOSTSIM_COUNT("oapiGetPlanetCurrentRotation");
    Body* b = findBody(hPlanet);
    return b ? rotationAngle(*b, world().simt) : 0.0;
}

OAPIFUNC bool oapiPlanetHasAtmosphere(OBJHANDLE hPlanet)
{
    HOSTSIM_COUNT("oapiPlanetHasAtmosphere");
    Body* b = findBody(hPlanet);
    return b && b->hasAtm;
}

namespace {

// Isothermal atmosphere with the body's sea-level values; zero above the limit.
void atmAt(const Body* b, double alt, ATMPARAM* prm)
{
    if (!prm)
        return;
    *prm = ATMPARAM {0, 0, 0};
    if (!b || !b->hasAtm || alt > b->atm.altlimit || b->atm.rho0 <= 0 || b->atm.R <= 0)
        return;
    const double t0 = b->atm.p0 / (b->atm.rho0 * b->atm.R);
    const double g = GGRAV * b->mass / (b->radius * b->radius);
    const double scale = b->atm.R * t0 / g;
    const double f = std::exp(-std::max(alt, 0.0) / scale);
    prm->T = t0;
    prm->p = b->atm.p0 * f;
    prm->rho = b->atm.rho0 * f;
}

} // namespace

OAPIFUNC void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double rad, ATMPARAM* prm)
{
    HOSTSIM_COUNT("oapiGetPlanetAtmParams");
    Body* b = findBody(hPlanet);
    atmAt(b, b ? rad - b->radius : 0.0, prm);
}

OAPIFUNC void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double alt, double lng, double lat, ATMPARAM* prm)
{
    HOSTSIM_COUNT("oapiGetPlanetAtmParams");
    (void)lng, (void)lat; // the model does not vary over the surface
    atmAt(findBody(hPlanet), alt, prm);
}

OAPIFUNC const ATMCONST* oapiGetPlanetAtmConstants(OBJHANDLE hPlanet)
{
    HOSTSIM_COUNT("oapiGetPlanetAtmConstants");
    Body* b = findBody(hPlanet);
    return b && b->hasAtm ? &b->atm : nullptr;
}
