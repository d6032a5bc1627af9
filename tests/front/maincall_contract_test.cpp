// maincall driven through the built library with scripted host services and recorded calls.
#include "carrierchecks.h"
#include "veilroot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>

namespace {

constexpr double earthradius = 6371000.0;
constexpr double visibleradius = 9556500.0; // 1.5 radii
constexpr double halfpi = 1.5707963267948966;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

class Maincall : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = hostscript {};
        ASSERT_TRUE(root.load());
        table = recordingtable();
        root.initint(&table);
        kit.name("Earth");
        kit.camera(7000000.0, 0.0, 0.0);
        script.lat = 0.3;
        script.lng = 0.7;
    }
    std::int32_t step() { return root.maincall(&kit.frame); }

    veilroot root;
    HostServiceTable table {};
    carrierkit kit;
};

// Every vertex of every block group lies on the shell once the carrier's downward shift is undone.
void expectshell(const carrierkit& kit, double radius)
{
    const double shell = radius + 10000.0;
    for (const HostMeshGroup& g : kit.groups) {
        if (g.nVtx != 81)
            continue;
        for (int i = 0; i < 81; ++i) {
            const HostVertex& v = g.Vtx[i];
            const double y = v.y + shell;
            ASSERT_NEAR(std::sqrt(double(v.x) * v.x + y * y + double(v.z) * v.z), shell, shell * 1e-6);
        }
    }
}

TEST_F(Maincall, RestartsOnNameChangeFoldingOnlyAsciiLetters)
{
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(script.calls[slotGetSize], 1);
    EXPECT_EQ(script.sizebody, kit.frame.body);

    kit.name("EARTH");
    step();
    kit.name("eArTh");
    step();
    EXPECT_EQ(script.calls[slotGetSize], 1);

    // The restart step answers 0 although the observer moved far.
    kit.name("Moon");
    script.lat = -0.4;
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(script.calls[slotGetSize], 2);

    // Latin-1 capital and small E with acute accent: not ASCII letters, so a different name.
    kit.name("Mo\xC9n");
    step();
    kit.name("Mo\xE9n");
    step();
    EXPECT_EQ(script.calls[slotGetSize], 4);
    // A prefix is a different name too.
    kit.name("Mo");
    step();
    EXPECT_EQ(script.calls[slotGetSize], 5);
}

TEST_F(Maincall, StaysIdleOnPlaceholdersWhileNameEmptyBeforeFirstRestart)
{
    kit.name("");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(step(), 0);
        EXPECT_EQ(kit.alpha, 0);
        expectplaceholders(kit, 0);
    }
    for (int slot = 0; slot < hostServiceSlots; ++slot)
        EXPECT_EQ(script.calls[static_cast<std::size_t>(slot)], 0) << "slot " << slot;
    EXPECT_EQ(kit.material.diffuse.r, markcolour);

    kit.name("Earth");
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(script.calls[slotGetSize], 1);
    EXPECT_GE(kit.blockgroups(), 6);
}

TEST_F(Maincall, ReanchorsOnlyAfterMovingMoreThanAHundredthRadian)
{
    EXPECT_EQ(step(), 0); // restart
    EXPECT_EQ(step(), 1); // the restart left the anchoring at (0, 0)
    const double anchored = script.lat;
    const int expected[] = {0, 0, 1};
    const double moves[] = {0.005, 0.0099999, 0.0100001};
    for (int i = 0; i < 3; ++i) {
        script.lat = anchored + moves[i];
        EXPECT_EQ(step(), expected[i]) << "latitude moved by " << moves[i];
    }
    // The anchoring jumped to the last latitude: small moves from there do not count.
    EXPECT_EQ(step(), 0);
    script.lat += 0.005;
    EXPECT_EQ(step(), 0);
    script.lat += 0.005;
    script.lat += 0.0001;
    EXPECT_EQ(step(), 1);
}

// Both rounded to 64 bits, as stored values are, also where the arithmetic is wider (x87).
double shifted(double lng)
{
    volatile double l = lng + halfpi;
    return l;
}
double moved(double lng, double base)
{
    volatile double d = shifted(lng) - base;
    return d;
}

TEST_F(Maincall, LongitudeMoveOfExactlyTheThresholdDoesNotReanchor)
{
    // Of the representable shifted longitudes, find the largest move that does not exceed 0.01 and
    // the smallest that does; the shifted longitude is the host's longitude plus pi/2.
    const double base = shifted(script.lng);
    double lng = script.lng + 0.01;
    while (moved(lng, base) > 0.01)
        lng = std::nextafter(lng, -inf);
    while (moved(std::nextafter(lng, inf), base) <= 0.01)
        lng = std::nextafter(lng, inf);
    double over = std::nextafter(lng, inf);
    while (moved(over, base) <= 0.01)
        over = std::nextafter(over, inf);

    step();
    EXPECT_EQ(step(), 1);
    script.lng = lng;
    EXPECT_EQ(step(), 0);
    script.lng = over;
    EXPECT_EQ(step(), 1);
}

TEST_F(Maincall, AtOrBeyondVisibilityRadiusHidesAllAndReanchorsEveryStep)
{
    kit.camera(0.0, visibleradius, 0.0); // exactly 1.5 radii
    EXPECT_EQ(step(), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(step(), 1);
        EXPECT_EQ(kit.alpha, 0);
        expectplaceholders(kit, 0);
    }
    kit.camera(2.0 * earthradius, 0.0, 0.0);
    EXPECT_EQ(step(), 1);
    expectplaceholders(kit, 0);
    // Neither the material nor the marked fields were touched out there.
    EXPECT_EQ(kit.material.diffuse.r, markcolour);
    EXPECT_EQ(kit.material.diffuse.a, markcolour);
    expectmarkers(kit);

    kit.camera(7000000.0, 0.0, 0.0);
    EXPECT_EQ(step(), 1);
    EXPECT_GE(kit.blockgroups(), 6);
    EXPECT_EQ(step(), 0);
}

TEST_F(Maincall, FadeBandSetsAlphasAndFlag)
{
    struct band {
        double distance;
        float alpha;
        float diffusealpha;
        std::int32_t flag;
    };
    const band bands[] = {
        {8760125.0, 0.5f, 0.15f, 1}, // half-way into the band
        {7963750.0, 1.0f, 0.3f, 1}, // its inner edge
        {7000000.0, 1.0f, 0.3f, 0}, // deeper
    };
    for (const band& b : bands) {
        kit.camera(0.0, 0.0, b.distance);
        step();
        const HostMaterial& m = kit.material;
        EXPECT_EQ(m.ambient.a, b.alpha) << b.distance;
        EXPECT_EQ(m.specular.a, b.alpha) << b.distance;
        EXPECT_EQ(m.emissive.a, b.alpha) << b.distance;
        EXPECT_FLOAT_EQ(m.diffuse.a, b.diffusealpha) << b.distance;
        EXPECT_EQ(m.diffuse.r, 0.61f);
        EXPECT_EQ(m.diffuse.g, 0.8f);
        EXPECT_EQ(m.diffuse.b, 1.0f);
        EXPECT_EQ(kit.alpha, b.flag) << b.distance;
    }
    expectmarkers(kit);
}

TEST_F(Maincall, GroupsShowLeafBlocksFirstThenPlaceholders)
{
    step();
    step();
    const int n = kit.blockgroups();
    ASSERT_GE(n, 6);
    ASSERT_LE(n, 65); // the leaf-load limit
    std::set<const HostVertex*> arrays;
    const std::uint16_t* shared = kit.groups[0].Idx;
    for (int i = 0; i < n; ++i) {
        const HostMeshGroup& g = kit.groups[static_cast<std::size_t>(i)];
        ASSERT_EQ(g.nVtx, 81u) << i;
        ASSERT_EQ(g.nIdx, 384u) << i;
        ASSERT_EQ(g.UsrFlag, 1u) << i;
        ASSERT_EQ(g.Idx, shared) << i;
        arrays.insert(g.Vtx);
    }
    EXPECT_EQ(arrays.size(), static_cast<std::size_t>(n));
    const std::uint16_t head[6] = {0, 1, 10, 0, 10, 9};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(shared[i], head[i]);
    for (int i = 0; i < 384; ++i)
        ASSERT_LE(shared[i], 80);
    expectplaceholders(kit, n);
    EXPECT_NE(kit.groups[1023].Idx, shared);
    expectmarkers(kit);
    expectshell(kit, earthradius);
}

TEST_F(Maincall, CallsOnlyTheEightEngineSlots)
{
    kit.name("");
    step(); // idle
    kit.name("Earth");
    step();
    step();
    kit.camera(0.0, 2.0 * earthradius, 0.0);
    step();
    kit.name("Mars");
    step();
    for (int slot = 0; slot < hostServiceSlots; ++slot) {
        const int calls = script.calls[static_cast<std::size_t>(slot)];
        if (!engineslot(slot))
            EXPECT_EQ(calls, 0) << "slot " << slot;
        else if (slot == slotGetSize)
            EXPECT_EQ(calls, 2);
        else
            EXPECT_EQ(calls, 4) << "slot " << slot; // once per step that was not idle
    }
    // The vessel chain: focus object -> its interface -> its axes.
    EXPECT_EQ(script.interfacearg, script.focus);
    EXPECT_EQ(script.axesvessel, script.vesselif);
}

TEST_F(Maincall, NullRecordReturnsZeroAndCallsNothing)
{
    EXPECT_EQ(root.maincall(nullptr), 0);
    for (int slot = 0; slot < hostServiceSlots; ++slot)
        EXPECT_EQ(script.calls[static_cast<std::size_t>(slot)], 0);
    EXPECT_EQ(step(), 0); // and the engine still starts afterwards
    EXPECT_EQ(script.calls[slotGetSize], 1);
}

TEST_F(Maincall, GroupsAndMaterialUntouchedUntilDelivered)
{
    kit.frame.groupsFetched = 0;
    step();
    step();
    for (const HostMeshGroup& g : kit.groups) {
        ASSERT_EQ(g.Vtx, nullptr);
        ASSERT_EQ(g.nVtx, 0u);
        ASSERT_EQ(g.UsrFlag, 0u);
    }
    EXPECT_EQ(kit.material.diffuse.r, markcolour);
    EXPECT_EQ(kit.material.ambient.a, markcolour);

    kit.frame.groupsFetched = 1;
    step();
    EXPECT_GE(kit.blockgroups(), 6);
    EXPECT_EQ(kit.material.diffuse.r, 0.61f);

    // Later records without fresh pointers leave other groups alone.
    carrierkit other;
    other.name("Earth");
    other.camera(7000000.0, 0.0, 0.0);
    other.frame.groupsFetched = 0;
    root.maincall(&other.frame);
    EXPECT_EQ(other.blockgroups(), 0);
    EXPECT_EQ(other.material.diffuse.r, markcolour);
}

TEST_F(Maincall, BodyNameFillingAllBytesIsReadNoFurther)
{
    std::memset(kit.frame.bodyName, 'a', sizeof kit.frame.bodyName);
    kit.frame.body = reinterpret_cast<void*>(0x41414141);
    step();
    EXPECT_EQ(script.calls[slotGetSize], 1);
    // The bytes after the name change; the name does not.
    kit.frame.body = reinterpret_cast<void*>(0x42424242);
    step();
    std::memset(kit.frame.bodyName, 'A', sizeof kit.frame.bodyName);
    step();
    EXPECT_EQ(script.calls[slotGetSize], 1);
    kit.frame.bodyName[255] = '\0';
    step();
    EXPECT_EQ(script.calls[slotGetSize], 2);
}

TEST_F(Maincall, ZeroRadiusShowsOnlyPlaceholders)
{
    script.size = 0.0;
    for (const double x : {0.0, 1.0, 7000000.0}) {
        kit.camera(x, 0.0, 0.0);
        step();
        EXPECT_EQ(kit.alpha, 0);
        expectplaceholders(kit, 0);
    }
    kit.camera(nan, 0.0, 0.0);
    step();
    expectplaceholders(kit, 0);
}

TEST_F(Maincall, NonFiniteInputsStayBoundedAndFinite)
{
    for (const double bad : {nan, inf, -inf}) {
        kit.camera(bad, 0.0, 1.0);
        step();
        EXPECT_EQ(kit.alpha, 0);
        expectplaceholders(kit, 0);
    }
    // Inside the radius with broken angles, speed and time acceleration.
    kit.camera(7000000.0, 0.0, 0.0);
    script.lat = nan;
    script.lng = inf;
    script.timeacc = inf;
    script.airspeed = 0.0;
    script.airvec = HostVector {nan, 1.0, 0.0};
    for (int i = 0; i < 3; ++i)
        step();
    ASSERT_GE(kit.blockgroups(), 6);
    for (const HostMeshGroup& g : kit.groups)
        for (std::uint32_t i = 0; i < g.nVtx; ++i)
            ASSERT_TRUE(std::isfinite(g.Vtx[i].x) && std::isfinite(g.Vtx[i].y) && std::isfinite(g.Vtx[i].z));
    expectshell(kit, earthradius);
}

} // namespace

TEST(MaincallFocus, WithoutFocusVesselSkipsTheLookAheadAndNeverPassesNullOn)
{
    // Slot 24 or slot 35 answering null: the step still draws, slot 63 is never called, and a null
    // handle is not handed to slot 35.
    struct Case {
        void* focus;
        void* vesselif;
        int interfacecalls;
    };
    for (const Case c :
        {Case {nullptr, reinterpret_cast<void*>(0x2000), 0}, Case {reinterpret_cast<void*>(0x1000), nullptr, 3}}) {
        script = hostscript {};
        script.focus = c.focus;
        script.vesselif = c.vesselif;
        script.airspeed = 200.0;
        script.timeacc = 10.0;
        veilroot root;
        ASSERT_TRUE(root.load());
        HostServiceTable table = recordingtable();
        root.initint(&table);
        carrierkit kit;
        kit.name("Earth");
        kit.camera(7000000.0, 0.0, 0.0);
        for (int i = 0; i < 3; ++i)
            root.maincall(&kit.frame);
        EXPECT_EQ(script.calls[slotGetFocusObject], 3);
        EXPECT_EQ(script.calls[slotGetVesselInterface], c.interfacecalls);
        EXPECT_EQ(script.calls[slotVesselGlobalAxes], 0);
        EXPECT_GE(kit.blockgroups(), 6);
        expectshell(kit, earthradius);
    }
}
