// The carrier's placement unit on its own, against the stand-in host of each generation, with doubles
// of the module around it: the records it sends place the carrier exactly, a re-anchoring that passes
// on the rotation and height read back with GetStatusEx is caught by its check wherever the host
// reads them, and a host that places it wrong with both records refuses the add-on once.
#include "CarrierPlacement.h"
#include "CarrierControl.h"
#include "CarrierStand.h"
#include "EngineBinding.h"
#include "PluginState.h"
#include "VesselState.h"

#include <hostsim/hostsim.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

// The module around the unit.
int addonRefused = 0;
const char carrierClassName[] = "HazeCarrier";
const char carrierVesselName[] = "TheHazeCarrier";
namespace {
std::vector<std::string> refusals;
}
void refuseAddon(const char* text)
{
    addonRefused = 1;
    refusals.push_back(text);
}

namespace {

struct Generation {
    const char* name;
    int version;
    bool placedRight; // the host places the carrier right with one of the two records
    bool readBackCaught; // a re-anchoring with arot and vrot read back stands wrong there
};

const Generation generations[] = {
    {"Edition2006P1", 60929, true, false},
    {"Edition2010", 100830, false, false},
    {"Orbiter2016", 160828, true, true},
    {"Orbiter2024", 241231, true, true},
};

void PrintTo(const Generation& g, std::ostream* os)
{
    *os << g.name;
}

class Placement : public testing::TestWithParam<Generation> { };

// The ship at rest over (lng, lat), 2 km up.
void placeShip(OBJHANDLE ship, OBJHANDLE body, double lng, double lat)
{
    VECTOR3 centre;
    oapiGetGlobalPos(body, &centre);
    MATRIX3 r;
    oapiGetRotationMatrix(body, &r);
    const double rad = oapiGetSize(body) + 2000.0;
    const VECTOR3 loc
        = _V(rad * std::cos(lat) * std::cos(lng), rad * std::sin(lat), rad * std::cos(lat) * std::sin(lng));
    VESSELSTATUS2 vs = blankStatus2();
    vs.rbody = body;
    vs.rpos = mul(r, loc);
    oapiGetVesselInterface(ship)->DefSetStateEx(&vs);
}

} // namespace

TEST_P(Placement, RecordsPlaceTheCarrierExactlyAndARotationReadBackIsCaught)
{
    const Generation& g = GetParam();
    hostsim::Session session(hostsim::makeTempRoot());
    hostsim::setOrbiterVersion(g.version);
    const OBJHANDLE earth = hostsim::addBody(hostsim::bodyPreset("Earth"));
    const OBJHANDLE ship = hostsim::createFree("Ship", "", earth, _V(0, 0, 1e7), _V(0, 0, 0));
    ASSERT_TRUE(hostsim::setFocus(ship));
    const VESSEL* focus = oapiGetVesselInterface(ship);

    // A plain vessel standing in for the carrier, with its touchdown points.
    const OBJHANDLE carrierHandle = hostsim::createLanded("Carrier", "", earth, 0.0, 0.0);
    const VESSEL* carrier = oapiGetVesselInterface(carrierHandle);
    carrier->SetTouchdownPoints(
        _V(0, carrierStandHeight, 10), _V(-3.5, carrierStandHeight, -3), _V(3.5, carrierStandHeight, -3));
    choosePlacementRecord(firstPlacementRecord(g.version));

    // Over land and over the sea, the first placement and a move of more than the engine's 0.01 rad.
    const double places[][2] = {{0.5, 0.3}, {0.52, 0.31}, {-2.0, -0.7}, {1.2, 0.9}};
    for (const auto& place : places) {
        SCOPED_TRACE("lng " + std::to_string(place[0]) + " lat " + std::to_string(place[1]));
        placeShip(ship, earth, place[0], place[1]);
        VESSELSTATUS2 status = readStatus2(carrier);
        const bool placed = reanchorCarrier(carrier, status, focus);
        ASSERT_EQ(placed, g.placedRight);
        if (!placed)
            break;
        // The stand-in places exactly.
        const PlacementCheck check = checkPlacement(*carrier, earth, place[0], place[1]);
        EXPECT_LT(check.distance, 1.0);
        EXPECT_LT(check.tilt, 1e-9);
        EXPECT_TRUE(carrierStandsRight(*carrier));
        EXPECT_TRUE(refusals.empty());
    }
    if (!g.placedRight) {
        // One message naming the version and how far off the carrier stood; nothing is tried again.
        ASSERT_EQ(refusals.size(), 1u);
        EXPECT_EQ(refusals[0].rfind("Haze carrier: simulator version 100830 did not place the carrier where the "
                                    "haze belongs (it stood ",
                      0),
            0u)
            << refusals[0];
        VESSELSTATUS2 status = readStatus2(carrier);
        EXPECT_FALSE(reanchorCarrier(carrier, status, focus));
        EXPECT_EQ(refusals.size(), 1u);
        return;
    }

    // The re-anchoring as a careless module would write it: the record read back, only the place changed.
    placeShip(ship, earth, 0.56, 0.33);
    VESSELSTATUS2 readBack = readStatus2(carrier);
    readBack.surf_lng = 0.56;
    readBack.surf_lat = 0.33;
    carrier->DefSetStateEx(&readBack);
    EXPECT_EQ(!checkPlacement(*carrier, earth, 0.56, 0.33).right, g.readBackCaught);
    EXPECT_EQ(!carrierStandsRight(*carrier), g.readBackCaught);
}

INSTANTIATE_TEST_SUITE_P(HostGenerations, Placement, testing::ValuesIn(generations),
    [](const testing::TestParamInfo<Generation>& p) { return std::string(p.param.name); });

// The local horizon at lng 0.5, lat 0.3 as the later cores' angles, worked out by hand from their matrix.
TEST(Placement, HorizonAnglesOfAWorkedExample)
{
    const VECTOR3 a = horizonArot(0.5, 0.3);
    EXPECT_NEAR(a.x, 1.718026888, 1e-9);
    EXPECT_NEAR(a.y, 0.262342259, 1e-9);
    EXPECT_NEAR(a.z, 2.090254805, 1e-9);
}
