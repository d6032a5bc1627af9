// oapi functions on positions and motion: size and mass, global state, frame conversions,
// altitude, heading, equatorial position and airspeed.
#include "geometry.h"
#include "vessel.h"

using namespace hostsim;

namespace {

// Position, orientation and velocity of any object; false for an unknown handle.
bool objectFrame(OBJHANDLE h, VECTOR3& pos, MATRIX3& rot, VECTOR3* vel = nullptr)
{
    if (Body* b = findBody(h)) {
        pos = b->pos;
        rot = bodyRotation(*b, world().simt);
        if (vel)
            *vel = b->vel;
        return true;
    }
    if (Vessel* v = findVessel(h)) {
        pos = v->globalPos();
        rot = v->rotation();
        if (vel)
            *vel = v->globalVel();
        return true;
    }
    return false;
}

VECTOR3 shipAirspeed(const Vessel& v)
{
    return tmul(v.rotation(), v.airspeedGlobal());
}

double altitudeOf(const Vessel& v)
{
    return v.altitude(); // above the mean radius
}

double altitudeOverGroundOf(const Vessel& v)
{
    return v.altitudeOverGround();
}

double headingOf(const Vessel& v)
{
    return v.heading();
}

double airspeedOf(const Vessel& v)
{
    return length(v.airspeedGlobal());
}

// The host's answer for a value of a vessel relative to its surface reference: FALSE without a vessel,
// an output or a body to refer to.
template <class T> BOOL surfaceValue(const Vessel* v, T* out, T (*value)(const Vessel&))
{
    if (!v || !out || !v->surfaceRef())
        return FALSE;
    *out = value(*v);
    return TRUE;
}

} // namespace

OAPIFUNC double oapiGetSize(OBJHANDLE hObj)
{
    HOSTSIM_COUNT("oapiGetSize");
    if (Body* b = findBody(hObj))
        return b->radius;
    if (Vessel* v = findVessel(hObj))
        return v->size;
    return 0.0;
}

OAPIFUNC double oapiGetMass(OBJHANDLE hObj)
{
    HOSTSIM_COUNT("oapiGetMass");
    if (Body* b = findBody(hObj))
        return b->mass;
    if (Vessel* v = findVessel(hObj))
        return v->mass();
    return 0.0;
}

OAPIFUNC double oapiGetEmptyMass(OBJHANDLE hVessel)
{
    HOSTSIM_COUNT("oapiGetEmptyMass");
    Vessel* v = findVessel(hVessel);
    return v ? v->emptyMass : 0.0;
}

OAPIFUNC void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3* pos)
{
    HOSTSIM_COUNT("oapiGetGlobalPos");
    if (!pos)
        return;
    MATRIX3 r;
    if (!objectFrame(hObj, *pos, r))
        *pos = _V(0, 0, 0);
}

OAPIFUNC void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3* vel)
{
    HOSTSIM_COUNT("oapiGetGlobalVel");
    if (!vel)
        return;
    VECTOR3 p;
    MATRIX3 r;
    if (!objectFrame(hObj, p, r, vel))
        *vel = _V(0, 0, 0);
}

OAPIFUNC void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3* mat)
{
    HOSTSIM_COUNT("oapiGetRotationMatrix");
    if (!mat)
        return;
    VECTOR3 p;
    if (!objectFrame(hObj, p, *mat))
        *mat = identity();
}

OAPIFUNC void oapiGlobalToLocal(OBJHANDLE hObj, const VECTOR3* glob, VECTOR3* loc)
{
    HOSTSIM_COUNT("oapiGlobalToLocal");
    if (!glob || !loc)
        return;
    VECTOR3 p;
    MATRIX3 r;
    *loc = objectFrame(hObj, p, r) ? tmul(r, *glob - p) : *glob;
}

OAPIFUNC void oapiLocalToGlobal(OBJHANDLE hObj, const VECTOR3* loc, VECTOR3* glob)
{
    HOSTSIM_COUNT("oapiLocalToGlobal");
    if (!glob || !loc)
        return;
    VECTOR3 p;
    MATRIX3 r;
    *glob = objectFrame(hObj, p, r) ? mul(r, *loc) + p : *loc;
}

OAPIFUNC void oapiEquToLocal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3* loc)
{
    HOSTSIM_COUNT("oapiEquToLocal");
    (void)hObj; // the body frame's convention is the same for every body
    if (loc)
        *loc = equToLocal(lng, lat, rad);
}

OAPIFUNC void oapiLocalToEqu(OBJHANDLE hObj, const VECTOR3& loc, double* lng, double* lat, double* rad)
{
    HOSTSIM_COUNT("oapiLocalToEqu");
    (void)hObj;
    double l, b, r;
    localToEqu(loc, l, b, r);
    if (lng)
        *lng = l;
    if (lat)
        *lat = b;
    if (rad)
        *rad = r;
}

OAPIFUNC void oapiEquToGlobal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3* glob)
{
    HOSTSIM_COUNT("oapiEquToGlobal");
    if (!glob)
        return;
    VECTOR3 p;
    MATRIX3 r;
    const VECTOR3 loc = equToLocal(lng, lat, rad);
    *glob = objectFrame(hObj, p, r) ? mul(r, loc) + p : loc;
}

OAPIFUNC void oapiGlobalToEqu(OBJHANDLE hObj, const VECTOR3& glob, double* lng, double* lat, double* rad)
{
    HOSTSIM_COUNT("oapiGlobalToEqu");
    VECTOR3 p;
    MATRIX3 r;
    const VECTOR3 loc = objectFrame(hObj, p, r) ? tmul(r, glob - p) : glob;
    double l, b, d;
    localToEqu(loc, l, b, d);
    if (lng)
        *lng = l;
    if (lat)
        *lat = b;
    if (rad)
        *rad = d;
}

OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, double* alt)
{
    HOSTSIM_COUNT("oapiGetAltitude");
    return surfaceValue(findVessel(hVessel), alt, altitudeOf);
}

OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, AltitudeMode mode, double* alt)
{
    HOSTSIM_COUNT("oapiGetAltitude");
    return surfaceValue(findVessel(hVessel), alt, mode == ALTMODE_GROUND ? altitudeOverGroundOf : altitudeOf);
}

OAPIFUNC BOOL oapiGetHeading(OBJHANDLE hVessel, double* heading)
{
    HOSTSIM_COUNT("oapiGetHeading");
    return surfaceValue(findVessel(hVessel), heading, headingOf);
}

namespace {

BOOL equPosOf(Vessel* v, double* longitude, double* latitude, double* radius)
{
    Body* b = v ? v->surfaceRef() : nullptr;
    if (!b)
        return FALSE;
    double l, t, r;
    v->equPos(*b, l, t, r);
    if (longitude)
        *longitude = l;
    if (latitude)
        *latitude = t;
    if (radius)
        *radius = r;
    return TRUE;
}

} // namespace

OAPIFUNC BOOL oapiGetEquPos(OBJHANDLE hVessel, double* longitude, double* latitude, double* radius)
{
    HOSTSIM_COUNT("oapiGetEquPos");
    return equPosOf(findVessel(hVessel), longitude, latitude, radius);
}

OAPIFUNC BOOL oapiGetFocusAltitude(double* alt)
{
    HOSTSIM_COUNT("oapiGetFocusAltitude");
    return surfaceValue(world().focus, alt, altitudeOf);
}

OAPIFUNC BOOL oapiGetFocusHeading(double* heading)
{
    HOSTSIM_COUNT("oapiGetFocusHeading");
    return surfaceValue(world().focus, heading, headingOf);
}

OAPIFUNC BOOL oapiGetFocusEquPos(double* longitude, double* latitude, double* radius)
{
    HOSTSIM_COUNT("oapiGetFocusEquPos");
    return equPosOf(world().focus, longitude, latitude, radius);
}

OAPIFUNC BOOL oapiGetShipAirspeedVector(OBJHANDLE hVessel, VECTOR3* speedvec)
{
    HOSTSIM_COUNT("oapiGetShipAirspeedVector");
    return surfaceValue(findVessel(hVessel), speedvec, shipAirspeed);
}

OAPIFUNC BOOL oapiGetFocusAirspeed(double* airspeed)
{
    HOSTSIM_COUNT("oapiGetFocusAirspeed");
    return surfaceValue(world().focus, airspeed, airspeedOf);
}

OAPIFUNC BOOL oapiGetFocusShipAirspeedVector(VECTOR3* speedvec)
{
    HOSTSIM_COUNT("oapiGetFocusShipAirspeedVector");
    return surfaceValue(world().focus, speedvec, shipAirspeed);
}
