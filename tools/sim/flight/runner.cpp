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

// --help, --list and --show: answered without flying. Returns -1 when the options ask for a flight.
int answerWithoutFlight(const Options& opt, std::ostream& out, std::ostream& err)
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
    return -1;
}

// The output folder, absolute: the flight runs inside the simulator's own root directory, which
// becomes the working directory while it flies. Empty when it cannot be made.
std::string makeOutputFolder(const Options& opt, const Scenario& s, std::ostream& err)
{
    std::error_code ec;
    const std::string dir
        = std::filesystem::absolute(opt.outDir.empty() ? "out/" + s.name : opt.outDir, ec).lexically_normal().string();
    if (!ec)
        std::filesystem::create_directories(dir, ec);
    if (ec) {
        err << "skyveil-sim: cannot create the output folder " << dir << ": " << ec.message() << "\n";
        return "";
    }
    return dir;
}

// The bare simulator's median step time, from the same flight without the add-on.
bool bareStepTime(const Scenario& s, const std::string& root, double& us, std::string& why)
{
    Flight f;
    if (!f.begin(s, root, false, why))
        return false;
    std::vector<double> bare;
    for (int k = 0; k < s.steps; ++k)
        bare.push_back(f.fly(k));
    us = median(bare);
    return true;
}

// One flight with the add-on: the trace rows, the pictures of the planned steps, and the files written.
class DemoFlight {
public:
    DemoFlight(const Options& opt, const Scenario& s, const std::string& dir)
        : opt_(opt)
        , s_(s)
        , dir_(dir)
    {
    }

    bool fly(const std::string& root, double bareStep, bool showProgress, std::ostream& out, std::string& why)
    {
        const std::vector<int> plan = renderPlan(s_);
        if (!plan.empty() && !gl_.open(opt_.width, opt_.height, why))
            return false;
        Flight f;
        if (!f.begin(s_, root, true, why))
            return false;
        std::size_t next = 0;
        for (int k = 0; k < s_.steps; ++k) {
            const double us = f.fly(k);
            TraceRow row = f.observe(k);
            row.stepMinusBareUs = us - bareStep;
            rows_.push_back(row);
            if (next < plan.size() && plan[next] == k) {
                ++next;
                if (!drawPictures(f.scene(), row, why))
                    return false;
            }
            if (showProgress && opt_.progress) {
                out << "\r" << progress(k, row) << "\x1b[K" << std::flush;
                midLine_ = true;
            }
        }
        if (midLine_)
            out << "\n";
        midLine_ = false;
        f.end();
        return true;
    }

    bool writeTrace(std::string& why)
    {
        const std::string path = dir_ + "/trace.csv";
        std::ofstream csv(path);
        csv << traceHeader() << "\n";
        for (const TraceRow& r : rows_)
            writeTraceRow(csv, r);
        if (!csv) {
            why = "cannot write " + path;
            return false;
        }
        files_.push_back(path);
        return true;
    }

    bool writePlot(std::string& why)
    {
        if ((gl_.width() != plotWidth || gl_.height() != plotHeight) && !gl_.open(plotWidth, plotHeight, why))
            return false;
        const std::string path = dir_ + "/plot.png";
        if (!writePng(path, plotWidth, plotHeight, renderPlot(gl_, rows_, "SKYVEIL-SIM: " + s_.name), why))
            return false;
        files_.push_back(path);
        return true;
    }

    // A failure while the progress bar stands on the terminal's line is told on a line of its own.
    bool midLine() const { return midLine_; }

    void printSummary(double bareStep, std::ostream& out) const
    {
        out << "scenario " << s_.name << ": " << s_.steps << " steps of " << s_.stepLength << " s\n";
        out << formatSummary(summarise(rows_), files_);
        out << "add-on time = wall time inside the add-on's callbacks; the trace's step_minus_bare_us is the whole "
               "step less the median bare step ("
            << std::fixed << std::setprecision(1) << bareStep << std::defaultfloat
            << " us), the host's drawing included\n";
        if (skippedGroups_)
            out << "warning: " << skippedGroups_ << " groups were not drawn: they would read outside their arrays\n";
        out << "pictures, trace and plot are in " << dir_ << "/\n";
    }

private:
    // The scene, its tessellation's wireframe and the pair with and without the carrier.
    bool drawPictures(const SceneView& view, const TraceRow& row, std::string& why)
    {
        const int k = row.step;
        SceneStats ss;
        const std::vector<std::uint8_t> pic = renderScene(gl_, view, &ss);
        skippedGroups_ += ss.groupsSkipped;
        const std::string a = numbered(dir_, "scene", k), b = numbered(dir_, "blocks", k);
        const std::string c = numbered(dir_, "compare", k);
        const Comparison pair = renderComparison(gl_, view, comparisonCaption(row));
        if (!writePng(a, gl_.width(), gl_.height(), pic, why)
            || !writePng(b, gl_.width(), gl_.height(), renderWireframe(gl_, view), why)
            || !writePng(c, pair.width, pair.height, pair.rgb, why))
            return false;
        files_.push_back(a);
        files_.push_back(c);
        files_.push_back(b);
        return true;
    }

    std::string progress(int k, const TraceRow& row) const
    {
        char note[96];
        std::snprintf(
            note, sizeof note, "%s alt %.0f km, leaves %d", row.body.c_str(), row.altitude / 1000.0, row.leaves);
        return progressLine(k + 1, s_.steps, 40, note);
    }

    const Options& opt_;
    const Scenario& s_;
    const std::string dir_;
    Offscreen gl_;
    std::vector<TraceRow> rows_;
    std::vector<std::string> files_;
    int skippedGroups_ = 0;
    bool midLine_ = false;
};

} // namespace

int runDemo(const Options& opt, const std::string& defaultRoot, bool showProgress, std::ostream& out, std::ostream& err)
{
    const int answered = answerWithoutFlight(opt, out, err);
    if (answered >= 0)
        return answered;

    Scenario loaded;
    ScenarioError serr;
    if (!loadScenario(opt.scenario, loaded, serr)) {
        err << "skyveil-sim: " << serr.message() << "\n";
        return 2;
    }
    const Scenario s = applyOptions(loaded, opt);
    const std::string root = opt.root.empty() ? defaultRoot : opt.root;
    const std::string dir = makeOutputFolder(opt, s, err);
    if (dir.empty())
        return 1;

    std::string why;
    double bareStep = 0;
    DemoFlight demo(opt, s, dir);
    if (!bareStepTime(s, root, bareStep, why) || !demo.fly(root, bareStep, showProgress, out, why)
        || !demo.writeTrace(why) || !demo.writePlot(why)) {
        err << (demo.midLine() ? "\n" : "") << "skyveil-sim: " << why << "\n";
        return 1;
    }
    demo.printSummary(bareStep, out);
    return 0;
}

} // namespace skysim
