// The host generations the stand-in can be: every behaviour that differs between them is one field of
// the record below, chosen by the version the stand-in reports (oapiGetOrbiterVersion). Nothing else in
// the stand-in tests a version number.
#pragma once

namespace hostsim {

struct Generation {
    const char* name; // "2006", "2010", "2016", "2024"
    // Landed placement by the touchdown points puts the (gear-compressed) touchdown plane on the
    // ground, the origin at its signed distance from it; otherwise (2006) the origin stands at the
    // unsigned distance from the uncompressed plane above the ground.
    bool touchdownPlaneOnGround;
    // A landed VESSELSTATUS2 with arot.x <= 4 is "extended information": arot the rotation against
    // the planet frame, vrot.x the height of the origin over the ground.
    bool extendedLandedRecords;
    // The bodies have terrain heights (the stand-in's procedural ones), unless switched off.
    bool terrain;
    // GetStatusEx of a landed vessel gives back the planet-frame angles and the height over the
    // ground it was placed with; otherwise arot holds the angles against the global frame and vrot
    // the angular velocity (0), as for a vessel in flight.
    bool landedStatusRoundTrip;
    // The saved state of a landed vessel has an AROT line (planet-frame angles).
    bool savesLandedArot;
    // oapiCreateVesselEx creates the new vessel's visual inside the call (within visual range),
    // before clbkPostCreation.
    bool visualInsideCreate;
    // A build with an external graphics client exists (VESSEL::GetMesh then returns null).
    bool graphicsClientBuild;
};

// The record of the generation a host of that version (YYMMDD) belongs to.
const Generation& generationOf(int version);

// The record of the version the stand-in reports now.
const Generation& generation();

// Whether the stand-in runs as a build with an external graphics client now (asked for with
// setGraphicsClient, and a build of that kind exists in this generation).
bool graphicsClientActive();

} // namespace hostsim
