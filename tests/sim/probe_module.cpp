// "SimProbe": a small module for the stand-in simulator's tests. It is a plug-in (InitModule,
// ExitModule, opcPreStep) and the vessel module of class SimProbe (ovcInit, ovcExit) in one
// library, records what the simulator calls in a state block the tests reach through
// probeState(), and does on request what add-ons do: delete itself in its own step, point a mesh
// group of its visual at its own memory (and hand it back when the visual goes, or not). Built with
// PROBE_GLUE it carries attach/detach glue that registers through the core's InitLib, as modules
// built with the SDK do.
#include <Orbitersdk.h>

#include "probe_state.h"

#include <chrono>
#include <cstring>

namespace {

ProbeState state;

// Static arrays an add-on may point a group at.
NTVERTEX ownVertices[3] = {{0, 0, 0, 0, 1, 0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0}, {0, 0, 1, 0, 1, 0, 0, 0}};
WORD ownIndices[3] = {0, 2, 1};

// Work of a known length in one of the callbacks, for the simulator's add-on clock.
void spin(char c)
{
    if (state.spinIn != c)
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(state.spinMicros);
    while (std::chrono::steady_clock::now() < until) { }
}

void event(char c)
{
    spin(c);
    const std::size_t n = std::strlen(state.events);
    if (n + 1 < sizeof state.events) {
        state.events[n] = c;
        state.events[n + 1] = '\0';
    }
}

class Probe final : public VESSEL2 {
public:
    Probe(OBJHANDLE h, int fmodel)
        : VESSEL2(h, fmodel)
    {
    }

    void clbkSetClassCaps(FILEHANDLE cfg) override
    {
        ++state.setClassCaps;
        SetSize(4.0);
        SetEmptyMass(2000.0);
        if (cfg)
            oapiReadItem_string(cfg, (char*)"ProbeNote", state.note);
        MESHHANDLE mesh = oapiLoadMeshGlobal("probe");
        if (mesh)
            AddMesh(mesh);
    }

    void clbkPostCreation() override
    {
        state.visualAtPostCreation = visual != nullptr;
        event('O');
    }

    void clbkPreStep(double simt, double, double) override
    {
        ++state.vesselPreSteps;
        state.lastVesselSimt = simt;
        state.visualAtPreStep = visual != nullptr;
        event('V');
        if (state.deleteSelfAtStep && state.vesselPreSteps >= state.deleteSelfAtStep)
            oapiDeleteVessel(GetHandle());
    }

    void clbkVisualCreated(VISHANDLE vis, int refcount) override
    {
        ++state.visualsCreated;
        state.lastRefcount = refcount;
        visual = vis;
        event('C');
        MESHHANDLE mesh = GetMesh(vis, 0);
        state.lastVisualMesh = mesh;
        if (state.repointOnVisual && mesh) {
            MESHGROUP* g = oapiMeshGroup(mesh, 0);
            if (g) {
                repointed = g;
                hostGroup = *g;
                g->Vtx = ownVertices;
                g->Idx = ownIndices;
                g->nVtx = 3;
                g->nIdx = 3;
            }
        }
    }

    void clbkVisualDestroyed(VISHANDLE, int) override
    {
        ++state.visualsDestroyed;
        visual = nullptr;
        event('D');
        if (state.handBackOnDestroy && repointed)
            *repointed = hostGroup;
        repointed = nullptr;
    }

private:
    VISHANDLE visual = nullptr;
    MESHGROUP* repointed = nullptr; // the visual's group pointed at ownVertices, or null
    MESHGROUP hostGroup {}; // that group as the host gave it
};

} // namespace

DLLCLBK ProbeState* probeState()
{
    return &state;
}

DLLCLBK void InitModule(HINSTANCE)
{
    ++state.initModule;
    oapiWriteLog((char*)"probe: InitModule");
}

DLLCLBK void ExitModule(HINSTANCE)
{
    ++state.exitModule;
    oapiWriteLog((char*)"probe: ExitModule");
}

DLLCLBK void opcPreStep(double simt, double, double)
{
    ++state.pluginPreSteps;
    state.lastPluginSimt = simt;
    event('P');
}

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel)
{
    ++state.ovcInit;
    return new Probe(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel)
{
    ++state.ovcExit;
    delete static_cast<Probe*>(vessel);
}

#ifdef PROBE_GLUE
// The SDK's module glue: register with the core at attach, run ExitModule at detach.
OAPIFUNC void InitLib(HINSTANCE hModule);

namespace {

typedef void (*ExitFn)(HINSTANCE);
HMODULE self = nullptr;
ExitFn exitFn = nullptr;

__attribute__((constructor)) void attach()
{
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&state), &self);
    InitLib(self);
    exitFn = reinterpret_cast<ExitFn>(reinterpret_cast<void (*)()>(GetProcAddress(self, "ExitModule")));
}

__attribute__((destructor)) void detach()
{
    if (exitFn)
        exitFn(self);
}

} // namespace
#endif
