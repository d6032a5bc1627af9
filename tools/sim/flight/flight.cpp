#include "flight.h"

#include "blockgroup.h"
#include "facetray.h"

#include <hostsim/hostsim.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <set>
#include <sys/stat.h>

namespace skysim {

const char* const carrierClass = "HazeCarrier";

namespace {

const char* const focusName = "Explorer";

bool fileExists(const std::string& p)
{
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// R_y(a) in the host's matrix form: rows (cos a, 0, -sin a; 0, 1, 0; sin a, 0, cos a). A body's
// rotation a time dt later is R(t) R_y(rate dt).
MATRIX3 rotY(double a)
{
    const double c = std::cos(a), s = std::sin(a);
    return _M(c, 0, -s, 0, 1, 0, s, 0, c);
}

MATRIX3 mul3(const MATRIX3& a, const MATRIX3& b)
{
    MATRIX3 r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            double s = 0;
            for (int k = 0; k < 3; ++k)
                s += a.data[3 * i + k] * b.data[3 * k + j];
            r.data[3 * i + j] = s;
        }
    }
    return r;
}

// Euler angles of VESSELSTATUS2::arot for a vessel-to-global rotation (R = Rx(a) Ry(b) Rz(g) in the
// host's matrix forms).
VECTOR3 arotOf(const MATRIX3& r)
{
    return _V(std::atan2(r.m23, r.m33), -std::asin(std::fmax(-1.0, std::fmin(1.0, r.m13))), std::atan2(r.m12, r.m11));
}

// The later hosts' arot of a landed vessel upright in the local horizon at (lng, lat), heading 0:
// the Euler angles of the horizon's axes against the planet's frame.
VECTOR3 horizonArot(double lng, double lat)
{
    const double sinLng = std::sin(lng), cosLng = std::cos(lng);
    const double sinLat = std::sin(lat), cosLat = std::cos(lat);
    return _V(std::atan2(cosLat, -sinLat * sinLng), std::asin(std::fmax(-1.0, std::fmin(1.0, cosLng * sinLat))),
        std::atan2(cosLng * cosLat, -sinLng));
}

VECTOR3 equToLocal(double lng, double lat, double rad)
{
    return _V(rad * std::cos(lat) * std::cos(lng), rad * std::sin(lat), rad * std::cos(lat) * std::sin(lng));
}

VECTOR3 globalPosOf(OBJHANDLE h)
{
    VECTOR3 p = _V(0, 0, 0);
    if (h)
        oapiGetGlobalPos(h, &p);
    return p;
}

MATRIX3 rotationOf(OBJHANDLE h)
{
    MATRIX3 r = _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
    if (h)
        oapiGetRotationMatrix(h, &r);
    return r;
}

} // namespace

// The plug-in must be there; a missing engine is the plug-in's own failure to report, and a flight
// may be flown to watch it do so.
bool rootHasAddon(const std::string& dir)
{
    return fileExists(dir + "/modules/plugin/skyveil.dll");
}

Flight::Flight() = default;

Flight::~Flight()
{
    end();
}

void Flight::end()
{
    session_.reset();
    bodies_.clear();
    focus_ = nullptr;
    lastCarrier_ = nullptr;
    messages_.clear();
    messagesTold_ = 0;
}

OBJHANDLE Flight::body(const std::string& name) const
{
    for (const auto& b : bodies_) {
        if (b.first == name)
            return b.second;
    }
    return nullptr;
}

bool Flight::begin(const Scenario& s, const std::string& rootTemplate, bool withAddon, std::string& err, bool keepRoot)
{
    end();
    scenario_ = s;
    if (s.path.empty() || s.steps < 1) {
        err = "the scenario has no path";
        return false;
    }
    if (withAddon && !rootHasAddon(rootTemplate)) {
        err = "no add-on in the root tree '" + rootTemplate
            + "' (expected modules/plugin/skyveil.dll and modules/veilcore.dll: build the project first, or "
              "give --root)";
        return false;
    }
    const std::string root = hostsim::makeTempRoot(withAddon ? rootTemplate : std::string());
    if (root.empty()) {
        err = "could not create a temporary root tree";
        return false;
    }
    rootDir_ = root;
    session_ = std::make_unique<hostsim::Session>(root, !keepRoot);
    for (const std::string& name : s.bodies) {
        const hostsim::BodySpec spec = hostsim::bodyPreset(name);
        if (spec.name.empty()) {
            err = "unknown body '" + name + "' (the stand-in simulator knows Earth, Moon and Mars)";
            end();
            return false;
        }
        bodies_.emplace_back(name, hostsim::addBody(spec));
    }
    hostsim::setTimeAcceleration(s.timeAcceleration);
    hostsim::setTimeStep(s.stepLength / s.timeAcceleration);
    // The host as the scenario has it, before anything stands on the ground.
    if (s.hostVersion > 0)
        hostsim::setOrbiterVersion(s.hostVersion);
    hostsim::setTerrain(s.terrain != 0);
    if (s.graphics == 1 && !hostsim::setGraphicsClient(true)) {
        err = "a graphics client needs a host version of 100000 or more";
        end();
        return false;
    }

    const Place p0 = placeAt(0, 0);
    OBJHANDLE b0 = body(p0.point.body);
    if (p0.landed)
        focus_ = hostsim::createLanded(focusName, "", b0, p0.point.longitude, p0.point.latitude, 0.0);
    else
        focus_ = hostsim::createFree(focusName, "", b0, p0.pos - globalPosOf(b0), _V(0, 0, 0));
    if (!focus_ || !hostsim::setFocus(focus_)) {
        err = "could not create the focus vessel: " + hostsim::lastError();
        end();
        return false;
    }
    if (s.camera == CameraMode::Cockpit)
        hostsim::setCameraCockpit();
    aimCamera(p0.point, 0);

    if (withAddon) {
        hostsim::clearMessages();
        if (!hostsim::loadPlugin("skyveil")) {
            err = "the stand-in simulator could not load the add-on: " + hostsim::lastError();
            end();
            return false;
        }
        messages_ = newAddonMessages();
    }
    return true;
}

std::vector<std::string> Flight::addonLogLines() const
{
    std::vector<std::string> lines;
    for (const std::string& line : hostsim::logLines()) {
        if (line.rfind("skyveil", 0) == 0)
            lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Flight::newAddonMessages()
{
    std::vector<std::string> fresh;
    const std::vector<hostsim::Message>& shown = hostsim::messages();
    for (; messagesTold_ < shown.size(); ++messagesTold_)
        fresh.push_back(shown[messagesTold_].caption + ": " + shown[messagesTold_].text);
    return fresh;
}

Flight::Place Flight::placeAt(double k, double dtAhead) const
{
    Place p;
    p.point = samplePath(scenario_, k, [this](const std::string& name) { return oapiGetSize(body(name)); });
    OBJHANDLE b = body(p.point.body);
    const double radius = oapiGetSize(b);
    p.landed = p.point.landed;
    p.loc = equToLocal(p.point.longitude, p.point.latitude, radius + p.point.altitude);
    const hostsim::BodySpec spec = hostsim::bodyPreset(p.point.body);
    const double rate = spec.siderealPeriod > 0 ? 2.0 * 3.14159265358979323846 / spec.siderealPeriod : 0.0;
    const MATRIX3 r = mul3(rotationOf(b), rotY(rate * dtAhead));
    p.pos = globalPosOf(b) + mul(r, p.loc);
    return p;
}

void Flight::aimCamera(const PathPoint& p, int step)
{
    const ViewChange view = viewAt(scenario_, step);
    hostsim::setCameraAperture(0.5 * view.fieldOfView * 3.14159265358979323846 / 180.0);
    if (scenario_.camera != CameraMode::External)
        return;
    if (view.mode == ViewMode::Planet) {
        // Straight above the vessel, looking down past it at the body's centre.
        hostsim::setCameraExternal(40.0, _V(0, 1, 0));
        return;
    }
    // Behind and above the vessel, looking down by the horizon's dip: the limb stays in the picture
    // from orbit, and from low altitude the view runs along the ground under the shell.
    const double radius = oapiGetSize(body(p.body));
    const double dip = radius > 0 ? std::acos(radius / (radius + std::fmax(0.0, p.altitude))) : 0.0;
    hostsim::setCameraExternal(40.0, _V(0, std::sin(dip), -std::cos(dip)));
}

double Flight::fly(int k)
{
    const double dt = scenario_.stepLength;
    // The step's callbacks run after the clock has advanced by one step.
    const Place here = placeAt(k, dt);
    const Place next = placeAt(k + 1, 2 * dt);
    OBJHANDLE b = body(here.point.body);
    VESSELSTATUS2 vs = {};
    vs.version = 2;
    vs.rbody = b;
    VESSEL* focus = oapiGetVesselInterface(focus_);
    if (here.landed) {
        vs.status = 1;
        vs.surf_lng = here.point.longitude;
        vs.surf_lat = here.point.latitude;
        vs.surf_hdg = 0.0;
        // Read by the later hosts alone: upright, facing north, standing as the 2006 host stands it.
        vs.arot = horizonArot(vs.surf_lng, vs.surf_lat);
        vs.vrot.x = focus ? focus->GetCOG_elev() : 0.0;
    } else {
        const VECTOR3 bodyPos = globalPosOf(b);
        const VECTOR3 up = unit(here.pos - bodyPos);
        VECTOR3 vel = _V(0, 0, 0);
        VECTOR3 fwd = _V(0, 0, 0);
        if (next.point.body == here.point.body) {
            vel = (next.pos - here.pos) * (1.0 / dt);
            // Nose along the motion over the ground (the body's turning is not flight).
            const MATRIX3 r = rotationOf(b);
            fwd = mul(r, next.loc - here.loc);
        }
        fwd = fwd - up * dotp(fwd, up);
        if (length(fwd) < 1e-9 * std::fmax(1.0, length(here.loc))) {
            // Standing or climbing straight up: face north.
            const VECTOR3 north = mul(rotationOf(b), _V(0, 1, 0));
            fwd = north - up * dotp(north, up);
            if (length(fwd) < 1e-9)
                fwd = crossp(up, _V(1, 0, 0));
        }
        fwd = unit(fwd);
        const VECTOR3 right = crossp(up, fwd); // x = y x z in the host's left-handed vessel frame
        const MATRIX3 rot = _M(right.x, up.x, fwd.x, right.y, up.y, fwd.y, right.z, up.z, fwd.z);
        vs.status = 0;
        vs.rpos = here.pos - bodyPos;
        vs.rvel = vel;
        vs.arot = arotOf(rot);
    }
    if (focus)
        focus->DefSetStateEx(&vs);
    aimCamera(here.point, k);

    const auto t0 = std::chrono::steady_clock::now();
    hostsim::step();
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(t1 - t0).count();
}

OBJHANDLE Flight::carrier() const
{
    for (OBJHANDLE h : hostsim::vessels()) {
        const hostsim::VesselView v = hostsim::vessel(h);
        if (v.className == carrierClass && !v.pendingDeletion)
            return h;
    }
    return nullptr;
}

std::vector<double> Flight::shellPoints() const
{
    std::vector<double> pts;
    const OBJHANDLE c = carrier();
    MESHHANDLE mesh = c ? hostsim::visualMesh(c, 0) : nullptr;
    if (!mesh)
        return pts;
    const hostsim::VesselView cv = hostsim::vessel(c);
    const VECTOR3 bodyPos = globalPosOf(hostsim::vessel(focus_).body);
    const unsigned n = hostsim::groupCount(mesh);
    for (unsigned i = 0; i < n; ++i) {
        const MESHGROUP* g = hostsim::group(mesh, i);
        if (!g || !isBlock(*g))
            continue;
        for (DWORD k = 0; k < g->nVtx; ++k) {
            const VECTOR3 p = placedVertex(cv.pos, cv.rot, g->Vtx[k]) - bodyPos;
            pts.insert(pts.end(), {p.x, p.y, p.z});
        }
    }
    return pts;
}

namespace {

// Height over the ground of the block vertex nearest in angle to `up` (from the body's centre), among
// the block groups of the mesh; false without a block.
bool nearestVertexHeight(MESHHANDLE mesh, const hostsim::VesselView& cv, const VECTOR3& bodyPos, double radius,
    const VECTOR3& up, double& height)
{
    double best = -2;
    const MESHGROUP* under = nullptr;
    const unsigned n = hostsim::groupCount(mesh);
    for (unsigned i = 0; i < n; ++i) {
        const MESHGROUP* g = hostsim::group(mesh, i);
        if (!g || !isBlock(*g))
            continue;
        const double cosang = dotp(unit(placedVertex(cv.pos, cv.rot, g->Vtx[blockCentreVertex]) - bodyPos), up);
        if (cosang > best) {
            best = cosang;
            under = g;
        }
    }
    if (!under)
        return false;
    best = -2;
    for (DWORD i = 0; i < blockVertexCount; ++i) {
        const VECTOR3 p = placedVertex(cv.pos, cv.rot, under->Vtx[i]) - bodyPos;
        const double cosang = dotp(unit(p), up);
        if (cosang > best) {
            best = cosang;
            height = length(p) - radius;
        }
    }
    return true;
}

// Height over the ground of the drawn shell straight over the vessel: the outermost crossing of the
// ray from the body's centre along `up` with the triangles of the mesh's block groups as they stand,
// placed by the carrier; false where the ray crosses none. The mesh file's own groups, drawn until the
// engine first fills the mesh, and the placeholders are no part of the shell.
bool drawnShellHeight(MESHHANDLE mesh, const hostsim::VesselView& cv, const VECTOR3& bodyPos, double radius,
    const VECTOR3& up, double& height)
{
    std::vector<double> xyz;
    const double dir[3] = {up.x, up.y, up.z};
    double outermost = -1;
    const unsigned n = hostsim::groupCount(mesh);
    for (unsigned i = 0; i < n; ++i) {
        const MESHGROUP* g = hostsim::group(mesh, i);
        if (!g || !isBlock(*g))
            continue;
        xyz.clear();
        for (DWORD k = 0; k < g->nVtx; ++k) {
            const VECTOR3 p = placedVertex(cv.pos, cv.rot, g->Vtx[k]) - bodyPos;
            xyz.insert(xyz.end(), {p.x, p.y, p.z});
        }
        outermost = std::max(outermost, outermostCrossing(xyz.data(), g->nVtx, g->Idx, g->nIdx, dir));
    }
    if (outermost < 0)
        return false;
    height = outermost * length(up) - radius;
    return true;
}

// What the carrier's visual mesh shows: block groups, distinct blocks, the haze, and the drawn shell
// over the observer (`up`, from the body's centre).
void observeMesh(MESHHANDLE mesh, const hostsim::VesselView& cv, const VECTOR3& bodyPos, double radius,
    const VECTOR3& up, TraceRow& r)
{
    std::set<const NTVERTEX*> blocks;
    const unsigned n = hostsim::groupCount(mesh);
    for (unsigned i = 0; i < n; ++i) {
        const MESHGROUP* g = hostsim::group(mesh, i);
        if (!g || !isBlock(*g))
            continue;
        ++r.groupsDrawn;
        blocks.insert(g->Vtx);
    }
    r.leaves = int(blocks.size());
    const MATERIAL* mat = hostsim::material(mesh, 0);
    r.haze = (mat && r.groupsDrawn > 0) ? mat->ambient.a : 0.0;
    r.hasShellVertex = nearestVertexHeight(mesh, cv, bodyPos, radius, up, r.shellVertexAltitude);
    r.hasShell = drawnShellHeight(mesh, cv, bodyPos, radius, up, r.shellAltitude);
}

} // namespace

TraceRow Flight::observe(int k)
{
    TraceRow r;
    r.step = k;
    r.time = hostsim::simTime();
    r.addonUs = hostsim::addonTimeLastStep();
    const hostsim::VesselView fv = hostsim::vessel(focus_);
    for (const auto& b : bodies_) {
        if (b.second == fv.body)
            r.body = b.first;
    }
    r.altitude = fv.altitude;
    const VECTOR3 bodyPos = globalPosOf(fv.body);
    const double radius = fv.body ? oapiGetSize(fv.body) : 0.0;
    r.cameraRadii = radius > 0 ? length(hostsim::camera().pos - bodyPos) / radius : 0.0;

    const OBJHANDLE c = carrier();
    r.carrier = c != nullptr;
    if (c) {
        const hostsim::VesselView cv = hostsim::vessel(c);
        MESHHANDLE mesh = hostsim::visualMesh(c, 0);
        MESHHANDLE flagMesh = mesh ? mesh : hostsim::meshTemplate(c, 0);
        r.alphaFlag = flagMesh ? int(hostsim::meshProperty(flagMesh, MESHPROPERTY_MODULATEMATALPHA)) : -1;
        if (mesh)
            observeMesh(mesh, cv, bodyPos, radius, unit(fv.pos - bodyPos), r);
        r.shadowGroups = int(hostsim::drawStats(c).shadowGroups);
        noteReanchor(c, cv.lng, cv.lat, cv.body, r);
    }
    lastCarrier_ = c;
    return r;
}

void Flight::noteReanchor(OBJHANDLE c, double lng, double lat, OBJHANDLE body, TraceRow& r)
{
    // The simulator derives a landed vessel's angles from its position afresh each time; below this
    // the difference is rounding, not a move.
    const double moved = std::fmax(std::fabs(normangle(lng - lastLng_)), std::fabs(lat - lastLat_));
    r.reanchor = c == lastCarrier_ && (moved > 1e-9 || body != lastCarrierBody_);
    lastLng_ = lng;
    lastLat_ = lat;
    lastCarrierBody_ = body;
}

SceneView Flight::scene() const
{
    SceneView v;
    const hostsim::VesselView fv = hostsim::vessel(focus_);
    const hostsim::CameraView cam = hostsim::camera();
    v.camPos = cam.pos;
    v.camDir = cam.dir;
    v.aperture = cam.aperture > 0 ? cam.aperture : v.aperture;
    v.bodyPos = globalPosOf(fv.body);
    v.bodyRot = rotationOf(fv.body);
    v.bodyRadius = fv.body ? oapiGetSize(fv.body) : 0.0;
    if (const ATMCONST* atm = fv.body ? oapiGetPlanetAtmConstants(fv.body) : nullptr)
        v.bodyAtm = *atm;
    for (const auto& b : bodies_) {
        if (b.second == fv.body)
            v.bodyName = b.first;
    }
    // Level with the horizon: up is away from the body's centre; looking straight down, north is up.
    v.camUp = unit(cam.pos - v.bodyPos);
    if (std::fabs(dotp(v.camUp, unit(v.camDir))) > 0.99)
        v.camUp = mul(v.bodyRot, _V(0, 1, 0));
    v.observerPos = fv.pos;
    const OBJHANDLE c = carrier();
    for (const hostsim::DrawItem& item : hostsim::drawList()) {
        SceneGroup g;
        g.group = item.group;
        g.material = item.material;
        g.pos = item.pos;
        g.rot = item.rot;
        g.vesselPos = item.vesselPos;
        g.carrier = c && item.vessel == c;
        v.groups.push_back(g);
    }
    return v;
}

} // namespace skysim
