// The simulator's process-wide world: bodies, vessels, meshes, visuals, modules, camera and time.
// Internal to hostsim; the SDK functions and the hostsim API both work on world().
#pragma once

#include "hostsim/hostsim.h"

#include <Orbitersdk.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace hostsim {

// Material index sentinels of the host's in-memory groups.
constexpr DWORD specDefault = static_cast<DWORD>(-1);
constexpr DWORD specInherit = static_cast<DWORD>(-2);

struct Body {
    std::string name;
    double radius = 0, mass = 0, eps = 0, theta = 0, period = 0, rotOffset = 0;
    VECTOR3 pos = {{0, 0, 0}}, vel = {{0, 0, 0}};
    bool hasAtm = false;
    ATMCONST atm = {};
};

struct Texture {
    std::string file;
    bool dynamic = false;
};

// A mesh: group records, materials and textures. The vertex and index arrays that the mesh
// allocated itself are remembered apart from the group records, because an add-on may point a
// group at its own memory; only the own arrays are ever freed.
struct Mesh {
    std::string name;
    std::vector<MESHGROUP> groups; // sized once; records never move
    std::vector<MATERIAL> materials;
    std::vector<std::unique_ptr<Texture>> textures;
    std::vector<std::unique_ptr<NTVERTEX[]>> ownVtx; // per group, may be null
    std::vector<std::unique_ptr<WORD[]>> ownIdx; // per group, may be null
    std::vector<NTVERTEX*> origVtx; // the group pointers as allocated
    std::vector<WORD*> origIdx;
    DWORD modulateMatAlpha = 0;
    bool global = false; // shared template from oapiLoadMeshGlobal
};

struct MeshSlot {
    Mesh* tmpl = nullptr; // template (owned by the world's registry)
    VECTOR3 ofs = {{0, 0, 0}};
    WORD visMode = MESHVIS_EXTERNAL;
};

// Order in which visuals come into being: the host draws vessels in that order.
long nextVisualSerial();

struct Visual {
    Vessel* vessel = nullptr;
    long serial = nextVisualSerial(); // later visuals have larger numbers
    std::vector<std::unique_ptr<Mesh>> meshes; // one instance per mesh slot
};

struct ModuleRecord {
    std::string path;
    int refs = 0; // the simulator's own LoadLibraryA references
    bool selfInit = false; // no attach glue: the simulator called InitModule itself
};

typedef void (*StepHook)(double simt, double simdt, double mjd);

struct Plugin {
    std::string name;
    HMODULE handle = nullptr;
    StepHook preStep = nullptr, postStep = nullptr;
    void (*deleteVessel)(OBJHANDLE) = nullptr;
    void (*focusChanged)(OBJHANDLE, OBJHANDLE) = nullptr;
    void (*timeAccChanged)(double, double) = nullptr;
};

struct Annotation {
    std::string text;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, size = 1;
    VECTOR3 col = {{1, 1, 1}};
    bool exclusive = false;
};

enum class CamMode { External, Cockpit, Global };

struct World {
    std::vector<std::unique_ptr<Body>> bodies;
    std::vector<Vessel*> vessels; // owned; deleted through deleteVesselNow
    std::map<std::string, std::unique_ptr<Mesh>> globalMeshes; // key: lower-case name
    std::vector<std::unique_ptr<Mesh>> looseMeshes; // oapiLoadMesh, parseMeshFile
    std::vector<Plugin> plugins; // in load order
    std::map<HMODULE, ModuleRecord> modules; // every module the simulator loaded
    std::vector<std::unique_ptr<Annotation>> notes;
    Vessel* focus = nullptr;

    // Camera
    CamMode camMode = CamMode::External;
    double camDist = 50;
    VECTOR3 camDirLocal = {{0, 0, -1}};
    VECTOR3 camGlobalPos = {{0, 0, 0}}, camGlobalDir = {{0, 0, 1}};
    double aperture = 20.0 * RAD;

    // What oapiGetOrbiterVersion reports (YYMMDD): the 2006-P1 edition unless set otherwise. It chooses
    // the generation record (generation.h) that every difference between the hosts is read from.
    int orbiterVersion = 60929;
    bool terrainOn = true; // where the generation has terrain
    bool graphicsClient = false; // where the generation has such a build: GetMesh returns null
    // The core logs a null mesh handle once per function.
    bool nullMeshLogged[2] = {false, false}; // oapiMeshGroupCount, oapiMeshGroup
    long visualSerial = 0;

    // Time
    double simt = 0, simdt = 0, realStep = 0.1, warp = 1, mjd0 = 51544.5;
    long steps = 0;
    bool inStep = false;

    // Time in the add-ons' code (addontime.h): open scopes, since when, total, and the last step's share.
    int addonDepth = 0;
    std::chrono::steady_clock::time_point addonSince;
    std::int64_t addonNs = 0;
    double stepAddonUs = 0;

    // Observation
    char debug[256] = {0};
    std::map<std::string, long> counts;
    std::vector<Message> messages; // filled by the message box observer
    std::string lastError;
    std::vector<std::string> log;
    std::vector<HMODULE> initLibHandles; // modules that called InitLib, in order
};

World& world();

// Per-function call counter: one counter per SDK function name, bumped at entry.
long& counter(const char* name);
#define HOSTSIM_COUNT(name)                                                                                            \
    do {                                                                                                               \
        static long& hostsimCounter = ::hostsim::counter(name);                                                        \
        ++hostsimCounter;                                                                                              \
    } while (0)

// Reports an error: to stderr and into world().lastError.
void reportError(const std::string& text);
void logLine(const std::string& text);

// Stops the simulator at once where the real host would crash or corrupt its heap: prints
// "hostsim: fatal: TEXT" to stderr and ends the process with fatalExitCode, running no exit handlers.
[[noreturn]] void fatal(const std::string& text);

// A pointer as text, "0x" and lower-case hex digits alike on every platform.
std::string pointerText(const void* p);

// Handle lookups; null for anything that is not a live object of that kind.
Body* findBody(OBJHANDLE h);
Vessel* findVessel(OBJHANDLE h);
Mesh* findMesh(MESHHANDLE h);
Visual* findVisual(VISHANDLE h);

// A handle an SDK function was handed, which the host would use unchecked: null stays null, a live
// mesh or visual is returned, anything else (stale or unknown) is fatal, naming the function.
Mesh* usedMesh(MESHHANDLE h, const char* function);
Visual* usedVisual(VISHANDLE h, const char* function);
Vessel* vesselByName(const char* name);
Body* bodyByName(const char* name); // without regard to letter case

// Simulation clock helpers.
double simMJDNow();

// Lower-case copy (ASCII).
std::string lowerCase(const std::string& s);

} // namespace hostsim
