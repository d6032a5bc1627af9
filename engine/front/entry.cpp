// The two exported entry points. Nothing thrown may leave the library: each catches everything.
#include "veilcore.h"

#include "frameout.h"
#include "hostcalls.h"
#include "observer.h"
#include "restart.h"

#include <cmath>
#include <cstring>

namespace {

void takegroups(frontpl* f, const FrameRecord* frame)
{
    std::memcpy(f->grouptab, frame->groups, sizeof f->grouptab);
    f->groupmat = frame->material;
    f->groupsknown = 1;
}

std::int32_t step(frontpl* f, FrameRecord* frame)
{
    f->reorient = 0;
    if (frame->alphaModPtr)
        *frame->alphaModPtr = 0;
    std::int32_t result = 0;
    bool reset = false;

    char name[bodynamemax + 1];
    takebodyname(frame, name);
    if (frame->groupsFetched == 1)
        takegroups(f, frame);

    if (f->startpend || !bodynamesame(name, f->engine.planetname)) {
        changebody(f, name, frame);
        reset = true;
    }
    if (f->startpend) {
        // Still no body to work on: show nothing and try again next step.
        placeholdergroups(f, 0);
        f->reorient = 1;
        return 0;
    }

    double colat = 0.0;
    double lon = 0.0;
    observerangles(&colat, &lon);
    if (!reset)
        result = anchorupdate(f, &colat, &lon);
    else if (!std::isfinite(colat) || !std::isfinite(lon)) {
        colat = f->anchorcolat;
        lon = f->anchorlon;
    }
    f->engine.rotx = colat;
    f->engine.roty = lon;

    const double distance = placeobserver(f, frame);
    const double visible = f->engine.radius + f->engine.rhalf;
    lookahead(f);
    frameout(f, frame, distance, visible);
    return result;
}

} // namespace

extern "C" VEILEXPORT void VEILCALL initint(const HostServiceTable* table)
{
    try {
        hostcopy(table);
        frontdefaults(&front);
    } catch (...) {
    }
}

extern "C" VEILEXPORT std::int32_t VEILCALL maincall(FrameRecord* frame)
{
    if (!frame)
        return 0;
    try {
        return step(&front, frame);
    } catch (...) {
        return 0;
    }
}
