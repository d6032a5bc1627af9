// Pictures and the whole demo run: the haze shows deep inside 1.5 radii and not outside, the block
// wireframe draws the blocks, unsafe groups are skipped, and a run writes what it says.
#include "flightfixture.h"
#include "offscreen.h"
#include "pngfile.h"
#include "demo.h"
#include "scenerender.h"
#include "triangleview.h"

#include <hostsim/hostsim.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace skysim;

namespace {

// Share of pixels whose colour differs by more than `tol` in some channel.
double differing(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int tol = 8)
{
    if (a.size() != b.size() || a.empty())
        return 1.0;
    long n = 0;
    for (std::size_t i = 0; i < a.size(); i += 3) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(int(a[i + c]) - int(b[i + c])) > tol) {
                ++n;
                break;
            }
        }
    }
    return double(n) / double(a.size() / 3);
}

double lit(const std::vector<std::uint8_t>& a)
{
    long n = 0;
    for (std::size_t i = 0; i < a.size(); i += 3)
        n += (a[i] + a[i + 1] + a[i + 2]) > 30;
    return double(n) / double(a.size() / 3);
}

SceneView withoutCarrier(SceneView v)
{
    v.groups.clear();
    return v;
}

} // namespace

TEST(Pictures, HazeShowsFromOverTheLayerAndNotOutsideOneAndAHalfRadiiNorFromUnderIt)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    Offscreen gl;
    std::string err;
    ASSERT_TRUE(gl.open(320, 240, err)) << err;
    const Scenario s = shortScenario("descent", 60);
    Flight f;
    ASSERT_TRUE(f.begin(s, rootTemplate(), true, err)) << err;
    std::vector<std::uint8_t> outside, outsideBare, over, overBare, under, underBare, wire;
    WireStats ws;
    for (int k = 0; k < s.steps; ++k) {
        f.fly(k);
        const TraceRow r = f.observe(k);
        if (k == 1) {
            ASSERT_GT(r.cameraRadii, 1.5);
            ASSERT_TRUE(r.carrier);
            outside = renderScene(gl, f.scene());
            outsideBare = renderScene(gl, withoutCarrier(f.scene()));
        }
        // The cruise over the layer, 10 km up.
        if (over.empty() && r.altitude > 12000 && r.altitude < 20000) {
            ASSERT_LT(r.cameraRadii, 1.25);
            over = renderScene(gl, f.scene());
            overBare = renderScene(gl, withoutCarrier(f.scene()));
            wire = renderWireframe(gl, f.scene(), &ws);
        }
        if (k == s.steps - 1) {
            ASSERT_LT(r.altitude, 5000);
            ASSERT_GT(r.groupsDrawn, 6);
            under = renderScene(gl, f.scene());
            underBare = renderScene(gl, withoutCarrier(f.scene()));
        }
    }
    ASSERT_FALSE(over.empty());
    // Not blank: the planet fills part of the view from orbit and from low altitude.
    EXPECT_GT(lit(outside), 0.1);
    EXPECT_GT(lit(over), 0.3);
    // Outside 1.5 radii the carrier's groups are all the tiny placeholder: nothing visible changes.
    EXPECT_LT(differing(outside, outsideBare), 0.001);
    // Over the layer, the haze changes much of the picture.
    EXPECT_GT(differing(over, overBare), 0.2);
    EXPECT_GT(differing(over, outside), 0.2);
    // Under it, only the shell's inward side faces the camera, and the host does not draw it.
    EXPECT_LT(differing(under, underBare), 0.001);
    // The wireframe has blocks of known levels and marks the one under the vessel.
    EXPECT_GT(ws.blocks, 6);
    EXPECT_EQ(ws.unknownLevel, 0);
    EXPECT_GT(ws.levelUnderObserver, 0);
    EXPECT_GT(lit(wire), 0.01);
}

TEST(Pictures, SkipsGroupsThatWouldReadOutsideTheirArrays)
{
    Offscreen gl;
    std::string err;
    ASSERT_TRUE(gl.open(64, 48, err)) << err;
    NTVERTEX vtx[3] = {{-1, -1, 10, 0, 0, -1, 0, 0}, {3, -1, 10, 0, 0, -1, 0, 0}, {-1, 3, 10, 0, 0, -1, 0, 0}};
    // Clockwise as the camera sees it (lower left, upper left, lower right): the side the host draws.
    WORD good[3] = {0, 2, 1}, bad[3] = {0, 2, 3};
    SceneView v = triangleView(vtx, good);
    SceneGroup g = v.groups.front();
    g.group.Idx = bad;
    v.groups.push_back(g);
    g.group.Idx = nullptr;
    v.groups.push_back(g);
    SceneStats st;
    const std::vector<std::uint8_t> pic = renderScene(gl, v, &st);
    EXPECT_EQ(st.groupsDrawn, 1);
    EXPECT_EQ(st.groupsSkipped, 2);
    EXPECT_GT(lit(pic), 0.05); // the good triangle, right in front of the camera
}

TEST(Pictures, PngRoundTrip)
{
    std::vector<std::uint8_t> rgb(7 * 5 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = std::uint8_t(i * 37);
    const std::string path = ::testing::TempDir() + "skysim_roundtrip_" + std::to_string(getpid()) + ".png";
    std::string err;
    ASSERT_TRUE(writePng(path, 7, 5, rgb, err)) << err;
    int w = 0, h = 0;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(readPng(path, w, h, back));
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(back, rgb);
    EXPECT_FALSE(writePng(path, 8, 5, rgb, err));
    EXPECT_FALSE(writePng(::testing::TempDir() + "no/such/dir/x.png", 7, 5, rgb, err));
    std::remove(path.c_str());
}

TEST(DemoRun, WritesPicturesTraceAndPlotAndSummarises)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    const std::string dir = ::testing::TempDir() + "skysim_demo_run_" + std::to_string(getpid());
    std::filesystem::remove_all(dir);
    Options opt;
    opt.scenario = "ascent";
    opt.steps = 30;
    opt.outDir = dir;
    opt.width = 160;
    opt.height = 120;
    opt.renderAt = {0, 29};
    opt.renderAtGiven = true;
    std::ostringstream out, err;
    ASSERT_EQ(runDemo(opt, rootTemplate(), false, out, err), 0) << err.str();
    for (const char* name : {"scene_0000.png", "blocks_0000.png", "compare_0000.png", "scene_0029.png",
             "blocks_0029.png", "compare_0029.png", "plot.png"}) {
        int w = 0, h = 0;
        std::vector<std::uint8_t> rgb;
        EXPECT_TRUE(readPng(dir + "/" + name, w, h, rgb)) << name;
        EXPECT_GT(lit(rgb), 0.01) << name;
    }
    std::ifstream csv(dir + "/trace.csv");
    std::string line;
    int lines = 0;
    while (std::getline(csv, line))
        ++lines;
    EXPECT_EQ(lines, 31);
    // The paired picture: as wide as the scene, its halves half as high, under a title bar.
    int w = 0, h = 0;
    std::vector<std::uint8_t> pair;
    ASSERT_TRUE(readPng(dir + "/compare_0029.png", w, h, pair));
    EXPECT_EQ(w, 160);
    EXPECT_GT(h, 60);
    EXPECT_LT(h, 120);
    EXPECT_NE(out.str().find("carrier created/deleted 1 / 1"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(dir + "/trace.csv"), std::string::npos);
    std::filesystem::remove_all(dir);
}

// Hosts that cannot carry the haze: one that places the carrier wrong with both records (the 2010
// generation: the carrier is deleted in the step that created it) and one that draws through a
// graphics client (found on the step after its visual came, when the groups would be fetched). The
// add-on says so once, in flight, and no carrier is seen after it; the flight itself goes on as the
// host's would.
TEST(DemoRun, AHostThatCannotCarryTheHazeGetsOneMessageAndNoCarrier)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    struct Host {
        int version;
        int graphics;
        const char* message;
        const char* carrierSeen;
    };
    const Host hosts[] = {
        {100830, -1, "Error!: Haze carrier: simulator version 100830 did not place the carrier where the haze belongs",
            "carrier created/deleted 0 / 0"},
        {160828, 1, "Error!: Haze carrier: this simulator draws through a graphics client",
            "carrier created/deleted 1 / 1"},
    };
    for (const Host& host : hosts) {
        const std::string dir = ::testing::TempDir() + "skysim_refusing_host_" + std::to_string(getpid());
        Options opt;
        opt.scenario = "ascent";
        opt.steps = 40;
        opt.outDir = dir;
        opt.noRender = true;
        opt.hostVersion = host.version;
        opt.graphics = host.graphics;
        std::ostringstream out, err;
        ASSERT_EQ(runDemo(opt, rootTemplate(), false, out, err), 0) << err.str();
        const std::string text = out.str();
        const std::string shown = std::string("the add-on showed a message box: ") + host.message;
        const std::size_t first = text.find(shown);
        EXPECT_NE(first, std::string::npos) << text;
        EXPECT_EQ(text.find("the add-on showed a message box", first + 1), std::string::npos) << "shown twice";
        EXPECT_NE(text.find(host.carrierSeen), std::string::npos) << text;
        // What the add-on told the host's log, where a user would look for it.
        EXPECT_NE(text.find("the add-on wrote to the host's log: skyveil "), std::string::npos) << text;
        std::filesystem::remove_all(dir);
    }
}

// The default output folder is relative ("out/<scenario>"), while the flight itself runs with the
// simulator's root as the working directory: the files must land beside the caller, not in the root.
TEST(DemoRun, RelativeOutputFolderIsTakenFromWhereTheProgramStarted)
{
    if (rootTemplate().empty())
        GTEST_SKIP() << "SKYVEIL_ROOT_TEMPLATE is not set";
    const std::string start = ::testing::TempDir() + "skysim_relative_" + std::to_string(getpid());
    std::filesystem::remove_all(start);
    std::filesystem::create_directories(start);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(start);
    Options opt;
    opt.scenario = "ascent";
    opt.steps = 12;
    opt.width = 80;
    opt.height = 60;
    opt.renderAt = {0};
    opt.renderAtGiven = true;
    std::ostringstream out, err;
    const int rc = runDemo(opt, rootTemplate(), false, out, err);
    const std::filesystem::path after = std::filesystem::current_path();
    std::filesystem::current_path(before);
    EXPECT_EQ(rc, 0) << err.str();
    EXPECT_EQ(after, std::filesystem::path(start));
    EXPECT_TRUE(std::filesystem::exists(start + "/out/ascent/scene_0000.png")); // written mid-flight
    EXPECT_TRUE(std::filesystem::exists(start + "/out/ascent/trace.csv"));
    EXPECT_TRUE(std::filesystem::exists(start + "/out/ascent/plot.png"));
    std::filesystem::remove_all(start);
}

TEST(DemoRun, BadScenarioFileGivesFileAndLineAndNoFlight)
{
    const std::string path = ::testing::TempDir() + "skysim_bad_" + std::to_string(getpid()) + ".scn";
    {
        std::ofstream f(path);
        f << "skyveil-scenario 1\nbodies Earth\nsteps 10\nat 0 Earth alt 1km lng 0 lat 100\nend\n";
    }
    Options opt;
    opt.scenario = path;
    std::ostringstream out, err;
    EXPECT_EQ(runDemo(opt, rootTemplate(), false, out, err), 2);
    EXPECT_NE(err.str().find(path + ":4: 'lat'"), std::string::npos) << err.str();
    EXPECT_TRUE(out.str().empty());
    opt.scenario = "no-such-scenario";
    std::ostringstream out2, err2;
    EXPECT_EQ(runDemo(opt, rootTemplate(), false, out2, err2), 2);
    EXPECT_NE(err2.str().find("no-such-scenario"), std::string::npos);
    std::remove(path.c_str());
}
