#include "observer.h"

#include "hostcalls.h"

#include <cmath>

namespace {

vectyp hostvec(const HostVector& v)
{
    return mkvec(v.x, v.y, v.z);
}

mattyp axesmatrix(const roampl* e)
{
    return matrows(e->axes[0], e->axes[1], e->axes[2]);
}

} // namespace

void observerangles(double* colat, double* lon)
{
    double lng = 0.0;
    double lat = 0.0;
    hostfocusequpos(&lng, &lat);
    *colat = halfpi - lat;
    *lon = lng + halfpi;
}

std::int32_t anchorupdate(frontpl* f, double* colat, double* lon)
{
    const bool finite = std::isfinite(*colat) && std::isfinite(*lon);
    if (finite && (std::fabs(*colat - f->anchorcolat) > anchorstep || std::fabs(*lon - f->anchorlon) > anchorstep)) {
        f->anchorcolat = *colat;
        f->anchorlon = *lon;
        f->reorient = 1;
        return 1;
    }
    *colat = f->anchorcolat;
    *lon = f->anchorlon;
    return 0;
}

double placeobserver(frontpl* f, const FrameRecord* frame)
{
    roampl* e = &f->engine;
    e->axes[0] = vecnorm(hostvec(frame->bodyAxisX));
    e->axes[1] = vecnorm(hostvec(frame->bodyAxisZ));
    e->axes[2] = vecnorm(hostvec(frame->bodyAxisY));
    e->observer = vecswapyz(matmul(hostvec(frame->cameraRel), axesmatrix(e)));
    return veclen(e->observer);
}

void lookahead(frontpl* f)
{
    roampl* e = &f->engine;
    const double speed = hostfocusairspeed();
    const vectyp local = hostvec(hostfocusairspeedvec());
    // Without a focus vessel there is no flight to look ahead along, and the axes adapter must not
    // be handed a null interface.
    void* focus = hostfocusobject();
    void* vessel = focus ? hostvesselinterface(focus) : nullptr;
    if (!vessel)
        return;
    HostVector r0, r1, r2;
    hostglobalaxes(vessel, &r0, &r1, &r2);
    const mattyp toglobal = mattransp(matrows(hostvec(r0), hostvec(r1), hostvec(r2)));
    const vectyp global = mattmul(local, toglobal);
    const vectyp dir = vecnorm(vecswapyz(matmul(global, axesmatrix(e))));
    const vectyp offset = vecscale(dir, hosttimeacc() * speed);
    if (std::isfinite(offset.x) && std::isfinite(offset.y) && std::isfinite(offset.z))
        e->observer = vecadd(e->observer, offset);
}
