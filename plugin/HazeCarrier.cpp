// The carrier vessel HazeCarrier: class set-up, the per-step driver of the engine, re-anchoring.
#include "HazeCarrier.h"

#include "Adapters.h"
#include "CarrierPlacement.h"
#include "CarrierStand.h"
#include "EngineBinding.h"
#include "EquToGlobal.h"
#include "PluginState.h"
#include "VesselState.h"

#include <cstring>

// ===================================================================================================
// Constants
// ===================================================================================================

namespace {

const double carrierSize = 1e8; // [m] keeps the carrier in every view
const double visibilityLimit = 7.5e-8; // apparent size below which it is not drawn
const double spotLimit = 1.5e-7; // apparent size below which no spot is drawn
const VECTOR3 cameraOffset = {{0.0, 1.467, 6.782}}; // [m]
// Touchdown points [m]: the contact plane lies the stand height above the origin along the vessel's
// y axis, so a landed carrier's origin stands that high over the ground.
const VECTOR3 touchdown1 = {{0.0, carrierStandHeight, 10.0}};
const VECTOR3 touchdown2 = {{-3.5, carrierStandHeight, -3.0}};
const VECTOR3 touchdown3 = {{3.5, carrierStandHeight, -3.0}};
const char carrierMeshName[] = "hazeves";
const char graphicsClientMessage[]
    = "Haze carrier: this simulator draws through a graphics client, which gives add-ons no mesh to edit. The haze "
      "needs the simulator's built-in graphics: start Orbiter.exe (Orbiter 2016, or the 2024 x86 package) instead of "
      "Orbiter_ng.exe.";

HostVector toHost(const VECTOR3& v)
{
    return HostVector {v.x, v.y, v.z};
}

} // namespace

HazeCarrier::HazeCarrier(OBJHANDLE hVessel, int fmodel)
    : VESSEL2(hVessel, fmodel)
{
    skipFirstStep = 1;
    fetchGroups = 1;
    frame.alphaModPtr = &alphaModFlag;
}

HazeCarrier::~HazeCarrier()
{
    if (engineDriver == this)
        engineDriver = nullptr;
}

// ===================================================================================================
// Class set-up and state
// ===================================================================================================

void HazeCarrier::clbkSetClassCaps(FILEHANDLE)
{
    SetSize(carrierSize);
    SetVisibilityLimit(visibilityLimit, spotLimit);
    SetCameraOffset(cameraOffset);
    SetTouchdownPoints(touchdown1, touchdown2, touchdown3);
    visual = nullptr;
    mesh = oapiLoadMeshGlobal(carrierMeshName);
    // Without its mesh file the carrier has nothing to show, and the host is not handed a null mesh.
    if (mesh) {
        const UINT index = AddMesh(mesh);
        SetMeshVisibilityMode(index, MESHVIS_ALWAYS);
        meshAdded = true;
    }
}

void HazeCarrier::clbkSaveState(FILEHANDLE scn)
{
    VESSEL2::clbkSaveState(scn);
}

void HazeCarrier::clbkLoadStateEx(FILEHANDLE scn, void* status)
{
    char* line = nullptr;
    while (oapiReadScenario_nextline(scn, line))
        ParseScenarioLineEx(line, status);
}

// ===================================================================================================
// Visuals
// ===================================================================================================

void HazeCarrier::clbkVisualCreated(VISHANDLE vis, int)
{
    visual = vis;
    fetchGroups = 1;
}

void HazeCarrier::clbkVisualDestroyed(VISHANDLE, int)
{
    handGroupsBack();
    visual = nullptr;
    // The mesh instance went with the visual; the next fetch names the new one.
    mesh = nullptr;
    if (engineDriver == this)
        engineDriver = nullptr;
}

// ===================================================================================================
// Per-step driver
// ===================================================================================================

void HazeCarrier::clbkPreStep(double, double, double)
{
    if (carrierActive == 0 || addonRefused) {
        oapiDeleteVessel(GetHandle(), nullptr);
        return;
    }
    if (!placementChecked) {
        placementChecked = true;
        if (!standsRightOrIsPlaced()) {
            oapiDeleteVessel(GetHandle(), nullptr);
            return;
        }
    }
    if (skipFirstStep) {
        skipFirstStep = 0;
        return;
    }

    applyAlphaFlag();

    const VESSEL* focus = oapiGetFocusInterface();
    if (!focus)
        return;
    VESSELSTATUS2 status = readStatus2(this);
    if (status.rbody != focus->GetSurfaceRef()) {
        if (!reanchor(status, focus))
            return;
        lastResult = 0;
    }

    if (!visual)
        return;
    if (engineDriver && engineDriver != this)
        return;
    // Taking the engine over: it must learn this carrier's groups before it writes any.
    if (engineDriver != this)
        fetchGroups = 1;
    if (fetchGroups) {
        if (!fetchMeshGroups()) {
            if (addonRefused)
                oapiDeleteVessel(GetHandle(), nullptr);
            return;
        }
    } else {
        frame.groupsFetched = 0;
    }

    fillFrame(focus);
    if (!maincallEntry)
        return;
    engineDriver = this;
    lastResult = maincallEntry(&frame);

    applyAlphaFlag();

    if (lastResult) {
        if (!reanchor(status, focus))
            return;
        lastResult = 0;
    }
}

bool HazeCarrier::standsRightOrIsPlaced()
{
    const VESSEL* focus = oapiGetFocusInterface();
    if (!focus || carrierStandsRight(*this))
        return true;
    VESSELSTATUS2 status = readStatus2(this);
    return reanchorCarrier(this, status, focus);
}

void HazeCarrier::applyAlphaFlag()
{
    if (!mesh)
        return;
    if (alphaModFlag == 0)
        oapiSetMeshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA, 0);
    else if (alphaModFlag == 1)
        oapiSetMeshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA, 1);
}

bool HazeCarrier::fetchMeshGroups()
{
    const MESHHANDLE visualMesh = GetMesh(visual, 0);
    if (!visualMesh) {
        // The class mesh is there and the visual exists, yet the host gives no instance of it: the host
        // draws through a graphics client, and the haze has nothing to be drawn in.
        if (meshAdded)
            refuseAddon(graphicsClientMessage);
        return false;
    }
    mesh = visualMesh;
    for (int i = 0; i < carrierGroupCount; ++i) {
        groupCache[i] = oapiMeshGroup(mesh, static_cast<DWORD>(i));
        if (!groupCache[i])
            return false;
    }
    materialCache = oapiMeshMaterial(mesh, 0);
    if (!materialCache)
        return false;
    // A later fetch for the same visual (taking the engine over again) finds the engine's pointers
    // in the groups: only the first one sees the host's own.
    if (!hostArraysKept) {
        for (int i = 0; i < carrierGroupCount; ++i) {
            const MESHGROUP& g = *groupCache[i];
            hostArrays[i] = HostGroupArrays {g.Vtx, g.Idx, g.nVtx, g.nIdx};
        }
        hostArraysKept = true;
    }

    // The host's records have the mirrors' layout (RecordChecks.cpp).
    for (int i = 0; i < carrierGroupCount; ++i)
        frame.groups[i] = reinterpret_cast<HostMeshGroup*>(groupCache[i]);
    frame.material = reinterpret_cast<HostMaterial*>(materialCache);
    frame.groupsFetched = 1;
    fetchGroups = 0;
    return true;
}

void HazeCarrier::handGroupsBack()
{
    if (!hostArraysKept)
        return;
    for (int i = 0; i < carrierGroupCount; ++i) {
        MESHGROUP& g = *groupCache[i];
        g.Vtx = hostArrays[i].vtx;
        g.Idx = hostArrays[i].idx;
        g.nVtx = hostArrays[i].nVtx;
        g.nIdx = hostArrays[i].nIdx;
    }
    hostArraysKept = false;
}

void HazeCarrier::fillFrame(const VESSEL* focus)
{
    const OBJHANDLE body = focus->GetSurfaceRef();
    frame.body = body;
    frame.carrier = GetHandle();

    std::memset(frame.bodyName, 0, sizeof frame.bodyName);
    oapiGetObjectName(body, frame.bodyName, frameBodyNameSize);

    VECTOR3 bodyPos = _V(0, 0, 0);
    VECTOR3 cameraPos = _V(0, 0, 0);
    oapiGetGlobalPos(body, &bodyPos);
    oapiCameraGlobalPos(&cameraPos);
    frame.bodyPos = toHost(bodyPos);
    frame.cameraRel = toHost(cameraPos - bodyPos);

    frame.bodyAxisX = toHost(equToGlobal(body, 0.0, 0.0, 1.0));
    frame.bodyAxisZ = toHost(equToGlobal(body, 0.0, rightAngle, 1.0));
    frame.bodyAxisY = toHost(equToGlobal(body, rightAngle, 0.0, 1.0));
}

bool HazeCarrier::reanchor(VESSELSTATUS2& status, const VESSEL* focus)
{
    if (reanchorCarrier(this, status, focus))
        return true;
    oapiDeleteVessel(GetHandle(), nullptr);
    return false;
}
