// The demo runner's plain pieces: block levels from geometry, the sphere fit, the summary, the trace
// format, the command line and the progress line.
#include "blocklevel.h"
#include "facetray.h"
#include "options.h"
#include "progress.h"
#include "spherefit.h"
#include "summary.h"
#include "trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

using namespace skysim;

namespace {

// A block as the engine builds it: a 9 x 9 grid on the face of the cube through +-1 along `axis`
// (sign `sign`), starting at face coordinates (u0, v0) and spanning 2 / 2^(level - 1), pushed out
// radially to `radius`.
void makeBlock(int axis, double sign, double u0, double v0, int level, double radius, double pos[81][3])
{
    const double span = 2.0 / std::pow(2.0, level - 1);
    const int ua = (axis + 1) % 3, va = (axis + 2) % 3;
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 9; ++col) {
            double p[3];
            p[axis] = sign;
            p[ua] = u0 + span * col / 8.0;
            p[va] = v0 + span * row / 8.0;
            const double l = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            for (int k = 0; k < 3; ++k)
                pos[9 * row + col][k] = p[k] / l * radius;
        }
    }
}

} // namespace

TEST(BlockLevel, RecoversTheLevelAnywhereOnAnyFace)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double pos[81][3];
    for (int axis = 0; axis < 3; ++axis) {
        for (double sign : {-1.0, 1.0}) {
            for (int level = 1; level <= 12; ++level) {
                const double span = 2.0 / std::pow(2.0, level - 1);
                const int cells = 1 << (level - 1);
                // A block on the grid of its level, at the face's centre and at a corner, and a random one.
                const int picks[3][2] = {
                    {cells / 2, cells / 2}, {cells - 1, cells - 1}, {int(unit(rng) * cells), int(unit(rng) * cells)}};
                for (const auto& pick : picks) {
                    makeBlock(axis, sign, -1.0 + span * pick[0], -1.0 + span * pick[1], level, 6381000.0, pos);
                    EXPECT_EQ(blockLevel(pos), level) << "axis " << axis << " sign " << sign;
                }
            }
        }
    }
}

TEST(BlockLevel, RefusesWhatIsNoBlock)
{
    double pos[81][3] = {};
    EXPECT_EQ(blockLevel(pos), 0); // all at the centre
    makeBlock(0, 1.0, -0.5, -0.5, 2, 1000.0, pos);
    for (int k = 0; k < 3; ++k)
        pos[8][k] = pos[0][k]; // two corners in one place
    EXPECT_EQ(blockLevel(pos), 0);
    makeBlock(0, 1.0, -0.5, -0.5, 2, 1000.0, pos);
    pos[8][0] = -pos[8][0]; // a corner on the far side
    EXPECT_EQ(blockLevel(pos), 0);
    float a[3], b[3];
    levelColour(3, a);
    levelColour(4, b);
    EXPECT_FALSE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]);
}

// Two triangles per cell, row by row, as the engine indexes a block.
std::vector<std::uint16_t> gridTriangles()
{
    std::vector<std::uint16_t> idx;
    for (int j = 0; j < 8; ++j) {
        for (int k = 0; k < 8; ++k) {
            const int a = 9 * j + k;
            for (int t : {a, a + 1, a + 10, a, a + 10, a + 9})
                idx.push_back(std::uint16_t(t));
        }
    }
    return idx;
}

TEST(FacetRay, CrossesTheFlatFacetsBetweenTheVerticesAndNeverAboveThem)
{
    const double radius = 6.381e6;
    const std::vector<std::uint16_t> idx = gridTriangles();
    double lastSag = 0;
    for (int level = 6; level >= 1; --level) {
        double pos[81][3];
        makeBlock(0, 1.0, -0.1, 0.05, level, radius, pos);
        const double sag = deepestGridSag(pos, radius);
        // Each coarser level quarters the sag, roughly: the facets' span doubles.
        EXPECT_GT(sag, 3.0 * lastSag) << "level " << level;
        lastSag = sag;
        // The ray through a point of a facet meets it there, below the vertices and within the sag.
        double inFacet[3];
        for (int c = 0; c < 3; ++c)
            inFacet[c] = 0.5 * pos[30][c] + 0.3 * pos[31][c] + 0.2 * pos[40][c];
        const double depth
            = radius - std::sqrt(inFacet[0] * inFacet[0] + inFacet[1] * inFacet[1] + inFacet[2] * inFacet[2]);
        EXPECT_NEAR(outermostCrossing(&pos[0][0], 81, idx.data(), idx.size(), inFacet), 1.0, 1e-9) << "level " << level;
        EXPECT_GT(depth, 0.2 * sag) << "level " << level;
        EXPECT_LE(depth, sag) << "level " << level;
        const double* mid = inFacet;
        // The other way, and a block that reads past its points, cross nothing.
        const double away[3] = {-mid[0], -mid[1], -mid[2]};
        EXPECT_LT(outermostCrossing(&pos[0][0], 81, idx.data(), idx.size(), away), 0);
        std::vector<std::uint16_t> bad = idx;
        bad[100] = 81;
        EXPECT_LT(outermostCrossing(&pos[0][0], 81, bad.data(), bad.size(), mid), 0);
    }
    // A level-1 block's facets sag by about a hundred kilometres on the Earth, a level-4 block's by 1.5.
    double pos[81][3];
    makeBlock(0, 1.0, -1.0, -1.0, 1, radius, pos);
    EXPECT_GT(deepestGridSag(pos, radius), 80e3);
    makeBlock(0, 1.0, -0.25, -0.25, 4, radius, pos);
    EXPECT_GT(deepestGridSag(pos, radius), 1.2e3);
    EXPECT_LT(deepestGridSag(pos, radius), 2.0e3);
}

TEST(FacetRay, AWronglyIndexedBlockSagsDeeperThanItsGridAllows)
{
    const double radius = 6.381e6;
    double pos[81][3];
    makeBlock(2, -1.0, 0.2, -0.4, 3, radius, pos);
    const double sag = deepestGridSag(pos, radius);
    // One triangle over the whole block, corner to corner: the ray through its centre meets it far
    // deeper than any cell's facet could lie.
    const std::uint16_t wide[] = {0, 8, 80, 0, 80, 72};
    double centroid[3];
    for (int c = 0; c < 3; ++c)
        centroid[c] = (pos[0][c] + pos[8][c] + pos[80][c]) / 3.0;
    const double t = outermostCrossing(&pos[0][0], 81, wide, 6, centroid);
    ASSERT_NEAR(t, 1.0, 1e-9);
    EXPECT_LT(std::sqrt(centroid[0] * centroid[0] + centroid[1] * centroid[1] + centroid[2] * centroid[2]),
        radius - 4.0 * sag);
}

TEST(SphereFit, FindsCentreAndRadiusOfAnOffsetShell)
{
    std::mt19937 rng(3);
    std::normal_distribution<double> n(0.0, 1.0);
    const double c[3] = {1200.0, -10000.0, 35.0}, r = 6381000.0;
    std::vector<double> pts;
    for (int i = 0; i < 5000; ++i) {
        double d[3] = {n(rng), n(rng), n(rng)};
        const double l = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        for (int k = 0; k < 3; ++k)
            pts.push_back(c[k] + d[k] / l * r);
    }
    const SphereFit f = fitSphere(pts);
    ASSERT_TRUE(f.ok);
    EXPECT_NEAR(f.radius, r, 1e-3);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(f.centre[k], c[k], 1e-3);
    EXPECT_LT(f.maxDeviation, 1e-3);
    // A cap of the sphere only (what a fine tessellation draws near the observer) still fits.
    std::vector<double> cap;
    for (std::size_t i = 0; i + 2 < pts.size(); i += 3) {
        if (pts[i + 1] - c[1] > 0.9 * r)
            cap.insert(cap.end(), {pts[i], pts[i + 1], pts[i + 2]});
    }
    const SphereFit g = fitSphere(cap);
    ASSERT_TRUE(g.ok);
    EXPECT_NEAR(g.radius, r, 1.0);
    // A bump of 50 m outwards shows as a deviation.
    for (int k = 0; k < 3; ++k)
        pts[k] += (pts[k] - c[k]) / r * 50.0;
    EXPECT_GT(fitSphere(pts).maxDeviation, 40.0);
}

TEST(SphereFit, RefusesTooFewOrFlatPoints)
{
    EXPECT_FALSE(fitSphere({}).ok);
    EXPECT_FALSE(fitSphere({1, 0, 0, 0, 1, 0, 0, 0, 1}).ok);
    std::vector<double> flat;
    for (int i = 0; i < 20; ++i)
        flat.insert(flat.end(), {double(i % 5), double(i / 5), 0.0});
    EXPECT_FALSE(fitSphere(flat).ok);
}

TEST(Summary, CountsCarrierLifeReanchorsRestartsAndAddonTimes)
{
    std::vector<TraceRow> rows;
    auto add = [&](const char* body, bool carrier, double us, int leaves, bool reanchor) {
        TraceRow r;
        r.step = int(rows.size());
        r.body = body;
        r.carrier = carrier;
        r.addonUs = us;
        r.stepMinusBareUs = us + 80;
        r.leaves = leaves;
        r.reanchor = reanchor;
        rows.push_back(r);
    };
    add("Earth", false, 900, 0, false);
    add("Earth", true, 7, 0, false); // restarted, still outside the fade radius: no burst yet
    add("Earth", true, 100000, 6, false); // the first step that draws: warm-up
    add("Earth", true, 300, 40, true);
    add("Earth", true, 200, 50, false);
    add("Earth", false, 5000, 0, false);
    add("Earth", true, 100, 50, false); // same body again: no restart, no warm-up
    add("Moon", true, 90000, 30, true); // body change: restart and warm-up
    // The drawn facet overhead and the nearest vertex are ranged apart; a step without a crossing counts
    // for neither range of the facet.
    const double drawn[][2] = {{2, 9903.4}, {3, -3841.2}, {6, 9100}, {7, 8022}};
    for (const auto& d : drawn) {
        rows[std::size_t(d[0])].hasShell = true;
        rows[std::size_t(d[0])].shellAltitude = d[1];
    }
    for (std::size_t k : {2, 3, 4, 6, 7}) {
        rows[k].hasShellVertex = true;
        rows[k].shellVertexAltitude = 9999.5 + 0.25 * double(k);
    }
    const FlightSummary s = summarise(rows);
    EXPECT_DOUBLE_EQ(s.shellMin, -3841.2);
    EXPECT_DOUBLE_EQ(s.shellMax, 9903.4);
    EXPECT_DOUBLE_EQ(s.shellLast, 8022);
    EXPECT_DOUBLE_EQ(s.shellVertexMin, 10000.0);
    EXPECT_DOUBLE_EQ(s.shellVertexMax, 10001.25);
    EXPECT_EQ(s.steps, 8);
    EXPECT_EQ(s.carrierCreated, 2);
    EXPECT_EQ(s.carrierDeleted, 1);
    EXPECT_EQ(s.reanchors, 2);
    EXPECT_EQ(s.restarts, 2);
    // Steady steps with a carrier: 7, 100, 200, 300; the warm-ups are named apart.
    EXPECT_EQ(s.addonSteps, 4);
    EXPECT_DOUBLE_EQ(s.addonMedianUs, 150);
    EXPECT_DOUBLE_EQ(s.addonP99Us, 300);
    EXPECT_DOUBLE_EQ(s.addonWorstUs, 300);
    EXPECT_EQ(s.addonWorstStep, 3);
    EXPECT_EQ(s.warmups, (std::vector<std::pair<int, double>> {{2, 100000}, {7, 90000}}));
    EXPECT_DOUBLE_EQ(s.stepMinusBareMedianUs, 330); // all six carrier steps
    EXPECT_EQ(s.peakLeaves, 50);
    EXPECT_EQ(s.peakLeavesStep, 4);
    const std::string text = formatSummary(s, {"out/a.png"});
    EXPECT_NE(text.find("2 / 1"), std::string::npos) << text;
    EXPECT_NE(text.find("p99 300.0 us"), std::string::npos) << text;
    EXPECT_FALSE(s.addonWorstCreates);
    EXPECT_NE(text.find("warm-up step            2: 100000 us"), std::string::npos) << text;
    EXPECT_NE(text.find("out/a.png"), std::string::npos);
    EXPECT_NE(text.find("8022.0 m over the ground at the end, -3841.2 to 9903.4 m over the flight (below 0"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("10000.0 to 10001.2 m over the ground (the block vertex"), std::string::npos) << text;
    const std::string none = formatSummary(summarise({}), {});
    EXPECT_NE(none.find("no carrier"), std::string::npos);
    EXPECT_NE(none.find("no drawn triangle"), std::string::npos);

    // p99 by nearest rank: of 1 .. 200 it is the 198th value.
    std::vector<TraceRow> many;
    for (int k = 0; k < 200; ++k) {
        TraceRow r;
        r.step = k;
        r.body = "Earth";
        r.carrier = true;
        r.addonUs = 200 - k;
        many.push_back(r);
    }
    const FlightSummary m = summarise(many);
    EXPECT_DOUBLE_EQ(m.addonP99Us, 198);
    EXPECT_DOUBLE_EQ(m.addonMedianUs, 100.5);
    EXPECT_EQ(m.addonWorstStep, 0);
    EXPECT_TRUE(m.addonWorstCreates);
    EXPECT_NE(formatSummary(m, {}).find("(step 0: the carrier created)"), std::string::npos);
}

TEST(Trace, RowsMatchTheHeaderAndSurviveOddBodyNames)
{
    const std::string header = traceHeader();
    const auto fields = [](const std::string& line) { return std::count(line.begin(), line.end(), ',') + 1; };
    TraceRow r;
    r.step = 12;
    r.body = "Odd,\"name\"";
    r.carrier = true;
    r.leaves = 7;
    r.haze = 0.5;
    std::ostringstream a;
    writeTraceRow(a, r);
    EXPECT_EQ(fields(a.str()), fields(header));
    EXPECT_EQ(a.str().back(), '\n');
    EXPECT_EQ(a.str().rfind("12,", 0), 0u);
    EXPECT_EQ(a.str().substr(a.str().size() - 5), ",,,0\n"); // no shell: two empty fields before the last
    r.hasShell = true;
    r.shellAltitude = -3841.04; // the drawn facet, under the ground
    r.hasShellVertex = true;
    r.shellVertexAltitude = 10000.04;
    r.shadowGroups = 3;
    std::ostringstream b;
    writeTraceRow(b, r);
    EXPECT_NE(b.str().find(",-3841.0,10000.0,3\n"), std::string::npos) << b.str();
}

TEST(CommandLine, ReadsOptionsAndRefusesBadOnes)
{
    Options o;
    std::string err;
    const char* good[]
        = {"x", "--scenario", "ascent", "--out", "d", "--steps", "40", "--render-at", "0,5,39", "--size", "320x200",
            "--no-progress", "--keep-root", "--host-version", "060929", "--terrain", "off", "--graphics", "client"};
    ASSERT_TRUE(parseOptions(19, good, o, err)) << err;
    EXPECT_EQ(o.scenario, "ascent");
    EXPECT_EQ(o.outDir, "d");
    EXPECT_EQ(o.steps, 40);
    EXPECT_EQ(o.renderAt, (std::vector<int> {0, 5, 39}));
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 200);
    EXPECT_FALSE(o.progress);
    EXPECT_TRUE(o.keepRoot);
    EXPECT_EQ(o.hostVersion, 60929);
    EXPECT_EQ(o.terrain, 0);
    EXPECT_EQ(o.graphics, 1);
    Options given;
    const char* other[] = {"x", "--terrain", "on", "--graphics", "builtin", "-h"};
    ASSERT_TRUE(parseOptions(6, other, given, err)) << err;
    EXPECT_EQ(given.terrain, 1);
    EXPECT_EQ(given.graphics, 0);
    EXPECT_TRUE(given.help);
    EXPECT_EQ(Options().terrain, -1);
    EXPECT_EQ(Options().graphics, -1);
    const std::vector<std::vector<const char*>> bad = {{"x", "--steps"}, {"x", "--steps", "0"},
        {"x", "--size", "10x10"}, {"x", "--size", "big"}, {"x", "--render-at", "1,,2"}, {"x", "--render-every", "-1"},
        {"x", "--host-version", "16.0828"}, {"x", "--frobnicate"}, {"x", "--terrain", "yes"}, {"x", "--terrain"},
        {"x", "--graphics", "Builtin"}, {"x", "--graphics", ""}};
    for (const auto& args : bad) {
        Options p;
        EXPECT_FALSE(parseOptions(int(args.size()), args.data(), p, err)) << args.back();
        EXPECT_FALSE(err.empty());
    }
    // Every option has its line in --help, a continued line indented under its text.
    const std::string usage = usageText();
    for (const char* line : {"  --scenario NAME|FILE   built-in", "  --terrain on|off       the later hosts' terrain",
             "  --graphics builtin|client the host's graphics", "\n                         else 60929",
             "  --help                 this text\n"})
        EXPECT_NE(usage.find(line), std::string::npos) << line << "\n" << usage;
}

TEST(Progress, BarStaysInsideItsWidth)
{
    EXPECT_EQ(progressLine(0, 10, 10, ""), "[..........] 0/10");
    EXPECT_EQ(progressLine(5, 10, 10, "x"), "[#####.....] 5/10  x");
    EXPECT_EQ(progressLine(99, 10, 4, ""), "[####] 10/10");
    EXPECT_EQ(progressLine(1, 0, 4, ""), "[####] 1/1");
}
