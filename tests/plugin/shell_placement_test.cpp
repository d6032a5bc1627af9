// End to end with the real skyveil and veilcore: where the drawn shell lies in the world. The carrier
// stands landed with its origin 10 km over the ground, so every drawn vertex, taken to global
// coordinates through the carrier's placement, lies on one sphere of radius R + 10 km about the body's
// centre, on every body, through re-anchorings and changes of body.
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

} // namespace

TEST(ShellPlacement, DrawnShellLiesTenKilometresAboveTheGroundOnEveryBody)
{
    Scene scene(Engine::Real);
    ASSERT_NE(scene.loadPlugin(), nullptr);
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
    for (const Leg& leg : flight) {
        const OBJHANDLE body = bodies.at(leg.body);
        const double altitude = leg.altitude < 0 ? -leg.altitude * oapiGetSize(body) : leg.altitude;
        scene.placeShip(body, leg.lng, leg.lat, altitude);
        for (int k = 0; k < leg.steps; ++k) {
            const std::vector<OBJHANDLE> before = carriers();
            const double lngBefore = before.empty() ? 0.0 : hostsim::vessel(before[0]).lng;
            hostsim::step();
            const std::vector<OBJHANDLE> now = carriers();
            ASSERT_EQ(now.size(), 1u) << leg.body << " " << altitude;
            const hostsim::VesselView carrier = hostsim::vessel(now[0]);
            ASSERT_EQ(carrier.body, body);
            EXPECT_NEAR(carrier.cgelev, shellHeight, 1e-6);
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
}
