// Split and merge priorities of a block, measured from the observer snapshot of the current run.
#include "roaminternal.h"

#include <cmath>

namespace {

// factor x 4000, rounded half to even, clamped into the queue's buckets.
std::int32_t bucketof(double factor)
{
    const double p = std::nearbyint(factor * 4000.0);
    if (p < 0.0)
        return 0;
    if (p >= 4000.0)
        return roambuckets - 1;
    return static_cast<std::int32_t>(p);
}

} // namespace

void blockprioritise(roampl* e, blocktyp* b)
{
    if (!b || !b->alive)
        return;
    const double dx = e->obsnap.x - b->centre.x;
    const double dy = e->obsnap.y - b->centre.y;
    const double dz = e->obsnap.z - b->centre.z;
    double d2 = dx * dx + dy * dy;
    d2 += dz * dz;

    // Wanted for splitting while the observer is within splitfactor half-diagonals of the centre.
    const double reach = e->splitfactor * b->size;
    double a = reach * reach > d2 ? 0.9 : 0.0;
    // An inner block may be merged once it is no longer wanted split; a leaf never.
    double m = 1.0;
    if (a == 0.0)
        m = 0.0;
    if (!b->child[0])
        m = 1.0;
    // Checked after the merge factor: a deepest-level block near the observer still may not merge.
    if (b->level >= e->maxlevel)
        a = 0.0;

    b->splitprio = bucketof(a);
    b->mergeprio = bucketof(m);
    mergeqput(e, b, b->mergeprio, true);
    splitqput(e, b, b->splitprio, true);
}
