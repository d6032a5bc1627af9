// The summary printed at the end of a flight, computed from its trace.
#pragma once

#include "trace.h"

#include <string>
#include <utility>
#include <vector>

namespace skysim {

struct FlightSummary {
    int steps = 0;
    int carrierCreated = 0; // steps on which a carrier appeared
    int carrierDeleted = 0; // steps on which it disappeared
    int reanchors = 0;
    int restarts = 0; // first engine start plus each change of body under an existing carrier
    // The add-on's own time per step (addon_us) over the steps that ended with a carrier, the warm-up
    // bursts apart: a warm-up step is the first to show blocks after an engine restart.
    int addonSteps = 0;
    double addonMedianUs = 0, addonP99Us = 0, addonWorstUs = 0;
    int addonWorstStep = -1;
    bool addonWorstCreates = false; // the worst step is one that created the carrier (its files loaded)
    std::vector<std::pair<int, double>> warmups; // step and addon_us of each warm-up step
    double stepMinusBareMedianUs = 0; // median step_minus_bare_us over the steps with a carrier
    int peakLeaves = 0;
    int peakLeavesStep = -1;
    bool hasShell = false; // on some step the ray from the body's centre through the vessel crossed the shell
    double shellMin = 0, shellMax = 0; // the drawn shell's height over the ground straight over the vessel [m]
    double shellLast = 0;
    bool hasShellVertex = false; // some step drew blocks
    double shellVertexMin = 0, shellVertexMax = 0; // height of the block vertex nearest overhead [m]
    int shadowGroupsPeak = 0; // most groups of the carrier that cast a ground shadow on one step
    int shadowGroupsStep = -1; // the first step with that many, -1 if none ever did
};

// Counts and statistics over the rows, in step order.
FlightSummary summarise(const std::vector<TraceRow>& rows);

// The summary as lines of text for a person, listing the files written.
std::string formatSummary(const FlightSummary& s, const std::vector<std::string>& files);

} // namespace skysim
