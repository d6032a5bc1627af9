// The simulator's own vessel object (the host's internal Vessel that VESSEL::vessel points at):
// class caps, state (landed on a body or in free flight), meshes, visual and module binding.
#pragma once

#include "world.h"

#include <string>
#include <vector>

class Vessel {
public:
    // Identity and interface
    std::string name;
    std::string className;
    bool hasClassName = false;
    VESSEL* iface = nullptr;
    bool fromModule = false;
    HMODULE module = nullptr;
    void (*ovcExit)(VESSEL*) = nullptr;

    // Class caps
    double size = 1.0;
    double visLimit = 1e-3, spotLimit = 1e-3;
    double clipRadius = 0.0;
    bool enableFocus = true;
    double emptyMass = 1000.0;
    VECTOR3 pmi = {{1, 1, 1}};
    VECTOR3 cameraOffset = {{0, 0, 0}};
    std::vector<TOUCHDOWNVTX> touchdown;
    std::vector<hostsim::MeshSlot> meshes;

    // State
    bool landed = false;
    hostsim::Body* body = nullptr; // landed: the body it stands on
    double lng = 0, lat = 0, hdg = 0;
    double cgelev = 0; // landed: height of the origin over the ground (negative: under it) [m]
    double ground = 0; // landed: terrain height over the mean radius where it stands [m]
    bool extendedPlacement = false; // landed from an "extended information" record: not by its touchdown points
    std::vector<VESSELSTATUS2> landedRecords; // every landed record it was placed from, oldest first
    MATRIX3 landRot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}}; // landed: vessel -> body frame
    VECTOR3 pos = {{0, 0, 0}}, vel = {{0, 0, 0}}; // free: global
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}}; // free: vessel -> global
    VECTOR3 vrot = {{0, 0, 0}}; // free: angular velocity, vessel axes
    VECTOR3 pendingForce = {{0, 0, 0}}; // global, applied over the next step
    double ctrlLevel[6] = {0, 0, 0, 0, 0, 0};
    double ctrlTarget[6] = {0, 0, 0, 0, 0, 0};
    DWORD adCtrlMode = 7;

    // Visual and life cycle
    std::unique_ptr<hostsim::Visual> visual;
    bool suppressVisual = false;
    hostsim::DrawStats draw; // what the last drawing phase drew
    bool pendingDelete = false;

    // Derived state at the current simulation time
    VECTOR3 globalPos() const;
    VECTOR3 globalVel() const;
    MATRIX3 rotation() const;
    VECTOR3 angularVel() const; // vessel axes
    double mass() const { return emptyMass; }

    // The body whose surface is closest (the body it stands on when landed); null without bodies.
    hostsim::Body* surfaceRef() const;
    // Equatorial coordinates relative to a body.
    void equPos(const hostsim::Body& b, double& lngOut, double& latOut, double& radOut) const;
    double altitude() const; // above the surface reference's mean radius
    double altitudeOverGround() const; // above the terrain under it
    double heading() const; // [0, 2pi) against north in the surface reference's horizon frame
    VECTOR3 airspeedGlobal() const;

    // Unsigned distance of the origin from the plane of the first three touchdown points (0 with fewer
    // than three or degenerate points): the 2006 host's height of the origin over the ground when landed.
    double touchdownElevation(VECTOR3* normal = nullptr) const;

    // Placement. setLanded places by the touchdown points, as the generation does; setLandedAt takes
    // the rotation against the body frame and the height over the ground as given.
    void setLanded(hostsim::Body* b, double lngIn, double latIn, double hdgIn);
    void setLandedAt(hostsim::Body* b, double lngIn, double latIn, double hdgIn, const MATRIX3& bodyRot, double height);
    void setFree(const VECTOR3& gpos, const VECTOR3& gvel, const MATRIX3& grot, const VECTOR3& avel);
    void refreshLanded(); // recompute a touchdown-point placement after the points changed

    // Free flight over dt: position by velocity (plus the pending force), attitude by vrot.
    void integrate(double dt);

    VESSEL2* callbacks() const; // the interface as VESSEL2 when Version() >= 1, else null
};

namespace hostsim {

// Live vessel behind a VESSEL interface's pointer, or null.
Vessel* liveVessel(const Vessel* v);

} // namespace hostsim
