// The summary printed at the end of a flight, computed from its trace.
#pragma once

#include "trace.h"

#include <string>
#include <vector>

namespace skysim {

struct FlightSummary {
    int steps = 0;
    int carrierCreated = 0; // steps on which a carrier appeared
    int carrierDeleted = 0; // steps on which it disappeared
    int reanchors = 0;
    int restarts = 0; // first engine start plus each change of body under an existing carrier
    double engineMedianUs = 0; // add-on time per step, over the steps that ended with a carrier
    double engineWorstUs = 0;
    int engineWorstStep = -1;
    int peakLeaves = 0;
    int peakLeavesStep = -1;
    bool hasShell = false; // any step showed the shell under the observer
    double shellMin = 0, shellMax = 0; // shell height over the ground under the observer [m]
    double shellLast = 0;
};

// Counts and statistics over the rows, in step order.
FlightSummary summarise(const std::vector<TraceRow>& rows);

// The summary as lines of text for a person, listing the files written.
std::string formatSummary(const FlightSummary& s, const std::vector<std::string>& files);

} // namespace skysim
