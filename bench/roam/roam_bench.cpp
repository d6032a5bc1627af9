// Costs of the ROAM engine's units of work on deterministic tessellations: one split, the
// re-orientation of every block, a queue move with its candidate refresh (bitmap and plain walk),
// and a refinement run over a settled tessellation, with the heap allocations each makes.
#include "roam.h"
#include "roamsetup.h"
#include "timers.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <new>

// Allocations of the whole program so far (countalloc.cpp).
long allocationcount();

namespace {

constexpr double earthradius = 6371000.0; // [m]

// Started as the front's restart starts it: the observer 1 km above the surface on the y axis, the
// snapshot still clear, so the roots are first queued from the body's centre.
std::unique_ptr<roampl> started()
{
    std::unique_ptr<roampl> e = roamfresh(earthradius);
    e->observer = mkvec(0, earthradius + 1000, 0);
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

// Splits of sixteen level-5 leaves (four blocks made, normalised and oriented, and a merge-queue
// entry made, per split), undone outside the timing; the figure is per split.
void BM_BlockSplit(benchmark::State& state)
{
    std::unique_ptr<roampl> e = started();
    e->rotx = 0.4; // as the front sets it: away from the anchoring point
    e->roty = -0.7;
    blocktyp* b = e->roots[0];
    while (b->level < 3) {
        blocksplit(e.get(), b);
        b = b->child[1];
    }
    blocksplit(e.get(), b);
    blocktyp* leaves[16];
    for (int i = 0; i < 4; ++i) {
        blocksplit(e.get(), b->child[i]);
        for (int k = 0; k < 4; ++k)
            leaves[4 * i + k] = b->child[i]->child[k];
    }
    e->plainscan = static_cast<std::uint8_t>(state.range(0));
    for (auto _ : state) {
        for (blocktyp* leaf : leaves)
            blocksplit(e.get(), leaf);
        state.PauseTiming();
        for (blocktyp* leaf : leaves)
            blockmerge(e.get(), leaf);
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) ? "plain scan" : "bitmap");
    state.counters["us_per_split"] = benchmark::Counter(
        static_cast<double>(state.iterations() * 16) * 1e-6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    roamstop(e.get());
}
BENCHMARK(BM_BlockSplit)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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

// One split-queue move and one merge-queue move, each with its candidate refresh, on a settled
// tessellation; the moved block leaves the occupied extreme buckets, so the walk goes far.
void BM_QueueMove(benchmark::State& state)
{
    std::unique_ptr<roampl> e = settled();
    e->plainscan = static_cast<std::uint8_t>(state.range(0));
    blocktyp* b = e->leaves->block;
    bool up = false;
    for (auto _ : state) {
        up = !up;
        splitqput(e.get(), b, up ? 3999 : 1, true);
        mergeqput(e.get(), b, up ? 0 : 3998, false);
    }
    state.SetLabel(state.range(0) ? "plain scan" : "bitmap");
    state.SetItemsProcessed(state.iterations() * 2);
    mergeqremove(e.get(), &b->mergeentry);
    roamstop(e.get());
}
BENCHMARK(BM_QueueMove)->Arg(0)->Arg(1);

// Removal and re-creation of a split entry, each with its refresh.
void BM_QueueRemovePut(benchmark::State& state)
{
    std::unique_ptr<roampl> e = settled();
    e->plainscan = static_cast<std::uint8_t>(state.range(0));
    blocktyp* b = e->leaves->block;
    for (auto _ : state) {
        splitqremove(e.get(), &b->splitentry);
        splitqput(e.get(), b, 2000, false);
    }
    state.SetLabel(state.range(0) ? "plain scan" : "bitmap");
    state.SetItemsProcessed(state.iterations() * 2);
    roamstop(e.get());
}
BENCHMARK(BM_QueueRemovePut)->Arg(0)->Arg(1);

// A whole refinement run with default budgets over a tessellation that no longer changes.
void BM_SettledRun(benchmark::State& state)
{
    std::unique_ptr<roampl> e = settled();
    e->plainscan = static_cast<std::uint8_t>(state.range(0));
    const int blocks = countblocks(e.get());
    const long before = allocationcount();
    for (auto _ : state)
        roamrefine(e.get(), 0, 0);
    const long made = allocationcount() - before;
    state.counters["blocks"] = blocks;
    state.counters["allocs"] = static_cast<double>(made);
    state.counters["changed"] = countblocks(e.get()) != blocks;
    state.SetLabel(state.range(0) ? "plain scan" : "bitmap");
    roamstop(e.get());
}
BENCHMARK(BM_SettledRun)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
