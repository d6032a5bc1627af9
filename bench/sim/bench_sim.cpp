// The add-on's share of a stand-in simulator step: the same scene stepped with and without the
// skyveil plug-in (and so the carrier vessel and the engine) loaded, and the time the simulator
// measured inside the add-on's callbacks.
#include <hostsim/hostsim.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double earthRadius = 6371000.0; // [m]

// A focus vessel 0.3 radii up, drifting slowly east, seen from behind: the camera stays inside the
// fade radius, so the engine refines and re-points groups every step.
void setUpScene(bool withAddon)
{
    OBJHANDLE earth = hostsim::addBody(hostsim::bodyPreset("Earth"));
    const double r = 1.3 * earthRadius;
    OBJHANDLE ship = hostsim::createFree("Ship", "", earth, _V(r, 0, 0), _V(0, 0, 50), _V(0, 0, 0), _V(0, 0, 0), true);
    hostsim::setFocus(ship);
    hostsim::setCameraExternal(50);
    hostsim::setTimeStep(0.02);
    if (withAddon)
        hostsim::loadPlugin("skyveil");
    hostsim::step(20); // carrier created, visual made, groups fetched, warm-up burst done
}

// The step's wall time is the benchmark's figure; addon_us is the part the simulator measured inside
// the add-on's callbacks (its drawing of the carrier's blocks is the host's, not the add-on's).
void stepScene(benchmark::State& state, bool withAddon)
{
    hostsim::Session session(hostsim::makeTempRoot(SKYVEIL_ROOT_TEMPLATE));
    setUpScene(withAddon);
    std::vector<double> addon;
    addon.reserve(1 << 20);
    for (auto _ : state) {
        hostsim::step();
        if (addon.size() < addon.capacity())
            addon.push_back(hostsim::addonTimeLastStep());
    }
    std::sort(addon.begin(), addon.end());
    state.counters["addon_us"] = addon.empty() ? 0.0 : addon[addon.size() / 2];
    state.counters["addon_p99_us"] = addon.empty() ? 0.0 : addon[addon.size() * 99 / 100];
    state.counters["carrier"] = hostsim::vesselByName("TheHazeCarrier") ? 1 : 0;
}

void BM_SimStepWithoutAddon(benchmark::State& state)
{
    stepScene(state, false);
}
void BM_SimStepWithAddon(benchmark::State& state)
{
    stepScene(state, true);
}

} // namespace

BENCHMARK(BM_SimStepWithoutAddon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SimStepWithAddon)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
