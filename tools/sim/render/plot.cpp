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

} // namespace

std::vector<std::uint8_t> renderPlot(Offscreen& gl, const std::vector<TraceRow>& rows, const std::string& title)
{
    const int w = gl.width(), h = gl.height();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginPixelView(w, h);

    double camTop = 2.5;
    for (const TraceRow& r : rows)
        camTop = std::max(camTop, std::min(r.cameraRadii * 1.05, 20.0));
    const auto addon = [](const TraceRow& r) { return r.addonUs; };
    const FlightSummary sum = summarise(rows);
    const double addonTop = robustTop(rows, addon);
    char addonLabel[160] = "ADD-ON TIME PER STEP (US)";
    if (sum.addonWorstStep >= 0)
        std::snprintf(addonLabel, sizeof addonLabel,
            "ADD-ON TIME PER STEP (US): MEDIAN %s  P99 %s  WORST %s (STEP %d%s)", number(sum.addonMedianUs).c_str(),
            number(sum.addonP99Us).c_str(), number(sum.addonWorstUs).c_str(), sum.addonWorstStep,
            sum.addonWorstUs > addonTop ? ", OFF SCALE" : "");
    std::string warmups;
    bool warmupOffScale = false;
    for (const auto& warm : sum.warmups) {
        warmupOffScale = warmupOffScale || warm.second > addonTop;
        warmups += (warmups.empty() ? "WARM-UP STEP " : ", STEP ") + std::to_string(warm.first) + ": "
            + number(warm.second);
    }
    if (warmupOffScale)
        warmups += " (OFF SCALE)";
    Panel panels[4] = {
        {"CAMERA DISTANCE (RADII)", [](const TraceRow& r) { return r.cameraRadii; }, {0.3f, 0.3f, 0.3f}, 0, camTop,
            {2.0, 1.5, 1.25}, ""},
        {"LEAVES SHOWN", [](const TraceRow& r) { return double(r.leaves); }, {0.1f, 0.55f, 0.2f}, 0, 1, {1023}, ""},
        {addonLabel, addon, {0.85f, 0.4f, 0.05f}, 0, addonTop, {}, warmups},
        {"HAZE FACTOR", [](const TraceRow& r) { return r.haze; }, {0.2f, 0.45f, 0.9f}, 0, 1.05, {}, ""},
    };
    int maxLeaves = 0;
    for (const TraceRow& r : rows)
        maxLeaves = std::max(maxLeaves, r.leaves);
    panels[1].hi = std::max(10.0, maxLeaves * 1.1);
    if (maxLeaves < 900)
        panels[1].marks.clear();

    glColor3f(0, 0, 0);
    drawText(10, 8, 2, title);
    const double left = 80, right = w - 16, top0 = 34, bottom = h - 34;
    const double panelH = (bottom - top0) / 4.0;
    const int n = int(rows.size());
    const double firstStep = n ? rows.front().step : 0, lastStep = n ? rows.back().step : 1;
    const double span = std::max(1.0, lastStep - firstStep);
    auto xOf = [&](double step) { return left + (right - left) * (step - firstStep) / span; };

    for (int p = 0; p < 4; ++p) {
        const Panel& pn = panels[p];
        const double y0 = top0 + p * panelH + 16, y1 = top0 + (p + 1) * panelH - 6;
        auto yOf = [&](double v) { return y1 - (y1 - y0) * (std::clamp(v, pn.lo, pn.hi) - pn.lo) / (pn.hi - pn.lo); };
        // Shade the steps with a carrier.
        glColor3f(0.92f, 0.94f, 0.98f);
        glBegin(GL_QUADS);
        for (int i = 0; i < n; ++i) {
            if (!rows[i].carrier)
                continue;
            const double xa = xOf(rows[i].step - 0.5), xb = xOf(rows[i].step + 0.5);
            glVertex2d(std::max(left, xa), y0);
            glVertex2d(std::min(right, xb), y0);
            glVertex2d(std::min(right, xb), y1);
            glVertex2d(std::max(left, xa), y1);
        }
        glEnd();
        glColor3f(0.75f, 0.75f, 0.75f);
        for (double m : pn.marks) {
            if (m > pn.lo && m < pn.hi)
                line(left, yOf(m), right, yOf(m));
        }
        glColor3f(0, 0, 0);
        line(left, y0, left, y1);
        line(left, y1, right, y1);
        drawText(left, y0 - 14, 1, pn.label);
        const std::string hi = number(pn.hi), lo = number(pn.lo);
        drawText(left - 6 - textWidth(hi, 1), y0, 1, hi);
        drawText(left - 6 - textWidth(lo, 1), y1 - 7, 1, lo);
        for (double m : pn.marks) {
            if (m > pn.lo && m < pn.hi) {
                const std::string s = number(m);
                drawText(left - 6 - textWidth(s, 1), yOf(m) - 3, 1, s);
            }
        }
        glColor3fv(pn.rgb);
        glLineWidth(1.5f);
        glBegin(GL_LINE_STRIP);
        for (const TraceRow& r : rows)
            glVertex2d(xOf(r.step), yOf(pn.value(r)));
        glEnd();
        glLineWidth(1.0f);
        // Values beyond the scale (a warm-up burst) are named, not hidden.
        double worst = 0;
        for (const TraceRow& r : rows)
            worst = std::max(worst, pn.value(r));
        // A panel naming its own steps gives its worst in the label.
        std::string note = pn.note;
        if (worst > pn.hi && note.empty())
            note = "PEAK " + number(worst) + " (OFF SCALE)";
        if (!note.empty()) {
            glColor3f(0.6f, 0.1f, 0.1f);
            drawText(right - textWidth(note, 1), y0 - 14, 1, note);
        }
    }
    glColor3f(0, 0, 0);
    for (int k = 0; k <= 5; ++k) {
        const double step = firstStep + span * k / 5.0;
        const std::string s = number(std::round(step));
        drawText(xOf(step) - textWidth(s, 1) / 2.0, bottom + 4, 1, s);
    }
    drawText((left + right) / 2 - textWidth("STEP", 1) / 2.0, bottom + 16, 1, "STEP");
    return gl.readRGB();
}

} // namespace skysim
