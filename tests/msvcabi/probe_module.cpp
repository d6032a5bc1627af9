// A plug-in and vessel module built like the MSVC-ABI skyveil.dll, installed in its place to confirm
// the binary interface between such a module and Orbiter.exe (the MinGW stand-in) instead of assuming
// it: __thiscall member calls both ways, the VESSEL2 vftable slots reached in declaration order, every
// argument, double and VECTOR3 out-parameter exact. It writes what it found to probe.txt in the root.
#define ORBITER_MODULE
#include "Orbitersdk.h"

#include <cstdio>

namespace {

const char probeClass[] = "ProbeVessel";
const VECTOR3 startPos = {{7.0e6, 1.25e5, -3.5e5}};
const VECTOR3 startVel = {{-12.5, 7.5e3, 0.5}};

struct Tally {
    int checks = 0;
    int failed = 0;
    int setClassCaps = 0, setStateEx = 0, preStep = 0, postStep = 0, visualsCreated = 0, visualsDestroyed = 0,
        ovcExit = 0;
    char firstFailure[128] = "";
} tally;

void expect(bool ok, const char* what)
{
    ++tally.checks;
    if (!ok && tally.failed++ == 0)
        std::snprintf(tally.firstFailure, sizeof tally.firstFailure, "%s", what);
}

bool same(const VECTOR3& a, const VECTOR3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

OBJHANDLE created = nullptr;
VESSEL* probeInterface = nullptr;
bool asked = false;
double lastPreSimt = -1, lastDt = -1;

class ProbeVessel final : public VESSEL2 {
public:
    ProbeVessel(OBJHANDLE hVessel, int fmodel)
        : VESSEL2(hVessel, fmodel)
        , handle(hVessel)
    {
    }

    void clbkSetClassCaps(FILEHANDLE) override
    {
        ++tally.setClassCaps;
        expect(GetHandle() == handle, "GetHandle in clbkSetClassCaps");
        SetSize(1e8); // in view from anywhere near, so that the host makes a visual of it
        SetVisibilityLimit(1e-9, 1e-9);
        mesh = oapiLoadMeshGlobal("probe");
        expect(mesh != nullptr, "oapiLoadMeshGlobal");
        if (mesh)
            SetMeshVisibilityMode(AddMesh(mesh), MESHVIS_ALWAYS);
    }

    void clbkSetStateEx(const void* status) override
    {
        ++tally.setStateEx;
        const VESSELSTATUS2* vs = static_cast<const VESSELSTATUS2*>(status);
        expect(vs && vs->version == 2 && vs->status == 0, "clbkSetStateEx record");
        expect(vs && same(vs->rpos, startPos) && same(vs->rvel, startVel), "clbkSetStateEx position and velocity");
        if (vs)
            DefSetStateEx(vs);
    }

    void clbkPreStep(double simt, double simdt, double mjd) override
    {
        ++tally.preStep;
        expect(simt == oapiGetSimTime(), "clbkPreStep simt");
        expect(mjd == oapiGetSimMJD(), "clbkPreStep mjd");
        expect(simdt > 0 && simt > lastPreSimt, "clbkPreStep simdt");
        lastPreSimt = simt;
        lastDt = simdt;
        VECTOR3 member = {{0, 0, 0}}, free = {{1, 1, 1}};
        GetGlobalPos(member);
        oapiGetGlobalPos(GetHandle(), &free);
        expect(same(member, free), "GetGlobalPos against oapiGetGlobalPos");
    }

    void clbkPostStep(double simt, double simdt, double mjd) override
    {
        ++tally.postStep;
        expect(simt == oapiGetSimTime() && mjd == oapiGetSimMJD(), "clbkPostStep simt and mjd");
        expect(simdt == lastDt, "clbkPostStep simdt");
    }

    // Not flown, but the host's own versions are not among the names the add-on imports.
    void clbkLoadStateEx(FILEHANDLE, void*) override { expect(false, "clbkLoadStateEx called"); }

    void clbkVisualCreated(VISHANDLE vis, int refcount) override
    {
        ++tally.visualsCreated;
        expect(vis != nullptr && refcount == 1, "clbkVisualCreated arguments");
        const MESHHANDLE own = GetMesh(vis, 0);
        expect(own != nullptr && oapiMeshGroupCount(own) == 1, "GetMesh of the new visual");
    }

    void clbkVisualDestroyed(VISHANDLE vis, int refcount) override
    {
        ++tally.visualsDestroyed;
        expect(vis != nullptr && refcount == 1, "clbkVisualDestroyed arguments");
    }

    OBJHANDLE handle;
    MESHHANDLE mesh = nullptr;
};

void writeFile(const char* path, const char* text)
{
    if (FILE* f = std::fopen(path, "w")) {
        std::fputs(text, f);
        std::fclose(f);
    }
}

void writeTally()
{
    char text[512];
    std::snprintf(text, sizeof text,
        "checks %d failed %d first '%s'\nsetclasscaps %d setstateex %d prestep %d poststep %d visuals %d/%d "
        "ovcexit %d\n",
        tally.checks, tally.failed, tally.firstFailure, tally.setClassCaps, tally.setStateEx, tally.preStep,
        tally.postStep, tally.visualsCreated, tally.visualsDestroyed, tally.ovcExit);
    writeFile("probe.txt", text);
}

} // namespace

DLLCLBK void InitModule(HINSTANCE)
{
    // The class file that sends the host to this module for the probe's class, and its one-triangle mesh.
    writeFile("config\\vessels\\ProbeVessel.cfg", "ClassName=ProbeVessel\nModule=plugin\\skyveil\nEnableFocus=FALSE\n");
    writeFile("meshes\\probe.msh", "MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1 0 0\n0 1 0\n0 1 2\n");
}

DLLCLBK void ExitModule(HINSTANCE)
{
    writeTally();
}

DLLCLBK void opcPreStep(double, double, double)
{
    if (asked)
        return;
    asked = true;
    VESSELSTATUS2 vs = {};
    vs.version = 2;
    vs.rbody = oapiGetObjectByName(const_cast<char*>("Earth"));
    vs.status = 0;
    vs.rpos = startPos;
    vs.rvel = startVel;
    created = oapiCreateVesselEx("Probe", probeClass, &vs);
    expect(created != nullptr, "oapiCreateVesselEx");
    expect(oapiGetVesselInterface(created) == probeInterface, "oapiGetVesselInterface");
}

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel)
{
    probeInterface = new ProbeVessel(hvessel, flightmodel);
    return probeInterface;
}

DLLCLBK void ovcExit(VESSEL* vessel)
{
    ++tally.ovcExit;
    expect(vessel == probeInterface, "ovcExit pointer");
    delete static_cast<ProbeVessel*>(vessel);
}
