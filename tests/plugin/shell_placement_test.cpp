// End to end with the real skyveil and veilcore: where the drawn shell lies in the world. The carrier
// stands landed with its origin 10 km over the body's mean radius, so every drawn vertex, taken to
// global coordinates through the carrier's placement, lies on one sphere of radius R + 10 km about the
// body's centre, on every body, through re-anchorings and changes of body, in every generation of the
// host that can carry it, over the later hosts' terrain too.
#include "pluginharness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace {

const double shellHeight = 10000.0; // [m] the haze shell above the surface
const double onSphereTol = 5.0; // [m] 32-bit vertex components at up to 1.3e7 m from the carrier
const double overheadTol = 1000.0; // [m] the shell straight above the vessel, against 10 km

// One stretch of the flight: the focus vessel held at a place for some steps.
struct Leg {
    const char* body;
    double lng, lat; // [rad]
    double altitude; // [m] over the mean radius; negative: that many radii
    int steps;
};

// What one step's drawing of the carrier's blocks shows.
struct ShellCheck {
    int blocks = 0;
    double worstOffSphere = 0; // [m] largest |distance from the body's centre - (R + 10 km)|
    double overhead = 0; // [m] height over the ground of the drawn vertex nearest the vessel's vertical
};

// The later cores' rotation against the planet's frame from a record's arot (p_planet = M p_vessel).
MATRIX3 extendedRotation(const VECTOR3& a)
{
    const double cx = std::cos(a.x), sx = std::sin(a.x), cy = std::cos(a.y), sy = std::sin(a.y);
    const double cz = std::cos(a.z), sz = std::sin(a.z);
    return _M(cy * cz, cy * sz, -sy, sx * sy * cz - cx * sz, sx * sy * sz + cx * cz, sx * cy, cx * sy * cz + sx * sz,
        cx * sy * sz - sx * cz, cx * cy);
}

// Every record the plug-in sent a later core for the carrier: the extended path, the local horizon's
// axes at the record's place, and that place the focus vessel's.
void expectHorizonRecords(const std::vector<VESSELSTATUS2>& records, std::size_t from, const hostsim::VesselView& ship)
{
    for (std::size_t i = from; i < records.size(); ++i) {
        const VESSELSTATUS2& r = records[i];
        EXPECT_LE(r.arot.x, 4.0);
        const double lng = r.surf_lng, lat = r.surf_lat;
        // The transpose of the planet-to-horizon matrix: columns east, up, north.
        const MATRIX3 horizon = _M(-std::sin(lng), std::cos(lat) * std::cos(lng), -std::sin(lat) * std::cos(lng), 0,
            std::sin(lat), std::cos(lat), std::cos(lng), std::cos(lat) * std::sin(lng), -std::sin(lat) * std::sin(lng));
        const MATRIX3 m = extendedRotation(r.arot);
        for (int k = 0; k < 9; ++k)
            EXPECT_NEAR(m.data[k], horizon.data[k], 1e-9) << "element " << k;
        EXPECT_NEAR(r.surf_lng, ship.lng, 1e-9);
        EXPECT_NEAR(r.surf_lat, ship.lat, 1e-9);
    }
}

ShellCheck checkDrawnShell(OBJHANDLE carrier, OBJHANDLE body, OBJHANDLE ship)
{
    ShellCheck c;
    VECTOR3 centre, shipPos;
    oapiGetGlobalPos(body, &centre);
    oapiGetGlobalPos(ship, &shipPos);
    const double radius = oapiGetSize(body);
    const VECTOR3 up = unit(shipPos - centre);
    double bestCos = -2;
    for (const hostsim::DrawItem& item : hostsim::drawList()) {
        if (item.vessel != carrier || item.group.nVtx != 81)
            continue;
        ++c.blocks;
        for (DWORD i = 0; i < item.group.nVtx; ++i) {
            const NTVERTEX& v = item.group.Vtx[i];
            const VECTOR3 p = item.pos + mul(item.rot, _V(v.x, v.y, v.z)) - centre;
            const double r = length(p);
            c.worstOffSphere = std::fmax(c.worstOffSphere, std::fabs(r - (radius + shellHeight)));
            const double cosang = dotp(p, up) / r;
            if (cosang > bestCos) {
                bestCos = cosang;
                c.overhead = r - radius;
            }
        }
    }
    return c;
}

struct Host {
    const char* name;
    int version;
};

const Host hosts[] = {{"Edition2006P1", 60929}, {"Orbiter2016", 160828}, {"Orbiter2024", 241231}};

void PrintTo(const Host& host, std::ostream* os)
{
    *os << host.name;
}

class ShellPlacement : public testing::TestWithParam<Host> { };

} // namespace

TEST_P(ShellPlacement, DrawnShellLiesTenKilometresAboveTheMeanRadiusOnEveryBody)
{
    const Host& host = GetParam();
    const bool later = host.version >= 160000;
    Scene scene(Engine::Real);
    hostsim::setOrbiterVersion(host.version);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    EXPECT_TRUE(hostsim::messages().empty());
    const std::map<std::string, OBJHANDLE> bodies
        = {{"Earth", scene.earth}, {"Moon", scene.moon}, {"Mars", oapiGetGbodyByName((char*)"Mars")}};
    ASSERT_NE(bodies.at("Mars"), nullptr);

    // In through the fade band, down to aircraft heights and below the layer, moves of more than
    // 0.01 rad (re-anchoring), and every change of body the three allow.
    const Leg flight[] = {
        {"Earth", 0.3, 0.5, -0.45, 3},
        {"Earth", 0.3, 0.5, -0.1, 3},
        {"Earth", 0.3, 0.5, 15000, 4},
        {"Earth", 0.34, 0.52, 15000, 3},
        {"Earth", 0.36, 0.47, 500, 3},
        {"Moon", -1.2, 0.25, -0.3, 3},
        {"Moon", -1.2, 0.25, 12000, 3},
        {"Moon", -1.1, 0.2, 12000, 3},
        {"Mars", 2.0, -0.4, -0.2, 3},
        {"Mars", 2.0, -0.4, 20000, 3},
        {"Mars", 2.05, -0.35, 20000, 3},
        {"Earth", 1.0, 0.1, 8000, 4},
        {"Earth", 1.0, 0.1, -0.3, 3},
    };
    std::map<std::string, int> checked, reanchored;
    int overTerrain = 0;
    std::size_t recordsSeen = 0;
    for (const Leg& leg : flight) {
        const OBJHANDLE body = bodies.at(leg.body);
        const double altitude = leg.altitude < 0 ? -leg.altitude * oapiGetSize(body) : leg.altitude;
        scene.placeShip(body, leg.lng, leg.lat, altitude);
        for (int k = 0; k < leg.steps; ++k) {
            const std::vector<OBJHANDLE> before = carriers();
            // The ship as the step's callbacks see it, before the clock moves on.
            const hostsim::VesselView shipBefore = hostsim::vessel(scene.ship);
            const double lngBefore = before.empty() ? 0.0 : hostsim::vessel(before[0]).lng;
            hostsim::step();
            const std::vector<OBJHANDLE> now = carriers();
            ASSERT_EQ(now.size(), 1u) << leg.body << " " << altitude;
            const hostsim::VesselView carrier = hostsim::vessel(now[0]);
            ASSERT_EQ(carrier.body, body);
            VECTOR3 centre;
            oapiGetGlobalPos(body, &centre);
            EXPECT_NEAR(length(carrier.pos - centre) - oapiGetSize(body), shellHeight, 1.0);
            if (hostsim::terrainElevation(body, carrier.lng, carrier.lat) > 100.0)
                ++overTerrain;
            const std::vector<VESSELSTATUS2> records = hostsim::landedRecords(now[0]);
            if (later)
                expectHorizonRecords(records, before.empty() ? 0 : recordsSeen, shipBefore);
            recordsSeen = records.size();
            if (!before.empty() && before[0] == now[0] && carrier.lng != lngBefore)
                ++reanchored[leg.body];
            const ShellCheck c = checkDrawnShell(now[0], body, scene.ship);
            if (c.blocks == 0)
                continue;
            ++checked[leg.body];
            SCOPED_TRACE(std::string(leg.body) + " at " + std::to_string(altitude) + " m, step " + std::to_string(k));
            EXPECT_LE(c.worstOffSphere, onSphereTol);
            EXPECT_NEAR(c.overhead, shellHeight, overheadTol);
        }
    }
    for (const auto& b : bodies) {
        EXPECT_GE(checked[b.first], 5) << b.first;
        EXPECT_GE(reanchored[b.first], 1) << b.first;
    }
    // The later hosts' ground is not at the mean radius under most of the flight.
    if (later) {
        EXPECT_GE(overTerrain, 10);
    }
    EXPECT_TRUE(hostsim::messages().empty());
}

INSTANTIATE_TEST_SUITE_P(HostGenerations, ShellPlacement, testing::ValuesIn(hosts),
    [](const testing::TestParamInfo<Host>& p) { return std::string(p.param.name); });
