// Putting the carrier where the shell belongs, in every generation of the host, and checking that it
// stands there.
//
// The carrier belongs landed under the focus vessel, its origin the stand height over the body's mean
// radius, upright in the local horizon (+y up, +z north). Hosts place a landed vessel from a
// VESSELSTATUS2 in two ways: the 2006 generation from the touchdown points alone (the carrier's lie the
// stand height up its y axis), the later cores from arot (the rotation against the planet's frame) and
// vrot.x (the height over the terrain) for any arot.x of 4 or less. So there are two records: the 2006
// one, as the carrier has always sent it, and the later one, built from scratch every time. The host's
// version picks the record tried first; after every placement the carrier's place is read back from
// the host and, where it is wrong, the other record is tried once.
#pragma once

#include "Orbitersdk.h"

enum class PlacementRecord {
    Edition2006, // zeroed at creation; re-anchoring: the record read back, four fields changed
    Later, // arot = the local horizon at the place, vrot.x = stand height less terrain height
};

// "2006" or "2016", as the log and the messages name the records.
const char* placementRecordName(PlacementRecord record);

// The record tried first on a host of this version (YYMMDD): the later one from 160000 on.
PlacementRecord firstPlacementRecord(int hostVersion);

// The record in use now: the version's choice from binding on, the other one once it alone placed the
// carrier right. Set by choosePlacementRecord at binding.
PlacementRecord currentPlacementRecord();
void choosePlacementRecord(PlacementRecord record);

// The Euler angles (VESSELSTATUS2::arot of the later cores) of the local horizon at (lng, lat) with
// heading 0: +x east, +y up, +z north, against the planet's frame. [rad]
VECTOR3 horizonArot(double lng, double lat);

// Where a placed carrier stands against where it belongs: landed at (lng, lat) of body, the origin
// the stand height over the mean radius, +y along the local vertical, +z towards north.
struct PlacementCheck {
    double distance = 0; // [m] of the origin from its place
    double tilt = 0; // [rad] the larger of the angles of +y from the vertical and of +z from north
    bool right = false; // within 50 m and 1e-5 rad
};

// Reads the carrier's and the body's global positions and the carrier's rotation from the host.
PlacementCheck checkPlacement(const VESSEL& carrier, OBJHANDLE body, double lng, double lat);

// Whether the carrier stands right where it is now (at its own longitude and latitude on its
// reference body): asked of a carrier the plug-in did not place itself, such as one a saved scenario
// brought along.
bool carrierStandsRight(const VESSEL& carrier);

// Creates "TheHazeCarrier" of class HazeCarrier under the focus vessel with the current record and
// checks it, trying the other record once where it stands wrong. Returns the carrier's handle, or
// null when the host did not create it or placed it wrong with both records: then the carrier is
// deleted again, one message box says so, and addonRefused is set. focus must not be null.
OBJHANDLE createPlacedCarrier(const VESSEL* focus);

// Re-anchors the carrier under the focus vessel with the current record (the 2006 one changes status,
// the record read back from the carrier this step, in place) and checks it as createPlacedCarrier
// does. Returns false after the message, with addonRefused set; the caller deletes the carrier.
bool reanchorCarrier(const VESSEL* carrier, VESSELSTATUS2& status, const VESSEL* focus);
