// The ROAM sphere engine: a view-dependent split/merge tessellation of a cube-mapped sphere shell.
//
// Every procedure takes the engine record first, returns nothing, throws nothing and reports
// nothing: it does its work or, given a null or dead block, an inactive engine, or a failed
// allocation, it does nothing and leaves the record as it was. All calls come from one thread.
//
// Life of a record: zero-initialised (inactive) -> the caller sets the per-body fields (radius,
// shellheight, yshift, splitfactor, maxlevel, budgets, loadlimit, ...) and calls roamstart -> each
// frame it writes observer/rotx/roty, calls roamrefine, and orientall when the rotation changed,
// then walks `leaves` to draw -> roamstop frees everything. Pointers into block vertex arrays are
// valid only until the next roamrefine, blockmerge, blockdispose or roamstop.
#pragma once

#include "roamrecords.h"

#include <cstdint>

// Triangle index list of a 9 x 9 grid (128 triangles), shared by every drawn block; filled by
// roamstart, always with the same contents.
extern std::uint16_t gridindices[384];

// ---- start and teardown -------------------------------------------------------------------------

// Builds gridindices and the six root blocks (faces 0 .. 5, level 1), puts them on both lists
// (root 5 at the heads), sets leafload to 768, prioritises them from obsnap and queues each for
// splitting at its priority. Precondition: lists and queues empty (never started, or after
// roamstop) and the per-body fields set. Sets active to 1. Over a record that still holds blocks
// it does nothing, since clearing the queue heads would orphan them.
void roamstart(roampl* e);

// Frees every block, queue entry and list record and clears the per-body fields (axes, shellheight
// and splitfactor keep their values). Does nothing unless active is 1. Leaves active and enabled 0;
// a record that holds no blocks keeps its other fields.
void roamstop(roampl* e);

// ---- refinement -----------------------------------------------------------------------------------

// One refinement run within two budgets in microseconds (0 means budgetprio / budgettess). First
// re-prioritises queued blocks along the all-blocks list from cursor, stopping once budget1 is
// spent (cursor keeps the resumption point); then splits the split candidate while leafload is
// below loadlimit, or merges the merge candidate while it is not, until budget2 is spent or no
// candidate wants it. Uses timer slot 1. Does nothing when enabled is 0.
void roamrefine(roampl* e, double budget1, double budget2);

// Gives b four children (made, put on the leaf list and the all-blocks list, and queued for
// splitting while b's level is below maxlevel), takes b off the split queue and, above level 3,
// puts it into the merge queue. Given a block that already has children, only the queue moves
// happen.
void blocksplit(roampl* e, blocktyp* b);

// Collapses b's subtree, deepest blocks first, so that b is a leaf again; b leaves the merge queue
// and enters the split queue at its last split priority.
void blockmerge(roampl* e, blocktyp* b);

// ---- block geometry ------------------------------------------------------------------------------

// Makes a complete block (grid, frame, bound, output vertices oriented with rotx/roty) and stores it
// in *slot (a roots slot or the parent's child slot). The block is on no list and in no queue.
// On allocation failure *slot is left unchanged.
void blockmake(roampl* e, blocktyp* parent, blocktyp** slot, std::int32_t level, std::int32_t face, vectyp updir,
    vectyp cubecentre);

// Fills b's scale, step, colstep, rowstep and gridstart from its face, level and cubecentre.
void blockframe(roampl* e, blocktyp* b);

// Fills b's size (half-diagonal, radius-based) and centre (source vertex 40).
void blockbound(roampl* e, blocktyp* b);

// Rewrites b's 81 output vertices from its source vertices: rotation about y by roty, then about x
// by rotx, then y lowered by radius + yshift; every stored component rounded to a 32-bit float.
void blockorient(roampl* e, blocktyp* b);

// blockorient of every block on the all-blocks list, from its head; nothing when enabled is 0.
void orientall(roampl* e);

// ---- queues and lists ----------------------------------------------------------------------------

// Moves b's split entry to the head of `bucket` (0 .. 3999), creating the entry unless onlyifqueued
// is set, and refreshes splittop (head of the highest non-empty bucket). A move into the bucket the
// entry already occupies changes nothing, nor does a bucket outside 0 .. 3999.
void splitqput(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued);

// The same on the merge queue; the refreshed mergebottom is the last entry (the earliest arrival)
// of the lowest non-empty merge bucket.
void mergeqput(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued);

// Unlinks and frees the split entry held in *var (a block's splitentry), sets *var to null and
// refreshes splittop. Nothing when *var is null.
void splitqremove(roampl* e, qentrytyp** var);

// The same on the merge queue; the refreshed mergebottom is the head of the lowest non-empty bucket.
void mergeqremove(roampl* e, qentrytyp** var);

// Puts a new record for b at the head of the leaf list, stores it in b's leaflink, adds 128 to
// leafload. Nothing when b already has a leaflink.
void leafadd(roampl* e, blocktyp* b);

// Puts a new record for b at the head of the all-blocks list and stores it in b's alllink. Nothing
// when b already has an alllink.
void alladd(roampl* e, blocktyp* b);

// Takes the block held in *var out of both queues and both lists (a cursor on its all-blocks record
// moves to the next record), frees it and sets *var to null. Children and parent are not looked at:
// apply it to childless blocks, or to every block during teardown.
void blockdispose(roampl* e, blocktyp** var);

// Recomputes b's splitprio (3600 or 0) and mergeprio (3999 or 0) from its distance to obsnap and
// moves its existing queue entries to those buckets; creates no entry.
void blockprioritise(roampl* e, blocktyp* b);
