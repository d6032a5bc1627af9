// The host service table: host functions stored as they are and the plug-in's adapters, slot by slot.
#include "ServiceTable.h"

#include "Adapters.h"

#include "Orbitersdk.h"

namespace {

HostServiceTable hostTable; // static storage: all null until filled

// Every entry is stored as the catch-all code pointer; the engine casts it back to its own signature.
template <typename Fn> void put(int slot, Fn* fn)
{
    hostTable.entry[slot] = reinterpret_cast<HostEntry>(fn);
}

// Exact signatures that pick one overload of the host functions that have several.
typedef BOOL GetAltitudeFn(OBJHANDLE, double*);
typedef void GetPlanetAtmParamsFn(OBJHANDLE, double, ATMPARAM*);
typedef MATERIAL* MeshMaterialFn(MESHHANDLE, DWORD);

} // namespace

const HostServiceTable* fillServiceTable()
{
    put(slotDebugText, debugText);
    put(slotGetSize, oapiGetSize);
    put(slotGetMass, oapiGetMass);
    put(slotGetObjectName, oapiGetObjectName);
    put(slotGetHeading, oapiGetHeading);
    put(slotGetFocusHeading, oapiGetFocusHeading);
    put(slotGetAltitude, static_cast<GetAltitudeFn*>(oapiGetAltitude));
    put(slotGetFocusAltitude, oapiGetFocusAltitude);
    put(slotGetTimeAcceleration, oapiGetTimeAcceleration);
    put(slotGetEquPos, oapiGetEquPos);
    put(slotGetFocusEquPos, oapiGetFocusEquPos);
    put(slotCameraAperture, oapiCameraAperture);
    put(slotCameraGlobalPos, oapiCameraGlobalPos);
    put(slotCameraGlobalDir, oapiCameraGlobalDir);
    put(slotCameraTarget, oapiCameraTarget);
    put(slotGetGbodyByIndex, oapiGetGbodyByIndex);
    put(slotGetGbodyByName, oapiGetGbodyByName);
    put(slotGetGlobalPos, oapiGetGlobalPos);
    put(slotGetGlobalVel, oapiGetGlobalVel);
    put(slotGetObjectCount, oapiGetObjectCount);
    put(slotGetObjectByIndex, oapiGetObjectByIndex);
    put(slotGetPlanetAtmConstants, oapiGetPlanetAtmConstants);
    put(slotGetPlanetAtmParams, static_cast<GetPlanetAtmParamsFn*>(oapiGetPlanetAtmParams));
    put(slotGetObjectType, oapiGetObjectType);
    put(slotGetFocusObject, oapiGetFocusObject);
    put(slotGetBaseCount, oapiGetBaseCount);
    put(slotGetBaseByIndex, oapiGetBaseByIndex);
    put(slotGetSimTime, oapiGetSimTime);
    put(slotGetSimMJD, oapiGetSimMJD);
    put(slotCameraMode, oapiCameraMode);
    put(slotGetRotationMatrix, oapiGetRotationMatrix);
    put(slotPlanetHasAtmosphere, oapiPlanetHasAtmosphere);
    put(slotGetVesselInterface, oapiGetVesselInterface);
    put(slotDeleteMesh, oapiDeleteMesh);
    put(slotMeshGroupCount, oapiMeshGroupCount);
    put(slotCameraInternal, oapiCameraInternal);
    put(slotCockpitMode, oapiCockpitMode);
    put(slotGetTextureHandle, oapiGetTextureHandle);
    put(slotWriteScenarioString, oapiWriteScenario_string);
    put(slotReadScenarioNextline, oapiReadScenario_nextline);
    put(slotGetDC, oapiGetDC);
    put(slotReleaseDC, oapiReleaseDC);
    put(slotSetFocusObject, oapiSetFocusObject);
    put(slotGetObjectByName, oapiGetObjectByName);
    put(slotGetEmptyMass, oapiGetEmptyMass);
    put(slotSetTimeAcceleration, oapiSetTimeAcceleration);
    put(slotGetVesselCount, oapiGetVesselCount);
    put(slotGetVesselByIndex, oapiGetVesselByIndex);
    put(slotDeleteVessel, oapiDeleteVessel);

    put(slotVesselCreateFree, vesselCreateFree);
    put(slotVesselCreateLanded, vesselCreateLanded);
    put(slotVesselGetClassName, vesselGetClassName);
    put(slotVesselBodyAxes, vesselBodyAxes);
    put(slotVesselGlobalAxes, vesselGlobalAxes);
    put(slotVesselGlobal2Local, vesselGlobal2Local);
    put(slotVesselLocal2Global, vesselLocal2Global);
    put(slotVesselGetSurfaceRef, vesselGetSurfaceRef);
    put(slotVesselGetPeDist, vesselGetPeDist);
    put(slotVesselGetApDist, vesselGetApDist);
    put(slotVesselAddForce, vesselAddForce);
    put(slotVesselSetStatus, vesselSetStatus);
    put(slotVesselGetHorizonAirspeedVector, vesselGetHorizonAirspeedVector);
    put(slotVesselGetPitch, vesselGetPitch);
    put(slotVesselGetBank, vesselGetBank);
    put(slotVesselGetAOA, vesselGetAOA);
    put(slotVesselGetStatusValue, vesselGetStatusValue);
    put(slotVesselSetThrusterGroupLevel, vesselSetThrusterGroupLevel);
    put(slotVesselGetThrusterGroupLevel, vesselGetThrusterGroupLevel);
    put(slotVesselSetControlSurfaceLevel, vesselSetControlSurfaceLevel);
    put(slotVesselGetControlSurfaceLevel, vesselGetControlSurfaceLevel);
    put(slotVesselSetADCtrlMode, vesselSetADCtrlMode);
    put(slotVesselGetArot, vesselGetArot);
    put(slotVesselGetVrot, vesselGetVrot);
    put(slotVesselGetTouchdownPoints, vesselGetTouchdownPoints);
    put(slotVesselSetTouchdownPoints, vesselSetTouchdownPoints);
    put(slotVesselGetWheelbrakeLevel, vesselGetWheelbrakeLevel);
    put(slotVesselGetShipAirspeedVector, vesselGetShipAirspeedVector);
    put(slotVesselGetAngularVel, vesselGetAngularVel);
    put(slotVesselGetPMI, vesselGetPMI);
    put(slotVesselGetStatusCode, vesselGetStatusCode);
    put(slotVesselShiftPos, vesselShiftPos);
    put(slotVesselShiftArot, vesselShiftArot);
    put(slotVesselShiftVel, vesselShiftVel);
    put(slotVesselShiftVrot, vesselShiftVrot);
    put(slotVesselSetSize, vesselSetSize);
    put(slotVesselGetAirspeed, vesselGetAirspeed);

    put(slotMeshMaterial, static_cast<MeshMaterialFn*>(oapiMeshMaterial));
    put(slotCreateAnnotation, oapiCreateAnnotation);
    put(slotDelAnnotation, oapiDelAnnotation);
    put(slotAnnotationSetPos, oapiAnnotationSetPos);
    put(slotAnnotationSetText, oapiAnnotationSetText);
    put(slotGetShipAirspeedVector, oapiGetShipAirspeedVector);
    put(slotGetFocusAirspeed, oapiGetFocusAirspeed);
    put(slotGetFocusShipAirspeedVector, oapiGetFocusShipAirspeedVector);
    return &hostTable;
}

const HostServiceTable* serviceTable()
{
    return &hostTable;
}
