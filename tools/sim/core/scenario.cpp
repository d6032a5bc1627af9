// Reader of scenario texts: one keyword per line, '#' starts a comment, the text ends with "end".
#include "scenario.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

namespace skysim {

namespace {

const double degree = 3.14159265358979323846 / 180.0;
const int maxSteps = 1000000;
const std::size_t maxLineLength = 1000;
const std::size_t maxBodies = 16;
const std::size_t maxNameLength = 63;
// Vertical field of view of a camera [degrees]: a wide angle takes in a whole planet from close by.
const double minFieldOfView = 10.0;
const double maxFieldOfView = 160.0;

using Words = std::vector<std::string>;

// One reader pass over a text; every check reports through fail() and stops the pass.
class Reader {
public:
    Reader(const std::string& file, Scenario& out, ScenarioError& err)
        : file_(file)
        , out_(out)
        , err_(err)
    {
    }

    bool run(const std::string& text);

private:
    bool fail(int line, const std::string& what)
    {
        err_.file = file_;
        err_.line = line;
        err_.what = what;
        return false;
    }
    bool line(int no, const Words& words);
    bool once(int no, const std::string& key, int& seenOn);
    bool finish(int lastLine);

    bool wholeNumber(const std::string& w, long lo, long hi, long& v) const;
    bool realNumber(const std::string& w, double& v) const;
    bool altitude(const std::string& w, Altitude& a) const;
    bool angle(int no, const Words& words, std::size_t at, const char* key, double limit, double& rad);

    // One reader per keyword, each given the line's number and its words (the keyword first).
    bool headerLine(int no, const Words& words);
    bool endLine(int no, const Words& words);
    bool nameLine(int no, const Words& words);
    bool bodiesLine(int no, const Words& words);
    bool cameraLine(int no, const Words& words);
    bool stepsLine(int no, const Words& words);
    bool stepLine(int no, const Words& words);
    bool timeaccLine(int no, const Words& words);
    bool hostversionLine(int no, const Words& words);
    bool terrainLine(int no, const Words& words);
    bool graphicsLine(int no, const Words& words);
    // A line of one keyword and one of two words: `out` becomes 0 for the first, 1 for the second.
    bool eitherWord(int no, const Words& words, const char* first, const char* second, int& seenOn, int& out);
    bool renderLine(int no, const Words& words);
    bool waypoint(int no, const Words& words);
    bool view(int no, const Words& words);

    const std::string& file_;
    Scenario& out_;
    ScenarioError& err_;
    bool header_ = false;
    bool ended_ = false;
    int nameLine_ = 0, bodiesLine_ = 0, cameraLine_ = 0, stepsLine_ = 0, stepLine_ = 0, accLine_ = 0;
    int versionLine_ = 0, terrainLine_ = 0, graphicsLine_ = 0;
    int everyLine_ = 0;
    std::vector<int> renderLines_;
};

std::vector<std::string> splitWords(const std::string& s)
{
    std::vector<std::string> words;
    std::istringstream in(s);
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

bool Reader::run(const std::string& text)
{
    out_ = Scenario();
    std::size_t pos = 0;
    int no = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string::npos)
            eol = text.size();
        std::string raw = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++no;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (raw.size() > maxLineLength)
            return fail(no, "line longer than " + std::to_string(maxLineLength) + " characters");
        for (unsigned char c : raw) {
            if (c != '\t' && (c < 0x20 || c == 0x7f))
                return fail(no, "unexpected control character (is this a text file?)");
        }
        const std::size_t hash = raw.find('#');
        if (hash != std::string::npos)
            raw.erase(hash);
        const std::vector<std::string> words = splitWords(raw);
        if (words.empty())
            continue;
        if (ended_)
            return fail(no, "text after 'end'");
        if (!line(no, words))
            return false;
    }
    if (!header_)
        return fail(0, "empty: expected the first line 'skyveil-scenario 1'");
    if (!ended_)
        return fail(no, "the file ends before its 'end' line (cut short?)");
    return finish(no);
}

bool Reader::once(int no, const std::string& key, int& seenOn)
{
    if (seenOn)
        return fail(no, "'" + key + "' given twice (first on line " + std::to_string(seenOn) + ")");
    seenOn = no;
    return true;
}

bool Reader::wholeNumber(const std::string& w, long lo, long hi, long& v) const
{
    if (w.empty() || w.size() > 12)
        return false;
    errno = 0;
    char* end = nullptr;
    const long x = std::strtol(w.c_str(), &end, 10);
    if (errno || *end || x < lo || x > hi)
        return false;
    v = x;
    return true;
}

bool Reader::realNumber(const std::string& w, double& v) const
{
    if (w.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const double x = std::strtod(w.c_str(), &end);
    if (errno || *end || !std::isfinite(x))
        return false;
    v = x;
    return true;
}

bool Reader::altitude(const std::string& w, Altitude& a) const
{
    std::string num = w;
    double scale = 1.0;
    a.inRadii = false;
    if (num.size() > 1 && num.back() == 'R') {
        num.pop_back();
        a.inRadii = true;
    } else if (num.size() > 2 && num.compare(num.size() - 2, 2, "km") == 0) {
        num.resize(num.size() - 2);
        scale = 1000.0;
    } else if (num.size() > 1 && num.back() == 'm') {
        num.pop_back();
    }
    double v = 0;
    if (!realNumber(num, v) || v < 0)
        return false;
    if (a.inRadii ? v > 100.0 : v * scale > 1e10)
        return false;
    a.value = v * scale;
    return true;
}

bool Reader::angle(int no, const Words& words, std::size_t at, const char* key, double limit, double& rad)
{
    if (at + 1 >= words.size() || words[at] != key)
        return fail(no, std::string("'at' expects '") + key + " DEGREES' here");
    double deg = 0;
    if (!realNumber(words[at + 1], deg) || std::fabs(deg) > limit)
        return fail(no,
            std::string("'") + key + "' needs degrees from " + std::to_string(int(-limit)) + " to "
                + std::to_string(int(limit)) + ", not '" + words[at + 1] + "'");
    rad = deg * degree;
    return true;
}

// at STEP BODY (alt ALTITUDE | landed) lng DEGREES lat DEGREES
bool Reader::waypoint(int no, const Words& words)
{
    const char* usage = "'at' needs: at STEP BODY alt ALTITUDE lng DEGREES lat DEGREES (or 'landed' for 'alt "
                        "ALTITUDE')";
    if (words.size() < 3)
        return fail(no, usage);
    Waypoint w;
    w.line = no;
    long step = 0;
    if (!wholeNumber(words[1], 0, maxSteps, step))
        return fail(no, "'at' needs a step number from 0 to " + std::to_string(maxSteps) + ", not '" + words[1] + "'");
    w.step = int(step);
    if (!out_.path.empty() && w.step <= out_.path.back().step)
        return fail(no,
            "waypoint steps must increase: step " + std::to_string(w.step) + " follows step "
                + std::to_string(out_.path.back().step) + " (line " + std::to_string(out_.path.back().line) + ")");
    if (!bodiesLine_)
        return fail(no, "'at' before 'bodies': name the bodies first");
    w.body = words[2];
    if (std::find(out_.bodies.begin(), out_.bodies.end(), w.body) == out_.bodies.end())
        return fail(no, "body '" + w.body + "' is not one of the scenario's 'bodies'");
    std::size_t i = 3;
    if (i < words.size() && words[i] == "landed") {
        w.landed = true;
        i += 1;
    } else if (i + 1 < words.size() && words[i] == "alt") {
        if (!altitude(words[i + 1], w.altitude))
            return fail(no,
                "'alt' needs a height of 0 or more: metres ('2500' or '2500m'), kilometres ('12km') "
                "or body radii up to 100 ('0.6R'), not '"
                    + words[i + 1] + "'");
        i += 2;
    } else {
        return fail(no, usage);
    }
    if (!angle(no, words, i, "lng", 360.0, w.longitude) || !angle(no, words, i + 2, "lat", 90.0, w.latitude))
        return false;
    if (words.size() != i + 4)
        return fail(no, "unexpected '" + words[i + 4] + "' after the waypoint");
    out_.path.push_back(w);
    return true;
}

// view STEP (planet | horizon) DEGREES
bool Reader::view(int no, const Words& words)
{
    if (words.size() != 4)
        return fail(no, "'view' needs: view STEP planet|horizon FIELD_OF_VIEW_DEGREES");
    ViewChange c;
    c.line = no;
    long step = 0;
    if (!wholeNumber(words[1], 0, maxSteps, step))
        return fail(
            no, "'view' needs a step number from 0 to " + std::to_string(maxSteps) + ", not '" + words[1] + "'");
    c.step = int(step);
    if (!out_.views.empty() && c.step <= out_.views.back().step)
        return fail(no,
            "view steps must increase: step " + std::to_string(c.step) + " follows step "
                + std::to_string(out_.views.back().step) + " (line " + std::to_string(out_.views.back().line) + ")");
    if (words[2] == "planet")
        c.mode = ViewMode::Planet;
    else if (words[2] == "horizon")
        c.mode = ViewMode::Horizon;
    else
        return fail(no, "'view' needs 'planet' or 'horizon', not '" + words[2] + "'");
    if (!realNumber(words[3], c.fieldOfView) || c.fieldOfView < minFieldOfView || c.fieldOfView > maxFieldOfView)
        return fail(no,
            "'view' needs a field of view from " + std::to_string(int(minFieldOfView)) + " to "
                + std::to_string(int(maxFieldOfView)) + " degrees, not '" + words[3] + "'");
    out_.views.push_back(c);
    return true;
}

bool Reader::endLine(int no, const Words& words)
{
    if (words.size() > 1)
        return fail(no, "'end' takes nothing after it");
    ended_ = true;
    return true;
}

bool Reader::nameLine(int no, const Words& words)
{
    if (!once(no, words[0], nameLine_))
        return false;
    if (words.size() != 2 || words[1].size() > maxNameLength)
        return fail(no, "'name' needs one word of at most " + std::to_string(maxNameLength) + " characters");
    out_.name = words[1];
    return true;
}

bool Reader::bodiesLine(int no, const Words& words)
{
    if (!once(no, words[0], bodiesLine_))
        return false;
    const std::size_t n = words.size() - 1;
    if (n < 1 || n > maxBodies)
        return fail(no, "'bodies' needs 1 to " + std::to_string(maxBodies) + " body names");
    for (std::size_t i = 1; i <= n; ++i) {
        if (words[i].size() > maxNameLength)
            return fail(no, "body name '" + words[i] + "' is too long");
        if (std::find(out_.bodies.begin(), out_.bodies.end(), words[i]) != out_.bodies.end())
            return fail(no, "body '" + words[i] + "' named twice");
        out_.bodies.push_back(words[i]);
    }
    return true;
}

bool Reader::cameraLine(int no, const Words& words)
{
    if (!once(no, words[0], cameraLine_))
        return false;
    if (words.size() == 2 && words[1] == "external")
        out_.camera = CameraMode::External;
    else if (words.size() == 2 && words[1] == "cockpit")
        out_.camera = CameraMode::Cockpit;
    else
        return fail(no, "'camera' needs 'external' or 'cockpit'");
    return true;
}

bool Reader::stepsLine(int no, const Words& words)
{
    long v = 0;
    if (!once(no, words[0], stepsLine_))
        return false;
    if (words.size() != 2 || !wholeNumber(words[1], 1, maxSteps, v))
        return fail(no, "'steps' needs one whole number from 1 to " + std::to_string(maxSteps));
    out_.steps = int(v);
    return true;
}

bool Reader::stepLine(int no, const Words& words)
{
    double x = 0;
    if (!once(no, words[0], stepLine_))
        return false;
    if (words.size() != 2 || !realNumber(words[1], x) || x <= 0 || x > 3600)
        return fail(no, "'step' needs a step length in seconds, above 0 and at most 3600");
    out_.stepLength = x;
    return true;
}

bool Reader::timeaccLine(int no, const Words& words)
{
    double x = 0;
    if (!once(no, words[0], accLine_))
        return false;
    if (words.size() != 2 || !realNumber(words[1], x) || x < 1 || x > 100000)
        return fail(no, "'timeacc' needs a time acceleration from 1 to 100000");
    out_.timeAcceleration = x;
    return true;
}

bool Reader::hostversionLine(int no, const Words& words)
{
    long v = 0;
    if (!once(no, words[0], versionLine_))
        return false;
    if (words.size() != 2 || !wholeNumber(words[1], 1, 999999, v))
        return fail(no, "'hostversion' needs the host's version as YYMMDD, a whole number from 1 to 999999");
    out_.hostVersion = int(v);
    return true;
}

bool Reader::eitherWord(int no, const Words& words, const char* first, const char* second, int& seenOn, int& out)
{
    if (!once(no, words[0], seenOn))
        return false;
    if (words.size() == 2 && (words[1] == first || words[1] == second)) {
        out = words[1] == first ? 0 : 1;
        return true;
    }
    return fail(no, "'" + words[0] + "' needs '" + first + "' or '" + second + "'");
}

bool Reader::terrainLine(int no, const Words& words)
{
    return eitherWord(no, words, "off", "on", terrainLine_, out_.terrain);
}

bool Reader::graphicsLine(int no, const Words& words)
{
    return eitherWord(no, words, "builtin", "client", graphicsLine_, out_.graphics);
}

bool Reader::renderLine(int no, const Words& words)
{
    const std::size_t n = words.size() - 1;
    long v = 0;
    if (n == 2 && words[1] == "every") {
        if (!once(no, "render every", everyLine_))
            return false;
        if (!wholeNumber(words[2], 1, maxSteps, v))
            return fail(no, "'render every' needs a whole number of steps from 1 to " + std::to_string(maxSteps));
        out_.renderEvery = int(v);
        return true;
    }
    if (n == 0)
        return fail(no, "'render' needs step numbers, or 'every N'");
    for (std::size_t i = 1; i <= n; ++i) {
        if (!wholeNumber(words[i], 0, maxSteps, v))
            return fail(
                no, "'render' needs step numbers from 0 to " + std::to_string(maxSteps) + ", not '" + words[i] + "'");
        out_.renderSteps.push_back(int(v));
        renderLines_.push_back(no);
    }
    return true;
}

bool Reader::headerLine(int no, const Words& words)
{
    if (words[0] != "skyveil-scenario")
        return fail(no, "not a scenario file: the first line must be 'skyveil-scenario 1'");
    if (words.size() != 2 || words[1] != "1")
        return fail(no, "unsupported scenario format version (this program reads 'skyveil-scenario 1')");
    header_ = true;
    return true;
}

bool Reader::line(int no, const Words& words)
{
    if (!header_)
        return headerLine(no, words);
    // Every keyword after the header line, with the member that reads its line.
    static const struct {
        const char* key;
        bool (Reader::*read)(int, const Words&);
    } keywords[] = {
        {"end", &Reader::endLine},
        {"name", &Reader::nameLine},
        {"bodies", &Reader::bodiesLine},
        {"camera", &Reader::cameraLine},
        {"steps", &Reader::stepsLine},
        {"step", &Reader::stepLine},
        {"timeacc", &Reader::timeaccLine},
        {"hostversion", &Reader::hostversionLine},
        {"terrain", &Reader::terrainLine},
        {"graphics", &Reader::graphicsLine},
        {"render", &Reader::renderLine},
        {"at", &Reader::waypoint},
        {"view", &Reader::view},
    };
    for (const auto& k : keywords) {
        if (words[0] == k.key)
            return (this->*k.read)(no, words);
    }
    return fail(no, "unknown keyword '" + words[0] + "'");
}

bool Reader::finish(int lastLine)
{
    if (!stepsLine_)
        return fail(lastLine, "no 'steps' line: how many steps to fly?");
    if (!bodiesLine_)
        return fail(lastLine, "no 'bodies' line");
    if (out_.path.empty())
        return fail(lastLine, "no waypoints: add 'at 0 BODY alt ALTITUDE lng DEGREES lat DEGREES'");
    if (out_.path.front().step != 0)
        return fail(out_.path.front().line, "the first waypoint must be at step 0");
    for (const Waypoint& w : out_.path) {
        if (w.step >= out_.steps)
            return fail(w.line,
                "waypoint step " + std::to_string(w.step) + " lies beyond the last step ("
                    + std::to_string(out_.steps - 1) + ")");
    }
    for (const ViewChange& c : out_.views) {
        if (c.step >= out_.steps)
            return fail(c.line,
                "view step " + std::to_string(c.step) + " lies beyond the last step (" + std::to_string(out_.steps - 1)
                    + ")");
    }
    for (std::size_t i = 0; i < out_.renderSteps.size(); ++i) {
        if (out_.renderSteps[i] >= out_.steps)
            return fail(renderLines_[i],
                "render step " + std::to_string(out_.renderSteps[i]) + " lies beyond the last step ("
                    + std::to_string(out_.steps - 1) + ")");
    }
    std::sort(out_.renderSteps.begin(), out_.renderSteps.end());
    out_.renderSteps.erase(std::unique(out_.renderSteps.begin(), out_.renderSteps.end()), out_.renderSteps.end());
    if (out_.name.empty())
        out_.name = "scenario";
    return true;
}

} // namespace

std::string ScenarioError::message() const
{
    if (line > 0)
        return file + ":" + std::to_string(line) + ": " + what;
    return file + ": " + what;
}

bool parseScenario(const std::string& text, const std::string& file, Scenario& out, ScenarioError& err)
{
    Reader r(file, out, err);
    return r.run(text);
}

bool loadScenario(const std::string& nameOrPath, Scenario& out, ScenarioError& err)
{
    if (const char* text = builtinScenarioText(nameOrPath))
        return parseScenario(text, "built-in scenario '" + nameOrPath + "'", out, err);
    std::ifstream in(nameOrPath, std::ios::binary);
    if (!in) {
        err.file = nameOrPath;
        err.line = 0;
        err.what = "no such built-in scenario, and no readable file of that name";
        return false;
    }
    // A scenario is a few hundred bytes; anything near this is not one.
    const std::streamsize limit = 1 << 20;
    std::string text;
    text.resize(std::size_t(limit) + 1);
    in.read(&text[0], limit + 1);
    text.resize(std::size_t(in.gcount()));
    if (in.bad()) {
        err.file = nameOrPath;
        err.line = 0;
        err.what = "could not be read";
        return false;
    }
    if (text.size() > std::size_t(limit)) {
        err.file = nameOrPath;
        err.line = 0;
        err.what = "larger than 1 MiB: not a scenario file";
        return false;
    }
    return parseScenario(text, nameOrPath, out, err);
}

Scenario rescaleScenario(const Scenario& s, int steps)
{
    Scenario r = s;
    if (steps < 1 || s.steps < 1)
        return r;
    r.steps = steps;
    const double k = double(steps - 1) / double(std::max(1, s.steps - 1));
    int prev = -1;
    for (Waypoint& w : r.path) {
        int at = int(std::lround(w.step * k));
        at = std::max(at, prev + 1);
        w.step = std::min(at, steps - 1);
        prev = w.step;
    }
    // Waypoints squeezed onto the last step would no longer ascend; keep only the last of them.
    std::vector<Waypoint> kept;
    for (const Waypoint& w : r.path) {
        if (!kept.empty() && w.step <= kept.back().step)
            kept.back() = w;
        else
            kept.push_back(w);
    }
    r.path = kept;
    std::vector<ViewChange> views;
    for (ViewChange c : r.views) {
        c.step = std::min(steps - 1, int(std::lround(c.step * k)));
        if (!views.empty() && c.step <= views.back().step)
            views.back() = c;
        else
            views.push_back(c);
    }
    r.views = views;
    for (int& st : r.renderSteps)
        st = std::min(steps - 1, int(std::lround(st * k)));
    std::sort(r.renderSteps.begin(), r.renderSteps.end());
    r.renderSteps.erase(std::unique(r.renderSteps.begin(), r.renderSteps.end()), r.renderSteps.end());
    if (r.renderEvery > 0)
        r.renderEvery = std::max(1, int(std::lround(r.renderEvery * k)));
    return r;
}

ViewChange viewAt(const Scenario& s, int step)
{
    ViewChange v;
    for (const ViewChange& c : s.views) {
        if (c.step > step)
            break;
        v = c;
    }
    return v;
}

std::vector<int> renderPlan(const Scenario& s)
{
    std::vector<int> plan;
    for (int st : s.renderSteps) {
        if (st >= 0 && st < s.steps)
            plan.push_back(st);
    }
    if (s.renderEvery > 0) {
        for (int st = 0; st < s.steps; st += s.renderEvery)
            plan.push_back(st);
    }
    if (!plan.empty() && s.steps > 0)
        plan.push_back(s.steps - 1);
    std::sort(plan.begin(), plan.end());
    plan.erase(std::unique(plan.begin(), plan.end()), plan.end());
    return plan;
}

PathPoint samplePathWith(const Scenario& s, double step, double (*radiusOf)(const std::string&, void*), void* ctx)
{
    PathPoint p;
    if (s.path.empty())
        return p;
    auto place = [&](const Waypoint& w) {
        PathPoint q;
        q.body = w.body;
        q.landed = w.landed;
        q.altitude = w.landed ? 0.0 : altitudeMetres(w.altitude, radiusOf(w.body, ctx));
        q.longitude = w.longitude;
        q.latitude = w.latitude;
        return q;
    };
    if (step <= s.path.front().step)
        return place(s.path.front());
    for (std::size_t i = 0; i + 1 < s.path.size(); ++i) {
        const Waypoint& a = s.path[i];
        const Waypoint& b = s.path[i + 1];
        if (step >= b.step)
            continue;
        PathPoint pa = place(a);
        if (a.body != b.body)
            return pa;
        const PathPoint pb = place(b);
        const double t = (step - a.step) / double(b.step - a.step);
        // Even steps in log(altitude + 1 km): a descent from orbit spends its time where detail changes.
        const double la = std::log(pa.altitude + 1000.0);
        const double lb = std::log(pb.altitude + 1000.0);
        p.body = a.body;
        p.altitude = std::max(0.0, std::exp(la + (lb - la) * t) - 1000.0);
        p.landed = a.landed && b.landed;
        p.longitude = pa.longitude + (pb.longitude - pa.longitude) * t;
        p.latitude = pa.latitude + (pb.latitude - pa.latitude) * t;
        return p;
    }
    return place(s.path.back());
}

} // namespace skysim
