// oapi functions on the camera and the simulation clock.
#include "camera.h"
#include "stepping.h"

#include <algorithm>

using namespace hostsim;

OAPIFUNC bool oapiCameraInternal()
{
    HOSTSIM_COUNT("oapiCameraInternal");
    return world().camMode == CamMode::Cockpit;
}

OAPIFUNC int oapiCameraMode()
{
    HOSTSIM_COUNT("oapiCameraMode");
    switch (world().camMode) {
    case CamMode::Cockpit:
        return CAM_COCKPIT;
    case CamMode::External:
        return CAM_TARGETRELATIVE;
    case CamMode::Global:
        return CAM_GLOBALFRAME;
    }
    return CAM_TARGETRELATIVE;
}

OAPIFUNC int oapiCockpitMode()
{
    HOSTSIM_COUNT("oapiCockpitMode");
    return COCKPIT_GENERIC;
}

OAPIFUNC OBJHANDLE oapiCameraTarget()
{
    HOSTSIM_COUNT("oapiCameraTarget");
    return world().focus;
}

OAPIFUNC void oapiCameraGlobalPos(VECTOR3* gpos)
{
    HOSTSIM_COUNT("oapiCameraGlobalPos");
    if (gpos)
        *gpos = cameraState().pos;
}

OAPIFUNC void oapiCameraGlobalDir(VECTOR3* gdir)
{
    HOSTSIM_COUNT("oapiCameraGlobalDir");
    if (gdir)
        *gdir = cameraState().dir;
}

OAPIFUNC void oapiCameraRotationMatrix(MATRIX3* rmat)
{
    HOSTSIM_COUNT("oapiCameraRotationMatrix");
    if (rmat)
        *rmat = cameraState().rot;
}

OAPIFUNC double oapiCameraAperture()
{
    HOSTSIM_COUNT("oapiCameraAperture");
    return world().aperture;
}

OAPIFUNC double oapiGetSimTime()
{
    HOSTSIM_COUNT("oapiGetSimTime");
    return world().simt;
}

OAPIFUNC double oapiGetSimStep()
{
    HOSTSIM_COUNT("oapiGetSimStep");
    return world().simdt;
}

OAPIFUNC double oapiGetSimMJD()
{
    HOSTSIM_COUNT("oapiGetSimMJD");
    return simMJDNow();
}

OAPIFUNC double oapiGetTimeAcceleration()
{
    HOSTSIM_COUNT("oapiGetTimeAcceleration");
    return world().warp;
}

OAPIFUNC void oapiSetTimeAcceleration(double warp)
{
    HOSTSIM_COUNT("oapiSetTimeAcceleration");
    setWarp(warp);
}
