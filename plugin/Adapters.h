// The plug-in's entries of the host service table: plain functions over the host's VESSEL interface.
//
// Every vessel argument is the interface pointer that oapiGetVesselInterface returns (never an object
// handle) and must not be null. Where an adapter reads a vessel's state it asks for a VESSELSTATUS2
// with version 2 and flag 0; where it writes one back it hands the whole record to DefSetStateEx.
// VECTOR3 results are returned by value. The adapters keep no state and report nothing.
#pragma once

#include "Orbitersdk.h"

// Size of the host's debug line (oapiDebugString) and of the class-name buffer of slot 61.
const int debugLineSize = 256;
const int classNameBufferSize = 256;

// Slot 0: copies text, as plain text, into the host's debug line, bounded by its 256 bytes (a longer
// text is cut). A null text clears the line.
void debugText(const char* text);

// Slot 59: creates a vessel in free flight around the named body. Returns 0 without creating anything
// if a vessel of that name exists, else 1 if the host created it and 0 if not. arot comes before vrot.
int vesselCreateFree(
    const char* name, const char* classname, const char* body, VECTOR3 rpos, VECTOR3 rvel, VECTOR3 arot, VECTOR3 vrot);

// Slot 60: creates a landed vessel on the named body; latitude comes before longitude, angles in
// radians. Returns 0 if a vessel of that name exists or the host refused, else 1.
int vesselCreateLanded(
    const char* name, const char* classname, const char* body, double latitude, double longitude, double heading);

// Slot 61: clears the 256-byte buffer, then copies at most 254 characters of the class name into it
// (nothing for a vessel without one), so the buffer always ends in zero bytes.
void vesselGetClassName(VESSEL* vessel, char* buffer);

// Slot 62: the reference body's x, z and y axes (in that order of the outputs) as directions in the
// vessel's local frame.
void vesselBodyAxes(VESSEL* vessel, VECTOR3* x, VECTOR3* z, VECTOR3* y);

// Slot 63: the global frame's unit axes as directions in the vessel's local frame.
void vesselGlobalAxes(VESSEL* vessel, VECTOR3* ex, VECTOR3* ey, VECTOR3* ez);

// Slots 64 and 65: a point from global to vessel-local coordinates and back.
VECTOR3 vesselGlobal2Local(VESSEL* vessel, VECTOR3 global);
VECTOR3 vesselLocal2Global(VESSEL* vessel, VECTOR3 local);

// Slot 66: the vessel's surface reference body.
OBJHANDLE vesselGetSurfaceRef(VESSEL* vessel);

// Slots 67 and 68: periapsis and apoapsis distance [m]; the host's reference-body result is dropped.
double vesselGetPeDist(VESSEL* vessel);
double vesselGetApDist(VESSEL* vessel);

// Slot 69: VESSEL::AddForce(force, point), for the next step only.
void vesselAddForce(VESSEL* vessel, VECTOR3 force, VECTOR3 point);

// Slot 70: sets the state record's status (0 free flight, 1 landed) and always writes it back.
void vesselSetStatus(VESSEL* vessel, int status);

// Slot 71: airspeed vector in the local horizon frame; the host's truth result is dropped.
VECTOR3 vesselGetHorizonAirspeedVector(VESSEL* vessel);

// Slots 72 to 74: pitch, bank and angle of attack [rad].
double vesselGetPitch(VESSEL* vessel);
double vesselGetBank(VESSEL* vessel);
double vesselGetAOA(VESSEL* vessel);

// Slot 75: the i-th value of the old-style VESSELSTATUS counted from vrot: 0-2 vrot, 3-5 arot, 6 fuel,
// 7 eng_main, 8 eng_hovr. Any other index returns 0.0.
double vesselGetStatusValue(VESSEL* vessel, int i);

// Slots 76 to 80: thruster group and control surface levels, aerodynamic control mode.
void vesselSetThrusterGroupLevel(VESSEL* vessel, THGROUP_TYPE group, double level);
double vesselGetThrusterGroupLevel(VESSEL* vessel, THGROUP_TYPE group);
void vesselSetControlSurfaceLevel(VESSEL* vessel, AIRCTRL_TYPE type, double level);
double vesselGetControlSurfaceLevel(VESSEL* vessel, AIRCTRL_TYPE type);
void vesselSetADCtrlMode(VESSEL* vessel, DWORD mode);

// Slots 81 and 82: the arot and vrot fields of the vessel's state record.
VECTOR3 vesselGetArot(VESSEL* vessel);
VECTOR3 vesselGetVrot(VESSEL* vessel);

// Slots 83 and 84: the three legacy touchdown points, in order. The pointers must not be null.
void vesselGetTouchdownPoints(VESSEL* vessel, VECTOR3* pt1, VECTOR3* pt2, VECTOR3* pt3);
void vesselSetTouchdownPoints(VESSEL* vessel, const VECTOR3* pt1, const VECTOR3* pt2, const VECTOR3* pt3);

// Slot 85: wheel brake level (0 average, 1 left, 2 right).
double vesselGetWheelbrakeLevel(VESSEL* vessel, int which);

// Slot 86: airspeed vector in the vessel's frame; the host's truth result is dropped.
VECTOR3 vesselGetShipAirspeedVector(VESSEL* vessel);

// Slots 87 and 88: angular velocity [rad/s] and principal moments of inertia.
VECTOR3 vesselGetAngularVel(VESSEL* vessel);
VECTOR3 vesselGetPMI(VESSEL* vessel);

// Slot 89: the state record's status (0 free flight, 1 landed).
int vesselGetStatusCode(VESSEL* vessel);

// Slots 90 to 93: add (dx, dy, dz) to rpos, arot, rvel or vrot. The record is written back only if at
// least one component differs from 0.0; a zero delta leaves the vessel untouched.
void vesselShiftPos(VESSEL* vessel, double dx, double dy, double dz);
void vesselShiftArot(VESSEL* vessel, double dx, double dy, double dz);
void vesselShiftVel(VESSEL* vessel, double dx, double dy, double dz);
void vesselShiftVrot(VESSEL* vessel, double dx, double dy, double dz);

// Slots 94 and 95: VESSEL::SetSize and VESSEL::GetAirspeed.
void vesselSetSize(VESSEL* vessel, double size);
double vesselGetAirspeed(VESSEL* vessel);
