// A scenario flown as the command line asks, without pictures: the flight without the add-on that
// times the bare simulator, then the flight with it, the trace and the summary. The demo runner adds
// its pictures through the StepViewer; the Windows runner flies without one.
#pragma once

#include "flight.h"
#include "options.h"

#include <ostream>
#include <string>
#include <vector>

namespace skysim {

// What a run with pictures adds; every hook returns false with a reason to stop the run.
class StepViewer {
public:
    virtual ~StepViewer() = default;
    // Before the flights, with the scenario as it will be flown.
    virtual bool begin(const Scenario& s, std::string& why) = 0;
    // After step k of the flight with the add-on; files written go to `files`.
    virtual bool step(
        const Flight& f, const TraceRow& row, const std::string& dir, std::vector<std::string>& files, std::string& why)
        = 0;
    // After the flight and the trace.
    virtual bool end(const Scenario& s, const std::vector<TraceRow>& rows, const std::string& dir,
        std::vector<std::string>& files, std::string& why)
        = 0;
    // Lines to add to the summary.
    virtual std::string notes() const = 0;
};

// Runs what the options ask for (help, list, show, or a flight). `defaultRoot` is the root tree used
// without --root; `showProgress` says whether stdout is a terminal; `viewer` may be null. Writes the
// summary and any complaint to `out`/`err`. Returns the process exit code: 0 done, 1 the run failed,
// 2 bad options or scenario.
int runScenario(const Options& opt, const std::string& defaultRoot, bool showProgress, StepViewer* viewer,
    std::ostream& out, std::ostream& err);

} // namespace skysim
