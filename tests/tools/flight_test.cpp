// Flights of the built-in scenarios (short versions) in the stand-in simulator with the real add-on:
// the carrier's life, the drawn shell, and the trace against the simulator's own state.
#include "blockgroup.h"
#include "facetray.h"
#include "flightfixture.h"
#include "scenerender.h"
#include "spherefit.h"
#include "summary.h"
#include "viewmath.h"

#include <hostsim/hostsim.h>

#include <cmath>
#include <cstring>

using namespace skysim;

namespace {

const double shellHeight = 10000.0; // the carrier stands this high; the shell is drawn this high over the ground

struct Flown {
    std::vector<TraceRow> rows;
    std::vector<double> hookAltitude; // the focus vessel's altitude as the step hook saw it
    std::vector<double> stepUs; // wall time of each simulator step
};

// Flies a scenario and checks, step by step, the trace row against the simulator.
Flown flyChecked(const Scenario& s)
{
    Flown out;
    Flight f;
    std::string err;
    EXPECT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
    if (!err.empty())
        return out;
    for (int k = 0; k < s.steps; ++k) {
        const PathPoint p = samplePath(s, k, [&](const std::string& b) { return oapiGetSize(f.body(b)); });
        out.hookAltitude.push_back(p.altitude);
        out.stepUs.push_back(f.fly(k));
        const TraceRow r = f.observe(k);
        out.rows.push_back(r);

        // The row says what the simulator shows.
        const hostsim::VesselView fv = hostsim::vessel(f.focus());
        EXPECT_DOUBLE_EQ(r.altitude, fv.altitude);
        EXPECT_DOUBLE_EQ(r.time, hostsim::simTime());
        EXPECT_DOUBLE_EQ(r.addonUs, hostsim::addonTimeLastStep());
        // The add-on's time is measured inside the step.
        EXPECT_TRUE(std::isfinite(r.addonUs) && r.addonUs >= 0) << "step " << k;
        EXPECT_LE(r.addonUs, out.stepUs.back()) << "step " << k;
        const OBJHANDLE c = hostsim::vesselByName("TheHazeCarrier");
        EXPECT_EQ(r.carrier, c != nullptr && !hostsim::vessel(c).pendingDeletion) << "step " << k;
        int blocks = 0;
        for (const hostsim::DrawItem& item : hostsim::drawList()) {
            if (item.vessel == c && isBlock(item.group))
                ++blocks;
        }
        EXPECT_EQ(r.groupsDrawn, blocks) << "step " << k;
        // The shell casts no ground shadow: every group the host draws carries "no shadow".
        EXPECT_EQ(r.shadowGroups, c ? int(hostsim::drawStats(c).shadowGroups) : 0) << "step " << k;
        EXPECT_EQ(r.shadowGroups, 0) << "step " << k;
        EXPECT_LE(r.leaves, r.groupsDrawn);
        EXPECT_LE(r.groupsDrawn, 1023); // the last group always holds the placeholder
        if (c && hostsim::visualMesh(c, 0)) {
            MESHHANDLE mesh = hostsim::visualMesh(c, 0);
            EXPECT_EQ(r.alphaFlag, int(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA)));
            if (r.groupsDrawn > 0) {
                EXPECT_FLOAT_EQ(float(r.haze), hostsim::material(mesh, 0)->ambient.a);
            }
        }
        // The haze follows the camera's distance: nothing from 1.5 radii out, fading over the next
        // quarter radius, full below. The engine saw the camera where the previous step's move left it.
        if (r.carrier && k > 2) {
            const double d = out.rows[std::size_t(k) - 1].cameraRadii;
            if (d > 1.501) {
                EXPECT_EQ(r.groupsDrawn, 0) << "step " << k;
            }
            if (d < 1.499 && d > 1.251) {
                EXPECT_NEAR(r.haze, (1.5 - d) / 0.25, 0.01) << "step " << k;
                EXPECT_EQ(r.alphaFlag, 1) << "step " << k;
            }
            if (d < 1.249 && r.groupsDrawn > 0) {
                EXPECT_DOUBLE_EQ(r.haze, 1.0) << "step " << k;
                EXPECT_EQ(r.alphaFlag, 0) << "step " << k;
            }
        }
    }
    return out;
}

// The carrier exists after a step exactly when the altitude that step's hook saw was below two radii
// (steps within a metre of the threshold are not judged).
void expectCarrierBelowTwoRadii(const Flown& fl, const Scenario& s, double radiusOfBody(const std::string&))
{
    for (std::size_t k = 0; k < fl.rows.size(); ++k) {
        const double limit = 2.0 * radiusOfBody(fl.rows[k].body);
        if (std::fabs(fl.hookAltitude[k] - limit) < 1.0)
            continue;
        EXPECT_EQ(fl.rows[k].carrier, fl.hookAltitude[k] < limit)
            << s.name << " step " << k << " altitude " << fl.hookAltitude[k];
    }
}

double presetRadius(const std::string& body)
{
    return hostsim::bodyPreset(body).radius;
}

// Every drawn vertex, taken to global coordinates through the carrier's placement, on one sphere of
// the body's radius plus the shell height.
SphereFit expectOneShell(const Flight& f, double radius)
{
    const std::vector<double> pts = f.shellPoints();
    EXPECT_GT(pts.size(), 6u * 81u * 3u - 1u);
    const SphereFit fit = fitSphere(pts);
    EXPECT_TRUE(fit.ok);
    EXPECT_NEAR(fit.radius, radius + shellHeight, 5.0);
    // 32-bit vertex components at about 1e7 m: a metre or so of rounding.
    EXPECT_LT(fit.maxDeviation, 5.0);
    // The carrier stands 10 km over the ground, so the shell is centred on the body.
    EXPECT_LT(std::sqrt(fit.centre[0] * fit.centre[0] + fit.centre[1] * fit.centre[1] + fit.centre[2] * fit.centre[2]),
        100.0);
    return fit;
}

// The drawn shell straight over the focus vessel, worked out apart from the trace: each triangle of
// the carrier's block groups is met by the ray from the body's centre through the vessel in its plane,
// and kept when the meeting point lies inside it (same side of all three edges).
struct DrawnShell {
    bool crossed = false;
    double height = 0; // over the ground [m]
    double sagAllowed = 0; // the deepest sag of the crossed block's grid cells [m]
};

DrawnShell drawnShellOverFocus(const Flight& f)
{
    DrawnShell out;
    const SceneView v = f.scene();
    const VECTOR3 up = unit(v.observerPos - v.bodyPos);
    const OBJHANDLE c = f.carrier();
    double outermost = -1;
    const double(*crossedBlock)[3] = nullptr;
    double pos[blockVertexCount][3];
    double kept[blockVertexCount][3];
    for (const hostsim::DrawItem& item : hostsim::drawList()) {
        const MESHGROUP& g = item.group;
        if (item.vessel != c || !isBlock(g))
            continue;
        for (DWORD i = 0; i < blockVertexCount; ++i) {
            const VECTOR3 p = placedVertex(item.pos, item.rot, g.Vtx[i]) - v.bodyPos;
            pos[i][0] = p.x;
            pos[i][1] = p.y;
            pos[i][2] = p.z;
        }
        bool crossedHere = false;
        for (DWORD t = 0; t + 2 < g.nIdx; t += 3) {
            EXPECT_LT(g.Idx[t + 2], blockVertexCount);
            const VECTOR3 a = _V(pos[g.Idx[t]][0], pos[g.Idx[t]][1], pos[g.Idx[t]][2]);
            const VECTOR3 b = _V(pos[g.Idx[t + 1]][0], pos[g.Idx[t + 1]][1], pos[g.Idx[t + 1]][2]);
            const VECTOR3 cc = _V(pos[g.Idx[t + 2]][0], pos[g.Idx[t + 2]][1], pos[g.Idx[t + 2]][2]);
            const VECTOR3 n = crossp(b - a, cc - a);
            const double across = dotp(n, up);
            if (std::fabs(across) < 1e-9 * length(n))
                continue;
            const double dist = dotp(n, a) / across;
            const VECTOR3 q = up * dist;
            const double s0 = dotp(crossp(b - a, q - a), n), s1 = dotp(crossp(cc - b, q - b), n),
                         s2 = dotp(crossp(a - cc, q - cc), n);
            if (dist > outermost && s0 >= 0 && s1 >= 0 && s2 >= 0) {
                outermost = dist;
                crossedHere = true;
            }
        }
        if (crossedHere) {
            std::memcpy(kept, pos, sizeof pos);
            crossedBlock = kept;
        }
    }
    if (!crossedBlock)
        return out;
    out.crossed = true;
    out.height = outermost - v.bodyRadius;
    out.sagAllowed = deepestGridSag(crossedBlock, v.bodyRadius + shellHeight);
    return out;
}

} // namespace

TEST(FlightScenarios, DescentShowsTheShellAndTheTraceAgreesWithTheSimulator)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    const Scenario s = shortScenario("descent", 80);
    const Flown fl = flyChecked(s);
    ASSERT_EQ(int(fl.rows.size()), s.steps);
    expectCarrierBelowTwoRadii(fl, s, presetRadius);
    const FlightSummary sum = summarise(fl.rows);
    EXPECT_EQ(sum.carrierCreated, 1);
    EXPECT_EQ(sum.carrierDeleted, 0);
    EXPECT_EQ(sum.restarts, 1);
    EXPECT_GT(sum.reanchors, 3);
    // One warm-up, the step whose add-on time holds the engine's burst of refinement runs, which
    // outweighs everything the host does in that step.
    ASSERT_EQ(sum.warmups.size(), 1u);
    const int warm = sum.warmups.front().first;
    EXPECT_GT(sum.warmups.front().second, 0.5 * fl.stepUs[std::size_t(warm)]);
    // Starts outside the haze, ends deep inside it.
    EXPECT_GT(fl.rows.front().cameraRadii, 1.55);
    EXPECT_EQ(fl.rows.front().groupsDrawn, 0);
    EXPECT_LT(fl.rows.back().cameraRadii, 1.01);
    EXPECT_GT(fl.rows.back().groupsDrawn, 6);
    EXPECT_DOUBLE_EQ(fl.rows.back().haze, 1.0);
}

TEST(FlightScenarios, EveryDrawnVertexLiesOnOneShellOfRadiusPlusTenKilometres)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    const Scenario s = shortScenario("descent", 60);
    Flight f;
    std::string err;
    ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
    const double radius = presetRadius("Earth");
    int checked = 0;
    for (int k = 0; k < s.steps; ++k) {
        f.fly(k);
        const TraceRow r = f.observe(k);
        if (r.groupsDrawn == 0 || k % 10)
            continue;
        expectOneShell(f, radius);
        // The trace reports the vertex nearest overhead 10 km over the ground.
        ASSERT_TRUE(r.hasShellVertex);
        EXPECT_NEAR(r.shellVertexAltitude, shellHeight, 1.0);
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST(FlightScenarios, EveryBuiltInScenarioDrawsItsFacetsBetweenTheStandHeightAndTheirGridsSag)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    for (const std::string& name : builtinScenarioNames()) {
        Scenario s;
        ScenarioError se;
        ASSERT_TRUE(loadScenario(name, s, se)) << se.message();
        Flight f;
        std::string err;
        ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
        std::vector<TraceRow> rows;
        int drawn = 0;
        for (int k = 0; k < s.steps; ++k) {
            f.fly(k);
            rows.push_back(f.observe(k));
            const TraceRow& r = rows.back();
            if (r.groupsDrawn == 0)
                continue;
            ++drawn;
            const DrawnShell d = drawnShellOverFocus(f);
            ASSERT_TRUE(d.crossed) << name << " step " << k;
            ASSERT_TRUE(r.hasShell) << name << " step " << k;
            EXPECT_NEAR(r.shellAltitude, d.height, 0.1) << name << " step " << k;
            // A flat facet of a block drawn as built lies no higher than its vertices and no deeper than its
            // grid's cells can sag.
            EXPECT_LE(r.shellAltitude, shellHeight + 1.0) << name << " step " << k;
            EXPECT_GE(r.shellAltitude, shellHeight - d.sagAllowed - 1.0)
                << name << " step " << k << ", the block overhead allows a sag of " << d.sagAllowed << " m";
            ASSERT_TRUE(r.hasShellVertex) << name << " step " << k;
            EXPECT_NEAR(r.shellVertexAltitude, shellHeight, 1.0) << name << " step " << k;
        }
        EXPECT_GT(drawn, 10) << name;
        // Far from where the tessellation warmed up the blocks overhead are coarse: at dusk the facet
        // over the vessel dips under the ground.
        if (name == "dusk") {
            EXPECT_LT(summarise(rows).shellMin, 0.0);
        }
    }
}

// The columns that say what the engine drew, alike in every host that places the carrier right.
struct EngineColumns {
    bool carrier;
    int leaves, groupsDrawn;
    double haze;
    bool reanchor;
    bool operator==(const EngineColumns& o) const
    {
        return carrier == o.carrier && leaves == o.leaves && groupsDrawn == o.groupsDrawn && haze == o.haze
            && reanchor == o.reanchor;
    }
};

std::ostream& operator<<(std::ostream& os, const EngineColumns& c)
{
    return os << "carrier " << c.carrier << ", leaves " << c.leaves << ", groups " << c.groupsDrawn << ", haze "
              << c.haze << ", re-anchor " << c.reanchor;
}

TEST(FlightScenarios, EveryHostGenerationDrawsEveryBuiltInScenarioAlike)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    struct Host {
        int version;
        int terrain; // as a scenario's "terrain" line: 0 off, -1 the host's default (on from 160000)
    };
    const Host hosts[] = {{60929, -1}, {160828, 0}, {241231, 0}, {160828, -1}, {241231, -1}};
    int overTerrain = 0;
    for (const std::string& name : builtinScenarioNames()) {
        std::vector<EngineColumns> reference;
        for (const Host& host : hosts) {
            Scenario s = shortScenario(name, 60);
            s.hostVersion = host.version;
            s.terrain = host.terrain;
            Flight f;
            std::string err;
            ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
            const std::string what
                = name + " at " + std::to_string(host.version) + " terrain " + std::to_string(host.terrain);
            for (int k = 0; k < s.steps; ++k) {
                f.fly(k);
                const TraceRow r = f.observe(k);
                const EngineColumns c {r.carrier, r.leaves, r.groupsDrawn, r.haze, r.reanchor};
                if (host.version == 60929) {
                    reference.push_back(c);
                } else if (host.terrain == 0) {
                    EXPECT_EQ(c, reference[std::size_t(k)]) << what << ", step " << k;
                }
                // Over the terrain too, the carrier's origin stands the shell height over the mean radius.
                if (const OBJHANDLE carrier = f.carrier()) {
                    const hostsim::VesselView cv = hostsim::vessel(carrier);
                    VECTOR3 centre;
                    oapiGetGlobalPos(cv.body, &centre);
                    EXPECT_NEAR(length(cv.pos - centre) - oapiGetSize(cv.body), shellHeight, 1.0)
                        << what << ", step " << k;
                    if (hostsim::terrainElevation(cv.body, cv.lng, cv.lat) > 100.0)
                        ++overTerrain;
                }
            }
            EXPECT_TRUE(hostsim::messages().empty()) << what << ": " << hostsim::messages().front().text;
            EXPECT_TRUE(f.addonMessages().empty()) << what;
        }
    }
    EXPECT_GT(overTerrain, 20);
}

TEST(FlightScenarios, AscentCreatesTheCarrierOnTheGroundAndDeletesItPastTwoRadii)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    const Scenario s = shortScenario("ascent", 60);
    const Flown fl = flyChecked(s);
    ASSERT_EQ(int(fl.rows.size()), s.steps);
    expectCarrierBelowTwoRadii(fl, s, presetRadius);
    const FlightSummary sum = summarise(fl.rows);
    EXPECT_EQ(sum.carrierCreated, 1);
    EXPECT_EQ(sum.carrierDeleted, 1);
    EXPECT_TRUE(fl.rows.front().carrier);
    EXPECT_FALSE(fl.rows.back().carrier);
    EXPECT_GT(fl.rows.back().altitude, 2.0 * presetRadius("Earth"));
    EXPECT_EQ(hostsim::vesselByName("TheHazeCarrier"), nullptr);
}

TEST(FlightScenarios, EarthToMoonMovesTheShellToTheNewBody)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    const Scenario s = shortScenario("earth-to-moon", 50);
    Flight f;
    std::string err;
    ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
    std::vector<TraceRow> rows;
    bool checkedEarth = false;
    for (int k = 0; k < s.steps; ++k) {
        f.fly(k);
        rows.push_back(f.observe(k));
        const TraceRow& r = rows.back();
        if (r.groupsDrawn == 0)
            continue;
        if (r.body == "Earth" && !checkedEarth) {
            expectOneShell(f, presetRadius("Earth"));
            checkedEarth = true;
        }
        if (r.body == "Moon") {
            EXPECT_EQ(hostsim::vessel(f.carrier()).body, f.body("Moon")) << "step " << k;
        }
    }
    EXPECT_TRUE(checkedEarth);
    ASSERT_EQ(rows.back().body, "Moon");
    ASSERT_GT(rows.back().groupsDrawn, 0);
    expectOneShell(f, presetRadius("Moon"));
    const FlightSummary sum = summarise(rows);
    EXPECT_EQ(sum.restarts, 2);
    EXPECT_EQ(sum.carrierDeleted, 0);
}

TEST(FlightScenarios, FinerBlocksLieNearerTheObserverThanCoarserOnes)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    const Scenario s = shortScenario("descent", 60);
    Flight f;
    std::string err;
    ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
    for (int k = 0; k < s.steps; ++k) {
        f.fly(k);
        f.observe(k);
    }
    const SceneView v = f.scene();
    int under = -1;
    const std::vector<int> levels = blockLevels(v, &under);
    ASSERT_GE(under, 0);
    // The observer's own block was split below the roots' first split.
    EXPECT_GE(levels[std::size_t(under)], 3);
    // Mean angle from the observer of the blocks of the deepest and of the shallowest level drawn.
    const VECTOR3 obs = unit(v.observerPos - v.bodyPos);
    int lo = 99, hi = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (!isBlock(v.groups[i].group))
            continue; // the placeholder
        ASSERT_GT(levels[i], 0) << "group " << i;
        lo = std::min(lo, levels[i]);
        hi = std::max(hi, levels[i]);
    }
    ASSERT_LT(lo, hi) << "one level everywhere";
    double angle[2] = {0, 0};
    int count[2] = {0, 0};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (!isBlock(v.groups[i].group) || (levels[i] != lo && levels[i] != hi))
            continue;
        const SceneGroup& g = v.groups[i];
        const NTVERTEX& m = g.group.Vtx[blockCentreVertex];
        const VECTOR3 c = unit(placedVertex(g.pos, g.rot, m) - v.bodyPos);
        const int which = levels[i] == hi ? 1 : 0;
        angle[which] += std::acos(std::fmax(-1.0, std::fmin(1.0, dotp(c, obs))));
        ++count[which];
    }
    EXPECT_LT(angle[1] / count[1], angle[0] / count[0]);
}

TEST(FlightScenarios, CameraTakesEachViewFromItsStepOn)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    Scenario s;
    ScenarioError se;
    ASSERT_TRUE(parseScenario("skyveil-scenario 1\nbodies Earth\nsteps 6\nat 0 Earth alt 0.3R lng 10 lat 40\n"
                              "at 5 Earth alt 5km lng 11 lat 40\nview 0 planet 120\nview 3 horizon 30\nend\n",
        "views", s, se))
        << se.message();
    Flight f;
    std::string err;
    ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
    const double pi = 3.14159265358979323846;
    for (int k = 0; k < s.steps; ++k) {
        f.fly(k);
        const SceneView v = f.scene();
        const VECTOR3 toCentre = unit(v.bodyPos - v.camPos);
        if (k < 3) {
            EXPECT_NEAR(v.aperture, 60.0 * pi / 180.0, 1e-9) << "step " << k;
            EXPECT_GT(dotp(unit(v.camDir), toCentre), 0.9999) << "step " << k;
            // Straight down, north is up in the picture.
            EXPECT_GT(dotp(v.camUp, mul(v.bodyRot, _V(0, 1, 0))), 0.99) << "step " << k;
        } else {
            EXPECT_NEAR(v.aperture, 15.0 * pi / 180.0, 1e-9) << "step " << k;
            // Down by the horizon's dip only: far from the centre's direction.
            EXPECT_LT(dotp(unit(v.camDir), toCentre), 0.5) << "step " << k;
        }
    }
}

TEST(FlightScenarios, RefusesARootWithoutTheAddon)
{
    const Scenario s = shortScenario("descent", 5);
    Flight f;
    std::string err;
    EXPECT_FALSE(f.begin(s, ::testing::TempDir() + "no-such-root", true, err));
    EXPECT_NE(err.find("modules/veilcore.dll"), std::string::npos) << err;
}
