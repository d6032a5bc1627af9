// VESSEL: the interface class that modules use to reach their vessel in the stand-in.
#include "addontime.h"
#include "generation.h"
#include "geometry.h"
#include "lifecycle.h"
#include "mesh.h"
#include "terrain.h"
#include "vesselstatus.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace hostsim;

// Counts the call and finds the live vessel behind this interface (null if it is gone).
#define VESSEL_ENTRY(fn)                                                                                               \
    HOSTSIM_COUNT("VESSEL::" fn);                                                                                      \
    [[maybe_unused]] Vessel* v = hostsim::liveVessel(vessel)

// A number of the vessel's record that the SDK reads and writes through a member pair: a stale
// interface reads 0 and writes nothing, and a value the host would refuse (`accepts` false for
// `value`) leaves the record as it is.
#define VESSEL_SCALAR_PROPERTY(Getter, Setter, field, accepts)                                                         \
    double VESSEL::Getter() const                                                                                      \
    {                                                                                                                  \
        VESSEL_ENTRY(#Getter);                                                                                         \
        return v ? v->field : 0.0;                                                                                     \
    }                                                                                                                  \
    void VESSEL::Setter(double value) const                                                                            \
    {                                                                                                                  \
        VESSEL_ENTRY(#Setter);                                                                                         \
        if (v && (accepts))                                                                                            \
            v->field = value;                                                                                          \
    }

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel)
    : vessel(static_cast<Vessel*>(hVessel))
    , flightmodel(static_cast<short>(fmodel))
    , version(0)
{
    HOSTSIM_COUNT("VESSEL::VESSEL");
}

// ----- Identity -------------------------------------------------------------------------------------

const OBJHANDLE VESSEL::GetHandle() const
{
    VESSEL_ENTRY("GetHandle");
    return v;
}

char* VESSEL::GetName() const
{
    VESSEL_ENTRY("GetName");
    return v ? &v->name[0] : nullptr;
}

char* VESSEL::GetClassName() const
{
    VESSEL_ENTRY("GetClassName");
    return v && v->hasClassName ? &v->className[0] : nullptr;
}

bool VESSEL::GetEnableFocus() const
{
    VESSEL_ENTRY("GetEnableFocus");
    return v && v->enableFocus;
}

void VESSEL::SetEnableFocus(bool enable) const
{
    VESSEL_ENTRY("SetEnableFocus");
    if (v)
        v->enableFocus = enable;
}

// ----- Size, visibility, camera ---------------------------------------------------------------------

// A size must be positive; the clip radius is taken as given.
VESSEL_SCALAR_PROPERTY(GetSize, SetSize, size, value > 0)
VESSEL_SCALAR_PROPERTY(GetClipRadius, SetClipRadius, clipRadius, true)

void VESSEL::SetVisibilityLimit(double vislimit, double spotlimit) const
{
    VESSEL_ENTRY("SetVisibilityLimit");
    if (!v)
        return;
    v->visLimit = vislimit;
    v->spotLimit = spotlimit >= 0 ? spotlimit : vislimit;
}

void VESSEL::SetCameraOffset(const VECTOR3& co) const
{
    VESSEL_ENTRY("SetCameraOffset");
    if (v)
        v->cameraOffset = co;
}

// ----- Mass and inertia -----------------------------------------------------------------------------

// The empty mass must be positive.
VESSEL_SCALAR_PROPERTY(GetEmptyMass, SetEmptyMass, emptyMass, value > 0)

double VESSEL::GetMass() const
{
    VESSEL_ENTRY("GetMass");
    return v ? v->mass() : 0.0;
}

void VESSEL::GetPMI(VECTOR3& pmi) const
{
    VESSEL_ENTRY("GetPMI");
    pmi = v ? v->pmi : _V(0, 0, 0);
}

void VESSEL::SetPMI(const VECTOR3& pmi) const
{
    VESSEL_ENTRY("SetPMI");
    if (v)
        v->pmi = pmi;
}

// ----- Touchdown points -----------------------------------------------------------------------------

void VESSEL::SetTouchdownPoints(const TOUCHDOWNVTX* tdvtx, DWORD ntdvtx) const
{
    VESSEL_ENTRY("SetTouchdownPoints");
    if (!v || !tdvtx || ntdvtx < 3)
        return;
    v->touchdown.assign(tdvtx, tdvtx + ntdvtx);
    v->refreshLanded();
}

void VESSEL::SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const
{
    VESSEL_ENTRY("SetTouchdownPoints");
    if (!v)
        return;
    // The three-point form derives the suspension from the empty mass, as the host does.
    const double k = v->emptyMass == 1000 ? 1e6 : v->emptyMass * 20;
    const VECTOR3 pts[3] = {pt1, pt2, pt3};
    v->touchdown.assign(3, TOUCHDOWNVTX {});
    for (int i = 0; i < 3; ++i) {
        v->touchdown[i].pos = pts[i];
        v->touchdown[i].stiffness = k;
        v->touchdown[i].damping = 0.1 * k;
        v->touchdown[i].mu = 3;
        v->touchdown[i].mu_lng = 0.2;
    }
    v->refreshLanded();
}

void VESSEL::GetTouchdownPoints(VECTOR3& pt1, VECTOR3& pt2, VECTOR3& pt3) const
{
    VESSEL_ENTRY("GetTouchdownPoints");
    VECTOR3* out[3] = {&pt1, &pt2, &pt3};
    for (int i = 0; i < 3; ++i)
        *out[i] = v && v->touchdown.size() > std::size_t(i) ? v->touchdown[i].pos : _V(0, 0, 0);
}

DWORD VESSEL::GetTouchdownPointCount() const
{
    VESSEL_ENTRY("GetTouchdownPointCount");
    return v ? DWORD(v->touchdown.size()) : 0;
}

double VESSEL::GetCOG_elev() const
{
    VESSEL_ENTRY("GetCOG_elev");
    return v ? v->touchdownElevation() : 0.0;
}

// ----- State ----------------------------------------------------------------------------------------

void VESSEL::GetStatus(VESSELSTATUS& status) const
{
    VESSEL_ENTRY("GetStatus");
    std::memset(&status, 0, sizeof status);
    if (v)
        fillStatus1(*v, status);
}

void VESSEL::GetStatusEx(void* status) const
{
    VESSEL_ENTRY("GetStatusEx");
    if (!v || !status)
        return;
    auto* st = static_cast<VESSELSTATUS2*>(status);
    if (st->version == 2)
        fillStatus2(*v, *st);
}

void VESSEL::DefSetStateEx(const void* status) const
{
    VESSEL_ENTRY("DefSetStateEx");
    if (!v || !status)
        return;
    const auto* st = static_cast<const VESSELSTATUS2*>(status);
    if (st->version == 2)
        applyStatus2(*v, *st);
}

DWORD VESSEL::GetFlightStatus() const
{
    VESSEL_ENTRY("GetFlightStatus");
    return v && v->landed ? 1u : 0u;
}

void VESSEL::GetGlobalPos(VECTOR3& pos) const
{
    VESSEL_ENTRY("GetGlobalPos");
    pos = v ? v->globalPos() : _V(0, 0, 0);
}

void VESSEL::GetGlobalVel(VECTOR3& vel) const
{
    VESSEL_ENTRY("GetGlobalVel");
    vel = v ? v->globalVel() : _V(0, 0, 0);
}

void VESSEL::GetRelativePos(OBJHANDLE hRef, VECTOR3& pos) const
{
    VESSEL_ENTRY("GetRelativePos");
    pos = _V(0, 0, 0);
    if (!v)
        return;
    if (Body* b = findBody(hRef))
        pos = v->globalPos() - b->pos;
    else if (Vessel* o = findVessel(hRef))
        pos = v->globalPos() - o->globalPos();
}

void VESSEL::GetAngularVel(VECTOR3& avel) const
{
    VESSEL_ENTRY("GetAngularVel");
    avel = v ? v->angularVel() : _V(0, 0, 0);
}

void VESSEL::GetRotationMatrix(MATRIX3& R) const
{
    VESSEL_ENTRY("GetRotationMatrix");
    R = v ? v->rotation() : identity();
}

void VESSEL::GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const
{
    VESSEL_ENTRY("GlobalRot");
    rglob = v ? mul(v->rotation(), rloc) : rloc;
}

void VESSEL::HorizonRot(const VECTOR3& rloc, VECTOR3& rhorizon) const
{
    VESSEL_ENTRY("HorizonRot");
    rhorizon = rloc;
    if (!v)
        return;
    Body* b = v->surfaceRef();
    if (!b)
        return;
    double lng, lat, rad;
    v->equPos(*b, lng, lat, rad);
    const MATRIX3 h2g = mul(bodyRotation(*b, world().simt), horizonToBody(lng, lat));
    rhorizon = tmul(h2g, mul(v->rotation(), rloc));
}

void VESSEL::Local2Global(const VECTOR3& local, VECTOR3& global) const
{
    VESSEL_ENTRY("Local2Global");
    global = v ? mul(v->rotation(), local) + v->globalPos() : local;
}

void VESSEL::Global2Local(const VECTOR3& global, VECTOR3& local) const
{
    VESSEL_ENTRY("Global2Local");
    local = v ? tmul(v->rotation(), global - v->globalPos()) : global;
}

// ----- Orbit and surface ----------------------------------------------------------------------------

namespace {

// Periapsis and apoapsis distances of the osculating orbit about body b.
void apsides(const Vessel& v, const Body& b, double& pe, double& ap)
{
    const double mu = GGRAV * b.mass;
    const VECTOR3 r = v.globalPos() - b.pos;
    const VECTOR3 u = v.globalVel() - b.vel;
    const double rl = length(r);
    if (mu <= 0 || rl <= 0) {
        pe = ap = rl;
        return;
    }
    const double energy = dotp(u, u) / 2 - mu / rl;
    const VECTOR3 h = crossp(r, u);
    const double e = std::sqrt(std::max(0.0, 1 + 2 * energy * dotp(h, h) / (mu * mu)));
    const double p = dotp(h, h) / mu; // semi-latus rectum
    pe = p / (1 + e);
    ap = e < 1 ? p / (1 - e) : -p / (e - 1); // negative for open orbits (a < 0)
}

// The apsides of v's orbit about its surface reference, which it returns; null (both distances 0)
// for a vessel without one.
Body* apsidesAboutReference(const Vessel* v, double& pe, double& ap)
{
    pe = ap = 0;
    Body* b = v ? v->surfaceRef() : nullptr;
    if (b)
        apsides(*v, *b, pe, ap);
    return b;
}

} // namespace

OBJHANDLE VESSEL::GetPeDist(double& pedist) const
{
    VESSEL_ENTRY("GetPeDist");
    double ap;
    return apsidesAboutReference(v, pedist, ap);
}

OBJHANDLE VESSEL::GetApDist(double& apdist) const
{
    VESSEL_ENTRY("GetApDist");
    double pe;
    return apsidesAboutReference(v, pe, apdist);
}

const OBJHANDLE VESSEL::GetSurfaceRef() const
{
    VESSEL_ENTRY("GetSurfaceRef");
    return v ? v->surfaceRef() : nullptr;
}

const OBJHANDLE VESSEL::GetAtmRef() const
{
    VESSEL_ENTRY("GetAtmRef");
    Body* b = v ? v->surfaceRef() : nullptr;
    if (!b || !b->hasAtm || v->altitude() > b->atm.altlimit)
        return nullptr;
    return b;
}

double VESSEL::GetAltitude() const
{
    VESSEL_ENTRY("GetAltitude");
    return v ? v->altitude() : 0.0;
}

double VESSEL::GetAltitude(AltitudeMode mode, int* reslvl)
{
    VESSEL_ENTRY("GetAltitude");
    if (reslvl)
        *reslvl = 0;
    if (!v)
        return 0.0;
    return mode == ALTMODE_GROUND ? v->altitudeOverGround() : v->altitude();
}

namespace {

// The local vertical (pointing away from the surface reference) in vessel axes.
VECTOR3 upInVessel(const Vessel& v)
{
    const Body* b = v.surfaceRef();
    if (!b)
        return _V(0, 1, 0);
    return unit(tmul(v.rotation(), v.globalPos() - b->pos));
}

} // namespace

double VESSEL::GetPitch() const
{
    VESSEL_ENTRY("GetPitch");
    return v ? std::asin(std::max(-1.0, std::min(1.0, upInVessel(*v).z))) : 0.0;
}

double VESSEL::GetBank() const
{
    VESSEL_ENTRY("GetBank");
    if (!v)
        return 0.0;
    const VECTOR3 up = upInVessel(*v);
    return std::atan2(up.x, up.y);
}

double VESSEL::GetYaw() const
{
    VESSEL_ENTRY("GetYaw");
    return v ? normangle(v->heading()) : 0.0;
}

double VESSEL::GetSurfaceElevation() const
{
    VESSEL_ENTRY("GetSurfaceElevation");
    return v ? v->altitude() - v->altitudeOverGround() : 0.0;
}

OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude, double& radius) const
{
    VESSEL_ENTRY("GetEquPos");
    longitude = latitude = radius = 0;
    Body* b = v ? v->surfaceRef() : nullptr;
    if (!b)
        return nullptr;
    v->equPos(*b, longitude, latitude, radius);
    return b;
}

// ----- Airspeed -------------------------------------------------------------------------------------

double VESSEL::GetAirspeed() const
{
    VESSEL_ENTRY("GetAirspeed");
    return v ? length(v->airspeedGlobal()) : 0.0;
}

namespace {

bool airspeedIn(const Vessel* v, REFFRAME frame, VECTOR3& vec)
{
    vec = _V(0, 0, 0);
    if (!v)
        return false;
    const VECTOR3 g = v->airspeedGlobal();
    Body* b = v->surfaceRef();
    switch (frame) {
    case FRAME_GLOBAL:
        vec = g;
        return true;
    case FRAME_LOCAL:
        vec = tmul(v->rotation(), g);
        return true;
    case FRAME_REFLOCAL:
        if (!b)
            return false;
        vec = tmul(bodyRotation(*b, world().simt), g);
        return true;
    case FRAME_HORIZON: {
        if (!b)
            return false;
        double lng, lat, rad;
        v->equPos(*b, lng, lat, rad);
        vec = tmul(mul(bodyRotation(*b, world().simt), horizonToBody(lng, lat)), g);
        return true;
    }
    }
    return false;
}

} // namespace

bool VESSEL::GetAirspeedVector(REFFRAME frame, VECTOR3& vec) const
{
    VESSEL_ENTRY("GetAirspeedVector");
    return airspeedIn(v, frame, vec);
}

bool VESSEL::GetHorizonAirspeedVector(VECTOR3& vec) const
{
    VESSEL_ENTRY("GetHorizonAirspeedVector");
    return airspeedIn(v, FRAME_HORIZON, vec);
}

bool VESSEL::GetShipAirspeedVector(VECTOR3& vec) const
{
    VESSEL_ENTRY("GetShipAirspeedVector");
    return airspeedIn(v, FRAME_LOCAL, vec);
}

double VESSEL::GetAOA() const
{
    VESSEL_ENTRY("GetAOA");
    if (!v)
        return 0.0;
    const VECTOR3 a = tmul(v->rotation(), v->airspeedGlobal());
    return -std::atan2(a.y, a.z);
}

// ----- Controls and forces --------------------------------------------------------------------------

void VESSEL::SetADCtrlMode(DWORD mode) const
{
    VESSEL_ENTRY("SetADCtrlMode");
    if (!v)
        return;
    v->adCtrlMode = mode;
    if (VESSEL2* cb = v->callbacks()) {
        hostsim::AddonScope addon(v->fromModule);
        cb->clbkADCtrlMode(mode);
    }
}

namespace {

void setCtrlLevel(Vessel* v, AIRCTRL_TYPE type, double level, bool direct)
{
    const int t = static_cast<int>(type);
    if (!v || t < 0 || t > 5)
        return;
    level = std::max(-1.0, std::min(1.0, level));
    v->ctrlTarget[t] = level;
    // Otherwise the surface reaches the target during the next step.
    if (direct)
        v->ctrlLevel[t] = level;
}

} // namespace

void VESSEL::SetControlSurfaceLevel(AIRCTRL_TYPE type, double level) const
{
    VESSEL_ENTRY("SetControlSurfaceLevel");
    setCtrlLevel(v, type, level, false);
}

void VESSEL::SetControlSurfaceLevel(AIRCTRL_TYPE type, double level, bool direct) const
{
    VESSEL_ENTRY("SetControlSurfaceLevel");
    setCtrlLevel(v, type, level, direct);
}

double VESSEL::GetControlSurfaceLevel(AIRCTRL_TYPE type) const
{
    VESSEL_ENTRY("GetControlSurfaceLevel");
    const int t = static_cast<int>(type);
    return v && t >= 0 && t <= 5 ? v->ctrlLevel[t] : 0.0;
}

void VESSEL::AddForce(const VECTOR3& F, const VECTOR3& r) const
{
    VESSEL_ENTRY("AddForce");
    (void)r; // no rotational dynamics in the stand-in: the force acts on the centre of mass
    if (v)
        v->pendingForce += mul(v->rotation(), F);
}

// The stand-in's vessels have no thrusters (the interface declares no way to define them), so
// every group is empty: setting a level changes nothing and reading one gives 0, as for an
// undefined group in the host.
void VESSEL::SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const
{
    VESSEL_ENTRY("SetThrusterGroupLevel");
    (void)thg, (void)level;
}

void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const
{
    VESSEL_ENTRY("SetThrusterGroupLevel");
    (void)thgt, (void)level;
}

double VESSEL::GetThrusterGroupLevel(THGROUP_HANDLE thg) const
{
    VESSEL_ENTRY("GetThrusterGroupLevel");
    (void)thg;
    return 0.0;
}

double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE thgt) const
{
    VESSEL_ENTRY("GetThrusterGroupLevel");
    (void)thgt;
    return 0.0;
}

double VESSEL::GetWheelbrakeLevel(int which) const
{
    VESSEL_ENTRY("GetWheelbrakeLevel");
    (void)which;
    return 0.0; // no brake input exists in the stand-in
}

// ----- Meshes ---------------------------------------------------------------------------------------

namespace {

UINT addMeshSlot(Vessel& v, Mesh* tmpl, const VECTOR3* ofs)
{
    MeshSlot slot;
    slot.tmpl = tmpl;
    if (ofs)
        slot.ofs = *ofs;
    v.meshes.push_back(slot);
    // A visual that exists already gets its instance of the new mesh at once.
    if (v.visual)
        v.visual->meshes.push_back(tmpl ? copyMesh(*tmpl) : nullptr);
    return UINT(v.meshes.size() - 1);
}

} // namespace

UINT VESSEL::AddMesh(const char* meshname, const VECTOR3* ofs) const
{
    VESSEL_ENTRY("AddMesh");
    if (!v)
        return UINT(-1);
    return addMeshSlot(*v, meshname ? loadGlobalMesh(meshname) : nullptr, ofs);
}

UINT VESSEL::AddMesh(MESHHANDLE hMesh, const VECTOR3* ofs) const
{
    VESSEL_ENTRY("AddMesh");
    if (!v)
        return UINT(-1);
    return addMeshSlot(*v, usedMesh(hMesh, "VESSEL::AddMesh"), ofs);
}

UINT VESSEL::GetMeshCount() const
{
    VESSEL_ENTRY("GetMeshCount");
    return v ? UINT(v->meshes.size()) : 0;
}

MESHHANDLE VESSEL::GetMesh(VISHANDLE vis, UINT idx) const
{
    VESSEL_ENTRY("GetMesh");
    // The host asks the visual itself, whichever vessel it belongs to; a stale visual is fatal.
    const Visual* visual = usedVisual(vis, "VESSEL::GetMesh");
    if (!visual || idx >= visual->meshes.size())
        return nullptr;
    // A graphics client keeps the visual's meshes to itself.
    if (graphicsClientActive())
        return nullptr;
    return visual->meshes[idx].get();
}

const MESHHANDLE VESSEL::GetMeshTemplate(UINT idx) const
{
    VESSEL_ENTRY("GetMeshTemplate");
    return v && idx < v->meshes.size() ? v->meshes[idx].tmpl : nullptr;
}

void VESSEL::SetMeshVisibilityMode(UINT idx, WORD mode) const
{
    VESSEL_ENTRY("SetMeshVisibilityMode");
    if (v && idx < v->meshes.size())
        v->meshes[idx].visMode = mode;
}

WORD VESSEL::GetMeshVisibilityMode(UINT idx) const
{
    VESSEL_ENTRY("GetMeshVisibilityMode");
    return v && idx < v->meshes.size() ? v->meshes[idx].visMode : WORD(MESHVIS_NEVER);
}

// ----- Scenario -------------------------------------------------------------------------------------

void VESSEL::ParseScenarioLineEx(char* line, void* status) const
{
    VESSEL_ENTRY("ParseScenarioLineEx");
    if (v && line && status)
        parseScenarioLine(line, *static_cast<VESSELSTATUS2*>(status));
}
