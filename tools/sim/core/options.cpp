#include "options.h"

#include <cerrno>
#include <algorithm>
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

// Sets `v` to the index of `s` among `words` (two of them).
bool oneOf(const std::string& s, const char* const (&words)[2], int& v)
{
    for (int i = 0; i < 2; ++i) {
        if (s == words[i]) {
            v = i;
            return true;
        }
    }
    return false;
}

bool countOption(const std::string& v, int& out, std::string& err, const char* name)
{
    if (wholeNumber(v, 1, 1000000, out))
        return true;
    err = std::string(name) + " needs a whole number from 1 to 1000000, not '" + v + "'";
    return false;
}

bool renderAtOption(Options& o, const std::string& v, std::string& err)
{
    std::istringstream in(v);
    std::string item;
    while (std::getline(in, item, ',')) {
        int st = 0;
        if (!wholeNumber(item, 0, 1000000, st)) {
            err = "--render-at needs step numbers separated by commas, not '" + v + "'";
            return false;
        }
        o.renderAt.push_back(st);
    }
    o.renderAtGiven = true;
    return true;
}

bool sizeOption(Options& o, const std::string& v, std::string& err)
{
    const std::size_t x = v.find('x');
    if (x != std::string::npos && wholeNumber(v.substr(0, x), 16, 4096, o.width)
        && wholeNumber(v.substr(x + 1), 16, 4096, o.height))
        return true;
    err = "--size needs WIDTHxHEIGHT, each from 16 to 4096, not '" + v + "'";
    return false;
}

// One option: its name, the value it takes (null for a flag), its lines of --help, and what it does
// with the value (a flag gets an empty one), refusing a bad value with a one-line reason.
struct OptionSpec {
    const char* name;
    const char* value;
    const char* help; // lines after the first are indented under it
    bool (*apply)(Options& o, const std::string& v, std::string& err);
};

const OptionSpec optionTable[] = {
    {"--scenario", "NAME|FILE", "built-in scenario or scenario file (default: descent)",
        [](Options& o, const std::string& v, std::string&) {
            o.scenario = v;
            return true;
        }},
    {"--list", nullptr, "list the built-in scenarios and exit",
        [](Options& o, const std::string&, std::string&) { return o.list = true; }},
    {"--show", "NAME", "print a built-in scenario's text (a template for your own) and exit",
        [](Options& o, const std::string& v, std::string&) {
            o.show = v;
            return true;
        }},
    {"--out", "DIR", "output folder (default: out/<scenario name>)",
        [](Options& o, const std::string& v, std::string&) {
            o.outDir = v;
            return true;
        }},
    {"--steps", "N", "fly the same path in N steps",
        [](Options& o, const std::string& v, std::string& err) { return countOption(v, o.steps, err, "--steps"); }},
    {"--render-every", "N", "also draw every N-th step",
        [](Options& o, const std::string& v, std::string& err) {
            return countOption(v, o.renderEvery, err, "--render-every");
        }},
    {"--render-at", "S,S,...", "draw exactly these steps instead of the scenario's list", renderAtOption},
    {"--no-render", nullptr, "draw no pictures (trace and plot only)",
        [](Options& o, const std::string&, std::string&) { return o.noRender = true; }},
    {"--size", "WxH", "picture size in pixels (default: 800x600)", sizeOption},
    {"--root", "DIR",
        "root tree with modules/veilcore.dll and modules/plugin/skyveil.dll\n(default: the one built next to this "
        "program)",
        [](Options& o, const std::string& v, std::string&) {
            o.root = v;
            return true;
        }},
    {"--host-version", "N",
        "the version the host reports, as YYMMDD (default: the scenario's,\nelse 60929, the 2006-P1 edition)",
        [](Options& o, const std::string& v, std::string& err) {
            if (wholeNumber(v, 1, 999999, o.hostVersion))
                return true;
            err = "--host-version needs the host's version as YYMMDD, a whole number from 1 to 999999, not '" + v + "'";
            return false;
        }},
    {"--terrain", "on|off", "the later hosts' terrain heights (default: on at host versions of 160000 and above)",
        [](Options& o, const std::string& v, std::string& err) {
            if (oneOf(v, {"off", "on"}, o.terrain))
                return true;
            err = "--terrain needs on or off, not '" + v + "'";
            return false;
        }},
    {"--graphics", "builtin|client",
        "the host's graphics: built-in, or an external graphics client (host versions of 100000 and above)",
        [](Options& o, const std::string& v, std::string& err) {
            if (oneOf(v, {"builtin", "client"}, o.graphics))
                return true;
            err = "--graphics needs builtin or client, not '" + v + "'";
            return false;
        }},
    {"--no-progress", nullptr, "no progress bar (it is shown only on a terminal anyway)",
        [](Options& o, const std::string&, std::string&) {
            o.progress = false;
            return true;
        }},
    {"--keep-root", nullptr, "keep the flight's temporary root tree and say where it is",
        [](Options& o, const std::string&, std::string&) { return o.keepRoot = true; }},
    {"--help", nullptr, "this text", [](Options& o, const std::string&, std::string&) { return o.help = true; }},
};

const OptionSpec* findOption(const std::string& a)
{
    const std::string name = a == "-h" ? "--help" : a;
    for (const OptionSpec& spec : optionTable) {
        if (name == spec.name)
            return &spec;
    }
    return nullptr;
}

std::string buildUsage()
{
    const std::size_t column = 25;
    std::string out = "usage: skyveil-sim [options]\n"
                      "Flies a scenario in the stand-in simulator with the skyveil add-on loaded, and writes\n"
                      "pictures of what the host would draw, a per-step trace (CSV) and a plot of it.\n"
                      "\n";
    for (const OptionSpec& spec : optionTable) {
        std::string head = std::string("  ") + spec.name + (spec.value ? std::string(" ") + spec.value : "");
        head.resize(std::max(column, head.size() + 1), ' ');
        std::istringstream lines(spec.help);
        std::string line;
        bool first = true;
        while (std::getline(lines, line)) {
            out += (first ? head : std::string(column, ' ')) + line + "\n";
            first = false;
        }
    }
    return out;
}

} // namespace

const char* usageText()
{
    static const std::string text = buildUsage();
    return text.c_str();
}

bool parseOptions(int argc, const char* const* argv, Options& opt, std::string& err)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const OptionSpec* spec = findOption(a);
        if (!spec) {
            err = "unknown option '" + a + "' (see --help)";
            return false;
        }
        std::string v;
        if (spec->value) {
            if (i + 1 >= argc) {
                err = a + " needs a value";
                return false;
            }
            v = argv[++i];
        }
        if (!spec->apply(opt, v, err))
            return false;
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
