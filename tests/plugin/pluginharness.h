// Shared set-up of the plug-in's end-to-end tests: a fresh root tree with the real skyveil, an engine
// of the test's choice, the carrier's files as the host would have them, and a focus vessel to fly.
#pragma once

#include "probeengine.h"

#include <hostsim/hostsim.h>

#include <string>
#include <vector>

// Which library the plug-in finds as modules\veilcore.dll.
enum class Engine {
    Real, // the built veilcore (its installer writes the carrier's files)
    Probe, // the recording stand-in of probeengine.cpp
    Missing, // none at all
    WithoutInitint, // a library without initint
    WithoutMaincall // a library whose initint works but which has no maincall
};

// A fresh temporary root copied from SKYVEIL_ROOT_TEMPLATE with the chosen engine in place. For every
// engine but the real one the carrier's class file and a mesh "hazeves" of meshGroups groups are
// written too.
std::string prepareRoot(Engine engine, int meshGroups = 1024);

// Writes meshes/hazeves.msh with n small triangle groups and one material (relative to the cwd).
void writeCarrierMesh(const std::string& root, int n);

// A scene entered in a fresh root: Earth, Moon and Mars, and a free-flying focus vessel "Ship"
// (no class of its own) three radii above the Earth's north pole, the camera 50 m behind it. The session ends the
// simulation and removes the root.
class Scene {
public:
    explicit Scene(Engine engine, int meshGroups = 1024);

    // Loads skyveil as a plug-in and returns its handle.
    HMODULE loadPlugin();

    // Puts the focus vessel at longitude/latitude [rad] and altitude above the mean radius [m] of a
    // body, at rest in free flight, and points the camera at it from 50 m.
    void placeShip(OBJHANDLE body, double lng, double lat, double altitude);

    OBJHANDLE earth = nullptr;
    OBJHANDLE moon = nullptr;
    OBJHANDLE ship = nullptr;

private:
    hostsim::Session session;
};

// Live vessels (not pending deletion) whose class name is exactly "HazeCarrier".
std::vector<OBJHANDLE> carriers();

// The probe engine's record, or null if the probe is not loaded.
ProbeLog* probe();

// Distance between two vectors.
double distance(const VECTOR3& a, const VECTOR3& b);
