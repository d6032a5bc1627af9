// The budgeted refinement run: re-prioritise, then split and merge, each pass bounded by its own
// budget in microseconds on timer slot 1 (the time-budgeted split/merge queues of Duchaineau et al.,
// "ROAMing Terrain: Real-time Optimally Adapting Meshes", 1997).
#include "roaminternal.h"
#include "timers.h"

namespace {

constexpr int refineslot = 1;

// Re-prioritises queued blocks from the cursor on, towards the tail. Returns true when the budget
// cut the pass short; the cursor then names the record to resume at.
bool reprioritise(roampl* e, linktyp* from, double budget)
{
    for (linktyp* l = from; l; l = l->next) {
        blocktyp* b = l->block;
        // Blocks in neither queue cost nothing and are passed over without a time check.
        if (!b->splitentry && !b->mergeentry)
            continue;
        blockprioritise(e, b);
        if (static_cast<double>(telapsed(refineslot)) >= budget) {
            e->cursor = l->next;
            return true;
        }
    }
    return false;
}

std::int32_t topbucket(const roampl* e)
{
    return e->splittop ? e->splittop->bucket : 0;
}
std::int32_t bottombucket(const roampl* e)
{
    return e->mergebottom ? e->mergebottom->bucket : roambuckets - 1;
}

// Splits below the load limit and merges at or above it, one unit of work per time check.
void splitandmerge(roampl* e, double budget)
{
    std::int32_t top = topbucket(e);
    std::int32_t bottom = bottombucket(e);
    tstart(refineslot);
    for (;;) {
        const bool under = e->leafload < e->loadlimit;
        if (!((under && top > 0) || (!under && bottom < roambuckets - 1)))
            return;
        if (static_cast<double>(telapsed(refineslot)) >= budget)
            return;
        if (under)
            blocksplit(e, e->splittop->block);
        else
            blockmerge(e, e->mergebottom->block);
        top = topbucket(e);
        bottom = bottombucket(e);
    }
}

} // namespace

void roamrefine(roampl* e, double budget1, double budget2)
{
    if (!e->enabled)
        return;
    e->obsnap = e->observer;
    if (budget1 == 0.0)
        budget1 = static_cast<double>(e->budgetprio);
    if (budget2 == 0.0)
        budget2 = static_cast<double>(e->budgettess);
    tstart(refineslot);
    linktyp* from = e->cursor ? e->cursor : e->allblocks;
    if (!from)
        return;
    const bool cutshort = reprioritise(e, from, budget1);
    splitandmerge(e, budget2);
    if (!cutshort)
        e->cursor = nullptr;
}
