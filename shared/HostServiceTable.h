// The table of host services that the plug-in fills once and hands to the engine's initint.
//
// 109 code pointers, no header, no count. The engine depends on the slot numbers, so entries are never
// reordered and reserved slots stay in place as null entries. Host entries are the simulator's own
// functions; adapter entries are plug-in functions whose first argument is a VESSEL interface pointer.
#pragma once

#include "HostRecords.h"

#include <cstdint>

typedef void (*HostEntry)();

constexpr int hostServiceSlots = 109;

struct HostServiceTable {
    HostEntry entry[hostServiceSlots];
};

static_assert(sizeof(HostServiceTable) == hostServiceSlots * sizeof(void*), "109 code pointers");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(HostServiceTable) == 109 * 4, "436 bytes on 32-bit targets");
#endif

enum HostSlot : int {
    slotDebugText = 0,
    slotGetSize = 1,
    slotGetMass = 2,
    slotGetObjectName = 3,
    slotGetHeading = 4,
    slotGetFocusHeading = 5,
    slotGetAltitude = 6,
    slotGetFocusAltitude = 7,
    slotGetTimeAcceleration = 8,
    slotGetEquPos = 9,
    slotGetFocusEquPos = 10,
    slotCameraAperture = 11,
    slotCameraGlobalPos = 12,
    slotCameraGlobalDir = 13,
    slotCameraTarget = 14,
    slotGetGbodyByIndex = 15,
    slotGetGbodyByName = 16,
    slotGetGlobalPos = 17,
    slotGetGlobalVel = 18,
    slotGetObjectCount = 19,
    slotGetObjectByIndex = 20,
    slotGetPlanetAtmConstants = 21,
    slotGetPlanetAtmParams = 22,
    slotGetObjectType = 23,
    slotGetFocusObject = 24,
    slotGetBaseCount = 25,
    slotGetBaseByIndex = 26,
    slotGetSimTime = 27,
    slotGetSimMJD = 28,
    slotReserved29 = 29,
    slotCameraMode = 30,
    slotGetRotationMatrix = 31,
    slotReserved32 = 32,
    slotPlanetHasAtmosphere = 33,
    slotReserved34 = 34,
    slotGetVesselInterface = 35,
    slotDeleteMesh = 36,
    slotMeshGroupCount = 37,
    slotReserved38 = 38,
    slotReserved39 = 39,
    slotCameraInternal = 40,
    slotCockpitMode = 41,
    slotGetTextureHandle = 42,
    slotWriteScenarioString = 43,
    slotReadScenarioNextline = 44,
    slotGetDC = 45,
    slotReleaseDC = 46,
    slotSetFocusObject = 47,
    slotGetObjectByName = 48,
    slotGetEmptyMass = 49,
    slotSetTimeAcceleration = 50,
    slotGetVesselCount = 51,
    slotGetVesselByIndex = 52,
    slotDeleteVessel = 53,
    slotReserved54 = 54,
    slotReserved55 = 55,
    slotReserved56 = 56,
    slotReserved57 = 57,
    slotReserved58 = 58,
    slotVesselCreateFree = 59,
    slotVesselCreateLanded = 60,
    slotVesselGetClassName = 61,
    slotVesselBodyAxes = 62,
    slotVesselGlobalAxes = 63,
    slotVesselGlobal2Local = 64,
    slotVesselLocal2Global = 65,
    slotVesselGetSurfaceRef = 66,
    slotVesselGetPeDist = 67,
    slotVesselGetApDist = 68,
    slotVesselAddForce = 69,
    slotVesselSetStatus = 70,
    slotVesselGetHorizonAirspeedVector = 71,
    slotVesselGetPitch = 72,
    slotVesselGetBank = 73,
    slotVesselGetAOA = 74,
    slotVesselGetStatusValue = 75,
    slotVesselSetThrusterGroupLevel = 76,
    slotVesselGetThrusterGroupLevel = 77,
    slotVesselSetControlSurfaceLevel = 78,
    slotVesselGetControlSurfaceLevel = 79,
    slotVesselSetADCtrlMode = 80,
    slotVesselGetArot = 81,
    slotVesselGetVrot = 82,
    slotVesselGetTouchdownPoints = 83,
    slotVesselSetTouchdownPoints = 84,
    slotVesselGetWheelbrakeLevel = 85,
    slotVesselGetShipAirspeedVector = 86,
    slotVesselGetAngularVel = 87,
    slotVesselGetPMI = 88,
    slotVesselGetStatusCode = 89,
    slotVesselShiftPos = 90,
    slotVesselShiftArot = 91,
    slotVesselShiftVel = 92,
    slotVesselShiftVrot = 93,
    slotVesselSetSize = 94,
    slotVesselGetAirspeed = 95,
    slotReserved96 = 96,
    slotReserved97 = 97,
    slotMeshMaterial = 98,
    slotCreateAnnotation = 99,
    slotDelAnnotation = 100,
    slotAnnotationSetPos = 101,
    slotAnnotationSetText = 102,
    slotGetShipAirspeedVector = 103,
    slotGetFocusAirspeed = 104,
    slotGetFocusShipAirspeedVector = 105,
    slotReserved106 = 106,
    slotReserved107 = 107,
    slotReserved108 = 108,
};

// True for the slots that stay null in every table.
constexpr bool hostSlotReserved(int slot)
{
    return slot == 29 || slot == 32 || slot == 34 || slot == 38 || slot == 39 || (slot >= 54 && slot <= 58)
        || slot == 96 || slot == 97 || (slot >= 106 && slot <= 108);
}

// Signatures of the entries the engine calls. Handles and the VESSEL interface pointer are opaque here;
// BOOL is the host's 32-bit truth value.
typedef double (*HostGetSizeFn)(void* obj); // slot 1
typedef double (*HostGetTimeAccelerationFn)(); // slot 8
typedef std::int32_t (*HostGetFocusEquPosFn)(double* lng, double* lat, double* rad); // slot 10
typedef void* (*HostGetFocusObjectFn)(); // slot 24
typedef void* (*HostGetVesselInterfaceFn)(void* vessel); // slot 35
typedef void (*HostVesselGlobalAxesFn)(void* vessel, HostVector* ex, HostVector* ey, HostVector* ez); // slot 63
typedef std::int32_t (*HostGetFocusAirspeedFn)(double* airspeed); // slot 104
typedef std::int32_t (*HostGetFocusShipAirspeedVectorFn)(HostVector* v); // slot 105
