// The engine's tuning: the values every restart for a body sets, in the order it sets them (after
// the name and the warm-up; the radius, from the host, comes between the budgets and maxlevel).
#pragma once

#include "CarrierStand.h"
#include "roamrecords.h"

#include <cstdint>

struct roamtuning {
    std::int32_t loadlimit; // leaf load at which splitting stops and merging starts (128 per leaf)
    std::int64_t budgetprio; // default budget of the re-prioritisation pass [us]
    std::int64_t budgettess; // default budget of the split and merge pass [us]
    std::int32_t maxlevel; // deepest level a block may be split to
    double yshift; // output y lowered by radius + yshift: the carrier stands this high over the ground [m]
    double splitfactor; // distance factor of the split test
    double shellheight; // height of the shell above the surface [m]
};

constexpr roamtuning restarttuning = {
    8000, // loadlimit
    2000, // budgetprio [us]
    2000, // budgettess [us]
    10, // maxlevel
    carrierStandHeight, // yshift [m]
    2.2, // splitfactor
    10000.0, // shellheight [m]
};

// Output vertices are lowered by radius + yshift, so the shell's apex over the anchoring point lands
// on the carrier's origin only while the shell is exactly as high as the carrier stands.
static_assert(restarttuning.shellheight == carrierStandHeight,
    "the shell's apex must lie at the carrier's origin: shellheight equals the carrier's stand height");

// Sets the tuning fields of e from restarttuning, for an engine record started without a restart
// (the restart sets the same fields itself, in its own order). e must not be null.
inline void roamtune(roampl* e)
{
    e->loadlimit = restarttuning.loadlimit;
    e->budgetprio = restarttuning.budgetprio;
    e->budgettess = restarttuning.budgettess;
    e->maxlevel = restarttuning.maxlevel;
    e->yshift = restarttuning.yshift;
    e->splitfactor = restarttuning.splitfactor;
    e->shellheight = restarttuning.shellheight;
}
