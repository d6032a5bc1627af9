#include "runner.h"

#include "compare.h"
#include "flight.h"
#include "offscreen.h"
#include "plot.h"
#include "pngfile.h"
#include "progress.h"
#include "scenario.h"
#include "scenerender.h"
#include "summary.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <vector>

namespace skysim {

namespace {

const int plotWidth = 960, plotHeight = 720;

std::string numbered(const std::string& dir, const char* stem, int step)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "/%s_%04d.png", stem, step);
    return dir + buf;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

// Title of a comparison picture: where the camera is and how strong the haze is.
std::string comparisonCaption(const TraceRow& row)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "STEP %d  CAMERA AT %.2f R  ALTITUDE %.0f KM  HAZE %.2f", row.step, row.cameraRadii,
        row.altitude / 1000.0, row.haze);
    return buf;
}

// The scenario with the command line's changes applied.
Scenario applyOptions(Scenario s, const Options& opt)
{
    if (opt.steps > 0)
        s = rescaleScenario(s, opt.steps);
    if (opt.renderAtGiven) {
        s.renderSteps.clear();
        s.renderEvery = 0;
        for (int st : opt.renderAt) {
            if (st < s.steps)
                s.renderSteps.push_back(st);
        }
    }
    if (opt.renderEvery > 0)
        s.renderEvery = opt.renderEvery;
    if (opt.noRender) {
        s.renderSteps.clear();
        s.renderEvery = 0;
    }
    return s;
}

} // namespace

int runDemo(const Options& opt, const std::string& defaultRoot, bool showProgress, std::ostream& out, std::ostream& err)
{
    if (opt.help) {
        out << usageText();
        return 0;
    }
    if (opt.list) {
        for (const std::string& n : builtinScenarioNames())
            out << n << "\n";
        return 0;
    }
    if (!opt.show.empty()) {
        const char* text = builtinScenarioText(opt.show);
        if (!text) {
            err << "skyveil-sim: no built-in scenario '" << opt.show << "' (see --list)\n";
            return 2;
        }
        out << text;
        return 0;
    }

    Scenario loaded;
    ScenarioError serr;
    if (!loadScenario(opt.scenario, loaded, serr)) {
        err << "skyveil-sim: " << serr.message() << "\n";
        return 2;
    }
    const Scenario s = applyOptions(loaded, opt);
    const std::vector<int> plan = renderPlan(s);
    const std::string root = opt.root.empty() ? defaultRoot : opt.root;
    // Absolute: the flight runs inside the simulator's own root directory, which becomes the working
    // directory while it flies.
    std::error_code ec;
    const std::string dir
        = std::filesystem::absolute(opt.outDir.empty() ? "out/" + s.name : opt.outDir, ec).lexically_normal().string();
    if (!ec)
        std::filesystem::create_directories(dir, ec);
    if (ec) {
        err << "skyveil-sim: cannot create the output folder " << dir << ": " << ec.message() << "\n";
        return 1;
    }

    // The bare simulator's step time, from the same flight without the add-on.
    std::string why;
    std::vector<double> bare;
    {
        Flight f;
        if (!f.begin(s, root, false, why)) {
            err << "skyveil-sim: " << why << "\n";
            return 1;
        }
        for (int k = 0; k < s.steps; ++k)
            bare.push_back(f.fly(k));
    }
    const double bareStep = median(bare);

    Offscreen gl;
    if (!plan.empty() && !gl.open(opt.width, opt.height, why)) {
        err << "skyveil-sim: " << why << "\n";
        return 1;
    }

    Flight f;
    if (!f.begin(s, root, true, why)) {
        err << "skyveil-sim: " << why << "\n";
        return 1;
    }
    std::vector<TraceRow> rows;
    std::vector<std::string> files;
    int skippedGroups = 0;
    std::size_t next = 0;
    for (int k = 0; k < s.steps; ++k) {
        const double us = f.fly(k);
        TraceRow row = f.observe(k);
        row.stepMinusBareUs = us - bareStep;
        rows.push_back(row);
        if (next < plan.size() && plan[next] == k) {
            ++next;
            const SceneView view = f.scene();
            SceneStats ss;
            const std::vector<std::uint8_t> pic = renderScene(gl, view, &ss);
            skippedGroups += ss.groupsSkipped;
            const std::string a = numbered(dir, "scene", k), b = numbered(dir, "blocks", k);
            const std::string c = numbered(dir, "compare", k);
            const Comparison pair = renderComparison(gl, view, comparisonCaption(row));
            if (!writePng(a, gl.width(), gl.height(), pic, why)
                || !writePng(b, gl.width(), gl.height(), renderWireframe(gl, view), why)
                || !writePng(c, pair.width, pair.height, pair.rgb, why)) {
                err << "\nskyveil-sim: " << why << "\n";
                return 1;
            }
            files.push_back(a);
            files.push_back(c);
            files.push_back(b);
        }
        if (showProgress && opt.progress) {
            char note[96];
            std::snprintf(
                note, sizeof note, "%s alt %.0f km, leaves %d", row.body.c_str(), row.altitude / 1000.0, row.leaves);
            out << "\r" << progressLine(k + 1, s.steps, 40, note) << "\x1b[K" << std::flush;
        }
    }
    if (showProgress && opt.progress)
        out << "\n";
    f.end();

    const std::string tracePath = dir + "/trace.csv";
    {
        std::ofstream csv(tracePath);
        csv << traceHeader() << "\n";
        for (const TraceRow& r : rows)
            writeTraceRow(csv, r);
        if (!csv) {
            err << "skyveil-sim: cannot write " << tracePath << "\n";
            return 1;
        }
    }
    files.push_back(tracePath);
    if (gl.width() != plotWidth || gl.height() != plotHeight) {
        if (!gl.open(plotWidth, plotHeight, why)) {
            err << "skyveil-sim: " << why << "\n";
            return 1;
        }
    }
    const std::string plotPath = dir + "/plot.png";
    if (!writePng(plotPath, plotWidth, plotHeight, renderPlot(gl, rows, "SKYVEIL-SIM: " + s.name), why)) {
        err << "skyveil-sim: " << why << "\n";
        return 1;
    }
    files.push_back(plotPath);

    out << "scenario " << s.name << ": " << s.steps << " steps of " << s.stepLength << " s\n";
    out << formatSummary(summarise(rows), files);
    out << "add-on time = wall time inside the add-on's callbacks; the trace's step_minus_bare_us is the whole step "
           "less the median bare step ("
        << std::fixed << std::setprecision(1) << bareStep << std::defaultfloat << " us), the host's drawing included\n";
    if (skippedGroups)
        out << "warning: " << skippedGroups << " groups were not drawn: they would read outside their arrays\n";
    out << "pictures, trace and plot are in " << dir << "/\n";
    return 0;
}

} // namespace skysim
