// The headless stand-in simulator: scene set-up, stepping and inspection for tests and the demo.
// It behaves as the 2006 generation of the host by default; the version it reports
// (setOrbiterVersion) chooses the 2010, 2016 or 2024 generation instead. host/sim/README.md lists
// where the generations differ (landed placement first of all).
//
// One simulator lives in the process (the SDK's free functions need a process-wide world); every
// call below works on it. Typical use:
//
//   hostsim::Session session(hostsim::makeTempRoot(getenv("SKYVEIL_ROOT_TEMPLATE")));
//   OBJHANDLE earth = hostsim::addBody(hostsim::bodyPreset("Earth"));
//   OBJHANDLE ship = hostsim::createLanded("Ship", "", earth, 0.2, 0.7, 0.0);
//   hostsim::loadPlugin("skyveil");
//   hostsim::step(10);
//
// Conventions: metres, seconds, radians; frames are left-handed like the host's (global frame:
// +y ecliptic north; body frame: +y north pole, lng = atan2(z, x)); MATRIX3 is row-major and maps
// local to global (p_glob = R * p_loc + p_origin).
#pragma once

#include <Orbitersdk.h>

#include <map>
#include <string>
#include <vector>

namespace hostsim {

// ---------------------------------------------------------------------------------------------------
// Session and root tree
// ---------------------------------------------------------------------------------------------------

// Creates a fresh directory under the system's temporary directory, copies the tree `from` into
// it when `from` is non-empty and exists, and makes sure modules/plugin, meshes and config/vessels
// exist. Returns the new directory's absolute path ("" on failure). Does not change directory.
std::string makeTempRoot(const std::string& from = "");

// Makes `dir` the simulator's root (the process's working directory, as the host's). Returns false
// if the directory cannot be entered. Resets nothing else.
bool setRoot(const std::string& dir);

// Ends the simulation: closes the scene as the host does (every visual destroyed, each checked and
// freed as destroyVisual describes, before any vessel goes), deletes every vessel (ovcExit, then FreeLibrary of
// its module), unloads every plug-in (its detach glue runs ExitModule), frees all meshes and
// bodies and resets time, camera, counters, messages and errors. The world is empty afterwards
// and may be set up again. Safe to call repeatedly.
void shutdown();

// Scope guard: enters `root` (if non-empty) and calls shutdown() when it goes out of scope, then
// returns to the previous working directory. When `removeRoot` is set the root directory is
// deleted at the end.
class Session {
public:
    explicit Session(const std::string& root = "", bool removeRoot = true);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    const std::string& root() const { return rootDir; }

private:
    std::string rootDir;
    std::string previousDir;
    bool removeDir;
};

// ---------------------------------------------------------------------------------------------------
// Bodies
// ---------------------------------------------------------------------------------------------------

struct BodySpec {
    std::string name;
    double radius = 0; // mean radius [m]
    double mass = 0; // [kg]
    double obliquity = 0; // angle of the rotation axis from the ecliptic zenith [rad]
    double theta = 0; // longitude of the ascending node of the equator [rad]
    double siderealPeriod = 0; // [s]; 0 means no rotation
    double rotationOffset = 0; // rotation angle at simulation time 0 [rad]
    VECTOR3 pos = {{0, 0, 0}}; // global position [m]; bodies stay where they are put
    VECTOR3 vel = {{0, 0, 0}}; // global velocity [m/s], reported only (bodies do not move)
    bool atmosphere = false;
    ATMCONST atm = {}; // used when atmosphere is set
};

// Real figures for "Earth", "Moon" and "Mars" (case-insensitive): radius, mass, obliquity and
// theta against the ecliptic, sidereal rotation period, atmosphere, and fixed, distinct positions
// (Earth at 1 AU on +x, the Moon 384 400 km from it, Mars 1.52 AU on +z). Unknown names give a
// spec with an empty name.
BodySpec bodyPreset(const std::string& name);

// Adds a body; returns its handle (null if the name is empty or the radius not positive).
OBJHANDLE addBody(const BodySpec& spec);

// Adds the Earth, Moon and Mars presets; returns the Earth's handle.
OBJHANDLE addSolarBodies();

// Terrain: present in the generations that have it (160000 and above), on by default; false switches it
// off (true by default again after shutdown()). A landed vessel keeps the ground it was placed on.
void setTerrain(bool on);

// Height of the ground over the body's mean radius at (lng, lat) [m] as the stand-in has it now (0 where
// the terrain is off, absent in this generation, or over the sea). The Earth's land rises to about 8 km,
// Mars' ground to about 21 km, the Moon's to about 5 km; other bodies are smooth spheres.
double terrainElevation(OBJHANDLE body, double lng, double lat);

// The procedural noise behind the terrain, which the demo's pictures paint with too. fractalNoise: smooth
// fractal value noise in [0, 1] at p (`octaves` >= 1 octaves, the first at lattice spacing 1, each next one
// at half the spacing and half the weight), the same on every run and machine. noiseCoordinates: the
// lattice point for unit direction d at that scale, shifted so that different uses see different noise.
// earthRelief: the Earth's height noise in unit direction dirBody of its frame; land where it exceeds
// earthSeaLevel (about a third of the ground).
double fractalNoise(const VECTOR3& p, int octaves);
VECTOR3 noiseCoordinates(const VECTOR3& d, double scale, double shift);
double earthRelief(const VECTOR3& dirBody);
constexpr double earthSeaLevel = 0.565;

// ---------------------------------------------------------------------------------------------------
// Vessels
// ---------------------------------------------------------------------------------------------------

// Creates a vessel landed on `body` at lng/lat with heading hdg (0 = north), like oapiCreateVesselEx
// with a landed VESSELSTATUS2. A non-empty className is looked up as config/vessels/CLASS.cfg (then
// config/CLASS.cfg) unless plainClass is set, in which case the vessel is a plain core VESSEL2 that
// merely carries that class name. An empty className gives a plain vessel without a class name.
// Returns null when the class file is missing (as the host's creation fails) or body is invalid.
OBJHANDLE createLanded(const std::string& name, const std::string& className, OBJHANDLE body, double lng, double lat,
    double hdg = 0, bool plainClass = false);

// Creates a vessel in free flight at rpos/rvel relative to `body` (global axes), with Euler angles
// arot (the VESSELSTATUS2 convention) and angular velocity vrot [rad/s, vessel axes].
OBJHANDLE createFree(const std::string& name, const std::string& className, OBJHANDLE body, const VECTOR3& rpos,
    const VECTOR3& rvel, const VECTOR3& arot = {{0, 0, 0}}, const VECTOR3& vrot = {{0, 0, 0}}, bool plainClass = false);

// Handles of all vessels in creation order (those pending deletion included until the step ends).
std::vector<OBJHANDLE> vessels();

// Whether a handle names a live vessel.
bool isVessel(OBJHANDLE h);

// Sets the focus vessel (the vessel must accept focus); returns false otherwise.
bool setFocus(OBJHANDLE vessel);

struct VesselView {
    std::string name;
    std::string className; // "" when the vessel has none
    OBJHANDLE handle = nullptr;
    VESSEL* iface = nullptr; // the module's interface object, or the core's plain one
    bool fromModule = false; // iface came from a module's ovcInit
    bool landed = false;
    bool pendingDeletion = false;
    OBJHANDLE body = nullptr; // landed: its body; free: the surface reference
    double lng = 0, lat = 0, hdg = 0; // equatorial position on body, heading
    double altitude = 0; // above the mean radius
    double cgelev = 0; // landed: height of the origin over the ground (centre-of-gravity elevation) [m]
    double ground = 0; // landed: height of the ground it stands on over the mean radius [m]
    double size = 0;
    double visLimit = 0, spotLimit = 0;
    VECTOR3 pos = {{0, 0, 0}}, vel = {{0, 0, 0}}; // global
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}}; // local -> global
    VISHANDLE visual = nullptr;
    unsigned meshCount = 0;
};

// Current state of a vessel (a default view with a null handle for an unknown handle).
VesselView vessel(OBJHANDLE h);

// Handle of the first vessel with that exact name, or null.
OBJHANDLE vesselByName(const std::string& name);

// Every landed (status 1) VESSELSTATUS2 the simulator placed the vessel from (oapiCreateVesselEx,
// DefSetStateEx, a restored scenario), oldest first, as it was handed over (its list pointers are not to
// be followed). Empty for an unknown handle.
std::vector<VESSELSTATUS2> landedRecords(OBJHANDLE vessel);

// ---------------------------------------------------------------------------------------------------
// Camera and time
// ---------------------------------------------------------------------------------------------------

// External view of the focus vessel from `distance` metres along `dirLocal` (vessel axes; the
// default looks from behind), aimed at the vessel.
void setCameraExternal(double distance, const VECTOR3& dirLocal = {{0, 0, -1}});

// Cockpit view of the focus vessel: at its camera offset, looking along its +z axis.
void setCameraCockpit();

// Camera fixed in the global frame at pos, looking along dir (target: the focus vessel).
void setCameraGlobal(const VECTOR3& pos, const VECTOR3& dir);

// Half of the vertical field of view [rad] (default 20 degrees).
void setCameraAperture(double aperture);

// Length of a step in real seconds (default 0.1); the simulated step is this times the time
// acceleration. Must be positive.
void setTimeStep(double seconds);

// Same as oapiSetTimeAcceleration (clamped to [1, 100000]), without counting it as an SDK call.
void setTimeAcceleration(double warp);

// Modified Julian date at simulation time 0 (default 51544.5, the J2000 epoch).
void setStartMJD(double mjd);

// The version oapiGetOrbiterVersion reports, as the host's YYMMDD number (default 60929, the 2006-P1
// edition; every 2016-era or later core reports 160000 or more). It chooses the host generation the
// stand-in behaves as (host/sim/README.md): below 100000 the 2006 one, below 160000 the 2010 one, below
// 170000 the 2016 release, above the 2024 builds. Set it before loading the add-on; shutdown() restores
// the default.
void setOrbiterVersion(int version);

// Graphics-client mode (VESSEL::GetMesh returns null for every visual; visuals are still created and
// destroyed as before); only in the generations that have such builds (100000 and above): returns false
// and changes nothing otherwise. Reset by shutdown().
bool setGraphicsClient(bool on);

// ---------------------------------------------------------------------------------------------------
// Sessions
// ---------------------------------------------------------------------------------------------------

// Ends the session as the host does, plug-ins left loaded: returns the saved "(Current state)" text of
// every vessel (its clbkSaveState: the default lines STATUS Landed BODY, POS, HEADING, ALT and, in the
// generations that write it, AROT; the focus vessel named), then closes the scene (every visual
// destroyed, as destroyVisual describes) and deletes every vessel. Bodies, time, camera, meshes and
// plug-ins stay. "" (reason in lastError()) inside a step.
std::string endSession();

// Starts a session from a text endSession() wrote: creates its vessels in order as the host creates a
// scenario's (class file, module, clbkSetClassCaps, clbkLoadStateEx reading the vessel's lines, the
// placement by this generation's rules, clbkPostCreation) and focuses the saved focus vessel (else the
// first that accepts the focus). Visuals come with the next drawing phase. A vessel whose class file is
// missing is left out (reported). False (reason in lastError()) for a text it cannot read or while
// vessels exist.
bool startSession(const std::string& saved);

// ---------------------------------------------------------------------------------------------------
// Modules and stepping
// ---------------------------------------------------------------------------------------------------

// Loads modules/plugin/NAME.dll as a plug-in through LoadLibraryA. A module with the SDK's attach
// glue gets InitModule through InitLib; for a module without it the simulator calls InitModule
// itself (and ExitModule before its last unload). Returns the module handle, or null on failure
// (reported in lastError()). Loading an active plug-in again returns the same handle.
HMODULE loadPlugin(const std::string& name);

// Unloads a plug-in loaded by loadPlugin; false if it is not loaded.
bool unloadPlugin(const std::string& name);

// One simulation step in the host's order: advance time; every plug-in's opcPreStep; every
// vessel's clbkPreStep (VESSEL2 and later); move the vessels (free flight integrates velocity,
// landed vessels turn with their body); clbkPostStep of the vessels, then opcPostStep of the
// plug-ins; vessel deletions take effect; then the drawing phase creates or destroys visuals by
// visual range (clbkVisualCreated/Destroyed) and draws every visual's meshes as they stand.
void step();
void step(int count);

// ---------------------------------------------------------------------------------------------------
// Visuals, meshes and drawing
// ---------------------------------------------------------------------------------------------------

// The vessel's current visual, or null.
VISHANDLE visualOf(OBJHANDLE vessel);

// Destroys the vessel's visual now (clbkVisualDestroyed), as when it leaves visual range. It is
// created again by the next drawing phase if the vessel is within range, unless suppressed.
// As in the host, the visual's mesh instances (deep copies whose vertex and index arrays the
// simulator allocated) are freed after the callback through their group records: a group that
// points anywhere but at its own arrays then stops the simulator (fatal), because the host would
// free memory it never allocated. Every path that destroys a visual (deletion, visual range,
// shutdown) does the same.
void destroyVisual(OBJHANDLE vessel);

// Creates the vessel's visual now (clbkVisualCreated) if it has none, whatever the range.
void createVisual(OBJHANDLE vessel);

// Keeps the drawing phase from creating a visual for the vessel while set.
void suppressVisual(OBJHANDLE vessel, bool suppress);

// The visual's own instance of mesh idx (what VESSEL::GetMesh returns), or null.
MESHHANDLE visualMesh(OBJHANDLE vessel, unsigned idx);

// The template of the vessel's mesh idx, or null.
MESHHANDLE meshTemplate(OBJHANDLE vessel, unsigned idx);

// Loads meshes/NAME.msh into a shared template like oapiLoadMeshGlobal (not counted as an SDK
// call). Null on failure; the error is in lastError().
MESHHANDLE loadMesh(const std::string& name);

// Parses a mesh file at any path into a new mesh that the caller frees with freeMesh. Null on
// failure; the error names the file and line.
MESHHANDLE parseMeshFile(const std::string& path);
void freeMesh(MESHHANDLE mesh);

// Counts and records of a mesh as they stand (live pointers, no copies).
unsigned groupCount(MESHHANDLE mesh);
const MESHGROUP* group(MESHHANDLE mesh, unsigned idx);
unsigned materialCount(MESHHANDLE mesh);
const MATERIAL* material(MESHHANDLE mesh, unsigned idx);
std::vector<std::string> textureNames(MESHHANDLE mesh);

// Value of a mesh property (MESHPROPERTY_MODULATEMATALPHA); 0 for unknown ones.
DWORD meshProperty(MESHHANDLE mesh, DWORD property);

// Whether group idx still points at the vertex and index arrays that the mesh allocated itself
// (false after an add-on pointed it elsewhere, or for an unknown mesh or index).
bool groupUsesOwnArrays(MESHHANDLE mesh, unsigned idx);

// What the last drawing phase drew for one vessel (zeros when it has no visual).
struct DrawStats {
    unsigned meshes = 0; // mesh instances drawn
    unsigned groups = 0; // groups drawn (not flagged "do not render", non-empty)
    unsigned triangles = 0; // triangles drawn
    unsigned badIndices = 0; // indices beyond the group's vertex count (not drawn)
    unsigned nullArrays = 0; // groups with counts but a null vertex or index pointer
    double extent = 0; // largest |vertex| (vessel frame) among the drawn vertices
    float alphaMin = 0, alphaMax = 0; // diffuse alpha range of the drawn groups' materials
    bool modulateAlpha = false; // MESHPROPERTY_MODULATEMATALPHA of the last mesh drawn
    // Drawn groups without the "no shadow" user flag (value 1): the groups the host projects onto
    // the ground as the vessel's shadow when it is near the ground with the Sun high enough.
    unsigned shadowGroups = 0;
};
DrawStats drawStats(OBJHANDLE vessel);

// One drawn group: the record as it stood at drawing time, its material and the vessel's placement.
struct DrawItem {
    OBJHANDLE vessel = nullptr;
    MESHHANDLE mesh = nullptr;
    unsigned groupIndex = 0;
    MESHGROUP group = {};
    MATERIAL material = {};
    bool modulateAlpha = false;
    VECTOR3 pos = {{0, 0, 0}}; // the mesh's origin (the vessel's plus the mesh offset), global
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    VECTOR3 vesselPos = {{0, 0, 0}}; // the vessel's origin, global: where the host takes its light
};

// Everything the drawing phase would draw now (vessels with a visual, meshes visible in the
// current camera mode, groups not flagged 0x2 and non-empty), vessel by vessel in the order their
// visuals were created, as the host draws them. Pointers in the records are live.
std::vector<DrawItem> drawList();

// Camera as the host sees it now.
struct CameraView {
    VECTOR3 pos = {{0, 0, 0}};
    VECTOR3 dir = {{0, 0, 1}};
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    double aperture = 0;
    bool internal = false;
    OBJHANDLE target = nullptr;
};
CameraView camera();

// ---------------------------------------------------------------------------------------------------
// Observation
// ---------------------------------------------------------------------------------------------------

// Where the real host would crash or corrupt its heap (a visual's group left pointing at a module's
// memory when the visual is destroyed, a stale or unknown mesh or visual handle handed to an SDK
// function), the simulator stops at once: "hostsim: fatal: ..." on stderr and this exit code.
constexpr int fatalExitCode = 70;

struct Message {
    std::string caption;
    std::string text;
    UINT type = 0;
};

// Message boxes shown since the last shutdown/clearMessages (through MessageBoxA).
const std::vector<Message>& messages();
void clearMessages();

// How many times an SDK function was entered, by name: free functions by their own name
// ("oapiGetSize"), members as "VESSEL::GetAltitude", "VESSEL2::clbkPreStep" for the defaults, and
// "InitLib", "Date2Int". Overloads share one counter.
long callCount(const std::string& function);
std::map<std::string, long> callCounts();
void resetCallCounts();

// The host's debug line (oapiDebugString's buffer) as a string.
std::string debugString();

// Simulation time [s], MJD and number of steps taken.
double simTime();
double simMJD();
long stepCount();

// Wall time [us, steady clock] the last step spent in the add-ons' own code: plug-in hooks, every
// callback of a vessel whose interface came from a module, module entry points (library attach and
// detach, InitModule, ExitModule, ovcInit, ovcExit), with the host functions they call; never the
// simulator's own stepping or drawing. 0 before the first step and on steps that run no add-on code.
double addonTimeLastStep();

// Last error the simulator reported (mesh or class file, module loading), "" if none; cleared by
// clearLastError. Errors also go to stderr.
std::string lastError();
void clearLastError();

// Lines written through oapiWriteLog and the simulator's own log (module loading).
const std::vector<std::string>& logLines();

} // namespace hostsim
