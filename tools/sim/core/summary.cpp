#include "summary.h"

#include <algorithm>
#include <cstdio>

namespace skysim {

FlightSummary summarise(const std::vector<TraceRow>& rows)
{
    FlightSummary s;
    s.steps = int(rows.size());
    std::vector<double> engine;
    bool carrierBefore = false;
    std::string engineBody;
    bool engineBodyKnown = false;
    for (const TraceRow& r : rows) {
        if (r.carrier && !carrierBefore)
            ++s.carrierCreated;
        if (!r.carrier && carrierBefore)
            ++s.carrierDeleted;
        carrierBefore = r.carrier;
        if (r.reanchor)
            ++s.reanchors;
        if (r.carrier) {
            // The engine restarts on its first call and whenever the body's name changes; it keeps its
            // body while no carrier exists.
            if (!engineBodyKnown || r.body != engineBody)
                ++s.restarts;
            engineBody = r.body;
            engineBodyKnown = true;
            engine.push_back(r.engineUs);
            if (s.engineWorstStep < 0 || r.engineUs > s.engineWorstUs) {
                s.engineWorstUs = r.engineUs;
                s.engineWorstStep = r.step;
            }
        }
        if (r.leaves > s.peakLeaves) {
            s.peakLeaves = r.leaves;
            s.peakLeavesStep = r.step;
        }
        if (r.hasShell) {
            s.shellMin = s.hasShell ? std::min(s.shellMin, r.shellAltitude) : r.shellAltitude;
            s.shellMax = s.hasShell ? std::max(s.shellMax, r.shellAltitude) : r.shellAltitude;
            s.shellLast = r.shellAltitude;
            s.hasShell = true;
        }
    }
    if (!engine.empty()) {
        std::sort(engine.begin(), engine.end());
        const std::size_t n = engine.size();
        s.engineMedianUs = n % 2 ? engine[n / 2] : 0.5 * (engine[n / 2 - 1] + engine[n / 2]);
    }
    return s;
}

std::string formatSummary(const FlightSummary& s, const std::vector<std::string>& files)
{
    std::string out;
    char buf[256];
    auto line = [&](const char* fmt, auto... args) {
        std::snprintf(buf, sizeof buf, fmt, args...);
        out += buf;
        out += '\n';
    };
    line("steps flown             %d", s.steps);
    line("carrier created/deleted %d / %d", s.carrierCreated, s.carrierDeleted);
    line("re-anchors              %d", s.reanchors);
    line("engine restarts         %d", s.restarts);
    if (s.engineWorstStep >= 0)
        line("add-on time per step    median %.0f us, worst %.0f us (step %d)", s.engineMedianUs, s.engineWorstUs,
            s.engineWorstStep);
    else
        out += "add-on time per step    (no carrier during the flight)\n";
    line("peak leaves shown       %d%s", s.peakLeaves, s.peakLeaves >= 1023 ? " (the mesh's 1023-group cap)" : "");
    if (s.hasShell)
        line("shell over the ground   %.1f m at the end (%.1f to %.1f m over the flight)", s.shellLast, s.shellMin,
            s.shellMax);
    else
        out += "shell over the ground   (no shell drawn under the observer)\n";
    if (!files.empty()) {
        line("files written           %d:", int(files.size()));
        for (const std::string& f : files)
            out += "  " + f + "\n";
    }
    return out;
}

} // namespace skysim
