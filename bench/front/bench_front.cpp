// maincall per step on a settled tessellation against its floor, the per-step output against
// memcpy, a re-anchoring step, and the engine's memory at the deepest point of a descent. Real timers and the tests'
// scripted host table; the per-step path is timed and its allocations counted around maincall alone.
#include "allocspy.h"
#include "benchstats.h"
#include "frameout.h"
#include "frontstate.h"
#include "scriptedhost.h"
#include "timers.h"
#include "veilcore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double radius = 6371000.0; // [m]

// Camera above the focus vessel's scripted position at the given altitude.
void place(carrierkit& c, double altitude)
{
    const double r = radius + altitude;
    c.camera(r * std::cos(script.lat) * std::cos(script.lng), r * std::sin(script.lat),
        r * std::cos(script.lat) * std::sin(script.lng));
}

void start(carrierkit& c, double altitude)
{
    timersstart();
    script = hostscript {};
    script.size = radius;
    script.lat = 0.3;
    script.lng = 0.7;
    script.airspeed = 150.0;
    script.airvec = HostVector {0, 0, 150.0};
    HostServiceTable table = recordingtable();
    initint(&table);
    c.frame.bodyName[0] = 'E';
    c.frame.bodyName[1] = static_cast<char>('a' + (c.frame.bodyName[1] - 'a' + 1) % 26); // a new body each run
    place(c, altitude);
    maincall(&c.frame);
    c.frame.groupsFetched = 0;
    for (int i = 0; i < 200; ++i) // settle
        maincall(&c.frame);
}

struct engineload {
    int blocks = 0;
    int leaves = 0;
    double bytes = 0;
};

engineload measure(const frontpl& f)
{
    engineload load;
    int entries = 0;
    for (const linktyp* l = f.engine.allblocks; l; l = l->next) {
        ++load.blocks;
        entries += (l->block->splitentry ? 1 : 0) + (l->block->mergeentry ? 1 : 0);
    }
    for (const linktyp* l = f.engine.leaves; l; l = l->next)
        ++load.leaves;
    load.bytes = double(load.blocks) * sizeof(blocktyp) + double(load.blocks + load.leaves) * sizeof(linktyp)
        + double(entries) * sizeof(qentrytyp);
    return load;
}

// The settled step's observer: wandering by up to 0.004 rad, never enough to re-anchor the carrier.
void wander(carrierkit& c, std::int64_t k)
{
    script.lat = 0.3 + 0.004 * std::sin(double(k) * 0.001);
    place(c, 20000.0);
}

std::int64_t timerReads = 0;

std::int64_t countedCounter()
{
    ++timerReads;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Timer reads a settled step makes: the refinement's time check after each block it re-prioritises
// and before each split or merge, and the starts of its two passes.
double timerReadsPerStep(carrierkit& c)
{
    constexpr int steps = 100;
    timersetsource(countedCounter, 1000000000);
    timerReads = 0;
    for (int k = 0; k < steps; ++k) {
        wander(c, k);
        maincall(&c.frame);
    }
    timersetsource(nullptr, 0);
    return double(timerReads) / steps;
}

// What every settled step must do at the least: its timer reads, and the group records and material
// the engine writes, copied whole.
void settledFloor(carrierkit& c, const std::vector<HostMeshGroup>& groups, const HostMaterial& material, int reads)
{
    for (int i = 0; i < reads; ++i)
        benchmark::DoNotOptimize(telapsed(1));
    std::memcpy(c.groups.data(), groups.data(), groups.size() * sizeof(HostMeshGroup));
    std::memcpy(&c.material, &material, sizeof material);
    benchmark::ClobberMemory();
}

// Settled tessellation at 20 km altitude. Each round times maincall, then the step's floor
// (settledFloor) in the same run.
void BM_SettledStep(benchmark::State& state)
{
    carrierkit c;
    start(c, 20000.0);
    const double reads = timerReadsPerStep(c);
    const std::vector<HostMeshGroup> groups = c.groups;
    const HostMaterial material = c.material;
    std::vector<double> step, floor;
    step.reserve(1 << 20);
    floor.reserve(1 << 20);
    long allocs = 0;
    std::int64_t k = 0;
    for (auto _ : state) {
        wander(c, ++k);
        const long before = allocspy::allocations();
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(maincall(&c.frame));
        const auto t1 = std::chrono::steady_clock::now();
        allocs += allocspy::allocations() - before;
        settledFloor(c, groups, material, static_cast<int>(std::lround(reads)));
        const auto t2 = std::chrono::steady_clock::now();
        if (step.size() < step.capacity()) {
            step.push_back(micros(t0, t1));
            floor.push_back(micros(t1, t2));
        }
    }
    const double median = percentile(step, 50), floorMedian = percentile(floor, 50);
    state.counters["median_us"] = median;
    state.counters["p99_us"] = percentile(step, 99);
    state.counters["floor_us"] = floorMedian;
    state.counters["step_over_floor"] = floorMedian > 0 ? median / floorMedian : 0.0;
    state.counters["timer_reads"] = reads;
    state.counters["allocs_per_step"] = double(allocs) / double(std::max<std::int64_t>(k, 1));
    state.counters["leaves"] = measure(front).leaves;
}
BENCHMARK(BM_SettledStep)->Unit(benchmark::kMicrosecond);

// The per-step output (the groups pointed at the leaves, the haze material) against memcpy of the
// same bytes: the 1024 group records and the material, whole, as the output leaves them.
void BM_OutputAgainstMemcpy(benchmark::State& state)
{
    carrierkit c;
    start(c, 20000.0);
    const double d = radius + 20000.0, rv = radius * 1.5;
    const std::vector<HostMeshGroup> groups = c.groups;
    const HostMaterial material = c.material;
    std::vector<double> output, copy;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(hazematerial(&front, d, rv));
        benchmark::DoNotOptimize(leafgroups(&front));
        benchmark::ClobberMemory();
        const auto t1 = std::chrono::steady_clock::now();
        std::memcpy(c.groups.data(), groups.data(), groups.size() * sizeof(HostMeshGroup));
        std::memcpy(&c.material, &material, sizeof material);
        benchmark::ClobberMemory();
        const auto t2 = std::chrono::steady_clock::now();
        output.push_back(micros(t0, t1));
        copy.push_back(micros(t1, t2));
    }
    const double o = percentile(output, 50), m = percentile(copy, 50);
    state.counters["output_us"] = o;
    state.counters["memcpy_us"] = m;
    state.counters["output_over_memcpy"] = m > 0 ? o / m : 0.0;
    state.counters["bytes"] = double(groups.size() * sizeof(HostMeshGroup) + sizeof material);
}
BENCHMARK(BM_OutputAgainstMemcpy)->Unit(benchmark::kMicrosecond);

// Every step moves the observer by 0.02 rad, so every step re-anchors and re-expresses all blocks.
void BM_ReanchorStep(benchmark::State& state)
{
    carrierkit c;
    start(c, 20000.0);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        script.lat = flip ? 0.32 : 0.3;
        place(c, 20000.0);
        benchmark::DoNotOptimize(maincall(&c.frame));
    }
    state.counters["blocks"] = measure(front).blocks;
}
BENCHMARK(BM_ReanchorStep)->Unit(benchmark::kMicrosecond);

// A descent from 1.6 radii to 10 km in 300 steps, then 50 steps there; the engine's memory at the
// bottom.
void BM_DescentMemory(benchmark::State& state)
{
    engineload bottom;
    long allocs = 0;
    for (auto _ : state) {
        const long before = allocspy::allocations();
        carrierkit c;
        start(c, 0.6 * radius);
        for (int k = 0; k <= 350; ++k) {
            const double t = k < 300 ? k / 300.0 : 1.0;
            script.lng = 0.7 + 0.0003 * k;
            place(c, 0.6 * radius * std::pow(10000.0 / (0.6 * radius), t));
            maincall(&c.frame);
        }
        bottom = measure(front);
        allocs = allocspy::allocations() - before;
    }
    state.counters["blocks"] = bottom.blocks;
    state.counters["leaves"] = bottom.leaves;
    state.counters["engine_heap_kib"] = bottom.bytes / 1024.0;
    state.counters["allocs_in_descent"] = double(allocs); // shows that the counter sees the engine
    state.counters["front_static_kib"] = double(sizeof(frontpl)) / 1024.0;
}
BENCHMARK(BM_DescentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
