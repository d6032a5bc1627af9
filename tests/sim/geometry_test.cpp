// Bodies, landed placement, free flight, airspeed and state records.
#include "simfixture.h"

#include <cmath>
#include <sstream>

namespace {

// Bodies sit at astronomical distances, as in the host: global positions resolve to ~0.1 mm.
constexpr double posTol = 1e-3;

void expectNear(const VECTOR3& a, const VECTOR3& b, double tol)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

class GeometryTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        hostsim::addSolarBodies();
    }
};

TEST_F(GeometryTest, BodyOrientationFunctionsAgreeWithTheRotationMatrixAndEquPos)
{
    hostsim::setTimeStep(1000);
    hostsim::step(3);
    for (const char* name : {"Earth", "Moon", "Mars"}) {
        OBJHANDLE b = oapiGetGbodyByName((char*)name);
        ASSERT_NE(b, nullptr) << name;
        const double e = oapiGetPlanetObliquity(b), t = oapiGetPlanetTheta(b), w = oapiGetPlanetCurrentRotation(b);
        const MATRIX3 ra = _M(
            cos(t), -sin(t) * sin(e), -sin(t) * cos(e), 0, cos(e), -sin(e), sin(t), cos(t) * sin(e), cos(t) * cos(e));
        const MATRIX3 ry = _M(cos(w), 0, -sin(w), 0, 1, 0, sin(w), 0, cos(w));
        MATRIX3 r, obl;
        oapiGetRotationMatrix(b, &r);
        oapiGetPlanetObliquityMatrix(b, &obl);
        const MATRIX3 expect = mul(ra, ry);
        for (int i = 0; i < 9; ++i) {
            EXPECT_NEAR(r.data[i], expect.data[i], 1e-12) << name;
            EXPECT_NEAR(obl.data[i], ra.data[i], 1e-12) << name;
        }
        // A point at lng/lat maps to the global position that equatorial coordinates describe.
        VECTOR3 g, centre;
        oapiEquToGlobal(b, 0.7, -0.3, 2e6, &g);
        oapiGetGlobalPos(b, &centre);
        expectNear(g - centre, mul(expect, _V(2e6 * cos(-0.3) * cos(0.7), 2e6 * sin(-0.3), 2e6 * cos(-0.3) * sin(0.7))),
            posTol);
        double lng, lat, rad;
        oapiGlobalToEqu(b, g, &lng, &lat, &rad);
        EXPECT_NEAR(lng, 0.7, 1e-9);
        EXPECT_NEAR(lat, -0.3, 1e-9);
        EXPECT_NEAR(rad, 2e6, 1e-3);
    }
    EXPECT_NEAR(oapiGetPlanetPeriod(earth()), 86164.1, 0.1);
    EXPECT_NEAR(oapiGetSize(earth()), 6.371e6, 1e3);
    EXPECT_NEAR(oapiGetSize(oapiGetGbodyByName((char*)"moon")), 1.7375e6, 1e3);
    EXPECT_NEAR(oapiGetSize(oapiGetGbodyByName((char*)"MARS")), 3.39e6, 1e3);
}

TEST_F(GeometryTest, LandedVesselReportsItsPlaceAndTurnsWithItsBody)
{
    OBJHANDLE v = hostsim::createLanded("L", "", earth(), 1.2, 0.5, 0.3);
    ASSERT_NE(v, nullptr);
    double lng, lat, rad;
    ASSERT_TRUE(oapiGetEquPos(v, &lng, &lat, &rad));
    EXPECT_NEAR(lng, 1.2, 1e-9);
    EXPECT_NEAR(lat, 0.5, 1e-9);
    EXPECT_NEAR(rad, oapiGetSize(earth()) + 1.0, posTol); // default touchdown points 1 m below the origin
    double hdg;
    ASSERT_TRUE(oapiGetHeading(v, &hdg));
    EXPECT_NEAR(hdg, 0.3, 1e-9);
    VECTOR3 p0;
    oapiGetGlobalPos(v, &p0);
    hostsim::setTimeStep(3600);
    hostsim::step();
    VECTOR3 p1;
    oapiGetGlobalPos(v, &p1);
    EXPECT_GT(dist(p0, p1), 1e5); // an hour of Earth's rotation moves it far
    ASSERT_TRUE(oapiGetEquPos(v, &lng, &lat, &rad));
    EXPECT_NEAR(lng, 1.2, 1e-9);
    EXPECT_NEAR(lat, 0.5, 1e-9);
    // Upright: the vessel's +y axis is the local vertical.
    VECTOR3 up, centre;
    oapiGetVesselInterface(v)->GlobalRot(_V(0, 1, 0), up);
    oapiGetGlobalPos(earth(), &centre);
    expectNear(up, unit(p1 - centre), 1e-9);
    EXPECT_NEAR(oapiGetVesselInterface(v)->GetAirspeed(), 0, 1e-9);
}

TEST_F(GeometryTest, LandedOriginSitsItsCentreOfGravityElevationAboveTheGround)
{
    // Touchdown points 10 km up the y axis: the 2006 host puts the origin 10 km over the ground (the
    // points themselves 20 km up), upright, and every report of the vessel agrees with that.
    writeFile("config/vessels/Tall.cfg", "TouchdownPoints = 0 10000 10  -3.5 10000 -3  3.5 10000 -3\n");
    OBJHANDLE v = hostsim::createLanded("Tall", "Tall", earth(), -0.4, 0.9, 0);
    ASSERT_NE(v, nullptr);
    VESSEL* iface = oapiGetVesselInterface(v);
    EXPECT_NEAR(iface->GetAltitude(), 10000, 1e-6);
    EXPECT_NEAR(iface->GetAltitude(ALTMODE_GROUND, nullptr), 10000, 1e-6);
    EXPECT_NEAR(iface->GetCOG_elev(), 10000, 1e-6);
    EXPECT_NEAR(hostsim::vessel(v).cgelev, 10000, 1e-6);
    double lng, lat, rad;
    ASSERT_TRUE(oapiGetEquPos(v, &lng, &lat, &rad));
    EXPECT_NEAR(rad, oapiGetSize(earth()) + 10000, posTol);
    VECTOR3 origin, centre, up;
    oapiGetGlobalPos(v, &origin);
    oapiGetGlobalPos(earth(), &centre);
    EXPECT_NEAR(dist(origin, centre), oapiGetSize(earth()) + 10000, posTol);
    iface->GlobalRot(_V(0, 1, 0), up);
    expectNear(up, unit(origin - centre), 1e-9);
    VECTOR3 contact;
    iface->Local2Global(_V(0, 10000, 0), contact);
    oapiGlobalToEqu(earth(), contact, &lng, &lat, &rad);
    EXPECT_NEAR(rad, oapiGetSize(earth()) + 20000, posTol);
    EXPECT_NEAR(lng, -0.4, 1e-9);
    VESSELSTATUS2 st {};
    st.version = 2;
    iface->GetStatusEx(&st);
    EXPECT_EQ(st.status, 1);
    EXPECT_EQ(st.rbody, earth());
    EXPECT_NEAR(st.vrot.x, 10000, 1e-6);
    EXPECT_NEAR(length(st.rpos), oapiGetSize(earth()) + 10000, posTol);
    EXPECT_NEAR(st.surf_lng, -0.4, 1e-12);
    EXPECT_NEAR(st.surf_lat, 0.9, 1e-12);
    std::ostringstream saved;
    static_cast<VESSEL2*>(iface)->clbkSaveState(&saved);
    EXPECT_NE(saved.str().find("ALT 10000.000"), std::string::npos) << saved.str();
    // Re-anchoring as an add-on does it: new place through the record it read; a status-1 record's
    // arot and vrot are not read, whatever they hold.
    st.surf_lng = 0.25;
    st.surf_lat = -0.1;
    st.surf_hdg = 0;
    st.arot = _V(1, 2, 3);
    st.vrot = _V(0, 0, 0);
    iface->DefSetStateEx(&st);
    oapiGetEquPos(v, &lng, &lat, &rad);
    EXPECT_NEAR(lng, 0.25, 1e-9);
    EXPECT_NEAR(lat, -0.1, 1e-9);
    EXPECT_NEAR(rad, oapiGetSize(earth()) + 10000, posTol);
    EXPECT_NEAR(iface->GetCOG_elev(), 10000, 1e-6);
}

TEST_F(GeometryTest, FreeFlightMovesWithItsVelocityAndReportsAirspeedInTheVesselFrame)
{
    const double r = oapiGetSize(earth()) + 5000;
    // Above lng 0, lat 0 at t = 0: the body-frame x axis in global axes.
    MATRIX3 rot;
    oapiGetRotationMatrix(earth(), &rot);
    const VECTOR3 pos = mul(rot, _V(r, 0, 0));
    const VECTOR3 vel = mul(rot, _V(0, 0, 200)); // eastwards relative to the rotating body... plus its spin
    OBJHANDLE v = hostsim::createFree("F", "", earth(), pos, vel);
    ASSERT_NE(v, nullptr);
    VESSEL* iface = oapiGetVesselInterface(v);
    EXPECT_NEAR(iface->GetAltitude(), 5000, posTol);
    // Surface speed at the equator: omega * r towards the east (body +z at lng 0).
    const double surface = 2 * PI / oapiGetPlanetPeriod(earth()) * r;
    VECTOR3 air;
    ASSERT_TRUE(iface->GetShipAirspeedVector(air));
    // Vessel axes are the global axes (arot 0): the airspeed vector is the global one.
    expectNear(air, vel - mul(rot, _V(0, 0, surface)), 1e-6);
    EXPECT_NEAR(iface->GetAirspeed(), std::fabs(200 - surface), 1e-6);
    VECTOR3 hor;
    ASSERT_TRUE(iface->GetHorizonAirspeedVector(hor));
    expectNear(hor, _V(200 - surface, 0, 0), 1e-6); // x east, y up, z north

    // Turned by arot, the same motion shows in the vessel's own axes.
    OBJHANDLE t = hostsim::createFree("T", "", earth(), pos, vel, _V(0.3, -0.2, 1.1));
    MATRIX3 vr;
    oapiGetVesselInterface(t)->GetRotationMatrix(vr);
    ASSERT_TRUE(oapiGetShipAirspeedVector(t, &air));
    expectNear(air, tmul(vr, vel - mul(rot, _V(0, 0, surface))), 1e-6);
    VESSELSTATUS2 st {};
    st.version = 2;
    oapiGetVesselInterface(t)->GetStatusEx(&st);
    expectNear(st.arot, _V(0.3, -0.2, 1.1), 1e-12);
    expectNear(st.rpos, pos, posTol);

    hostsim::setTimeStep(2);
    hostsim::step(5);
    VECTOR3 p, centre;
    oapiGetGlobalPos(v, &p);
    oapiGetGlobalPos(earth(), &centre);
    expectNear(p - centre, pos + vel * 10, posTol);
}

TEST_F(GeometryTest, SurfaceReferenceIsTheBodyWithTheClosestSurface)
{
    OBJHANDLE moon = oapiGetGbodyByName((char*)"Moon");
    OBJHANDLE v = hostsim::createFree("M", "", moon, _V(2e6, 0, 0), _V(0, 0, 0));
    EXPECT_EQ(oapiGetVesselInterface(v)->GetSurfaceRef(), moon);
    double alt;
    ASSERT_TRUE(oapiGetAltitude(v, &alt));
    EXPECT_NEAR(alt, 2e6 - oapiGetSize(moon), posTol);
}

} // namespace
