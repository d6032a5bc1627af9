// Per-step refinement and output: the haze material, the alpha flag and the carrier's mesh groups.
//
// Groups and material are written only when the plug-in has delivered them (groupsknown); null group
// or material pointers are passed over.
#pragma once

#include "frontstate.h"

// Warm-up burst after a restart: refinement runs of these budgets [us] until more than burstspan
// [us] have passed on timer slot 98. burstmaxruns bounds the burst should the counter stand still.
constexpr double burstbudget = 1000.0;
constexpr std::int64_t burstspan = 100000;
constexpr int burstmaxruns = 100000;
constexpr int bursttimer = 98;

// One step with camera distance d [m] from the body's centre and visibility radius rv [m] (radius +
// rhalf, 1.5 body radii: the haze shows only inside it). At or beyond rv (or for a distance that is
// not a number) it clears the anchoring and shows only the placeholder. Inside it refines (the warm-up burst when due,
// else one run at the default budgets), re-expresses every block when reorient is set, sets the material's alphas from
// the fade band and the alpha flag (through frame->alphaModPtr when not null), and points the groups at the leaves.
void frameout(frontpl* f, const FrameRecord* frame, double d, double rv);

// Points one group at vertex and index arrays; the group's other fields but UsrFlag (1) stay.
void setgroup(HostMeshGroup* g, HostVertex* vtx, std::uint16_t* idx, std::uint32_t nvtx, std::uint32_t nidx);

// Points groups first..1023 at the placeholder triangle.
void placeholdergroups(frontpl* f, int first);

// Points groups 0.. at the leaf list's blocks in list order, at most drawngroupmax of them, and the
// rest at the placeholder. Returns the number of block groups.
int leafgroups(frontpl* f);

// Haze factor from the fade band: 1 deeper than rquarter inside rv, falling to 0 at rv. Writes
// the material's alphas and diffuse colour; returns the alpha flag (1 in the fade band, else 0).
std::int32_t hazematerial(frontpl* f, double d, double rv);
