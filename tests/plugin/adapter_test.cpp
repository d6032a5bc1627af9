// The plug-in's adapters, called through the table the engine receives, against the stand-in's
// vessels: those with a behaviour of their own beyond forwarding one member.
#include "pluginharness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

typedef void DebugTextFn(const char*);
typedef int CreateFreeFn(const char*, const char*, const char*, VECTOR3, VECTOR3, VECTOR3, VECTOR3);
typedef int CreateLandedFn(const char*, const char*, const char*, double, double, double);
typedef void ClassNameFn(VESSEL*, char*);
typedef void AxesFn(VESSEL*, VECTOR3*, VECTOR3*, VECTOR3*);
typedef void SetStatusFn(VESSEL*, int);
typedef int StatusCodeFn(VESSEL*);
typedef double StatusValueFn(VESSEL*, int);
typedef VECTOR3 VectorFn(VESSEL*);
typedef void ShiftFn(VESSEL*, double, double, double);

class Adapters : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(scene.loadPlugin(), nullptr);
        log = probe();
        ASSERT_NE(log, nullptr);
        ASSERT_EQ(log->initCalls, 1);
        ship = hostsim::vessel(scene.ship).iface;
        ASSERT_NE(ship, nullptr);
    }

    template <typename Fn> Fn* entry(int slot) { return reinterpret_cast<Fn*>(log->table.entry[slot]); }

    VESSELSTATUS2 status(VESSEL* v)
    {
        VESSELSTATUS2 s = {};
        s.version = 2;
        v->GetStatusEx(&s);
        return s;
    }

    long writes() const { return hostsim::callCount("VESSEL::DefSetStateEx"); }

    Scene scene {Engine::Probe};
    ProbeLog* log = nullptr;
    VESSEL* ship = nullptr;
};

void expectNear(const VECTOR3& a, const VECTOR3& b, double tolerance)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

VECTOR3 column(const MATRIX3& m, int c)
{
    return _V(m.data[c], m.data[3 + c], m.data[6 + c]);
}

} // namespace

TEST_F(Adapters, ShiftsWriteBackOnlyANonZeroDelta)
{
    struct Shift {
        int slot;
        VECTOR3 VESSELSTATUS2::*field;
    };
    const Shift shifts[] = {{slotVesselShiftPos, &VESSELSTATUS2::rpos}, {slotVesselShiftArot, &VESSELSTATUS2::arot},
        {slotVesselShiftVel, &VESSELSTATUS2::rvel}, {slotVesselShiftVrot, &VESSELSTATUS2::vrot}};
    for (const Shift& shift : shifts) {
        SCOPED_TRACE(shift.slot);
        ShiftFn* fn = entry<ShiftFn>(shift.slot);
        const long before = writes();
        fn(ship, 0.0, 0.0, 0.0);
        EXPECT_EQ(writes(), before);

        const VECTOR3 old = status(ship).*shift.field;
        fn(ship, 0.0, 0.0, -0.5);
        EXPECT_EQ(writes(), before + 1);
        expectNear(status(ship).*shift.field, old + _V(0, 0, -0.5), 1e-6);
    }
}

TEST_F(Adapters, StatusIsWrittenBackAlwaysAndReadAsACode)
{
    EXPECT_EQ(entry<StatusCodeFn>(slotVesselGetStatusCode)(ship), 0);
    const long before = writes();
    entry<SetStatusFn>(slotVesselSetStatus)(ship, 0);
    EXPECT_EQ(writes(), before + 1);
    entry<SetStatusFn>(slotVesselSetStatus)(ship, 1);
    EXPECT_EQ(writes(), before + 2);
    EXPECT_EQ(entry<StatusCodeFn>(slotVesselGetStatusCode)(ship), 1);
    EXPECT_TRUE(hostsim::vessel(scene.ship).landed);
}

TEST_F(Adapters, CreationRefusesAnExistingNameAndKeepsTheArgumentOrders)
{
    CreateFreeFn* createFree = entry<CreateFreeFn>(slotVesselCreateFree);
    CreateLandedFn* createLanded = entry<CreateLandedFn>(slotVesselCreateLanded);
    const size_t count = hostsim::vessels().size();
    const VECTOR3 far = _V(0, 0, 3 * oapiGetSize(scene.earth));
    EXPECT_EQ(createFree("Ship", "", "Earth", far, _V(1, 2, 3), _V(0, 0, 0), _V(0, 0, 0)), 0);
    EXPECT_EQ(createLanded("Ship", "", "Moon", 0.1, 0.2, 0.3), 0);
    EXPECT_EQ(hostsim::vessels().size(), count);
    EXPECT_EQ(hostsim::vesselByName("Ship"), scene.ship);

    // arot comes before vrot.
    ASSERT_EQ(createFree("Drifter", "", "Earth", far, _V(1, 2, 3), _V(0.1, 0.2, 0.3), _V(0.01, 0.02, 0.03)), 1);
    const OBJHANDLE drifter = hostsim::vesselByName("Drifter");
    ASSERT_NE(drifter, nullptr);
    VESSEL* d = hostsim::vessel(drifter).iface;
    expectNear(entry<VectorFn>(slotVesselGetArot)(d), _V(0.1, 0.2, 0.3), 1e-9);
    expectNear(entry<VectorFn>(slotVesselGetVrot)(d), _V(0.01, 0.02, 0.03), 1e-9);
    expectNear(status(d).rvel, _V(1, 2, 3), 1e-9);
    EXPECT_EQ(hostsim::vessel(drifter).body, scene.earth);

    // Latitude comes before longitude.
    ASSERT_EQ(createLanded("Lander", "", "Moon", 0.3, 1.1, 0.7), 1);
    const hostsim::VesselView lander = hostsim::vessel(hostsim::vesselByName("Lander"));
    EXPECT_TRUE(lander.landed);
    EXPECT_EQ(lander.body, scene.moon);
    EXPECT_NEAR(lander.lat, 0.3, 1e-9);
    EXPECT_NEAR(lander.lng, 1.1, 1e-9);
    EXPECT_NEAR(lander.hdg, 0.7, 1e-9);
}

TEST_F(Adapters, ClassNameIsBoundedAndAlwaysTerminated)
{
    ClassNameFn* className = entry<ClassNameFn>(slotVesselGetClassName);
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    className(ship, buffer); // no class name
    EXPECT_STREQ(buffer, "");
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(buffer[i], '\0') << i;

    const std::string longName(300, 'C');
    const OBJHANDLE wide = hostsim::createLanded("Wide", longName, scene.earth, 0.0, 0.0, 0.0, true);
    ASSERT_NE(wide, nullptr);
    std::memset(buffer, 'x', sizeof buffer);
    className(hostsim::vessel(wide).iface, buffer);
    EXPECT_EQ(std::string(buffer), std::string(254, 'C'));
    EXPECT_EQ(buffer[254], '\0');
    EXPECT_EQ(buffer[255], '\0');
    EXPECT_EQ(std::string(buffer + 256, 4), "xxxx"); // nothing past the 256 bytes

    const OBJHANDLE carrierLike = hostsim::createLanded("Named", "HazeCarrier", scene.earth, 0.0, 0.0, 0.0, true);
    className(hostsim::vessel(carrierLike).iface, buffer);
    EXPECT_STREQ(buffer, "HazeCarrier");
}

TEST_F(Adapters, StatusValueCountsFromVrotAndRefusesOtherIndices)
{
    StatusValueFn* value = entry<StatusValueFn>(slotVesselGetStatusValue);
    const OBJHANDLE spinner = hostsim::createFree(
        "Spinner", "", scene.earth, _V(0, 0, 2e7), _V(0, 0, 0), _V(0.1, 0.2, 0.3), _V(0.4, 0.5, 0.6));
    ASSERT_NE(spinner, nullptr);
    VESSEL* v = hostsim::vessel(spinner).iface;
    VESSELSTATUS s;
    std::memset(&s, 0, sizeof s);
    v->GetStatus(s);
    EXPECT_EQ(value(v, 0), s.vrot.x);
    EXPECT_EQ(value(v, 2), s.vrot.z);
    EXPECT_EQ(value(v, 3), s.arot.x);
    EXPECT_EQ(value(v, 6), s.fuel);
    EXPECT_EQ(value(v, 7), s.eng_main);
    EXPECT_EQ(value(v, 8), s.eng_hovr);
    EXPECT_NEAR(value(v, 0), 0.4, 1e-9);
    EXPECT_EQ(value(v, 9), 0.0);
    EXPECT_EQ(value(v, -1), 0.0);
    EXPECT_EQ(value(v, 1000), 0.0);
}

TEST_F(Adapters, BodyAndGlobalAxesAreExpressedInTheVesselFrame)
{
    const OBJHANDLE tilted
        = hostsim::createFree("Tilted", "", scene.earth, _V(1e7, 2e6, -3e6), _V(0, 0, 0), _V(0.4, -1.1, 2.0));
    ASSERT_NE(tilted, nullptr);
    VESSEL* v = hostsim::vessel(tilted).iface;
    const MATRIX3 vesselRot = hostsim::vessel(tilted).rot;
    MATRIX3 bodyRot;
    oapiGetRotationMatrix(scene.earth, &bodyRot);

    // Positions around 1 AU leave about 1e-5 of precision to a unit offset.
    const double tolerance = 1e-4;
    VECTOR3 x, z, y;
    entry<AxesFn>(slotVesselBodyAxes)(v, &x, &z, &y);
    expectNear(x, tmul(vesselRot, column(bodyRot, 0)), tolerance);
    expectNear(z, tmul(vesselRot, column(bodyRot, 2)), tolerance);
    expectNear(y, tmul(vesselRot, column(bodyRot, 1)), tolerance);
    EXPECT_NEAR(length(x), 1.0, tolerance);
    EXPECT_NEAR(dotp(x, y), 0.0, tolerance);

    VECTOR3 ex, ey, ez;
    entry<AxesFn>(slotVesselGlobalAxes)(v, &ex, &ey, &ez);
    expectNear(ex, tmul(vesselRot, _V(1, 0, 0)), tolerance);
    expectNear(ey, tmul(vesselRot, _V(0, 1, 0)), tolerance);
    expectNear(ez, tmul(vesselRot, _V(0, 0, 1)), tolerance);
}

TEST_F(Adapters, DebugTextIsCopiedAsPlainBoundedText)
{
    DebugTextFn* debugText = entry<DebugTextFn>(slotDebugText);
    debugText("100% %s %n %d");
    EXPECT_EQ(hostsim::debugString(), "100% %s %n %d");
    debugText(std::string(400, 'd').c_str());
    EXPECT_EQ(hostsim::debugString(), std::string(255, 'd'));
    debugText("");
    EXPECT_EQ(hostsim::debugString(), "");
}
