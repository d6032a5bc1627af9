#include "plot.h"

#include "font.h"
#include "summary.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace skysim {

namespace {

struct Panel {
    std::string label;
    std::function<double(const TraceRow&)> value;
    float rgb[3];
    double lo, hi;
    std::vector<double> marks; // horizontal reference lines
    std::string note; // named steps, shown at the panel's top right
    // A second curve against the first (its colour and label), drawn first; steps where either
    // value is missing (NaN) leave a gap.
    std::function<double(const TraceRow&)> against = nullptr;
    float againstRgb[3] = {0, 0, 0};
    std::string againstLabel = "";
};

std::string number(double v)
{
    char buf[32];
    if (std::fabs(v) >= 10 || v == 0)
        std::snprintf(buf, sizeof buf, "%.0f", v);
    else
        std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

// A scale top above the typical values, so that one warm-up step does not flatten the rest.
double robustTop(const std::vector<TraceRow>& rows, const std::function<double(const TraceRow&)>& f)
{
    std::vector<double> v;
    v.reserve(rows.size());
    for (const TraceRow& r : rows)
        v.push_back(f(r));
    if (v.empty())
        return 1;
    std::sort(v.begin(), v.end());
    const double p95 = v[std::min(v.size() - 1, std::size_t(double(v.size()) * 0.95))];
    const double top = std::max(p95 * 1.6, v.back() <= p95 * 3 ? v.back() * 1.05 : 0.0);
    return top > 0 ? top : 1;
}

void line(double x0, double y0, double x1, double y1)
{
    glBegin(GL_LINES);
    glVertex2d(x0, y0);
    glVertex2d(x1, y1);
    glEnd();
}

// The add-on panel's label and note: its median, p99 and worst, and the warm-up steps by name.
void addonTexts(const std::vector<TraceRow>& rows, double top, std::string& label, std::string& note)
{
    const FlightSummary sum = summarise(rows);
    label = "ADD-ON TIME PER STEP (US)";
    if (sum.addonWorstStep >= 0) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "ADD-ON TIME PER STEP (US): MEDIAN %s  P99 %s  WORST %s (STEP %d%s)",
            number(sum.addonMedianUs).c_str(), number(sum.addonP99Us).c_str(), number(sum.addonWorstUs).c_str(),
            sum.addonWorstStep, sum.addonWorstUs > top ? ", OFF SCALE" : "");
        label = buf;
    }
    note.clear();
    bool offScale = false;
    for (const auto& warm : sum.warmups) {
        offScale = offScale || warm.second > top;
        note += (note.empty() ? "WARM-UP STEP " : ", STEP ") + std::to_string(warm.first) + ": " + number(warm.second);
    }
    if (offScale)
        note += " (OFF SCALE)";
}

// The drawn shell straight over the vessel against the vessel's own height, both over the ground [km],
// on a scale around the shell: whether the vessel flew over or under the veil, and how far the flat
// facets overhead sag below the 10 km of their vertices.
Panel heightPanel(const std::vector<TraceRow>& rows)
{
    double lo = 0, hi = 20;
    for (const TraceRow& r : rows) {
        if (r.hasShell)
            lo = std::min(lo, std::floor(r.shellAltitude / 5000.0) * 5.0);
    }
    Panel p {"DRAWN SHELL OVER THE VESSEL (KM OVER THE GROUND)",
        [](const TraceRow& r) { return r.hasShell ? r.shellAltitude / 1000.0 : std::nan(""); }, {0.2f, 0.45f, 0.9f}, lo,
        hi, {0.0, 10.0}, ""};
    p.against = [](const TraceRow& r) { return r.altitude / 1000.0; };
    p.againstRgb[0] = p.againstRgb[1] = p.againstRgb[2] = 0.35f;
    p.againstLabel = "VESSEL";
    return p;
}

// The five panels: camera distance, leaves shown, add-on time, haze factor, and the drawn shell's height.
std::vector<Panel> makePanels(const std::vector<TraceRow>& rows)
{
    double camTop = 2.5;
    int maxLeaves = 0;
    for (const TraceRow& r : rows) {
        camTop = std::max(camTop, std::min(r.cameraRadii * 1.05, 20.0));
        maxLeaves = std::max(maxLeaves, r.leaves);
    }
    const auto addon = [](const TraceRow& r) { return r.addonUs; };
    const double addonTop = robustTop(rows, addon);
    std::string addonLabel, addonNote;
    addonTexts(rows, addonTop, addonLabel, addonNote);
    std::vector<Panel> panels = {
        {"CAMERA DISTANCE (RADII)", [](const TraceRow& r) { return r.cameraRadii; }, {0.3f, 0.3f, 0.3f}, 0, camTop,
            {2.0, 1.5, 1.25}, ""},
        {"LEAVES SHOWN", [](const TraceRow& r) { return double(r.leaves); }, {0.1f, 0.55f, 0.2f}, 0,
            std::max(10.0, maxLeaves * 1.1), {1023}, ""},
        {addonLabel, addon, {0.85f, 0.4f, 0.05f}, 0, addonTop, {}, addonNote},
        {"HAZE FACTOR", [](const TraceRow& r) { return r.haze; }, {0.2f, 0.45f, 0.9f}, 0, 1.05, {}, ""},
        heightPanel(rows),
    };
    if (maxLeaves < 900)
        panels[1].marks.clear();
    return panels;
}

// The horizontal placement shared by the panels: steps from the first row's to the last row's.
struct StepAxis {
    double left = 0, right = 0, firstStep = 0, span = 1;
    double x(double step) const { return left + (right - left) * (step - firstStep) / span; }
};

// A curve of f over the steps, broken where f is NaN; returns its largest value.
double curve(const std::vector<TraceRow>& rows, const StepAxis& ax, const std::function<double(const TraceRow&)>& f,
    const std::function<double(double)>& yOf)
{
    glLineWidth(1.5f);
    double worst = 0;
    bool open = false;
    for (const TraceRow& r : rows) {
        const double v = f(r);
        if (std::isnan(v)) {
            if (open)
                glEnd();
            open = false;
            continue;
        }
        if (!open)
            glBegin(GL_LINE_STRIP);
        open = true;
        glVertex2d(ax.x(r.step), yOf(v));
        worst = std::max(worst, v);
    }
    if (open)
        glEnd();
    glLineWidth(1.0f);
    return worst;
}

// One panel between y0 (top) and y1 (bottom): steps with a carrier shaded, axes, reference lines,
// the curve, and a note at the top right (values beyond the scale are named, not hidden).
void drawPanel(const Panel& pn, const std::vector<TraceRow>& rows, const StepAxis& ax, double y0, double y1)
{
    const std::function<double(double)> yOf
        = [&](double v) { return y1 - (y1 - y0) * (std::clamp(v, pn.lo, pn.hi) - pn.lo) / (pn.hi - pn.lo); };
    glColor3f(0.92f, 0.94f, 0.98f);
    glBegin(GL_QUADS);
    for (const TraceRow& r : rows) {
        if (!r.carrier)
            continue;
        const double xa = std::max(ax.left, ax.x(r.step - 0.5)), xb = std::min(ax.right, ax.x(r.step + 0.5));
        glVertex2d(xa, y0);
        glVertex2d(xb, y0);
        glVertex2d(xb, y1);
        glVertex2d(xa, y1);
    }
    glEnd();
    glColor3f(0.75f, 0.75f, 0.75f);
    for (double m : pn.marks) {
        if (m > pn.lo && m < pn.hi)
            line(ax.left, yOf(m), ax.right, yOf(m));
    }
    glColor3f(0, 0, 0);
    line(ax.left, y0, ax.left, y1);
    line(ax.left, y1, ax.right, y1);
    drawText(ax.left, y0 - 14, 1, pn.label);
    const std::string hi = number(pn.hi), lo = number(pn.lo);
    drawText(ax.left - 6 - textWidth(hi, 1), y0, 1, hi);
    drawText(ax.left - 6 - textWidth(lo, 1), y1 - 7, 1, lo);
    for (double m : pn.marks) {
        if (m > pn.lo && m < pn.hi) {
            const std::string s = number(m);
            drawText(ax.left - 6 - textWidth(s, 1), yOf(m) - 3, 1, s);
        }
    }
    if (pn.against) {
        glColor3fv(pn.againstRgb);
        curve(rows, ax, pn.against, yOf);
        glColor3fv(pn.againstRgb);
        drawText(ax.right - textWidth(pn.againstLabel, 1) - 4, y0 + 4, 1, pn.againstLabel);
    }
    glColor3fv(pn.rgb);
    const double worst = curve(rows, ax, pn.value, yOf);
    // A panel naming its own steps gives its worst in the label.
    std::string note = pn.note;
    if (worst > pn.hi && note.empty())
        note = "PEAK " + number(worst) + " (OFF SCALE)";
    if (!note.empty()) {
        glColor3f(0.6f, 0.1f, 0.1f);
        drawText(ax.right - textWidth(note, 1), y0 - 14, 1, note);
    }
}

} // namespace

std::vector<std::uint8_t> renderPlot(Offscreen& gl, const std::vector<TraceRow>& rows, const std::string& title)
{
    const int w = gl.width(), h = gl.height();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginPixelView(w, h);
    glColor3f(0, 0, 0);
    drawText(10, 8, 2, title);

    StepAxis ax;
    ax.left = 80;
    ax.right = w - 16;
    ax.firstStep = rows.empty() ? 0 : rows.front().step;
    ax.span = std::max(1.0, (rows.empty() ? 1 : rows.back().step) - ax.firstStep);
    const double top0 = 34, bottom = h - 34;
    const std::vector<Panel> panels = makePanels(rows);
    const double panelH = (bottom - top0) / double(panels.size());
    for (std::size_t p = 0; p < panels.size(); ++p)
        drawPanel(panels[p], rows, ax, top0 + double(p) * panelH + 16, top0 + double(p + 1) * panelH - 6);

    glColor3f(0, 0, 0);
    for (int k = 0; k <= 5; ++k) {
        const double step = ax.firstStep + ax.span * k / 5.0;
        const std::string s = number(std::round(step));
        drawText(ax.x(step) - textWidth(s, 1) / 2.0, bottom + 4, 1, s);
    }
    drawText((ax.left + ax.right) / 2 - textWidth("STEP", 1) / 2.0, bottom + 16, 1, "STEP");
    return gl.readRGB();
}

} // namespace skysim
