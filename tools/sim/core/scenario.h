// Scenarios of the demo runner: what the stand-in simulator holds and how the focus vessel moves.
//
// A scenario is a text file (format in README.md, "Scenario files"); the built-in ones are texts of the
// same format, so one reader serves both. The focus vessel follows a scripted path of waypoints: the
// runner places it on every step, so a flight is repeatable and independent of any flight model.
#pragma once

#include <string>
#include <vector>

namespace skysim {

enum class CameraMode { External, Cockpit };

// An altitude as written: metres, or a multiple of the body's radius ("0.6R").
struct Altitude {
    double value = 0.0;
    bool inRadii = false;
};

// How the external camera looks from a step on: straight down at the body's centre past the vessel,
// or down by the horizon's dip so the limb stays in view.
enum class ViewMode { Horizon, Planet };

struct ViewChange {
    int step = 0; // in force from this step on
    ViewMode mode = ViewMode::Horizon;
    double fieldOfView = 40; // vertical field of view [degrees]
    int line = 0; // line of the file it came from, for messages
};

// One waypoint of the focus vessel's path: where it is at a given step.
struct Waypoint {
    int step = 0;
    std::string body; // reference body, one of the scenario's bodies
    Altitude altitude; // above the mean radius; zero for a landed waypoint
    bool landed = false; // on the ground (the vessel is placed landed, not flying)
    double longitude = 0; // radians
    double latitude = 0; // radians
    int line = 0; // line of the file it came from, for messages
};

struct Scenario {
    std::string name;
    std::vector<std::string> bodies; // bodies of the system, in the order they are created
    CameraMode camera = CameraMode::External;
    int steps = 0; // number of simulation steps to fly
    double stepLength = 0.1; // simulated seconds per step
    double timeAcceleration = 1.0;
    std::vector<int> renderSteps; // steps to draw, ascending (from "render")
    int renderEvery = 0; // draw every N steps (from "render every"), 0 for none
    std::vector<Waypoint> path; // ascending steps, the first at step 0
    std::vector<ViewChange> views; // ascending steps (from "view"); none: horizon, 40 degrees
    int hostVersion = 0; // what the host reports as its version (from "hostversion"); 0: the stand-in's own
    int terrain = -1; // the later hosts' terrain heights (from "terrain off|on"): 0 off, 1 on, -1 the host's default
    int graphics = -1; // the host's graphics (from "graphics builtin|client"): 0, 1, -1 built-in by default
};

// Where and why a scenario text was refused.
struct ScenarioError {
    std::string file;
    int line = 0; // 0 when the complaint is about the file as a whole
    std::string what;
    // "file:line: what" (or "file: what" for line 0).
    std::string message() const;
};

// Reads a scenario text. `file` only names the text in errors. Returns true and fills `out`, or
// returns false and fills `err` with the first fault found; `out` is then unspecified.
bool parseScenario(const std::string& text, const std::string& file, Scenario& out, ScenarioError& err);

// Reads a built-in scenario by name, else the file at that path. Same result convention as
// parseScenario; an unreadable file is an error on line 0.
bool loadScenario(const std::string& nameOrPath, Scenario& out, ScenarioError& err);

// The text of a built-in scenario, or null for an unknown name.
const char* builtinScenarioText(const std::string& name);

// Names of the built-in scenarios, in a stable order.
std::vector<std::string> builtinScenarioNames();

// The same flight squeezed or stretched to `steps` steps: waypoint, view and render steps are scaled, the
// path's first waypoint stays at 0 and the last keeps its place relative to the end. steps >= 1.
Scenario rescaleScenario(const Scenario& s, int steps);

// The steps at which to render, ascending and inside [0, steps): explicit steps, every N-th step,
// and always the last step when anything is rendered at all.
std::vector<int> renderPlan(const Scenario& s);

// The camera's view in force at a step: the last view change at or before it, else the horizon view
// with a 40 degree field of view.
ViewChange viewAt(const Scenario& s, int step);

// The focus vessel's scripted place at a step: between two waypoints on one body the altitude runs
// evenly in log(altitude + 1 km) and the angles linearly; across a change of body it holds the earlier
// waypoint until the later one's step. Past the last waypoint it stays there. Altitudes in radii are
// multiplied by `radiusOf(body)`.
struct PathPoint {
    std::string body;
    double altitude = 0; // metres above the mean radius
    bool landed = false;
    double longitude = 0, latitude = 0;
};
template <typename RadiusFn> PathPoint samplePath(const Scenario& s, double step, RadiusFn radiusOf);

// Altitude in metres of a waypoint on a body of the given radius.
inline double altitudeMetres(const Altitude& a, double radius)
{
    return a.inRadii ? a.value * radius : a.value;
}

// Non-template core of samplePath: `radiusOf(name, ctx)` gives a body's radius in metres.
PathPoint samplePathWith(const Scenario& s, double step, double (*radiusOf)(const std::string&, void*), void* ctx);

template <typename RadiusFn> PathPoint samplePath(const Scenario& s, double step, RadiusFn radiusOf)
{
    auto thunk = [](const std::string& b, void* c) { return (*static_cast<RadiusFn*>(c))(b); };
    return samplePathWith(s, step, thunk, &radiusOf);
}

} // namespace skysim
