#include "camera.h"

#include "vessel.h"

#include <cmath>

namespace hostsim {
namespace {

// Camera axes from a view direction and an approximate up vector.
MATRIX3 lookRotation(const VECTOR3& dir, const VECTOR3& upHint)
{
    const VECTOR3 z = unit(dir);
    VECTOR3 y = upHint - z * dotp(upHint, z);
    if (length(y) < 1e-9) {
        const VECTOR3 alt = std::fabs(z.y) < 0.9 ? _V(0, 1, 0) : _V(0, 0, 1);
        y = alt - z * dotp(alt, z);
    }
    y = unit(y);
    const VECTOR3 x = crossp(y, z);
    return _M(x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z);
}

} // namespace

CameraState cameraState()
{
    World& w = world();
    CameraState c;
    const Vessel* f = w.focus;
    if (w.camMode == CamMode::Global || !f) {
        c.pos = w.camGlobalPos;
        c.dir = length(w.camGlobalDir) > 0 ? unit(w.camGlobalDir) : _V(0, 0, 1);
        c.rot = lookRotation(c.dir, _V(0, 1, 0));
        return c;
    }
    const VECTOR3 vpos = f->globalPos();
    const MATRIX3 vrot = f->rotation();
    const VECTOR3 vup = _V(vrot.m12, vrot.m22, vrot.m32);
    if (w.camMode == CamMode::Cockpit) {
        c.pos = vpos + mul(vrot, f->cameraOffset);
        c.dir = _V(vrot.m13, vrot.m23, vrot.m33);
        c.rot = vrot;
        return c;
    }
    const VECTOR3 offsetDir = length(w.camDirLocal) > 0 ? unit(w.camDirLocal) : _V(0, 0, -1);
    c.pos = vpos + mul(vrot, offsetDir) * w.camDist;
    c.dir = w.camDist > 0 ? unit(vpos - c.pos) : _V(vrot.m13, vrot.m23, vrot.m33);
    c.rot = lookRotation(c.dir, vup);
    return c;
}

} // namespace hostsim
