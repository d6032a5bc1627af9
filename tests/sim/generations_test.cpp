// The host generations the stand-in models, chosen by the version it reports: landed placement from a
// state record (the 2006 centre-of-gravity elevation, the later touchdown plane on the ground, the
// "extended information" path), terrain, what GetStatusEx gives back, where a new vessel's visual comes
// into being, the graphics-client build, and sessions ending and starting in one process.
#include "simfixture.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int v2006 = 60929, v2010 = 100830, v2016 = 160828, v2024 = 241231;
constexpr int versions[] = {v2006, v2010, v2016, v2024};

// The planet-frame angles whose rotation has the local horizon's axes at lng 0.5, lat 0.3.
const VECTOR3 horizonArot = _V(1.718026888, 0.262342259, 2.090254805);

// Horizon axes (east, up, north) at lng/lat in the body frame, from the planet-to-horizon matrix.
void horizonAxes(double lng, double lat, VECTOR3 axes[3])
{
    const double cl = std::cos(lng), sl = std::sin(lng), cb = std::cos(lat), sb = std::sin(lat);
    axes[0] = _V(-sl, 0, cl);
    axes[1] = _V(cb * cl, sb, cb * sl);
    axes[2] = _V(-sb * cl, cb, -sb * sl);
}

// Column i of a rotation: where it takes the local axis i.
VECTOR3 column(const MATRIX3& r, int i)
{
    return _V(r.data[i], r.data[3 + i], r.data[6 + i]);
}

// The vessel's axes (x, y, z) in its body's frame.
void bodyFrameAxes(OBJHANDLE v, VECTOR3 axes[3])
{
    const hostsim::VesselView view = hostsim::vessel(v);
    MATRIX3 rb;
    oapiGetRotationMatrix(view.body, &rb);
    for (int i = 0; i < 3; ++i)
        axes[i] = tmul(rb, column(view.rot, i));
}

// The largest difference between the axes of two rotations.
double rotationGap(const MATRIX3& a, const MATRIX3& b)
{
    double gap = 0;
    for (int i = 0; i < 3; ++i)
        gap = std::max(gap, length(column(a, i) - column(b, i)));
    return gap;
}

class GenerationTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        hostsim::addSolarBodies();
        // Touchdown points 10 km up the y axis like the carrier's: centred under the origin (Tall), and
        // off-centre on a soft gear with a 10 km lever (Lever).
        writeFile("config/vessels/Tall.cfg",
            "Mass = 1000\nTouchdownPoints = 0 10000 2  -1.7320508 10000 -1  1.7320508 10000 -1\n");
        writeFile("config/vessels/Lever.cfg", "Mass = 500\nTouchdownPoints = 0 10000 1  -1 10000 -1  1 10000 -1\n");
        writeProbeClass();
        writeProbeMesh();
        st = probe(hostsim::loadPlugin("simprobe"));
        ASSERT_NE(st, nullptr);
    }

    OBJHANDLE body(const char* name) { return oapiGetGbodyByName(const_cast<char*>(name)); }

    // A landed record at lng 0.5, lat 0.3, heading 1: "extended information" (the horizon's angles,
    // 250 m over the ground) or not set (arot.x 10).
    static VESSELSTATUS2 landedRecord(OBJHANDLE on, bool extended)
    {
        VESSELSTATUS2 rec {};
        rec.version = 2;
        rec.status = 1;
        rec.rbody = on;
        rec.surf_lng = 0.5;
        rec.surf_lat = 0.3;
        rec.surf_hdg = 1.0;
        rec.arot = extended ? horizonArot : _V(10, 0, 0);
        rec.vrot.x = extended ? 250 : 0;
        return rec;
    }

    // Distance of the vessel's origin from its body's centre.
    static double radius(OBJHANDLE v)
    {
        double lng, lat, rad;
        oapiGetEquPos(v, &lng, &lat, &rad);
        return rad;
    }

    ProbeState* st = nullptr;
};

// Each generation's SetState2 for a landed record: 2006 stands the carrier-like vessel 10 km over the
// ground whatever the record holds; 2010 puts the compressed touchdown plane on the ground for every
// record (origin 10 km under it); 2016 and later take an extended record's rotation against the planet
// frame and its height over the terrain, and the touchdown path for the others.
TEST_F(GenerationTest, LandedRecordIsPlacedByTheGenerationsRules)
{
    struct Case {
        int version;
        const char* cls;
        const char* on;
        bool extended;
        double height; // expected height of the origin over the ground
        bool horizonAxes; // the vessel's axes are the horizon's at its place
    };
    const Case cases[] = {
        {v2006, "Tall", "Earth", true, 10000.0, true},
        {v2006, "Tall", "Earth", false, 10000.0, true},
        {v2010, "Tall", "Earth", true, -10000.003, true},
        {v2010, "Lever", "Earth", false, -9981.4, false},
        {v2016, "Tall", "Mars", true, 250.0, true},
        {v2016, "Tall", "Earth", false, -10000.003, true},
        {v2024, "Lever", "Earth", false, -9981.4, false},
        {v2024, "Lever", "Mars", true, 250.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + " " + c.cls + " on " + c.on + (c.extended ? " extended" : ""));
        hostsim::setOrbiterVersion(c.version);
        const OBJHANDLE on = body(c.on);
        const VESSELSTATUS2 rec = landedRecord(on, c.extended);
        const OBJHANDLE v = oapiCreateVesselEx("V", c.cls, &rec);
        ASSERT_NE(v, nullptr);
        const double ground = hostsim::terrainElevation(on, 0.5, 0.3);
        if (c.version >= v2016 && std::string(c.on) == "Mars") {
            EXPECT_GT(ground, 1000.0); // the terrain counts here
        }
        const double tol = std::fabs(c.height) == 9981.4 ? 0.05 : 1e-3;
        EXPECT_NEAR(hostsim::vessel(v).cgelev, c.height, tol);
        EXPECT_NEAR(radius(v), oapiGetSize(on) + ground + c.height, c.extended && c.version >= v2016 ? 1.0 : tol);
        VESSEL* iface = oapiGetVesselInterface(v);
        EXPECT_NEAR(iface->GetAltitude(), ground + c.height, tol);
        EXPECT_NEAR(iface->GetAltitude(ALTMODE_GROUND, nullptr), c.height, tol);
        EXPECT_NEAR(iface->GetSurfaceElevation(), ground, 1e-6);
        VECTOR3 axes[3], want[3];
        bodyFrameAxes(v, axes);
        horizonAxes(0.5, 0.3, want);
        if (c.horizonAxes && c.extended && c.version >= v2016) {
            for (int i = 0; i < 3; ++i)
                EXPECT_LT(length(axes[i] - want[i]), 1e-9) << "axis " << i;
        } else {
            // Upright (or, on the unequally compressed gear, tilted a little), turned to the heading.
            EXPECT_GT(dotp(axes[1], want[1]), c.horizonAxes ? 1 - 1e-12 : 0.99);
            EXPECT_NEAR(iface->GetYaw(), 1.0, c.horizonAxes ? 1e-9 : 1e-3);
        }
        const std::vector<VESSELSTATUS2> records = hostsim::landedRecords(v);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].arot.x, rec.arot.x);
        EXPECT_EQ(records[0].vrot.x, rec.vrot.x);
        oapiDeleteVessel(v);
    }
}

// Terrain exists from 2016 on, is smooth, lies where the pictures paint land, and can be switched off.
TEST_F(GenerationTest, TerrainRisesOnlyWhereTheGenerationHasItAndIsSmooth)
{
    const OBJHANDLE earthBody = earth(), mars = body("Mars"), moon = body("Moon");
    double highest[3] = {0, 0, 0};
    int land = 0, samples = 0;
    hostsim::setOrbiterVersion(v2016);
    for (double lng = -3.1; lng < 3.1; lng += 0.05)
        for (double lat = -1.5; lat < 1.5; lat += 0.05) {
            const OBJHANDLE bodies[3] = {earthBody, mars, moon};
            for (int b = 0; b < 3; ++b) {
                const double h = hostsim::terrainElevation(bodies[b], lng, lat);
                EXPECT_GE(h, 0.0);
                highest[b] = std::max(highest[b], h);
                // A step of 1e-5 rad (64 m on the Earth) changes the height by metres, not kilometres.
                EXPECT_LT(std::fabs(hostsim::terrainElevation(bodies[b], lng + 1e-5, lat) - h), 10.0);
            }
            const VECTOR3 d = _V(std::cos(lat) * std::cos(lng), std::sin(lat), std::cos(lat) * std::sin(lng));
            const bool picturedLand = hostsim::earthRelief(d) > hostsim::earthSeaLevel;
            EXPECT_EQ(hostsim::terrainElevation(earthBody, lng, lat) > 0, picturedLand);
            land += picturedLand;
            ++samples;
        }
    EXPECT_NEAR(double(land) / samples, 1.0 / 3, 0.1);
    EXPECT_GT(highest[0], 6000.0);
    EXPECT_LE(highest[0], 8000.0);
    EXPECT_GT(highest[1], 18000.0);
    EXPECT_LE(highest[1], 21000.0);
    EXPECT_GT(highest[2], 2000.0);
    EXPECT_LE(highest[2], 5000.0);
    EXPECT_EQ(hostsim::terrainElevation(body("Sun"), 0, 0), 0.0); // no such body: no ground

    hostsim::setTerrain(false);
    EXPECT_EQ(hostsim::terrainElevation(mars, 0.5, 0.3), 0.0);
    hostsim::setTerrain(true);
    for (int version : {v2006, v2010}) {
        hostsim::setOrbiterVersion(version);
        EXPECT_EQ(hostsim::terrainElevation(mars, 0.5, 0.3), 0.0) << version;
    }
}

// What GetStatusEx gives back for a landed vessel, and what feeding it to DefSetStateEx does: the 2006
// and 2024 hosts report the planet-frame rotation and the height over the ground, so the vessel stays
// where it is; the 2010 and 2016 ones report the angles against the global frame and no height, which
// in 2016 puts it on the ground, turned wrongly.
TEST_F(GenerationTest, StatusOfALandedVesselGivesItsPlacementBackOnlyWhereTheGenerationDoes)
{
    struct Case {
        int version;
        bool roundTrip;
    };
    const Case cases[] = {{v2006, true}, {v2010, false}, {v2016, false}, {v2024, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        hostsim::setOrbiterVersion(c.version);
        const VESSELSTATUS2 rec = landedRecord(body("Mars"), true);
        const OBJHANDLE v = oapiCreateVesselEx("V", "Tall", &rec);
        VESSEL* iface = oapiGetVesselInterface(v);
        const hostsim::VesselView placed = hostsim::vessel(v);
        VESSELSTATUS2 back {};
        back.version = 2;
        iface->GetStatusEx(&back);
        EXPECT_EQ(back.status, 1);
        EXPECT_NEAR(back.surf_hdg, 1.0, 1e-12);
        if (c.roundTrip) {
            EXPECT_NEAR(back.vrot.x, placed.cgelev, 1e-9);
            if (c.version >= v2016) {
                EXPECT_LT(length(back.arot - horizonArot), 1e-8);
            }
        } else {
            EXPECT_EQ(back.vrot.x, 0.0);
            // The angles of the rotation against the global frame, as a vessel in flight has them.
            VESSELSTATUS2 flying {};
            flying.version = 2;
            flying.rbody = rec.rbody;
            flying.arot = back.arot;
            const OBJHANDLE f = oapiCreateVesselEx("F", "", &flying);
            EXPECT_LT(rotationGap(hostsim::vessel(f).rot, placed.rot), 1e-9);
            oapiDeleteVessel(f);
        }
        back.surf_lng += 1e-3; // re-anchoring a little further on, as an add-on does
        iface->DefSetStateEx(&back);
        const hostsim::VesselView moved = hostsim::vessel(v);
        EXPECT_NEAR(moved.lng, 0.501, 1e-9);
        if (c.version < v2016)
            EXPECT_NEAR(moved.cgelev, placed.cgelev, 1e-6); // by the touchdown points, as before
        else if (c.roundTrip) {
            EXPECT_NEAR(moved.cgelev, 250.0, 1e-9);
            EXPECT_LT(rotationGap(moved.rot, placed.rot), 1e-9); // the same planet-frame rotation
        } else {
            EXPECT_EQ(moved.cgelev, 0.0); // on the ground
            EXPECT_GT(rotationGap(moved.rot, placed.rot), 0.1);
        }
        oapiDeleteVessel(v);
    }
}

// From 2016 on, oapiCreateVesselEx inserts the vessel into the scene: its visual (within visual range)
// comes inside the call, before clbkPostCreation; earlier hosts leave it to the drawing phase. A scene
// set up before the session (hostsim::createLanded) gets its visuals there in every generation.
TEST_F(GenerationTest, NewVesselsVisualComesInsideItsCreationFrom2016On)
{
    const OBJHANDLE focus = hostsim::createLanded("Focus", "", earth(), 0, 0);
    hostsim::setCameraExternal(30);
    for (int version : versions) {
        for (bool near : {true, false}) {
            SCOPED_TRACE(std::to_string(version) + (near ? " near" : " far"));
            hostsim::setOrbiterVersion(version);
            VESSELSTATUS2 rec = landedRecord(earth(), false);
            rec.surf_lng = near ? 0 : 1.0; // 4 m in size, 6000 km away: out of visual range
            rec.surf_lat = 1e-6;
            st->events[0] = '\0';
            const int created = st->visualsCreated;
            const OBJHANDLE p = oapiCreateVesselEx("P", "SimProbe", &rec);
            const bool inside = version >= v2016 && near;
            EXPECT_EQ(hostsim::visualOf(p) != nullptr, inside);
            EXPECT_EQ(st->visualAtPostCreation, inside);
            EXPECT_EQ(std::string(st->events), inside ? "CO" : "O");
            hostsim::step();
            EXPECT_EQ(hostsim::visualOf(p) != nullptr, near);
            EXPECT_EQ(st->visualsCreated, created + (near ? 1 : 0));
            oapiDeleteVessel(p);
        }
    }
    const OBJHANDLE set = hostsim::createLanded("Set", "SimProbe", earth(), 0, 1e-6);
    EXPECT_EQ(hostsim::visualOf(set), nullptr);
    EXPECT_EQ(oapiGetFocusObject(), focus);
}

// A build with an external graphics client (2010 on) hands out no visual mesh: GetMesh is null for a
// visual that exists, which still comes and goes as before. The core's group functions take a null
// handle (logged once each); oapiMeshMaterial and oapiSetMeshProperty dereference it (VisualTest).
TEST_F(GenerationTest, GraphicsClientHandsOutNoVisualMesh)
{
    hostsim::createLanded("Focus", "", earth(), 0, 0);
    hostsim::setCameraExternal(30);
    for (int version : versions) {
        SCOPED_TRACE(version);
        hostsim::setOrbiterVersion(version);
        const bool client = version >= v2010;
        EXPECT_EQ(hostsim::setGraphicsClient(true), client);
        const int created = st->visualsCreated, destroyed = st->visualsDestroyed;
        const OBJHANDLE p = hostsim::createLanded("P", "SimProbe", earth(), 0, 1e-6);
        hostsim::step();
        const VISHANDLE vis = hostsim::visualOf(p);
        ASSERT_NE(vis, nullptr);
        EXPECT_EQ(st->visualsCreated, created + 1);
        EXPECT_EQ(st->lastVisualMesh == nullptr, client); // what the module's GetMesh returned
        EXPECT_EQ(oapiGetVesselInterface(p)->GetMesh(vis, 0) == nullptr, client);
        EXPECT_NE(hostsim::visualMesh(p, 0), nullptr);
        oapiDeleteVessel(p);
        EXPECT_EQ(st->visualsDestroyed, destroyed + 1);
        hostsim::setGraphicsClient(false);
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(oapiMeshGroup(MESHHANDLE(nullptr), 0), nullptr);
        EXPECT_EQ(oapiMeshGroupCount(nullptr), 0u);
    }
    const auto& log = hostsim::logLines();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                  [](const std::string& line) { return line.find("Invalid mesh handle") != std::string::npos; }),
        2);
}

// A session ends as the host's does (state saved, scene closed, vessels deleted, plug-ins kept) and a new
// one starts from the saved text: a plain vessel and a module's vessel come back where they were, in
// every generation, the later ones through the extended path their AROT lines select.
TEST_F(GenerationTest, SessionEndsAndStartsAgainFromItsSavedState)
{
    for (int version : versions) {
        SCOPED_TRACE(version);
        hostsim::setOrbiterVersion(version);
        hostsim::createLanded("Plain", "", earth(), -1.1, 0.6, 2.0);
        const VESSELSTATUS2 rec = landedRecord(body("Mars"), true);
        ASSERT_TRUE(hostsim::setFocus(oapiCreateVesselEx("Probe", "SimProbe", &rec)));
        hostsim::step();
        const hostsim::VesselView before[2]
            = {hostsim::vessel(hostsim::vesselByName("Plain")), hostsim::vessel(hostsim::vesselByName("Probe"))};
        ASSERT_NE(before[1].visual, nullptr);
        const int inits = st->ovcInit, exits = st->ovcExit, destroyed = st->visualsDestroyed;
        const long loads = hostsim::callCount("VESSEL2::clbkLoadStateEx");

        const std::string saved = hostsim::endSession();
        EXPECT_EQ(oapiGetVesselCount(), 0u);
        EXPECT_EQ(st->visualsDestroyed, destroyed + 1);
        EXPECT_EQ(st->ovcExit, exits + 1);
        EXPECT_EQ(st->exitModule, 0); // the plug-in stays loaded
        EXPECT_NE(saved.find("Ship Probe\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("Probe:SimProbe\n  STATUS Landed Mars\n"), std::string::npos) << saved;
        EXPECT_EQ(saved.find("AROT") != std::string::npos, version >= v2016) << saved;

        ASSERT_TRUE(hostsim::startSession(saved));
        ASSERT_EQ(oapiGetVesselCount(), 2u);
        EXPECT_EQ(st->ovcInit, inits + 1);
        EXPECT_EQ(hostsim::callCount("VESSEL2::clbkLoadStateEx"), loads + 2);
        EXPECT_EQ(oapiGetFocusObject(), hostsim::vesselByName("Probe"));
        for (const hostsim::VesselView& was : before) {
            SCOPED_TRACE(was.name);
            const OBJHANDLE v = hostsim::vesselByName(was.name);
            const hostsim::VesselView now = hostsim::vessel(v);
            EXPECT_EQ(now.className, was.className);
            EXPECT_EQ(now.fromModule, was.fromModule);
            EXPECT_EQ(now.body, was.body);
            EXPECT_LT(dist(now.pos, was.pos), 0.05);
            // Without AROT the heading comes back from HEADING, written to a hundredth of a degree.
            EXPECT_LT(rotationGap(now.rot, was.rot), version >= v2016 ? 1e-6 : 1e-4);
            EXPECT_NEAR(now.cgelev, was.cgelev, 1e-3);
            const std::vector<VESSELSTATUS2> records = hostsim::landedRecords(v);
            ASSERT_EQ(records.size(), 1u);
            EXPECT_EQ(records[0].arot.x <= 4, version >= v2016);
        }
        hostsim::step();
        EXPECT_NE(hostsim::visualOf(hostsim::vesselByName("Probe")), nullptr);
        hostsim::endSession();
    }
}

// A 2006 host saves no AROT: restored in a 2016 host, the carrier-like vessel takes the touchdown path and
// lies 10 km under the ground. Texts that are no saved state, or a start while vessels exist, are refused.
TEST_F(GenerationTest, StateSavedByA2006HostIsPlacedByTheTouchdownPointsInALaterOne)
{
    hostsim::createLanded("Tall", "Tall", earth(), 0.5, 0.3, 1.0);
    EXPECT_NEAR(hostsim::vessel(hostsim::vesselByName("Tall")).cgelev, 10000, 1e-6);
    const std::string saved = hostsim::endSession();
    EXPECT_EQ(saved.find("AROT"), std::string::npos) << saved;
    EXPECT_NE(saved.find("  ALT 10000.000\n"), std::string::npos) << saved;

    hostsim::setOrbiterVersion(v2016);
    ASSERT_TRUE(hostsim::startSession(saved));
    const OBJHANDLE v = hostsim::vesselByName("Tall");
    EXPECT_NEAR(hostsim::vessel(v).cgelev, -10000.003, 1e-3);
    EXPECT_NEAR(radius(v), oapiGetSize(earth()) - 10000.003, 1e-3);
    ASSERT_EQ(hostsim::landedRecords(v).size(), 1u);
    EXPECT_EQ(hostsim::landedRecords(v)[0].arot.x, 10.0);

    EXPECT_FALSE(hostsim::startSession(saved));
    EXPECT_NE(hostsim::lastError().find("running"), std::string::npos);
    hostsim::endSession();
    EXPECT_FALSE(hostsim::startSession("BEGIN_SHIPS\nT:Tall\n  STATUS Landed Earth\n"));
    EXPECT_NE(hostsim::lastError().find("no END"), std::string::npos);
    EXPECT_FALSE(hostsim::startSession("no saved state"));
    EXPECT_EQ(oapiGetVesselCount(), 0u);
}

} // namespace
