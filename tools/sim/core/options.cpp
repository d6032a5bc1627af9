#include "options.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <sstream>

namespace skysim {

namespace {

bool wholeNumber(const std::string& s, long lo, long hi, int& v)
{
    if (s.empty() || s.size() > 9)
        return false;
    errno = 0;
    char* end = nullptr;
    const long x = std::strtol(s.c_str(), &end, 10);
    if (errno || *end || x < lo || x > hi)
        return false;
    v = int(x);
    return true;
}

} // namespace

const char* usageText()
{
    return "usage: skyveil-sim [options]\n"
           "Flies a scenario in the stand-in simulator with the skyveil add-on loaded, and writes\n"
           "pictures of what the host would draw, a per-step trace (CSV) and a plot of it.\n"
           "\n"
           "  --scenario NAME|FILE   built-in scenario or scenario file (default: descent)\n"
           "  --list                 list the built-in scenarios and exit\n"
           "  --show NAME            print a built-in scenario's text (a template for your own) and exit\n"
           "  --out DIR              output folder (default: out/<scenario name>)\n"
           "  --steps N              fly the same path in N steps\n"
           "  --render-every N       also draw every N-th step\n"
           "  --render-at S,S,...    draw exactly these steps instead of the scenario's list\n"
           "  --no-render            draw no pictures (trace and plot only)\n"
           "  --size WxH             picture size in pixels (default: 800x600)\n"
           "  --root DIR             root tree with modules/veilcore.dll and modules/plugin/skyveil.dll\n"
           "                         (default: the one built next to this program)\n"
           "  --host-version N       the version the host reports, as YYMMDD (default: the scenario's,\n"
           "                         else 60929, the 2006-P1 edition)\n"
           "  --no-progress          no progress bar (it is shown only on a terminal anyway)\n"
           "  --keep-root            keep the flight's temporary root tree and say where it is\n"
           "  --help                 this text\n";
}

bool parseOptions(int argc, const char* const* argv, Options& opt, std::string& err)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) {
                err = a + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            opt.help = true;
        } else if (a == "--list") {
            opt.list = true;
        } else if (a == "--no-progress") {
            opt.progress = false;
        } else if (a == "--keep-root") {
            opt.keepRoot = true;
        } else if (a == "--no-render") {
            opt.noRender = true;
        } else if (a == "--scenario") {
            if (!value(opt.scenario))
                return false;
        } else if (a == "--show") {
            if (!value(opt.show))
                return false;
        } else if (a == "--out") {
            if (!value(opt.outDir))
                return false;
        } else if (a == "--root") {
            if (!value(opt.root))
                return false;
        } else if (a == "--steps") {
            if (!value(v))
                return false;
            if (!wholeNumber(v, 1, 1000000, opt.steps)) {
                err = "--steps needs a whole number from 1 to 1000000, not '" + v + "'";
                return false;
            }
        } else if (a == "--render-every") {
            if (!value(v))
                return false;
            if (!wholeNumber(v, 1, 1000000, opt.renderEvery)) {
                err = "--render-every needs a whole number from 1 to 1000000, not '" + v + "'";
                return false;
            }
        } else if (a == "--render-at") {
            if (!value(v))
                return false;
            std::istringstream in(v);
            std::string item;
            while (std::getline(in, item, ',')) {
                int st = 0;
                if (!wholeNumber(item, 0, 1000000, st)) {
                    err = "--render-at needs step numbers separated by commas, not '" + v + "'";
                    return false;
                }
                opt.renderAt.push_back(st);
            }
            opt.renderAtGiven = true;
        } else if (a == "--host-version") {
            if (!value(v))
                return false;
            if (!wholeNumber(v, 1, 999999, opt.hostVersion)) {
                err = "--host-version needs the host's version as YYMMDD, a whole number from 1 to 999999, not '" + v
                    + "'";
                return false;
            }
        } else if (a == "--size") {
            if (!value(v))
                return false;
            const std::size_t x = v.find('x');
            if (x == std::string::npos || !wholeNumber(v.substr(0, x), 16, 4096, opt.width)
                || !wholeNumber(v.substr(x + 1), 16, 4096, opt.height)) {
                err = "--size needs WIDTHxHEIGHT, each from 16 to 4096, not '" + v + "'";
                return false;
            }
        } else {
            err = "unknown option '" + a + "' (see --help)";
            return false;
        }
    }
    return true;
}

int runCommandLine(
    int argc, const char* const* argv, const char* program, std::ostream& err, const std::function<int(Options&)>& run)
{
    Options opt;
    std::string complaint;
    if (!parseOptions(argc, argv, opt, complaint)) {
        err << program << ": " << complaint << "\n";
        return 2;
    }
    try {
        return run(opt);
    } catch (const std::exception& e) {
        err << program << ": " << e.what() << "\n";
        return 1;
    }
}

} // namespace skysim
