// hostsim API: vessels, focus and camera.
#include "hostsim/hostsim.h"

#include "camera.h"
#include "lifecycle.h"

namespace hostsim {

namespace {

// Creates the vessel from a status record whose rbody names a body of the world; null otherwise.
OBJHANDLE createOn(const std::string& name, const std::string& className, bool plainClass, VESSELSTATUS2 st)
{
    if (!findBody(st.rbody))
        return nullptr;
    st.version = 2;
    return createVessel(name.c_str(), className.c_str(), plainClass, &st, nullptr);
}

} // namespace

OBJHANDLE createLanded(const std::string& name, const std::string& className, OBJHANDLE body, double lng, double lat,
    double hdg, bool plainClass)
{
    VESSELSTATUS2 st {};
    st.status = 1;
    st.rbody = body;
    st.surf_lng = lng;
    st.surf_lat = lat;
    st.surf_hdg = hdg;
    st.arot.x = 10; // not set: placed by the touchdown points
    return createOn(name, className, plainClass, st);
}

OBJHANDLE createFree(const std::string& name, const std::string& className, OBJHANDLE body, const VECTOR3& rpos,
    const VECTOR3& rvel, const VECTOR3& arot, const VECTOR3& vrot, bool plainClass)
{
    VESSELSTATUS2 st {};
    st.status = 0;
    st.rbody = body;
    st.rpos = rpos;
    st.rvel = rvel;
    st.arot = arot;
    st.vrot = vrot;
    return createOn(name, className, plainClass, st);
}

std::vector<OBJHANDLE> vessels()
{
    return std::vector<OBJHANDLE>(world().vessels.begin(), world().vessels.end());
}

bool isVessel(OBJHANDLE h)
{
    return findVessel(h) != nullptr;
}

bool setFocus(OBJHANDLE vessel)
{
    return changeFocus(findVessel(vessel));
}

VesselView vessel(OBJHANDLE h)
{
    VesselView out;
    Vessel* v = findVessel(h);
    if (!v)
        return out;
    out.name = v->name;
    out.className = v->className;
    out.handle = v;
    out.iface = v->iface;
    out.fromModule = v->fromModule;
    out.landed = v->landed;
    out.pendingDeletion = v->pendingDelete;
    Body* b = v->surfaceRef();
    out.body = b;
    if (b) {
        double rad;
        v->equPos(*b, out.lng, out.lat, rad);
    }
    out.hdg = v->heading();
    out.altitude = v->altitude();
    out.cgelev = v->landed ? v->cgelev : v->touchdownElevation();
    out.ground = v->landed ? v->ground : 0.0;
    out.size = v->size;
    out.visLimit = v->visLimit;
    out.spotLimit = v->spotLimit;
    out.pos = v->globalPos();
    out.vel = v->globalVel();
    out.rot = v->rotation();
    out.visual = v->visual.get();
    out.meshCount = unsigned(v->meshes.size());
    return out;
}

std::vector<VESSELSTATUS2> landedRecords(OBJHANDLE vessel)
{
    const Vessel* v = findVessel(vessel);
    return v ? v->landedRecords : std::vector<VESSELSTATUS2>();
}

OBJHANDLE vesselByName(const std::string& name)
{
    return hostsim::vesselByName(name.c_str());
}

void setCameraExternal(double distance, const VECTOR3& dirLocal)
{
    World& w = world();
    w.camMode = CamMode::External;
    w.camDist = distance > 0 ? distance : 0;
    w.camDirLocal = dirLocal;
}

void setCameraCockpit()
{
    world().camMode = CamMode::Cockpit;
}

void setCameraGlobal(const VECTOR3& pos, const VECTOR3& dir)
{
    World& w = world();
    w.camMode = CamMode::Global;
    w.camGlobalPos = pos;
    w.camGlobalDir = dir;
}

void setCameraAperture(double aperture)
{
    if (aperture > 0 && aperture < PI05)
        world().aperture = aperture;
}

CameraView camera()
{
    const CameraState s = cameraState();
    CameraView c;
    c.pos = s.pos;
    c.dir = s.dir;
    c.rot = s.rot;
    c.aperture = world().aperture;
    c.internal = world().camMode == CamMode::Cockpit;
    c.target = world().focus;
    return c;
}

} // namespace hostsim
