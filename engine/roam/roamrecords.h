// Records of the ROAM sphere engine: the engine record, blocks, queue entries and list records.
//
// The tessellation is a forest of six quadtrees, one per cube face. Each node is a block: a 9 x 9
// grid of vertices over one square of a cube face, pushed out onto a shell around the body. A block
// has four children or none; the childless ones (leaves) are drawn. Beside the trees the engine keeps
// two bucketed priority queues (split and merge candidates) and two intrusive doubly linked lists
// (the leaves, and all blocks). Grid vertices are numbered 9 x row + column in both vertex arrays.
//
// Invariants that every engine procedure keeps on return:
//   1. every block is on the all-blocks list exactly once (through alllink) while it exists;
//   2. a block has four children or none; exactly the childless blocks have a leaflink, and
//      leafload is 128 times the number of leaves;
//   3. a block has at most one entry per queue, and that entry sits in the bucket it names;
//   4. children have their parent's face and updir and the level one deeper;
//   5. splittop and mergebottom are refreshed by every queue change;
//   6. blocks of levels 1 to 3 never enter the merge queue.
//
// Blocks, queue entries and list records come from the general heap and are freed by the engine
// alone. Units: metres, radians, microseconds.
#pragma once

#include "HostRecords.h"
#include "veckit.h"

#include <cstdint>

struct blocktyp;

// Number of buckets of each priority queue; priorities run 0 .. roambuckets - 1.
constexpr std::int32_t roambuckets = 4000;
// Load that one leaf block adds to leafload.
constexpr std::int32_t roamleafload = 128;
// Grid of a block: 9 x 9 vertices.
constexpr int roamgridverts = 81;
// Words of the bucket occupancy bitmaps (one bit per bucket).
constexpr int roamoccwords = (roambuckets + 63) / 64;

// A queue entry: one per block and queue. Within a bucket, next runs towards entries that entered
// earlier and prev towards the bucket's head (the entry that entered last).
struct qentrytyp {
    blocktyp* block;
    std::int32_t bucket;
    qentrytyp* next;
    qentrytyp* prev;
};

// A list record: one per block and list. New records go to the head; prev points towards it.
struct linktyp {
    blocktyp* block;
    linktyp* prev;
    linktyp* next;
};

struct blocktyp {
    std::uint8_t alive; // 1 from creation on; procedures given a block with 0 do nothing
    blocktyp* child[4]; // all null for a leaf
    blocktyp* parent; // null for a root
    vectyp cubecentre; // centre of the block's square on the cube of half-width radius
    vectyp centre; // source vertex 40, widened to 64-bit floats
    vectyp updir; // in the face plane; grid rows advance along its negative
    HostVertex vtx[roamgridverts]; // output vertices, in the carrier's frame; mesh groups point here
    HostVertex srcvtx[roamgridverts]; // source vertices on the shell, in the body's frame
    vectyp colstep; // cube-surface step from one grid column to the next
    vectyp rowstep; // step added after the ninth column to reach the next row's start
    double step; // grid spacing on the cube: 2 radius / 8 / 2^(level - 1)
    double scale; // 1 / 2^(level - 1)
    vectyp gridstart; // cube-surface position of grid vertex 0
    double size; // half-diagonal of the square: radius / 2^(level - 1) x 1.414
    std::int32_t level; // 1 for a root
    std::int32_t face; // cube face 0 .. 5, inherited by the children
    std::int32_t splitprio; // 0 .. 3999
    std::int32_t mergeprio; // 0 .. 3999
    qentrytyp* mergeentry; // entry in the merge queue, or null
    qentrytyp* splitentry; // entry in the split queue, or null
    linktyp* leaflink; // record in the leaf list, or null
    linktyp* alllink; // record in the all-blocks list
};

// The engine record ("roam planet": one tessellated body). Large (about 70 KB): allocate it
// zero-initialised; all zero is "inactive".
struct roampl {
    std::uint8_t active; // holds a tessellation
    std::uint8_t enabled; // refinement and re-orientation may run
    char planetname[257]; // body name, NUL-terminated, at most 256 bytes; empty means no name
    double radius; // body radius [m]
    vectyp axes[3]; // the body's unit axes, read together as the rows of a mattyp
    double rhalf; // radius / 2 [m]
    double rquarter; // radius / 4 [m]: the width of the haze's fade band
    double shellheight; // height of the shell above the surface [m]
    std::uint8_t warmup; // a warm-up burst of refinement is due
    double yshift; // extra downward shift of the output vertices [m]
    double splitfactor; // distance factor of the split test
    vectyp observer; // observer in the source frame (body centre at the origin) [m]
    vectyp obsnap; // observer as copied at the start of the last refinement run
    blocktyp* roots[6]; // root blocks of faces 0 .. 5
    qentrytyp* splitq[roambuckets]; // split bucket heads
    qentrytyp* mergeq[roambuckets]; // merge bucket heads
    qentrytyp* splittop; // head of the highest non-empty split bucket, or null
    qentrytyp* mergebottom; // an entry of the lowest non-empty merge bucket, or null
    linktyp* leaves; // head of the leaf list
    linktyp* allblocks; // head of the all-blocks list
    linktyp* cursor; // where the next re-prioritisation pass resumes; null means the head
    std::int32_t maxlevel; // deepest level a block may be split to
    double rotx; // rotation about x applied to output vertices [rad]
    double roty; // rotation about y applied to output vertices [rad]
    std::int64_t budgetprio; // default budget of the re-prioritisation pass [us]
    std::int64_t budgettess; // default budget of the split and merge pass [us]
    std::int32_t leafload; // 128 per leaf
    std::int32_t loadlimit; // splitting happens below it, merging at or above it

    // Bookkeeping of the queues, kept by the queue procedures alone: one bit per non-empty bucket
    // and one summary bit per non-zero word, so a candidate refresh finds the extreme bucket
    // without walking 4000 heads. All zero matches empty queues.
    std::uint64_t splitocc[roamoccwords];
    std::uint64_t mergeocc[roamoccwords];
    std::uint64_t splitoccsum;
    std::uint64_t mergeoccsum;

    // Cosines and sines of the rotation last used by blockorient, and the angles they belong to: a
    // split orients four blocks with one rotation, and orientall every block with one. All zero
    // means nothing is cached yet.
    std::uint8_t orientknown;
    double orientrotx, orientroty;
    double orientca, orientsa, orientcb, orientsb;
};
