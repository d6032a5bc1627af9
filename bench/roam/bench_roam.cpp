// Costs of the ROAM engine's units of work on deterministic tessellations: one split, the
// re-orientation of every block, a queue move with its candidate refresh (bitmap and plain walk),
// and a refinement run over a settled tessellation, with the heap allocations each makes.
#include "allocspy.h"
#include "benchstats.h"
#include "blockfloor.h"
#include "roam.h"
#include "roamtuning.h"
#include "timers.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

using skybench::FloorGrid;

constexpr double earthRadius = 6371000.0; // [m]

// Started as the front's restart starts it: the restart's tuning, the body's axes the global ones, the
// observer 1 km above the surface on the y axis, the snapshot still clear, so the roots are first
// queued from the body's centre.
std::unique_ptr<roampl> started()
{
    std::unique_ptr<roampl> e(new roampl());
    e->enabled = 1;
    e->radius = earthRadius;
    e->rhalf = earthRadius / 2;
    e->rquarter = earthRadius / 4;
    roamtune(e.get());
    e->axes[0] = mkvec(1, 0, 0);
    e->axes[1] = mkvec(0, 1, 0);
    e->axes[2] = mkvec(0, 0, 1);
    e->observer = mkvec(0, earthRadius + 1000, 0);
    roamstart(e.get());
    return e;
}

// Started, then refined with generous budgets until a run changes nothing more.
std::unique_ptr<roampl> settled()
{
    std::unique_ptr<roampl> e = started();
    for (int run = 0; run < 300; ++run)
        roamrefine(e.get(), 100000, 100000);
    return e;
}

int countblocks(const roampl* e)
{
    int n = 0;
    for (const linktyp* l = e->allblocks; l; l = l->next)
        ++n;
    return n;
}

// Sixteen level-5 leaves of a started engine, rotated as the front rotates it away from the
// anchoring point.
void splitScene(roampl* e, blocktyp* leaves[16])
{
    e->rotx = 0.4;
    e->roty = -0.7;
    blocktyp* b = e->roots[0];
    while (b->level < 3) {
        blocksplit(e, b);
        b = b->child[1];
    }
    blocksplit(e, b);
    for (int i = 0; i < 4; ++i) {
        blocksplit(e, b->child[i]);
        for (int k = 0; k < 4; ++k)
            leaves[4 * i + k] = b->child[i]->child[k];
    }
}

// Splits of sixteen level-5 leaves (four blocks made, normalised and oriented, and a merge-queue
// entry made, per split), undone outside the timing; the figure is per split.
void BM_BlockSplit(benchmark::State& state)
{
    std::unique_ptr<roampl> e = started();
    blocktyp* leaves[16];
    splitScene(e.get(), leaves);
    for (auto _ : state) {
        for (blocktyp* leaf : leaves)
            blocksplit(e.get(), leaf);
        state.PauseTiming();
        for (blocktyp* leaf : leaves)
            blockmerge(e.get(), leaf);
        state.ResumeTiming();
    }
    state.counters["us_per_split"] = benchmark::Counter(
        static_cast<double>(state.iterations() * 16) * 1e-6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    roamstop(e.get());
}
BENCHMARK(BM_BlockSplit)->Unit(benchmark::kMicrosecond);

// A split against its floor (blockfloor.h), in the same run: each round times the sixteen splits of
// BM_BlockSplit, undoes them, then times the floor making the same 64 children's grids.
void BM_SplitAgainstFloor(benchmark::State& state)
{
    std::unique_ptr<roampl> e = started();
    blocktyp* leaves[16];
    splitScene(e.get(), leaves);
    std::vector<FloorGrid> grids;
    for (blocktyp* leaf : leaves) {
        blocksplit(e.get(), leaf);
        for (const blocktyp* c : leaf->child) {
            const vectyp down = vecscale(c->updir, -c->step);
            grids.push_back(FloorGrid {{c->gridstart.x, c->gridstart.y, c->gridstart.z},
                {c->colstep.x, c->colstep.y, c->colstep.z}, {down.x, down.y, down.z}});
        }
        blockmerge(e.get(), leaf);
    }
    std::vector<HostVertex> out(grids.size() * roamgridverts);
    const double shell = e->radius + e->shellheight;
    std::vector<double> split, floor;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        for (blocktyp* leaf : leaves)
            blocksplit(e.get(), leaf);
        const auto t1 = std::chrono::steady_clock::now();
        for (blocktyp* leaf : leaves)
            blockmerge(e.get(), leaf);
        const auto t2 = std::chrono::steady_clock::now();
        skybench::floorBlocks(grids.data(), static_cast<int>(grids.size()), shell, out.data());
        benchmark::ClobberMemory();
        const auto t3 = std::chrono::steady_clock::now();
        split.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count() / 16.0);
        floor.push_back(std::chrono::duration<double, std::micro>(t3 - t2).count() / 16.0);
    }
    const double s = median(split), f = median(floor);
    state.counters["split_us"] = s;
    state.counters["floor_us"] = f;
    state.counters["split_over_floor"] = f > 0 ? s / f : 0.0;
    roamstop(e.get());
}
BENCHMARK(BM_SplitAgainstFloor)->Unit(benchmark::kMicrosecond);

void BM_OrientAllPerBlock(benchmark::State& state)
{
    std::unique_ptr<roampl> e = settled();
    const int blocks = countblocks(e.get());
    double angle = 0;
    for (auto _ : state) {
        angle += 0.001;
        e->rotx = 0.4 + angle;
        e->roty = -angle;
        orientall(e.get());
    }
    state.SetItemsProcessed(state.iterations() * blocks);
    state.counters["blocks"] = blocks;
    state.counters["ns_per_block"] = benchmark::Counter(
        static_cast<double>(state.iterations() * blocks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    roamstop(e.get());
}
BENCHMARK(BM_OrientAllPerBlock)->Unit(benchmark::kMicrosecond);

// What the occupancy bitmaps save: the extreme non-empty bucket found by walking the 4000 heads, as
// the queues found it before they kept bitmaps. Returns the bucket, or -1.
std::int32_t highestByWalk(qentrytyp* const* heads)
{
    for (std::int32_t i = roambuckets - 1; i >= 0; --i)
        if (heads[i])
            return i;
    return -1;
}
std::int32_t lowestByWalk(qentrytyp* const* heads)
{
    for (std::int32_t i = 0; i < roambuckets; ++i)
        if (heads[i])
            return i;
    return -1;
}

// Argument 1: each refresh also walks the heads, the cost of a refresh without the bitmaps (on top of
// the bitmap's own few nanoseconds).
void plainScanAfterMove(const benchmark::State& state, roampl* e, bool split)
{
    if (state.range(0))
        benchmark::DoNotOptimize(split ? highestByWalk(e->splitq) : lowestByWalk(e->mergeq));
}

// One split-queue move and one merge-queue move, each with its candidate refresh, on a settled
// tessellation; the moved block leaves the occupied extreme buckets, so the walk goes far.
void BM_QueueMove(benchmark::State& state)
{
    std::unique_ptr<roampl> e = settled();
    blocktyp* b = e->leaves->block;
    bool up = false;
    for (auto _ : state) {
        up = !up;
        splitqput(e.get(), b, up ? 3999 : 1, true);
        plainScanAfterMove(state, e.get(), true);
        mergeqput(e.get(), b, up ? 0 : 3998, false);
        plainScanAfterMove(state, e.get(), false);
    }
    state.SetLabel(state.range(0) ? "bitmap + plain scan" : "bitmap");
    state.SetItemsProcessed(state.iterations() * 2);
    mergeqremove(e.get(), &b->mergeentry);
    roamstop(e.get());
}
BENCHMARK(BM_QueueMove)->Arg(0)->Arg(1);

// Removal and re-creation of a split entry, each with its refresh.
void BM_QueueRemovePut(benchmark::State& state)
{
    std::unique_ptr<roampl> e = settled();
    blocktyp* b = e->leaves->block;
    for (auto _ : state) {
        splitqremove(e.get(), &b->splitentry);
        plainScanAfterMove(state, e.get(), true);
        splitqput(e.get(), b, 2000, false);
        plainScanAfterMove(state, e.get(), true);
    }
    state.SetLabel(state.range(0) ? "bitmap + plain scan" : "bitmap");
    state.SetItemsProcessed(state.iterations() * 2);
    roamstop(e.get());
}
BENCHMARK(BM_QueueRemovePut)->Arg(0)->Arg(1);

// A whole refinement run with default budgets over a tessellation that no longer changes.
void BM_SettledRun(benchmark::State& state)
{
    std::unique_ptr<roampl> e = settled();
    const int blocks = countblocks(e.get());
    const long before = allocspy::allocations();
    for (auto _ : state)
        roamrefine(e.get(), 0, 0);
    const long made = allocspy::allocations() - before;
    state.counters["blocks"] = blocks;
    state.counters["allocs"] = static_cast<double>(made);
    state.counters["changed"] = countblocks(e.get()) != blocks;
    roamstop(e.get());
}
BENCHMARK(BM_SettledRun)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    timersstart();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    timersend();
    return 0;
}
