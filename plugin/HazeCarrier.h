// The carrier vessel: class HazeCarrier, whose only purpose is to carry the mesh "hazeves" with its
// 1024 groups that the engine rewrites every step, and whose pre-step callback drives the engine.
#pragma once

#include "FrameRecord.h"

#include "Orbitersdk.h"

// Number of groups of the carrier mesh that the engine fills.
const int carrierGroupCount = frameGroupCount;

class HazeCarrier final : public VESSEL2 {
public:
    // Builds the VESSEL2 base with the host's handle and flight model; the first pre-step will be
    // skipped and the groups fetched once a visual exists. alphaModPtr points at alphaModFlag.
    HazeCarrier(OBJHANDLE hVessel, int fmodel);

    // Gives the engine back if this carrier drives it.
    ~HazeCarrier();

    // Size, visibility limits, camera offset, touchdown points 10 km up, and the mesh "hazeves"
    // (visible in external and cockpit views). The configuration file is not read.
    void clbkSetClassCaps(FILEHANDLE cfg) override;

    // The host's standard vessel state only.
    void clbkSaveState(FILEHANDLE scn) override;

    // Hands every scenario line to the host's default parser; the class has no keys of its own.
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;

    // The per-step driver: checks once where a carrier stands, applies the alpha flag, re-anchors on a body change,
    // fetches the visual's groups after a new visual, fills the frame record, calls maincall and re-anchors on request.
    // While another carrier drives the engine, this one stops before the fetch and keeps the mesh
    // file's own groups.
    void clbkPreStep(double simt, double simdt, double mjd) override;

    // A new visual: its mesh's groups are fetched on the next step.
    void clbkVisualCreated(VISHANDLE vis, int refcount) override;

    // The visual is going, and with it the mesh instance the groups came from. First the groups get
    // back the arrays and counts the host gave them, since the host frees what they point at right
    // after this call; then the carrier forgets visual and mesh until the next visual's groups have
    // been fetched, and gives the engine back.
    void clbkVisualDestroyed(VISHANDLE vis, int refcount) override;

private:
    // Lands the vessel at the focus vessel's current longitude and latitude on the focus vessel's
    // reference body, heading 0, with the placement record in use (the 2006 one starts from the given
    // record, modified in place), and checks it. Where the host cannot place it right, the vessel
    // deletes itself and false is returned.
    bool reanchor(VESSELSTATUS2& status, const VESSEL* focus);

    // On the carrier's first step: whether it stands right (one the plug-in did not place, such as a
    // carrier a saved scenario brought along, may not), else re-anchors it under the focus vessel.
    // False once the host has shown it cannot place it.
    bool standsRightOrIsPlaced();

    // Sets the mesh's material-alpha modulation from alphaModFlag (0 or 1; other values do nothing).
    void applyAlphaFlag();

    // Takes the visual's mesh instance, its 1024 groups and material 0. Returns false, leaving
    // fetchGroups set, if any of them is missing; a visual without an instance of the class mesh
    // means a graphics client, and refuses the add-on with one message box.
    bool fetchMeshGroups();

    // Body, carrier, body name, camera position and body axes for this step.
    void fillFrame(const VESSEL* focus);

    // Puts the kept host arrays and counts back into the fetched groups, if any were kept.
    void handGroupsBack();

    // A group's arrays and counts as the host gave them, before the engine pointed it elsewhere.
    struct HostGroupArrays {
        NTVERTEX* vtx;
        WORD* idx;
        DWORD nVtx;
        DWORD nIdx;
    };

    VISHANDLE visual = nullptr;
    int skipFirstStep = 0;
    int lastResult = 0;
    int fetchGroups = 0;
    FrameRecord frame {};
    MESHHANDLE mesh = nullptr;
    MESHGROUP* groupCache[carrierGroupCount] {};
    MATERIAL* materialCache = nullptr;
    HostGroupArrays hostArrays[carrierGroupCount] {};
    bool hostArraysKept = false; // hostArrays hold the current visual's groups, as first fetched
    bool meshAdded = false; // the class mesh was loaded and added in clbkSetClassCaps
    bool placementChecked = false; // the first step has checked where the carrier stands
};
