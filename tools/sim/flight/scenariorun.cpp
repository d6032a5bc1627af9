#include "scenariorun.h"

#include "progress.h"
#include "scenario.h"
#include "summary.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>

namespace skysim {

namespace {

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
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
    if (opt.hostVersion > 0)
        s.hostVersion = opt.hostVersion;
    if (opt.terrain >= 0)
        s.terrain = opt.terrain;
    if (opt.graphics >= 0)
        s.graphics = opt.graphics;
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
    std::string dir
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
    bare.reserve(static_cast<std::size_t>(s.steps));
    for (int k = 0; k < s.steps; ++k)
        bare.push_back(f.fly(k));
    us = median(bare);
    return true;
}

// One flight with the add-on: the trace rows, what the viewer makes of each step, and the files written.
class AddonFlight {
public:
    AddonFlight(const Options& opt, const Scenario& s, const std::string& dir, StepViewer* viewer)
        : opt_(opt)
        , s_(s)
        , dir_(dir)
        , viewer_(viewer)
    {
    }

    bool fly(const std::string& root, double bareStep, bool showProgress, std::ostream& out, std::string& why)
    {
        if (viewer_ && !viewer_->begin(s_, why))
            return false;
        Flight f;
        if (!f.begin(s_, root, true, why, opt_.keepRoot))
            return false;
        // The host shows the add-on's message boxes and flies on; so does the runner.
        for (const std::string& m : f.addonMessages())
            out << "the add-on showed a message box: " << m << "\n";
        for (int k = 0; k < s_.steps; ++k) {
            const double us = f.fly(k);
            for (const std::string& m : f.newAddonMessages()) {
                out << (midLine_ ? "\n" : "") << "the add-on showed a message box: " << m << "\n";
                midLine_ = false;
            }
            TraceRow row = f.observe(k);
            row.stepMinusBareUs = us - bareStep;
            rows_.push_back(row);
            if (viewer_ && !viewer_->step(f, row, dir_, files_, why))
                return false;
            if (showProgress && opt_.progress) {
                out << "\r" << progress(k, row) << "\x1b[K" << std::flush;
                midLine_ = true;
            }
        }
        if (midLine_)
            out << "\n";
        midLine_ = false;
        for (const std::string& line : f.addonLogLines())
            out << "the add-on wrote to the host's log: " << line << "\n";
        flightRoot_ = f.rootDir();
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

    bool finish(std::string& why) { return !viewer_ || viewer_->end(s_, rows_, dir_, files_, why); }

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
        if (viewer_)
            out << viewer_->notes();
        out << (viewer_ ? "pictures, trace and plot are in " : "the trace is in ") << dir_ << "/\n";
        if (opt_.keepRoot)
            out << "the flight's root tree is kept in " << flightRoot_ << "\n";
    }

private:
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
    StepViewer* viewer_;
    std::vector<TraceRow> rows_;
    std::vector<std::string> files_;
    std::string flightRoot_;
    bool midLine_ = false;
};

} // namespace

int runScenario(const Options& opt, const std::string& defaultRoot, bool showProgress, StepViewer* viewer,
    std::ostream& out, std::ostream& err)
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
    AddonFlight flight(opt, s, dir, viewer);
    if (!bareStepTime(s, root, bareStep, why) || !flight.fly(root, bareStep, showProgress, out, why)
        || !flight.writeTrace(why) || !flight.finish(why)) {
        err << (flight.midLine() ? "\n" : "") << "skyveil-sim: " << why << "\n";
        return 1;
    }
    flight.printSummary(bareStep, out);
    return 0;
}

} // namespace skysim
