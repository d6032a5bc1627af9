// hostsim API: root tree, sessions and shutdown, modules and stepping.
#include "hostsim/hostsim.h"

#include "lifecycle.h"
#include "modules.h"
#include "scenariotext.h"
#include "stepping.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace hostsim {

namespace {

// A new, empty directory of a unique name in the system's temporary folder, or an empty path.
fs::path makeUniqueDirectory()
{
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec)
        base = fs::current_path(ec);
    std::random_device seed;
    std::mt19937 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path dir = base / ("hostsim-root-" + std::to_string(pick() % 1000000000u));
        if (fs::create_directory(dir, ec))
            return dir;
    }
    return fs::path();
}

} // namespace

std::string makeTempRoot(const std::string& from)
{
    std::error_code ec;
    const fs::path root = makeUniqueDirectory();
    if (root.empty())
        return "";
    if (!from.empty() && fs::is_directory(from, ec))
        fs::copy(from, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    for (const char* dir : {"modules/plugin", "meshes", "config/vessels"})
        fs::create_directories(root / dir, ec);
    return fs::absolute(root, ec).string();
}

bool setRoot(const std::string& dir)
{
    return !dir.empty() && ::chdir(dir.c_str()) == 0;
}

void shutdown()
{
    World& w = world();
    w.inStep = false; // deletions from here on happen at once
    destroyAllVisuals();
    while (!w.vessels.empty())
        deleteVesselNow(w.vessels.back());
    while (!w.plugins.empty()) {
        const HMODULE h = w.plugins.back().handle;
        w.plugins.pop_back();
        releaseModule(h);
    }
    // Vessels created by a module's exit code go too.
    while (!w.vessels.empty())
        deleteVesselNow(w.vessels.back());
    while (!w.modules.empty())
        releaseModule(w.modules.begin()->first);

    // Start afresh, keeping the counters' storage: counting sites hold references into it.
    auto counts = std::move(w.counts);
    for (auto& c : counts)
        c.second = 0;
    w = World();
    w.counts = std::move(counts);
}

std::string endSession()
{
    World& w = world();
    if (w.inStep) {
        reportError("endSession: a session does not end inside a step");
        return "";
    }
    // As the host: save the scenario "(Current state)", close the scene, then delete the vessels.
    std::string saved = writeCurrentState();
    destroyAllVisuals();
    while (!w.vessels.empty())
        deleteVesselNow(w.vessels.back());
    return saved;
}

bool startSession(const std::string& saved)
{
    World& w = world();
    SavedState state;
    std::string error;
    if (w.inStep || !w.vessels.empty())
        error = "startSession: a session is running";
    else if (!readCurrentState(saved, state, error))
        error = "startSession: " + error;
    if (!error.empty()) {
        reportError(error);
        return false;
    }
    for (const SavedVessel& ship : state.vessels) {
        std::istringstream lines(ship.lines);
        createScenarioVessel(ship.name.c_str(), ship.className.c_str(), lines);
    }
    // The saved focus vessel, else the first that accepts the focus.
    if (!changeFocus(hostsim::vesselByName(state.focus.c_str())))
        for (Vessel* v : std::vector<Vessel*>(w.vessels))
            if (changeFocus(v))
                break;
    return true;
}

Session::Session(const std::string& root, bool removeRoot)
    : rootDir(root)
    , removeDir(removeRoot)
{
    std::error_code ec;
    previousDir = fs::current_path(ec).string();
    if (!rootDir.empty() && !setRoot(rootDir))
        reportError("cannot enter root " + rootDir);
}

Session::~Session()
{
    shutdown();
    if (rootDir.empty())
        return;
    std::error_code ec;
    if (previousDir.empty() || ::chdir(previousDir.c_str()) != 0) {
        if (::chdir("/") != 0)
            return; // never remove the directory we stand in
    }
    if (removeDir)
        fs::remove_all(rootDir, ec);
}

HMODULE loadPlugin(const std::string& name)
{
    World& w = world();
    for (const Plugin& p : w.plugins)
        if (p.name == name)
            return p.handle;
    const HMODULE h = acquireModule("modules\\plugin\\" + name + ".dll");
    if (!h)
        return nullptr;
    Plugin p;
    p.name = name;
    p.handle = h;
    p.preStep = moduleProc<StepHook>(h, "opcPreStep");
    p.postStep = moduleProc<StepHook>(h, "opcPostStep");
    p.deleteVessel = moduleProc<void (*)(OBJHANDLE)>(h, "opcDeleteVessel");
    p.focusChanged = moduleProc<void (*)(OBJHANDLE, OBJHANDLE)>(h, "opcFocusChanged");
    p.timeAccChanged = moduleProc<void (*)(double, double)>(h, "opcTimeAccChanged");
    world().plugins.push_back(p);
    return h;
}

bool unloadPlugin(const std::string& name)
{
    auto& plugins = world().plugins;
    for (auto it = plugins.begin(); it != plugins.end(); ++it)
        if (it->name == name) {
            const HMODULE h = it->handle;
            plugins.erase(it);
            releaseModule(h);
            return true;
        }
    return false;
}

void step()
{
    runStep();
}

void step(int count)
{
    for (int i = 0; i < count; ++i)
        runStep();
}

void setTimeStep(double seconds)
{
    if (seconds > 0)
        world().realStep = seconds;
}

void setTimeAcceleration(double warp)
{
    setWarp(warp);
}

void setStartMJD(double mjd)
{
    world().mjd0 = mjd;
}

void setOrbiterVersion(int version)
{
    world().orbiterVersion = version;
}

double simTime()
{
    return world().simt;
}

double simMJD()
{
    return simMJDNow();
}

long stepCount()
{
    return world().steps;
}

double addonTimeLastStep()
{
    return world().stepAddonUs;
}

} // namespace hostsim
