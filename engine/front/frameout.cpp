#include "frameout.h"

#include "timers.h"

void setgroup(HostMeshGroup* g, HostVertex* vtx, std::uint16_t* idx, std::uint32_t nvtx, std::uint32_t nidx)
{
    g->Vtx = vtx;
    g->Idx = idx;
    g->nVtx = nvtx;
    g->nIdx = nidx;
    g->UsrFlag = 1;
}

namespace {

// The haze's diffuse colour, and its diffuse alpha at full strength (scaled by the haze factor).
constexpr float hazered = 0.61f;
constexpr float hazegreen = 0.8f;
constexpr float hazeblue = 1.0f;
constexpr double hazeopacity = 0.3;

void refine(frontpl* f)
{
    roampl* e = &f->engine;
    if (!e->warmup) {
        roamrefine(e, 0.0, 0.0);
        return;
    }
    f->reorient = 1;
    e->warmup = 0;
    tstart(bursttimer);
    int runs = 0;
    do {
        roamrefine(e, burstbudget, burstbudget);
    } while (telapsed(bursttimer) <= burstspan && ++runs < burstmaxruns);
}

} // namespace

void placeholdergroups(frontpl* f, int first)
{
    if (!f->groupsknown)
        return;
    for (int i = first < 0 ? 0 : first; i < frameGroupCount; ++i)
        if (HostMeshGroup* g = f->grouptab[i])
            setgroup(g, f->phvert, f->phidx, placeholdercount, placeholdercount);
}

int leafgroups(frontpl* f)
{
    if (!f->groupsknown)
        return 0;
    int i = 0;
    for (linktyp* link = f->engine.leaves; link && i < drawngroupmax; link = link->next, ++i)
        if (HostMeshGroup* g = f->grouptab[i])
            setgroup(g, link->block->vtx, gridindices, blockgroupverts, blockgroupindices);
    placeholdergroups(f, i);
    return i;
}

std::int32_t hazematerial(frontpl* f, double d, double rv)
{
    double haze = 1.0;
    std::int32_t flag = 0;
    if (rv - d <= f->engine.rquarter) {
        haze = (rv - d) / f->engine.rquarter;
        if (haze < 0.0)
            haze = 0.0;
        flag = 1;
    }
    if (HostMaterial* m = f->groupsknown ? f->groupmat : nullptr) {
        const float alpha = static_cast<float>(haze);
        m->diffuse.a = alpha;
        m->ambient.a = alpha;
        m->specular.a = alpha;
        m->emissive.a = alpha;
        m->diffuse.r = hazered;
        m->diffuse.g = hazegreen;
        m->diffuse.b = hazeblue;
        m->diffuse.a = static_cast<float>(hazeopacity * haze);
    }
    return flag;
}

void frameout(frontpl* f, const FrameRecord* frame, double d, double rv)
{
    // Written as "not inside" so that a distance that is not a number counts as outside.
    if (!(d < rv)) {
        f->anchorcolat = 0.0;
        f->anchorlon = 0.0;
        placeholdergroups(f, 0);
        return;
    }
    refine(f);
    if (f->reorient)
        orientall(&f->engine);
    const std::int32_t flag = hazematerial(f, d, rv);
    if (frame->alphaModPtr)
        *frame->alphaModPtr = flag;
    leafgroups(f);
}
