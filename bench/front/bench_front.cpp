// maincall per step on a settled tessellation, a re-anchoring step, and the engine's memory at the
// deepest point of a descent. Real timers and the tests' scripted host table; the per-step path is
// timed and its allocations counted around maincall alone.
#include "allocount.h"
#include "frontstate.h"
#include "scriptedhost.h"
#include "timers.h"
#include "veilcore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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

// Settled tessellation at 20 km altitude; the observer wanders by up to 0.004 rad, never enough to
// re-anchor the carrier.
void BM_SettledStep(benchmark::State& state)
{
    carrierkit c;
    start(c, 20000.0);
    std::vector<double> micros;
    micros.reserve(1 << 20);
    std::uint64_t allocs = 0;
    std::int64_t k = 0;
    for (auto _ : state) {
        script.lat = 0.3 + 0.004 * std::sin(double(++k) * 0.001);
        place(c, 20000.0);
        const std::uint64_t before = allocations();
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(maincall(&c.frame));
        const auto t1 = std::chrono::steady_clock::now();
        allocs += allocations() - before;
        if (micros.size() < micros.capacity())
            micros.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros.empty() ? 0.0 : micros[micros.size() / 2];
    state.counters["p99_us"] = micros.empty() ? 0.0 : micros[micros.size() * 99 / 100];
    state.counters["allocs_per_step"] = double(allocs) / double(std::max<std::int64_t>(k, 1));
    state.counters["leaves"] = measure(front).leaves;
}
BENCHMARK(BM_SettledStep)->Unit(benchmark::kMicrosecond);

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
    std::uint64_t allocs = 0;
    for (auto _ : state) {
        const std::uint64_t before = allocations();
        carrierkit c;
        start(c, 0.6 * radius);
        for (int k = 0; k <= 350; ++k) {
            const double t = k < 300 ? k / 300.0 : 1.0;
            script.lng = 0.7 + 0.0003 * k;
            place(c, 0.6 * radius * std::pow(10000.0 / (0.6 * radius), t));
            maincall(&c.frame);
        }
        bottom = measure(front);
        allocs = allocations() - before;
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
