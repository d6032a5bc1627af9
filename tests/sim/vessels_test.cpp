// Class files, vessel creation and deletion, focus.
#include "simfixture.h"

#include <cstdio>
#include <cstring>

namespace {

TEST_F(SimTest, ClassFileKeysOverrideTheModuleAndAreReadWithoutRegardToCase)
{
    hostsim::addSolarBodies();
    writeProbeClass("SIZE = 12.5 ; comment\r\nenablefocus = FALSE\r\nEND_PARSE\r\nMass = 5\r\n");
    OBJHANDLE v = hostsim::createLanded("P", "SimProbe", earth(), 0, 0);
    ASSERT_NE(v, nullptr);
    VESSEL* iface = oapiGetVesselInterface(v);
    EXPECT_DOUBLE_EQ(iface->GetSize(), 12.5); // over the module's 4
    EXPECT_FALSE(iface->GetEnableFocus());
    EXPECT_DOUBLE_EQ(iface->GetEmptyMass(), 2000); // after END_PARSE: not read
    EXPECT_STREQ(iface->GetClassName(), "SimProbe");
    EXPECT_EQ(oapiGetFocusObject(), nullptr); // it does not take the focus
}

TEST_F(SimTest, ClassFileFallsBackToConfigAndMissingOnesFailTheCreation)
{
    hostsim::addSolarBodies();
    writeFile("config/Plain.cfg", "Size = 3\nTouchdownPoints = 0 -2 1  -1 -2 -1  1 -2 -1\n");
    OBJHANDLE v = hostsim::createLanded("Plain1", "Plain", earth(), 0, 0);
    ASSERT_NE(v, nullptr);
    EXPECT_FALSE(hostsim::vessel(v).fromModule);
    EXPECT_DOUBLE_EQ(oapiGetSize(v), 3);
    EXPECT_NEAR(hostsim::vessel(v).cgelev, 2, 1e-12);

    VESSELSTATUS2 st {};
    st.version = 2;
    st.status = 1;
    st.rbody = earth();
    EXPECT_EQ(oapiCreateVesselEx("Ghost", "NoSuchClass", &st), nullptr);
    EXPECT_NE(hostsim::lastError().find("NoSuchClass"), std::string::npos);
    EXPECT_EQ(oapiGetVesselCount(), 1u);
    st.version = 1;
    EXPECT_EQ(oapiCreateVesselEx("Bad", "Plain", &st), nullptr);
}

TEST_F(SimTest, ClassWithoutModuleIsACoreVesselWithDefaultCallbacks)
{
    hostsim::addSolarBodies();
    OBJHANDLE v = hostsim::createLanded("Focus", "", earth(), 0, 0);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(oapiGetVesselInterface(v)->GetClassName(), nullptr);
    EXPECT_EQ(oapiGetVesselInterface(v)->Version(), 1);
    EXPECT_EQ(oapiGetFocusObject(), v);
    hostsim::step(2);
    EXPECT_EQ(hostsim::callCount("VESSEL2::clbkPreStep"), 2);
    OBJHANDLE named = hostsim::createLanded("Named", "hazecarrier", earth(), 0, 0, 0, true);
    EXPECT_STREQ(oapiGetVesselInterface(named)->GetClassName(), "hazecarrier");
}

TEST_F(SimTest, DeletionInsideAStepTakesEffectAtItsEnd)
{
    hostsim::addSolarBodies();
    writeProbeClass();
    ProbeState* st = probe(hostsim::loadPlugin("simprobe"));
    OBJHANDLE focus = hostsim::createLanded("Focus", "", earth(), 0, 0);
    OBJHANDLE p = hostsim::createLanded("P", "SimProbe", earth(), 0.01, 0);
    st->deleteSelfAtStep = 2;
    hostsim::step();
    EXPECT_TRUE(hostsim::isVessel(p));
    hostsim::step(); // deletes itself from inside its own clbkPreStep
    EXPECT_FALSE(hostsim::isVessel(p));
    EXPECT_EQ(st->ovcExit, 1);
    EXPECT_EQ(st->vesselPreSteps, 2);
    EXPECT_EQ(oapiGetVesselCount(), 1u);
    EXPECT_EQ(oapiGetVesselByIndex(0), focus);
    EXPECT_EQ(st->visualsDestroyed, st->visualsCreated); // the visual went before the vessel
    hostsim::step();
    EXPECT_EQ(st->vesselPreSteps, 2);
}

TEST_F(SimTest, DeletingTheFocusHandsItOnAndUnknownHandlesAreRefused)
{
    hostsim::addSolarBodies();
    OBJHANDLE a = hostsim::createLanded("A", "", earth(), 0, 0);
    OBJHANDLE b = hostsim::createLanded("B", "", earth(), 0.1, 0);
    EXPECT_EQ(oapiGetFocusObject(), a);
    EXPECT_TRUE(oapiDeleteVessel(a, b));
    EXPECT_EQ(oapiGetFocusObject(), b);
    EXPECT_FALSE(oapiDeleteVessel(a));
    EXPECT_EQ(oapiGetVesselInterface(a), nullptr);
    EXPECT_EQ(oapiGetObjectType(a), OBJTP_INVALID);
    EXPECT_EQ(oapiGetObjectType(b), OBJTP_VESSEL);
    EXPECT_EQ(oapiGetObjectType(earth()), OBJTP_PLANET);
    EXPECT_EQ(oapiGetVesselByName((char*)"b"), b);
    EXPECT_EQ(oapiSetFocusObject(earth()), nullptr);
}

TEST_F(SimTest, ObjectNameIsCopiedWithStrncpySemantics)
{
    hostsim::addSolarBodies();
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    oapiGetObjectName(earth(), buf, 3);
    EXPECT_EQ(std::string(buf, 4), "Earx"); // truncated and not terminated
    oapiGetObjectName(earth(), buf, 8);
    EXPECT_STREQ(buf, "Earth");
}

TEST_F(SimTest, TimeAccelerationIsClampedAndScalesTheStep)
{
    hostsim::addSolarBodies();
    oapiSetTimeAcceleration(0.1);
    EXPECT_DOUBLE_EQ(oapiGetTimeAcceleration(), 1);
    oapiSetTimeAcceleration(1e9);
    EXPECT_DOUBLE_EQ(oapiGetTimeAcceleration(), 100000);
    oapiSetTimeAcceleration(10);
    hostsim::setTimeStep(0.1);
    hostsim::step();
    EXPECT_DOUBLE_EQ(oapiGetSimStep(), 1.0);
    EXPECT_DOUBLE_EQ(oapiGetSimTime(), 1.0);
    EXPECT_NEAR(oapiGetSimMJD(), 51544.5 + 1.0 / 86400, 1e-9);
}

TEST_F(SimTest, DebugStringIsTheHostsBuffer)
{
    char* d = oapiDebugString();
    ASSERT_NE(d, nullptr);
    std::snprintf(d, 256, "alt %d", 42);
    EXPECT_EQ(hostsim::debugString(), "alt 42");
    EXPECT_EQ(oapiDebugString(), d);
    EXPECT_EQ(hostsim::callCount("oapiDebugString"), 2);
}

} // namespace
