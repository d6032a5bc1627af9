#include "vessel.h"

#include "generation.h"
#include "geometry.h"
#include "landing.h"
#include "terrain.h"

#include <algorithm>
#include <cmath>

using namespace hostsim;

namespace {

VECTOR3 landedLocal(const Vessel& v)
{
    return equToLocal(v.lng, v.lat, v.body->radius + v.ground + v.cgelev);
}

} // namespace

VECTOR3 Vessel::globalPos() const
{
    if (landed && body)
        return body->pos + mul(bodyRotation(*body, world().simt), landedLocal(*this));
    return pos;
}

VECTOR3 Vessel::globalVel() const
{
    if (landed && body) {
        const VECTOR3 rel = mul(bodyRotation(*body, world().simt), landedLocal(*this));
        return body->vel + surfaceVelocity(*body, world().simt, rel);
    }
    return vel;
}

MATRIX3 Vessel::rotation() const
{
    if (landed && body)
        return mul(bodyRotation(*body, world().simt), landRot);
    return rot;
}

VECTOR3 Vessel::angularVel() const
{
    if (landed && body)
        return tmul(rotation(), bodySpin(*body));
    return vrot;
}

Body* Vessel::surfaceRef() const
{
    if (landed && body)
        return body;
    const VECTOR3 p = globalPos();
    Body* best = nullptr;
    double bestAlt = 0;
    for (const auto& b : world().bodies) {
        const double alt = dist(p, b->pos) - b->radius;
        if (!best || alt < bestAlt) {
            best = b.get();
            bestAlt = alt;
        }
    }
    return best;
}

void Vessel::equPos(const Body& b, double& lngOut, double& latOut, double& radOut) const
{
    const VECTOR3 loc = tmul(bodyRotation(b, world().simt), globalPos() - b.pos);
    localToEqu(loc, lngOut, latOut, radOut);
}

double Vessel::altitude() const
{
    const Body* b = surfaceRef();
    if (!b)
        return 0.0;
    if (landed)
        return ground + cgelev;
    return dist(globalPos(), b->pos) - b->radius;
}

double Vessel::altitudeOverGround() const
{
    const Body* b = surfaceRef();
    if (!b)
        return 0.0;
    if (landed)
        return cgelev;
    double l, t, r;
    equPos(*b, l, t, r);
    return r - b->radius - terrainHeight(*b, l, t);
}

double Vessel::heading() const
{
    const Body* b = surfaceRef();
    if (!b)
        return 0.0;
    double l, t, r;
    equPos(*b, l, t, r);
    // The vessel's +z axis in the local horizon frame; heading = atan2(east, north).
    const MATRIX3 toHorizon = transpose(mul(bodyRotation(*b, world().simt), horizonToBody(l, t)));
    const MATRIX3 rv = rotation();
    const VECTOR3 zh = mul(toHorizon, _V(rv.m13, rv.m23, rv.m33));
    return posangle(std::atan2(zh.x, zh.z));
}

VECTOR3 Vessel::airspeedGlobal() const
{
    const Body* b = surfaceRef();
    if (!b)
        return globalVel();
    if (landed)
        return _V(0, 0, 0);
    const VECTOR3 rel = globalPos() - b->pos;
    return globalVel() - b->vel - surfaceVelocity(*b, world().simt, rel);
}

double Vessel::touchdownElevation(VECTOR3* normal) const
{
    VECTOR3 n = _V(0, 1, 0);
    const bool plane
        = touchdown.size() >= 3 && touchdownPlaneNormal(touchdown[0].pos, touchdown[1].pos, touchdown[2].pos, n);
    if (normal)
        *normal = n;
    // Distance of the origin from the plane through the points, unsigned, as the 2006 host's centre-of-
    // gravity elevation; gear compression ignored.
    return plane ? std::fabs(dotp(n, -touchdown[0].pos)) : 0.0;
}

namespace {

void standOn(Vessel& v, Body* b, double lngIn, double latIn, double hdgIn)
{
    v.landed = true;
    v.body = b;
    v.lng = normangle(lngIn);
    v.lat = std::clamp(latIn, -PI05, PI05);
    v.hdg = posangle(hdgIn);
    v.vrot = _V(0, 0, 0);
    v.ground = terrainHeight(*b, v.lng, v.lat);
}

} // namespace

void Vessel::setLanded(Body* b, double lngIn, double latIn, double hdgIn)
{
    standOn(*this, b, lngIn, latIn, hdgIn);
    extendedPlacement = false;
    refreshLanded();
}

void Vessel::setLandedAt(Body* b, double lngIn, double latIn, double hdgIn, const MATRIX3& bodyRot, double height)
{
    standOn(*this, b, lngIn, latIn, hdgIn);
    extendedPlacement = true;
    landRot = bodyRot;
    cgelev = height;
}

void Vessel::refreshLanded()
{
    if (!landed || !body || extendedPlacement)
        return;
    // The origin cgelev above (or under) the surface point along the local vertical, upright in the
    // horizon frame, turned to the heading, the touchdown plane's normal pointing up. The 2006 host
    // takes the unsigned distance from the points as they are, the later ones the signed one from the
    // plane the vessel's weight compresses them to.
    VECTOR3 nm;
    cgelev = generation().touchdownPlaneOnGround ? compressedTouchdownElevation(*this, *body, nm)
                                                 : touchdownElevation(&nm);
    landRot = mul(horizonToBody(lng, lat), mul(headingMatrix(hdg), alignVectors(nm, _V(0, 1, 0))));
}

void Vessel::setFree(const VECTOR3& gpos, const VECTOR3& gvel, const MATRIX3& grot, const VECTOR3& avel)
{
    landed = false;
    body = nullptr;
    pos = gpos;
    vel = gvel;
    rot = grot;
    vrot = avel;
}

void Vessel::integrate(double dt)
{
    if (landed) {
        pendingForce = _V(0, 0, 0);
        return;
    }
    const double m = mass() > 0 ? mass() : 1.0;
    vel += pendingForce * (dt / m);
    pendingForce = _V(0, 0, 0);
    pos += vel * dt;
    const double w = length(vrot);
    if (w > 0 && dt > 0)
        rot = orthonormalise(mul(rot, rotm(vrot / w, w * dt)));
}

VESSEL2* Vessel::callbacks() const
{
    if (!iface || iface->Version() < 1)
        return nullptr;
    return static_cast<VESSEL2*>(iface);
}

namespace hostsim {

Vessel* liveVessel(const Vessel* v)
{
    for (Vessel* w : world().vessels)
        if (w == v)
            return w;
    return nullptr;
}

} // namespace hostsim
