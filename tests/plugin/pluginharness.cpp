// Set-up of the plug-in's end-to-end tests (see pluginharness.h).
#include "pluginharness.h"

#include <dlfcn.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string engineFile(Engine engine)
{
    const std::string dir = PLUGIN_TEST_ENGINES;
    switch (engine) {
    case Engine::Probe:
        return dir + "/probe.dll";
    case Engine::WithoutInitint:
        return dir + "/noinitint.dll";
    case Engine::WithoutMaincall:
        return dir + "/nomaincall.dll";
    default:
        return "";
    }
}

void writeClassFile(const std::string& root)
{
    std::ofstream out(root + "/config/vessels/HazeCarrier.cfg", std::ios::binary);
    out << "ClassName=HazeCarrier\r\nModule=plugin\\skyveil\r\nEnableFocus=FALSE\r\n";
}

std::string requireTemplate()
{
    const char* dir = std::getenv("SKYVEIL_ROOT_TEMPLATE");
    if (!dir || !*dir)
        throw std::runtime_error("SKYVEIL_ROOT_TEMPLATE is not set");
    return dir;
}

} // namespace

void writeCarrierMesh(const std::string& root, int n)
{
    std::ofstream out(root + "/meshes/hazeves.msh", std::ios::binary);
    out << "MSHX1\nGROUPS " << n << "\n";
    for (int i = 0; i < n; ++i)
        out << "MATERIAL 1\nGEOM 3 1\n0 0 0 0 1 0\n1 0 0 0 1 0\n0 0 1 0 1 0\n0 1 2\n";
    out << "MATERIALS 1\nhaze\nMATERIAL haze\n1 1 1 1\n1 1 1 1\n0 0 0 1\n0 0 0 1\n";
}

std::string prepareRoot(Engine engine, int meshGroups)
{
    std::string root = hostsim::makeTempRoot(requireTemplate());
    if (root.empty())
        throw std::runtime_error("no temporary root");
    const fs::path engineLib = fs::path(root) / "modules" / "veilcore.dll";
    if (engine != Engine::Real) {
        fs::remove(engineLib);
        if (engine != Engine::Missing)
            fs::copy_file(engineFile(engine), engineLib, fs::copy_options::overwrite_existing);
        writeClassFile(root);
        writeCarrierMesh(root, meshGroups);
    }
    return root;
}

Scene::Scene(Engine engine, int meshGroups)
    : session(prepareRoot(engine, meshGroups))
{
    earth = hostsim::addSolarBodies();
    moon = oapiGetGbodyByName(const_cast<char*>("Moon"));
    // Far above the Earth, where no carrier is wanted; each test flies it where it needs it.
    ship = hostsim::createFree("Ship", "", earth, _V(0, 4 * oapiGetSize(earth), 0), _V(0, 0, 0));
    hostsim::setFocus(ship);
    hostsim::setCameraExternal(50);
}

HMODULE Scene::loadPlugin()
{
    return hostsim::loadPlugin("skyveil");
}

void Scene::placeShip(OBJHANDLE body, double lng, double lat, double altitude)
{
    VECTOR3 glob;
    oapiEquToGlobal(body, lng, lat, oapiGetSize(body) + altitude, &glob);
    VECTOR3 bodyPos;
    oapiGetGlobalPos(body, &bodyPos);
    VESSELSTATUS2 status = {};
    status.version = 2;
    status.rbody = body;
    status.status = 0;
    status.rpos = glob - bodyPos;
    status.arot = _V(0, 0, 0);
    hostsim::vessel(ship).iface->DefSetStateEx(&status);
    hostsim::setCameraExternal(50);
}

std::vector<OBJHANDLE> carriers()
{
    std::vector<OBJHANDLE> found;
    for (OBJHANDLE h : hostsim::vessels()) {
        const hostsim::VesselView v = hostsim::vessel(h);
        if (v.className == "HazeCarrier" && !v.pendingDeletion)
            found.push_back(h);
    }
    return found;
}

ProbeLog* probe()
{
    void* lib = dlopen("modules/veilcore.dll", RTLD_NOW | RTLD_NOLOAD);
    if (!lib)
        return nullptr;
    auto entry = reinterpret_cast<ProbeLogEntry>(dlsym(lib, "probeLog"));
    ProbeLog* log = entry ? entry() : nullptr;
    dlclose(lib); // RTLD_NOLOAD took a reference of its own
    return log;
}

double distance(const VECTOR3& a, const VECTOR3& b)
{
    return length(a - b);
}
