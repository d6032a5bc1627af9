// The demo behind skyveil-sim's command line: the scenario run (scenariorun.h) with the pictures at
// the chosen steps and the plot of the trace.
#pragma once

#include "options.h"

#include <ostream>
#include <string>

namespace skysim {

// Runs what the options ask for. `defaultRoot` is the root tree used without --root; `showProgress`
// says whether stdout is a terminal. Writes the summary and any complaint to `out`/`err`. Returns the
// process exit code: 0 done, 1 the run failed, 2 bad options or scenario.
int runDemo(
    const Options& opt, const std::string& defaultRoot, bool showProgress, std::ostream& out, std::ostream& err);

} // namespace skysim
