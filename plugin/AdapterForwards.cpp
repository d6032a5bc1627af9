// Adapters that forward one VESSEL member, dropping what the engine has no use for.
#include "Adapters.h"

OBJHANDLE vesselGetSurfaceRef(VESSEL* vessel)
{
    return vessel->GetSurfaceRef();
}

double vesselGetPeDist(VESSEL* vessel)
{
    double dist = 0.0;
    vessel->GetPeDist(dist);
    return dist;
}

double vesselGetApDist(VESSEL* vessel)
{
    double dist = 0.0;
    vessel->GetApDist(dist);
    return dist;
}

void vesselAddForce(VESSEL* vessel, VECTOR3 force, VECTOR3 point)
{
    vessel->AddForce(force, point);
}

VECTOR3 vesselGetHorizonAirspeedVector(VESSEL* vessel)
{
    VECTOR3 v = _V(0, 0, 0);
    vessel->GetHorizonAirspeedVector(v);
    return v;
}

double vesselGetPitch(VESSEL* vessel)
{
    return vessel->GetPitch();
}

double vesselGetBank(VESSEL* vessel)
{
    return vessel->GetBank();
}

double vesselGetAOA(VESSEL* vessel)
{
    return vessel->GetAOA();
}

void vesselSetThrusterGroupLevel(VESSEL* vessel, THGROUP_TYPE group, double level)
{
    vessel->SetThrusterGroupLevel(group, level);
}

double vesselGetThrusterGroupLevel(VESSEL* vessel, THGROUP_TYPE group)
{
    return vessel->GetThrusterGroupLevel(group);
}

void vesselSetControlSurfaceLevel(VESSEL* vessel, AIRCTRL_TYPE type, double level)
{
    vessel->SetControlSurfaceLevel(type, level);
}

double vesselGetControlSurfaceLevel(VESSEL* vessel, AIRCTRL_TYPE type)
{
    return vessel->GetControlSurfaceLevel(type);
}

void vesselSetADCtrlMode(VESSEL* vessel, DWORD mode)
{
    vessel->SetADCtrlMode(mode);
}

void vesselGetTouchdownPoints(VESSEL* vessel, VECTOR3* pt1, VECTOR3* pt2, VECTOR3* pt3)
{
    vessel->GetTouchdownPoints(*pt1, *pt2, *pt3);
}

void vesselSetTouchdownPoints(VESSEL* vessel, const VECTOR3* pt1, const VECTOR3* pt2, const VECTOR3* pt3)
{
    vessel->SetTouchdownPoints(*pt1, *pt2, *pt3);
}

double vesselGetWheelbrakeLevel(VESSEL* vessel, int which)
{
    return vessel->GetWheelbrakeLevel(which);
}

VECTOR3 vesselGetShipAirspeedVector(VESSEL* vessel)
{
    VECTOR3 v = _V(0, 0, 0);
    vessel->GetShipAirspeedVector(v);
    return v;
}

VECTOR3 vesselGetAngularVel(VESSEL* vessel)
{
    VECTOR3 v = _V(0, 0, 0);
    vessel->GetAngularVel(v);
    return v;
}

VECTOR3 vesselGetPMI(VESSEL* vessel)
{
    VECTOR3 v = _V(0, 0, 0);
    vessel->GetPMI(v);
    return v;
}

void vesselSetSize(VESSEL* vessel, double size)
{
    vessel->SetSize(size);
}

double vesselGetAirspeed(VESSEL* vessel)
{
    return vessel->GetAirspeed();
}
