// The scene picture against what the host would show: the veil changes the planet exactly where the
// shell covers it, the Sun lights the side of the body that faces it, a vessel is lit by the light at
// its origin (against hand-computed values), vessels are drawn in order with depth written, only the
// clockwise side of a triangle is drawn, the paired picture puts the carrier on the left, and the
// stand-in's ground is the same on every run.
#include "compare.h"
#include "flightfixture.h"
#include "offscreen.h"
#include "scenerender.h"
#include "surface.h"
#include "triangleview.h"
#include "vessellight.h"
#include "viewmath.h"

#include <hostsim/hostsim.h>

#include <cmath>
#include <cstdlib>
#include <random>

using namespace skysim;

namespace {

int brightness(const std::vector<std::uint8_t>& rgb, int w, int x, int y)
{
    const std::size_t i = (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3;
    return rgb[i] + rgb[i + 1] + rgb[i + 2];
}

// Whether the ray through the centre of pixel (x, y) meets the sphere; worked out from the camera's
// geometry alone, independently of GL.
bool rayMeetsSphere(const SceneView& v, int w, int h, int x, int y, const VECTOR3& centre, double radius)
{
    const EyeFrame e = makeEyeFrame(v.camPos, v.camDir, v.camUp);
    const double t = std::tan(v.aperture);
    const double nx = (2.0 * (x + 0.5) / w - 1.0) * t * double(w) / double(h);
    const double ny = (1.0 - 2.0 * (y + 0.5) / h) * t;
    const VECTOR3 d = unit(e.fwd + (e.right * nx + e.up * ny));
    const VECTOR3 oc = v.camPos - centre;
    const double b = dotp(oc, d);
    const double c = dotp(oc, oc) - radius * radius;
    return b * b - c >= 0 && -b > 0;
}

// How far ahead of the camera, along its view axis, the ray through picture point (px, py) (pixels of a
// w x h picture, continuous) first meets the sphere of `radius` about the body's centre; negative when it
// misses it.
double depthOnSphere(const SceneView& v, int w, int h, double px, double py, double radius)
{
    const EyeFrame e = makeEyeFrame(v.camPos, v.camDir, v.camUp);
    const double t = std::tan(v.aperture);
    const VECTOR3 d = unit(
        e.fwd + (e.right * ((2.0 * px / w - 1.0) * t * double(w) / double(h)) + e.up * ((1.0 - 2.0 * py / h) * t)));
    const VECTOR3 oc = v.camPos - v.bodyPos;
    const double b = dotp(oc, d);
    const double disc = b * b - (dotp(oc, oc) - radius * radius);
    if (disc < 0 || -b <= 0)
        return -1;
    return (-b - std::sqrt(disc)) * dotp(d, e.fwd);
}

const char* const orbitView = R"(skyveil-scenario 1
name orbit
bodies Earth
steps 4
at 0 Earth alt 0.2R lng -60 lat 20
view 0 planet 120
end
)";

// Flies the scenario `text` with the add-on to its last step, where the flight stays for its scene;
// `last` is that step's row.
bool flyToEnd(const char* text, Flight& f, TraceRow& last)
{
    Scenario s;
    ScenarioError se;
    std::string err;
    if (!parseScenario(text, "view", s, se) || !f.begin(s, rootTemplate(), true, err)) {
        ADD_FAILURE() << se.message() << err;
        return false;
    }
    for (int k = 0; k < s.steps; ++k) {
        f.fly(k);
        last = f.observe(k);
    }
    return true;
}

} // namespace

TEST(ScenePicture, VeilChangesThePlanetWhereTheShellCoversItAndNowhereElse)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    Offscreen gl;
    std::string err;
    const int w = 200, h = 150;
    ASSERT_TRUE(gl.open(w, h, err)) << err;
    Flight f;
    TraceRow r;
    ASSERT_TRUE(flyToEnd(orbitView, f, r));
    ASSERT_GT(r.groupsDrawn, 6);
    ASSERT_DOUBLE_EQ(r.haze, 1.0);
    const SceneView v = f.scene();
    SceneView bare = v;
    bare.groups.clear();
    const std::vector<std::uint8_t> with = renderScene(gl, v), without = renderScene(gl, bare);
    // The shell is a sphere 10 km over the ground whose centre lies within 30 km of the body's.
    const double inner = v.bodyRadius * 0.98, outer = (v.bodyRadius + 40000.0) * 1.02;
    long inside = 0, insideChanged = 0, outside = 0, outsideChanged = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = (std::size_t(y) * w + x) * 3;
            const bool changed
                = with[i] != without[i] || with[i + 1] != without[i + 1] || with[i + 2] != without[i + 2];
            if (rayMeetsSphere(v, w, h, x, y, v.bodyPos, inner)) {
                ++inside;
                insideChanged += changed;
            } else if (!rayMeetsSphere(v, w, h, x, y, v.bodyPos, outer)) {
                ++outside;
                outsideChanged += changed;
            }
        }
    }
    // The whole disk is in view and the sky around it too.
    ASSERT_GT(inside, w * h / 4);
    ASSERT_GT(outside, w * h / 10);
    EXPECT_EQ(outsideChanged, 0) << "the carrier drew beside the planet";
    EXPECT_GT(double(insideChanged) / double(inside), 0.97) << "the veil left parts of the disk bare";
}

TEST(ScenePicture, FromHighUpTheFarPlaneCutsTheVeilOffShortOfTheLimb)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    Offscreen gl;
    std::string err;
    const int w = 400, h = 300;
    ASSERT_TRUE(gl.open(w, h, err)) << err;
    Flight f;
    TraceRow r;
    ASSERT_TRUE(flyToEnd("skyveil-scenario 1\nname high\nbodies Earth\nsteps 4\nat 0 Earth alt 0.45R lng -60 lat 20\n"
                         "view 0 horizon 60\nend\n",
        f, r));
    ASSERT_NEAR(r.cameraRadii, 1.45, 0.005);
    ASSERT_GT(r.groupsDrawn, 6);
    ASSERT_GT(r.haze, 0.1); // in the fade band
    const SceneView v = f.scene();
    const Comparison c = renderComparison(gl, v, "TEST");
    const int hw = w / 2, bar = c.height - h / 2;
    // Over the disk the halves agree within a level where the shell lies beyond the host's far plane,
    // 5 000 km ahead of the camera, and differ where it lies inside it.
    const double farPlane = 5e6;
    long beyond = 0, beyondDiffer = 0, within = 0, withinDiffer = 0;
    for (int y = 0; y < h / 2; ++y) {
        for (int x = 0; x < hw - 1; ++x) {
            // The shell's depth over the four pixels the half-size picture averages here, ground under each.
            double nearest = 1e300, farthest = -1;
            for (int sub = 0; sub < 4; ++sub) {
                const double px = 2.0 * x + 0.5 + (sub & 1), py = 2.0 * y + 0.5 + (sub >> 1);
                const double z = depthOnSphere(v, w, h, px, py, v.bodyRadius + 10000.0);
                if (depthOnSphere(v, w, h, px, py, v.bodyRadius) < 0)
                    farthest = 1e300; // sky
                nearest = std::min(nearest, z);
                farthest = std::max(farthest, z);
            }
            if (farthest > 1e299)
                continue;
            int most = 0;
            for (int ch = 0; ch < 3; ++ch) {
                const int left = c.rgb[(std::size_t(bar + y) * w + x) * 3 + ch];
                const int right = c.rgb[(std::size_t(bar + y) * w + x + hw) * 3 + ch];
                most = std::max(most, std::abs(left - right));
            }
            if (nearest > 1.02 * farPlane) {
                ++beyond;
                beyondDiffer += most > 1;
            } else if (farthest < 0.95 * farPlane) {
                ++within;
                withinDiffer += most > 1;
            }
        }
    }
    ASSERT_GT(beyond, 300);
    ASSERT_GT(within, 500);
    EXPECT_EQ(beyondDiffer, 0) << "the veil was drawn beyond the far plane";
    EXPECT_GT(double(withinDiffer) / double(within), 0.9) << "the veil left parts of the disk bare";
}

TEST(ScenePicture, TheSunLightsTheSideOfTheBodyThatFacesIt)
{
    Offscreen gl;
    std::string err;
    const int w = 160, h = 120;
    ASSERT_TRUE(gl.open(w, h, err)) << err;
    // The Earth where the host puts it, 1 AU out on +x with the Sun at the origin, seen from 3 radii
    // on its +z side: the Sun's side (-x) is on the picture's left or right depending on the frame.
    SceneView v;
    v.bodyName = "Earth";
    v.bodyRadius = 6.371e6;
    v.bodyPos = _V(1.496e11, 0, 0);
    v.camPos = v.bodyPos + _V(0, 0, 3 * v.bodyRadius);
    v.camDir = _V(0, 0, -1);
    v.camUp = _V(0, 1, 0);
    const std::vector<std::uint8_t> pic = renderScene(gl, v);
    EXPECT_EQ(renderScene(gl, v), pic) << "the same view drew a different picture";
    const EyeFrame e = makeEyeFrame(v.camPos, v.camDir, v.camUp);
    // Which picture side the Sun is on follows from the camera's own axes.
    const bool sunOnLeft = dotp(e.right, _V(-1, 0, 0)) < 0;
    long left = 0, right = 0;
    for (int y = h / 3; y < 2 * h / 3; ++y) {
        for (int x = 0; x < w / 2; ++x) {
            left += brightness(pic, w, x, y);
            right += brightness(pic, w, w - 1 - x, y);
        }
    }
    if (sunOnLeft) {
        EXPECT_GT(left, 4 * right);
    } else {
        EXPECT_GT(right, 4 * left);
    }
}

TEST(ScenePicture, OnlyTheClockwiseSideOfATriangleIsDrawn)
{
    Offscreen gl;
    std::string err;
    ASSERT_TRUE(gl.open(64, 48, err)) << err;
    NTVERTEX vtx[3] = {{-1, -1, 10, 0, 0, -1, 0, 0}, {3, -1, 10, 0, 0, -1, 0, 0}, {-1, 3, 10, 0, 0, -1, 0, 0}};
    WORD clockwise[3] = {0, 2, 1}, counter[3] = {0, 1, 2};
    SceneStats st;
    const std::vector<std::uint8_t> front = renderScene(gl, triangleView(vtx, clockwise), &st);
    EXPECT_EQ(st.groupsDrawn, 1);
    const std::vector<std::uint8_t> back = renderScene(gl, triangleView(vtx, counter), &st);
    EXPECT_EQ(st.groupsDrawn, 1);
    // Pixel (33, 23), by the picture's centre, lies inside the triangle.
    EXPECT_GT(brightness(front, 64, 33, 23), 600);
    EXPECT_EQ(brightness(back, 64, 33, 23), 0);
}

TEST(ScenePicture, PairPutsTheCarrierLeftAndThePlanetAloneRight)
{
    Offscreen gl;
    std::string err;
    const int w = 64, h = 48;
    ASSERT_TRUE(gl.open(w, h, err)) << err;
    NTVERTEX vtx[3] = {{-1, -1, 10, 0, 0, -1, 0, 0}, {3, -1, 10, 0, 0, -1, 0, 0}, {-1, 3, 10, 0, 0, -1, 0, 0}};
    WORD clockwise[3] = {0, 2, 1};
    const SceneView v = triangleView(vtx, clockwise);
    SceneView bare = v;
    bare.groups.clear();
    const std::vector<std::uint8_t> withHalf = halfSize(renderScene(gl, v), w, h);
    const std::vector<std::uint8_t> bareHalf = halfSize(renderScene(gl, bare), w, h);
    const Comparison c = renderComparison(gl, v, "TEST");
    ASSERT_EQ(c.width, w);
    ASSERT_GT(c.height, h / 2);
    ASSERT_EQ(c.rgb.size(), std::size_t(c.width) * std::size_t(c.height) * 3);
    const int bar = c.height - h / 2;
    // Left half: the scene as drawn; right half: without the carrier (the divider columns aside).
    long leftDiff = 0, rightDiff = 0;
    for (int y = 0; y < h / 2; ++y) {
        for (int x = 0; x < w / 2 - 1; ++x) {
            for (int ch = 0; ch < 3; ++ch) {
                const std::size_t src = (std::size_t(y) * (w / 2) + x) * 3 + ch;
                leftDiff += c.rgb[(std::size_t(bar + y) * w + x) * 3 + ch] != withHalf[src];
                rightDiff += c.rgb[(std::size_t(bar + y) * w + x + w / 2 + 1) * 3 + ch]
                    != bareHalf[(std::size_t(y) * (w / 2) + x + 1) * 3 + ch];
            }
        }
    }
    EXPECT_EQ(leftDiff, 0);
    EXPECT_EQ(rightDiff, 0);
    EXPECT_NE(withHalf, bareHalf);
    // halfSize averages 2 x 2 blocks.
    const std::vector<std::uint8_t> four = {0, 0, 0, 4, 8, 12, 8, 16, 24, 255, 255, 255};
    EXPECT_EQ(halfSize(four, 2, 2), (std::vector<std::uint8_t> {67, 70, 73}));
}

TEST(ProceduralGround, IsTheSameEveryTimeAndTellsTheBodiesApart)
{
    std::mt19937 rng(7);
    std::normal_distribution<double> n;
    int land = 0, sea = 0, samples = 4000;
    for (int i = 0; i < samples; ++i) {
        const VECTOR3 d = _V(n(rng), n(rng), n(rng));
        float a[3], b[3], c[3];
        surfaceColour("Earth", d, a);
        surfaceColour("EARTH", d * 3.0, b); // any length, any letter case
        for (int k = 0; k < 3; ++k) {
            ASSERT_EQ(a[k], b[k]);
            ASSERT_GE(a[k], 0.0f);
            ASSERT_LE(a[k], 1.0f);
        }
        if (std::fabs(unit(d).y) < 0.85)
            (a[2] > a[0] + 0.1f ? sea : land)++;
        surfaceColour("Moon", d, c);
        EXPECT_NEAR(c[0], c[2], 0.05f);
        surfaceColour("Mars", d, c);
        if (std::fabs(unit(d).y) < 0.9) {
            EXPECT_GT(c[0], c[1]);
            EXPECT_GT(c[1], c[2]);
        }
        const double v = fractalNoise(d * 5.0, 6);
        ASSERT_GE(v, 0.0);
        ASSERT_LE(v, 1.0);
    }
    // Oceans and continents, both in earnest.
    EXPECT_GT(double(land) / (land + sea), 0.2);
    EXPECT_LT(double(land) / (land + sea), 0.5);
    // The noise varies between nearby points (it is not a constant).
    EXPECT_NE(fractalNoise(_V(0.25, -1.5, 3.75), 5), fractalNoise(_V(0.75, -1.5, 3.75), 5));
}

namespace {

const double pi = 3.14159265358979323846;

struct LightCase {
    const char* name;
    double radius, density, top, twilight; // the body
    double altitude; // of the vessel's origin [m]
    double phi; // angle between the Sun and the body's centre seen from the vessel [rad]
    float r, g, b, ambient;
};

// The Earth (R 6371.01 km, rho0 1.225, atmosphere to 200 km, seen 110 km high at the horizon) and the
// Moon (R 1737.53 km, none); the Sun 1 AU away, apparent radius 0.0046524 rad. Worked by hand:
// ln(2.225) = 0.799757; amb0 = 0.4 x 0.799757 = 0.319903, at 10 km 0.319903 / 1.5 = 0.213269.
// - Day, Sun overhead at 10 km: amb = 0.213269 - 0.05 = 0.163269, white x (1 - 0.081634) = 0.918366.
// - Sun's centre on the horizon at 10 km (phi = ap = asin(R / (R + 10 km)), elevation -3.2081 deg):
//   half the disc; d = 0.799757: red (0.680097, 0.480158, 0.200243) x 0.5 = (0.340049, 0.240079,
//   0.100122); amb = 0.213269 x (10.7919 / 20) - 0.05 = 0.065080; x (1 - 0.032540) = (0.328984,
//   0.232267, 0.096864).
// - Sun 0.5 rad from the body's centre: in the shadow, elevation -61 deg: nothing at all.
// - The Moon: white in full Sun, 0.5 grey with half the disc set, no ambient ever.
// - Over the Earth's atmosphere (300 km), Sun overhead: white, no ambient.
const double earthR = 6.37101e6, moonR = 1.73753e6;
const LightCase lightCases[] = {
    {"Day", earthR, 1.225, 200e3, 110e3, 10e3, pi, 0.918366f, 0.918366f, 0.918366f, 0.163269f},
    {"SunCentreOnTheHorizon", earthR, 1.225, 200e3, 110e3, 10e3, std::asin(earthR / (earthR + 10e3)), 0.328984f,
        0.232267f, 0.096864f, 0.065080f},
    {"PlanetShadow", earthR, 1.225, 200e3, 110e3, 10e3, 0.5, 0, 0, 0, 0},
    {"NoAtmosphereDay", moonR, 0, 0, 0, 10e3, pi, 1, 1, 1, 0},
    {"NoAtmosphereHalfSet", moonR, 0, 0, 0, 10e3, std::asin(moonR / (moonR + 10e3)), 0.5f, 0.5f, 0.5f, 0},
    {"AboveTheAtmosphere", earthR, 1.225, 200e3, 110e3, 300e3, pi, 1, 1, 1, 0},
};

} // namespace

TEST(VesselLighting, MatchesHandComputedValues)
{
    for (const LightCase& c : lightCases) {
        LightingBody body;
        body.radius = c.radius;
        body.atm.rho0 = c.density;
        body.atm.altlimit = c.top;
        body.atm.horizonalt = c.twilight;
        // The body at the origin, the vessel over it on +y, the Sun 1 AU from the vessel at angle phi
        // from the direction down to the body's centre.
        const VECTOR3 vessel = _V(0, c.radius + c.altitude, 0);
        const VECTOR3 sun = vessel + _V(std::sin(c.phi), -std::cos(c.phi), 0) * 1.496e11;
        const VesselLight l = vesselLight(vessel, sun, body);
        EXPECT_NEAR(l.sun[0], c.r, 5e-6) << c.name;
        EXPECT_NEAR(l.sun[1], c.g, 5e-6) << c.name;
        EXPECT_NEAR(l.sun[2], c.b, 5e-6) << c.name;
        EXPECT_NEAR(l.ambient, c.ambient, 5e-6) << c.name;
    }
}

// Two vessels seen from above the Earth's night side, each a sunward-facing square under the camera:
// the host lights each by the Sun at its own origin, and draws them in the order given with depth
// written, so a translucent square drawn first hides a vessel behind it drawn later.
TEST(VesselLighting, EachVesselTakesItsLightAtItsOriginAndDrawnOrderDecidesWhatHides)
{
    Offscreen gl;
    std::string err;
    const int w = 64, h = 48;
    ASSERT_TRUE(gl.open(w, h, err)) << err;
    SceneView v;
    v.bodyName = "Earth";
    v.bodyRadius = earthR;
    v.bodyPos = _V(1.496e11, 0, 0); // the Sun at the origin, on the body's -x side
    v.bodyAtm.rho0 = 1.225;
    v.bodyAtm.altlimit = 200e3;
    v.bodyAtm.horizonalt = 110e3;
    // Camera 20 km over the body's +y pole region looking at squares that face the Sun (-x).
    v.camPos = v.bodyPos + _V(-100, earthR + 20e3, 0);
    v.camDir = _V(1, 0, 0);
    v.camUp = _V(0, 1, 0);
    static NTVERTEX square[4] = {
        {0, -5, -5, -1, 0, 0, 0, 0}, {0, 5, -5, -1, 0, 0, 0, 0}, {0, 5, 5, -1, 0, 0, 0, 0}, {0, -5, 5, -1, 0, 0, 0, 0}};
    static WORD both[12] = {0, 1, 2, 0, 2, 3, 0, 2, 1, 0, 3, 2}; // both sides
    auto vesselAt = [&](double ahead, const VECTOR3& origin, float alpha) {
        SceneGroup g;
        g.group.Vtx = square;
        g.group.nVtx = 4;
        g.group.Idx = both;
        g.group.nIdx = 12;
        g.material.diffuse = {1, 1, 1, alpha};
        g.material.ambient = {1, 1, 1, alpha};
        g.pos = v.camPos + _V(ahead, 0, 0);
        g.vesselPos = origin;
        return g;
    };
    const VECTOR3 day = v.bodyPos + _V(-(earthR + 10e3), 0, 0); // under the Sun
    const VECTOR3 night = v.bodyPos + _V(earthR + 10e3, 0, 0); // opposite it
    auto centre = [&](const SceneView& sv) { return brightness(renderScene(gl, sv), w, w / 2, h / 2); };

    // One opaque square: bright with a day origin, nearly black with a night one, same normals.
    SceneView one = v;
    one.groups = {vesselAt(50, day, 1)};
    const int lit = centre(one);
    one.groups = {vesselAt(50, night, 1)};
    const int unlit = centre(one);
    EXPECT_GT(lit, 600);
    EXPECT_LT(unlit, lit / 8);

    // A translucent square at 30 m and an opaque one at 60 m behind it.
    SceneView pair = v;
    pair.groups = {vesselAt(30, night, 0.3f), vesselAt(60, day, 1)};
    const int hidden = centre(pair);
    pair.groups = {vesselAt(60, day, 1), vesselAt(30, night, 0.3f)};
    const int seenThrough = centre(pair);
    EXPECT_LT(hidden, 60);
    EXPECT_GT(seenThrough, lit / 2);
}

// The dusk flight's day and night pictures: on the night side the carrier's light is the faint ambient
// light alone, so the veil changes the ground by less than a tenth of what it changes by day.
TEST(VesselLighting, AtNightTheVeilChangesTheGroundUnderATenthOfWhatItDoesByDay)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    Scenario s;
    ScenarioError se;
    ASSERT_TRUE(loadScenario("dusk", s, se)) << se.message();
    const std::vector<int> shots = renderPlan(s);
    ASSERT_EQ(shots.size(), 3u);
    Offscreen gl;
    std::string err;
    const int w = 200, h = 150;
    ASSERT_TRUE(gl.open(w, h, err)) << err;
    Flight f;
    ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
    std::vector<double> change; // mean |with - without| per channel over the ground, at each picture
    for (int k = 0; k < s.steps; ++k) {
        f.fly(k);
        if (k != shots[0] && k != shots[2])
            continue;
        const SceneView v = f.scene();
        ASSERT_GT(f.observe(k).groupsDrawn, 6) << k;
        SceneView bare = v;
        bare.groups.clear();
        const std::vector<std::uint8_t> with = renderScene(gl, v), without = renderScene(gl, bare);
        long sum = 0, ground = 0;
        for (std::size_t i = 0; i < with.size(); i += 3) {
            if (without[i] + without[i + 1] + without[i + 2] == 0)
                continue; // the sky
            ++ground;
            for (int c = 0; c < 3; ++c)
                sum += std::abs(int(with[i + c]) - int(without[i + c]));
        }
        ASSERT_GT(ground, w * h / 4) << k;
        change.push_back(double(sum) / double(3 * ground));
    }
    ASSERT_EQ(change.size(), 2u);
    EXPECT_GT(change[0], 20.0) << "the veil barely shows by day";
    EXPECT_LT(change[1], 0.1 * change[0]) << "day " << change[0] << ", night " << change[1];
}
