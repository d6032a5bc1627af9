// End to end with the real skyveil and veilcore: a flight down to the surface and back out, the
// threshold of twice the radius, a change of reference body, the ends of the carrier's visual and
// sessions one after another in one process.
#include "pluginharness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const double shellHeight = 10000.0; // [m] the haze shell above the surface

// Calls of oapiGetFocusAirspeed: only the engine asks for it, once per maincall.
long engineCalls()
{
    return hostsim::callCount("oapiGetFocusAirspeed");
}

// Steps until the engine has run once more; false if it does not within maxSteps.
bool stepUntilEngineRuns(int maxSteps = 10)
{
    const long before = engineCalls();
    for (int i = 0; i < maxSteps; ++i) {
        hostsim::step();
        if (engineCalls() > before)
            return true;
    }
    return false;
}

// Distances of the vertices of the carrier's drawn 81-vertex groups from the centre of the sphere the
// engine draws in the carrier's frame: radius + shell height below the carrier's origin along its y
// axis (a shell point straight above the anchor lands on the origin). Returns the number of blocks.
int shellVertexDistances(OBJHANDLE carrier, double radius, double* minDist, double* maxDist)
{
    int blocks = 0;
    *minDist = 1e300;
    *maxDist = 0;
    for (const hostsim::DrawItem& item : hostsim::drawList()) {
        if (item.vessel != carrier || item.group.nVtx != 81)
            continue;
        ++blocks;
        const VECTOR3 centre = _V(0, -(radius + shellHeight), 0);
        for (DWORD i = 0; i < item.group.nVtx; ++i) {
            const NTVERTEX& v = item.group.Vtx[i];
            const double d = distance(_V(v.x, v.y, v.z), centre);
            *minDist = std::fmin(*minDist, d);
            *maxDist = std::fmax(*maxDist, d);
        }
    }
    return blocks;
}

// A heading of 0, whichever end of [0, 2 pi) the host reports it at.
void expectNorth(double heading)
{
    EXPECT_NEAR(std::remainder(heading, PI2), 0.0, 1e-9);
}

} // namespace

TEST(Flight, CarrierAppearsBelowTwoRadiiDrawsTheShellAndIsDeletedAbove)
{
    Scene scene(Engine::Real);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    EXPECT_TRUE(hostsim::messages().empty());
    const double radius = oapiGetSize(scene.earth);

    scene.placeShip(scene.earth, 0.3, 0.5, 2.5 * radius);
    hostsim::step(2);
    EXPECT_TRUE(carriers().empty());

    // The first step below the threshold creates the carrier where the focus vessel is.
    scene.placeShip(scene.earth, 0.3, 0.5, 1.9 * radius);
    hostsim::step();
    ASSERT_EQ(carriers().size(), 1u);
    const OBJHANDLE carrier = carriers()[0];
    hostsim::VesselView view = hostsim::vessel(carrier);
    EXPECT_EQ(view.name, "TheHazeCarrier");
    EXPECT_TRUE(view.landed);
    EXPECT_EQ(view.body, scene.earth);
    EXPECT_NEAR(view.lng, 0.3, 1e-9);
    EXPECT_NEAR(view.lat, 0.5, 1e-9);
    expectNorth(view.hdg);

    // Down to low altitude: the engine runs once groups have been fetched, and fetches them once.
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    ASSERT_TRUE(stepUntilEngineRuns());
    EXPECT_EQ(hostsim::callCount("oapiMeshGroup"), 1024);
    EXPECT_EQ(hostsim::callCount("oapiMeshMaterial"), 1);
    const long calls = engineCalls();
    hostsim::step(5);
    EXPECT_EQ(engineCalls(), calls + 5);
    EXPECT_EQ(hostsim::callCount("oapiMeshGroup"), 1024);
    EXPECT_EQ(hostsim::callCount("oapiMeshMaterial"), 1);
    EXPECT_EQ(carriers().size(), 1u);

    // Inside 1.25 radii: the shell at full haze, drawn from 81-vertex blocks, alpha modulation off.
    double nearest = 0, farthest = 0;
    EXPECT_GT(shellVertexDistances(carrier, radius, &nearest, &farthest), 0);
    EXPECT_NEAR(nearest, radius + shellHeight, 50.0);
    EXPECT_NEAR(farthest, radius + shellHeight, 50.0);
    const MESHHANDLE mesh = hostsim::visualMesh(carrier, 0);
    ASSERT_NE(mesh, nullptr);
    const MATERIAL* haze = hostsim::material(mesh, 0);
    ASSERT_NE(haze, nullptr);
    EXPECT_FLOAT_EQ(haze->diffuse.r, 0.61f);
    EXPECT_FLOAT_EQ(haze->diffuse.g, 0.8f);
    EXPECT_FLOAT_EQ(haze->diffuse.b, 1.0f);
    EXPECT_FLOAT_EQ(haze->diffuse.a, 0.3f);
    EXPECT_EQ(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA), 0u);

    // In the fading band between 1.25 and 1.5 radii the engine asks for alpha modulation.
    scene.placeShip(scene.earth, 0.3, 0.5, 0.4 * radius);
    hostsim::step();
    EXPECT_EQ(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA), 1u);
    EXPECT_GT(haze->diffuse.a, 0.0f);
    EXPECT_LT(haze->diffuse.a, 0.3f);
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step();
    EXPECT_EQ(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA), 0u);

    // A move of more than 0.01 rad makes the engine ask for a re-anchoring under the focus vessel.
    scene.placeShip(scene.earth, 0.36, 0.47, 2000.0);
    hostsim::step();
    view = hostsim::vessel(carrier);
    EXPECT_NEAR(view.lng, 0.36, 1e-9);
    EXPECT_NEAR(view.lat, 0.47, 1e-9);
    expectNorth(view.hdg);
    EXPECT_TRUE(view.landed);

    // Climbing back above two radii deletes it.
    scene.placeShip(scene.earth, 0.36, 0.47, 2.2 * radius);
    hostsim::step();
    EXPECT_TRUE(carriers().empty());
    hostsim::step();
    EXPECT_FALSE(hostsim::isVessel(carrier));
    EXPECT_EQ(hostsim::vesselByName("TheHazeCarrier"), nullptr);
    EXPECT_TRUE(hostsim::messages().empty());
}

TEST(Flight, NoCarrierAtExactlyTwiceTheRadius)
{
    Scene scene(Engine::Real);
    // A body at the origin with a radius of a power of two, so that the altitude comes out exact.
    hostsim::BodySpec spec;
    spec.name = "Exact";
    spec.radius = 4194304.0;
    spec.mass = 5e24;
    const OBJHANDLE body = hostsim::addBody(spec);
    ASSERT_NE(body, nullptr);
    ASSERT_NE(scene.loadPlugin(), nullptr);

    VESSEL* ship = hostsim::vessel(scene.ship).iface;
    VESSELSTATUS2 status = {};
    status.version = 2;
    status.rbody = body;
    status.rpos = _V(3 * spec.radius, 0, 0);
    ship->DefSetStateEx(&status);
    ASSERT_EQ(ship->GetSurfaceRef(), body);
    ASSERT_EQ(ship->GetAltitude(), 2 * spec.radius);
    hostsim::step(3);
    EXPECT_TRUE(carriers().empty());

    status.rpos = _V(3 * spec.radius - 1.0, 0, 0);
    ship->DefSetStateEx(&status);
    hostsim::step();
    ASSERT_EQ(carriers().size(), 1u);
    EXPECT_EQ(hostsim::vessel(carriers()[0]).body, body);

    // Back at exactly twice the radius: deleted on the first such step.
    status.rpos = _V(3 * spec.radius, 0, 0);
    ship->DefSetStateEx(&status);
    hostsim::step();
    EXPECT_TRUE(carriers().empty());
}

TEST(Flight, BodyChangeMovesTheCarrierToTheMoonAndRestartsTheShellThere)
{
    Scene scene(Engine::Real);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step();
    ASSERT_EQ(carriers().size(), 1u);
    const OBJHANDLE carrier = carriers()[0];
    ASSERT_TRUE(stepUntilEngineRuns());

    scene.placeShip(scene.moon, -1.2, 0.25, 1500.0);
    ASSERT_TRUE(stepUntilEngineRuns(1));
    const hostsim::VesselView view = hostsim::vessel(carrier);
    EXPECT_EQ(carriers().size(), 1u);
    EXPECT_EQ(view.body, scene.moon);
    EXPECT_TRUE(view.landed);
    EXPECT_NEAR(view.lng, -1.2, 1e-9);
    EXPECT_NEAR(view.lat, 0.25, 1e-9);
    expectNorth(view.hdg);

    // The restarted engine builds its shell around the Moon.
    const double moonRadius = oapiGetSize(scene.moon);
    double nearest = 0, farthest = 0;
    EXPECT_GT(shellVertexDistances(carrier, moonRadius, &nearest, &farthest), 0);
    EXPECT_NEAR(nearest, moonRadius + shellHeight, 50.0);
    EXPECT_NEAR(farthest, moonRadius + shellHeight, 50.0);
}

TEST(Flight, TwoCarriersDrawOneShellAndNeverPointAtFreedBlocks)
{
    Scene scene(Engine::Real);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step();
    ASSERT_EQ(carriers().size(), 1u);
    const OBJHANDLE first = carriers()[0];
    const OBJHANDLE second = hostsim::createLanded("SecondCarrier", "HazeCarrier", scene.earth, 0.3, 0.5);
    ASSERT_NE(second, nullptr);

    // Which carriers draw blocks, after every vertex of every drawn group has been read as the host
    // reads it (a freed block array shows under asan).
    auto shells = [&]() {
        std::vector<OBJHANDLE> drawing;
        float sink = 0;
        for (const hostsim::DrawItem& item : hostsim::drawList()) {
            for (DWORD i = 0; i < item.group.nIdx; ++i) {
                const NTVERTEX& v = item.group.Vtx[item.group.Idx[i]];
                sink += v.x + v.y + v.z;
            }
            if (item.group.nVtx == 81 && (drawing.empty() || drawing.back() != item.vessel))
                drawing.push_back(item.vessel);
        }
        EXPECT_TRUE(std::isfinite(sink));
        for (OBJHANDLE c : {first, second}) {
            const hostsim::DrawStats s = hostsim::drawStats(c);
            EXPECT_EQ(s.badIndices, 0u);
            EXPECT_EQ(s.nullArrays, 0u);
        }
        return drawing;
    };

    // Earth -> Moon -> Earth, each time low, then with the camera outside 1.5 radii, then low again.
    const OBJHANDLE bodies[] = {scene.earth, scene.moon, scene.earth};
    for (const OBJHANDLE body : bodies) {
        for (const double radii : {0.0003, 0.6, 0.0003}) {
            scene.placeShip(body, 0.3, 0.5, radii * oapiGetSize(body));
            for (int i = 0; i < 4; ++i) {
                hostsim::step();
                const std::vector<OBJHANDLE> drawing = shells();
                EXPECT_EQ(drawing.size(), radii < 0.5 ? 1u : 0u) << "step " << hostsim::stepCount();
                if (!drawing.empty()) {
                    EXPECT_EQ(drawing[0], first);
                }
            }
        }
    }

    // The driving carrier goes: the other takes the engine over with its own groups.
    oapiDeleteVessel(first, nullptr);
    for (int i = 0; i < 4; ++i)
        hostsim::step();
    const std::vector<OBJHANDLE> drawing = shells();
    ASSERT_EQ(drawing.size(), 1u);
    EXPECT_EQ(drawing[0], second);
}

namespace {

// Whether the engine has pointed the carrier's visual's groups at its own memory (group 0 holds a
// block or the placeholder once maincall has run).
bool engineWroteGroups(OBJHANDLE carrier)
{
    const MESHHANDLE mesh = hostsim::visualMesh(carrier, 0);
    return mesh && !hostsim::groupUsesOwnArrays(mesh, 0);
}

// Flies the ship low over the Earth until the engine has written the one carrier's groups; returns
// that carrier (null, with a failure, if it does not happen within ten steps).
OBJHANDLE flyLowUntilWritten(Scene& scene)
{
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    for (int i = 0; i < 10; ++i) {
        hostsim::step();
        if (carriers().size() == 1 && engineWroteGroups(carriers()[0]))
            return carriers()[0];
    }
    ADD_FAILURE() << "the engine never wrote the carrier's groups";
    return nullptr;
}

void climbOutAndBack(Scene& scene)
{
    const OBJHANDLE first = flyLowUntilWritten(scene);
    ASSERT_NE(first, nullptr);
    scene.placeShip(scene.earth, 0.3, 0.5, 2.2 * oapiGetSize(scene.earth));
    hostsim::step(); // the hook deletes the carrier; its visual goes at the end of the step
    EXPECT_TRUE(carriers().empty());
    EXPECT_NE(flyLowUntilWritten(scene), nullptr); // a new carrier, its groups fetched afresh
}

void sessionEndsWithTheCarrier(Scene& scene)
{
    ASSERT_NE(flyLowUntilWritten(scene), nullptr);
    hostsim::shutdown(); // the scene closes: every visual is destroyed before the vessels go
    EXPECT_TRUE(hostsim::vessels().empty());
}

void visualLeavesTheRangeAndComesBack(Scene& scene)
{
    const OBJHANDLE carrier = flyLowUntilWritten(scene);
    ASSERT_NE(carrier, nullptr);
    // With its size of 1e8 m the carrier stays in visual range out to about 3.7e15 m.
    hostsim::setCameraGlobal(_V(1e16, 0, 0), _V(-1, 0, 0));
    hostsim::step();
    EXPECT_EQ(hostsim::visualOf(carrier), nullptr);
    EXPECT_EQ(flyLowUntilWritten(scene), carrier); // the camera back near the ship: a new visual
}

void twoCarriersHandTheEngineOver(Scene& scene)
{
    const OBJHANDLE first = flyLowUntilWritten(scene);
    ASSERT_NE(first, nullptr);
    const OBJHANDLE second = hostsim::createLanded("SecondCarrier", "HazeCarrier", scene.earth, 0.3, 0.5);
    ASSERT_NE(second, nullptr);
    hostsim::step(3);
    EXPECT_FALSE(engineWroteGroups(second)); // waits with its mesh file's groups
    oapiDeleteVessel(first, nullptr);
    for (int i = 0; i < 4 && !engineWroteGroups(second); ++i)
        hostsim::step();
    EXPECT_TRUE(engineWroteGroups(second));
    scene.placeShip(scene.earth, 0.3, 0.5, 2.2 * oapiGetSize(scene.earth));
    hostsim::step();
    EXPECT_FALSE(hostsim::isVessel(second));
}

void unboundCarrierDeletesItself(Scene& scene)
{
    // Without the plug-in's step hook the carrier is not active: it deletes itself on its first step.
    const OBJHANDLE carrier = hostsim::createLanded("TheHazeCarrier", "HazeCarrier", scene.earth, 0.3, 0.5);
    ASSERT_NE(carrier, nullptr);
    hostsim::createVisual(carrier);
    hostsim::step();
    EXPECT_FALSE(hostsim::isVessel(carrier));
}

struct VisualEnd {
    const char* name;
    Engine engine;
    bool plugin; // loaded as a plug-in, not only as the carrier's vessel module
    void (*fly)(Scene&);
};

const VisualEnd visualEnds[] = {
    {"CarrierDeletedAboveTwoRadiiAndCreatedAgain", Engine::Real, true, climbOutAndBack},
    {"SessionEndsWithTheCarrierInTheScene", Engine::Real, true, sessionEndsWithTheCarrier},
    {"VisualLeavesTheVisualRangeAndComesBack", Engine::Real, true, visualLeavesTheRangeAndComesBack},
    {"TwoCarriersHandTheEngineOver", Engine::Real, true, twoCarriersHandTheEngineOver},
    {"UnboundCarrierDeletesItself", Engine::Probe, false, unboundCarrierDeletesItself},
};

// Test listings name the case, not its bytes.
void PrintTo(const VisualEnd& end, std::ostream* out)
{
    *out << end.name;
}

class CarrierVisualEnds : public ::testing::TestWithParam<VisualEnd> { };

} // namespace

// Every way the host destroys a carrier's visual. The stand-in frees the visual's arrays through the
// group records after clbkVisualDestroyed, as the host does, and stops on a group pointing anywhere
// else: the flights run to their end only because the carrier hands the host's arrays back first
// (under AddressSanitizer: no bad free, and none of the visual's arrays leaks).
TEST_P(CarrierVisualEnds, CarrierHandsItsGroupsBackBeforeTheHostFreesThem)
{
    const VisualEnd& end = GetParam();
    Scene scene(end.engine);
    if (end.plugin) {
        ASSERT_NE(scene.loadPlugin(), nullptr);
    }
    end.fly(scene);
    EXPECT_TRUE(hostsim::messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Flight, CarrierVisualEnds, ::testing::ValuesIn(visualEnds),
    [](const ::testing::TestParamInfo<VisualEnd>& param) { return std::string(param.param.name); });

namespace {

// One session flown low with the carrier, ended as the host ends it, and a second started from what
// the first saved.
struct SessionPair {
    const char* name;
    int version;
    bool savedBy2006; // the carrier's lines as a 2006 host writes them: no AROT
};

const SessionPair sessionPairs[] = {
    {"Edition2006P1", 60929, false},
    {"Edition2006", 60424, false},
    {"Orbiter2016", 160828, false},
    {"Orbiter2024", 241231, false},
    {"Orbiter2016FromA2006Scenario", 160828, true},
    {"Orbiter2024FromA2006Scenario", 241231, true},
};

void PrintTo(const SessionPair& pair, std::ostream* out)
{
    *out << pair.name;
}

class Sessions : public ::testing::TestWithParam<SessionPair> { };

// The saved text without the AROT lines of the carrier's block.
std::string withoutCarrierArot(const std::string& saved)
{
    std::string out;
    bool inCarrier = false;
    std::size_t at = 0;
    while (at < saved.size()) {
        std::size_t end = saved.find('\n', at);
        end = end == std::string::npos ? saved.size() : end + 1;
        const std::string line = saved.substr(at, end - at);
        at = end;
        if (line.rfind("TheHazeCarrier:", 0) == 0)
            inCarrier = true;
        else if (line.rfind("END", 0) == 0)
            inCarrier = false;
        if (!(inCarrier && line.find("AROT") != std::string::npos))
            out += line;
    }
    return out;
}

double heightOverMeanRadius(OBJHANDLE vessel)
{
    const hostsim::VesselView v = hostsim::vessel(vessel);
    VECTOR3 centre;
    oapiGetGlobalPos(v.body, &centre);
    return length(v.pos - centre) - oapiGetSize(v.body);
}

} // namespace

// The plug-in stays loaded from one session to the next, as the host keeps it. The carrier that the
// saved state brings back is the one the add-on drives on (never a second one), and one that a 2006
// host saved, which a later host stands on its touchdown points 10 km under the ground, is put right
// within two steps.
TEST_P(Sessions, TheRestoredCarrierIsTakenOverAndStandsRight)
{
    const SessionPair& pair = GetParam();
    Scene scene(Engine::Real);
    hostsim::setOrbiterVersion(pair.version);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    scene.placeShip(scene.earth, 0.3, 0.5, 3000.0);
    ASSERT_TRUE(stepUntilEngineRuns());
    hostsim::step(3);
    ASSERT_EQ(carriers().size(), 1u);
    EXPECT_EQ(hostsim::callCount("oapiCreateVesselEx"), 1);

    std::string saved = hostsim::endSession();
    EXPECT_TRUE(hostsim::vessels().empty());
    ASSERT_NE(saved.find("TheHazeCarrier:HazeCarrier"), std::string::npos) << saved;
    if (pair.savedBy2006)
        saved = withoutCarrierArot(saved);

    ASSERT_TRUE(hostsim::startSession(saved)) << hostsim::lastError() << "\n" << saved;
    scene.ship = hostsim::vesselByName("Ship");
    ASSERT_NE(scene.ship, nullptr);
    const std::vector<OBJHANDLE> restored = carriers();
    ASSERT_EQ(restored.size(), 1u);
    const long engineBefore = engineCalls();
    for (int k = 0; k < 8; ++k) {
        hostsim::step();
        ASSERT_EQ(carriers(), restored) << "step " << k;
        if (k >= 1) {
            EXPECT_NEAR(heightOverMeanRadius(restored[0]), shellHeight, 1.0) << "step " << k;
        }
    }
    EXPECT_EQ(hostsim::callCount("oapiCreateVesselEx"), 1);
    EXPECT_GT(engineCalls(), engineBefore);
    EXPECT_GT(hostsim::drawStats(restored[0]).groups, 0u);
    EXPECT_TRUE(hostsim::messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Flight, Sessions, ::testing::ValuesIn(sessionPairs),
    [](const ::testing::TestParamInfo<SessionPair>& param) { return std::string(param.param.name); });
