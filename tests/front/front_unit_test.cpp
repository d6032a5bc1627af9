// The front's procedures white-box: table copy, look-ahead, restart values, group filling and the
// warm-up burst, with a counter that advances one microsecond per reading.
#include "fakeclock.h"
#include "frameout.h"
#include "hostcalls.h"
#include "observer.h"
#include "restart.h"
#include "roamtuning.h"
#include "carrierchecks.h"
#include "veilcore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

class Front : public ::testing::Test {
protected:
    void SetUp() override
    {
        usefakeclock();
        script = hostscript {};
        table = recordingtable();
        initint(&table);
        kit.name("Earth");
        kit.camera(7000000.0, 0.0, 0.0);
    }
    void TearDown() override
    {
        roamstop(&front.engine);
        front.groupsknown = 0; // the kit's groups go away with the test
        timersetsource(nullptr, 0);
    }

    HostServiceTable table {};
    carrierkit kit;
};

TEST_F(Front, InitintCopiesEveryEntryAndForgetsTheTable)
{
    HostServiceTable t = recordingtable();
    for (int slot = 0; slot < hostServiceSlots; ++slot)
        if (hostSlotReserved(slot))
            t.entry[slot] = nullptr;
    initint(&t);
    for (int slot = 0; slot < hostServiceSlots; ++slot)
        EXPECT_EQ(hostentry(slot), t.entry[slot]) << "slot " << slot;
    t.entry[slotGetSize] = nullptr;
    EXPECT_NE(hostentry(slotGetSize), nullptr);
    maincall(&kit.frame);
    EXPECT_EQ(script.calls[slotGetSize], 1);
}

TEST_F(Front, NullTableEntriesAnswerZero)
{
    initint(nullptr);
    EXPECT_EQ(maincall(&kit.frame), 0);
    EXPECT_EQ(front.engine.radius, 0.0);
    expectplaceholders(kit, 0);
}

TEST_F(Front, LookAheadFollowsTheAirspeedDirection)
{
    // Body rotated against the global axes: north is global +x.
    kit.frame.bodyAxisX = HostVector {0, 1, 0};
    kit.frame.bodyAxisZ = HostVector {0, 0, 1};
    kit.frame.bodyAxisY = HostVector {1, 0, 0};
    kit.camera(6500000.0, 1000.0, -2000.0);
    // Vessel turned about its axis: the global x axis is its local y axis, so flying along local y
    // is flying north.
    script.axes[0] = HostVector {0, 1, 0};
    script.axes[1] = HostVector {-1, 0, 0};
    script.axes[2] = HostVector {0, 0, 1};
    script.airvec = HostVector {0, 200, 0};
    script.airspeed = 200.0;
    script.timeacc = 10.0;
    maincall(&kit.frame);
    const vectyp o = front.engine.observer;
    EXPECT_NEAR(o.x, 1000.0, 1e-6);
    EXPECT_NEAR(o.y, 6500000.0 + 2000.0, 1e-6);
    EXPECT_NEAR(o.z, -2000.0, 1e-6);

    for (const double acc : {0.0, std::numeric_limits<double>::infinity()}) {
        script.timeacc = acc;
        script.airspeed = acc == 0.0 ? 200.0 : 0.0; // infinity x 0: no offset at all
        maincall(&kit.frame);
        EXPECT_EQ(front.engine.observer.y, 6500000.0) << acc;
        EXPECT_EQ(front.engine.observer.x, 1000.0) << acc;
    }
}

TEST(FrontAnchor, AMoveOfExactlyTheThresholdDoesNotCount)
{
    // Through maincall the shifted angles never differ by exactly 0.01; here they do.
    auto f = std::make_unique<frontpl>();
    double colat = 0.01, lon = -0.01;
    EXPECT_EQ(anchorupdate(f.get(), &colat, &lon), 0);
    EXPECT_EQ(colat, 0.0); // replaced by the anchored angles
    EXPECT_EQ(f->reorient, 0);
    colat = std::nextafter(0.01, 1.0);
    lon = 0.0;
    EXPECT_EQ(anchorupdate(f.get(), &colat, &lon), 1);
    EXPECT_EQ(f->anchorcolat, std::nextafter(0.01, 1.0));
    EXPECT_EQ(f->reorient, 1);
}

TEST_F(Front, RestartAppliesTheTuningAndThePerBodyValues)
{
    kit.camera(0.0, 2.0 * script.size, 0.0); // outside: nothing refines
    kit.frame.bodyAxisX = HostVector {2, 0, 0};
    script.lat = 0.4;
    maincall(&kit.frame);
    const roampl& e = front.engine;
    EXPECT_EQ(front.startpend, 0);
    EXPECT_EQ(e.active, 1);
    EXPECT_EQ(e.enabled, 1);
    EXPECT_STREQ(e.planetname, "Earth");
    EXPECT_EQ(e.warmup, 1);
    EXPECT_EQ(e.loadlimit, restarttuning.loadlimit);
    EXPECT_EQ(e.budgetprio, restarttuning.budgetprio);
    EXPECT_EQ(e.budgettess, restarttuning.budgettess);
    EXPECT_EQ(e.radius, 6371000.0);
    EXPECT_EQ(e.maxlevel, restarttuning.maxlevel);
    EXPECT_EQ(e.yshift, restarttuning.yshift);
    EXPECT_EQ(e.splitfactor, restarttuning.splitfactor);
    EXPECT_EQ(e.shellheight, restarttuning.shellheight);
    EXPECT_EQ(e.rhalf, 3185500.0);
    EXPECT_EQ(e.rquarter, 1592750.0);
    EXPECT_EQ(front.anchorcolat, 0.0);
    EXPECT_EQ(front.anchorlon, 0.0);
    EXPECT_EQ(e.axes[0].x, 1.0); // normalised
    EXPECT_DOUBLE_EQ(e.rotx, 1.5707963267948966 - 0.4);
}

TEST_F(Front, EmptyNameAfterARunStopsTheEngine)
{
    maincall(&kit.frame);
    ASSERT_EQ(front.engine.active, 1);
    kit.name("");
    maincall(&kit.frame);
    EXPECT_EQ(front.engine.active, 0);
    EXPECT_EQ(front.engine.enabled, 0);
    EXPECT_EQ(front.engine.leaves, nullptr);
    expectplaceholders(kit, 0);
    kit.name("Earth");
    maincall(&kit.frame);
    EXPECT_EQ(front.engine.active, 1);
    EXPECT_GE(kit.blockgroups(), 6);
}

TEST_F(Front, WarmupBurstRunsOnceOnTheFirstStepInside)
{
    kit.camera(0.0, 2.0 * script.size, 0.0);
    maincall(&kit.frame);
    const std::int64_t outside = fakeclockticks;
    kit.camera(7000000.0, 0.0, 0.0);
    maincall(&kit.frame);
    const std::int64_t burst = fakeclockticks - outside;
    EXPECT_GT(burst, burstspan);
    EXPECT_EQ(front.engine.warmup, 0);
    maincall(&kit.frame);
    EXPECT_LT(fakeclockticks - outside - burst, burstspan / 10);
}

std::int64_t stoppedclock()
{
    return 42;
}

TEST_F(Front, WarmupBurstEndsWhenTheCounterStandsStill)
{
    timersetsource(stoppedclock, 1000000);
    maincall(&kit.frame); // returns at all: the burst is bounded by its run count
    EXPECT_GE(kit.blockgroups(), 6);
}

// A leaf list of n blocks, head first.
struct fakeleaves {
    std::vector<std::unique_ptr<blocktyp>> blocks;
    std::vector<linktyp> links;
    explicit fakeleaves(int n)
        : links(static_cast<std::size_t>(n))
    {
        for (int i = 0; i < n; ++i) {
            blocks.push_back(std::make_unique<blocktyp>());
            links[static_cast<std::size_t>(i)].block = blocks.back().get();
            links[static_cast<std::size_t>(i)].next = i + 1 < n ? &links[static_cast<std::size_t>(i) + 1] : nullptr;
            links[static_cast<std::size_t>(i)].prev = i > 0 ? &links[static_cast<std::size_t>(i) - 1] : nullptr;
        }
    }
};

TEST(FrontGroups, AtMost1023LeavesAreDrawnInListOrder)
{
    for (const int n : {6, 1022, 1023, 1100}) {
        auto f = std::make_unique<frontpl>();
        frontdefaults(f.get());
        carrierkit kit;
        std::copy(kit.frame.groups, kit.frame.groups + frameGroupCount, f->grouptab);
        f->groupsknown = 1;
        fakeleaves leaves(n);
        f->engine.leaves = n ? &leaves.links[0] : nullptr;
        const int drawn = leafgroups(f.get());
        const int expected = n < 1023 ? n : 1023;
        EXPECT_EQ(drawn, expected);
        for (int i = 0; i < expected; ++i) {
            const HostMeshGroup& g = kit.groups[static_cast<std::size_t>(i)];
            ASSERT_EQ(g.Vtx, leaves.blocks[static_cast<std::size_t>(i)]->vtx) << n << " " << i;
            ASSERT_EQ(g.Idx, gridindices);
            ASSERT_EQ(g.nVtx, 81u);
            ASSERT_EQ(g.nIdx, 384u);
            ASSERT_EQ(g.UsrFlag, 1u);
        }
        expectplaceholders(kit, expected);
        expectmarkers(kit);
    }
}

TEST(FrontGroups, NullGroupPointersArePassedOver)
{
    auto f = std::make_unique<frontpl>();
    frontdefaults(f.get());
    carrierkit kit;
    std::copy(kit.frame.groups, kit.frame.groups + frameGroupCount, f->grouptab);
    f->grouptab[2] = nullptr;
    f->grouptab[500] = nullptr;
    f->groupmat = nullptr;
    f->groupsknown = 1;
    fakeleaves leaves(6);
    f->engine.leaves = &leaves.links[0];
    f->engine.rquarter = 1.0;
    EXPECT_EQ(leafgroups(f.get()), 6);
    EXPECT_EQ(hazematerial(f.get(), 0.5, 1.0), 1);
    EXPECT_EQ(kit.groups[2].nVtx, 0u);
    EXPECT_EQ(kit.groups[500].nVtx, 0u);
    EXPECT_EQ(kit.groups[3].Vtx, leaves.blocks[3]->vtx);
}

} // namespace
