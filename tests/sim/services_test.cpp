// The other SDK services over the world model: state records and scenario lines, camera,
// atmosphere, orbits and forces, configuration items, counters and message boxes.
#include "simfixture.h"

#include <cmath>
#include <sstream>

namespace {

class ServicesTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        hostsim::addSolarBodies();
    }
};

TEST_F(ServicesTest, DefaultScenarioLinesRestoreALandedVessel)
{
    OBJHANDLE v = hostsim::createLanded("L", "", earth(), -1.1, 0.6, 2.0);
    auto* iface = static_cast<VESSEL2*>(oapiGetVesselInterface(v));
    std::ostringstream out;
    iface->clbkSaveState(&out);
    EXPECT_NE(out.str().find("  STATUS Landed Earth\n"), std::string::npos) << out.str();

    std::istringstream in(out.str() + "END\nPOS 0 0\n");
    VESSELSTATUS2 st {};
    st.version = 2;
    iface->clbkLoadStateEx(&in, &st); // stops at END
    EXPECT_EQ(st.status, 1);
    EXPECT_EQ(st.rbody, earth());
    EXPECT_NEAR(st.surf_lng, -1.1, 1e-6);
    EXPECT_NEAR(st.surf_lat, 0.6, 1e-6);
    EXPECT_NEAR(st.surf_hdg, 2.0, 1e-3);

    OBJHANDLE copy = hostsim::createLanded("Copy", "", earth(), 0, 0);
    oapiGetVesselInterface(copy)->DefSetStateEx(&st);
    EXPECT_LT(dist(hostsim::vessel(copy).pos, hostsim::vessel(v).pos), 0.1);
}

TEST_F(ServicesTest, OldStatusRecordDescribesAndCreatesVessels)
{
    OBJHANDLE v = hostsim::createLanded("L", "", earth(), 0.4, -0.2, 1.0);
    VESSELSTATUS st;
    oapiGetVesselInterface(v)->GetStatus(st);
    EXPECT_EQ(st.status, 1);
    EXPECT_EQ(st.rbody, earth());
    EXPECT_NEAR(st.vdata[0].x, 0.4, 1e-12);
    EXPECT_NEAR(st.vdata[0].y, -0.2, 1e-12);
    EXPECT_NEAR(st.vdata[0].z, 1.0, 1e-12);
    EXPECT_NEAR(st.vrot.x, 1.0, 1e-12); // height of the origin above the ground
    EXPECT_EQ(oapiGetVesselInterface(v)->GetFlightStatus(), 1u);

    OBJHANDLE w = oapiCreateVessel("W", "", st);
    ASSERT_NE(w, nullptr);
    EXPECT_LT(dist(hostsim::vessel(w).pos, hostsim::vessel(v).pos), 1e-3);
    EXPECT_NEAR(oapiGetVesselInterface(w)->GetPitch(), 0, 1e-9);
    EXPECT_NEAR(oapiGetVesselInterface(w)->GetBank(), 0, 1e-9);
    EXPECT_NEAR(oapiGetVesselInterface(w)->GetYaw(), 1.0, 1e-9);
}

TEST_F(ServicesTest, CameraFollowsTheFocusVessel)
{
    OBJHANDLE v = hostsim::createFree("F", "", earth(), _V(7e6, 0, 0), _V(0, 0, 0), _V(0, 0.5, 0));
    VESSEL* iface = oapiGetVesselInterface(v);
    iface->SetCameraOffset(_V(0, 2, 3));
    hostsim::setCameraExternal(50);
    VECTOR3 cam, dir, behind;
    oapiCameraGlobalPos(&cam);
    oapiCameraGlobalDir(&dir);
    iface->Local2Global(_V(0, 0, -50), behind);
    EXPECT_LT(dist(cam, behind), 1e-3);
    EXPECT_LT(dist(dir * 50 + cam, hostsim::vessel(v).pos), 1e-3);
    EXPECT_FALSE(oapiCameraInternal());
    EXPECT_EQ(oapiCameraMode(), CAM_TARGETRELATIVE);
    EXPECT_EQ(oapiCameraTarget(), v);

    hostsim::setCameraCockpit();
    VECTOR3 seat;
    iface->Local2Global(_V(0, 2, 3), seat);
    oapiCameraGlobalPos(&cam);
    EXPECT_LT(dist(cam, seat), 1e-3);
    EXPECT_TRUE(oapiCameraInternal());
    MATRIX3 r;
    oapiCameraRotationMatrix(&r);
    oapiCameraGlobalDir(&dir);
    EXPECT_NEAR(dotp(dir, _V(r.m13, r.m23, r.m33)), 1.0, 1e-12);
    hostsim::setCameraAperture(0.3);
    EXPECT_DOUBLE_EQ(oapiCameraAperture(), 0.3);
}

TEST_F(ServicesTest, AtmosphereThinsWithAltitudeAndEndsAtItsLimit)
{
    OBJHANDLE moon = oapiGetGbodyByName((char*)"Moon");
    EXPECT_TRUE(oapiPlanetHasAtmosphere(earth()));
    EXPECT_FALSE(oapiPlanetHasAtmosphere(moon));
    EXPECT_EQ(oapiGetPlanetAtmConstants(moon), nullptr);
    const ATMCONST* c = oapiGetPlanetAtmConstants(earth());
    ASSERT_NE(c, nullptr);
    EXPECT_DOUBLE_EQ(c->radlimit, c->altlimit + oapiGetSize(earth()));
    ATMPARAM low, high, out;
    oapiGetPlanetAtmParams(earth(), oapiGetSize(earth()), &low);
    oapiGetPlanetAtmParams(earth(), 10000.0, 0.0, 0.0, &high);
    oapiGetPlanetAtmParams(earth(), c->altlimit + 1, 0.0, 0.0, &out);
    EXPECT_NEAR(low.p, c->p0, 1e-6);
    EXPECT_NEAR(low.rho, c->rho0, 1e-9);
    EXPECT_NEAR(low.p / (low.rho * low.T), c->R, 1e-9);
    EXPECT_LT(high.p, low.p);
    EXPECT_GT(high.p, 0);
    EXPECT_EQ(out.p, 0);
    EXPECT_EQ(out.rho, 0);
}

TEST_F(ServicesTest, CircularOrbitHasEqualApsidesAndForcesActOnce)
{
    const double r = 7e6;
    const double v = std::sqrt(GGRAV * oapiGetMass(earth()) / r);
    OBJHANDLE s = hostsim::createFree("S", "", earth(), _V(r, 0, 0), _V(0, 0, v));
    VESSEL* iface = oapiGetVesselInterface(s);
    double pe, ap;
    EXPECT_EQ(iface->GetPeDist(pe), earth());
    EXPECT_EQ(iface->GetApDist(ap), earth());
    EXPECT_NEAR(pe, r, 1.0);
    EXPECT_NEAR(ap, r, 1.0);

    hostsim::setTimeStep(1.0);
    iface->AddForce(_V(0, 0, 2000), _V(0, 0, 0)); // for one step only
    VECTOR3 v0, v1, v2;
    iface->GetGlobalVel(v0);
    hostsim::step();
    iface->GetGlobalVel(v1);
    hostsim::step();
    iface->GetGlobalVel(v2);
    EXPECT_NEAR(length(v1 - v0), 2000 / iface->GetMass(), 1e-9);
    EXPECT_NEAR(length(v2 - v1), 0, 1e-9);
}

TEST_F(ServicesTest, AngularVelocityTurnsAFreeVessel)
{
    OBJHANDLE s = hostsim::createFree("S", "", earth(), _V(7e6, 0, 0), _V(0, 0, 0), _V(0, 0, 0), _V(0, 0.1, 0));
    hostsim::setTimeStep(0.5);
    hostsim::step(10);
    MATRIX3 r;
    oapiGetVesselInterface(s)->GetRotationMatrix(r);
    const MATRIX3 expect = rotm(_V(0, 1, 0), 0.5);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(r.data[i], expect.data[i], 1e-9);
    VECTOR3 w;
    oapiGetVesselInterface(s)->GetAngularVel(w);
    EXPECT_NEAR(w.y, 0.1, 1e-12);
}

TEST_F(ServicesTest, ControlSurfacesMoveToTheirTargetInTheNextStep)
{
    VESSEL* iface = oapiGetVesselInterface(hostsim::createLanded("C", "", earth(), 0, 0));
    iface->SetControlSurfaceLevel(AIRCTRL_ELEVATOR, 0.5);
    iface->SetControlSurfaceLevel(AIRCTRL_RUDDER, -3.0, true);
    EXPECT_EQ(iface->GetControlSurfaceLevel(AIRCTRL_ELEVATOR), 0.0);
    EXPECT_EQ(iface->GetControlSurfaceLevel(AIRCTRL_RUDDER), -1.0);
    hostsim::step();
    EXPECT_EQ(iface->GetControlSurfaceLevel(AIRCTRL_ELEVATOR), 0.5);
}

TEST_F(ServicesTest, ConfigurationItemsAreReadFromTheClassFile)
{
    writeFile("config/vessels/Items.cfg",
        "Name = some text\nRatio = 2.5e3\nCount = -7\nOn = TRUE\nOff = false\nOffset = 1 -2 3.5\nBad = x\n");
    std::ifstream cfg(root + "/config/vessels/Items.cfg");
    char text[256];
    double d = 0;
    int i = 0;
    bool b = false;
    VECTOR3 vec;
    ASSERT_TRUE(oapiReadItem_string(&cfg, (char*)"name", text));
    EXPECT_STREQ(text, "some text");
    ASSERT_TRUE(oapiReadItem_float(&cfg, (char*)"Ratio", d));
    EXPECT_DOUBLE_EQ(d, 2500);
    ASSERT_TRUE(oapiReadItem_int(&cfg, (char*)"COUNT", i));
    EXPECT_EQ(i, -7);
    ASSERT_TRUE(oapiReadItem_bool(&cfg, (char*)"On", b));
    EXPECT_TRUE(b);
    ASSERT_TRUE(oapiReadItem_bool(&cfg, (char*)"Off", b));
    EXPECT_FALSE(b);
    ASSERT_TRUE(oapiReadItem_vec(&cfg, (char*)"Offset", vec));
    EXPECT_DOUBLE_EQ(vec.z, 3.5);
    EXPECT_FALSE(oapiReadItem_float(&cfg, (char*)"Bad", d));
    EXPECT_FALSE(oapiReadItem_bool(&cfg, (char*)"Bad", b));
    EXPECT_FALSE(oapiReadItem_string(&cfg, (char*)"Missing", text));
    EXPECT_TRUE(oapiReadItem_float(&cfg, (char*)"Ratio", d)); // every lookup starts afresh
}

TEST_F(ServicesTest, CountersAndMessagesRecordWhatModulesDid)
{
    OBJHANDLE e = earth();
    OBJHANDLE v = hostsim::createLanded("V", "", e, 0, 0);
    hostsim::resetCallCounts();
    oapiGetSize(e);
    oapiGetSize(v);
    double alt;
    oapiGetAltitude(v, &alt);
    oapiGetAltitude(v, ALTMODE_GROUND, &alt);
    oapiGetVesselInterface(v)->GetAltitude();
    EXPECT_EQ(hostsim::callCount("oapiGetSize"), 2);
    EXPECT_EQ(hostsim::callCount("oapiGetAltitude"), 2);
    EXPECT_EQ(hostsim::callCount("VESSEL::GetAltitude"), 1);
    EXPECT_EQ(hostsim::callCount("oapiGetVesselInterface"), 1);
    EXPECT_EQ(hostsim::callCounts().size(), 4u);

    MessageBoxA(nullptr, "something went wrong", "Error!", MB_OK);
    ASSERT_EQ(hostsim::messages().size(), 1u);
    EXPECT_EQ(hostsim::messages()[0].caption, "Error!");
    EXPECT_EQ(hostsim::messages()[0].text, "something went wrong");
    hostsim::clearMessages();
    EXPECT_TRUE(hostsim::messages().empty());
}

TEST_F(ServicesTest, ObjectsAreTheBodiesThenTheVessels)
{
    OBJHANDLE v = hostsim::createLanded("V", "", earth(), 0, 0);
    EXPECT_EQ(oapiGetObjectCount(), 4u);
    EXPECT_EQ(oapiGetGbodyCount(), 3u);
    EXPECT_EQ(oapiGetObjectByIndex(0), earth());
    EXPECT_EQ(oapiGetObjectByIndex(3), v);
    EXPECT_EQ(oapiGetObjectByIndex(4), nullptr);
    EXPECT_EQ(oapiGetObjectByIndex(-1), nullptr);
    EXPECT_EQ(oapiGetGbodyByIndex(0), earth());
    EXPECT_EQ(oapiGetGbodyByIndex(3), nullptr);
    EXPECT_EQ(oapiGetGbodyByIndex(-1), nullptr);
    EXPECT_EQ(oapiGetVesselByIndex(0), v);
    EXPECT_EQ(oapiGetVesselByIndex(1), nullptr);
    EXPECT_EQ(oapiGetVesselByIndex(-1), nullptr);
    EXPECT_EQ(oapiGetObjectByName((char*)"v"), v);
    EXPECT_EQ(oapiGetBaseCount(earth()), 0u);
    VECTOR3 g = _V(1, 2, 3), l, back;
    oapiGlobalToLocal(v, &g, &l);
    oapiLocalToGlobal(v, &l, &back);
    EXPECT_LT(dist(g, back), 1e-3);
}

TEST_F(ServicesTest, VesselsAreCreatedOnlyOnABodyOfTheWorld)
{
    int notABody = 0;
    EXPECT_EQ(hostsim::createLanded("L", "", &notABody, 0, 0), nullptr);
    EXPECT_EQ(hostsim::createFree("F", "", nullptr, _V(7e6, 0, 0), _V(0, 7500, 0)), nullptr);
    EXPECT_EQ(oapiGetVesselCount(), 0u);
    OBJHANDLE f = hostsim::createFree("F", "", earth(), _V(7e6, 0, 0), _V(0, 7500, 0));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(oapiGetVesselCount(), 1u);
    VESSELSTATUS2 st {};
    st.version = 2;
    oapiGetVesselInterface(f)->GetStatusEx(&st);
    EXPECT_EQ(st.status, 0);
    EXPECT_EQ(st.rbody, earth());
}

} // namespace
