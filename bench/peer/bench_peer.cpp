// The engine against its stateless peer (peer.h) on the same flights (flightpaths.h): per step the
// time each takes, the blocks each makes, and how far their leaf sets differ. The engine runs whole,
// through maincall and the tests' scripted host; the peer then sees the observer and rotation the
// engine's step saw. One benchmark per flight, each flown once. The warm-up burst of a restart (by
// design about 100 ms) is the engine's worst step on every flight: each starts with a restart.
#include "allocspy.h"
#include "benchstats.h"
#include "flightpaths.h"
#include "frontstate.h"
#include "peer.h"
#include "scriptedhost.h"
#include "timers.h"
#include "veilcore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using namespace skybench;

// A leaf's place on the cube, exact at every level down to the engine's deepest.
struct LeafKey {
    int face, level;
    long long x, y, z;
    bool operator<(const LeafKey& o) const
    {
        return std::tie(face, level, x, y, z) < std::tie(o.face, o.level, o.x, o.y, o.z);
    }
};

LeafKey keyOf(std::int32_t face, std::int32_t level, const vectyp& c, double radius)
{
    const double q = radius / 4096.0;
    return LeafKey {face, level, std::llround(c.x / q), std::llround(c.y / q), std::llround(c.z / q)};
}

// Leaves in one set and not the other.
int leafDifference(const roampl& engine, const StatelessPeer& peer)
{
    std::vector<LeafKey> a, b;
    for (const linktyp* l = engine.leaves; l; l = l->next)
        a.push_back(keyOf(l->block->face, l->block->level, l->block->cubecentre, engine.radius));
    for (const PeerLeaf& l : peer.leaves)
        b.push_back(keyOf(l.face, l.level, l.cubecentre, engine.radius));
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<LeafKey> d;
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(d));
    return static_cast<int>(d.size());
}

int leafCount(const roampl& engine)
{
    int n = 0;
    for (const linktyp* l = engine.leaves; l; l = l->next)
        ++n;
    return n;
}

double squaredDistance(const vectyp& a, const vectyp& b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

// Level of the engine's leaf nearest the observer (by block centre), and of the peer's (by the
// direction of its cube centre, on the shell).
double engineLevelUnder(const roampl& e)
{
    double best = -1, level = 0;
    for (const linktyp* l = e.leaves; l; l = l->next) {
        const double d = squaredDistance(l->block->centre, e.obsnap);
        if (best < 0 || d < best) {
            best = d;
            level = l->block->level;
        }
    }
    return level;
}

double peerLevelUnder(const StatelessPeer& p, const roampl& e)
{
    double best = -1, level = 0;
    for (const PeerLeaf& l : p.leaves) {
        const double d = squaredDistance(vecscale(vecnorm(l.cubecentre), e.radius + e.shellheight), e.obsnap);
        if (best < 0 || d < best) {
            best = d;
            level = l.level;
        }
    }
    return level;
}

double mean(const std::vector<double>& v)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0.0 : sum / double(v.size());
}

struct Side {
    std::vector<double> us, made, leaves, under;
};

void report(benchmark::State& state, const char* who, const Side& s)
{
    const std::string w = who;
    state.counters[w + "_median_us"] = percentile(s.us, 50);
    state.counters[w + "_p99_us"] = percentile(s.us, 99);
    state.counters[w + "_worst_us"] = s.us.empty() ? 0.0 : *std::max_element(s.us.begin(), s.us.end());
    state.counters[w + "_made_per_step"] = mean(s.made);
    state.counters[w + "_leaves"] = percentile(s.leaves, 50);
    state.counters[w + "_level_under"] = percentile(s.under, 50);
}

void BM_EngineAgainstPeer(benchmark::State& state)
{
    const FlightPath& path = flightPaths[state.range(0)];
    allocspy::watchsize(sizeof(blocktyp)); // the engine makes blocks only through the heap
    std::unique_ptr<StatelessPeer> peer(new StatelessPeer());
    peerInit(peer.get());
    Side engine, stateless;
    std::vector<double> difference;
    for (auto _ : state) {
        timersstart();
        script = hostscript {};
        HostServiceTable table = recordingtable();
        initint(&table);
        carrierkit c;
        double lng = 0.7;
        for (int k = 0; k < path.steps; ++k) {
            const FlightSample s = sampleFlight(path, k, &lng);
            script.size = s.radius;
            script.lat = s.lat;
            script.lng = s.lng;
            script.airspeed = s.speed;
            script.airvec = s.velocity;
            c.name(s.body);
            const double r = s.radius + s.altitude;
            c.camera(r * std::cos(s.lat) * std::cos(s.lng), r * std::sin(s.lat), r * std::cos(s.lat) * std::sin(s.lng));

            const long made = allocspy::watchedallocations();
            const auto t0 = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(maincall(&c.frame));
            const auto t1 = std::chrono::steady_clock::now();
            c.frame.groupsFetched = 0;
            // Compared only where the engine draws blocks, as the peer would.
            if (!front.engine.enabled || !(r < front.engine.radius + front.engine.rhalf))
                continue;
            engine.us.push_back(micros(t0, t1));
            engine.made.push_back(double(allocspy::watchedallocations() - made));
            engine.leaves.push_back(leafCount(front.engine));
            engine.under.push_back(engineLevelUnder(front.engine));

            const auto t2 = std::chrono::steady_clock::now();
            peerStep(peer.get(), front.engine);
            benchmark::ClobberMemory();
            const auto t3 = std::chrono::steady_clock::now();
            stateless.us.push_back(micros(t2, t3));
            stateless.made.push_back(double(peer->leaves.size()));
            stateless.leaves.push_back(double(peer->leaves.size()));
            stateless.under.push_back(peerLevelUnder(*peer, front.engine));
            difference.push_back(leafDifference(front.engine, *peer));
        }
    }
    state.SetLabel(path.name);
    report(state, "engine", engine);
    report(state, "peer", stateless);
    state.counters["leafdiff_median"] = percentile(difference, 50);
    state.counters["leafdiff_worst"]
        = difference.empty() ? 0.0 : *std::max_element(difference.begin(), difference.end());
    state.counters["steps"] = double(engine.us.size());
}
BENCHMARK(BM_EngineAgainstPeer)->DenseRange(0, flightPathCount - 1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
