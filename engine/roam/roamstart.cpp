// Engine start (index list, six cube roots) and teardown (every record freed).
#include "roaminternal.h"

#include <cstring>

std::uint16_t gridindices[384];

namespace {

// Two triangles per grid cell, row by row: (j,k) (j,k+1) (j+1,k+1) and (j,k) (j+1,k+1) (j+1,k).
void fillgridindices()
{
    int n = 0;
    for (int j = 0; j < 8; ++j) {
        for (int k = 0; k < 8; ++k) {
            const int a = 9 * j + k;
            const int tri[6] = {a, a + 1, a + 10, a, a + 10, a + 9};
            for (int t : tri)
                gridindices[n++] = static_cast<std::uint16_t>(t);
        }
    }
}

} // namespace

void roamstart(roampl* e)
{
    // Starting over a live tessellation would orphan every block it holds.
    if (e->allblocks || e->leaves)
        return;
    roamreserve r;
    if (!reservetake(&r, 6, 12, 6))
        return;

    e->active = 1;
    fillgridindices();
    queuesclear(e);

    const double rad = e->radius;
    const vectyp centres[6] = {
        mkvec(0, rad, 0), mkvec(0, -rad, 0), mkvec(rad, 0, 0), mkvec(-rad, 0, 0), mkvec(0, 0, rad), mkvec(0, 0, -rad)};
    const vectyp updirs[6]
        = {mkvec(0, 0, 1), mkvec(0, 0, -1), mkvec(0, 1, 0), mkvec(0, 1, 0), mkvec(0, 1, 0), mkvec(0, 1, 0)};
    for (int f = 0; f < 6; ++f)
        blockmakefrom(e, nullptr, &e->roots[f], 1, f, updirs[f], centres[f], &r);
    for (blocktyp* root : e->roots)
        leafaddfrom(e, root, &r);
    for (blocktyp* root : e->roots)
        alladdfrom(e, root, &r);
    e->leafload = 6 * roamleafload;
    // No root is queued yet, so this only computes their priorities.
    for (blocktyp* root : e->roots)
        blockprioritise(e, root);
    for (blocktyp* root : e->roots)
        splitqputfrom(e, root, root->splitprio, false, &r);
    reservefree(&r);
}

void roamstop(roampl* e)
{
    if (!e->active)
        return;
    e->active = 0;
    e->enabled = 0;
    if (!e->allblocks)
        return;
    for (linktyp* l = e->allblocks; l;) {
        linktyp* next = l->next;
        blocktyp* b = l->block;
        blockdispose(e, &b);
        l = next;
    }
    for (blocktyp*& root : e->roots)
        root = nullptr;
    std::memset(e->planetname, 0, sizeof e->planetname);
    e->observer = mkvec(0, 0, 0);
    e->obsnap = mkvec(0, 0, 0);
    e->radius = 0;
    e->yshift = 0;
    e->rotx = 0;
    e->roty = 0;
    e->rhalf = 0;
    e->rquarter = 0;
    e->maxlevel = 0;
    e->budgetprio = 0;
    e->budgettess = 0;
    e->leafload = 0;
    e->loadlimit = 0;
    e->warmup = 0;
}
