// maincall per step on a settled tessellation, a re-anchoring step, and the engine's memory at the
// deepest point of a descent. Real timers; the per-step path is timed and its allocations counted
// around maincall alone.
#include "allocount.h"
#include "frontstate.h"
#include "timers.h"
#include "veilcore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace {

constexpr double radius = 6371000.0;

struct benchhost {
    double lat = 0.3;
    double lng = 0.7;
} host;

double getsize(void*)
{
    return radius;
}
double timeacc()
{
    return 1.0;
}
std::int32_t focusequpos(double* lng, double* lat, double* rad)
{
    *lng = host.lng;
    *lat = host.lat;
    *rad = radius;
    return 1;
}
void* focusobject()
{
    return &host;
}
void* vesselinterface(void* v)
{
    return v;
}
void globalaxes(void*, HostVector* ex, HostVector* ey, HostVector* ez)
{
    *ex = HostVector {1, 0, 0};
    *ey = HostVector {0, 1, 0};
    *ez = HostVector {0, 0, 1};
}
std::int32_t focusairspeed(double* v)
{
    *v = 150.0;
    return 1;
}
std::int32_t focusairvec(HostVector* v)
{
    *v = HostVector {0, 0, 150.0};
    return 1;
}

template <typename Fn> HostEntry entryof(Fn fn)
{
    return reinterpret_cast<HostEntry>(fn);
}

// The carrier's groups and material, and a frame over them.
struct carrier {
    std::vector<HostMeshGroup> groups = std::vector<HostMeshGroup>(frameGroupCount);
    HostMaterial material {};
    std::int32_t alpha = 0;
    FrameRecord frame {};
    carrier()
    {
        for (int i = 0; i < frameGroupCount; ++i)
            frame.groups[i] = &groups[static_cast<std::size_t>(i)];
        frame.material = &material;
        frame.bodyAxisX = HostVector {1, 0, 0};
        frame.bodyAxisZ = HostVector {0, 0, 1};
        frame.bodyAxisY = HostVector {0, 1, 0};
        frame.bodyName[0] = 'E';
        frame.alphaModPtr = &alpha;
        frame.groupsFetched = 1;
    }
    // Camera above the focus vessel's position at the given altitude.
    void place(double altitude)
    {
        const double r = radius + altitude;
        frame.cameraRel = HostVector {r * std::cos(host.lat) * std::cos(host.lng), r * std::sin(host.lat),
            r * std::cos(host.lat) * std::sin(host.lng)};
    }
};

void start(carrier& c, double altitude)
{
    timersstart();
    HostServiceTable table {};
    table.entry[slotGetSize] = entryof(&getsize);
    table.entry[slotGetTimeAcceleration] = entryof(&timeacc);
    table.entry[slotGetFocusEquPos] = entryof(&focusequpos);
    table.entry[slotGetFocusObject] = entryof(&focusobject);
    table.entry[slotGetVesselInterface] = entryof(&vesselinterface);
    table.entry[slotVesselGlobalAxes] = entryof(&globalaxes);
    table.entry[slotGetFocusAirspeed] = entryof(&focusairspeed);
    table.entry[slotGetFocusShipAirspeedVector] = entryof(&focusairvec);
    initint(&table);
    host = benchhost {};
    c.frame.bodyName[1] = static_cast<char>('a' + (c.frame.bodyName[1] - 'a' + 1) % 26); // a new body each run
    c.place(altitude);
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
    carrier c;
    start(c, 20000.0);
    std::vector<double> micros;
    micros.reserve(1 << 20);
    std::uint64_t allocs = 0;
    std::int64_t k = 0;
    for (auto _ : state) {
        host.lat = 0.3 + 0.004 * std::sin(double(++k) * 0.001);
        c.place(20000.0);
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
    carrier c;
    start(c, 20000.0);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        host.lat = flip ? 0.32 : 0.3;
        c.place(20000.0);
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
        carrier c;
        start(c, 0.6 * radius);
        for (int k = 0; k <= 350; ++k) {
            const double t = k < 300 ? k / 300.0 : 1.0;
            host.lng = 0.7 + 0.0003 * k;
            c.place(0.6 * radius * std::pow(10000.0 / (0.6 * radius), t));
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
