// Scenario reader: built-in scenarios, faults named by file and line, truncated and mangled texts,
// path sampling and rescaling.
#include "scenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <unistd.h>

using namespace skysim;

namespace {

const double earthRadius = 6371000.0;

double radiusOf(const std::string& body)
{
    return body == "Moon" ? 1737400.0 : earthRadius;
}

Scenario parseOk(const std::string& text)
{
    Scenario s;
    ScenarioError e;
    EXPECT_TRUE(parseScenario(text, "t.scn", s, e)) << e.message();
    return s;
}

ScenarioError parseBad(const std::string& text)
{
    Scenario s;
    ScenarioError e;
    EXPECT_FALSE(parseScenario(text, "t.scn", s, e)) << text;
    return e;
}

const char* minimal = "skyveil-scenario 1\n"
                      "bodies Earth Moon\n"
                      "steps 100\n"
                      "at 0 Earth alt 0.5R lng 10 lat 20\n"
                      "at 50 Earth alt 10km lng 20 lat 30\n"
                      "at 60 Moon landed lng -5 lat 2\n"
                      "end\n";

} // namespace

TEST(BuiltinScenarios, AllParseAndFlyWhatTheirNamesPromise)
{
    const std::vector<std::string> names = builtinScenarioNames();
    ASSERT_EQ(names.size(), 5u);
    for (const std::string& n : names) {
        Scenario s;
        ScenarioError e;
        ASSERT_TRUE(loadScenario(n, s, e)) << e.message();
        EXPECT_EQ(s.name, n);
        ASSERT_FALSE(s.path.empty());
        EXPECT_EQ(s.path.front().step, 0);
        EXPECT_FALSE(renderPlan(s).empty()) << n;
    }
    Scenario d, a, m;
    ScenarioError e;
    ASSERT_TRUE(loadScenario("descent", d, e));
    const PathPoint d0 = samplePath(d, 0, radiusOf), dEnd = samplePath(d, d.steps - 1, radiusOf);
    EXPECT_NEAR(d0.altitude, 0.6 * earthRadius, 1.0); // 1.6 radii from the centre
    EXPECT_LT(dEnd.altitude, 10000.0);
    // Its pictures show the whole disk in the fade band and deeper in, and a low flight's horizon.
    bool fadeBand = false, deepDisk = false, lowHorizon = false;
    for (int st : renderPlan(d)) {
        const double radii = 1.0 + samplePath(d, st, radiusOf).altitude / earthRadius;
        const ViewChange v = viewAt(d, st);
        // The disk fits when the field of view is wider than the disk's angle from that distance.
        const bool wholeDisk
            = v.mode == ViewMode::Planet && v.fieldOfView * 3.14159265358979 / 360.0 > std::asin(1.0 / radii);
        fadeBand = fadeBand || (wholeDisk && radii > 1.3 && radii < 1.5);
        deepDisk = deepDisk || (wholeDisk && radii <= 1.3);
        lowHorizon = lowHorizon || (v.mode == ViewMode::Horizon && radii < 1.0 + 20000.0 / earthRadius);
    }
    EXPECT_TRUE(fadeBand && deepDisk && lowHorizon) << fadeBand << deepDisk << lowHorizon;
    ASSERT_TRUE(loadScenario("ascent", a, e));
    EXPECT_TRUE(samplePath(a, 0, radiusOf).landed);
    EXPECT_GT(samplePath(a, a.steps - 1, radiusOf).altitude, 2.0 * earthRadius);
    ASSERT_TRUE(loadScenario("earth-to-moon", m, e));
    EXPECT_EQ(samplePath(m, 0, radiusOf).body, "Earth");
    EXPECT_EQ(samplePath(m, m.steps - 1, radiusOf).body, "Moon");
    // Across the terminator at one height: every picture from 15 km, eastwards into the night.
    Scenario n;
    ASSERT_TRUE(loadScenario("dusk", n, e));
    const std::vector<int> shots = renderPlan(n);
    ASSERT_EQ(shots.size(), 3u);
    for (int st : shots)
        EXPECT_NEAR(samplePath(n, st, radiusOf).altitude, 15000.0, 1e-6) << st;
    EXPECT_LT(samplePath(n, shots[0], radiusOf).longitude, samplePath(n, shots[2], radiusOf).longitude);
    // Low over the layer, looking along the horizon, far from where it starts.
    Scenario low;
    ASSERT_TRUE(loadScenario("low-pass", low, e));
    for (int st : renderPlan(low)) {
        EXPECT_NEAR(samplePath(low, st, radiusOf).altitude, 12000.0, 1e-6) << st;
        EXPECT_EQ(viewAt(low, st).mode, ViewMode::Horizon) << st;
    }
}

TEST(ScenarioReader, ReadsEveryKeyword)
{
    const Scenario s
        = parseOk("# comment\n\nskyveil-scenario 1\nname trip # trailing comment\nbodies Earth Moon\n"
                  "camera cockpit\nsteps 10\nstep 0.5\ntimeacc 10\nhostversion 160828\nterrain off\ngraphics client\n"
                  "render 3 1 3\n"
                  "render every 4\n"
                  "at 0 Earth alt 2500 lng 1 lat 2\nat 5 Earth alt 12km lng 1 lat 2\n"
                  "at 9 Moon alt 1.5R lng -1 lat -2\r\nend\n");
    EXPECT_EQ(s.name, "trip");
    EXPECT_EQ(s.bodies, (std::vector<std::string> {"Earth", "Moon"}));
    EXPECT_EQ(s.camera, CameraMode::Cockpit);
    EXPECT_EQ(s.steps, 10);
    EXPECT_DOUBLE_EQ(s.stepLength, 0.5);
    EXPECT_DOUBLE_EQ(s.timeAcceleration, 10);
    EXPECT_EQ(s.hostVersion, 160828);
    EXPECT_EQ(s.terrain, 0);
    EXPECT_EQ(s.graphics, 1);
    EXPECT_EQ(s.renderSteps, (std::vector<int> {1, 3}));
    EXPECT_EQ(s.renderEvery, 4);
    ASSERT_EQ(s.path.size(), 3u);
    EXPECT_DOUBLE_EQ(s.path[0].altitude.value, 2500);
    EXPECT_DOUBLE_EQ(s.path[1].altitude.value, 12000);
    EXPECT_TRUE(s.path[2].altitude.inRadii);
    EXPECT_NEAR(s.path[2].longitude, -1 * 3.14159265358979 / 180, 1e-12);
    EXPECT_EQ(renderPlan(s), (std::vector<int> {0, 1, 3, 4, 8, 9}));
}

TEST(ScenarioReader, ViewChangesHoldFromTheirStepAndFollowARescale)
{
    const Scenario s = parseOk("skyveil-scenario 1\nbodies Earth\nsteps 101\nat 0 Earth alt 0.3R lng 0 lat 0\n"
                               "view 10 planet 110\nview 50 horizon 30.5\nend\n");
    ASSERT_EQ(s.views.size(), 2u);
    // Before the first change: the horizon view with a 40 degree field.
    EXPECT_EQ(viewAt(s, 0).mode, ViewMode::Horizon);
    EXPECT_DOUBLE_EQ(viewAt(s, 9).fieldOfView, 40.0);
    EXPECT_EQ(viewAt(s, 10).mode, ViewMode::Planet);
    EXPECT_DOUBLE_EQ(viewAt(s, 49).fieldOfView, 110.0);
    EXPECT_EQ(viewAt(s, 50).mode, ViewMode::Horizon);
    EXPECT_DOUBLE_EQ(viewAt(s, 100).fieldOfView, 30.5);
    // Half the length: the changes move to half their steps.
    const Scenario half = rescaleScenario(s, 51);
    ASSERT_EQ(half.views.size(), 2u);
    EXPECT_EQ(half.views[0].step, 5);
    EXPECT_EQ(half.views[1].step, 25);
    // Squeezed onto one step, the later change wins, as it would have on the long flight's last step.
    const Scenario one = rescaleScenario(s, 1);
    ASSERT_EQ(one.views.size(), 1u);
    EXPECT_EQ(viewAt(one, 0).mode, ViewMode::Horizon);
}

TEST(ScenarioReader, NamesFileLineAndFault)
{
    struct Case {
        std::string text;
        int line;
        const char* says;
    };
    const std::string h = "skyveil-scenario 1\nbodies Earth\nsteps 10\n";
    const std::string at0 = "at 0 Earth alt 1km lng 0 lat 0\n";
    const Case cases[] = {
        {"", 0, "empty"},
        {"hello\n", 1, "not a scenario file"},
        {"skyveil-scenario 2\n", 1, "version"},
        {h + "steps 5\n" + at0 + "end\n", 4, "twice"},
        {h + "colour blue\n" + at0 + "end\n", 4, "unknown keyword 'colour'"},
        {"skyveil-scenario 1\nbodies Earth\nsteps ten\n" + at0 + "end\n", 3, "'steps'"},
        {"skyveil-scenario 1\nbodies Earth\nsteps 0\n" + at0 + "end\n", 3, "'steps'"},
        {"skyveil-scenario 1\nbodies Earth\nsteps 10\nstep -1\n" + at0 + "end\n", 4, "'step'"},
        {"skyveil-scenario 1\nbodies Earth\nsteps 10\ntimeacc 0\n" + at0 + "end\n", 4, "'timeacc'"},
        {"skyveil-scenario 1\nbodies Earth\nsteps 10\nhostversion 2016\nhostversion 2016\n" + at0 + "end\n", 5,
            "twice"},
        {"skyveil-scenario 1\nbodies Earth\nsteps 10\nhostversion 1000000\n" + at0 + "end\n", 4, "'hostversion'"},
        {h + "camera sideways\n" + at0 + "end\n", 4, "'camera'"},
        {h + "terrain flat\n" + at0 + "end\n", 4, "'terrain' needs 'off' or 'on'"},
        {h + "graphics builtin\ngraphics client\n" + at0 + "end\n", 5, "twice"},
        {h + "at 0 Pluto alt 1km lng 0 lat 0\nend\n", 4, "body 'Pluto'"},
        {h + "at 0 Earth alt 1km lng 0 lat 91\nend\n", 4, "'lat'"},
        {h + "at 0 Earth alt 1km lng 400 lat 0\nend\n", 4, "'lng'"},
        {h + "at 0 Earth alt -5km lng 0 lat 0\nend\n", 4, "'alt'"},
        {h + "at 0 Earth alt 1xyz lng 0 lat 0\nend\n", 4, "'alt'"},
        {h + "at 0 Earth alt nan lng 0 lat 0\nend\n", 4, "'alt'"},
        {h + "at 0 Earth lng 0 lat 0\nend\n", 4, "'at' needs"},
        {h + "at 0 Earth alt 1km lng 0 lat 0 extra\nend\n", 4, "unexpected 'extra'"},
        {h + at0 + "at 0 Earth alt 2km lng 0 lat 0\nend\n", 5, "must increase"},
        {h + "at 3 Earth alt 1km lng 0 lat 0\nend\n", 4, "first waypoint"},
        {h + at0 + "at 10 Earth alt 1km lng 0 lat 0\nend\n", 5, "beyond the last step"},
        {h + at0 + "render 2 12\nend\n", 5, "render step 12"},
        {h + at0 + "render every 0\nend\n", 5, "'render every'"},
        {h + at0 + "view 0 sideways 40\nend\n", 5, "'planet' or 'horizon'"},
        {h + at0 + "view 0 planet 5\nend\n", 5, "field of view"},
        {h + at0 + "view 0 planet 170\nend\n", 5, "field of view"},
        {h + at0 + "view 0 planet\nend\n", 5, "'view' needs"},
        {h + at0 + "view 4 planet 90\nview 4 horizon 40\nend\n", 6, "must increase"},
        {h + at0 + "view 10 planet 90\nend\n", 5, "view step 10"},
        {"skyveil-scenario 1\nsteps 10\nat 0 Earth alt 1km lng 0 lat 0\nend\n", 3, "before 'bodies'"},
        {"skyveil-scenario 1\nbodies Earth Earth\n", 2, "named twice"},
        {h + "end\n", 4, "no waypoints"},
        {"skyveil-scenario 1\nbodies Earth\n" + at0 + "end\n", 4, "no 'steps'"},
        {h + at0 + "end\nsteps 3\n", 6, "after 'end'"},
        {h + at0, 4, "ends before its 'end'"},
        {h + std::string("at 0 \x01 Earth\n"), 4, "control character"},
        {h + std::string(2000, 'x') + "\n", 4, "longer than"},
    };
    for (const Case& c : cases) {
        const ScenarioError e = parseBad(c.text);
        EXPECT_EQ(e.line, c.line) << c.text << " -> " << e.message();
        EXPECT_NE(e.what.find(c.says), std::string::npos) << e.message();
        EXPECT_EQ(e.message().rfind("t.scn", 0), 0u) << e.message();
        if (c.line > 0) {
            EXPECT_NE(e.message().find("t.scn:" + std::to_string(c.line) + ": "), std::string::npos);
        }
    }
}

TEST(ScenarioReader, EveryTruncatedPrefixOfEveryBuiltinIsRefusedWithALine)
{
    for (const std::string& n : builtinScenarioNames()) {
        const std::string text = builtinScenarioText(n);
        // The whole text less its final newline still holds the complete "end" line.
        for (std::size_t len = 0; len + 1 < text.size(); ++len) {
            Scenario s;
            ScenarioError e;
            ASSERT_FALSE(parseScenario(text.substr(0, len), n, s, e)) << n << " cut at " << len;
            EXPECT_FALSE(e.what.empty());
            EXPECT_EQ(e.file, n);
            if (len > 0) {
                EXPECT_GE(e.line, 1) << n << " cut at " << len << ": " << e.message();
            }
        }
        parseOk(text.substr(0, text.size() - 1));
    }
}

TEST(ScenarioReader, MangledTextsGiveAnswersNotCrashes)
{
    std::mt19937 rng(12345);
    const std::string base = builtinScenarioText("earth-to-moon");
    const std::string junk = std::string("0123456789 .-#\n\tRkm\x7f\xff,abcdefghijklmnopqrstuvwxyz") + '\0';
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string t = base;
        const int edits = 1 + int(rng() % 4);
        for (int i = 0; i < edits && !t.empty(); ++i) {
            const std::size_t at = rng() % t.size();
            switch (rng() % 3) {
            case 0:
                t[at] = junk[rng() % junk.size()];
                break;
            case 1:
                t.erase(at, 1 + rng() % 8);
                break;
            default:
                t.insert(at, 1, junk[rng() % junk.size()]);
            }
        }
        Scenario s;
        ScenarioError e;
        if (!parseScenario(t, "m", s, e)) {
            ++refused;
            EXPECT_FALSE(e.what.empty());
            EXPECT_GE(e.line, 0);
        } else {
            // Whatever is accepted must be a flyable scenario.
            ASSERT_FALSE(s.path.empty());
            EXPECT_EQ(s.path.front().step, 0);
            EXPECT_LT(s.path.back().step, s.steps);
            for (const Waypoint& w : s.path) {
                EXPECT_TRUE(std::isfinite(w.longitude) && std::isfinite(w.latitude));
                EXPECT_GE(w.altitude.value, 0);
            }
        }
    }
    EXPECT_GT(refused, 1000);
}

TEST(ScenarioReader, LoadsFilesAndNamesThemInErrors)
{
    const std::string path = ::testing::TempDir() + "skysim_scenario_" + std::to_string(getpid()) + ".scn";
    {
        std::ofstream f(path);
        f << "skyveil-scenario 1\nbodies Earth\nsteps 10\nat 0 Earth alt 1km lng 0 lat 0\nbogus\nend\n";
    }
    Scenario s;
    ScenarioError e;
    EXPECT_FALSE(loadScenario(path, s, e));
    EXPECT_EQ(e.message(), path + ":5: unknown keyword 'bogus'");
    EXPECT_FALSE(loadScenario(path + ".missing", s, e));
    EXPECT_EQ(e.line, 0);
    EXPECT_EQ(e.file, path + ".missing");
    std::remove(path.c_str());
}

TEST(ScenarioPath, InterpolatesInLogAltitudeAndHoldsAcrossABodyChange)
{
    const Scenario s = parseOk(minimal);
    const PathPoint p0 = samplePath(s, 0, radiusOf);
    EXPECT_EQ(p0.body, "Earth");
    EXPECT_NEAR(p0.altitude, 0.5 * earthRadius, 1e-6);
    // Half-way in log(altitude + 1 km).
    const PathPoint mid = samplePath(s, 25, radiusOf);
    const double expect = std::sqrt((0.5 * earthRadius + 1000.0) * 11000.0) - 1000.0;
    EXPECT_NEAR(mid.altitude, expect, 1e-3);
    EXPECT_NEAR(mid.longitude, 15 * 3.14159265358979 / 180, 1e-12);
    // Between the Earth waypoint at 50 and the Moon one at 60 the vessel stays at the first.
    const PathPoint hold = samplePath(s, 59.5, radiusOf);
    EXPECT_EQ(hold.body, "Earth");
    EXPECT_NEAR(hold.altitude, 10000.0, 1e-6);
    const PathPoint moon = samplePath(s, 60, radiusOf);
    EXPECT_EQ(moon.body, "Moon");
    EXPECT_TRUE(moon.landed);
    EXPECT_EQ(moon.altitude, 0.0);
    EXPECT_EQ(samplePath(s, 99, radiusOf).body, "Moon");
}

TEST(ScenarioPath, RescalingKeepsTheFlightsShapeAtAnyLength)
{
    for (const std::string& n : builtinScenarioNames()) {
        Scenario s;
        ScenarioError e;
        ASSERT_TRUE(loadScenario(n, s, e));
        for (int steps : {1, 2, 3, 7, 40, 1000}) {
            const Scenario r = rescaleScenario(s, steps);
            EXPECT_EQ(r.steps, steps);
            ASSERT_FALSE(r.path.empty());
            EXPECT_EQ(r.path.front().step, 0);
            for (std::size_t i = 1; i < r.path.size(); ++i)
                EXPECT_LT(r.path[i - 1].step, r.path[i].step) << n << " in " << steps;
            EXPECT_LT(r.path.back().step, steps);
            for (int st : renderPlan(r)) {
                EXPECT_GE(st, 0);
                EXPECT_LT(st, steps);
            }
            // The end of the flight is where the full-length one ends.
            const PathPoint a = samplePath(s, s.steps - 1, radiusOf), b = samplePath(r, steps - 1, radiusOf);
            EXPECT_EQ(a.body, b.body);
            EXPECT_NEAR(a.altitude, b.altitude, 1e-6);
        }
    }
}
