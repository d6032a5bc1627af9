// What one picture shows: the camera, the reference body and the carrier's groups as the host holds
// them. Built by the flight from the stand-in simulator; read by the renderers.
//
// Conventions: global frame of the host (left-handed, metres); MATRIX3 row-major, mapping a local
// frame to global (p_glob = R p_loc + origin). Positions stay in double until they are taken
// relative to the camera, since they are of the order of 1e11 m.
#pragma once

#include <Orbitersdk.h>

#include <string>
#include <vector>

namespace skysim {

// One group as the host would draw it: the record (its pointers are live: they belong to the
// simulator or the engine and stay valid only until the next step), its material and the placement of
// the vessel that carries it.
struct SceneGroup {
    MESHGROUP group = {};
    MATERIAL material = {};
    VECTOR3 pos = {{0, 0, 0}}; // the mesh's origin
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    VECTOR3 vesselPos = {{0, 0, 0}}; // the vessel's origin, where its light is taken
    bool carrier = false; // the group belongs to the add-on's carrier vessel
};

struct SceneView {
    // Camera
    VECTOR3 camPos = {{0, 0, 0}};
    VECTOR3 camDir = {{0, 0, 1}};
    VECTOR3 camUp = {{0, 1, 0}};
    double aperture = 0.35; // half the vertical field of view [rad]

    // Reference body
    std::string bodyName;
    VECTOR3 bodyPos = {{0, 0, 0}};
    MATRIX3 bodyRot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    double bodyRadius = 0;
    ATMCONST bodyAtm = {}; // the body's atmosphere as the host describes it; all zero without one

    // The focus vessel's place (the observer)
    VECTOR3 observerPos = {{0, 0, 0}};

    // The groups of every vessel with a visual: vessel by vessel in the order their visuals were
    // created (the host's drawing order), each vessel's in mesh order
    std::vector<SceneGroup> groups;
};

} // namespace skysim
