// The demo runner's command line.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace skysim {

struct Options {
    std::string scenario = "descent"; // built-in name or file
    std::string outDir; // empty: out/<scenario name>
    std::string root; // root tree template; empty: the build's own
    int steps = 0; // 0: the scenario's own count
    int renderEvery = 0; // 0: as the scenario says
    std::vector<int> renderAt; // explicit render steps, replacing the scenario's
    bool renderAtGiven = false;
    bool noRender = false;
    int width = 800, height = 600;
    bool progress = true;
    int hostVersion = 0; // 0: the scenario's, else the stand-in's own (060929)
    bool keepRoot = false; // keep the flight's temporary root tree (the engine's files in it)
    int terrain = -1; // the later hosts' terrain heights: -1 not given, 0 off, 1 on
    int graphics = -1; // the host's graphics: -1 not given, 0 built-in, 1 an external graphics client
    bool help = false;
    bool list = false;
    std::string show; // print this built-in scenario's text
};

// Parses argv[1..argc-1]. Returns true, or false with a one-line complaint in `err`.
bool parseOptions(int argc, const char* const* argv, Options& opt, std::string& err);

// The body of a runner's main: parses the command line, then runs `run` with the options. A bad
// command line, or a std::exception out of `run`, is reported on one line of `err` after `program`'s
// name. Returns the exit code: 2 for a bad command line, 1 for an exception, else run's result.
int runCommandLine(
    int argc, const char* const* argv, const char* program, std::ostream& err, const std::function<int(Options&)>& run);

// The --help text.
const char* usageText();

} // namespace skysim
