#include "summary.h"

#include <algorithm>
#include <cstdio>

namespace skysim {

namespace {

double median(const std::vector<double>& sorted)
{
    const std::size_t n = sorted.size();
    if (n == 0)
        return 0;
    return n % 2 ? sorted[n / 2] : 0.5 * (sorted[n / 2 - 1] + sorted[n / 2]);
}

// Nearest rank: the smallest value that at least 99 % of the steps do not exceed.
double p99(const std::vector<double>& sorted)
{
    if (sorted.empty())
        return 0;
    const std::size_t rank = (sorted.size() * 99 + 99) / 100;
    return sorted[rank - 1];
}

} // namespace

FlightSummary summarise(const std::vector<TraceRow>& rows)
{
    FlightSummary s;
    s.steps = int(rows.size());
    std::vector<double> addon, overBare;
    bool carrierBefore = false;
    std::string engineBody;
    bool engineBodyKnown = false;
    bool warmupDue = false;
    for (const TraceRow& r : rows) {
        const bool created = r.carrier && !carrierBefore;
        if (created)
            ++s.carrierCreated;
        if (!r.carrier && carrierBefore)
            ++s.carrierDeleted;
        carrierBefore = r.carrier;
        if (r.reanchor)
            ++s.reanchors;
        if (r.carrier) {
            // The engine restarts on its first call and whenever the body's name changes; it keeps its
            // body while no carrier exists. A restart's warm-up burst runs on the first step that draws.
            if (!engineBodyKnown || r.body != engineBody) {
                ++s.restarts;
                warmupDue = true;
            }
            engineBody = r.body;
            engineBodyKnown = true;
            overBare.push_back(r.stepMinusBareUs);
            if (warmupDue && r.leaves > 0) {
                warmupDue = false;
                s.warmups.emplace_back(r.step, r.addonUs);
            } else {
                addon.push_back(r.addonUs);
                if (s.addonWorstStep < 0 || r.addonUs > s.addonWorstUs) {
                    s.addonWorstUs = r.addonUs;
                    s.addonWorstStep = r.step;
                    s.addonWorstCreates = created;
                }
            }
        }
        if (r.shadowGroups > s.shadowGroupsPeak) {
            s.shadowGroupsPeak = r.shadowGroups;
            s.shadowGroupsStep = r.step;
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
        if (r.hasShellVertex) {
            s.shellVertexMin
                = s.hasShellVertex ? std::min(s.shellVertexMin, r.shellVertexAltitude) : r.shellVertexAltitude;
            s.shellVertexMax
                = s.hasShellVertex ? std::max(s.shellVertexMax, r.shellVertexAltitude) : r.shellVertexAltitude;
            s.hasShellVertex = true;
        }
    }
    std::sort(addon.begin(), addon.end());
    std::sort(overBare.begin(), overBare.end());
    s.addonSteps = int(addon.size());
    s.addonMedianUs = median(addon);
    s.addonP99Us = p99(addon);
    s.stepMinusBareMedianUs = median(overBare);
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
    if (s.addonWorstStep >= 0)
        line("add-on time per step    median %.1f us, p99 %.1f us, worst %.1f us (step %d%s), over %d steps",
            s.addonMedianUs, s.addonP99Us, s.addonWorstUs, s.addonWorstStep,
            s.addonWorstCreates ? ": the carrier created" : "", s.addonSteps);
    else if (s.warmups.empty())
        out += "add-on time per step    (no carrier during the flight)\n";
    for (const auto& w : s.warmups)
        line("warm-up step            %d: %.0f us (the engine's refinement burst after a restart)", w.first, w.second);
    if (s.addonWorstStep >= 0 || !s.warmups.empty())
        line("step minus bare step    median %.0f us (the host's drawing of the carrier included)",
            s.stepMinusBareMedianUs);
    line("peak leaves shown       %d%s", s.peakLeaves, s.peakLeaves >= 1023 ? " (the mesh's 1023-group cap)" : "");
    if (s.hasShell)
        line("drawn shell overhead    %.1f m over the ground at the end, %.1f to %.1f m over the flight%s", s.shellLast,
            s.shellMin, s.shellMax, s.shellMin < 0 ? " (below 0: the flat facet overhead dips under the ground)" : "");
    else
        out += "drawn shell overhead    (no drawn triangle straight over the vessel)\n";
    if (s.hasShellVertex)
        line("shell vertex overhead   %.1f to %.1f m over the ground (the block vertex nearest overhead; the facets "
             "between vertices sag below them)",
            s.shellVertexMin, s.shellVertexMax);
    if (s.shadowGroupsStep >= 0)
        line("shadow-casting groups   %d at step %d (the carrier's groups must all carry \"no shadow\")",
            s.shadowGroupsPeak, s.shadowGroupsStep);
    else
        out += "shadow-casting groups   0 on every step\n";
    if (!files.empty()) {
        line("files written           %d:", int(files.size()));
        for (const std::string& f : files)
            out += "  " + f + "\n";
    }
    return out;
}

} // namespace skysim
